// Main menus and their items. Items nest: a top-level item holds the items of its drop-down.
#pragma once

#include <string>
#include <vector>

#include "ui/component.h"

namespace ui {

class Form;
class MainMenu;

// The height of a form's menu bar. A layout's window size includes it: the client area, in which
// the controls lie, is that much lower.
constexpr int kMenuBarHeight = 20;

class MenuItem : public Component {
 public:
  // parent: the item this one stands under, or null for a top-level item of `menu`.
  MenuItem(Component* owner, std::string name, MainMenu* menu, MenuItem* parent);
  ~MenuItem() override;

  NotifyEvent OnClick;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string c);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Checked() const { return checked_; }
  void SetChecked(bool c);

  MenuItem* ParentItem() const { return parent_; }
  MainMenu* Menu() const { return menu_; }
  const std::vector<MenuItem*>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }

  // Visible along the whole path from the menu bar.
  bool UserReachable() const;
  // The user picks the item. Does nothing when it cannot be reached or holds a sub-menu.
  void Click();

 private:
  friend class MainMenu;
  MainMenu* menu_;
  MenuItem* parent_;
  std::vector<MenuItem*> items_;
  std::string caption_;
  bool visible_ = true;
  bool checked_ = false;
};

class MainMenu : public Component {
 public:
  MainMenu(Component* owner, std::string name);
  ~MainMenu() override;
  // The top-level items, in menu-bar order.
  const std::vector<MenuItem*>& Items() const { return items_; }
  // Called by items when items were added or removed anywhere in the tree: the backend hears
  // Changed(menu, Property::Menu). An item's own properties reach the backend from the item.
  void ItemsChanged();

 private:
  friend class MenuItem;
  friend class Form;
  std::vector<MenuItem*> items_;
  Form* form_ = nullptr;  // the form showing this menu, kept so that either may go first
};

}  // namespace ui
