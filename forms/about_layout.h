// Layout of the about box: the logo, the program's name, its version and purpose, and OK.
#pragma once

#include "ui/form.h"

namespace forms {

class TAboutBoxLayout : public ui::Form {
 public:
  explicit TAboutBoxLayout(ui::Component* owner);

  ui::Image* Logo = nullptr;
  ui::Button* OKButton = nullptr;
};

}  // namespace forms
