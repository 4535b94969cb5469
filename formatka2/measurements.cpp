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
  ShowValue(Value::ProbeTemperature, "Measured probe temperature: ", 5, " Celsius grades", nullptr);
}

protocol::Result<std::string> TModule2::ReadMoisture() {
  Log("Receiving measurement results");
  return ShowValue(Value::Moisture, "Measured moisture: ", 6, "%", &LastMoisture);
}

protocol::Result<std::string> TModule2::ReadDielectricConstant() {
  // The sixth character is kept for the chart's title, not shown.
  return ShowValue(Value::DielectricConstant, "Measured dielectric constant: ", 5, "", &LastDielectricConstant);
}

protocol::Result<std::string> TModule2::ShowValue(protocol::Station::Value value, const std::string& label,
                                                  size_t shown, const std::string& unit, std::string* kept) {
  const auto reply = SelectedStation().ReadValue(value, SelectedChannel(), true);
  if (!reply) {
    LogReadFailure(reply.failure());
    return reply.failure();
  }
  Log(label + link::ShownInLog(reply->Text(shown)) + unit);
  if (kept) *kept = reply->Text();
  return reply->Text();
}

void TModule2::LogReadFailure(protocol::Failure failure) {
  if (failure == protocol::Failure::NotSent) return Log(kSendFailureLine);
  LogRefusal(failure);
}
