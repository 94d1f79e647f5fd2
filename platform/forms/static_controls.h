// Controls that only show something: TLabel and TImage.
//
// TLabel shows its Caption; it never takes the focus. Its FocusControl is
// the control a form focuses for the label's accelerator (the letter after
// "&" in the caption); the reference clears itself when that control is
// destroyed. TImage shows a picture (a TBitmap it holds by value);
// Transparent asks the display to draw the picture's bottom-left pixel
// colour as see-through.
// Ownership as TComponent; user-interface thread only; nothing raises.
#pragma once

#include "forms/component_ref.h"
#include "forms/control.h"

namespace fw {

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* owner);

  TControl* FocusControl() const { return focusControl_.Get(); }
  void SetFocusControl(TControl* control) { focusControl_.Reset(control); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  // With ShowAccelChar (the default) "&" marks the accelerator and "&&"
  // stands for a plain "&"; without it "&" is an ordinary character.
  bool ShowAccelChar = true;
  // The accelerator letter, upper case ('F' for "&Filial"); 0 when none.
  char Accelerator() const;
  // The caption as shown: without the accelerator marks.
  std::string PlainCaption() const;
  // Focuses FocusControl (the label's accelerator was pressed).
  void Activate();

  void MouseClick(int x, int y) override;
  const char* Kind() const override { return "label"; }

 private:
  TComponentRef<TControl> focusControl_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TImage : public TControl {
 public:
  explicit TImage(TComponent* owner);

  const TBitmap& Picture() const { return picture_; }
  void SetPicture(TBitmap picture);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  void MouseClick(int x, int y) override;
  const char* Kind() const override { return "image"; }

 private:
  TBitmap picture_;
  bool transparent_ = false;
};

}  // namespace fw
