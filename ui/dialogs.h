// Message boxes and file dialogs. All are modal and go through the backend.
#pragma once

#include <string>

#include "ui/component.h"
#include "ui/form.h"

namespace ui {

enum class DialogType { Warning, Error, Information, Confirmation, Custom };
enum class DialogButtons { Ok, OkCancel, YesNo };

struct MessageBoxRequest {
  std::string text;
  DialogType type = DialogType::Custom;
  DialogButtons buttons = DialogButtons::Ok;
  std::string caption;  // window caption: the type's name, or the application title for Custom
};

// A message box of a given type; returns the modal result of the button pressed (mrCancel, or
// mrNo for Yes/No, when the box is closed otherwise).
int MessageDlg(const std::string& text, DialogType type, DialogButtons buttons);
// A plain box with the application's title as caption and an OK button.
void ShowMessage(const std::string& text);

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Save;
  std::string fileName;  // proposed name in; chosen path out
  std::string initialDir;
  std::string filter;      // e.g. "*.txt"
  std::string defaultExt;  // appended to a chosen name without an extension, when set
};

class FileDialog : public Component {
 public:
  FileDialog(Component* owner, std::string name, FileDialogKind kind);
  const std::string& FileName() const { return request_.fileName; }
  void SetFileName(std::string f) { request_.fileName = std::move(f); }
  void SetInitialDir(std::string d) { request_.initialDir = std::move(d); }
  const std::string& Filter() const { return request_.filter; }
  void SetFilter(std::string f) { request_.filter = std::move(f); }
  const std::string& DefaultExt() const { return request_.defaultExt; }
  void SetDefaultExt(std::string e) { request_.defaultExt = std::move(e); }
  FileDialogKind Kind() const { return request_.kind; }
  // Runs the dialog; true when the user chose a file (FileName then holds it).
  bool Execute();

 private:
  FileDialogRequest request_;
};

class SaveDialog : public FileDialog {
 public:
  SaveDialog(Component* owner, std::string name) : FileDialog(owner, std::move(name), FileDialogKind::Save) {}
};

class OpenDialog : public FileDialog {
 public:
  OpenDialog(Component* owner, std::string name) : FileDialog(owner, std::move(name), FileDialogKind::Open) {}
};

}  // namespace ui
