// The handheld meter's measurements: salinity, probe temperature, moisture with the dielectric
// constant and the reflectogram, the complete measurement and the reads of the last values.
#include "common/graph.h"
#include "common/log_texts.h"
#include "main/main.h"
#include "platform/timing.h"
#include "ui/application.h"

namespace {

// Waits between a command and what follows it, in ms.
constexpr uint32_t kSalinityWait = 1480;
constexpr uint32_t kTemperatureWait = 2980;
constexpr uint32_t kMoistureWait = 980;
constexpr uint32_t kReadWait = 20;
constexpr uint32_t kReflectogramWait = 769;

}  // namespace

bool TModule1::WriteMeterCommand(char letter1, char letter2, bool deviceLevel, size_t length,
                                 const std::string& payload) {
  return link::WriteFrame(*Port, BuildMeterCommand(letter1, letter2, deviceLevel), static_cast<int>(length), payload);
}

bool TModule1::ReadMeterValue(char letter, int32_t length, size_t shown, std::optional<std::string>& kept,
                              const std::string& label, const std::string& unit) {
  // A channel command, although its channel byte is not sent: a box naming no channel refuses it too.
  if (!WriteMeterCommand('R', letter, false, 3)) {
    Log(kSendFailureLine);
    return true;
  }
  platform::Sleep(kReadWait);
  const auto reply = ReadMeterReply(length, true);
  if (!reply) return false;
  kept = reply->Text();
  Log(label + link::ShownInLog(reply->Text(shown)) + unit);
  return false;
}

void TModule1::ReadSalinity() {
  Log("Receiving measurement results");
  ReadMeterValue('S', 5, 5, LastSalinity, "Measured salinity: ", " S/m");
}

void TModule1::ReadProbeTemperature() {
  Log("Receiving measurement results");
  ReadMeterValue('T', 5, 5, LastProbeTemperature, "Measured probe temperature: ", " Celsius grades");
}

void TModule1::ReadMoisture() {
  Log("Receiving measurement results");
  ReadMeterValue('M', 6, 6, LastMoisture, "Measured moisture: ", "%");
}

bool TModule1::ReadDielectricConstant() {
  return ReadMeterValue('N', 6, 5, LastDielectricConstant, "Measured dielectric constant: ", "");
}

void TModule1::MeasureAndRead(const char* startLine, char letter, uint32_t wait, void (TModule1::*read)(),
                              const char* completeLine) {
  ui::HourGlass hourGlass;
  Log(startLine);
  if (!WriteMeterCommand('M', letter, false, 4)) {
    Log(kSendFailureLine);
    return;
  }
  platform::Sleep(wait);
  (this->*read)();
  Log(completeLine);  // also after a failed read
}

void TModule1::MeasSalClick(ui::Component*) {
  MeasureAndRead("Starting salinity measurement", 'S', kSalinityWait, &TModule1::ReadSalinity,
                 "Salinity measurement complete");
}

void TModule1::MeasTempClick(ui::Component*) {
  MeasureAndRead("Starting probe temperature measurement", 'T', kTemperatureWait, &TModule1::ReadProbeTemperature,
                 "Probe temperature measurement complete");
}

void TModule1::MeasMoiClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!CheckDeviceFound()) return;
  Log("Starting moisture measurement");
  if (!WriteMeterCommand('M', 'M', false, 4)) {
    Log(kSendFailureLine);
    return;
  }
  platform::Sleep(kMoistureWait);
  ReadMoisture();
  // When even the dielectric constant could not be asked for, the markers mean nothing and a
  // failed reflectogram request is not reported a second time.
  const bool sendFailed = ReadDielectricConstant();

  Log("Preparing the graph");
  Log("Compiling graph");
  if (!WriteMeterCommand('R', 'G', false, 3)) {
    if (!sendFailed) Log(kSendFailureLine);
    return;
  }
  platform::Sleep(kReflectogramWait);
  const auto reply = ReadMeterReply(static_cast<int32_t>(kMeterReflectogramBytes), true);
  if (!reply) return;
  // A cut reflectogram has no defined values past its end: refused, the previous one stays.
  if (reply->size() < kMeterReflectogramBytes) {
    Log(kReceiveFailureLine);
    return;
  }
  const Reflectogram values = DecodeMeterReflectogram(reply->data());
  LastReflectogram.emplace(values.begin(), values.end());
  ShowReflectogram(MeterGraph, this, values, !sendFailed, LastMoisture.value_or(""),
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
