#include "protocol/meter.h"

#include <algorithm>

#include "platform/timing.h"
#include "protocol/exchange.h"

inline namespace qvusb {
namespace protocol {

namespace {

// The time the meter takes to measure, after MS, MT and MM, and to make the reflectogram ready.
constexpr uint32_t kSalinityWaitMs = 1480;
constexpr uint32_t kProbeTemperatureWaitMs = 2980;
constexpr uint32_t kMoistureWaitMs = 980;
constexpr uint32_t kReflectogramWaitMs = 769;
// The time the meter measures the probe in water (CW) during a calibration.
constexpr uint32_t kWaterWaitMs = 5000;
// Between a read command and its reply.
constexpr uint32_t kReadWaitMs = 20;
// Before SP, after the RH that read the mask.
constexpr uint32_t kMaskSaveWaitMs = 100;
// Between a text command and its reply.
constexpr uint32_t kInfoWaitMs = 100;
// A bank transfer: 20 ms a point, never under 200 ms.
constexpr uint32_t kBankWaitPerPointMs = 20;
constexpr uint32_t kShortestBankWaitMs = 200;

struct Command {
  const char* text;
  int32_t length;  // of the reply
};
// By MeterValue: the second letter of the read command.
constexpr Command kValueReads[] = {{"S", 5}, {"T", 5}, {"M", 6}, {"N", 6}};
// By MeterInfo.
constexpr Command kInfoCommands[] = {{"HRT\n", 8}, {"HRD\n", 10}, {"HRC\n", 3}, {"HRV\n", 5}};
constexpr int32_t kMaskLength = 4;
constexpr int32_t kStoredPointsLength = 14;
constexpr int32_t kBankPointLength = 92;
// A bank's count characters stand every 5 characters of the stored-points reply.
constexpr size_t kCountFieldStep = 5;
constexpr size_t kCountFieldLength = 4;

}  // namespace

std::string StoredPoints::Field(int bank) const {
  const size_t start = static_cast<size_t>(bank - 1) * kCountFieldStep;
  return start < text_.size() ? text_.substr(start, kCountFieldLength) : std::string();
}

int32_t StoredPoints::Count(int bank) const { return link::ParseInteger(Field(bank)); }

Meter::Meter(link::SerialPort& port) : CalibrationInstrument(port, kWaterWaitMs) {}

std::optional<link::CommandFrame> Meter::Frame(char letter1, char letter2, std::optional<int> channel) const {
  if (!channel) return std::nullopt;
  return link::MakeFrame(kAddress, letter1, letter2, false, *channel);
}

Result<Done> Meter::Measure(char letter, std::optional<int> channel, uint32_t waitMs) {
  if (const auto sent = SendFrame(port_, Frame('M', letter, channel), 4); !sent) return sent;
  platform::Sleep(waitMs);
  return Done{};
}

Result<Done> Meter::MeasureSalinity(std::optional<int> channel) { return Measure('S', channel, kSalinityWaitMs); }

Result<Done> Meter::MeasureProbeTemperature(std::optional<int> channel) {
  return Measure('T', channel, kProbeTemperatureWaitMs);
}

Result<link::Bytes> Meter::Ask(char letter, std::optional<int> channel, uint32_t waitMs, int32_t length) {
  if (const auto sent = SendFrame(port_, Frame('R', letter, channel), 3); !sent) return sent.failure();
  platform::Sleep(waitMs);
  return ReadReply(port_, length, true);
}

Result<std::string> Meter::ReadValue(MeterValue value, std::optional<int> channel) {
  const Command& read = kValueReads[static_cast<int>(value)];
  const auto reply = Ask(read.text[0], channel, kReadWaitMs, read.length);
  if (!reply) return reply.failure();
  return reply->Text();
}

Result<Done> Meter::MeasureMoisture(std::optional<int> channel) { return Measure('M', channel, kMoistureWaitMs); }

Result<MarkedReflectogram> Meter::ReadReflectogram(std::optional<int> channel) {
  const auto reply = Ask('G', channel, kReflectogramWaitMs, static_cast<int32_t>(kReflectogramBytes));
  if (!reply) return reply.failure();
  // A cut reflectogram has no defined values past its end.
  if (reply->size() < kReflectogramBytes) return Failure::TooShort;
  return MarkedReflectogram{DecodeReflectogram(reply->data()), true};
}

Reflectogram Meter::DecodeReflectogram(const uint8_t* bytes) {
  Reflectogram values{};
  for (size_t i = 0; i < kReflectogramValues; ++i) {
    values[i] = static_cast<uint32_t>(bytes[2 * i]) * 256u + static_cast<uint32_t>(bytes[2 * i + 1]);
  }
  return values;
}

Result<link::ProbeTypeMask> Meter::ReadProbeTypeMask() {
  const auto reply = Ask('H', kDeviceLevel, kReadWaitMs, kMaskLength);
  if (!reply) return reply.failure();
  const auto mask = link::ProbeTypeMask::FromDigits(reply->c_str(), reply->size());
  if (!mask) return Failure::Unreadable;
  return *mask;
}

Result<Done> Meter::WriteProbeTypeMask(link::ProbeTypeMask mask) {
  platform::Sleep(kMaskSaveWaitMs);
  const auto digits = mask.Digits();
  return SendFrame(port_, Frame('S', 'P', kDeviceLevel), 3, std::string{digits[0], digits[1], '0', '0'});
}

Result<link::Bytes> Meter::TextExchange(const std::string& command, uint32_t waitMs, int32_t n) {
  if (!port_.Write(reinterpret_cast<const uint8_t*>(command.data()), static_cast<int32_t>(command.size()), false)) {
    return Failure::NotSent;
  }
  platform::Sleep(waitMs);
  return ReadReply(port_, n, true);
}

Result<std::string> Meter::ReadInfo(MeterInfo item) {
  const Command& command = kInfoCommands[static_cast<int>(item)];
  const auto reply = TextExchange(command.text, kInfoWaitMs, command.length);
  if (!reply) return reply.failure();
  return reply->Text();
}

Result<StoredPoints> Meter::ReadStoredPoints() {
  const auto reply = TextExchange("HRS\n", kInfoWaitMs, kStoredPointsLength);
  if (!reply) return reply.failure();
  return StoredPoints(reply->Text());
}

Result<MemoryBank> Meter::ReadBank(int bank, int32_t count) {
  const auto points = static_cast<uint32_t>(std::max(count, 0));
  const auto reply =
      TextExchange("HRB" + std::to_string(bank) + "\n", std::max(kShortestBankWaitMs, kBankWaitPerPointMs * points),
                   kBankPointLength * static_cast<int32_t>(points));
  if (!reply) return reply.failure();
  return MemoryBank::FromReply(*reply, count);
}

MemoryBank MemoryBank::FromReply(const link::Bytes& reply, int32_t count) {
  std::string text = reply.Text();
  const bool complete = text.size() >= static_cast<size_t>(kBankPointLength) * static_cast<size_t>(std::max(count, 0));
  return MemoryBank{std::move(text), complete};
}

}  // namespace protocol
}  // namespace qvusb
