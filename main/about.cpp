#include "main/about.h"

#include "main/main.h"
#include "ui/application.h"

void ShowAboutBox(ui::Component* owner) {
  AboutBox = new TAboutBox(owner);
  AboutBox->ShowModal();
  delete AboutBox;
  AboutBox = nullptr;
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
