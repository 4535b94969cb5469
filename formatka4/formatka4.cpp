// The GPRS modem window: its mode commands, reading the modem's settings into the edits ("ON")
// and writing them back ("Set").
#include "formatka4/formatka4.h"

#include <string>
#include <vector>

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

protocol::Modem TModule4::Modem() {
  return protocol::Modem(*Port, link::DeviceAddress(DeviceSelect->Text()), [this](const std::string& gathered) {
    // The whole text so far, line ends included, as one entry.
    Log(">>" + link::ShownInLog(gathered) + "<<");
  });
}

bool TModule4::Failed(protocol::Failure failure) {
  Log(failure == protocol::Failure::NoReply ? kModemFailedLine : kSendFailureLine);
  return false;
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
  SwitchModem(protocol::Modem::Mode::Off, "The modem has turned off");
}

void TModule4::S1ButtonClick(ui::Component*) {
  ui::HourGlass hourGlass;
  SwitchModem(protocol::Modem::Mode::Script, "The modem is turned on");
}

void TModule4::S2ButtonClick(ui::Component*) {
  ui::HourGlass hourGlass;
  SwitchModem(protocol::Modem::Mode::Server, "The modem is turned on and attempting to connect with the server");
}

void TModule4::SwitchModem(protocol::Modem::Mode mode, const char* done) {
  if (Went(Modem().Switch(mode))) Log(done);
}

bool TModule4::WakeModem() {
  if (!Went(Modem().Wake())) return false;
  Log("The modem is turned on");
  return true;
}

void TModule4::S4ButtonClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!WakeModem()) return;
  // A reply that holds none of its values (silent, or cut short) empties their edits all the
  // same, then says so. The PIN's mask keeps only the digits that fit its places.
  const auto show = [this](protocol::Modem::Shown shown, std::initializer_list<ui::Edit*> edits) {
    const auto values = Modem().Show(shown);
    if (values.failed(protocol::Failure::NotSent)) return Went(values);
    size_t i = 0;
    for (ui::Edit* edit : edits) edit->SetText(values ? (*values)[i++] : std::string());
    Went(values);
    return true;
  };
  if (show(protocol::Modem::Shown::Settings,
           {NameEdit, GPRSEdit0, GPRSEdit1, GPRSEdit2, FTPEdit0, FTPEdit1, FTPEdit2, TimeSaddrEdit}))
    show(protocol::Modem::Shown::Pin, {PinEdit});
  // The modem stays on.
}

void TModule4::SetButtonClick(ui::Component*) {
  const std::pair<ui::Edit*, const char*> required[] = {
      {NameEdit, "Please fill the unique name"},
      {PinEdit, "Please fill the PIN code"},
      {GPRSEdit0, "Please fill the GPRS Communication Parameter nr 1"},
      {GPRSEdit1, "Please fill the GPRS Communication Parameter nr 2"},
      {GPRSEdit2, "Please fill the GPRS Communication Parameter nr 3"},
      {FTPEdit0, "Please fill the Address"},
      {FTPEdit1, "Please fill the Login"},
      {FTPEdit2, "Please fill the Password"},
      {TimeSaddrEdit, "Please fill the Time Server Address"},
  };
  for (const auto& [edit, line] : required) {
    if (protocol::Modem::IsBlank(edit->Text())) {
      Log(line);
      return;
    }
  }

  ui::HourGlass hourGlass;
  if (!WakeModem()) return;

  using Setting = protocol::Modem::Setting;
  struct SetCommand {
    Setting setting;
    std::vector<ui::Edit*> values;
    const char* sent;
  };
  const SetCommand commands[] = {
      {Setting::Name, {NameEdit}, "The unique name has been sent"},
      {Setting::Gprs, {GPRSEdit0, GPRSEdit1, GPRSEdit2}, "The GPRS configuration has been sent"},
      {Setting::Ftp, {FTPEdit0, FTPEdit1, FTPEdit2}, "The FTP configuration has been sent"},
      {Setting::TimeServer, {TimeSaddrEdit}, "The SNTP address has been sent"},
      {Setting::Pin, {PinEdit}, "The PIN has been sent"},
  };
  for (const SetCommand& c : commands) {
    std::vector<std::string> values;
    for (ui::Edit* edit : c.values) values.push_back(edit->Text());
    if (!Went(Modem().Set(c.setting, values))) return;
    Log(c.sent);
  }
  // Switched off at the end; nothing is awaited, and a failed write still ends the run normally.
  SwitchModem(protocol::Modem::Mode::Off, "The modem has turned off");
}
