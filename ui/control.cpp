#include "ui/control.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "ui/form.h"

namespace ui {

namespace {

// Runs a handler through a copy, so that a handler which replaces itself (or whose control goes
// away) does not pull the function out from under the call.
void Fire(const NotifyEvent& handler, Component* sender) {
  if (!handler) return;
  NotifyEvent call = handler;
  call(sender);
}

// Whether a person could act on the control now.
bool Reachable(const Control& c) { return c.Showing() && c.UserReachable(); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Control

Control::Control(Component* owner, std::string name, Control* parent)
    : Component(owner, std::move(name)), parent_(parent) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  // Children are destroyed by their owner, which may come later: they must not keep a pointer to
  // a parent that is gone.
  for (Control* child : children_) child->parent_ = nullptr;
  children_.clear();
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

Form* Control::ParentForm() {
  for (Control* c = this; c; c = c->parent_) {
    if (auto* form = dynamic_cast<Form*>(c)) return form;
  }
  return nullptr;
}

void Control::SetCaption(std::string text) { Update(text_, std::move(text), Property::Caption); }

void Control::SetVisible(bool v) { Update(visible_, v, Property::Visible); }

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
    if (!c->parent_) return dynamic_cast<const Form*>(c) != nullptr;
  }
  return false;
}

void Control::SetEnabled(bool e) { Update(enabled_, e, Property::Enabled); }

bool Control::UserReachable() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

void Control::SetHint(std::string hint) { Update(hint_, std::move(hint), Property::Hint); }

void Control::SetBounds(int left, int top, int width, int height) {
  bounds_ = Rect{left, top, width, height};
  Changed(Property::Bounds);
}

void Control::SetFont(ui::Font f) {
  font_ = std::move(f);
  Changed(Property::Font);
}

void Control::SetWindowStyle(long style) { Update(style_, style, Property::Style); }

long GetWindowLongA(const Control* c, int index) {
  if (!c || index != GWL_STYLE) return 0;
  return c->WindowStyle();
}

long SetWindowLongA(Control* c, int index, long value) {
  if (!c || index != GWL_STYLE) return 0;
  long previous = c->WindowStyle();
  c->SetWindowStyle(value);
  return previous;
}

// ---------------------------------------------------------------------------------------------
// Simple controls

Label::Label(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {}

GroupBox::GroupBox(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {}

Shape::Shape(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {}

Image::Image(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {}

void Image::SetPicture(ui::Picture p) {
  picture_ = std::move(p);
  Changed(Property::Picture);
}

// ---------------------------------------------------------------------------------------------
// Button

Button::Button(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {
  InitStyle(WS_CHILD | WS_VISIBLE | WS_TABSTOP);  // a push button has no style bit of its own
}

void Button::Click() {
  if (!Reachable(*this)) return;
  const int result = modalResult_;
  ComponentWatch self(*this);
  Fire(OnClick, this);
  if (!self.Alive() || result == mrNone) return;
  if (Form* form = ParentForm()) form->SetModalResult(result);
}

// ---------------------------------------------------------------------------------------------
// Edit

Edit::Edit(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {}

void Edit::SetReadOnly(bool r) { Update(readOnly_, r, Property::ReadOnly); }

void Edit::SetMaxLength(int n) { Update(maxLength_, std::max(n, 0), Property::MaxLength); }

void Edit::SetByteText(bool b) { Update(byteText_, b, Property::Other); }

void Edit::UserType(const std::string& text) {
  if (!Reachable(*this) || readOnly_) return;
  std::string typed = text;
  if (maxLength_ > 0 && typed.size() > static_cast<size_t>(maxLength_)) typed.resize(maxLength_);
  SetCaption(std::move(typed));
  Fire(OnChange, this);
}

// ---------------------------------------------------------------------------------------------
// MaskEdit

namespace {

enum class PlaceKind { Literal, Digit, Letter, AlphaNum };

struct Place {
  PlaceKind kind = PlaceKind::Literal;
  char literal = 0;
};

// Splits "mask;keep;blank" into its fields. A ';' after a backslash belongs to the mask.
std::vector<std::string> MaskFields(const std::string& mask) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == '\\' && i + 1 < mask.size() && fields.size() == 1) {
      fields.back() += mask[i];
      fields.back() += mask[++i];
    } else if (mask[i] == ';' && fields.size() < 3) {
      fields.emplace_back();
    } else {
      fields.back() += mask[i];
    }
  }
  return fields;
}

// The mask characters that stand for a place to type in.
struct PlaceCode {
  char code;
  PlaceKind kind;
};
// Required and optional places take the same characters: the edit does not check completeness.
constexpr PlaceCode kPlaceCodes[] = {
    {'0', PlaceKind::Digit},  {'9', PlaceKind::Digit},    {'L', PlaceKind::Letter},
    {'l', PlaceKind::Letter}, {'A', PlaceKind::AlphaNum}, {'a', PlaceKind::AlphaNum},
};

std::vector<Place> Places(const std::string& pattern) {
  std::vector<Place> places;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    const auto* code =
        std::find_if(std::begin(kPlaceCodes), std::end(kPlaceCodes), [c](const PlaceCode& p) { return p.code == c; });
    if (code != std::end(kPlaceCodes)) {
      places.push_back({code->kind, 0});
      continue;
    }
    if (c == '\\' && i + 1 < pattern.size()) c = pattern[++i];
    places.push_back({PlaceKind::Literal, c});
  }
  return places;
}

bool Fits(const Place& place, char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  switch (place.kind) {
    case PlaceKind::Digit:
      return std::isdigit(u) != 0;
    case PlaceKind::Letter:
      return std::isalpha(u) != 0;
    case PlaceKind::AlphaNum:
      return std::isalnum(u) != 0;
    case PlaceKind::Literal:
      return false;
  }
  return false;
}

}  // namespace

MaskEdit::MaskEdit(Component* owner, std::string name, Control* parent) : Edit(owner, std::move(name), parent) {}

std::string MaskEdit::MaskPattern() const { return MaskFields(mask_)[0]; }

char MaskEdit::BlankChar() const {
  std::vector<std::string> fields = MaskFields(mask_);
  return fields.size() >= 3 && !fields[2].empty() ? fields[2][0] : '_';
}

bool MaskEdit::KeepsLiterals() const {
  std::vector<std::string> fields = MaskFields(mask_);
  return fields.size() < 2 || fields[1] != "0";
}

// Places the characters of `text` into the mask as typing would: a character that does not fit
// its place is refused, a literal place is filled by itself. Idempotent, so a text that went
// through it once passes unchanged.
std::string MaskEdit::Fit(const std::string& text) const {
  const std::vector<Place> places = Places(MaskPattern());
  const bool keep = KeepsLiterals();
  std::string out;
  std::string pendingLiterals;  // literals passed over, written only when a character follows
  size_t place = 0;
  for (char c : text) {
    while (place < places.size() && places[place].kind == PlaceKind::Literal && places[place].literal != c) {
      pendingLiterals += places[place].literal;
      ++place;
    }
    if (place >= places.size()) break;
    if (places[place].kind == PlaceKind::Literal) {  // the user typed the literal itself
      pendingLiterals += c;
      ++place;
      continue;
    }
    if (!Fits(places[place], c)) {
      // Refused; the literals passed over wait for the next accepted character.
      continue;
    }
    if (keep) out += pendingLiterals;
    pendingLiterals.clear();
    out += c;
    ++place;
  }
  return out;
}

void MaskEdit::SetEditMask(std::string mask) {
  if (!Update(mask_, std::move(mask), Property::Other)) return;
  if (!Text().empty()) Control::SetCaption(Fit(Text()));
}

void MaskEdit::SetCaption(std::string text) { Control::SetCaption(mask_.empty() ? std::move(text) : Fit(text)); }

void MaskEdit::UserType(const std::string& text) {
  // Fitted before the length limit cuts it, so refused characters do not use up the limit.
  Edit::UserType(mask_.empty() ? text : Fit(text));
}

// ---------------------------------------------------------------------------------------------
// Memo

Memo::Memo(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {
  // A log grows by appends: the backend is told so, and adds the new lines only.
  lines_.OnChanged = [this](StringList::Change change) {
    Changed(change == StringList::Change::Appended ? Property::LinesAdded : Property::Lines);
  };
}

void Memo::SetReadOnly(bool r) { Update(readOnly_, r, Property::ReadOnly); }

// ---------------------------------------------------------------------------------------------
// ComboBox

ComboBox::ComboBox(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {
  items_.OnChanged = [this](StringList::Change) {
    // A refill keeps the text; the selection survives only while it still names that text.
    if (itemIndex_ >= 0 && (itemIndex_ >= items_.Count() || items_[itemIndex_] != Text())) {
      itemIndex_ = items_.IndexOf(Text());
      Changed(Property::ItemIndex);
    }
    Changed(Property::Items);
  };
}

// The index is stored before the text changes, so that the backend never sees a text and an index
// that disagree.
void ComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= items_.Count()) index = -1;
  const bool moved = index != itemIndex_;
  itemIndex_ = index;
  if (index >= 0) Control::SetCaption(items_[index]);
  if (moved) Changed(Property::ItemIndex);
}

void ComboBox::SetCaption(std::string text) {
  const int index = items_.IndexOf(text);
  const bool moved = index != itemIndex_;
  itemIndex_ = index;
  Control::SetCaption(std::move(text));
  if (moved) Changed(Property::ItemIndex);
}

void ComboBox::UserDropDown() {
  if (!Reachable(*this)) return;
  Fire(OnDropDown, this);
}

void ComboBox::UserPick(int index) {
  if (!Reachable(*this) || index < 0 || index >= items_.Count()) return;
  SetItemIndex(index);
  Fire(OnChange, this);
}

void ComboBox::UserType(const std::string& text) {
  if (!Reachable(*this)) return;
  SetCaption(text);
  Fire(OnChange, this);
}

// ---------------------------------------------------------------------------------------------
// CheckBox, RadioButton, RadioGroup

CheckBox::CheckBox(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {}

void CheckBox::SetChecked(bool c) { Update(checked_, c, Property::Checked); }

void CheckBox::UserToggle() {
  if (!Reachable(*this)) return;
  SetChecked(!checked_);
  Fire(OnClick, this);
}

RadioButton::RadioButton(Component* owner, std::string name, Control* parent)
    : Control(owner, std::move(name), parent) {}

void RadioButton::SetChecked(bool c) {
  if (!Update(checked_, c, Property::Checked) || !c || !Parent()) return;
  for (Control* sibling : Parent()->Children()) {
    auto* radio = dynamic_cast<RadioButton*>(sibling);
    if (radio && radio != this && radio->checked_) {
      radio->checked_ = false;
      radio->Changed(Property::Checked);
    }
  }
}

void RadioButton::UserClick() {
  if (!Reachable(*this)) return;
  SetChecked(true);
  Fire(OnClick, this);
}

RadioGroup::RadioGroup(Component* owner, std::string name, Control* parent) : Control(owner, std::move(name), parent) {
  items_.OnChanged = [this](StringList::Change) {
    if (itemIndex_ >= items_.Count()) {
      itemIndex_ = -1;
      Changed(Property::ItemIndex);
    }
    Changed(Property::Items);
  };
}

void RadioGroup::SetItemIndex(int index) {
  if (index < 0 || index >= items_.Count()) index = -1;
  Update(itemIndex_, index, Property::ItemIndex);
}

void RadioGroup::UserPick(int index) {
  if (!Reachable(*this) || index < 0 || index >= items_.Count()) return;
  SetItemIndex(index);
  Fire(OnClick, this);
}

}  // namespace ui
