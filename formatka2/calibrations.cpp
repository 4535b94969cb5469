// Probe length and full calibrations of the selected channel, on the sequence shared with the
// main window; the station's own parts: the question about the saved probe types, the probe kind
// from the channel's buttons and the AUX temperature probe.
#include <exception>
#include <string>

#include "common/full_calibration.h"
#include "common/log_texts.h"
#include "formatka2/formatka2.h"
#include "ui/application.h"
#include "ui/dialogs.h"

namespace {

// The user confirms that the probe types the calibration relies on are right and saved.
bool ConfirmProbeTypesSaved() {
  return ui::MessageDlg("Is the \"Type of probe in a channel\"\nconfiguration correct and was it saved?",
                        ui::DialogType::Confirmation, ui::DialogButtons::YesNo) == ui::mrYes;
}

constexpr const char* kVerifyProbeTypesLine = "Verify and save the \"Type of probe in a channel\" configuration";

}  // namespace

FullCalibrationSteps TModule2::CalibrationSteps() {
  FullCalibrationSteps steps;
  steps.log = [this](const std::string& line) { Log(line); };
  steps.channel = [this] { return SelectedChannel(); };
  steps.epsLowText = [this] { return eps_low->Text(); };
  steps.epsHighText = [this] { return eps_high->Text(); };
  steps.laboratoryWaterPayload = [this] { return LaboratoryWaterPayload(); };
  return steps;
}

std::optional<std::string> TModule2::LaboratoryWaterPayload() {
  const std::string name = AUXselect->Text();
  if (name == "no probe" || name == "No probes") {
    return WaterTemperatureFromDialog(this, [this](const std::string& line) { Log(line); });
  }
  // "AUX probe" (no search completed), or a typed name of no probe found: nothing to send.
  const auto probe = AuxProbeMap.find(name);
  if (probe == AuxProbeMap.end()) {
    Log("Choose a probe connected through AUX");
    return std::nullopt;
  }
  if (!AskToPlaceProbe("Insert the selected JX/qr probe and the " + name +
                       "\ninto dionized water for at least 2 minutes")) {
    Log(kCalibrationCancelledLine);
    return std::nullopt;
  }
  return probe->second;
}

bool TModule2::CalibrateProbeLength() {
  protocol::Station station = SelectedStation();
  return ::CalibrateProbeLength(station, CalibrationSteps());
}

void TModule2::CableCalibClick(ui::Component*) {
  ui::HourGlass hourGlass;
  Log("Starting cable length calibration");
  CalibrateProbeLength();
}

void TModule2::RunFullCalibration(bool fieldProbe, bool standard) {
  protocol::Station station = SelectedStation();
  ::RunFullCalibration(station, CalibrationSteps(), fieldProbe, standard);
}

bool TModule2::FieldProbeOnSelectedChannel() const {
  const std::optional<int> channel = SelectedChannel();
  auto* field = channel ? ui::FindAs<ui::RadioButton>(*this, "FieldProbeButton" + std::to_string(*channel)) : nullptr;
  return field && field->Checked();
}

void TModule2::ProbeCalibClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!ConfirmProbeTypesSaved()) return Log(kVerifyProbeTypesLine);
  if (!SelectedChannel()) return Log(kCheckChannelLine);
  RunFullCalibration(FieldProbeOnSelectedChannel(), true);
}

void TModule2::NonStProbCalibClickClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!ConfirmProbeTypesSaved()) return Log(kVerifyProbeTypesLine);
  if (!CheckEpsValues(eps_low->Text(), eps_high->Text())) return;
  if (!SelectedChannel()) return Log(kCheckChannelLine);
  try {
    RunFullCalibration(FieldProbeOnSelectedChannel(), false);
  } catch (const std::exception&) {
    ShowCalibrationError();
  }
}
