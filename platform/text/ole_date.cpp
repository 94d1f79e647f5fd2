// OLE Automation dates: calendar dates and times to and from TDateTime.
//
// Day numbers use the proleptic Gregorian calendar for years 1..9999.
// Decoding rounds the time of day to the nearest millisecond, so values
// built with EncodeDate + EncodeTime decode to exactly what was encoded.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/errors.h"
#include "text/date_time.h"

namespace fw {
namespace {

constexpr std::int64_t kMSecPerDay = 86400000;
// 01/01/1970 counted from 30/12/1899.
constexpr std::int64_t kUnixEpochDay = 25569;

// Days from 01/01/1970 to a valid proleptic Gregorian date. The year is
// shifted to start in March so the leap day falls at the end of it.
constexpr std::int64_t DaysFromCivil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t year_of_era = year - era * 400;  // [0, 399]
  const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;  // [0, 146096]
  return era * 146097 + day_of_era - 719468;
}

// The inverse of DaysFromCivil.
void CivilFromDays(std::int64_t days, TDateParts& parts) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;  // 0 = March
  parts.Day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  parts.Month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  parts.Year = static_cast<int>(year_of_era + era * 400 + (parts.Month <= 2 ? 1 : 0));
}

constexpr std::int64_t OleDay(int year, int month, int day) {
  return DaysFromCivil(year, month, day) + kUnixEpochDay;
}

constexpr std::int64_t kFirstOleDay = OleDay(1, 1, 1);
constexpr std::int64_t kLastOleDay = OleDay(9999, 12, 31);
static_assert(OleDay(1899, 12, 30) == 0 && OleDay(1900, 1, 1) == 2);

struct DayAndTime {
  std::int64_t day;   // OLE day number
  std::int64_t msec;  // milliseconds into that day
};

// Splits a TDateTime into its day and its time of day rounded to the
// millisecond (a time that rounds to 24:00 moves to the next day).
DayAndTime SplitValue(TDateTime value) {
  const double whole = std::trunc(value);
  if (!std::isfinite(value) || whole < kFirstOleDay || whole > kLastOleDay) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    throw EConvertError(std::string("Valor de data e hora fora da faixa: ") + text);
  }
  DayAndTime result{static_cast<std::int64_t>(whole),
                    std::llround(std::fabs(value - whole) * kMSecPerDay)};
  if (result.msec >= kMSecPerDay) {
    result.msec -= kMSecPerDay;
    ++result.day;
  }
  if (result.day > kLastOleDay) throw EConvertError("Valor de data e hora fora da faixa.");
  return result;
}

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  static constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const int last = kDaysInMonth[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
  return day <= last;
}

TDateTime EncodeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) {
    char text[64];
    std::snprintf(text, sizeof text, "Data inválida: %02d/%02d/%04d", day, month, year);
    throw EConvertError(text);
  }
  return static_cast<TDateTime>(OleDay(year, month, day));
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999) {
    char text[80];
    std::snprintf(text, sizeof text, "Hora inválida: %02d:%02d:%02d.%03d", hour, minute, second,
                  msec);
    throw EConvertError(text);
  }
  const std::int64_t total = ((hour * 60LL + minute) * 60 + second) * 1000 + msec;
  return static_cast<double>(total) / kMSecPerDay;
}

TDateTime EncodeDateTime(const TDateParts& parts) {
  const TDateTime date = EncodeDate(parts.Year, parts.Month, parts.Day);
  const TDateTime time = EncodeTime(parts.Hour, parts.Minute, parts.Second, parts.MSec);
  // Before 30/12/1899 the day counts backward but the time still forward.
  return date < 0 ? date - time : date + time;
}

TDateParts DecodeDateTime(TDateTime value) {
  const DayAndTime split = SplitValue(value);
  TDateParts parts;
  CivilFromDays(split.day - kUnixEpochDay, parts);
  parts.Hour = static_cast<int>(split.msec / 3600000);
  parts.Minute = static_cast<int>(split.msec / 60000 % 60);
  parts.Second = static_cast<int>(split.msec / 1000 % 60);
  parts.MSec = static_cast<int>(split.msec % 1000);
  return parts;
}

int DayOfWeek(TDateTime value) {
  // Day 0 (30/12/1899) was a Saturday (7).
  const std::int64_t day = SplitValue(value).day;
  return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

bool IsValidDateTime(TDateTime value) {
  if (!std::isfinite(value)) return false;
  const double whole = std::trunc(value);
  if (whole < kFirstOleDay || whole > kLastOleDay) return false;
  return !(whole == kLastOleDay && std::llround(std::fabs(value - whole) * kMSecPerDay) >= kMSecPerDay);
}

}  // namespace fw
