// TComponentRef<T>: a reference to a component that clears itself when the
// component is destroyed.
//
// Controls that point at other components they do not own (a label's focus
// control, a search button's edit) hold one, so a reference never dangles
// whichever of the two goes first. Not copyable; not thread-safe.
#pragma once

#include "forms/component.h"

namespace fw {

template <class T>
class TComponentRef {
 public:
  TComponentRef() = default;
  TComponentRef(const TComponentRef&) = delete;
  TComponentRef& operator=(const TComponentRef&) = delete;
  ~TComponentRef() { Reset(nullptr); }

  T* Get() const { return target_; }
  explicit operator bool() const { return target_ != nullptr; }
  T* operator->() const { return target_; }

  void Reset(T* target) {
    if (target == target_) return;
    if (target_) target_->RemoveFreeNotification(notification_);
    target_ = target;
    notification_ = target_ ? target_->FreeNotification([this] { target_ = nullptr; }) : 0;
  }

 private:
  T* target_ = nullptr;
  int notification_ = 0;
};

}  // namespace fw
