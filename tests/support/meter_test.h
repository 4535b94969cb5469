// A fixture for the handheld meter's operations: a meter found on COM1 at 0xFE, a channel picked,
// and the log lines, frames and waits since the last mark.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/meter.h"
#include "tests/support/window_test.h"

namespace testing_support {

class MeterTest : public WindowTest {
 protected:
  using Lines = std::vector<std::string>;

  // Opens COM1 and finds the meter; the log and the frames start afresh.
  void FindMeter() {
    OpenAndSearch({"H0001AFE"});
    ASSERT_TRUE(Main().DeviceFound());
    Mark();
  }
  // Picks a channel (1 to 8) as the user does, then starts afresh.
  void PickChannel(int channel) {
    Main().ChannelSelect->UserPick(channel - 1);
    Mark();
  }
  // Finds the meter and picks a channel.
  void Ready(int channel = 1) {
    FindMeter();
    PickChannel(channel);
  }
  // The log, the frames and the waits start afresh.
  void Mark() {
    Line().ClearFrames();
    ClearWaits();
    mark_ = Main().Memo1->Lines().Count();
  }
  // Log lines since the last mark.
  Lines NewLines() { return Since(Main().Memo1->Lines(), mark_); }

  std::shared_ptr<sim::MeterDevice> Meter() { return Line().Get<sim::MeterDevice>(0xFE); }
  // Commands of the frames received since the last mark ("MS", "RS", ...).
  Lines Commands() {
    Lines commands;
    for (const sim::ReceivedFrame& f : Line().Frames()) commands.push_back(f.command);
    return commands;
  }
  // The frame of a command since the last mark (the first one), as received with its preamble.
  std::vector<uint8_t> Raw(const std::string& command) {
    for (const sim::ReceivedFrame& f : Line().Frames()) {
      if (f.command == command) return f.raw;
    }
    return {};
  }

 private:
  int mark_ = 0;
};

}  // namespace testing_support
