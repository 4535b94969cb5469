#include "forms/formatka3_layout.h"

#include <string>

#include "forms/layout_util.h"

namespace forms {

using layout::Place;

namespace {

constexpr int kClientWidth = 776;
constexpr int kWindowHeight = 504;  // with the menu bar

// Channel rows: one group box per channel, the column heads above them.
constexpr int kRowLeft = 8;
constexpr int kRowTop = 64;
constexpr int kRowPitch = 52;
constexpr int kRowWidth = 512;
constexpr int kRowHeight = 48;
// Columns inside a row (left edges, relative to the row).
constexpr int kLabColumn = 84;
constexpr int kFieldColumn = 124;
constexpr int kValueColumns[] = {192, 222, 252, 282};  // epsilon, theta, sigma, T
constexpr int kAuxColumns[] = {318, 414};
constexpr int kAuxWidth = 90;

// The right-hand column.
constexpr int kSideLeft = 536;
constexpr int kSideWidth = 232;

}  // namespace

TModule3Layout::TModule3Layout(ui::Component* owner) : ui::Form(owner, "Module3") {
  layout::FixedWindow(this, "Data Logger", ui::BorderStyle::Single, kClientWidth, kWindowHeight, true);

  BuildHeads();
  BuildChannelRows();

  Place(new ui::Label(this, "SelectDeviceLabel", this), kSideLeft, 10, 120, 16, "Select device:");
  DeviceSelect = Place(new ui::ComboBox(this, "DeviceSelect", this), kSideLeft, 28, 160, 21);
  DeviceSelect->SetText("Select device");
  DeviceSelect->OnChange = [this](ui::Component* s) { DeviceSelectChange(s); };
  DeviceSelect->OnDropDown = [this](ui::Component* s) { DeviceSelectDropDown(s); };

  Place(new ui::Label(this, "PeriodLabel1", this), kSideLeft, 62, 120, 16, "Set time period");
  Place(new ui::Label(this, "PeriodLabel2", this), kSideLeft, 78, 120, 16, "in seconds:");
  Period = Place(new ui::Edit(this, "Period", this), kSideLeft, 96, 80, 21, "0");

  // Narrow enough that the window's multi-line style breaks the captions onto two lines.
  const int half = (kSideWidth - 8) / 2;
  ReadConfig = Place(new ui::Button(this, "ReadConfig", this), kSideLeft, 132, half, 40, "Read Configuration");
  ReadConfig->OnClick = [this](ui::Component* s) { ReadConfigClick(s); };
  SaveConfig =
      Place(new ui::Button(this, "SaveConfig", this), kSideLeft + half + 8, 132, half, 40, "Write Configuration");
  SaveConfig->OnClick = [this](ui::Component* s) { SaveConfigClick(s); };

  BuildCalibrations();

  // Start and Stop end level with the last channel row.
  const int bottom = kRowTop + 7 * kRowPitch + kRowHeight;
  Start = Place(new ui::Button(this, "Start", this), kSideLeft, bottom - 34, half, 34, "Start");
  Start->OnClick = [this](ui::Component* s) { StartClick(s); };
  Stop = Place(new ui::Button(this, "Stop", this), kSideLeft + half + 8, bottom - 34, half, 34, "Stop");
  Stop->SetEnabled(false);
  Stop->OnClick = [this](ui::Component* s) { StopClick(s); };

  OpenDialog1 = new ui::OpenDialog(this, "OpenDialog1");
  OpenDialog1->SetDefaultExt("txt");
  OpenDialog1->SetFilter("*.txt");
  SaveDialog1 = new ui::SaveDialog(this, "SaveDialog1");
  SaveDialog1->SetDefaultExt("txt");
  SaveDialog1->SetFilter("*.txt");

  layout::BuildFileAndHelpMenu(
      this, [this](ui::Component* s) { Exitprogram1Click(s); }, [this](ui::Component* s) { Help1Click(s); },
      [this](ui::Component* s) { Help2Click(s); });
  OnCreate = [this](ui::Component* s) { FormCreate(s); };
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
}

void TModule3Layout::BuildHeads() {
  auto head = [this](const char* name, int left, int top, int width, const char* caption) {
    return Place(new ui::Label(this, name, this), left, top, width, 16, caption);
  };
  const int x = kRowLeft;
  head("MeasuredValueLabel", x + 185, 10, 120, "Measured value from");
  head("ProbeTypeLabel", x + 83, 26, 70, "Probe type");
  head("ProbeKindsLabel", x + 197, 26, 100, "JX/qr or GW/qrz");
  head("ChannelNoLabel", x, 44, 70, "Channel No.");
  head("LabProbeLabel", x + kLabColumn - 7, 44, 34, "JX/qr");
  head("FieldProbeLabel", x + kFieldColumn - 12, 44, 44, "GW/qrz");
  head("AuxProbeLabel", x + 355, 44, 120, "Measured AUX probe");

  // The Greek heads are Latin letters in the Symbol font: e, q, s are epsilon, theta, sigma.
  const char* const names[] = {"EpsiLabel", "TetaLabel", "SigmaLabel", "TempLabel"};
  const char* const captions[] = {"e", "q", "s", "T"};
  for (int i = 0; i < 4; ++i) {
    ui::Label* label = head(names[i], x + kValueColumns[i] + 3, 42, 14, captions[i]);
    if (i < 3) label->SetFont(ui::Font{"Symbol", 10, false});
  }
}

void TModule3Layout::BuildChannelRows() {
  struct Row {
    ui::GroupBox** group;
    ui::CheckBox** lab;
    ui::CheckBox** field;
    ui::CheckBox** values[4];  // epsilon, theta, sigma, T
    ui::ComboBox** aux[2];
  };
#define QVUSB_CHANNEL_ROW(n)                                                         \
  Row {                                                                              \
    &GroupBox##n, &LabProbeButton##n, &FieldProbeButton##n,                          \
        {&EpsiCheckBox##n, &TetaCheckBox##n, &SigmaCheckBox##n, &TempCheckBox##n}, { \
      &AUXselect##n##1, &AUXselect##n##2                                             \
    }                                                                                \
  }
  const Row rows[] = {QVUSB_CHANNEL_ROW(1), QVUSB_CHANNEL_ROW(2), QVUSB_CHANNEL_ROW(3), QVUSB_CHANNEL_ROW(4),
                      QVUSB_CHANNEL_ROW(5), QVUSB_CHANNEL_ROW(6), QVUSB_CHANNEL_ROW(7), QVUSB_CHANNEL_ROW(8)};
#undef QVUSB_CHANNEL_ROW
  const char* const valuePrefixes[] = {"EpsiCheckBox", "TetaCheckBox", "SigmaCheckBox", "TempCheckBox"};

  for (int n = 1; n <= 8; ++n) {
    const Row& row = rows[n - 1];
    const std::string digit = std::to_string(n);
    auto* group = Place(new ui::GroupBox(this, "GroupBox" + digit, this), kRowLeft, kRowTop + (n - 1) * kRowPitch,
                        kRowWidth, kRowHeight, digit);
    *row.group = group;

    // The probe type is only shown: the window reads it from the station.
    auto* lab = Place(new ui::CheckBox(this, "LabProbeButton" + digit, group), kLabColumn, 22, 16, 17);
    lab->SetEnabled(false);
    *row.lab = lab;
    auto* field = Place(new ui::CheckBox(this, "FieldProbeButton" + digit, group), kFieldColumn, 22, 16, 17);
    field->SetEnabled(false);
    *row.field = field;

    for (int v = 0; v < 4; ++v) {
      *row.values[v] = Place(new ui::CheckBox(this, valuePrefixes[v] + digit, group), kValueColumns[v], 22, 16, 17);
    }
    for (int slot = 1; slot <= 2; ++slot) {
      auto* aux = Place(new ui::ComboBox(this, "AUXselect" + digit + std::to_string(slot), group),
                        kAuxColumns[slot - 1], 20, kAuxWidth, 21);
      aux->SetText("no probe");
      aux->OnChange = [this](ui::Component* s) { AUXselectChange(s); };
      *row.aux[slot - 1] = aux;
    }
  }
}

void TModule3Layout::BuildCalibrations() {
  GroupBox9 = Place(new ui::GroupBox(this, "GroupBox9", this), kSideLeft, 188, kSideWidth, 104,
                    "Moisture=a0+a1*sqrt(eps)+a2*eps");
  constexpr int kEditLeft[] = {74, 126, 178};
  constexpr int kEditWidth = 46;
  const char* const headNames[] = {"a0Label", "a1Label", "a2Label"};
  const char* const heads[] = {"a0", "a1", "a2"};
  for (int c = 0; c < 3; ++c) {
    Place(new ui::Label(this, headNames[c], GroupBox9), kEditLeft[c] + kEditWidth / 2 - 7, 26, 20, 16, heads[c]);
  }

  ui::CheckBox** const checks[] = {&CalCheckBox1, &CalCheckBox2};
  ui::Edit** const edits[2][3] = {{&a0Edit1, &a1Edit1, &a2Edit1}, {&a0Edit2, &a1Edit2, &a2Edit2}};
  for (int k = 1; k <= 2; ++k) {
    const std::string digit = std::to_string(k);
    const int top = 44 + (k - 1) * 28;
    *checks[k - 1] =
        Place(new ui::CheckBox(this, "CalCheckBox" + digit, GroupBox9), 10, top + 2, 60, 17, "Cal. " + digit);
    for (int c = 0; c < 3; ++c) {
      // Appended piece by piece: GCC 12 gives a false -Wrestrict warning for "a" + std::string.
      std::string name = "a";
      name += std::to_string(c) + "Edit" + digit;
      *edits[k - 1][c] = Place(new ui::Edit(this, name, GroupBox9), kEditLeft[c], top, kEditWidth, 21, "0");
    }
  }
}

}  // namespace forms
