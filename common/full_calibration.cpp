#include "common/full_calibration.h"

#include <cmath>

#include "common/dialogQ.h"
#include "common/log_texts.h"
#include "link/calibration.h"
#include "platform/timing.h"
#include "ui/dialogs.h"

const char* const kCalibrationCancelledLine = "Probe full calibration cancelled";

namespace {

constexpr uint32_t kLengthWait = 1980;
constexpr uint32_t kAirWait = 2500;
constexpr uint32_t kResultWait = 20;

const char* const kLengthFailureLine = "Error while attempting to perform probe length calibration";
const char* const kFullFailureLine = "Error while attempting to perform probe full calibration";
const char* const kIncorrectEps = "The provided eps value is incorrect!";

void Warn(const std::string& text) { ui::MessageDlg(text, ui::DialogType::Warning, ui::DialogButtons::Ok); }
void Fail(const std::string& text) { ui::MessageDlg(text, ui::DialogType::Error, ui::DialogButtons::Ok); }

void LogSendFailure(const FullCalibrationSteps& s) {
  s.log(kFullFailureLine);
  s.log(kSendFailureLine);
}

// C<medium>, its wait, V<medium>, then its result. Nothing when a frame could not be sent or no
// result came.
std::optional<link::Bytes> CalibrateInMedium(const FullCalibrationSteps& s, char medium, uint32_t wait) {
  if (!s.send('C', medium, false, 4, {})) return std::nullopt;
  platform::Sleep(wait);
  if (!s.send('V', medium, false, 4, {})) return std::nullopt;
  platform::Sleep(kResultWait);
  return s.readResult();
}

}  // namespace

bool AskToPlaceProbe(const std::string& request) {
  return ui::MessageDlg(request, ui::DialogType::Information, ui::DialogButtons::OkCancel) == ui::mrOk;
}

void ShowCalibrationError() { Fail("Error while performing the calibration! Try again"); }

bool CalibrateProbeLength(const FullCalibrationSteps& s) {
  auto sendFailed = [&s] {
    s.log(kLengthFailureLine);
    s.log(kSendFailureLine);
    s.log(kCheckChannelLine);
    return false;
  };
  if (!s.send('C', 'L', false, 4, {})) return sendFailed();
  platform::Sleep(kLengthWait);
  if (!s.send('V', 'L', false, 4, {})) return sendFailed();
  platform::Sleep(kResultWait);
  const auto reply = s.readResult();
  if (!reply) return false;
  if ((*reply)[0] == 'E') {
    s.log("Error while attempting to perform probe length calibration - Probe not found or damaged - Try again");
    return false;
  }
  s.log("Cable length: " + link::ShownInLog(reply->Text(4)) + " m");
  return true;
}

void RunFullCalibration(const FullCalibrationSteps& s, bool field, bool standard) {
  std::string firstMedium;
  if (!standard) {
    firstMedium = "Insert the probe rods into the medium with eps_low = " + s.epsLowText();
  } else if (field) {
    firstMedium = "Leave probe in air";
  } else {
    firstMedium = "Insert the probe into\nthe provided calibrator";
  }
  if (!AskToPlaceProbe(firstMedium)) {
    s.log(kCalibrationCancelledLine);
    return;
  }
  s.log("Starting probe full calibration");
  if (!CalibrateProbeLength(s)) {
    s.log(kLengthFailureLine);
    s.log(kFullFailureLine);
    return;
  }

  if (!standard) {
    // The texts are converted afresh: what the instrument gets is what the edits hold now.
    const auto low = link::ParseEps(s.epsLowText());
    const auto high = link::ParseEps(s.epsHighText());
    const auto payload = low && high ? link::EpsRootsPayload(*low, *high) : std::nullopt;
    if (!payload) {
      Fail(kIncorrectEps);
      return;
    }
    if (!s.send('1', 'W', true, 3, *payload)) {
      LogSendFailure(s);
      return;
    }
  }

  const auto air = CalibrateInMedium(s, 'A', kAirWait);
  if (!air) {
    LogSendFailure(s);
    return;
  }
  if ((*air)[0] == 'E') {
    if (standard) {
      s.log("Error while attempting to perform full probe calibration - Probe not in air or damaged - Try again");
    } else {
      s.log("Error while attempting to perform full probe calibration - Probe not in medium with eps_low = " +
            s.epsLowText() + " or damaged - Try again");
    }
    return;
  }

  if (standard && !field) {
    const auto payload = s.laboratoryWaterPayload();
    if (!payload) return;
    if (!s.send('1', 'W', true, 3, *payload)) {
      LogSendFailure(s);
      return;
    }
    FinishFullCalibration(s);
    return;
  }
  const std::string secondMedium = standard
                                       ? "Insert the probe into dionized water\nfor at least 2 minutes"
                                       : "Insert the probe rods into the medium with eps_high = " + s.epsHighText();
  if (!AskToPlaceProbe(secondMedium)) {
    s.log(kCalibrationCancelledLine);
    return;
  }
  FinishFullCalibration(s);
}

void FinishFullCalibration(const FullCalibrationSteps& s) {
  const auto water = CalibrateInMedium(s, 'W', s.waterWaitMs);
  if (!water) {
    LogSendFailure(s);
    return;
  }
  if ((*water)[0] == 'E') {
    s.log("Error while attempting to perform cable length calibration - Probe not in water or damaged - Try again");
    return;
  }
  if (ui::MessageDlg("Apply calibration?", ui::DialogType::Confirmation, ui::DialogButtons::OkCancel) != ui::mrOk) {
    s.log(kCalibrationCancelledLine);
    return;
  }
  if (!s.send('C', 'C', false, 4, {})) {
    LogSendFailure(s);
    return;
  }
  platform::Sleep(kResultWait);
  const auto computed = s.readResult();
  if (!computed) {
    if (s.reportMissingComputeReply) LogSendFailure(s);
    return;
  }
  if ((*computed)[0] == 'E') {
    s.log("Calculation error while attempting to perform full probe calibration");
    s.log("Try again");
    return;
  }
  s.log("Probe full calibration completed");
}

std::optional<std::string> WaterTemperatureFromDialog(ui::Component* owner,
                                                      const std::function<void(const std::string&)>& log) {
  const std::string temperature = AskWaterTemperature(owner);
  // Only a temperature the dialog accepts becomes a code; a dialog closed otherwise cancels.
  const auto payload = TSetPropDialog::ValidTemperature(temperature)
                           ? link::WaterTemperaturePayload(temperature.substr(0, 4))
                           : std::nullopt;
  if (!payload) log(kCalibrationCancelledLine);
  return payload;
}

bool CheckEpsValues(const std::string& lowText, const std::string& highText) {
  // Checked in this order, each number converted only when its turn comes.
  if (lowText == "0" || highText == "0") {
    Warn("Set eps values!");
    return false;
  }
  // One edit's number, when it is one above 0; else its box has been shown.
  auto positive = [](const std::string& text, double& value) {
    const auto number = link::ParseEps(text);
    if (!number) {
      Fail(kIncorrectEps);
      return false;
    }
    if (!(*number > 0.0)) {
      Warn("Set eps values!");
      return false;
    }
    value = *number;
    return true;
  };
  double high = 0, low = 0;
  if (!positive(highText, high) || !positive(lowText, low)) return false;
  if (high < low) {
    Warn("eps_high is lower than eps_low!");
    return false;
  }
  if (std::sqrt(high) > link::kLargestEpsRoot || std::sqrt(low) > link::kLargestEpsRoot) {
    Warn("The provided eps value is too high!");
    return false;
  }
  return true;
}
