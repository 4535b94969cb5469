#include "common/full_calibration.h"

#include <cmath>

#include "common/dialogQ.h"
#include "common/log_texts.h"
#include "link/bytes.h"
#include "link/calibration.h"
#include "ui/dialogs.h"

const char* const kCalibrationCancelledLine = "Probe full calibration cancelled";
const char* const kLengthFailureLine = "Error while attempting to perform probe length calibration";

namespace {

using protocol::CalibrationMedium;
using protocol::Failure;

const char* const kFullFailureLine = "Error while attempting to perform probe full calibration";
const char* const kIncorrectEps = "The provided eps value is incorrect!";

void Warn(const std::string& text) { ui::MessageDlg(text, ui::DialogType::Warning, ui::DialogButtons::Ok); }
void Fail(const std::string& text) { ui::MessageDlg(text, ui::DialogType::Error, ui::DialogButtons::Ok); }

void LogSendFailure(const FullCalibrationSteps& s) {
  s.log(kFullFailureLine);
  s.log(kSendFailureLine);
}

}  // namespace

bool AskToPlaceProbe(const std::string& request) {
  return ui::MessageDlg(request, ui::DialogType::Information, ui::DialogButtons::OkCancel) == ui::mrOk;
}

void ShowCalibrationError() { Fail("Error while performing the calibration! Try again"); }

bool CalibrateProbeLength(protocol::CalibrationInstrument& instrument, const FullCalibrationSteps& s) {
  const auto length = instrument.CalibrateLength(s.channel());
  if (length.failed(Failure::NotSent)) {
    s.log(kLengthFailureLine);
    s.log(kSendFailureLine);
    s.log(kCheckChannelLine);
  } else if (length.failed(Failure::ErrorResult)) {
    s.log("Error while attempting to perform probe length calibration - Probe not found or damaged - Try again");
  } else if (length) {
    s.log("Cable length: " + link::ShownInLog(*length) + " m");
  }
  return length.ok();
}

void RunFullCalibration(protocol::CalibrationInstrument& instrument, const FullCalibrationSteps& s, bool field,
                        bool standard) {
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
  if (!CalibrateProbeLength(instrument, s)) {
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
    if (!instrument.SendMediumPayload(*payload, s.channel())) {
      LogSendFailure(s);
      return;
    }
  }

  const auto first = instrument.CalibrateInMedium(CalibrationMedium::First, s.channel());
  if (first.failed(Failure::ErrorResult)) {
    if (standard) {
      s.log("Error while attempting to perform full probe calibration - Probe not in air or damaged - Try again");
    } else {
      s.log("Error while attempting to perform full probe calibration - Probe not in medium with eps_low = " +
            s.epsLowText() + " or damaged - Try again");
    }
    return;
  }
  if (!first) {
    LogSendFailure(s);
    return;
  }

  if (standard && !field) {
    const auto payload = s.laboratoryWaterPayload();
    if (!payload) return;
    if (!instrument.SendMediumPayload(*payload, s.channel())) {
      LogSendFailure(s);
      return;
    }
  } else if (!AskToPlaceProbe(standard ? "Insert the probe into dionized water\nfor at least 2 minutes"
                                       : "Insert the probe rods into the medium with eps_high = " + s.epsHighText())) {
    s.log(kCalibrationCancelledLine);
    return;
  }
  FinishFullCalibration(instrument, s);
}

void FinishFullCalibration(protocol::CalibrationInstrument& instrument, const FullCalibrationSteps& s) {
  const auto water = instrument.CalibrateInMedium(CalibrationMedium::Water, s.channel());
  if (water.failed(Failure::ErrorResult)) {
    s.log("Error while attempting to perform cable length calibration - Probe not in water or damaged - Try again");
    return;
  }
  if (!water) {
    LogSendFailure(s);
    return;
  }
  if (ui::MessageDlg("Apply calibration?", ui::DialogType::Confirmation, ui::DialogButtons::OkCancel) != ui::mrOk) {
    s.log(kCalibrationCancelledLine);
    return;
  }
  const auto computed = instrument.ComputeCalibration(s.channel());
  if (computed) {
    s.log("Probe full calibration completed");
  } else if (computed.failed(Failure::ErrorResult)) {
    s.log("Calculation error while attempting to perform full probe calibration");
    s.log("Try again");
  } else if (!computed.failed(Failure::NoReply) || s.reportMissingComputeReply) {
    LogSendFailure(s);
  }
}

std::optional<std::string> WaterTemperatureFromDialog(ui::Component* owner,
                                                      const std::function<void(const std::string&)>& log) {
  const std::string temperature = AskWaterTemperature(owner);
  // Only a temperature the dialog accepts becomes a code; a dialog closed otherwise cancels.
  auto payload = TSetPropDialog::ValidTemperature(temperature) ? link::WaterTemperaturePayload(temperature.substr(0, 4))
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
