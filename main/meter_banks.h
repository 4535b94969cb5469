// The stored-points reply of the meter's memory banks, apart from any exchange.
#pragma once

#include <string>

// The four count characters of a bank (1 to 3) in the stored-points reply: as many of them as
// were received.
inline std::string BankCountField(const std::string& reply, int bank) {
  const size_t start = static_cast<size_t>(bank - 1) * 5;
  return start < reply.size() ? reply.substr(start, 4) : std::string();
}
