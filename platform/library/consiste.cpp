#include "library/consiste.h"

#include <cmath>

#include "base/errors.h"
#include "base/text_case.h"
#include "forms/interaction.h"
#include "text/format_float.h"

namespace Consiste {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  size_t last = text.size();
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

constexpr std::string_view kMaskLiterals = "./-:_(),";

}  // namespace

void MensErro(const std::string& text, bool abort) {
  fw::Interaction().ShowError(text);
  if (abort) throw fw::EAbort();
}

bool EmptyString(std::string_view text) {
  for (char c : text)
    if (!IsBlank(c) && kMaskLiterals.find(c) == std::string_view::npos) return false;
  return true;
}

std::string Ajusta(std::string_view text, int width) {
  std::string code = fw::UpperCase(Trim(text));
  if (code.empty()) return code;
  size_t length = fw::Utf8Length(code);
  if (width > 0 && length < static_cast<size_t>(width))
    code.insert(0, static_cast<size_t>(width) - length, '0');
  return code;
}

double RoundDec(double value, int decimals) {
  if (decimals < 0 || decimals > 15)
    throw fw::Exception("Número de casas decimais inválido: " + std::to_string(decimals) + ".");
  if (!std::isfinite(value)) return value;
  // FormatFloat rounds half away from zero on the 15-digit decimal form;
  // reading its text back gives the rounded value. One settings object for
  // both ways, so the decimal separator always matches.
  const fw::TFormatSettings settings = fw::FormatSettings();
  std::string pattern = decimals == 0 ? "0" : "0." + std::string(static_cast<size_t>(decimals), '0');
  return fw::StrToFloat(fw::FormatFloat(pattern, value, settings), settings);
}

std::string PictPess(std::string_view personType) {
  std::string type = fw::UpperCase(Trim(personType));
  if (type == "F") return "999.999.999-99;0;_";
  if (type == "J") return "99.999.999/9999-99;0;_";
  return "cccccccccccccccccccc;0; ";
}

}  // namespace Consiste
