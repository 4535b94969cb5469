// Lowers (or sets) the time scale for as long as it lives and puts the previous one back; and the
// record of the waits that the program asked for, read as text.
#pragma once

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
