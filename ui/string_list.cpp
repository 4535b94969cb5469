#include "ui/string_list.h"

#include <algorithm>

namespace ui {

int StringList::Add(std::string s) {
  items_.push_back(std::move(s));
  Notify(Change::Appended);
  return Count() - 1;
}

void StringList::Clear() {
  items_.clear();
  Notify();
}

void StringList::Assign(const StringList& other) {
  if (&other != this) items_ = other.items_;
  Notify();
}

void StringList::Assign(const std::vector<std::string>& items) {
  items_ = items;
  Notify();
}

int StringList::IndexOf(const std::string& s) const {
  auto it = std::find(items_.begin(), items_.end(), s);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

std::string StringList::Text() const {
  std::string text;
  for (const std::string& s : items_) {
    text += s;
    text += '\n';
  }
  return text;
}

}  // namespace ui
