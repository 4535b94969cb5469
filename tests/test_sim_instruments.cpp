// The stand-in instruments end to end: the program's side of the pseudo-terminal opened with
// plain POSIX calls.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "sim/instruments.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kWake(23, '\xFF');
const std::string kSearch = kWake + std::string(
                                        "\x00"
                                        "B",
                                        2);
const std::string kReadSalinity = kWake +
                                  "\xFE"
                                  "RS";

// The program's end of the line.
class Port {
 public:
  explicit Port(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) { EXPECT_GE(fd_, 0) << path; }
  ~Port() {
    if (fd_ >= 0) close(fd_);
  }
  void Write(const std::string& bytes) {
    ASSERT_EQ(write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Up to n bytes, or what came before the time-out.
  std::string Read(size_t n, std::chrono::milliseconds timeout) {
    std::string got;
    const Clock::time_point end = Clock::now() + timeout;
    while (got.size() < n) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
      if (left.count() <= 0) break;
      pollfd p = {fd_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buf[4096];
      ssize_t r = read(fd_, buf, std::min(sizeof buf, n - got.size()));
      if (r <= 0) break;
      got.append(buf, static_cast<size_t>(r));
    }
    return got;
  }

 private:
  int fd_;
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

TEST(SimInstruments, AnswersTheSearchThroughThePortLink) {
  testing_support::TempDir dir;
  const fs::path link = fs::path(dir.Path()) / "ports" / "COM7";
  {
    sim::Instruments sim({"H0001AFE", "T0001A01"});
    sim.LinkAs("COM7", (fs::path(dir.Path()) / "ports").string());
    EXPECT_EQ(fs::read_symlink(link), sim.SlavePath());

    {
      Port port(link.string());
      const Clock::time_point sent = Clock::now();
      port.Write(kSearch);
      EXPECT_EQ(port.Read(16, 500ms), "H0001AFET0001A01");
      ASSERT_TRUE(sim.WaitForFrames(1, 500ms));
      sim::ReceivedFrame f = sim.Frames().at(0);
      EXPECT_EQ(f.command, "B");
      EXPECT_EQ(f.address, 0x00);
      EXPECT_EQ(f.preamble, 23);
      EXPECT_EQ(std::string(f.raw.begin(), f.raw.end()), kSearch);
      EXPECT_GE(f.at, sent);
      EXPECT_GE(sim.LastReplyByteAt(), f.at);
    }

    // The program closes its side and opens it again: the instruments still listen.
    Port port(link.string());
    sim.SetSearchReplyRaw(std::string(300, 'T'));
    port.Write(kSearch);
    EXPECT_EQ(port.Read(300, 500ms).size(), 300u);

    sim.SetSearchReplyRaw(std::nullopt);
    sim.SetDeviceIds({});
    port.Write(kSearch);
    EXPECT_EQ(port.Read(1, 150ms), "");
    EXPECT_TRUE(sim.WaitForFrames(3, 500ms));
    EXPECT_FALSE(sim.WaitForFrames(4, 20ms));

    sim.Send("RING");
    EXPECT_EQ(port.Read(4, 500ms), "RING");
    EXPECT_EQ(sim.DroppedBytes(), 0u);
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimInstruments, FaultsShapeTheReplyForAsLongAsAsked) {
  sim::Instruments sim;
  sim.SetHandler("RS", [](const sim::ReceivedFrame&) { return std::string("0.123"); });
  sim.SetHandler("at+nameset*", [](const sim::ReceivedFrame&) { return std::string("OK\r"); });
  Port port(sim.SlavePath());

  using K = sim::Fault::Kind;
  struct Case {
    const char* name;
    sim::Fault fault;
    std::string reply;
  };
  const Case cases[] = {
      {"silent", sim::Fault::Silent(1), ""},
      {"short", sim::Fault::Short(2, 1), "0."},
      {"ER", sim::Fault::Er(1), "ER   "},
      {"custom", sim::Fault::Custom("E000", 1), "E000"},
      {"pieces", sim::Fault::Pieces(2, 30ms, 1), "0.123"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim.InjectFault("RS", c.fault);
    const Clock::time_point sent = Clock::now();
    port.Write(kReadSalinity);
    // A shorter reply is waited for a while, so that nothing else follows it.
    EXPECT_EQ(port.Read(5, c.reply.size() < 5 ? 150ms : 500ms), c.reply);
    if (c.fault.kind == K::Pieces) {
      EXPECT_GE(Ms(Clock::now() - sent), 60.0);
    }
    // Used up: the next reply is whole again.
    port.Write(kReadSalinity);
    EXPECT_EQ(port.Read(5, 500ms), "0.123");
  }

  // A fault for good, on a command that has no reply of its own.
  sim.InjectFault("MS", sim::Fault::Er());
  for (int i = 0; i < 2; ++i) {
    port.Write(kWake +
               "\xFE"
               "MS1");
    EXPECT_EQ(port.Read(2, 500ms), "ER");
  }
  sim.ClearFaults();
  port.Write(kWake +
             "\xFE"
             "MS1");
  EXPECT_EQ(port.Read(1, 150ms), "");

  port.Write("at+nameset\"probe 7\"\r");
  EXPECT_EQ(port.Read(3, 500ms), "OK\r");
  ASSERT_TRUE(sim.WaitForFrames(14, 500ms));
  EXPECT_EQ(sim.Frames().back().command, "at+nameset\"probe 7\"");
}

TEST(SimInstruments, PacedReplyTakesTheLineTime) {
  sim::Instruments sim;
  sim.SetHandler("RG", [](const sim::ReceivedFrame&) { return std::string(576, 'A'); });
  Port port(sim.SlavePath());
  const std::string frame = kWake +
                            "\xFE"
                            "RG";

  // 576 bytes of 10 bits at 57600 baud: 100 ms.
  sim.SetPacing(true);
  Clock::time_point sent = Clock::now();
  port.Write(frame);
  EXPECT_EQ(port.Read(576, 1000ms).size(), 576u);
  EXPECT_GE(Ms(Clock::now() - sent), 95.0);
  ASSERT_TRUE(sim.WaitForFrames(1, 500ms));
  const double onLine = Ms(sim.LastReplyByteAt() - sim.Frames().back().at);
  EXPECT_GE(onLine, 99.0);
  EXPECT_LT(onLine, 200.0);

  sim.SetPacing(false);
  sim.SetReplyDelay(30ms);
  port.Write(frame);
  EXPECT_EQ(port.Read(576, 1000ms).size(), 576u);
  ASSERT_TRUE(sim.WaitForFrames(2, 500ms));
  const double delayed = Ms(sim.LastReplyByteAt() - sim.Frames().back().at);
  EXPECT_GE(delayed, 30.0);
  EXPECT_LT(delayed, 90.0);
}

// Whoever has the whole reply finds its time already recorded, never the previous reply's.
TEST(SimInstruments, ReplyTimeIsSetOnceTheReplyIsThere) {
  sim::Instruments sim;
  sim.SetHandler("RS", [](const sim::ReceivedFrame&) { return std::string("0.123"); });
  Port port(sim.SlavePath());
  int stale = 0;
  for (int i = 0; i < 1000; ++i) {
    const Clock::time_point sent = Clock::now();
    port.Write(kReadSalinity);
    ASSERT_EQ(port.Read(5, 500ms), "0.123");
    if (sim.LastReplyByteAt() < sent) ++stale;
  }
  EXPECT_EQ(stale, 0);
}

// A reply the program never reads must not keep the instruments from shutting down.
TEST(SimInstruments, ShutsDownWithAReplyStillGoingOut) {
  for (bool paced : {false, true}) {
    SCOPED_TRACE(paced ? "paced" : "at once");
    auto sim = std::make_unique<sim::Instruments>();
    sim->SetHandler("RG", [](const sim::ReceivedFrame&) { return std::string(1 << 20, 'A'); });
    sim->SetPacing(paced);
    Port port(sim->SlavePath());
    port.Write(kWake +
               "\xFE"
               "RG");
    ASSERT_TRUE(sim->WaitForFrames(1, 500ms));
    usleep(50'000);
    const Clock::time_point stop = Clock::now();
    sim.reset();
    EXPECT_LT(Ms(Clock::now() - stop), 500.0);
  }
}

namespace {

// Answers every frame with its own name and takes the text lines that begin with its prefix.
class NamedDevice : public sim::Device {
 public:
  NamedDevice(std::string name, std::string textPrefix) : name_(std::move(name)), textPrefix_(std::move(textPrefix)) {}
  std::optional<std::string> Answer(const sim::ReceivedFrame& frame) override { return name_ + ":" + frame.command; }
  bool TakesText(const sim::ReceivedFrame& frame) const override {
    return !textPrefix_.empty() && frame.command.rfind(textPrefix_, 0) == 0;
  }

 private:
  std::string name_, textPrefix_;
};

}  // namespace

TEST(SimInstruments, FramesGoToTheDeviceAtTheirAddressAndHandlersWin) {
  EXPECT_EQ(sim::AddressOf("H0001AFE"), 0xFE);
  EXPECT_EQ(sim::AddressOf("T0001A1F"), 0x1F);
  EXPECT_EQ(sim::AddressOf("T0001Aa3"), std::nullopt);
  EXPECT_EQ(sim::AddressOf("T01"), std::nullopt);

  sim::Instruments sim;
  sim.Install(0xA3, std::make_shared<NamedDevice>("a3", ""));
  sim.Install(0x1F, std::make_shared<NamedDevice>("1f", "at"));
  ASSERT_NE(sim.Get<NamedDevice>(0xA3), nullptr);
  EXPECT_EQ(sim.DeviceAt(0x10), nullptr);
  Port port(sim.SlavePath());

  port.Write(kWake + "\xA3RS");
  EXPECT_EQ(port.Read(5, 500ms), "a3:RS");
  port.Write(kWake + "\x1FRS");
  EXPECT_EQ(port.Read(5, 500ms), "1f:RS");
  port.Write("at+show1\r");
  EXPECT_EQ(port.Read(11, 500ms), "1f:at+show1");
  port.Write(kWake + "\x10RS");  // nobody there
  EXPECT_EQ(port.Read(1, 100ms), "");

  sim.SetHandler("RS", [](const sim::ReceivedFrame&) { return std::string("hand"); });
  port.Write(kWake + "\xA3RS");
  EXPECT_EQ(port.Read(4, 500ms), "hand");
  sim.Install(0xA3, nullptr);
  EXPECT_EQ(sim.DeviceAt(0xA3), nullptr);
}
