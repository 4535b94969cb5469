// An open port costs no processor time while nothing is exchanged.
#include <gtest/gtest.h>

#include <thread>

#include "tests/support/window_test.h"

using testing_support::ProcessCpuMs;
using testing_support::WindowTest;

class IdleTest : public WindowTest {};

TEST_F(IdleTest, OpenPortIdlesWithoutCpu) {
  OpenAndSearch({"H0001AFE"});
  ASSERT_TRUE(Main().GetPort()->IsOpen());
  const double before = ProcessCpuMs();
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const double used = ProcessCpuMs() - before;
  // The stand-in instruments' thread shares this process: both must be asleep.
  EXPECT_LT(used, 25.0) << "ms of processor time in 500 ms of idling";
}
