// Sleeping, with a time scale that tests lower so that the instruments' long waits cost little.
// The program always runs at scale 1.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// Sleeps ms milliseconds times the time scale. On the thread that installed a sleep hook (the
// user-interface thread) the hook does the waiting, so that windows can repaint meanwhile.
void Sleep(uint32_t ms);

void SetTimeScale(double scale);
double TimeScale();

// A serial time-out in ms under the time scale, never below the floor that keeps the tests free
// of flakiness (at scale 1 the time-out is unchanged).
uint32_t ScaledTimeout(uint32_t ms);
void SetTimeoutFloor(uint32_t ms);

// Waits `ms` real milliseconds on behalf of Sleep. Installed by the user-interface backend for
// the thread that calls SetSleepHook; other threads always sleep plainly.
using SleepHook = std::function<void(uint32_t realMs)>;
void SetSleepHook(SleepHook hook);

}  // namespace platform
