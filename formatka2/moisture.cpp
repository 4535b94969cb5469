// The moisture measurement of one channel: moisture, dielectric constant and the reflectogram,
// drawn in the station window's own chart window.
#include <string>
#include <vector>

#include "formatka2/formatka2.h"
#include "main/graph.h"
#include "main/main.h"
#include "platform/timing.h"
#include "ui/application.h"

namespace {

constexpr int32_t kReflectogramChars = 4 * 1026;

// The trace at 0.01 ns per value; each marker on the trace point whose height it takes.
void PlotReflectogram(TGraph1& g, const std::vector<uint32_t>& values, bool markers, const std::string& title) {
  g.Series1->Clear();
  g.Series2->Clear();
  for (size_t i = 0; i < 1024; ++i) g.Series1->AddXY(0.01 * i, values[i], " ", ui::clRed);
  if (markers) {
    for (uint32_t m : {values[1024], values[1025]}) {
      const uint32_t at = m / 10;
      if (at <= 1023) g.Series2->AddXY(0.01 * at, values[at], " ", ui::clYellow);
    }
  }
  g.Chart1->Title().Add(title);
}

}  // namespace

std::vector<uint32_t> DecodeStationReflectogram(const std::string& text, bool* faulty) {
  std::vector<uint32_t> values(1026, 0);
  for (size_t i = 0; i < values.size(); ++i) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4; ++k) {
      const size_t at = 4 * i + k;
      const char c = at < text.size() ? text[at] : '\0';
      int digit = link::HexDigitValue(c);
      if (digit < 0) {
        // Only upper-case digits are sound; a lower-case one still gives its value so that the
        // trace keeps its shape, anything else counts as 0.
        *faulty = true;
        digit = c >= 'a' && c <= 'f' ? c - 'a' + 10 : 0;
      }
      value = value * 16 + static_cast<uint32_t>(digit);
    }
    values[i] = value;
  }
  return values;
}

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
  const auto reply = ReadStationReply(kReflectogramChars, true);
  // A reply cut short has no trustworthy values: the previous chart stays.
  if (!reply || reply->size() < static_cast<size_t>(kReflectogramChars)) return;
  const std::vector<uint32_t> values = DecodeStationReflectogram(reply->Raw(), &failed);

  delete StationGraph;
  StationGraph = new TGraph1(this);
  PlotReflectogram(*StationGraph, values, !failed,
                   "Moisture: " + LastMoisture + "%      Dielectric constant: " + LastDielectricConstant);
  StationGraph->Show();
  Log("Moisture measurement complete");
}
