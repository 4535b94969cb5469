// The program's own texts that users and their habits rely on, typos included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formatka2/formatka2.h"
#include "formatka3/formatka3.h"
#include "formatka4/formatka4.h"
#include "tests/support/window_test.h"

using testing_support::WindowTest;

namespace {

struct Text {
  const char* control;
  const char* text;
  bool hint = false;
};

std::string Of(const ui::Component& form, const Text& t) {
  const ui::Component* c = form.FindComponent(t.control);
  if (const auto* control = dynamic_cast<const ui::Control*>(c)) return t.hint ? control->Hint() : control->Caption();
  if (const auto* item = dynamic_cast<const ui::MenuItem*>(c)) return item->Caption();
  return "<no control " + std::string(t.control) + ">";
}

void ExpectTexts(const ui::Component& form, const std::vector<Text>& texts) {
  for (const auto& t : texts) EXPECT_EQ(Of(form, t), t.text) << t.control;
}

}  // namespace

class WindowTextsTest : public WindowTest {};

TEST_F(WindowTextsTest, MainWindow) {
  ExpectTexts(Main(), {
                          {"search", "Search for devices"},
                          {"GroupBox2", "Program Log"},
                          {"GroupBox1", "Devices management:"},
                          {"Opened_port", "none"},
                          {"DeviceName", "none"},
                          {"ChannelSelect", "CH number"},
                          {"CableCalib", "Length Calibration"},
                          {"CableCalib", "Perform probe length calibration", true},
                          {"ProbeCalib", "Standard Full Calibration"},
                          {"NonStProbCalibClick", "Full calibration"},
                          {"eps_low", "0"},
                          {"Savatofile1", "Sava to file"},
                          {"Performcompletemeasuremtne1", "Perform complete measurement"},
                          {"ExportmeasurementresultstoMSExcel1", "Export last reflectogram to MS Excel"},
                          {"Ports1", "COM ports"},
                          {"COM161", "COM16"},
                      });
  EXPECT_EQ(Main().ProbeGroup->Items().Items(), (std::vector<std::string>{"Field GW/qrz", "Laboratory JX/qr"}));
}

TEST_F(WindowTextsTest, DeviceWindows) {
  // A station whose AUX search gets no reply leaves the AUX box as laid out.
  Line().InjectFault("1S", sim::Fault::Silent());
  OpenAndSearch({"T0001A01"});
  ASSERT_NE(StationWindow, nullptr);
  EXPECT_EQ(StationWindow->Caption(), "TDR/WOB/qrzu");
  ExpectTexts(*StationWindow, {
                                  {"Memo1", "Pogram Log - information about program actions", true},
                                  {"MeasAllTemp", "Measure Temperature"},
                                  {"MeasMPot", "Measure Matric Pressure"},
                                  {"AUXselect", "AUX probe"},
                                  {"DataLogger", "Start Data Logger"},
                                  {"Back", "Back to Main Window"},
                                  {"GroupBox5", "Type of probe in a channel"},
                              });
  StationWindow->DataLogger->Click();
  ASSERT_NE(LoggerWindow, nullptr);
  EXPECT_EQ(LoggerWindow->Caption(), "Data Logger");
  ExpectTexts(*LoggerWindow, {
                                 {"SaveConfig", "Write Configuration"},
                                 {"AUXselect82", "no probe"},
                                 {"GroupBox9", "Moisture=a0+a1*sqrt(eps)+a2*eps"},
                                 {"Period", "0"},
                             });
  LoggerWindow->Exitprogram1->Click();
  StationWindow->Back->Click();

  ClickCom(1);
  Line().SetDeviceIds({"G0001A10"});
  Main().search->Click();
  ASSERT_NE(ModemWindow, nullptr);
  EXPECT_EQ(ModemWindow->Caption(), "GPRS Modem Configuration and Testing");
  ExpectTexts(*ModemWindow, {
                                {"S2Button", "ON - Server connection - OFF"},
                                {"S1Button", "ON - script file execution - OFF"},
                                {"GPRSEdit0", " "},
                                {"GroupBox1", "Basic Modem Configuration Data"},
                            });
  EXPECT_EQ(ModemWindow->PinEdit->EditMask(), "0000;0;#");
}
