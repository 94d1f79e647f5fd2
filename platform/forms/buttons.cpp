#include "forms/buttons.h"

#include <algorithm>

#include "forms/form.h"
#include "forms/text_input.h"

namespace fw {

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* owner) : TControl(owner) {
  TabStop = true;
  SetBounds(0, 0, 75, 25);
}

void TButton::Click() {
  if (ModalResult != 0)
    if (TForm* form = ParentForm()) form->SetModalResult(ModalResult);
  TControl::Click();
}

void TButton::MouseClick(int, int) {
  if (!AcceptsInput(*this)) return;
  FocusForInput(*this);
  Click();
}

void TButton::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  TControl::KeyDown(key, shift);
  if (key == VK_SPACE || key == VK_RETURN) Click();
}

// ---------------------------------------------------------------------------
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetGlyph(TBitmap glyph) {
  if (glyph == glyph_) return;
  glyph_ = std::move(glyph);
  Changed();
}

void TSpeedButton::SetNumGlyphs(int count) {
  count = std::clamp(count, 1, 4);
  if (count == numGlyphs_) return;
  numGlyphs_ = count;
  Changed();
}

void TSpeedButton::SetFlat(bool flat) {
  if (flat == flat_) return;
  flat_ = flat;
  Changed();
}

void TSpeedButton::SetDown(bool down) {
  if (GroupIndex == 0) down = false;  // only grouped buttons stay down
  if (down == down_) return;
  down_ = down;
  Changed();
  if (!down_ || !Parent()) return;
  for (TControl* c : Parent()->Controls())
    if (auto* other = dynamic_cast<TSpeedButton*>(c);
        other && other != this && other->GroupIndex == GroupIndex && other->down_) {
      other->down_ = false;
      other->Changed();
    }
}

void TSpeedButton::MouseClick(int, int) {
  if (!AcceptsInput(*this)) return;
  if (GroupIndex != 0) {
    if (!down_) SetDown(true);
    else if (AllowAllUp) SetDown(false);
  }
  Click();
}

}  // namespace fw
