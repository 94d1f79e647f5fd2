#include "appserver/confirmation.h"

#include <algorithm>
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

// Refuses when another operator holds a lock on the order that has not
// expired, naming the order and the holder after the client's text.
void CheckNotHeld(fw::SqlDriver& db, const TConfirmation& c, const std::string& order) {
  fw::SqlResult held = db.Query(
      "SELECT CDOPERADOR FROM BLOQPEDIDO WHERE CDFILIAL = :P_CDFILIAL AND NRPEDIDO = :P_NRPEDIDO"
      " AND CDOPERADOR <> :P_CDOPERADOR AND DTEXPIRA > :P_AGORA",
      {{"P_CDFILIAL", c.Branch},
       {"P_NRPEDIDO", order},
       {"P_CDOPERADOR", c.Operator},
       {"P_AGORA", c.Now}});
  if (held.Rows.empty()) return;
  const fw::SqlValue& holder = held.Rows[0][0];
  std::string name = std::holds_alternative<std::string>(holder) ? std::get<std::string>(holder) : "";
  throw TServiceError((c.OperBloq.empty() ? kDefaultOperBloq : c.OperBloq) + " (Pedido " + order +
                      ", operador " + name + ".)");
}

void WriteHistory(fw::SqlDriver& db, const TConfirmation& c, const std::string& order,
                  const fw::SqlValue& item, const char* from, const char* to) {
  db.Execute(
      "INSERT INTO HISTSITPEDIDO (CDFILIAL, NRPEDIDO, NRITEMPED, IDSITANT, IDSITNOVA, CDOPERADOR,"
      " DTHIST) VALUES (:P_CDFILIAL, :P_NRPEDIDO, :P_NRITEMPED, :P_ANT, :P_NOVA, :P_CDOPERADOR,"
      " :P_AGORA)",
      {{"P_CDFILIAL", c.Branch},
       {"P_NRPEDIDO", order},
       {"P_NRITEMPED", item},
       {"P_ANT", std::string(from)},
       {"P_NOVA", std::string(to)},
       {"P_CDOPERADOR", c.Operator},
       {"P_AGORA", c.Now}});
}

// Raised if a conditional update found its row changed under the write
// lock, which the transaction rules out; kept as a guard all the same.
[[noreturn]] void ChangedMeanwhile(const std::string& what) {
  throw TServiceError(what + " foi alterado por outro usuário. Atualize os dados.");
}

// On PostgreSQL, locks the rows a confirmation will change, in the order
// of their keys, so two batches that overlap wait for each other instead of
// deadlocking. (SQLite's write lock, taken when the transaction began,
// already keeps every other writer out.) `keyColumn` is the table's last
// key column, `keys` its values; `where` fixes the others.
void LockRows(fw::SqlDriver& db, const std::string& table, const std::string& where,
              fw::SqlParams params, const std::string& keyColumn, std::vector<std::string> keys) {
  if (db.Dialect() != fw::TSqlDialect::PostgreSQL) return;
  std::sort(keys.begin(), keys.end());
  TSqlBuilder q("SELECT " + keyColumn + " FROM " + table + " WHERE " + where, db.Dialect());
  for (auto& [name, value] : params) q.Bind(name, std::move(value));
  q.And(q.KeysIn(keyColumn, "P_CHAVES", keys));
  q.Append(" ORDER BY " + keyColumn + " FOR UPDATE");
  TSqlQuery sql = q.Take();
  db.Query(sql.Sql, sql.Params);
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

void ConfirmOrdersOnce(fw::SqlDriver& db, const TConfirmation& c,
                       const std::vector<std::string>& orders);
void ConfirmItemsOnce(fw::SqlDriver& db, const TConfirmation& c, const std::string& order,
                      const std::vector<std::string>& items);

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

namespace {

void ConfirmOrdersOnce(fw::SqlDriver& db, const TConfirmation& c,
                       const std::vector<std::string>& orders) {
  fw::TSqlTransaction tx(db);
  LockRows(db, "PEDIDO", "CDFILIAL = :P_CDFILIAL", {{"P_CDFILIAL", c.Branch}}, "NRPEDIDO", orders);
  TOrderStore store(db);
  for (const std::string& order : orders) {
    std::string status = store.RequireOrder(c.Branch, order);
    CheckNotHeld(db, c, order);
    if (status != "1")
      throw TServiceError("O pedido " + Shown(order) + " não está mais pendente (situação " +
                          OrderStatusText(status) + "). Atualize os dados.");
  }
  for (const std::string& order : orders) {
    db.Execute(
        "UPDATE PEDIDO SET IDSITPEDIDO = '2', CDOPERALT = :P_CDOPERADOR, DTALTPEDIDO = :P_AGORA"
        " WHERE CDFILIAL = :P_CDFILIAL AND NRPEDIDO = :P_NRPEDIDO AND IDSITPEDIDO = '1'",
        {{"P_CDFILIAL", c.Branch},
         {"P_NRPEDIDO", order},
         {"P_CDOPERADOR", c.Operator},
         {"P_AGORA", c.Now}});
    if (db.RowsAffected() != 1) ChangedMeanwhile("O pedido " + Shown(order));
    WriteHistory(db, c, order, std::monostate{}, "1", "2");
  }
  tx.Commit();
}

void ConfirmItemsOnce(fw::SqlDriver& db, const TConfirmation& c, const std::string& order,
                      const std::vector<std::string>& items) {
  fw::TSqlTransaction tx(db);
  LockRows(db, "PEDIDO", "CDFILIAL = :P_CDFILIAL", {{"P_CDFILIAL", c.Branch}}, "NRPEDIDO", {order});
  LockRows(db, "ITEMPEDIDO", "CDFILIAL = :P_CDFILIAL AND NRPEDIDO = :P_NRPEDIDO",
           {{"P_CDFILIAL", c.Branch}, {"P_NRPEDIDO", order}}, "NRITEMPED", items);
  TOrderStore store(db);
  store.RequireOrder(c.Branch, order);
  CheckNotHeld(db, c, order);
  for (const std::string& item : items) {
    fw::SqlResult r = db.Query(
        "SELECT IDSITITEMPED FROM ITEMPEDIDO WHERE CDFILIAL = :P_CDFILIAL"
        " AND NRPEDIDO = :P_NRPEDIDO AND NRITEMPED = :P_NRITEMPED",
        {{"P_CDFILIAL", c.Branch}, {"P_NRPEDIDO", order}, {"P_NRITEMPED", item}});
    if (r.Rows.empty())
      throw TServiceError("Item " + Shown(item) + " não encontrado no pedido " + Shown(order) +
                          ".");
    const std::string& status = std::get<std::string>(r.Rows[0][0]);
    if (status != "1")
      throw TServiceError("O item " + Shown(item) + " do pedido " + Shown(order) +
                          " não está mais pendente (situação " + ItemStatusText(status) +
                          "). Atualize os dados.");
  }
  for (const std::string& item : items) {
    db.Execute(
        "UPDATE ITEMPEDIDO SET IDSITITEMPED = '2' WHERE CDFILIAL = :P_CDFILIAL"
        " AND NRPEDIDO = :P_NRPEDIDO AND NRITEMPED = :P_NRITEMPED AND IDSITITEMPED = '1'",
        {{"P_CDFILIAL", c.Branch}, {"P_NRPEDIDO", order}, {"P_NRITEMPED", item}});
    if (db.RowsAffected() != 1) ChangedMeanwhile("O item " + Shown(item));
    WriteHistory(db, c, order, item, "1", "2");
  }
  tx.Commit();
}

}  // namespace

}  // namespace appserver
