#include "common/reflectogram.h"

Reflectogram DecodeMeterReflectogram(const uint8_t* bytes) {
  Reflectogram values{};
  for (size_t i = 0; i < kReflectogramValues; ++i) {
    values[i] = static_cast<uint32_t>(bytes[2 * i]) * 256u + static_cast<uint32_t>(bytes[2 * i + 1]);
  }
  return values;
}

std::optional<size_t> MarkerSample(uint32_t position) {
  const size_t sample = position / 10u;
  if (sample >= kTraceLength) return std::nullopt;
  return sample;
}
