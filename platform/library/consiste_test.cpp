#include "library/consiste.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/errors.h"
#include "library/recording_operator_test.h"
#include "text/format_mask.h"

using namespace Consiste;

TEST(ConsisteAjusta, PadsWithZerosAndUpperCases) {
  EXPECT_EQ(Ajusta("1", 4), "0001");
  EXPECT_EQ(Ajusta("ab", 4), "00AB");
  EXPECT_EQ(Ajusta("0001", 4), "0001");
  EXPECT_EQ(Ajusta("  12 ", 4), "0012");
  EXPECT_EQ(Ajusta("42", 10), "0000000042");
  EXPECT_EQ(Ajusta("ção", 5), "00ÇÃO");  // width in characters, not bytes
}

TEST(ConsisteAjusta, EmptyStaysEmpty) {
  EXPECT_EQ(Ajusta("", 4), "");
  EXPECT_EQ(Ajusta("    ", 10), "");
}

TEST(ConsisteAjusta, WiderTextIsNeverCut) {
  EXPECT_EQ(Ajusta("12345", 4), "12345");
  EXPECT_EQ(Ajusta("abcde", 4), "ABCDE");
}

TEST(ConsisteAjusta, AdjustedNumbersOrderLikeNumbers) {
  const char* numbers[] = {"7", "42", "100", "999", "1000", "123456789", "9999999999"};
  for (size_t i = 1; i < std::size(numbers); ++i)
    EXPECT_LT(Ajusta(numbers[i - 1], 10), Ajusta(numbers[i], 10)) << numbers[i];
  EXPECT_GT(std::string("7"), std::string("42"));  // what the adjustment is for
}

TEST(ConsisteRoundDec, HalvesGoAwayFromZeroOnTheDecimalValue) {
  EXPECT_DOUBLE_EQ(RoundDec(1.005, 2), 1.01);
  EXPECT_DOUBLE_EQ(RoundDec(-1.005, 2), -1.01);
  EXPECT_DOUBLE_EQ(RoundDec(2.675, 2), 2.68);
  EXPECT_DOUBLE_EQ(RoundDec(0.125, 2), 0.13);
  EXPECT_DOUBLE_EQ(RoundDec(2.5, 0), 3.0);
  EXPECT_DOUBLE_EQ(RoundDec(-2.5, 0), -3.0);
}

TEST(ConsisteRoundDec, ValuesAlreadyAtThePrecisionStay) {
  EXPECT_DOUBLE_EQ(RoundDec(0.29, 2), 0.29);
  EXPECT_DOUBLE_EQ(RoundDec(1.15, 2), 1.15);
  EXPECT_DOUBLE_EQ(RoundDec(0.28999, 2), 0.29);
  EXPECT_DOUBLE_EQ(RoundDec(1.004, 2), 1.0);
  EXPECT_DOUBLE_EQ(RoundDec(1234567.891, 1), 1234567.9);
}

TEST(ConsisteRoundDec, SmallNegativeRoundsToPlainZero) {
  double r = RoundDec(-0.001, 2);
  EXPECT_EQ(r, 0.0);
  EXPECT_FALSE(std::signbit(r));
}

TEST(ConsisteRoundDec, BadDecimalsAreRefusedNonFiniteKept) {
  EXPECT_THROW(RoundDec(1.0, -1), fw::Exception);
  EXPECT_THROW(RoundDec(1.0, 16), fw::Exception);
  EXPECT_TRUE(std::isnan(RoundDec(std::nan(""), 2)));
  EXPECT_EQ(RoundDec(INFINITY, 2), INFINITY);
}

TEST(ConsisteEmptyString, EmptyBlankAndUntouchedMasks) {
  EXPECT_TRUE(EmptyString(""));
  EXPECT_TRUE(EmptyString("    "));
  EXPECT_TRUE(EmptyString("  /  /    "));
  EXPECT_TRUE(EmptyString("___.___.___-__"));
  EXPECT_TRUE(EmptyString("(__) ____-____"));
  EXPECT_TRUE(EmptyString("  :  ,  "));
}

TEST(ConsisteEmptyString, AnythingTypedIsNotEmpty) {
  EXPECT_FALSE(EmptyString("0"));
  EXPECT_FALSE(EmptyString("  /  /2024"));
  EXPECT_FALSE(EmptyString(" a "));
  EXPECT_FALSE(EmptyString("___.___.__1-__"));
}

TEST(ConsistePictPess, MasksByPersonType) {
  EXPECT_EQ(fw::FormatMaskText(PictPess("F"), "12345678901"), "123.456.789-01");
  EXPECT_EQ(fw::FormatMaskText(PictPess("J"), "12345678000195"), "12.345.678/0001-95");
  EXPECT_EQ(PictPess(" j "), PictPess("J"));
  EXPECT_EQ(PictPess("f"), PictPess("F"));
}

TEST(ConsistePictPess, OtherTypesShowTheNumberAsItIs) {
  for (const char* type : {"", "E", "X"}) {
    SCOPED_TRACE(type);
    std::string shown = fw::FormatMaskText(PictPess(type), "AB-123/45");
    EXPECT_EQ(shown.substr(0, 9), "AB-123/45");
    EXPECT_EQ(shown.find_first_not_of(' ', 9), std::string::npos);
  }
}

TEST(ConsisteMensErro, AbortShowsThenEndsSilently) {
  RecordingOperator op;
  EXPECT_THROW(MensErro("Filial deve ser informada.", true), fw::EAbort);
  ASSERT_EQ(op.Errors.size(), 1u);
  EXPECT_EQ(op.Errors[0], "Filial deve ser informada.");
}

TEST(ConsisteMensErro, WithoutAbortOnlyShows) {
  RecordingOperator op;
  EXPECT_NO_THROW(MensErro("Aviso.", false));
  EXPECT_EQ(op.Errors, std::vector<std::string>{"Aviso."});
}
