// The AT dialogue with the modem: command lines, the polled wait for its answer, and the wake
// sequence that "ON" and "Set" share.
#include "common/log_texts.h"
#include "formatka4/formatka4.h"
#include "platform/timing.h"

namespace {

constexpr uint32_t kPollIntervalMs = 300;
// The 61st read is still logged but no longer searched.
constexpr int kLastSearchedPoll = 60;

}  // namespace

bool TModule4::WaitForModemReply(const std::string& expected) {
  std::string gathered;
  for (int polls = 1;; ++polls) {
    platform::Sleep(kPollIntervalMs);
    if (const auto bytes = ReadModemReply(link::kReadExactCopy256)) {
      gathered += bytes->Raw();
      // The whole text so far, line ends included, as one entry.
      Log(">>" + link::ShownInLog(gathered) + "<<");
    }
    if (polls > kLastSearchedPoll) {
      Log(kModemFailedLine);
      return false;
    }
    if (gathered.find(expected) != std::string::npos) return true;
  }
}

bool TModule4::SendModemLine(const std::string& text) {
  const std::string line = text + '\r';
  if (!Port->Write(reinterpret_cast<const uint8_t*>(line.data()), static_cast<int32_t>(line.size()), false)) {
    Log(kSendFailureLine);
    return false;
  }
  return true;
}

bool TModule4::WakeModem() {
  if (!SendModeFrame('4', nullptr) || !WaitForModemReply("VORN")) return false;
  if (!SendModemLine("aten") || !WaitForModemReply("OK")) return false;
  if (!SendModemLine("at") || !WaitForModemReply("OK")) return false;
  Log("The modem is turned on");
  return true;
}
