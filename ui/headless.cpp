#include "ui/headless.h"

#include <cstdlib>
#include <iostream>

namespace ui {

namespace {

const char* TypeName(DialogType type) {
  switch (type) {
    case DialogType::Warning:
      return "warning";
    case DialogType::Error:
      return "error";
    case DialogType::Information:
      return "information";
    case DialogType::Confirmation:
      return "confirmation";
    case DialogType::Custom:
      return "plain";
  }
  return "?";
}

std::string Describe(const ModalRequest& request) {
  switch (request.kind) {
    case ModalRequest::Kind::Message:
      return std::string(TypeName(request.message->type)) + " message box \"" + request.message->text + "\"";
    case ModalRequest::Kind::File:
      return request.file->kind == FileDialogKind::Open ? "open dialog" : "save dialog";
    case ModalRequest::Kind::Form:
      return "modal form " + request.form->Name();
  }
  return "?";
}

// The answer a failed request gets: cancelled.
int FailedResult(const ModalRequest& request) { return request.kind == ModalRequest::Kind::File ? 0 : mrCancel; }

}  // namespace

void ScriptedResponder::AnswerMessage(std::string text, int answer, std::optional<DialogType> type) {
  script_.push_back([this, text = std::move(text), answer, type](ModalRequest& r) {
    const std::string expected =
        (type ? std::string(TypeName(*type)) + " " : std::string()) + "message box \"" + text + "\"";
    if (r.kind != ModalRequest::Kind::Message || r.message->text != text || (type && r.message->type != *type)) {
      Fail("expected the " + expected + ", got the " + Describe(r));
      return FailedResult(r);
    }
    return answer;
  });
}

void ScriptedResponder::AnswerFile(FileDialogKind kind, std::optional<std::string> path) {
  script_.push_back([this, kind, path = std::move(path)](ModalRequest& r) {
    if (r.kind != ModalRequest::Kind::File || r.file->kind != kind) {
      Fail(std::string("expected a ") + (kind == FileDialogKind::Open ? "open" : "save") + " dialog, got the " +
           Describe(r));
      return FailedResult(r);
    }
    if (!path) return 0;
    r.file->fileName = *path;
    return 1;
  });
}

void ScriptedResponder::AnswerForm(std::string formName, std::function<void(Form&)> drive) {
  script_.push_back([this, formName = std::move(formName), drive = std::move(drive)](ModalRequest& r) -> int {
    if (r.kind != ModalRequest::Kind::Form || r.form->Name() != formName) {
      Fail("expected the modal form " + formName + ", got the " + Describe(r));
      return FailedResult(r);
    }
    if (drive) drive(*r.form);
    return mrNone;  // Handle reads the form's own result
  });
}

void ScriptedResponder::Answer(std::function<int(ModalRequest&)> handler) { script_.push_back(std::move(handler)); }

int ScriptedResponder::Handle(ModalRequest& request) {
  if (request.kind == ModalRequest::Kind::Message) {
    shown_.push_back(request.message->text);
    messages_.push_back(*request.message);
  } else if (request.kind == ModalRequest::Kind::Form) {
    shown_.push_back(request.form->Name());
  }
  if (script_.empty()) {
    Fail("nothing answers the " + Describe(request));
    if (request.kind == ModalRequest::Kind::Form && request.form->ModalResult() == mrNone) {
      request.form->SetModalResult(mrCancel);
    }
    return FailedResult(request);
  }
  // Taken off first: answering may raise further modal requests (a box over a modal form).
  std::function<int(ModalRequest&)> handler = std::move(script_.front());
  script_.pop_front();
  if (request.kind != ModalRequest::Kind::Form) {
    return handler ? handler(request) : FailedResult(request);
  }
  // Driving a form may delete it, which ends its run as a cancel.
  ComponentWatch form(*request.form);
  if (handler) handler(request);
  if (!form.Alive()) return mrCancel;
  if (request.form->ModalResult() == mrNone) {
    Fail("modal form " + request.form->Name() + " was left open");
    request.form->SetModalResult(mrCancel);
  }
  return request.form->ModalResult();
}

void ScriptedResponder::Fail(const std::string& message) {
  if (OnFailure) {
    OnFailure(message);
    return;
  }
  std::cerr << "headless ui: " << message << std::endl;
  std::abort();
}

int HeadlessBackend::MessageBox(const MessageBoxRequest& request) {
  MessageBoxRequest copy = request;
  ModalRequest r;
  r.kind = ModalRequest::Kind::Message;
  r.message = &copy;
  return responder_.Handle(r);
}

bool HeadlessBackend::FileDialog(FileDialogRequest& request) {
  ModalRequest r;
  r.kind = ModalRequest::Kind::File;
  r.file = &request;
  return responder_.Handle(r) != 0;
}

void HeadlessBackend::RunModal(Form& form) {
  ModalRequest r;
  r.kind = ModalRequest::Kind::Form;
  r.form = &form;
  responder_.Handle(r);
}

void HeadlessBackend::ShowHelp(const std::string& title, const std::string& /*text*/) { helpShown_.push_back(title); }

}  // namespace ui
