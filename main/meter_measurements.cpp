// The handheld meter's measurements: salinity, probe temperature, moisture with the dielectric
// constant and the reflectogram, the complete measurement and the reads of the last values.
#include "common/graph.h"
#include "main/main.h"
#include "ui/application.h"

protocol::Result<std::string> TModule1::ReadMeterValue(protocol::MeterValue value, size_t shown,
                                                       std::optional<std::string>& kept, const std::string& label,
                                                       const std::string& unit) {
  auto read = meter.ReadValue(value, MeterChannel());
  if (!read) {
    LogMeterFailure(read.failure());
    return read;
  }
  kept = *read;
  Log(label + link::ShownInLog(read->substr(0, shown)) + unit);
  return read;
}

protocol::Result<std::string> TModule1::ReadSalinity() {
  Log("Receiving measurement results");
  return ReadMeterValue(protocol::MeterValue::Salinity, 5, LastSalinity, "Measured salinity: ", " S/m");
}

protocol::Result<std::string> TModule1::ReadProbeTemperature() {
  Log("Receiving measurement results");
  return ReadMeterValue(protocol::MeterValue::ProbeTemperature, 5, LastProbeTemperature,
                        "Measured probe temperature: ", " Celsius grades");
}

protocol::Result<std::string> TModule1::ReadMoisture() {
  Log("Receiving measurement results");
  return ReadMeterValue(protocol::MeterValue::Moisture, 6, LastMoisture, "Measured moisture: ", "%");
}

protocol::Result<std::string> TModule1::ReadDielectricConstant() {
  return ReadMeterValue(protocol::MeterValue::DielectricConstant, 5, LastDielectricConstant,
                        "Measured dielectric constant: ", "");
}

void TModule1::MeasureAndRead(const char* startLine,
                              protocol::Result<protocol::Done> (protocol::Meter::*measure)(std::optional<int>),
                              protocol::Result<std::string> (TModule1::*read)(), const char* completeLine) {
  ui::HourGlass hourGlass;
  Log(startLine);
  if (const auto measured = (meter.*measure)(MeterChannel()); !measured) {
    LogMeterFailure(measured.failure());
    return;
  }
  (this->*read)();
  Log(completeLine);  // also after a failed read
}

void TModule1::MeasSalClick(ui::Component*) {
  MeasureAndRead("Starting salinity measurement", &protocol::Meter::MeasureSalinity, &TModule1::ReadSalinity,
                 "Salinity measurement complete");
}

void TModule1::MeasTempClick(ui::Component*) {
  MeasureAndRead("Starting probe temperature measurement", &protocol::Meter::MeasureProbeTemperature,
                 &TModule1::ReadProbeTemperature, "Probe temperature measurement complete");
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
