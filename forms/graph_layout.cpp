#include "forms/graph_layout.h"

#include "forms/layout_util.h"

namespace forms {

namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 520;
// Background gradient, light at the top; dark enough at the bottom for the yellow markers.
constexpr ui::Color kGradientTop = 0xFFFFFF;
constexpr ui::Color kGradientBottom = 0x9FB4C7;

}  // namespace

TGraph1Layout::TGraph1Layout(ui::Component* owner) : ui::Form(owner, "Graph1") {
  layout::FixedWindow(this, "Graph", ui::BorderStyle::Single, kWidth, kHeight);

  Chart1 = layout::Place(new ui::Chart(this, "Chart1", this), 0, 0, kWidth, kHeight);
  Chart1->SetGradient(true);
  Chart1->SetGradientColors(kGradientTop, kGradientBottom);
  // The plotting code adds the measurement line under this empty first line.
  Chart1->Title().Add("");
  Chart1->SetTitleLeftAligned(true);

  ui::ChartAxis& time = Chart1->BottomAxis();
  time.automatic = false;
  time.minimum = 0.0;
  time.maximum = 10.0;
  time.increment = 1.0;
  time.labels = true;
  time.title = "TIME (ns)";

  ui::ChartAxis& amplitude = Chart1->LeftAxis();
  amplitude.inverted = true;
  amplitude.labels = false;
  amplitude.title = "AMPLITUDE";

  Series1 = new ui::ChartSeries(this, "Series1", Chart1, ui::ChartSeries::Kind::Line);
  Series1->SetSeriesColor(ui::clRed);
  Series1->SetStairs(true);
  Series1->SetPointer(ui::ChartSeries::PointerStyle::None);
  Series1->SetMarksVisible(false);
  Series1->SetXSorted(true);

  Series2 = new ui::ChartSeries(this, "Series2", Chart1, ui::ChartSeries::Kind::Point);
  Series2->SetSeriesColor(ui::clYellow);
  Series2->SetPointer(ui::ChartSeries::PointerStyle::TriangleDown);
  Series2->SetMarksVisible(false);
  Series2->SetXSorted(true);
}

}  // namespace forms
