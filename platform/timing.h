// Sleeping and waiting on descriptors, with a time scale that tests lower so that the
// instruments' long waits cost little. The program always runs at scale 1.
#pragma once

#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace platform {

// Sleeps ms milliseconds times the time scale. On the thread that installed a wait hook (the
// user-interface thread) the hook does the waiting, so that windows can repaint meanwhile.
void Sleep(uint32_t ms);

// Waits until `fd` is ready for `events` (poll's POLLIN, POLLOUT) or `timeoutMs` real
// milliseconds have passed (-1: no limit). Answers as poll does for one descriptor: 1 with
// *revents set when ready, 0 on the time-out, -1 on an error (errno tells). Goes through the wait
// hook on its thread, as Sleep does.
int WaitForDescriptor(int fd, short events, int timeoutMs, short* revents);

void SetTimeScale(double scale);
double TimeScale();

// A serial time-out in ms under the time scale, never below the floor that keeps the tests free
// of flakiness (at scale 1 the time-out is unchanged).
uint32_t ScaledTimeout(uint32_t ms);
void SetTimeoutFloor(uint32_t ms);

// Waits on behalf of Sleep and WaitForDescriptor: for `realMs` real milliseconds (-1: no
// limit), or, when `fd` is not -1, until the descriptor may be ready for `events`, whichever comes
// first. A sleep (fd -1) must last its whole time; a descriptor wait may end early, since the
// caller looks at the descriptor afterwards. Installed by the user-interface backend for the
// thread that calls SetWaitHook; other threads always wait plainly.
using WaitHook = std::function<void(int fd, short events, int realMs)>;
void SetWaitHook(WaitHook hook);

// For tests, a record of the waits the program asks for, so that they can be checked exactly
// rather than by the clock: each one unscaled, in the order asked, with its kind and the thread
// that asked, whether a wait hook does the waiting or not. Off unless a test turns it on.
enum class WaitKind {
  Sleep,  // Sleep(ms)
  Read,   // a serial read, with its total time-out and the one between two bytes
  Event,  // a wait on an event, with its time-out
};
struct RecordedWait {
  WaitKind kind;
  uint32_t ms;
  std::thread::id thread;
  uint32_t betweenBytesMs = 0;  // a read's
};
// Turns the record on or off; either way it starts empty.
void RecordWaits(bool on);
std::vector<RecordedWait> RecordedWaits();
// Adds a wait made outside Sleep to the record, when it is on.
void NoteWait(WaitKind kind, uint32_t ms, uint32_t betweenBytesMs = 0);

}  // namespace platform
