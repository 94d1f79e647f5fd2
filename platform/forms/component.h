// TComponent: a named object owned by another component.
//
// An owner owns the components created with it as owner and destroys them
// (last created first) when it is destroyed; a component may also be
// destroyed earlier, and then leaves its owner's list. Names are unique
// among the components of one owner (ignoring case) and are found with
// FindComponent. FreeNotification lets another object learn that a
// component is going away (data links, references held by forms).
// Not thread-safe: user-interface thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  // Raises EComponentError for a name already used under the same owner.
  void SetName(std::string name);
  long Tag = 0;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent& Components(int index) const { return *components_.at(index); }
  TComponent* FindComponent(std::string_view name) const;
  // FindComponent, checked: raises EComponentError when absent or not a T.
  template <class T>
  T& Find(std::string_view name) const {
    T* found = dynamic_cast<T*>(FindComponent(name));
    if (!found) NotFound(name);
    return *found;
  }

  // Creates a component owned by this one.
  template <class T, class... Args>
  T& Create(std::string name, Args&&... args) {
    auto* component = new T(this, std::forward<Args>(args)...);
    try {
      component->SetName(std::move(name));
    } catch (...) {
      delete component;
      throw;
    }
    return *component;
  }

  // Runs `callback` when this component is destroyed; returns an id to
  // remove it with RemoveFreeNotification.
  int FreeNotification(std::function<void()> callback);
  void RemoveFreeNotification(int id);

  // Destroys a component created with an owner (or a free-standing one).
  static void Free(TComponent* component);

 private:
  [[noreturn]] void NotFound(std::string_view name) const;

  std::string name_;
  TComponent* owner_;
  std::vector<TComponent*> components_;
  std::vector<std::pair<int, std::function<void()>>> notifications_;
  int nextNotification_ = 1;
};

}  // namespace fw
