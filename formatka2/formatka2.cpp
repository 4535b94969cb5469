#include "formatka2/formatka2.h"

#include "common/about.h"
#include "common/graph.h"
#include "common/log_texts.h"
#include "formatka3/formatka3.h"
#include "main/main.h"
#include "ui/application.h"

ui::Component* Module2Owner = nullptr;
TGraph1* StationGraph = nullptr;
TModule3* LoggerWindow = nullptr;

TModule2::TModule2(ui::Component* Owner, link::SerialPort* port, LogAppender* heldLines)
    : forms::TModule2Layout(Owner), Port(port), HeldLines(heldLines) {
  Module2Owner = Owner;
  Created();
}

TModule2::~TModule2() {
  // The logger windows and the chart this window made are owned by it and go with it.
  if (LoggerWindow && LoggerWindow->Owner() == this) LoggerWindow = nullptr;
  if (StationGraph && StationGraph->Owner() == this) StationGraph = nullptr;
  if (StationWindow == this) StationWindow = nullptr;
}

void TModule2::FormCreate(ui::Component*) {
  const long style = ui::GetWindowLongA(MeasTemp, ui::GWL_STYLE) | ui::BS_MULTILINE;
  for (ui::Button* b : {MeasTemp, MeasMPot, MeasCond, MeasMoi, CableCalib, ProbeCalib, MeasAllTemp}) {
    ui::SetWindowLongA(b, ui::GWL_STYLE, style);
  }
  LastMoisture.clear();
  StationGraph = nullptr;
}

void TModule2::ReturnToMain() {
  if (auto* main = dynamic_cast<TModule1*>(Module2Owner)) main->ReturnToMainWindow("formatka2");
}

void TModule2::FormClose(ui::Component*, ui::CloseAction&) {
  delete StationGraph;
  StationGraph = nullptr;
  LastMoisture.clear();
  ReturnToMain();
}

void TModule2::BackClick(ui::Component*) { ReturnToMain(); }
void TModule2::Exitprogram1Click(ui::Component*) { ReturnToMain(); }

void TModule2::Help1Click(ui::Component*) { ShowAboutBox(this); }

void TModule2::Help2Click(ui::Component*) {
  if (!OpenHelpContents()) Log("Unable to find the help file");
}

void TModule2::DeviceSelectChange(ui::Component*) {
  ui::HourGlass hourGlass;
  ReadProbeConfig();
  SearchAuxProbes();
}

void TModule2::DataLoggerClick(ui::Component*) {
  ui::HourGlass hourGlass;
  // The window of an earlier click is released as it is: its close would hand back to here.
  delete LoggerWindow;
  LoggerWindow = new TModule3(this, Port, HeldLines);
  LoggerWindow->DeviceSelect->Items().Assign(DeviceSelect->Items());
  LoggerWindow->DeviceSelect->SetText(DeviceSelect->Text());
  Hide();
  LoggerWindow->Show();
  LoggerWindow->ScanStation();
  LoggerWindow->ApplyStoredConfig();
}

void TModule2::ReturnToStationWindow(TModule2* stationWindow) {
  if (LoggerWindow) LoggerWindow->Hide();
  if (stationWindow) stationWindow->Show();
}

protocol::Station TModule2::SelectedStation() {
  return protocol::Station(*Port, link::DeviceAddress(DeviceSelect->Text()));
}

std::optional<int> TModule2::SelectedChannel() const { return link::ChannelNumber(ChannelSelect->Text()); }

void TModule2::LogRefusal(protocol::Failure failure) {
  if (failure == protocol::Failure::Refused) Log(kRefusedLine);
}

void TModule2::LogChannelFailure() {
  Log(kSendFailureLine);
  Log(kCheckChannelLine);
}
