// The host's page server under attack, on 127.0.0.1 (the display test
// host, which serves the same page server): hostile nesting and sizes on
// /input, slow and idle clients, compression, and input events whose
// numbers are not numbers. Each case prints one HOSTILE line and checks
// that the host answered as it should and keeps serving.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "appserver/program_test_support.h"
#include "hostile_support.h"

namespace hostile {
namespace {

using appserver::testing::TProgram;
using nlohmann::json;

class HostHostileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    host_ = new TProgram({"--port", "0"}, {}, DISPLAY_TEST_HOST);
    port_ = host_->ListeningPort();
    std::string out = host_->Out();
    size_t at = out.find("chave=");
    if (at != std::string::npos) key_ = out.substr(at + 6, out.find('\n', at) - at - 6);
  }
  static void TearDownTestSuite() { delete host_; }
  void SetUp() override { ASSERT_TRUE(port_ > 0 && !key_.empty()) << host_->Err(); }
  void TearDown() override {
    EXPECT_EQ(host_->Wait(std::chrono::milliseconds(0)), -1) << "the host ended";
    EXPECT_EQ(StatusOf(Exchange(Get("/app.js"))), 200) << "the host stopped serving";
  }

  static std::string Headers() {
    return "Host: 127.0.0.1:" + std::to_string(port_) + "\r\nCookie: chave_" + std::to_string(port_) +
           "=" + key_ + "\r\n";
  }
  static std::string Get(const std::string& path, const std::string& extra = {}) {
    return "GET " + path + " HTTP/1.1\r\n" + Headers() + extra + "\r\n";
  }
  static std::string PostInput(const std::string& body) {
    return "POST /input HTTP/1.1\r\n" + Headers() + "Content-Type: application/json\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
  }
  static std::string Exchange(const std::string& request) {
    TRawClient client(port_);
    client.Send(request);
    return client.ReadResponse(std::chrono::seconds(10));
  }
  static double PageCost(int times) {
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
      auto start = TClock::now();
      EXPECT_EQ(StatusOf(Exchange(Get("/app.js"))), 200);
      ms.push_back(MsSince(start));
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
  }

  static TProgram* host_;
  static int port_;
  static std::string key_;
};

TProgram* HostHostileTest::host_ = nullptr;
int HostHostileTest::port_ = 0;
std::string HostHostileTest::key_;

TEST_F(HostHostileTest, InputNestedDeeperThan64IsRefused) {
  const std::string deep = std::string(90000, '[') + std::string(90000, ']');
  double worst = 0;
  for (const std::string& body : {R"({"session":"x","event":{"type":"click","x":)" + deep + "}}",
                                  std::string(90000, '{'), deep}) {
    auto start = TClock::now();
    EXPECT_EQ(StatusOf(Exchange(PostInput(body))), 400);
    worst = std::max(worst, MsSince(start));
  }
  Report("host", "nesting", "/input bodies nested 90,000 deep (arrays in an event, bare '{', bare '[')", 3,
         "400 every time, host up", worst);
}

TEST_F(HostHostileTest, ADeclaredLengthOverTheLimitIsRefusedAtOnce) {
  double worst = 0;
  for (const char* length : {"1000000000000", "1048577"}) {
    TRawClient client(port_);
    auto start = TClock::now();
    client.Send("POST /input HTTP/1.1\r\n" + Headers() + "Content-Length: " + length + "\r\n\r\n{");
    EXPECT_EQ(StatusOf(client.ReadResponse(std::chrono::seconds(5))), 413) << length;
    worst = std::max(worst, MsSince(start));
  }
  EXPECT_LT(worst, 1000);
  Report("host", "size", "/input with Content-Length 10^12 and 1 MiB + 1, headers only", 2,
         "413 before the body, connection closed", worst);
}

TEST_F(HostHostileTest, SlowAndIdleClientsDoNotHoldUpOthers) {
  double alone = PageCost(5);
  double worst = WorstUnderSiege(port_, "POST /input HTTP/1.1\r\n" + Headers() + "Content-Type: application/json\r\n",
                                 [] { return PageCost(1); });
  EXPECT_GE(worst, 0) << "the idle connections could not all connect";
  EXPECT_LT(worst, alone + 200) << "alone: " << alone << " ms";
  Report("host", "slow and idle", "16 clients sending headers 1 byte/s + 200 idle connections, then GET /app.js",
         5, "answered; alone " + std::to_string(alone).substr(0, 4) + " ms", worst);
}

TEST_F(HostHostileTest, FilesAreNeverCompressed) {
  double worst = 0;
  for (const char* accept : {"br", "gzip", "br, gzip, deflate"}) {
    auto start = TClock::now();
    std::string response = Exchange(Get("/app.js", std::string("Accept-Encoding: ") + accept + "\r\n"));
    worst = std::max(worst, MsSince(start));
    EXPECT_EQ(StatusOf(response), 200);
    EXPECT_FALSE(HasHeader(response, "Content-Encoding")) << accept;
  }
  Report("host", "compression", "GET /app.js with Accept-Encoding br / gzip / both", 3, "sent uncompressed", worst);
}

TEST_F(HostHostileTest, EventsWithNonNumbersAreRefusedAndLoggedCutAndClean) {
  TRawClient events(port_);
  events.Send(Get("/events"));
  std::string hello = events.ReadUntil("\"}", std::chrono::seconds(10));
  size_t at = hello.find("\"session\":\"");
  ASSERT_NE(at, std::string::npos) << hello;
  std::string session = hello.substr(at + 11, hello.find('"', at + 11) - at - 11);
  std::string hostile = "\n\x1b[31m" + std::string(500, 'x');
  const std::vector<std::pair<json, std::string>> cases = {
      {{{"type", "click"}, {"form", "frmTeste"}, {"name", "edtNome"}, {"x", "abc"}, {"y", 1}},
       "coordenada não numérica em edtNome: 'abc'"},
      {{{"type", "key"}, {"form", "frmTeste"}, {"key", {13}}}, "tecla não numérica: '[13]'"},
      {{{"type", "answer"}, {"id", hostile}}, "identificador não numérico em answer: '??[31mxxx"},
      {{{"type", "click"}, {"form", "frmTeste"}, {"name", hostile}}, "controle inexistente: '??[31mxxx"},
  };
  auto start = TClock::now();
  for (const auto& [event, expected] : cases)
    EXPECT_EQ(StatusOf(Exchange(PostInput(json{{"session", session}, {"event", event}}.dump()))), 200);
  double ms = MsSince(start);
  std::string log;
  for (int i = 0; i < 100; ++i) {
    log = host_->Err();
    if (std::all_of(cases.begin(), cases.end(), [&](auto& c) { return log.find(c.second) != std::string::npos; }))
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  for (const auto& [event, expected] : cases) EXPECT_NE(log.find(expected), std::string::npos) << expected;
  for (size_t begin = 0, end; (end = log.find('\n', begin)) != std::string::npos; begin = end + 1) {
    std::string line = log.substr(begin, end - begin);
    if (line.find("entrada recusada") == std::string::npos) continue;
    EXPECT_LT(line.size(), 160u) << line;
    EXPECT_EQ(line.find('\x1b'), std::string::npos) << line;
  }
  Report("host", "event types", "click x \"abc\", key [13], answer id of 500 chars with escapes, hostile name",
         static_cast<int>(cases.size()), "each refused, logged cut to 40 chars and cleaned", ms);
}

}  // namespace
}  // namespace hostile
