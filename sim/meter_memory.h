// The handheld meter's text side: the device-information and memory-bank commands it answers
// without preamble ("HRT", "HRD", "HRC", "HRV", "HRS", "HRB1" ...).
#pragma once

#include <mutex>
#include <optional>
#include <string>

#include "sim/frame_parser.h"

namespace sim {

class MeterMemory {
 public:
  // Whether the line is one of the meter's text commands.
  bool Takes(const ReceivedFrame& frame) const;
  // The reply to one of them, or nothing for no reply.
  std::optional<std::string> Answer(const ReceivedFrame& frame);

 private:
  mutable std::mutex mu_;
};

}  // namespace sim
