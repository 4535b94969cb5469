#include "formatka3/formatka3.h"

#include <filesystem>
#include <utility>

#include "common/about.h"
#include "formatka2/formatka2.h"
#include "formatka3/data_logger.h"
#include "ui/application.h"
#include "ui/dialogs.h"

ui::Component* Module3Owner = nullptr;

TModule3::TModule3(ui::Component* Owner, link::SerialPort* port, LogAppender* heldLines)
    : forms::TModule3Layout(Owner), Port(port), HeldLines(heldLines ? heldLines : &ownHeldLines_) {
  Module3Owner = Owner;
  Created();
}

TModule3::~TModule3() {
  if (Logger) {
    const ui::HourGlass hourGlass;  // as at Stop: the pass runs to its end first
    if (stopping_) {
      Logger->WaitFor();  // the Stop under way deletes it once the thread has ended
    } else {
      stopping_ = true;  // a Stop handled during the wait finds nothing left to stop
      delete std::exchange(Logger, nullptr);
    }
  }
  HeldLines->Flush();  // a last chance for lines a file could not take
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
  if (auto* station = dynamic_cast<TModule2*>(Module3Owner))
    station->Memo1->Lines().Add("Unable to find the help file");
}

// ---------------------------------------------------------------------------------------------
// The scan of the selected station

protocol::Station TModule3::SelectedStation() {
  return protocol::Station(*Port, link::DeviceAddress(DeviceSelect->Text()));
}

void TModule3::ReadProbeConfig() {
  for (int n = 1; n <= 8; ++n) {
    CheckBoxOf("LabProbeButton", n)->SetChecked(false);
    CheckBoxOf("FieldProbeButton", n)->SetChecked(false);
  }
  // No reply, a refused one, or one that is no mask: as if nothing came.
  const auto mask = SelectedStation().ReadProbeTypeMask();
  if (!mask) return;
  for (int n = 1; n <= 8; ++n) {
    const bool lab = mask->Laboratory(n - 1);
    CheckBoxOf(lab ? "LabProbeButton" : "FieldProbeButton", n)->SetChecked(true);
    CheckBoxOf("TempCheckBox", n)->SetEnabled(!lab);  // only field probes measure temperature
  }
}

void TModule3::SearchAuxProbes() {
  // An "ER" reply ends the search as a missing one.
  const protocol::AuxSearch found = SelectedStation().SearchAux(true);
  if (found.ending == protocol::AuxSearch::Ending::NotStarted) return;  // the maps stay as they were
  DetectedProbes.clear();
  AuxAssignments.clear();
  for (const auto& [name, id] : found.probes) DetectedProbes[name] = id;  // a later one of a name wins
  FreeProbes = DetectedProbes;
  // The one failure of the scan the user sees; a search that never ends counts as one.
  if (found.ending == protocol::AuxSearch::Ending::BusError) {
    ui::MessageDlg("Error\nwhile connecting through AUX", ui::DialogType::Warning, ui::DialogButtons::Ok);
  }
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
    for (const char* prefix : {"EpsiCheckBox", "TetaCheckBox", "SigmaCheckBox"})
      CheckBoxOf(prefix, n)->SetChecked(false);
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
