#include "library/date_edit_plus.h"

#include <cmath>

#include "base/errors.h"
#include "library/consiste.h"
#include "text/date_time.h"

namespace fw {

TDateEditPlus::TDateEditPlus(TComponent* owner) : TMaskEdit(owner) {
  SetEditMask("99/99/9999;1;_");
  SetWidth(101);
  SetHeight(21);
  SetColor(clWindow);
}

bool TDateEditPlus::IsEmpty() const { return Consiste::EmptyString(EditText()); }

bool TDateEditPlus::IsDateValid() const {
  if (IsEmpty()) return false;
  TDateTime date = 0;
  return TryStrToDateTime(EditText(), date) && date == std::floor(date);
}

TDateTime TDateEditPlus::GetDate() const {
  if (IsEmpty()) return 0;
  return StrToDate(EditText());
}

void TDateEditPlus::SetDate(TDateTime date) {
  if (date == 0) {
    SetText("");
    return;
  }
  SetText(DateToStr(date));
}

void TDateEditPlus::CheckValidDate() const {
  if (IsEmpty() || IsDateValid()) return;
  throw EConvertError("'" + EditText() + "' não é uma data válida.");
}

}  // namespace fw
