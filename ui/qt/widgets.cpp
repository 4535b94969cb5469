#include "ui/qt/widgets.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

#include "ui/menu.h"
#include "ui/qt/conversions.h"

namespace ui::qt {

void BringToFront(QWidget* w) {
  // The offscreen platform of the tests has no stacking and says so at every call.
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
  w->raise();
  w->activateWindow();
}

// ---------------------------------------------------------------------------------------------
// FormWidget

FormWidget::FormWidget() : QWidget(nullptr, Qt::Window), client_(new QWidget(this)) {}

QMenuBar* FormWidget::ReplaceMenuBar(QMenuBar* bar) {
  QMenuBar* old = menuBar_;
  menuBar_ = bar;
  if (bar) bar->setParent(this);
  Relayout();
  return old;
}

int FormWidget::MenuHeight() const {
  if (!menuBar_) return 0;
  const QList<QAction*> actions = menuBar_->actions();
  const bool any = std::any_of(actions.begin(), actions.end(), [](const QAction* a) { return a->isVisible(); });
  // The height the layouts leave for it, so that the window has the size they give.
  return any ? kMenuBarHeight : 0;
}

void FormWidget::SetClientSize(QSize size, bool fixed) {
  clientSize_ = size;
  fixed_ = fixed;
  Relayout();
}

void FormWidget::Relayout() {
  const int menu = MenuHeight();
  if (menuBar_) menuBar_->setVisible(menu > 0);
  const QSize outer(clientSize_.width(), clientSize_.height() + menu);
  if (fixed_) {
    setFixedSize(outer);
  } else {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(outer);
  }
  // resize() does not report when the size stays; place the parts in any case.
  PlaceParts(menu);
}

void FormWidget::PlaceParts(int menuHeight) {
  if (menuBar_) menuBar_->setGeometry(0, 0, width(), menuHeight);
  client_->setGeometry(0, menuHeight, width(), height() - menuHeight);
}

void FormWidget::closeEvent(QCloseEvent* event) {
  // The form decides (it may refuse, hide itself or end the program).
  event->ignore();
  if (onClose) onClose();
}

void FormWidget::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && onEnter) {
    onEnter();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FormWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceParts(MenuHeight());
}

// ---------------------------------------------------------------------------------------------
// LogView

LogView::LogView(QWidget* parent) : QPlainTextEdit(parent) {}

void LogView::ShowLines(const std::vector<std::string>& lines) {
  QStringList all;
  all.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) all << ToQt(line);
  setPlainText(all.join(QLatin1Char('\n')));
  shown_ = lines.size();
  ScrollToEnd();
}

void LogView::AddLines(const std::vector<std::string>& lines) {
  if (shown_ == 0 || lines.size() < shown_) {
    ShowLines(lines);  // the first line goes into the document's one empty block
    return;
  }
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  for (size_t i = shown_; i < lines.size(); ++i) {
    cursor.insertBlock();
    cursor.insertText(ToQt(lines[i]));
  }
  cursor.endEditBlock();
  shown_ = lines.size();
  ScrollToEnd();
}

void LogView::ScrollToEnd() {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->maximum());
}

// ---------------------------------------------------------------------------------------------
// CaptionButton

CaptionButton::CaptionButton(QWidget* parent) : RelayoutOnResize(parent) { setAutoDefault(false); }

void CaptionButton::SetCaption(const QString& caption) {
  caption_ = caption;
  Relayout();
}

void CaptionButton::SetWrap(bool wrap) {
  if (wrap == wrap_) return;
  wrap_ = wrap;
  Relayout();
}

void CaptionButton::Relayout() {
  // A push button draws line breaks but never breaks a line itself.
  const QString shown = wrap_ ? WrapCaption(caption_, fontMetrics(), width() - 8) : caption_;
  if (shown != text()) setText(shown);
}

// ---------------------------------------------------------------------------------------------
// ComboWidget

ComboWidget::ComboWidget(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  // The list is the program's: typed texts are not added to it, nor completed from it.
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
}

void ComboWidget::showPopup() {
  QPointer<ComboWidget> self(this);
  if (onDropDown) onDropDown();
  // The handler may have refilled, hidden, disabled or even removed the box.
  if (!self || !isVisible() || !isEnabled()) return;
  QComboBox::showPopup();
}

// ---------------------------------------------------------------------------------------------
// RadioGroupWidget

RadioGroupWidget::RadioGroupWidget(QWidget* parent) : RelayoutOnResize(parent) {}

void RadioGroupWidget::SetItems(const QStringList& items) {
  const auto count = static_cast<size_t>(items.size());
  while (buttons_.size() > count) {
    // It may be the button whose click is being handled: let Qt finish with it first.
    QRadioButton* extra = buttons_.back();
    buttons_.pop_back();
    extra->hide();
    extra->deleteLater();
  }
  while (buttons_.size() < count) {
    auto* button = new QRadioButton(this);
    // The framework keeps the one selection; Qt's own exclusivity would refuse "none selected".
    button->setAutoExclusive(false);
    const int index = static_cast<int>(buttons_.size());
    connect(button, &QRadioButton::clicked, this, [this, index] {
      if (onPick) onPick(index);
    });
    button->show();
    buttons_.push_back(button);
  }
  for (size_t i = 0; i < count; ++i) {
    if (buttons_[i]->text() != items[static_cast<qsizetype>(i)]) {
      buttons_[i]->setText(items[static_cast<qsizetype>(i)]);
    }
  }
  Relayout();
}

void RadioGroupWidget::SetItemIndex(int index) {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    QSignalBlocker block(buttons_[i]);
    buttons_[i]->setChecked(static_cast<int>(i) == index);
  }
}

void RadioGroupWidget::Relayout() {
  if (buttons_.empty()) return;
  // Items share the inside of the frame evenly, each centred in its share. The style says where
  // that is: below the caption, when there is one, and within the frame's lines.
  const QRect inside = contentsRect();
  const int n = static_cast<int>(buttons_.size());
  const int each = inside.height() / n;
  const int buttonHeight = std::max(fontMetrics().height() + 4, std::min(each, 24));
  for (int i = 0; i < n; ++i) {
    const int y = inside.top() + i * each + (each - buttonHeight) / 2;
    buttons_[static_cast<size_t>(i)]->setGeometry(inside.left() + 6, y, std::max(0, inside.width() - 12), buttonHeight);
  }
}

}  // namespace ui::qt
