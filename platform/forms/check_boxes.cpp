#include "forms/check_boxes.h"

#include "forms/text_input.h"

namespace fw {

// ---------------------------------------------------------------------------
// TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TControl(owner) {
  TabStop = true;
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed();
  Click();
}

void TCheckBox::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed();
}

void TCheckBox::Toggle() { SetChecked(!checked_); }

void TCheckBox::ShowChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed();
}

void TCheckBox::MouseClick(int, int) {
  if (!AcceptsInput(*this)) return;
  FocusForInput(*this);
  Toggle();
}

void TCheckBox::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  TControl::KeyDown(key, shift);
  if (key == VK_SPACE) Toggle();
}

// ---------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 113, 17); }

std::vector<TRadioButton*> TRadioButton::Siblings() const {
  std::vector<TRadioButton*> siblings;
  if (!Parent()) return siblings;
  for (TControl* c : Parent()->Controls())
    if (auto* radio = dynamic_cast<TRadioButton*>(c); radio && radio != this)
      siblings.push_back(radio);
  return siblings;
}

void TRadioButton::SetState(bool checked) {
  checked_ = checked;
  TabStop = checked;
  Changed();
}

void TRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  SetState(checked);
  if (!checked) return;
  for (TRadioButton* sibling : Siblings())
    if (sibling->checked_) sibling->SetState(false);
  Click();
}

void TRadioButton::MouseClick(int, int) {
  if (!AcceptsInput(*this)) return;
  FocusForInput(*this);
  SetChecked(true);
}

void TRadioButton::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  TControl::KeyDown(key, shift);
  if (key == VK_SPACE) SetChecked(true);
}

}  // namespace fw
