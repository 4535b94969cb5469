#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/event.h"
#include "platform/timing.h"
#include "tests/support/time_scale.h"

namespace {

using platform::WaitResult;
using Clock = std::chrono::steady_clock;

class EventTest : public ::testing::Test {
 protected:
  testing_support::ScopedTimeScale scale_{0.05};
};

TEST_F(EventTest, SameNameSameEventAutoReset) {
  platform::EventHandle a = platform::CreateEventA("EventTestStop");
  platform::EventHandle b = platform::CreateEventA("EventTestStop");
  platform::EventHandle other = platform::CreateEventA("EventTestOther");
  ASSERT_TRUE(a && b && other);
  EXPECT_EQ(platform::WaitForSingleObject(a, 0), WaitResult::Timeout);
  EXPECT_TRUE(platform::SetEvent(b));
  EXPECT_EQ(platform::WaitForSingleObject(other, 0), WaitResult::Timeout);
  EXPECT_EQ(platform::WaitForSingleObject(a, 0), WaitResult::Signaled);
  EXPECT_EQ(platform::WaitForSingleObject(b, 0), WaitResult::Timeout);  // the wait cleared it
  platform::CloseHandle(a);
  platform::CloseHandle(b);
  platform::CloseHandle(other);
}

TEST_F(EventTest, TimeoutIsScaled) {
  platform::EventHandle e = platform::CreateEventA("EventTestTimeout");
  auto start = Clock::now();
  EXPECT_EQ(platform::WaitForSingleObject(e, 2000), WaitResult::Timeout);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_GE(ms, 95);
  EXPECT_LT(ms, 1000);
  platform::CloseHandle(e);
}

TEST_F(EventTest, SetFromAnotherThreadWakesTheWaiter) {
  platform::EventHandle e = platform::CreateEventA("EventTestWake");
  std::thread setter([] {
    platform::EventHandle mine = platform::CreateEventA("EventTestWake");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    platform::SetEvent(mine);
    platform::CloseHandle(mine);
  });
  EXPECT_EQ(platform::WaitForSingleObject(e, platform::kInfinite), WaitResult::Signaled);
  setter.join();
  platform::CloseHandle(e);
}

TEST_F(EventTest, ManualResetStaysSet) {
  platform::EventHandle e = platform::CreateEventA("EventTestManual", true, true);
  EXPECT_EQ(platform::WaitForSingleObject(e, 0), WaitResult::Signaled);
  EXPECT_EQ(platform::WaitForSingleObject(e, 0), WaitResult::Signaled);
  platform::CloseHandle(e);
}

TEST_F(EventTest, ClosedLastHandleForgetsTheEvent) {
  platform::EventHandle e = platform::CreateEventA("EventTestForget");
  platform::SetEvent(e);
  EXPECT_TRUE(platform::CloseHandle(e));
  EXPECT_FALSE(e.Valid());
  EXPECT_FALSE(platform::CloseHandle(e));
  EXPECT_FALSE(platform::SetEvent(e));
  EXPECT_EQ(platform::WaitForSingleObject(e, 0), WaitResult::Failed);
  platform::EventHandle fresh = platform::CreateEventA("EventTestForget");
  EXPECT_EQ(platform::WaitForSingleObject(fresh, 0), WaitResult::Timeout);
  platform::CloseHandle(fresh);
}

}  // namespace
