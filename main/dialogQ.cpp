#include "main/dialogQ.h"

#include <cctype>

#include "ui/dialogs.h"

bool TSetPropDialog::ValidTemperature(const std::string& t) {
  auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  return t.size() >= 4 && digit(t[0]) && digit(t[1]) && t[2] == '.' && digit(t[3]) && t != "00.0";
}

void TSetPropDialog::OKbuttonClick(ui::Component*) {
  if (ValidTemperature(Edit1->Text())) {
    SetModalResult(ui::mrOk);
    Close();
  } else {
    ui::MessageDlg("The temperature value is incorrect!", ui::DialogType::Error, ui::DialogButtons::Ok);
  }
}
