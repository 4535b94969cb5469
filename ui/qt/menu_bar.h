// The menu bars of the Qt backend: one per form window that has a menu, rebuilt when items come
// or go, kept in step when they change, and forwarding the user's picks to the items.
#pragma once

#include <QPointer>
#include <functional>
#include <unordered_map>
#include <vector>

#include "ui/form.h"
#include "ui/menu.h"

class QAction;
class QWidget;

namespace ui::qt {

class EventLoop;
class FormWidget;

class MenuBars {
 public:
  // `afterPick` runs after every handler of a pick (modal runs may have ended).
  MenuBars(EventLoop& loop, std::function<void()> afterPick) : loop_(loop), afterPick_(std::move(afterPick)) {}

  // Builds the menu bar of a form's window anew (none when the form has no menu).
  void Build(Form& form, FormWidget* window);
  // A menu item or a main menu changed: the bars that show it follow.
  void Changed(Component& c);
  // The action that stands for a menu item, or null.
  QAction* ActionOf(const MenuItem& item) const;
  // A form or an item is going away.
  void Forget(const Component* key);

 private:
  struct Shape {
    MenuItem* item;
    size_t children;
    bool separator;
    bool operator==(const Shape&) const = default;
  };
  struct Bar {
    Form* form;
    QPointer<FormWidget> window;
    std::vector<Shape> shape;  // the item tree the bar was built from
  };

  static std::vector<Shape> ShapeOf(const MainMenu* menu);
  void SyncMenu(const MainMenu& menu);
  void SyncBar(Bar& bar);
  void AddItem(QWidget* container, MenuItem* item);
  static void SyncAction(const MenuItem& item, QAction* action);
  void Picked(MenuItem* item, const QAction* action);
  bool Alive(const MenuItem* item, const QAction* action) const;

  EventLoop& loop_;
  std::function<void()> afterPick_;
  std::unordered_map<const Component*, Bar> bars_;  // by form
  std::unordered_map<const Component*, QPointer<QAction>> actions_;
};

}  // namespace ui::qt
