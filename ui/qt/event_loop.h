// The message loop of the Qt backend, the waits during which windows keep painting, the user's
// input that comes during a wait (kept for after the handler that waits), and the hourglass.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "ui/application.h"

class QObject;

namespace ui::qt {

class EventLoop {
 public:
  // Installs itself as the wait hook of the calling thread, the user-interface thread.
  EventLoop();
  ~EventLoop();
  EventLoop(const EventLoop&) = delete;
  EventLoop& operator=(const EventLoop&) = delete;

  // Runs until Terminate (at once when Terminate came first).
  void Run();
  void Terminate();
  // Handles what is pending, the user's input included.
  void ProcessMessages();

  void SetCursor(Cursor c);
  bool Hourglass() const { return overrideCursor_; }

  // Runs a handler for the user's input: an exception that escapes it is shown.
  void RunHandler(const std::function<void()>& action);
  bool InHandler() const { return handlerDepth_ > 0; }
  // Whether an exchange is waiting (a sleep or a serial wait) right now.
  bool Waiting() const { return waitDepth_ > 0; }
  // Keeps a user action that came during a wait for after the handler running now has returned
  // (for after the wait when no handler runs). It is dropped when the window it came from is gone
  // or blocked by a modal window by then, as the input itself would be.
  void Defer(const QWidget* window, std::function<void()> action);

  // Waits for `ms` (-1: no limit) or until the descriptor may be ready, repainting meanwhile
  // with the user's input held back. See platform::WaitHook.
  void Wait(int fd, short events, int ms);

 private:
  struct Deferred {
    int depth;  // handlers running when it came
    QPointer<QWidget> window;
    std::function<void()> action;
  };
  void ScheduleDeferred();
  void RunDeferred();

  std::unique_ptr<QObject> context_;  // receiver of the timers
  std::vector<Deferred> deferred_;
  int handlerDepth_ = 0;
  int waitDepth_ = 0;
  bool deferredScheduled_ = false;
  bool overrideCursor_ = false;
  bool inExec_ = false;
  bool terminated_ = false;
};

}  // namespace ui::qt
