// screenshots: the main, station, data logger, chart and modem windows at work against the
// stand-in instruments, each saved as a PNG for the user guide. The windows are driven through
// their controls as a user would; each window is grabbed as Qt draws it. Run by
// scripts/screenshots.sh on a virtual display.
//
//   screenshots <folder>

#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/support/services.h"
#include "common/graph.h"
#include "formatka2/formatka2.h"
#include "formatka3/formatka3.h"
#include "formatka4/formatka4.h"
#include "main/main.h"
#include "sim/instruments.h"
#include "tests/qt/qt_helpers.h"
#include "tests/support/temp_dir.h"
#include "ui/application.h"
#include "ui/qt/qt_backend.h"

namespace {

std::string folder;

// Saves the window as it is now; a window that is not there ends the run.
void Grab(ui::Form* form, const char* file) {
  QWidget* top = form ? qt_test::WidgetOf(*form) : nullptr;
  if (top == nullptr || !top->isVisible()) throw std::runtime_error(std::string("no window for ") + file);
  // Without the focus, no blinking text cursor makes two runs differ.
  if (QWidget* focused = top->focusWidget()) focused->clearFocus();
  qt_test::Flush();
  const QString path = QString::fromStdString(folder + "/" + file);
  if (!top->grab().save(path, "PNG")) throw std::runtime_error("cannot write " + path.toStdString());
  std::printf("%s\n", path.toLocal8Bit().constData());
}

// "COM ports" > "COM1", then "Search for devices" with these identifiers on the line.
void Search(TModule1& main, sim::Instruments& line, std::vector<std::string> ids) {
  line.SetDeviceIds(std::move(ids));
  main.COM11->Click();
  main.search->Click();
}

void Run() {
  testing_support::TempDir ports;
  setenv("QVUSB_PORTS_DIR", ports.Path().c_str(), 1);
  sim::Instruments line;
  line.LinkAs("COM1", ports.Path());

  auto* main = new TModule1(nullptr);
  Module1 = main;
  ui::App().SetMainForm(main);
  main->Show();

  // A handheld meter: the complete measurement fills the log and opens the chart.
  Search(*main, line, {"H0001AFE"});
  main->ChannelSelect->UserPick(0);
  main->MeasAll->Click();
  Grab(main, "main.png");
  Grab(MeterGraph, "chart.png");
  MeterGraph->UserClose();
  main->COM11->Click();

  // Two stations: moisture, conductivity and an AUX temperature on the first.
  Search(*main, line, {"T0001A01", "T0001A02"});
  TModule2* station = StationWindow;
  if (station == nullptr) throw std::runtime_error("no station window");
  station->ChannelSelect->UserPick(0);
  station->MeasMoi->Click();
  if (StationGraph) StationGraph->UserClose();
  station->MeasCond->Click();
  if (station->AUXselect->Items().Count() > 0) {
    station->AUXselect->UserPick(0);
    station->MeasTemp->Click();
  }
  Grab(station, "station.png");

  // The data logger: the first two channels logged, an AUX probe read with the first.
  station->DataLogger->Click();
  TModule3* logger = LoggerWindow;
  if (logger == nullptr) throw std::runtime_error("no data logger window");
  for (const char* name : {"EpsiCheckBox1", "TetaCheckBox1", "SigmaCheckBox1", "TetaCheckBox2"}) {
    if (auto* box = ui::FindAs<ui::CheckBox>(*logger, name)) box->UserToggle();
  }
  if (logger->AUXselect11->Items().Count() > 1) logger->AUXselect11->UserPick(1);
  logger->Period->UserType("60");
  Grab(logger, "logger.png");
  logger->Exitprogram1->Click();
  station->Exitprogram1->Click();

  // A modem: its settings read with "ON".
  Search(*main, line, {"G0001A10"});
  TModule4* modem = ModemWindow;
  if (modem == nullptr) throw std::runtime_error("no modem window");
  modem->S4Button->Click();
  Grab(modem, "modem.png");
  modem->Exitprogram1->Click();

  delete main;
  Module1 = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qtApplication(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: screenshots <folder>\n");
    return 2;
  }
  folder = argv[1];
  int result = 0;
  ui::qt::QtBackend backend;
  ui::SetBackend(&backend);
  app::InstallPlatformServices();
  ui::App().SetTitle("QV USB Rererazuzazu");
  try {
    Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "screenshots: %s\n", e.what());
    result = 1;
  }
  ui::SetBackend(nullptr);
  return result;
}
