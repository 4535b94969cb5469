#include "platform/event.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>

#include "platform/timing.h"

namespace platform {

class EventState {
 public:
  EventState(bool manualReset, bool initialState) : manualReset_(manualReset), signaled_(initialState) {}

  void Set() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      signaled_ = true;
    }
    cv_.notify_all();
  }

  WaitResult Wait(uint32_t ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto ready = [this] { return signaled_; };
    if (ms == kInfinite) {
      cv_.wait(lock, ready);
    } else {
      auto limit = std::chrono::duration<double, std::milli>(ms * TimeScale());
      if (!cv_.wait_for(lock, limit, ready)) return WaitResult::Timeout;
    }
    // One waiter takes an auto-reset signal; the others keep waiting.
    if (!manualReset_) signaled_ = false;
    return WaitResult::Signaled;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  const bool manualReset_;
  bool signaled_;
};

namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, std::weak_ptr<EventState>> byName;
};

Registry& Events() {
  static Registry registry;
  return registry;
}

}  // namespace

EventHandle CreateEventA(const std::string& name, bool manualReset, bool initialState) {
  EventHandle h;
  if (name.empty()) {
    h.state_ = std::make_shared<EventState>(manualReset, initialState);
    return h;
  }
  Registry& r = Events();
  std::lock_guard<std::mutex> lock(r.mutex);
  for (auto it = r.byName.begin(); it != r.byName.end();) {
    it = it->second.expired() ? r.byName.erase(it) : std::next(it);
  }
  auto found = r.byName.find(name);
  if (found != r.byName.end()) {
    h.state_ = found->second.lock();
    if (h.state_) return h;  // an existing event keeps its own kind and state
  }
  h.state_ = std::make_shared<EventState>(manualReset, initialState);
  r.byName[name] = h.state_;
  return h;
}

bool SetEvent(const EventHandle& h) {
  if (!h.state_) return false;
  h.state_->Set();
  return true;
}

WaitResult WaitForSingleObject(const EventHandle& h, uint32_t ms) {
  if (!h.state_) return WaitResult::Failed;
  NoteWait(WaitKind::Event, ms);
  return h.state_->Wait(ms);
}

bool CloseHandle(EventHandle& h) {
  if (!h.state_) return false;
  h.state_.reset();
  return true;
}

}  // namespace platform
