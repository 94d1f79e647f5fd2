// The order list written a piece at a time reads as the packet written
// whole, on either database.
#include "appserver/packet_reply.h"

#include <gtest/gtest.h>

#include "appserver/order_store.h"
#include "appserver/packet_layouts.h"
#include "appserver/test_support.h"

namespace appserver::testing {
namespace {

TEST(PacketReplyTest, PiecesMakeTheTextOfTheWholeList) {
  TDemoDatabase data(120, 5);
  TDbPool pool(data.Url());
  json params = TFiltro{}.GetPedido();
  TOrderFilter filter = ReadFilter(TArgs("GetPedido", SignatureWithFilter(kGetPedidoArgs, 29, {}), params),
                                   kGetPedidoArgs);
  std::string whole;
  {
    TDbPool::TLease db = pool.Acquire();
    whole = TOrderStore(*db).Pedidos(filter).ToFastString();
  }
  for (size_t pieceBytes : {size_t(1), size_t(700), TPacketReply::kPieceBytes}) {
    TDbPool::TLease db = pool.Acquire();
    TSqlQuery q = TOrderStore(*db).PedidosQuery(filter);
    std::unique_ptr<fw::SqlCursor> rows = db->OpenCursor(q.Sql, q.Params);
    TPacketReply reply(std::move(db), PedidoLayout(), std::move(rows), pieceBytes);
    std::string text;
    size_t pieces = 1;
    while (reply.Next(text)) ++pieces;
    EXPECT_EQ(text, whole) << pieceBytes;
    EXPECT_GT(text.size(), 5000u);  // a list of many rows
    EXPECT_FALSE(reply.Next(text));  // ended for good: the statement is not run again
    EXPECT_EQ(text, whole);
    EXPECT_EQ(pieces > 1, pieceBytes < whole.size()) << pieceBytes;
  }
}

TEST(PacketReplyTest, ColumnsOtherThanTheLayoutsAreAFault) {
  TDemoDatabase data(100, 5);
  TDbPool pool(data.Url());
  TDbPool::TLease db = pool.Acquire();
  std::unique_ptr<fw::SqlCursor> rows = db->OpenCursor("SELECT NRPEDIDO FROM PEDIDO", {});
  EXPECT_THROW(TPacketReply(std::move(db), PedidoLayout(), std::move(rows)), std::logic_error);
}

}  // namespace
}  // namespace appserver::testing
