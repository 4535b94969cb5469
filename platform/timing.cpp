#include "platform/timing.h"

#include <poll.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

namespace platform {

namespace {

constexpr uint32_t kDefaultTimeoutFloor = 60;

std::atomic<double> g_timeScale{1.0};
std::atomic<uint32_t> g_timeoutFloor{kDefaultTimeoutFloor};

struct HookSlot {
  std::mutex mutex;
  WaitHook hook;
  std::thread::id owner;
};

struct WaitRecord {
  std::atomic<bool> on{false};
  std::mutex mutex;
  std::vector<RecordedWait> waits;
};

WaitRecord& Record() {
  static WaitRecord record;
  return record;
}

HookSlot& Hook() {
  static HookSlot slot;
  return slot;
}

// The hook, when this thread installed one.
WaitHook OwnHook() {
  HookSlot& slot = Hook();
  std::lock_guard<std::mutex> lock(slot.mutex);
  if (slot.hook && slot.owner == std::this_thread::get_id()) return slot.hook;
  return nullptr;
}

uint32_t ToMs(double ms) {
  if (!(ms > 0)) return 0;
  if (ms >= 4294967295.0) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(std::llround(ms));
}

}  // namespace

void Sleep(uint32_t ms) {
  NoteWait(WaitKind::Sleep, ms);
  const double realMs = ms * TimeScale();
  if (WaitHook hook = OwnHook()) {
    hook(-1, 0, static_cast<int>(std::min<uint32_t>(ToMs(realMs), 0x7FFFFFFF)));
    return;
  }
  if (realMs > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(realMs));
}

int WaitForDescriptor(int fd, short events, int timeoutMs, short* revents) {
  pollfd p{fd, events, 0};
  int r = 0;
  if (WaitHook hook = OwnHook()) {
    hook(fd, events, timeoutMs);
    r = ::poll(&p, 1, 0);
  } else {
    r = ::poll(&p, 1, timeoutMs);
  }
  if (revents != nullptr) *revents = p.revents;
  return r;
}

void SetTimeScale(double scale) {
  if (!(scale >= 0) || std::isinf(scale)) return;
  g_timeScale.store(scale);
}

double TimeScale() { return g_timeScale.load(); }

uint32_t ScaledTimeout(uint32_t ms) {
  const double scale = TimeScale();
  if (scale == 1.0) return ms;
  uint32_t scaled = ToMs(std::ceil(ms * scale));
  return std::max(g_timeoutFloor.load(), scaled);
}

void SetTimeoutFloor(uint32_t ms) { g_timeoutFloor.store(ms); }

void SetWaitHook(WaitHook hook) {
  HookSlot& slot = Hook();
  std::lock_guard<std::mutex> lock(slot.mutex);
  slot.hook = std::move(hook);
  slot.owner = std::this_thread::get_id();
}

void RecordWaits(bool on) {
  WaitRecord& record = Record();
  std::lock_guard<std::mutex> lock(record.mutex);
  record.waits.clear();
  record.on = on;
}

std::vector<RecordedWait> RecordedWaits() {
  WaitRecord& record = Record();
  std::lock_guard<std::mutex> lock(record.mutex);
  return record.waits;
}

void NoteWait(WaitKind kind, uint32_t ms, uint32_t betweenBytesMs) {
  WaitRecord& record = Record();
  if (!record.on.load(std::memory_order_relaxed)) return;
  std::lock_guard<std::mutex> lock(record.mutex);
  if (record.on) record.waits.push_back({kind, ms, std::this_thread::get_id(), betweenBytesMs});
}

}  // namespace platform
