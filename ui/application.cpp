#include "ui/application.h"

#include "ui/backend.h"
#include "ui/form.h"

namespace ui {

void Application::Run() {
  if (mainForm_ && !terminated_) mainForm_->Show();
  CurrentBackend().Run();
}

void Application::Terminate() {
  terminated_ = true;
  CurrentBackend().Terminate();
}

void Application::ProcessMessages() { CurrentBackend().ProcessMessages(); }

bool Application::HelpCommand(int command, long data) {
  if (!helpViewer_) throw Exception("No help viewer");
  try {
    helpViewer_(helpFile_, command, data);
  } catch (const Exception&) {
    throw;
  } catch (const std::exception& e) {
    throw Exception(e.what());
  } catch (...) {
    throw Exception("The help viewer failed");
  }
  return true;
}

void Application::ShowException(const std::exception& e) { CurrentBackend().ShowException(e.what()); }

void Application::Reset() {
  title_.clear();
  mainForm_ = nullptr;
  terminated_ = false;
  helpFile_.clear();
  helpViewer_ = nullptr;
}

Application& App() {
  // Never destroyed: forms that go during static destruction still look at it.
  static Application* app = new Application;
  return *app;
}

void Screen::SetCursor(ui::Cursor c) {
  cursor_ = c;
  CurrentBackend().SetCursor(c);
}

Screen& GetScreen() {
  static Screen screen;
  return screen;
}

}  // namespace ui
