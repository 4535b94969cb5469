// Forms: top-level windows. A window class derives from its layout (which derives from Form),
// finishes its own construction and then calls Created(), which runs OnCreate.
#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

class MainMenu;

// Modal results, as message boxes and modal forms return them.
enum ModalResultValue : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
};

enum class CloseAction { None, Hide, Free, Minimize };
using CloseEvent = std::function<void(Component* sender, CloseAction& action)>;

enum class BorderStyle { Sizeable, Single, Dialog, None };
enum class FormPosition { Designed, ScreenCenter, DesktopCenter };

struct BorderIcons {
  bool systemMenu = true;
  bool minimize = true;
  bool maximize = true;
};

struct SizeConstraints {
  int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;  // 0: no limit
};

class Form : public Control {
 public:
  explicit Form(Component* owner, std::string name = {});
  ~Form() override;

  NotifyEvent OnCreate;
  CloseEvent OnClose;

  MainMenu* Menu() const { return menu_; }
  void SetMenu(MainMenu* m);

  ui::BorderStyle Border() const { return border_; }
  void SetBorderStyle(ui::BorderStyle b) { border_ = b; }
  ui::BorderIcons Icons() const { return icons_; }
  void SetBorderIcons(ui::BorderIcons i) { icons_ = i; }
  FormPosition Position() const { return position_; }
  void SetPosition(FormPosition p) { position_ = p; }
  const SizeConstraints& Constraints() const { return constraints_; }
  void SetConstraints(SizeConstraints c) { constraints_ = c; }
  // Size of the client area (inside the frame, below the menu), which the layout gives.
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientSize(int w, int h);

  // Ends construction: runs OnCreate. Window classes call it last in their constructor.
  void Created();

  // Closes the form: runs OnClose (default action: hide), then acts on the action. Closing the
  // application's main form terminates the application. A modal form ends its modal run.
  void Close();
  // The user closes the window from its frame: Close(), when the form is shown and enabled.
  void UserClose();

  // Shows the form modally through the backend and returns its modal result (mrCancel when a
  // handler deleted the form during the run).
  int ShowModal();
  bool Modal() const { return modal_; }
  int ModalResult() const { return modalResult_; }
  // A non-zero result ends a modal run; the backend hears a change of it on a modal form as
  // Changed(form, Property::Other).
  void SetModalResult(int mr);

 private:
  friend class MainMenu;
  MainMenu* menu_ = nullptr;
  ui::BorderStyle border_ = ui::BorderStyle::Sizeable;
  ui::BorderIcons icons_;
  FormPosition position_ = FormPosition::Designed;
  SizeConstraints constraints_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  bool modal_ = false;
  int modalResult_ = mrNone;
};

}  // namespace ui
