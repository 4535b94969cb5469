#include "ui/qt/menu_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/qt/conversions.h"
#include "ui/qt/event_loop.h"
#include "ui/qt/widgets.h"

namespace ui::qt {

std::vector<MenuBars::Shape> MenuBars::ShapeOf(const MainMenu* menu) {
  std::vector<Shape> shape;
  if (!menu) return shape;
  std::function<void(MenuItem*)> walk = [&](MenuItem* item) {
    shape.push_back({item, item->Items().size(), item->Caption() == "-"});
    for (MenuItem* child : item->Items()) walk(child);
  };
  for (MenuItem* item : menu->Items()) walk(item);
  return shape;
}

void MenuBars::Build(Form& form, FormWidget* window) {
  Bar& bar = bars_[&form];
  for (const Shape& s : bar.shape) actions_.erase(s.item);
  bar.form = &form;
  bar.window = window;
  bar.shape = ShapeOf(form.Menu());
  QMenuBar* menuBar = nullptr;
  if (MainMenu* menu = form.Menu()) {
    menuBar = new QMenuBar(window);
    menuBar->setNativeMenuBar(false);  // in the window, where the layout leaves room for it
    menuBar->setObjectName(ToQt(menu->Name()));
    for (MenuItem* item : menu->Items()) AddItem(menuBar, item);
  }
  if (QMenuBar* old = window->ReplaceMenuBar(menuBar)) {
    // It may hold the action whose pick is being handled.
    old->hide();
    old->deleteLater();
  }
}

void MenuBars::Changed(Component& c) {
  if (auto* item = dynamic_cast<MenuItem*>(&c)) {
    if (item->Menu()) {
      SyncMenu(*item->Menu());
    } else {
      SyncAction(*item, ActionOf(*item));
    }
  } else if (auto* menu = dynamic_cast<MainMenu*>(&c)) {
    SyncMenu(*menu);
  }
}

void MenuBars::SyncMenu(const MainMenu& menu) {
  std::vector<Bar*> showing;
  for (auto& [key, bar] : bars_) {
    if (bar.form->Menu() == &menu) showing.push_back(&bar);
  }
  for (Bar* bar : showing) SyncBar(*bar);
}

void MenuBars::SyncBar(Bar& bar) {
  if (!bar.window) return;
  const std::vector<Shape> shape = ShapeOf(bar.form->Menu());
  if (shape != bar.shape || (bar.form->Menu() != nullptr) != (bar.window->MenuBar() != nullptr)) {
    Build(*bar.form, bar.window);
    return;
  }
  for (const Shape& s : shape) SyncAction(*s.item, ActionOf(*s.item));
  bar.window->Relayout();
}

void MenuBars::AddItem(QWidget* container, MenuItem* item) {
  QAction* action = nullptr;
  if (item->Caption() == "-") {
    action = new QAction(container);
    action->setSeparator(true);
  } else if (!item->Items().empty()) {
    auto* submenu = new QMenu(container);
    submenu->setObjectName(ToQt(item->Name()));
    for (MenuItem* child : item->Items()) AddItem(submenu, child);
    action = submenu->menuAction();
  } else {
    action = new QAction(container);
    QObject::connect(action, &QAction::triggered, action, [this, item, action] { Picked(item, action); });
  }
  action->setObjectName(ToQt(item->Name()));
  container->addAction(action);
  actions_[item] = action;
  SyncAction(*item, action);
}

void MenuBars::SyncAction(const MenuItem& item, QAction* action) {
  if (!action) return;
  const QSignalBlocker block(action);
  if (!action->isSeparator()) action->setText(ToQt(item.Caption()));
  action->setVisible(item.Visible());
  action->setCheckable(item.Checked());
  action->setChecked(item.Checked());
}

QAction* MenuBars::ActionOf(const MenuItem& item) const {
  auto it = actions_.find(&item);
  return it == actions_.end() ? nullptr : it->second.data();
}

bool MenuBars::Alive(const MenuItem* item, const QAction* action) const {
  auto it = actions_.find(item);
  return it != actions_.end() && it->second == action;
}

void MenuBars::Picked(MenuItem* item, const QAction* action) {
  if (!Alive(item, action)) return;
  if (loop_.Waiting()) {
    // The window the menu lies in decides whether a modal window blocks the pick later.
    const QWidget* window = qobject_cast<const QWidget*>(action->parent());
    while (window && !qobject_cast<const FormWidget*>(window)) window = window->parentWidget();
    loop_.Defer(window, [this, item, action] { Picked(item, action); });
    return;
  }
  loop_.RunHandler([item] { item->Click(); });
  // Qt may have toggled a check mark the item does not have.
  if (Alive(item, action) && item->Menu()) SyncMenu(*item->Menu());
  afterPick_();
}

void MenuBars::Forget(const Component* key) {
  actions_.erase(key);
  bars_.erase(key);
}

}  // namespace ui::qt
