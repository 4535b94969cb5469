// The stand-in handheld meter, addressed as 0xFE: measurements, reflectogram, probe types and
// calibrations by addressed frames; device information and memory banks by text lines.
//
// Its values are plausible and deterministic. A measurement (MS, MT, MM) stores the values of
// the channel it names, and the reading commands (RS, RT, RM, RN, RG) hand out the last stored
// ones; the calibrations (CL/VL, CA/VA, CW/VW, CC) answer with their results, and RH/SP read and
// write a stored probe-type mask. Tests change values and results with the setters; faults of
// the line itself (no reply, short or "ER" replies) go through Instruments::InjectFault.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/device.h"
#include "sim/meter_memory.h"

namespace sim {

class MeterDevice : public Device {
 public:
  static constexpr size_t kReflectogramValues = 1026;
  using Values = std::array<uint16_t, kReflectogramValues>;

  MeterDevice();

  std::optional<std::string> Answer(const ReceivedFrame& frame) override;
  bool TakesText(const ReceivedFrame& frame) const override { return memory_.Takes(frame); }

  MeterMemory& Memory() { return memory_; }

  // Measured texts, as the meter sends them (RS and RT 5 characters, RM and RN 6). Set, they
  // replace the plausible values of every channel.
  void SetSalinity(std::string text);
  void SetProbeTemperature(std::string text);
  void SetMoisture(std::string text);
  void SetDielectricConstant(std::string text);
  // The reflectogram that RG sends (2052 bytes, most significant byte first); set, it replaces
  // the plausible one. SetMarkers changes only values 1024 and 1025.
  void SetReflectogram(const Values& values);
  void SetMarkers(uint16_t first, uint16_t second);
  // The reflectogram RG would send now.
  Values Reflectogram() const;

  // Calibration results (VL: the length, e.g. "0.10"; VA, VW, CC: "OK  ", or 'E'... for failed).
  // `command` is "VL", "VA", "VW" or "CC".
  void SetCalibrationResult(const std::string& command, std::string reply);

  // The probe-type mask (bit k: channel k + 1 has a laboratory probe). SetProbeTypeReply sends
  // exact bytes to RH instead of the mask's digits.
  void SetProbeTypeMask(uint8_t mask);
  uint8_t ProbeTypeMask() const;
  void SetProbeTypeReply(std::optional<std::string> reply);

  // The 16-character payloads of the 1W frames received, in order.
  std::vector<std::string> Payloads() const;

  // A plausible reflectogram of a probe whose rods begin at sample `start` and whose echo from
  // their end comes `travel` samples later.
  static Values PlausibleReflectogram(int start, int travel);

 private:
  std::optional<std::string> AnswerFrame(const ReceivedFrame& frame);
  Values CurrentReflectogram() const;  // with mu_ held

  mutable std::mutex mu_;
  MeterMemory memory_;

  // Per measurement kind: the text a test set, else the plausible one of the last channel.
  std::optional<std::string> salinitySet_, temperatureSet_, moistureSet_, dielectricSet_;
  std::optional<Values> reflectogramSet_;
  std::optional<std::array<uint16_t, 2>> markersSet_;
  // The channel of the last MS, MT and MM, by the command's second letter.
  std::map<char, int> channels_{{'S', 1}, {'T', 1}, {'M', 1}};
  // The replies of VL, VA, VW and CC.
  std::map<std::string, std::string> results_{{"VL", "0.10"}, {"VA", "OK  "}, {"VW", "OK  "}, {"CC", "OK  "}};
  uint8_t probeMask_ = 0x00;
  std::optional<std::string> probeReply_;
  std::vector<std::string> payloads_;
};

}  // namespace sim
