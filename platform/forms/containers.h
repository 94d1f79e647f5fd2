// Containers and the splitter: TGroupBox, TPanel, TScrollBox, TSplitter.
//
// Containers hold child controls (by parent; the owner owns them) and lay
// out their aligned children inside their client area: the group box below
// its caption line, the panel inside its bevels and border. TSplitter is a
// thin control aligned between two others; the operator drags it (DragBy)
// to resize the control it follows. None takes the focus.
// Ownership as TComponent; user-interface thread only; nothing raises.
#pragma once

#include "forms/control.h"

namespace fw {

class TGroupBox : public TControl {
 public:
  explicit TGroupBox(TComponent* owner);
  TRect ClientRect() const override;
  const char* Kind() const override { return "groupbox"; }
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TControl {
 public:
  explicit TPanel(TComponent* owner);

  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut bevel);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut bevel);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  TRect ClientRect() const override;
  const char* Kind() const override { return "panel"; }

 private:
  void Reshaped();
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  int borderWidth_ = 0;
  TAlignment alignment_ = TAlignment::taCenter;
};

class TScrollBox : public TControl {
 public:
  explicit TScrollBox(TComponent* owner);
  const char* Kind() const override { return "scrollbox"; }
};

class TSplitter : public TControl {
 public:
  explicit TSplitter(TComponent* owner);

  // Smallest size the resized control and the client-aligned sibling keep.
  int MinSize = 30;
  TNotifyEvent OnMoved;

  // The control the splitter resizes: the visible sibling with the same
  // alignment that touches the splitter on the side it is aligned to.
  TControl* ResizedControl() const;
  // The operator drags the splitter by delta pixels (down or right is
  // positive for top- and left-aligned splitters). Returns the applied
  // delta, 0 when nothing could move (no resized control, not aligned,
  // hidden or disabled).
  int DragBy(int delta);

  const char* Kind() const override { return "splitter"; }

 private:
  int Limit(int delta, const TControl& resized) const;
};

}  // namespace fw
