// Case folding of Portuguese text, UTF-8 checks, base64 and text lists.
#include <gtest/gtest.h>

#include "base/base64.h"
#include "base/errors.h"
#include "base/strings.h"
#include "base/text_case.h"

namespace fw {
namespace {

TEST(TextCase, FoldsAccentedLettersAndNothingElse) {
  EXPECT_EQ(UpperCase("ação é Ótima ×÷"), "AÇÃO É ÓTIMA ×÷");
  EXPECT_EQ(LowerCase("AÇÃO É ÓTIMA"), "ação é ótima");
  EXPECT_TRUE(SameText("São João", "SÃO JOÃO"));
  EXPECT_FALSE(SameText("Sao", "São"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_EQ(Utf8Length("Orçamento"), 9u);
}

// Comparing without making the upper-case texts orders as comparing them.
TEST(TextCase, ComparingIgnoringCaseOrdersAsTheUpperCaseTexts) {
  const char* texts[] = {"", "a", "A", "ab", "aB", "b", "NRPEDIDO", "nrpedido", "NrPedidos", "ção", "ÇÃO",
                         "ÇÃo", "\xC3", "a\xC3", "\xC3\xA7", "\xC3\x87", "\xC3\xB7", "\xC3\x97", "z\x80", "×",
                         "\xC3" "a", "\xC3" "A", "x\xC3" "a", "x\xC3" "A", "@", "`", "[", "{", "A@", "a`"};
  auto sign = [](int v) { return (v > 0) - (v < 0); };
  for (const char* a : texts)
    for (const char* b : texts) {
      EXPECT_EQ(sign(CompareText(a, b)), sign(UpperCase(a).compare(UpperCase(b)))) << a << " / " << b;
      EXPECT_EQ(SameText(a, b), UpperCase(a) == UpperCase(b)) << a << " / " << b;
    }
}

TEST(TextCase, Utf8Validity) {
  EXPECT_TRUE(IsValidUtf8("Prioritária €𝄞"));
  EXPECT_FALSE(IsValidUtf8("\xC3"));          // cut in the middle
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(IsValidUtf8("a\xFFz"));
}

TEST(Base64, RoundTripsBytesAndRejectsGarbage) {
  for (std::string bytes : {std::string(), std::string("a"), std::string("ab"),
                            std::string("\x00\xFF\x10\x80", 4)})
    EXPECT_EQ(Base64Decode(Base64Encode(bytes)), bytes);
  EXPECT_EQ(Base64Encode("Olá"), "T2zDoQ==");
  EXPECT_THROW(Base64Decode("abc"), EConvertError);
  EXPECT_THROW(Base64Decode("a=bc"), EConvertError);
  EXPECT_THROW(Base64Decode("ab=c"), EConvertError);
  EXPECT_THROW(Base64Decode("a!bc"), EConvertError);
}

TEST(Strings, TextSplitsAndJoinsLinesAndNotifies) {
  TStrings lines;
  int changes = 0;
  lines.OnChange = [&] { ++changes; };
  lines.SetText("SELECT\r\n   CDFILIAL\nFROM FILIAL\n");
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines[1], "   CDFILIAL");
  EXPECT_EQ(lines.Text(), "SELECT\n   CDFILIAL\nFROM FILIAL");
  lines.Add(" ");
  EXPECT_EQ(lines.IndexOf(" "), 3);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace fw
