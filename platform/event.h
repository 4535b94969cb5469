// Named auto-reset events: a handle per open, one event per name within the process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class EventState;

constexpr uint32_t kInfinite = 0xFFFFFFFFu;

enum class WaitResult { Signaled, Timeout, Failed };

class EventHandle {
 public:
  EventHandle() = default;
  bool Valid() const { return state_ != nullptr; }
  explicit operator bool() const { return Valid(); }

 private:
  friend EventHandle CreateEventA(const std::string& name, bool manualReset, bool initialState);
  friend bool SetEvent(const EventHandle& h);
  friend WaitResult WaitForSingleObject(const EventHandle& h, uint32_t ms);
  friend bool CloseHandle(EventHandle& h);

  std::shared_ptr<EventState> state_;
};

// Creates the event or opens the existing one of that name (auto-reset, initially clear).
EventHandle CreateEventA(const std::string& name, bool manualReset = false, bool initialState = false);
bool SetEvent(const EventHandle& h);
// Waits up to ms milliseconds (scaled by the time scale; kInfinite waits for ever). An
// auto-reset event is cleared by the wait that sees it set.
WaitResult WaitForSingleObject(const EventHandle& h, uint32_t ms);
bool CloseHandle(EventHandle& h);

}  // namespace platform
