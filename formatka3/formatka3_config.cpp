// The data logger window's station records: from the controls into the map and back, and the
// devices configuration file.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "formatka3/config_file.h"
#include "formatka3/formatka3.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/numbers.h"

std::unique_ptr<DeviceConfig> TModule3::BuildConfigFromUi() {
  auto config = std::make_unique<DeviceConfig>();
  for (int n = 1; n <= 8; ++n) {
    const int i = n - 1;
    config->SetTeta(i, CheckBoxOf("TetaCheckBox", n)->Checked());
    config->SetSigma(i, CheckBoxOf("SigmaCheckBox", n)->Checked());
    config->SetTemp(i, CheckBoxOf("TempCheckBox", n)->Checked());
    config->SetEpsi(i, CheckBoxOf("EpsiCheckBox", n)->Checked());
    const auto idOf = [this](const std::string& name) {
      const auto found = DetectedProbes.find(name);
      return found == DetectedProbes.end() ? std::string() : found->second;
    };
    const std::string name1 = AuxBox(n, 1)->Text();
    config->SetAux1Name(i, name1);
    config->SetAux1Id(i, idOf(name1));
    const std::string name2 = AuxBox(n, 2)->Text();
    config->SetAux2Name(i, name2);
    config->SetAux2Id(i, idOf(name2));
  }
  for (int k = 1; k <= 2; ++k) {
    const int i = k - 1;
    config->SetCal(i, CheckBoxOf("CalCheckBox", k)->Checked());
    config->SetA0(i, ui::StrToFloat(EditOf("a0Edit", k)->Text()));
    config->SetA1(i, ui::StrToFloat(EditOf("a1Edit", k)->Text()));
    config->SetA2(i, ui::StrToFloat(EditOf("a2Edit", k)->Text()));
  }
  config->SetPeriod(ui::StrToFloat(ui::FindAs<ui::Edit>(*this, "Period")->Text()));
  return config;
}

void TModule3::StoreCurrentConfig() {
  const std::string key = DeviceSelect->Text();
  auto config = BuildConfigFromUi();  // a conversion error leaves the stored record alone
  Stations[key] = std::move(config);
}

bool TModule3::StoreShownStation() {
  try {
    StoreCurrentConfig();
    return true;
  } catch (const ui::EConvertError& e) {
    ui::App().ShowException(e);
    return false;
  }
}

void TModule3::ApplyConfigToUi() {
  const auto found = Stations.find(DeviceSelect->Text());
  if (found == Stations.end()) return;
  const DeviceConfig& c = *found->second;
  for (int n = 1; n <= 8; ++n) {
    const int i = n - 1;
    CheckBoxOf("TetaCheckBox", n)->SetChecked(c.GetTeta(i));
    CheckBoxOf("SigmaCheckBox", n)->SetChecked(c.GetSigma(i));
    CheckBoxOf("TempCheckBox", n)->SetChecked(c.GetTemp(i));
    CheckBoxOf("EpsiCheckBox", n)->SetChecked(c.GetEpsi(i));
    AuxBox(n, 1)->SetText(c.GetAux1Name(i));
    AuxBox(n, 2)->SetText(c.GetAux2Name(i));
  }
  for (int k = 1; k <= 2; ++k) {
    const int i = k - 1;
    CheckBoxOf("CalCheckBox", k)->SetChecked(c.GetCal(i));
    EditOf("a0Edit", k)->SetText(ui::FloatToStr(c.GetA0(i)));
    EditOf("a1Edit", k)->SetText(ui::FloatToStr(c.GetA1(i)));
    EditOf("a2Edit", k)->SetText(ui::FloatToStr(c.GetA2(i)));
  }
  ui::FindAs<ui::Edit>(*this, "Period")->SetText(ui::FloatToStr(c.GetPeriod()));
}

namespace {

// Writes beside the target and renames over it, so that a failed save leaves the old file whole.
bool WriteWholeFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".part";
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (out && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
}

}  // namespace

void TModule3::SaveConfigClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!StoreShownStation()) return;
  // A file the reader would refuse is worse than none: say which station cannot be written.
  if (const auto bad = configfile::FirstUnwritable(Stations)) {
    ui::MessageDlg(
        "The configuration of device " + *bad + " cannot be written: a name or value is empty, too long or holds ';'",
        ui::DialogType::Warning, ui::DialogButtons::Ok);
    return;
  }
  if (!SaveDialog1->Execute()) return;
  if (!WriteWholeFile(SaveDialog1->FileName(), configfile::Write(Stations))) {
    ui::ShowMessage("Error while saving devices configuration, try again");
  }
}

void TModule3::ReadConfigClick(ui::Component*) {
  ui::HourGlass hourGlass;
  if (!StoreShownStation()) return;
  if (OpenDialog1->Execute()) {
    const auto text = ReadWholeFile(OpenDialog1->FileName());
    auto read = text ? configfile::Read(*text) : std::nullopt;
    if (!read) {
      ui::ShowMessage(
          "Error while loading devices configuration, file was not closed properly or is corrupt, try again");
    } else {
      const std::string listed = DeviceSelect->Items().Text();
      for (auto& [key, config] : *read) {
        // A station the window does not list is not taken.
        if (Stations.count(key) || listed.find(key) != std::string::npos) Stations[key] = std::move(config);
      }
    }
  }
  ApplyStoredConfig();
}
