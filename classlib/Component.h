// The root of the class library: TObject, the notify event, and TComponent with
// its ownership tree and free notifications.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace classlib {

// The common base of every library object, so events can pass any sender.
class TObject {
 public:
  virtual ~TObject() = default;
};

// An event with only a sender; firing an empty one does nothing.
using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TOperation { opInsert, opRemove };

// A component owns the components created with it as owner and destroys them
// (last created first) when it is destroyed. Components that asked for a free
// notification hear, through Notification(opRemove), when another one goes.
class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }

  // Asks to be told when `other` is destroyed (both ways, as a pair).
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Called by whoever created and configured the component, once its
  // properties are set (the point where stored state is read).
  virtual void Loaded() {}

  std::string Name;
  std::intptr_t Tag = 0;

 protected:
  // `AComponent` is being destroyed (opRemove); clear any reference to it.
  virtual void Notification(TComponent* AComponent, TOperation Operation) {}

 private:
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};

}  // namespace classlib
