// An ordered list of strings that tells its holder when it changes.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ui {

class StringList {
 public:
  StringList() = default;
  StringList(std::initializer_list<std::string> items) : items_(items) {}
  StringList(const StringList& other) : items_(other.items_) {}
  StringList& operator=(const StringList& other) {
    Assign(other);
    return *this;
  }

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  const std::string& operator[](int index) const { return items_.at(static_cast<size_t>(index)); }

  int Add(std::string s);
  void Clear();
  void Assign(const StringList& other);
  void Assign(const std::vector<std::string>& items);
  // For Assign({"a", "b"}), which the two above would both take.
  void Assign(std::initializer_list<std::string> items) { Assign(std::vector<std::string>(items)); }
  // Index of the first exact match, or -1.
  int IndexOf(const std::string& s) const;

  // All lines, each followed by a line break ("\n").
  std::string Text() const;

  const std::vector<std::string>& Items() const { return items_; }
  std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
  std::vector<std::string>::const_iterator end() const { return items_.end(); }

  // How a list changed: strings added at its end only, or anything else.
  enum class Change { Appended, Other };
  // Called after every change; set by the control that holds the list.
  std::function<void(Change)> OnChanged;

 private:
  void Notify(Change change = Change::Other) {
    if (OnChanged) OnChanged(change);
  }
  std::vector<std::string> items_;
};

}  // namespace ui
