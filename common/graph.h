// The reflectogram chart window: the trace, the two markers standing on it, and a title line with
// the measured moisture and dielectric constant. The main window and the station window each keep
// one.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "forms/graph_layout.h"
#include "protocol/moisture.h"

using protocol::Reflectogram;

class TGraph1 : public forms::TGraph1Layout {
 public:
  explicit TGraph1(ui::Component* Owner) : forms::TGraph1Layout(Owner) { Created(); }

  // Draws the trace and, with `drawMarkers`, the two markers; adds the title line built from the
  // two texts exactly as received.
  void Plot(const Reflectogram& values, bool drawMarkers, const std::string& moisture,
            const std::string& dielectricConstant);
};

// "Moisture: <moisture>%      Dielectric constant: <dielectric constant>".
std::string ChartTitleLine(const std::string& moisture, const std::string& dielectricConstant);

// Replaces the chart window kept in `graph` (deleting the old one) by a new one owned by `owner`,
// plots into it and shows it without waiting. Returns the new window.
TGraph1* ShowReflectogram(TGraph1*& graph, ui::Component* owner, const Reflectogram& values, bool drawMarkers,
                          const std::string& moisture, const std::string& dielectricConstant);

// The moisture measurement of a window that keeps the values it reads (its ReadMoisture and
// ReadDielectricConstant), with the lines before its chart and its own failure lines: the
// reflectogram to draw, or nothing when the measurement ended early.
template <class Window>
std::optional<protocol::MarkedReflectogram> MeasureMoistureForChart(
    Window& window, protocol::MoistureInstrument& instrument, std::optional<int> channel,
    const std::function<void(const std::string&)>& log, const std::function<void(protocol::Failure)>& failed) {
  protocol::MoistureSteps steps;
  steps.readMoisture = [&window] { return window.ReadMoisture(); };
  steps.readDielectricConstant = [&window] { return window.ReadDielectricConstant(); };
  steps.beforeReflectogram = [&log] {
    log("Preparing the graph");
    log("Compiling graph");
  };
  steps.failed = failed;
  return protocol::RunMoistureMeasurement(instrument, channel, steps);
}
