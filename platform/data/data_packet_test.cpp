// Data packets: exact round trip of every type and rejection of bad input
// with a message that says what and where.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/errors.h"
#include "data/data_packet.h"

#include <nlohmann/json.hpp>

namespace fw {
namespace {

TEST(DataPacket, EveryTypeRoundTripsExactly) {
  TDataPacket p;
  p.Fields = {{"S", TFieldType::ftString, 5, kDefaultProviderFlags},
              {"F", TFieldType::ftFloat, 0, pfInUpdate | pfInKey},
              {"D", TFieldType::ftDateTime, 0, kDefaultProviderFlags},
              {"I", TFieldType::ftInteger, 0, 0},
              {"M", TFieldType::ftMemo, 0, kDefaultProviderFlags},
              {"B", TFieldType::ftBlob, 0, kDefaultProviderFlags}};
  p.Rows = {
      {std::string("ação"), 0.1 + 0.2, -1.25, int32_t{-2147483647 - 1},
       std::string("{\\rtf1 Olá}\n\"x\""), std::string("\x00\xff\x01", 3)},
      {Value{}, std::numeric_limits<double>::max(), 45000.999988426, int32_t{2147483647},
       std::string(), std::string()},
      {std::string(""), -0.0, 0.0, int32_t{0}, Value{}, Value{}},
  };
  p.Changes = {{1, p.Rows[0]}};
  std::string text = p.ToString();
  TDataPacket back = TDataPacket::Parse(text);
  EXPECT_EQ(back.Fields, p.Fields);
  EXPECT_EQ(back.Rows, p.Rows);
  EXPECT_EQ(back.Changes, p.Changes);
  EXPECT_EQ(back.ToString(), text);
  EXPECT_TRUE(std::signbit(std::get<double>(back.Rows[2][1])));

  // Written straight from the rows: the same JSON, the same packet read back.
  p.Rows[2][4] = std::string("\x01\t\"\\\x7f/ç€𝄞");
  std::string fast = p.ToFastString();
  EXPECT_EQ(nlohmann::json::parse(fast), p.ToJson());
  TDataPacket again = TDataPacket::Parse(fast);
  EXPECT_EQ(again.Rows, p.Rows);
  EXPECT_EQ(again.Changes, p.Changes);
  EXPECT_TRUE(std::signbit(std::get<double>(again.Rows[2][1])));
  for (const char* bad : {"\xff", "a\xc3", "\xed\xa0\x80", "\xc0\xaf"}) {
    p.Rows[0][0] = std::string(bad);
    EXPECT_THROW(p.ToFastString(), EDatabaseError) << bad;
  }
}

TEST(DataPacket, FastTextWritesEachCharacterWhereverItFallsInARun) {
  TDataPacket p;
  p.Fields = {{"S", TFieldType::ftString, 40, kDefaultProviderFlags}};
  for (std::string special : {"\"", "\\", "\n", "\x1f", "\x7f", "ç", "€", "𝄞"})
    for (size_t at = 0; at <= 17; ++at) {
      std::string text = std::string(at, 'a') + special + std::string(17 - at, 'z');
      p.Rows = {{text}};
      EXPECT_EQ(nlohmann::json::parse(p.ToFastString()), p.ToJson()) << at;
      p.Rows = {{text.substr(0, at) + "\xff" + text.substr(at)}};
      EXPECT_THROW(p.ToFastString(), EDatabaseError) << at;
    }
}

std::string ErrorOf(const std::string& text) {
  try {
    TDataPacket::Parse(text);
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "(nenhum erro)";
}

TEST(DataPacket, BadInputIsRejectedSayingWhatAndWhere) {
  const std::string fields = R"("fields":[{"name":"NRPEDIDO","type":"string","size":3},
                                          {"name":"QT","type":"float"},
                                          {"name":"N","type":"integer"}])";
  auto packet = [&](const std::string& rest) { return "{" + fields + "," + rest + "}"; };
  EXPECT_NE(ErrorOf("{\"fields\": [").find("posição"), std::string::npos);
  EXPECT_NE(ErrorOf("[]").find("objeto"), std::string::npos);
  EXPECT_NE(ErrorOf("1e11012").find("inválido"), std::string::npos);  // number out of range
  EXPECT_NE(ErrorOf(packet(R"("rows":[["abcd",1,1]])")).find("NRPEDIDO"), std::string::npos);
  EXPECT_NE(ErrorOf(packet(R"("rows":[["a","1",1]])")).find("linha 1, campo 'QT'"),
            std::string::npos);
  EXPECT_NE(ErrorOf(packet(R"("rows":[["a",1,1.5]])")).find("'N'"), std::string::npos);
  EXPECT_NE(ErrorOf(packet(R"("rows":[["a",1,4294967296]])")).find("'N'"), std::string::npos);
  EXPECT_NE(ErrorOf(packet(R"("rows":[["a",1]])")).find("linha 1"), std::string::npos);
  EXPECT_NE(ErrorOf(packet(R"("rows":[],"changes":[{"row":0,"old":["a",1,1]}])"))
                .find("alteração 1"),
            std::string::npos);
  EXPECT_NE(ErrorOf(R"({"fields":[{"name":"X","type":"decimal"}],"rows":[]})").find("'X'"),
            std::string::npos);
  EXPECT_NE(ErrorOf(R"({"fields":[{"name":"X","type":"string"}],"rows":[]})").find("tamanho"),
            std::string::npos);
  EXPECT_NE(ErrorOf(R"({"fields":[{"name":"X","type":"float"},{"name":"x","type":"float"}],
                       "rows":[]})")
                .find("repetido"),
            std::string::npos);
  EXPECT_NE(ErrorOf(R"({"fields":[{"name":"B","type":"blob"}],"rows":[["%%%%"]]})").find("'B'"),
            std::string::npos);
  EXPECT_NE(ErrorOf(R"({"fields":[{"name":"D","type":"datetime"}],"rows":[[45000125]]})")
                .find("'D'"),
            std::string::npos);  // beyond the year 9999
  EXPECT_NE(ErrorOf(R"({"fields":[{"name":"X","type":"float","flags":["x"]}],"rows":[]})")
                .find("indicador"),
            std::string::npos);
}

TEST(DataPacket, UnicodeLengthCountsCharactersNotBytes) {
  EXPECT_NO_THROW(TDataPacket::Parse(
      R"({"fields":[{"name":"S","type":"string","size":4}],"rows":[["ÇÃÉÕ"]]})"));
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

// Parse reads the usual packet in one pass; whatever it reads, it answers
// what reading the whole document and FromJson answer, or the same error.
TEST(DataPacket, StreamedParseAgreesWithTheDocumentReading) {
  const std::string f = R"("fields":[{"name":"S","type":"string","size":3},{"name":"F","type":"float"},
      {"name":"D","type":"datetime"},{"name":"I","type":"integer"},{"name":"B","type":"blob"}])";
  const std::string texts[] = {
      "{" + f + R"(,"rows":[["abc",1,45000.5,-7,"AAE="],[null,-2.5,1,2147483647,null],["ç",1e300,0,0,""]]})",
      "{" + f + R"(,"rows":[["abc",1,2,3,""]],"changes":[{"row":0,"old":["x",0,0,0,null]}],"z":{"a":[1,{"b":null}]}})",
      R"({"changes":[],"rows":[["a",1,1,1,""]],)" + f + "}",  // rows before fields
      "{" + f + R"(,"rows":[]})", R"({"fields":[],"rows":[]})",
      "{" + f + R"(,"rows":[["abcd",1,1,1,""]]})", "{" + f + R"(,"rows":[["a","1",1,1,""]]})",
      "{" + f + R"(,"rows":[["a",1,1,1.5,""]]})", "{" + f + R"(,"rows":[["a",1,1,4294967296,""]]})",
      "{" + f + R"(,"rows":[["a",1,1,1]]})", "{" + f + R"(,"rows":[["a",1,1,1,"",2]]})",
      "{" + f + R"(,"rows":[["a",1,45000125,1,""]]})", "{" + f + R"(,"rows":[["a",true,1,1,""]]})",
      "{" + f + R"(,"rows":[["a",[1],1,1,""]]})", "{" + f + R"(,"rows":[1]})", "{" + f + R"(,"rows":null})",
      "{" + f + R"(,"rows":[["a",1,1,1,"%%"]]})", "{" + f + R"(,"rows":[],"rows":[["a",1,1,1,""]]})",
      "{" + f + R"(,"rows":[],"changes":[{"row":3,"old":[]}]})", "{" + f + R"(,"rows":[]} x)",
      "{" + f + R"(,"rows":[["a",1,1,-2147483649,""]]})", R"({"fields":{},"rows":[]})", "[]",
  };
  auto answer = [](auto read) {
    try {
      return read().ToString();
    } catch (const EDatabaseError& e) {
      return std::string("erro: ") + e.what();
    }
  };
  for (const std::string& text : texts) {
    std::string byDocument = answer([&] {
      nlohmann::json j;
      try {
        j = nlohmann::json::parse(text);
      } catch (const nlohmann::json::exception&) {
        return TDataPacket::Parse(text);  // the parse error's own message
      }
      return TDataPacket::FromJson(j);
    });
    EXPECT_EQ(answer([&] { return TDataPacket::Parse(text); }), byDocument) << text;
  }
}

}  // namespace
}  // namespace fw
