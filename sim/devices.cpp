// The default stand-in for each kind of identifier on the line, and the hexadecimal digits the
// instruments share.
#include "sim/device.h"
#include "sim/meter.h"
#include "sim/modem.h"
#include "sim/station.h"

namespace sim {

std::string Hex2(uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::optional<uint8_t> ParseHex2(char high, char low) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (digit(high) < 0 || digit(low) < 0) return std::nullopt;
  return static_cast<uint8_t>(digit(high) * 16 + digit(low));
}

void TakeProbeTypeMask(const ReceivedFrame& frame, uint8_t& mask) {
  if (frame.bytes.size() < 5) return;
  if (auto value = ParseHex2(static_cast<char>(frame.bytes[3]), static_cast<char>(frame.bytes[4]))) mask = *value;
}

std::optional<uint8_t> AddressOf(const std::string& deviceId) {
  if (!deviceId.empty() && deviceId[0] == 'H') return uint8_t{0xFE};
  if (deviceId.size() < 8) return std::nullopt;
  return ParseHex2(deviceId[6], deviceId[7]);
}

std::shared_ptr<Device> MakeDefaultDevice(const std::string& deviceId) {
  if (deviceId.empty()) return nullptr;
  switch (deviceId[0]) {
    case 'H':  // handheld meter
      return std::make_shared<MeterDevice>();
    case 'T':  // multi-channel station
      if (auto address = AddressOf(deviceId)) return std::make_shared<StationDevice>(*address);
      return nullptr;
    case 'G':  // GPRS modem
      return std::make_shared<ModemDevice>();
    default:
      return nullptr;
  }
}

}  // namespace sim
