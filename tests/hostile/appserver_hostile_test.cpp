// The application server program under attack, on 127.0.0.1: hostile
// nesting, batches, sizes, slow and idle clients, compression and object
// params. Each case prints one HOSTILE line and checks that the server
// answered as it should and keeps serving.
#include <gtest/gtest.h>

#include <httplib.h>

#include "appserver/operator_passwords.h"
#include "appserver/program_test_support.h"
#include "hostile_support.h"

namespace appserver::testing {
namespace {

using hostile::MsSince;
using hostile::Report;
using hostile::TClock;

const std::string kPath = "/" + std::string(kModuleName);

class AppserverHostileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    data_ = new TDemoDatabase(3000, 5);
    SetEveryPassword(*data_->Open(), "demo");
    server_ = new TProgram({"serve", "--db", data_->Path(), "--listen", "127.0.0.1:0"});
    port_ = server_->ListeningPort();
    httplib::Client client("127.0.0.1", port_);
    auto res = client.Post("/session", R"({"operator":"DANIELA","password":"demo"})", "application/json");
    if (res && res->status == 200) token_ = json::parse(res->body)["token"];
  }
  static void TearDownTestSuite() {
    delete server_;
    delete data_;
  }
  void SetUp() override { ASSERT_FALSE(token_.empty()) << server_->Err(); }
  void TearDown() override {
    EXPECT_EQ(server_->Wait(std::chrono::milliseconds(0)), -1) << "the server ended";
    EXPECT_TRUE(Post(Request("GetParamPedido", {"0001"})).has_value()) << "the server stopped serving";
  }

  static std::string Request(const std::string& method, const json& params) {
    return json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}, {"id", 1}}.dump();
  }
  // The reply's JSON, or nothing when no 200 came.
  static std::optional<json> Post(const std::string& body, httplib::Headers headers = {},
                                  std::string* encoding = nullptr) {
    httplib::Client client("127.0.0.1", port_);
    client.set_bearer_token_auth(token_);
    client.set_read_timeout(60, 0);
    client.set_decompress(false);
    auto res = client.Post(kPath.c_str(), headers, body, "application/json");
    if (!res || res->status != 200) return std::nullopt;
    if (encoding) *encoding = res->get_header_value("Content-Encoding");
    return json::parse(res->body, nullptr, false);
  }
  static int Code(const std::optional<json>& reply) {
    return reply && reply->is_object() && reply->contains("error") ? (*reply)["error"]["code"].get<int>() : 0;
  }
  // Median time of `times` calls of GetParamPedido.
  static double ParamCost(int times) {
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
      auto start = TClock::now();
      EXPECT_TRUE(Post(Request("GetParamPedido", {"0001"})).has_value());
      ms.push_back(MsSince(start));
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
  }

  static TDemoDatabase* data_;
  static TProgram* server_;
  static int port_;
  static std::string token_;
};

TDemoDatabase* AppserverHostileTest::data_ = nullptr;
TProgram* AppserverHostileTest::server_ = nullptr;
int AppserverHostileTest::port_ = 0;
std::string AppserverHostileTest::token_;

TEST_F(AppserverHostileTest, NestingDeeperThan64IsRefusedInEveryMethod) {
  const std::string deep = std::string(90000, '[') + std::string(90000, ']');
  const std::vector<std::string> methods = {"GetPedido", "SetPedidoPEAN", "SetItemPedidoPECF",
      "GetItemPedido", "GetPosiEstoq", "GetPrazoPgto", "GetObser", "GetImposPedTot", "getOperTPed",
      "GetItemErro", "GetParamPedido", "GetPedIErro", "GetNrPedido"};
  double worst = 0;
  for (const std::string& method : methods) {
    auto start = TClock::now();
    auto reply = Post(R"({"jsonrpc":"2.0","method":")" + method + R"(","params":["0001",)" + deep + "],\"id\":1}");
    worst = std::max(worst, MsSince(start));
    EXPECT_EQ(Code(reply), -32600) << method;
  }
  auto start = TClock::now();
  auto objects = Post(std::string(90000, '{'));
  worst = std::max(worst, MsSince(start));
  EXPECT_EQ(Code(objects), -32600);
  Report("appserver", "nesting", "params nested 90,000 deep (180 KB), each method, and 90,000 '{'",
         static_cast<int>(methods.size()) + 1, "-32600 every time, server up", worst);
}

TEST_F(AppserverHostileTest, BatchesOfMoreThan16AreRefusedWhole) {
  json batch = json::array();
  for (int i = 0; i < 1000; ++i)
    batch.push_back({{"jsonrpc", "2.0"}, {"method", "GetPedido"}, {"params", TFiltro{}.GetPedido()}, {"id", i}});
  double before = hostile::MemoryMiB(server_->Pid(), "VmHWM");
  auto start = TClock::now();
  auto reply = Post(batch.dump());
  double ms = MsSince(start);
  EXPECT_EQ(Code(reply), -32600);
  EXPECT_EQ((*reply)["error"]["message"], "Requisição JSON-RPC inválida: lote com mais de 16 chamadas.");
  double grown = hostile::MemoryMiB(server_->Pid(), "VmHWM") - before;
  Report("appserver", "batch", "1,000 GetPedido calls in one batch (" + std::to_string(batch.dump().size() / 1024) + " KB)",
         1, "-32600, peak memory grew " + std::to_string(static_cast<int>(grown)) + " MiB", ms);
  batch.erase(batch.begin() + 16, batch.end());
  start = TClock::now();
  reply = Post(batch.dump());
  EXPECT_EQ(reply->size(), 16u);
  Report("appserver", "batch", "16 GetPedido calls in one batch", 1, "16 replies", MsSince(start));
}

TEST_F(AppserverHostileTest, ADeclaredLengthOverTheLimitIsRefusedAtOnce) {
  double worst = 0;
  for (const std::string& path : {kPath, std::string("/session")}) {
    for (const char* length : {"1000000000000", "8388609", "99999999999999999999999"}) {
      hostile::TRawClient client(port_);
      auto start = TClock::now();
      client.Send("POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + token_ +
                  "\r\nContent-Type: application/json\r\nContent-Length: " + length + "\r\n\r\n{\"a\":");
      std::string response = client.ReadResponse(std::chrono::seconds(5));
      worst = std::max(worst, MsSince(start));
      EXPECT_EQ(hostile::StatusOf(response), 413) << path << " " << length;
    }
  }
  EXPECT_LT(worst, 1000);
  Report("appserver", "size", "Content-Length 10^12, 8 MiB + 1 and 10^23, headers only, to both routes", 6,
         "413 before the body, connection closed", worst);
}

TEST_F(AppserverHostileTest, SlowAndIdleClientsDoNotHoldUpOthers) {
  double alone = ParamCost(5);
  std::string headers = "POST " + kPath + " HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + token_ +
                        "\r\nContent-Type: application/json\r\n";
  double worst = hostile::WorstUnderSiege(port_, headers, [] { return ParamCost(1); });
  EXPECT_GE(worst, 0) << "the idle connections could not all connect";
  EXPECT_LT(worst, alone + 200) << "alone: " << alone << " ms";
  Report("appserver", "slow and idle", "16 clients sending headers 1 byte/s + 200 idle connections, then GetParamPedido",
         5, "answered; alone " + std::to_string(alone).substr(0, 4) + " ms", worst);
}

TEST_F(AppserverHostileTest, RepliesAreNeverCompressed) {
  std::string list = Request("GetPedido", TFiltro{}.GetPedido());
  auto start = TClock::now();
  ASSERT_TRUE(Post(list).has_value());
  double plain = MsSince(start);
  double worst = 0;
  for (const char* accept : {"br", "gzip", "br, gzip, deflate"}) {
    std::string encoding = "?";
    start = TClock::now();
    auto reply = Post(list, {{"Accept-Encoding", accept}}, &encoding);
    worst = std::max(worst, MsSince(start));
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(encoding, "") << accept;
  }
  Report("appserver", "compression", "GetPedido of the branch with Accept-Encoding br / gzip / both", 3,
         "sent uncompressed; without the header " + std::to_string(plain).substr(0, 5) + " ms", worst);
}

TEST_F(AppserverHostileTest, ParamsAsAnObjectAreRefused) {
  auto start = TClock::now();
  auto reply = Post(R"({"jsonrpc":"2.0","method":"GetParamPedido","params":{"filial":"0001"},"id":1})");
  EXPECT_EQ(Code(reply), -32600);
  Report("appserver", "params object", "GetParamPedido with params {\"filial\":\"0001\"}", 1, "-32600",
         MsSince(start));
}

}  // namespace
}  // namespace appserver::testing
