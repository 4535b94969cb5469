// The backend under the component framework: it shows what the components describe and carries
// out modal requests. Headless by default; the program installs the Qt backend.
#pragma once

#include <string>

#include "ui/application.h"
#include "ui/component.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace ui {

class Backend {
 public:
  virtual ~Backend() = default;

  // A property of a component changed (form visibility included).
  virtual void Changed(Component& /*c*/, Property /*what*/) {}
  // A component is being destroyed. Its derived parts are gone already: only its address and
  // name may be used.
  virtual void Destroying(Component& /*c*/) {}

  // Modal requests.
  virtual int MessageBox(const MessageBoxRequest& request) = 0;
  // True when the user chose a file; request.fileName then holds the chosen path.
  virtual bool FileDialog(FileDialogRequest& request) = 0;
  // Runs a modal form until its modal result is set (the form is shown; the backend hides it).
  virtual void RunModal(Form& form) = 0;

  virtual void SetCursor(Cursor /*c*/) {}
  virtual void ProcessMessages() {}
  // Runs the message loop until Terminate.
  virtual void Run() {}
  virtual void Terminate() {}
  // Shows a help text (the file has been found and read).
  virtual void ShowHelp(const std::string& /*title*/, const std::string& /*text*/) {}
  // Shows an exception that escaped every handler.
  virtual void ShowException(const std::string& message);
};

// The backend in use. Never null: a headless backend stands in until another is set.
Backend& CurrentBackend();
// Installs a backend (null: back to the built-in headless one). The caller keeps ownership. The
// calling thread becomes the user-interface thread.
void SetBackend(Backend* backend);

// Whether the calling thread is the user-interface thread (any thread until a backend was set).
// Components belong to that thread: changing or destroying one elsewhere is a programming error,
// which debug builds stop at once.
bool OnUserInterfaceThread();
void ExpectUserInterfaceThread(const Component& c, const char* what);

}  // namespace ui
