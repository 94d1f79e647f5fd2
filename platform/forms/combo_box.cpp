#include "forms/combo_box.h"

#include "base/errors.h"
#include "forms/text_input.h"

namespace fw {

TComboBox::TComboBox(TComponent* owner) : TCustomEdit(owner) {
  Items.OnChange = [this] { ItemsChanged(); };
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
  if (style_ == TComboBoxStyle::csDropDownList && itemIndex_ < 0) Show(-1, "");
}

void TComboBox::Show(int index, std::string text) {
  bool moved = index != itemIndex_;
  itemIndex_ = index;
  if (moved) Changed();
  quiet_ = true;
  try {
    TCustomEdit::SetText(text);
  } catch (...) {
    quiet_ = false;
    throw;
  }
  quiet_ = false;
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= Items.Count())
    throw Exception("Índice " + std::to_string(index) + " fora da lista de '" + Name() + "'.");
  Show(index, index < 0 ? std::string() : Items[index]);
}

void TComboBox::SetText(std::string_view text) {
  int index = Items.IndexOf(text);
  if (style_ == TComboBoxStyle::csDropDownList && index < 0) {
    Show(-1, "");
    return;
  }
  Show(index, std::string(text));
}

void TComboBox::SelectItem(int index) {
  if (!AcceptsInput(*this) || index < 0 || index >= Items.Count()) return;
  FocusForInput(*this);
  if (!CanSelect() || (index == itemIndex_ && Text() == Items[index])) return;
  Show(index, Items[index]);
  Change();
}

void TComboBox::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  if (key == VK_UP || key == VK_DOWN) {
    TControl::KeyDown(key, shift);
    if (key == VK_UP && itemIndex_ > 0) SelectItem(itemIndex_ - 1);
    if (key == VK_DOWN && itemIndex_ + 1 < Items.Count()) SelectItem(itemIndex_ + 1);
    return;
  }
  TCustomEdit::KeyDown(key, shift);
}

bool TComboBox::CanType() const {
  return style_ == TComboBoxStyle::csDropDown && TCustomEdit::CanType();
}

void TComboBox::Change() {
  if (quiet_) return;
  // Typing in the edit part: the item with that text, if any, is chosen.
  int index = Items.IndexOf(Text());
  if (index != itemIndex_) {
    itemIndex_ = index;
    Changed();
  }
  TCustomEdit::Change();
}

void TComboBox::ItemsChanged() {
  Changed();
  if (itemIndex_ < 0) return;
  if (itemIndex_ < Items.Count()) Show(itemIndex_, Items[itemIndex_]);
  else Show(-1, "");
}

}  // namespace fw
