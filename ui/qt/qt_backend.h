// The Qt backend of the component framework: each control becomes a widget named like it, at the
// place its layout gives; Qt's user input is forwarded to the controls' user-action methods; modal
// requests become message boxes, file dialogs and nested event loops.
//
// This class keeps the widgets' lifetimes and makes the forms' windows; the adapters (adapter.h)
// deal with each kind of control, MenuBars with menus, ModalDialogs with modal requests and
// EventLoop with the loop and the waits.
//
// Created after the QApplication, on its thread; the program then installs it with
// ui::SetBackend.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>
#include <unordered_map>

#include "ui/backend.h"
#include "ui/qt/adapter.h"
#include "ui/qt/event_loop.h"
#include "ui/qt/menu_bar.h"
#include "ui/qt/modal.h"

class QAction;

namespace ui::qt {

class FormWidget;

class QtBackend : public ui::Backend, private UserInput {
 public:
  QtBackend();
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  void Changed(Component& c, Property what) override;
  void Destroying(Component& c) override;

  int MessageBox(const MessageBoxRequest& request) override { return modal_.MessageBox(request); }
  bool FileDialog(FileDialogRequest& request) override { return modal_.FileDialog(request); }
  void RunModal(Form& form) override;

  void SetCursor(Cursor c) override;
  void ProcessMessages() override;
  void Run() override { loop_.Run(); }
  void Terminate() override { loop_.Terminate(); }
  void ShowHelp(const std::string& title, const std::string& text) override { modal_.ShowHelp(title, text); }
  void ShowException(const std::string& message) override { modal_.ShowException(message); }

  // The widget that shows a control or form (the form's top-level window), or null while it has
  // none: a form gets its widgets when it is first shown.
  QWidget* WidgetOf(const Component& c) const;
  // The action that stands for a menu item, or null.
  QAction* ActionOf(const MenuItem& item) const { return menus_.ActionOf(item); }
  // The help window, once help was shown.
  QWidget* HelpWindow() const { return modal_.HelpWindow(); }

 private:
  struct Entry {
    QPointer<QWidget> widget;
    const ControlAdapter* adapter = nullptr;  // null for a form
  };

  // UserInput
  void Act(Component* c, const QWidget* w, std::function<void()> action) override;
  bool Alive(const Component* c, const QWidget* w) const;

  // Windows and their widgets.
  FormWidget* Realise(Form& form);
  void RealiseChildren(Control& parent, QWidget* parentWidget);
  void ScheduleLateRealise();
  void ShowForm(Form& form);
  void ApplyFormSize(Form& form);
  void FormChanged(Form& form, Property what);
  void PressEnter(Form* form, const QWidget* w);

  // Drops what stands for a component that is going away.
  void Forget(const Component* key);
  void Dispose(QWidget* w);

  EventLoop loop_;
  ModalDialogs modal_{loop_};
  MenuBars menus_;
  std::unordered_map<const Component*, Entry> entries_;
  std::unordered_map<const Component*, Form*> forms_;  // the forms that have their windows
  std::unique_ptr<QObject> context_;                   // receiver of the late realisation
  bool lateRealisePending_ = false;
};

}  // namespace ui::qt
