#include "sim/instruments.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/serial.h"

namespace sim {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// 10 bits per byte (start, 8 data, stop) at 57600 baud.
constexpr std::chrono::nanoseconds kByteTime{1'000'000'000LL * 10 / 57600};
// Paced replies go out in chunks this large: fine enough for the timing, few enough writes.
constexpr size_t kPaceChunk = 8;

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

// The entry for `key`: the exact one, else the longest "prefix*" entry that matches.
template <class Map>
typename Map::iterator FindByKey(Map& map, const std::string& key) {
  auto exact = map.find(key);
  if (exact != map.end()) return exact;
  auto best = map.end();
  size_t bestLength = 0;
  for (auto it = map.begin(); it != map.end(); ++it) {
    const std::string& k = it->first;
    if (k.empty() || k.back() != '*') continue;
    size_t stem = k.size() - 1;
    if (key.size() >= stem && key.compare(0, stem, k, 0, stem) == 0 && (best == map.end() || stem > bestLength)) {
      best = it;
      bestLength = stem;
    }
  }
  return best;
}

}  // namespace

std::optional<std::string> ApplyFault(const Fault& fault, std::optional<std::string> reply) {
  switch (fault.kind) {
    case Fault::Kind::None:
    case Fault::Kind::Pieces:
    case Fault::Kind::LostWrite:
      break;
    case Fault::Kind::Silent:
      reply.reset();
      break;
    case Fault::Kind::Short:
    case Fault::Kind::Vanish:
      if (reply) reply->resize(std::min(fault.keep, reply->size()));
      break;
    case Fault::Kind::Er:
      reply = PaddedEr(reply ? reply->size() : 0);
      break;
    case Fault::Kind::Custom:
      reply = fault.bytes;
      break;
  }
  return reply;
}

std::string PaddedEr(size_t length) { return "ER" + std::string(std::max<size_t>(length, 2) - 2, ' '); }

void SetFault(FaultMap& faults, const std::string& command, Fault f) {
  if (f.kind == Fault::Kind::None || f.times == 0) {
    faults.erase(command);
  } else {
    faults[command] = std::move(f);
  }
}

Fault UseFault(FaultMap& faults, FaultMap::iterator f) {
  Fault fault = f->second;
  if (f->second.times > 0 && --f->second.times == 0) faults.erase(f);
  return fault;
}

struct Instruments::Impl {
  // Both -1 once the line vanished. The reader thread closes them, holding both locks below;
  // others use them under either lock.
  int master = -1;
  int slave = -1;   // held open so that the master never sees the line hang up
  int stopFd = -1;  // eventfd, readable once the reader thread is to stop
  std::string slavePath;
  std::thread reader;
  std::atomic<bool> stopping{false};
  FrameParser parser;  // reader thread only

  mutable std::mutex mu;  // everything below
  mutable std::condition_variable framesChanged;
  mutable std::condition_variable settledChanged;
  bool busy = false;  // the reader is taking in or answering what came
  std::vector<ReceivedFrame> frames;
  size_t dropped = 0;
  std::vector<std::string> ids;
  std::optional<std::string> searchRaw;
  std::map<std::string, Handler> handlers;
  std::map<uint8_t, std::shared_ptr<Device>> devices;
  FaultMap faults;
  FaultMap lostWrites;
  bool hooked = false;  // the process's serial fault hook is ours
  bool pacing = false;
  std::chrono::microseconds replyDelay{0};
  std::map<std::string, std::chrono::microseconds> commandDelays;
  Clock::time_point lastReplyAt{};
  std::vector<fs::path> links;

  std::mutex writeMu;  // one writer on the master at a time

  ~Impl() {
    for (int fd : {master, slave, stopFd}) {
      if (fd >= 0) close(fd);
    }
  }

  // A new pseudo-terminal, raw from the start. Throws std::system_error.
  void OpenLine();
  // The adapter is gone: both ends closed, so that the program's side hangs up.
  void CloseLine();
  void StartReader();
  void StopReader();
  void Run();
  void WaitForStop() const;
  void Answer(const ReceivedFrame& frame);
  void SetBusy(bool on);
  // Sleeps until `until`; false when the instruments shut down meanwhile. `answering`: on the
  // reader thread, which counts as settled while it holds a reply back on purpose.
  bool PauseUntil(Clock::time_point until, bool answering);
  // Writes all `count` bytes, waiting for room (settled meanwhile for a reply, `isReply`). With
  // `endsReply` the reply's time is stamped just before each write, so that whoever has read the
  // last byte already finds it set.
  bool WriteAll(const char* data, size_t count, bool endsReply, bool isReply);
  void Transmit(const std::string& bytes, size_t piece, std::chrono::milliseconds pause, bool paced, bool isReply);
  // Whether the program's write of these bytes (one whole frame or text line) is to fail.
  bool LoseWrite(const uint8_t* data, size_t length);
};

void Instruments::Impl::OpenLine() {
  master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master < 0) ThrowErrno("posix_openpt");
  if (grantpt(master) != 0) ThrowErrno("grantpt");
  if (unlockpt(master) != 0) ThrowErrno("unlockpt");
  char name[256];
  int err = ptsname_r(master, name, sizeof name);
  if (err != 0) throw std::system_error(err, std::generic_category(), "ptsname_r");
  slavePath = name;
  // Replies wait for room instead of blocking the reader thread for good.
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

  slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) ThrowErrno("open slave");
  // Raw from the start: no echo and no translation of what either side writes.
  termios tio{};
  if (tcgetattr(slave, &tio) != 0) ThrowErrno("tcgetattr");
  cfmakeraw(&tio);
  cfsetspeed(&tio, B57600);
  if (tcsetattr(slave, TCSANOW, &tio) != 0) ThrowErrno("tcsetattr");
}

void Instruments::Impl::CloseLine() {
  std::lock_guard writing(writeMu);
  std::lock_guard lock(mu);
  for (int* fd : {&master, &slave}) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
  }
  settledChanged.notify_all();
}

void Instruments::Impl::StartReader() {
  parser = FrameParser();  // nothing of a frame cut short on the line before
  SetBusy(false);
  reader = std::thread([this] { Run(); });
}

void Instruments::Impl::StopReader() {
  stopping = true;
  uint64_t count = 1;
  if (write(stopFd, &count, sizeof count) < 0) std::perror("sim: eventfd");
  if (reader.joinable()) reader.join();
  if (read(stopFd, &count, sizeof count) < 0 && errno != EAGAIN) std::perror("sim: eventfd");
  stopping = false;
}

void Instruments::Impl::SetBusy(bool on) {
  std::lock_guard lock(mu);
  busy = on;
  if (!on) settledChanged.notify_all();
}

bool Instruments::Impl::LoseWrite(const uint8_t* data, size_t length) {
  FrameParser one;
  const std::vector<ReceivedFrame> written = one.Feed(data, length, Clock::now());
  std::lock_guard lock(mu);
  auto f = FindByKey(lostWrites, written.empty() ? std::string() : written.front().command);
  if (f == lostWrites.end()) return false;
  if (f->second.keep > 0) {
    --f->second.keep;
    return false;
  }
  UseFault(lostWrites, f);
  return true;
}

void Instruments::Impl::Run() {
  std::vector<uint8_t> buf(4096);
  for (;;) {
    if (master < 0) {  // vanished: nothing comes any more until the line is plugged in again
      WaitForStop();
      return;
    }
    pollfd fds[2] = {{master, POLLIN, 0}, {stopFd, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      std::perror("sim: poll");
      return;
    }
    if (fds[1].revents != 0) return;
    if ((fds[0].revents & POLLIN) == 0) {
      // The held slave descriptor keeps hang-ups away; anything else is broken for good, and
      // polling again would spin.
      if ((fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        std::fprintf(stderr, "sim: the pseudo-terminal failed\n");
        WaitForStop();
        return;
      }
      continue;
    }
    // Busy from before the bytes leave the line until they are answered, so that whoever waits
    // for the instruments to settle never finds them in between.
    SetBusy(true);
    ssize_t n = read(master, buf.data(), buf.size());
    Clock::time_point now = Clock::now();
    if (n < 0) {
      SetBusy(false);
      if (errno == EAGAIN || errno == EINTR) continue;
      std::perror("sim: read");
      WaitForStop();
      return;
    }
    std::vector<ReceivedFrame> received = parser.Feed(buf.data(), static_cast<size_t>(n), now);
    SetLocked(mu, dropped, parser.DroppedBytes());
    for (ReceivedFrame& frame : received) {
      if (master < 0) break;  // the line vanished under the frames still to come
      Answer(frame);
      if (stopping) return;
    }
    SetBusy(false);
  }
}

void Instruments::Impl::WaitForStop() const {
  pollfd p = {stopFd, POLLIN, 0};
  while (poll(&p, 1, -1) < 0 && errno == EINTR) {
  }
}

void Instruments::Impl::Answer(const ReceivedFrame& frame) {
  Handler handler;
  std::shared_ptr<Device> device;
  std::optional<std::string> reply;
  Fault fault;
  bool paced = false;
  std::chrono::microseconds delay{0};
  {
    std::lock_guard lock(mu);
    auto h = FindByKey(handlers, frame.command);
    if (h != handlers.end()) {
      handler = h->second;
    } else if (frame.command == "B") {
      if (searchRaw) {
        reply = *searchRaw;
      } else {
        std::string all;
        for (const std::string& id : ids) all += id;
        reply = all;
      }
    } else if (frame.preamble > 0) {
      auto d = devices.find(frame.address);
      if (d != devices.end()) device = d->second;
    } else {
      for (const auto& [address, candidate] : devices) {
        if (candidate->TakesText(frame)) {
          device = candidate;
          break;
        }
      }
    }
    auto f = FindByKey(faults, frame.command);
    if (f != faults.end()) fault = UseFault(faults, f);
    paced = pacing;
    auto d = commandDelays.find(frame.command);
    delay = d != commandDelays.end() ? d->second : replyDelay;
  }
  // A throwing handler or device must not take the reader thread, and with it the test, down.
  try {
    if (handler) {
      reply = handler(frame);
    } else if (device) {
      reply = device->Answer(frame);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "sim: answer to \"%s\" failed: %s\n", frame.command.c_str(), e.what());
    reply.reset();
  }
  const size_t piece = fault.kind == Fault::Kind::Pieces ? std::max<size_t>(fault.keep, 1) : 0;
  reply = ApplyFault(fault, std::move(reply));
  // Recorded once the device has taken it and before its reply goes out: whoever sees the frame
  // sees what it did, and whoever has the reply finds the frame recorded.
  {
    std::lock_guard lock(mu);
    frames.push_back(frame);
  }
  framesChanged.notify_all();
  if (reply && !reply->empty() && (delay.count() <= 0 || PauseUntil(Clock::now() + delay, true))) {
    Transmit(*reply, piece, fault.pause, paced, true);
  }
  if (fault.kind == Fault::Kind::Vanish) {
    // Bytes still unread go with the line, so it goes once the program has taken what came.
    const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(10);
    for (;;) {
      pollfd p = {slave, POLLIN, 0};
      if (poll(&p, 1, 0) <= 0 || Clock::now() > giveUp) break;
      if (!PauseUntil(Clock::now() + std::chrono::milliseconds(1), true)) return;
    }
    CloseLine();
  }
}

bool Instruments::Impl::PauseUntil(Clock::time_point until, bool answering) {
  if (answering) SetBusy(false);
  bool waited = true;
  for (;;) {
    Clock::time_point now = Clock::now();
    if (now >= until) {
      waited = !stopping;
      break;
    }
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(until - now);
    timespec ts{static_cast<time_t>(left.count() / 1'000'000'000), static_cast<long>(left.count() % 1'000'000'000)};
    pollfd p = {stopFd, POLLIN, 0};
    int r = ppoll(&p, 1, &ts, nullptr);
    if (r > 0 || (r < 0 && errno != EINTR)) {
      waited = false;
      break;
    }
  }
  if (answering) SetBusy(true);
  return waited;
}

bool Instruments::Impl::WriteAll(const char* data, size_t count, bool endsReply, bool isReply) {
  while (count > 0) {
    if (endsReply) {
      std::lock_guard lock(mu);
      lastReplyAt = Clock::now();
    }
    ssize_t n = write(master, data, count);
    if (n > 0) {
      data += n;
      count -= static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    // The program has not read what is queued: wait for room, or for the shutdown.
    if (isReply) SetBusy(false);
    pollfd fds[2] = {{master, POLLOUT, 0}, {stopFd, POLLIN, 0}};
    const int r = poll(fds, 2, -1);
    if (isReply) SetBusy(true);
    if (r < 0 && errno != EINTR) return false;
    if (fds[1].revents != 0) return false;
  }
  return true;
}

void Instruments::Impl::Transmit(const std::string& bytes, size_t piece, std::chrono::milliseconds pause, bool paced,
                                 bool isReply) {
  std::lock_guard writing(writeMu);
  if (piece == 0) piece = bytes.size();
  for (size_t start = 0; start < bytes.size(); start += piece) {
    if (start > 0 && !PauseUntil(Clock::now() + pause, isReply)) return;
    const size_t end = std::min(start + piece, bytes.size());
    // Paced, each chunk goes out when its last byte would have arrived over the line.
    const size_t chunk = paced ? kPaceChunk : end - start;
    const Clock::time_point lineStart = Clock::now();
    for (size_t done = start; done < end;) {
      const size_t length = std::min(chunk, end - done);
      const auto onLine = kByteTime * static_cast<int64_t>(done + length - start);
      if (paced && !PauseUntil(lineStart + onLine, isReply)) return;
      const bool last = isReply && done + length == bytes.size();
      if (master < 0 || !WriteAll(bytes.data() + done, length, last, isReply)) return;
      done += length;
    }
  }
}

Instruments::Instruments(std::vector<std::string> deviceIds) : impl_(std::make_unique<Impl>()) {
  Impl& s = *impl_;
  SetDeviceIds(std::move(deviceIds));
  s.OpenLine();
  s.stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (s.stopFd < 0) ThrowErrno("eventfd");
  s.StartReader();
}

Instruments::~Instruments() {
  Impl& s = *impl_;
  if (s.hooked) platform::SetSerialFaultHook(nullptr);
  s.StopReader();
  for (const fs::path& link : s.links) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(link, ec)) && fs::read_symlink(link, ec) == s.slavePath) {
      fs::remove(link, ec);
    }
  }
}

void Instruments::PlugIn() {
  Impl& s = *impl_;
  s.StopReader();
  s.CloseLine();
  s.OpenLine();
  for (const fs::path& link : ReadLocked(s.mu, s.links)) {
    fs::remove(link);
    fs::create_symlink(s.slavePath, link);
  }
  s.StartReader();
}

const std::string& Instruments::SlavePath() const { return impl_->slavePath; }

void Instruments::LinkAs(const std::string& comName, const std::string& folder) {
  fs::create_directories(folder);
  fs::path link = fs::path(folder) / comName;
  // A link left behind by an earlier run that did not end cleanly.
  if (fs::is_symlink(fs::symlink_status(link))) fs::remove(link);
  fs::create_symlink(impl_->slavePath, link);
  std::lock_guard lock(impl_->mu);
  impl_->links.push_back(link);
}

void Instruments::SetDeviceIds(std::vector<std::string> ids) {
  std::lock_guard lock(impl_->mu);
  for (const std::string& id : ids) {
    std::optional<uint8_t> address = AddressOf(id);
    if (!address || impl_->devices.count(*address) != 0) continue;
    if (std::shared_ptr<Device> device = MakeDefaultDevice(id)) impl_->devices[*address] = device;
  }
  impl_->ids = std::move(ids);
}

void Instruments::Install(uint8_t address, std::shared_ptr<Device> device) {
  std::lock_guard lock(impl_->mu);
  if (device) {
    impl_->devices[address] = std::move(device);
  } else {
    impl_->devices.erase(address);
  }
}

std::shared_ptr<Device> Instruments::DeviceAt(uint8_t address) const {
  std::lock_guard lock(impl_->mu);
  auto d = impl_->devices.find(address);
  return d == impl_->devices.end() ? nullptr : d->second;
}

void Instruments::SetSearchReplyRaw(std::optional<std::string> raw) {
  SetLocked(impl_->mu, impl_->searchRaw, std::move(raw));
}

void Instruments::SetHandler(const std::string& command, Handler h) {
  std::lock_guard lock(impl_->mu);
  if (h) {
    impl_->handlers[command] = std::move(h);
  } else {
    impl_->handlers.erase(command);
  }
}

void Instruments::InjectFault(const std::string& command, Fault f) {
  std::lock_guard lock(impl_->mu);
  const bool lost = f.kind == Fault::Kind::LostWrite;
  SetFault(lost ? impl_->lostWrites : impl_->faults, command, std::move(f));
  if (lost && !impl_->hooked) {
    impl_->hooked = true;
    platform::SetSerialFaultHook([impl = impl_.get()](platform::SerialStep step, const uint8_t* data, size_t length) {
      return step == platform::SerialStep::Write && impl->LoseWrite(data, length);
    });
  }
}

void Instruments::ClearFaults() {
  std::lock_guard lock(impl_->mu);
  impl_->faults.clear();
  impl_->lostWrites.clear();
}

void Instruments::SetPacing(bool lineRate) { SetLocked(impl_->mu, impl_->pacing, lineRate); }

void Instruments::SetReplyDelay(std::chrono::microseconds d) { SetLocked(impl_->mu, impl_->replyDelay, d); }

void Instruments::SetReplyDelay(const std::string& command, std::chrono::microseconds d) {
  std::lock_guard lock(impl_->mu);
  impl_->commandDelays[command] = d;
}

std::vector<ReceivedFrame> Instruments::Frames() const { return ReadLocked(impl_->mu, impl_->frames); }

void Instruments::ClearFrames() {
  std::lock_guard lock(impl_->mu);
  impl_->frames.clear();
}

bool Instruments::WaitForFrames(size_t n, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mu);
  return impl_->framesChanged.wait_for(lock, timeout, [&] { return impl_->frames.size() >= n; });
}

size_t Instruments::DroppedBytes() const { return ReadLocked(impl_->mu, impl_->dropped); }

void Instruments::Send(const std::string& bytes) {
  impl_->Transmit(bytes, 0, {}, ReadLocked(impl_->mu, impl_->pacing), false);
}

bool Instruments::WaitUntilSettled(std::chrono::milliseconds timeout) const {
  const Clock::time_point end = Clock::now() + timeout;
  std::unique_lock lock(impl_->mu);
  for (;;) {
    if (!impl_->busy) {
      if (impl_->master < 0) return true;
      // poll, unlike FIONREAD, also counts what the kernel has taken from the program but not
      // yet handed to the master side.
      pollfd p = {impl_->master, POLLIN, 0};
      if (poll(&p, 1, 0) <= 0 || (p.revents & POLLIN) == 0) return true;
    }
    // Bytes that arrive do not notify: look again shortly.
    const Clock::time_point next = std::min(end, Clock::now() + std::chrono::milliseconds(1));
    impl_->settledChanged.wait_until(lock, next);
    if (Clock::now() >= end) return false;
  }
}

Instruments::Clock::time_point Instruments::LastReplyByteAt() const {
  return ReadLocked(impl_->mu, impl_->lastReplyAt);
}

}  // namespace sim
