// Push buttons: TButton and TSpeedButton (toolbar and flat buttons).
//
// Click() by code runs OnClick whatever the button's state. The
// operator's click (MouseClick, or Space/Enter on a focused TButton) does
// nothing on a hidden or disabled button; otherwise it runs Click().
// TButton takes the focus (its click first moves it there, so the exit
// handler of the control that had it runs and may refuse by raising);
// TButton::Click sets its form's ModalResult when the button has one.
//
// TSpeedButton never takes the focus. Its Glyph holds NumGlyphs pictures
// side by side (up, disabled, ...; "two-state glyphs" have two). With a
// GroupIndex other than 0 the button stays down when clicked, and the
// other speed buttons of the same parent and group come up; AllowAllUp
// lets a click on a down button bring it up.
// Ownership as TComponent; user-interface thread only; raises only what
// OnClick raises.
#pragma once

#include "forms/control.h"

namespace fw {

class TButton : public TControl {
 public:
  explicit TButton(TComponent* owner);

  int ModalResult = 0;
  bool Default = false;
  bool Cancel = false;

  void Click() override;
  bool AcceptsFocus() const override { return true; }
  void MouseClick(int x, int y) override;
  void KeyDown(TKey& key, TShiftState shift) override;
  const char* Kind() const override { return "button"; }
};

class TSpeedButton : public TControl {
 public:
  explicit TSpeedButton(TComponent* owner);

  const TBitmap& Glyph() const { return glyph_; }
  void SetGlyph(TBitmap glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int count);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  bool Down() const { return down_; }
  // With a group index, putting a button down brings the others up.
  void SetDown(bool down);
  int GroupIndex = 0;
  bool AllowAllUp = false;

  void MouseClick(int x, int y) override;
  const char* Kind() const override { return "speedbutton"; }

 private:
  TBitmap glyph_;
  int numGlyphs_ = 1;
  bool flat_ = false;
  bool down_ = false;
};

}  // namespace fw
