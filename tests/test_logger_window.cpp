// The data logger window's records, Start's checks, the locking of its controls and the devices
// configuration file, driven as the user drives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "formatka3/data_logger.h"
#include "sim/station.h"
#include "tests/support/logger_test.h"
#include "tests/support/time_scale.h"
#include "ui/numbers.h"

using namespace testing_support;

namespace {

ui::CheckBox* Box(TModule3& w, const std::string& name) { return ui::FindAs<ui::CheckBox>(w, name); }
ui::Edit* EditNamed(TModule3& w, const std::string& name) { return ui::FindAs<ui::Edit>(w, name); }

// Picks a station from the list as the user does: open the list, then pick.
void PickStation(TModule3& w, const std::string& id) {
  w.DeviceSelect->UserDropDown();
  w.DeviceSelect->UserPick(w.DeviceSelect->Items().IndexOf(id));
}

// What the controls show of a record: the checked boxes among a few, a1 of channel 2, the period.
std::string Shown(TModule3& w) {
  std::string shown;
  for (const std::string name : {"EpsiCheckBox1", "TempCheckBox2", "CalCheckBox2", "SigmaCheckBox8"}) {
    if (Box(w, name)->Checked()) shown += name + " ";
  }
  return shown + EditNamed(w, "a1Edit2")->Text() + " " + w.Period->Text();
}

}  // namespace

class LoggerRecordTest : public LoggerWindowTest {};

TEST_F(LoggerRecordTest, EachStationKeepsWhatTheControlsSaidWhenAnotherWasPicked) {
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000201", "T0000102"}));
  TModule3& w = Logger();
  EXPECT_EQ(w.DeviceSelect->Text(), "T0000201");
  Box(w, "EpsiCheckBox1")->UserToggle();
  Box(w, "TempCheckBox2")->UserToggle();
  Box(w, "CalCheckBox2")->UserToggle();
  EditNamed(w, "a1Edit2")->UserType("2.5");
  w.Period->UserType("60");
  PickStation(w, "T0000102");
  // The new station has no record: its defaults show, the temperature column stays.
  EXPECT_EQ(Shown(w), "TempCheckBox2 0 0");

  Box(w, "SigmaCheckBox8")->UserToggle();
  PickStation(w, "T0000201");
  EXPECT_EQ(Shown(w), "EpsiCheckBox1 TempCheckBox2 CalCheckBox2 2.5 60");

  std::vector<std::string> keys;
  for (const auto& entry : w.Stations) keys.push_back(entry.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"T0000102", "T0000201"}));
  EXPECT_TRUE(w.Stations.at("T0000102")->GetSigma(7));
  EXPECT_EQ(w.Stations.at("T0000201")->GetAux1Id(0), "");  // "no probe": no identifier
}

TEST_F(LoggerRecordTest, ANumberThatIsNoneKeepsTheRecordStoredBefore) {
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000201"}));
  TModule3& w = Logger();
  w.Period->UserType("30");
  w.DeviceSelect->UserDropDown();
  ASSERT_EQ(w.Stations.count("T0000201"), 1u);
  EditNamed(w, "a1Edit2")->UserType("1.5x");
  w.Period->UserType("45");
  w.DeviceSelect->UserDropDown();
  ASSERT_EQ(Backend().Exceptions().size(), 1u);
  EXPECT_EQ(Backend().Exceptions()[0], "'1.5x' is not a valid floating point value");
  EXPECT_EQ(w.Stations.at("T0000201")->GetPeriod(), 30);

  // The coefficients are converted before the period: the error names the first that fails.
  w.Period->UserType("");
  EditNamed(w, "a0Edit1")->UserType("");
  w.DeviceSelect->UserDropDown();
  EXPECT_EQ(Backend().Exceptions().back(), "'' is not a valid floating point value");
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(LoggerRecordTest, NumbersShowWithTheUsersDecimalSeparator) {
  ui::SetDecimalSeparator(',');
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000201", "T0000102"}));
  TModule3& w = Logger();
  EditNamed(w, "a2Edit1")->UserType("0,25");
  PickStation(w, "T0000102");
  PickStation(w, "T0000201");
  EXPECT_EQ(EditNamed(w, "a2Edit1")->Text(), "0,25");
  EXPECT_EQ(w.Stations.at("T0000201")->GetA2(0), 0.25);
  ui::SetDecimalSeparator(0);
}

class LoggerStartTest : public LoggerWindowTest {};

TEST_F(LoggerStartTest, PeriodChecksAndTheMinimumPeriod) {
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000201", "T0000102"}));
  TModule3& w = Logger();
  Box(w, "TetaCheckBox1")->UserToggle();
  Box(w, "SigmaCheckBox2")->UserToggle();
  w.DeviceSelect->UserDropDown();
  w.DeviceSelect->UserType("t0000201-2");  // a stored station's file on a folder that ignores case
  struct Case {
    std::string period, box;
    ui::DialogType type;
  };
  const std::vector<Case> refused = {
      {"period", "Set period between the measurements!", ui::DialogType::Warning},
      {"", "The period value is incorrect!", ui::DialogType::Error},
      {"5,5", "The period value is incorrect!", ui::DialogType::Error},
      {"five", "The period value is incorrect!", ui::DialogType::Error},
      {"2", "Period between the measurements is too short!\nMinimum = 2.5 second(s)", ui::DialogType::Warning},
      {"1e300", "The period value is incorrect!", ui::DialogType::Error},  // no 32-bit wait
      {"3", "Stations \"T0000201\" and \"t0000201-2\" would write to the same file T0000201.txt",
       ui::DialogType::Error},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.period);
    w.Period->UserType(c.period);
    Responder().AnswerMessage(c.box, ui::mrOk, c.type);
    w.Start->Click();
    EXPECT_EQ(w.Logger, nullptr);
    EXPECT_TRUE(w.Start->Enabled());
  }
  // A second station's stored record counts although another is on show.
  PickStation(w, "T0000102");
  Box(w, "TempCheckBox3")->UserToggle();
  w.Period->UserType("5");
  Responder().AnswerMessage("Period between the measurements is too short!\nMinimum = 5.5 second(s)", ui::mrOk,
                            ui::DialogType::Warning);
  w.Start->Click();
  Box(w, "TempCheckBox3")->UserToggle();
  ui::SetDecimalSeparator(',');
  w.Period->UserType("2");
  Responder().AnswerMessage("Period between the measurements is too short!\nMinimum = 2,5 second(s)", ui::mrOk);
  w.Start->Click();
  ui::SetDecimalSeparator(0);
  // A coefficient that is no number: the framework's box, and no logging.
  w.Period->UserType("100");
  EditNamed(w, "a0Edit2")->UserType("x");
  w.Start->Click();
  EXPECT_EQ(Backend().Exceptions().back(), "'x' is not a valid floating point value");
  EXPECT_EQ(w.Logger, nullptr);
  EXPECT_TRUE(w.Start->Enabled());
}

TEST_F(LoggerStartTest, LoggingLocksTheControlsAndStopUnlocksThem) {
  // Field probes on channels 1 and 2 only: the other temperature boxes stay disabled after Stop.
  Line().SetDeviceIds({"T0000201"});
  Line().Get<sim::StationDevice>(0x01)->SetProbeTypeMask(0xFC);
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000201"}));
  TModule3& w = Logger();
  w.Period->UserType("0");
  w.Start->Click();
  ASSERT_NE(w.Logger, nullptr);
  EXPECT_TRUE(w.Stop->Enabled());
  std::vector<ui::Control*> locked = {w.Start, w.DeviceSelect, w.ReadConfig, w.SaveConfig, w.Period};
  for (int n = 1; n <= 8; ++n) {
    for (std::string p : {"EpsiCheckBox", "TetaCheckBox", "SigmaCheckBox", "TempCheckBox"}) {
      locked.push_back(Box(w, p + std::to_string(n)));
    }
    locked.push_back(ui::FindAs<ui::ComboBox>(w, "AUXselect" + std::to_string(n) + "1"));
    locked.push_back(ui::FindAs<ui::ComboBox>(w, "AUXselect" + std::to_string(n) + "2"));
  }
  for (std::string p : {"CalCheckBox", "a0Edit", "a1Edit", "a2Edit"}) {
    for (int k = 1; k <= 2; ++k) locked.push_back(ui::FindAs<ui::Control>(w, p + std::to_string(k)));
  }
  for (ui::Control* c : locked) EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_TRUE(w.Exitprogram1->UserReachable());

  w.Stop->Click();
  EXPECT_EQ(w.Logger, nullptr);
  EXPECT_FALSE(w.Stop->Enabled());
  for (ui::Control* c : locked) {
    const bool labTemp =
        c->Name().rfind("TempCheckBox", 0) == 0 && c->Name() != "TempCheckBox1" && c->Name() != "TempCheckBox2";
    EXPECT_EQ(c->Enabled(), !labTemp) << c->Name();
  }
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(LoggerStartTest, LeavingTheWindowWhileLoggingStopsItFirst) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "close" : "exit");
    ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000201"}));
    TModule3& w = Logger();
    w.Period->UserType("0");
    w.Start->Click();
    ASSERT_NE(w.Logger, nullptr);
    if (close) {
      w.UserClose();
      EXPECT_TRUE(w.Stations.empty());
    } else {
      w.Exitprogram1->Click();
      EXPECT_EQ(w.Stations.size(), 1u);
    }
    EXPECT_EQ(w.Logger, nullptr);
    EXPECT_TRUE(w.Start->Enabled());
    EXPECT_FALSE(w.Visible());
    EXPECT_TRUE(StationWindow->Visible());
    StationWindow->Back->Click();
  }
}

class LoggerConfigFileTest : public LoggerWindowTest {};

TEST_F(LoggerConfigFileTest, WrittenAndReadBackThroughTheWindow) {
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000201", "T0000102"}));
  TModule3& w = Logger();
  Box(w, "EpsiCheckBox1")->UserToggle();
  Box(w, "CalCheckBox1")->UserToggle();
  EditNamed(w, "a0Edit1")->UserType("1");
  EditNamed(w, "a1Edit1")->UserType("2");
  EditNamed(w, "a2Edit1")->UserType("0.5");
  const std::string path = folder_.File("config.txt");
  Responder().AnswerFile(ui::FileDialogKind::Save, path);
  w.SaveConfig->Click();
  const auto lines = CrlfLines(path);
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0], "device");
  EXPECT_EQ(lines[1], "T0000201");
  EXPECT_EQ(lines[2], "1;0;0;0;no probe;noAUX;no probe;noAUX;");
  EXPECT_EQ(lines[10], "1;1;2;0.5;");
  EXPECT_EQ(lines[13], "fin");

  // Changed controls come back from the file; a block for an unlisted station is dropped.
  std::string text = ReadAll(path);
  std::string other = text.substr(0, text.size() - 3);
  other.replace(other.find("T0000201"), 8, "T0000999");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << other + text;
  Box(w, "EpsiCheckBox1")->UserToggle();
  EditNamed(w, "a2Edit1")->UserType("7");
  Responder().AnswerFile(ui::FileDialogKind::Open, path);
  w.ReadConfig->Click();
  EXPECT_TRUE(Box(w, "EpsiCheckBox1")->Checked());
  EXPECT_EQ(EditNamed(w, "a2Edit1")->Text(), "0.5");
  EXPECT_EQ(w.Stations.count("T0000999"), 0u);
  EXPECT_EQ(w.Stations.size(), 1u);

  // A key is matched as a part of the joined station list: "T00001" is taken, "T00003" is not.
  std::string partial = text.substr(0, text.size() - 3);
  partial.replace(partial.find("T0000201"), 8, "T00001");
  std::string missing = partial;
  missing.replace(missing.find("T00001"), 6, "T00003");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << partial + missing + "fin";
  Responder().AnswerFile(ui::FileDialogKind::Open, path);
  w.ReadConfig->Click();
  EXPECT_EQ(w.Stations.count("T00001"), 1u);
  EXPECT_EQ(w.Stations.count("T00003"), 0u);
}

TEST_F(LoggerConfigFileTest, FailuresLeaveFilesAndRecordsWhole) {
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000201"}));
  TModule3& w = Logger();
  const std::string path = folder_.File("config.txt");
  std::ofstream(path, std::ios::binary) << "old";

  // A file that cannot be written is reported, and the old one stays whole.
  std::filesystem::create_directory(path + ".part");
  Responder().AnswerFile(ui::FileDialogKind::Save, path);
  Responder().AnswerMessage("Error while saving devices configuration, try again", ui::mrOk);
  w.SaveConfig->Click();
  EXPECT_EQ(ReadAll(path), "old");
  std::filesystem::remove(path + ".part");
  Responder().AnswerFile(ui::FileDialogKind::Save, folder_.File("missing/config.txt"));
  Responder().AnswerMessage("Error while saving devices configuration, try again", ui::mrOk);
  w.SaveConfig->Click();

  // A record its own reader would refuse is not written at all.
  ui::FindAs<ui::ComboBox>(w, "AUXselect41")->UserType("");
  Responder().AnswerMessage(
      "The configuration of device T0000201 cannot be written: a name or value is empty, too long or holds ';'",
      ui::mrOk, ui::DialogType::Warning);
  w.SaveConfig->Click();
  EXPECT_EQ(ReadAll(path), "old");

  // A corrupt file changes no record; the station on show gets its record back.
  ui::FindAs<ui::ComboBox>(w, "AUXselect41")->UserType("no probe");
  w.Period->UserType("12");
  Responder().AnswerFile(ui::FileDialogKind::Open, path);
  Responder().AnswerMessage(
      "Error while loading devices configuration, file was not closed properly or is corrupt, try again", ui::mrOk);
  w.ReadConfig->Click();
  EXPECT_EQ(w.Stations.at("T0000201")->GetPeriod(), 12);
  EXPECT_EQ(w.Period->Text(), "12");
  Responder().AnswerFile(ui::FileDialogKind::Open, std::nullopt);
  w.ReadConfig->Click();
  Responder().AnswerFile(ui::FileDialogKind::Open, folder_.File("absent.txt"));
  Responder().AnswerMessage(
      "Error while loading devices configuration, file was not closed properly or is corrupt, try again", ui::mrOk);
  w.ReadConfig->Click();
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(LoggerStartTest, StartLogsEveryStoredStationAndWaitsThePeriodLessTheMinimum) {
  Line().SetDeviceIds({"T0000101", "T0000202"});
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000101", "T0000202"}));
  TModule3& w = Logger();
  Box(w, "TetaCheckBox1")->UserToggle();
  Box(w, "SigmaCheckBox2")->UserToggle();
  PickStation(w, "T0000202");
  Box(w, "EpsiCheckBox3")->UserToggle();
  // Minimum 2.5 s: the thread waits 3 s after each pass.
  w.Period->UserType("5.5");
  Line().ClearFrames();
  w.Start->Click();
  ASSERT_NE(w.Logger, nullptr);
  ASSERT_TRUE(Line().WaitForFrames(8, std::chrono::seconds(10)));  // into the second pass
  w.Stop->Click();

  // Two passes over both stations, each followed by the wait; Stop ends the second at once.
  const std::string pass = "980 20 r206 1480 20 r205 980 20 r206 e3000";
  EXPECT_EQ(testing_support::Waits(false), pass + " " + pass);
  const auto one = CrlfLines("T0000101.txt");
  const auto two = CrlfLines("T0000202.txt");
  ASSERT_GE(one.size(), 3u);
  EXPECT_EQ(one[0], "counter time/date M1 S2 ");
  EXPECT_EQ(two[0], "counter time/date E3 ");
  EXPECT_EQ(one.size(), two.size());
}

TEST_F(LoggerStartTest, LinesAFileCouldNotTakeOutliveTheirWindowsAndGoFirstIntoTheNextRun) {
  Line().SetDeviceIds({"T0000101"});
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000101"}));
  TModule3& w = Logger();
  Box(w, "SigmaCheckBox1")->UserToggle();
  w.Period->UserType("1.5");
  std::filesystem::create_directory("T0000101.txt");  // no open can succeed during the first run
  Line().ClearFrames();
  w.Start->Click();
  ASSERT_NE(w.Logger, nullptr);
  ASSERT_TRUE(Line().WaitForFrames(4, std::chrono::seconds(10)));  // into the second pass
  w.Stop->Click();
  ASSERT_EQ(w.Logger, nullptr);
  // MS and RS in each pass; a loaded machine may let a third one begin before the Stop.
  const size_t firstPasses = Line().Frames().size() / 2;

  w.Exitprogram1->Click();
  StationWindow->Back->Click();
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000101"}));  // a new search: new station and logger windows
  TModule3& again = Logger();
  Box(again, "SigmaCheckBox1")->UserToggle();
  again.Period->UserType("1.5");
  std::filesystem::remove("T0000101.txt");
  Line().ClearFrames();
  again.Start->Click();
  ASSERT_NE(again.Logger, nullptr);
  ASSERT_TRUE(Line().WaitForFrames(2, std::chrono::seconds(10)));
  again.Stop->Click();
  // Both runs, each with its header and its passes counted from 0, in order.
  const auto lines = CrlfLines("T0000101.txt");
  std::vector<std::string> heads;
  heads.reserve(lines.size());
  for (const auto& l : lines) heads.push_back(l.substr(0, l.find(' ')));
  std::vector<std::string> expected = {"counter"};
  for (size_t i = 0; i < firstPasses; ++i) expected.push_back(std::to_string(i));
  expected.insert(expected.end(), {"counter", "0"});
  ASSERT_GE(heads.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(heads.begin(), heads.begin() + expected.size()), expected);
  EXPECT_EQ(std::count(heads.begin(), heads.end(), "counter"), 2);

  // Lines still held when the main window closes are named there.
  std::filesystem::remove("T0000101.txt");
  std::filesystem::create_directory("T0000101.txt");
  Line().ClearFrames();
  again.Start->Click();
  ASSERT_TRUE(Line().WaitForFrames(2, std::chrono::seconds(10)));
  again.Stop->Click();
  const std::string held = std::to_string(Line().Frames().size() / 2);  // MS and RS a pass
  again.Exitprogram1->Click();
  StationWindow->Back->Click();
  Responder().AnswerMessage("Measurement lines could not be written to these files:\nT0000101.txt: " + held + " lines",
                            ui::mrOk, ui::DialogType::Custom);
  Main().UserClose();
}

TEST_F(LoggerStartTest, AnAdapterPulledMidPassLeavesEveryLineInItsFileAndThePortOpensAgain) {
  Line().SetDeviceIds({"T0000101"});
  ASSERT_NO_FATAL_FAILURE(OpenLogger({"T0000101"}));
  TModule3& w = Logger();
  Box(w, "SigmaCheckBox1")->UserToggle();
  Box(w, "TempCheckBox1")->UserToggle();
  w.Period->UserType("5");  // 0.5 s after each pass of 4.5 s
  // Gone once the first pass has its conductivity: everything after fails, and the passes go on.
  Line().InjectFault("MT", sim::Fault::Vanish());
  const testing_support::ScopedTimeoutFloor floor(500);  // the logger thread's reads
  w.Start->Click();
  ASSERT_NE(w.Logger, nullptr);
  EXPECT_TRUE(testing_support::WaitForPasses(*w.Logger, 3));
  w.Stop->Click();
  const auto lines = CrlfLines("T0000101.txt");
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "counter time/date S1 T1 ");
  const std::string conductivity = Line().Get<sim::StationDevice>(0x01)->Readings(1).conductivity;
  EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(0 \S+ )" + conductivity + " ERR01 "))) << lines[1];
  for (size_t i = 2; i < lines.size(); ++i) {
    EXPECT_TRUE(std::regex_match(lines[i], std::regex(std::to_string(i - 1) + R"( \S+ ERR01 ERR01 )"))) << lines[i];
  }

  // Back in the main window the port is closed; plugged in again, it opens and the station
  // window comes back.
  w.Exitprogram1->Click();
  StationWindow->Back->Click();
  ASSERT_NO_FATAL_FAILURE(PlugInAndSearch("T0000101"));
  ASSERT_NE(StationWindow, nullptr);
  EXPECT_TRUE(StationWindow->Visible());
}
