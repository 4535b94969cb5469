#include "formatka3/formatka3.h"

#include <filesystem>

#include "formatka2/formatka2.h"
#include "formatka3/data_logger.h"
#include "main/about.h"
#include "main/main.h"
#include "platform/timing.h"
#include "ui/application.h"
#include "ui/dialogs.h"

ui::Component* Module3Owner = nullptr;

namespace {

// The AUX search ends after this many replies, as a bus error would: a station that never sends
// the end marker must not hold the window for ever.
constexpr int kMaxAuxReplies = 256;

}  // namespace

TModule3::TModule3(ui::Component* Owner, link::SerialPort* port) : forms::TModule3Layout(Owner), Port(port) {
  Module3Owner = Owner;
  Created();
}

TModule3::~TModule3() {
  delete Logger;  // ends the thread after its pass
  Logger = nullptr;
  if (LoggerWindow == this) LoggerWindow = nullptr;
}

void TModule3::FormCreate(ui::Component*) {
  const long style = ui::GetWindowLongA(ReadConfig, ui::GWL_STYLE) | ui::BS_MULTILINE;
  ui::SetWindowLongA(ReadConfig, ui::GWL_STYLE, style);
  ui::SetWindowLongA(SaveConfig, ui::GWL_STYLE, style);
  std::error_code ec;
  const std::string cwd = std::filesystem::current_path(ec).string();
  OpenDialog1->SetInitialDir(cwd);
  SaveDialog1->SetInitialDir(cwd);
}

ui::CheckBox* TModule3::CheckBoxOf(const std::string& prefix, int n) const {
  return ui::FindAs<ui::CheckBox>(*this, prefix + std::to_string(n));
}

ui::Edit* TModule3::EditOf(const std::string& prefix, int k) const {
  return ui::FindAs<ui::Edit>(*this, prefix + std::to_string(k));
}

ui::ComboBox* TModule3::AuxBox(int n, int slot) const {
  return ui::FindAs<ui::ComboBox>(*this, "AUXselect" + std::to_string(n) + std::to_string(slot));
}

void TModule3::ReturnToStation() {
  if (auto* station = dynamic_cast<TModule2*>(Module3Owner)) station->ReturnToStationWindow(station);
}

void TModule3::ClearMaps() {
  Stations.clear();
  AuxAssignments.clear();
  FreeProbes.clear();
  DetectedProbes.clear();
}

void TModule3::FormClose(ui::Component*, ui::CloseAction&) {
  if (stopping_) {
    clearAfterStop_ = true;  // the thread still reads the map: the running Stop empties it
  } else {
    if (Logger && !StopLogging()) return;
    ClearMaps();
  }
  ReturnToStation();
}

void TModule3::Exitprogram1Click(ui::Component*) {
  if (Logger && !stopping_ && !StopLogging()) return;
  ReturnToStation();
}

void TModule3::Help1Click(ui::Component*) { ShowAboutBox(this); }

void TModule3::Help2Click(ui::Component*) {
  // This window has no log of its own: the line goes to the station window's.
  if (OpenHelpContents()) return;
  if (auto* station = dynamic_cast<TModule2*>(Module3Owner)) station->Memo1->Lines().Add("Unable to find the help file");
}

// ---------------------------------------------------------------------------------------------
// Station command layer and the scan

std::optional<link::CommandFrame> TModule3::BuildStationCommand(char letter1, char letter2, bool deviceLevel,
                                                                int channel) {
  const auto address = link::DeviceAddress(DeviceSelect->Text());
  if (!address) return std::nullopt;
  return link::MakeFrame(*address, letter1, letter2, deviceLevel, channel);
}

std::optional<link::Bytes> TModule3::ReadStationReply(int32_t length) {
  auto reply = Port->Read(length);
  if (!reply || reply->StartsWith("ER")) return std::nullopt;
  return reply;
}

void TModule3::ReadProbeConfig() {
  for (int n = 1; n <= 8; ++n) {
    CheckBoxOf("LabProbeButton", n)->SetChecked(false);
    CheckBoxOf("FieldProbeButton", n)->SetChecked(false);
  }
  const auto frame = BuildStationCommand('R', 'H', true, 0);
  if (!frame || !Port->Write(frame->data(), 3, true)) return;
  platform::Sleep(20);
  const auto reply = ReadStationReply(4);
  if (!reply || reply->size() < 2) return;
  const int high = link::HexDigitValue(static_cast<char>((*reply)[0]));
  const int low = link::HexDigitValue(static_cast<char>((*reply)[1]));
  if (high < 0 || low < 0) return;  // not a mask: as if nothing came
  const int mask = high * 16 + low;
  for (int n = 1; n <= 8; ++n) {
    const bool lab = (mask >> (n - 1)) & 1;
    CheckBoxOf(lab ? "LabProbeButton" : "FieldProbeButton", n)->SetChecked(true);
    CheckBoxOf("TempCheckBox", n)->SetEnabled(!lab);  // only field probes measure temperature
  }
}

void TModule3::SearchAuxProbes() {
  const auto start = BuildStationCommand('1', 'W', true, 0);
  if (!start) return;
  std::vector<uint8_t> bytes(start->begin(), start->begin() + 3);
  bytes.insert(bytes.end(), 16, 'F');
  if (!Port->Write(bytes.data(), static_cast<int32_t>(bytes.size()), true)) return;

  DetectedProbes.clear();
  FreeProbes.clear();
  AuxAssignments.clear();
  for (int replies = 0; replies < kMaxAuxReplies; ++replies) {
    platform::Sleep(100);
    const auto next = BuildStationCommand('1', 'S', true, 0);
    if (!next || !Port->Write(next->data(), 3, true)) break;
    platform::Sleep(100);
    const auto reply = ReadStationReply(16);
    if (!reply || reply->size() < 16) break;  // a reply cut short says nothing reliable
    const std::string id = reply->Raw().substr(0, 16);
    if (id.compare(0, 4, "FFFF") == 0 && (id[15] == 'F' || id[15] == 'E')) break;  // end, or no probes
    if (id.compare(0, 4, "0000") == 0 && id[15] == '0') {
      ui::MessageDlg("Error\nwhile connecting through AUX", ui::DialogType::Warning, ui::DialogButtons::Ok);
      break;
    }
    const std::string family = id.substr(0, 2);
    if (family == "28") {
      DetectedProbes["t" + id.substr(2, 6)] = id;
    } else if (family == "55") {
      DetectedProbes["p" + id.substr(2, 6)] = id;
    }
  }
  FreeProbes = DetectedProbes;
}

void TModule3::ScanStation() {
  ReadProbeConfig();
  SearchAuxProbes();
  RefreshAuxLists(true);
  for (int n = 1; n <= 8; ++n) {
    for (int slot = 1; slot <= 2; ++slot) AuxBox(n, slot)->SetText("no probe");
  }
}

void TModule3::DeviceSelectChange(ui::Component*) {
  ui::HourGlass hourGlass;
  ScanStation();
  for (int n = 1; n <= 8; ++n) {
    for (const char* prefix : {"EpsiCheckBox", "TetaCheckBox", "SigmaCheckBox"}) CheckBoxOf(prefix, n)->SetChecked(false);
  }
  for (int k = 1; k <= 2; ++k) {
    CheckBoxOf("CalCheckBox", k)->SetChecked(false);
    for (const char* prefix : {"a0Edit", "a1Edit", "a2Edit"}) EditOf(prefix, k)->SetText("0");
  }
  Period->SetText("0");
  ApplyStoredConfig();
}

void TModule3::DeviceSelectDropDown(ui::Component*) {
  ui::HourGlass hourGlass;
  StoreShownStation();
}
