// One adapter per kind of control: it makes the widget that shows the control, connects the
// widget's user input to the control's user-action methods, and brings the widget in step with
// the control's properties. A new kind of control is one new adapter and its line in the
// registration (ControlAdapters in adapters.cpp).
#pragma once

#include <QWidget>
#include <functional>
#include <type_traits>
#include <vector>

#include "ui/component.h"
#include "ui/control.h"

namespace ui::qt {

// Where the adapters hand the user's input: the action runs only while the widget still stands
// for the control, never in the middle of a wait (it is kept for after the running handler), with
// escaping exceptions shown; the widget is brought in step with the control afterwards.
class UserInput {
 public:
  virtual void Act(Component* c, const QWidget* w, std::function<void()> action) = 0;

 protected:
  ~UserInput() = default;
};

class ControlAdapter {
 public:
  virtual ~ControlAdapter() = default;
  // Whether this adapter shows the control.
  virtual bool Fits(const Control& c) const = 0;
  virtual QWidget* Create(Control& c, QWidget* parent) const = 0;
  virtual void Connect(Control& /*c*/, QWidget* /*w*/, UserInput& /*input*/) const {}
  // Brings the widget in step with one property; no signal of the widget comes back meanwhile.
  void Sync(Control& c, QWidget* w, Property what) const;
  // Every property, as when the widget is new.
  void SyncAll(Control& c, QWidget* w) const;
  // The control is going away while its widget may still be shown for a moment.
  virtual void Release(QWidget* /*w*/) const {}

 protected:
  // The kind's own part of Sync; true when it took care of `what` (the shared properties, such as
  // visibility, enabling, hint, font and place, are done by Sync otherwise).
  virtual bool SyncOwn(Control& /*c*/, QWidget* /*w*/, Property /*what*/) const { return false; }
  // The widget's place: the control's bounds, unless the kind says otherwise.
  virtual QRect Geometry(Control& c, QWidget* w) const;
};

// An adapter for controls of type C shown by widgets of type W, with typed hooks.
template <typename C, typename W>
class Adapter : public ControlAdapter {
 public:
  bool Fits(const Control& c) const override {
    if constexpr (std::is_same_v<C, Control>) {
      return true;
    } else {
      return dynamic_cast<const C*>(&c) != nullptr;
    }
  }
  QWidget* Create(Control& c, QWidget* parent) const override { return Make(static_cast<C&>(c), parent); }
  void Connect(Control& c, QWidget* w, UserInput& input) const override {
    Hook(static_cast<C&>(c), static_cast<W*>(w), input);
  }

 protected:
  virtual W* Make(C& /*c*/, QWidget* parent) const {
    if constexpr (std::is_constructible_v<W, QWidget*>) {
      return new W(parent);
    } else {
      return nullptr;  // a widget that needs more is made by the adapter's own Make
    }
  }
  virtual void Hook(C& /*c*/, W* /*w*/, UserInput& /*input*/) const {}
  virtual bool Step(C& c, W* w, Property what) const = 0;
  bool SyncOwn(Control& c, QWidget* w, Property what) const override {
    return Step(static_cast<C&>(c), static_cast<W*>(w), what);
  }
};

// The adapters in the order they are asked: more special kinds first, the fallback last.
const std::vector<const ControlAdapter*>& ControlAdapters();
// The adapter that shows a control (the fallback, a plain widget, when no other fits).
const ControlAdapter& AdapterFor(const Control& c);

// The caption as shown: Greek letters for the "Symbol" font.
QString DisplayCaption(const Control& c);

}  // namespace ui::qt
