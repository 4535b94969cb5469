// A devices configuration file as a hand editor may leave it: what the reader takes it writes
// back and reads again as the same records (numbers at the writer's six digits).
#include "formatka3/config_file.h"

#include <cmath>

#include "fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto read = configfile::Read(std::string(reinterpret_cast<const char*>(data), size));
  if (!read) return 0;
  for (const auto& [key, c] : *read) {
    FUZZ_CHECK(!HasLineBreak(key) && std::isfinite(c->GetPeriod()));
    for (int k = 0; k < 2; ++k)
      FUZZ_CHECK(std::isfinite(c->GetA0(k)) && std::isfinite(c->GetA1(k)) && std::isfinite(c->GetA2(k)));
  }
  FUZZ_CHECK(!configfile::FirstUnwritable(*read));
  const std::string written = configfile::Write(*read);
  const auto again = configfile::Read(written);
  FUZZ_CHECK(again && again->size() == read->size() && configfile::Write(*again) == written);
  for (auto a = again->begin(), r = read->begin(); a != again->end(); ++a, ++r) FUZZ_CHECK(a->first == r->first);
  return 0;
}
