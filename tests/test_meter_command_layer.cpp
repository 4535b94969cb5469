// The meter command layer: the device-found guard, frames for the meter and its reply reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/window_test.h"

using testing_support::WindowTest;
using Lines = std::vector<std::string>;

class MeterCommandLayerTest : public WindowTest {
 protected:
  void FindMeter() {
    OpenAndSearch({"H0001A07"});
    ASSERT_TRUE(Main().DeviceFound());
  }
  // Sends a 3-byte read frame and reads the reply as the meter operations do.
  std::optional<link::Bytes> Exchange(const std::string& command, int32_t n, bool check) {
    auto frame = Main().BuildMeterCommand(command[0], command[1], true);
    EXPECT_TRUE(frame.has_value());
    EXPECT_TRUE(Main().GetPort()->Write(frame->data(), 3, true));
    Line().WaitForFrames(Line().Frames().size() + 1, std::chrono::seconds(2));
    return Main().ReadMeterReply(n, check);
  }
  int LogSize() { return Main().Memo1->Lines().Count(); }
};

TEST_F(MeterCommandLayerTest, NothingIsBuiltBeforeADeviceWasFound) {
  ClickCom(1);
  EXPECT_FALSE(Main().BuildMeterCommand('R', 'H', true));
  EXPECT_FALSE(Main().BuildMeterCommand('M', 'S', false));
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 2), (Lines{"Search for devices on the selected com port first",
                                                   "Search for devices on the selected com port first"}));
}

TEST_F(MeterCommandLayerTest, FramesAddressTheMeterWithTheChannelOfTheChannelBox) {
  FindMeter();
  const int before = LogSize();
  // "CH number": channel commands are refused without a line; device-level ones are built.
  EXPECT_FALSE(Main().BuildMeterCommand('M', 'S', false));
  EXPECT_EQ(Main().BuildMeterCommand('R', 'H', true), (link::CommandFrame{0xFE, 'R', 'H', '0'}));
  EXPECT_EQ(LogSize(), before);

  struct Case {
    int pick;  // item index picked, or -1 to type the text
    std::string typed;
    std::optional<uint8_t> channel;  // nothing: refused as "CH number" is
  };
  const std::vector<Case> cases = {
      {2, "", '3'}, {7, "", '8'}, {-1, " 5x", '5'}, {-1, "12", {}}, {-1, "x", {}}, {-1, "9", {}}, {-1, "-1", {}},
  };
  for (const auto& c : cases) {
    if (c.pick >= 0) {
      Main().ChannelSelect->UserPick(c.pick);
    } else {
      Main().ChannelSelect->UserType(c.typed);
    }
    EXPECT_EQ(Main().BuildMeterCommand('M', 'S', false),
              c.channel ? std::optional(link::CommandFrame{0xFE, 'M', 'S', *c.channel}) : std::nullopt)
        << Main().ChannelSelect->Text();
  }
}

TEST_F(MeterCommandLayerTest, ReplyReaderChecks) {
  FindMeter();
  struct Case {
    std::string reply;  // what the meter answers to RS
    int32_t n;
    bool check;
    bool accepted;
    std::string line;  // logged on refusal
  };
  const std::vector<Case> cases = {
      {"0.123", 5, true, true, ""},
      {"0.1", 5, true, true, ""},  // shorter than asked passes
      {"", 5, true, false, "Error while receiving data - Try again"},
      {"ER  x", 5, true, false, "Unable to perform the measurement - Check the probe connection and try again"},
      {"ER", 6, true, false, "Unable to perform the measurement - Check the probe connection and try again"},
      {"ER  x", 5, false, true, ""},  // unchecked: returned as read
      {"", 4, false, false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("reply \"" + c.reply + "\"");
    Line().SetHandler("RS", [reply = c.reply](const sim::ReceivedFrame&) -> std::optional<std::string> {
      if (reply.empty()) return std::nullopt;
      return reply;
    });
    const int before = LogSize();
    const auto reply = Exchange("RS", c.n, c.check);
    EXPECT_EQ(reply.has_value(), c.accepted);
    if (reply) {
      EXPECT_EQ(reply->Text(), c.reply);
    }
    if (c.line.empty()) {
      EXPECT_EQ(LogSize(), before);
    } else {
      EXPECT_EQ(Since(Main().Memo1->Lines(), before), (Lines{c.line}));
    }
  }
}
