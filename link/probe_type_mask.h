// The probe type of each of an instrument's eight channels, one bit per channel, as the RH reply
// carries it and the SP frame sends it back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

inline namespace qvusb {
namespace link {

// Bit k is channel k + 1: set for a laboratory probe, clear for a field probe. On the line it is
// two upper-case hexadecimal digits, first the one of channels 5 to 8.
struct ProbeTypeMask {
  uint8_t bits = 0;

  // From the first two characters of a reply; nothing unless both are upper-case hexadecimal
  // digits (a shorter reply included).
  static std::optional<ProbeTypeMask> FromDigits(const char* text, size_t length);
  // The two digits as sent: channels 5 to 8, then channels 1 to 4.
  std::array<char, 2> Digits() const;

  // `channelIndex` 0 to 7; any other index has no bit (field, unchanged).
  bool Laboratory(int channelIndex) const;
  void SetLaboratory(int channelIndex, bool laboratory);
};

}  // namespace link
}  // namespace qvusb
