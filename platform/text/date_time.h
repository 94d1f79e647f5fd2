// Dates and times as OLE Automation values and as text.
//
// A TDateTime is days since 30/12/1899 (value 0) with the time of day as the
// fraction; values before that day are negative, and for them the fraction
// still counts forward into the day (-1.25 is 29/12/1899 06:00), as OLE
// Automation does.
//
// Years 1..9999 of the proleptic Gregorian calendar. Decoding rounds the
// time of day to the nearest millisecond and raises EConvertError for
// values outside those years (or NaN).
//
// FormatDateTime(format, value), letters case-insensitive: d dd, ddd dddd
//   (short/long day names), ddddd dddddd (short/long date format), m mm,
//   mmm mmmm (month names; "m"/"mm" after an hour token are minutes),
//   yy yyyy, h hh, n nn, s ss, z zzz, t tt (short/long time format),
//   am/pm and a/p (12-hour clock, written in the token's case), "/" and
//   ":" as the locale separators, 'quoted' or "quoted" text literally
//   (an unclosed quote raises EConvertError); "c" is the default text
//   below; any other character is copied.
// DateToStr: the short date. TimeToStr: the long time. DateTimeToStr: the
//   short date, followed by a blank and the long time when the time of day
//   is not midnight.
// StrToDate / StrToDateTime: read d/m/yyyy (order of the short date
//   format; day and month with 1 or 2 digits; a 2-digit year yy is 20yy
//   when below 50, else 19yy), StrToDateTime also an optional
//   " h:nn" or " h:nn:ss"; blanks around are ignored. They raise
//   EConvertError naming the text when it is not a valid date;
//   TryStrToDateTime returns false and leaves `value` untouched.
// EncodeDate/EncodeTime raise EConvertError for impossible dates/times.
// All functions are pure and thread-safe.
#pragma once

#include <string>
#include <string_view>

#include "text/format_settings.h"

namespace fw {

struct TDateParts {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0, MSec = 0;
};

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
TDateTime EncodeDateTime(const TDateParts& parts);
TDateParts DecodeDateTime(TDateTime value);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);
bool IsValidDate(int year, int month, int day);
// Whether the value decodes to a date of the years 1 to 9999.
bool IsValidDateTime(TDateTime value);

std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings = FormatSettings());
std::string DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
std::string TimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
TDateTime StrToDate(std::string_view text, const TFormatSettings& settings = FormatSettings());
TDateTime StrToDateTime(std::string_view text,
                        const TFormatSettings& settings = FormatSettings());
bool TryStrToDateTime(std::string_view text, TDateTime& value,
                      const TFormatSettings& settings = FormatSettings());

}  // namespace fw
