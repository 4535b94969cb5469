#include "ui/qt/chart_widget.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/qt/conversions.h"

namespace ui::qt {

namespace {

constexpr int kPointerSize = 4;  // half the width of a point marker, in pixels

struct Range {
  double min = 0;
  double max = 1;
};

// The range an axis shows: its own limits, or the data's when automatic.
Range AxisRange(const ui::Chart& chart, const ui::ChartAxis& axis, bool horizontal) {
  Range r;
  if (!axis.automatic) {
    r = {axis.minimum, axis.maximum};
  } else {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (const ui::ChartSeries* s : chart.Series()) {
      for (const ui::ChartPoint& p : s->Points()) {
        const double v = horizontal ? p.x : p.y;
        if (!std::isfinite(v)) continue;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
      }
    }
    if (lo > hi) {
      lo = 0;
      hi = 1;
    }
    r = {lo, hi};
  }
  if (!(r.max > r.min)) {
    r.min -= 1;
    r.max += 1;
  }
  return r;
}

// A step of 1, 2 or 5 times a power of ten giving about `count` intervals.
double NiceStep(const Range& r, int count) {
  const double raw = (r.max - r.min) / std::max(count, 1);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (raw <= m * power) return m * power;
  }
  return 10 * power;
}

std::vector<double> Ticks(const Range& r, double step) {
  std::vector<double> ticks;
  if (!(step > 0) || (r.max - r.min) / step > 1000) return ticks;
  const double eps = step * 1e-9;
  for (double v = std::ceil((r.min - eps) / step) * step; v <= r.max + eps; v += step) {
    ticks.push_back(std::abs(v) < eps ? 0.0 : v);
  }
  return ticks;
}

QString TickLabel(double v) { return QString::number(v, 'g', 10); }

void DrawPointer(QPainter& p, ui::ChartSeries::PointerStyle style, QPointF at, QColor color) {
  const double s = kPointerSize;
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(color);
  switch (style) {
    case ui::ChartSeries::PointerStyle::None:
      break;
    case ui::ChartSeries::PointerStyle::Rectangle:
      p.drawRect(QRectF(at.x() - s, at.y() - s, 2 * s, 2 * s));
      break;
    case ui::ChartSeries::PointerStyle::Circle:
      p.drawEllipse(at, s, s);
      break;
    case ui::ChartSeries::PointerStyle::TriangleDown: {
      const QPointF corners[3] = {{at.x() - s, at.y() - s}, {at.x() + s, at.y() - s}, {at.x(), at.y() + s}};
      p.drawPolygon(corners, 3);
      break;
    }
  }
}

}  // namespace

void PaintChart(QPainter& p, const ui::Chart& chart, const QRect& area) {
  p.save();
  p.setClipRect(area);

  // Background.
  if (chart.Gradient()) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, ToQColor(chart.GradientStart()));
    gradient.setColorAt(1, ToQColor(chart.GradientEnd()));
    p.fillRect(area, gradient);
  } else {
    p.fillRect(area, Qt::white);
  }

  const QFont font = ToQFont(chart.GetFont());
  p.setFont(font);
  const QFontMetrics fm(font);
  const int lineHeight = fm.height();

  // Title lines, an empty one taking its place too.
  int y = area.top() + 4;
  p.setPen(Qt::blue);
  for (const std::string& line : chart.Title()) {
    const QRect row(area.left() + 8, y, area.width() - 16, lineHeight);
    const int align =
        static_cast<int>((chart.TitleLeftAligned() ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
    p.drawText(row, align, ToQt(line));
    y += lineHeight;
  }

  const ui::ChartAxis& bottom = chart.BottomAxis();
  const ui::ChartAxis& left = chart.LeftAxis();
  const Range xr = AxisRange(chart, bottom, true);
  const Range yr = AxisRange(chart, left, false);
  const double xStep = bottom.increment > 0 ? bottom.increment : NiceStep(xr, 10);
  const double yStep = left.increment > 0 ? left.increment : NiceStep(yr, 8);
  const std::vector<double> xTicks = Ticks(xr, xStep);
  const std::vector<double> yTicks = Ticks(yr, yStep);

  // The plot area leaves room for the axes' labels and titles.
  int marginLeft = 12;
  if (!left.title.empty()) marginLeft += lineHeight + 4;
  if (left.labels) {
    int widest = 0;
    for (double v : yTicks) widest = std::max(widest, fm.horizontalAdvance(TickLabel(v)));
    marginLeft += widest + 6;
  }
  int marginBottom = 10;
  if (bottom.labels) marginBottom += lineHeight + 4;
  if (!bottom.title.empty()) marginBottom += lineHeight + 2;
  const int top = std::max(y + 6, area.top() + 10);
  const QRect plot(QPoint(area.left() + marginLeft, top), QPoint(area.right() - 16, area.bottom() - marginBottom));
  if (plot.width() < 4 || plot.height() < 4) {
    p.restore();
    return;
  }

  auto px = [&](double x) { return plot.left() + (x - xr.min) / (xr.max - xr.min) * plot.width(); };
  auto py = [&](double v) {
    const double f = (v - yr.min) / (yr.max - yr.min);
    return left.inverted ? plot.top() + f * plot.height() : plot.bottom() - f * plot.height();
  };

  // Grid.
  p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DotLine));
  for (double v : xTicks) p.drawLine(QPointF(px(v), plot.top()), QPointF(px(v), plot.bottom()));
  for (double v : yTicks) p.drawLine(QPointF(plot.left(), py(v)), QPointF(plot.right(), py(v)));

  // Axes with their ticks, labels and titles.
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(plot.bottomLeft(), plot.bottomRight());
  for (double v : xTicks) {
    const double x = px(v);
    p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 4));
    if (bottom.labels) {
      const QString label = TickLabel(v);
      const int w = fm.horizontalAdvance(label);
      p.drawText(QRectF(x - w / 2.0 - 2, plot.bottom() + 5, w + 4, lineHeight), Qt::AlignCenter, label);
    }
  }
  if (!bottom.title.empty()) {
    const int titleTop = area.bottom() - lineHeight - 4;
    p.drawText(QRect(plot.left(), titleTop, plot.width(), lineHeight), Qt::AlignCenter, ToQt(bottom.title));
  }
  p.drawLine(plot.topLeft(), plot.bottomLeft());
  for (double v : yTicks) {
    const double yv = py(v);
    p.drawLine(QPointF(plot.left() - 4, yv), QPointF(plot.left(), yv));
    if (left.labels) {
      p.drawText(QRectF(area.left(), yv - lineHeight / 2.0, plot.left() - area.left() - 6, lineHeight),
                 Qt::AlignRight | Qt::AlignVCenter, TickLabel(v));
    }
  }
  if (!left.title.empty()) {
    p.save();
    p.translate(area.left() + 6 + lineHeight / 2.0, plot.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-plot.height() / 2.0, -lineHeight / 2.0, plot.height(), lineHeight), Qt::AlignCenter,
               ToQt(left.title));
    p.restore();
  }

  // Series, clipped to the plot area (the trace may run past the axis' end).
  p.setClipRect(plot.adjusted(0, -kPointerSize - 1, 1, kPointerSize + 1));
  for (const ui::ChartSeries* s : chart.Series()) {
    const std::vector<ui::ChartPoint>& points = s->Points();
    if (points.empty()) continue;
    if (s->SeriesKind() == ui::ChartSeries::Kind::Line) {
      QPolygonF line;
      for (size_t i = 0; i < points.size(); ++i) {
        const QPointF at(px(points[i].x), py(points[i].y));
        if (i > 0 && s->Stairs()) line << QPointF(at.x(), line.back().y());
        line << at;
      }
      p.setPen(QPen(ToQColor(s->SeriesColor()), 1));
      p.setBrush(Qt::NoBrush);
      p.drawPolyline(line);
    }
    const auto pointer = s->Pointer();
    if (pointer != ui::ChartSeries::PointerStyle::None) {
      for (const ui::ChartPoint& point : points) {
        DrawPointer(p, pointer, QPointF(px(point.x), py(point.y)), ToQColor(point.color));
      }
    }
    if (s->MarksVisible()) {
      p.setPen(Qt::black);
      for (const ui::ChartPoint& point : points) {
        const QString label = ToQt(point.label).trimmed();
        if (label.isEmpty()) continue;
        const QPointF at(px(point.x), py(point.y));
        p.drawText(QPointF(at.x() - fm.horizontalAdvance(label) / 2.0, at.y() - kPointerSize - 3), label);
      }
    }
  }
  p.restore();
}

ChartWidget::ChartWidget(const ui::Chart* chart, QWidget* parent) : QWidget(parent), chart_(chart) {}

void ChartWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  if (!chart_) {
    painter.fillRect(rect(), Qt::white);
    return;
  }
  PaintChart(painter, *chart_, rect());
}

}  // namespace ui::qt
