// A packet read while its text is still arriving, in parts of every size
// across the blocks the text is kept in.
#include "rpc/arriving_text.h"

#include <gtest/gtest.h>

#include <thread>

#include <nlohmann/json.hpp>

#include "data/data_packet.h"

namespace fw {
namespace {

std::string ReplyText(int rows) {
  TDataPacket p;
  p.Fields = {{"NRPEDIDO", TFieldType::ftString, 10}, {"VRPEDIDO", TFieldType::ftFloat, 0}};
  for (int i = 0; i < rows; ++i)
    p.Rows.push_back({Value(std::string(10 - std::to_string(i).size(), '0') + std::to_string(i)), Value(i * 1.25)});
  return R"({"id":3,"jsonrpc":"2.0","result":)" + p.ToFastString() + "}";
}

TEST(ArrivingTextTest, APacketIsReadAsItArrivesAndTheWholeTextIsKept) {
  const std::string text = ReplyText(9000);  // about 300 kB: several blocks
  for (size_t part : {size_t(1), size_t(4093), size_t(70000), text.size()}) {
    TArrivingText arriving;
    std::thread receiver([&] {
      for (size_t at = 0; at < text.size(); at += part) arriving.Add(text.data() + at, std::min(part, text.size() - at));
      arriving.Close();
    });
    std::vector<nlohmann::json> others;
    std::optional<TDataPacket> packet = TDataPacket::ParseMember(arriving, {"result"}, others);
    std::string whole = arriving.Whole();
    receiver.join();
    ASSERT_TRUE(packet) << part;
    EXPECT_EQ(packet->Rows.size(), 9000u);
    EXPECT_EQ(std::get<std::string>(packet->Rows.back()[0]), "0000008999");
    EXPECT_EQ(others[0], nlohmann::json({{"id", 3}, {"jsonrpc", "2.0"}}));
    EXPECT_EQ(whole, text) << part;
  }
}

TEST(ArrivingTextTest, TextCutShortIsNoPacketAndAnEmptyOneEndsAtOnce) {
  const std::string text = ReplyText(50);
  for (size_t length : {size_t(0), text.size() / 2, text.size() - 1}) {
    TArrivingText arriving;
    arriving.Add(text.data(), length);
    arriving.Close();
    std::vector<nlohmann::json> others;
    EXPECT_FALSE(TDataPacket::ParseMember(arriving, {"result"}, others)) << length;
    EXPECT_EQ(arriving.Whole(), text.substr(0, length));
  }
}

}  // namespace
}  // namespace fw
