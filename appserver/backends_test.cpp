// The same demo data on SQLite and on PostgreSQL answer the order list,
// the items and the stock positions with identical packets; a PostgreSQL
// confirmation that cannot have its rows is retried, then refused.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "appserver/test_support.h"
#include "rpc/key_list.h"
#include "text/format_float.h"

namespace appserver::testing {
namespace {

using fw::testing::TTestBackend;

json Call(const TLocalServer& server, const std::string& method, const std::vector<json>& params) {
  json reply = server.Dispatcher().Handle(
      {{"jsonrpc", "2.0"}, {"method", method}, {"params", params}, {"id", 1}});
  EXPECT_TRUE(reply.contains("result")) << method << ": " << reply.dump();
  return reply.value("result", json());
}

TEST(BackendsTest, BothDatabasesAnswerTheSamePackets) {
  TDemoDatabase sqlite(600, 5, TTestBackend::kSqlite), postgres(600, 5, TTestBackend::kPostgres);
  TLocalServer a(sqlite.Url()), b(postgres.Url());
  TFiltro list, restricted;
  restricted.statPed = "1";
  std::vector<std::string> customers;
  for (int c = 1; c <= 400; c += 3) customers.push_back(fw::FormatFloat("00000000", c));
  restricted.cliLista = fw::JoinKeyList(customers);
  restricted.cliTodos = "";
  restricted.emTodos = "";
  restricted.emDe = Today() - 30;
  restricted.emAte = Today();
  int items = 0, positions = 0;
  size_t restrictedRows = 0;
  for (std::string branch : {"0001", "0003"}) {
    list.filial = restricted.filial = branch;
    json some = Call(a, "GetPedido", restricted.GetPedido());
    EXPECT_EQ(some, Call(b, "GetPedido", restricted.GetPedido()));
    restrictedRows += some["rows"].size();
    json orders = Call(a, "GetPedido", list.GetPedido());
    ASSERT_EQ(orders, Call(b, "GetPedido", list.GetPedido())) << branch;
    std::vector<std::string> numbers = OrderNumbers(orders);
    for (size_t i = 0; i < numbers.size() && i < 40; ++i) {
      std::vector<json> args = {branch, numbers[i], "", "T"};
      json itemList = Call(a, "GetItemPedido", args);
      ASSERT_EQ(itemList, Call(b, "GetItemPedido", args)) << numbers[i];
      for (size_t r = 0; r < itemList["rows"].size(); ++r, ++items) {
        std::vector<json> stock = {branch, numbers[i], Cell(itemList, r, "NRITEMPED"),
                                   Cell(itemList, r, "CDPRODESTO")};
        json here = Call(a, "GetPosiEstoq", stock);
        EXPECT_EQ(here, Call(b, "GetPosiEstoq", stock)) << numbers[i];
        positions += static_cast<int>(here["rows"].size());
      }
    }
  }
  EXPECT_GT(restrictedRows, 0u);
  EXPECT_GT(items, 100);
  EXPECT_GT(positions, 100);
}

// The server's connections give up on a row lock after 40 ms, as on a
// deadlock: the confirmation is tried again and answers ok once the rows
// are free, or is refused with the busy text, never a raw database error.
TEST(BackendsTest, ALockedConfirmationIsRetriedThenRefused) {
  TDemoDatabase data(400, 5, TTestBackend::kPostgres);
  TLocalServer server(data.Url() + "?options=-c%20lock_timeout%3D40");
  std::vector<std::string> pending;
  for (const auto& row : data.Open()->Query(
           "SELECT NRPEDIDO FROM PEDIDO P WHERE CDFILIAL = '0001' AND IDSITPEDIDO = '1' AND NOT EXISTS"
           " (SELECT 1 FROM BLOQPEDIDO B WHERE B.CDFILIAL = P.CDFILIAL AND B.NRPEDIDO = P.NRPEDIDO)"
           " ORDER BY NRPEDIDO LIMIT 2", {}).Rows)
    pending.push_back(std::get<std::string>(row[0]));
  ASSERT_EQ(pending.size(), 2u);
  const TFiltro none{.nrDe = "9999999998", .nrAte = "9999999999", .nrTodos = ""};
  struct TCase {
    int releaseAfterMs;  // -1: held to the end
    std::string status, message;
  };
  const TCase cases[] = {
      {-1, "error", "O banco de dados está ocupado por outras operações. Tente novamente em instantes."},
      {60, "ok", ""}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string& order = pending[i];
    auto holder = data.Open();
    holder->Begin();
    holder->Query("SELECT 1 FROM PEDIDO WHERE CDFILIAL = '0001' AND NRPEDIDO = :N FOR UPDATE", {{"N", order}});
    std::thread release([&] {
      if (cases[i].releaseAfterMs < 0) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(cases[i].releaseAfterMs));
      holder->Rollback();
    });
    json reply = Call(server, "SetPedidoPEAN", none.SetPedidoPEAN(order + "_", kOperBloq));
    release.join();
    if (holder->InTransaction()) holder->Rollback();
    EXPECT_EQ(reply.value("status", ""), cases[i].status) << i;
    EXPECT_EQ(reply.value("message", ""), cases[i].message) << i;
    EXPECT_EQ(Text(*data.Open(), "SELECT IDSITPEDIDO FROM PEDIDO WHERE CDFILIAL = '0001' AND NRPEDIDO = :N",
                   {{"N", order}}), cases[i].status == "ok" ? "2" : "1") << i;
  }
}

}  // namespace
}  // namespace appserver::testing
