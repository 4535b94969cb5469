#include "sim/meter_memory.h"

namespace sim {

bool MeterMemory::Takes(const ReceivedFrame& frame) const {
  return frame.preamble == 0 && frame.command.rfind("HR", 0) == 0;
}

std::optional<std::string> MeterMemory::Answer(const ReceivedFrame& /*frame*/) {
  std::lock_guard lock(mu_);
  return std::nullopt;
}

}  // namespace sim
