// The meter command layer: the device-found guard, frames for the meter, the reply reader, and
// the lines of the meter's failures, through which every handheld-meter operation goes.
#include "common/log_texts.h"
#include "main/main.h"
#include "protocol/exchange.h"

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

std::optional<link::CommandFrame> TModule1::BuildMeterCommand(char letter1, char letter2, bool deviceLevel) {
  if (!deviceLevel) return meter.Frame(letter1, letter2, MeterChannel());
  if (!CheckDeviceFound()) return std::nullopt;
  return meter.Frame(letter1, letter2, protocol::Meter::kDeviceLevel);
}

std::optional<link::Bytes> TModule1::ReadMeterReply(int32_t n, bool check) {
  auto reply = protocol::ReadReply(*Port, n, check);
  if (reply) return *reply;
  if (check) LogMeterFailure(reply.failure());
  return std::nullopt;
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
