// Lowers (or sets) the time scale for as long as it lives and puts the previous one back; and the
// record of the waits that the program asked for, read as text.
#pragma once

#include <cstdint>
#include <string>
#include <thread>

#include "platform/timing.h"

namespace testing_support {

class ScopedTimeScale {
 public:
  explicit ScopedTimeScale(double scale) : saved_(platform::TimeScale()) { platform::SetTimeScale(scale); }
  ~ScopedTimeScale() { platform::SetTimeScale(saved_); }
  ScopedTimeScale(const ScopedTimeScale&) = delete;
  ScopedTimeScale& operator=(const ScopedTimeScale&) = delete;

 private:
  double saved_;
};

// Widens the floor of the serial time-outs for as long as it lives, then puts the usual 60 ms back:
// for the reads of threads other than the test's, which no wait hook holds until the stand-ins have
// answered (see WindowTest), so that a stand-in late on a loaded machine does not pass for a silent
// one.
class ScopedTimeoutFloor {
 public:
  explicit ScopedTimeoutFloor(uint32_t ms) { platform::SetTimeoutFloor(ms); }
  ~ScopedTimeoutFloor() { platform::SetTimeoutFloor(60); }
  ScopedTimeoutFloor(const ScopedTimeoutFloor&) = delete;
  ScopedTimeoutFloor& operator=(const ScopedTimeoutFloor&) = delete;
};

// Starts the record of waits afresh (and on).
inline void ClearWaits() { platform::RecordWaits(true); }

// The waits recorded since the record was last cleared, unscaled, separated by blanks: a sleep as
// its ms ("1480"), a serial read as 'r' and its time-out in all ("r205"), an event wait as 'e' and
// its time-out. Those of the calling thread, or those of every other thread.
inline std::string Waits(bool ownThread = true) {
  std::string text;
  for (const platform::RecordedWait& w : platform::RecordedWaits()) {
    if ((w.thread == std::this_thread::get_id()) != ownThread) continue;
    if (!text.empty()) text += ' ';
    if (w.kind == platform::WaitKind::Read) text += 'r';
    if (w.kind == platform::WaitKind::Event) text += 'e';
    text += std::to_string(w.ms);
  }
  return text;
}

}  // namespace testing_support
