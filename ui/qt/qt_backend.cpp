#include "ui/qt/qt_backend.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSocketNotifier>
#include <QTextCursor>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "platform/timing.h"
#include "ui/application.h"
#include "ui/qt/chart_widget.h"
#include "ui/qt/conversions.h"
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

QString DisplayCaption(const Control& c) {
  const QString text = ToQt(c.Caption());
  return IsSymbolFont(c.GetFont()) ? SymbolToGreek(text) : text;
}

bool OnGuiThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

void BringToFront(QWidget* w) {
  // The offscreen platform of the tests has no stacking and says so at every call.
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
  w->raise();
  w->activateWindow();
}

// The limit refuses the user's keys only; a longer text set from code is shown whole.
void SyncMaxLength(const Edit& edit, QLineEdit* line) {
  const int limit = edit.MaxLength();
  const int length = static_cast<int>(ToQt(edit.Text()).size());
  const int qtLimit = limit > 0 ? std::max(limit, length) : 32767;
  if (line->maxLength() != qtLimit) line->setMaxLength(qtLimit);
}

// Sets a line edit's text keeping the cursor where the user left it.
void SetLineText(QLineEdit* edit, const QString& text) {
  if (edit->text() == text) return;
  const int cursor = edit->cursorPosition();
  edit->setText(text);
  edit->setCursorPosition(std::min(cursor, static_cast<int>(edit->text().size())));
}

}  // namespace

template <typename F>
void QtBackend::UserAction(Component* c, const QWidget* w, F&& action) {
  if (!Alive(c, w)) return;
  if (waitDepth_ > 0) {
    Defer(w, [this, c, w, a = std::decay_t<F>(action)]() mutable { UserAction(c, w, a); });
    return;
  }
  RunGuarded(std::forward<F>(action));
  // The handler may have refused what Qt already shows (a toggle, a cut text): show the control.
  if (Alive(c, w)) {
    Entry& e = entries_.at(c);
    if (e.kind != Kind::Form) SyncAll(*static_cast<Control*>(c), e);
  }
  CheckModalRuns();
}

// ---------------------------------------------------------------------------------------------
// Construction

QtBackend::QtBackend() : context_(std::make_unique<QObject>()) {
  // Hiding the last window is not the end of the program: the main form decides that.
  QApplication::setQuitOnLastWindowClosed(false);
  platform::SetWaitHook([this](int fd, short events, int ms) { Wait(fd, events, ms); });
}

QtBackend::~QtBackend() {
  platform::SetWaitHook(nullptr);
  if (&ui::CurrentBackend() == this) ui::SetBackend(nullptr);
  if (overrideCursor_) QApplication::restoreOverrideCursor();
  std::vector<QPointer<QWidget>> windows;
  for (auto& [component, entry] : entries_) {
    if (entry.kind == Kind::Form && entry.widget) windows.push_back(entry.widget);
  }
  entries_.clear();
  forms_.clear();
  actions_.clear();
  for (QPointer<QWidget>& w : windows) delete w.data();
  delete help_.data();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// ---------------------------------------------------------------------------------------------
// Notifications from the framework

void QtBackend::Changed(Component& c, Property what) {
  // Widgets belong to the user-interface thread. A change made on another thread shows only when
  // the control is next brought in step there (the program's worker thread leaves the windows
  // alone).
  if (!OnGuiThread()) return;
  ForgetGoneElsewhere();
  if (auto* item = dynamic_cast<MenuItem*>(&c)) {
    if (item->Menu()) {
      SyncMenu(*item->Menu());
    } else if (QAction* action = ActionOf(*item)) {
      SyncAction(*item, action);
    }
    return;
  }
  if (auto* menu = dynamic_cast<MainMenu*>(&c)) {
    SyncMenu(*menu);
    return;
  }
  auto* control = dynamic_cast<Control*>(&c);
  if (!control) return;
  if (auto* form = dynamic_cast<Form*>(control)) {
    FormChanged(*form, what);
    return;
  }
  auto it = entries_.find(control);
  if (it == entries_.end()) {
    // A control made after its form got its widgets: give it one once its making is done.
    Form* form = control->ParentForm();
    if (form && forms_.count(form)) ScheduleLateRealise();
    return;
  }
  if (it->second.widget) Sync(*control, it->second, what);
}

void QtBackend::Destroying(Component& c) {
  // Only the address is used: the derived parts of `c` are already gone.
  if (!OnGuiThread()) {
    // Widgets go on the user-interface thread only. Until then the address must lead nowhere:
    // neither to the dead component nor to a new one made at the same place.
    {
      const std::lock_guard<std::mutex> lock(goneMutex_);
      goneElsewhere_.push_back(&c);
      anyGoneElsewhere_ = true;
    }
    QMetaObject::invokeMethod(
        context_.get(), [this] { ForgetGoneElsewhere(); }, Qt::QueuedConnection);
    return;
  }
  ForgetGoneElsewhere();
  Forget(&c);
}

void QtBackend::ForgetGoneElsewhere() {
  if (!anyGoneElsewhere_) return;
  std::vector<const Component*> gone;
  {
    const std::lock_guard<std::mutex> lock(goneMutex_);
    gone.swap(goneElsewhere_);
    anyGoneElsewhere_ = false;
  }
  // Callers may be inside Qt's delivery of a signal from one of these widgets: they go later.
  for (const Component* key : gone) Forget(key, true);
}

void QtBackend::Forget(const Component* key, bool disposeLater) {
  actions_.erase(key);
  for (ModalRun* run : modalRuns_) {
    if (run->form == key) {
      run->alive = false;
      if (run->loop) run->loop->quit();
    }
  }
  auto it = entries_.find(key);
  if (it == entries_.end()) return;
  QPointer<QWidget> w = it->second.widget;
  const Kind kind = it->second.kind;
  entries_.erase(it);
  forms_.erase(key);
  if (!w) return;
  if (kind == Kind::Chart) static_cast<ChartWidget*>(w.data())->Detach();
  Dispose(w, disposeLater);
}

QWidget* QtBackend::WidgetOf(const Component& c) const {
  auto it = entries_.find(&c);
  return it == entries_.end() ? nullptr : it->second.widget.data();
}

QAction* QtBackend::ActionOf(const MenuItem& item) const {
  auto it = actions_.find(&item);
  return it == actions_.end() ? nullptr : it->second.data();
}

void QtBackend::Dispose(QWidget* w, bool later) {
  w->hide();
  // Inside a user action the widget may be the one whose signal is still being delivered.
  if (later || dispatchDepth_ > 0) {
    w->deleteLater();
  } else {
    delete w;
  }
}

// ---------------------------------------------------------------------------------------------
// Realisation

FormWidget* QtBackend::Realise(Form& form) {
  auto* fw = new FormWidget();
  fw->setObjectName(ToQt(form.Name()));
  Qt::WindowFlags flags = Qt::Window;
  if (form.Border() == BorderStyle::None) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    const BorderIcons icons = form.Icons();
    if (icons.systemMenu) {
      flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      if (icons.minimize && form.Border() != BorderStyle::Dialog) {
        flags |= Qt::WindowMinimizeButtonHint;
      }
      if (icons.maximize && form.Border() == BorderStyle::Sizeable) {
        flags |= Qt::WindowMaximizeButtonHint;
      }
    }
  }
  fw->setWindowFlags(flags);
  fw->setWindowTitle(DisplayCaption(form));
  fw->setFont(ToQFont(form.GetFont()));
  fw->setEnabled(form.Enabled());

  Entry& entry = entries_[&form];
  entry.widget = fw;
  entry.kind = Kind::Form;
  forms_[&form].form = &form;

  Form* f = &form;
  fw->onClose = [this, f, fw] { UserClosesForm(f, fw); };
  fw->onEnter = [this, f, fw] { PressEnter(f, fw); };

  BuildMenuBar(form, fw);
  RealiseChildren(form, fw->Client());
  ApplyFormSize(form);
  return fw;
}

void QtBackend::RealiseChildren(Control& parent, QWidget* parentWidget) {
  const std::vector<Control*> children = parent.Children();
  for (Control* child : children) {
    auto it = entries_.find(child);
    if (it != entries_.end()) {
      if (it->second.widget) RealiseChildren(*child, it->second.widget);
      continue;
    }
    Kind kind = Kind::Other;
    QWidget* w = CreateWidget(*child, parentWidget, &kind);
    w->setObjectName(ToQt(child->Name()));
    Entry& e = entries_[child];
    e.widget = w;
    e.kind = kind;
    ConnectUserActions(*child, w, kind);
    SyncAll(*child, e);
    RealiseChildren(*child, w);
  }
}

QWidget* QtBackend::CreateWidget(Control& c, QWidget* parent, Kind* kind) {
  if (dynamic_cast<Button*>(&c)) {
    *kind = Kind::Button;
    return new CaptionButton(parent);
  }
  if (dynamic_cast<Edit*>(&c)) {
    *kind = Kind::Edit;
    return new QLineEdit(parent);
  }
  if (dynamic_cast<Memo*>(&c)) {
    *kind = Kind::Memo;
    return new QPlainTextEdit(parent);
  }
  if (dynamic_cast<ComboBox*>(&c)) {
    *kind = Kind::Combo;
    return new ComboWidget(parent);
  }
  if (dynamic_cast<CheckBox*>(&c)) {
    *kind = Kind::Check;
    return new QCheckBox(parent);
  }
  if (dynamic_cast<RadioButton*>(&c)) {
    *kind = Kind::Radio;
    auto* radio = new QRadioButton(parent);
    // The framework unchecks the siblings; Qt's exclusivity would refuse "none checked".
    radio->setAutoExclusive(false);
    return radio;
  }
  if (dynamic_cast<RadioGroup*>(&c)) {
    *kind = Kind::RadioGroup;
    return new RadioGroupWidget(parent);
  }
  if (dynamic_cast<GroupBox*>(&c)) {
    *kind = Kind::Group;
    return new QGroupBox(parent);
  }
  if (dynamic_cast<Label*>(&c)) {
    *kind = Kind::Label;
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
  }
  if (dynamic_cast<Shape*>(&c)) {
    *kind = Kind::Shape;
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    return frame;
  }
  if (dynamic_cast<Image*>(&c)) {
    *kind = Kind::Image;
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
  }
  if (auto* chart = dynamic_cast<Chart*>(&c)) {
    *kind = Kind::Chart;
    return new ChartWidget(chart, parent);
  }
  *kind = Kind::Other;
  return new QWidget(parent);
}

void QtBackend::ConnectUserActions(Control& c, QWidget* w, Kind kind) {
  switch (kind) {
    case Kind::Button: {
      auto* button = static_cast<Button*>(&c);
      QObject::connect(static_cast<QPushButton*>(w), &QPushButton::clicked, w,
                       [this, button, w] { UserAction(button, w, [button] { button->Click(); }); });
      break;
    }
    case Kind::Edit: {
      auto* edit = static_cast<Edit*>(&c);
      QObject::connect(static_cast<QLineEdit*>(w), &QLineEdit::textEdited, w,
                       [this, edit, w](const QString& text) {
                         UserAction(edit, w, [edit, text] { edit->UserType(FromQt(text)); });
                       });
      break;
    }
    case Kind::Combo: {
      auto* combo = static_cast<ComboBox*>(&c);
      auto* box = static_cast<ComboWidget*>(w);
      QObject::connect(box, &QComboBox::activated, w, [this, combo, w](int index) {
        UserAction(combo, w, [combo, index] { combo->UserPick(index); });
      });
      // Only the user's typing: a pick or a text set from code does not edit the line.
      QObject::connect(box->lineEdit(), &QLineEdit::textEdited, w,
                       [this, combo, w](const QString& text) {
                         UserAction(combo, w, [combo, text] { combo->UserType(FromQt(text)); });
                       });
      box->onDropDown = [this, combo, w] {
        UserAction(combo, w, [combo] { combo->UserDropDown(); });
      };
      break;
    }
    case Kind::Check: {
      auto* check = static_cast<CheckBox*>(&c);
      QObject::connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, w, [this, check, w] {
        UserAction(check, w, [check] { check->UserToggle(); });
      });
      break;
    }
    case Kind::Radio: {
      auto* radio = static_cast<RadioButton*>(&c);
      QObject::connect(static_cast<QRadioButton*>(w), &QRadioButton::clicked, w,
                       [this, radio, w] { UserAction(radio, w, [radio] { radio->UserClick(); }); });
      break;
    }
    case Kind::RadioGroup: {
      auto* group = static_cast<RadioGroup*>(&c);
      static_cast<RadioGroupWidget*>(w)->onPick = [this, group, w](int index) {
        UserAction(group, w, [group, index] { group->UserPick(index); });
      };
      break;
    }
    default:
      break;
  }
}

void QtBackend::ScheduleLateRealise() {
  if (lateRealisePending_) return;
  lateRealisePending_ = true;
  QTimer::singleShot(0, context_.get(), [this] {
    lateRealisePending_ = false;
    RealiseLate();
  });
}

void QtBackend::RealiseLate() {
  ForgetGoneElsewhere();
  std::vector<Form*> forms;
  for (auto& [key, record] : forms_) forms.push_back(record.form);
  for (Form* form : forms) {
    auto* fw = static_cast<FormWidget*>(WidgetOf(*form));
    if (fw) RealiseChildren(*form, fw->Client());
  }
}

void QtBackend::ShowForm(Form& form) {
  auto* fw = static_cast<FormWidget*>(WidgetOf(form));
  if (!fw) {
    fw = Realise(form);
  } else {
    RealiseChildren(form, fw->Client());
  }
  const Qt::WindowModality modality = form.Modal() ? Qt::ApplicationModal : Qt::NonModal;
  if (fw->windowModality() != modality) {
    // Qt takes a new modality only while the window is hidden.
    fw->hide();
    fw->setWindowModality(modality);
  }
  if (!fw->placed) {
    fw->placed = true;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (form.Position() == FormPosition::Designed || !screen) {
      fw->move(form.Left(), form.Top());
    } else {
      const QRect area = screen->availableGeometry();
      fw->move(area.center() - QPoint(fw->width() / 2, fw->height() / 2));
    }
  }
  fw->show();
  BringToFront(fw);
}

void QtBackend::ApplyFormSize(Form& form) {
  auto* fw = static_cast<FormWidget*>(WidgetOf(form));
  if (!fw) return;
  const int width = form.ClientWidth() > 0 ? form.ClientWidth() : form.Width();
  const int height = form.ClientHeight() > 0 ? form.ClientHeight() : form.Height();
  const SizeConstraints& k = form.Constraints();
  const bool fixedByConstraints =
      k.minWidth > 0 && k.minWidth == k.maxWidth && k.minHeight > 0 && k.minHeight == k.maxHeight;
  fw->SetClientSize(QSize(std::max(width, 1), std::max(height, 1)),
                    fixedByConstraints || form.Border() != BorderStyle::Sizeable);
}

// ---------------------------------------------------------------------------------------------
// Keeping widgets in step

void QtBackend::FormChanged(Form& form, Property what) {
  auto* fw = static_cast<FormWidget*>(WidgetOf(form));
  switch (what) {
    case Property::Visible:
      if (form.Visible()) {
        ShowForm(form);
      } else if (fw) {
        fw->hide();
      }
      break;
    case Property::Caption:
      if (fw) fw->setWindowTitle(DisplayCaption(form));
      break;
    case Property::Bounds:
      ApplyFormSize(form);
      break;
    case Property::Menu:
      if (fw) BuildMenuBar(form, fw);
      break;
    case Property::Enabled:
      if (fw) fw->setEnabled(form.Enabled());
      break;
    case Property::Font:
      if (fw) fw->setFont(ToQFont(form.GetFont()));
      break;
    default:
      break;
  }
  CheckModalRuns();
}

void QtBackend::SyncAll(Control& c, Entry& e) {
  for (Property p : {Property::Font, Property::Style, Property::Other, Property::Items,
                     Property::ItemIndex, Property::Caption, Property::Checked, Property::ReadOnly,
                     Property::MaxLength, Property::Hint, Property::Picture, Property::Lines,
                     Property::Chart, Property::Bounds, Property::Enabled, Property::Visible}) {
    Sync(c, e, p);
  }
}

void QtBackend::Sync(Control& c, Entry& e, Property what) {
  QWidget* w = e.widget;
  if (!w || e.kind == Kind::Form) return;
  // Setting a widget from the control is no user action: no signal may come back.
  const QSignalBlocker block(w);
  switch (what) {
    case Property::Caption:
      SyncCaption(c, e);
      if (e.kind == Kind::Label) SyncGeometry(c, e);
      break;
    case Property::Visible:
      w->setVisible(c.Visible());
      break;
    case Property::Enabled:
      // A disabled picture would be drawn greyed; it only stops taking clicks.
      if (e.kind != Kind::Image) w->setEnabled(c.Enabled());
      break;
    case Property::Checked:
      if (e.kind == Kind::Check) {
        static_cast<QCheckBox*>(w)->setChecked(static_cast<CheckBox&>(c).Checked());
      } else if (e.kind == Kind::Radio) {
        static_cast<QRadioButton*>(w)->setChecked(static_cast<RadioButton&>(c).Checked());
      }
      break;
    case Property::Items:
    case Property::ItemIndex:
      if (e.kind == Kind::Combo) {
        SyncCombo(static_cast<ComboBox&>(c), w, what == Property::Items);
      } else if (e.kind == Kind::RadioGroup) {
        auto& group = static_cast<RadioGroup&>(c);
        auto* box = static_cast<RadioGroupWidget*>(w);
        if (what == Property::Items) {
          QStringList items;
          for (const std::string& s : group.Items()) items << ToQt(s);
          box->SetItems(items);
        }
        box->SetItemIndex(group.ItemIndex());
      }
      break;
    case Property::Hint:
      w->setToolTip(ToQt(c.Hint()));
      break;
    case Property::ReadOnly:
      if (e.kind == Kind::Edit) {
        static_cast<QLineEdit*>(w)->setReadOnly(static_cast<Edit&>(c).ReadOnly());
      } else if (e.kind == Kind::Memo) {
        static_cast<QPlainTextEdit*>(w)->setReadOnly(static_cast<Memo&>(c).ReadOnly());
      }
      break;
    case Property::MaxLength:
      if (e.kind == Kind::Edit) SyncMaxLength(static_cast<Edit&>(c), static_cast<QLineEdit*>(w));
      break;
    case Property::Style:
      if (e.kind == Kind::Button) {
        static_cast<CaptionButton*>(w)->SetWrap((c.WindowStyle() & BS_MULTILINE) != 0);
      }
      break;
    case Property::Bounds:
      SyncGeometry(c, e);
      break;
    case Property::Font: {
      const QFont font = ToQFont(c.GetFont());
      if (w->font() != font) w->setFont(font);
      SyncCaption(c, e);
      SyncGeometry(c, e);
      break;
    }
    case Property::Picture:
      if (e.kind == Kind::Image) {
        const Picture& picture = static_cast<Image&>(c).GetPicture();
        auto* label = static_cast<QLabel*>(w);
        const size_t needed =
            static_cast<size_t>(std::max(picture.width, 0)) * std::max(picture.height, 0) * 3;
        if (picture.Empty() || picture.rgb.size() < needed) {
          label->clear();
        } else {
          const QImage image(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                             QImage::Format_RGB888);
          label->setPixmap(QPixmap::fromImage(image.copy()));
        }
        label->setScaledContents(static_cast<Image&>(c).Stretch());
      }
      break;
    case Property::Lines:
      if (e.kind == Kind::Memo) SyncLines(static_cast<Memo&>(c), e);
      break;
    case Property::Chart:
      w->update();
      break;
    case Property::Other:
      // Settings without a notification of their own are read here, when the widget is made.
      if (auto* mask = dynamic_cast<MaskEdit*>(&c)) {
        const QString qtMask = ToQtInputMask(mask->MaskPattern(), mask->BlankChar());
        auto* edit = static_cast<QLineEdit*>(w);
        if (edit->inputMask() != qtMask) {
          edit->setInputMask(qtMask);
          SyncCaption(c, e);
        }
      } else if (e.kind == Kind::Memo) {
        auto* memo = static_cast<QPlainTextEdit*>(w);
        const Memo::ScrollBars bars = static_cast<Memo&>(c).Scrolls();
        const bool vertical = bars == Memo::ScrollBars::Vertical || bars == Memo::ScrollBars::Both;
        const bool horizontal =
            bars == Memo::ScrollBars::Horizontal || bars == Memo::ScrollBars::Both;
        memo->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        memo->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
        memo->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
      } else if (e.kind == Kind::Label) {
        static_cast<QLabel*>(w)->setWordWrap(static_cast<Label&>(c).WordWrap());
      }
      break;
    case Property::Menu:
      break;
  }
}

void QtBackend::SyncCaption(Control& c, Entry& e) {
  QWidget* w = e.widget;
  const QString text = DisplayCaption(c);
  switch (e.kind) {
    case Kind::Button:
      static_cast<CaptionButton*>(w)->SetCaption(text);
      break;
    case Kind::Label: {
      auto* label = static_cast<QLabel*>(w);
      if (label->text() != text) label->setText(text);
      break;
    }
    case Kind::Edit:
      SyncMaxLength(static_cast<Edit&>(c), static_cast<QLineEdit*>(w));
      SetLineText(static_cast<QLineEdit*>(w), text);
      break;
    case Kind::Combo:
      SyncCombo(static_cast<ComboBox&>(c), w, false);
      break;
    case Kind::Check:
      static_cast<QCheckBox*>(w)->setText(text);
      break;
    case Kind::Radio:
      static_cast<QRadioButton*>(w)->setText(text);
      break;
    case Kind::Group:
    case Kind::RadioGroup:
      static_cast<QGroupBox*>(w)->setTitle(text);
      break;
    default:
      break;
  }
}

void QtBackend::SyncGeometry(Control& c, Entry& e) {
  QWidget* w = e.widget;
  const Rect& b = c.Bounds();
  QRect r(b.left, b.top, std::max(b.width, 0), std::max(b.height, 0));
  if (e.kind == Kind::Label && !static_cast<Label&>(c).WordWrap()) {
    // A label grows with its text instead of cutting it.
    const QFontMetrics fm(w->font());
    r.setWidth(std::max(r.width(), fm.horizontalAdvance(static_cast<QLabel*>(w)->text()) + 2));
    r.setHeight(std::max(r.height(), fm.height()));
  }
  if (w->geometry() != r) w->setGeometry(r);
}

void QtBackend::SyncLines(Memo& memo, Entry& e) {
  auto* edit = static_cast<QPlainTextEdit*>(e.widget.data());
  const std::vector<std::string>& lines = memo.Lines().Items();
  const bool appended = !e.lines.empty() && lines.size() >= e.lines.size() &&
                        std::equal(e.lines.begin(), e.lines.end(), lines.begin());
  if (appended && lines.size() == e.lines.size()) return;
  if (appended) {
    // A log grows line by line: add the new lines only.
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    for (size_t i = e.lines.size(); i < lines.size(); ++i) {
      cursor.insertBlock();
      cursor.insertText(ToQt(lines[i]));
    }
    cursor.endEditBlock();
  } else {
    QStringList all;
    for (const std::string& line : lines) all << ToQt(line);
    edit->setPlainText(all.join(QLatin1Char('\n')));
  }
  e.lines = lines;
  QScrollBar* bar = edit->verticalScrollBar();
  bar->setValue(bar->maximum());
}

void QtBackend::SyncCombo(ComboBox& combo, QWidget* w, bool items) {
  auto* box = static_cast<ComboWidget*>(w);
  const QSignalBlocker block(box);
  if (items) {
    QStringList list;
    for (const std::string& s : combo.Items()) list << ToQt(s);
    bool same = box->count() == list.size();
    for (int i = 0; same && i < box->count(); ++i) same = box->itemText(i) == list[i];
    if (!same) {
      box->clear();
      box->addItems(list);
    }
  }
  QLineEdit* edit = box->lineEdit();
  const int cursor = edit->cursorPosition();
  const QString before = edit->text();
  const int index = combo.ItemIndex() < box->count() ? combo.ItemIndex() : -1;
  if (box->currentIndex() != index) box->setCurrentIndex(index);
  const QString text = ToQt(combo.Text());
  if (edit->text() != text) edit->setText(text);
  if (edit->text() == before)
    edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
}

// ---------------------------------------------------------------------------------------------
// Menus

std::vector<QtBackend::MenuShape> QtBackend::ShapeOf(const MainMenu* menu) const {
  std::vector<MenuShape> shape;
  if (!menu) return shape;
  std::function<void(MenuItem*)> walk = [&](MenuItem* item) {
    shape.push_back({item, item->Items().size(), item->Caption() == "-"});
    for (MenuItem* child : item->Items()) walk(child);
  };
  for (MenuItem* item : menu->Items()) walk(item);
  return shape;
}

void QtBackend::SyncMenuOf(Form& form) {
  auto* fw = static_cast<FormWidget*>(WidgetOf(form));
  if (!fw) return;
  FormRecord& record = forms_[&form];
  const std::vector<MenuShape> shape = ShapeOf(form.Menu());
  if (shape != record.menuShape || (form.Menu() != nullptr) != (fw->MenuBar() != nullptr)) {
    BuildMenuBar(form, fw);
    return;
  }
  for (const MenuShape& s : shape) SyncAction(*s.item, ActionOf(*s.item));
  fw->Relayout();
}

void QtBackend::SyncMenu(const MainMenu& menu) {
  std::vector<Form*> showing;
  for (auto& [key, record] : forms_) {
    if (record.form->Menu() == &menu) showing.push_back(record.form);
  }
  for (Form* form : showing) SyncMenuOf(*form);
}

void QtBackend::BuildMenuBar(Form& form, FormWidget* fw) {
  FormRecord& record = forms_[&form];
  for (const MenuShape& s : record.menuShape) actions_.erase(s.item);
  record.menuShape = ShapeOf(form.Menu());
  QMenuBar* bar = nullptr;
  if (MainMenu* menu = form.Menu()) {
    bar = new QMenuBar(fw);
    bar->setNativeMenuBar(false);  // in the window, where the layout leaves room for it
    bar->setObjectName(ToQt(menu->Name()));
    for (MenuItem* item : menu->Items()) AddMenuItem(bar, item);
  }
  if (QMenuBar* old = fw->ReplaceMenuBar(bar)) Dispose(old);
}

void QtBackend::AddMenuItem(QWidget* container, MenuItem* item) {
  QAction* action = nullptr;
  if (item->Caption() == "-") {
    action = new QAction(container);
    action->setSeparator(true);
  } else if (!item->Items().empty()) {
    auto* submenu = new QMenu(container);
    submenu->setObjectName(ToQt(item->Name()));
    for (MenuItem* child : item->Items()) AddMenuItem(submenu, child);
    action = submenu->menuAction();
  } else {
    action = new QAction(container);
    QObject::connect(action, &QAction::triggered, action,
                     [this, item, action] { MenuClicked(item, action); });
  }
  action->setObjectName(ToQt(item->Name()));
  container->addAction(action);
  actions_[item] = action;
  SyncAction(*item, action);
}

void QtBackend::SyncAction(const MenuItem& item, QAction* action) {
  if (!action) return;
  const QSignalBlocker block(action);
  if (!action->isSeparator()) action->setText(ToQt(item.Caption()));
  action->setVisible(item.Visible());
  action->setEnabled(item.Enabled());
  action->setCheckable(item.Checked());
  action->setChecked(item.Checked());
}

void QtBackend::MenuClicked(MenuItem* item, const QAction* action) {
  auto alive = [&] {
    ForgetGoneElsewhere();
    auto it = actions_.find(item);
    return it != actions_.end() && it->second == action;
  };
  if (!alive()) return;
  if (waitDepth_ > 0) {
    // The window the menu lies in decides whether a modal box blocks the pick later.
    const QWidget* window = qobject_cast<const QWidget*>(action->parent());
    while (window && !qobject_cast<const FormWidget*>(window)) window = window->parentWidget();
    Defer(window, [this, item, action] { MenuClicked(item, action); });
    return;
  }
  RunGuarded([item] { item->Click(); });
  // Qt may have toggled a check mark the item does not have.
  if (alive() && item->Menu()) SyncMenu(*item->Menu());
  CheckModalRuns();
}

// ---------------------------------------------------------------------------------------------
// User actions

bool QtBackend::Alive(const Component* c, const QWidget* w) {
  ForgetGoneElsewhere();
  auto it = entries_.find(c);
  return w && it != entries_.end() && it->second.widget == w;
}

void QtBackend::RunGuarded(const std::function<void()>& action) {
  ++dispatchDepth_;
  try {
    action();
  } catch (const std::exception& e) {
    ui::App().ShowException(e);
  } catch (...) {
    ShowException("Unexpected error");
  }
  --dispatchDepth_;
  if (!deferred_.empty()) ScheduleDeferred();
}

void QtBackend::PressEnter(Form* form, const QWidget* w) {
  if (!Alive(form, w)) return;
  std::function<Button*(Control&)> find = [&](Control& parent) -> Button* {
    for (Control* child : parent.Children()) {
      auto* button = dynamic_cast<Button*>(child);
      if (button && button->Default() && button->Showing() && button->UserReachable()) {
        return button;
      }
      if (Button* found = find(*child)) return found;
    }
    return nullptr;
  };
  if (Button* button = find(*form)) {
    if (QWidget* bw = WidgetOf(*button)) UserAction(button, bw, [button] { button->Click(); });
  }
}

void QtBackend::UserClosesForm(Form* form, FormWidget* w) {
  // In the middle of an exchange with an instrument the close waits for its end, as a click does.
  UserAction(form, w, [form] { form->UserClose(); });
}

void QtBackend::Defer(const QWidget* target, std::function<void()> action) {
  deferred_.push_back({dispatchDepth_, const_cast<QWidget*>(target), std::move(action)});
}

void QtBackend::ScheduleDeferred() {
  if (deferredScheduled_) return;
  deferredScheduled_ = true;
  QTimer::singleShot(0, context_.get(), [this] {
    deferredScheduled_ = false;
    RunDeferred();
  });
}

void QtBackend::RunDeferred() {
  // Each action waits for the handler that was running when it came (none: for the wait alone).
  std::vector<DeferredAction> due;
  for (auto it = deferred_.begin(); it != deferred_.end();) {
    if (waitDepth_ == 0 && dispatchDepth_ < std::max(it->depth, 1)) {
      due.push_back(std::move(*it));
      it = deferred_.erase(it);
    } else {
      ++it;
    }
  }
  for (DeferredAction& d : due) {
    // A window that a modal box or form blocks by now would not get the input either.
    const QWidget* modal = QApplication::activeModalWidget();
    if (!d.target || (modal && modal != d.target->window())) continue;
    d.action();
  }
}

// ---------------------------------------------------------------------------------------------
// Modal requests

void QtBackend::CheckModalRuns() {
  ForgetGoneElsewhere();
  for (ModalRun* run : modalRuns_) {
    if (!run->loop) continue;
    if (!run->alive || run->form->ModalResult() != mrNone || !run->form->Visible()) {
      run->loop->quit();
    }
  }
}

void QtBackend::RunModal(Form& form) {
  ShowForm(form);
  ModalRun run{&form};
  QEventLoop loop;
  run.loop = &loop;
  modalRuns_.push_back(&run);
  {
    ArrowWhileModal arrow(overrideCursor_);
    if (form.ModalResult() == mrNone && form.Visible()) loop.exec();
  }
  modalRuns_.erase(std::find(modalRuns_.begin(), modalRuns_.end(), &run));
  if (!run.alive) return;
  if (auto* fw = static_cast<FormWidget*>(WidgetOf(form))) {
    fw->hide();
    fw->setWindowModality(Qt::NonModal);
  }
}

QWidget* QtBackend::DialogParent() const {
  QWidget* w = QApplication::activeModalWidget();
  if (!w) w = QApplication::activeWindow();
  return w;
}

int QtBackend::MessageBox(const MessageBoxRequest& request) {
  QMessageBox box(DialogParent());
  box.setWindowTitle(ToQt(request.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQt(request.text));
  switch (request.type) {
    case DialogType::Warning:
      box.setIcon(QMessageBox::Warning);
      break;
    case DialogType::Error:
      box.setIcon(QMessageBox::Critical);
      break;
    case DialogType::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case DialogType::Confirmation:
      box.setIcon(QMessageBox::Question);
      break;
    case DialogType::Custom:
      box.setIcon(QMessageBox::NoIcon);
      break;
  }
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
    ArrowWhileModal arrow(overrideCursor_);
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

bool QtBackend::FileDialog(FileDialogRequest& request) {
  const QString dir = ToQt(request.initialDir);
  const QString name = ToQt(request.fileName);
  QString start = dir;
  if (!name.isEmpty()) {
    start = dir.isEmpty() || QFileInfo(name).isAbsolute() ? name : dir + QLatin1Char('/') + name;
  }
  const QString filter = ToQtNameFilter(request.filter);
  QString chosen;
  {
    ArrowWhileModal arrow(overrideCursor_);
    if (request.kind == FileDialogKind::Save) {
      chosen =
          QFileDialog::getSaveFileName(DialogParent(), QStringLiteral("Save As"), start, filter);
    } else {
      chosen = QFileDialog::getOpenFileName(DialogParent(), QStringLiteral("Open"), start, filter);
    }
  }
  if (chosen.isEmpty()) return false;
  request.fileName = FromQt(chosen);
  return true;
}

void QtBackend::ShowException(const std::string& message) {
  const std::string& title = ui::App().Title();
  QMessageBox box(QMessageBox::Critical, ToQt(title.empty() ? std::string("Error") : title),
                  ToQt(message), QMessageBox::Ok, DialogParent());
  box.setTextFormat(Qt::PlainText);
  ArrowWhileModal arrow(overrideCursor_);
  box.exec();
}

void QtBackend::ShowHelp(const std::string& title, const std::string& text) {
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
// Cursor, loop, waiting

void QtBackend::SetCursor(Cursor c) {
  if (!OnGuiThread()) return;
  if (c == Cursor::HourGlass) {
    if (!overrideCursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
    overrideCursor_ = true;
  } else if (overrideCursor_) {
    QApplication::restoreOverrideCursor();
    overrideCursor_ = false;
  }
}

void QtBackend::ProcessMessages() {
  if (OnGuiThread()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtBackend::Run() {
  if (!terminated_) {
    inExec_ = true;
    QApplication::exec();
    inExec_ = false;
  }
  terminated_ = false;
}

void QtBackend::Terminate() {
  terminated_ = true;
  // Not quit(): it first asks every window to close, and the forms answer that themselves.
  if (inExec_) QCoreApplication::exit(0);
}

void QtBackend::Wait(int fd, short events, int ms) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(ms, 0));
  const bool watch = fd >= 0 && (events & (POLLIN | POLLOUT)) != 0;
  bool ended = false;  // by the time or the descriptor, not by the application quitting
  ++waitDepth_;
  if (ms == 0) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    ended = true;
  } else {
    // Windows repaint and timers run meanwhile; the user's input waits for the end.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
      ended = true;
      loop.quit();
    });
    if (ms > 0) timer.start(ms);
    std::optional<QSocketNotifier> notifier;
    if (watch) {
      notifier.emplace(fd, (events & POLLIN) != 0 ? QSocketNotifier::Read : QSocketNotifier::Write);
      QObject::connect(&*notifier, &QSocketNotifier::activated, &loop, [&] {
        ended = true;
        loop.quit();
      });
    }
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  --waitDepth_;
  // Input that came meanwhile is carried out by the next event loop outside every wait.
  if (waitDepth_ == 0 && !deferred_.empty()) ScheduleDeferred();
  if (ended) return;
  // The loop ends early when the application quits: the wait is still owed.
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (watch) {
    pollfd p{fd, events, 0};
    ::poll(&p, 1, ms < 0 ? -1 : static_cast<int>(std::max<long long>(left, 0)));
  } else if (left > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(left));
  }
}

}  // namespace ui::qt
