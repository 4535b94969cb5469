// The two halves of an addressed exchange with the meter or a station.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "link/serial_port.h"
#include "protocol/result.h"

inline namespace qvusb {
namespace protocol {

// Writes the first `count` bytes of a frame, then `payload`, after the wake preamble.
inline Result<Done> SendFrame(link::SerialPort& port, const std::optional<link::CommandFrame>& frame, int count,
                              const std::string& payload = {}) {
  if (!link::WriteFrame(port, frame, count, payload)) return Failure::NotSent;
  return Done{};
}

// Reads n bytes (or up to 256). Checked, an "ER" reply is refused; a shorter one passes.
inline Result<link::Bytes> ReadReply(link::SerialPort& port, int32_t n, bool check) {
  auto reply = port.Read(n);
  if (!reply) return Failure::NoReply;
  if (check && reply->StartsWith("ER")) return Failure::Refused;
  return std::move(*reply);
}

}  // namespace protocol
}  // namespace qvusb
