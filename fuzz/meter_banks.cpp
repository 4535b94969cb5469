// The meter's stored-points reply: the count of each memory bank, and the transfer it asks for.
#include "main/meter_banks.h"

#include <cstdint>
#include <limits>

#include "fuzz/fuzz.h"
#include "link/bytes.h"
#include "link/frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The reply as the window reads it: 14 characters at most, up to the first NUL.
  const std::string reply = link::Bytes(data, size).Text(14);
  for (int bank = 1; bank <= 3; ++bank) {
    const std::string field = BankCountField(reply, bank);
    FUZZ_CHECK(field.size() <= 4 && (field.empty() || reply.find(field, 5 * (bank - 1)) == 5u * (bank - 1)));
    // The transfer's length, 92 characters a point, fits the read's count.
    const int32_t count = link::ParseInteger(field);
    FUZZ_CHECK(count >= -999 && count <= 9999 && 92ll * count <= std::numeric_limits<int32_t>::max());
  }
  return 0;
}
