#include "sim/meter.h"

namespace sim {

std::optional<std::string> MeterDevice::Answer(const ReceivedFrame& frame) {
  if (frame.preamble == 0) return memory_.Answer(frame);
  return AnswerFrame(frame);
}

std::optional<std::string> MeterDevice::AnswerFrame(const ReceivedFrame& /*frame*/) {
  std::lock_guard lock(mu_);
  return std::nullopt;
}

}  // namespace sim
