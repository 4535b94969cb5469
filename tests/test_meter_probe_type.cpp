// Probe type and channel selection on the handheld meter: the mask read with RH and shown for
// the picked channel, the SP frame a click on the probe-type group sends, and their failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/log_lines.h"
#include "tests/support/meter_test.h"

namespace {

using namespace testing_support;
using Lines = std::vector<std::string>;

const char* const kReadFailure = "Error while reading probe configuration on current channel";

class MeterProbeTypeTest : public MeterTest {};

TEST_F(MeterProbeTypeTest, ChannelChangeShowsTheChannelsProbeTypeWithoutWriting) {
  struct Case {
    uint8_t mask;
    std::optional<std::string> reply;  // exact RH reply instead of the mask's digits
    int channel;
    int shown;
  };
  const std::vector<Case> cases = {
      {0x0C, {}, 3, 1}, {0x0C, {}, 2, 0},     {0x0C, {}, 4, 1},   {0x80, {}, 8, 1},
      {0x80, {}, 7, 0}, {0x00, "0CZZ", 3, 1}, {0x00, "01", 1, 1},
  };
  FindMeter();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mask) + " channel " + std::to_string(c.channel));
    Meter()->SetProbeTypeMask(c.mask);
    Meter()->SetProbeTypeReply(c.reply);
    Mark();
    Main().ChannelSelect->UserPick(c.channel - 1);
    EXPECT_EQ(Main().ProbeGroup->ItemIndex(), c.shown);
    EXPECT_EQ(Main().MeasTemp->Enabled(), c.shown == 0);
    EXPECT_TRUE(Main().ProbeGroup->Enabled());
    EXPECT_EQ(Commands(), Lines{"RH"});
    EXPECT_EQ(Raw("RH"), WithPreamble({0xFE, 'R', 'H'}));
    EXPECT_TRUE(NewLines().empty());
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  }
}

TEST_F(MeterProbeTypeTest, ClickWritesTheMaskWithTheChannelsBitChanged) {
  struct Case {
    uint8_t mask;
    int channel;  // 0: none picked
    int pick;
    std::string digits;
  };
  const std::vector<Case> cases = {
      {0x0C, 6, 1, "2C"}, {0x0C, 4, 0, "04"}, {0x0C, 3, 1, "0C"}, {0xFF, 8, 0, "7F"}, {0x00, 1, 1, "01"},
  };
  FindMeter();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.digits);
    Meter()->SetProbeTypeMask(c.mask);
    PickChannel(c.channel);
    Main().ProbeGroup->UserPick(c.pick);
    Line().WaitForFrames(2, std::chrono::seconds(1));  // SP has no reply to wait for
    ASSERT_EQ(Commands(), (Lines{"RH", "SP"}));
    EXPECT_EQ(Raw("SP"), WithPreamble({0xFE, 'S', 'P', uint8_t(c.digits[0]), uint8_t(c.digits[1]), '0', '0'}));
    EXPECT_EQ(testing_support::Waits(), "20 r204 100");  // the mask read, then 100 ms before SP
    EXPECT_EQ(Meter()->ProbeTypeMask(), std::stoi(c.digits, nullptr, 16));
    EXPECT_EQ(Main().MeasTemp->Enabled(), c.pick == 0);
    EXPECT_TRUE(NewLines().empty());
  }
}

TEST_F(MeterProbeTypeTest, ClickWithoutAChannelSendsTheMaskUnchanged) {
  FindMeter();
  Meter()->SetProbeTypeMask(0xA5);
  Main().ProbeGroup->UserPick(1);
  Line().WaitForFrames(2, std::chrono::seconds(1));
  ASSERT_EQ(Commands(), (Lines{"RH", "SP"}));
  EXPECT_EQ(Raw("SP"), WithPreamble({0xFE, 'S', 'P', 'A', '5', '0', '0'}));
  EXPECT_EQ(Meter()->ProbeTypeMask(), 0xA5);
  EXPECT_FALSE(Main().MeasTemp->Enabled());
}

TEST_F(MeterProbeTypeTest, AFailedReadShowsNothingAndSendsNothing) {
  struct Case {
    std::string name;
    sim::Fault fault;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {"no reply", sim::Fault::Silent(), {"Error while receiving data - Try again", kReadFailure}},
      {"ER",
       sim::Fault::Er(),
       {"Unable to perform the measurement - Check the probe connection and try again", kReadFailure}},
      {"lower case", sim::Fault::Custom("0c00"), {kReadFailure}},
      {"one character", sim::Fault::Custom("C"), {kReadFailure}},
      {"not hexadecimal", sim::Fault::Custom("G100"), {kReadFailure}},
  };
  FindMeter();
  Meter()->SetProbeTypeMask(0x04);
  PickChannel(3);
  ASSERT_EQ(Main().ProbeGroup->ItemIndex(), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Line().InjectFault("RH", c.fault);
    // A click: the meter keeps its type, and so does the group.
    Mark();
    Main().ProbeGroup->UserPick(0);
    EXPECT_EQ(NewLines(), c.lines);
    EXPECT_EQ(Commands(), Lines{"RH"});
    EXPECT_EQ(Main().ProbeGroup->ItemIndex(), 1);
    EXPECT_FALSE(Main().MeasTemp->Enabled());
    // A channel change: the group keeps what it showed.
    Mark();
    Main().ChannelSelect->UserPick(0);
    EXPECT_EQ(NewLines(), c.lines);
    EXPECT_EQ(Main().ProbeGroup->ItemIndex(), 1);
    EXPECT_TRUE(Main().ProbeGroup->Enabled());
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
    Line().ClearFaults();
    PickChannel(3);
  }
  // Read but not written back: the meter keeps its type, and so does the group.
  Line().InjectFault("SP", sim::Fault::LostWrite());
  Mark();
  Main().ProbeGroup->UserPick(0);
  EXPECT_EQ(NewLines(), (Lines{kSendFailure, kCheckChannel}));
  EXPECT_EQ(Commands(), Lines{"RH"});
  EXPECT_EQ(Main().ProbeGroup->ItemIndex(), 1);
  EXPECT_EQ(Meter()->ProbeTypeMask(), 0x04);
}

TEST_F(MeterProbeTypeTest, WithoutADeviceNothingIsSent) {
  FindMeter();
  PickChannel(2);
  Line().SetDeviceIds({});
  Main().search->Click();
  Mark();
  Main().ProbeGroup->UserPick(1);
  const Lines failure = {"Search for devices on the selected com port first",
                         "Unable to send data or no response from the device - Try again",
                         "Check the selected channel configuration"};
  EXPECT_EQ(NewLines(), failure);
  EXPECT_EQ(Main().ProbeGroup->ItemIndex(), 0);
  EXPECT_TRUE(Main().MeasTemp->Enabled());
  Mark();
  Main().ChannelSelect->UserPick(4);
  EXPECT_EQ(NewLines(), failure);
  EXPECT_TRUE(Commands().empty());
}

}  // namespace
