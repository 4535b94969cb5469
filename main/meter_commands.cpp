// The device-found guard, the channel of a meter command and the lines of the meter's failures,
// through which every handheld-meter operation goes.
#include "common/log_texts.h"
#include "main/main.h"

bool TModule1::CheckDeviceFound() {
  if (deviceFound) return true;
  Log("Search for devices on the selected com port first");
  return false;
}

std::optional<int> TModule1::MeterChannel() {
  if (!CheckDeviceFound()) return std::nullopt;
  // No channel chosen yet, or a typed text that names none: the caller logs what failed.
  return link::ChannelNumber(ChannelSelect->Text());
}

void TModule1::LogMeterFailure(protocol::Failure failure) {
  switch (failure) {
    case protocol::Failure::NotSent:
      Log(kSendFailureLine);
      break;
    case protocol::Failure::NoReply:
    case protocol::Failure::TooShort:
      Log(kReceiveFailureLine);
      break;
    case protocol::Failure::Refused:
      Log(kRefusedLine);
      break;
    default:
      break;
  }
}
