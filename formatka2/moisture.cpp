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
  if (!station.Measure(protocol::Station::Measurement::Moisture, SelectedChannel())) {
    Log(kSendFailureLine);
    return;
  }
  ReadMoisture();
  // Only a dielectric constant that could not be asked for leaves the markers out, and makes a
  // reflectogram that cannot be asked for either no news.
  const bool failed = ReadDielectricConstant();
  Log("Preparing the graph");
  Log("Compiling graph");
  const auto reflectogram = station.ReadReflectogram();
  if (!reflectogram) {
    if (!failed || !reflectogram.failed(protocol::Failure::NotSent)) LogReadFailure(reflectogram.failure());
    return;  // the previous chart stays
  }
  ShowReflectogram(StationGraph, this, reflectogram->values, !failed && !reflectogram->faulty, LastMoisture,
                   LastDielectricConstant);
  Log("Moisture measurement complete");
}
