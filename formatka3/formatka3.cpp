#include "formatka3/formatka3.h"

#include <filesystem>

#include "formatka2/formatka2.h"
#include "main/about.h"
#include "main/main.h"
#include "ui/application.h"

ui::Component* Module3Owner = nullptr;

TModule3::TModule3(ui::Component* Owner, link::SerialPort* port) : forms::TModule3Layout(Owner), Port(port) {
  Module3Owner = Owner;
  Created();
}

TModule3::~TModule3() {
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

void TModule3::ReturnToStation() {
  if (auto* station = dynamic_cast<TModule2*>(Module3Owner)) station->ReturnToStationWindow(station);
}

void TModule3::FormClose(ui::Component*, ui::CloseAction&) { ReturnToStation(); }
void TModule3::Exitprogram1Click(ui::Component*) { ReturnToStation(); }

void TModule3::Help1Click(ui::Component*) { ShowAboutBox(this); }

void TModule3::Help2Click(ui::Component*) {
  // This window has no log of its own: the line goes to the station window's.
  if (OpenHelpContents()) return;
  if (auto* station = dynamic_cast<TModule2*>(Module3Owner)) station->Memo1->Lines().Add("Unable to find the help file");
}

// Logging, its configuration and the station scan are built in their own files as they come.
void TModule3::ScanStation() {}
void TModule3::ApplyStoredConfig() {}
void TModule3::DeviceSelectChange(ui::Component*) {}
void TModule3::DeviceSelectDropDown(ui::Component*) {}
void TModule3::StartClick(ui::Component*) {}
void TModule3::StopClick(ui::Component*) {}
void TModule3::AUXselectChange(ui::Component*) {}
void TModule3::ReadConfigClick(ui::Component*) {}
void TModule3::SaveConfigClick(ui::Component*) {}
