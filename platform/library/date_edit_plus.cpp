#include "library/date_edit_plus.h"

#include <cmath>

#include "base/errors.h"
#include "forms/text_input.h"
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

bool TDateEditPlus::IsPickedDate(std::string_view text) {
  if (text.size() != 10 || text[2] != '/' || text[5] != '/') return false;
  for (size_t i : {0u, 1u, 3u, 4u, 6u, 7u, 8u, 9u})
    if (text[i] < '0' || text[i] > '9') return false;
  auto number = [&](size_t from, size_t count) {
    int value = 0;
    for (size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  return IsValidDate(number(6, 4), number(3, 2), number(0, 2));
}

bool TDateEditPlus::PickDate(std::string_view text) {
  if (!IsPickedDate(text) || !AcceptsInput(*this) || !CanType()) return false;
  FocusForInput(*this);
  if (!Focused()) return false;  // the control that had the focus kept it
  SetText(text);
  return true;
}

}  // namespace fw
