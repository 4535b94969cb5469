#include "ui/chart.h"

#include <algorithm>

namespace ui {

ChartSeries::ChartSeries(Component* owner, std::string name, Chart* chart, Kind kind)
    : Component(owner, std::move(name)), chart_(chart), kind_(kind) {
  if (chart_) chart_->series_.push_back(this);
}

ChartSeries::~ChartSeries() {
  if (!chart_) return;  // the chart went first
  auto& series = chart_->series_;
  series.erase(std::remove(series.begin(), series.end(), this), series.end());
  chart_->SeriesChanged();
}

void ChartSeries::Clear() {
  points_.clear();
  if (chart_) chart_->SeriesChanged();
}

void ChartSeries::AddXY(double x, double y, std::string label, Color color) {
  ChartPoint point{x, y, std::move(label), color};
  if (xSorted_) {
    // After any points with the same x, so equal x values keep the order they came in.
    auto at = std::upper_bound(points_.begin(), points_.end(), x,
                               [](double value, const ChartPoint& p) { return value < p.x; });
    points_.insert(at, std::move(point));
  } else {
    points_.push_back(std::move(point));
  }
  if (chart_) chart_->SeriesChanged();
}

Chart::Chart(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {
  title_.OnChanged = [this](StringList::Change) { Changed(Property::Chart); };
}

Chart::~Chart() {
  // Series are owned elsewhere and may outlive the chart.
  for (ChartSeries* s : series_) s->chart_ = nullptr;
  series_.clear();
}

void Chart::SeriesChanged() { Changed(Property::Chart); }

}  // namespace ui
