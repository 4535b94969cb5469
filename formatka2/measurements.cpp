// Measurements of one TDR channel: conductivity, probe temperature, and the readings of the
// moisture measurement (moisture and dielectric constant).
#include <string>

#include "common/log_texts.h"
#include "formatka2/formatka2.h"
#include "platform/timing.h"
#include "ui/application.h"

void TModule2::MeasCondClick(ui::Component*) {
  ui::HourGlass hourGlass;
  Log("Starting conductivity measurement");
  if (!Send('M', 'S', false, 4)) {
    LogChannelFailure();
    return;
  }
  platform::Sleep(1480);
  ReadConductivity();
  Log("Conductivity measurement complete");
}

void TModule2::ReadConductivity() {
  Log("Receiving measurement results");
  if (!Send('R', 'S', false, 3)) {
    LogChannelFailure();
    return;
  }
  platform::Sleep(20);
  const auto reply = ReadStationReply(5, true);
  if (!reply) {
    LogChannelFailure();
    return;
  }
  Log("Measured conductivity: " + link::ShownInLog(reply->Text(5)) + " S/m");
}

void TModule2::MeasTempAllClick(ui::Component*) {
  ui::HourGlass hourGlass;
  Log("Starting probe temperature measurement");
  if (!Send('M', 'T', false, 4)) {
    Log(kSendFailureLine);
    return;
  }
  platform::Sleep(2980);
  ReadProbeTemperature();
  Log("Probe temperature measurement complete");
}

void TModule2::ReadProbeTemperature() {
  Log("Receiving measurement results");
  if (!Send('R', 'T', false, 3)) {
    Log(kSendFailureLine);
    return;
  }
  platform::Sleep(20);
  if (const auto reply = ReadStationReply(5, true)) {
    Log("Measured probe temperature: " + link::ShownInLog(reply->Text(5)) + " Celsius grades");
  }
}

bool TModule2::ReadMoisture() {
  Log("Receiving measurement results");
  if (!Send('R', 'M', true, 3)) {
    Log(kSendFailureLine);
    return true;
  }
  platform::Sleep(20);
  if (const auto reply = ReadStationReply(6, true)) {
    Log("Measured moisture: " + link::ShownInLog(reply->Text(6)) + "%");
    LastMoisture = reply->Text(6);
  }
  return false;
}

bool TModule2::ReadDielectricConstant() {
  if (!Send('R', 'N', true, 3)) {
    Log(kSendFailureLine);
    return true;
  }
  platform::Sleep(20);
  if (const auto reply = ReadStationReply(6, true)) {
    Log("Measured dielectric constant: " + link::ShownInLog(reply->Text(5)));
    LastDielectricConstant = reply->Text(6);
  }
  return false;
}
