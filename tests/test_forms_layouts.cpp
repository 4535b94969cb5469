// The window layouts: every control the window logic reaches by name exists with the right kind,
// each user action reaches the right handler with the right sender, the start states the logic
// relies on, and a geometry that keeps controls inside their parents without overlaps.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "forms/about_layout.h"
#include "forms/dialogq_layout.h"
#include "forms/formatka2_layout.h"
#include "forms/formatka3_layout.h"
#include "forms/formatka4_layout.h"
#include "forms/graph_layout.h"
#include "forms/logo.h"
#include "forms/main_layout.h"
#include "tests/support/headless_test.h"
#include "ui/chart.h"
#include "ui/dialogs.h"
#include "ui/headless.h"
#include "ui/menu.h"

namespace {

using Calls = std::vector<std::string>;

// Handlers record "handler:sender" so that a binding with the wrong handler or sender shows.
#define RECORD(handler) \
  void handler(ui::Component* s) override { calls.push_back(#handler ":" + SenderName(s)); }
#define RECORD_CLOSE \
  void FormClose(ui::Component* s, ui::CloseAction&) override { calls.push_back("FormClose:" + SenderName(s)); }

std::string SenderName(ui::Component* s) { return s ? s->Name() : "null"; }

class MainWindow : public forms::TModule1Layout {
 public:
  MainWindow() : TModule1Layout(nullptr) {}
  Calls calls;

 protected:
  RECORD_CLOSE
  RECORD(FormCreate)
  RECORD(searchClick)
  RECORD(ChooseCOM)
  RECORD(ProbeGroupClick)
  RECORD(ChannelSelectChange)
  RECORD(CableCalibClick)
  RECORD(ProbeCalibClick)
  RECORD(NonStProbCalibClickClick)
  RECORD(MeasMoiClick)
  RECORD(MeasSalClick)
  RECORD(MeasTempClick)
  RECORD(Performcompletemeasurement1Click)
  RECORD(Savemeasurementresults1Click)
  RECORD(ExportmeasurementresultstoMSExcel1Click)
  RECORD(Exitprogram1Click)
  RECORD(LastMeasuredSalinity1Click)
  RECORD(Lastmeasuredprobetemperature1Click)
  RECORD(Lastmeasuredmoisture1Click)
  RECORD(Time1Click)
  RECORD(Date1Click)
  RECORD(Contrast1Click)
  RECORD(Supplyvoltage1Click)
  RECORD(Storeddatapoints1Click)
  RECORD(DataBankReadClick)
  RECORD(DataBankSaveClick)
  RECORD(Help1Click)
  RECORD(Help2Click)
};

class StationWindow : public forms::TModule2Layout {
 public:
  StationWindow() : TModule2Layout(nullptr) {}
  Calls calls;

 protected:
  RECORD_CLOSE
  RECORD(FormCreate)
  RECORD(DeviceSelectChange)
  RECORD(ChannelSelectChange)
  RECORD(CableCalibClick)
  RECORD(ProbeCalibClick)
  RECORD(MeasMoiClick)
  RECORD(MeasCondClick)
  RECORD(MeasTempAllClick)
  RECORD(NonStProbCalibClickClick)
  RECORD(AUXselectChange)
  RECORD(AUXstartClick)
  RECORD(MeasTempClick)
  RECORD(MeasMPotClick)
  RECORD(ReadConfigClick)
  RECORD(SaveConfigClick)
  RECORD(DataLoggerClick)
  RECORD(BackClick)
  RECORD(Exitprogram1Click)
  RECORD(Help1Click)
  RECORD(Help2Click)
};

class LoggerWindow : public forms::TModule3Layout {
 public:
  LoggerWindow() : TModule3Layout(nullptr) {}
  Calls calls;

 protected:
  RECORD_CLOSE
  RECORD(FormCreate)
  RECORD(DeviceSelectChange)
  RECORD(DeviceSelectDropDown)
  RECORD(StartClick)
  RECORD(StopClick)
  RECORD(AUXselectChange)
  RECORD(ReadConfigClick)
  RECORD(SaveConfigClick)
  RECORD(Exitprogram1Click)
  RECORD(Help1Click)
  RECORD(Help2Click)
};

class ModemWindow : public forms::TModule4Layout {
 public:
  ModemWindow() : TModule4Layout(nullptr) {}
  Calls calls;

 protected:
  RECORD_CLOSE
  RECORD(FormCreate)
  RECORD(SetButtonClick)
  RECORD(S4ButtonClick)
  RECORD(S0ButtonClick)
  RECORD(S2ButtonClick)
  RECORD(S1ButtonClick)
  RECORD(Exitprogram1Click)
  RECORD(About1Click)
  RECORD(Help2Click)
};

class TemperatureDialog : public forms::TSetPropDialogLayout {
 public:
  TemperatureDialog() : TSetPropDialogLayout(nullptr) {}
  Calls calls;

 protected:
  RECORD(OKbuttonClick)
};

#undef RECORD
#undef RECORD_CLOSE

// --- Helpers -----------------------------------------------------------------------------------

// Every name is found on the form as a component of kind T.
template <typename T>
void ExpectAll(const ui::Form& form, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    ui::Component* c = form.FindComponent(name);
    ASSERT_NE(c, nullptr) << form.Name() << " has no " << name;
    EXPECT_NE(dynamic_cast<T*>(c), nullptr) << form.Name() << "." << name << " is of another kind";
  }
}

// What a person does to a control to fire its event.
void Act(ui::Component* c) {
  if (auto* b = dynamic_cast<ui::Button*>(c)) return b->Click();
  if (auto* m = dynamic_cast<ui::MenuItem*>(c)) return m->Click();
  if (auto* cb = dynamic_cast<ui::ComboBox*>(c)) {
    if (cb->Items().Count() > 0) return cb->UserPick(cb->Items().Count() - 1);
    return cb->UserType("typed");
  }
  if (auto* rg = dynamic_cast<ui::RadioGroup*>(c)) return rg->UserPick(1);
  if (auto* ch = dynamic_cast<ui::CheckBox*>(c)) return ch->UserToggle();
  ADD_FAILURE() << "no user action for " << c->Name();
}

struct Binding {
  std::string control;
  std::string handler;
};

// Each control reaches its handler; then the form's creation and closing reach theirs.
template <typename W>
void ExpectBindings(W& window, const std::vector<Binding>& bindings, const std::string& form) {
  for (const Binding& b : bindings) {
    ui::Component* c = window.FindComponent(b.control);
    ASSERT_NE(c, nullptr) << b.control;
    window.calls.clear();
    Act(c);
    EXPECT_EQ(window.calls, Calls{b.handler + ":" + b.control}) << "acting on " << b.control;
  }
  window.calls.clear();
  window.Created();
  window.UserClose();
  EXPECT_EQ(window.calls, (Calls{"FormCreate:" + form, "FormClose:" + form}));
}

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

// Every control lies inside its parent's area, and siblings do not overlap (shapes are frames
// drawn under other controls; `alternates` names pairs that are never shown together).
void ExpectTidy(const ui::Control& parent, int width, int height,
                const std::vector<std::pair<std::string, std::string>>& alternates = {}) {
  const auto& children = parent.Children();
  for (size_t i = 0; i < children.size(); ++i) {
    const ui::Control* c = children[i];
    const ui::Rect& r = c->Bounds();
    EXPECT_GT(r.width, 0) << c->Name();
    EXPECT_GT(r.height, 0) << c->Name();
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= width && r.top + r.height <= height)
        << c->Name() << " leaves " << parent.Name();
    for (size_t j = i + 1; j < children.size(); ++j) {
      const ui::Control* d = children[j];
      if (dynamic_cast<const ui::Shape*>(c) || dynamic_cast<const ui::Shape*>(d)) continue;
      bool alternate = false;
      for (const auto& [x, y] : alternates) {
        alternate |= (c->Name() == x && d->Name() == y) || (c->Name() == y && d->Name() == x);
      }
      if (!alternate) {
        EXPECT_FALSE(Overlap(r, d->Bounds())) << c->Name() << " / " << d->Name();
      }
    }
    ExpectTidy(*c, r.width, r.height, alternates);
  }
}

void ExpectTidyForm(const ui::Form& form, const std::vector<std::pair<std::string, std::string>>& alternates = {}) {
  ExpectTidy(form, form.ClientWidth(), form.ClientHeight(), alternates);
}

std::string Digit(int n) { return std::to_string(n); }

// --- Main window -------------------------------------------------------------------------------

TEST(FormsMainLayout, ControlsExistWithTheirKinds) {
  MainWindow w;
  ExpectAll<ui::Image>(w, {"BLogo"});
  ExpectAll<ui::GroupBox>(w, {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "GroupBox5"});
  ExpectAll<ui::Label>(w, {"Label1", "Opened_port", "Label3", "DeviceName", "Label2", "Label4", "Label5"});
  ExpectAll<ui::Button>(
      w, {"search", "CableCalib", "ProbeCalib", "NonStProbCalibClick", "MeasMoi", "MeasSal", "MeasTemp", "MeasAll"});
  ExpectAll<ui::Memo>(w, {"Memo1"});
  ExpectAll<ui::RadioGroup>(w, {"ProbeGroup"});
  ExpectAll<ui::ComboBox>(w, {"ChannelSelect"});
  ExpectAll<ui::Edit>(w, {"eps_low", "eps_high"});
  ExpectAll<ui::SaveDialog>(w, {"SaveDialog1"});
  ExpectAll<ui::MainMenu>(w, {"MainMenu1"});
  ExpectAll<ui::MenuItem>(w, {"File1",
                              "Savemeasurementresults1",
                              "ExportmeasurementresultstoMSExcel1",
                              "Exitprogram1",
                              "Calibration1",
                              "Cablelengthcalibration1",
                              "Fullprobecalibration1",
                              "Measurement1",
                              "Measuresalinity1",
                              "Measuremoisture1",
                              "Measureprobetemperature1",
                              "Performcompletemeasuremtne1",
                              "Read1",
                              "LastMeasuredSalinity1",
                              "Lastmeasuredprobetemperature1",
                              "Lastmeasuredmoisture1",
                              "Time1",
                              "Date1",
                              "Contrast1",
                              "Supplyvoltage1",
                              "Memorybanks1",
                              "Storeddatapoints1",
                              "Readf1",
                              "DataBanknr11",
                              "DataBanknr21",
                              "DataBanknr31",
                              "Savatofile1",
                              "Databanknr12",
                              "Databanknr22",
                              "Databanknr32",
                              "Ports1",
                              "Help1",
                              "About1",
                              "Help2"});
  EXPECT_EQ(w.Menu(), w.MainMenu1);

  std::vector<std::string> bar;
  for (ui::MenuItem* item : w.MainMenu1->Items()) bar.push_back(item->Name());
  EXPECT_EQ(bar, (std::vector<std::string>{"File1", "Calibration1", "Measurement1", "Read1", "Memorybanks1", "Ports1",
                                           "Help1"}));
}

TEST(FormsMainLayout, PortAndBankItemsCarryTheirNumbersInTheTag) {
  MainWindow w;
  ASSERT_EQ(w.Ports1->Count(), 16);
  for (int n = 1; n <= 16; ++n) {
    auto* item = ui::FindAs<ui::MenuItem>(w, "COM" + Digit(n) + "1");
    ASSERT_NE(item, nullptr) << n;
    EXPECT_EQ(item->Tag(), n);
    EXPECT_EQ(item->Caption(), "COM" + Digit(n));
    EXPECT_EQ(w.Ports1->Items()[n - 1], item) << "menu order";
  }
  for (int bank = 1; bank <= 3; ++bank) {
    auto* read = ui::FindAs<ui::MenuItem>(w, "DataBanknr" + Digit(bank) + "1");
    auto* save = ui::FindAs<ui::MenuItem>(w, "Databanknr" + Digit(bank) + "2");
    ASSERT_TRUE(read && save) << bank;
    EXPECT_EQ(read->Tag(), bank);
    EXPECT_EQ(save->Tag(), bank);
    EXPECT_EQ(read->ParentItem(), w.Readf1);
    EXPECT_EQ(save->ParentItem(), w.Savatofile1);
  }
}

TEST(FormsMainLayout, StartsWithTheMeterGroupsAndMenusHidden) {
  MainWindow w;
  EXPECT_FALSE(w.GroupBox3->Visible());
  EXPECT_FALSE(w.GroupBox4->Visible());
  EXPECT_TRUE(w.BLogo->Visible());
  EXPECT_FALSE(w.BLogo->Enabled());
  for (ui::MenuItem* hidden : {w.Savemeasurementresults1, w.ExportmeasurementresultstoMSExcel1, w.Calibration1,
                               w.Measurement1, w.Read1, w.Memorybanks1}) {
    EXPECT_FALSE(hidden->Visible()) << hidden->Name();
  }
  for (ui::MenuItem* shown : {w.File1, w.Exitprogram1, w.Ports1, w.COM161, w.Help1, w.Help2}) {
    EXPECT_TRUE(shown->UserReachable()) << shown->Name();
  }
  // The meter's channel commands refuse while the box still shows its prompt.
  EXPECT_EQ(w.ChannelSelect->Text(), "CH number");
  EXPECT_EQ(w.ChannelSelect->ItemIndex(), -1);
  EXPECT_EQ(w.ChannelSelect->Items().Count(), 8);
  EXPECT_EQ(w.ProbeGroup->ItemIndex(), 0);
  EXPECT_TRUE(w.Memo1->ReadOnly());
  EXPECT_TRUE(w.Memo1->Lines().Empty());
}

TEST(FormsMainLayout, EveryControlAndItemReachesItsHandler) {
  MainWindow w;
  EXPECT_TRUE(w.calls.empty()) << "building the layout ran " << w.calls.front();
  w.Show();
  // As after a search that found a meter.
  w.GroupBox3->Show();
  w.GroupBox4->Show();
  for (ui::MenuItem* m : {w.Savemeasurementresults1, w.ExportmeasurementresultstoMSExcel1, w.Calibration1,
                          w.Measurement1, w.Read1, w.Memorybanks1}) {
    m->SetVisible(true);
  }
  std::vector<Binding> bindings = {{"search", "searchClick"},
                                   {"ProbeGroup", "ProbeGroupClick"},
                                   {"ChannelSelect", "ChannelSelectChange"},
                                   {"CableCalib", "CableCalibClick"},
                                   {"ProbeCalib", "ProbeCalibClick"},
                                   {"NonStProbCalibClick", "NonStProbCalibClickClick"},
                                   {"MeasMoi", "MeasMoiClick"},
                                   {"MeasSal", "MeasSalClick"},
                                   {"MeasTemp", "MeasTempClick"},
                                   {"MeasAll", "Performcompletemeasurement1Click"},
                                   {"Savemeasurementresults1", "Savemeasurementresults1Click"},
                                   {"ExportmeasurementresultstoMSExcel1", "ExportmeasurementresultstoMSExcel1Click"},
                                   {"Exitprogram1", "Exitprogram1Click"},
                                   {"Cablelengthcalibration1", "CableCalibClick"},
                                   {"Fullprobecalibration1", "ProbeCalibClick"},
                                   {"Measuresalinity1", "MeasSalClick"},
                                   {"Measuremoisture1", "MeasMoiClick"},
                                   {"Measureprobetemperature1", "MeasTempClick"},
                                   {"Performcompletemeasuremtne1", "Performcompletemeasurement1Click"},
                                   {"LastMeasuredSalinity1", "LastMeasuredSalinity1Click"},
                                   {"Lastmeasuredprobetemperature1", "Lastmeasuredprobetemperature1Click"},
                                   {"Lastmeasuredmoisture1", "Lastmeasuredmoisture1Click"},
                                   {"Time1", "Time1Click"},
                                   {"Date1", "Date1Click"},
                                   {"Contrast1", "Contrast1Click"},
                                   {"Supplyvoltage1", "Supplyvoltage1Click"},
                                   {"Storeddatapoints1", "Storeddatapoints1Click"},
                                   {"About1", "Help1Click"},
                                   {"Help2", "Help2Click"}};
  for (int bank = 1; bank <= 3; ++bank) {
    bindings.push_back({"DataBanknr" + Digit(bank) + "1", "DataBankReadClick"});
    bindings.push_back({"Databanknr" + Digit(bank) + "2", "DataBankSaveClick"});
  }
  for (int n = 1; n <= 16; ++n) bindings.push_back({"COM" + Digit(n) + "1", "ChooseCOM"});
  ExpectBindings(w, bindings, "Module1");
}

TEST(FormsMainLayout, LogoIsEmbeddedAndDecoded) {
  MainWindow w;
  const ui::Picture& logo = w.BLogo->GetPicture();
  ASSERT_FALSE(logo.Empty());
  EXPECT_EQ(logo.width, 200);
  EXPECT_EQ(logo.height, 60);
  EXPECT_EQ(logo.rgb.size(), size_t{200} * 60 * 3);
  EXPECT_EQ(w.BLogo->Width(), logo.width);
  EXPECT_EQ(w.BLogo->Height(), logo.height);
}

// --- Station window ----------------------------------------------------------------------------

TEST(FormsStationLayout, ControlsExistWithTheirKinds) {
  StationWindow w;
  ExpectAll<ui::Label>(w, {"Label2", "Label12", "Label13"});
  ExpectAll<ui::ComboBox>(w, {"DeviceSelect", "ChannelSelect", "AUXselect"});
  ExpectAll<ui::GroupBox>(w, {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "GroupBox5", "GroupBox6"});
  ExpectAll<ui::Button>(w, {"MeasMoi", "MeasCond", "MeasAllTemp", "CableCalib", "ProbeCalib", "NonStProbCalibClick",
                            "AUXstart", "MeasTemp", "MeasMPot", "ReadConfig", "SaveConfig", "DataLogger", "Back"});
  ExpectAll<ui::Edit>(w, {"eps_low", "eps_high"});
  ExpectAll<ui::Memo>(w, {"Memo1"});
  ExpectAll<ui::MainMenu>(w, {"MainMenu1"});
  ExpectAll<ui::MenuItem>(w, {"File1", "Exitprogram1", "Help1", "About1", "Help2"});
  for (int n = 1; n <= 8; ++n) {
    auto* group = ui::FindAs<ui::GroupBox>(w, "ChanelProbeGroup" + Digit(n));
    auto* lab = ui::FindAs<ui::RadioButton>(w, "LabProbeButton" + Digit(n));
    auto* field = ui::FindAs<ui::RadioButton>(w, "FieldProbeButton" + Digit(n));
    ASSERT_TRUE(group && lab && field) << n;
    // A channel's pair shares its own box, so the pairs exclude only within a channel.
    EXPECT_EQ(lab->Parent(), group);
    EXPECT_EQ(field->Parent(), group);
    EXPECT_EQ(group->Parent(), w.GroupBox5);
  }
}

TEST(FormsStationLayout, ChannelsKeepTheirProbeTypesApart) {
  StationWindow w;
  for (int n = 1; n <= 8; ++n) {
    ui::FindAs<ui::RadioButton>(w, "LabProbeButton" + Digit(n))->SetChecked(true);
  }
  w.FieldProbeButton3->SetChecked(true);
  for (int n = 1; n <= 8; ++n) {
    EXPECT_EQ(ui::FindAs<ui::RadioButton>(w, "LabProbeButton" + Digit(n))->Checked(), n != 3) << n;
  }
}

TEST(FormsStationLayout, StartsAllShownAndEnabledAndBindsEveryHandler) {
  StationWindow w;
  EXPECT_TRUE(w.calls.empty());
  for (int i = 0; i < w.ComponentCount(); ++i) {
    if (auto* c = dynamic_cast<ui::Control*>(w.Components(i))) {
      EXPECT_TRUE(c->Visible() && c->Enabled()) << c->Name();
    }
  }
  EXPECT_EQ(w.ChannelSelect->Text(), "CH number");
  EXPECT_EQ(w.AUXselect->Text(), "AUX probe");
  EXPECT_TRUE(w.Memo1->ReadOnly());

  w.Show();
  w.AUXselect->Items().Add("t0A1B2C");
  ExpectBindings(w,
                 {{"DeviceSelect", "DeviceSelectChange"},
                  {"ChannelSelect", "ChannelSelectChange"},
                  {"CableCalib", "CableCalibClick"},
                  {"ProbeCalib", "ProbeCalibClick"},
                  {"MeasMoi", "MeasMoiClick"},
                  {"MeasCond", "MeasCondClick"},
                  {"MeasAllTemp", "MeasTempAllClick"},
                  {"NonStProbCalibClick", "NonStProbCalibClickClick"},
                  {"AUXselect", "AUXselectChange"},
                  {"AUXstart", "AUXstartClick"},
                  {"MeasTemp", "MeasTempClick"},
                  {"MeasMPot", "MeasMPotClick"},
                  {"ReadConfig", "ReadConfigClick"},
                  {"SaveConfig", "SaveConfigClick"},
                  {"DataLogger", "DataLoggerClick"},
                  {"Back", "BackClick"},
                  {"Exitprogram1", "Exitprogram1Click"},
                  {"About1", "Help1Click"},
                  {"Help2", "Help2Click"}},
                 "Module2");
}

// --- Data logger window ------------------------------------------------------------------------

TEST(FormsLoggerLayout, PerChannelControlsAreFoundByName) {
  LoggerWindow w;
  for (int n = 1; n <= 8; ++n) {
    const std::string d = Digit(n);
    auto* row = ui::FindAs<ui::GroupBox>(w, "GroupBox" + d);
    ASSERT_NE(row, nullptr) << n;
    for (const char* prefix :
         {"LabProbeButton", "FieldProbeButton", "EpsiCheckBox", "TetaCheckBox", "SigmaCheckBox", "TempCheckBox"}) {
      auto* box = ui::FindAs<ui::CheckBox>(w, prefix + d);
      ASSERT_NE(box, nullptr) << prefix << n;
      EXPECT_EQ(box->Parent(), row) << prefix << n;
      EXPECT_FALSE(box->Checked()) << prefix << n;
    }
    for (int slot = 1; slot <= 2; ++slot) {
      auto* aux = ui::FindAs<ui::ComboBox>(w, "AUXselect" + d + Digit(slot));
      ASSERT_NE(aux, nullptr) << n << slot;
      EXPECT_EQ(aux->Parent(), row);
      EXPECT_EQ(aux->Text(), "no probe");
      EXPECT_EQ(aux->Items().Count(), 0);
    }
  }
  for (int k = 1; k <= 2; ++k) {
    ASSERT_NE(ui::FindAs<ui::CheckBox>(w, "CalCheckBox" + Digit(k)), nullptr);
    for (const char* prefix : {"a0Edit", "a1Edit", "a2Edit"}) {
      auto* edit = ui::FindAs<ui::Edit>(w, prefix + Digit(k));
      ASSERT_NE(edit, nullptr) << prefix << k;
      EXPECT_EQ(edit->Text(), "0");
      EXPECT_EQ(edit->Parent(), w.GroupBox9);
    }
  }
  auto* period = ui::FindAs<ui::Edit>(w, "Period");
  ASSERT_NE(period, nullptr);
  EXPECT_EQ(period->Text(), "0");
  ExpectAll<ui::ComboBox>(w, {"DeviceSelect"});
  ExpectAll<ui::Button>(w, {"Start", "Stop", "ReadConfig", "SaveConfig"});
  ExpectAll<ui::GroupBox>(w, {"GroupBox9"});
  ExpectAll<ui::OpenDialog>(w, {"OpenDialog1"});
  ExpectAll<ui::SaveDialog>(w, {"SaveDialog1"});
  // The configuration file gets its extension from the dialogs.
  EXPECT_EQ(w.OpenDialog1->DefaultExt(), "txt");
  EXPECT_EQ(w.SaveDialog1->DefaultExt(), "txt");
  EXPECT_EQ(w.OpenDialog1->Filter(), "*.txt");
  EXPECT_EQ(w.SaveDialog1->Filter(), "*.txt");
}

TEST(FormsLoggerLayout, StartsIdleWithTheProbeTypesShownOnly) {
  LoggerWindow w;
  EXPECT_TRUE(w.Start->Enabled());
  EXPECT_FALSE(w.Stop->Enabled());
  EXPECT_EQ(w.DeviceSelect->Text(), "Select device");
  for (int n = 1; n <= 8; ++n) {
    EXPECT_FALSE(ui::FindAs<ui::CheckBox>(w, "LabProbeButton" + Digit(n))->Enabled()) << n;
    EXPECT_FALSE(ui::FindAs<ui::CheckBox>(w, "FieldProbeButton" + Digit(n))->Enabled()) << n;
    EXPECT_TRUE(ui::FindAs<ui::CheckBox>(w, "TempCheckBox" + Digit(n))->Enabled()) << n;
  }
}

TEST(FormsLoggerLayout, EveryControlReachesItsHandler) {
  LoggerWindow w;
  EXPECT_TRUE(w.calls.empty());
  w.Show();
  w.Stop->SetEnabled(true);
  w.DeviceSelect->UserDropDown();
  EXPECT_EQ(w.calls, Calls{"DeviceSelectDropDown:DeviceSelect"});
  std::vector<Binding> bindings = {{"DeviceSelect", "DeviceSelectChange"},
                                   {"Start", "StartClick"},
                                   {"Stop", "StopClick"},
                                   {"ReadConfig", "ReadConfigClick"},
                                   {"SaveConfig", "SaveConfigClick"},
                                   {"Exitprogram1", "Exitprogram1Click"},
                                   {"About1", "Help1Click"},
                                   {"Help2", "Help2Click"}};
  for (int n = 1; n <= 8; ++n) {
    for (int slot = 1; slot <= 2; ++slot) {
      bindings.push_back({"AUXselect" + Digit(n) + Digit(slot), "AUXselectChange"});
    }
  }
  ExpectBindings(w, bindings, "Module3");
}

// --- Modem window ------------------------------------------------------------------------------

TEST(FormsModemLayout, ControlsExistAndEditsKeepTheirLimits) {
  ModemWindow w;
  ExpectAll<ui::Memo>(w, {"Memo1"});
  ExpectAll<ui::GroupBox>(w, {"GroupBox1", "GroupBox2"});
  ExpectAll<ui::Shape>(w, {"Shape1", "Shape2"});
  ExpectAll<ui::Button>(w, {"SetButton", "S4Button", "S0Button", "S2Button", "S1Button"});
  ExpectAll<ui::MaskEdit>(w, {"PinEdit"});
  ExpectAll<ui::Edit>(w, {"DeviceSelect"});
  ExpectAll<ui::Label>(w, {"Label1", "Label2", "Label3", "Label4", "Label5", "NameLabel0", "NameLabel1", "PinLabel",
                           "GPRSLabel0", "GPRSLabel1", "GPRSLabel2", "FTPLabel0", "FTPLabel1", "FTPLabel2",
                           "AddressLabel", "LoginLabel", "PasswdLabel", "TimeSaddrLabel"});
  ExpectAll<ui::MainMenu>(w, {"MainMenu1"});
  ExpectAll<ui::MenuItem>(w, {"File1", "Exitprogram1", "Help1", "About1", "Help2"});

  w.Show();
  const std::string longText(40, 'x');
  for (const char* name :
       {"NameEdit", "GPRSEdit0", "GPRSEdit1", "GPRSEdit2", "FTPEdit0", "FTPEdit1", "FTPEdit2", "TimeSaddrEdit"}) {
    auto* edit = ui::FindAs<ui::Edit>(w, name);
    ASSERT_NE(edit, nullptr) << name;
    EXPECT_EQ(edit->Parent(), w.GroupBox1) << name;
    edit->UserType(longText);
    EXPECT_EQ(edit->Text().size(), 30u) << name;
  }
  w.PinEdit->UserType("123456");
  EXPECT_EQ(w.PinEdit->Text(), "1234");
  EXPECT_EQ(w.PinEdit->EditMask(), "0000;0;#");
  EXPECT_TRUE(w.DeviceSelect->ReadOnly());
  EXPECT_TRUE(w.Memo1->ReadOnly());
}

TEST(FormsModemLayout, StartsWithBlankGprsParametersAndBindsEveryHandler) {
  ModemWindow w;
  // A single blank counts as empty for the settings checks.
  for (ui::Edit* e : {w.GPRSEdit0, w.GPRSEdit1, w.GPRSEdit2}) EXPECT_EQ(e->Text(), " ");
  EXPECT_TRUE(w.calls.empty());
  w.Show();
  ExpectBindings(w,
                 {{"SetButton", "SetButtonClick"},
                  {"S4Button", "S4ButtonClick"},
                  {"S0Button", "S0ButtonClick"},
                  {"S2Button", "S2ButtonClick"},
                  {"S1Button", "S1ButtonClick"},
                  {"Exitprogram1", "Exitprogram1Click"},
                  {"About1", "About1Click"},
                  {"Help2", "Help2Click"}},
                 "Module4");
}

// --- Small windows -----------------------------------------------------------------------------

using FormsModal = testing_support::HeadlessTest<>;

TEST_F(FormsModal, AboutBoxEndsWithOkThroughItsButton) {
  forms::TAboutBoxLayout about(nullptr);
  EXPECT_FALSE(about.Logo->GetPicture().Empty());
  Responder().AnswerForm("AboutBox", [](ui::Form& f) { ui::FindAs<ui::Button>(f, "OKButton")->Click(); });
  EXPECT_EQ(about.ShowModal(), ui::mrOk);
}

TEST_F(FormsModal, TemperatureDialogLeavesClosingToItsHandler) {
  TemperatureDialog dialog;
  EXPECT_EQ(dialog.Edit1->Text(), "00.0");
  const ui::BorderIcons icons = dialog.Icons();
  EXPECT_FALSE(icons.systemMenu || icons.minimize || icons.maximize);
  // OK only calls the handler: the dialog stays open until the handler accepts the text.
  Responder().AnswerForm("SetPropDialog", [&dialog](ui::Form& f) {
    ui::FindAs<ui::Button>(f, "OKbutton")->Click();
    EXPECT_EQ(dialog.ModalResult(), ui::mrNone);
    dialog.SetModalResult(ui::mrOk);
  });
  dialog.ShowModal();
  EXPECT_EQ(dialog.calls, Calls{"OKbuttonClick:OKbutton"});
}

TEST(FormsGraphLayout, ChartHoldsTheTraceAndMarkerSeries) {
  forms::TGraph1Layout graph(nullptr);
  ExpectAll<ui::Chart>(graph, {"Chart1"});
  ExpectAll<ui::ChartSeries>(graph, {"Series1", "Series2"});
  EXPECT_EQ(graph.Series1->SeriesKind(), ui::ChartSeries::Kind::Line);
  EXPECT_EQ(graph.Series2->SeriesKind(), ui::ChartSeries::Kind::Point);
  EXPECT_EQ(graph.Chart1->Series(), (std::vector<ui::ChartSeries*>{graph.Series1, graph.Series2}));
  // The measurement line goes under an empty first title line.
  ASSERT_EQ(graph.Chart1->Title().Count(), 1);
  EXPECT_EQ(graph.Chart1->Title()[0], "");
  EXPECT_EQ(graph.Chart1->Width(), graph.ClientWidth());
  EXPECT_EQ(graph.Chart1->Height(), graph.ClientHeight());
}

// --- Geometry of every window ------------------------------------------------------------------

TEST(FormsGeometry, ControlsStayInsideTheirParentsWithoutOverlaps) {
  {
    MainWindow w;
    // The logo stands where the meter's groups appear once a meter is found.
    ExpectTidyForm(w, {{"BLogo", "GroupBox3"}, {"BLogo", "GroupBox4"}});
  }
  {
    StationWindow w;
    ExpectTidyForm(w);
  }
  {
    LoggerWindow w;
    ExpectTidyForm(w);
  }
  {
    ModemWindow w;
    ExpectTidyForm(w);
  }
  {
    TemperatureDialog d;
    ExpectTidyForm(d);
  }
  {
    forms::TAboutBoxLayout a(nullptr);
    ExpectTidyForm(a);
  }
  {
    forms::TGraph1Layout g(nullptr);
    ExpectTidyForm(g);
  }
}

TEST(FormsGeometry, FixedWindowsCannotBeResized) {
  auto fixed = [](const ui::Form& f) {
    const ui::SizeConstraints& c = f.Constraints();
    EXPECT_TRUE(c.minWidth == c.maxWidth && c.minHeight == c.maxHeight && c.minWidth > 0 && c.minHeight > 0)
        << f.Name();
  };
  MainWindow main;
  StationWindow station;
  LoggerWindow logger;
  ModemWindow modem;
  TemperatureDialog dialog;
  forms::TGraph1Layout graph(nullptr);
  fixed(main);
  fixed(station);
  fixed(logger);
  fixed(modem);
  fixed(dialog);
  fixed(graph);
  EXPECT_EQ(station.Constraints().maxWidth, 865);
  EXPECT_EQ(station.Constraints().maxHeight, 520);
  EXPECT_EQ(graph.Constraints().maxWidth, 700);
  EXPECT_EQ(graph.Constraints().maxHeight, 520);
}

}  // namespace
