// Key lists and the checked-reply test: the two text contracts between the
// screens and the application server.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "rpc/check_result.h"
#include "rpc/key_list.h"
#include "rpc/rpc_errors.h"

namespace fw {
namespace {

TEST(KeyListTest, RoundTripKeepsEveryKeyVerbatim) {
  std::vector<std::string> keys = {"00000012", "D'AVILA", "", "São José", "a,b"};
  std::string text = JoinKeyList(keys);
  EXPECT_EQ(text, "'00000012','D''AVILA','','São José','a,b'");
  EXPECT_EQ(SplitKeyList(text), keys);
  EXPECT_NE(text.find("00000012"), std::string::npos);  // substring search finds plain keys
  EXPECT_EQ(JoinKeyList({}), "");
  EXPECT_TRUE(SplitKeyList("").empty());
  EXPECT_TRUE(SplitKeyList("   ").empty());
  EXPECT_EQ(SplitKeyList(" '1' , '2'\t,'3' "), (std::vector<std::string>{"1", "2", "3"}));
}

TEST(KeyListTest, MalformedTextsAreRefusedWithThePosition) {
  for (const char* bad : {"0001", "'0001", "'0001''", "'1' '2'", "'1',", "'1',,'2'", "'1'x",
                          "' OR 1=1 --", "1_2_"}) {
    EXPECT_THROW(SplitKeyList(bad), EConvertError) << bad;
  }
  try {
    SplitKeyList("'1';'2'");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Lista de chaves malformada: esperado vírgula na posição 4.");
  }
}

TEST(CheckResultServTest, OkRepliesYieldTheirValue) {
  EXPECT_EQ(CheckResultServ({{"status", "ok"}, {"value", 12.5}}), 12.5);
  EXPECT_EQ(CheckResultServ({{"status", "ok"}, {"value", {1, 2}}}), nlohmann::json({1, 2}));
  EXPECT_TRUE(CheckResultServ({{"status", "ok"}}).is_null());
  EXPECT_FALSE(IsErrorReply({{"status", "ok"}}));
}

TEST(CheckResultServTest, ErrorRepliesRaiseTheServersMessage) {
  nlohmann::json reply = {{"status", "error"},
                          {"message", "Operação bloqueada. Pedido em alteração por outro usuário."}};
  EXPECT_TRUE(IsErrorReply(reply));
  try {
    CheckResultServ(reply);
    FAIL();
  } catch (const EServerError& e) {
    EXPECT_STREQ(e.what(), "Operação bloqueada. Pedido em alteração por outro usuário.");
  }
  EXPECT_THROW(CheckResultServ({{"status", "error"}}), EServerError);
  // Anything that is not a checked reply is refused, never passed on.
  for (const nlohmann::json& junk :
       {nlohmann::json(nullptr), nlohmann::json("ok"), nlohmann::json::object(),
        nlohmann::json({{"status", 1}}), nlohmann::json({{"status", "talvez"}}),
        nlohmann::json::array({"ok", 1})}) {
    EXPECT_THROW(CheckResultServ(junk), EServerError) << junk.dump();
  }
}

}  // namespace
}  // namespace fw
