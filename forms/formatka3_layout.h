// Layout of the data logger window: per station and channel what the logger measures, the AUX
// probes, two moisture calibrations, the period, the configuration file buttons, Start and Stop.
// The window's logic reaches the per-channel controls by name ("EpsiCheckBox" + n).
#pragma once

#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/menu.h"

namespace forms {

class TModule3Layout : public ui::Form {
 public:
  explicit TModule3Layout(ui::Component* owner);

  ui::ComboBox* DeviceSelect = nullptr;
  ui::Edit* Period = nullptr;
  ui::Button* Start = nullptr;
  ui::Button* Stop = nullptr;
  ui::Button* ReadConfig = nullptr;
  ui::Button* SaveConfig = nullptr;

  // One row per channel n: GroupBox<n> holds the channel's controls.
  ui::GroupBox* GroupBox1 = nullptr;
  ui::GroupBox* GroupBox2 = nullptr;
  ui::GroupBox* GroupBox3 = nullptr;
  ui::GroupBox* GroupBox4 = nullptr;
  ui::GroupBox* GroupBox5 = nullptr;
  ui::GroupBox* GroupBox6 = nullptr;
  ui::GroupBox* GroupBox7 = nullptr;
  ui::GroupBox* GroupBox8 = nullptr;
  ui::CheckBox* LabProbeButton1 = nullptr;
  ui::CheckBox* LabProbeButton2 = nullptr;
  ui::CheckBox* LabProbeButton3 = nullptr;
  ui::CheckBox* LabProbeButton4 = nullptr;
  ui::CheckBox* LabProbeButton5 = nullptr;
  ui::CheckBox* LabProbeButton6 = nullptr;
  ui::CheckBox* LabProbeButton7 = nullptr;
  ui::CheckBox* LabProbeButton8 = nullptr;
  ui::CheckBox* FieldProbeButton1 = nullptr;
  ui::CheckBox* FieldProbeButton2 = nullptr;
  ui::CheckBox* FieldProbeButton3 = nullptr;
  ui::CheckBox* FieldProbeButton4 = nullptr;
  ui::CheckBox* FieldProbeButton5 = nullptr;
  ui::CheckBox* FieldProbeButton6 = nullptr;
  ui::CheckBox* FieldProbeButton7 = nullptr;
  ui::CheckBox* FieldProbeButton8 = nullptr;
  ui::CheckBox* EpsiCheckBox1 = nullptr;
  ui::CheckBox* EpsiCheckBox2 = nullptr;
  ui::CheckBox* EpsiCheckBox3 = nullptr;
  ui::CheckBox* EpsiCheckBox4 = nullptr;
  ui::CheckBox* EpsiCheckBox5 = nullptr;
  ui::CheckBox* EpsiCheckBox6 = nullptr;
  ui::CheckBox* EpsiCheckBox7 = nullptr;
  ui::CheckBox* EpsiCheckBox8 = nullptr;
  ui::CheckBox* TetaCheckBox1 = nullptr;
  ui::CheckBox* TetaCheckBox2 = nullptr;
  ui::CheckBox* TetaCheckBox3 = nullptr;
  ui::CheckBox* TetaCheckBox4 = nullptr;
  ui::CheckBox* TetaCheckBox5 = nullptr;
  ui::CheckBox* TetaCheckBox6 = nullptr;
  ui::CheckBox* TetaCheckBox7 = nullptr;
  ui::CheckBox* TetaCheckBox8 = nullptr;
  ui::CheckBox* SigmaCheckBox1 = nullptr;
  ui::CheckBox* SigmaCheckBox2 = nullptr;
  ui::CheckBox* SigmaCheckBox3 = nullptr;
  ui::CheckBox* SigmaCheckBox4 = nullptr;
  ui::CheckBox* SigmaCheckBox5 = nullptr;
  ui::CheckBox* SigmaCheckBox6 = nullptr;
  ui::CheckBox* SigmaCheckBox7 = nullptr;
  ui::CheckBox* SigmaCheckBox8 = nullptr;
  ui::CheckBox* TempCheckBox1 = nullptr;
  ui::CheckBox* TempCheckBox2 = nullptr;
  ui::CheckBox* TempCheckBox3 = nullptr;
  ui::CheckBox* TempCheckBox4 = nullptr;
  ui::CheckBox* TempCheckBox5 = nullptr;
  ui::CheckBox* TempCheckBox6 = nullptr;
  ui::CheckBox* TempCheckBox7 = nullptr;
  ui::CheckBox* TempCheckBox8 = nullptr;
  ui::ComboBox* AUXselect11 = nullptr;
  ui::ComboBox* AUXselect12 = nullptr;
  ui::ComboBox* AUXselect21 = nullptr;
  ui::ComboBox* AUXselect22 = nullptr;
  ui::ComboBox* AUXselect31 = nullptr;
  ui::ComboBox* AUXselect32 = nullptr;
  ui::ComboBox* AUXselect41 = nullptr;
  ui::ComboBox* AUXselect42 = nullptr;
  ui::ComboBox* AUXselect51 = nullptr;
  ui::ComboBox* AUXselect52 = nullptr;
  ui::ComboBox* AUXselect61 = nullptr;
  ui::ComboBox* AUXselect62 = nullptr;
  ui::ComboBox* AUXselect71 = nullptr;
  ui::ComboBox* AUXselect72 = nullptr;
  ui::ComboBox* AUXselect81 = nullptr;
  ui::ComboBox* AUXselect82 = nullptr;

  ui::GroupBox* GroupBox9 = nullptr;  // the two moisture calibrations
  ui::CheckBox* CalCheckBox1 = nullptr;
  ui::CheckBox* CalCheckBox2 = nullptr;
  ui::Edit* a0Edit1 = nullptr;
  ui::Edit* a1Edit1 = nullptr;
  ui::Edit* a2Edit1 = nullptr;
  ui::Edit* a0Edit2 = nullptr;
  ui::Edit* a1Edit2 = nullptr;
  ui::Edit* a2Edit2 = nullptr;

  ui::OpenDialog* OpenDialog1 = nullptr;
  ui::SaveDialog* SaveDialog1 = nullptr;

  ui::MainMenu* MainMenu1 = nullptr;
  ui::MenuItem* File1 = nullptr;
  ui::MenuItem* Exitprogram1 = nullptr;
  ui::MenuItem* Help1 = nullptr;
  ui::MenuItem* About1 = nullptr;
  ui::MenuItem* Help2 = nullptr;

 protected:
  virtual void FormCreate(ui::Component* Sender) = 0;
  virtual void FormClose(ui::Component* Sender, ui::CloseAction& Action) = 0;
  virtual void DeviceSelectChange(ui::Component* Sender) = 0;
  virtual void DeviceSelectDropDown(ui::Component* Sender) = 0;
  virtual void StartClick(ui::Component* Sender) = 0;
  virtual void StopClick(ui::Component* Sender) = 0;
  virtual void AUXselectChange(ui::Component* Sender) = 0;
  virtual void ReadConfigClick(ui::Component* Sender) = 0;
  virtual void SaveConfigClick(ui::Component* Sender) = 0;
  virtual void Exitprogram1Click(ui::Component* Sender) = 0;
  virtual void Help1Click(ui::Component* Sender) = 0;
  virtual void Help2Click(ui::Component* Sender) = 0;

 private:
  void BuildHeads();
  void BuildChannelRows();
  void BuildCalibrations();
};

}  // namespace forms
