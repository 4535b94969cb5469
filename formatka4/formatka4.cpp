#include "formatka4/formatka4.h"

#include "common/about.h"
#include "common/log_texts.h"
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

// The three mode commands are one frame each; nothing is read back, so only the write counts.
void TModule4::S0ButtonClick(ui::Component*) {
  ui::HourGlass hourGlass;
  SendModeFrame('0', "The modem has turned off");
}

void TModule4::S1ButtonClick(ui::Component*) {
  ui::HourGlass hourGlass;
  SendModeFrame('1', "The modem is turned on");
}

void TModule4::S2ButtonClick(ui::Component*) {
  ui::HourGlass hourGlass;
  SendModeFrame('2', "The modem is turned on and attempting to connect with the server");
}

bool TModule4::SendModeFrame(char digit, const char* done) {
  const auto frame = BuildModemCommand('S', digit);
  // An identifier without an address gives no frame: that fails like a write.
  if (!frame || !Port->Write(frame->data(), 3, true)) {
    Log(kSendFailureLine);
    return false;
  }
  if (done != nullptr) Log(done);
  return true;
}
