// Saving the handheld meter's last results and the trace of its last reflectogram to a text file.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

#include "main/main.h"
#include "platform/text_file.h"
#include "ui/application.h"

namespace {

// "Sun Dec 06 03-26-45.txt": English names whatever the user's locale, and no characters that
// file names may not hold.
std::string ProposedResultFileName(std::time_t now) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm t{};
  localtime_r(&now, &t);
  char name[64];
  std::snprintf(name, sizeof name, "%s %s %02d %02d-%02d-%02d.txt", kDays[t.tm_wday % 7], kMonths[t.tm_mon % 12],
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return name;
}

// A kept text as line 1 holds it: a control byte or a ';' (line noise, a stalled reply) would split
// the line or shift its fields, so it is written as '?'.
std::string ResultText(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == ';') c = '?';
  }
  return text;
}

}  // namespace

bool TModule1::CheckMoistureKept() {
  // Without a reflectogram the trace the files hold would have no source: the moisture
  // measurement has to be run again.
  if (LastMoisture && LastReflectogram && LastReflectogram->size() >= protocol::kTraceLength) return true;
  Log("Unable to save moisture measurement results - Perform the measurement again");
  return false;
}

void TModule1::Savemeasurementresults1Click(ui::Component*) {
  ui::HourGlass hourglass;
  if (!CheckDeviceFound()) return;
  Log("Saving measurement results to file");
  std::error_code ec;
  SaveDialog1->SetInitialDir(std::filesystem::current_path(ec).string());
  SaveDialog1->SetFilter("*.txt");
  SaveDialog1->SetFileName(ProposedResultFileName(std::time(nullptr)));
  if (!CheckMoistureKept()) return;
  if (!LastSalinity) {
    Log("Unable to save salinity measurement results - Perform the measurement again");
    return;
  }
  if (!LastProbeTemperature) {
    Log("Unable to save temperature measurement results - Perform the measurement again");
    return;
  }
  if (!SaveDialog1->Execute()) {
    Log("Saving measurement results to file failed - Try again");
    return;
  }
  std::string text = "theta " + ResultText(*LastMoisture) + ";sigma " + ResultText(*LastSalinity) + ";temp " +
                     ResultText(*LastProbeTemperature) + ";\n";
  text.reserve(text.size() + protocol::kTraceLength * 8);
  for (size_t i = 0; i < protocol::kTraceLength; ++i) {
    text += '-';
    text += std::to_string((*LastReflectogram)[i]);
    text += '\n';
  }
  if (!platform::WriteTextFile(SaveDialog1->FileName(), text)) {
    Log("Saving measurement results to file failed - Try again");
  }
}
