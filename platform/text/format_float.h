// Numbers as text, in the operators' locale.
//
// FormatFloat(format, value): pattern formatting. In the pattern "0" is a
//   mandatory digit, "#" an optional one, "." the place of the decimal
//   separator and "," anywhere before it switches thousands separators on
//   (every 3 digits). Integer digits beyond the pattern's places are all
//   printed. The value, as written with 15 significant digits, is rounded
//   half away from zero to the pattern's number of decimals (1,005 with
//   "0.00" gives "1,01"). Sections separated by ";" give
//   positive;negative;zero forms; a value that rounds to zero uses the zero
//   section (or the first) and never shows "-0". With one section a
//   negative value gets a leading "-". Text in quotes and other characters
//   are copied literally. An empty pattern, NaN or infinity give FloatToStr.
//   Unclosed quotes, more than three sections and exponent patterns ("E+")
//   raise EConvertError.
// FloatToStr(value): general format, up to 15 significant digits, no
//   trailing zeros; exponent form ("1E20", "1,5E-7") when the decimal
//   exponent is 15 or more or below -4. NaN and infinities: "NAN", "INF",
//   "-INF".
// StrToFloat(text): reads [sign]digits[separator digits][E[sign]digits]
//   with the locale's decimal separator, blanks around ignored (thousands
//   separators are not accepted); raises EConvertError naming the text when
//   it is not a number or does not fit a double. TryStrToFloat leaves
//   `value` untouched and returns false instead.
// All functions are pure and thread-safe.
#pragma once

#include <string>
#include <string_view>

#include "text/format_settings.h"

namespace fw {

std::string FormatFloat(std::string_view format, double value,
                        const TFormatSettings& settings = FormatSettings());
std::string FloatToStr(double value, const TFormatSettings& settings = FormatSettings());
double StrToFloat(std::string_view text, const TFormatSettings& settings = FormatSettings());
bool TryStrToFloat(std::string_view text, double& value,
                   const TFormatSettings& settings = FormatSettings());

}  // namespace fw
