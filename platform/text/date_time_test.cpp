#include "text/date_time.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "base/errors.h"

namespace fw {
namespace {

std::string Show(TDateTime value) {
  return FormatDateTime("dd/mm/yyyy hh:nn:ss.zzz", value);
}

TEST(OleDate, DayZeroAndNegativeValues) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1899, 12, 31), 1);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1);
  EXPECT_EQ(Show(-1.25), "29/12/1899 06:00:00.000");
  EXPECT_EQ(Show(-0.5), "30/12/1899 12:00:00.000");
  EXPECT_EQ(EncodeDateTime({1899, 12, 29, 6, 0, 0, 0}), -1.25);
  EXPECT_EQ(Show(45000.5), "15/03/2023 12:00:00.000");
  EXPECT_EQ(Show(EncodeDate(1, 1, 1)), "01/01/0001 00:00:00.000");
}

TEST(OleDate, LeapYearsAndInvalidDates) {
  EXPECT_TRUE(IsValidDate(2000, 2, 29));
  EXPECT_TRUE(IsValidDate(2024, 2, 29));
  EXPECT_FALSE(IsValidDate(1900, 2, 29));
  EXPECT_FALSE(IsValidDate(2023, 2, 29));
  EXPECT_FALSE(IsValidDate(2024, 4, 31));
  EXPECT_FALSE(IsValidDate(0, 1, 1));
  EXPECT_FALSE(IsValidDate(10000, 1, 1));
  EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1);
  try {
    EncodeDate(2024, 2, 31);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Data inválida: 31/02/2024");
  }
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(12, 0, 60, 0), EConvertError);
  EXPECT_THROW(DecodeDateTime(3e6), EConvertError);
}

TEST(OleDate, RoundTripsEveryFewDaysAndTheLastMillisecond) {
  for (int year = 1; year <= 9999; year += 7) {
    for (int month = 1; month <= 12; month += 5) {
      const int day = 1 + (year + month) % 28;
      const TDateTime value = EncodeDateTime({year, month, day, 23, 59, 59, 999});
      const TDateParts p = DecodeDateTime(value);
      ASSERT_EQ(std::tie(p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second, p.MSec),
                std::make_tuple(year, month, day, 23, 59, 59, 999))
          << value;
    }
  }
  // Consecutive days stay consecutive across month, year and century ends.
  for (TDateTime d = EncodeDate(1899, 12, 1); d < EncodeDate(2001, 1, 1); d += 1) {
    const TDateParts today = DecodeDateTime(d), tomorrow = DecodeDateTime(d + 1);
    ASSERT_TRUE(tomorrow.Day == today.Day + 1 || tomorrow.Day == 1) << Show(d);
    ASSERT_EQ(DayOfWeek(d + 1), DayOfWeek(d) % 7 + 1);
  }
}

TEST(FormatDateTime, NamesAndTokens) {
  const TDateTime tuesday = EncodeDate(2024, 3, 5);
  EXPECT_EQ(DayOfWeek(0), 7);
  EXPECT_EQ(DayOfWeek(tuesday), 3);
  EXPECT_EQ(FormatDateTime("ddd", tuesday), "ter");
  EXPECT_EQ(FormatDateTime("dddd", tuesday), "Terça-feira");
  EXPECT_EQ(FormatDateTime("ddd dddd", EncodeDate(2024, 3, 3)), "dom Domingo");
  EXPECT_EQ(FormatDateTime("ddd dddd", EncodeDate(2024, 3, 9)), "sáb Sábado");
  const TDateTime afternoon = tuesday + EncodeTime(14, 7, 5, 9);
  EXPECT_EQ(FormatDateTime("d/m/yy h:n:s z", afternoon), "5/3/24 14:7:5 9");
  EXPECT_EQ(FormatDateTime("DD-MMM-YYYY HH:MM", afternoon), "05-mar-2024 14:07");
  EXPECT_EQ(FormatDateTime("mmmm 'de' yyyy \"mm\"", afternoon), "março de 2024 mm");
  EXPECT_EQ(FormatDateTime("h:nn am/pm", afternoon), "2:07 pm");
  EXPECT_EQ(FormatDateTime("hh A/P", tuesday), "12 A");
  EXPECT_THROW(FormatDateTime("dd 'x", tuesday), EConvertError);
}

TEST(FormatDateTime, DefaultTexts) {
  const TDateTime date = EncodeDate(2024, 3, 5);
  EXPECT_EQ(DateTimeToStr(date), "05/03/2024");
  EXPECT_EQ(DateTimeToStr(date + EncodeTime(14, 30, 0, 0)), "05/03/2024 14:30:00");
  EXPECT_EQ(DateToStr(date + 0.75), "05/03/2024");
  EXPECT_EQ(TimeToStr(date + 0.75), "18:00:00");
  EXPECT_EQ(FormatDateTime("c", date + 0.5), "05/03/2024 12:00:00");
}

TEST(StrToDateTime, ReadsTypedDates) {
  EXPECT_EQ(StrToDate("5/3/2024"), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate(" 05/03/2024 "), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("29/02/2000"), EncodeDate(2000, 2, 29));
  EXPECT_EQ(StrToDate("1/1/49"), EncodeDate(2049, 1, 1));
  EXPECT_EQ(StrToDate("1/1/50"), EncodeDate(1950, 1, 1));
  EXPECT_EQ(StrToDateTime("05/03/2024 14:30"), EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 0, 0));
  EXPECT_EQ(StrToDateTime("05/03/2024 9:05:07"), EncodeDate(2024, 3, 5) + EncodeTime(9, 5, 7, 0));
  const TDateTime value = EncodeDate(2023, 12, 31) + EncodeTime(23, 59, 59, 0);
  EXPECT_EQ(StrToDateTime(DateTimeToStr(value)), value);
}

TEST(StrToDateTime, RejectsInvalidText) {
  for (const char* text : {"31/02/2024", "29/02/1900", "abc", "", "12/13/2024", "1/1/2024x",
                           "1/1/202", "05/03/2024 24:00", "05/03/2024 10:5", "05-03-2024"}) {
    TDateTime value = 7;
    EXPECT_FALSE(TryStrToDateTime(text, value)) << text;
    EXPECT_EQ(value, 7) << text;
  }
  EXPECT_THROW(StrToDate("05/03/2024 10:00"), EConvertError);  // a date only
  try {
    StrToDate("abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' não é uma data válida.");
  }
}

}  // namespace
}  // namespace fw
