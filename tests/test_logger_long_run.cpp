// A long run with faults injected at random: no line lost, every line whole.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/logger_long_run.h"

TEST(LoggerLongRun, NoLineLostOrBrokenUnderRandomFaults) {
  // Longer runs by hand: QVUSB_LONG_RUN_PASSES=10000 (the bench runs that many).
  const char* asked = std::getenv("QVUSB_LONG_RUN_PASSES");
  const uint64_t passes = asked ? std::strtoull(asked, nullptr, 10) : 300;
  const auto f = testing_support::LongLoggerRun(passes, 20261207, 10);
  EXPECT_GE(f.passes, passes);
  EXPECT_EQ(f.lines[0], f.passes);
  EXPECT_EQ(f.lines[1], f.passes);
  EXPECT_EQ(f.lost, 0u);
  EXPECT_EQ(f.broken, 0u);
  EXPECT_GT(f.faults, 0u);
  EXPECT_GT(f.err01, 0u);
}
