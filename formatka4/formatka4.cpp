#include "formatka4/formatka4.h"

#include "main/about.h"
#include "main/main.h"
#include "ui/application.h"

ui::Component* Module4Owner = nullptr;

TModule4::TModule4(ui::Component* Owner, link::SerialPort* port) : forms::TModule4Layout(Owner), Port(port) {
  Module4Owner = Owner;
  Created();
}

TModule4::~TModule4() {
  if (ModemWindow == this) ModemWindow = nullptr;
}

void TModule4::FormCreate(ui::Component*) {
  const long style = ui::GetWindowLongA(S4Button, ui::GWL_STYLE) | ui::BS_MULTILINE;
  for (ui::Button* b : {S4Button, S0Button, S1Button, S2Button}) ui::SetWindowLongA(b, ui::GWL_STYLE, style);
}

std::optional<link::CommandFrame> TModule4::BuildModemCommand(char letter, char digit) {
  const auto address = link::DeviceAddress(DeviceSelect->Text());
  if (!address) return std::nullopt;
  return link::CommandFrame{*address, static_cast<uint8_t>(letter), static_cast<uint8_t>(digit), 0};
}

void TModule4::ReturnToMain() {
  if (auto* main = dynamic_cast<TModule1*>(Module4Owner)) main->ReturnToMainWindow("formatka4");
}

void TModule4::FormClose(ui::Component*, ui::CloseAction&) { ReturnToMain(); }
void TModule4::Exitprogram1Click(ui::Component*) { ReturnToMain(); }

void TModule4::About1Click(ui::Component*) { ShowAboutBox(this); }

void TModule4::Help2Click(ui::Component*) {
  if (!OpenHelpContents()) Log("Unable to find the help file");
}

// The modem's mode commands and its AT dialogue are built in their own files as they come.
void TModule4::S4ButtonClick(ui::Component*) {}
void TModule4::S0ButtonClick(ui::Component*) {}
void TModule4::S1ButtonClick(ui::Component*) {}
void TModule4::S2ButtonClick(ui::Component*) {}
void TModule4::SetButtonClick(ui::Component*) {}
