// A modem settings reply (one read, 256 bytes at most) and the values cut from it for the edits,
// which "Set" later sends back, each inside one AT line.
#include <algorithm>
#include <vector>

#include "fuzz/fuzz.h"
#include "protocol/modem.h"

using protocol::Modem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string reply(reinterpret_cast<const char*>(data), std::min(size, Modem::kSettingsReadLimit));
  std::vector<Modem::ValueMarkers> all(Modem::kShow1Values.begin(), Modem::kShow1Values.end());
  all.push_back(Modem::kShow2Pin);
  for (const Modem::ValueMarkers& m : all) {
    const std::optional<std::string> value = Modem::FindValue(reply, m);
    const size_t start = reply.find(m.start), after = start + std::strlen(m.start);
    if (*m.end == '\0') {
      // The last value of a reply is whole, up to its line end, exactly when a line end follows
      // it: whatever comes after that; without one the read may have cut it.
      const size_t lineEnd = start == std::string::npos ? start : reply.find_first_of("\r\n", after);
      FUZZ_CHECK(value.has_value() == (lineEnd != std::string::npos));
      FUZZ_CHECK(!value || *value == reply.substr(after, lineEnd - after));
    }
    if (!value) continue;
    FUZZ_CHECK(!HasLineBreak(*value));
    // The value stands right after the first start marker.
    FUZZ_CHECK(start != std::string::npos && reply.compare(after, value->size(), *value) == 0);
  }
  return 0;
}
