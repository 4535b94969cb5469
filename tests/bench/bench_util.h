// Small measuring helpers shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// One byte is 10 bits on the line at 57600 baud.
inline double LineTimeMs(size_t bytes) { return bytes * 10.0 * 1000.0 / 57600.0; }

}  // namespace bench
