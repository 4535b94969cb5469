#include "common/dialogQ.h"

#include <memory>

#include "link/calibration.h"
#include "ui/dialogs.h"

bool TSetPropDialog::ValidTemperature(const std::string& t) { return link::IsTemperatureText(t) && t != "00.0"; }

void TSetPropDialog::OKbuttonClick(ui::Component*) {
  if (ValidTemperature(Edit1->Text())) {
    SetModalResult(ui::mrOk);
    Close();
  } else {
    ui::MessageDlg("The temperature value is incorrect!", ui::DialogType::Error, ui::DialogButtons::Ok);
  }
}

std::string AskWaterTemperature(ui::Component* owner) {
  std::unique_ptr<TSetPropDialog> dialog(new TSetPropDialog(owner));
  dialog->ShowModal();  // its result says nothing: only a valid text closes it through OK
  return dialog->GetWaterTemperature();
}
