// The Qt backend of the component framework: each control becomes a widget named like it, at the
// place its layout gives; Qt's user input is forwarded to the controls' user-action methods; modal
// requests become message boxes, file dialogs and nested event loops.
//
// Created after the QApplication; the program then installs it with ui::SetBackend.
#pragma once

#include <QPointer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/backend.h"
#include "ui/chart.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/menu.h"

class QAction;
class QEventLoop;
class QMenuBar;
class QObject;
class QPlainTextEdit;
class QWidget;

namespace ui::qt {

class FormWidget;

class QtBackend : public ui::Backend {
 public:
  QtBackend();
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  void Changed(Component& c, Property what) override;
  void Destroying(Component& c) override;

  int MessageBox(const MessageBoxRequest& request) override;
  bool FileDialog(FileDialogRequest& request) override;
  void RunModal(Form& form) override;

  void SetCursor(Cursor c) override;
  void ProcessMessages() override;
  void Run() override;
  void Terminate() override;
  void ShowHelp(const std::string& title, const std::string& text) override;
  void ShowException(const std::string& message) override;

  // The widget that shows a control or form (the form's top-level window), or null while it has
  // none: a form gets its widgets when it is first shown.
  QWidget* WidgetOf(const Component& c) const;
  // The action that stands for a menu item, or null.
  QAction* ActionOf(const MenuItem& item) const;
  // The help window, once help was shown.
  QWidget* HelpWindow() const { return help_; }

 private:
  enum class Kind {
    Form,
    Button,
    Label,
    Edit,
    Memo,
    Combo,
    Check,
    Radio,
    RadioGroup,
    Group,
    Shape,
    Image,
    Chart,
    Other
  };
  struct Entry {
    QPointer<QWidget> widget;
    Kind kind = Kind::Other;
    std::vector<std::string> lines;  // a memo's lines as its widget shows them
  };
  struct MenuShape {
    MenuItem* item;
    size_t children;
    bool separator;
    bool operator==(const MenuShape&) const = default;
  };
  struct FormRecord {
    Form* form = nullptr;
    std::vector<MenuShape> menuShape;  // the item tree the menu bar was built from
  };
  struct ModalRun {
    Form* form;  // compared by address only once `alive` is false
    QEventLoop* loop = nullptr;
    bool alive = true;
  };
  // A user action that came during a wait, carried out once the handler that was running then
  // (at `depth`) has returned.
  struct DeferredAction {
    int depth;
    QPointer<QWidget> target;
    std::function<void()> action;
  };

  // Realisation.
  FormWidget* Realise(Form& form);
  void RealiseChildren(Control& parent, QWidget* parentWidget);
  QWidget* CreateWidget(Control& c, QWidget* parent, Kind* kind);
  void ConnectUserActions(Control& c, QWidget* w, Kind kind);
  void ScheduleLateRealise();
  void RealiseLate();
  void ShowForm(Form& form);
  void ApplyFormSize(Form& form);

  // Keeping widgets in step with the controls.
  void FormChanged(Form& form, Property what);
  void Sync(Control& c, Entry& e, Property what);
  void SyncAll(Control& c, Entry& e);
  void SyncCaption(Control& c, Entry& e);
  void SyncGeometry(Control& c, Entry& e);
  void SyncLines(Memo& memo, Entry& e);
  void SyncCombo(ComboBox& combo, QWidget* w, bool items);

  // Menus.
  std::vector<MenuShape> ShapeOf(const MainMenu* menu) const;
  void SyncMenuOf(Form& form);
  void SyncMenu(const MainMenu& menu);
  void BuildMenuBar(Form& form, FormWidget* fw);
  void AddMenuItem(QWidget* container, MenuItem* item);
  void SyncAction(const MenuItem& item, QAction* action);
  void MenuClicked(MenuItem* item, const QAction* action);

  // User actions: run `action` for control `c` when the widget `w` still stands for it, then put
  // the widget back in step with the control.
  template <typename F>
  void UserAction(Component* c, const QWidget* w, F&& action);
  void RunGuarded(const std::function<void()>& action);
  bool Alive(const Component* c, const QWidget* w);
  void PressEnter(Form* form, const QWidget* w);
  void UserClosesForm(Form* form, FormWidget* w);
  void Defer(const QWidget* target, std::function<void()> action);
  void ScheduleDeferred();
  void RunDeferred();

  // Drops what stands for a component that is going away.
  void Forget(const Component* key, bool disposeLater = false);
  // Forgets the components destroyed on another thread since the last call. Every entry point
  // that goes from an address to a component calls it first.
  void ForgetGoneElsewhere();
  void CheckModalRuns();
  void Dispose(QWidget* w, bool later = false);
  void Wait(int fd, short events, int ms);
  QWidget* DialogParent() const;

  std::unordered_map<const Component*, Entry> entries_;
  std::unordered_map<const Component*, FormRecord> forms_;
  std::unordered_map<const Component*, QPointer<QAction>> actions_;
  std::vector<ModalRun*> modalRuns_;
  std::vector<DeferredAction> deferred_;
  std::mutex goneMutex_;
  std::vector<const Component*> goneElsewhere_;  // guarded by goneMutex_
  std::atomic<bool> anyGoneElsewhere_{false};
  std::unique_ptr<QObject> context_;  // receiver for timers and connections
  QPointer<QWidget> help_;
  QPointer<QPlainTextEdit> helpText_;
  int dispatchDepth_ = 0;
  int waitDepth_ = 0;
  bool deferredScheduled_ = false;
  bool lateRealisePending_ = false;
  bool overrideCursor_ = false;
  bool inExec_ = false;
  bool terminated_ = false;
};

}  // namespace ui::qt
