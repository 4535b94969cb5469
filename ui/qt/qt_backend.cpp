#include "ui/qt/qt_backend.h"

#include <QApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "ui/application.h"
#include "ui/qt/conversions.h"
#include "ui/qt/widgets.h"

namespace ui::qt {

namespace {

bool OnGuiThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

}  // namespace

QtBackend::QtBackend() : menus_(loop_, [this] { modal_.CheckRuns(); }), context_(std::make_unique<QObject>()) {
  // Hiding the last window is not the end of the program: the main form decides that.
  QApplication::setQuitOnLastWindowClosed(false);
}

QtBackend::~QtBackend() {
  if (&ui::CurrentBackend() == this) ui::SetBackend(nullptr);
  std::vector<QPointer<QWidget>> windows;
  for (auto& [component, entry] : entries_) {
    if (!entry.adapter && entry.widget) windows.push_back(entry.widget);
  }
  entries_.clear();
  forms_.clear();
  for (QPointer<QWidget>& w : windows) delete w.data();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// ---------------------------------------------------------------------------------------------
// Notifications from the framework

void QtBackend::Changed(Component& c, Property what) {
  // Components belong to the user-interface thread, which the framework checks in debug builds;
  // a release build leaves the widgets alone rather than touch them from another thread.
  if (!OnGuiThread()) return;
  if (dynamic_cast<MenuItem*>(&c) || dynamic_cast<MainMenu*>(&c)) {
    menus_.Changed(c);
    return;
  }
  auto* control = dynamic_cast<Control*>(&c);
  if (!control) return;
  if (auto* form = dynamic_cast<Form*>(control)) {
    FormChanged(*form, what);
    return;
  }
  auto it = entries_.find(control);
  if (it == entries_.end()) {
    // A control made after its form got its widgets: give it one once its making is done.
    Form* form = control->ParentForm();
    if (form && forms_.count(form)) ScheduleLateRealise();
    return;
  }
  if (it->second.widget) it->second.adapter->Sync(*control, it->second.widget, what);
}

void QtBackend::Destroying(Component& c) {
  // Only the address is used: the derived parts of `c` are already gone.
  if (OnGuiThread()) Forget(&c);
}

void QtBackend::Forget(const Component* key) {
  menus_.Forget(key);
  modal_.Forget(key);
  forms_.erase(key);
  auto it = entries_.find(key);
  if (it == entries_.end()) return;
  const Entry entry = it->second;
  entries_.erase(it);
  if (!entry.widget) return;
  if (entry.adapter) entry.adapter->Release(entry.widget);
  Dispose(entry.widget);
}

void QtBackend::Dispose(QWidget* w) {
  w->hide();
  // Inside a handler the widget may be the one whose signal is still being delivered.
  if (loop_.InHandler()) {
    w->deleteLater();
  } else {
    delete w;
  }
}

QWidget* QtBackend::WidgetOf(const Component& c) const {
  auto it = entries_.find(&c);
  return it == entries_.end() ? nullptr : it->second.widget.data();
}

// ---------------------------------------------------------------------------------------------
// User input

bool QtBackend::Alive(const Component* c, const QWidget* w) const {
  auto it = entries_.find(c);
  return w && it != entries_.end() && it->second.widget == w;
}

void QtBackend::Act(Component* c, const QWidget* w, std::function<void()> action) {
  if (!Alive(c, w)) return;
  if (loop_.Waiting()) {
    // An exchange is under way: the input waits for the handler that runs it.
    loop_.Defer(w->window(), [this, c, w, action] { Act(c, w, action); });
    return;
  }
  loop_.RunHandler(action);
  // The handler may have refused what Qt already shows (a toggle, a cut text): show the control.
  if (Alive(c, w)) {
    const Entry& e = entries_.at(c);
    if (e.adapter) e.adapter->SyncAll(*static_cast<Control*>(c), e.widget);
  }
  modal_.CheckRuns();
}

void QtBackend::PressEnter(Form* form, const QWidget* w) {
  if (!Alive(form, w)) return;
  std::function<Button*(Control&)> find = [&](Control& parent) -> Button* {
    for (Control* child : parent.Children()) {
      auto* button = dynamic_cast<Button*>(child);
      if (button && button->Default() && button->Showing() && button->UserReachable()) return button;
      if (Button* found = find(*child)) return found;
    }
    return nullptr;
  };
  if (Button* button = find(*form)) {
    if (QWidget* bw = WidgetOf(*button)) Act(button, bw, [button] { button->Click(); });
  }
}

// ---------------------------------------------------------------------------------------------
// Windows

FormWidget* QtBackend::Realise(Form& form) {
  auto* fw = new FormWidget();
  fw->setObjectName(ToQt(form.Name()));
  Qt::WindowFlags flags = Qt::Window;
  if (form.Border() == BorderStyle::None) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    const BorderIcons icons = form.Icons();
    if (icons.systemMenu) {
      flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (icons.minimize && form.Border() != BorderStyle::Dialog) flags |= Qt::WindowMinimizeButtonHint;
      if (icons.maximize && form.Border() == BorderStyle::Sizeable) flags |= Qt::WindowMaximizeButtonHint;
    }
  }
  fw->setWindowFlags(flags);
  fw->setWindowTitle(DisplayCaption(form));
  fw->setFont(ToQFont(form.GetFont()));
  fw->setEnabled(form.Enabled());

  entries_[&form] = Entry{fw, nullptr};
  forms_[&form] = &form;

  Form* f = &form;
  // In the middle of an exchange the close waits for its end, as a click does.
  fw->onClose = [this, f, fw] { Act(f, fw, [f] { f->UserClose(); }); };
  fw->onEnter = [this, f, fw] { PressEnter(f, fw); };

  menus_.Build(form, fw);
  RealiseChildren(form, fw->Client());
  ApplyFormSize(form);
  return fw;
}

void QtBackend::RealiseChildren(Control& parent, QWidget* parentWidget) {
  // A copy: the adapters' Connect and SyncAll run inside the loop, and a control added to the
  // parent meanwhile would move the vector under a loop over the reference.
  const std::vector<Control*> children = parent.Children();  // NOLINT(performance-unnecessary-copy-initialization)
  for (Control* child : children) {
    auto it = entries_.find(child);
    if (it != entries_.end()) {
      if (it->second.widget) RealiseChildren(*child, it->second.widget);
      continue;
    }
    const ControlAdapter& adapter = AdapterFor(*child);
    QWidget* w = adapter.Create(*child, parentWidget);
    w->setObjectName(ToQt(child->Name()));
    entries_[child] = Entry{w, &adapter};
    adapter.Connect(*child, w, *this);
    adapter.SyncAll(*child, w);
    RealiseChildren(*child, w);
  }
}

void QtBackend::ScheduleLateRealise() {
  if (lateRealisePending_) return;
  lateRealisePending_ = true;
  QTimer::singleShot(0, context_.get(), [this] {
    lateRealisePending_ = false;
    std::vector<Form*> forms;
    for (auto& [key, form] : forms_) forms.push_back(form);
    for (Form* form : forms) {
      if (auto* fw = static_cast<FormWidget*>(WidgetOf(*form))) RealiseChildren(*form, fw->Client());
    }
  });
}

void QtBackend::ShowForm(Form& form) {
  auto* fw = static_cast<FormWidget*>(WidgetOf(form));
  if (!fw) {
    fw = Realise(form);
  } else {
    RealiseChildren(form, fw->Client());
  }
  const Qt::WindowModality modality = form.Modal() ? Qt::ApplicationModal : Qt::NonModal;
  if (fw->windowModality() != modality) {
    // Qt takes a new modality only while the window is hidden.
    fw->hide();
    fw->setWindowModality(modality);
  }
  if (!fw->placed) {
    fw->placed = true;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (form.Position() == FormPosition::Designed || !screen) {
      fw->move(form.Left(), form.Top());
    } else {
      const QRect area = screen->availableGeometry();
      fw->move(area.center() - QPoint(fw->width() / 2, fw->height() / 2));
    }
  }
  fw->show();
  BringToFront(fw);
}

void QtBackend::ApplyFormSize(Form& form) {
  auto* fw = static_cast<FormWidget*>(WidgetOf(form));
  if (!fw) return;
  const int width = form.ClientWidth() > 0 ? form.ClientWidth() : form.Width();
  const int height = form.ClientHeight() > 0 ? form.ClientHeight() : form.Height();
  const SizeConstraints& k = form.Constraints();
  const bool fixedByConstraints =
      k.minWidth > 0 && k.minWidth == k.maxWidth && k.minHeight > 0 && k.minHeight == k.maxHeight;
  fw->SetClientSize(QSize(std::max(width, 1), std::max(height, 1)),
                    fixedByConstraints || form.Border() != BorderStyle::Sizeable);
}

void QtBackend::FormChanged(Form& form, Property what) {
  auto* fw = static_cast<FormWidget*>(WidgetOf(form));
  switch (what) {
    case Property::Visible:
      if (form.Visible()) {
        ShowForm(form);
      } else if (fw) {
        fw->hide();
      }
      break;
    case Property::Caption:
      if (fw) fw->setWindowTitle(DisplayCaption(form));
      break;
    case Property::Bounds:
      ApplyFormSize(form);
      break;
    case Property::Menu:
      if (fw) menus_.Build(form, fw);
      break;
    case Property::Enabled:
      if (fw) fw->setEnabled(form.Enabled());
      break;
    case Property::Font:
      if (fw) fw->setFont(ToQFont(form.GetFont()));
      break;
    default:
      break;
  }
  modal_.CheckRuns();
}

// ---------------------------------------------------------------------------------------------
// Modal forms, cursor, messages

void QtBackend::RunModal(Form& form) {
  ShowForm(form);
  if (!modal_.RunModal(form)) return;  // the form went during its run
  if (auto* fw = static_cast<FormWidget*>(WidgetOf(form))) {
    fw->hide();
    fw->setWindowModality(Qt::NonModal);
  }
}

void QtBackend::SetCursor(Cursor c) {
  if (OnGuiThread()) loop_.SetCursor(c);
}

void QtBackend::ProcessMessages() {
  if (OnGuiThread()) loop_.ProcessMessages();
}

}  // namespace ui::qt
