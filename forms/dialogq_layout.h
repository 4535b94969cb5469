// Layout of the water-temperature dialog of the laboratory probe's calibration.
#pragma once

#include "ui/form.h"

namespace forms {

class TSetPropDialogLayout : public ui::Form {
 public:
  explicit TSetPropDialogLayout(ui::Component* owner);

  ui::Label* Label1 = nullptr;
  ui::Label* Label2 = nullptr;
  ui::Label* Label3 = nullptr;
  ui::Edit* Edit1 = nullptr;
  ui::Button* OKbutton = nullptr;

 protected:
  virtual void OKbuttonClick(ui::Component* Sender) = 0;
};

}  // namespace forms
