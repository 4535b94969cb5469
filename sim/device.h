// A stand-in instrument on the line: answers the frames addressed to it and, where it speaks
// plain text, the text lines sent without preamble.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "sim/frame_parser.h"

namespace sim {

class Device {
 public:
  virtual ~Device() = default;
  // The reply to a frame, or nothing for no reply. Runs on the instruments' reader thread while
  // tests may change the device's state from theirs: a device guards its own state.
  virtual std::optional<std::string> Answer(const ReceivedFrame& frame) = 0;
  // Whether the device takes this text line (a frame without preamble and without address).
  virtual bool TakesText(const ReceivedFrame& /*frame*/) const { return false; }
};

// A device's state that tests set or read while the reader thread answers: one value at a time,
// under the device's lock.
template <typename T, typename V>
void SetLocked(std::mutex& mu, T& field, V&& value) {
  std::lock_guard lock(mu);
  field = std::forward<V>(value);
}

template <typename T>
T ReadLocked(std::mutex& mu, const T& field) {
  std::lock_guard lock(mu);
  return field;
}

// A byte as two upper-case hexadecimal digits, as the instruments send masks and addresses.
std::string Hex2(uint8_t value);
// The byte two upper-case hexadecimal digits make; nothing when either is not one.
std::optional<uint8_t> ParseHex2(char high, char low);
// SP: the probe-type mask of the frame's two digits; a mask the instrument cannot read leaves the
// stored one alone.
void TakeProbeTypeMask(const ReceivedFrame& frame, uint8_t& mask);

// The address an identifier answers to: 0xFE for a handheld meter ('H'), else characters 7 and 8
// read as two upper-case hexadecimal digits; nothing for an identifier without an address.
std::optional<uint8_t> AddressOf(const std::string& deviceId);

// The device installed by default for an identifier found on the line, by its kind letter;
// null where there is no model of that kind.
std::shared_ptr<Device> MakeDefaultDevice(const std::string& deviceId);

}  // namespace sim
