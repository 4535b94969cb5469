// Modal requests on the Qt backend: message boxes, file dialogs, the exception box, the help
// window, and the nested event loops in which modal forms run.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/dialogs.h"
#include "ui/form.h"

class QEventLoop;
class QPlainTextEdit;

namespace ui::qt {

class EventLoop;

class ModalDialogs {
 public:
  explicit ModalDialogs(const EventLoop& loop) : loop_(loop) {}
  ~ModalDialogs();
  ModalDialogs(const ModalDialogs&) = delete;
  ModalDialogs& operator=(const ModalDialogs&) = delete;

  int MessageBox(const MessageBoxRequest& request);
  bool FileDialog(FileDialogRequest& request);
  void ShowException(const std::string& message);
  void ShowHelp(const std::string& title, const std::string& text);
  QWidget* HelpWindow() const { return help_.data(); }

  // Runs the modal loop of a form whose window is shown, until the form has a result, is hidden
  // or goes away. False when it went away.
  bool RunModal(Form& form);
  // Ends the runs that are over; called after everything that may end one.
  void CheckRuns();
  // A component is going away: a run of its form is over.
  void Forget(const Component* key);

 private:
  struct Run {
    Form* form;  // compared by address only once `alive` is false
    QEventLoop* loop = nullptr;
    bool alive = true;
  };

  const EventLoop& loop_;
  std::vector<Run*> runs_;
  QPointer<QWidget> help_;
  QPointer<QPlainTextEdit> helpText_;
};

}  // namespace ui::qt
