#include "ui/menu.h"

#include <algorithm>

#include "ui/backend.h"
#include "ui/form.h"

namespace ui {

namespace {

void Erase(std::vector<MenuItem*>& items, MenuItem* item) {
  items.erase(std::remove(items.begin(), items.end(), item), items.end());
}

}  // namespace

MenuItem::MenuItem(Component* owner, std::string name, MainMenu* menu, MenuItem* parent)
    : Component(owner, std::move(name)), menu_(menu), parent_(parent) {
  if (parent_) {
    if (!menu_) menu_ = parent_->menu_;
    parent_->items_.push_back(this);
  } else if (menu_) {
    menu_->items_.push_back(this);
  }
  if (menu_) menu_->ItemsChanged();
}

MenuItem::~MenuItem() {
  // Sub-items are destroyed by their owner, maybe later: cut them loose from this item.
  for (MenuItem* item : items_) {
    item->parent_ = nullptr;
    item->menu_ = nullptr;
  }
  items_.clear();
  if (parent_) {
    Erase(parent_->items_, this);
  } else if (menu_) {
    Erase(menu_->items_, this);
  }
  // A menu going first has cut its items loose, so menu_ is a live menu here.
  if (menu_) menu_->ItemsChanged();
}

void MenuItem::SetCaption(std::string c) { Update(caption_, std::move(c), Property::Caption); }

void MenuItem::SetVisible(bool v) { Update(visible_, v, Property::Visible); }

void MenuItem::SetChecked(bool c) { Update(checked_, c, Property::Checked); }

bool MenuItem::UserReachable() const {
  for (const MenuItem* item = this; item; item = item->parent_) {
    if (!item->visible_) return false;
  }
  return true;
}

void MenuItem::Click() {
  if (!UserReachable() || !items_.empty() || !OnClick) return;
  NotifyEvent call = OnClick;  // the handler may replace itself
  call(this);
}

MainMenu::MainMenu(Component* owner, std::string name) : Component(owner, std::move(name)) {}

MainMenu::~MainMenu() {
  // Items are owned elsewhere and may outlive the menu: none may keep pointing at it.
  std::vector<MenuItem*> pending = items_;
  while (!pending.empty()) {
    MenuItem* item = pending.back();
    pending.pop_back();
    item->menu_ = nullptr;
    pending.insert(pending.end(), item->items_.begin(), item->items_.end());
  }
  items_.clear();
  // The form shows no menu bar from now on (a form going first has already let go of it).
  if (form_ && form_->menu_ == this) form_->SetMenu(nullptr);
}

void MainMenu::ItemsChanged() { CurrentBackend().Changed(*this, Property::Menu); }

}  // namespace ui
