// The reflectogram chart window.
#pragma once

#include "forms/graph_layout.h"

class TGraph1 : public forms::TGraph1Layout {
 public:
  explicit TGraph1(ui::Component* Owner) : forms::TGraph1Layout(Owner) { Created(); }
};
