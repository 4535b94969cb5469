// The handheld meter's measurements against the stand-in meter: frames and waits, log lines of
// success and of every failure, the last values kept as received, and the chart they leave.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/graph.h"
#include "tests/support/log_lines.h"
#include "tests/support/meter_test.h"

namespace {

using namespace testing_support;
using Lines = std::vector<std::string>;

const char* const kDone = "Moisture measurement complete";

class MeterMeasurementTest : public MeterTest {
 protected:
  void Salinity() { Main().MeasSal->Click(); }
  void Temperature() { Main().MeasTemp->Click(); }
  void Moisture() { Main().MeasMoi->Click(); }
  void All() { Main().MeasAll->Click(); }
  int Graphs() {
    int n = 0;
    for (int i = 0; i < Main().ComponentCount(); ++i) n += dynamic_cast<TGraph1*>(Main().Components(i)) != nullptr;
    return n;
  }
};

TEST_F(MeterMeasurementTest, SalinityAndTemperatureSendTheChannelAndWaitBeforeReading) {
  struct Case {
    std::string name;
    std::function<void(TModule1&)> click;
    std::string action, read;
    std::string waits;
    std::string reply;
    Lines lines;
    std::optional<std::string> TModule1::*kept;
  };
  const std::vector<Case> cases = {
      {"salinity button",
       [](TModule1& w) { w.MeasSal->Click(); },
       "MS",
       "RS",
       "1480 20 r205",
       "0.048",
       {"Starting salinity measurement", "Receiving measurement results", "Measured salinity: 0.048 S/m",
        "Salinity measurement complete"},
       &TModule1::LastSalinity},
      {"salinity menu",
       [](TModule1& w) { w.Measuresalinity1->Click(); },
       "MS",
       "RS",
       "1480 20 r205",
       "0,5 1",
       {"Starting salinity measurement", "Receiving measurement results", "Measured salinity: 0,5 1 S/m",
        "Salinity measurement complete"},
       &TModule1::LastSalinity},
      {"temperature button",
       [](TModule1& w) { w.MeasTemp->Click(); },
       "MT",
       "RT",
       "2980 20 r205",
       "21.70",
       {"Starting probe temperature measurement", "Receiving measurement results",
        "Measured probe temperature: 21.70 Celsius grades", "Probe temperature measurement complete"},
       &TModule1::LastProbeTemperature},
      {"temperature menu",
       [](TModule1& w) { w.Measureprobetemperature1->Click(); },
       "MT",
       "RT",
       "2980 20 r205",
       "-1.5",
       {"Starting probe temperature measurement", "Receiving measurement results",
        "Measured probe temperature: -1.5 Celsius grades", "Probe temperature measurement complete"},
       &TModule1::LastProbeTemperature},
  };
  Ready(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.action == "MS" && c.reply != "0.048") Meter()->SetSalinity(c.reply);
    if (c.action == "MT" && c.reply != "21.70") Meter()->SetProbeTemperature(c.reply);
    Mark();
    c.click(Main());
    EXPECT_EQ(NewLines(), c.lines);
    ASSERT_EQ(Commands(), (Lines{c.action, c.read}));
    EXPECT_EQ(Raw(c.action), WithPreamble({0xFE, uint8_t(c.action[0]), uint8_t(c.action[1]), '2'}));
    EXPECT_EQ(Raw(c.read), WithPreamble({0xFE, uint8_t(c.read[0]), uint8_t(c.read[1])}));
    EXPECT_EQ(Waits(), c.waits);
    EXPECT_EQ(Main().*c.kept, c.reply);
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  }
}

TEST_F(MeterMeasurementTest, MoistureKeepsItsValuesAndDrawsTheReflectogram) {
  Ready(1);
  Meter()->SetDielectricConstant("12.345");
  Meter()->SetMarkers(2345, 3010);
  Moisture();
  EXPECT_EQ(NewLines(), (Lines{"Starting moisture measurement", "Receiving measurement results",
                               "Measured moisture:  23.45%", "Measured dielectric constant: 12.34",
                               "Preparing the graph", "Compiling graph", "Moisture measurement complete"}));
  ASSERT_EQ(Commands(), (Lines{"MM", "RM", "RN", "RG"}));
  EXPECT_EQ(Raw("MM"), WithPreamble({0xFE, 'M', 'M', '1'}));
  EXPECT_EQ(Raw("RG"), WithPreamble({0xFE, 'R', 'G'}));
  EXPECT_EQ(Main().LastMoisture, " 23.45");
  EXPECT_EQ(Main().LastDielectricConstant, "12.345");

  const auto sent = Meter()->Reflectogram();
  ASSERT_TRUE(Main().LastReflectogram);
  EXPECT_EQ(*Main().LastReflectogram, std::vector<uint32_t>(sent.begin(), sent.end()));
  ASSERT_NE(MeterGraph, nullptr);
  EXPECT_TRUE(MeterGraph->Visible());
  EXPECT_EQ(MeterGraph->Owner(), &Main());
  EXPECT_EQ(MeterGraph->Chart1->Title().Items(), (Lines{"", "Moisture:  23.45%      Dielectric constant: 12.345"}));
  // What the chart makes of them is the chart's own (the chart's tests).
  ASSERT_EQ(MeterGraph->Series1->Points().size(), 1024u);
  EXPECT_EQ(MeterGraph->Series1->Points()[300].y, sent[300]);
  EXPECT_EQ(MeterGraph->Series2->Points().size(), 2u);

  // A second measurement replaces the window.
  ui::ComponentWatch first(*MeterGraph);
  Meter()->SetMoisture("31.000");
  Moisture();
  EXPECT_FALSE(first.Alive());
  EXPECT_EQ(Graphs(), 1);
  EXPECT_EQ(MeterGraph->Chart1->Title()[1], "Moisture: 31.000%      Dielectric constant: 12.345");
}

TEST_F(MeterMeasurementTest, AFailedReflectogramLeavesTheLastOneAndItsWindow) {
  Ready(3);
  Moisture();
  ASSERT_NE(MeterGraph, nullptr);
  TGraph1* const graph = MeterGraph;
  const ui::ComponentWatch graphAlive(*graph);
  const auto kept = Main().LastReflectogram;

  struct Case {
    std::string name;
    sim::Fault fault;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"no reply", sim::Fault::Silent(), kNoData},
      {"short reply", sim::Fault::Short(2051), kNoData},
      {"half a reply", sim::Fault::Short(1000), kNoData},
      {"ER", sim::Fault::Er(), kErLine},
      // The adapter pulled out in the middle of the reply; last, as the line stays gone.
      {"line vanished", sim::Fault::Vanish(1000), kNoData},
  };
  Meter()->SetMarkers(100, 200);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Line().InjectFault("RG", c.fault);
    Mark();
    Moisture();
    // Every exchange's wait, and no more.
    EXPECT_EQ(Waits(), "980 20 r206 20 r206 769 r2252");
    const Lines lines = NewLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), c.line);
    EXPECT_EQ(lines[lines.size() - 2], "Compiling graph");
    EXPECT_TRUE(graphAlive.Alive());
    EXPECT_EQ(MeterGraph, graph);
    EXPECT_EQ(Main().LastReflectogram, kept);
    EXPECT_EQ(Graphs(), 1);
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  }
  // The user closes the port, plugs the adapter in again and opens it: the meter measures again.
  ClickCom(1);
  ASSERT_NO_FATAL_FAILURE(PlugInAndSearch("H0001AFE"));
  Mark();
  Moisture();
  EXPECT_EQ(NewLines().back(), "Moisture measurement complete");
}

TEST_F(MeterMeasurementTest, ReadFailuresKeepThePreviousValues) {
  Ready(1);
  Main().MeasSal->Click();
  Main().MeasMoi->Click();
  ASSERT_EQ(Main().LastSalinity, "0.045");

  struct Case {
    std::string command;
    sim::Fault fault;
    std::function<void(TModule1&)> click;
    Lines lines;
  };
  const auto lost = sim::Fault::LostWrite();
  const auto sal = [](TModule1& w) { w.MeasSal->Click(); };
  const auto moi = [](TModule1& w) { w.MeasMoi->Click(); };
  const std::string start = "Starting moisture measurement", got = "Receiving measurement results";
  const std::string moisture = "Measured moisture:  23.45%", graph = "Preparing the graph",
                    compiling = "Compiling graph";
  const std::vector<Case> cases = {
      {"RS",
       sim::Fault::Silent(),
       [](TModule1& w) { w.MeasSal->Click(); },
       {"Starting salinity measurement", "Receiving measurement results", kNoData, "Salinity measurement complete"}},
      {"RS",
       sim::Fault::Er(),
       [](TModule1& w) { w.MeasSal->Click(); },
       {"Starting salinity measurement", "Receiving measurement results", kErLine, "Salinity measurement complete"}},
      {"RT",
       sim::Fault::Custom("ER123"),
       [](TModule1& w) { w.MeasTemp->Click(); },
       {"Starting probe temperature measurement", "Receiving measurement results", kErLine,
        "Probe temperature measurement complete"}},
      {"RS",
       sim::Fault::Silent(),
       [](TModule1& w) { w.LastMeasuredSalinity1->Click(); },
       {"Receiving measurement results", kNoData}},
      {"RM",
       sim::Fault::Er(),
       [](TModule1& w) { w.Lastmeasuredmoisture1->Click(); },
       {"Receiving measurement results", kErLine}},
      // A moisture read that fails still draws the chart, with the previous moisture in its title.
      {"RM",
       sim::Fault::Silent(),
       [](TModule1& w) { w.MeasMoi->Click(); },
       {"Starting moisture measurement", "Receiving measurement results", kNoData,
        "Measured dielectric constant: 12.34", "Preparing the graph", "Compiling graph",
        "Moisture measurement complete"}},
      // Writes that fail midway: each ends its own step only.
      {"RS", lost, sal, {"Starting salinity measurement", got, kSendFailure, "Salinity measurement complete"}},
      {"RM", lost, moi, {start, got, kSendFailure, "Measured dielectric constant: 12.34", graph, compiling, kDone}},
      {"RG", lost, moi, {start, got, moisture, "Measured dielectric constant: 12.34", graph, compiling, kSendFailure}},
      // RN's failed write is flagged: RG's failure goes unlogged, and the last chart has no markers.
      {"*", sim::Fault::LostWrite(2, 2), moi, {start, got, moisture, kSendFailure, graph, compiling}},
      {"RN", lost, moi, {start, got, moisture, kSendFailure, graph, compiling, kDone}},
      // Flagged or not, a reflectogram asked for and not received is told.
      {"RN",
       lost,
       [this](TModule1& w) {
         Line().InjectFault("RG", sim::Fault::Silent());
         w.MeasMoi->Click();
       },
       {start, got, moisture, kSendFailure, graph, compiling, kNoData}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    Line().InjectFault(c.command, c.fault);
    Mark();
    c.click(Main());
    EXPECT_EQ(NewLines(), c.lines);
    Line().ClearFaults();
  }
  EXPECT_TRUE(MeterGraph->Series2->Points().empty());
  EXPECT_EQ(Main().LastSalinity, "0.045");
  EXPECT_EQ(Main().LastProbeTemperature, std::nullopt);
  EXPECT_EQ(Main().LastMoisture, " 23.45");
  EXPECT_EQ(MeterGraph->Chart1->Title()[1], "Moisture:  23.45%      Dielectric constant: 12.345");
}

TEST_F(MeterMeasurementTest, ReadMenuFetchesTheLastValuesWithoutMeasuring) {
  Ready(4);
  Main().LastMeasuredSalinity1->Click();
  Main().Lastmeasuredprobetemperature1->Click();
  Main().Lastmeasuredmoisture1->Click();
  EXPECT_EQ(Commands(), (Lines{"RS", "RT", "RM"}));
  EXPECT_EQ(NewLines(), (Lines{"Receiving measurement results", "Measured salinity: 0.045 S/m",
                               "Receiving measurement results", "Measured probe temperature: 21.50 Celsius grades",
                               "Receiving measurement results", "Measured moisture:  23.45%"}));
}

TEST_F(MeterMeasurementTest, RefusedWithoutDeviceOrChannel) {
  struct Case {
    std::string name;
    std::function<void(TModule1&)> click;
    Lines lines;
  };
  const std::vector<Case> noDevice = {
      {"salinity", [](TModule1& w) { w.MeasSal->Click(); }, {"Starting salinity measurement", kNoDevice, kSendFailure}},
      {"temperature",
       [](TModule1& w) { w.MeasTemp->Click(); },
       {"Starting probe temperature measurement", kNoDevice, kSendFailure}},
      {"last salinity",
       [](TModule1& w) { w.LastMeasuredSalinity1->Click(); },
       {"Receiving measurement results", kNoDevice, kSendFailure}},
      {"last temperature",
       [](TModule1& w) { w.Lastmeasuredprobetemperature1->Click(); },
       {"Receiving measurement results", kNoDevice, kSendFailure}},
      {"moisture", [](TModule1& w) { w.Measuremoisture1->Click(); }, {kNoDevice}},
      {"all", [](TModule1& w) { w.Performcompletemeasuremtne1->Click(); }, {kNoDevice}},
      {"last moisture", [](TModule1& w) { w.Lastmeasuredmoisture1->Click(); }, {kNoDevice}},
  };
  // A search that finds nothing leaves the meter's controls in place but no device found.
  FindMeter();
  Line().SetDeviceIds({});
  Main().search->Click();
  ASSERT_FALSE(Main().DeviceFound());
  // Each click logs its lines and sends nothing.
  auto expectRefused = [this](const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      Mark();
      c.click(Main());
      EXPECT_EQ(NewLines(), c.lines);
      EXPECT_TRUE(Commands().empty());
    }
  };
  expectRefused(noDevice);

  // A meter, but "CH number" in the channel box: the action frame is refused.
  Line().SetDeviceIds({"H0001AFE"});
  Main().search->Click();
  ASSERT_TRUE(Main().DeviceFound());
  const std::vector<Case> noChannel = {
      {"salinity", [](TModule1& w) { w.MeasSal->Click(); }, {"Starting salinity measurement", kSendFailure}},
      {"temperature",
       [](TModule1& w) { w.MeasTemp->Click(); },
       {"Starting probe temperature measurement", kSendFailure}},
      {"moisture", [](TModule1& w) { w.MeasMoi->Click(); }, {"Starting moisture measurement", kSendFailure}},
      {"last moisture",
       [](TModule1& w) { w.Lastmeasuredmoisture1->Click(); },
       {"Receiving measurement results", kSendFailure}},
  };
  expectRefused(noChannel);
  EXPECT_EQ(MeterGraph, nullptr);
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(MeterMeasurementTest, CompleteMeasurementRunsAllThreeAndGoesOnAfterAFailure) {
  Ready(2);
  Line().InjectFault("RS", sim::Fault::Er());
  All();
  EXPECT_EQ(Commands(), (Lines{"MS", "RS", "MT", "RT", "MM", "RM", "RN", "RG"}));
  EXPECT_EQ(Waits(), "1480 20 r205 2980 20 r205 980 20 r206 20 r206 769 r2252");
  EXPECT_EQ(NewLines(),
            (Lines{"Starting salinity measurement", "Receiving measurement results", kErLine,
                   "Salinity measurement complete", "Starting probe temperature measurement",
                   "Receiving measurement results", "Measured probe temperature: 21.70 Celsius grades",
                   "Probe temperature measurement complete", "Starting moisture measurement",
                   "Receiving measurement results", "Measured moisture:  24.55%", "Measured dielectric constant: 12.94",
                   "Preparing the graph", "Compiling graph", "Moisture measurement complete", "Measurement complete"}));
  EXPECT_NE(MeterGraph, nullptr);
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

}  // namespace
