#include "forms/about_layout.h"

#include "forms/layout_util.h"
#include "forms/logo.h"

namespace forms {

using layout::Place;

namespace {

constexpr int kWidth = 340;
constexpr int kHeight = 212;

}  // namespace

TAboutBoxLayout::TAboutBoxLayout(ui::Component* owner) : ui::Form(owner, "AboutBox") {
  layout::FixedWindow(this, "About", ui::BorderStyle::Dialog, kWidth, kHeight);
  SetBorderIcons(ui::BorderIcons{true, false, false});

  Logo = Place(new ui::Image(this, "Logo", this), 20, 16, 200, 60);
  Logo->SetPicture(LogoPicture());

  auto* productName = Place(new ui::Label(this, "ProductName", this), 20, 88, 300, 20, "QV USB Rererazuzazu");
  productName->SetFont(ui::Font{"MS Sans Serif", 10, true});
  Place(new ui::Label(this, "Version", this), 20, 112, 300, 16, "Version 1.0");
  auto* comments = Place(new ui::Label(this, "Comments", this), 20, 134, 300, 30,
                         "Operates TDR soil-moisture meters, stations and GPRS modems.");
  comments->SetWordWrap(true);

  OKButton = Place(new ui::Button(this, "OKButton", this), (kWidth - 80) / 2, 174, 80, 28, "OK");
  OKButton->SetModalResult(ui::mrOk);
  OKButton->SetDefault(true);
}

}  // namespace forms
