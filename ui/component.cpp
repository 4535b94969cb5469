#include "ui/component.h"

#include <algorithm>

#include "ui/backend.h"

namespace ui {

Component::Component(Component* owner, std::string name) : name_(std::move(name)), owner_(owner) {
  if (owner_) owner_->Insert(this);
}

Component::~Component() {
  ExpectUserInterfaceThread(*this, "destruction");
  for (ComponentWatch* w = watches_; w; w = w->next_) w->component_ = nullptr;
  CurrentBackend().Destroying(*this);
  // Owned components go in reverse order of creation, so later ones (which may refer to earlier
  // ones) go first. Each one's destructor finds itself already taken off the list.
  while (!owned_.empty()) {
    Component* c = owned_.back();
    owned_.pop_back();
    delete c;
  }
  if (owner_) owner_->Remove(this);
}

Component* Component::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (Component* c : owned_) {
    if (c->name_ == name) return c;
  }
  return nullptr;
}

void Component::Changed(Property what) {
  ExpectUserInterfaceThread(*this, "a change");
  CurrentBackend().Changed(*this, what);
}

void Component::Remove(Component* c) {
  auto it = std::find(owned_.begin(), owned_.end(), c);
  if (it != owned_.end()) owned_.erase(it);
}

ComponentWatch::ComponentWatch(Component& c) : component_(&c), next_(c.watches_) { c.watches_ = this; }

ComponentWatch::~ComponentWatch() {
  if (!component_) return;  // the component went first and let go of its list
  ComponentWatch** link = &component_->watches_;
  while (*link != this) link = &(*link)->next_;
  *link = next_;
}

}  // namespace ui
