// TComponent ownership and free notifications.
#include "classlib/Component.h"

#include <algorithm>

namespace classlib {

namespace {
void Erase(std::vector<TComponent*>& list, TComponent* c) {
  list.erase(std::remove(list.begin(), list.end(), c), list.end());
}
}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Tell the others first, while this object is still whole enough to compare.
  std::vector<TComponent*> notifies;
  notifies.swap(freeNotifies_);
  for (TComponent* c : notifies) {
    Erase(c->freeNotifies_, this);
    c->Notification(this, TOperation::opRemove);
  }
  while (!components_.empty()) delete components_.back();
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::InsertComponent(TComponent* c) {
  c->owner_ = this;
  components_.push_back(c);
}

void TComponent::RemoveComponent(TComponent* c) {
  Erase(components_, c);
  c->owner_ = nullptr;
  for (TComponent* sibling : components_) sibling->Notification(c, TOperation::opRemove);
  Notification(c, TOperation::opRemove);
}

void TComponent::FreeNotification(TComponent* other) {
  if (other == nullptr || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
    freeNotifies_.push_back(other);
    other->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (other == nullptr) return;
  Erase(freeNotifies_, other);
  Erase(other->freeNotifies_, this);
}

}  // namespace classlib
