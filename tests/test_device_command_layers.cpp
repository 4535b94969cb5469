// The station window's reply reader and the modem window's frame builder.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "formatka2/formatka2.h"
#include "formatka4/formatka4.h"
#include "tests/support/window_test.h"

using testing_support::WindowTest;
using Lines = std::vector<std::string>;

class DeviceCommandLayerTest : public WindowTest {};

TEST_F(DeviceCommandLayerTest, StationReplyReader) {
  OpenAndSearch({"T0001A01"});
  ASSERT_NE(StationWindow, nullptr);
  TModule2& w = *StationWindow;
  struct Case {
    std::optional<std::string> reply;
    bool check;
    std::optional<std::string> expected;
    Lines logged;
  };
  const std::string erLine = "Unable to perform the measurement - Check the probe connection and try again";
  const std::vector<Case> cases = {
      {"12.5", true, "12.5", {}},
      {"ER01", true, std::nullopt, {erLine}},
      {"ER01", false, "ER01", {}},
      {std::nullopt, true, std::nullopt, {}},  // nothing came: the caller reports it
  };
  for (const auto& c : cases) {
    Line().SetHandler("RN", [reply = c.reply](const sim::ReceivedFrame&) { return reply; });
    const auto frame = w.BuildStationCommand('R', 'N', true);
    ASSERT_TRUE(frame);
    const int before = w.Memo1->Lines().Count();
    ASSERT_TRUE(w.Port->Write(frame->data(), 3, true));
    const auto got = w.ReadStationReply(6, c.check);
    EXPECT_EQ(got ? std::optional<std::string>(got->Text()) : std::nullopt, c.expected);
    EXPECT_EQ(Since(w.Memo1->Lines(), before), c.logged);
  }
}

TEST_F(DeviceCommandLayerTest, ModemFramesCarryNoChannel) {
  OpenAndSearch({"G0001AA3"});
  ASSERT_NE(ModemWindow, nullptr);
  EXPECT_EQ(ModemWindow->BuildModemCommand('S', '4'), (link::CommandFrame{0xA3, 'S', '4', 0x00}));
  // The address is read again at every call.
  ModemWindow->DeviceSelect->SetText("G0001A1F");
  EXPECT_EQ(ModemWindow->BuildModemCommand('S', '0'), (link::CommandFrame{0x1F, 'S', '0', 0x00}));
  ModemWindow->DeviceSelect->SetText("G0001Ax3");
  EXPECT_EQ(ModemWindow->BuildModemCommand('S', '0'), std::nullopt);
}
