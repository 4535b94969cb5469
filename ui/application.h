// The application object, the screen cursor and the framework's exception class.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace ui {

class Form;

// The framework's exception class: what handlers catch around conversions, files and help.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Help commands.
constexpr int HELP_FINDER = 11;

class Application {
 public:
  // Shows a help file. Throws an Exception when the file cannot be found or shown.
  using HelpViewer = std::function<void(const std::string& helpFile, int command, long data)>;

  void Initialize() {}
  const std::string& Title() const { return title_; }
  void SetTitle(std::string t) { title_ = std::move(t); }

  // The form whose close ends the run; the first form given to Run or set here.
  Form* MainForm() const { return mainForm_; }
  void SetMainForm(Form* f) { mainForm_ = f; }

  // Runs the message loop until Terminate or the main form closes.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles pending paint and timer messages, user input included.
  void ProcessMessages();

  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(std::string f) { helpFile_ = std::move(f); }
  // Asks the help viewer for the current help file. Throws an Exception when there is no viewer
  // or the viewer fails.
  bool HelpCommand(int command, long data);
  void SetHelpViewer(HelpViewer v) { helpViewer_ = std::move(v); }

  // Shows an exception that escaped every handler.
  void ShowException(const std::exception& e);

  // Back to the start state (tests).
  void Reset();

 private:
  std::string title_;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  std::string helpFile_;
  HelpViewer helpViewer_;
};

Application& App();

enum class Cursor { Default, HourGlass };

class Screen {
 public:
  ui::Cursor GetCursor() const { return cursor_; }
  void SetCursor(ui::Cursor c);

 private:
  ui::Cursor cursor_ = ui::Cursor::Default;
};

Screen& GetScreen();

// Keeps the screen cursor, shows the hourglass, and puts the kept cursor back on the way out.
class HourGlass {
 public:
  HourGlass() : kept_(GetScreen().GetCursor()) { GetScreen().SetCursor(Cursor::HourGlass); }
  ~HourGlass() { GetScreen().SetCursor(kept_); }
  HourGlass(const HourGlass&) = delete;
  HourGlass& operator=(const HourGlass&) = delete;

 private:
  ui::Cursor kept_;
};

}  // namespace ui
