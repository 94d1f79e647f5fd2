#include "forms/component.h"

#include <algorithm>

#include "base/errors.h"
#include "base/text_case.h"

namespace fw {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  while (!components_.empty()) delete components_.back();  // each removes itself
  auto notifications = std::move(notifications_);
  for (auto& [id, callback] : notifications) callback();
  if (owner_) {
    auto& list = owner_->components_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TComponent::SetName(std::string name) {
  if (owner_ && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other && other != this)
      throw Exception("Já existe um componente chamado '" + name + "'.");
  }
  name_ = std::move(name);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::NotFound(std::string_view name) const {
  throw Exception("Componente '" + std::string(name) + "' não encontrado em '" + name_ + "'.");
}

int TComponent::FreeNotification(std::function<void()> callback) {
  notifications_.emplace_back(nextNotification_, std::move(callback));
  return nextNotification_++;
}

void TComponent::RemoveFreeNotification(int id) {
  std::erase_if(notifications_, [id](const auto& n) { return n.first == id; });
}

void TComponent::Free(TComponent* component) { delete component; }

}  // namespace fw
