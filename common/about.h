// The about box.
#pragma once

#include "forms/about_layout.h"

class TAboutBox : public forms::TAboutBoxLayout {
 public:
  explicit TAboutBox(ui::Component* Owner) : forms::TAboutBoxLayout(Owner) { Created(); }
};

// Creates the about box owned by `owner`, shows it modally and destroys it after it closes.
void ShowAboutBox(ui::Component* owner);

// Sets the program's help file and opens its contents. False when the help call failed; the
// window then logs "Unable to find the help file".
bool OpenHelpContents();

// The about box while it is shown.
extern TAboutBox* AboutBox;
