// Program start, the way into the device windows and back, about box, help and exit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/about.h"
#include "common/graph.h"
#include "formatka2/formatka2.h"
#include "formatka3/formatka3.h"
#include "formatka4/formatka4.h"
#include "tests/support/window_test.h"
#include "ui/application.h"

using testing_support::TempDir;
using testing_support::WindowTest;
using Lines = std::vector<std::string>;

class WindowFlowTest : public WindowTest {
 protected:
  // Runs `body` with the current folder set to a fresh temporary one.
  void InTempFolder(const std::function<void(const std::string&)>& body) {
    TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    body(dir.Path());
    std::filesystem::current_path(previous);
  }
};

TEST_F(WindowFlowTest, StartState) {
  EXPECT_EQ(Main().Caption(), "QV USB Rererazuzazu");
  EXPECT_FALSE(Main().GroupBox3->Visible());
  EXPECT_FALSE(Main().GroupBox4->Visible());
  EXPECT_TRUE(Main().DeviceName->Visible());
  EXPECT_TRUE(Main().BLogo->Visible());
  EXPECT_FALSE(Main().BLogo->GetPicture().Empty());
  EXPECT_FALSE(Main().DeviceFound());
  EXPECT_FALSE(Main().GetPort()->IsOpen());
  EXPECT_TRUE(Main().Memo1->Lines().Empty());
}

TEST_F(WindowFlowTest, EveryWayBackFromTheStationWindowHandsTheLogBackAndClosesThePort) {
  struct Way {
    const char* name;
    std::function<void(TModule2&)> leave;
  };
  const std::vector<Way> ways = {
      {"Back to Main Window", [](TModule2& w) { w.Back->Click(); }},
      {"Exit program", [](TModule2& w) { w.Exitprogram1->Click(); }},
      {"close", [](TModule2& w) { w.UserClose(); }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    OpenAndSearch({"T0001A01"});
    ASSERT_NE(StationWindow, nullptr);
    StationWindow->Memo1->Lines().Add("a line of the station window");
    const Lines stationLog = StationWindow->Memo1->Lines().Items();

    way.leave(*StationWindow);

    Lines expected = stationLog;
    expected.push_back("Closing port: COM1");
    expected.push_back("Port COM1 closed");
    EXPECT_EQ(MainLog(), expected);
    EXPECT_TRUE(Main().Visible());
    EXPECT_FALSE(StationWindow->Visible());
    EXPECT_FALSE(Main().GetPort()->IsOpen());
    EXPECT_FALSE(ui::FindAs<ui::MenuItem>(Main(), "COM11")->Checked());
    EXPECT_EQ(Main().Opened_port->Caption(), "none");
    EXPECT_FALSE(Main().GroupBox3->Visible());
    EXPECT_FALSE(Main().GroupBox4->Visible());
    EXPECT_FALSE(Main().DeviceFound());
  }
}

TEST_F(WindowFlowTest, ClosingTheStationWindowDeletesItsChart) {
  OpenAndSearch({"T0001A01"});
  ASSERT_NE(StationWindow, nullptr);
  StationGraph = new TGraph1(StationWindow);
  StationGraph->Show();
  StationWindow->UserClose();
  EXPECT_EQ(StationGraph, nullptr);
  EXPECT_EQ(StationWindow->FindComponent("Graph1"), nullptr);
}

TEST_F(WindowFlowTest, EveryWayBackFromTheModemWindow) {
  const std::vector<std::function<void(TModule4&)>> ways = {
      [](TModule4& w) { w.Exitprogram1->Click(); },
      [](TModule4& w) { w.UserClose(); },
  };
  for (const auto& leave : ways) {
    OpenAndSearch({"G0001A02"});
    ASSERT_NE(ModemWindow, nullptr);
    ModemWindow->Memo1->Lines().Add("a modem line");
    Lines expected = ModemWindow->Memo1->Lines().Items();
    leave(*ModemWindow);
    expected.push_back("Closing port: COM1");
    expected.push_back("Port COM1 closed");
    EXPECT_EQ(MainLog(), expected);
    EXPECT_TRUE(Main().Visible());
    EXPECT_FALSE(ModemWindow->Visible());
    EXPECT_FALSE(Main().GetPort()->IsOpen());
  }
}

TEST_F(WindowFlowTest, DataLoggerWindowComesBackToTheStationWindow) {
  OpenAndSearch({"T0001A01", "T0001A02"});
  ASSERT_NE(StationWindow, nullptr);
  StationWindow->DataLogger->Click();
  ASSERT_NE(LoggerWindow, nullptr);
  EXPECT_FALSE(StationWindow->Visible());
  EXPECT_TRUE(LoggerWindow->Visible());
  EXPECT_EQ(LoggerWindow->DeviceSelect->Items().Items(), (Lines{"T0001A01", "T0001A02"}));
  EXPECT_EQ(LoggerWindow->DeviceSelect->Text(), "T0001A01");

  LoggerWindow->Exitprogram1->Click();
  EXPECT_TRUE(StationWindow->Visible());
  EXPECT_FALSE(LoggerWindow->Visible());
  EXPECT_TRUE(Main().GetPort()->IsOpen());

  // A fresh logger window each time (the old one gone, its place maybe taken by the new one);
  // closing it comes back too.
  const ui::ComponentWatch first(*LoggerWindow);
  StationWindow->DataLogger->Click();
  EXPECT_FALSE(first.Alive());
  ASSERT_NE(LoggerWindow, nullptr);
  LoggerWindow->UserClose();
  EXPECT_TRUE(StationWindow->Visible());
}

TEST_F(WindowFlowTest, AboutBoxIsFreshEachTimeAndLeavesNothingBehind) {
  for (int i = 0; i < 2; ++i) {
    Responder().AnswerForm("AboutBox", [](ui::Form& f) { ui::FindAs<ui::Button>(f, "OKButton")->Click(); });
    Main().About1->Click();
    EXPECT_EQ(AboutBox, nullptr);
    for (int c = 0; c < Main().ComponentCount(); ++c) {
      EXPECT_EQ(dynamic_cast<TAboutBox*>(Main().Components(c)), nullptr);
    }
  }
  EXPECT_EQ(Responder().Shown(), (Lines{"AboutBox", "AboutBox"}));
}

TEST_F(WindowFlowTest, HelpOpensTheHelpFileOrLogsItsAbsence) {
  InTempFolder([&](const std::string& dir) {
    Main().Help2->Click();
    EXPECT_EQ(MainLog(), (Lines{"Unable to find the help file"}));
    EXPECT_EQ(ui::App().HelpFile(), "RIZOD.HLP");

    std::ofstream(dir + "/RIZOD.HLP") << "Test help\r\nSome text\r\n";
    Main().Help2->Click();
    EXPECT_EQ(MainLog().size(), 1u);
    EXPECT_EQ(Backend().HelpShown(), (Lines{"Test help"}));
  });
}

TEST_F(WindowFlowTest, HelpFailureInDeviceWindowsGoesToTheirLogs) {
  InTempFolder([&](const std::string&) {
    OpenAndSearch({"T0001A01"});
    ASSERT_NE(StationWindow, nullptr);
    StationWindow->Help2->Click();
    EXPECT_EQ(Tail(StationWindow->Memo1->Lines(), 1), (Lines{"Unable to find the help file"}));
    // The logger window has no log: its line goes to the station window's.
    StationWindow->DataLogger->Click();
    ASSERT_NE(LoggerWindow, nullptr);
    LoggerWindow->Help2->Click();
    EXPECT_EQ(Tail(StationWindow->Memo1->Lines(), 2),
              (Lines{"Unable to find the help file", "Unable to find the help file"}));
  });
}

TEST_F(WindowFlowTest, ExitProgramTerminatesAndClosingTheMainWindowLeavesNoDeviceWindow) {
  Main().Exitprogram1->Click();
  EXPECT_TRUE(ui::App().Terminated());

  ui::App().Reset();
  ui::App().SetMainForm(&Main());
  OpenAndSearch({"T0001A01"});
  ASSERT_NE(StationWindow, nullptr);
  StationWindow->Back->Click();
  Main().UserClose();
  EXPECT_EQ(StationWindow, nullptr);
  EXPECT_TRUE(ui::App().Terminated());
}

TEST_F(WindowFlowTest, TheAboutBoxOfEveryDeviceWindowIsFreshAndLeavesNothingBehind) {
  OpenAndSearch({"T0001A01"});
  ASSERT_NE(StationWindow, nullptr);
  StationWindow->DataLogger->Click();
  ASSERT_NE(LoggerWindow, nullptr);
  LoggerWindow->Exitprogram1->Click();
  StationWindow->Back->Click();
  OpenAndSearch({"G0001A10"});
  ASSERT_NE(ModemWindow, nullptr);
  ModemWindow->Exitprogram1->Click();
  struct Way {
    const char* window;
    ui::Form* form;
    ui::MenuItem* about;
  };
  const Way ways[] = {{"station", StationWindow, StationWindow->About1},
                      {"logger", LoggerWindow, LoggerWindow->About1},
                      {"modem", ModemWindow, ModemWindow->About1}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.window);
    way.form->Show();  // as when it is in use
    for (int i = 0; i < 2; ++i) {
      Responder().AnswerForm("AboutBox", [](ui::Form& f) { ui::FindAs<ui::Button>(f, "OKButton")->Click(); });
      const int owned = way.form->ComponentCount();
      way.about->Click();
      EXPECT_EQ(way.form->ComponentCount(), owned);
      EXPECT_EQ(AboutBox, nullptr);
    }
    way.form->Hide();
  }
  EXPECT_EQ(Responder().Shown(), Lines(6, "AboutBox"));
}

TEST_F(WindowFlowTest, HelpFailureInTheModemWindowGoesToItsLog) {
  InTempFolder([&](const std::string&) {
    OpenAndSearch({"G0001A10"});
    ASSERT_NE(ModemWindow, nullptr);
    const int mainLines = Main().Memo1->Lines().Count();
    ModemWindow->Help2->Click();
    EXPECT_EQ(Tail(ModemWindow->Memo1->Lines(), 1), (Lines{"Unable to find the help file"}));
    EXPECT_EQ(Main().Memo1->Lines().Count(), mainLines);
  });
}

TEST_F(WindowFlowTest, AReturnFromADeviceWindowHidesTheMeterMenus) {
  OpenAndSearch({"H0001AFE"});
  ui::MenuItem* meterMenus[] = {Main().Savemeasurementresults1,
                                Main().ExportmeasurementresultstoMSExcel1,
                                Main().Calibration1,
                                Main().Measurement1,
                                Main().Read1,
                                Main().Memorybanks1};
  for (ui::MenuItem* menu : meterMenus) EXPECT_TRUE(menu->Visible()) << menu->Name();
  for (const char* device : {"T0001A01", "G0001A10"}) {
    SCOPED_TRACE(device);
    if (!Main().GetPort()->IsOpen()) ClickCom(1);
    Line().SetDeviceIds({device});
    Main().search->Click();
    if (StationWindow && StationWindow->Visible()) StationWindow->Back->Click();
    if (ModemWindow && ModemWindow->Visible()) ModemWindow->Exitprogram1->Click();
    ASSERT_TRUE(Main().Visible());
    for (ui::MenuItem* menu : meterMenus) EXPECT_FALSE(menu->Visible()) << menu->Name();
    for (ui::MenuItem* menu : meterMenus) menu->SetVisible(true);  // as after a meter, for the next way
  }
}

TEST_F(WindowFlowTest, AfterExitProgramNoDeviceWindowIsLeft) {
  // Every kind of device window has been opened and left, as the user may have done.
  OpenAndSearch({"T0001A01"});
  ASSERT_NE(StationWindow, nullptr);
  StationWindow->DataLogger->Click();
  LoggerWindow->Exitprogram1->Click();
  StationWindow->Back->Click();
  OpenAndSearch({"G0001A10"});
  ASSERT_NE(ModemWindow, nullptr);
  ModemWindow->Exitprogram1->Click();
  ui::ComponentWatch station(*StationWindow), logger(*LoggerWindow), modem(*ModemWindow);

  Main().Exitprogram1->Click();
  ASSERT_TRUE(ui::App().Terminated());
  EndProgram();  // the message loop has ended: the program lets go of its main window
  EXPECT_FALSE(station.Alive());
  EXPECT_FALSE(logger.Alive());
  EXPECT_FALSE(modem.Alive());
  EXPECT_EQ(StationWindow, nullptr);
  EXPECT_EQ(LoggerWindow, nullptr);
  EXPECT_EQ(ModemWindow, nullptr);
}
