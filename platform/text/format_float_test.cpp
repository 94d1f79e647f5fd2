#include "text/format_float.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/errors.h"

namespace fw {
namespace {

TEST(FormatFloat, RoundsHalfAwayFromZeroOnTheWrittenDecimal) {
  // Binary values just below the half (1.005 is 1.00499999...) still round up.
  EXPECT_EQ(FormatFloat("0.00", 1.005), "1,01");
  EXPECT_EQ(FormatFloat("0.00", 2.675), "2,68");
  EXPECT_EQ(FormatFloat("0.00", -1.005), "-1,01");
  EXPECT_EQ(FormatFloat("###0.000", 1.23456), "1,235");
  EXPECT_EQ(FormatFloat("0.00", 0.29), "0,29");
  EXPECT_EQ(FormatFloat("0.00", 0.285), "0,29");  // 0.28499999999999998
  EXPECT_EQ(FormatFloat("0.00", 1 - 0.71), "0,29");
  EXPECT_EQ(FormatFloat("0", 2.5), "3");
  EXPECT_EQ(FormatFloat("0", -2.5), "-3");
  EXPECT_EQ(FormatFloat("#,##0", 999.5), "1.000");  // the carry adds a digit and a group
  EXPECT_EQ(FormatFloat("0.00", 9.995), "10,00");
}

TEST(FormatFloat, PlacesDigitsAndSeparators) {
  EXPECT_EQ(FormatFloat("######0.000", 1234.5), "1234,500");
  EXPECT_EQ(FormatFloat("###0.00", 2.5), "2,50");
  EXPECT_EQ(FormatFloat("##,#0.00000", 1234.5), "1.234,50000");
  EXPECT_EQ(FormatFloat("#,##0.000", 1234567.891), "1.234.567,891");
  EXPECT_EQ(FormatFloat("#,##0.00", -1234567.5), "-1.234.567,50");
  EXPECT_EQ(FormatFloat("0", 1234567), "1234567");  // no "," means no separators
  EXPECT_EQ(FormatFloat("0", 1e20), "100000000000000000000");
  EXPECT_EQ(FormatFloat("0.##", 5), "5");
  EXPECT_EQ(FormatFloat("0.0#", 1.25), "1,25");
  EXPECT_EQ(FormatFloat("0.0#", 1.2), "1,2");
  EXPECT_EQ(FormatFloat("'R$ '#,##0.00", 1234.5), "R$ 1.234,50");
  EXPECT_EQ(FormatFloat("0.0 %", 29.5), "29,5 %");
}

TEST(FormatFloat, ZeroAndSections) {
  EXPECT_EQ(FormatFloat("#,##0.000", 0), "0,000");
  EXPECT_EQ(FormatFloat("###0.00", 0.004), "0,00");
  EXPECT_EQ(FormatFloat("#", 0), "");
  EXPECT_EQ(FormatFloat("0", -0.4), "0");
  EXPECT_EQ(FormatFloat("0.00;(0.00)", -3.5), "(3,50)");
  EXPECT_EQ(FormatFloat("0.00;(0.00)", 3.5), "3,50");
  EXPECT_EQ(FormatFloat("0;-0;'zero'", 0.2), "zero");  // rounds to zero: zero section
  EXPECT_EQ(FormatFloat("0;;'zero'", -7), "-7");       // empty negative section
  EXPECT_EQ(FormatFloat("", 0.1 + 0.2), "0,3");
}

TEST(FormatFloat, RejectsUnreadablePatterns) {
  EXPECT_THROW(FormatFloat("0.00'", 1), EConvertError);
  EXPECT_THROW(FormatFloat("0;0;0;0", 1), EConvertError);
  EXPECT_THROW(FormatFloat("0.00E+00", 1), EConvertError);
}

TEST(FloatToStr, GeneralFormat) {
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0,3");
  EXPECT_EQ(FloatToStr(12.3456), "12,3456");
  EXPECT_EQ(FloatToStr(100), "100");
  EXPECT_EQ(FloatToStr(-2.5), "-2,5");
  EXPECT_EQ(FloatToStr(-0.0), "0");
  EXPECT_EQ(FloatToStr(1.0 / 3), "0,333333333333333");
  EXPECT_EQ(FloatToStr(999999999999999), "999999999999999");
  EXPECT_EQ(FloatToStr(0.0001), "0,0001");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(1.5e-7), "1,5E-7");
  EXPECT_EQ(FloatToStr(-1.25e-5), "-1,25E-5");
  EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(StrToFloat, ReadsTheLocaleForm) {
  EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat("  -2,5E3 "), -2500);
  EXPECT_DOUBLE_EQ(StrToFloat("+0,29"), 0.29);
  EXPECT_DOUBLE_EQ(StrToFloat("1e-2"), 0.01);
  for (double v : {0.1, 12.3456, 1234567.891, -1.5e-7}) {
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(v)), v);
  }
  TFormatSettings dot;
  dot.DecimalSeparator = '.';
  EXPECT_DOUBLE_EQ(StrToFloat("1.5", dot), 1.5);
}

TEST(StrToFloat, RejectsWhatIsNotANumber) {
  for (const char* text :
       {"", "  ", "abc", "1.234,5", "1.5", "1,2,3", "12x", "1e", "- 1", ",", "1E400"}) {
    double value = 42;
    EXPECT_FALSE(TryStrToFloat(text, value)) << text;
    EXPECT_EQ(value, 42) << text;
  }
  try {
    StrToFloat("abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' não é um número válido.");
  }
}

}  // namespace
}  // namespace fw
