// Calibrations of the probe on the selected channel: the probe length calibration and the full
// calibrations (standard, by probe type, and in two media of the user's eps values).
#include <cmath>
#include <exception>

#include "link/calibration.h"
#include "main/dialogQ.h"
#include "main/main.h"
#include "platform/timing.h"
#include "ui/application.h"
#include "ui/dialogs.h"

namespace {

// Waits after each calibration command, in ms.
constexpr uint32_t kLengthWait = 1980;
constexpr uint32_t kAirWait = 2500;
constexpr uint32_t kWaterWait = 5000;
constexpr uint32_t kResultWait = 20;
constexpr int32_t kResultLength = 4;

const char* const kLengthFailureLine = "Error while attempting to perform probe length calibration";
const char* const kFullFailureLine = "Error while attempting to perform probe full calibration";
const char* const kCancelledLine = "Probe full calibration cancelled";
const char* const kCheckChannelLine = "Check the selected channel configuration";
const char* const kIncorrectEps = "The provided eps value is incorrect!";

bool AskToPlaceProbe(const std::string& request) {
  return ui::MessageDlg(request, ui::DialogType::Information, ui::DialogButtons::OkCancel) == ui::mrOk;
}

void Warn(const std::string& text) { ui::MessageDlg(text, ui::DialogType::Warning, ui::DialogButtons::Ok); }
void Fail(const std::string& text) { ui::MessageDlg(text, ui::DialogType::Error, ui::DialogButtons::Ok); }

}  // namespace

bool TModule1::CalibrateProbeLength() {
  auto sendFailed = [this] {
    Log(kLengthFailureLine);
    Log(kSendFailureLine);
    Log(kCheckChannelLine);
    return false;
  };
  if (!WriteMeterCommand('C', 'L', false, 4)) return sendFailed();
  platform::Sleep(kLengthWait);
  if (!WriteMeterCommand('V', 'L', false, 4)) return sendFailed();
  platform::Sleep(kResultWait);
  const auto reply = ReadMeterReply(kResultLength, false);
  if (!reply) return false;
  if ((*reply)[0] == 'E') {
    Log("Error while attempting to perform probe length calibration - Probe not found or damaged - Try again");
    return false;
  }
  Log("Cable length: " + reply->Text(kResultLength) + " m");
  return true;
}

void TModule1::CableCalibClick(ui::Component*) {
  ui::HourGlass hourGlass;
  Log("Starting cable length calibration");
  if (!CalibrateProbeLength()) Log(kLengthFailureLine);
}

std::optional<link::Bytes> TModule1::CalibrateInMedium(char medium, uint32_t wait) {
  if (!WriteMeterCommand('C', medium, false, 4)) return std::nullopt;
  platform::Sleep(wait);
  if (!WriteMeterCommand('V', medium, false, 4)) return std::nullopt;
  platform::Sleep(kResultWait);
  return ReadMeterReply(kResultLength, false);
}

void TModule1::LogFullCalibrationSendFailure() {
  Log(kFullFailureLine);
  Log(kSendFailureLine);
}

void TModule1::RunFullCalibration(bool field, bool standard) {
  std::string firstMedium;
  if (!standard) {
    firstMedium = "Insert the probe rods into the medium with eps_low = " + eps_low->Text();
  } else if (field) {
    firstMedium = "Leave probe in air";
  } else {
    firstMedium = "Insert the probe into\nthe provided calibrator";
  }
  if (!AskToPlaceProbe(firstMedium)) {
    Log(kCancelledLine);
    return;
  }
  Log("Starting probe full calibration");
  if (!CalibrateProbeLength()) {
    Log(kLengthFailureLine);
    Log(kFullFailureLine);
    return;
  }

  if (!standard) {
    // The texts are converted afresh: what the meter gets is what the edits hold now.
    const auto low = link::ParseEps(eps_low->Text());
    const auto high = link::ParseEps(eps_high->Text());
    const auto payload = low && high ? link::EpsRootsPayload(*low, *high) : std::nullopt;
    if (!payload) {
      Fail(kIncorrectEps);
      return;
    }
    if (!WriteMeterCommand('1', 'W', true, 3, *payload)) {
      LogFullCalibrationSendFailure();
      return;
    }
  }

  const auto air = CalibrateInMedium('A', kAirWait);
  if (!air) {
    LogFullCalibrationSendFailure();
    return;
  }
  if ((*air)[0] == 'E') {
    if (standard) {
      Log("Error while attempting to perform full probe calibration - Probe not in air or damaged - Try again");
    } else {
      Log("Error while attempting to perform full probe calibration - Probe not in medium with eps_low = " +
          eps_low->Text() + " or damaged - Try again");
    }
    return;
  }

  if (standard && !field) {
    const std::string temperature = AskWaterTemperature(this);
    // Only a temperature the dialog accepts becomes a code; a dialog closed otherwise cancels.
    const auto payload = TSetPropDialog::ValidTemperature(temperature)
                             ? link::WaterTemperaturePayload(temperature.substr(0, 4))
                             : std::nullopt;
    if (!payload) {
      Log(kCancelledLine);
      return;
    }
    if (!WriteMeterCommand('1', 'W', true, 3, *payload)) {
      LogFullCalibrationSendFailure();
      return;
    }
    FinishFullCalibration();
    return;
  }
  const std::string secondMedium = standard
                                       ? "Insert the probe into dionized water\nfor at least 2 minutes"
                                       : "Insert the probe rods into the medium with eps_high = " + eps_high->Text();
  if (!AskToPlaceProbe(secondMedium)) {
    Log(kCancelledLine);
    return;
  }
  FinishFullCalibration();
}

void TModule1::FinishFullCalibration() {
  const auto water = CalibrateInMedium('W', kWaterWait);
  if (!water) {
    LogFullCalibrationSendFailure();
    return;
  }
  if ((*water)[0] == 'E') {
    Log("Error while attempting to perform cable length calibration - Probe not in water or damaged - Try again");
    return;
  }
  if (ui::MessageDlg("Apply calibration?", ui::DialogType::Confirmation, ui::DialogButtons::OkCancel) != ui::mrOk) {
    Log(kCancelledLine);
    return;
  }
  if (!WriteMeterCommand('C', 'C', false, 4)) {
    LogFullCalibrationSendFailure();
    return;
  }
  platform::Sleep(kResultWait);
  const auto computed = ReadMeterReply(kResultLength, false);
  // Without an answer nobody knows whether the meter stored the calibration: say it failed.
  if (!computed) {
    LogFullCalibrationSendFailure();
    return;
  }
  if ((*computed)[0] == 'E') {
    Log("Calculation error while attempting to perform full probe calibration");
    Log("Try again");
    return;
  }
  Log("Probe full calibration completed");
}

void TModule1::ProbeCalibClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (ChannelSelect->Text() == "CH number") {
    Log(kCheckChannelLine);
    return;
  }
  RunFullCalibration(ProbeGroup->ItemIndex() == 0, true);
}

void TModule1::NonStProbCalibClickClick(ui::Component*) {
  ui::HourGlass hourGlass;
  const std::string lowText = eps_low->Text();
  const std::string highText = eps_high->Text();
  // Checked in this order, each number converted only when its turn comes.
  if (lowText == "0" || highText == "0") {
    Warn("Set eps values!");
    return;
  }
  const auto high = link::ParseEps(highText);
  if (!high) {
    Fail(kIncorrectEps);
    return;
  }
  if (!(*high > 0.0)) {
    Warn("Set eps values!");
    return;
  }
  const auto low = link::ParseEps(lowText);
  if (!low) {
    Fail(kIncorrectEps);
    return;
  }
  if (!(*low > 0.0)) {
    Warn("Set eps values!");
    return;
  }
  if (*high < *low) {
    Warn("eps_high is lower than eps_low!");
    return;
  }
  if (std::sqrt(*high) > link::kLargestEpsRoot || std::sqrt(*low) > link::kLargestEpsRoot) {
    Warn("The provided eps value is too high!");
    return;
  }
  if (ChannelSelect->Text() == "CH number") {
    Log(kCheckChannelLine);
    return;
  }
  try {
    RunFullCalibration(ProbeGroup->ItemIndex() == 0, false);
  } catch (const std::exception&) {
    Fail("Error while performing the calibration! Try again");
  }
}
