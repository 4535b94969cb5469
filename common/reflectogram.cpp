#include "common/reflectogram.h"

#include "link/frame.h"

Reflectogram DecodeMeterReflectogram(const uint8_t* bytes) {
  Reflectogram values{};
  for (size_t i = 0; i < kReflectogramValues; ++i) {
    values[i] = uint32_t{bytes[2 * i]} * 256u + uint32_t{bytes[2 * i + 1]};
  }
  return values;
}

Reflectogram DecodeStationReflectogram(const std::string& text, bool* faulty) {
  Reflectogram values{};
  for (size_t i = 0; i < values.size(); ++i) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) {
      const size_t at = 4 * i + k;
      const char c = at < text.size() ? text[at] : '\0';
      // The station's own conversion: '0' off, and 7 more above '9'. Only upper-case digits are
      // sound; any other character marks the whole reflectogram faulty, but its digit still
      // counts (unsigned arithmetic gives the same bits as the signed sum).
      int digit = static_cast<unsigned char>(c) - '0';
      if (digit > 9) digit -= 7;
      if (link::HexDigitValue(c) < 0) *faulty = true;
      value = value * 16 + static_cast<uint32_t>(digit);
    }
    values[i] = value;
  }
  return values;
}

std::optional<size_t> MarkerSample(uint32_t position) {
  const size_t sample = position / 10u;
  if (sample >= kTraceLength) return std::nullopt;
  return sample;
}
