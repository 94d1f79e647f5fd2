// The same demo data on SQLite and on PostgreSQL answer the order list,
// the items and the stock positions with identical packets.
#include <gtest/gtest.h>

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
  for (const std::string& branch : {"0001", "0003"}) {
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

}  // namespace
}  // namespace appserver::testing
