#include "common/reflectogram.h"

std::optional<size_t> MarkerSample(uint32_t position) {
  const size_t sample = position / 10u;
  if (sample >= kTraceLength) return std::nullopt;
  return sample;
}
