#include "tests/support/station_test.h"

#include <chrono>

namespace testing_support {

void StationTest::OpenStationWindow(const std::vector<std::string>& ids) {
  OpenAndSearch(ids);
  ASSERT_NE(StationWindow, nullptr);
  Mark();
}

StationTest::Lines StationTest::Logged() { return Since(Window().Memo1->Lines(), logMark_); }

std::vector<sim::ReceivedFrame> StationTest::SentFrames(size_t atLeast) {
  Line().WaitForFrames(atLeast, std::chrono::seconds(2));
  return Line().Frames();
}

std::vector<std::string> StationTest::Sent(size_t atLeast) {
  std::vector<std::string> commands;
  for (const sim::ReceivedFrame& f : SentFrames(atLeast)) commands.push_back(f.command);
  return commands;
}

void StationTest::Mark() {
  Line().ClearFrames();
  ClearWaits();
  if (StationWindow) logMark_ = StationWindow->Memo1->Lines().Count();
}

void StationTest::ChooseChannel(const std::string& text) { Window().ChannelSelect->UserType(text); }

}  // namespace testing_support
