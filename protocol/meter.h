// The handheld meter over the program's one serial port, always at address 0xFE: its commands and
// frames, the lengths and checks of its replies, their decoding, and the time it takes for each
// step. Every exchange returns its value or which failure happened; what the user is told of it is
// the window's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "link/bytes.h"
#include "link/frame.h"
#include "link/probe_type_mask.h"
#include "link/serial_port.h"
#include "protocol/calibration.h"
#include "protocol/moisture.h"
#include "protocol/result.h"

inline namespace qvusb {
namespace protocol {

// The values the meter measures, as RS, RT, RM and RN read them back.
enum class MeterValue { Salinity, ProbeTemperature, Moisture, DielectricConstant };
// The meter's information items, each a text command of its own.
enum class MeterInfo { Time, Date, Contrast, SupplyVoltage };

// The stored-points reply: four count characters for each of the three memory banks.
class StoredPoints {
 public:
  explicit StoredPoints(std::string text) : text_(std::move(text)) {}
  // Bank 1 to 3's count characters as received (fewer, or none, past the end of the reply).
  std::string Field(int bank) const;
  // Those characters read as a number; 0 without digits.
  int32_t Count(int bank) const;

 private:
  std::string text_;
};

// A memory bank's contents as received, up to the first NUL, and whether every point its count
// promised is in them.
struct MemoryBank {
  std::string text;
  bool complete;

  // What a read of `count` points brought: a NUL ends the text, so a bank cut by one is not whole.
  static MemoryBank FromReply(const link::Bytes& reply, int32_t count);
};

// Its own commands (kDeviceLevel) carry the channel digit 0, which no channel box refuses.
class Meter final : public MoistureInstrument, public CalibrationInstrument {
 public:
  static constexpr uint8_t kAddress = 0xFE;

  explicit Meter(link::SerialPort& port);

  std::optional<link::CommandFrame> Frame(char letter1, char letter2, std::optional<int> channel) const override;

  // Commands on a channel take the window's, or nothing when it has none to address: they are
  // then not sent.
  // MS and MT, then the time the meter takes to measure.
  Result<Done> MeasureSalinity(std::optional<int> channel);
  Result<Done> MeasureProbeTemperature(std::optional<int> channel);
  // The last measured value as the meter sends it; its command carries no channel digit, yet
  // needs a channel all the same.
  Result<std::string> ReadValue(MeterValue value, std::optional<int> channel);
  // MM and the time the meter takes; RG, the time it takes to make it ready, and its 2052 bytes,
  // two a value, most significant first.
  Result<Done> MeasureMoisture(std::optional<int> channel) override;
  Result<MarkedReflectogram> ReadReflectogram(std::optional<int> channel) override;
  static constexpr size_t kReflectogramBytes = 2 * kReflectogramValues;
  // The reflectogram in its first kReflectogramBytes bytes.
  static Reflectogram DecodeReflectogram(const uint8_t* bytes);

  // The probe-type mask (RH), Unreadable unless it comes as two upper-case hexadecimal digits;
  // and SP with a mask, after the pause the meter needs before it.
  Result<link::ProbeTypeMask> ReadProbeTypeMask();
  Result<Done> WriteProbeTypeMask(link::ProbeTypeMask mask);

  // Text commands, written without preamble or address.
  Result<std::string> ReadInfo(MeterInfo item);
  Result<StoredPoints> ReadStoredPoints();
  // Bank 1 to 3, holding `count` points: the longer the transfer, the longer the meter needs.
  Result<MemoryBank> ReadBank(int bank, int32_t count);

 private:
  Result<Done> Measure(char letter, std::optional<int> channel, uint32_t waitMs);
  // R<letter>, the time the meter takes to answer, and its checked reply.
  Result<link::Bytes> Ask(char letter, std::optional<int> channel, uint32_t waitMs, int32_t length);
  Result<link::Bytes> TextExchange(const std::string& command, uint32_t waitMs, int32_t n);
};

}  // namespace protocol
}  // namespace qvusb
