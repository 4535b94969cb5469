// The reflectogram chart window and the water-temperature dialog, which the main window and the
// station window share: decoding, the chart's points and title, one window at a time, and the
// dialog's accept and refuse rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/dialogQ.h"
#include "common/graph.h"
#include "link/calibration.h"
#include "protocol/meter.h"
#include "tests/support/window_test.h"

namespace {

using protocol::kFirstMarker, protocol::kSecondMarker, protocol::kTraceLength;
using testing_support::WindowTest;

Reflectogram Ramp() {
  Reflectogram values{};
  for (size_t i = 0; i < kTraceLength; ++i) values[i] = static_cast<uint32_t>(1000 + 3 * i);
  return values;
}

std::vector<std::pair<double, double>> Xy(const ui::ChartSeries& series) {
  std::vector<std::pair<double, double>> points;
  for (const ui::ChartPoint& p : series.Points()) points.emplace_back(p.x, p.y);
  return points;
}

TEST(MeterReflectogram, DecodesTwoBytesPerValueMostSignificantFirst) {
  std::vector<uint8_t> bytes(protocol::Meter::kReflectogramBytes, 0);
  bytes[0] = 0x12;
  bytes[1] = 0x34;
  bytes[2] = 0xFF;
  bytes[3] = 0xFF;
  bytes[2 * kFirstMarker] = 0x09;
  bytes[2 * kFirstMarker + 1] = 0x29;
  bytes[2 * kSecondMarker] = 0x0B;
  bytes[2 * kSecondMarker + 1] = 0xC2;
  const Reflectogram values = protocol::Meter::DecodeReflectogram(bytes.data());
  EXPECT_EQ(values[0], 0x1234u);
  EXPECT_EQ(values[1], 65535u);
  EXPECT_EQ(values[2], 0u);
  EXPECT_EQ(values[kFirstMarker], 2345u);
  EXPECT_EQ(values[kSecondMarker], 3010u);
}

TEST(MeterReflectogram, ChartShowsTheTraceAndMarkersStandingOnIt) {
  struct Case {
    uint32_t m1, m2;
    bool drawMarkers;
    std::vector<std::pair<double, double>> markers;
  };
  const Reflectogram ramp = Ramp();
  auto at = [&](size_t sample) { return std::make_pair(0.01 * sample, double(ramp[sample])); };
  const std::vector<Case> cases = {
      {2345, 3010, true, {at(234), at(301)}},
      {3010, 2345, true, {at(234), at(301)}},  // kept in ascending x order
      {2345, 3010, false, {}},                 // the send failure leaves only the trace
      {0, 10239, true, {at(0), at(1023)}},
      {10240, 65535, true, {}},  // past the trace: not drawn
      {9, 10250, true, {at(0)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.m1) + " " + std::to_string(c.m2));
    Reflectogram values = ramp;
    values[kFirstMarker] = c.m1;
    values[kSecondMarker] = c.m2;
    TGraph1 graph(nullptr);
    graph.Plot(values, c.drawMarkers, " 23.45", "12.3456");

    const auto& trace = graph.Series1->Points();
    ASSERT_EQ(trace.size(), kTraceLength);
    for (size_t i : {size_t{0}, size_t{1}, size_t{512}, size_t{1023}}) {
      EXPECT_DOUBLE_EQ(trace[i].x, 0.01 * i);
      EXPECT_EQ(trace[i].y, ramp[i]);
      EXPECT_EQ(trace[i].label, " ");
      EXPECT_EQ(trace[i].color, ui::clRed);
    }
    const auto markers = Xy(*graph.Series2);
    ASSERT_EQ(markers.size(), c.markers.size());
    for (size_t i = 0; i < markers.size(); ++i) {
      EXPECT_DOUBLE_EQ(markers[i].first, c.markers[i].first);
      EXPECT_EQ(markers[i].second, c.markers[i].second);
      EXPECT_EQ(graph.Series2->Points()[i].color, ui::clYellow);
    }
    EXPECT_EQ(graph.Chart1->Title().Items(),
              (std::vector<std::string>{"", "Moisture:  23.45%      Dielectric constant: 12.3456"}));
  }
}

TEST(MeterReflectogram, TitleKeepsTheTextsAsReceived) {
  EXPECT_EQ(ChartTitleLine("", ""), "Moisture: %      Dielectric constant: ");
  EXPECT_EQ(ChartTitleLine("  7.1 ", "4.5678"), "Moisture:   7.1 %      Dielectric constant: 4.5678");
}

TEST(MeterReflectogram, OnlyOneChartWindowAtATime) {
  ui::Form owner(nullptr, "Owner");
  TGraph1* slot = nullptr;
  TGraph1* first = ShowReflectogram(slot, &owner, Ramp(), true, "1", "2");
  EXPECT_EQ(slot, first);
  EXPECT_TRUE(first->Visible());
  EXPECT_EQ(first->Owner(), &owner);
  ui::ComponentWatch firstAlive(*first);
  first->UserClose();  // the user may close it; it stays until the next plot
  EXPECT_TRUE(firstAlive.Alive());
  EXPECT_FALSE(first->Visible());

  TGraph1* second = ShowReflectogram(slot, &owner, Ramp(), false, "3", "4");
  EXPECT_FALSE(firstAlive.Alive());
  EXPECT_EQ(slot, second);
  EXPECT_TRUE(second->Visible());
  EXPECT_EQ(second->Chart1->Title()[1], "Moisture: 3%      Dielectric constant: 4");
  int graphs = 0;
  for (int i = 0; i < owner.ComponentCount(); ++i) graphs += dynamic_cast<TGraph1*>(owner.Components(i)) != nullptr;
  EXPECT_EQ(graphs, 1);
}

class WaterTemperatureDialog : public WindowTest {};

TEST_F(WaterTemperatureDialog, OkClosesItOnlyOnAValidTemperature) {
  struct Case {
    std::string text;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {"00.0", false}, {"21.5", true},  {"00.1", true},  {"99.9", true},  {"2.15", false}, {"215", false},
      {"", false},     {"-1.5", false}, {"21.55", true}, {"00.00", true}, {"2a.5", false}, {"21,5", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\"");
    Responder().AnswerForm("SetPropDialog", [&](ui::Form& form) {
      auto& dialog = static_cast<TSetPropDialog&>(form);
      EXPECT_EQ(dialog.Edit1->Text(), "00.0");  // every dialog starts here
      dialog.Edit1->UserType(c.text);
      if (!c.accepted) {
        Responder().AnswerMessage("The temperature value is incorrect!", ui::mrOk, ui::DialogType::Error);
        dialog.OKbutton->Click();
        EXPECT_TRUE(dialog.Visible()) << "a refused text must leave the dialog open";
        EXPECT_EQ(dialog.Edit1->Text(), c.text);
        dialog.Edit1->UserType("12.3");
      }
      dialog.OKbutton->Click();
    });
    EXPECT_EQ(AskWaterTemperature(nullptr), c.accepted ? c.text : "12.3");
  }
}

TEST(CalibrationPayloads, EpsRootsAndWaterTemperature) {
  EXPECT_EQ(link::EpsRootsPayload(1, 80), "5003E822F0000000");
  EXPECT_EQ(link::EpsRootsPayload(10, 10), "500C5A0C5A000000");
  EXPECT_EQ(link::EpsRootsPayload(1, 4290.25), "5003E8FFDC000000");
  EXPECT_EQ(link::EpsRootsPayload(1, 4290.3), std::nullopt);
  EXPECT_EQ(link::EpsRootsPayload(0, 5), std::nullopt);

  EXPECT_EQ(link::WaterTemperaturePayload("21.5"), "50000000000B8200");
  EXPECT_EQ(link::WaterTemperaturePayload("20.0"), "50000000000B7300");
  EXPECT_EQ(link::WaterTemperaturePayload("00.0"), "50000000000AAB00");
  EXPECT_EQ(link::WaterTemperaturePayload("99.9"), "50000000000E9200");
  EXPECT_EQ(link::WaterTemperaturePayload("21.55"), "50000000000B8200");
  EXPECT_EQ(link::WaterTemperaturePayload("2.15"), std::nullopt);
}

TEST(CalibrationPayloads, EpsTextsAreNumbersOrNothing) {
  struct Case {
    std::string text;
    std::optional<double> value;
  };
  const std::vector<Case> cases = {
      {"80", 80.0},          {" 2.5", 2.5},         {"-3", -3.0},           {"1e2", 100.0},
      {"", std::nullopt},    {"5x", std::nullopt},  {"5 ", std::nullopt},   {"abc", std::nullopt},
      {"inf", std::nullopt}, {"nan", std::nullopt}, {"0x10", std::nullopt}, {"0X1p3", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(link::ParseEps(c.text), c.value) << "\"" << c.text << "\"";
}

}  // namespace
