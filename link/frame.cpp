#include "link/frame.h"

#include <limits>

inline namespace qvusb {
namespace link {

int HexDigitValue(char c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int i = 0; i < 16; ++i) {
    if (kDigits[i] == c) return i;
  }
  return -1;
}

std::optional<uint8_t> DeviceAddress(const std::string& deviceId) {
  if (deviceId.size() < static_cast<size_t>(kDeviceIdLength)) return std::nullopt;
  int high = HexDigitValue(deviceId[6]);
  int low = HexDigitValue(deviceId[7]);
  if (high < 0 || low < 0) return std::nullopt;
  return static_cast<uint8_t>(high * 16 + low);
}

int32_t ParseInteger(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // Accumulated as a magnitude and held at the limits, so an absurdly long number saturates.
  const uint32_t limit =
      negative ? uint32_t{std::numeric_limits<int32_t>::max()} + 1u : uint32_t{std::numeric_limits<int32_t>::max()};
  uint32_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    uint32_t digit = static_cast<uint32_t>(*p - '0');
    magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
  }
  if (!negative) return static_cast<int32_t>(magnitude);
  if (magnitude == limit) return std::numeric_limits<int32_t>::min();
  return -static_cast<int32_t>(magnitude);
}

std::optional<int> ChannelNumber(const std::string& text) {
  const int32_t n = ParseInteger(text);
  if (n < 1 || n > 8) return std::nullopt;
  return n;
}

CommandFrame MakeFrame(uint8_t address, char letter1, char letter2, bool deviceLevel, int32_t channel) {
  // A channel outside 1..8 still gives '0' + channel, reduced to a byte as the line carries it.
  uint8_t channelChar =
      deviceLevel ? uint8_t{'0'} : static_cast<uint8_t>(static_cast<uint32_t>('0') + static_cast<uint32_t>(channel));
  return {address, static_cast<uint8_t>(letter1), static_cast<uint8_t>(letter2), channelChar};
}

}  // namespace link
}  // namespace qvusb
