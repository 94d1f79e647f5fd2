// Numbers as text in the operators' locale: pattern formatting (FormatFloat),
// general formatting (FloatToStr) and reading (StrToFloat).
//
// All formatting works on the value written in decimal with 15 significant
// digits, so a value typed as 1,005 is treated as 1,005 and not as its
// binary neighbour 1,00499999999999989...; rounding to the pattern's
// decimals then happens half away from zero on those decimal digits.
#include "text/format_float.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/errors.h"

namespace fw {
namespace {

constexpr int kSignificantDigits = 15;

// A non-negative number as decimal digits: value = 0.<digits> x 10^point,
// i.e. `point` is the number of digits before the decimal point (it may be
// zero, negative or larger than the digit count). No leading or trailing
// zeros are kept; empty digits mean zero.
struct DecimalDigits {
  std::string digits;
  int point = 0;

  bool IsZero() const { return digits.empty(); }
  // The digit worth 10^power ('0' outside the stored digits).
  char DigitAt(int power) const {
    int index = point - 1 - power;
    return index >= 0 && index < static_cast<int>(digits.size()) ? digits[index] : '0';
  }
  int IntegerDigits() const { return IsZero() ? 0 : std::max(point, 0); }
};

void StripTrailingZeros(DecimalDigits& number) {
  while (!number.digits.empty() && number.digits.back() == '0') number.digits.pop_back();
  if (number.digits.empty()) number.point = 0;
}

// The finite, non-negative `magnitude` with 15 significant digits.
DecimalDigits SignificantDigits(double magnitude) {
  DecimalDigits number;
  if (magnitude == 0) return number;
  // Scientific form "d.ddddddddddddddde[+-]xx" rounds correctly to 15 digits.
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                 std::chars_format::scientific, kSignificantDigits - 1);
  std::string_view text(buffer, ec == std::errc() ? end - buffer : 0);
  size_t e = text.find('e');
  if (e == std::string_view::npos) return number;  // not reached for finite values
  number.digits = text.substr(0, 1);
  number.digits.append(text.substr(2, e - 2));
  std::string_view exponent_text = text.substr(e + 1);
  bool negative_exponent = exponent_text.front() == '-';
  int exponent = 0;
  std::from_chars(exponent_text.data() + 1, exponent_text.data() + exponent_text.size(), exponent);
  number.point = (negative_exponent ? -exponent : exponent) + 1;
  StripTrailingZeros(number);
  return number;
}

// Rounds to `decimals` places, half away from zero (on the magnitude).
DecimalDigits RoundToDecimals(DecimalDigits number, int decimals) {
  int keep = number.point + decimals;
  if (keep >= static_cast<int>(number.digits.size())) return number;
  if (keep < 0) return DecimalDigits{};
  bool round_up = number.digits[keep] >= '5';
  number.digits.resize(keep);
  if (round_up) {
    int i = keep - 1;
    while (i >= 0 && number.digits[i] == '9') number.digits[i--] = '0';
    if (i < 0) {
      number.digits.insert(number.digits.begin(), '1');
      ++number.point;
    } else {
      ++number.digits[i];
    }
  }
  StripTrailingZeros(number);
  return number;
}

[[noreturn]] void ThrowBadPattern(std::string_view format, const char* reason) {
  throw EConvertError("Formato numérico inválido: '" + std::string(format) + "' (" + reason + ").");
}

// Index just past the quoted literal that opens at `start`.
size_t SkipQuoted(std::string_view text, size_t start, std::string_view format) {
  size_t close = text.find(text[start], start + 1);
  if (close == std::string_view::npos) ThrowBadPattern(format, "aspas sem fechamento");
  return close + 1;
}

// The ";"-separated sections of a pattern (quotes respected), at most three.
std::vector<std::string_view> SplitSections(std::string_view format) {
  std::vector<std::string_view> sections;
  size_t begin = 0;
  for (size_t i = 0; i < format.size();) {
    char c = format[i];
    if (c == '\'' || c == '"') {
      i = SkipQuoted(format, i, format);
    } else if (c == ';') {
      sections.push_back(format.substr(begin, i - begin));
      begin = ++i;
    } else {
      ++i;
    }
  }
  sections.push_back(format.substr(begin));
  if (sections.size() > 3) ThrowBadPattern(format, "mais de três seções");
  return sections;
}

// What a pattern section asks for.
struct SectionLayout {
  int integer_places = 0;      // "0"/"#" before the decimal point
  int fraction_places = 0;     // "0"/"#" after it
  int mandatory_fraction = 0;  // fraction places up to the last "0"
  bool thousands = false;      // a "," before the decimal point
};

SectionLayout AnalyzeSection(std::string_view section, std::string_view format) {
  SectionLayout layout;
  bool in_fraction = false;
  for (size_t i = 0; i < section.size();) {
    char c = section[i];
    if (c == '\'' || c == '"') {
      i = SkipQuoted(section, i, format);
      continue;
    }
    if (c == '0' || c == '#') {
      if (!in_fraction) {
        ++layout.integer_places;
      } else {
        ++layout.fraction_places;
        if (c == '0') layout.mandatory_fraction = layout.fraction_places;
      }
    } else if (c == '.') {
      in_fraction = true;
    } else if (c == ',' && !in_fraction) {
      layout.thousands = true;
    } else if ((c == 'E' || c == 'e') && i + 1 < section.size() &&
               (section[i + 1] == '+' || section[i + 1] == '-')) {
      ThrowBadPattern(format, "notação científica não é suportada");
    }
    ++i;
  }
  return layout;
}

// Writes `number` into the pattern section. Integer digits beyond the
// pattern's places all go to its first placeholder; "#" places print only
// significant digits, "0" places always print.
std::string RenderSection(std::string_view section, const SectionLayout& layout,
                          const DecimalDigits& number, bool minus,
                          const TFormatSettings& settings) {
  std::string out = minus ? "-" : "";
  const int integer_digits = number.IntegerDigits();
  int fraction_shown = layout.mandatory_fraction;
  for (int j = layout.fraction_places; j > fraction_shown; --j) {
    if (number.DigitAt(-j) != '0') {
      fraction_shown = j;
      break;
    }
  }
  bool started = false;  // an integer digit has been written
  auto emit_integer_digit = [&](int power) {
    out += number.DigitAt(power);
    started = true;
    if (layout.thousands && power > 0 && power % 3 == 0) out += settings.ThousandSeparator;
  };
  int integer_seen = 0, fraction_seen = 0;
  bool in_fraction = false;
  for (size_t i = 0; i < section.size();) {
    char c = section[i];
    if (c == '\'' || c == '"') {
      size_t end = section.find(c, i + 1);  // closed: checked by AnalyzeSection
      out.append(section.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    if ((c == '0' || c == '#') && !in_fraction) {
      int power = layout.integer_places - 1 - integer_seen++;
      if (integer_seen == 1) {
        for (int extra = integer_digits - 1; extra > power; --extra) emit_integer_digit(extra);
      }
      if (power < integer_digits || c == '0' || started) emit_integer_digit(power);
    } else if (c == '0' || c == '#') {
      if (fraction_seen < fraction_shown) out += number.DigitAt(-1 - fraction_seen);
      ++fraction_seen;
    } else if (c == '.') {
      if (!in_fraction) {
        in_fraction = true;
        if (layout.integer_places == 0) {
          for (int power = integer_digits - 1; power >= 0; --power) emit_integer_digit(power);
        }
        if (fraction_shown > 0) out += settings.DecimalSeparator;
      }
    } else if (c != ',') {
      out += c;
    }
    ++i;
  }
  return out;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string FormatFloat(std::string_view format, double value, const TFormatSettings& settings) {
  if (format.empty() || !std::isfinite(value)) return FloatToStr(value, settings);
  std::vector<std::string_view> sections = SplitSections(format);
  const bool negative = value < 0;
  size_t chosen = (negative && sections.size() >= 2 && !sections[1].empty()) ? 1 : 0;
  SectionLayout layout = AnalyzeSection(sections[chosen], format);
  DecimalDigits number =
      RoundToDecimals(SignificantDigits(std::fabs(value)), layout.fraction_places);
  if (number.IsZero()) {
    // Whatever rounds to zero is shown as zero: no "-0".
    chosen = (sections.size() >= 3 && !sections[2].empty()) ? 2 : 0;
    layout = AnalyzeSection(sections[chosen], format);
  }
  bool minus = negative && chosen == 0 && !number.IsZero();
  return RenderSection(sections[chosen], layout, number, minus, settings);
}

std::string FloatToStr(double value, const TFormatSettings& settings) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  DecimalDigits number = SignificantDigits(std::fabs(value));
  std::string out = value < 0 ? "-" : "";
  const int exponent = number.point - 1;
  const int size = static_cast<int>(number.digits.size());
  if (exponent >= kSignificantDigits || exponent < -4) {
    out += number.digits.front();
    if (size > 1) (out += settings.DecimalSeparator).append(number.digits, 1);
    out += 'E';
    out += std::to_string(exponent);
  } else if (number.point <= 0) {
    out += '0';
    out += settings.DecimalSeparator;
    out.append(-number.point, '0');
    out += number.digits;
  } else {
    out.append(number.digits, 0, std::min(number.point, size));
    if (number.point > size) out.append(number.point - size, '0');
    if (size > number.point) (out += settings.DecimalSeparator).append(number.digits, number.point);
  }
  return out;
}

bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& settings) {
  std::string_view s = TrimBlanks(text);
  // Rewritten in the C form ("." as decimal point) for std::from_chars,
  // which, unlike strtod, does not depend on the process locale.
  std::string c_form;
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  size_t mantissa_digits = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i, ++mantissa_digits) c_form += s[i];
  if (i < s.size() && s[i] == settings.DecimalSeparator) {
    c_form += '.';
    for (++i; i < s.size() && IsDigit(s[i]); ++i, ++mantissa_digits) c_form += s[i];
  }
  if (mantissa_digits == 0) return false;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    c_form += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) c_form += s[i++];
    size_t exponent_digits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++exponent_digits) c_form += s[i];
    if (exponent_digits == 0) return false;
  }
  if (i != s.size()) return false;
  double parsed = 0;
  const char* end = c_form.data() + c_form.size();
  auto [ptr, ec] = std::from_chars(c_form.data(), end, parsed);
  if (ec != std::errc() || ptr != end) return false;
  value = negative ? -parsed : parsed;
  return true;
}

double StrToFloat(std::string_view text, const TFormatSettings& settings) {
  double value = 0;
  if (!TryStrToFloat(text, value, settings)) {
    throw EConvertError("'" + std::string(text) + "' não é um número válido.");
  }
  return value;
}

}  // namespace fw
