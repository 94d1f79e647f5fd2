#include "forms/check_boxes.h"

#include <algorithm>

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
  if (key == VK_DOWN || key == VK_RIGHT || key == VK_UP || key == VK_LEFT) {
    const bool forward = key == VK_DOWN || key == VK_RIGHT;
    key = 0;
    MoveInGroup(forward);
  }
}

// The arrows go round the group in tab order, skipping the buttons that
// cannot take the focus, and check the button they reach.
void TRadioButton::MoveInGroup(bool forward) {
  std::vector<TRadioButton*> group = Siblings();
  group.push_back(this);
  std::stable_sort(group.begin(), group.end(),
                   [](TRadioButton* a, TRadioButton* b) { return a->TabOrder < b->TabOrder; });
  const size_t n = group.size();
  const size_t at = static_cast<size_t>(std::find(group.begin(), group.end(), this) - group.begin());
  for (size_t step = 1; step < n; ++step) {
    TRadioButton* next = group[(at + (forward ? step : n - step)) % n];
    if (!next->CanFocus()) continue;
    FocusForInput(*next);
    if (next->Focused()) next->SetChecked(true);
    return;
  }
}

}  // namespace fw
