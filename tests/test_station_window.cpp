// The station window against stand-in stations: opening, station choice, probe types,
// conductivity, probe length, probe temperature and the way to the data logger.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formatka3/formatka3.h"
#include "tests/support/log_lines.h"
#include "tests/support/station_test.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

const Lines kAuxSearchOfThree = {"1W", "1S", "1S", "1S", "1S"};

// Checked laboratory buttons as a mask, and the channels with neither button checked.
struct Buttons {
  int lab = 0;
  int unset = 0;
};
Buttons ButtonsOf(TModule2& w) {
  Buttons b;
  for (int n = 1; n <= 8; ++n) {
    auto* lab = ui::FindAs<ui::RadioButton>(w, "LabProbeButton" + std::to_string(n));
    auto* field = ui::FindAs<ui::RadioButton>(w, "FieldProbeButton" + std::to_string(n));
    if (lab->Checked()) b.lab |= 1 << (n - 1);
    if (!lab->Checked() && !field->Checked()) b.unset |= 1 << (n - 1);
  }
  return b;
}

}  // namespace

class StationWindowTest : public StationTest {};

TEST_F(StationWindowTest, OpensWithTheStationsOfTheSearchAfterReadingProbeTypesAndAux) {
  OpenAndSearch({"T000011F", "G0001A10"});
  ASSERT_NE(StationWindow, nullptr);
  TModule2& w = Window();
  EXPECT_TRUE(w.Visible());
  EXPECT_FALSE(Main().Visible());
  EXPECT_EQ(w.DeviceSelect->Items().Items(), Lines{"T000011F"});
  EXPECT_EQ(w.DeviceSelect->Text(), "T000011F");
  // Search (16 bytes: a station, then a modem), then the probe types, then the AUX search of the
  // default station's three probes.
  const auto frames = SentFrames(7);
  Lines commands;
  for (const auto& f : frames) commands.push_back(f.command);
  EXPECT_EQ(commands, (Lines{"B", "RH", "1W", "1S", "1S", "1S", "1S"}));
  EXPECT_EQ(frames[1].raw, WithPreamble(Bytes(0x1F, "RH")));
  EXPECT_EQ(frames[2].raw, WithPreamble(Bytes(0x1F, "1W" + std::string(16, 'F'))));
  // The search's 100 ms, RH's 20 ms, then 100 ms before and after each 1S.
  EXPECT_EQ(Waits(), "100 r456 20 r204 100 100 r216 100 100 r216 100 100 r216 100 100 r216");
  EXPECT_EQ(ButtonsOf(w).lab, 0xF0);
  EXPECT_TRUE(Main().DeviceFound());
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 3), (Lines{"Found devices:", "T000011F", "G0001A10"}));
  // A copy of the main log, then the AUX search's line.
  Lines log = MainLog();
  log.push_back("Probes found in AUX connector");
  EXPECT_EQ(w.Memo1->Lines().Items(), log);
  EXPECT_EQ(w.AUXselect->Items().Items(), (Lines{"t0A1B1F", "p3C4D1F", "no probe"}));
}

TEST_F(StationWindowTest, ChoosingAnotherStationReadsItsProbeTypesAndAuxFirst) {
  PutOnLine({"T0001AA3", "T000011F"});
  Station(0x1F)->SetProbeTypeMask(0x0C);
  Station(0x1F)->SetAuxProbes({});
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T0001AA3", "T000011F"}));
  TModule2& w = Window();
  w.DeviceSelect->UserPick(1);
  const auto frames = SentFrames(3);
  ASSERT_GE(frames.size(), 3u);
  EXPECT_EQ(frames[0].raw, WithPreamble(Bytes(0x1F, "RH")));
  EXPECT_EQ(frames[1].command, "1W");
  EXPECT_EQ(frames[2].raw, WithPreamble(Bytes(0x1F, "1S")));
  EXPECT_EQ(ButtonsOf(w).lab, 0x0C);
  EXPECT_EQ(w.AUXselect->Text(), "No probes");
  EXPECT_EQ(Logged(), Lines{"No probes found in AUX connector"});
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(StationWindowTest, ConductivityAndProbeTemperature) {
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
  TModule2& w = Window();
  Station(0x1F)->SetReadings(4, {"0.125", "", "", "", ""});
  Station(0x1F)->SetReadings(1, {"", "21.50", "", "", ""});
  struct Case {
    ui::Button* button;
    std::string channel, action, read, waits;
    Lines logged;
  };
  const std::vector<Case> cases = {
      {w.MeasCond,
       " 4x",  // typed: read up to the first character that is no digit
       "MS4",
       "RS",
       "1480 20 r205",
       {"Starting conductivity measurement", "Receiving measurement results", "Measured conductivity: 0.125 S/m",
        "Conductivity measurement complete"}},
      {w.MeasAllTemp,
       "1",
       "MT1",
       "RT",
       "2980 20 r205",
       {"Starting probe temperature measurement", "Receiving measurement results",
        "Measured probe temperature: 21.50 Celsius grades", "Probe temperature measurement complete"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action);
    ChooseChannel(c.channel);
    Mark();
    c.button->Click();
    const auto frames = SentFrames(2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].raw, WithPreamble(Bytes(0x1F, c.action)));
    EXPECT_EQ(frames[1].raw, WithPreamble(Bytes(0x1F, c.read)));
    EXPECT_EQ(Waits(), c.waits);
    EXPECT_EQ(Logged(), c.logged);
  }
}

TEST_F(StationWindowTest, ConductivityTemperatureAndLengthFailures) {
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
  TModule2& w = Window();
  struct Case {
    const char* name;
    std::string channel;
    std::string command;  // the reply that fails; none: nothing is sent
    sim::Fault fault;
    ui::Button* button;
    Lines logged;
  };
  const std::string notFound =
      "Error while attempting to perform probe length calibration - Probe not found or damaged - Try again";
  const std::string cond = "Starting conductivity measurement", got = "Receiving measurement results";
  const std::string condDone = "Conductivity measurement complete";
  const std::string temp = "Starting probe temperature measurement",
                    tempDone = "Probe temperature measurement complete";
  const std::string length = "Starting cable length calibration";
  const Lines lengthSendFailure = {length, "Error while attempting to perform probe length calibration", kSendFailure,
                                   kCheckChannel};
  const Lines noConductivity = {cond, got, kSendFailure, kCheckChannel, condDone};
  const auto lost = sim::Fault::LostWrite(), none = sim::Fault::Silent();
  const std::vector<Case> cases = {
      {"RS no reply", "2", "RS", sim::Fault::Silent(), w.MeasCond, noConductivity},
      {"RS ER", "2", "RS", sim::Fault::Er(), w.MeasCond, {cond, got, kErLine, kSendFailure, kCheckChannel, condDone}},
      {"RS not written", "2", "RS", lost, w.MeasCond, noConductivity},
      // A channel command refused for its channel fails at once, without waits or bytes on the line.
      {"channel 9", "9", "", none, w.MeasCond, {cond, kSendFailure, kCheckChannel}},
      {"RT ER", "2", "RT", sim::Fault::Er(), w.MeasAllTemp, {temp, got, kErLine, tempDone}},
      {"RT no reply", "2", "RT", sim::Fault::Silent(), w.MeasAllTemp, {temp, got, tempDone}},
      {"RT not written", "2", "RT", lost, w.MeasAllTemp, {temp, got, kSendFailure, tempDone}},
      // No channel: only the failure line, no completion.
      {"RT without channel", "CH number", "", none, w.MeasAllTemp, {temp, kSendFailure}},
      {"length of two characters", "2", "VL", sim::Fault::Custom("12"), w.CableCalib, {length, "Cable length: 12 m"}},
      {"length refused", "2", "VL", sim::Fault::Custom("E123"), w.CableCalib, {length, notFound}},
      {"length refused with ER", "2", "VL", sim::Fault::Er(), w.CableCalib, {length, notFound}},  // read unchecked
      {"no length", "2", "VL", sim::Fault::Silent(), w.CableCalib, {length}},
      {"VL not written", "2", "VL", lost, w.CableCalib, lengthSendFailure},
      // "CH number": the three lines at once, nothing sent.
      {"VL without channel", "CH number", "", none, w.CableCalib, lengthSendFailure},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.command.empty()) Line().InjectFault(c.command, c.fault);
    ChooseChannel(c.channel);
    Mark();
    c.button->Click();
    EXPECT_EQ(Logged(), c.logged);
    if (c.command.empty()) {
      EXPECT_TRUE(Sent().empty());
    }
    Line().ClearFaults();
  }
}

TEST_F(StationWindowTest, ProbeTypesAreReadIntoTheButtons) {
  struct Case {
    std::string reply;
    std::optional<sim::Fault> fault;
    int lab;
    bool measAllTemp;
    Lines logged;
  };
  const std::string readOk = "Reading \"Type of probe in a channel\" configuration succesful";
  const std::string readError = "Error while reading probes configuration on current channel";
  // Each case starts from the default mask F0 read at opening.
  const std::vector<Case> cases = {
      {"0C00", std::nullopt, 0x0C, true, {readOk}},
      {"FF00", std::nullopt, 0xFF, false, {readOk}},
      {"", sim::Fault::Silent(), 0xF0, true, {readError}},
      {"", sim::Fault::Er(), 0xF0, true, {kErLine, readError}},
      {"", sim::Fault::Custom("0c00"), 0xF0, true, {readError}},  // lower case: no digit
      {"", sim::Fault::Custom("F"), 0xF0, true, {readError}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    PutOnLine({"T000011F"});
    ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
    TModule2& w = Window();
    if (!c.reply.empty())
      Station(0x1F)->SetProbeTypeMask(static_cast<uint8_t>(std::stoi(c.reply.substr(0, 2), nullptr, 16)));
    if (c.fault) Line().InjectFault("RH", *c.fault);
    w.ReadConfig->Click();
    EXPECT_EQ(ButtonsOf(w).lab, c.lab);
    EXPECT_EQ(ButtonsOf(w).unset, 0);
    EXPECT_EQ(w.MeasAllTemp->Enabled(), c.measAllTemp);
    EXPECT_EQ(Logged(), c.logged);
    Line().ClearFaults();
    Station(0x1F)->SetProbeTypeMask(0xF0);
    w.Back->Click();  // back to the main window, port closed, for the next case
  }
}

TEST_F(StationWindowTest, ChannelChoiceFollowsTheChannelsProbe) {
  PutOnLine({"T000011F"});
  Station(0x1F)->SetProbeTypeMask(0x0C);  // laboratory probes on 3 and 4
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
  TModule2& w = Window();
  EXPECT_TRUE(w.MeasAllTemp->Enabled());
  ChooseChannel("3");
  EXPECT_FALSE(w.MeasAllTemp->Enabled());
  ChooseChannel("x7");
  EXPECT_FALSE(w.MeasAllTemp->Enabled());  // names no channel: nothing changes
  ChooseChannel("5");
  EXPECT_TRUE(w.MeasAllTemp->Enabled());
  EXPECT_TRUE(Sent().empty());
}

TEST_F(StationWindowTest, AFailedFirstReadLeavesNoButtonAndNoTemperature) {
  PutOnLine({"T000011F"});
  Line().InjectFault("RH", sim::Fault::Silent());
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
  TModule2& w = Window();
  EXPECT_EQ(ButtonsOf(w).unset, 0xFF);
  EXPECT_FALSE(w.MeasAllTemp->Enabled());
  // A channel without a kind keeps the button as it is.
  ChooseChannel("2");
  EXPECT_FALSE(w.MeasAllTemp->Enabled());
}

TEST_F(StationWindowTest, SavingProbeTypesSendsTheButtonsMask) {
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
  TModule2& w = Window();
  for (int n = 1; n <= 8; ++n) {
    const bool lab = n == 1 || n == 8;
    ui::FindAs<ui::RadioButton>(w, (lab ? "LabProbeButton" : "FieldProbeButton") + std::to_string(n))->UserClick();
  }
  w.SaveConfig->Click();
  const auto frames = SentFrames(1);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].raw, WithPreamble(Bytes(0x1F, "SP8100")));
  EXPECT_EQ(Waits(), "");  // unlike the meter, no wait before SP
  EXPECT_EQ(Logged(), Lines{"Saving \"Type of probe in a channel\" configuration succesful"});
  EXPECT_EQ(Station(0x1F)->ProbeTypeMask(), 0x81);
}

TEST_F(StationWindowTest, SavingRefusesAChannelWithoutKind) {
  PutOnLine({"T000011F"});
  Line().InjectFault("RH", sim::Fault::Silent());
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
  TModule2& w = Window();
  for (int n = 1; n <= 7; ++n) ui::FindAs<ui::RadioButton>(w, "FieldProbeButton" + std::to_string(n))->UserClick();
  w.SaveConfig->Click();
  EXPECT_EQ(Logged(), Lines{"Fill all the fields in the \"Type of probe in a channel\" chart"});
  EXPECT_TRUE(Sent().empty());
}

TEST_F(StationWindowTest, DeviceLevelCommandsWithoutAnAddressFailAsWrites) {
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
  TModule2& w = Window();
  w.DeviceSelect->SetText("T0001");
  w.ReadConfig->Click();
  w.SaveConfig->Click();
  w.AUXstart->Click();
  EXPECT_EQ(Logged(), (Lines{kSendFailure, kCheckChannel, kSendFailure, kCheckChannel, kSendFailure}));
  EXPECT_TRUE(Sent().empty());
  // The AUX list of the last search stays.
  EXPECT_EQ(w.AUXselect->Items().Count(), 3);
}

TEST_F(StationWindowTest, DataLoggerOpensForTheStationSelectedNow) {
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T0001AA3", "T000011F"}));
  TModule2& w = Window();
  w.DataLogger->Click();
  ASSERT_NE(LoggerWindow, nullptr);
  EXPECT_EQ(LoggerWindow->DeviceSelect->Text(), "T0001AA3");
  EXPECT_EQ(LoggerWindow->DeviceSelect->Items().Items(), (Lines{"T0001AA3", "T000011F"}));
  EXPECT_FALSE(w.Visible());
  LoggerWindow->Exitprogram1->Click();
  EXPECT_TRUE(w.Visible());

  w.DeviceSelect->UserPick(1);
  w.DataLogger->Click();
  ASSERT_NE(LoggerWindow, nullptr);
  EXPECT_EQ(LoggerWindow->DeviceSelect->Text(), "T000011F");
  EXPECT_TRUE(LoggerWindow->Visible());
  // The window of the first click is gone, without handing back to the station window.
  int loggers = 0;
  for (int i = 0; i < w.ComponentCount(); ++i) loggers += dynamic_cast<TModule3*>(w.Components(i)) != nullptr;
  EXPECT_EQ(loggers, 1);
  EXPECT_FALSE(w.Visible());
}
