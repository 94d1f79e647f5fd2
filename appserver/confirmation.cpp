#include "appserver/confirmation.h"

#include <algorithm>
#include <map>
#include <chrono>
#include <random>
#include <set>
#include <thread>
#include <unordered_set>

#include "appserver/order_filter.h"
#include "appserver/order_store.h"
#include "base/errors.h"
#include "data/data_packet.h"

namespace appserver {

namespace {

const char* kDefaultOperBloq = "Operação bloqueada. Pedido em alteração por outro usuário.";

// Keeps the first of repeated keys, in order.
class TUniqueKeys {
 public:
  void Add(std::string key) {
    if (seen_.insert(key).second) keys_.push_back(std::move(key));
  }
  std::vector<std::string> Take() { return std::move(keys_); }

 private:
  std::unordered_set<std::string> seen_;
  std::vector<std::string> keys_;
};

// What a confirmation reads of an order before it changes anything: its
// status and the operator other than the caller who holds it (a lock in
// BLOQPEDIDO not yet expired), empty when nobody does.
struct TOrderState {
  std::string Status;
  std::string Holder;
};

// Reads the listed orders of the branch in one statement. On PostgreSQL
// their rows are locked as they are read, in key order, so two batches
// that overlap wait for each other instead of deadlocking (SQLite's write
// lock, taken when the transaction began, already keeps every other
// writer out). Orders not found are missing from the answer.
std::map<std::string, TOrderState> ReadOrders(fw::SqlDriver& db, const TConfirmation& c,
                                              const std::vector<std::string>& orders) {
  TSqlBuilder q(
      "SELECT P.NRPEDIDO, P.IDSITPEDIDO, (SELECT MIN(B.CDOPERADOR) FROM BLOQPEDIDO B"
      " WHERE B.CDFILIAL = P.CDFILIAL AND B.NRPEDIDO = P.NRPEDIDO"
      " AND B.CDOPERADOR <> :P_CDOPERADOR AND B.DTEXPIRA > :P_AGORA) AS HOLDER"
      " FROM PEDIDO P WHERE P.CDFILIAL = :P_CDFILIAL",
      db.Dialect());
  q.Bind("P_CDFILIAL", c.Branch);
  q.Bind("P_CDOPERADOR", c.Operator);
  q.Bind("P_AGORA", c.Now);
  q.And(q.KeysIn("P.NRPEDIDO", "P_PEDIDOS", orders));
  q.Append(" ORDER BY P.NRPEDIDO");
  if (db.Dialect() == fw::TSqlDialect::PostgreSQL) q.Append(" FOR UPDATE OF P");
  TSqlQuery sql = q.Take();
  std::map<std::string, TOrderState> states;
  for (const auto& row : db.Query(sql.Sql, sql.Params).Rows) {
    const std::string* holder = std::get_if<std::string>(&row[2]);
    states[std::get<std::string>(row[0])] = {std::get<std::string>(row[1]), holder ? *holder : ""};
  }
  return states;
}

// The statuses of the listed items of an order, read (and on PostgreSQL
// locked) in one statement, in key order.
std::map<std::string, std::string> ReadItems(fw::SqlDriver& db, const TConfirmation& c,
                                             const std::string& order,
                                             const std::vector<std::string>& items) {
  TSqlBuilder q(
      "SELECT NRITEMPED, IDSITITEMPED FROM ITEMPEDIDO WHERE CDFILIAL = :P_CDFILIAL"
      " AND NRPEDIDO = :P_NRPEDIDO",
      db.Dialect());
  q.Bind("P_CDFILIAL", c.Branch);
  q.Bind("P_NRPEDIDO", order);
  q.And(q.KeysIn("NRITEMPED", "P_ITENS", items));
  q.Append(" ORDER BY NRITEMPED");
  if (db.Dialect() == fw::TSqlDialect::PostgreSQL) q.Append(" FOR UPDATE");
  TSqlQuery sql = q.Take();
  std::map<std::string, std::string> statuses;
  for (const auto& row : db.Query(sql.Sql, sql.Params).Rows)
    statuses[std::get<std::string>(row[0])] = std::get<std::string>(row[1]);
  return statuses;
}

// Refuses, naming the order and the holder after the client's text, when
// another operator holds it.
void CheckNotHeld(const TConfirmation& c, const std::string& order, const TOrderState& state) {
  if (state.Holder.empty()) return;
  throw TServiceError((c.OperBloq.empty() ? kDefaultOperBloq : c.OperBloq) + " (Pedido " + order +
                      ", operador " + state.Holder + ".)");
}

// Runs `sql` (an UPDATE or an INSERT ... SELECT that ends in a condition)
// restricted to the keys, and answers the rows it changed.
int64_t ExecuteForKeys(fw::SqlDriver& db, const std::string& sql, fw::SqlParams params,
                       const std::string& keyColumn, const std::vector<std::string>& keys) {
  TSqlBuilder q(sql, db.Dialect());
  for (auto& [name, value] : params) q.Bind(name, std::move(value));
  q.And(q.KeysIn(keyColumn, "P_CHAVES", keys));
  TSqlQuery statement = q.Take();
  db.Execute(statement.Sql, statement.Params);
  return db.RowsAffected();
}

// Raised if an update found its rows changed under the lock, which the
// transaction rules out; kept as a guard all the same.
[[noreturn]] void ChangedMeanwhile(const std::string& what) {
  throw TServiceError(what + " foi alterado por outro usuário. Atualize os dados.");
}

void ConfirmOrdersOnce(fw::SqlDriver& db, const TConfirmation& c,
                       const std::vector<std::string>& orders) {
  fw::TSqlTransaction tx(db);
  std::map<std::string, TOrderState> states = ReadOrders(db, c, orders);
  for (const std::string& order : orders) {
    auto state = states.find(order);
    if (state == states.end()) OrderNotFound(c.Branch, order);
    CheckNotHeld(c, order, state->second);
    if (state->second.Status != "1")
      throw TServiceError("O pedido " + Shown(order) + " não está mais pendente (situação " +
                          OrderStatusText(state->second.Status) + "). Atualize os dados.");
  }
  fw::SqlParams who = {{"P_CDFILIAL", c.Branch}, {"P_CDOPERADOR", c.Operator}, {"P_AGORA", c.Now}};
  int64_t moved = ExecuteForKeys(db,
                         "UPDATE PEDIDO SET IDSITPEDIDO = '2', CDOPERALT = :P_CDOPERADOR,"
                         " DTALTPEDIDO = :P_AGORA WHERE CDFILIAL = :P_CDFILIAL AND IDSITPEDIDO = '1'",
                         who, "NRPEDIDO", orders);
  if (moved != static_cast<int64_t>(orders.size())) ChangedMeanwhile("Um dos pedidos");
  ExecuteForKeys(db,
                 "INSERT INTO HISTSITPEDIDO (CDFILIAL, NRPEDIDO, NRITEMPED, IDSITANT, IDSITNOVA,"
                 " CDOPERADOR, DTHIST) SELECT CDFILIAL, NRPEDIDO, NULL, '1', '2', :P_CDOPERADOR,"
                 " :P_AGORA FROM PEDIDO WHERE CDFILIAL = :P_CDFILIAL",
                 who, "NRPEDIDO", orders);
  tx.Commit();
}

void ConfirmItemsOnce(fw::SqlDriver& db, const TConfirmation& c, const std::string& order,
                      const std::vector<std::string>& items) {
  fw::TSqlTransaction tx(db);
  std::map<std::string, TOrderState> states = ReadOrders(db, c, {order});
  if (states.empty()) OrderNotFound(c.Branch, order);
  CheckNotHeld(c, order, states.begin()->second);
  std::map<std::string, std::string> statuses = ReadItems(db, c, order, items);
  for (const std::string& item : items) {
    auto status = statuses.find(item);
    if (status == statuses.end())
      throw TServiceError("Item " + Shown(item) + " não encontrado no pedido " + Shown(order) +
                          ".");
    if (status->second != "1")
      throw TServiceError("O item " + Shown(item) + " do pedido " + Shown(order) +
                          " não está mais pendente (situação " + ItemStatusText(status->second) +
                          "). Atualize os dados.");
  }
  fw::SqlParams where = {{"P_CDFILIAL", c.Branch}, {"P_NRPEDIDO", order}};
  int64_t moved = ExecuteForKeys(db,
                                 "UPDATE ITEMPEDIDO SET IDSITITEMPED = '2' WHERE CDFILIAL = :P_CDFILIAL"
                                 " AND NRPEDIDO = :P_NRPEDIDO AND IDSITITEMPED = '1'",
                                 where, "NRITEMPED", items);
  if (moved != static_cast<int64_t>(items.size())) ChangedMeanwhile("Um dos itens");
  where.insert(where.end(), {{"P_CDOPERADOR", c.Operator}, {"P_AGORA", c.Now}});
  ExecuteForKeys(db,
                 "INSERT INTO HISTSITPEDIDO (CDFILIAL, NRPEDIDO, NRITEMPED, IDSITANT, IDSITNOVA,"
                 " CDOPERADOR, DTHIST) SELECT CDFILIAL, NRPEDIDO, NRITEMPED, '1', '2', :P_CDOPERADOR,"
                 " :P_AGORA FROM ITEMPEDIDO WHERE CDFILIAL = :P_CDFILIAL AND NRPEDIDO = :P_NRPEDIDO",
                 where, "NRITEMPED", items);
  tx.Commit();
}

// Runs a confirmation again when PostgreSQL gave up on it for a deadlock or
// a serialization failure (its transaction was rolled back whole), a few
// times with a growing random pause; the last failure is raised. SQLite
// has already waited out its busy timeout: it is not retried.
template <typename Work>
void WithRetry(fw::SqlDriver& db, Work work) {
  constexpr int kAttempts = 5;
  thread_local std::minstd_rand random(std::random_device{}());
  for (int attempt = 1;; ++attempt) {
    try {
      work();
      return;
    } catch (const fw::EDatabaseBusy&) {
      if (attempt == kAttempts || db.Dialect() != fw::TSqlDialect::PostgreSQL) throw;
    }
    int pause = (5 << attempt) + static_cast<int>(random() % 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(pause));
  }
}

}  // namespace

std::vector<std::string> OrderNumbersOf(std::string_view list) {
  TUniqueKeys orders;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find('_', start);
    if (end == std::string_view::npos) end = list.size();
    if (end > start) orders.Add(FixedOrderNumber(std::string(list.substr(start, end - start))));
    start = end + 1;
  }
  return orders.Take();
}

std::vector<std::string> MarkedItems(const TArgs& args, int n, const std::string& branch,
                                     const std::string& order) {
  fw::TDataPacket packet;
  try {
    packet = fw::TDataPacket::FromJson(args.Json(n));
  } catch (const fw::Exception& e) {
    args.Invalid(n, std::string("não é um pacote de dados válido: ") + e.what());
  }
  int item = packet.FieldIndex("NRITEMPED");
  int check = packet.FieldIndex("IDCHECK");
  if (item < 0 || check < 0) args.Invalid(n, "deve trazer os campos NRITEMPED e IDCHECK.");
  int rowBranch = packet.FieldIndex("CDFILIAL");
  int rowOrder = packet.FieldIndex("NRPEDIDO");

  std::set<size_t> edited;
  for (const fw::TChangeEntry& change : packet.Changes) edited.insert(change.RowIndex);
  TUniqueKeys items;
  for (size_t r : edited) {
    const fw::Row& row = packet.Rows[r];
    const std::string* mark = std::get_if<std::string>(&row[check]);
    if (!mark || *mark != "S") continue;
    const std::string* key = std::get_if<std::string>(&row[item]);
    if (!key || key->empty()) args.Invalid(n, "traz um item marcado sem NRITEMPED.");
    auto differs = [&](int field, const std::string& expected) {
      if (field < 0) return false;
      const std::string* value = std::get_if<std::string>(&row[field]);
      return value && *value != expected;
    };
    if (differs(rowBranch, branch) || differs(rowOrder, order))
      args.Invalid(n, "traz o item " + Shown(*key) + " de outro pedido que não o " + Shown(order) +
                          " da filial " + Shown(branch) + ".");
    items.Add(*key);
  }
  return items.Take();
}

void ConfirmOrders(fw::SqlDriver& db, const TConfirmation& c,
                   const std::vector<std::string>& orders) {
  if (orders.empty()) return;
  WithRetry(db, [&] { ConfirmOrdersOnce(db, c, orders); });
}

void ConfirmItems(fw::SqlDriver& db, const TConfirmation& c, const std::string& order,
                  const std::vector<std::string>& items) {
  if (items.empty()) return;
  WithRetry(db, [&] { ConfirmItemsOnce(db, c, order, items); });
}

}  // namespace appserver
