// The chart control drawn with QPainter: background, title lines, bottom and left axes with
// their titles, line series (optionally as stairs) and point series with their markers.
#pragma once

#include <QRect>
#include <QWidget>

#include "ui/chart.h"

class QPainter;

namespace ui::qt {

// Paints `chart` into `area`.
void PaintChart(QPainter& painter, const ui::Chart& chart, const QRect& area);

class ChartWidget : public QWidget {
  Q_OBJECT

 public:
  ChartWidget(const ui::Chart* chart, QWidget* parent);
  // The chart is going away; the widget goes blank until it is removed.
  void Detach() { chart_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const ui::Chart* chart_;
};

}  // namespace ui::qt
