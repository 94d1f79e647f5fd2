#include "forms/menus.h"

#include <algorithm>

namespace fw {

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  for (TMenuItem* item : items_) item->parent_ = nullptr;
  if (parent_) parent_->Remove(*this);
}

void TMenuItem::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  ++version_;
}
void TMenuItem::SetChecked(bool checked) {
  checked_ = checked;
  ++version_;
}
void TMenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  ++version_;
}
void TMenuItem::SetVisible(bool visible) {
  visible_ = visible;
  ++version_;
}

std::string TMenuItem::PlainCaption() const {
  std::string text;
  for (size_t i = 0; i < caption_.size(); ++i) {
    if (caption_[i] == '&' && i + 1 < caption_.size()) {
      if (caption_[i + 1] == '&') text += '&';
      ++i;
      if (caption_[i] != '&') text += caption_[i];
      continue;
    }
    text += caption_[i];
  }
  return text;
}

char TMenuItem::Accelerator() const {
  for (size_t i = 0; i + 1 < caption_.size(); ++i) {
    if (caption_[i] != '&') continue;
    if (caption_[i + 1] == '&') {
      ++i;
      continue;
    }
    return caption_[i + 1];
  }
  return 0;
}

void TMenuItem::Insert(TMenuItem& item, int index) {
  if (item.parent_) item.parent_->Remove(item);
  item.parent_ = this;
  if (index < 0 || index > static_cast<int>(items_.size())) index = static_cast<int>(items_.size());
  items_.insert(items_.begin() + index, &item);
  ++version_;
}

void TMenuItem::Remove(TMenuItem& item) {
  items_.erase(std::remove(items_.begin(), items_.end(), &item), items_.end());
  item.parent_ = nullptr;
  ++version_;
}

bool TMenuItem::Usable() const {
  for (const TMenuItem* m = this; m; m = m->parent_)
    if (!m->enabled_ || !m->visible_) return false;
  return true;
}

bool TMenuItem::Click() {
  if (!Usable() || IsSeparator()) return false;
  if (OnClick) {
    TNotifyEvent handler = OnClick;
    handler(*this);
  }
  return true;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) {
  for (TMenuItem* item : items_) {
    if (!item->ShortCut.Empty() && item->ShortCut == shortCut) return item;
    if (TMenuItem* found = item->FindShortCut(shortCut)) return found;
  }
  return nullptr;
}

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner) {}

bool TMainMenu::DispatchShortCut(TShortCut shortCut) {
  TMenuItem* item = root_.FindShortCut(shortCut);
  return item && item->Click();
}

}  // namespace fw
