// The data logger window's AUX boxes: each detected probe is offered until one box takes it.
#include "formatka3/formatka3.h"

void TModule3::RefreshAuxLists(bool fromDetected) {
  const protocol::AuxProbeIdMap source = fromDetected ? DetectedProbes : FreeProbes;
  std::vector<std::string> items;
  for (const auto& entry : source) items.push_back(entry.first);  // the map keeps byte order
  items.push_back("no probe");
  for (int n = 1; n <= 8; ++n) {
    for (int slot = 1; slot <= 2; ++slot) {
      ui::ComboBox* box = AuxBox(n, slot);
      const std::string text = box->Text();
      box->Items().Clear();
      box->SetText("");
      box->Items().Assign(items);
      box->SetText(text);
    }
  }
}

void TModule3::AUXselectChange(ui::Component* Sender) {
  auto* box = dynamic_cast<ui::ComboBox*>(Sender);
  if (!box) return;
  const std::string text = box->Text();
  FreeProbes.erase(text);
  const auto taken = AuxAssignments.find(box);
  if (taken != AuxAssignments.end() && !taken->second.empty() && taken->second != text) {
    const std::string& given = taken->second;
    if (!FreeProbes.count(given)) {
      const auto detected = DetectedProbes.find(given);
      FreeProbes[given] = detected == DetectedProbes.end() ? std::string() : detected->second;
    }
    AuxAssignments.erase(taken);
  }
  RefreshAuxLists(false);
  if (text != "no probe" && !FreeProbes.count(text)) box->Items().Add(text);
  box->SetItemIndex(box->Items().IndexOf(text));
  if (IsAuxProbeName(text) && !text.empty()) AuxAssignments[box] = text;
}

void TModule3::ApplyStoredConfig() {
  ApplyConfigToUi();
  for (int n = 1; n <= 8; ++n) {
    for (int slot = 1; slot <= 2; ++slot) {
      ui::ComboBox* box = AuxBox(n, slot);
      if (!IsAuxProbeName(box->Text())) continue;
      FreeProbes.erase(box->Text());
      AuxAssignments[box] = box->Text();
    }
  }
  RefreshAuxLists(false);
}
