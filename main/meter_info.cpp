// The handheld meter's device information (clock, date, contrast, supply voltage, stored points)
// and the download of its memory banks into the log or a file. The meter takes these as plain
// text lines, without the wake preamble and without an address.
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/log_texts.h"
#include "main/main.h"
#include "platform/text_file.h"
#include "platform/timing.h"
#include "ui/application.h"

namespace {

constexpr uint32_t kInfoWaitMs = 100;
constexpr int32_t kStoredPointsLength = 14;
constexpr int32_t kBankPointLength = 92;

// The four count characters of a bank (1 to 3) in the stored-points reply: as many of them as
// were received.
std::string BankCountField(const std::string& reply, int bank) {
  const size_t start = static_cast<size_t>(bank - 1) * 5;
  return start < reply.size() ? reply.substr(start, 4) : std::string();
}

// The meter needs longer for the bank transfer the more points it holds.
uint32_t BankWaitMs(int32_t count) { return count < 10 ? 200 : 20 * static_cast<uint32_t>(count); }

std::string BankLine(const char* format, int bank) {
  char line[64];
  std::snprintf(line, sizeof line, format, bank);
  return line;
}

}  // namespace

std::optional<link::Bytes> TModule1::MeterTextExchange(const std::string& command, uint32_t waitMs, int32_t n) {
  if (!Port->Write(reinterpret_cast<const uint8_t*>(command.data()), static_cast<int32_t>(command.size()), false)) {
    Log(kSendFailureLine);
    return std::nullopt;
  }
  platform::Sleep(waitMs);
  return ReadMeterReply(n, true);
}

void TModule1::ShowMeterInfo(const std::string& command, int32_t n, const std::string& label, bool needsDevice) {
  ui::HourGlass hourglass;
  if (needsDevice && !CheckDeviceFound()) return;
  const auto reply = MeterTextExchange(command, kInfoWaitMs, n);
  if (!reply) return;
  Log(label + link::ShownInLog(reply->Text(static_cast<size_t>(n))));
}

// The clock is read even after a search that found nothing: it needs no device found.
void TModule1::Time1Click(ui::Component*) { ShowMeterInfo("HRT\n", 8, "Current time: ", false); }

void TModule1::Date1Click(ui::Component*) { ShowMeterInfo("HRD\n", 10, "Current date: ", true); }

void TModule1::Contrast1Click(ui::Component*) { ShowMeterInfo("HRC\n", 3, "Current contrast value: ", true); }

void TModule1::Supplyvoltage1Click(ui::Component*) { ShowMeterInfo("HRV\n", 5, "Current supply voltage: ", true); }

void TModule1::Storeddatapoints1Click(ui::Component*) {
  ui::HourGlass hourglass;
  if (!CheckDeviceFound()) return;
  const auto reply = MeterTextExchange("HRS\n", kInfoWaitMs, kStoredPointsLength);
  if (!reply) return;
  const std::string text = reply->Text(kStoredPointsLength);
  Log("Stored data points:");
  for (int bank = 1; bank <= 3; ++bank) {
    Log(BankLine("Data bank nr %d: ", bank) + link::ShownInLog(BankCountField(text, bank)));
  }
}

void TModule1::TransferDataBank(int bank, bool toLog) {
  int32_t count = 0;
  if (const auto reply = MeterTextExchange("HRS\n", kInfoWaitMs, kStoredPointsLength)) {
    count = link::ParseInteger(BankCountField(reply->Text(kStoredPointsLength), bank));
  }
  if (count <= 0) {
    Log(BankLine("Data bank nr %d is empty", bank));
    return;
  }
  const auto contents =
      MeterTextExchange("HRB" + std::to_string(bank) + "\n", BankWaitMs(count), kBankPointLength * count);
  if (!contents) return;
  // A transfer cut short is kept as it came, but then the user is told the bank is incomplete.
  const bool cutShort = contents->size() < static_cast<size_t>(kBankPointLength) * static_cast<size_t>(count);
  if (toLog) {
    Log(BankLine("Data bank nr %d:", bank));
    Log(link::ShownInLog(contents->Text()));
    if (cutShort) Log(kReceiveFailureLine);
    return;
  }
  std::error_code ec;
  SaveDialog1->SetInitialDir(std::filesystem::current_path(ec).string());
  SaveDialog1->SetFilter("*.txt");
  if (!SaveDialog1->Execute()) return;
  const std::string path = SaveDialog1->FileName() + ".txt";
  if (!platform::WriteTextFile(path, BankLine("Data bank nr %d:", bank) + "\n" + contents->Text())) {
    Log(BankLine("Saving data bank nr %d to file failed - Try again", bank));
  }
  if (cutShort) Log(kReceiveFailureLine);
}

void TModule1::DataBankReadClick(ui::Component* Sender) {
  ui::HourGlass hourglass;
  if (!CheckDeviceFound()) return;
  TransferDataBank(Sender->Tag(), true);
}

void TModule1::DataBankSaveClick(ui::Component* Sender) {
  ui::HourGlass hourglass;
  if (!CheckDeviceFound()) return;
  TransferDataBank(Sender->Tag(), false);
}
