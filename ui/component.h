// Components: named objects with an owner. An owner destroys the components it owns;
// deleting a component first removes it from its owner.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ui {

class Component;
class ComponentWatch;

using NotifyEvent = std::function<void(Component* sender)>;

// What changed on a component; the backend decides what to redraw.
enum class Property {
  Caption,  // caption or text, which are one property
  Visible,
  Enabled,
  Checked,
  Items,
  ItemIndex,
  Hint,
  ReadOnly,
  MaxLength,
  Style,
  Bounds,
  Font,
  Picture,
  Lines,       // a memo's lines changed in any way
  LinesAdded,  // lines were added at the end of a memo's lines, and nothing else changed
  Chart,
  Menu,
  Other,
};

class Component {
 public:
  explicit Component(Component* owner, std::string name = {});
  // Tells the watches and the backend (Destroying) first, then destroys the owned components,
  // last created first.
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& Name() const { return name_; }
  Component* Owner() const { return owner_; }

  // Searches the components this one owns directly, by exact name.
  Component* FindComponent(std::string_view name) const;
  int ComponentCount() const { return static_cast<int>(owned_.size()); }
  Component* Components(int index) const { return owned_.at(static_cast<size_t>(index)); }

  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

 protected:
  // Tells the backend that a property changed. Never runs an event handler.
  void Changed(Property what);
  // Stores a property's new value and tells the backend; false, and nobody told, when the property
  // holds that value already.
  template <typename T, typename V>
  bool Update(T& field, V&& value, Property what) {
    if (field == value) return false;
    field = std::forward<V>(value);
    Changed(what);
    return true;
  }

 private:
  void Insert(Component* c) { owned_.push_back(c); }
  void Remove(Component* c);

  std::string name_;
  Component* owner_ = nullptr;
  std::vector<Component*> owned_;
  int tag_ = 0;
  friend class ComponentWatch;
  ComponentWatch* watches_ = nullptr;
};

// Says whether a component still exists after running a handler, which may destroy it (or the
// form it lies on). Lives on the stack of the code that runs the handler; same thread only.
class ComponentWatch {
 public:
  explicit ComponentWatch(Component& c);
  ~ComponentWatch();
  ComponentWatch(const ComponentWatch&) = delete;
  ComponentWatch& operator=(const ComponentWatch&) = delete;

  bool Alive() const { return component_ != nullptr; }

 private:
  friend class Component;
  Component* component_;
  ComponentWatch* next_;
};

// Finds a component of a given kind by name among those the owner owns; null when absent or of
// another kind.
template <typename T>
T* FindAs(const Component& owner, std::string_view name) {
  return dynamic_cast<T*>(owner.FindComponent(name));
}

}  // namespace ui
