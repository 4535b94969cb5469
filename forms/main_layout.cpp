#include "forms/main_layout.h"

#include <string>

#include "forms/layout_util.h"
#include "forms/logo.h"

namespace forms {

using layout::AddItem;
using layout::GiveHint;
using layout::Place;

namespace {

constexpr int kClientWidth = 720;
constexpr int kWindowHeight = 524;  // with the menu bar
constexpr int kClientHeight = kWindowHeight - ui::kMenuBarHeight;
// The device groups and the meter's groups stand in the left column, the log on the right.
constexpr int kLeftWidth = 340;
constexpr int kMeterTop = 134;  // where the meter's groups (or, before a meter, the logo) start
constexpr int kMeterBottom = 496;
// Half of a group's inner width, for two buttons side by side.
constexpr int kHalf = (kLeftWidth - 32) / 2;

}  // namespace

TModule1Layout::TModule1Layout(ui::Component* owner) : ui::Form(owner, "Module1") {
  layout::FixedWindow(this, "QV USB Rererazuzazu", ui::BorderStyle::Single, kClientWidth, kWindowHeight, true);
  BuildControls();
  BuildMenu();
  OnCreate = [this](ui::Component* s) { FormCreate(s); };
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
}

void TModule1Layout::BuildControls() {
  // Shown in the place of the meter's groups until a meter is found.
  BLogo = Place(new ui::Image(this, "BLogo", this), 8 + (kLeftWidth - 200) / 2,
                kMeterTop + (kMeterBottom - kMeterTop - 60) / 2, 200, 60);
  BLogo->SetPicture(LogoPicture());
  BLogo->SetEnabled(false);
  GiveHint(BLogo, "QV USB - soil moisture instruments");

  GroupBox1 = Place(new ui::GroupBox(this, "GroupBox1", this), 8, 8, kLeftWidth, 118, "Devices management:");
  Label1 = Place(new ui::Label(this, "Label1", GroupBox1), 16, 30, 110, 16, "Selected port:");
  Opened_port = Place(new ui::Label(this, "Opened_port", GroupBox1), 130, 30, 194, 16, "none");
  Label3 = Place(new ui::Label(this, "Label3", GroupBox1), 16, 52, 110, 16, "Available devices:");
  DeviceName = Place(new ui::Label(this, "DeviceName", GroupBox1), 130, 52, 194, 16, "none");
  search = Place(new ui::Button(this, "search", GroupBox1), 130, 76, 194, 28, "Search for devices");
  search->OnClick = [this](ui::Component* s) { searchClick(s); };

  GroupBox2 = Place(new ui::GroupBox(this, "GroupBox2", this), kLeftWidth + 16, 8, kClientWidth - kLeftWidth - 24,
                    kClientHeight - 16, "Program Log");
  Memo1 = layout::AddLogMemo(this, GroupBox2, 10, 24, GroupBox2->Width() - 20, GroupBox2->Height() - 34);

  GroupBox3 = Place(new ui::GroupBox(this, "GroupBox3", this), 8, kMeterTop, kLeftWidth, 260, "Probe Calibration");
  GroupBox3->SetVisible(false);
  ProbeGroup = Place(new ui::RadioGroup(this, "ProbeGroup", GroupBox3), 12, 24, kLeftWidth - 24, 62, "Type of probe:");
  ProbeGroup->Items().Assign(std::vector<std::string>{"Field GW/qrz", "Laboratory JX/qr"});
  ProbeGroup->SetItemIndex(0);
  ProbeGroup->OnClick = [this](ui::Component* s) { ProbeGroupClick(s); };
  Label2 = Place(new ui::Label(this, "Label2", GroupBox3), 16, 102, 110, 16, "Probe selection:");
  ChannelSelect = layout::AddChannelSelect(this, GroupBox3, 130, 98, 100, 21);
  ChannelSelect->OnChange = [this](ui::Component* s) { ChannelSelectChange(s); };
  CableCalib = Place(new ui::Button(this, "CableCalib", GroupBox3), 12, 128, kHalf, 28, "Length Calibration");
  GiveHint(CableCalib, "Perform probe length calibration");
  CableCalib->OnClick = [this](ui::Component* s) { CableCalibClick(s); };
  ProbeCalib =
      Place(new ui::Button(this, "ProbeCalib", GroupBox3), 20 + kHalf, 128, kHalf, 28, "Standard Full Calibration");
  GiveHint(ProbeCalib, "Perform full probe calibration");
  ProbeCalib->OnClick = [this](ui::Component* s) { ProbeCalibClick(s); };

  GroupBox5 =
      Place(new ui::GroupBox(this, "GroupBox5", GroupBox3), 12, 166, kLeftWidth - 24, 84, "Non-Standard calibration:");
  Label4 = Place(new ui::Label(this, "Label4", GroupBox5), 12, 30, 62, 16, "eps_low =");
  eps_low = Place(new ui::Edit(this, "eps_low", GroupBox5), 78, 26, 64, 21, "0");
  Label5 = Place(new ui::Label(this, "Label5", GroupBox5), 12, 56, 62, 16, "eps_high =");
  eps_high = Place(new ui::Edit(this, "eps_high", GroupBox5), 78, 52, 64, 21, "0");
  NonStProbCalibClick = Place(new ui::Button(this, "NonStProbCalibClick", GroupBox5), GroupBox5->Width() - 12 - kHalf,
                              35, kHalf, 28, "Full calibration");
  NonStProbCalibClick->OnClick = [this](ui::Component* s) { NonStProbCalibClickClick(s); };

  GroupBox4 = Place(new ui::GroupBox(this, "GroupBox4", this), 8, kMeterBottom - 92, kLeftWidth, 92, "Measurement:");
  GroupBox4->SetVisible(false);
  MeasMoi = Place(new ui::Button(this, "MeasMoi", GroupBox4), 12, 26, kHalf, 26, "Moisture");
  MeasMoi->OnClick = [this](ui::Component* s) { MeasMoiClick(s); };
  MeasSal = Place(new ui::Button(this, "MeasSal", GroupBox4), 20 + kHalf, 26, kHalf, 26, "Salinity");
  MeasSal->OnClick = [this](ui::Component* s) { MeasSalClick(s); };
  MeasTemp = Place(new ui::Button(this, "MeasTemp", GroupBox4), 12, 56, kHalf, 26, "Temperature");
  MeasTemp->OnClick = [this](ui::Component* s) { MeasTempClick(s); };
  MeasAll = Place(new ui::Button(this, "MeasAll", GroupBox4), 20 + kHalf, 56, kHalf, 26, "All");
  MeasAll->OnClick = [this](ui::Component* s) { Performcompletemeasurement1Click(s); };

  SaveDialog1 = new ui::SaveDialog(this, "SaveDialog1");
}

void TModule1Layout::BuildMenu() {
  MainMenu1 = new ui::MainMenu(this, "MainMenu1");
  ui::MainMenu* m = MainMenu1;

  File1 = AddItem(this, m, nullptr, "File1", "File");
  Savemeasurementresults1 = AddItem(this, m, File1, "Savemeasurementresults1", "Save measurement results");
  Savemeasurementresults1->OnClick = [this](ui::Component* s) { Savemeasurementresults1Click(s); };
  ExportmeasurementresultstoMSExcel1 =
      AddItem(this, m, File1, "ExportmeasurementresultstoMSExcel1", "Export last reflectogram to MS Excel");
  ExportmeasurementresultstoMSExcel1->OnClick = [this](ui::Component* s) {
    ExportmeasurementresultstoMSExcel1Click(s);
  };
  Exitprogram1 = AddItem(this, m, File1, "Exitprogram1", "Exit program");
  Exitprogram1->OnClick = [this](ui::Component* s) { Exitprogram1Click(s); };

  Calibration1 = AddItem(this, m, nullptr, "Calibration1", "Calibration");
  Cablelengthcalibration1 = AddItem(this, m, Calibration1, "Cablelengthcalibration1", "Probe length calibration");
  Cablelengthcalibration1->OnClick = [this](ui::Component* s) { CableCalibClick(s); };
  Fullprobecalibration1 = AddItem(this, m, Calibration1, "Fullprobecalibration1", "Full probe calibration");
  Fullprobecalibration1->OnClick = [this](ui::Component* s) { ProbeCalibClick(s); };

  Measurement1 = AddItem(this, m, nullptr, "Measurement1", "Measurement");
  Measuresalinity1 = AddItem(this, m, Measurement1, "Measuresalinity1", "Measure salinity");
  Measuresalinity1->OnClick = [this](ui::Component* s) { MeasSalClick(s); };
  Measuremoisture1 = AddItem(this, m, Measurement1, "Measuremoisture1", "Measure moisture");
  Measuremoisture1->OnClick = [this](ui::Component* s) { MeasMoiClick(s); };
  Measureprobetemperature1 = AddItem(this, m, Measurement1, "Measureprobetemperature1", "Measure probe temperature");
  Measureprobetemperature1->OnClick = [this](ui::Component* s) { MeasTempClick(s); };
  Performcompletemeasuremtne1 =
      AddItem(this, m, Measurement1, "Performcompletemeasuremtne1", "Perform complete measurement");
  Performcompletemeasuremtne1->OnClick = [this](ui::Component* s) { Performcompletemeasurement1Click(s); };

  Read1 = AddItem(this, m, nullptr, "Read1", "Read");
  LastMeasuredSalinity1 = AddItem(this, m, Read1, "LastMeasuredSalinity1", "Last measured salinity");
  LastMeasuredSalinity1->OnClick = [this](ui::Component* s) { LastMeasuredSalinity1Click(s); };
  Lastmeasuredprobetemperature1 =
      AddItem(this, m, Read1, "Lastmeasuredprobetemperature1", "Last measured probe temperature");
  Lastmeasuredprobetemperature1->OnClick = [this](ui::Component* s) { Lastmeasuredprobetemperature1Click(s); };
  Lastmeasuredmoisture1 = AddItem(this, m, Read1, "Lastmeasuredmoisture1", "Last measured moisture");
  Lastmeasuredmoisture1->OnClick = [this](ui::Component* s) { Lastmeasuredmoisture1Click(s); };
  Time1 = AddItem(this, m, Read1, "Time1", "Time");
  Time1->OnClick = [this](ui::Component* s) { Time1Click(s); };
  Date1 = AddItem(this, m, Read1, "Date1", "Date");
  Date1->OnClick = [this](ui::Component* s) { Date1Click(s); };
  Contrast1 = AddItem(this, m, Read1, "Contrast1", "Contrast");
  Contrast1->OnClick = [this](ui::Component* s) { Contrast1Click(s); };
  Supplyvoltage1 = AddItem(this, m, Read1, "Supplyvoltage1", "Supply voltage");
  Supplyvoltage1->OnClick = [this](ui::Component* s) { Supplyvoltage1Click(s); };

  Memorybanks1 = AddItem(this, m, nullptr, "Memorybanks1", "Memory banks");
  Storeddatapoints1 = AddItem(this, m, Memorybanks1, "Storeddatapoints1", "Stored data points");
  Storeddatapoints1->OnClick = [this](ui::Component* s) { Storeddatapoints1Click(s); };
  // The bank number travels in the item's tag.
  Readf1 = AddItem(this, m, Memorybanks1, "Readf1", "Read");
  ui::MenuItem** const readBanks[] = {&DataBanknr11, &DataBanknr21, &DataBanknr31};
  Savatofile1 = AddItem(this, m, Memorybanks1, "Savatofile1", "Sava to file");
  ui::MenuItem** const saveBanks[] = {&Databanknr12, &Databanknr22, &Databanknr32};
  for (int bank = 1; bank <= 3; ++bank) {
    const std::string caption = "Data bank nr " + std::to_string(bank);
    ui::MenuItem* read = AddItem(this, m, Readf1, "DataBanknr" + std::to_string(bank) + "1", caption);
    read->SetTag(bank);
    read->OnClick = [this](ui::Component* s) { DataBankReadClick(s); };
    *readBanks[bank - 1] = read;
    ui::MenuItem* save = AddItem(this, m, Savatofile1, "Databanknr" + std::to_string(bank) + "2", caption);
    save->SetTag(bank);
    save->OnClick = [this](ui::Component* s) { DataBankSaveClick(s); };
    *saveBanks[bank - 1] = save;
  }

  // The port number travels in the item's tag.
  Ports1 = AddItem(this, m, nullptr, "Ports1", "COM ports");
  ui::MenuItem** const ports[] = {&COM11, &COM21,  &COM31,  &COM41,  &COM51,  &COM61,  &COM71,  &COM81,
                                  &COM91, &COM101, &COM111, &COM121, &COM131, &COM141, &COM151, &COM161};
  for (int n = 1; n <= 16; ++n) {
    const std::string port = "COM" + std::to_string(n);
    ui::MenuItem* item = AddItem(this, m, Ports1, port + "1", port);
    item->SetTag(n);
    item->OnClick = [this](ui::Component* s) { ChooseCOM(s); };
    *ports[n - 1] = item;
  }

  Help1 = AddItem(this, m, nullptr, "Help1", "Help");
  About1 = AddItem(this, m, Help1, "About1", "About");
  About1->OnClick = [this](ui::Component* s) { Help1Click(s); };
  Help2 = AddItem(this, m, Help1, "Help2", "Help");
  Help2->OnClick = [this](ui::Component* s) { Help2Click(s); };

  // The handheld meter's menus appear when the device search finds a meter.
  for (ui::MenuItem* item :
       {Savemeasurementresults1, ExportmeasurementresultstoMSExcel1, Calibration1, Measurement1, Read1, Memorybanks1}) {
    item->SetVisible(false);
  }
  SetMenu(MainMenu1);
}

}  // namespace forms
