#include "platform/serial.h"

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/timing.h"

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

struct BaudEntry {
  uint32_t rate;
  speed_t code;
};

constexpr BaudEntry kBaudTable[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

std::optional<speed_t> SpeedCode(uint32_t rate) {
  for (const auto& e : kBaudTable) {
    if (e.rate == rate) return e.code;
  }
  return std::nullopt;
}

uint32_t SpeedRate(speed_t code) {
  for (const auto& e : kBaudTable) {
    if (e.code == code) return e.rate;
  }
  return 0;
}

// The number n of "COM<n>", or nothing for any other name.
std::optional<uint32_t> ComNumber(const std::string& name) {
  if (name.size() < 4 || name.compare(0, 3, "COM") != 0 || name.size() > 12) return std::nullopt;
  uint32_t n = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    char c = name[i];
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<uint32_t>(c - '0');
  }
  if (n == 0) return std::nullopt;
  return n;
}

std::string EnvValue(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string(v) : std::string();
}

// Milliseconds to wait until `deadline`, rounded up so that poll never wakes early and spins.
int MillisecondsUntil(Clock::time_point deadline) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (left <= 0) return 0;
  return left > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(left);
}

uint32_t ClampMs(uint64_t ms) { return ms > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(ms); }

// A terminal without modem lines, a pseudo-terminal among them, refuses the change with ENOTTY:
// it has no such wires, so that is harmless. Any other refusal is a fault of the device.
bool SetModemLine(int fd, int line, bool on) {
  int bits = line;
  return ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0 || errno == ENOTTY;
}

// The slave side of a pseudo-terminal (its device numbers are those of /dev/pts/N).
bool IsPseudoTerminal(int fd) {
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
  const unsigned int m = major(st.st_rdev);
  return m >= 136 && m <= 143;
}

std::mutex g_faultHookMutex;
SerialFaultHook g_faultHook;

bool Refused(SerialStep step, const uint8_t* data = nullptr, size_t length = 0) {
  SerialFaultHook hook;
  {
    std::lock_guard<std::mutex> lock(g_faultHookMutex);
    hook = g_faultHook;
  }
  return hook && hook(step, data, length);
}

}  // namespace

void SetSerialFaultHook(SerialFaultHook hook) {
  std::lock_guard<std::mutex> lock(g_faultHookMutex);
  g_faultHook = std::move(hook);
}

std::string PortLinkFolder() {
  std::string dir = EnvValue("QVUSB_PORTS_DIR");
  if (!dir.empty()) return dir;
  std::string config = EnvValue("XDG_CONFIG_HOME");
  if (!config.empty()) return config + "/qvusb/ports";
  std::string home = EnvValue("HOME");
  if (home.empty()) {
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
      home = pw->pw_dir;
    }
  }
  if (home.empty()) return std::string();
  return home + "/.config/qvusb/ports";
}

std::string ResolvePortName(const std::string& name) {
  std::optional<uint32_t> n = ComNumber(name);
  if (!n) return name;
  std::string folder = PortLinkFolder();
  if (!folder.empty()) {
    std::string linkPath = folder + "/" + name;
    struct stat st {};
    // Only where there is no such link is the name a serial device's. A link that cannot be read
    // is left to fail at its opening: any other line would be the wrong one.
    if (lstat(linkPath.c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR)) return linkPath;
  }
  return "/dev/ttyS" + std::to_string(*n - 1);
}

SerialDevice::~SerialDevice() { Close(); }

bool SerialDevice::OpenExclusive(const std::string& name) {
  Close();
  std::string path = ResolvePortName(name);
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  // Someone already holds the terminal for themselves: the kernel lets privileged users in
  // regardless, so refuse here as well.
  int held = 0;
  if (ioctl(fd, TIOCGEXCL, &held) == 0 && held != 0) {
    ::close(fd);
    return false;
  }
  // A file that is no terminal at all gets through here and is refused by the type check.
  if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

uint32_t SerialDevice::FileType() const {
  struct stat st {};
  if (fd_ < 0 || fstat(fd_, &st) != 0) return kFileTypeUnknown;
  if (S_ISCHR(st.st_mode)) return kFileTypeChar;
  if (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)) return kFileTypeDisk;
  if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return kFileTypePipe;
  return kFileTypeUnknown;
}

bool SerialDevice::SetEventMask(uint32_t /*mask*/) { return fd_ >= 0; }

bool SerialDevice::GetTimeouts(SerialTimeouts* timeouts) const {
  if (fd_ < 0 || timeouts == nullptr) return false;
  *timeouts = timeouts_;
  return true;
}

bool SerialDevice::SetTimeouts(const SerialTimeouts& timeouts) {
  if (fd_ < 0 || Refused(SerialStep::SetTimeouts)) return false;
  timeouts_ = timeouts;
  return true;
}

bool SerialDevice::GetState(SerialLineState* state) const {
  termios t{};
  if (fd_ < 0 || state == nullptr || tcgetattr(fd_, &t) != 0) return false;
  SerialLineState s;
  s.baudRate = SpeedRate(cfgetospeed(&t));
  switch (t.c_cflag & CSIZE) {
    case CS5:
      s.byteSize = 5;
      break;
    case CS6:
      s.byteSize = 6;
      break;
    case CS7:
      s.byteSize = 7;
      break;
    default:
      s.byteSize = 8;
      break;
  }
  s.parity = (t.c_cflag & PARENB) == 0 ? kNoParity : (t.c_cflag & PARODD) != 0 ? kOddParity : kEvenParity;
  s.stopBits = (t.c_cflag & CSTOPB) != 0 ? kTwoStopBits : kOneStopBit;
  s.binary = true;
  s.outxCtsFlow = (t.c_cflag & CRTSCTS) != 0;
  s.outX = (t.c_iflag & IXON) != 0;
  s.inX = (t.c_iflag & IXOFF) != 0;
  s.xonChar = static_cast<char>(t.c_cc[VSTART]);
  s.xoffChar = static_cast<char>(t.c_cc[VSTOP]);
  // The lines as they really are where the device has them, else as last set.
  int lines = 0;
  if (ioctl(fd_, TIOCMGET, &lines) == 0) {
    s.dtrControl = (lines & TIOCM_DTR) != 0 ? kDtrControlEnable : kDtrControlDisable;
    s.rtsControl = (lines & TIOCM_RTS) != 0 ? kRtsControlEnable : kRtsControlDisable;
  } else {
    s.dtrControl = dtrControl_;
    s.rtsControl = rtsControl_;
  }
  if (s.outxCtsFlow) s.rtsControl = kRtsControlHandshake;
  *state = s;
  return true;
}

bool SerialDevice::SetState(const SerialLineState& state) {
  termios t{};
  if (fd_ < 0 || Refused(SerialStep::SetState) || tcgetattr(fd_, &t) != 0) return false;
  std::optional<speed_t> speed = SpeedCode(state.baudRate);
  if (!speed || state.byteSize < 5 || state.byteSize > 8) return false;
  cfmakeraw(&t);
  cfsetispeed(&t, *speed);
  cfsetospeed(&t, *speed);
  static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
  t.c_cflag = (t.c_cflag & ~CSIZE) | kSizes[state.byteSize - 5];
  t.c_cflag &= ~(PARENB | PARODD | CSTOPB | CRTSCTS);
  if (state.parity == kOddParity) t.c_cflag |= PARENB | PARODD;
  if (state.parity == kEvenParity) t.c_cflag |= PARENB;
  if (state.parity != kNoParity) t.c_iflag |= INPCK;
  if (state.stopBits == kTwoStopBits) t.c_cflag |= CSTOPB;
  if (state.outxCtsFlow || state.rtsControl == kRtsControlHandshake) t.c_cflag |= CRTSCTS;
  t.c_cflag |= CLOCAL | CREAD;
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  if (state.outX) t.c_iflag |= IXON;
  if (state.inX) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = static_cast<cc_t>(state.xonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(state.xoffChar);
  // Reads never block in the kernel: Read waits with poll under its own time-outs.
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (tcsetattr(fd_, TCSANOW, &t) != 0) return false;

  dtrControl_ = state.dtrControl;
  rtsControl_ = state.rtsControl;
  bool lines = SetModemLine(fd_, TIOCM_DTR, state.dtrControl != kDtrControlDisable);
  if (state.rtsControl != kRtsControlHandshake) {
    lines = SetModemLine(fd_, TIOCM_RTS, state.rtsControl != kRtsControlDisable) && lines;
  }
  return lines;
}

bool SerialDevice::Purge(uint32_t flags) {
  if (fd_ < 0) return false;
  bool rx = (flags & kPurgeRxClear) != 0;
  bool tx = (flags & kPurgeTxClear) != 0;
  // Every write waits until its bytes have left, so the output queue holds nothing unsent. On a
  // pseudo-terminal flushing it would throw away what the other side has not read yet: bytes that
  // were sent, such as a frame without reply just before the next one.
  if (tx && IsPseudoTerminal(fd_)) tx = false;
  if (!rx && !tx) return true;
  int queue = rx && tx ? TCIOFLUSH : rx ? TCIFLUSH : TCOFLUSH;
  return tcflush(fd_, queue) == 0;
}

bool SerialDevice::Drain(std::optional<std::chrono::steady_clock::time_point> deadline) {
  if (!deadline) {
    (void)tcdrain(fd_);
    return true;
  }
  // tcdrain cannot be given a time limit: watch the output queue instead. It empties within a
  // few milliseconds at the line rate, so short naps cost nothing; they go through the wait hook
  // like every other wait, for a line held up by its flow control.
  for (;;) {
    int queued = 0;
    if (ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0) return true;
    if (std::chrono::steady_clock::now() >= *deadline) return false;
    WaitForDescriptor(-1, 0, 1, nullptr);
  }
}

bool SerialDevice::Write(const uint8_t* data, size_t length, size_t* written) {
  size_t done = 0;
  if (written != nullptr) *written = 0;
  if (fd_ < 0 || (data == nullptr && length > 0) || Refused(SerialStep::Write, data, length)) return false;

  std::optional<Clock::time_point> deadline;
  if (timeouts_.writeTotalTimeoutConstant != 0 || timeouts_.writeTotalTimeoutMultiplier != 0) {
    uint64_t ms =
        uint64_t{timeouts_.writeTotalTimeoutConstant} + uint64_t{timeouts_.writeTotalTimeoutMultiplier} * length;
    deadline = Clock::now() + std::chrono::milliseconds(ScaledTimeout(ClampMs(ms)));
  }

  bool ok = true;
  while (done < length) {
    ssize_t n = ::write(fd_, data + done, length - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      ok = false;
      break;
    }
    // The line's queue is full: wait until it takes more.
    int waitMs = -1;
    if (deadline) {
      waitMs = MillisecondsUntil(*deadline);
      if (waitMs == 0) {
        ok = false;
        break;
      }
    }
    short revents = 0;
    int r = WaitForDescriptor(fd_, POLLOUT, waitMs, &revents);
    if (r < 0 && errno != EINTR) {
      ok = false;
      break;
    }
    if (r > 0 && (revents & POLLOUT) == 0 && (revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      ok = false;
      break;
    }
  }
  // Done only when the bytes have left, not merely when they are queued, so that the purge
  // before the next write cannot discard them. A line that never lets them go fails the write.
  if (ok && done > 0) ok = Drain(deadline);
  if (written != nullptr) *written = done;
  return ok && done == length;
}

bool SerialDevice::Read(uint8_t* buffer, size_t count, size_t* got) {
  size_t done = 0;
  if (got != nullptr) *got = 0;
  if (fd_ < 0 || (buffer == nullptr && count > 0)) return false;
  if (count == 0) return true;

  const SerialTimeouts& t = timeouts_;
  const bool immediate =
      t.readIntervalTimeout == kTimeoutMaxValue && t.readTotalTimeoutMultiplier == 0 && t.readTotalTimeoutConstant == 0;
  const Clock::time_point start = Clock::now();
  std::optional<Clock::time_point> totalDeadline;
  if (t.readTotalTimeoutConstant != 0 || t.readTotalTimeoutMultiplier != 0) {
    uint64_t ms = uint64_t{t.readTotalTimeoutConstant} + uint64_t{t.readTotalTimeoutMultiplier} * count;
    NoteWait(WaitKind::Read, ClampMs(ms), t.readIntervalTimeout);
    totalDeadline = start + std::chrono::milliseconds(ScaledTimeout(ClampMs(ms)));
  }
  std::optional<std::chrono::milliseconds> interval;
  if (!immediate && t.readIntervalTimeout != 0) {
    interval = std::chrono::milliseconds(ScaledTimeout(t.readIntervalTimeout));
  }

  bool ok = true;
  bool polledReady = false;
  Clock::time_point lastByte = start;
  while (done < count) {
    // In raw mode without a minimum count the terminal answers 0 when nothing is there.
    ssize_t n = ::read(fd_, buffer + done, count - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      lastByte = Clock::now();
      polledReady = false;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      ok = false;
      break;
    }
    if (immediate) break;
    // Ready yet empty: the end of the input, not a wait.
    if (n == 0 && polledReady) break;
    polledReady = false;

    std::optional<Clock::time_point> deadline = totalDeadline;
    if (interval && done > 0) {
      Clock::time_point gapEnd = lastByte + *interval;
      if (!deadline || gapEnd < *deadline) deadline = gapEnd;
    }
    int waitMs = -1;
    if (deadline) {
      waitMs = MillisecondsUntil(*deadline);
      if (waitMs == 0) break;
    }
    short revents = 0;
    int r = WaitForDescriptor(fd_, POLLIN, waitMs, &revents);
    if (r < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (r == 0) continue;  // the deadline check above ends the read
    if ((revents & POLLIN) != 0) {
      polledReady = true;
      continue;
    }
    if ((revents & (POLLERR | POLLNVAL)) != 0) ok = false;
    break;  // hung up
  }
  if (got != nullptr) *got = done;
  return ok;
}

bool SerialDevice::Close() {
  if (fd_ < 0) return false;
  // Give the terminal back for others to open.
  (void)ioctl(fd_, TIOCNXCL);
  int r = ::close(fd_);
  fd_ = -1;
  timeouts_ = SerialTimeouts{};
  dtrControl_ = kDtrControlDisable;
  rtsControl_ = kRtsControlDisable;
  return r == 0 || errno == EINTR;
}

}  // namespace platform
