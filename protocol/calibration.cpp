#include "protocol/calibration.h"

#include "platform/timing.h"
#include "protocol/exchange.h"

inline namespace qvusb {
namespace protocol {

Result<std::string> CalibrationInstrument::AskResult(char letter1, char letter2, std::optional<int> channel) {
  if (const auto sent = SendFrame(port_, Frame(letter1, letter2, channel), 4); !sent) return sent.failure();
  platform::Sleep(kResultWaitMs);
  const auto result = ReadReply(port_, kResultLength, false);
  if (!result) return result.failure();
  if ((*result)[0] == 'E') return Failure::ErrorResult;
  return result->Text();
}

Result<std::string> CalibrationInstrument::MeasureAndVerify(char letter, uint32_t waitMs, std::optional<int> channel) {
  if (const auto sent = SendFrame(port_, Frame('C', letter, channel), 4); !sent) return sent.failure();
  platform::Sleep(waitMs);
  return AskResult('V', letter, channel);
}

Result<std::string> CalibrationInstrument::CalibrateLength(std::optional<int> channel) {
  return MeasureAndVerify('L', kLengthWaitMs, channel);
}

Result<std::string> CalibrationInstrument::CalibrateInMedium(CalibrationMedium medium, std::optional<int> channel) {
  const bool water = medium == CalibrationMedium::Water;
  return MeasureAndVerify(water ? 'W' : 'A', water ? waterWaitMs_ : kFirstMediumWaitMs, channel);
}

Result<Done> CalibrationInstrument::SendMediumPayload(const std::string& payload, std::optional<int> channel) {
  return SendFrame(port_, Frame('1', 'W', channel ? std::optional<int>(kDeviceLevel) : std::nullopt), 3, payload);
}

Result<std::string> CalibrationInstrument::ComputeCalibration(std::optional<int> channel) {
  return AskResult('C', 'C', channel);
}

}  // namespace protocol
}  // namespace qvusb
