#include "protocol/search.h"

#include <array>
#include <cstring>

#include "platform/timing.h"

inline namespace qvusb {
namespace protocol {

namespace {

// Address 0x00 and 'B', after the wake preamble.
constexpr std::array<uint8_t, 2> kSearchFrame = {0x00, 'B'};
constexpr uint32_t kAnswerWaitMs = 100;

}  // namespace

Result<std::vector<std::string>> SearchDevices(link::SerialPort& port) {
  if (!port.Write(kSearchFrame.data(), static_cast<int32_t>(kSearchFrame.size()), true)) return Failure::NotSent;
  platform::Sleep(kAnswerWaitMs);
  const auto reply = port.Read(link::kReadUpTo256);
  const size_t count = reply ? reply->size() : 0;
  if (count < link::kDeviceIdLength) return Failure::NoReply;
  std::vector<std::string> ids;
  for (size_t i = 0; i + link::kDeviceIdLength <= count; i += link::kDeviceIdLength) {
    const char* id = reply->c_str() + i;
    ids.emplace_back(id, strnlen(id, link::kDeviceIdLength));
  }
  return ids;
}

}  // namespace protocol
}  // namespace qvusb
