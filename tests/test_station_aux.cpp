// AUX probes of the station window: the search with its outcomes, the list and the map, the
// buttons, and the measurement by the probe's family.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/timing.h"
#include "protocol/station.h"
#include "tests/support/log_lines.h"
#include "tests/support/station_test.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

const std::string kTemp = "280A1B2C0000009F";
const std::string kPressure = "553C4D5E000000A1";
const std::string kOther = "10778899000000C3";

}  // namespace

TEST(AuxProbeNames, ByFamily) {
  EXPECT_EQ(protocol::AuxProbeName(kTemp), "t0A1B2C");
  EXPECT_EQ(protocol::AuxProbeName(kPressure), "p3C4D5E");
  EXPECT_EQ(protocol::AuxProbeName(kOther), std::nullopt);
  EXPECT_EQ(protocol::AuxProbeName("ER00000000000000"), std::nullopt);
}

class StationAuxTest : public StationTest {
 protected:
  // Opens the window with the station at 0x2C reporting these 1S replies to every search.
  void OpenWithReplies(const std::vector<std::string>& replies) {
    PutOnLine({"T0001A2C"});
    Station(0x2C)->SetAuxSearchReplies(replies);
    OpenStationWindow({"T0001A2C"});
  }
};

TEST_F(StationAuxTest, SearchOutcomes) {
  const std::string end = sim::kAuxEndOfList;
  struct Case {
    const char* name;
    std::vector<std::string> replies;
    Lines items;
    std::string text;
    bool buttonsDisabled;
    Lines logged;
    protocol::AuxProbeIdMap map;
    std::string lost{};    // the command whose write fails, after
    size_t lostAfter = 0;  // this many sound ones
  };
  const Lines both = {"t0A1B2C", "p3C4D5E", "no probe"};
  const protocol::AuxProbeIdMap two = {{"t0A1B2C", kTemp}, {"p3C4D5E", kPressure}}, temp = {{"t0A1B2C", kTemp}};
  const protocol::AuxProbeIdMap later = {{"t0A1B2C", "280A1B2C000000FF"}};  // a name's later identifier replaces it
  const Lines found = {"Probes found in AUX connector"}, none = {"No probes found in AUX connector"};
  const std::vector<Case> cases = {
      {"two probes", {kTemp, kPressure, end}, both, "no probe", true, found, two},
      {"end at once", {"FFFF0123456789AF"}, {"no probe"}, "No probes", true, none, {}},
      {"no probe on the bus", {sim::kAuxNoProbe}, {"no probe"}, "No probes", true, none, {}},
      {"other families skipped",
       {"ER00000000000000", kOther, kTemp, end},
       {"t0A1B2C", "no probe"},
       "no probe",
       true,
       found,
       temp},
      {"only other families", {kOther, end}, {"no probe"}, "No probes", true, none, {}},
      {"repeated name",
       {kTemp, "280A1B2C000000FF", end},
       {"t0A1B2C", "t0A1B2C", "no probe"},
       "no probe",
       true,
       found,
       later},
      // Cut short: the text and the buttons stay as the window had them (none completed).
      {"reply missing midway", {kTemp, kPressure, ""}, both, "AUX probe", false, {kSendFailure}, two},
      {"short reply midway", {kTemp, kPressure, "FFFFFFFFFFFFFFF"}, both, "AUX probe", false, {kSendFailure}, two},
      // The text and the buttons stay as the window's first search left them.
      {"1W not written", {kTemp, end}, {"t0A1B2C", "no probe"}, "no probe", true, {kSendFailure}, temp, "1W"},
      {"1S not written", {kTemp, end}, {"t0A1B2C", "no probe"}, "no probe", true, {kSendFailure}, temp, "1S", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NO_FATAL_FAILURE(OpenWithReplies(c.replies));
    TModule2& w = Window();
    if (!c.lost.empty()) Line().InjectFault(c.lost, sim::Fault::LostWrite(c.lostAfter));
    Mark();
    w.AUXstart->Click();
    EXPECT_EQ(w.AUXselect->Items().Items(), c.items);
    EXPECT_EQ(w.AUXselect->Text(), c.text);
    EXPECT_EQ(w.MeasTemp->Enabled(), !c.buttonsDisabled);
    EXPECT_EQ(w.MeasMPot->Enabled(), !c.buttonsDisabled);
    EXPECT_EQ(Logged(), c.logged);
    EXPECT_EQ(w.AuxProbeMap, c.map);
    w.Back->Click();
  }
}

TEST_F(StationAuxTest, BusErrorShowsTheWarningBox) {
  PutOnLine({"T0001A2C"});
  Station(0x2C)->SetAuxBusError(1);
  Responder().AnswerMessage("Error\nwhile connecting through AUX", ui::mrOk, ui::DialogType::Warning);
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T0001A2C"}));
  TModule2& w = Window();
  EXPECT_EQ(w.AUXselect->Text(), "No probes");
  EXPECT_EQ(w.AUXselect->Items().Items(), (Lines{"t0A1B2C", "no probe"}));
  EXPECT_FALSE(w.MeasTemp->Enabled());
  EXPECT_EQ(Tail(w.Memo1->Lines(), 1), Lines{"Error while connecting through AUX"});
}

TEST_F(StationAuxTest, AStationThatNeverEndsItsListStopsAtTheBound) {
  platform::SetTimeScale(0.01);
  Responder().AnswerMessage("Error\nwhile connecting through AUX", ui::mrOk);
  std::vector<std::string> fresh;  // a new identifier of one name every time, never the end
  fresh.reserve(size_t{2} * protocol::kMaxAuxSearchReplies);
  for (int i = 0; i < 2 * protocol::kMaxAuxSearchReplies; ++i)
    fresh.push_back("280A1B2C" + std::to_string(10000000 + i));
  ASSERT_NO_FATAL_FAILURE(OpenWithReplies(fresh));
  TModule2& w = Window();
  EXPECT_EQ(w.AUXselect->Text(), "No probes");
  EXPECT_EQ(w.AUXselect->Items().Count(), protocol::kMaxAuxSearchReplies + 1);
  EXPECT_EQ(w.AuxProbeMap.size(), 1u);
}

TEST_F(StationAuxTest, ChoosingAProbeEnablesTheButtonOfItsKind) {
  ASSERT_NO_FATAL_FAILURE(OpenWithReplies({kTemp, kPressure, sim::kAuxEndOfList}));
  TModule2& w = Window();
  struct Step {
    std::string typed;
    bool temp, pressure;
  };
  const std::vector<Step> steps = {
      {"t0A1B2C", true, false},   {"p3C4D5E", false, true}, {"xyz", false, true},
      {"no probe", false, false}, {"t0A1B2C", true, false}, {"No probes", false, false},
  };
  for (const auto& s : steps) {
    w.AUXselect->UserType(s.typed);
    EXPECT_EQ(w.MeasTemp->Enabled(), s.temp) << s.typed;
    EXPECT_EQ(w.MeasMPot->Enabled(), s.pressure) << s.typed;
  }
  EXPECT_TRUE(Sent().empty());
}

TEST_F(StationAuxTest, MeasuringTheChosenProbe) {
  PutOnLine({"T0001A2C"});
  Station(0x2C)->SetAuxProbes({{kTemp, "21.37"}, {kPressure, "-153.2"}});
  ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T0001A2C"}));
  TModule2& w = Window();

  w.AUXselect->UserPick(0);  // t0A1B2C
  w.MeasTemp->Click();
  const auto frames = SentFrames(2);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].raw, WithPreamble(Bytes(0x2C, "1M" + kTemp)));
  EXPECT_EQ(frames[1].raw, WithPreamble(Bytes(0x2C, "1R")));
  EXPECT_EQ(Waits(), "1100 100 r205");
  EXPECT_EQ(Logged(), (Lines{"t0A1B2C", "Measured probe temperature: 21.37 Celsius grades"}));

  Mark();
  w.AUXselect->UserPick(1);  // p3C4D5E
  w.MeasMPot->Click();
  EXPECT_EQ(Sent(2), (Lines{"1M", "1P"}));
  EXPECT_EQ(Logged(), (Lines{"p3C4D5E", "Measured matric pressure: -153.2 mbar"}));

  // The probe's family, not the button, chooses the reading: the temperature button (enabled to
  // reach it) reads a matric-pressure probe with 1P, and the other way round.
  Mark();
  w.MeasTemp->SetEnabled(true);
  w.MeasTemp->Click();
  EXPECT_EQ(Sent(2), (Lines{"1M", "1P"}));
  w.AUXselect->UserPick(0);
  w.MeasMPot->SetEnabled(true);
  Mark();
  w.MeasMPot->Click();
  EXPECT_EQ(Sent(2), (Lines{"1M", "1R"}));
  EXPECT_EQ(Logged(), (Lines{"t0A1B2C", "Measured probe temperature: 21.37 Celsius grades"}));
  w.AUXselect->UserPick(1);

  struct Case {
    const char* name;
    std::string fault;
    sim::Fault f;
    Lines logged;
  };
  const std::vector<Case> cases = {
      {"refused",
       "1P",
       sim::Fault::Er(),
       {"p3C4D5E", "Unable to perform the measurement - Check the probe connection and try again", kSendFailure}},
      {"no reply", "1P", sim::Fault::Silent(), {"p3C4D5E", kSendFailure}},
      {"1M not written", "1M", sim::Fault::LostWrite(), {"p3C4D5E", kSendFailure}},
      {"1P not written", "1P", sim::Fault::LostWrite(), {"p3C4D5E", kSendFailure}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Line().InjectFault(c.fault, c.f);
    Mark();
    w.MeasMPot->Click();
    EXPECT_EQ(Logged(), c.logged);
    Line().ClearFaults();
  }
}

TEST_F(StationAuxTest, NoProbeChosenSendsNothing) {
  ASSERT_NO_FATAL_FAILURE(OpenWithReplies({kTemp, sim::kAuxEndOfList}));
  TModule2& w = Window();
  for (const std::string text : {"no probe", "No probes", "AUX probe", "t999999"}) {
    // Typed names keep the buttons as they are; enable them to reach the handler.
    w.AUXselect->SetText(text);
    w.MeasTemp->SetEnabled(true);
    Mark();
    w.MeasTemp->Click();
    EXPECT_EQ(Logged(), Lines{"Choose a probe connected through AUX"}) << text;
    EXPECT_TRUE(Sent().empty()) << text;
  }
}
