// Layout of the reflectogram window: one chart with the trace and its two markers.
#pragma once

#include "ui/chart.h"
#include "ui/form.h"

namespace forms {

class TGraph1Layout : public ui::Form {
 public:
  explicit TGraph1Layout(ui::Component* owner);

  ui::Chart* Chart1 = nullptr;
  ui::ChartSeries* Series1 = nullptr;  // the trace
  ui::ChartSeries* Series2 = nullptr;  // the two markers
};

}  // namespace forms
