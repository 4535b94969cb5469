// Visual controls. A control has an owner (who destroys it) and a parent (the control it sits
// in). Setting a property from code never runs an event handler; each control offers the user's
// actions as methods, which run the handlers exactly as a person's click or typing would.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/component.h"
#include "ui/string_list.h"

namespace ui {

class Form;

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Font {
  std::string name = "MS Sans Serif";
  int size = 8;  // points
  bool bold = false;
};

// Window style bits that the windows set on buttons.
constexpr long WS_CHILD = 0x40000000L;
constexpr long WS_VISIBLE = 0x10000000L;
constexpr long WS_TABSTOP = 0x00010000L;
constexpr long BS_MULTILINE = 0x2000L;
constexpr int GWL_STYLE = -16;

class Control : public Component {
 public:
  Control(Component* owner, std::string name, Control* parent);
  ~Control() override;

  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }
  // The form this control lies on (itself for a form).
  Form* ParentForm();

  // Caption and text are one property.
  const std::string& Caption() const { return text_; }
  // Virtual so that a mask edit applies its mask and a combo box selects the matching item.
  virtual void SetCaption(std::string text);
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { SetCaption(std::move(text)); }

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent visible, up to a form: a control that lies on no form is not shown.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  // Enabled and every parent enabled: only then can the user reach the control.
  bool UserReachable() const;

  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);

  const Rect& Bounds() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }

  const ui::Font& GetFont() const { return font_; }
  void SetFont(ui::Font f);

  // The window style long, for GetWindowLong/SetWindowLong with GWL_STYLE.
  long WindowStyle() const { return style_; }
  void SetWindowStyle(long style);

 protected:
  // Set by derived constructors for their default style bits.
  void InitStyle(long style) { style_ = style; }
  // Set by derived constructors whose kind starts hidden (forms); tells nobody.
  void InitVisible(bool v) { visible_ = v; }

 private:
  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  std::string text_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  Rect bounds_;
  ui::Font font_;
  long style_ = WS_CHILD | WS_VISIBLE;
};

long GetWindowLongA(const Control* c, int index);
long SetWindowLongA(Control* c, int index, long value);  // returns the previous value

class Label : public Control {
 public:
  Label(Component* owner, std::string name, Control* parent);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool w) { wordWrap_ = w; }

 private:
  bool wordWrap_ = false;
};

class Button : public Control {
 public:
  Button(Component* owner, std::string name, Control* parent);
  NotifyEvent OnClick;
  // The modal result a click gives the form it lies on (0: none).
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int mr) { modalResult_ = mr; }
  bool Default() const { return default_; }
  void SetDefault(bool d) { default_ = d; }

  // The user clicks the button: runs OnClick, then gives the form the button's modal result.
  // Does nothing when the button cannot be reached. The handler may destroy the button or its
  // form.
  void Click();

 private:
  int modalResult_ = 0;
  bool default_ = false;
};

class Edit : public Control {
 public:
  Edit(Component* owner, std::string name, Control* parent);
  NotifyEvent OnChange;
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool r);
  int MaxLength() const { return maxLength_; }  // 0: no limit
  void SetMaxLength(int n);
  // 8-bit text: each byte of the text is one character (shown and taken as Latin-1) instead of
  // UTF-8, for values that an instrument sends and takes back byte for byte.
  bool ByteText() const { return byteText_; }
  void SetByteText(bool b);

  // The user replaces the text by typing. Respects read-only and the length limit (a longer text
  // is cut, as the edit would refuse the extra keys); runs OnChange.
  virtual void UserType(const std::string& text);

 private:
  bool readOnly_ = false;
  int maxLength_ = 0;
  bool byteText_ = false;
};

// An edit with an input mask "mask;keepLiterals;blank". Supported mask characters: '0' a required
// digit, '9' an optional digit, 'L' a required letter, 'l' an optional letter, 'A' a required
// letter or digit, 'a' an optional one, '\\' the next character literally; anything else is a
// literal.
class MaskEdit : public Edit {
 public:
  MaskEdit(Component* owner, std::string name, Control* parent);
  const std::string& EditMask() const { return mask_; }
  void SetEditMask(std::string mask);
  // The user types: characters that the mask does not accept at their place are refused, and a
  // literal of the mask is passed over. The text holds the accepted characters (with the literals
  // between them when the mask keeps literals), without blanks for places not reached.
  void UserType(const std::string& text) override;
  // A text set from code goes through the mask the same way.
  void SetCaption(std::string text) override;
  // The mask characters (without the ";keep;blank" part).
  std::string MaskPattern() const;
  char BlankChar() const;
  // Whether the text keeps the mask's literals (the second field; kept when it is absent).
  bool KeepsLiterals() const;

 private:
  std::string Fit(const std::string& text) const;
  std::string mask_;
};

class Memo : public Control {
 public:
  Memo(Component* owner, std::string name, Control* parent);
  StringList& Lines() { return lines_; }
  const StringList& Lines() const { return lines_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool r);
  enum class ScrollBars { None, Vertical, Horizontal, Both };
  ScrollBars Scrolls() const { return scrollBars_; }
  void SetScrollBars(ScrollBars s) { scrollBars_ = s; }

 private:
  StringList lines_;
  bool readOnly_ = false;
  ScrollBars scrollBars_ = ScrollBars::None;
};

// An editable combo box (drop-down style).
class ComboBox : public Control {
 public:
  ComboBox(Component* owner, std::string name, Control* parent);
  NotifyEvent OnChange;
  NotifyEvent OnDropDown;
  StringList& Items() { return items_; }
  const StringList& Items() const { return items_; }
  // Index of the selected item, -1 when the text is not a picked item.
  int ItemIndex() const { return itemIndex_; }
  // Selects an item and shows its text (-1, or an index out of range, keeps the text and clears
  // the selection).
  void SetItemIndex(int index);
  // A text set from code selects the item it equals exactly (none when there is none). Refilling
  // the items keeps the text, and keeps the selection only while it still names that text.
  void SetCaption(std::string text) override;

  // User actions. Every pick and every typed text runs OnChange, even when the text stays the same
  // (each is a change event of the edit part); a typed text selects the item it equals exactly.
  void UserDropDown();                     // opens the list: runs OnDropDown
  void UserPick(int index);                // picks an item from the list
  void UserType(const std::string& text);  // types a text into the edit part

 private:
  StringList items_;
  int itemIndex_ = -1;
};

class CheckBox : public Control {
 public:
  CheckBox(Component* owner, std::string name, Control* parent);
  NotifyEvent OnClick;
  bool Checked() const { return checked_; }
  void SetChecked(bool c);
  // The user clicks the box: flips it and runs OnClick.
  void UserToggle();

 private:
  bool checked_ = false;
};

// Radio buttons with the same parent exclude each other.
class RadioButton : public Control {
 public:
  RadioButton(Component* owner, std::string name, Control* parent);
  NotifyEvent OnClick;
  bool Checked() const { return checked_; }
  void SetChecked(bool c);  // checking one unchecks its siblings
  // The user clicks the button: checks it (unchecking its siblings) and runs OnClick.
  void UserClick();

 private:
  bool checked_ = false;
};

class GroupBox : public Control {
 public:
  GroupBox(Component* owner, std::string name, Control* parent);
};

class RadioGroup : public Control {
 public:
  RadioGroup(Component* owner, std::string name, Control* parent);
  NotifyEvent OnClick;
  StringList& Items() { return items_; }
  const StringList& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }
  // -1 or an index out of range selects nothing.
  void SetItemIndex(int index);
  // The user clicks an item: selects it and runs OnClick (also when it was selected already).
  void UserPick(int index);

 private:
  StringList items_;
  int itemIndex_ = -1;
};

class Shape : public Control {
 public:
  Shape(Component* owner, std::string name, Control* parent);
};

// A decoded picture: 8-bit RGB, row after row.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  bool Empty() const { return width == 0 || height == 0; }
};

// Decodes a JPEG image. On failure returns false and leaves an explanation in *error.
bool DecodeJpeg(const uint8_t* data, size_t size, Picture* out, std::string* error);

class Image : public Control {
 public:
  Image(Component* owner, std::string name, Control* parent);
  const ui::Picture& GetPicture() const { return picture_; }
  void SetPicture(ui::Picture p);

 private:
  ui::Picture picture_;
};

}  // namespace ui
