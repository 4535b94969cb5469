#include "ui/dialogs.h"

#include "ui/application.h"
#include "ui/backend.h"

namespace ui {

namespace {

std::string CaptionFor(DialogType type) {
  switch (type) {
    case DialogType::Warning:
      return "Warning";
    case DialogType::Error:
      return "Error";
    case DialogType::Information:
      return "Information";
    case DialogType::Confirmation:
      return "Confirmation";
    case DialogType::Custom:
      break;
  }
  return App().Title();
}

// Whether the last part of a path has an extension (a leading dot names a hidden file).
bool HasExtension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.find_last_of('.');
  return dot != std::string::npos && dot > start;
}

}  // namespace

int MessageDlg(const std::string& text, DialogType type, DialogButtons buttons) {
  MessageBoxRequest request;
  request.text = text;
  request.type = type;
  request.buttons = buttons;
  request.caption = CaptionFor(type);
  return CurrentBackend().MessageBox(request);
}

void ShowMessage(const std::string& text) { MessageDlg(text, DialogType::Custom, DialogButtons::Ok); }

FileDialog::FileDialog(Component* owner, std::string name, FileDialogKind kind) : Component(owner, std::move(name)) {
  request_.kind = kind;
}

bool FileDialog::Execute() {
  FileDialogRequest request = request_;
  // A dialog that reports a choice without a name has chosen nothing.
  if (!CurrentBackend().FileDialog(request) || request.fileName.empty()) return false;
  std::string chosen = std::move(request.fileName);
  std::string ext = request_.defaultExt;
  if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
  if (!ext.empty() && !HasExtension(chosen)) chosen += "." + ext;
  request_.fileName = std::move(chosen);
  return true;
}

}  // namespace ui
