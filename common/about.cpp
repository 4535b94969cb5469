#include "common/about.h"

#include <memory>

#include "ui/application.h"

TAboutBox* AboutBox = nullptr;

void ShowAboutBox(ui::Component* owner) {
  std::unique_ptr<TAboutBox> box(new TAboutBox(owner));
  AboutBox = box.get();
  struct Forget {
    ~Forget() { AboutBox = nullptr; }
  } forget;
  box->ShowModal();
}

bool OpenHelpContents() {
  try {
    ui::App().SetHelpFile("RIZOD.HLP");
    ui::App().HelpCommand(ui::HELP_FINDER, 0);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
