#include "forms/formatka2_layout.h"

#include <string>

#include "forms/layout_util.h"

namespace forms {

using layout::GiveHint;
using layout::Place;

namespace {

constexpr int kClientWidth = 865;
constexpr int kWindowHeight = 520;  // with the menu bar
constexpr int kClientHeight = kWindowHeight - ui::kMenuBarHeight;
constexpr int kLeftWidth = 424;

}  // namespace

TModule2Layout::TModule2Layout(ui::Component* owner) : ui::Form(owner, "Module2") {
  layout::FixedWindow(this, "TDR/WOB/qrzu", ui::BorderStyle::Single, kClientWidth, kWindowHeight, true);

  Label2 = Place(new ui::Label(this, "Label2", this), 12, 15, 96, 16, "Selected device:");
  DeviceSelect = Place(new ui::ComboBox(this, "DeviceSelect", this), 112, 11, 160, 21);
  DeviceSelect->OnChange = [this](ui::Component* s) { DeviceSelectChange(s); };

  BuildCalibrationAndMeasurement();
  BuildProbeTypes();

  DataLogger = Place(new ui::Button(this, "DataLogger", this), 8, 464, 208, 28, "Start Data Logger");
  DataLogger->OnClick = [this](ui::Component* s) { DataLoggerClick(s); };
  Back = Place(new ui::Button(this, "Back", this), 224, 464, 208, 28, "Back to Main Window");
  Back->OnClick = [this](ui::Component* s) { BackClick(s); };

  GroupBox2 = Place(new ui::GroupBox(this, "GroupBox2", this), kLeftWidth + 16, 8, kClientWidth - kLeftWidth - 24,
                    kClientHeight - 16, "Program Log");
  Memo1 = layout::AddLogMemo(this, GroupBox2, 10, 24, GroupBox2->Width() - 20, GroupBox2->Height() - 34);
  GiveHint(Memo1, "Pogram Log - information about program actions");

  layout::BuildFileAndHelpMenu(
      this, [this](ui::Component* s) { Exitprogram1Click(s); }, [this](ui::Component* s) { Help1Click(s); },
      [this](ui::Component* s) { Help2Click(s); });
  OnCreate = [this](ui::Component* s) { FormCreate(s); };
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
}

void TModule2Layout::BuildCalibrationAndMeasurement() {
  GroupBox6 = Place(new ui::GroupBox(this, "GroupBox6", this), 8, 38, kLeftWidth, 280, "Calibration and Measurement");

  // Three columns of equal buttons; the captions wrap (the window sets the multi-line style).
  GroupBox1 = Place(new ui::GroupBox(this, "GroupBox1", GroupBox6), 10, 24, 404, 120, "TDR Channel");
  ChannelSelect = layout::AddChannelSelect(this, GroupBox1, 12, 34, 120, 21);
  ChannelSelect->OnChange = [this](ui::Component* s) { ChannelSelectChange(s); };
  CableCalib = Place(new ui::Button(this, "CableCalib", GroupBox1), 142, 26, 120, 38, "Probe Length Calibration");
  GiveHint(CableCalib, "Perform probe length calibration");
  CableCalib->OnClick = [this](ui::Component* s) { CableCalibClick(s); };
  ProbeCalib = Place(new ui::Button(this, "ProbeCalib", GroupBox1), 272, 26, 120, 38, "Standard Full Calibration");
  GiveHint(ProbeCalib, "Perform full probe calibration");
  ProbeCalib->OnClick = [this](ui::Component* s) { ProbeCalibClick(s); };
  MeasMoi = Place(new ui::Button(this, "MeasMoi", GroupBox1), 12, 72, 120, 38, "Measure Moisture");
  MeasMoi->OnClick = [this](ui::Component* s) { MeasMoiClick(s); };
  MeasCond = Place(new ui::Button(this, "MeasCond", GroupBox1), 142, 72, 120, 38, "Measure Conductivity");
  MeasCond->OnClick = [this](ui::Component* s) { MeasCondClick(s); };
  MeasAllTemp = Place(new ui::Button(this, "MeasAllTemp", GroupBox1), 272, 72, 120, 38, "Measure Temperature");
  MeasAllTemp->OnClick = [this](ui::Component* s) { MeasTempAllClick(s); };

  GroupBox3 = Place(new ui::GroupBox(this, "GroupBox3", GroupBox6), 10, 152, 168, 118, "Non-Standard calibration:");
  Label4 = Place(new ui::Label(this, "Label4", GroupBox3), 12, 32, 62, 16, "eps_low =");
  eps_low = Place(new ui::Edit(this, "eps_low", GroupBox3), 80, 28, 64, 21, "0");
  Label5 = Place(new ui::Label(this, "Label5", GroupBox3), 12, 58, 62, 16, "eps_high =");
  eps_high = Place(new ui::Edit(this, "eps_high", GroupBox3), 80, 54, 64, 21, "0");
  NonStProbCalibClick =
      Place(new ui::Button(this, "NonStProbCalibClick", GroupBox3), 12, 86, 144, 28, "Full calibration");
  NonStProbCalibClick->OnClick = [this](ui::Component* s) { NonStProbCalibClickClick(s); };

  GroupBox4 = Place(new ui::GroupBox(this, "GroupBox4", GroupBox6), 186, 152, 228, 118, "AUX");
  AUXselect = Place(new ui::ComboBox(this, "AUXselect", GroupBox4), 10, 30, 116, 21);
  AUXselect->SetText("AUX probe");
  AUXselect->OnChange = [this](ui::Component* s) { AUXselectChange(s); };
  AUXstart = Place(new ui::Button(this, "AUXstart", GroupBox4), 132, 28, 86, 26, "Search AUX");
  AUXstart->OnClick = [this](ui::Component* s) { AUXstartClick(s); };
  MeasTemp = Place(new ui::Button(this, "MeasTemp", GroupBox4), 10, 62, 100, 48, "Measure Temperature");
  MeasTemp->OnClick = [this](ui::Component* s) { MeasTempClick(s); };
  MeasMPot = Place(new ui::Button(this, "MeasMPot", GroupBox4), 118, 62, 100, 48, "Measure Matric Pressure");
  MeasMPot->OnClick = [this](ui::Component* s) { MeasMPotClick(s); };
}

void TModule2Layout::BuildProbeTypes() {
  GroupBox5 = Place(new ui::GroupBox(this, "GroupBox5", this), 8, 326, kLeftWidth, 132, "Type of probe in a channel");
  // Row captions beside the two rows of radio buttons.
  Label12 = Place(new ui::Label(this, "Label12", GroupBox5), 10, 46, 44, 16, "JX/qr");
  Label13 = Place(new ui::Label(this, "Label13", GroupBox5), 10, 66, 44, 16, "GW/qrz");

  // Each channel's pair shares its own group box, so the pairs exclude only within a channel.
  ui::RadioButton** const lab[] = {&LabProbeButton1, &LabProbeButton2, &LabProbeButton3, &LabProbeButton4,
                                   &LabProbeButton5, &LabProbeButton6, &LabProbeButton7, &LabProbeButton8};
  ui::RadioButton** const field[] = {&FieldProbeButton1, &FieldProbeButton2, &FieldProbeButton3, &FieldProbeButton4,
                                     &FieldProbeButton5, &FieldProbeButton6, &FieldProbeButton7, &FieldProbeButton8};
  for (int n = 1; n <= 8; ++n) {
    const std::string digit = std::to_string(n);
    auto* group = Place(new ui::GroupBox(this, "ChanelProbeGroup" + digit, GroupBox5), 58 + (n - 1) * 45, 24, 42, 62,
                        "CH " + digit);
    *lab[n - 1] = Place(new ui::RadioButton(this, "LabProbeButton" + digit, group), 13, 22, 17, 17);
    *field[n - 1] = Place(new ui::RadioButton(this, "FieldProbeButton" + digit, group), 13, 42, 17, 17);
  }

  ReadConfig = Place(new ui::Button(this, "ReadConfig", GroupBox5), 10, 94, 198, 28, "Read Configuration");
  ReadConfig->OnClick = [this](ui::Component* s) { ReadConfigClick(s); };
  SaveConfig = Place(new ui::Button(this, "SaveConfig", GroupBox5), 216, 94, 198, 28, "Save Configuration");
  SaveConfig->OnClick = [this](ui::Component* s) { SaveConfigClick(s); };
}

}  // namespace forms
