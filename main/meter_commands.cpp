// The meter command layer: the device-found guard, the frame builder and the reply reader that
// every handheld-meter operation goes through.
#include "main/main.h"

bool TModule1::CheckDeviceFound() {
  if (deviceFound) return true;
  Log("Search for devices on the selected com port first");
  return false;
}

std::optional<link::CommandFrame> TModule1::BuildMeterCommand(char letter1, char letter2, bool deviceLevel) {
  if (!CheckDeviceFound()) return std::nullopt;
  if (deviceLevel) return link::MakeFrame(link::kMeterAddress, letter1, letter2, true, 0);
  // No channel chosen yet, or a typed text that names none: the caller logs what failed.
  const std::optional<int> channel = link::ChannelNumber(ChannelSelect->Text());
  if (!channel) return std::nullopt;
  return link::MakeFrame(link::kMeterAddress, letter1, letter2, false, *channel);
}

std::optional<link::Bytes> TModule1::ReadMeterReply(int32_t n, bool check) {
  auto reply = Port->Read(n);
  if (!check) return reply;
  if (n != link::kReadUpTo256 && (Port->BytesRead() == 0 || Port->BytesRead() > static_cast<uint32_t>(n))) {
    Log(kReceiveFailureLine);
    return std::nullopt;
  }
  if (reply && reply->StartsWith("ER")) {
    Log("Unable to perform the measurement - Check the probe connection and try again");
    return std::nullopt;
  }
  return reply;
}
