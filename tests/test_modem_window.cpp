// The modem window against the stand-in modem: mode commands, reading the settings ("ON") and
// writing them ("Set").
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/log_texts.h"
#include "formatka4/formatka4.h"
#include "main/main.h"
#include "sim/modem.h"
#include "tests/support/window_test.h"
#include "ui/application.h"

namespace {

using testing_support::Waits;
using testing_support::WindowTest;
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

const std::string kWake(23, '\xFF');
std::string ModeFrame(char digit, char address = '\xA3') { return kWake + address + 'S' + digit; }

const Lines kWakeLog = {">>VORN-2\r\n<<", ">>\r\nOK\r\n<<", ">>\r\nOK\r\n<<", "The modem is turned on"};
const char* const kFailed = "Serial Communication with VORN-2 failed";

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Every test starts in the window of the modem at 0xA3, with no frame on record yet.
class ModemWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    OpenAndSearch({"G0001AA3"});
    ASSERT_NE(ModemWindow, nullptr);
    Line().ClearFrames();
    testing_support::ClearWaits();
  }
  TModule4& Window() { return *ModemWindow; }
  std::shared_ptr<sim::ModemDevice> Modem() { return Line().Get<sim::ModemDevice>(0xA3); }

  // Clicks a button of the window and returns the log lines the click added.
  Lines Click(TModule4& w, ui::Button* button) {
    const int before = w.Memo1->Lines().Count();
    cursorsBefore_ = Backend().CursorChanges().size();
    button->Click();
    return Since(w.Memo1->Lines(), before);
  }
  // The hourglass was shown during the last click and the cursor is back.
  void ExpectCursorRestored() {
    const auto& changes = Backend().CursorChanges();
    ASSERT_GT(changes.size(), cursorsBefore_);
    EXPECT_EQ(changes[cursorsBefore_], ui::Cursor::HourGlass);
    EXPECT_EQ(ui::GetScreen().GetCursor(), ui::Cursor::Default);
  }
  // Each frame or text line that reached the line, as sent, once `count` of them came.
  Lines Sent(size_t count) {
    Line().WaitForFrames(count, 2s);
    Lines out;
    for (const auto& f : Line().Frames()) out.emplace_back(f.raw.begin(), f.raw.end());
    return out;
  }
  // Fills the nine edits as the user types.
  static void Type(TModule4& w, const std::vector<std::string>& nine) {
    ui::Edit* edits[] = {w.NameEdit, w.PinEdit,  w.GPRSEdit0, w.GPRSEdit1,    w.GPRSEdit2,
                         w.FTPEdit0, w.FTPEdit1, w.FTPEdit2,  w.TimeSaddrEdit};
    for (size_t i = 0; i < nine.size(); ++i) edits[i]->UserType(nine[i]);
  }
  static Lines Show1Edits(TModule4& w) {
    return {w.NameEdit->Text(), w.GPRSEdit0->Text(), w.GPRSEdit1->Text(), w.GPRSEdit2->Text(),
            w.FTPEdit0->Text(), w.FTPEdit1->Text(),  w.FTPEdit2->Text(),  w.TimeSaddrEdit->Text()};
  }

  size_t cursorsBefore_ = 0;
};

const sim::ModemSettings kSettings = {"station-07", "internet.apn", "gprsuser",        "gprs pw", "ftp.example.org",
                                      "logger",     "p\"a,ss",      "ntp.example.org", "0042"};
const Lines kSettingsShown = {"station-07",      "internet.apn", "gprsuser", "gprs pw",
                              "ftp.example.org", "logger",       "p\"a,ss",  "ntp.example.org"};

// --- Mode commands ------------------------------------------------------------------------------

TEST_F(ModemWindowTest, ModeButtonsSendOneFrameEachAndReadNothing) {
  TModule4& w = Window();
  // The four test buttons wrap their captions; "Set" keeps its style.
  for (ui::Button* b : {w.S4Button, w.S0Button, w.S1Button, w.S2Button}) {
    EXPECT_NE(ui::GetWindowLongA(b, ui::GWL_STYLE) & ui::BS_MULTILINE, 0) << b->Name();
  }
  EXPECT_EQ(ui::GetWindowLongA(w.SetButton, ui::GWL_STYLE) & ui::BS_MULTILINE, 0);
  struct Case {
    ui::Button* button;
    char digit;
    const char* line;
    sim::ModemDevice::Mode mode;
  };
  const std::vector<Case> cases = {
      {w.S0Button, '0', "The modem has turned off", sim::ModemDevice::Mode::Off},
      {w.S1Button, '1', "The modem is turned on", sim::ModemDevice::Mode::Script},
      {w.S2Button, '2', "The modem is turned on and attempting to connect with the server",
       sim::ModemDevice::Mode::Server},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button->Caption());
    Line().ClearFrames();
    testing_support::ClearWaits();
    EXPECT_EQ(Click(w, c.button), Lines{c.line});
    EXPECT_EQ(Waits(), "");  // no reply is awaited
    ExpectCursorRestored();
    EXPECT_EQ(Sent(1), Lines{ModeFrame(c.digit)});
    EXPECT_EQ(Sent(1)[0].size(), 26u);
    EXPECT_EQ(Modem()->CurrentMode(), c.mode);
  }
  EXPECT_EQ(Modem()->ModeFrames(), (Lines{"S0", "S1", "S2"}));
}

TEST_F(ModemWindowTest, ModeFramesFollowTheShownIdentifierAndOnlyTheWriteCounts) {
  TModule4& w = Window();
  // Nobody at 0x1F: the frame still goes out and counts as done.
  w.DeviceSelect->SetText("G0001A1F");
  EXPECT_EQ(Click(w, w.S2Button), Lines{"The modem is turned on and attempting to connect with the server"});
  EXPECT_EQ(Sent(1), Lines{ModeFrame('2', '\x1F')});

  // An identifier without an address gives no frame.
  Line().ClearFrames();
  w.DeviceSelect->SetText("G0001Axx");
  EXPECT_EQ(Click(w, w.S0Button), Lines{kSendFailureLine});
  ExpectCursorRestored();

  // A line that takes nothing.
  w.DeviceSelect->SetText("G0001AA3");
  HangUpLine();
  EXPECT_EQ(Click(w, w.S1Button), Lines{kSendFailureLine});
  ExpectCursorRestored();
}

// --- Reading the settings -----------------------------------------------------------------------

TEST_F(ModemWindowTest, OnWakesTheModemAndFillsTheNineEdits) {
  TModule4& w = Window();
  Modem()->SetSettings(kSettings);
  EXPECT_EQ(Click(w, w.S4Button), kWakeLog);  // no closing line, no S0
  ExpectCursorRestored();
  EXPECT_EQ(Show1Edits(w), kSettingsShown);
  EXPECT_EQ(w.PinEdit->Text(), "0042");

  EXPECT_EQ(Sent(5), (Lines{ModeFrame('4'), "aten\r", "at\r", "at+show1\r", "at+show2\r"}));
  EXPECT_EQ(Modem()->CurrentMode(), sim::ModemDevice::Mode::AtCommands);
  // 300 ms before each poll of the three answers (one poll each unless the machine is slow), then
  // 1000 ms before the first settings read and 300 ms before the second.
  EXPECT_THAT(Waits(), testing::MatchesRegex("(300 r456 ){3,}1000 r456 300 r456"));
}

TEST_F(ModemWindowTest, OnTakesEachValueAsTheModemLaysItOut) {
  sim::ModemSettings longValues;
  const char* fills = "ABCDEFGH";
  std::string sim::ModemSettings::*fields[] = {&sim::ModemSettings::name,        &sim::ModemSettings::apn,
                                               &sim::ModemSettings::user,        &sim::ModemSettings::password,
                                               &sim::ModemSettings::ftpServer,   &sim::ModemSettings::ftpLogin,
                                               &sim::ModemSettings::ftpPassword, &sim::ModemSettings::timeServer};
  for (int i = 0; i < 8; ++i) longValues.*fields[i] = std::string(30, fills[i]);
  const std::string thirty(30, ' ');
  // Split where a hex escape would otherwise take the letters after it.
  const std::string eightBitName =
      "M\xF6"
      "dem \xB0";

  struct Case {
    const char* what;
    sim::ModemSettings settings;
    bool echo, blank;
    Lines shown;
    std::string pin;
  };
  const std::vector<Case> cases = {
      {"echoed commands", kSettings, true, false, kSettingsShown, "0042"},
      {"a blank after =",
       kSettings,
       false,
       true,
       {" station-07", " internet.apn", " gprsuser", " gprs pw", " ftp.example.org", " logger", " p\"a,ss",
        " ntp.example.org"},
       "0042"},  // the mask drops the blank
      // 347 bytes: the read takes 256, which end inside the FTP login.
      {"cut at 256 bytes",
       longValues,
       false,
       false,
       {std::string(30, 'A'), std::string(30, 'B'), std::string(30, 'C'), std::string(30, 'D'), std::string(30, 'E'),
        "", "", ""},
       "1234"},
      {"8-bit text",
       {eightBitName, "apn", "u", "p", "f", "l", "\xE4\xF6\xFC", "t", "9876"},
       false,
       false,
       {eightBitName, "apn", "u", "p", "f", "l", "\xE4\xF6\xFC", "t"},
       "9876"},
  };
  TModule4& w = Window();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Modem()->SetSettings(c.settings);
    Modem()->SetEcho(c.echo);
    Modem()->SetBlankAfterEquals(c.blank);
    const Lines log = Click(w, w.S4Button);
    EXPECT_EQ(log.back(), "The modem is turned on");
    EXPECT_EQ(Show1Edits(w), c.shown);
    EXPECT_EQ(w.PinEdit->Text(), c.pin);
  }
}

TEST_F(ModemWindowTest, OnClearsTheValuesOfAReplyThatBroughtNoneAndSaysSo) {
  TModule4& w = Window();
  Modem()->SetSettings(kSettings);
  struct Case {
    const char* command;
    sim::Fault fault;
    Lines shown;
    std::string pin;
  };
  const std::vector<Case> cases = {
      {"at+show1", sim::Fault::Silent(1), Lines(8), "0042"},
      {"at+show2", sim::Fault::Short(11, 1), kSettingsShown, ""},  // cut before the line after the PIN
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    Type(w, {"old", "1111", "old", "old", "old", "old", "old", "old", "old"});
    Line().InjectFault(c.command, c.fault);
    EXPECT_EQ(Click(w, w.S4Button), Concat({kWakeLog, {kFailed}}));
    EXPECT_EQ(Show1Edits(w), c.shown);
    EXPECT_EQ(w.PinEdit->Text(), c.pin);
  }
}

TEST_F(ModemWindowTest, WakeAnswerInPiecesIsGathered) {
  TModule4& w = Window();
  // "VO" in one read, "RN" in a later one.
  Line().InjectFault("S4", sim::Fault::Pieces(2, 200ms, 1));
  const Lines log = Click(w, w.S4Button);
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0], ">>VO<<");
  EXPECT_EQ(log[1], ">>VORN<<");  // the whole text gathered, not only the new bytes
  EXPECT_EQ(log.back(), "The modem is turned on");
  EXPECT_EQ(Show1Edits(w)[0], "VORN2-field-01");
}

TEST_F(ModemWindowTest, WakeWaitsForAnUpperCaseOkAfterEachLine) {
  struct Case {
    const char* command;
    std::string answer;
    Lines log;
    Lines sent;
  };
  const std::vector<Case> cases = {
      // "OK" inside a longer word still acknowledges. Control bytes are logged as '?'; TAB, CR, LF
      // and 8-bit text as they came.
      {"aten",
       std::string("\r\n\0\x1B[2J\x7F\x0B\x0C\x1F\tBOOKED\xE4\r\n", 21),
       {">>VORN-2\r\n<<", ">>\r\n??[2J????\tBOOKED\xE4\r\n<<", ">>\r\nOK\r\n<<", "The modem is turned on"},
       {ModeFrame('4'), "aten\r", "at\r", "at+show1\r", "at+show2\r"}},
      // Lower case does not: the wait runs out and nothing follows.
      {"at",
       "\r\nok\r\n",
       {">>VORN-2\r\n<<", ">>\r\nOK\r\n<<", ">>\r\nok\r\n<<", kFailed},
       {ModeFrame('4'), "aten\r", "at\r"}},
  };
  TModule4& w = Window();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    Line().ClearFrames();
    w.NameEdit->SetText("kept");
    Line().InjectFault(c.command, sim::Fault::Custom(c.answer, 1));
    EXPECT_EQ(Click(w, w.S4Button), c.log);
    ExpectCursorRestored();
    EXPECT_EQ(Sent(c.sent.size()), c.sent);
    EXPECT_EQ(w.NameEdit->Text(), c.log.back() == kFailed ? "kept" : "VORN2-field-01");
  }
}

TEST_F(ModemWindowTest, WakeAnswerIsSearchedInTheFirstSixtyPollsOnly) {
  struct Case {
    int poll;
    bool on;
  };
  TModule4& w = Window();
  for (const Case c : {Case{60, true}, Case{61, false}}) {
    SCOPED_TRACE(c.poll);
    Line().ClearFrames();
    w.NameEdit->SetText("kept");
    const std::string answer = sim::ModemDevice::CompletedInPoll(c.poll, sim::ModemDevice::kWakeAnswer);
    Line().InjectFault("S4", sim::Fault::Custom(answer, 1));
    const Lines log = Click(w, w.S4Button);
    ExpectCursorRestored();
    // One entry per poll, each with everything gathered so far.
    ASSERT_GE(log.size(), static_cast<size_t>(c.poll));
    for (int i = 0; i < c.poll; ++i) {
      ASSERT_EQ(log[i], ">>" + answer.substr(0, (i + 1) * sim::ModemDevice::kPollBytes) + "<<") << i;
    }
    if (c.on) {
      EXPECT_EQ(log.back(), "The modem is turned on");
      EXPECT_EQ(w.NameEdit->Text(), "VORN2-field-01");
    } else {
      EXPECT_EQ(log.size(), 62u);
      EXPECT_EQ(log.back(), kFailed);
      EXPECT_EQ(Sent(1), Lines{ModeFrame('4')});
      EXPECT_EQ(w.NameEdit->Text(), "kept");
    }
  }
}

TEST_F(ModemWindowTest, SilentOrVanishedModemIsGivenUpAfterSixtyOnePolls) {
  struct Case {
    const char* name;
    sim::Fault fault;
    Lines log;
  };
  // The adapter pulled out once "VO" came: the later polls find the line gone. Last, as it stays
  // gone.
  const std::vector<Case> cases = {{"silent", sim::Fault::Silent(), {kFailed}},
                                   {"line vanished", sim::Fault::Vanish(2), {">>VO<<", kFailed}}};
  TModule4& w = Window();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Line().ClearFrames();
    w.NameEdit->SetText("kept");
    Line().InjectFault("S4", c.fault);
    testing_support::ClearWaits();
    const auto start = std::chrono::steady_clock::now();
    const double cpuBefore = testing_support::ProcessCpuMs();
    EXPECT_EQ(Click(w, w.S4Button), c.log);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::string polls = "300 r456";
    for (int i = 1; i < 61; ++i) polls += " 300 r456";
    EXPECT_EQ(Waits(), polls);
    EXPECT_LT(took, 61 * (300ms + 456ms));  // the polls' waits and read time-outs at full time scale
    // Asleep or waiting on the line all along: a read that spun on a dead line would not be.
    EXPECT_LT(testing_support::ProcessCpuMs() - cpuBefore, took.count() / 4);
    ExpectCursorRestored();
    EXPECT_EQ(Sent(1), Lines{ModeFrame('4')});
    EXPECT_EQ(w.NameEdit->Text(), "kept");
  }
  // Back in the main window the port is closed; plugged in again, it opens and "ON" works.
  w.Exitprogram1->Click();
  ASSERT_NO_FATAL_FAILURE(PlugInAndSearch("G0001AA3"));
  ASSERT_NE(ModemWindow, nullptr);
  EXPECT_EQ(Click(*ModemWindow, ModemWindow->S4Button).back(), "The modem is turned on");
}

// --- Writing the settings -----------------------------------------------------------------------

TEST_F(ModemWindowTest, SetChecksTheNineFieldsInOrderBeforeAnyTraffic) {
  const Lines messages = {"Please fill the unique name",
                          "Please fill the PIN code",
                          "Please fill the GPRS Communication Parameter nr 1",
                          "Please fill the GPRS Communication Parameter nr 2",
                          "Please fill the GPRS Communication Parameter nr 3",
                          "Please fill the Address",
                          "Please fill the Login",
                          "Please fill the Password",
                          "Please fill the Time Server Address"};
  const std::vector<std::string> filled = {"n", "1234", "a", "u", "p", "f", "l", "w", "t"};
  TModule4& w = Window();
  // The form as it starts (GPRS edits with one blank each) stops at the name.
  EXPECT_EQ(Click(w, w.SetButton), Lines{messages[0]});
  // The first k fields filled, the next one blank in some way, the rest left blank too.
  for (size_t k = 0; k < messages.size(); ++k) {
    for (const std::string blank : {"", " ", "\t \r\n"}) {
      SCOPED_TRACE(messages[k] + " / \"" + blank + "\"");
      std::vector<std::string> form(9, blank);
      for (size_t i = 0; i < k; ++i) form[i] = filled[i];
      if (k != 1) form[1] = k > 1 ? "1234" : "";  // the PIN's mask takes digits only
      Type(w, form);
      const size_t cursors = Backend().CursorChanges().size();
      EXPECT_EQ(Click(w, w.SetButton), Lines{messages[k]});
      EXPECT_EQ(Backend().CursorChanges().size(), cursors);  // the cursor is not touched
    }
  }
  EXPECT_TRUE(Line().Frames().empty());
}

TEST_F(ModemWindowTest, SetWritesTheFiveLinesAndSwitchesTheModemOff) {
  TModule4& w = Window();
  // A trailing blank, a quote and a comma, 8-bit text and a PIN of two digits go out as typed.
  Type(w, {"name ", "12", "apn", "us\"er", "p,w", "ftp.example.org", "log", "p\xE4ss", "ntp"});
  const Lines log = Click(w, w.SetButton);
  ExpectCursorRestored();
  EXPECT_EQ(log, Concat({kWakeLog,
                         {">>\r\nOK\r\n<<", "The unique name has been sent", ">>\r\nOK\r\n<<",
                          "The GPRS configuration has been sent", ">>\r\nOK\r\n<<",
                          "The FTP configuration has been sent", ">>\r\nOK\r\n<<", "The SNTP address has been sent",
                          ">>\r\nOK\r\n<<", "The PIN has been sent", "The modem has turned off"}}));
  EXPECT_EQ(Sent(9),
            (Lines{ModeFrame('4'), "aten\r", "at\r", "at+nameset=\"name \"\r",
                   "at+gprsset=\"apn\",\"us\"er\",\"p,w\"\r", "at+ftpset=\"ftp.example.org\",\"log\",\"p\xE4ss\"\r",
                   "at+sntpset=\"ntp\"\r", "at+pinset=12\r", ModeFrame('0')}));
  EXPECT_EQ(Modem()->CurrentMode(), sim::ModemDevice::Mode::Off);

  // What was written comes back with "ON".
  const sim::ModemSettings stored = Modem()->Settings();
  EXPECT_EQ(stored.name, "name ");
  EXPECT_EQ(stored.ftpPassword, "p\xE4ss");
  EXPECT_EQ(stored.pin, "12");
  Type(w, std::vector<std::string>(9, ""));
  Click(w, w.S4Button);
  EXPECT_EQ(Show1Edits(w), (Lines{"name ", "apn", "us\"er", "p,w", "ftp.example.org", "log", "p\xE4ss", "ntp"}));
  EXPECT_EQ(w.PinEdit->Text(), "12");
}

TEST_F(ModemWindowTest, SetStopsWhereAnAcknowledgementIsMissing) {
  TModule4& w = Window();
  Type(w, {"n", "1234", "a", "u", "p", "f", "l", "w", "t"});
  Line().InjectFault("at+gprsset*", sim::Fault::Silent());
  const Lines log = Click(w, w.SetButton);
  ExpectCursorRestored();
  EXPECT_EQ(log, Concat({kWakeLog, {">>\r\nOK\r\n<<", "The unique name has been sent", kFailed}}));
  EXPECT_EQ(Sent(5).size(), 5u);  // no line after the GPRS one, no S0
  EXPECT_EQ(Sent(5).back(), "at+gprsset=\"a\",\"u\",\"p\"\r");
  EXPECT_EQ(Modem()->CurrentMode(), sim::ModemDevice::Mode::AtCommands);
}

// --- A line that goes dead in the middle of a handler ---------------------------------------------

// Tells the test of every change of a component while a handler runs; the cursor goes on to the
// fixture's backend.
class WatchingBackend : public ui::HeadlessBackend {
 public:
  WatchingBackend(ui::HeadlessBackend& inner, std::function<void(ui::Component&)> changed)
      : inner_(inner), changed_(std::move(changed)) {}
  void Changed(ui::Component& c, ui::Property what) override {
    ui::HeadlessBackend::Changed(c, what);
    changed_(c);
  }
  void SetCursor(ui::Cursor c) override { inner_.SetCursor(c); }

 private:
  ui::HeadlessBackend& inner_;
  std::function<void(ui::Component&)> changed_;
};

struct DeadLine {
  const char* what;
  const char* button;
  // The line goes dead right after this log line, or after this edit took its new text.
  const char* afterLine;
  const char* afterEdit;
  Lines log;   // after the wake's lines
  Lines nine;  // the edits afterwards, in the order of ModemWindowTest::Type
};

class ModemDeadLineTest : public ModemWindowTest, public testing::WithParamInterface<DeadLine> {};

const std::vector<std::string> kTyped = {"n", "1111", "a", "u", "p", "f", "l", "w", "t"};
const Lines kAcked = {">>\r\nOK\r\n<<"};

TEST_P(ModemDeadLineTest, AFailedWriteEndsTheHandlerThere) {
  const DeadLine& c = GetParam();
  TModule4& w = Window();
  Modem()->SetSettings(kSettings);
  Type(w, kTyped);
  bool hungUp = false;
  WatchingBackend watching(Backend(), [&](ui::Component& changed) {
    if (hungUp) return;
    const ui::StringList& lines = w.Memo1->Lines();
    if (c.afterLine != nullptr ? &changed == w.Memo1 && lines.Count() > 0 && lines[lines.Count() - 1] == c.afterLine
                               : changed.Name() == c.afterEdit) {
      hungUp = true;
      HangUpLine();
    }
  });
  ui::SetBackend(&watching);
  const Lines log = Click(w, ui::FindAs<ui::Button>(w, c.button));
  ui::SetBackend(&Backend());
  EXPECT_TRUE(hungUp);
  // No line after the failed write: in particular no S0 after a failed set line.
  EXPECT_EQ(log, Concat({kWakeLog, c.log}));
  ExpectCursorRestored();
  EXPECT_EQ((Lines{w.NameEdit->Text(), w.PinEdit->Text(), w.GPRSEdit0->Text(), w.GPRSEdit1->Text(), w.GPRSEdit2->Text(),
                   w.FTPEdit0->Text(), w.FTPEdit1->Text(), w.FTPEdit2->Text(), w.TimeSaddrEdit->Text()}),
            c.nine);
}

INSTANTIATE_TEST_SUITE_P(
    Modem, ModemDeadLineTest,
    testing::Values(DeadLine{"show1", "S4Button", "The modem is turned on", nullptr, {kSendFailureLine}, kTyped},
                    // The first reply's values stay; the PIN is not touched.
                    DeadLine{"show2",
                             "S4Button",
                             nullptr,
                             "TimeSaddrEdit",
                             {kSendFailureLine},
                             {"station-07", "1111", "internet.apn", "gprsuser", "gprs pw", "ftp.example.org", "logger",
                              "p\"a,ss", "ntp.example.org"}},
                    DeadLine{"gprsset", "SetButton", "The unique name has been sent", nullptr,
                             Concat({kAcked, {"The unique name has been sent", kSendFailureLine}}), kTyped},
                    // The final S0 fails, and the run still ends normally.
                    DeadLine{"S0", "SetButton", "The PIN has been sent", nullptr,
                             Concat({kAcked,
                                     {"The unique name has been sent"},
                                     kAcked,
                                     {"The GPRS configuration has been sent"},
                                     kAcked,
                                     {"The FTP configuration has been sent"},
                                     kAcked,
                                     {"The SNTP address has been sent"},
                                     kAcked,
                                     {"The PIN has been sent", kSendFailureLine}}),
                             kTyped}),
    [](const testing::TestParamInfo<DeadLine>& info) { return std::string(info.param.what); });

}  // namespace
