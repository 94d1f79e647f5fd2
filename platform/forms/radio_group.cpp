#include "forms/radio_group.h"

#include <algorithm>

#include "base/errors.h"
#include "forms/text_input.h"

namespace fw {

TRadioGroup::TRadioGroup(TComponent* owner) : TControl(owner) {
  TabStop = true;
  SetBounds(0, 0, 185, 105);
  Items.OnChange = [this] { ItemsChanged(); };
}

void TRadioGroup::ShowIndex(int index) {
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed();
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= Items.Count())
    throw Exception("Índice " + std::to_string(index) + " fora da lista de '" + Name() + "'.");
  ShowIndex(index);
}

void TRadioGroup::SetColumns(int columns) {
  columns = std::clamp(columns, 1, 16);
  if (columns == columns_) return;
  columns_ = columns;
  Changed();
}

void TRadioGroup::ItemsChanged() {
  Changed();
  if (itemIndex_ >= Items.Count()) ShowIndex(-1);
}

TRect TRadioGroup::ItemRect(int index) const {
  int count = Items.Count();
  if (index < 0 || index >= count) return {};
  constexpr int kTextHeight = 13;
  int perColumn = (count + columns_ - 1) / columns_;
  int buttonWidth = std::max(0, (Width() - 10) / columns_);
  int area = std::max(0, Height() - kTextHeight - 5);
  int buttonHeight = area / perColumn;
  int topMargin = kTextHeight + 1 + (area % perColumn) / 2;
  int left = (index / perColumn) * buttonWidth + 8;
  int top = (index % perColumn) * buttonHeight + topMargin;
  return {left, top, left + buttonWidth, top + buttonHeight};
}

int TRadioGroup::ItemAt(int x, int y) const {
  for (int i = 0; i < Items.Count(); ++i)
    if (ItemRect(i).Contains({x, y})) return i;
  return -1;
}

void TRadioGroup::Picked() {
  TControl::Click();
}

void TRadioGroup::ClickItem(int index) {
  if (!AcceptsInput(*this) || index < 0 || index >= Items.Count()) return;
  FocusForInput(*this);
  if (index == itemIndex_ || !CanPick()) return;
  ShowIndex(index);
  Picked();
}

void TRadioGroup::MouseClick(int x, int y) {
  if (!AcceptsInput(*this)) return;
  int index = ItemAt(x, y);
  if (index < 0) {
    FocusForInput(*this);
    return;
  }
  ClickItem(index);
}

void TRadioGroup::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  TControl::KeyDown(key, shift);
  int count = Items.Count();
  if (count == 0) return;
  if (key == VK_DOWN || key == VK_RIGHT) ClickItem(std::min(itemIndex_ + 1, count - 1));
  if (key == VK_UP || key == VK_LEFT) ClickItem(std::max(itemIndex_ - 1, 0));
}

}  // namespace fw
