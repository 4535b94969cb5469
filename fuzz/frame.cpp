// A reply and a station key: the reply's text as the windows check and show it, the number and
// the address read from it, the frame built from them, and the key's log file in the working folder.
#include "link/frame.h"

#include <algorithm>
#include <cstdint>

#include "formatka3/log_line.h"
#include "fuzz/fuzz.h"
#include "link/bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const link::Bytes reply(data, size);
  const std::string raw = reply.Raw(), text = reply.Text();
  FUZZ_CHECK(raw.size() == size && text.find('\0') == std::string::npos && raw.compare(0, text.size(), text) == 0);
  FUZZ_CHECK(reply.StartsWith("ER") == (raw.rfind("ER", 0) == 0));

  // ParseInteger is the C library's decimal conversion held at the limits of 32 bits.
  const int32_t n = link::ParseInteger(text);
  FUZZ_CHECK(n == std::clamp<long long>(std::strtoll(text.c_str(), nullptr, 10), INT32_MIN, INT32_MAX));

  // A key, as the device search cuts it from its reply or the user types it, holds no NUL.
  const std::string file = logline::LogFileName(text);
  for (char c : file) FUZZ_CHECK(c != '/' && c != '\\' && static_cast<unsigned char>(c) >= 0x20);

  const auto address = link::DeviceAddress(text);
  FUZZ_CHECK(address.has_value() == (text.size() >= 8 && IsUpperHex(text[6]) && IsUpperHex(text[7])));
  if (!address) return 0;
  FUZZ_CHECK(*address == std::stoi(text.substr(6, 2), nullptr, 16));
  for (bool deviceLevel : {false, true}) {
    const link::CommandFrame frame = link::MakeFrame(*address, 'R', 'M', deviceLevel, n);
    const auto channel = static_cast<uint8_t>(deviceLevel ? 0x30u : 0x30u + static_cast<uint32_t>(n));
    FUZZ_CHECK(frame == (link::CommandFrame{*address, 'R', 'M', channel}));
  }
  return 0;
}
