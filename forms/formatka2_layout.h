// Layout of the station window: station and channel choice, calibration and measurement, the
// AUX probes, the probe type of each channel, the way to the data logger and the program log.
#pragma once

#include "ui/form.h"
#include "ui/menu.h"

namespace forms {

class TModule2Layout : public ui::Form {
 public:
  explicit TModule2Layout(ui::Component* owner);

  ui::Label* Label2 = nullptr;
  ui::ComboBox* DeviceSelect = nullptr;

  ui::GroupBox* GroupBox6 = nullptr;  // "Calibration and Measurement"
  ui::GroupBox* GroupBox1 = nullptr;  // "TDR Channel"
  ui::ComboBox* ChannelSelect = nullptr;
  ui::Button* CableCalib = nullptr;
  ui::Button* ProbeCalib = nullptr;
  ui::Button* MeasMoi = nullptr;
  ui::Button* MeasCond = nullptr;
  ui::Button* MeasAllTemp = nullptr;
  ui::GroupBox* GroupBox3 = nullptr;  // "Non-Standard calibration:"
  ui::Label* Label4 = nullptr;
  ui::Edit* eps_low = nullptr;
  ui::Label* Label5 = nullptr;
  ui::Edit* eps_high = nullptr;
  ui::Button* NonStProbCalibClick = nullptr;
  ui::GroupBox* GroupBox4 = nullptr;  // "AUX"
  ui::ComboBox* AUXselect = nullptr;
  ui::Button* AUXstart = nullptr;
  ui::Button* MeasTemp = nullptr;
  ui::Button* MeasMPot = nullptr;

  ui::GroupBox* GroupBox5 = nullptr;  // "Type of probe in a channel"
  ui::Label* Label12 = nullptr;
  ui::Label* Label13 = nullptr;
  ui::RadioButton* LabProbeButton1 = nullptr;
  ui::RadioButton* LabProbeButton2 = nullptr;
  ui::RadioButton* LabProbeButton3 = nullptr;
  ui::RadioButton* LabProbeButton4 = nullptr;
  ui::RadioButton* LabProbeButton5 = nullptr;
  ui::RadioButton* LabProbeButton6 = nullptr;
  ui::RadioButton* LabProbeButton7 = nullptr;
  ui::RadioButton* LabProbeButton8 = nullptr;
  ui::RadioButton* FieldProbeButton1 = nullptr;
  ui::RadioButton* FieldProbeButton2 = nullptr;
  ui::RadioButton* FieldProbeButton3 = nullptr;
  ui::RadioButton* FieldProbeButton4 = nullptr;
  ui::RadioButton* FieldProbeButton5 = nullptr;
  ui::RadioButton* FieldProbeButton6 = nullptr;
  ui::RadioButton* FieldProbeButton7 = nullptr;
  ui::RadioButton* FieldProbeButton8 = nullptr;
  ui::Button* ReadConfig = nullptr;
  ui::Button* SaveConfig = nullptr;

  ui::Button* DataLogger = nullptr;
  ui::Button* Back = nullptr;

  ui::GroupBox* GroupBox2 = nullptr;  // "Program Log"
  ui::Memo* Memo1 = nullptr;

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
  virtual void ChannelSelectChange(ui::Component* Sender) = 0;
  virtual void CableCalibClick(ui::Component* Sender) = 0;
  virtual void ProbeCalibClick(ui::Component* Sender) = 0;
  virtual void MeasMoiClick(ui::Component* Sender) = 0;
  virtual void MeasCondClick(ui::Component* Sender) = 0;
  virtual void MeasTempAllClick(ui::Component* Sender) = 0;
  virtual void NonStProbCalibClickClick(ui::Component* Sender) = 0;
  virtual void AUXselectChange(ui::Component* Sender) = 0;
  virtual void AUXstartClick(ui::Component* Sender) = 0;
  virtual void MeasTempClick(ui::Component* Sender) = 0;
  virtual void MeasMPotClick(ui::Component* Sender) = 0;
  virtual void ReadConfigClick(ui::Component* Sender) = 0;
  virtual void SaveConfigClick(ui::Component* Sender) = 0;
  virtual void DataLoggerClick(ui::Component* Sender) = 0;
  virtual void BackClick(ui::Component* Sender) = 0;
  virtual void Exitprogram1Click(ui::Component* Sender) = 0;
  virtual void Help1Click(ui::Component* Sender) = 0;
  virtual void Help2Click(ui::Component* Sender) = 0;

 private:
  void BuildCalibrationAndMeasurement();
  void BuildProbeTypes();
};

}  // namespace forms
