// Probe length and full calibrations of the handheld meter against the stand-in meter: the guided
// sequences with their prompts, frames, payloads and waits, the eps checks, and every failure and
// cancel line.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/dialogQ.h"
#include "tests/support/log_lines.h"
#include "tests/support/meter_test.h"
#include "tests/support/water_temperature.h"

namespace {

using namespace testing_support;
using Lines = std::vector<std::string>;

const char* const kLengthFailure = "Error while attempting to perform probe length calibration";
const char* const kFullFailure = "Error while attempting to perform probe full calibration";
const char* const kCancelled = "Probe full calibration cancelled";
const char* const kAir = "Leave probe in air";
const char* const kWater = "Insert the probe into dionized water\nfor at least 2 minutes";
const char* const kCalibrator = "Insert the probe into\nthe provided calibrator";
const char* const kApply = "Apply calibration?";

constexpr int OK = ui::mrOk;
constexpr int CANCEL = ui::mrCancel;

class MeterCalibrationTest : public MeterTest {
 public:
  // The failure table's scripts act on the fixture.
  using MeterTest::Line;
  using MeterTest::Main;
  using MeterTest::Meter;
  void Prompt(const std::string& text, int answer) {
    Responder().AnswerMessage(text, answer, ui::DialogType::Information);
  }
  void Apply(int answer) { Responder().AnswerMessage(kApply, answer, ui::DialogType::Confirmation); }
  void WaterTemperature(const std::string& text) { testing_support::AnswerWaterTemperature(Responder(), text); }
  void Eps(const std::string& low, const std::string& high) {
    Main().eps_low->UserType(low);
    Main().eps_high->UserType(high);
  }
  std::vector<uint8_t> Frame(const std::string& command, char channel) {
    return WithPreamble({0xFE, uint8_t(command[0]), uint8_t(command[1]), uint8_t(channel)});
  }
  std::vector<uint8_t> Payload(const std::string& payload) {
    std::vector<uint8_t> frame = {0xFE, '1', 'W'};
    frame.insert(frame.end(), payload.begin(), payload.end());
    return WithPreamble(frame);
  }
  size_t IndexOf(const std::string& command) {
    const Lines commands = Commands();
    return std::find(commands.begin(), commands.end(), command) - commands.begin();
  }
  void ExpectCursorBack() { EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default); }
};

TEST_F(MeterCalibrationTest, LengthCalibrationFromButtonAndMenu) {
  struct Case {
    std::string name;
    std::function<void(TModule1&)> click;
    std::optional<std::string> result;  // nullopt: no VL reply
    Lines lines;
  };
  const auto button = [](TModule1& w) { w.CableCalib->Click(); };
  const auto menu = [](TModule1& w) { w.Cablelengthcalibration1->Click(); };
  const std::string start = "Starting cable length calibration";
  const std::vector<Case> cases = {
      {"button", button, "0.10", {start, "Cable length: 0.10 m"}},
      {"menu", menu, "0.10", {start, "Cable length: 0.10 m"}},
      {"two characters", button, "12", {start, "Cable length: 12 m"}},
      {"probe not found",
       button,
       "E001",
       {start, "Error while attempting to perform probe length calibration - Probe not found or damaged - Try again",
        kLengthFailure}},
      {"no result", menu, std::nullopt, {start, kLengthFailure}},
  };
  FindMeter();
  Main().ChannelSelect->UserType(" 5x");  // typed: read up to the first character that is no digit
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.result) {
      Meter()->SetCalibrationResult("VL", *c.result);
    } else {
      Line().InjectFault("VL", sim::Fault::Silent(1));
    }
    Mark();
    c.click(Main());
    EXPECT_EQ(NewLines(), c.lines);
    ASSERT_EQ(Commands(), (Lines{"CL", "VL"}));
    EXPECT_EQ(Raw("CL"), Frame("CL", '5'));
    EXPECT_EQ(Raw("VL"), Frame("VL", '5'));
    EXPECT_EQ(Waits(), "1980 20 r204");
    ExpectCursorBack();
  }
  // Without a channel nothing is sent.
  Main().ChannelSelect->UserType("CH number");
  Mark();
  Main().CableCalib->Click();
  EXPECT_EQ(NewLines(),
            (Lines{"Starting cable length calibration", kLengthFailure, kSendFailure, kCheckChannel, kLengthFailure}));
  EXPECT_TRUE(Commands().empty());
}

TEST_F(MeterCalibrationTest, SequencesSendTheirFramesPayloadAndWaits) {
  struct Case {
    std::string name;
    int channel;
    std::string low, high, water;  // the user's eps, the water temperature typed
    Lines prompts;                 // answered OK, then "Apply"
    std::function<void(TModule1&)> click;
    Lines commands;
    std::string payload;  // of 1W
  };
  auto button = [](TModule1& w) { w.ProbeCalib->Click(); };
  auto menu = [](TModule1& w) { w.Fullprobecalibration1->Click(); };
  auto user = [](TModule1& w) { w.NonStProbCalibClick->Click(); };
  const Lines airAndWater = {kAir, kWater}, calibrator = {kCalibrator};
  const Lines epsMedia = {"Insert the probe rods into the medium with eps_low = 1",
                          "Insert the probe rods into the medium with eps_high = 80"};
  const Lines standard = {"CL", "VL", "CA", "VA", "CW", "VW", "CC"};
  const Lines laboratory = {"CL", "VL", "CA", "VA", "1W", "CW", "VW", "CC"};
  const Lines userEps = {"CL", "VL", "1W", "CA", "VA", "CW", "VW", "CC"};
  const std::vector<Case> cases = {
      {"field probe, no payload", 2, "", "", "", airAndWater, button, standard, ""},
      {"laboratory probe, the water temperature", 1, "", "", "21.5", calibrator, menu, laboratory, "50000000000B8200"},
      {"user eps, their roots before the first medium", 7, "1", "80", "", epsMedia, user, userEps, "5003E822F0000000"},
  };
  FindMeter();
  Meter()->SetProbeTypeMask(0x01);  // a laboratory probe on channel 1
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PickChannel(c.channel);
    ASSERT_EQ(Main().ProbeGroup->ItemIndex(), c.channel == 1);
    if (!c.low.empty()) Eps(c.low, c.high);
    Mark();
    for (const auto& prompt : c.prompts) Prompt(prompt, OK);
    if (!c.water.empty()) WaterTemperature(c.water);
    Apply(OK);
    c.click(Main());
    EXPECT_EQ(NewLines(),
              (Lines{"Starting probe full calibration", "Cable length: 0.10 m", "Probe full calibration completed"}));
    ASSERT_EQ(Commands(), c.commands);
    for (const auto& command : c.commands) {
      EXPECT_EQ(Raw(command), command == "1W" ? Payload(c.payload) : Frame(command, char('0' + c.channel))) << command;
    }
    EXPECT_EQ(Waits(), "1980 20 r204 2500 20 r204 5000 20 r204 20 r204");
    ExpectCursorBack();
  }
}

TEST_F(MeterCalibrationTest, EveryFailureAndCancelEndsTheSequence) {
  struct Case {
    std::string name;
    std::function<void(MeterCalibrationTest&)> script;  // faults, answers and the click
    Lines lines;
    Lines commands;
  };
  auto field = [](MeterCalibrationTest& t) { t.Main().ProbeCalib->Click(); };
  auto user = [](MeterCalibrationTest& t) { t.Main().NonStProbCalibClick->Click(); };
  const Lines lengthOk = {"Starting probe full calibration", "Cable length: 0.10 m"};
  auto with = [&](Lines more) {
    Lines all = lengthOk;
    all.insert(all.end(), more.begin(), more.end());
    return all;
  };
  // A field calibration answered OK throughout, with a fault on CC.
  auto appliedWith = [&](const sim::Fault& fault) {
    return [&field, fault](MeterCalibrationTest& t) {
      t.Line().InjectFault("CC", fault);
      t.Prompt(kAir, OK);
      t.Prompt(kWater, OK);
      t.Apply(OK);
      field(t);
    };
  };
  const std::vector<Case> cases = {
      {"cancel in air",
       [&](MeterCalibrationTest& t) {
         t.Prompt(kAir, CANCEL);
         field(t);
       },
       {kCancelled},
       {}},
      {"probe not found",
       [&](MeterCalibrationTest& t) {
         t.Meter()->SetCalibrationResult("VL", "E");
         t.Prompt(kAir, OK);
         field(t);
       },
       {"Starting probe full calibration",
        "Error while attempting to perform probe length calibration - Probe not found or damaged - Try again",
        kLengthFailure, kFullFailure},
       {"CL", "VL"}},
      {"not in air",
       [&](MeterCalibrationTest& t) {
         t.Meter()->SetCalibrationResult("VA", "E12");
         t.Prompt(kAir, OK);
         field(t);
       },
       with({"Error while attempting to perform full probe calibration - Probe not in air or damaged - Try again"}),
       {"CL", "VL", "CA", "VA"}},
      {"no VA reply",
       [&](MeterCalibrationTest& t) {
         t.Line().InjectFault("VA", sim::Fault::Silent());
         t.Prompt(kAir, OK);
         field(t);
       },
       with({kFullFailure, kSendFailure}),
       {"CL", "VL", "CA", "VA"}},
      {"cancel in water",
       [&](MeterCalibrationTest& t) {
         t.Prompt(kAir, OK);
         t.Prompt(kWater, CANCEL);
         field(t);
       },
       with({kCancelled}),
       {"CL", "VL", "CA", "VA"}},
      {"not in water",
       [&](MeterCalibrationTest& t) {
         t.Meter()->SetCalibrationResult("VW", "E");
         t.Prompt(kAir, OK);
         t.Prompt(kWater, OK);
         field(t);
       },
       with({"Error while attempting to perform cable length calibration - Probe not in water or damaged - Try "
             "again"}),
       {"CL", "VL", "CA", "VA", "CW", "VW"}},
      {"no VW reply",
       [&](MeterCalibrationTest& t) {
         t.Line().InjectFault("VW", sim::Fault::Silent());
         t.Prompt(kAir, OK);
         t.Prompt(kWater, OK);
         field(t);
       },
       with({kFullFailure, kSendFailure}),
       {"CL", "VL", "CA", "VA", "CW", "VW"}},
      {"not applied",
       [&](MeterCalibrationTest& t) {
         t.Prompt(kAir, OK);
         t.Prompt(kWater, OK);
         t.Apply(CANCEL);
         field(t);
       },
       with({kCancelled}),
       {"CL", "VL", "CA", "VA", "CW", "VW"}},
      {"calculation error",
       [&](MeterCalibrationTest& t) {
         t.Meter()->SetCalibrationResult("CC", "ERR!");
         t.Prompt(kAir, OK);
         t.Prompt(kWater, OK);
         t.Apply(OK);
         field(t);
       },
       with({"Calculation error while attempting to perform full probe calibration", "Try again"}),
       {"CL", "VL", "CA", "VA", "CW", "VW", "CC"}},
      {"no CC reply",
       appliedWith(sim::Fault::Silent()),
       with({kFullFailure, kSendFailure}),
       {"CL", "VL", "CA", "VA", "CW", "VW", "CC"}},
      {"not in the first medium",
       [&](MeterCalibrationTest& t) {
         t.Meter()->SetCalibrationResult("VA", "E");
         t.Eps("2.5", "80");
         t.Prompt("Insert the probe rods into the medium with eps_low = 2.5", OK);
         user(t);
       },
       with({"Error while attempting to perform full probe calibration - Probe not in medium with eps_low = 2.5 or "
             "damaged - Try again"}),
       {"CL", "VL", "1W", "CA", "VA"}},
      {"not in the second medium",
       [&](MeterCalibrationTest& t) {
         t.Meter()->SetCalibrationResult("VW", "E");
         t.Eps("2.5", "80");
         t.Prompt("Insert the probe rods into the medium with eps_low = 2.5", OK);
         t.Prompt("Insert the probe rods into the medium with eps_high = 80", OK);
         user(t);
       },
       with({"Error while attempting to perform cable length calibration - Probe not in water or damaged - Try "
             "again"}),
       {"CL", "VL", "1W", "CA", "VA", "CW", "VW"}},
      {"cancel in the second medium",
       [&](MeterCalibrationTest& t) {
         t.Eps("2.5", "80");
         t.Prompt("Insert the probe rods into the medium with eps_low = 2.5", OK);
         t.Prompt("Insert the probe rods into the medium with eps_high = 80", CANCEL);
         user(t);
       },
       with({kCancelled}),
       {"CL", "VL", "1W", "CA", "VA"}},
      {"CC not written",
       appliedWith(sim::Fault::LostWrite()),
       with({kFullFailure, kSendFailure}),
       {"CL", "VL", "CA", "VA", "CW", "VW"}},
  };
  Ready(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Mark();
    c.script(*this);
    EXPECT_EQ(NewLines(), c.lines);
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_TRUE(Responder().AllAnswered());
    ExpectCursorBack();
    Line().ClearFaults();
    for (const char* command : {"VL", "VA", "VW", "CC"}) Meter()->SetCalibrationResult(command, "OK  ");
    Meter()->SetCalibrationResult("VL", "0.10");
  }
}

TEST_F(MeterCalibrationTest, WaterTemperatureDialogClosedWithoutATemperatureCancels) {
  FindMeter();
  Meter()->SetProbeTypeMask(0x02);
  PickChannel(2);
  Prompt(kCalibrator, OK);
  Responder().AnswerForm("SetPropDialog", [](ui::Form& f) { f.Close(); });
  Main().ProbeCalib->Click();
  EXPECT_EQ(NewLines(), (Lines{"Starting probe full calibration", "Cable length: 0.10 m", kCancelled}));
  EXPECT_EQ(Commands(), (Lines{"CL", "VL", "CA", "VA"}));
  ExpectCursorBack();
}

TEST_F(MeterCalibrationTest, EpsValuesAreCheckedBeforeAnything) {
  struct Case {
    std::string low, high;
    std::string box;  // empty: the checks pass
    ui::DialogType type = ui::DialogType::Warning;
  };
  const std::string set = "Set eps values!";
  const std::string lower = "eps_high is lower than eps_low!";
  const std::string tooHigh = "The provided eps value is too high!";
  const std::string incorrect = "The provided eps value is incorrect!";
  const std::vector<Case> cases = {
      {"0", "5", set},
      {"5", "0", set},
      {"0.0", "5", set},
      {"-3", "5", set},
      {"5", "-3", set},
      {"abc", "-3", set},  // eps_high is looked at first
      {"80", "1", lower},
      {"10", "10", ""},
      {"1", "4290.25", ""},
      {"1", "4290.3", tooHigh},
      {"4290.3", "5000", tooHigh},
      {"5", "abc", incorrect, ui::DialogType::Error},
      {"abc", "5", incorrect, ui::DialogType::Error},
      {"5", "6x", incorrect, ui::DialogType::Error},
      {"", "5", incorrect, ui::DialogType::Error},
      {"1", "0x50", incorrect, ui::DialogType::Error},
  };
  FindMeter();
  Main().ChannelSelect->UserType("12");  // names no channel: refused as "CH number" is
  for (const Case& c : cases) {
    SCOPED_TRACE(c.low + " " + c.high);
    Eps(c.low, c.high);
    if (!c.box.empty()) Responder().AnswerMessage(c.box, ui::mrOk, c.type);
    Mark();
    Main().NonStProbCalibClick->Click();
    EXPECT_EQ(NewLines(), c.box.empty() ? Lines{kCheckChannel} : Lines{});
    EXPECT_TRUE(Commands().empty());
    ExpectCursorBack();
  }
  // The standard calibration is refused the same way.
  Mark();
  Main().ProbeCalib->Click();
  EXPECT_EQ(NewLines(), Lines{kCheckChannel});
}

TEST_F(MeterCalibrationTest, WithoutADeviceTheLengthStepFails) {
  FindMeter();
  PickChannel(1);
  Line().SetDeviceIds({});
  Main().search->Click();
  Mark();
  Prompt(kAir, OK);
  Main().ProbeCalib->Click();
  EXPECT_EQ(NewLines(), (Lines{"Starting probe full calibration", "Search for devices on the selected com port first",
                               kLengthFailure, kSendFailure, kCheckChannel, kLengthFailure, kFullFailure}));
  EXPECT_TRUE(Commands().empty());
}

}  // namespace
