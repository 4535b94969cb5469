// The device search: one frame that every instrument on the line answers, the time they take,
// and the 8-character identifiers they send one after the other.
#pragma once

#include <string>
#include <vector>

#include "link/serial_port.h"
#include "protocol/result.h"

inline namespace qvusb {
namespace protocol {

// The identifiers in the order they came, each up to its first NUL; bytes after the last whole
// one are ignored. NoReply when not even one whole identifier came.
Result<std::vector<std::string>> SearchDevices(link::SerialPort& port);

}  // namespace protocol
}  // namespace qvusb
