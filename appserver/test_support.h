// Helpers of the application server's tests: a demo database in a
// temporary file, the service answering in process, and the filter's 29
// values with the argument lists each method takes them in. Header-only:
// only test programs include it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "appserver/db_pool.h"
#include "appserver/demo_data.h"
#include "appserver/dispatcher.h"
#include "appserver/order_service.h"
#include "appserver/schema.h"
#include "rpc/net_connection.h"
#include "testing/test_database.h"
#include "text/date_time.h"

namespace appserver::testing {

using nlohmann::json;

// The day the test data are built around: 10/06/2024.
inline double Today() { return fw::EncodeDate(2024, 6, 10); }
// Noon of that day: the time the service sees unless a test says otherwise.
inline double Noon() { return Today() + 0.5; }

inline std::string TempPath(const std::string& stem) {
  static std::atomic<int> counter{0};
  return ::testing::TempDir() + "appserver_" + stem + "_" + std::to_string(getpid()) + "_" +
         std::to_string(counter++) + ".db";
}

inline void RemoveDatabase(const std::string& path) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"})
    std::filesystem::remove(path + suffix, ignored);
}

// A demo database of its own (an SQLite file, or a PostgreSQL database
// when the run uses one), removed at the end.
class TDemoDatabase {
 public:
  explicit TDemoDatabase(int orders = 400, uint64_t seed = 7,
                         fw::testing::TTestBackend backend = fw::testing::TTestBackend::kOfTheRun)
      : db_("demo", backend) {
    auto db = Open();
    fw::TSqlTransaction tx(*db);
    CreateSchema(*db);
    FillDemoData(*db, {seed, orders, Today()});
    tx.Commit();
  }
  TDemoDatabase(const TDemoDatabase&) = delete;
  TDemoDatabase& operator=(const TDemoDatabase&) = delete;

  // What --db takes: the file's path or the URL.
  const std::string& Path() const { return db_.Place(); }
  const std::string& Url() const { return db_.Url(); }
  std::unique_ptr<fw::SqlDriver> Open() const { return fw::OpenSqlDriver(Url()); }

 private:
  fw::testing::TTestDatabase db_;
};

// The order service on a database, answering connections in process.
class TLocalServer {
 public:
  explicit TLocalServer(const std::string& url) : pool_(url), dispatcher_(Make()) {}

  const TDispatcher& Dispatcher() const { return *dispatcher_; }
  std::unique_ptr<fw::TNetConnection> Connect() const {
    auto con = std::make_unique<fw::TNetConnection>("netConPed");
    con->ServerName = kModuleName;
    con->UseTransport(fw::MakeInProcessTransport(
        [this](const json& request) { return dispatcher_->Handle(request); }));
    return con;
  }
  double now = Noon();  // the service's clock
  std::vector<std::string> log;

 private:
  std::unique_ptr<TDispatcher> Make() {
    return std::make_unique<TDispatcher>(
        kModuleName, OrderServiceMethods(pool_, [this] { return now; }),
        [this](const std::string& line) { log.push_back(line); });
  }
  TDbPool pool_;
  std::unique_ptr<TDispatcher> dispatcher_;
};

// The filter's server form, the branch and the operator, as the screens
// send them; defaults restrict nothing but the branch.
struct TFiltro {
  std::string vendLog = "", todosVendLog = "T", vendLista = "", vendTodos = "T";
  std::string comisLista = "", comisTodos = "T", cliLista = "", cliTodos = "T";
  std::string munLista = "", munTodos = "T", prodLista = "", prodTodos = "T";
  std::string prio = "43210", statPed = "126", statIPed = "1234567";
  double emDe = 0, emAte = 0;
  std::string emTodos = "T";
  double enDe = 0, enAte = 0;
  std::string enTodos = "T";
  std::string nrDe = "", nrAte = "", nrLista = "", nrTodos = "T";
  std::string filial = "0001";
  std::string tipoLista = "", tipoTodos = "T";
  std::string operador = "DANIELA";

  // The 29 arguments of GetPedido.
  std::vector<json> GetPedido() const {
    return {vendLog,  todosVendLog, vendLista, vendTodos, comisLista, comisTodos, cliLista,
            cliTodos, munLista,     munTodos,  prodLista, prodTodos,  prio,       statPed,
            statIPed, emDe,         emAte,     emTodos,   enDe,       enAte,      enTodos,
            nrDe,     nrAte,        nrLista,   nrTodos,   filial,     tipoLista,  tipoTodos,
            operador};
  }
  // The 25 filter values the confirmations carry after their own leading
  // arguments.
  std::vector<json> F25() const {
    return {vendLog, todosVendLog, vendLista, vendTodos, cliLista, cliTodos, munLista,
            munTodos, prodLista,   prodTodos, prio,      statPed,  statIPed, emDe,
            emAte,    emTodos,     enDe,      enAte,     enTodos,  nrDe,     nrAte,
            nrLista,  nrTodos,     tipoLista, tipoTodos};
  }
  // The 31 arguments of SetPedidoPEAN.
  std::vector<json> SetPedidoPEAN(const std::string& list, const std::string& operBloq) const {
    std::vector<json> a = {filial, list, operador};
    for (json& v : F25()) a.push_back(std::move(v));
    a.insert(a.end(), {operBloq, comisLista, comisTodos});
    return a;
  }
  // The 32 arguments of SetItemPedidoPECF.
  std::vector<json> SetItemPedidoPECF(const std::string& order, const json& items,
                                      const std::string& operBloq) const {
    std::vector<json> a = {filial, order, operador, items};
    for (json& v : F25()) a.push_back(std::move(v));
    a.insert(a.end(), {operBloq, comisLista, comisTodos});
    return a;
  }
};

inline const char* kOperBloq = "Operação bloqueada. Pedido em alteração por outro usuário.";

// The NRPEDIDO column of an order-list packet, in packet order.
inline std::vector<std::string> OrderNumbers(const json& packet) {
  int column = -1;
  const json& fields = packet.at("fields");
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i]["name"] == "NRPEDIDO") column = static_cast<int>(i);
  std::vector<std::string> numbers;
  for (const json& row : packet.at("rows")) numbers.push_back(row.at(column));
  return numbers;
}

// One value of a packet by row and field name.
inline json Cell(const json& packet, size_t row, const std::string& field) {
  const json& fields = packet.at("fields");
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i]["name"] == field) return packet.at("rows").at(row).at(i);
  ADD_FAILURE() << "no field " << field;
  return nullptr;
}

// A single value of a query.
inline fw::SqlValue Scalar(fw::SqlDriver& db, const std::string& sql, const fw::SqlParams& p = {}) {
  fw::SqlResult r = db.Query(sql, p);
  return r.Rows.empty() ? fw::SqlValue() : r.Rows[0][0];
}
inline int64_t Count(fw::SqlDriver& db, const std::string& sql, const fw::SqlParams& p = {}) {
  return std::get<int64_t>(Scalar(db, sql, p));
}
inline std::string Text(fw::SqlDriver& db, const std::string& sql, const fw::SqlParams& p = {}) {
  fw::SqlValue v = Scalar(db, sql, p);
  return std::holds_alternative<std::string>(v) ? std::get<std::string>(v) : std::string();
}

// All rows of all tables, as text, to compare two databases.
// Password hashes are salted at random: they are left out.
inline std::string DatabaseContents(fw::SqlDriver& db) {
  std::string all;
  for (auto& t :
       db.Query("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", {}).Rows) {
    std::string table = std::get<std::string>(t[0]);
    all += "#" + table + "\n";
    for (auto& row : db.Query("SELECT * FROM " + table + " ORDER BY rowid", {}).Rows) {
      for (auto& v : row) {
        if (auto* s = std::get_if<std::string>(&v)) all += s->starts_with("$argon2") ? "hash" : *s;
        else if (auto* d = std::get_if<double>(&v)) all += std::to_string(*d);
        else if (auto* i = std::get_if<int64_t>(&v)) all += std::to_string(*i);
        all += '|';
      }
      all += '\n';
    }
  }
  return all;
}

}  // namespace appserver::testing
