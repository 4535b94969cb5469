#include "ui/qt/modal.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/application.h"
#include "ui/qt/conversions.h"
#include "ui/qt/event_loop.h"
#include "ui/qt/widgets.h"

namespace ui::qt {

namespace {

// While a modal box or form waits for the user, the pointer is an arrow even under the
// hourglass of the operation that asked.
class ArrowWhileModal {
 public:
  explicit ArrowWhileModal(bool hourglass) : active_(hourglass) {
    if (active_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~ArrowWhileModal() {
    if (active_) QApplication::restoreOverrideCursor();
  }
  ArrowWhileModal(const ArrowWhileModal&) = delete;
  ArrowWhileModal& operator=(const ArrowWhileModal&) = delete;

 private:
  bool active_;
};

QWidget* DialogParent() {
  QWidget* w = QApplication::activeModalWidget();
  if (!w) w = QApplication::activeWindow();
  return w;
}

QMessageBox::Icon IconOf(DialogType type) {
  switch (type) {
    case DialogType::Warning:
      return QMessageBox::Warning;
    case DialogType::Error:
      return QMessageBox::Critical;
    case DialogType::Information:
      return QMessageBox::Information;
    case DialogType::Confirmation:
      return QMessageBox::Question;
    case DialogType::Custom:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

ModalDialogs::~ModalDialogs() { delete help_.data(); }

int ModalDialogs::MessageBox(const MessageBoxRequest& request) {
  QMessageBox box(DialogParent());
  box.setWindowTitle(ToQt(request.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQt(request.text));
  box.setIcon(IconOf(request.type));
  switch (request.buttons) {
    case DialogButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case DialogButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case DialogButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  {
    ArrowWhileModal arrow(loop_.Hourglass());
    box.exec();
  }
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok:
      return mrOk;
    case QMessageBox::Cancel:
      return mrCancel;
    case QMessageBox::Yes:
      return mrYes;
    case QMessageBox::No:
      return mrNo;
    default:
      return request.buttons == DialogButtons::YesNo ? mrNo : mrCancel;
  }
}

bool ModalDialogs::FileDialog(FileDialogRequest& request) {
  const QString dir = ToQt(request.initialDir);
  const QString name = ToQt(request.fileName);
  QString start = dir;
  if (!name.isEmpty()) {
    start = dir.isEmpty() || QFileInfo(name).isAbsolute() ? name : dir + QLatin1Char('/') + name;
  }
  const QString filter = ToQtNameFilter(request.filter);
  QString chosen;
  {
    ArrowWhileModal arrow(loop_.Hourglass());
    if (request.kind == FileDialogKind::Save) {
      // No overwrite question: the file a window writes is often not the one chosen here (it
      // may add ".txt"), so a question would be about the wrong file.
      chosen = QFileDialog::getSaveFileName(DialogParent(), QStringLiteral("Save As"), start, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    } else {
      chosen = QFileDialog::getOpenFileName(DialogParent(), QStringLiteral("Open"), start, filter);
    }
  }
  if (chosen.isEmpty()) return false;
  request.fileName = FromQt(chosen);
  return true;
}

void ModalDialogs::ShowException(const std::string& message) {
  const std::string& title = ui::App().Title();
  QMessageBox box(QMessageBox::Critical, ToQt(title.empty() ? std::string("Error") : title), ToQt(message),
                  QMessageBox::Ok, DialogParent());
  box.setTextFormat(Qt::PlainText);
  ArrowWhileModal arrow(loop_.Hourglass());
  box.exec();
}

void ModalDialogs::ShowHelp(const std::string& title, const std::string& text) {
  if (!help_) {
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(QStringLiteral("HelpWindow"));
    auto* view = new QPlainTextEdit(window);
    view->setReadOnly(true);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    window->resize(640, 480);
    help_ = window;
    helpText_ = view;
  }
  help_->setWindowTitle(ToQt(title));
  helpText_->setPlainText(ToQt(text));
  help_->show();
  BringToFront(help_);
}

// ---------------------------------------------------------------------------------------------
// Modal forms

bool ModalDialogs::RunModal(Form& form) {
  Run run{&form};
  QEventLoop loop;
  run.loop = &loop;
  runs_.push_back(&run);
  {
    ArrowWhileModal arrow(loop_.Hourglass());
    if (form.ModalResult() == mrNone && form.Visible()) loop.exec();
  }
  runs_.erase(std::find(runs_.begin(), runs_.end(), &run));
  return run.alive;
}

void ModalDialogs::CheckRuns() {
  for (Run* run : runs_) {
    if (run->loop && (!run->alive || run->form->ModalResult() != mrNone || !run->form->Visible())) {
      run->loop->quit();
    }
  }
}

void ModalDialogs::Forget(const Component* key) {
  for (Run* run : runs_) {
    if (run->form == key) {
      run->alive = false;
      if (run->loop) run->loop->quit();
    }
  }
}

}  // namespace ui::qt
