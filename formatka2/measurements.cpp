// Measurements of one TDR channel: conductivity, probe temperature, and the readings of the
// moisture measurement (moisture and dielectric constant).
#include <string>

#include "common/log_texts.h"
#include "formatka2/formatka2.h"
#include "ui/application.h"

using Measurement = protocol::Station::Measurement;
using Value = protocol::Station::Value;

void TModule2::MeasCondClick(ui::Component*) {
  ui::HourGlass hourGlass;
  Log("Starting conductivity measurement");
  if (!SelectedStation().Measure(Measurement::Conductivity, SelectedChannel())) {
    LogChannelFailure();
    return;
  }
  ReadConductivity();
  Log("Conductivity measurement complete");
}

void TModule2::ReadConductivity() {
  Log("Receiving measurement results");
  const auto reply = SelectedStation().ReadValue(Value::Conductivity, SelectedChannel(), true);
  if (!reply) {
    LogRefusal(reply.failure());
    LogChannelFailure();
    return;
  }
  Log("Measured conductivity: " + link::ShownInLog(reply->Text()) + " S/m");
}

void TModule2::MeasTempAllClick(ui::Component*) {
  ui::HourGlass hourGlass;
  Log("Starting probe temperature measurement");
  if (!SelectedStation().Measure(Measurement::ProbeTemperature, SelectedChannel())) {
    Log(kSendFailureLine);
    return;
  }
  ReadProbeTemperature();
  Log("Probe temperature measurement complete");
}

void TModule2::ReadProbeTemperature() {
  Log("Receiving measurement results");
  const auto reply = SelectedStation().ReadValue(Value::ProbeTemperature, SelectedChannel(), true);
  if (!reply) return LogReadFailure(reply.failure());
  Log("Measured probe temperature: " + link::ShownInLog(reply->Text()) + " Celsius grades");
}

bool TModule2::ReadMoisture() {
  Log("Receiving measurement results");
  const auto reply = SelectedStation().ReadValue(Value::Moisture, SelectedChannel(), true);
  if (!reply) {
    LogReadFailure(reply.failure());
    return reply.failed(protocol::Failure::NotSent);
  }
  Log("Measured moisture: " + link::ShownInLog(reply->Text()) + "%");
  LastMoisture = reply->Text();
  return false;
}

bool TModule2::ReadDielectricConstant() {
  const auto reply = SelectedStation().ReadValue(Value::DielectricConstant, SelectedChannel(), true);
  if (!reply) {
    LogReadFailure(reply.failure());
    return reply.failed(protocol::Failure::NotSent);
  }
  // The sixth character is kept for the chart's title, not shown here.
  Log("Measured dielectric constant: " + link::ShownInLog(reply->Text(5)));
  LastDielectricConstant = reply->Text();
  return false;
}

void TModule2::LogReadFailure(protocol::Failure failure) {
  if (failure == protocol::Failure::NotSent) {
    Log(kSendFailureLine);
  } else {
    LogRefusal(failure);
  }
}
