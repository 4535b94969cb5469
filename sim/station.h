// The stand-in multi-channel station: eight TDR channels with their probe types, measurements,
// reflectogram and calibrations, and an AUX bus of temperature, matric-pressure and other probes.
// Values are plausible and deterministic; a test sets only what it cares about.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/device.h"
#include "sim/instruments.h"

namespace sim {

// The 1S replies that close an AUX search.
inline const std::string kAuxEndOfList = "FFFFFFFFFFFFFFFF";
inline const std::string kAuxNoProbe = "FFFFFFFFFFFFFFFE";
inline const std::string kAuxBusError = "0000000000000000";

// One probe on the AUX bus: its 16-character identifier (family first: "28" temperature,
// "55" matric pressure) and what 1R or 1P answers for it.
struct AuxProbe {
  std::string id;
  std::string value;
};

// What one channel measures: the texts its reading commands answer.
struct ChannelReadings {
  std::string conductivity;  // RS, 5 characters, S/m
  std::string temperature;   // RT, 5 characters, degrees Celsius
  std::string moisture;      // RM, 6 characters, per cent
  std::string dielectric;    // RN, 6 characters
  std::string cableLength;   // VL, 4 characters, m
};

class StationDevice : public Device {
 public:
  // The station at this address; its default AUX probes carry the address in their names.
  explicit StationDevice(uint8_t address);

  std::optional<std::string> Answer(const ReceivedFrame& frame) override;

  static constexpr int kChannels = 8;
  static constexpr size_t kReflectogramValues = 1026;

  // Probe types: bit k set = laboratory probe on channel k + 1.
  void SetProbeTypeMask(uint8_t mask);
  uint8_t ProbeTypeMask() const;

  // Channel 1 to 8.
  void SetReadings(int channel, ChannelReadings readings);
  ChannelReadings Readings(int channel) const;
  // The values the station would send for a channel's reflectogram (1024 trace values, then the
  // two marker positions); an explicit set replaces the computed one for every channel.
  std::vector<uint16_t> Reflectogram(int channel) const;
  void SetReflectogram(std::optional<std::vector<uint16_t>> values);
  enum class TraceStyle {
    UpperHex,  // as the station sends it
    LowerHex,  // lower-case hexadecimal digits
    Broken,    // one character of the trace is not a hexadecimal digit
  };
  void SetTraceStyle(TraceStyle style);

  // VL, VA, VW or CC answers 'E' first (refused) while set.
  void SetRefused(const std::string& command, bool refused);

  // The AUX bus: probes reported in order by 1S after a search start (1W with 16 'F'), then the
  // end-of-list marker, or the no-probe marker when there is none.
  void SetAuxProbes(std::vector<AuxProbe> probes);
  std::vector<AuxProbe> AuxProbes() const;
  // The bus fails: after `afterProbes` probes the search gets the bus-error marker.
  void SetAuxBusError(std::optional<size_t> afterProbes);
  // Exact 1S replies in place of the bus, in order; the last one repeats (an empty list: none).
  void SetAuxSearchReplies(std::optional<std::vector<std::string>> replies);

  // The 16-character payloads of every 1W received, search starts included, in order.
  std::vector<std::string> Payloads() const;

  // A fault on this station's replies only (Silent, Short, Er or Custom; `times` as on the line).
  void InjectFault(const std::string& command, Fault fault);
  void ClearFaults();

 private:
  std::optional<std::string> AnswerLocked(const ReceivedFrame& frame);
  std::string EncodeReflectogram(int channel) const;
  std::string NextAuxReply();
  const AuxProbe* FindAux(const std::string& id) const;
  std::string Calibration(const std::string& command, const std::string& normal) const;

  mutable std::mutex mu_;
  uint8_t mask_ = 0;
  std::array<ChannelReadings, kChannels> readings_;
  std::optional<std::vector<uint16_t>> reflectogram_;
  TraceStyle style_ = TraceStyle::UpperHex;
  std::map<std::string, bool> refused_;
  std::vector<AuxProbe> aux_;
  std::optional<size_t> busErrorAfter_;
  std::optional<std::vector<std::string>> auxReplies_;
  std::vector<std::string> payloads_;
  FaultMap faults_;

  // What the last commands left behind.
  int measured_ = 1;                         // channel of the last MS, MT or MM
  bool measureFailed_ = false;               // the last MS, MT or MM named no channel
  std::array<bool, kChannels> airDone_{};    // CA done, by channel
  std::array<bool, kChannels> waterDone_{};  // CW done, by channel
  size_t auxCursor_ = 0;
  std::string auxSelected_;  // identifier of the last 1M
};

}  // namespace sim
