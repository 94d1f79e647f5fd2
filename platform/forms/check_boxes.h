// Check boxes and radio buttons.
//
// TCheckBox: SetChecked runs OnClick whenever the state changes, whether
// code or the operator changed it; setting the state it already has runs
// nothing. The operator's click (or Space while it has the focus) toggles
// it. Click() by code only runs OnClick.
//
// TRadioButton: the radio buttons with the same parent form one group.
// Checking one (by code or by the operator) unchecks the others of its
// group without running anything for them, then runs its OnClick, but only
// when it was not checked before; unchecking by code runs nothing. The
// operator's click on a checked button does nothing. Only the checked
// button of a group is a tab stop, so Tab reaches a group at its choice;
// the arrow keys then move the focus round the group (in tab order) and
// check the button they reach.
//
// The operator's input to a hidden or disabled button is ignored; a click
// first moves the focus to the button (the exit handler of the control
// that had it may refuse by raising, and then nothing is checked).
// Ownership as TComponent; user-interface thread only; raises only what
// the handlers raise (the state is already changed then).
#pragma once

#include "forms/control.h"

namespace fw {

class TCheckBox : public TControl {
 public:
  explicit TCheckBox(TComponent* owner);

  bool Checked() const { return checked_; }
  virtual void SetChecked(bool checked);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  bool AcceptsFocus() const override { return true; }
  void MouseClick(int x, int y) override;
  void KeyDown(TKey& key, TShiftState shift) override;
  const char* Kind() const override { return "checkbox"; }

 protected:
  // The operator toggles the box.
  virtual void Toggle();
  // Shows a state without running anything (data-aware boxes).
  void ShowChecked(bool checked);

 private:
  bool checked_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};

class TRadioButton : public TControl {
 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // The other radio buttons with the same parent.
  std::vector<TRadioButton*> Siblings() const;

  bool AcceptsFocus() const override { return true; }
  void MouseClick(int x, int y) override;
  void KeyDown(TKey& key, TShiftState shift) override;
  const char* Kind() const override { return "radiobutton"; }

 private:
  void SetState(bool checked);
  void MoveInGroup(bool forward);
  bool checked_ = false;
};

}  // namespace fw
