#include "forms/formatka4_layout.h"

#include "forms/layout_util.h"

namespace forms {

using layout::Place;

namespace {

constexpr int kClientWidth = 640;
constexpr int kWindowHeight = 530;  // with the menu bar
constexpr int kClientHeight = kWindowHeight - ui::kMenuBarHeight;
constexpr int kGroupHeight = 332;
// Every edit of the configuration group starts here and ends at the same right edge.
constexpr int kEditLeft = 204;
constexpr int kEditWidth = 164;
constexpr int kMaxText = 30;

}  // namespace

TModule4Layout::TModule4Layout(ui::Component* owner) : ui::Form(owner, "Module4") {
  layout::FixedWindow(this, "GPRS Modem Configuration and Testing", ui::BorderStyle::Single, kClientWidth,
                      kWindowHeight, true);

  BuildConfiguration();
  BuildTesting();

  Label2 = Place(new ui::Label(this, "Label2", this), 8, kGroupHeight + 16, 120, 16, "Program Log");
  Memo1 = layout::AddLogMemo(this, this, 8, kGroupHeight + 34, kClientWidth - 16, kClientHeight - kGroupHeight - 42);

  layout::BuildFileAndHelpMenu(
      this, [this](ui::Component* s) { Exitprogram1Click(s); }, [this](ui::Component* s) { About1Click(s); },
      [this](ui::Component* s) { Help2Click(s); });
  OnCreate = [this](ui::Component* s) { FormCreate(s); };
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
}

void TModule4Layout::BuildConfiguration() {
  GroupBox1 =
      Place(new ui::GroupBox(this, "GroupBox1", this), 8, 8, 384, kGroupHeight, "Basic Modem Configuration Data");
  // The frames go first so that the labels and edits lie on top of them.
  Shape1 = Place(new ui::Shape(this, "Shape1", GroupBox1), 8, 66, 368, 90);
  Shape2 = Place(new ui::Shape(this, "Shape2", GroupBox1), 8, 164, 368, 90);

  auto label = [this](const char* name, int left, int top, int width, const char* caption) {
    return Place(new ui::Label(this, name, GroupBox1), left, top, width, 16, caption);
  };
  auto edit = [this](const char* name, int top, const char* text) {
    auto* e = Place(new ui::Edit(this, name, GroupBox1), kEditLeft, top, kEditWidth, 21, text);
    e->SetMaxLength(kMaxText);
    // The modem's settings are 8-bit text, shown and written back unchanged.
    e->SetByteText(true);
    return e;
  };

  NameLabel0 = label("NameLabel0", 12, 24, 184, "Unique name of the modem and");
  NameLabel1 = label("NameLabel1", 12, 40, 184, "Catalogue Name in the Server:");
  NameEdit = edit("NameEdit", 30, "");

  // GPRS access parameters: a three-line caption beside three numbered edits.
  GPRSLabel0 = label("GPRSLabel0", 16, 86, 100, "GPRS");
  GPRSLabel1 = label("GPRSLabel1", 16, 102, 100, "Communication");
  GPRSLabel2 = label("GPRSLabel2", 16, 118, 100, "Parameters:");
  Label3 = label("Label3", 170, 76, 22, "(1)");
  Label4 = label("Label4", 170, 102, 22, "(2)");
  Label5 = label("Label5", 170, 128, 22, "(3)");
  GPRSEdit0 = edit("GPRSEdit0", 74, " ");
  GPRSEdit1 = edit("GPRSEdit1", 100, " ");
  GPRSEdit2 = edit("GPRSEdit2", 126, " ");

  // FTP server: the same arrangement.
  FTPLabel0 = label("FTPLabel0", 16, 184, 100, "FTP");
  FTPLabel1 = label("FTPLabel1", 16, 200, 100, "Server");
  FTPLabel2 = label("FTPLabel2", 16, 216, 100, "Config.");
  AddressLabel = label("AddressLabel", 128, 174, 64, "Address:");
  LoginLabel = label("LoginLabel", 128, 200, 64, "Login:");
  PasswdLabel = label("PasswdLabel", 128, 226, 64, "Password:");
  FTPEdit0 = edit("FTPEdit0", 172, "");
  FTPEdit1 = edit("FTPEdit1", 198, "");
  FTPEdit2 = edit("FTPEdit2", 224, "");

  TimeSaddrLabel = label("TimeSaddrLabel", 12, 270, 180, "Time Server Address:");
  TimeSaddrEdit = edit("TimeSaddrEdit", 266, "");

  PinLabel = label("PinLabel", 12, 298, 180, "PIN Code of the SIM card:");
  PinEdit = Place(new ui::MaskEdit(this, "PinEdit", GroupBox1), kEditLeft, 294, 56, 21);
  PinEdit->SetEditMask("0000;0;#");
  PinEdit->SetMaxLength(4);

  SetButton = Place(new ui::Button(this, "SetButton", GroupBox1), kEditLeft + kEditWidth - 80, 291, 80, 28, "Set");
  SetButton->OnClick = [this](ui::Component* s) { SetButtonClick(s); };
}

void TModule4Layout::BuildTesting() {
  GroupBox2 = Place(new ui::GroupBox(this, "GroupBox2", this), 400, 8, kClientWidth - 408, kGroupHeight, "Testing");
  const int width = GroupBox2->Width() - 24;
  Label1 = Place(new ui::Label(this, "Label1", GroupBox2), 12, 24, width, 16, "Modem Serial No.");
  DeviceSelect = Place(new ui::Edit(this, "DeviceSelect", GroupBox2), 12, 42, width, 21);
  DeviceSelect->SetReadOnly(true);

  // The captions wrap: the window gives these buttons the multi-line style.
  S4Button = Place(new ui::Button(this, "S4Button", GroupBox2), 12, 82, width, 46, "ON");
  S4Button->OnClick = [this](ui::Component* s) { S4ButtonClick(s); };
  S0Button = Place(new ui::Button(this, "S0Button", GroupBox2), 12, 140, width, 46, "OFF");
  S0Button->OnClick = [this](ui::Component* s) { S0ButtonClick(s); };
  S2Button = Place(new ui::Button(this, "S2Button", GroupBox2), 12, 198, width, 46, "ON - Server connection - OFF");
  S2Button->OnClick = [this](ui::Component* s) { S2ButtonClick(s); };
  S1Button = Place(new ui::Button(this, "S1Button", GroupBox2), 12, 256, width, 46, "ON - script file execution - OFF");
  S1Button->OnClick = [this](ui::Component* s) { S1ButtonClick(s); };
}

}  // namespace forms
