// Full calibrations of a station channel: the question about the probe types, the probe kind from
// the channel's buttons, the payloads (eps roots, water temperature, AUX probe), the waits, and
// every refusal, cancel and failure.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/dialogQ.h"
#include "platform/timing.h"
#include "tests/support/log_lines.h"
#include "tests/support/station_test.h"
#include "tests/support/water_temperature.h"

namespace {

using namespace testing_support;
using Lines = std::vector<std::string>;

const std::string kFullFailure = "Error while attempting to perform probe full calibration";
const std::string kCancelled = "Probe full calibration cancelled";
const std::string kConfirm = "Is the \"Type of probe in a channel\"\nconfiguration correct and was it saved?";
const std::string kAir = "Leave probe in air";
const std::string kWater = "Insert the probe into dionized water\nfor at least 2 minutes";
const std::string kCalibrator = "Insert the probe into\nthe provided calibrator";
const std::string kApply = "Apply calibration?";
const std::string kTemp = "280A1B2C0000009F";
constexpr int OK = ui::mrOk;
constexpr int CANCEL = ui::mrCancel;

}  // namespace

class StationCalibrationTest : public StationTest {
 public:
  // The tables' scripts act on the fixture.
  using StationTest::Line;
  using StationTest::Responder;
  using StationTest::Station;
  using StationTest::Window;

  // Station 0x1F: field probes on channels 1 to 4, laboratory probes on 5 to 8; one temperature
  // probe on the AUX bus.
  void Open(const std::string& channel) {
    // A fresh station each time: the cases of a table leave refusals behind.
    Line().Install(0x1F, std::make_shared<sim::StationDevice>(0x1F));
    PutOnLine({"T000011F"});
    Station(0x1F)->SetAuxProbes({{kTemp, "21.37"}});
    // The laboratory channel 6 reads as the field channel 2 does.
    Station(0x1F)->SetReadings(6, Station(0x1F)->Readings(2));
    ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
    ChooseChannel(channel);
    Mark();
  }
  void Confirm(int answer) { Responder().AnswerMessage(kConfirm, answer, ui::DialogType::Confirmation); }
  void Prompt(const std::string& text, int answer) {
    Responder().AnswerMessage(text, answer, ui::DialogType::Information);
  }
  void Apply(int answer) { Responder().AnswerMessage(kApply, answer, ui::DialogType::Confirmation); }
  void Box(const std::string& text, ui::DialogType type) { Responder().AnswerMessage(text, OK, type); }
  void WaterTemperature(const std::string& text) { testing_support::AnswerWaterTemperature(Responder(), text); }
  void Eps(const std::string& low, const std::string& high) {
    Window().eps_low->UserType(low);
    Window().eps_high->UserType(high);
  }
};

TEST_F(StationCalibrationTest, SequencesSendTheirFramesPayloadAndWaits) {
  struct Case {
    const char* name;
    std::string channel, aux;      // the AUXselect text typed, if any
    std::string low, high, water;  // the user's eps, the water temperature typed
    Lines prompts;                 // answered OK, then the eps prompts and "Apply"
    Lines commands;
    std::string payload;  // of 1W
    std::string length;   // as logged
  };
  const Lines standard = {"CL", "VL", "CA", "VA", "CW", "VW", "CC"};
  const Lines laboratory = {"CL", "VL", "CA", "VA", "1W", "CW", "VW", "CC"};
  const Lines userEps = {"CL", "VL", "1W", "CA", "VA", "CW", "VW", "CC"};
  const std::string auxWater =
      "Insert the selected JX/qr probe and the t0A1B2C\ninto dionized water for at least 2 minutes";
  const Lines airAndWater = {kAir, kWater}, calibrator = {kCalibrator}, none;
  const Lines calibratorAndAux = {kCalibrator, auxWater};
  const std::vector<Case> cases = {
      {"field probe in air and water", "2", "", "", "", "", airAndWater, standard, "", "1.75"},
      {"laboratory probe, AUX temperature probe", "6", "t0A1B2C", "", "", "", calibratorAndAux, laboratory, kTemp,
       "1.75"},
      {"laboratory probe, no probe chosen", "6", "no probe", "", "", "20.0", calibrator, laboratory, "50000000000B7300",
       "1.75"},
      {"laboratory probe, no probe found", "6", "No probes", "", "", "00.1", calibrator, laboratory, "50000000000AAC00",
       "1.75"},
      {"eps 1 and 81", "5", "", "1", "81", "", none, userEps, "5003E82328000000", "2.50"},
      {"eps 10 and 10", "5", "", "10", "10", "", none, userEps, "500C5A0C5A000000", "2.50"},
      {"eps 1 and 4290.25", "5", "", "1", "4290.25", "", none, userEps, "5003E8FFDC000000", "2.50"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NO_FATAL_FAILURE(Open(c.channel));
    TModule2& w = Window();
    if (!c.aux.empty()) w.AUXselect->UserType(c.aux);
    if (!c.low.empty()) Eps(c.low, c.high);
    Mark();
    Confirm(ui::mrYes);
    for (const auto& prompt : c.prompts) Prompt(prompt, OK);
    if (!c.water.empty()) WaterTemperature(c.water);
    if (!c.low.empty()) {
      Prompt("Insert the probe rods into the medium with eps_low = " + c.low, OK);
      Prompt("Insert the probe rods into the medium with eps_high = " + c.high, OK);
    }
    Apply(OK);
    (c.low.empty() ? w.ProbeCalib : w.NonStProbCalibClick)->Click();
    EXPECT_EQ(Logged(), (Lines{"Starting probe full calibration", "Cable length: " + c.length + " m",
                               "Probe full calibration completed"}));
    const auto frames = SentFrames(c.commands.size());
    Lines commands;
    for (const auto& f : frames) commands.push_back(f.command);
    ASSERT_EQ(commands, c.commands);
    for (const auto& f : frames) {
      const std::string rest = f.command == "1W" ? c.payload : c.channel;
      EXPECT_EQ(f.raw, WithPreamble(Bytes(0x1F, f.command + rest))) << f.command;
    }
    EXPECT_EQ(Waits(), "1980 20 r204 2500 20 r204 5500 20 r204 20 r204");
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
    w.Back->Click();
  }
}

TEST_F(StationCalibrationTest, ChecksBeforeAnythingIsSent) {
  struct Case {
    const char* name;
    std::string channel, low, high;
    bool userEps;
    std::function<void(StationCalibrationTest&)> script;
    Lines logged;
  };
  auto yes = [](StationCalibrationTest& t) { t.Confirm(ui::mrYes); };
  auto box = [](const std::string& text, ui::DialogType type) {
    return [text, type](StationCalibrationTest& t) {
      t.Confirm(ui::mrYes);
      t.Box(text, type);
    };
  };
  const std::string verify = "Verify and save the \"Type of probe in a channel\" configuration";
  const std::string checkChannel = "Check the selected channel configuration";
  using T = ui::DialogType;
  const std::vector<Case> cases = {
      {"types not confirmed", "2", "", "", false, [](StationCalibrationTest& t) { t.Confirm(ui::mrNo); }, {verify}},
      {"types not confirmed, eps",
       "2",
       "1",
       "80",
       true,
       [](StationCalibrationTest& t) { t.Confirm(ui::mrNo); },
       {verify}},
      // The question comes before the channel is looked at.
      {"no channel", "CH number", "", "", false, yes, {checkChannel}},
      {"no channel, eps", "CH number", "1", "80", true, yes, {checkChannel}},
      {"channel 9", "9", "", "", false, yes, {checkChannel}},
      {"eps at their start", "2", "0", "0", true, box("Set eps values!", T::Warning), {}},
      {"eps not above 0", "2", "-3", "5", true, box("Set eps values!", T::Warning), {}},
      {"eps_low letters", "2", "abc", "20", true, box("The provided eps value is incorrect!", T::Error), {}},
      {"eps_high below eps_low", "2", "80", "1", true, box("eps_high is lower than eps_low!", T::Warning), {}},
      {"eps too high", "2", "1", "4290.26", true, box("The provided eps value is too high!", T::Warning), {}},
  };
  ASSERT_NO_FATAL_FAILURE(Open("2"));
  TModule2& w = Window();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    w.ChannelSelect->SetText(c.channel);
    if (c.userEps) Eps(c.low, c.high);
    Mark();
    c.script(*this);
    (c.userEps ? w.NonStProbCalibClick : w.ProbeCalib)->Click();
    EXPECT_EQ(Logged(), c.logged);
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(Responder().AllAnswered());
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  }
}

TEST_F(StationCalibrationTest, EveryFailureAndCancelEndsTheSequence) {
  struct Case {
    const char* name;
    std::string channel;  // 2: field probe, 6: laboratory probe
    bool userEps;
    std::function<void(StationCalibrationTest&)> setup;  // faults and answers after the question
    Lines commands;
    Lines logged;
  };
  const std::string starting = "Starting probe full calibration";
  const std::string length = "Cable length: 1.75 m";
  auto refuse = [](const std::string& command) {
    return [command](StationCalibrationTest& t) { t.Station(0x1F)->SetRefused(command, true); };
  };
  auto silent = [](const std::string& command) {
    return [command](StationCalibrationTest& t) { t.Line().InjectFault(command, sim::Fault::Silent()); };
  };
  auto lost = [](const std::string& command) {
    return [command](StationCalibrationTest& t) { t.Line().InjectFault(command, sim::Fault::LostWrite()); };
  };
  auto then = [](const std::function<void(StationCalibrationTest&)>& a,
                 const std::function<void(StationCalibrationTest&)>& b) {
    return [a, b](StationCalibrationTest& t) {
      a(t);
      b(t);
    };
  };
  auto air = [](int answer) { return [answer](StationCalibrationTest& t) { t.Prompt(kAir, answer); }; };
  auto water = [](int answer) { return [answer](StationCalibrationTest& t) { t.Prompt(kWater, answer); }; };
  auto apply = [](int answer) { return [answer](StationCalibrationTest& t) { t.Apply(answer); }; };
  auto epsPrompts = [](StationCalibrationTest& t) {
    t.Prompt("Insert the probe rods into the medium with eps_low = 1", OK);
  };
  const Lines all = {"CL", "VL", "CA", "VA", "CW", "VW", "CC"};
  const Lines failed = {starting, length, kFullFailure, kSendFailure};
  const auto inWater = then(air(OK), water(OK)), applied = then(inWater, apply(OK));
  const auto auxProbe = [](StationCalibrationTest& t) {
    t.Window().AUXselect->UserType("t0A1B2C");
    t.Prompt(kCalibrator, OK);
    t.Prompt("Insert the selected JX/qr probe and the t0A1B2C\ninto dionized water for at least 2 minutes", OK);
  };
  // A text in the AUX box that names no probe found: the calibrator prompt, then the refusal.
  const auto noAuxProbe = [](const std::string& text) {
    return [text](StationCalibrationTest& t) {
      t.Window().AUXselect->UserType(text);
      t.Prompt(kCalibrator, OK);
    };
  };
  const Lines chooseAux = {starting, length, "Choose a probe connected through AUX"};
  const std::vector<Case> cases = {
      {"first prompt cancelled", "2", false, air(CANCEL), {}, {kCancelled}},
      {"length refused",
       "2",
       false,
       then(refuse("VL"), air(OK)),
       {"CL", "VL"},
       {starting, "Error while attempting to perform probe length calibration - Probe not found or damaged - Try again",
        "Error while attempting to perform probe length calibration", kFullFailure}},
      {"no first-medium result",
       "2",
       false,
       then(silent("VA"), air(OK)),
       {"CL", "VL", "CA", "VA"},
       {starting, length, kFullFailure, kSendFailure}},
      {"air refused",
       "2",
       false,
       then(refuse("VA"), air(OK)),
       {"CL", "VL", "CA", "VA"},
       {starting, length,
        "Error while attempting to perform full probe calibration - Probe not in air or damaged - Try again"}},
      {"calibrator refused",
       "6",
       false,
       then(refuse("VA"), [](StationCalibrationTest& t) { t.Prompt(kCalibrator, OK); }),
       {"CL", "VL", "CA", "VA"},
       {starting, length,
        "Error while attempting to perform full probe calibration - Probe not in air or damaged - Try again"}},
      {"eps_low medium refused",
       "2",
       true,
       then(refuse("VA"), epsPrompts),
       {"CL", "VL", "1W", "CA", "VA"},
       {starting, length,
        "Error while attempting to perform full probe calibration - Probe not in medium with eps_low = 1 or damaged - "
        "Try again"}},
      {"water prompt cancelled",
       "2",
       false,
       then(air(OK), water(CANCEL)),
       {"CL", "VL", "CA", "VA"},
       {starting, length, kCancelled}},
      {"water refused, eps",
       "2",
       true,
       then(
           then(refuse("VW"), epsPrompts),
           [](StationCalibrationTest& t) { t.Prompt("Insert the probe rods into the medium with eps_high = 80", OK); }),
       {"CL", "VL", "1W", "CA", "VA", "CW", "VW"},
       {starting, length,
        "Error while attempting to perform cable length calibration - Probe not in water or damaged - Try again"}},
      {"no second-medium result",
       "2",
       false,
       then(silent("VW"), then(air(OK), water(OK))),
       {"CL", "VL", "CA", "VA", "CW", "VW"},
       {starting, length, kFullFailure, kSendFailure}},
      {"apply cancelled",
       "2",
       false,
       then(then(air(OK), water(OK)), apply(CANCEL)),
       {"CL", "VL", "CA", "VA", "CW", "VW"},
       {starting, length, kCancelled}},
      {"calculation refused",
       "2",
       false,
       then(then(refuse("CC"), then(air(OK), water(OK))), apply(OK)),
       all,
       {starting, length, "Calculation error while attempting to perform full probe calibration", "Try again"}},
      {"no calculation reply",
       "2",
       false,
       then(then(silent("CC"), then(air(OK), water(OK))), apply(OK)),
       all,
       {starting, length}},
      {"AUX search never completed", "6", false, noAuxProbe("AUX probe"), {"CL", "VL", "CA", "VA"}, chooseAux},
      {"typed name of no probe found", "6", false, noAuxProbe("t999999"), {"CL", "VL", "CA", "VA"}, chooseAux},
      {"AUX probe prompt cancelled",
       "6",
       false,
       [](StationCalibrationTest& t) {
         t.Window().AUXselect->UserType("t0A1B2C");
         t.Prompt(kCalibrator, OK);
         t.Prompt("Insert the selected JX/qr probe and the t0A1B2C\ninto dionized water for at least 2 minutes",
                  CANCEL);
       },
       {"CL", "VL", "CA", "VA"},
       {starting, length, kCancelled}},
      {"dialog closed without a temperature",
       "6",
       false,
       [](StationCalibrationTest& t) {
         t.Window().AUXselect->UserType("No probes");
         t.Prompt(kCalibrator, OK);
         t.Responder().AnswerForm("SetPropDialog", [](ui::Form& f) { f.Close(); });
       },
       {"CL", "VL", "CA", "VA"},
       {starting, length, kCancelled}},
      {"1W not written, eps", "2", true, then(lost("1W"), epsPrompts), {"CL", "VL"}, failed},
      {"CA not written", "2", false, then(lost("CA"), air(OK)), {"CL", "VL"}, failed},
      {"VA not written", "2", false, then(lost("VA"), air(OK)), {"CL", "VL", "CA"}, failed},
      {"1W not written, AUX probe", "6", false, then(lost("1W"), auxProbe), {"CL", "VL", "CA", "VA"}, failed},
      {"CW not written", "2", false, then(lost("CW"), inWater), {"CL", "VL", "CA", "VA"}, failed},
      {"VW not written", "2", false, then(lost("VW"), inWater), {"CL", "VL", "CA", "VA", "CW"}, failed},
      {"CC not written", "2", false, then(lost("CC"), applied), {"CL", "VL", "CA", "VA", "CW", "VW"}, failed},
  };
  platform::SetTimeScale(0.02);  // twenty-three calibrations
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NO_FATAL_FAILURE(Open(c.channel));
    TModule2& w = Window();
    if (c.userEps) Eps("1", "80");
    Mark();
    Confirm(ui::mrYes);
    c.setup(*this);
    (c.userEps ? w.NonStProbCalibClick : w.ProbeCalib)->Click();
    EXPECT_EQ(Sent(c.commands.size()), c.commands);
    EXPECT_EQ(Logged(), c.logged);
    EXPECT_TRUE(Responder().AllAnswered());
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
    Line().ClearFaults();
    w.Back->Click();
  }
}

TEST_F(StationCalibrationTest, AChannelOfNoKnownKindIsALaboratoryProbe) {
  PutOnLine({"T000011F"});
  Line().InjectFault("RH", sim::Fault::Silent());
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
  TModule2& w = Window();
  ChooseChannel("1");
  Mark();
  Confirm(ui::mrYes);
  Prompt(kCalibrator, CANCEL);
  w.ProbeCalib->Click();
  EXPECT_EQ(Logged(), Lines{kCancelled});
}
