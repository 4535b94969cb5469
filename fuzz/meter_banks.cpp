// The meter's stored-points reply: the count of each memory bank, the transfer it asks for, and
// the contents that transfer brings (the bytes after the first 14).
#include <algorithm>
#include <cstdint>
#include <limits>

#include "fuzz/fuzz.h"
#include "link/bytes.h"
#include "protocol/meter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The reply as the meter's read hands it over: 14 bytes at most, its text up to the first NUL.
  const std::string reply = link::Bytes(data, std::min<size_t>(size, 14)).Text();
  const protocol::StoredPoints points(reply);
  for (int bank = 1; bank <= 3; ++bank) {
    const std::string field = points.Field(bank);
    const size_t at = 5 * static_cast<size_t>(bank - 1);  // where the bank's field starts
    FUZZ_CHECK(field.size() <= 4 && (field.empty() || reply.find(field, at) == at));
    // The transfer's length, 92 characters a point, fits the read's count.
    const int32_t count = points.Count(bank);
    FUZZ_CHECK(count >= -999 && count <= 9999 && 92ll * count <= std::numeric_limits<int32_t>::max());
  }
  // The read of bank 1's contents brings at most 92 bytes a point; a bank reported whole keeps
  // every byte that came, and any bank keeps only bytes that came, in their order.
  const size_t rest = size > 14 ? size - 14 : 0;
  const int32_t count = points.Count(1);
  const std::string received(reinterpret_cast<const char*>(data) + size - rest,
                             std::min<size_t>(rest, 92 * static_cast<size_t>(std::max(count, 0))));
  const auto bank = protocol::MemoryBank::FromReply(link::Bytes(received), count);
  FUZZ_CHECK(received.compare(0, bank.text.size(), bank.text) == 0);
  FUZZ_CHECK(!bank.complete || bank.text == received);
  return 0;
}
