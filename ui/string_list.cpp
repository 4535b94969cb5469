#include "ui/string_list.h"

#include <algorithm>
#include <stdexcept>

namespace ui {

void StringList::Put(int index, std::string s) {
  items_.at(static_cast<size_t>(index)) = std::move(s);
  Notify();
}

int StringList::Add(std::string s) {
  items_.push_back(std::move(s));
  Notify(Change::Appended);
  return Count() - 1;
}

void StringList::Insert(int index, std::string s) {
  if (index < 0 || index > Count()) throw std::out_of_range("StringList::Insert: index out of range");
  items_.insert(items_.begin() + index, std::move(s));
  Notify(index == Count() - 1 ? Change::Appended : Change::Other);
}

void StringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("StringList::Delete: index out of range");
  items_.erase(items_.begin() + index);
  Notify();
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
