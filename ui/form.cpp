#include "ui/form.h"

#include "ui/application.h"
#include "ui/backend.h"
#include "ui/menu.h"

namespace ui {

Form::Form(Component* owner, std::string name) : Control(owner, std::move(name), nullptr) {
  InitVisible(false);  // a form appears when it is shown
}

Form::~Form() {
  if (menu_ && menu_->form_ == this) menu_->form_ = nullptr;
  if (App().MainForm() == this) App().SetMainForm(nullptr);
}

void Form::SetMenu(MainMenu* m) {
  if (m == menu_) return;
  if (menu_ && menu_->form_ == this) menu_->form_ = nullptr;
  menu_ = m;
  if (menu_) menu_->form_ = this;
  Changed(Property::Menu);
}

void Form::SetClientSize(int w, int h) {
  clientWidth_ = w;
  clientHeight_ = h;
  Changed(Property::Bounds);
}

void Form::Created() {
  if (!OnCreate) return;
  NotifyEvent call = OnCreate;
  call(this);
}

void Form::Close() {
  CloseAction action = CloseAction::Hide;
  if (OnClose) {
    ComponentWatch self(*this);
    CloseEvent call = OnClose;
    call(this, action);
    if (!self.Alive()) return;  // the handler deleted the form: nothing is left to close
  }
  if (action == CloseAction::None) return;  // the handler refused the close
  if (modal_) {
    // The modal run ends with the result; ShowModal hides the form.
    if (modalResult_ == mrNone) SetModalResult(mrCancel);
    return;
  }
  // Free is not used by our windows; their owners delete them. Minimize has nothing to show here.
  if (action != CloseAction::Minimize) Hide();
  if (App().MainForm() == this) App().Terminate();
}

void Form::UserClose() {
  if (!Showing() || !UserReachable()) return;
  Close();
}

int Form::ShowModal() {
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  // Leaves the form hidden and not modal however the run ends, unless a handler deleted it.
  struct Restore {
    Form& form;
    ComponentWatch watch{form};
    ~Restore() {
      if (!watch.Alive()) return;
      form.Hide();
      form.modal_ = false;
    }
  } restore{*this};
  CurrentBackend().RunModal(*this);
  return restore.watch.Alive() ? modalResult_ : mrCancel;
}

void Form::SetModalResult(int mr) {
  if (mr == modalResult_) return;
  modalResult_ = mr;
  if (modal_) Changed(Property::Other);
}

}  // namespace ui
