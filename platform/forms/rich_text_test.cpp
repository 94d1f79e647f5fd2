// Rich-text documents read as plain text, including malformed ones.
#include <gtest/gtest.h>

#include <random>

#include "base/text_case.h"
#include "forms/rich_text.h"

namespace fw {
namespace {

TEST(RichTextTest, KeepsTheTextAndDropsTablesAndDestinations) {
  std::string rtf =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil MS Sans Serif;}}{\\colortbl ;\\red255\\green0\\blue0;}"
      "{\\*\\generator Msftedit 5.41;}\\viewkind4\\uc1\\pard\\lang1046\\f0\\fs16 "
      "Cliente pede \\b urg\\'eancia\\b0\\tab ok\\par {\\info{\\author x}}Linha\\line dois\\par}";
  EXPECT_EQ(RtfToPlainText(rtf), "Cliente pede urgência\tok\nLinha\ndois\n");
}

TEST(RichTextTest, UnicodeEscapesSkipTheirFallbackCharacters) {
  EXPECT_EQ(RtfToPlainText("{\\rtf1 S\\u227?o}"), "São");
  EXPECT_EQ(RtfToPlainText("{\\rtf1\\uc2 S\\u227\\'e3\\'e3o}"), "São");
  EXPECT_EQ(RtfToPlainText("{\\rtf1\\uc0 \\u-10179\\u-8701 }"), "\xF0\x9F\x98\x83");  // a pair
  EXPECT_EQ(RtfToPlainText("{\\rtf1 a\\{b\\}c\\\\d\\~e\\'80}"), "a{b}c\\d\xC2\xA0" "e\xE2\x82\xAC");
}

TEST(RichTextTest, PlainTextPassesAndCp1252IsConverted) {
  EXPECT_EQ(RtfToPlainText("só texto"), "só texto");
  EXPECT_FALSE(IsRichText("{\\rt"));
  EXPECT_EQ(Cp1252ToUtf8("Pe\xE7" "a \x93" "x\x94"), "Peça “x”");
}

TEST(RichTextTest, MalformedDocumentsNeverFailAndGiveValidText) {
  for (const char* bad : {"{\\rtf1 {{{", "{\\rtf1 }}}} fim", "{\\rtf1 \\'", "{\\rtf1 \\'4",
                          "{\\rtf1 \\u99999999999 x", "{\\rtf1 \\", "{\\rtf1 \\*"}) {
    EXPECT_TRUE(IsValidUtf8(RtfToPlainText(bad))) << bad;
  }
  EXPECT_EQ(RtfToPlainText("{\\rtf1 }}}} fim"), " fim");
  std::mt19937 random(7);
  const std::string alphabet = "{}\\'*uc0123456789abfpar \xE3\x80";
  for (int i = 0; i < 2000; ++i) {
    std::string text = "{\\rtf1 ";
    for (int n = 0; n < 40; ++n) text += alphabet[random() % alphabet.size()];
    EXPECT_TRUE(IsValidUtf8(RtfToPlainText(text))) << text;
  }
}

}  // namespace
}  // namespace fw
