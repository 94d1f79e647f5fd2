// TSpinEdit: an edit for a whole number with up and down steps.
//
// The text may be anything code sets (also "" for "no number"); Value
// reads it as an integer, giving MinValue for a text that is not one, and
// keeps it within MinValue..MaxValue (when MinValue < MaxValue; equal
// limits mean no limits). SetValue writes the kept value as text. The
// operator types digits (and "-" first when MinValue is negative); Up and
// Down step by Increment within the limits; leaving the box brings a
// number outside the limits inside. OnChange as TCustomEdit.
// Ownership as TComponent; user-interface thread only.
#pragma once

#include "forms/edit.h"

namespace fw {

class TSpinEdit : public TCustomEdit {
 public:
  explicit TSpinEdit(TComponent* owner);

  int MinValue = 0;
  int MaxValue = 100;
  int Increment = 1;
  int Value() const;
  void SetValue(int value);
  // The value kept within the limits.
  int CheckValue(int value) const;

  void KeyDown(TKey& key, TShiftState shift) override;
  const char* Kind() const override { return "spinedit"; }

 protected:
  bool TypeChar(const std::string& ch) override;
  void DoExit() override;

 private:
  bool ReadNumber(long long& value) const;
};

}  // namespace fw
