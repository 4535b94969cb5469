// Probe type and channel selection: the meter's probe-type mask read with RH and written with SP,
// shown in ProbeGroup for the channel picked in ChannelSelect.
#include "common/log_texts.h"
#include "main/main.h"
#include "ui/application.h"

namespace {

constexpr int kFieldProbe = 0;
constexpr int kLaboratoryProbe = 1;
const char* const kMaskReadFailureLine = "Error while reading probe configuration on current channel";

}  // namespace

std::optional<link::ProbeTypeMask> TModule1::ReadProbeConfig() {
  const auto mask = CheckDeviceFound() ? meter.ReadProbeTypeMask() : protocol::Failure::NotSent;
  if (mask) return *mask;
  LogMeterFailure(mask.failure());
  Log(mask.failed(protocol::Failure::NotSent) ? kCheckChannelLine : kMaskReadFailureLine);
  return std::nullopt;
}

void TModule1::ShowProbeType(const std::optional<link::ProbeTypeMask>& mask) {
  const int channel = ChannelSelect->ItemIndex();
  if (!mask || channel < 0) return;
  ProbeGroup->SetItemIndex(mask->Laboratory(channel) ? kLaboratoryProbe : kFieldProbe);
  probeTypeShown = ProbeGroup->ItemIndex();
}

void TModule1::SaveProbeConfig(const std::optional<link::ProbeTypeMask>& mask) {
  if (!mask) return;
  link::ProbeTypeMask changed = *mask;
  const int channel = ChannelSelect->ItemIndex();
  if (channel >= 0) changed.SetLaboratory(channel, ProbeGroup->ItemIndex() == kLaboratoryProbe);
  if (!(CheckDeviceFound() ? meter.WriteProbeTypeMask(changed) : protocol::Failure::NotSent)) {
    Log(kSendFailureLine);
    Log(kCheckChannelLine);
    // The meter keeps its probe type: so does the group, or a later calibration would follow a
    // probe the meter does not have.
    ProbeGroup->SetItemIndex(probeTypeShown);
    return;
  }
  probeTypeShown = ProbeGroup->ItemIndex();
}

void TModule1::ProbeGroupClick(ui::Component*) {
  // Disabled only while a channel change shows the channel's type: not the user's choice.
  if (!ProbeGroup->Enabled()) return;
  const auto mask = ReadProbeConfig();
  if (mask) {
    SaveProbeConfig(mask);
  } else {
    ProbeGroup->SetItemIndex(probeTypeShown);
  }
  MeasTemp->SetEnabled(ProbeGroup->ItemIndex() != kLaboratoryProbe);
}

void TModule1::ChannelSelectChange(ui::Component*) {
  ui::HourGlass hourGlass;
  ProbeGroup->SetEnabled(false);
  ShowProbeType(ReadProbeConfig());
  MeasTemp->SetEnabled(ProbeGroup->ItemIndex() != kLaboratoryProbe);
  ProbeGroup->SetEnabled(true);
}
