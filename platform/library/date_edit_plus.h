// TDateEditPlus: a date box of the shared library, dd/mm/yyyy.
//
// A masked edit with the mask "99/99/9999;1;_": the text carries the
// separators; an untouched box shows "__/__/____" and its Text is "".
// GetDate gives the typed date (0 for an empty box; raises EConvertError
// for a text that is not a calendar date); SetDate(0) empties the box;
// IsDateValid tells whether the typed text is a calendar date (false for
// an empty box); CheckValidDate returns for an empty or valid box and
// raises EConvertError "'31/02/2004' não é uma data válida." otherwise.
// A valid date is shown in ValidColor.
//
// The box has a calendar button at its right end (drawn by the display):
// PickDate takes the date chosen there, "dd/mm/yyyy", as the operator's
// input. It is refused (false, nothing changes) for a text that is not a
// calendar date of the years 1..9999 in exactly that form, and for a box
// that does not take typing (hidden, disabled, read-only). Otherwise the
// focus moves to the box first when it does not have it (running the exit
// handlers of the control that had it: an exception there passes on, and
// when the focus does not arrive nothing is set), then the date replaces
// the text as typed text: OnChange runs once. DayNames are the weekday
// names of the calendar, Sunday first. User-interface thread only.
#pragma once

#include <array>
#include <string>
#include <string_view>

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
  // The calendar's choice; false when refused (see above).
  bool PickDate(std::string_view text);
  // Whether text is a date as the calendar sends it: "dd/mm/yyyy".
  static bool IsPickedDate(std::string_view text);
  std::array<std::string, 7> DayNames{"Domingo", "Segunda", "Terça", "Quarta",
                                      "Quinta",  "Sexta",   "Sábado"};
  TColor ValidColor = clBlue;
  const char* Kind() const override { return "dateedit"; }
};

}  // namespace fw
