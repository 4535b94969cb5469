// The probe type of each channel: read from the station into the eight radio-button pairs, and
// written back from them in one frame.
#include <string>

#include "formatka2/formatka2.h"
#include "ui/application.h"

namespace {

constexpr int kChannels = 8;

ui::RadioButton* ChannelButton(const TModule2& w, const char* kind, int channel) {
  return ui::FindAs<ui::RadioButton>(w, kind + std::to_string(channel));
}

}  // namespace

bool TModule2::ReadProbeConfig() {
  const auto mask = SelectedStation().ReadProbeTypeMask();
  if (mask) {
    for (int n = 1; n <= kChannels; ++n)
      ChannelButton(*this, mask->Laboratory(n - 1) ? "LabProbeButton" : "FieldProbeButton", n)->SetChecked(true);
  } else if (mask.failed(protocol::Failure::NotSent)) {
    LogChannelFailure();
  } else {
    // No reply, a refused one or one without both mask digits: no button state comes from it.
    LogRefusal(mask.failure());
    Log("Error while reading probes configuration on current channel");
  }
  // Probe temperature is measured on field probes only.
  bool anyField = false;
  for (int n = 1; n <= kChannels; ++n) anyField = anyField || ChannelButton(*this, "FieldProbeButton", n)->Checked();
  MeasAllTemp->SetEnabled(anyField);
  return mask.ok();
}

bool TModule2::SaveProbeConfig() {
  link::ProbeTypeMask mask;
  for (int n = 1; n <= kChannels; ++n) {
    const bool lab = ChannelButton(*this, "LabProbeButton", n)->Checked();
    if (!lab && !ChannelButton(*this, "FieldProbeButton", n)->Checked()) {
      Log("Fill all the fields in the \"Type of probe in a channel\" chart");
      return false;
    }
    mask.SetLaboratory(n - 1, lab);
  }
  if (!SelectedStation().WriteProbeTypeMask(mask)) {
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
