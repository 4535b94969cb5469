// Small helpers that keep the layout constructors short: place a control with its caption, add
// a menu item, fix a window's size.
#pragma once

#include <string>

#include "ui/form.h"
#include "ui/menu.h"

namespace forms::layout {

// Sets a control's bounds and, when given, its caption; returns the control for chaining.
template <typename T>
T* Place(T* control, int left, int top, int width, int height, std::string caption = {}) {
  control->SetBounds(left, top, width, height);
  if (!caption.empty()) control->SetCaption(std::move(caption));
  return control;
}

// Gives a control a hint that is shown as a tool tip.
inline void GiveHint(ui::Control* control, std::string hint) {
  control->SetHint(std::move(hint));
  control->SetShowHint(true);
}

// A menu item under `parent` (null: on the menu bar), owned by the form.
inline ui::MenuItem* AddItem(ui::Form* form, ui::MainMenu* menu, ui::MenuItem* parent, std::string name,
                             std::string caption) {
  auto* item = new ui::MenuItem(form, std::move(name), menu, parent);
  item->SetCaption(std::move(caption));
  return item;
}

// A window of one size only: the client area is the given size, and the user cannot resize it.
inline void FixClientSize(ui::Form* form, int width, int height) {
  form->SetClientSize(width, height);
  form->SetConstraints(ui::SizeConstraints{width, height, width, height});
}

}  // namespace forms::layout
