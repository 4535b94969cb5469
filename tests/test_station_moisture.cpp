// The station's moisture measurement: its exchanges, its log, the reflectogram decoding and the
// chart it draws.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "common/graph.h"
#include "tests/support/log_lines.h"
#include "tests/support/station_test.h"

using namespace testing_support;
using Lines = std::vector<std::string>;

namespace {

int GraphsOwnedBy(const ui::Component& owner) {
  int n = 0;
  for (int i = 0; i < owner.ComponentCount(); ++i) n += dynamic_cast<TGraph1*>(owner.Components(i)) != nullptr;
  return n;
}

}  // namespace

TEST(StationReflectogram, Decoding) {
  struct Case {
    std::string text;
    uint32_t first;
    bool faulty;
  };
  const std::vector<Case> cases = {
      {"1234", 0x1234, false},
      {"FFFF", 0xFFFF, false},
      {"00A0", 0xA0, false},
      // Any other character marks the reflectogram faulty, and its digit (code - '0', 7 more off
      // above '9') still counts.
      {"abcd", ((42u * 16 + 43) * 16 + 44) * 16 + 45, true},
      {"12G4", 0x1204 + 16 * 16, true},
      {"1:34", 0x1334, true},
      {"1/34", 0x1034 - 16 * 16, true},
      {"00 0", 0u - 16u * 16u, true},  // a digit below 0 borrows, as the signed sum would
  };
  for (const auto& c : cases) {
    const auto decoded = protocol::Station::DecodeReflectogram(c.text + std::string(size_t{4} * 1025, '0'));
    ASSERT_EQ(decoded.values.size(), 1026u);
    EXPECT_EQ(decoded.values[0], c.first) << c.text;
    EXPECT_EQ(decoded.markers, !c.faulty) << c.text;
  }
  // The last value comes from the last four characters.
  const auto decoded = protocol::Station::DecodeReflectogram(std::string(4100, '0') + "0BB8");
  EXPECT_EQ(decoded.values[1025], 3000u);
  EXPECT_TRUE(decoded.markers);
}

// Every test measures channel 2 of the station at 0x1F.
class StationMoistureTest : public StationTest {
 protected:
  void SetUp() override {
    StationTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(OpenStationWindow({"T000011F"}));
    ChooseChannel("2");
    Mark();
  }
};

TEST_F(StationMoistureTest, AWholeMeasurement) {
  TModule2& w = Window();
  Station(0x1F)->SetReadings(2, {"", "", "18.834", "10.123", ""});
  std::vector<uint16_t> values(1026);
  for (size_t i = 0; i < 1024; ++i) values[i] = static_cast<uint16_t>(30000 + i);
  values[1024] = 2345;
  values[1025] = 3010;
  Station(0x1F)->SetReflectogram(values);
  w.MeasMoi->Click();

  const auto frames = SentFrames(4);
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames[0].raw, WithPreamble({0x1F, 'M', 'M', '2'}));
  EXPECT_EQ(frames[1].raw, WithPreamble({0x1F, 'R', 'M'}));
  EXPECT_EQ(frames[2].raw, WithPreamble({0x1F, 'R', 'N'}));
  EXPECT_EQ(frames[3].raw, WithPreamble({0x1F, 'R', 'G'}));
  EXPECT_EQ(Waits(), "980 20 r206 20 r206 769 r4304");
  EXPECT_EQ(Logged(), (Lines{"Starting moisture measurement", "Receiving measurement results",
                             "Measured moisture: 18.834%", "Measured dielectric constant: 10.12", "Preparing the graph",
                             "Compiling graph", "Moisture measurement complete"}));

  ASSERT_NE(StationGraph, nullptr);
  EXPECT_TRUE(StationGraph->Visible());
  EXPECT_EQ(StationGraph->Owner(), &w);
  // What the chart makes of the values is the chart's own (the chart's tests).
  ASSERT_EQ(StationGraph->Series1->Points().size(), 1024u);
  EXPECT_DOUBLE_EQ(StationGraph->Series1->Points()[1023].y, 30000 + 1023);
  EXPECT_EQ(StationGraph->Series2->Points().size(), 2u);
  // The title shows the whole six characters of the dielectric constant.
  EXPECT_EQ(StationGraph->Chart1->Title().Items().back(), "Moisture: 18.834%      Dielectric constant: 10.123");
  EXPECT_EQ(w.LastMoisture, "18.834");
  EXPECT_EQ(w.LastDielectricConstant, "10.123");
}

// Markers past the trace are the chart's own rule (the chart's tests).
TEST_F(StationMoistureTest, MarkersAreLeftOutOfFaultyReflectograms) {
  using Style = sim::StationDevice::TraceStyle;
  const std::vector<std::pair<Style, size_t>> cases = {{Style::UpperHex, 2}, {Style::LowerHex, 0}, {Style::Broken, 0}};
  TModule2& w = Window();
  for (const auto& [style, drawn] : cases) {
    SCOPED_TRACE(drawn);
    Station(0x1F)->SetTraceStyle(style);
    w.MeasMoi->Click();
    ASSERT_NE(StationGraph, nullptr);
    EXPECT_EQ(StationGraph->Series1->Points().size(), 1024u);
    EXPECT_EQ(StationGraph->Series2->Points().size(), drawn);
    // One chart window at a time.
    EXPECT_EQ(GraphsOwnedBy(w), 1);
  }
}

TEST_F(StationMoistureTest, Failures) {
  struct Case {
    const char* name;
    std::string command;
    sim::Fault fault;
    Lines logged;
    bool newChart;
    const char* waits;   // a read whose command was lost has no wait; RG unsent, neither has it
    size_t markers = 2;  // on the chart shown afterwards
  };
  const std::string start = "Starting moisture measurement", got = "Receiving measurement results";
  const std::string moisture = "Measured moisture: 22.301%", graph = "Preparing the graph",
                    compiling = "Compiling graph";
  const std::string constant = "Measured dielectric constant: 14.00", done = "Moisture measurement complete";
  const auto lost = sim::Fault::LostWrite();
  const char* const all = "980 20 r206 20 r206 769 r4304";
  const char* const oneRead = "980 20 r206 769 r4304";
  const char* const noRg = "980 20 r206 20 r206";
  const std::vector<Case> cases = {
      {"moisture refused",
       "RM",
       sim::Fault::Er(),
       {"Starting moisture measurement", "Receiving measurement results", kErLine,
        "Measured dielectric constant: 14.00", "Preparing the graph", "Compiling graph",
        "Moisture measurement complete"},
       true,
       all},
      {"reflectogram refused",
       "RG",
       sim::Fault::Er(),
       {"Starting moisture measurement", "Receiving measurement results", "Measured moisture: 22.301%",
        "Measured dielectric constant: 14.00", "Preparing the graph", "Compiling graph", kErLine},
       false,
       all},
      {"reflectogram missing",
       "RG",
       sim::Fault::Silent(),
       {"Starting moisture measurement", "Receiving measurement results", "Measured moisture: 22.301%",
        "Measured dielectric constant: 14.00", "Preparing the graph", "Compiling graph"},
       false,
       all},
      {"reflectogram short",
       "RG",
       sim::Fault::Short(4000),
       {"Starting moisture measurement", "Receiving measurement results", "Measured moisture: 22.301%",
        "Measured dielectric constant: 14.00", "Preparing the graph", "Compiling graph"},
       false,
       all},
      {"RM not written", "RM", lost, {start, got, kSendFailure, constant, graph, compiling, done}, true, oneRead},
      {"RG not written", "RG", lost, {start, got, moisture, constant, graph, compiling, kSendFailure}, false, noRg},
      // A failed RN write is flagged: the markers are left out, and RG's failure goes unlogged.
      {"RN not written", "RN", lost, {start, got, moisture, kSendFailure, graph, compiling, done}, true, oneRead, 0},
      // The adapter pulled out in the middle of a reply; last, as the line stays gone.
      {"line vanished",
       "RN",
       sim::Fault::Vanish(3),
       {start, got, moisture, "Measured dielectric constant: 14.", graph, compiling, kSendFailure},
       false,
       noRg},
  };
  TModule2& w = Window();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Station(0x1F)->SetReadings(2, {"", "", "22.301", "14.000", ""});
    w.MeasMoi->Click();  // a chart to keep or replace
    ASSERT_NE(StationGraph, nullptr);
    ui::ComponentWatch before(*StationGraph);  // not its address: a new chart may take the old one's
    Line().InjectFault(c.command, c.fault);
    Mark();
    w.MeasMoi->Click();
    EXPECT_EQ(Waits(), c.waits);
    EXPECT_EQ(Logged(), c.logged);
    EXPECT_EQ(!before.Alive(), c.newChart);
    ASSERT_NE(StationGraph, nullptr);
    EXPECT_EQ(StationGraph->Series2->Points().size(), c.markers);
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
    Line().ClearFaults();
  }
  // Back in the main window the port is closed; plugged in again, it opens and the station
  // window comes back.
  w.Back->Click();
  ASSERT_NO_FATAL_FAILURE(PlugInAndSearch("T000011F"));
  ASSERT_NE(StationWindow, nullptr);
  EXPECT_TRUE(StationWindow->Visible());
}

TEST_F(StationMoistureTest, TitleKeepsThePreviousMoistureWhenItsReadFails) {
  TModule2& w = Window();
  Line().InjectFault("RM", sim::Fault::Er());
  w.MeasMoi->Click();
  EXPECT_EQ(StationGraph->Chart1->Title().Items().back(), "Moisture: %      Dielectric constant: 12.000");
  Line().ClearFaults();
  w.MeasMoi->Click();
  Line().InjectFault("RM", sim::Fault::Silent());
  w.MeasMoi->Click();
  EXPECT_EQ(StationGraph->Chart1->Title().Items().back(),
            "Moisture: " + Station(0x1F)->Readings(2).moisture + "%      Dielectric constant: 12.000");
}

TEST_F(StationMoistureTest, NoChannelChosen) {
  TModule2& w = Window();
  w.ChannelSelect->SetText("CH number");
  w.MeasMoi->Click();
  EXPECT_EQ(Logged(), (Lines{"Starting moisture measurement", kSendFailure}));
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(StationGraph, nullptr);
}
