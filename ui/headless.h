// The headless backend: nothing is drawn, and modal requests are answered by a scripted
// responder. A modal request that nothing answers is a failure reported at once (never a hang).
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/backend.h"

namespace ui {

// One modal request as the responder sees it.
struct ModalRequest {
  enum class Kind { Message, File, Form };
  Kind kind = Kind::Message;
  MessageBoxRequest* message = nullptr;  // Kind::Message
  FileDialogRequest* file = nullptr;     // Kind::File
  Form* form = nullptr;                  // Kind::Form
};

// Answers modal requests in the order they were scripted.
class ScriptedResponder {
 public:
  // The next request must be a message box with this text (and, when given, this type);
  // the answer is the modal result returned.
  void AnswerMessage(std::string text, int answer, std::optional<DialogType> type = {});
  // The next request must be a file dialog of this kind; nullopt cancels it, a path chooses it.
  void AnswerFile(FileDialogKind kind, std::optional<std::string> path);
  // The next request must be a modal form with this name; `drive` acts on it as the user would
  // and must end it (a button with a modal result, or closing the form).
  void AnswerForm(std::string formName, std::function<void(Form&)> drive);
  // Any next request, handled by a function that fills in the answer and returns the result (for
  // a modal form, the form's own modal result is the answer).
  void Answer(std::function<int(ModalRequest&)> handler);

  bool AllAnswered() const { return script_.empty(); }
  int Pending() const { return static_cast<int>(script_.size()); }
  void Clear() { script_.clear(); }

  // Every message box text and form name shown, in order.
  const std::vector<std::string>& Shown() const { return shown_; }
  const std::vector<MessageBoxRequest>& Messages() const { return messages_; }

  // Handles one request: returns the result, reporting a failure when nothing (or something
  // else) was scripted for it.
  int Handle(ModalRequest& request);

  // Reports a failure; tests install one that fails the running test. The default prints the
  // message and aborts, so a forgotten answer can never hang a run.
  std::function<void(const std::string& message)> OnFailure;

 private:
  void Fail(const std::string& message);
  std::deque<std::function<int(ModalRequest&)>> script_;
  std::vector<std::string> shown_;
  std::vector<MessageBoxRequest> messages_;
};

class HeadlessBackend : public Backend {
 public:
  ScriptedResponder& Responder() { return responder_; }

  int MessageBox(const MessageBoxRequest& request) override;
  bool FileDialog(FileDialogRequest& request) override;
  void RunModal(Form& form) override;
  void SetCursor(Cursor c) override { cursorChanges_.push_back(c); }
  void ShowHelp(const std::string& title, const std::string& text) override;
  void ShowException(const std::string& message) override { exceptions_.push_back(message); }

  const std::vector<Cursor>& CursorChanges() const { return cursorChanges_; }
  const std::vector<std::string>& HelpShown() const { return helpShown_; }
  const std::vector<std::string>& Exceptions() const { return exceptions_; }

 private:
  ScriptedResponder responder_;
  std::vector<Cursor> cursorChanges_;
  std::vector<std::string> helpShown_;
  std::vector<std::string> exceptions_;
};

}  // namespace ui
