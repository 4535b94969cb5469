// A reflectogram reply decoded as the meter sends it (two bytes a value) and as a station sends
// it (four hexadecimal digits a value), with the markers that the chart places on the trace.
#include <cstdint>

#include "fuzz/fuzz.h"
#include "protocol/meter.h"
#include "protocol/station.h"

namespace {

using protocol::kFirstMarker, protocol::kReflectogramValues, protocol::kSecondMarker, protocol::kTraceLength,
    protocol::MarkerSample, protocol::Reflectogram;

void CheckMarkers(const Reflectogram& values) {
  for (size_t m : {kFirstMarker, kSecondMarker}) {
    const auto sample = MarkerSample(values[m]);
    FUZZ_CHECK(sample ? *sample < kTraceLength && *sample == values[m] / 10 : values[m] / 10 >= kTraceLength);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= protocol::Meter::kReflectogramBytes) {
    const Reflectogram values = protocol::Meter::DecodeReflectogram(data);
    for (size_t i = 0; i < kReflectogramValues; ++i) FUZZ_CHECK(values[i] == data[2 * i] * 256u + data[2 * i + 1]);
    CheckMarkers(values);
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto [values, markers] = protocol::Station::DecodeReflectogram(text);
  bool sound = text.size() >= 4 * kReflectogramValues;
  for (size_t i = 0; sound && i < 4 * kReflectogramValues; ++i) sound = IsUpperHex(text[i]);
  FUZZ_CHECK(markers == sound);
  if (!sound) return 0;
  for (size_t i = 0; i < kReflectogramValues; ++i)
    FUZZ_CHECK(values[i] == std::stoul(text.substr(4 * i, 4), nullptr, 16));
  CheckMarkers(values);
  return 0;
}
