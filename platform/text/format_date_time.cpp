// Dates and times as text: FormatDateTime and the default texts built on it.
//
// Format letters are case-insensitive. A run of the same letter is one
// token, as long as the longest form of that letter ("ddddddd" is "dddddd"
// followed by "d"). "m"/"mm" right after an hour token mean minutes, so
// "hh:mm" shows hour and minutes; separators and quoted text in between do
// not break that link.
#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "text/date_time.h"

namespace fw {
namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view prefix) {
  if (text.size() - pos < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[pos + i]) != prefix[i]) return false;
  }
  return true;
}

// Index just past the quoted literal that opens at `start`.
size_t QuoteEnd(std::string_view format, size_t start) {
  size_t close = format.find(format[start], start + 1);
  if (close == std::string_view::npos) {
    throw EConvertError("Formato de data e hora inválido: '" + std::string(format) +
                        "' (aspas sem fechamento).");
  }
  return close + 1;
}

// Whether an "am/pm" or "a/p" token follows `pos`: it makes the hours
// before it use the 12-hour clock.
bool AmPmFollows(std::string_view format, size_t pos) {
  for (size_t i = pos; i < format.size();) {
    if (format[i] == '"' || format[i] == '\'') {
      i = QuoteEnd(format, i);
    } else if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p")) {
      return true;
    } else {
      ++i;
    }
  }
  return false;
}

size_t RunLength(std::string_view format, size_t pos) {
  size_t end = pos + 1;
  while (end < format.size() && Lower(format[end]) == Lower(format[pos])) ++end;
  return end - pos;
}

void AppendNumber(std::string& out, int number, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, number);
  out += text;
}

class DateTimeWriter {
 public:
  DateTimeWriter(TDateTime value, const TFormatSettings& settings)
      : parts_(DecodeDateTime(value)), day_of_week_(DayOfWeek(value)), settings_(settings) {}

  bool HasTimeOfDay() const {
    return parts_.Hour != 0 || parts_.Minute != 0 || parts_.Second != 0 || parts_.MSec != 0;
  }

  // Appends `format` applied to the value. `depth` stops formats of the
  // settings that would name themselves from recursing forever.
  void Write(std::string& out, std::string_view format, int depth = 0) const {
    if (depth > 2) return;
    bool after_hour = false;
    for (size_t i = 0; i < format.size();) {
      const char c = format[i];
      const char letter = Lower(c);
      if (c == '"' || c == '\'') {
        const size_t end = QuoteEnd(format, i);
        out.append(format.substr(i + 1, end - i - 2));
        i = end;
        continue;
      }
      if (letter == 'a') {
        i += WriteAmPm(out, format, i);
        continue;
      }
      const size_t used = WriteToken(out, format, i, after_hour, depth);
      if (letter >= 'a' && letter <= 'z') after_hour = letter == 'h';
      i += used;
    }
  }

 private:
  // Writes the token at `pos` (a run of one letter, a separator or a
  // literal character) and returns its length.
  size_t WriteToken(std::string& out, std::string_view format, size_t pos, bool after_hour,
                    int depth) const {
    const size_t run = RunLength(format, pos);
    switch (Lower(format[pos])) {
      case 'd':
        return WriteDay(out, std::min<size_t>(run, 6), depth);
      case 'm':
        return WriteMonthOrMinute(out, std::min<size_t>(run, 4), after_hour);
      case 'y':
        if (run <= 2) AppendNumber(out, parts_.Year % 100, 2);
        if (run > 2) AppendNumber(out, parts_.Year, 4);
        return std::min<size_t>(run, 4);
      case 'h': {
        const size_t used = std::min<size_t>(run, 2);
        const bool twelve_hours = AmPmFollows(format, pos + used);
        AppendNumber(out, twelve_hours ? Hour12() : parts_.Hour, static_cast<int>(used));
        return used;
      }
      case 'n':
        return AppendTwoDigitField(out, parts_.Minute, run);
      case 's':
        return AppendTwoDigitField(out, parts_.Second, run);
      case 'z':
        AppendNumber(out, parts_.MSec, run == 1 ? 1 : 3);
        return std::min<size_t>(run, 3);
      case 't':
        Write(out, run == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, depth + 1);
        return std::min<size_t>(run, 2);
      case 'c':
        Write(out, settings_.ShortDateFormat, depth + 1);
        if (HasTimeOfDay()) {
          out += ' ';
          Write(out, settings_.LongTimeFormat, depth + 1);
        }
        return 1;
      case '/':
        out += settings_.DateSeparator;
        return 1;
      case ':':
        out += settings_.TimeSeparator;
        return 1;
      default:
        out += format[pos];
        return 1;
    }
  }

  // "n"/"nn", "s"/"ss": one run covers at most two letters.
  static size_t AppendTwoDigitField(std::string& out, int value, size_t run) {
    const size_t used = std::min<size_t>(run, 2);
    AppendNumber(out, value, static_cast<int>(used));
    return used;
  }

  int Hour12() const { return parts_.Hour % 12 == 0 ? 12 : parts_.Hour % 12; }

  size_t WriteDay(std::string& out, size_t count, int depth) const {
    switch (count) {
      case 1:
      case 2:
        AppendNumber(out, parts_.Day, static_cast<int>(count));
        break;
      case 3:
        out += settings_.ShortDayNames[day_of_week_ - 1];
        break;
      case 4:
        out += settings_.LongDayNames[day_of_week_ - 1];
        break;
      case 5:
        Write(out, settings_.ShortDateFormat, depth + 1);
        break;
      default:
        Write(out, settings_.LongDateFormat, depth + 1);
        break;
    }
    return count;
  }

  size_t WriteMonthOrMinute(std::string& out, size_t count, bool after_hour) const {
    if (count <= 2 && after_hour) {
      AppendNumber(out, parts_.Minute, static_cast<int>(count));
    } else if (count <= 2) {
      AppendNumber(out, parts_.Month, static_cast<int>(count));
    } else {
      out += (count == 3 ? settings_.ShortMonthNames : settings_.LongMonthNames)[parts_.Month - 1];
    }
    return count;
  }

  // "am/pm" or "a/p": writes the half of the token for the time of day,
  // in the token's own case. A lone "a" is a literal.
  size_t WriteAmPm(std::string& out, std::string_view format, size_t pos) const {
    const bool morning = parts_.Hour < 12;
    if (StartsWithNoCase(format, pos, "am/pm")) {
      out += format.substr(morning ? pos : pos + 3, 2);
      return 5;
    }
    if (StartsWithNoCase(format, pos, "a/p")) {
      out += format[morning ? pos : pos + 2];
      return 3;
    }
    out += format[pos];
    return 1;
  }

  TDateParts parts_;
  int day_of_week_;
  const TFormatSettings& settings_;
};

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings) {
  std::string out;
  DateTimeWriter(value, settings).Write(out, format);
  return out;
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(settings.ShortDateFormat, value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(settings.LongTimeFormat, value, settings);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime("c", value, settings);
}

}  // namespace fw
