// The default stand-in for each kind of identifier on the line.
#include "sim/device.h"
#include "sim/meter.h"
#include "sim/modem.h"
#include "sim/station.h"

namespace sim {

std::optional<uint8_t> AddressOf(const std::string& deviceId) {
  if (!deviceId.empty() && deviceId[0] == 'H') return uint8_t{0xFE};
  if (deviceId.size() < 8) return std::nullopt;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  int high = digit(deviceId[6]);
  int low = digit(deviceId[7]);
  if (high < 0 || low < 0) return std::nullopt;
  return static_cast<uint8_t>(high * 16 + low);
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
