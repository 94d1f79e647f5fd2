// TNumberEdit: a number box of the shared library.
//
// Shows Value with Decimals decimals, thousands separators when
// ThousandSeparator is on, and no currency sign (FormatFloat in the
// operators' locale). The operator may type digits, one decimal comma and
// a leading minus; leaving the box reads the text back (blank is 0) and
// shows it formatted again; a text that is not a number raises
// EConvertError and keeps the focus. User-interface thread only.
#pragma once

#include "forms/edit.h"

namespace fw {

class TNumberEdit : public TCustomEdit {
 public:
  explicit TNumberEdit(TComponent* owner);

  double Value() const { return value_; }
  void SetValue(double value);
  int Decimals() const { return decimals_; }
  void SetDecimals(int decimals);
  bool ThousandSeparator() const { return thousands_; }
  void SetThousandSeparator(bool on);
  const char* Kind() const override { return "numberedit"; }
  // The number stands at the right edge.
  int TextLeft() const override;

 protected:
  bool TypeChar(const std::string& ch) override;
  void DoExit() override;

 private:
  std::string Pattern() const;
  void Show();
  double value_ = 0;
  int decimals_ = 2;
  bool thousands_ = true;
};

}  // namespace fw
