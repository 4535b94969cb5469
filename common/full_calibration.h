// The full calibration of a probe, one sequence for the handheld meter and the stations: the
// prompts, the length calibration, the first medium (CA/VA), the second medium (CW/VW) and the
// question whether to apply it (CC). The instrument does the exchanges; each window lends its
// log, its channel and the steps in which the two differ.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "protocol/calibration.h"

namespace ui {
class Component;
}

struct FullCalibrationSteps {
  std::function<void(const std::string& line)> log;
  // The channel of each exchange, asked afresh for each; nothing when there is none to address.
  std::function<std::optional<int>()> channel;
  std::function<std::string()> epsLowText;
  std::function<std::string()> epsHighText;
  // Standard calibration of a laboratory probe, after the first medium: the 1W payload that tells
  // the instrument about the water, or nothing when the calibration ends here (logged already).
  std::function<std::optional<std::string>()> laboratoryWaterPayload;
  // Whether a CC without reply is reported as a failure (else the sequence ends silently).
  bool reportMissingComputeReply = false;
};

// The probe length calibration (CL/VL) with its lines; true when the instrument gave a length.
bool CalibrateProbeLength(protocol::CalibrationInstrument& instrument, const FullCalibrationSteps& steps);
// The sequence up to the second medium, then FinishFullCalibration.
void RunFullCalibration(protocol::CalibrationInstrument& instrument, const FullCalibrationSteps& steps, bool field,
                        bool standard);
// The second medium (CW/VW), "Apply calibration?" and CC.
void FinishFullCalibration(protocol::CalibrationInstrument& instrument, const FullCalibrationSteps& steps);

// The water-temperature dialog, owned by `owner`, as the laboratory probe's second medium: the
// payload of the temperature accepted, or nothing (with "Probe full calibration cancelled") when
// the dialog was closed without one.
std::optional<std::string> WaterTemperatureFromDialog(ui::Component* owner,
                                                      const std::function<void(const std::string&)>& log);

// The checks of the two eps texts before a calibration in two media, with their boxes; true when
// both are numbers above 0, eps_high is not below eps_low and neither is too high.
bool CheckEpsValues(const std::string& lowText, const std::string& highText);

// The request to place the probe: an information box with OK and Cancel; true for OK.
bool AskToPlaceProbe(const std::string& request);
// The error box of an exception during a calibration in two media.
void ShowCalibrationError();

extern const char* const kCalibrationCancelledLine;
extern const char* const kLengthFailureLine;
