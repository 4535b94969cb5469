// A chart with series of points: a line series and a point series are what the windows use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

using Color = uint32_t;  // 0xRRGGBB
constexpr Color clRed = 0xFF0000;
constexpr Color clYellow = 0xFFFF00;
constexpr Color clWhite = 0xFFFFFF;

struct ChartPoint {
  double x = 0;
  double y = 0;
  std::string label;
  Color color = clRed;
};

struct ChartAxis {
  bool automatic = true;
  double minimum = 0;
  double maximum = 0;
  double increment = 0;
  bool inverted = false;
  bool labels = true;
  std::string title;
};

class Chart;

class ChartSeries : public Component {
 public:
  enum class Kind { Line, Point };
  enum class PointerStyle { None, Rectangle, TriangleDown, Circle };

  ChartSeries(Component* owner, std::string name, Chart* chart, Kind kind);
  ~ChartSeries() override;

  Kind SeriesKind() const { return kind_; }
  Color SeriesColor() const { return color_; }
  void SetSeriesColor(Color c) { color_ = c; }
  bool Stairs() const { return stairs_; }
  void SetStairs(bool s) { stairs_ = s; }
  PointerStyle Pointer() const { return pointer_; }
  void SetPointer(PointerStyle p) { pointer_ = p; }
  bool MarksVisible() const { return marksVisible_; }
  void SetMarksVisible(bool m) { marksVisible_ = m; }
  void SetXSorted(bool s) { xSorted_ = s; }

  void Clear();
  // Adds a point; with ascending x order on, it is inserted at its place.
  void AddXY(double x, double y, std::string label, Color color);
  const std::vector<ChartPoint>& Points() const { return points_; }
  Chart* GetChart() const { return chart_; }

 private:
  friend class Chart;  // a chart going first cuts its series loose
  Chart* chart_;
  Kind kind_;
  Color color_ = clRed;
  bool stairs_ = false;
  PointerStyle pointer_ = PointerStyle::None;
  bool marksVisible_ = true;
  bool xSorted_ = true;
  std::vector<ChartPoint> points_;
};

class Chart : public Control {
 public:
  Chart(Component* owner, std::string name, Control* parent);
  ~Chart() override;

  StringList& Title() { return title_; }
  const StringList& Title() const { return title_; }
  bool TitleLeftAligned() const { return titleLeft_; }
  void SetTitleLeftAligned(bool l) { titleLeft_ = l; }
  bool Gradient() const { return gradient_; }
  void SetGradient(bool g) { gradient_ = g; }
  Color GradientStart() const { return gradientStart_; }
  Color GradientEnd() const { return gradientEnd_; }
  void SetGradientColors(Color start, Color end) {
    gradientStart_ = start;
    gradientEnd_ = end;
  }

  ChartAxis& BottomAxis() { return bottom_; }
  ChartAxis& LeftAxis() { return left_; }
  const ChartAxis& BottomAxis() const { return bottom_; }
  const ChartAxis& LeftAxis() const { return left_; }

  const std::vector<ChartSeries*>& Series() const { return series_; }
  // Called by the series when their points change.
  void SeriesChanged();

 private:
  friend class ChartSeries;
  StringList title_;
  bool titleLeft_ = false;
  bool gradient_ = false;
  Color gradientStart_ = clWhite;
  Color gradientEnd_ = clWhite;
  ChartAxis bottom_, left_;
  std::vector<ChartSeries*> series_;
};

}  // namespace ui
