#include "forms/dialogq_layout.h"

#include "forms/layout_util.h"

namespace forms {

using layout::Place;

namespace {

constexpr int kWidth = 288;
constexpr int kHeight = 124;

}  // namespace

TSetPropDialogLayout::TSetPropDialogLayout(ui::Component* owner) : ui::Form(owner, "SetPropDialog") {
  layout::FixedWindow(this, "Probe Full Calibration", ui::BorderStyle::Dialog, kWidth, kHeight);
  // No close box: the dialog ends only through OK with a valid temperature.
  SetBorderIcons(ui::BorderIcons{false, false, false});

  Label1 = Place(new ui::Label(this, "Label1", this), 16, 14, 256, 16, "Please insert the probe into water");
  Label2 = Place(new ui::Label(this, "Label2", this), 16, 32, 256, 16, "and enter the water temperature ");
  Label3 = Place(new ui::Label(this, "Label3", this), 16, 50, 256, 16, "in centigrades in the format ##.#");
  Edit1 = Place(new ui::Edit(this, "Edit1", this), 16, 82, 72, 21, "00.0");
  layout::GiveHint(Edit1, "Water temperature in Centigrates in format ##.#");
  OKbutton = Place(new ui::Button(this, "OKbutton", this), kWidth - 96, 79, 80, 28, "OK");
  OKbutton->SetDefault(true);
  OKbutton->OnClick = [this](ui::Component* s) { OKbuttonClick(s); };
}

}  // namespace forms
