// The stand-in handheld meter, addressed as 0xFE: measurements, reflectogram, probe types and
// calibrations by addressed frames; device information and memory banks by text lines.
#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "sim/device.h"
#include "sim/meter_memory.h"

namespace sim {

class MeterDevice : public Device {
 public:
  std::optional<std::string> Answer(const ReceivedFrame& frame) override;
  bool TakesText(const ReceivedFrame& frame) const override { return memory_.Takes(frame); }

  MeterMemory& Memory() { return memory_; }

 private:
  std::optional<std::string> AnswerFrame(const ReceivedFrame& frame);

  mutable std::mutex mu_;
  MeterMemory memory_;
};

}  // namespace sim
