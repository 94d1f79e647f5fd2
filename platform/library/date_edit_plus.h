// TDateEditPlus: a date box of the shared library, dd/mm/yyyy.
//
// A masked edit with the mask "99/99/9999;1;_": the text carries the
// separators; an untouched box shows "__/__/____" and its Text is "".
// GetDate gives the typed date (0 for an empty box; raises EConvertError
// for a text that is not a calendar date); SetDate(0) empties the box;
// IsDateValid tells whether the typed text is a calendar date (false for
// an empty box); CheckValidDate returns for an empty or valid box and
// raises EConvertError "'31/02/2004' não é uma data válida." otherwise.
// A valid date is shown in ValidColor. User-interface thread only.
#pragma once

#include "forms/mask_edit.h"
#include "text/format_settings.h"

namespace fw {

class TDateEditPlus : public TMaskEdit {
 public:
  explicit TDateEditPlus(TComponent* owner);

  TDateTime GetDate() const;
  void SetDate(TDateTime date);
  bool IsDateValid() const;
  void CheckValidDate() const;
  bool IsEmpty() const;
  TColor ValidColor = clBlue;
  const char* Kind() const override { return "dateedit"; }
};

}  // namespace fw
