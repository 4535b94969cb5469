// The moisture measurement of one channel: moisture, dielectric constant and the reflectogram,
// drawn in the station window's own chart window.
#include <algorithm>
#include <string>

#include "common/graph.h"
#include "common/log_texts.h"
#include "formatka2/formatka2.h"
#include "platform/timing.h"
#include "ui/application.h"

namespace {

constexpr size_t kReflectogramChars = 4 * kReflectogramValues;

}  // namespace

void TModule2::MeasMoiClick(ui::Component*) {
  ui::HourGlass hourGlass;
  bool failed = false;
  Log("Starting moisture measurement");
  if (!Send('M', 'M', false, 4)) {
    Log(kSendFailureLine);
    return;
  }
  platform::Sleep(980);
  ReadMoisture();
  // Only a dielectric constant that could not be asked for leaves the markers out.
  failed = ReadDielectricConstant();
  Log("Preparing the graph");
  Log("Compiling graph");
  if (!Send('R', 'G', true, 3)) {
    if (!failed) Log(kSendFailureLine);
    return;
  }
  platform::Sleep(769);
  const auto reply = ReadStationReply(static_cast<int32_t>(kReflectogramChars), true);
  // A reply cut short has no trustworthy values: the previous chart stays.
  if (!reply || reply->size() < kReflectogramChars) return;
  const Reflectogram values = DecodeStationReflectogram(reply->Raw(), &failed);
  ShowReflectogram(StationGraph, this, values, !failed, LastMoisture, LastDielectricConstant);
  Log("Moisture measurement complete");
}
