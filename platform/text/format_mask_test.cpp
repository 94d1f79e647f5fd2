#include "text/format_mask.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace fw {
namespace {

TEST(FormatMaskText, MasksOfTheApplication) {
  EXPECT_EQ(FormatMaskText(">aaaa;0; ", "ab1"), "AB1 ");
  EXPECT_EQ(FormatMaskText("9999999999;0; ", "123"), "123       ");
  EXPECT_EQ(FormatMaskText("99.99.999;0;_", "1234567"), "12.34.567");
  EXPECT_EQ(FormatMaskText("!99.999;0;_", "12345"), "12.345");
  EXPECT_EQ(FormatMaskText("999.999.999-99;0;_", "12345678901"), "123.456.789-01");
  EXPECT_EQ(FormatMaskText("99.999.999/9999-99;0;_", "12345678000199"), "12.345.678/0001-99");
}

TEST(FormatMaskText, StoredLiteralsAreSkipped) {
  EXPECT_EQ(FormatMaskText("999.999.999-99;1;_", "123.456.789-01"), "123.456.789-01");
  // With ";0;" every character of the value is data, even one equal to a literal.
  EXPECT_EQ(FormatMaskText("99.99;0;_", "12.34"), "12..3");
  // No sections: literals kept, '_' blank.
  EXPECT_EQ(FormatMaskText("999.999.999-99", "123.456"), "123.456.___-__");
}

TEST(FormatMaskText, ShortLongAndEmptyValues) {
  EXPECT_EQ(FormatMaskText("99.99.999;0;_", "123"), "12.3_.___");
  EXPECT_EQ(FormatMaskText("99.99;0;_", "1234567"), "12.34");
  EXPECT_EQ(FormatMaskText("99.99;0;_", ""), "");
  EXPECT_EQ(FormatMaskText("99;0;", "1"), "1_");          // empty blank section
  EXPECT_EQ(FormatMaskText("9999;0;_", "1a-x"), "1a-x");  // display only: no validation
}

TEST(FormatMaskText, CaseDirectivesEscapesAndUtf8) {
  EXPECT_EQ(FormatMaskText(">L<LLL<>L;0;_", "aBCDe"), "Abcde");
  EXPECT_EQ(FormatMaskText(">cccc;0;_", "ação"), "AÇÃO");  // one position per character
  EXPECT_EQ(FormatMaskText("\\(99\\) 9999\\9;0;_", "1198"), "(11) 98__9");
  EXPECT_EQ(FormatMaskText("99\\;99;0;_", "1234"), "12;34");
}

TEST(FormatMaskText, RejectsUnreadableMasks) {
  for (const char* mask : {"99\\", "", ";0;_", "99;2;_", "99;0;__", "9;0;_;x"}) {
    EXPECT_THROW(FormatMaskText(mask, "1"), EConvertError) << mask;
  }
  try {
    FormatMaskText("99\\", "1");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_NE(std::string(e.what()).find("Máscara de edição inválida: '99\\'"), std::string::npos);
  }
}

}  // namespace
}  // namespace fw
