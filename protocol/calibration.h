// The calibration exchanges of a probe, alike on the handheld meter and the stations: C<letter>,
// the time the instrument measures, V<letter> and its result (up to 4 characters, unchecked,
// 'E' first when the step failed); 1W with what the instrument must know of a medium; CC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/frame.h"
#include "link/serial_port.h"
#include "protocol/result.h"

inline namespace qvusb {
namespace protocol {

enum class CalibrationMedium {
  First,  // CA/VA: air, the calibrator, or the medium of eps_low
  Water,  // CW/VW: water, or the medium of eps_high
};

// Each exchange takes the window's channel, or nothing when it has none to address: it is then
// not sent. A result comes as the instrument wrote it (to a NUL); a failed step is ErrorResult.
class CalibrationInstrument {
 public:
  // The channel digit of device-level commands.
  static constexpr int kDeviceLevel = 0;

  // The frame of a command on `channel` (1 to 8, or kDeviceLevel), in the instrument's addressing;
  // nothing without a channel, or without the address it needs.
  virtual std::optional<link::CommandFrame> Frame(char letter1, char letter2, std::optional<int> channel) const = 0;

  // CL, VL and the probe length as the instrument formats it.
  Result<std::string> CalibrateLength(std::optional<int> channel);
  Result<std::string> CalibrateInMedium(CalibrationMedium medium, std::optional<int> channel);
  // 1W, device-level yet sent only with a channel: the eps roots of the two media, or the water
  // of a laboratory probe (its temperature's code, or the AUX probe that measures it).
  Result<Done> SendMediumPayload(const std::string& payload, std::optional<int> channel);
  // CC: the instrument computes the calibration and stores it.
  Result<std::string> ComputeCalibration(std::optional<int> channel);

 protected:
  CalibrationInstrument(link::SerialPort& port, uint32_t waterWaitMs) : port_(port), waterWaitMs_(waterWaitMs) {}
  ~CalibrationInstrument() = default;

  link::SerialPort& port_;

 private:
  // C<letter>, the time the instrument measures, then AskResult(V<letter>).
  Result<std::string> MeasureAndVerify(char letter, uint32_t waitMs, std::optional<int> channel);
  // A command, the time its result takes, and the result.
  Result<std::string> AskResult(char letter1, char letter2, std::optional<int> channel);

  // The time the instrument takes to measure the probe length (CL) and the first medium (CA); the
  // water's (CW) is the instrument's own. Then the time V<letter> and CC take to give a result.
  static constexpr uint32_t kLengthWaitMs = 1980;
  static constexpr uint32_t kFirstMediumWaitMs = 2500;
  static constexpr uint32_t kResultWaitMs = 20;
  static constexpr int32_t kResultLength = 4;

  uint32_t waterWaitMs_;
};

}  // namespace protocol
}  // namespace qvusb
