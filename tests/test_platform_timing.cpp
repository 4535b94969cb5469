#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

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
    platform::SetWaitHook(nullptr);
    platform::RecordWaits(false);
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
  struct Call {
    int fd;
    short events;
    int ms;
    bool operator==(const Call&) const = default;
  };
  platform::SetTimeScale(0.5);
  std::vector<Call> calls;
  testing_support::ClearWaits();
  platform::SetWaitHook([&calls](int fd, short events, int ms) { calls.push_back({fd, events, ms}); });
  auto start = Clock::now();
  platform::Sleep(4000);
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(calls, (std::vector<Call>{{-1, 0, 2000}}));

  // A descriptor wait goes through the hook too (unscaled: serial time-outs are scaled by their
  // owner), and the descriptor itself gives the answer afterwards.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  short revents = -1;
  EXPECT_EQ(platform::WaitForDescriptor(fds[0], POLLIN, 300, &revents), 0);
  EXPECT_EQ(revents, 0);
  ASSERT_EQ(write(fds[1], "x", 1), 1);
  EXPECT_EQ(platform::WaitForDescriptor(fds[0], POLLIN, 300, &revents), 1);
  EXPECT_NE(revents & POLLIN, 0);
  EXPECT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[1], (Call{fds[0], POLLIN, 300}));

  // Other threads wait plainly: on the descriptor itself, for the whole time when it stays silent.
  std::thread other([&] {
    platform::Sleep(20);
    char c = 0;
    ASSERT_EQ(read(fds[0], &c, 1), 1);
    const auto waitStart = Clock::now();
    EXPECT_EQ(platform::WaitForDescriptor(fds[0], POLLIN, 100, nullptr), 0);
    EXPECT_GE(Clock::now() - waitStart, std::chrono::milliseconds(95));
  });
  other.join();
  EXPECT_EQ(calls.size(), 3u);
  // The sleeps are recorded as asked, each with its thread, hook or not.
  EXPECT_EQ(testing_support::Waits(), "4000");
  EXPECT_EQ(testing_support::Waits(false), "20");
  close(fds[0]);
  close(fds[1]);
}

}  // namespace
