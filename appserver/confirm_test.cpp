// The two confirmations: what moves, what is refused, and that a refusal
// changes nothing at all.
#include <gtest/gtest.h>

#include "appserver/test_support.h"
#include "data/client_dataset.h"
#include "rpc/check_result.h"
#include "rpc/rpc_errors.h"

namespace appserver::testing {
namespace {

class ConfirmTest : public ::testing::Test {
 protected:
  ConfirmTest() : server_(data_.Url()), con_(server_.Connect()), db_(data_.Open()) {}

  std::string OrderStatus(const std::string& branch, const std::string& order) {
    return Text(*db_, "SELECT IDSITPEDIDO FROM PEDIDO WHERE CDFILIAL = :F AND NRPEDIDO = :N",
                {{"F", branch}, {"N", order}});
  }
  std::string ItemStatus(const std::string& order, const std::string& item) {
    return Text(*db_,
                "SELECT IDSITITEMPED FROM ITEMPEDIDO WHERE CDFILIAL = '0001' AND NRPEDIDO = :N"
                " AND NRITEMPED = :I",
                {{"N", order}, {"I", item}});
  }
  int64_t History() { return Count(*db_, "SELECT COUNT(*) FROM HISTSITPEDIDO"); }

  json ConfirmOrders(const TFiltro& f, const std::string& list) {
    return con_->Call("SetPedidoPEAN", f.SetPedidoPEAN(list, kOperBloq));
  }
  std::string Refusal(const json& reply) {
    EXPECT_EQ(reply.value("status", ""), "error");
    return reply.value("message", "");
  }

  // The items of an order as the screen holds them, with the rows whose
  // item numbers are given marked by the operator.
  json MarkedItems(const std::string& order, std::initializer_list<const char*> marked,
                   const std::string& branch = "0001") {
    fw::TClientDataSet cds("cdsItemPedido");
    cds.SetData(fw::TDataPacket::FromJson(con_->Call("GetItemPedido", {branch, order, "", "T"})));
    for (const char* item : marked) {
      EXPECT_TRUE(cds.Locate("NRITEMPED", fw::Value(std::string(item))));
      cds.Edit();
      cds.FieldByName("IDCHECK").SetAsString("S");
      cds.Post();
    }
    return cds.Data().ToJson();
  }

  TDemoDatabase data_{200, 3};
  TLocalServer server_;
  std::unique_ptr<fw::TNetConnection> con_;
  std::unique_ptr<fw::SqlDriver> db_;
};

TEST_F(ConfirmTest, PendingOrdersMoveAndTheReplyIsTheRefreshedList) {
  TFiltro pending{.statPed = "1"};
  std::vector<std::string> before = OrderNumbers(con_->Call("GetPedido", pending.GetPedido()));
  ASSERT_NE(std::find(before.begin(), before.end(), "0000000001"), before.end());
  json value = fw::CheckResultServ(ConfirmOrders(pending, "0000000001_0000000009_"));
  std::vector<std::string> after = OrderNumbers(value);
  EXPECT_EQ(after.size(), before.size() - 2);
  EXPECT_EQ(std::find(after.begin(), after.end(), "0000000009"), after.end());
  EXPECT_EQ(OrderStatus("0001", "0000000001"), "2");
  EXPECT_EQ(OrderStatus("0001", "0000000009"), "2");
  EXPECT_EQ(Text(*db_, "SELECT CDOPERALT FROM PEDIDO WHERE NRPEDIDO = '0000000001'"), "DANIELA");
  EXPECT_EQ(Count(*db_, "SELECT COUNT(*) FROM HISTSITPEDIDO WHERE NRITEMPED IS NULL"
                        " AND IDSITANT = '1' AND IDSITNOVA = '2' AND CDOPERADOR = 'DANIELA'"
                        " AND DTHIST = :T",
                  {{"T", Noon()}}),
            2);
}

TEST_F(ConfirmTest, ListIsReadLeniently) {
  // Short numbers are padded, repeats and empty pieces are ignored.
  fw::CheckResultServ(ConfirmOrders(TFiltro{}, "1__1_0000000001_9"));
  EXPECT_EQ(OrderStatus("0001", "0000000001"), "2");
  EXPECT_EQ(OrderStatus("0001", "0000000009"), "2");
  EXPECT_EQ(History(), 2);
  // Nothing listed: nothing changes, the list comes back.
  json value = fw::CheckResultServ(ConfirmOrders(TFiltro{}, ""));
  EXPECT_FALSE(OrderNumbers(value).empty());
  EXPECT_EQ(History(), 2);
}

TEST_F(ConfirmTest, OrderHeldByAnotherOperatorRefusesTheWholeList) {
  // Order 4 is held by MARIA until 30 days after the demo's day.
  EXPECT_EQ(Refusal(ConfirmOrders(TFiltro{}, "0000000001_0000000004_")),
            std::string(kOperBloq) + " (Pedido 0000000004, operador MARIA.)");
  EXPECT_EQ(OrderStatus("0001", "0000000001"), "1");  // all or nothing
  EXPECT_EQ(OrderStatus("0001", "0000000004"), "1");
  EXPECT_EQ(History(), 0);
  // The text is the one the screen sends.
  json reply = con_->Call("SetPedidoPEAN", TFiltro{}.SetPedidoPEAN("4_", "Bloqueado!"));
  EXPECT_EQ(Refusal(reply), "Bloqueado! (Pedido 0000000004, operador MARIA.)");
  // MARIA herself is not held by her own lock.
  fw::CheckResultServ(ConfirmOrders(TFiltro{.operador = "MARIA"}, "0000000004_"));
  EXPECT_EQ(OrderStatus("0001", "0000000004"), "2");
}

TEST_F(ConfirmTest, ExpiredLockNoLongerHolds) {
  server_.now = Today() + 31;
  fw::CheckResultServ(ConfirmOrders(TFiltro{}, "0000000004_"));
  EXPECT_EQ(OrderStatus("0001", "0000000004"), "2");
}

TEST_F(ConfirmTest, OrdersNoLongerPendingOrUnknownAreNamed) {
  EXPECT_EQ(Refusal(ConfirmOrders(TFiltro{}, "0000000001_0000000005_")),
            "O pedido 0000000005 não está mais pendente (situação AN). Atualize os dados.");
  EXPECT_EQ(Refusal(ConfirmOrders(TFiltro{}, "0000000006_")),
            "O pedido 0000000006 não está mais pendente (situação PA). Atualize os dados.");
  EXPECT_EQ(Refusal(ConfirmOrders(TFiltro{}, "0000000001_0000000012_")),
            "Pedido 0000000012 não encontrado na filial 0001.");
  EXPECT_EQ(Refusal(ConfirmOrders(TFiltro{}, "' OR 1=1 --_")),
            "Pedido ' OR 1=1 -- não encontrado na filial 0001.");
  EXPECT_EQ(OrderStatus("0001", "0000000001"), "1");
  EXPECT_EQ(History(), 0);
  // Confirming twice: the second time the order is no longer pending.
  fw::CheckResultServ(ConfirmOrders(TFiltro{}, "0000000001_"));
  EXPECT_NE(Refusal(ConfirmOrders(TFiltro{}, "0000000001_")).find("não está mais pendente"),
            std::string::npos);
  EXPECT_EQ(History(), 1);
}

TEST_F(ConfirmTest, BadFilterIsRefusedBeforeAnythingMoves) {
  try {
    ConfirmOrders(TFiltro{.prio = "alta"}, "0000000001_");
    FAIL();
  } catch (const fw::EServerError& e) {
    EXPECT_EQ(e.Code(), -32602);
    EXPECT_NE(std::string(e.what()).find("SetPedidoPEAN: o argumento 14 (Prio.stCodigos)"),
              std::string::npos)
        << e.what();
  }
  EXPECT_EQ(OrderStatus("0001", "0000000001"), "1");
}

TEST_F(ConfirmTest, MarkedPendingItemsAreConfirmed) {
  // Order 8 has items 001..008; 001 and 008 are pending, 002 is confirmed.
  json items = MarkedItems("0000000008", {"001", "008"});
  TFiltro f{.statIPed = "1"};
  json value = fw::CheckResultServ(
      con_->Call("SetItemPedidoPECF", f.SetItemPedidoPECF("0000000008", items, kOperBloq)));
  ASSERT_TRUE(value.is_array());
  ASSERT_EQ(value.size(), 2u);
  EXPECT_EQ(ItemStatus("0000000008", "001"), "2");
  EXPECT_EQ(ItemStatus("0000000008", "008"), "2");
  EXPECT_EQ(ItemStatus("0000000008", "003"), "3");  // untouched
  EXPECT_EQ(OrderStatus("0001", "0000000008"), "1");
  // Element 0: the order list under the filter; order 8 has no pending item left.
  std::vector<std::string> orders = OrderNumbers(value[0]);
  EXPECT_EQ(std::find(orders.begin(), orders.end(), "0000000008"), orders.end());
  EXPECT_NE(std::find(orders.begin(), orders.end(), "0000000001"), orders.end());
  // Element 1: the order's items, refreshed and unmarked.
  EXPECT_EQ(value[1]["rows"].size(), 8u);
  EXPECT_EQ(Cell(value[1], 0, "IDSITITEMPED"), "2");
  EXPECT_EQ(Cell(value[1], 0, "IDCHECK"), "N");
  EXPECT_EQ(Count(*db_, "SELECT COUNT(*) FROM HISTSITPEDIDO WHERE NRPEDIDO = '0000000008'"
                        " AND NRITEMPED IN ('001', '008')"),
            2);
}

TEST_F(ConfirmTest, OnlyEditedRowsMarkedNowCount) {
  // Marked then unmarked: two log entries, nothing to confirm.
  fw::TClientDataSet cds("cdsItemPedido");
  cds.SetData(fw::TDataPacket::FromJson(con_->Call("GetItemPedido", {"0001", "0000000001", "", "T"})));
  cds.Edit();
  cds.FieldByName("IDCHECK").SetAsString("S");
  cds.Post();
  cds.Edit();
  cds.FieldByName("IDCHECK").SetAsString("N");
  cds.Post();
  json items = cds.Data().ToJson();
  // A row that says "S" without having been edited is not the operator's mark.
  items["rows"][1][0] = "S";
  fw::CheckResultServ(
      con_->Call("SetItemPedidoPECF", TFiltro{}.SetItemPedidoPECF("0000000001", items, kOperBloq)));
  EXPECT_EQ(History(), 0);
}

TEST_F(ConfirmTest, ItemConfirmationRefusals) {
  auto call = [&](const std::string& order, const json& items, const TFiltro& f = TFiltro{}) {
    return con_->Call("SetItemPedidoPECF", f.SetItemPedidoPECF(order, items, kOperBloq));
  };
  // 002 is already confirmed: nothing moves, 001 included.
  EXPECT_EQ(Refusal(call("0000000008", MarkedItems("0000000008", {"001", "002"}))),
            "O item 002 do pedido 0000000008 não está mais pendente (situação CF). Atualize os dados.");
  EXPECT_EQ(ItemStatus("0000000008", "001"), "1");
  // Order 4 is held by MARIA.
  EXPECT_EQ(Refusal(call("0000000004", MarkedItems("0000000004", {"001"}))),
            std::string(kOperBloq) + " (Pedido 0000000004, operador MARIA.)");
  EXPECT_EQ(ItemStatus("0000000004", "001"), "1");
  EXPECT_EQ(History(), 0);
  // Items of one order sent as another's.
  try {
    call("0000000001", MarkedItems("0000000004", {"001"}));
    FAIL();
  } catch (const fw::EServerError& e) {
    EXPECT_EQ(e.Code(), -32602);
    EXPECT_NE(std::string(e.what()).find("argumento 4 (itens do pedido)"), std::string::npos);
  }
  // Not a packet, or a packet without the item key.
  for (json bad : {json{{"fields", 1}}, json{{"fields", json::array()}, {"rows", json::array()}},
                   json::object()}) {
    try {
      call("0000000001", bad);
      ADD_FAILURE() << bad.dump();
    } catch (const fw::EServerError& e) {
      EXPECT_EQ(e.Code(), -32602) << e.what();
    }
  }
  EXPECT_EQ(History(), 0);
}

}  // namespace
}  // namespace appserver::testing
