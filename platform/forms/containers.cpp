#include "forms/containers.h"

#include <algorithm>

#include "forms/text_input.h"

namespace fw {

// ---------------------------------------------------------------------------
// TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 185, 105); }

TRect TGroupBox::ClientRect() const {
  // Below the caption line, inside the frame.
  return {2, 15, std::max(2, Width() - 2), std::max(15, Height() - 2)};
}

// ---------------------------------------------------------------------------
// TPanel

TPanel::TPanel(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 185, 41); }

void TPanel::SetBevelOuter(TBevelCut bevel) {
  if (bevel == bevelOuter_) return;
  bevelOuter_ = bevel;
  Reshaped();
}

void TPanel::SetBevelInner(TBevelCut bevel) {
  if (bevel == bevelInner_) return;
  bevelInner_ = bevel;
  Reshaped();
}

void TPanel::SetBorderWidth(int width) {
  width = std::max(0, width);
  if (width == borderWidth_) return;
  borderWidth_ = width;
  Reshaped();
}

void TPanel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Changed();
}

void TPanel::Reshaped() {
  Changed();
  Realign();
}

TRect TPanel::ClientRect() const {
  int inset = borderWidth_ + (bevelOuter_ != TBevelCut::bvNone ? 1 : 0) +
              (bevelInner_ != TBevelCut::bvNone ? 1 : 0);
  return {inset, inset, std::max(inset, Width() - inset), std::max(inset, Height() - inset)};
}

// ---------------------------------------------------------------------------
// TScrollBox

TScrollBox::TScrollBox(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 185, 41); }

// ---------------------------------------------------------------------------
// TSplitter

TSplitter::TSplitter(TComponent* owner) : TControl(owner) { SetBounds(0, 0, 3, 3); }

TControl* TSplitter::ResizedControl() const {
  if (!Parent()) return nullptr;
  for (TControl* c : Parent()->Controls()) {
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    bool touches = false;
    switch (Align()) {
      case TAlign::alTop: touches = c->Top() + c->Height() == Top(); break;
      case TAlign::alBottom: touches = c->Top() == Top() + Height(); break;
      case TAlign::alLeft: touches = c->Left() + c->Width() == Left(); break;
      case TAlign::alRight: touches = c->Left() == Left() + Width(); break;
      default: break;
    }
    if (touches) return c;
  }
  return nullptr;
}

int TSplitter::Limit(int delta, const TControl& resized) const {
  bool vertical = Align() == TAlign::alTop || Align() == TAlign::alBottom;
  int size = vertical ? resized.Height() : resized.Width();
  // The resized control keeps MinSize; the client-aligned sibling too.
  int shrink = std::min(0, MinSize - size);
  int grow = delta;
  for (TControl* c : Parent()->Controls())
    if (c->Visible() && c->Align() == TAlign::alClient)
      grow = std::min(grow, (vertical ? c->Height() : c->Width()) - MinSize);
  return std::clamp(delta, std::min(shrink, 0), std::max(grow, 0));
}

int TSplitter::DragBy(int delta) {
  if (!AcceptsInput(*this) || delta == 0) return 0;
  TControl* resized = ResizedControl();
  if (!resized) return 0;
  // Growth of the resized control: a bottom or right splitter grows it
  // when dragged up or left.
  bool inverted = Align() == TAlign::alBottom || Align() == TAlign::alRight;
  int growth = Limit(inverted ? -delta : delta, *resized);
  if (growth == 0) return 0;
  if (Align() == TAlign::alTop || Align() == TAlign::alBottom)
    resized->SetHeight(resized->Height() + growth);
  else
    resized->SetWidth(resized->Width() + growth);
  if (OnMoved) {
    TNotifyEvent handler = OnMoved;
    handler(*this);
  }
  return inverted ? -growth : growth;
}

}  // namespace fw
