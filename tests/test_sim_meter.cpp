// The stand-in meter's reflectogram looks like a probe's: markers on the trace at the probe head
// and where the echo of the rods' end begins to rise.
#include <gtest/gtest.h>

#include "sim/meter.h"

namespace {

TEST(SimMeter, PlausibleReflectogramHasItsMarkersOnTheRods) {
  for (int travel : {120, 234, 500}) {
    SCOPED_TRACE(travel);
    const auto v = sim::MeterDevice::PlausibleReflectogram(200, travel);
    const int start = v[1024] / 10;
    const int end = v[1025] / 10;
    EXPECT_EQ(start, 200);
    EXPECT_EQ(end, 200 + travel);
    ASSERT_LT(end + 60, 1024);
    // Sent upside down: the head is a local minimum, the wet soil pulls the echo down (values
    // up), and the open end of the rods sends it up (values down).
    EXPECT_LT(v[start], v[start - 8]);
    EXPECT_GT(v[start + 20], v[start - 20]);
    EXPECT_LT(v[end + 60], v[end - 10] - 1000);
  }
}

}  // namespace
