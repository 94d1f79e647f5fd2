#include "confirmation/decimal_cut.h"

#include <cmath>
#include <string>

#include "text/format_float.h"

double CortaCentavos(double value) {
  const fw::TFormatSettings settings = fw::FormatSettings();
  std::string text = fw::FloatToStr(value, settings);
  // Exponent forms ("1E-5", "1E20") are whole numbers or below a cent.
  if (text.find('E') != std::string::npos) return std::abs(value) < 1 ? 0.0 : value;
  size_t separator = text.find(settings.DecimalSeparator);
  if (separator != std::string::npos && text.size() > separator + 3)
    text.resize(separator + 3);
  return fw::StrToFloat(text, settings);
}
