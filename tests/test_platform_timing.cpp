#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/timing.h"
#include "tests/support/time_scale.h"

namespace {

using Clock = std::chrono::steady_clock;

class TimingTest : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::SetTimeoutFloor(60);
    platform::SetSleepHook(nullptr);
  }
  testing_support::ScopedTimeScale scale_{platform::TimeScale()};
};

TEST_F(TimingTest, SleepFollowsTheTimeScale) {
  platform::SetTimeScale(0.05);
  auto start = Clock::now();
  platform::Sleep(2000);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_GE(ms, 95);
  EXPECT_LT(ms, 1000);
}

TEST_F(TimingTest, ScaledTimeoutKeepsAFloor) {
  struct Case {
    double scale;
    uint32_t floor;
    uint32_t ms;
    uint32_t expected;
  };
  const Case cases[] = {
      {1.0, 60, 200, 200},
      {1.0, 60, 5, 5},
      {0.05, 60, 200, 60},
      {0.05, 60, 4304, 216},
      {0.05, 10, 200, 10},
      {0.5, 60, 4104, 2052},
      {2.0, 60, 3000000000u, 0xFFFFFFFFu},
  };
  for (const Case& c : cases) {
    platform::SetTimeScale(c.scale);
    platform::SetTimeoutFloor(c.floor);
    EXPECT_EQ(platform::ScaledTimeout(c.ms), c.expected) << c.scale << " " << c.ms;
  }
}

TEST_F(TimingTest, HookWaitsOnlyOnItsOwnThread) {
  platform::SetTimeScale(0.5);
  std::vector<uint32_t> calls;
  platform::SetSleepHook([&calls](uint32_t realMs) { calls.push_back(realMs); });
  auto start = Clock::now();
  platform::Sleep(4000);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], 2000u);

  std::thread other([] { platform::Sleep(20); });
  other.join();
  EXPECT_EQ(calls.size(), 1u);
}

}  // namespace
