#include "link/probe_type_mask.h"

#include "link/frame.h"

inline namespace qvusb {
namespace link {

std::optional<ProbeTypeMask> ProbeTypeMask::FromDigits(const char* text, size_t length) {
  if (text == nullptr || length < 2) return std::nullopt;
  const int high = HexDigitValue(text[0]);
  const int low = HexDigitValue(text[1]);
  if (high < 0 || low < 0) return std::nullopt;
  return ProbeTypeMask{static_cast<uint8_t>(high * 16 + low)};
}

std::array<char, 2> ProbeTypeMask::Digits() const {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[bits >> 4], kDigits[bits & 0x0F]};
}

bool ProbeTypeMask::Laboratory(int channelIndex) const {
  if (channelIndex < 0 || channelIndex > 7) return false;
  return (bits >> channelIndex) & 1u;
}

void ProbeTypeMask::SetLaboratory(int channelIndex, bool laboratory) {
  if (channelIndex < 0 || channelIndex > 7) return;
  const auto bit = static_cast<uint8_t>(1u << channelIndex);
  bits = laboratory ? static_cast<uint8_t>(bits | bit) : static_cast<uint8_t>(bits & ~bit);
}

}  // namespace link
}  // namespace qvusb
