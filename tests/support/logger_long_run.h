// A long logger run over two stand-in stations with faults injected at random into their
// replies, made fast with the time scale; then every line of both station files is checked.
#pragma once

#include <cstdint>

namespace testing_support {

struct LongRunFigures {
  uint64_t passes = 0;         // passes the thread completed
  uint64_t lines[2] = {0, 0};  // data lines in each station's file
  uint64_t lost = 0;           // counters missing or out of order, over both files
  uint64_t broken = 0;         // lines not whole: no counter and time, or a stray line break
  uint64_t faults = 0;         // faults injected
  uint64_t err01 = 0;          // "ERR01" values written
  double seconds = 0;          // wall time of the run
  long rssKbEarly = 0;         // resident memory after the first tenth of the passes
  long rssKbEnd = 0;           // and at the end
};

// Runs at least `passes` passes, the faults drawn from `seed`. Needs no backend.
LongRunFigures LongLoggerRun(uint64_t passes, unsigned seed, uint32_t timeoutFloorMs);

}  // namespace testing_support
