// The handheld meter's measurements: salinity, probe temperature, moisture with the dielectric
// constant and the reflectogram, the complete measurement and the reads of the last values.
#include "common/graph.h"
#include "main/main.h"
#include "ui/application.h"

namespace {

// How each value read is logged, in the order of protocol::MeterValue.
const struct {
  bool announced;  // "Receiving measurement results" comes first
  size_t shown;    // characters of the value logged
  std::optional<std::string> TModule1::*kept;
  const char* label;
  const char* unit;
} kValueReads[] = {
    {true, 5, &TModule1::LastSalinity, "Measured salinity: ", " S/m"},
    {true, 5, &TModule1::LastProbeTemperature, "Measured probe temperature: ", " Celsius grades"},
    {true, 6, &TModule1::LastMoisture, "Measured moisture: ", "%"},
    {false, 5, &TModule1::LastDielectricConstant, "Measured dielectric constant: ", ""},
};

}  // namespace

protocol::Result<std::string> TModule1::ReadMeterValue(protocol::MeterValue value) {
  const auto& how = kValueReads[static_cast<size_t>(value)];
  if (how.announced) Log("Receiving measurement results");
  auto read = meter.ReadValue(value, MeterChannel());
  if (!read) {
    LogMeterFailure(read.failure());
    return read;
  }
  this->*how.kept = *read;
  Log(how.label + link::ShownInLog(read->substr(0, how.shown)) + how.unit);
  return read;
}

void TModule1::MeasureAndRead(const char* startLine,
                              protocol::Result<protocol::Done> (protocol::Meter::*measure)(std::optional<int>),
                              protocol::MeterValue value, const char* completeLine) {
  ui::HourGlass hourGlass;
  Log(startLine);
  if (const auto measured = (meter.*measure)(MeterChannel()); !measured) {
    LogMeterFailure(measured.failure());
    return;
  }
  ReadMeterValue(value);
  Log(completeLine);  // also after a failed read
}

void TModule1::MeasSalClick(ui::Component*) {
  MeasureAndRead("Starting salinity measurement", &protocol::Meter::MeasureSalinity, protocol::MeterValue::Salinity,
                 "Salinity measurement complete");
}

void TModule1::MeasTempClick(ui::Component*) {
  MeasureAndRead("Starting probe temperature measurement", &protocol::Meter::MeasureProbeTemperature,
                 protocol::MeterValue::ProbeTemperature, "Probe temperature measurement complete");
}

void TModule1::MeasMoiClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!CheckDeviceFound()) return;
  Log("Starting moisture measurement");
  const auto measured = MeasureMoistureForChart(
      *this, meter, MeterChannel(), [this](const std::string& line) { Log(line); },
      [this](protocol::Failure failure) { LogMeterFailure(failure); });
  if (!measured) return;
  LastReflectogram.emplace(measured->values.begin(), measured->values.end());
  ShowReflectogram(MeterGraph, this, measured->values, measured->markers, LastMoisture.value_or(""),
                   LastDielectricConstant.value_or(""));
  Log("Moisture measurement complete");
}

void TModule1::Performcompletemeasurement1Click(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!CheckDeviceFound()) return;
  // Each measurement reports its own failures; one failing does not stop the next.
  MeasSalClick(this);
  MeasTempClick(this);
  MeasMoiClick(this);
  Log("Measurement complete");
}

void TModule1::LastMeasuredSalinity1Click(ui::Component*) {
  ui::HourGlass hourGlass;
  ReadSalinity();
}

void TModule1::Lastmeasuredprobetemperature1Click(ui::Component*) {
  ui::HourGlass hourGlass;
  ReadProbeTemperature();
}

void TModule1::Lastmeasuredmoisture1Click(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!CheckDeviceFound()) return;
  ReadMoisture();
}
