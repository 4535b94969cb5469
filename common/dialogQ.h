// The water-temperature dialog of the standard full calibration of a laboratory probe.
#pragma once

#include <string>

#include "forms/dialogq_layout.h"

class TSetPropDialog : public forms::TSetPropDialogLayout {
 public:
  explicit TSetPropDialog(ui::Component* Owner) : forms::TSetPropDialogLayout(Owner) { Created(); }

  // A copy of the text typed in Edit1.
  std::string GetWaterTemperature() const { return Edit1->Text(); }
  // Whether a text is an acceptable water temperature: "##.#" (more characters are ignored),
  // not "00.0".
  static bool ValidTemperature(const std::string& text);

 protected:
  void OKbuttonClick(ui::Component* Sender) override;
};

// Creates the dialog owned by `owner`, shows it modally and destroys it; returns the text of
// Edit1 as it was when the dialog closed (the caller checks it with ValidTemperature: a dialog
// closed another way than through OK may hold any text).
std::string AskWaterTemperature(ui::Component* owner);
