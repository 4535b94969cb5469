// Helpers of the Qt backend's tests: the backend in use, the widgets that stand for controls,
// and a flush of the events Qt has queued.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QString>
#include <QWidget>

#include "ui/backend.h"
#include "ui/qt/qt_backend.h"

namespace qt_test {

inline ui::qt::QtBackend& Backend() { return dynamic_cast<ui::qt::QtBackend&>(ui::CurrentBackend()); }

inline QWidget* WidgetOf(const ui::Component& c) { return Backend().WidgetOf(c); }

// The widget of that name in a form's window, or null.
template <typename T>
T* Find(const ui::Form& form, const char* name) {
  QWidget* top = WidgetOf(form);
  return top ? top->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return QObject::eventFilter(watched, event);
  }
};

// Runs what is queued, deferred deletions included.
inline void Flush() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace qt_test
