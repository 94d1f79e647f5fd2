#include "library/number_edit.h"

#include "base/errors.h"
#include "forms/canvas.h"
#include "text/format_float.h"

namespace fw {

TNumberEdit::TNumberEdit(TComponent* owner) : TCustomEdit(owner) { Show(); }

std::string TNumberEdit::Pattern() const {
  std::string pattern = thousands_ ? "#,##0" : "0";
  if (decimals_ > 0) pattern += "." + std::string(decimals_, '0');
  return pattern;
}

void TNumberEdit::Show() { SetText(FormatFloat(Pattern(), value_)); }

void TNumberEdit::SetValue(double value) {
  value_ = value;
  Show();
}

void TNumberEdit::SetDecimals(int decimals) {
  if (decimals < 0 || decimals > 15) throw Exception("Número de casas decimais inválido.");
  decimals_ = decimals;
  Show();
}

void TNumberEdit::SetThousandSeparator(bool on) {
  thousands_ = on;
  Show();
}

int TNumberEdit::TextLeft() const { return Width() - 3 - MeasureText(Font(), EditText()); }

bool TNumberEdit::TypeChar(const std::string& ch) {
  char c = ch.size() == 1 ? ch[0] : 0;
  bool digit = c >= '0' && c <= '9';
  bool comma = c == FormatSettings().DecimalSeparator && decimals_ > 0 &&
               TextWithoutSelection().find(c) == std::string::npos;
  // A minus only first, and only once.
  bool minus = c == '-' && SelStart() == 0 && TextWithoutSelection().find('-') == std::string::npos;
  if (!digit && !comma && !minus) return false;
  return TCustomEdit::TypeChar(ch);
}

void TNumberEdit::DoExit() {
  std::string text;
  for (char c : Text())
    if (c != FormatSettings().ThousandSeparator && c != ' ') text += c;
  value_ = text.empty() ? 0 : StrToFloat(text);
  Show();
  TCustomEdit::DoExit();
}

}  // namespace fw
