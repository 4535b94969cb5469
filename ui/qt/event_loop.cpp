#include "ui/qt/event_loop.h"

#include <poll.h>

#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "platform/timing.h"
#include "ui/backend.h"

namespace ui::qt {

EventLoop::EventLoop() : context_(std::make_unique<QObject>()) {
  platform::SetWaitHook([this](int fd, short events, int ms) { Wait(fd, events, ms); });
}

EventLoop::~EventLoop() {
  platform::SetWaitHook(nullptr);
  if (overrideCursor_) QApplication::restoreOverrideCursor();
}

void EventLoop::Run() {
  if (!terminated_) {
    inExec_ = true;
    QApplication::exec();
    inExec_ = false;
  }
  terminated_ = false;
}

void EventLoop::Terminate() {
  terminated_ = true;
  // Not quit(): it first asks every window to close, and the forms answer that themselves.
  if (inExec_) QCoreApplication::exit(0);
}

void EventLoop::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void EventLoop::SetCursor(Cursor c) {
  if (c == Cursor::HourGlass) {
    if (!overrideCursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
    overrideCursor_ = true;
  } else if (overrideCursor_) {
    QApplication::restoreOverrideCursor();
    overrideCursor_ = false;
  }
}

void EventLoop::RunHandler(const std::function<void()>& action) {
  ++handlerDepth_;
  try {
    action();
  } catch (const std::exception& e) {
    ui::App().ShowException(e);
  } catch (...) {
    ui::CurrentBackend().ShowException("Unexpected error");
  }
  --handlerDepth_;
  if (!deferred_.empty()) ScheduleDeferred();
}

// ---------------------------------------------------------------------------------------------
// Input during waits

void EventLoop::Defer(const QWidget* window, std::function<void()> action) {
  deferred_.push_back({handlerDepth_, const_cast<QWidget*>(window), std::move(action)});
}

void EventLoop::ScheduleDeferred() {
  if (deferredScheduled_) return;
  deferredScheduled_ = true;
  // Carried out by the next event loop outside every wait.
  QTimer::singleShot(0, context_.get(), [this] {
    deferredScheduled_ = false;
    RunDeferred();
  });
}

void EventLoop::RunDeferred() {
  std::vector<Deferred> due;
  for (auto it = deferred_.begin(); it != deferred_.end();) {
    if (waitDepth_ == 0 && handlerDepth_ < std::max(it->depth, 1)) {
      due.push_back(std::move(*it));
      it = deferred_.erase(it);
    } else {
      ++it;
    }
  }
  for (Deferred& d : due) {
    const QWidget* modal = QApplication::activeModalWidget();
    if (!d.window || (modal && modal != d.window->window())) continue;
    d.action();
  }
}

// ---------------------------------------------------------------------------------------------
// Waiting

void EventLoop::Wait(int fd, short events, int ms) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
  const bool watch = fd >= 0 && (events & (POLLIN | POLLOUT)) != 0;
  bool ended = false;  // by the time or the descriptor, not by the application quitting
  ++waitDepth_;
  if (ms == 0) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ended = true;
  } else {
    // Windows repaint and timers run meanwhile; the user's input waits for the end.
    QEventLoop loop;
    auto end = [&] {
      ended = true;
      loop.quit();
    };
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, end);
    if (ms > 0) timer.start(ms);
    std::optional<QSocketNotifier> notifier;
    if (watch) {
      notifier.emplace(fd, (events & POLLIN) != 0 ? QSocketNotifier::Read : QSocketNotifier::Write);
      QObject::connect(&*notifier, &QSocketNotifier::activated, &loop, end);
    }
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  --waitDepth_;
  if (waitDepth_ == 0 && !deferred_.empty()) ScheduleDeferred();
  if (ended) return;
  // The loop ends early when the application quits: the wait is still owed.
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (watch) {
    pollfd p{fd, events, 0};
    ::poll(&p, 1, ms < 0 ? -1 : static_cast<int>(std::max<long long>(left, 0)));
  } else if (left > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(left));
  }
}

}  // namespace ui::qt
