// The two confirmations: pending orders to "in progress" (SetPedidoPEAN)
// and pending items to "confirmed" (SetItemPedidoPECF).
//
// Each runs in one write transaction taken at its start (BEGIN IMMEDIATE
// on SQLite; on PostgreSQL the rows it changes are locked first, in key
// order), so everything it reads stays true until it commits: either
// every listed order (item) moves, or nothing does. A PostgreSQL deadlock
// or serialization failure runs the whole confirmation again, at most five
// times; after that it raises EDatabaseBusy, which the client sees as a
// refusal, never as success. It is refused with a
// TServiceError, and nothing changes, when
//   - an order is held by another operator (a lock in BLOQPEDIDO that has
//     not expired): the message is the "OperBloq" text the client sent,
//     then the order and the holder: "... (Pedido 0000000004, operador
//     MARIA.)";
//   - an order (item) does not exist, or is no longer pending: a message
//     naming it and its present status.
// Two confirmations of the same orders at the same moment therefore run
// one after the other, and the second finds them no longer pending. Each
// change is written to HISTSITPEDIDO with the operator and the time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "appserver/rpc_args.h"
#include "sql/sql_driver.h"

namespace appserver {

struct TConfirmation {
  std::string Branch;
  std::string Operator;
  std::string OperBloq;  // refusal text for an order held by another operator
  double Now = 0;        // OLE Automation date-time of the change
};

// "123_456_" -> {"0000000123", "0000000456"}: every number is followed by
// "_"; empty pieces are skipped and repeats dropped.
std::vector<std::string> OrderNumbersOf(std::string_view list);

// The items the operator marked in an item packet sent back by the screen:
// rows that the change log shows edited and whose IDCHECK now is "S", by
// NRITEMPED, without repeats. Argument `n` of `args` is the packet; a
// packet that cannot be read, lacks NRITEMPED or IDCHECK, or holds an item
// of another branch or order raises TRpcError(-32602).
std::vector<std::string> MarkedItems(const TArgs& args, int n, const std::string& branch,
                                     const std::string& order);

void ConfirmOrders(fw::SqlDriver& db, const TConfirmation& c,
                   const std::vector<std::string>& orders);
void ConfirmItems(fw::SqlDriver& db, const TConfirmation& c, const std::string& order,
                  const std::vector<std::string>& items);

}  // namespace appserver
