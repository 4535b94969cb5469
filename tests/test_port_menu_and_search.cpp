// The "COM ports" menu and the device search, against the stand-in instruments.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "formatka2/formatka2.h"
#include "formatka4/formatka4.h"
#include "platform/serial.h"
#include "tests/support/time_scale.h"
#include "tests/support/window_test.h"

using testing_support::WindowTest;
using testing_support::WithPreamble;
using Lines = std::vector<std::string>;

namespace {

ui::MenuItem* ComItem(TModule1& w, int n) { return ui::FindAs<ui::MenuItem>(w, "COM" + std::to_string(n) + "1"); }

// Identifiers of a given kind letter with addresses 01, 02, ...
std::vector<std::string> Ids(char kind, int count) {
  std::vector<std::string> ids;
  for (int i = 1; i <= count; ++i) {
    char buf[16];
    snprintf(buf, sizeof buf, "%c0001A%02X", kind, i & 0xFF);
    ids.emplace_back(buf);
  }
  return ids;
}

bool MeterMenusVisible(TModule1& w) {
  return w.Savemeasurementresults1->Visible() && w.ExportmeasurementresultstoMSExcel1->Visible() &&
         w.Calibration1->Visible() && w.Measurement1->Visible() && w.Read1->Visible() && w.Memorybanks1->Visible();
}

bool MeterMenusHidden(TModule1& w) {
  return !w.Savemeasurementresults1->Visible() && !w.ExportmeasurementresultstoMSExcel1->Visible() &&
         !w.Calibration1->Visible() && !w.Measurement1->Visible() && !w.Read1->Visible() && !w.Memorybanks1->Visible();
}

}  // namespace

class PortMenuTest : public WindowTest {};

TEST_F(PortMenuTest, OpensRefusesOtherPortAndCloses) {
  ClickCom(1);
  EXPECT_EQ(MainLog(), (Lines{"Opening port: COM1", "Port COM1 opened"}));
  EXPECT_TRUE(ComItem(Main(), 1)->Checked());
  EXPECT_EQ(Main().Opened_port->Caption(), "COM1");
  EXPECT_TRUE(Main().GetPort()->IsOpen());

  // Another port while COM1 is open: nothing happens, nothing is logged.
  ClickCom(5);
  EXPECT_EQ(MainLog().size(), 2u);
  EXPECT_FALSE(ComItem(Main(), 5)->Checked());
  EXPECT_TRUE(ComItem(Main(), 1)->Checked());
  EXPECT_TRUE(Main().GetPort()->IsOpen());

  ClickCom(1);
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 2), (Lines{"Closing port: COM1", "Port COM1 closed"}));
  EXPECT_FALSE(ComItem(Main(), 1)->Checked());
  EXPECT_EQ(Main().Opened_port->Caption(), "none");
  EXPECT_FALSE(Main().GetPort()->IsOpen());
}

TEST_F(PortMenuTest, UnavailablePortStaysClosedAndCanBeTriedAgain) {
  // COM2 points at a device that does not exist.
  ASSERT_EQ(symlink("/dev/does-not-exist-qvusb", (PortsDir() + "/COM2").c_str()), 0);
  ClickCom(2);
  EXPECT_EQ(MainLog(), (Lines{"Opening port: COM2", "Port COM2 is unavailable"}));
  EXPECT_FALSE(ComItem(Main(), 2)->Checked());
  EXPECT_FALSE(Main().GetPort()->IsOpen());
  EXPECT_EQ(Main().Opened_port->Caption(), "none");

  ClickCom(2);
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 2), (Lines{"Opening port: COM2", "Port COM2 is unavailable"}));

  // A port that is not a character device is refused the same way.
  const std::string plain = PortsDir() + "/plain-file";
  FILE* f = fopen(plain.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fclose(f);
  ASSERT_EQ(symlink(plain.c_str(), (PortsDir() + "/COM3").c_str()), 0);
  ClickCom(3);
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 2), (Lines{"Opening port: COM3", "Port COM3 is unavailable"}));
  // So is a port whose time-outs do not take; it is released for the next try.
  using platform::SerialStep;
  platform::SetSerialFaultHook([](SerialStep s, const uint8_t*, size_t) { return s == SerialStep::SetTimeouts; });
  ClickCom(1);
  platform::SetSerialFaultHook(nullptr);
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 2), (Lines{"Opening port: COM1", "Port COM1 is unavailable"}));
  EXPECT_FALSE(ComItem(Main(), 1)->Checked());
  ClickCom(1);
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 1), (Lines{"Port COM1 opened"}));
}

class SearchTest : public WindowTest {};

TEST_F(SearchTest, RefusedWithoutAnOpenPort) {
  Main().search->Click();
  EXPECT_EQ(MainLog(), (Lines{"Select port before serching for devices"}));
  EXPECT_TRUE(Line().Frames().empty());
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(SearchTest, SendsTheSearchFrameAfterTheWakePreamble) {
  OpenAndSearch({});
  ASSERT_TRUE(Line().WaitForFrames(1, std::chrono::seconds(2)));
  const auto frames = Line().Frames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].raw, WithPreamble({0x00, 'B'}));
  EXPECT_EQ(frames[0].command, "B");
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 2), (Lines{"Searching for devices on port: COM1", "No devices found"}));
  // The hourglass was shown meanwhile and the cursor is back.
  EXPECT_NE(std::find(Backend().CursorChanges().begin(), Backend().CursorChanges().end(), ui::Cursor::HourGlass),
            Backend().CursorChanges().end());
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(SearchTest, TheReplyIsReadAfterAWaitOf100Ms) {
  // At the program's own time scale: the wait, then one read of up to 256 bytes with its
  // time-outs (200 ms plus 1 ms per byte when nothing comes).
  testing_support::ScopedTimeScale realTime(1.0);
  using Ms = std::chrono::milliseconds;
  struct Case {
    int replyAfterMs;  // -1: nobody answers
    bool heard;
  };
  const Case cases[] = {{60, true}, {-1, false}, {700, false}};  // the late reply last: it comes after the search
  for (const Case& c : cases) {
    SCOPED_TRACE(c.replyAfterMs);
    Line().SetDeviceIds(c.replyAfterMs < 0 ? std::vector<std::string>{} : std::vector<std::string>{"H0001AFE"});
    Line().SetReplyDelay(Ms(std::max(c.replyAfterMs, 0)));
    ClickCom(1);
    testing_support::ClearWaits();
    Main().search->Click();
    EXPECT_EQ(Tail(Main().Memo1->Lines(), 1), (Lines{c.heard ? "H0001AFE" : "No devices found"}));
    EXPECT_EQ(testing_support::Waits(), "100 r456");
    ClickCom(1);
  }
}

// A stand-in whose answer comes later than a scaled read time-out, as a loaded machine may make it:
// the tests' reads wait for it.
TEST_F(SearchTest, ALateStandInIsWaitedFor) {
  Line().SetHandler("B", [](const sim::ReceivedFrame&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return std::optional<std::string>("H0001AFE");
  });
  OpenAndSearch({});
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 1), Lines{"H0001AFE"});
}

TEST_F(SearchTest, EveryPathPutsTheCursorBack) {
  for (const char* id : {"H0001AFE", "T0001A01", "G0001A10", "X0001A01"}) {
    SCOPED_TRACE(id);
    const auto before = static_cast<std::ptrdiff_t>(Backend().CursorChanges().size());
    OpenAndSearch({id});
    // This search showed the hourglass, not only an earlier one.
    EXPECT_NE(
        std::find(Backend().CursorChanges().begin() + before, Backend().CursorChanges().end(), ui::Cursor::HourGlass),
        Backend().CursorChanges().end());
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
    EXPECT_EQ(Backend().CursorChanges().back(), ui::Cursor::Default);
    // Back to the main window with the port closed, for the next path.
    if (StationWindow && StationWindow->Visible()) StationWindow->Back->Click();
    if (ModemWindow && ModemWindow->Visible()) ModemWindow->Exitprogram1->Click();
    if (Main().GetPort()->IsOpen()) ClickCom(1);
  }
}

TEST_F(SearchTest, ReplyLengths) {
  struct Case {
    std::string reply;
    Lines tail;  // the last lines of the log
  };
  const std::string meter = "H0001AFE";
  const std::vector<Case> cases = {
      {"", {"Searching for devices on port: COM1", "No devices found"}},
      {"H0001AF", {"Searching for devices on port: COM1", "No devices found"}},
      {meter, {"Found devices:", meter}},
      {meter + "T0001", {"Found devices:", meter}},  // 13 bytes: one identifier
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("reply of " + std::to_string(c.reply.size()) + " bytes");
    Line().SetSearchReplyRaw(c.reply);
    ClickCom(1);
    Main().search->Click();
    const auto log = Main().Memo1->Lines();
    EXPECT_EQ(Tail(log, static_cast<int>(c.tail.size())), c.tail);
    EXPECT_EQ(Main().DeviceFound(), !c.tail.empty() && c.tail.back() == meter);
    ClickCom(1);  // close again
  }
}

TEST_F(SearchTest, HandheldMeterShowsItsControls) {
  OpenAndSearch({"H0001AFE", "T0001A01"});
  EXPECT_EQ(Main().DeviceName->Caption(), "H0001AFE");
  EXPECT_EQ(Main().Caption(), "TDR/KAV/qrz");
  EXPECT_TRUE(MeterMenusVisible(Main()));
  EXPECT_TRUE(Main().GroupBox3->Visible());
  EXPECT_TRUE(Main().GroupBox4->Visible());
  EXPECT_FALSE(Main().BLogo->Visible());
  EXPECT_TRUE(Main().DeviceFound());
  EXPECT_TRUE(Main().Visible());
  // Only the first identifier counts.
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 2), (Lines{"Found devices:", "H0001AFE"}));

  // A later search that finds nothing clears the flag; the menus stay.
  Line().SetDeviceIds({});
  Main().search->Click();
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 1), (Lines{"No devices found"}));
  EXPECT_FALSE(Main().DeviceFound());
  EXPECT_EQ(Main().DeviceName->Caption(), "none");
  EXPECT_TRUE(MeterMenusVisible(Main()));
  EXPECT_FALSE(Main().CheckDeviceFound());
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 1), (Lines{"Search for devices on the selected com port first"}));

  // Closing the port hides the meter's controls again; the caption stays.
  ClickCom(1);
  EXPECT_TRUE(MeterMenusHidden(Main()));
  EXPECT_FALSE(Main().GroupBox3->Visible());
  EXPECT_TRUE(Main().BLogo->Visible());
  EXPECT_EQ(Main().Caption(), "TDR/KAV/qrz");
}

TEST_F(SearchTest, UnsupportedDeviceChangesNothing) {
  OpenAndSearch({"X0001A01"});
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 2),
            (Lines{"Found devices:", "The device is not supported by this program version"}));
  EXPECT_FALSE(Main().DeviceFound());
  EXPECT_FALSE(Main().GroupBox3->Visible());
  EXPECT_TRUE(Main().BLogo->Visible());
  EXPECT_TRUE(MeterMenusHidden(Main()));
  EXPECT_EQ(StationWindow, nullptr);
  EXPECT_EQ(ModemWindow, nullptr);
}

TEST_F(SearchTest, UnsupportedDeviceAfterAMeterKeepsTheMeter) {
  OpenAndSearch({"H0001AFE"});
  Line().SetDeviceIds({"Z0001A01"});
  Main().search->Click();
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 1), (Lines{"The device is not supported by this program version"}));
  EXPECT_TRUE(Main().DeviceFound());
  EXPECT_TRUE(Main().GroupBox3->Visible());
  EXPECT_FALSE(Main().BLogo->Visible());
  EXPECT_EQ(Main().DeviceName->Caption(), "none");
}

TEST_F(SearchTest, UnwritableLineIsReported) {
  ClickCom(1);
  HangUpLine();
  Main().search->Click();
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 2), (Lines{"Searching for devices on port: COM1",
                                                   "Unable to send data or no response from the device - Try again"}));
  EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
}

TEST_F(SearchTest, FullReplyOf256BytesGives32Identifiers) {
  const auto ids = Ids('T', 32);
  std::string raw;
  for (const auto& id : ids) raw += id;
  raw += "T0001AFF";  // beyond 256 bytes: never read
  Line().SetSearchReplyRaw(raw);
  ClickCom(1);
  Main().search->Click();
  ASSERT_NE(StationWindow, nullptr);
  EXPECT_EQ(StationWindow->DeviceSelect->Items().Items(), ids);
  Lines expected{"Found devices:"};
  expected.insert(expected.end(), ids.begin(), ids.end());
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 33), expected);
}

TEST_F(SearchTest, ModemReplyOpensTheModemWindow) {
  OpenAndSearch({"G0001AA3", "T0001A01"});
  ASSERT_NE(ModemWindow, nullptr);
  EXPECT_FALSE(Main().Visible());
  EXPECT_TRUE(ModemWindow->Visible());
  EXPECT_EQ(ModemWindow->DeviceSelect->Text(), "G0001AA3");
  EXPECT_EQ(Tail(Main().Memo1->Lines(), 3), (Lines{"Found devices:", "G0001AA3", "T0001A01"}));
  EXPECT_EQ(ModemWindow->Memo1->Lines().Items(), MainLog());
  EXPECT_EQ(StationWindow, nullptr);
}

TEST_F(SearchTest, ANewSearchReplacesTheDeviceWindow) {
  OpenAndSearch({"T0001A01"});
  ASSERT_NE(StationWindow, nullptr);
  StationWindow->Back->Click();
  ClickCom(1);
  Line().SetDeviceIds({"T0001A02"});
  Main().search->Click();
  ASSERT_NE(StationWindow, nullptr);
  EXPECT_EQ(StationWindow->DeviceSelect->Text(), "T0001A02");
  int stationWindows = 0;
  for (int i = 0; i < Main().ComponentCount(); ++i)
    stationWindows += dynamic_cast<TModule2*>(Main().Components(i)) != nullptr;
  EXPECT_EQ(stationWindows, 1);
}
