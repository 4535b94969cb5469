// The probe-type mask of an RH reply: read, sent back and changed channel by channel.
#include <cstdint>

#include "fuzz/fuzz.h"
#include "link/probe_type_mask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const auto mask = link::ProbeTypeMask::FromDigits(text, size);
  FUZZ_CHECK(mask.has_value() == (size >= 2 && IsUpperHex(text[0]) && IsUpperHex(text[1])));
  if (!mask) return 0;
  FUZZ_CHECK(mask->Digits()[0] == text[0] && mask->Digits()[1] == text[1]);
  const long bits = std::strtol(std::string(text, 2).c_str(), nullptr, 16);
  // Setting one channel's type changes that channel alone; an index past the channels nothing.
  for (int k = -1; k <= 8; ++k) {
    link::ProbeTypeMask changed = *mask;
    changed.SetLaboratory(k, !mask->Laboratory(k));
    for (int j = 0; j < 8; ++j) {
      FUZZ_CHECK(mask->Laboratory(j) == (((bits >> j) & 1) != 0));
      FUZZ_CHECK(changed.Laboratory(j) == (mask->Laboratory(j) != (j == k)));
    }
  }
  return 0;
}
