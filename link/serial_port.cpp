#include "link/serial_port.h"

#include <algorithm>

inline namespace qvusb {
namespace link {

namespace {

// Fixed line time-outs: 200 ms between two bytes, 200 ms plus 1 ms per requested byte in all.
constexpr uint32_t kReadIntervalMs = 200;
constexpr uint32_t kReadTotalPerByteMs = 1;
constexpr uint32_t kReadTotalConstantMs = 200;
constexpr uint32_t kEventMask = 0xFFFF;
constexpr int32_t kLargestReply = 256;

}  // namespace

SerialPort::SerialPort() = default;
SerialPort::~SerialPort() = default;

bool SerialPort::Open(const char* name) {
  if (handle_.Valid()) handle_.Close();
  if (name == nullptr || !handle_.OpenExclusive(name)) return false;
  // Anything but a character device is refused; the caller's Close releases it.
  if (handle_.FileType() != platform::kFileTypeChar) return false;

  // Kept only: nothing waits on line events, so a refused mask changes nothing.
  handle_.SetEventMask(kEventMask);

  // A port whose time-outs or line settings do not take is of no use: every exchange would just
  // time out. The caller's Close releases it.
  platform::SerialTimeouts timeouts;
  handle_.GetTimeouts(&timeouts);
  timeouts.readIntervalTimeout = kReadIntervalMs;
  timeouts.readTotalTimeoutMultiplier = kReadTotalPerByteMs;
  timeouts.readTotalTimeoutConstant = kReadTotalConstantMs;
  if (!handle_.SetTimeouts(timeouts)) return false;

  // Only these settings change; flow control and the rest stay as the device has them.
  platform::SerialLineState state;
  handle_.GetState(&state);
  state.baudRate = 57600;
  state.byteSize = 8;
  state.parity = platform::kNoParity;
  state.stopBits = platform::kOneStopBit;
  state.binary = true;
  state.dtrControl = platform::kDtrControlEnable;
  if (!handle_.SetState(state)) return false;

  handle_.Purge(platform::kPurgeRxClear);
  handle_.Purge(platform::kPurgeTxClear);
  return true;
}

bool SerialPort::Write(const uint8_t* data, int32_t length, bool withPreamble) {
  if (data == nullptr || length < 0) return false;

  std::vector<uint8_t> buffer;
  buffer.reserve((withPreamble ? kWakePreambleLength : 0) + static_cast<size_t>(length));
  if (withPreamble) buffer.assign(kWakePreambleLength, kWakeByte);
  buffer.insert(buffer.end(), data, data + length);

  // Whatever an earlier command left unread must not be taken for this one's reply.
  handle_.Purge(platform::kPurgeRxClear);
  handle_.Purge(platform::kPurgeTxClear);

  // Only the whole buffer counts: part of a frame is of no use to the instrument.
  size_t written = 0;
  return handle_.Write(buffer.data(), buffer.size(), &written) && written > 0;
}

std::optional<Bytes> SerialPort::Read(int32_t n) {
  if (n < kReadExactCopy256) return std::nullopt;
  const size_t request = static_cast<size_t>(n >= 0 ? n : kLargestReply);
  std::vector<uint8_t> buffer(request + 1, 0);
  size_t got = 0;
  handle_.Read(buffer.data(), request, &got);  // a device error still hands over what came
  if (got == 0) return std::nullopt;
  // Every mode hands out exactly the bytes received followed by a NUL.
  return Bytes(buffer.data(), got);
}

void SerialPort::Close() { handle_.Close(); }

bool WriteFrame(SerialPort& port, const std::optional<CommandFrame>& frame, int count, const std::string& payload) {
  if (!frame) return port.Write(nullptr, 0, true);
  std::vector<uint8_t> bytes(frame->begin(), frame->begin() + std::clamp(count, 0, static_cast<int>(frame->size())));
  bytes.insert(bytes.end(), payload.begin(), payload.end());
  return port.Write(bytes.data(), static_cast<int32_t>(bytes.size()), true);
}

}  // namespace link
}  // namespace qvusb
