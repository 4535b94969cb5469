// The logger thread against stand-in stations on a pseudo-terminal: the exchanges of a pass in
// their order and with their waits, the lines in the station files, "ERR01", and how it stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <regex>
#include <thread>

#include "formatka3/data_logger.h"
#include "platform/timing.h"
#include "sim/station.h"
#include "tests/support/logger_test.h"

using namespace testing_support;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

namespace {

std::string Frame(const sim::ReceivedFrame& f) {
  std::string text = f.command;
  if (f.bytes.size() == 4) text += static_cast<char>(f.bytes[3]);
  if (f.bytes.size() > 4) text += ":" + std::string(f.bytes.begin() + 3, f.bytes.end());
  return text;
}

const std::regex kFirstTime(R"(\d{4}-\d{2}-\d{2}/\d{2}:\d{2}:\d{2})");
const std::regex kLaterTime(R"(\d{2}:\d{2}:\d{2})");

}  // namespace

class LoggerThreadTest : public LoggerWindowTest {
 protected:
  void SetUp() override {
    LoggerWindowTest::SetUp();
    Line().SetDeviceIds({"T0000101", "T0000202"});
    ASSERT_TRUE(port_.Open("COM1"));
  }
  void TearDown() override {
    port_.Close();
    LoggerWindowTest::TearDown();
  }
  std::shared_ptr<sim::StationDevice> Station(uint8_t address) { return Line().Get<sim::StationDevice>(address); }
  // Runs `passes` passes and stops.
  void Run(int32_t periodMs, uint64_t passes) {
    auto logger = std::make_unique<DataLogger>(periodMs, &port_, &stations_);
    ASSERT_TRUE(WaitForPasses(*logger, passes));
    StopLogger(logger);
  }

  testing_support::ScopedTimeoutFloor floor_{500};  // the logger thread's reads
  link::SerialPort port_;
  StationMap stations_;
};

TEST_F(LoggerThreadTest, EachChannelExchangesInItsOrderWithItsWaits) {
  auto c = NothingLogged();
  c->SetEpsi(1, true);
  c->SetTeta(1, true);
  c->SetSigma(1, true);
  c->SetTemp(1, true);
  c->SetAux1Name(1, "t0A1B01");
  c->SetAux1Id(1, "280A1B010000009F");
  c->SetAux2Name(1, "p3C4D01");
  c->SetAux2Id(1, "553C4D01000000A1");
  c->SetCal(0, true);
  c->SetA1(0, 1);
  stations_["T0000101"] = std::move(c);
  Run(100000, 1);

  const auto frames = Line().Frames();
  Lines sent;
  for (const auto& f : frames) sent.push_back(Frame(f));
  EXPECT_EQ(sent, (Lines{"MM2", "RN", "RM", "MS2", "RS", "MT2", "RT", "1M:280A1B010000009F", "1R",
                         "1M:553C4D01000000A1", "1P"}));
  for (const auto& f : frames) {
    EXPECT_EQ(f.preamble, 23) << f.command;
    EXPECT_EQ(f.address, 0x01) << f.command;
  }
  // The thread's waits: each frame's, then the period's.
  EXPECT_EQ(testing_support::Waits(false),
            "980 20 r206 20 r206 1480 20 r205 2980 20 r205 1100 100 r205 1100 100 r206 e100000");
  const Lines lines = CrlfLines("T0000101.txt");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "counter time/date E2 Cal21 M2 S2 T2 X21 X22 ");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(lines[1], m, std::regex(R"(0 (\S+) (.*))")));
  EXPECT_TRUE(std::regex_match(m[1].str(), kFirstTime));
  // eps 12: calibration 0 + 1 * sqrt(12).
  EXPECT_EQ(m[2].str(), "12.000 3.4641 " + Station(1)->Readings(2).moisture + " 0.125 20.75 21.37 -153.2 ");
}

TEST_F(LoggerThreadTest, TwoStationsOverSeveralPassesGetEveryLineInKeyOrder) {
  auto first = NothingLogged();
  first->SetEpsi(0, true);
  first->SetCal(0, true);
  first->SetA0(0, 1);
  first->SetA1(0, 2);
  first->SetA2(0, 0.5);
  stations_["T0000202"] = std::move(first);
  auto second = NothingLogged();
  second->SetSigma(2, true);
  second->SetAux1Name(0, "t0A1B01");
  second->SetAux1Id(0, "280A1B010000009F");
  stations_["T0000101"] = std::move(second);
  auto readings = Station(2)->Readings(1);
  readings.dielectric = "16,000";  // a decimal comma: written with a point, read in full
  Station(2)->SetReadings(1, readings);
  Run(0, 4);

  // T0000101 is walked first.
  const auto frames = Line().Frames();
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.front().address, 0x01);
  const Lines one = CrlfLines("T0000101.txt");
  const Lines two = CrlfLines("T0000202.txt");
  ASSERT_GE(one.size(), 5u);
  ASSERT_EQ(two.size(), one.size());
  EXPECT_EQ(one[0], "counter time/date X11 S3 ");
  EXPECT_EQ(two[0], "counter time/date E1 Cal11 ");
  for (size_t i = 1; i < one.size(); ++i) {
    SCOPED_TRACE(i);
    const std::string counter = std::to_string(i - 1);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(one[i], m, std::regex(counter + " (\\S+) 21\\.37 0\\.150 ")));
    EXPECT_TRUE(std::regex_match(m[1].str(), i == 1 ? kFirstTime : kLaterTime));
    ASSERT_TRUE(std::regex_match(two[i], m, std::regex(counter + " (\\S+) 16\\.000 17 ")));
    EXPECT_TRUE(std::regex_match(m[1].str(), i == 1 ? kFirstTime : kLaterTime));
  }
}

TEST_F(LoggerThreadTest, FailedExchangesAreErr01AndDeviceErrorsAreWrittenAsRead) {
  auto c = NothingLogged();
  for (int i = 0; i < 4; ++i) c->SetEpsi(i, true);
  c->SetCal(0, true);
  c->SetA1(0, 1);
  c->SetSigma(3, true);
  c->SetAux1Name(4, "t9999999");  // a name the last search did not find: no identifier
  c->SetAux2Name(4, "x107788");
  c->SetAux2Id(4, "1077880100000C3");  // 15 characters
  c->SetAux1Name(5, "o107788");
  c->SetAux1Id(5, "10778801000000C3");  // neither family: 1M is sent, then ERR01
  stations_["T0000101"] = std::move(c);
  // Channel 1 gets a device error, channel 2 no reply, channel 3 a number, channel 4 a NUL inside.
  std::vector<std::optional<std::string>> rn = {"ER    ", std::nullopt, "14.000", std::string("1 \0002.5", 6)};
  size_t next = 0;
  Line().SetHandler("RN", [&rn, &next](const sim::ReceivedFrame&) { return rn.at(next++ % rn.size()); });
  Station(1)->InjectFault("RS", sim::Fault::Short(3, 1));
  Run(100000, 1);
  const Lines lines = CrlfLines("T0000101.txt");
  ASSERT_EQ(lines.size(), 2u);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(lines[1], m, std::regex(R"(0 \S+ (.*))")));
  EXPECT_EQ(m[1].str(), "ER     ERR01 ERR01 ERR01 14.000 3.74166 1??2.5 1 0.1 ERR01 ERR01 ERR01 ");
  Lines sent;
  for (const auto& f : Line().Frames()) sent.push_back(Frame(f));
  EXPECT_EQ(std::count(sent.begin(), sent.end(), "1M:10778801000000C3"), 1);
  EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const std::string& s) { return s[0] == '1'; }), 1);
}

TEST_F(LoggerThreadTest, StopDuringAPassEndsItThenNoFurtherPassAndNoWait) {
  auto c = NothingLogged();
  c->SetTemp(0, true);
  stations_["T0000101"] = NothingLogged();
  stations_["T0000101"]->SetTemp(0, true);
  stations_["T0000202"] = std::move(c);
  auto logger = std::make_unique<DataLogger>(1000000, &port_, &stations_);
  ASSERT_TRUE(Line().WaitForFrames(1, std::chrono::seconds(10)));  // the first MT is out
  const auto stopAt = Clock::now();
  StopLogger(logger);
  const double stopMs = std::chrono::duration<double, std::milli>(Clock::now() - stopAt).count();
  // Both stations were written, nothing more was sent, and the long wait was not waited.
  EXPECT_EQ(CrlfLines("T0000101.txt").size(), 2u);
  EXPECT_EQ(CrlfLines("T0000202.txt").size(), 2u);
  EXPECT_EQ(Line().Frames().size(), 4u);
  EXPECT_LT(stopMs, 2 * 3000 * platform::TimeScale() + 1000);
}

TEST_F(LoggerThreadTest, PeriodZeroWithNothingToLogStillStops) {
  auto logger = std::make_unique<DataLogger>(0, &port_, &stations_);
  ASSERT_TRUE(WaitForPasses(*logger, 1000));
  StopLogger(logger);
  EXPECT_TRUE(Line().Frames().empty());
  EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::current_path()));
}

TEST_F(LoggerThreadTest, AKeyWithoutAnAddressSendsNothing) {
  stations_["T0001"] = NothingLogged();
  stations_["T0001"]->SetSigma(0, true);
  stations_["T00001zz"] = NothingLogged();
  stations_["T00001zz"]->SetEpsi(0, true);
  stations_["T00001zz"]->SetTeta(0, true);
  stations_["T00001zz"]->SetCal(1, true);
  Run(100000, 1);
  EXPECT_TRUE(Line().Frames().empty());
  // Only MM's time is waited for: whether it was heard is for the reads after it to tell.
  EXPECT_EQ(testing_support::Waits(false), "980 e100000");
  EXPECT_EQ(CrlfLines("T0001.txt").at(1).substr(CrlfLines("T0001.txt")[1].size() - 6), "ERR01 ");
  const std::string line = CrlfLines("T00001zz.txt").at(1);
  EXPECT_EQ(line.substr(line.find(' ', 2) + 1), "ERR01 ERR01 ERR01 ");
}

TEST_F(LoggerThreadTest, AFileThatCannotBeWrittenForAWhileLosesNoLine) {
  stations_["T0000101"] = NothingLogged();
  stations_["T0000101"]->SetSigma(0, true);
  stations_["T0000202"] = NothingLogged();
  stations_["T0000202"]->SetSigma(1, true);
  std::filesystem::create_directory("T0000101.txt");  // no open can succeed meanwhile
  auto logger = std::make_unique<DataLogger>(0, &port_, &stations_);
  ASSERT_TRUE(WaitForPasses(*logger, 3));
  std::filesystem::remove("T0000101.txt");
  const uint64_t passes = logger->Passes();
  ASSERT_TRUE(WaitForPasses(*logger, passes + 2));
  StopLogger(logger);
  for (const std::string name : {"T0000101.txt", "T0000202.txt"}) {
    SCOPED_TRACE(name);
    const Lines lines = CrlfLines(name);
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0].rfind("counter time/date S", 0), 0u);
    for (size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].rfind(std::to_string(i - 1) + " ", 0), 0u);
  }
  EXPECT_EQ(CrlfLines("T0000101.txt").size(), CrlfLines("T0000202.txt").size());
}
