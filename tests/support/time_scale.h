// Lowers (or sets) the time scale for as long as it lives and puts the previous one back.
#pragma once

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

}  // namespace testing_support
