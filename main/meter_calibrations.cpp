// Calibrations of the probe on the selected channel: the probe length calibration and the full
// calibrations (standard, by probe type, and in two media of the user's eps values).
#include <exception>

#include "common/full_calibration.h"
#include "common/log_texts.h"
#include "main/main.h"
#include "ui/application.h"
#include "ui/dialogs.h"

bool TModule1::CalibrateProbeLength() { return ::CalibrateProbeLength(meter, CalibrationSteps()); }

void TModule1::CableCalibClick(ui::Component*) {
  ui::HourGlass hourGlass;
  Log("Starting cable length calibration");
  if (!CalibrateProbeLength()) Log(kLengthFailureLine);
}

FullCalibrationSteps TModule1::CalibrationSteps() {
  FullCalibrationSteps steps;
  steps.log = [this](const std::string& line) { Log(line); };
  steps.channel = [this] { return MeterChannel(); };
  steps.epsLowText = [this] { return eps_low->Text(); };
  steps.epsHighText = [this] { return eps_high->Text(); };
  steps.laboratoryWaterPayload = [this] {
    return WaterTemperatureFromDialog(this, [this](const std::string& l) { Log(l); });
  };
  // Without an answer nobody knows whether the meter stored the calibration: say it failed.
  steps.reportMissingComputeReply = true;
  return steps;
}

void TModule1::RunFullCalibration(bool field, bool standard) {
  ::RunFullCalibration(meter, CalibrationSteps(), field, standard);
}

void TModule1::ProbeCalibClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!link::ChannelNumber(ChannelSelect->Text())) {
    Log(kCheckChannelLine);
    return;
  }
  RunFullCalibration(ProbeGroup->ItemIndex() == 0, true);
}

void TModule1::NonStProbCalibClickClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!CheckEpsValues(eps_low->Text(), eps_high->Text())) return;
  if (!link::ChannelNumber(ChannelSelect->Text())) {
    Log(kCheckChannelLine);
    return;
  }
  try {
    RunFullCalibration(ProbeGroup->ItemIndex() == 0, false);
  } catch (const std::exception&) {
    ShowCalibrationError();
  }
}
