// The port object against a real pseudo-terminal linked into a temporary port folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "link/serial_port.h"
#include "platform/timing.h"
#include "tests/support/temp_dir.h"
#include "tests/support/time_scale.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int64_t MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

size_t OpenDescriptorCount() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + 1);
  return v;
}

class SerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master_, 0);
    ASSERT_EQ(grantpt(master_), 0);
    ASSERT_EQ(unlockpt(master_), 0);
    slavePath_ = ptsname(master_);
    MakeRaw(master_);
    // Held open so that the master side stays usable while the port is closed and reopened.
    keeper_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(keeper_, 0);
    MakeRaw(keeper_);

    folder_ = dir_.Path();
    fs::create_symlink(slavePath_, folder_ / "COM7");

    if (const char* old = std::getenv("QVUSB_PORTS_DIR")) savedDir_ = old;
    setenv("QVUSB_PORTS_DIR", folder_.c_str(), 1);
  }

  void TearDown() override {
    platform::SetSerialFaultHook(nullptr);
    port_.Close();
    if (keeper_ >= 0) close(keeper_);
    if (master_ >= 0) close(master_);
    if (savedDir_) {
      setenv("QVUSB_PORTS_DIR", savedDir_->c_str(), 1);
    } else {
      unsetenv("QVUSB_PORTS_DIR");
    }
  }

  static void MakeRaw(int fd) {
    termios t{};
    ASSERT_EQ(tcgetattr(fd, &t), 0);
    cfmakeraw(&t);
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &t), 0);
  }

  void OpenPort() { ASSERT_TRUE(port_.Open("COM7")); }

  void Send(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
      ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
      ASSERT_GT(n, 0);
      done += static_cast<size_t>(n);
    }
  }
  void Send(const std::string& text) { Send(std::vector<uint8_t>(text.begin(), text.end())); }

  // What the port put on the line, gathered until `count` bytes or a quiet `quietMs`.
  std::vector<uint8_t> Received(size_t count, int quietMs = 300) {
    std::vector<uint8_t> out;
    uint8_t buf[512];
    while (out.size() < count) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, quietMs) <= 0 || (p.revents & POLLIN) == 0) break;
      ssize_t n = read(master_, buf, sizeof buf);
      if (n <= 0) break;
      out.insert(out.end(), buf, buf + n);
    }
    return out;
  }

  int master_ = -1;
  int keeper_ = -1;
  std::string slavePath_;
  testing_support::TempDir dir_;
  fs::path folder_;
  std::optional<std::string> savedDir_;
  testing_support::ScopedTimeScale scale_{0.05};
  link::SerialPort port_;
};

TEST_F(SerialPortTest, OpenSetsTheFixedLineSettings) {
  OpenPort();
  EXPECT_FALSE(port_.IsOpen());  // the flag belongs to the caller
  termios t{};
  ASSERT_EQ(tcgetattr(keeper_, &t), 0);
  EXPECT_EQ(cfgetospeed(&t), B57600);
  EXPECT_EQ(cfgetispeed(&t), B57600);
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
}

TEST_F(SerialPortTest, OpenPurgesWhatWasWaiting) {
  Send("stale");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  OpenPort();
  EXPECT_FALSE(port_.Read(5).has_value());
}

TEST_F(SerialPortTest, WritePutsThePreambleInFront) {
  OpenPort();
  const uint8_t frame[] = {0xFE, 'M', 'S', '3'};
  ASSERT_TRUE(port_.Write(frame, 4, true));
  std::vector<uint8_t> expected(27, 0xFF);
  std::copy(frame, frame + 4, expected.begin() + 23);
  EXPECT_EQ(Received(27), expected);

  ASSERT_TRUE(port_.Write(frame, 3, false));
  EXPECT_EQ(Received(3), std::vector<uint8_t>(frame, frame + 3));
}

TEST_F(SerialPortTest, RefusedWritesTouchNeitherLineNorQueue) {
  OpenPort();
  Send("abc");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const uint8_t frame[] = {1, 2};
  EXPECT_FALSE(port_.Write(nullptr, 4, true));
  EXPECT_FALSE(port_.Write(frame, -1, true));
  EXPECT_TRUE(Received(1, 50).empty());
  // Not purged: the waiting reply is still there.
  auto reply = port_.Read(3);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->Raw(), "abc");
}

TEST_F(SerialPortTest, WriteOnAClosedPortFails) {
  const uint8_t frame[] = {1, 2};
  EXPECT_FALSE(port_.Write(frame, 2, true));
  EXPECT_FALSE(port_.Read(2).has_value());
}

TEST_F(SerialPortTest, ReadModes) {
  OpenPort();
  struct Case {
    const char* name;
    int32_t mode;
    size_t sent;
    size_t expected;
  };
  const Case cases[] = {
      {"short reply", 5, 3, 3},  {"exact count", 5, 5, 5},        {"exact-length copy", -2, 10, 10},
      {"up to 256", -1, 10, 10}, {"capped at 256", -1, 300, 256}, {"exact copy capped", -2, 300, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Each write purges what the previous case left over.
    const uint8_t poke = 0x55;
    ASSERT_TRUE(port_.Write(&poke, 1, false));
    Received(1);
    std::vector<uint8_t> sent = Pattern(c.sent);
    Send(sent);
    auto reply = port_.Read(c.mode);
    ASSERT_TRUE(reply.has_value());
    ASSERT_EQ(reply->size(), c.expected);
    EXPECT_EQ(reply->data()[c.expected], 0);  // NUL after the bytes
    EXPECT_EQ(std::vector<uint8_t>(reply->data(), reply->data() + c.expected),
              std::vector<uint8_t>(sent.begin(), sent.begin() + c.expected));
  }
}

TEST_F(SerialPortTest, NextWriteDiscardsTheUnreadRest) {
  OpenPort();
  Send(std::vector<uint8_t>(300, 'x'));
  auto first = port_.Read(-1);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->size(), 256u);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const uint8_t frame[] = {0xFE, 'R', 'S'};
  ASSERT_TRUE(port_.Write(frame, 3, true));
  Send("OK");
  auto second = port_.Read(-2);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->Raw(), "OK");
}

TEST_F(SerialPortTest, NothingArrivedGivesNothing) {
  OpenPort();
  Send("12345");
  ASSERT_TRUE(port_.Read(5).has_value());
  for (int32_t mode : {5, -1, -2, 0}) {
    auto start = Clock::now();
    EXPECT_FALSE(port_.Read(mode).has_value()) << mode;
    EXPECT_LT(MsSince(start), 1000) << mode;
  }
  EXPECT_FALSE(port_.Read(-3).has_value());
}

TEST_F(SerialPortTest, ReadReturnsOnceTheCountIsComplete) {
  platform::SetTimeScale(1.0);  // exact time-outs: 200 ms between bytes, 205 ms in all
  OpenPort();
  Send("12345");
  auto start = Clock::now();
  auto reply = port_.Read(5);
  int64_t elapsed = MsSince(start);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->Raw(), "12345");
  EXPECT_LT(elapsed, 120);
}

TEST_F(SerialPortTest, GapBetweenBytesEndsTheRead) {
  platform::SetTimeScale(1.0);  // 200 ms between bytes, 1200 ms in all for 1000 bytes
  OpenPort();
  // Bytes 50 ms apart keep the read going; the read ends 200 ms after the last one.
  std::thread sender([this] {
    for (char c : std::string("abcd")) {
      Send(std::string(1, c));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  });
  auto start = Clock::now();
  auto reply = port_.Read(1000);
  int64_t elapsed = MsSince(start);
  sender.join();
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->Raw(), "abcd");
  EXPECT_GE(elapsed, 300);
  EXPECT_LT(elapsed, 1100);
}

TEST_F(SerialPortTest, TotalTimeoutEndsASilentRead) {
  OpenPort();
  platform::RecordWaits(true);
  auto start = Clock::now();
  EXPECT_FALSE(port_.Read(10).has_value());
  EXPECT_GE(MsSince(start), platform::ScaledTimeout(210) - 5);
  // Asked for: 200 ms plus 1 ms per byte in all, 200 ms between two bytes.
  const auto asked = platform::RecordedWaits();
  platform::RecordWaits(false);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].ms, 210u);
  EXPECT_EQ(asked[0].betweenBytesMs, 200u);
}

TEST_F(SerialPortTest, LargeReplyArrivingInPiecesIsGathered) {
  OpenPort();
  std::vector<uint8_t> reply = Pattern(4104);
  std::thread sender([&] {
    Send(std::vector<uint8_t>(reply.begin(), reply.begin() + 4095));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Send(std::vector<uint8_t>(reply.begin() + 4095, reply.end()));
  });
  auto got = port_.Read(4104);
  sender.join();
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(std::vector<uint8_t>(got->data(), got->data() + got->size()), reply);
}

TEST_F(SerialPortTest, OpenFailsForAMissingDevice) {
  fs::create_symlink(folder_ / "no-such-device", folder_ / "COM9");
  EXPECT_FALSE(port_.Open("COM9"));
  EXPECT_FALSE(port_.Open(nullptr));
}

TEST_F(SerialPortTest, OpenRefusesAFileThatIsNoCharacterDevice) {
  { std::ofstream(folder_ / "plain") << "not a port"; }
  fs::create_symlink(folder_ / "plain", folder_ / "COM8");
  size_t before = OpenDescriptorCount();
  EXPECT_FALSE(port_.Open("COM8"));
  port_.Close();
  EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST_F(SerialPortTest, OpenFailsWhenTheLineSettingsDoNotTake) {
  fs::create_symlink("/dev/null", folder_ / "COM8");  // a character device but no terminal
  const size_t before = OpenDescriptorCount();
  using S = platform::SerialStep;
  struct Case {
    const char* port;
    std::optional<S> refused;
  };
  for (const Case& c : {Case{"COM7", S::SetTimeouts}, Case{"COM7", S::SetState}, Case{"COM8", std::nullopt}}) {
    platform::SetSerialFaultHook([&c](S step, const uint8_t*, size_t) { return step == c.refused; });
    EXPECT_FALSE(port_.Open(c.port)) << c.port;
    port_.Close();
    EXPECT_EQ(OpenDescriptorCount(), before);
  }
}

TEST_F(SerialPortTest, ReopeningClosesTheEarlierHandle) {
  OpenPort();
  size_t before = OpenDescriptorCount();
  EXPECT_TRUE(port_.Open("COM7"));
  EXPECT_EQ(OpenDescriptorCount(), before);
  port_.Close();
  EXPECT_EQ(OpenDescriptorCount(), before - 1);
}

TEST_F(SerialPortTest, SecondOpenIsRefusedUntilTheFirstCloses) {
  OpenPort();
  link::SerialPort other;
  EXPECT_FALSE(other.Open("COM7"));
  port_.Close();
  EXPECT_TRUE(other.Open("COM7"));
}

// The kernel lets a privileged user past the exclusive flag, so check an ordinary user too.
TEST_F(SerialPortTest, SecondOpenByAnotherUserIsRefused) {
  constexpr uid_t kNobody = 65534;
  if (chmod(slavePath_.c_str(), 0666) != 0 || chmod(folder_.c_str(), 0755) != 0) {
    GTEST_SKIP() << "cannot open the terminal to other users";
  }
  // Exit status 0: opened; 1: refused; 2: could not become the other user.
  auto tryAsNobody = [] {
    pid_t pid = fork();
    if (pid == 0) {
      if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
      link::SerialPort port;
      bool opened = port.Open("COM7");
      port.Close();
      _exit(opened ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  };
  int alone = tryAsNobody();
  if (alone == 2) GTEST_SKIP() << "cannot switch to another user";
  ASSERT_EQ(alone, 0) << "the other user cannot open the free port at all";
  OpenPort();
  EXPECT_EQ(tryAsNobody(), 1);
}

}  // namespace
