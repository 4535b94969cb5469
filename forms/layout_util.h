// Small helpers that keep the layout constructors short: set up a window, place a control with
// its caption, add a menu item, and build the pieces several windows share.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ui/form.h"
#include "ui/menu.h"

namespace forms::layout {

// A window of one size only, centred on the screen, that the user cannot resize. The size is the
// window's own (the window manager's frame aside), its menu bar included when it has one: the
// client area, where the controls lie, is that much lower.
inline void FixedWindow(ui::Form* form, std::string caption, ui::BorderStyle border, int width, int height,
                        bool menuBar = false) {
  form->SetCaption(std::move(caption));
  form->SetBorderStyle(border);
  form->SetPosition(ui::FormPosition::ScreenCenter);
  form->SetClientSize(width, height - (menuBar ? ui::kMenuBarHeight : 0));
  form->SetConstraints(ui::SizeConstraints{width, height, width, height});
}

// Sets a control's bounds and, when given, its caption; returns the control for chaining.
template <typename T>
T* Place(T* control, int left, int top, int width, int height, std::string caption = {}) {
  control->SetBounds(left, top, width, height);
  if (!caption.empty()) control->SetCaption(std::move(caption));
  return control;
}

// Gives a control a hint that is shown as a tool tip.
inline void GiveHint(ui::Control* control, std::string hint) { control->SetHint(std::move(hint)); }

// The window's program log "Memo1": the program writes it, the user only reads and scrolls it.
inline ui::Memo* AddLogMemo(ui::Form* form, ui::Control* parent, int left, int top, int width, int height) {
  auto* memo = Place(new ui::Memo(form, "Memo1", parent), left, top, width, height);
  memo->SetReadOnly(true);
  memo->SetScrollBars(ui::Memo::ScrollBars::Vertical);
  return memo;
}

// The channel box "ChannelSelect": channels 1 to 8, showing the prompt that makes the channel
// commands refuse until the user picks one.
inline ui::ComboBox* AddChannelSelect(ui::Form* form, ui::Control* parent, int left, int top, int width, int height) {
  auto* box = Place(new ui::ComboBox(form, "ChannelSelect", parent), left, top, width, height);
  box->Items().Assign(std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"});
  box->SetText("CH number");
  return box;
}

// A menu item under `parent` (null: on the menu bar), owned by the form.
inline ui::MenuItem* AddItem(ui::Form* form, ui::MainMenu* menu, ui::MenuItem* parent, std::string name,
                             std::string caption) {
  auto* item = new ui::MenuItem(form, std::move(name), menu, parent);
  item->SetCaption(std::move(caption));
  return item;
}

// The menu bar of the station, logger and modem windows, "MainMenu1": File with "Exit program",
// Help with "About" and "Help". `W` has the members of those names; the clicks go to the handlers.
template <typename W>
void BuildFileAndHelpMenu(W* window, const ui::NotifyEvent& exitClick, const ui::NotifyEvent& aboutClick,
                          const ui::NotifyEvent& helpClick) {
  ui::MainMenu* menu = window->MainMenu1 = new ui::MainMenu(window, "MainMenu1");
  window->File1 = AddItem(window, menu, nullptr, "File1", "File");
  window->Exitprogram1 = AddItem(window, menu, window->File1, "Exitprogram1", "Exit program");
  window->Exitprogram1->OnClick = exitClick;
  window->Help1 = AddItem(window, menu, nullptr, "Help1", "Help");
  window->About1 = AddItem(window, menu, window->Help1, "About1", "About");
  window->About1->OnClick = aboutClick;
  window->Help2 = AddItem(window, menu, window->Help1, "Help2", "Help");
  window->Help2->OnClick = helpClick;
  window->SetMenu(menu);
}

}  // namespace forms::layout
