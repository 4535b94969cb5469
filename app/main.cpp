// Program entry: the Qt backend under the framework, the main window, the message loop.
#include "main/main.h"

#include <QApplication>
#include <exception>

#include "app/support/services.h"
#include "ui/application.h"
#include "ui/qt/qt_backend.h"

int main(int argc, char** argv) {
  QApplication qtApplication(argc, argv);
  ui::qt::QtBackend backend;
  ui::SetBackend(&backend);
  app::InstallPlatformServices();
  try {
    ui::App().Initialize();
    ui::App().SetTitle("QV USB Rererazuzazu");
    Module1 = new TModule1(nullptr);
    ui::App().SetMainForm(Module1);
    Module1->Show();
    ui::App().Run();
    delete Module1;
  } catch (const ui::Exception& e) {
    ui::App().ShowException(e);
  } catch (...) {
    ui::App().ShowException(ui::Exception(""));
  }
  ui::SetBackend(nullptr);
  return 0;
}
