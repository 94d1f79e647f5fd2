// Reading dates and times typed by the operators.
//
// A date is three numbers separated by the date separator, in the order of
// the short date format (day/month/year for pt-BR). Day and month have one
// or two digits; the year has four digits, or two: 00..49 are 2000..2049 and
// 50..99 are 1950..1999. StrToDateTime also accepts, after blanks, a time
// "h:nn" or "h:nn:ss" (hours with one or two digits). Blanks around the
// text are ignored; anything else makes the text invalid.
#include <string>
#include <string_view>

#include "base/errors.h"
#include "text/date_time.h"

namespace fw {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Reads a run of digits at `pos`; fails unless it has min..max digits.
bool ReadNumber(std::string_view text, size_t& pos, size_t min_digits, size_t max_digits,
                int& number) {
  size_t end = pos;
  number = 0;
  while (end < text.size() && IsDigit(text[end]) && end - pos < max_digits) {
    number = number * 10 + (text[end++] - '0');
  }
  if (end - pos < min_digits || (end < text.size() && IsDigit(text[end]))) return false;
  pos = end;
  return true;
}

bool ReadSeparator(std::string_view text, size_t& pos, char separator) {
  if (pos >= text.size() || text[pos] != separator) return false;
  ++pos;
  return true;
}

// Order of day, month and year in the short date format, e.g. "dmy".
std::string DateOrder(const TFormatSettings& settings) {
  std::string order;
  for (char c : settings.ShortDateFormat) {
    const char letter = static_cast<char>(c | 0x20);
    if ((letter == 'd' || letter == 'm' || letter == 'y') &&
        order.find(letter) == std::string::npos) {
      order += letter;
    }
  }
  return order.size() == 3 ? order : "dmy";
}

bool ReadDate(std::string_view text, size_t& pos, const TFormatSettings& settings,
              TDateTime& date) {
  int year = 0, month = 0, day = 0;
  const std::string order = DateOrder(settings);
  for (size_t field = 0; field < 3; ++field) {
    if (field > 0 && !ReadSeparator(text, pos, settings.DateSeparator)) return false;
    if (order[field] == 'y') {
      const size_t start = pos;
      if (!ReadNumber(text, pos, 2, 4, year) || pos - start == 3) return false;
      if (pos - start == 2) year += year < 50 ? 2000 : 1900;
    } else if (!ReadNumber(text, pos, 1, 2, order[field] == 'd' ? day : month)) {
      return false;
    }
  }
  if (!IsValidDate(year, month, day)) return false;
  date = EncodeDate(year, month, day);
  return true;
}

bool ReadTime(std::string_view text, size_t& pos, const TFormatSettings& settings,
              TDateTime& time) {
  int hour = 0, minute = 0, second = 0;
  if (!ReadNumber(text, pos, 1, 2, hour) || !ReadSeparator(text, pos, settings.TimeSeparator) ||
      !ReadNumber(text, pos, 2, 2, minute)) {
    return false;
  }
  if (pos < text.size() && text[pos] == settings.TimeSeparator) {
    ++pos;
    if (!ReadNumber(text, pos, 2, 2, second)) return false;
  }
  if (hour > 23 || minute > 59 || second > 59) return false;
  time = EncodeTime(hour, minute, second, 0);
  return true;
}

bool Parse(std::string_view text, bool with_time, const TFormatSettings& settings,
           TDateTime& value) {
  const std::string_view trimmed = TrimBlanks(text);
  size_t pos = 0;
  TDateTime date = 0, time = 0;
  if (!ReadDate(trimmed, pos, settings, date)) return false;
  if (with_time && pos < trimmed.size()) {
    if (!IsBlank(trimmed[pos])) return false;
    while (IsBlank(trimmed[pos])) ++pos;  // the text does not end in a blank
    if (!ReadTime(trimmed, pos, settings, time)) return false;
  }
  if (pos != trimmed.size()) return false;
  value = date < 0 ? date - time : date + time;
  return true;
}

[[noreturn]] void ThrowNotADate(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' não é uma data válida.");
}

}  // namespace

TDateTime StrToDate(std::string_view text, const TFormatSettings& settings) {
  TDateTime value = 0;
  if (!Parse(text, false, settings, value)) ThrowNotADate(text);
  return value;
}

TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings) {
  TDateTime value = 0;
  if (!Parse(text, true, settings, value)) ThrowNotADate(text);
  return value;
}

bool TryStrToDateTime(std::string_view text, TDateTime& value, const TFormatSettings& settings) {
  return Parse(text, true, settings, value);
}

}  // namespace fw
