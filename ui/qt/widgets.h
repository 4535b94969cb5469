// The Qt widgets that stand for framework controls where a stock widget does not fit as it is.
// They hold no pointer to a framework object: they report through callbacks that the backend
// sets, and the backend checks that the control still lives before acting.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace ui::qt {

// Raises a window and gives it the focus (where the platform has a stacking order).
void BringToFront(QWidget* w);

// The window of a form: an optional menu bar on top and the client area below it, in which the
// controls sit at their layout positions.
class FormWidget : public QWidget {
  Q_OBJECT

 public:
  FormWidget();

  QWidget* Client() const { return client_; }
  QMenuBar* MenuBar() const { return menuBar_; }
  // Puts a new menu bar in place (null: none) and hands back the previous one.
  QMenuBar* ReplaceMenuBar(QMenuBar* bar);
  // The client area's size; the window is the menu bar's height (ui::kMenuBarHeight) taller.
  void SetClientSize(QSize size, bool fixed);
  // Recomputes the menu bar's height (its items may have come, gone or been renamed).
  void Relayout();

  // Whether the form has been placed on the screen (only its first showing places it).
  bool placed = false;

  std::function<void()> onClose;  // the user asks to close the window
  std::function<void()> onEnter;  // Enter pressed outside a control that takes it

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int MenuHeight() const;
  void PlaceParts(int menuHeight);
  QWidget* client_;
  QMenuBar* menuBar_ = nullptr;
  QSize clientSize_;
  bool fixed_ = false;
};

// A read-only log that keeps its last line in view. Lines added at the end cost the same however
// many are shown already.
class LogView : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LogView(QWidget* parent);
  // Shows exactly these lines.
  void ShowLines(const std::vector<std::string>& lines);
  // `lines` is what was shown with more lines at its end: adds those.
  void AddLines(const std::vector<std::string>& lines);

 private:
  void ScrollToEnd();
  size_t shown_ = 0;
};

// A widget that lays out its own parts again whenever its size or its font changes.
template <class Base>
class RelayoutOnResize : public Base {
 public:
  using Base::Base;

 protected:
  virtual void Relayout() = 0;
  void resizeEvent(QResizeEvent* event) override {
    Base::resizeEvent(event);
    Relayout();
  }
  void changeEvent(QEvent* event) override {
    Base::changeEvent(event);
    if (event->type() == QEvent::FontChange) Relayout();
  }
};

// A push button whose caption may wrap onto several lines, as a multi-line button does.
class CaptionButton : public RelayoutOnResize<QPushButton> {
  Q_OBJECT

 public:
  explicit CaptionButton(QWidget* parent);
  void SetCaption(const QString& caption);
  const QString& Caption() const { return caption_; }
  void SetWrap(bool wrap);

 private:
  // Wraps the caption to the width the button has now.
  void Relayout() override;
  QString caption_;
  bool wrap_ = false;
};

// An editable combo box that reports the opening of its list before the list shows.
class ComboWidget : public QComboBox {
  Q_OBJECT

 public:
  explicit ComboWidget(QWidget* parent);
  void showPopup() override;

  std::function<void()> onDropDown;
};

// A group box with one radio button per item in a column.
class RadioGroupWidget : public RelayoutOnResize<QGroupBox> {
  Q_OBJECT

 public:
  explicit RadioGroupWidget(QWidget* parent);
  void SetItems(const QStringList& items);
  void SetItemIndex(int index);
  int Count() const { return static_cast<int>(buttons_.size()); }
  QRadioButton* Button(int i) const { return buttons_.at(static_cast<size_t>(i)); }

  std::function<void(int)> onPick;

 private:
  void Relayout() override;
  std::vector<QRadioButton*> buttons_;
};

}  // namespace ui::qt
