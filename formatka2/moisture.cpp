// The moisture measurement of one channel: moisture, dielectric constant and the reflectogram,
// drawn in the station window's own chart window.
#include <string>

#include "common/graph.h"
#include "common/log_texts.h"
#include "formatka2/formatka2.h"
#include "ui/application.h"

void TModule2::MeasMoiClick(ui::Component*) {
  ui::HourGlass hourGlass;
  Log("Starting moisture measurement");
  protocol::Station station = SelectedStation();
  const auto measured = MeasureMoistureForChart(
      *this, station, SelectedChannel(), [this](const std::string& line) { Log(line); },
      [this](protocol::Failure failure) { LogReadFailure(failure); });
  if (!measured) return;  // the previous chart stays
  ShowReflectogram(StationGraph, this, measured->values, measured->markers, LastMoisture, LastDielectricConstant);
  Log("Moisture measurement complete");
}
