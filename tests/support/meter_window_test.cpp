#include "tests/support/meter_window_test.h"

#include <fstream>
#include <iterator>

namespace testing_support {

void MeterWindowTest::FindMeter() {
  OpenAndSearch({"H0001A07"});
  ASSERT_TRUE(Main().DeviceFound());
  Line().ClearFrames();
  MarkLog();
}

std::string MeterWindowTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace testing_support
