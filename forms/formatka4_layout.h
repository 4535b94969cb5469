// Layout of the modem window: the modem's basic configuration, the test buttons that switch it,
// and the program log.
#pragma once

#include "ui/form.h"
#include "ui/menu.h"

namespace forms {

class TModule4Layout : public ui::Form {
 public:
  explicit TModule4Layout(ui::Component* owner);

  ui::Memo* Memo1 = nullptr;
  ui::GroupBox* GroupBox1 = nullptr;  // "Basic Modem Configuration Data"
  ui::Label* Label2 = nullptr;        // "Program Log", over Memo1
  ui::Label* NameLabel0 = nullptr;
  ui::Label* NameLabel1 = nullptr;
  ui::Label* PinLabel = nullptr;
  ui::Label* GPRSLabel0 = nullptr;
  ui::Label* GPRSLabel1 = nullptr;
  ui::Label* GPRSLabel2 = nullptr;
  ui::Shape* Shape1 = nullptr;  // frames the GPRS parameters
  ui::Label* FTPLabel0 = nullptr;
  ui::Label* FTPLabel1 = nullptr;
  ui::Label* FTPLabel2 = nullptr;
  ui::Label* AddressLabel = nullptr;
  ui::Label* LoginLabel = nullptr;
  ui::Label* PasswdLabel = nullptr;
  ui::Label* TimeSaddrLabel = nullptr;
  ui::Button* SetButton = nullptr;
  ui::Shape* Shape2 = nullptr;  // frames the FTP server settings
  ui::Edit* NameEdit = nullptr;
  ui::Edit* GPRSEdit0 = nullptr;
  ui::Edit* GPRSEdit1 = nullptr;
  ui::Edit* GPRSEdit2 = nullptr;
  ui::Edit* FTPEdit0 = nullptr;
  ui::Edit* FTPEdit1 = nullptr;
  ui::Edit* FTPEdit2 = nullptr;
  ui::Edit* TimeSaddrEdit = nullptr;
  ui::MaskEdit* PinEdit = nullptr;
  ui::MainMenu* MainMenu1 = nullptr;
  ui::MenuItem* File1 = nullptr;
  ui::MenuItem* Exitprogram1 = nullptr;
  ui::MenuItem* Help1 = nullptr;
  ui::MenuItem* About1 = nullptr;
  ui::MenuItem* Help2 = nullptr;
  ui::GroupBox* GroupBox2 = nullptr;  // "Testing"
  ui::Label* Label1 = nullptr;
  ui::Edit* DeviceSelect = nullptr;
  ui::Button* S4Button = nullptr;
  ui::Button* S0Button = nullptr;
  ui::Button* S2Button = nullptr;
  ui::Button* S1Button = nullptr;
  ui::Label* Label3 = nullptr;  // "(1)" to "(3)" beside the GPRS edits
  ui::Label* Label4 = nullptr;
  ui::Label* Label5 = nullptr;

 protected:
  virtual void FormCreate(ui::Component* Sender) = 0;
  virtual void FormClose(ui::Component* Sender, ui::CloseAction& Action) = 0;
  virtual void SetButtonClick(ui::Component* Sender) = 0;
  virtual void S4ButtonClick(ui::Component* Sender) = 0;
  virtual void S0ButtonClick(ui::Component* Sender) = 0;
  virtual void S2ButtonClick(ui::Component* Sender) = 0;
  virtual void S1ButtonClick(ui::Component* Sender) = 0;
  virtual void Exitprogram1Click(ui::Component* Sender) = 0;
  virtual void About1Click(ui::Component* Sender) = 0;
  virtual void Help2Click(ui::Component* Sender) = 0;

 private:
  void BuildConfiguration();
  void BuildTesting();
};

}  // namespace forms
