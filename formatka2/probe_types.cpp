// The probe type of each channel: read from the station into the eight radio-button pairs, and
// written back from them in one frame.
#include <string>

#include "formatka2/formatka2.h"
#include "main/main.h"
#include "platform/timing.h"
#include "ui/application.h"

namespace {

constexpr int kChannels = 8;
constexpr char kHexDigits[] = "0123456789ABCDEF";

ui::RadioButton* ChannelButton(const TModule2& w, const char* kind, int channel) {
  return ui::FindAs<ui::RadioButton>(w, kind + std::to_string(channel));
}

}  // namespace

bool TModule2::ReadProbeConfig() {
  bool shown = false;
  if (!Send('R', 'H', true, 3)) {
    LogChannelFailure();
  } else {
    platform::Sleep(20);
    const auto reply = ReadStationReply(4, true);
    // Both mask digits must be there: no button state comes from anything else.
    const int high = reply && reply->size() >= 2 ? link::HexDigitValue(static_cast<char>((*reply)[0])) : -1;
    const int low = reply && reply->size() >= 2 ? link::HexDigitValue(static_cast<char>((*reply)[1])) : -1;
    if (high < 0 || low < 0) {
      Log("Error while reading probes configuration on current channel");
    } else {
      const int mask = high * 16 + low;
      for (int n = 1; n <= kChannels; ++n) {
        ChannelButton(*this, (mask >> (n - 1)) & 1 ? "LabProbeButton" : "FieldProbeButton", n)->SetChecked(true);
      }
      shown = true;
    }
  }
  // Probe temperature is measured on field probes only.
  bool anyField = false;
  for (int n = 1; n <= kChannels; ++n) anyField = anyField || ChannelButton(*this, "FieldProbeButton", n)->Checked();
  MeasAllTemp->SetEnabled(anyField);
  return shown;
}

bool TModule2::SaveProbeConfig() {
  int mask = 0;
  for (int n = 1; n <= kChannels; ++n) {
    const bool lab = ChannelButton(*this, "LabProbeButton", n)->Checked();
    if (!lab && !ChannelButton(*this, "FieldProbeButton", n)->Checked()) {
      Log("Fill all the fields in the \"Type of probe in a channel\" chart");
      return false;
    }
    if (lab) mask |= 1 << (n - 1);
  }
  const std::string payload = {kHexDigits[mask >> 4], kHexDigits[mask & 0xF], '0', '0'};
  if (!Send('S', 'P', true, 3, payload)) {
    LogChannelFailure();
    return false;
  }
  return true;
}

void TModule2::ReadConfigClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (ReadProbeConfig()) Log("Reading \"Type of probe in a channel\" configuration succesful");
}

void TModule2::SaveConfigClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (SaveProbeConfig()) Log("Saving \"Type of probe in a channel\" configuration succesful");
}

void TModule2::ChannelSelectChange(ui::Component*) {
  const std::optional<int> channel = SelectedChannel();
  if (!channel) return;
  if (ChannelButton(*this, "LabProbeButton", *channel)->Checked()) MeasAllTemp->SetEnabled(false);
  if (ChannelButton(*this, "FieldProbeButton", *channel)->Checked()) MeasAllTemp->SetEnabled(true);
}
