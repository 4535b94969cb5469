#include "app/support/services.h"

#include "platform/help.h"
#include "ui/application.h"
#include "ui/backend.h"

namespace app {

void InstallPlatformServices() {
  ui::App().SetHelpViewer([](const std::string& helpFile, int /*command*/, long /*data*/) {
    try {
      const platform::HelpDocument doc = platform::LoadHelpFile(helpFile);
      ui::CurrentBackend().ShowHelp(doc.title, doc.text);
    } catch (const platform::HelpError& e) {
      throw ui::Exception(e.what());
    }
  });
}

}  // namespace app
