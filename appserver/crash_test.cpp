// The application server killed (SIGKILL) at random moments while it
// confirms: a batch of 500 orders, or all the pending items of an order.
// After each kill the server is started again on the same database, and
// every batch must have moved whole or not at all, its history with it,
// and an SQLite database must pass its integrity check.
#include <gtest/gtest.h>

#include <httplib.h>

#include <optional>
#include <random>

#include "appserver/operator_passwords.h"
#include "appserver/program_test_support.h"
#include "data/client_dataset.h"

namespace appserver::testing {
namespace {

constexpr int kKills = 10;

// A filter no order passes: the refreshed list in the reply is empty, so
// the call's time is the confirmation itself and the kills land in it.
const TFiltro kNoList{.nrDe = "9999999998", .nrAte = "9999999999", .nrTodos = ""};

// A server program on the database, signed in as DANIELA.
class TServed {
 public:
  explicit TServed(const std::string& path)
      : program_({"serve", "--db", path, "--listen", "127.0.0.1:0"}) {
    port_ = program_.ListeningPort();
    if (port_ == 0) return;
    httplib::Client client("127.0.0.1", port_);
    auto res = client.Post("/session", R"({"operator":"DANIELA","password":"demo"})",
                           "application/json");
    if (res && res->status == 200) token_ = json::parse(res->body)["token"];
  }
  bool Up() const { return !token_.empty(); }
  // The result, or nothing when the call did not complete.
  std::optional<json> Call(const std::string& method, const std::vector<json>& params) {
    httplib::Client client("127.0.0.1", port_);
    client.set_bearer_token_auth(token_);
    client.set_read_timeout(30, 0);
    json request = {{"jsonrpc", "2.0"}, {"method", method}, {"params", params}, {"id", 1}};
    auto res = client.Post(("/" + std::string(kModuleName)).c_str(), request.dump(),
                           "application/json");
    if (!res || res->status != 200) return std::nullopt;
    return json::parse(res->body)["result"];
  }
  void Kill() {
    program_.Signal(SIGKILL);
    program_.Wait(std::chrono::seconds(10));
  }

 private:
  TProgram program_;
  int port_ = 0;
  std::string token_;
};

class CrashTest : public ::testing::Test {
 protected:
  CrashTest() : data_(4000, 11) { SetEveryPassword(*data_.Open(), "demo"); }

  std::vector<std::string> Column(const std::string& sql) {
    std::vector<std::string> values;
    for (const auto& row : data_.Open()->Query(sql, {}).Rows) values.push_back(std::get<std::string>(row[0]));
    return values;
  }
  // SQLite's file is checked; a PostgreSQL server keeps its own files whole.
  void ExpectIntact() {
    if (data_.Open()->Dialect() == fw::TSqlDialect::SQLite) {
      EXPECT_EQ(Column("PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    }
  }
  // Starts a fresh server, gets the arguments from `prepare`, then calls
  // `method` and kills the server after a random delay up to the time an
  // undisturbed call took; answers whether the kill came before the reply.
  bool KillDuring(const std::string& method, const std::function<std::vector<json>(TServed&)>& prepare,
                  double& costMs) {
    TServed served(data_.Path());
    EXPECT_TRUE(served.Up());
    std::vector<json> args = prepare(served);
    std::uniform_real_distribution<double> moment(0, costMs);
    auto delay = std::chrono::microseconds(static_cast<int64_t>(moment(random_) * 1000));
    auto start = std::chrono::steady_clock::now();
    std::thread killer([&] {
      std::this_thread::sleep_for(delay);
      served.Kill();
    });
    bool replied = served.Call(method, args).has_value();
    double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    killer.join();
    if (replied) costMs = took;  // the kill came late: aim within this time next
    return !replied;
  }

  TDemoDatabase data_;
  std::mt19937_64 random_{20261208};
};

TEST_F(CrashTest, AKilledOrderConfirmationMovesWholeOrNotAtAll) {
  std::vector<std::string> orders = Column(
      "SELECT NRPEDIDO FROM PEDIDO WHERE CDFILIAL = '0001' AND IDSITPEDIDO = '1' ORDER BY NRPEDIDO"
      " LIMIT 500");
  ASSERT_EQ(orders.size(), 500u);
  std::string list, inList;
  for (const std::string& o : orders) {
    list += o + "_";
    inList += (inList.empty() ? "'" : ",'") + o + "'";
  }
  auto args = [&](TServed&) { return kNoList.SetPedidoPEAN(list, kOperBloq); };
  double costMs = 2000;
  int kills = 0, moved = 0, rounds = 0;
  for (; kills < kKills && rounds < 6 * kKills; ++rounds) {
    bool killed = KillDuring("SetPedidoPEAN", args, costMs);
    kills += killed;
    int64_t done = Count(*data_.Open(), "SELECT COUNT(*) FROM PEDIDO WHERE CDFILIAL = '0001' AND"
                                        " IDSITPEDIDO = '2' AND NRPEDIDO IN (" + inList + ")");
    int64_t history = Count(*data_.Open(), "SELECT COUNT(*) FROM HISTSITPEDIDO WHERE NRITEMPED IS NULL"
                                           " AND NRPEDIDO IN (" + inList + ")");
    EXPECT_TRUE(done == 0 || done == 500) << done << " of 500 moved, round " << rounds;
    EXPECT_EQ(history, done);
    ExpectIntact();
    moved += done == 500;
    // Back to pending for the next round, while no server runs.
    auto db = data_.Open();
    db->Execute("UPDATE PEDIDO SET IDSITPEDIDO = '1' WHERE CDFILIAL = '0001' AND NRPEDIDO IN (" + inList + ")");
    db->Execute("DELETE FROM HISTSITPEDIDO WHERE NRPEDIDO IN (" + inList + ")");
  }
  EXPECT_GE(kills, kKills);
  std::printf("CRASH SetPedidoPEAN of 500 orders: %d rounds, %d kills in flight, %d batches moved"
              " whole, 0 half, integrity ok; an undisturbed call took %.0f ms\n",
              rounds, kills, moved, costMs);
}

TEST_F(CrashTest, AKilledItemConfirmationMovesWholeOrNotAtAll) {
  std::vector<std::string> orders = Column(
      "SELECT P.NRPEDIDO FROM PEDIDO P WHERE P.CDFILIAL = '0001' AND (SELECT COUNT(*) FROM ITEMPEDIDO I"
      " WHERE I.CDFILIAL = P.CDFILIAL AND I.NRPEDIDO = P.NRPEDIDO AND I.IDSITITEMPED = '1') >= 3"
      " ORDER BY P.NRPEDIDO LIMIT 200");
  ASSERT_GE(orders.size(), 100u);
  double costMs = 200;
  int kills = 0, moved = 0, rounds = 0;
  for (; kills < kKills && rounds < static_cast<int>(orders.size()); ++rounds) {
    const std::string& order = orders[rounds];
    std::string pending = "SELECT COUNT(*) FROM ITEMPEDIDO WHERE CDFILIAL = '0001' AND NRPEDIDO = '" +
                          order + "' AND IDSITITEMPED = '1'";
    int64_t before = Count(*data_.Open(), pending);
    auto args = [&](TServed& s) {
      std::optional<json> items = s.Call("GetItemPedido", {"0001", order, "", "T"});
      fw::TClientDataSet cds("cdsItemPedido");
      if (items) cds.SetData(fw::TDataPacket::FromJson(*items));
      for (cds.First(); items && !cds.Eof(); cds.Next())
        if (cds.FieldByName("IDSITITEMPED").AsString() == "1") {
          cds.Edit();
          cds.FieldByName("IDCHECK").SetAsString("S");
          cds.Post();
        }
      return kNoList.SetItemPedidoPECF(order, cds.Data().ToJson(), kOperBloq);
    };
    kills += KillDuring("SetItemPedidoPECF", args, costMs);
    int64_t after = Count(*data_.Open(), pending);
    EXPECT_TRUE(after == before || after == 0) << order << ": " << after << " of " << before << " left";
    moved += after == 0;
    ExpectIntact();
  }
  EXPECT_GE(kills, kKills);
  std::printf("CRASH SetItemPedidoPECF: %d rounds, %d kills in flight, %d orders' items moved whole,"
              " 0 half, integrity ok; an undisturbed call took %.0f ms\n",
              rounds, kills, moved, costMs);
}

}  // namespace
}  // namespace appserver::testing
