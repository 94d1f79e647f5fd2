#include "forms/static_controls.h"

#include "forms/accelerators.h"
#include "forms/text_input.h"

namespace fw {

TLabel::TLabel(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 40, 13); }

void TLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed();
}

char TLabel::Accelerator() const { return ShowAccelChar ? AcceleratorOf(Caption()) : 0; }

std::string TLabel::PlainCaption() const {
  if (!ShowAccelChar) return Caption();
  std::string plain;
  const std::string& caption = Caption();
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  return plain;
}

void TLabel::Activate() {
  if (TControl* target = focusControl_.Get()) target->SetFocus();
}

void TLabel::MouseClick(int, int) {
  if (AcceptsInput(*this)) Click();
}

TImage::TImage(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 16, 16); }

void TImage::SetPicture(TBitmap picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Changed();
}

void TImage::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Changed();
}

void TImage::MouseClick(int, int) {
  if (AcceptsInput(*this)) Click();
}

}  // namespace fw
