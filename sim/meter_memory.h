// The handheld meter's text side: the device-information and memory-bank commands it answers
// without preamble ("HRT", "HRD", "HRC", "HRV", "HRS", "HRB1" ...).
#pragma once

#include <array>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/frame_parser.h"

namespace sim {

class MeterMemory {
 public:
  static constexpr int kBanks = 3;
  // Characters of one stored data point, line end included.
  static constexpr size_t kPointLength = 92;

  // A plausible stored point of a bank: always the same for the same bank and index, exactly
  // kPointLength characters ending in CR LF.
  static std::string MakePoint(int bank, int index);

  MeterMemory();

  // Whether the line is one of the meter's text commands.
  bool Takes(const ReceivedFrame& frame) const;
  // The reply to one of them, or nothing for no reply.
  std::optional<std::string> Answer(const ReceivedFrame& frame);

  // The replies to "HRD", "HRC" and "HRV", sent as set (any length).
  void SetDate(std::string reply);
  void SetContrast(std::string reply);
  void SetSupplyVoltage(std::string reply);
  // The points a bank holds (1 to 3), each sent as set; the "HRS" counts follow them.
  void SetBank(int bank, std::vector<std::string> points);
  // Bank `bank` filled with `count` points made by MakePoint.
  void FillBank(int bank, int count);
  // Exact bytes to answer "HRS" with; nullopt: the counts of the banks.
  void SetStoredPointsReply(std::optional<std::string> raw);

 private:
  std::string StoredPointsReply() const;  // under mu_

  mutable std::mutex mu_;
  std::string time_, date_, contrast_, voltage_;
  std::array<std::vector<std::string>, kBanks> banks_;
  std::optional<std::string> storedRaw_;
};

}  // namespace sim
