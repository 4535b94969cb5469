// The handheld meter's device information (clock, date, contrast, supply voltage, stored points)
// and the download of its memory banks into the log or a file. The meter takes these as plain
// text lines, without the wake preamble and without an address.
#include <cstdio>
#include <filesystem>
#include <string>

#include "main/main.h"
#include "platform/text_file.h"
#include "ui/application.h"

using protocol::MeterInfo;

namespace {

std::string BankLine(const char* format, int bank) {
  char line[64];
  std::snprintf(line, sizeof line, format, bank);
  return line;
}

}  // namespace

void TModule1::ShowMeterInfo(MeterInfo item, const std::string& label, bool needsDevice) {
  ui::HourGlass hourglass;
  if (needsDevice && !CheckDeviceFound()) return;
  const auto reply = meter.ReadInfo(item);
  if (!reply) return LogMeterFailure(reply.failure());
  Log(label + link::ShownInLog(*reply));
}

// The clock is read even after a search that found nothing: it needs no device found.
void TModule1::Time1Click(ui::Component*) { ShowMeterInfo(MeterInfo::Time, "Current time: ", false); }

void TModule1::Date1Click(ui::Component*) { ShowMeterInfo(MeterInfo::Date, "Current date: ", true); }

void TModule1::Contrast1Click(ui::Component*) { ShowMeterInfo(MeterInfo::Contrast, "Current contrast value: ", true); }

void TModule1::Supplyvoltage1Click(ui::Component*) {
  ShowMeterInfo(MeterInfo::SupplyVoltage, "Current supply voltage: ", true);
}

void TModule1::Storeddatapoints1Click(ui::Component*) {
  ui::HourGlass hourglass;
  if (!CheckDeviceFound()) return;
  const auto stored = meter.ReadStoredPoints();
  if (!stored) return LogMeterFailure(stored.failure());
  Log("Stored data points:");
  for (int bank = 1; bank <= 3; ++bank) {
    Log(BankLine("Data bank nr %d: ", bank) + link::ShownInLog(stored->Field(bank)));
  }
}

void TModule1::TransferDataBank(int bank, bool toLog) {
  ui::HourGlass hourglass;
  if (!CheckDeviceFound()) return;
  const auto stored = meter.ReadStoredPoints();
  if (!stored) LogMeterFailure(stored.failure());
  const int32_t count = stored ? stored->Count(bank) : 0;
  if (count <= 0) {
    Log(BankLine("Data bank nr %d is empty", bank));
    return;
  }
  const auto contents = meter.ReadBank(bank, count);
  if (!contents) return LogMeterFailure(contents.failure());
  // A transfer cut short is kept as it came, but then the user is told the bank is incomplete.
  if (toLog) {
    Log(BankLine("Data bank nr %d:", bank));
    Log(link::ShownInLog(contents->text));
    if (!contents->complete) Log(kReceiveFailureLine);
    return;
  }
  std::error_code ec;
  SaveDialog1->SetInitialDir(std::filesystem::current_path(ec).string());
  SaveDialog1->SetFilter("*.txt");
  if (!SaveDialog1->Execute()) return;
  const std::string path = SaveDialog1->FileName() + ".txt";
  if (!platform::WriteTextFile(path, BankLine("Data bank nr %d:", bank) + "\n" + contents->text)) {
    Log(BankLine("Saving data bank nr %d to file failed - Try again", bank));
  }
  if (!contents->complete) Log(kReceiveFailureLine);
}

void TModule1::DataBankReadClick(ui::Component* Sender) { TransferDataBank(Sender->Tag(), true); }

void TModule1::DataBankSaveClick(ui::Component* Sender) { TransferDataBank(Sender->Tag(), false); }
