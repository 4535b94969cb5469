// Layout of the main window: device management, the handheld meter's calibration and
// measurement groups, the program log and the main menu with the COM-port list.
#pragma once

#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/menu.h"

namespace forms {

class TModule1Layout : public ui::Form {
 public:
  explicit TModule1Layout(ui::Component* owner);

  ui::Image* BLogo = nullptr;

  ui::GroupBox* GroupBox1 = nullptr;  // "Devices management:"
  ui::Label* Label1 = nullptr;
  ui::Label* Opened_port = nullptr;
  ui::Label* Label3 = nullptr;
  ui::Label* DeviceName = nullptr;
  ui::Button* search = nullptr;

  ui::GroupBox* GroupBox2 = nullptr;  // "Program Log"
  ui::Memo* Memo1 = nullptr;

  ui::GroupBox* GroupBox3 = nullptr;  // "Probe Calibration"
  ui::RadioGroup* ProbeGroup = nullptr;
  ui::Label* Label2 = nullptr;
  ui::ComboBox* ChannelSelect = nullptr;
  ui::Button* CableCalib = nullptr;
  ui::Button* ProbeCalib = nullptr;
  ui::GroupBox* GroupBox5 = nullptr;  // "Non-Standard calibration:"
  ui::Label* Label4 = nullptr;
  ui::Edit* eps_low = nullptr;
  ui::Label* Label5 = nullptr;
  ui::Edit* eps_high = nullptr;
  ui::Button* NonStProbCalibClick = nullptr;

  ui::GroupBox* GroupBox4 = nullptr;  // "Measurement:"
  ui::Button* MeasMoi = nullptr;
  ui::Button* MeasSal = nullptr;
  ui::Button* MeasTemp = nullptr;
  ui::Button* MeasAll = nullptr;

  ui::SaveDialog* SaveDialog1 = nullptr;

  ui::MainMenu* MainMenu1 = nullptr;
  ui::MenuItem* File1 = nullptr;
  ui::MenuItem* Savemeasurementresults1 = nullptr;
  ui::MenuItem* ExportmeasurementresultstoMSExcel1 = nullptr;
  ui::MenuItem* Exitprogram1 = nullptr;
  ui::MenuItem* Calibration1 = nullptr;
  ui::MenuItem* Cablelengthcalibration1 = nullptr;
  ui::MenuItem* Fullprobecalibration1 = nullptr;
  ui::MenuItem* Measurement1 = nullptr;
  ui::MenuItem* Measuresalinity1 = nullptr;
  ui::MenuItem* Measuremoisture1 = nullptr;
  ui::MenuItem* Measureprobetemperature1 = nullptr;
  ui::MenuItem* Performcompletemeasuremtne1 = nullptr;
  ui::MenuItem* Read1 = nullptr;
  ui::MenuItem* LastMeasuredSalinity1 = nullptr;
  ui::MenuItem* Lastmeasuredprobetemperature1 = nullptr;
  ui::MenuItem* Lastmeasuredmoisture1 = nullptr;
  ui::MenuItem* Time1 = nullptr;
  ui::MenuItem* Date1 = nullptr;
  ui::MenuItem* Contrast1 = nullptr;
  ui::MenuItem* Supplyvoltage1 = nullptr;
  ui::MenuItem* Memorybanks1 = nullptr;
  ui::MenuItem* Storeddatapoints1 = nullptr;
  ui::MenuItem* Readf1 = nullptr;
  ui::MenuItem* DataBanknr11 = nullptr;
  ui::MenuItem* DataBanknr21 = nullptr;
  ui::MenuItem* DataBanknr31 = nullptr;
  ui::MenuItem* Savatofile1 = nullptr;
  ui::MenuItem* Databanknr12 = nullptr;
  ui::MenuItem* Databanknr22 = nullptr;
  ui::MenuItem* Databanknr32 = nullptr;
  ui::MenuItem* Ports1 = nullptr;
  ui::MenuItem* COM11 = nullptr;
  ui::MenuItem* COM21 = nullptr;
  ui::MenuItem* COM31 = nullptr;
  ui::MenuItem* COM41 = nullptr;
  ui::MenuItem* COM51 = nullptr;
  ui::MenuItem* COM61 = nullptr;
  ui::MenuItem* COM71 = nullptr;
  ui::MenuItem* COM81 = nullptr;
  ui::MenuItem* COM91 = nullptr;
  ui::MenuItem* COM101 = nullptr;
  ui::MenuItem* COM111 = nullptr;
  ui::MenuItem* COM121 = nullptr;
  ui::MenuItem* COM131 = nullptr;
  ui::MenuItem* COM141 = nullptr;
  ui::MenuItem* COM151 = nullptr;
  ui::MenuItem* COM161 = nullptr;
  ui::MenuItem* Help1 = nullptr;
  ui::MenuItem* About1 = nullptr;
  ui::MenuItem* Help2 = nullptr;

 protected:
  virtual void FormCreate(ui::Component* Sender) = 0;
  virtual void FormClose(ui::Component* Sender, ui::CloseAction& Action) = 0;
  virtual void searchClick(ui::Component* Sender) = 0;
  virtual void ChooseCOM(ui::Component* Sender) = 0;
  virtual void ProbeGroupClick(ui::Component* Sender) = 0;
  virtual void ChannelSelectChange(ui::Component* Sender) = 0;
  virtual void CableCalibClick(ui::Component* Sender) = 0;
  virtual void ProbeCalibClick(ui::Component* Sender) = 0;
  virtual void NonStProbCalibClickClick(ui::Component* Sender) = 0;
  virtual void MeasMoiClick(ui::Component* Sender) = 0;
  virtual void MeasSalClick(ui::Component* Sender) = 0;
  virtual void MeasTempClick(ui::Component* Sender) = 0;
  virtual void Performcompletemeasurement1Click(ui::Component* Sender) = 0;
  virtual void Savemeasurementresults1Click(ui::Component* Sender) = 0;
  virtual void ExportmeasurementresultstoMSExcel1Click(ui::Component* Sender) = 0;
  virtual void Exitprogram1Click(ui::Component* Sender) = 0;
  virtual void LastMeasuredSalinity1Click(ui::Component* Sender) = 0;
  virtual void Lastmeasuredprobetemperature1Click(ui::Component* Sender) = 0;
  virtual void Lastmeasuredmoisture1Click(ui::Component* Sender) = 0;
  virtual void Time1Click(ui::Component* Sender) = 0;
  virtual void Date1Click(ui::Component* Sender) = 0;
  virtual void Contrast1Click(ui::Component* Sender) = 0;
  virtual void Supplyvoltage1Click(ui::Component* Sender) = 0;
  virtual void Storeddatapoints1Click(ui::Component* Sender) = 0;
  virtual void DataBankReadClick(ui::Component* Sender) = 0;
  virtual void DataBankSaveClick(ui::Component* Sender) = 0;
  virtual void Help1Click(ui::Component* Sender) = 0;
  virtual void Help2Click(ui::Component* Sender) = 0;

 private:
  void BuildControls();
  void BuildMenu();
};

}  // namespace forms
