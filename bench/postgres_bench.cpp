// The application server on PostgreSQL (a throwaway cluster, or the server
// TEST_POSTGRES_URL names), with a demo database of 40,000 orders:
//   PgGetPedidoHttp    : GetPedido of 10,000 orders of branch 0001 through
//                        TNetConnection over HTTP on 127.0.0.1, reply parsed;
//   PgSqlDirect        : the same statement with the same parameters run
//                        with libpq alone, every value read (baseline);
//   PgConfirm1Server   : 8 clients, each confirming 10 batches of 5 orders
//                        over HTTP, all through one server;
//   PgConfirm3Servers  : the same through three servers (each its own
//                        pool and sessions), the clients spread over them;
//   PgUpdatesDirect    : the same 80 transactions run with libpq alone by 8
//                        threads: lock, update, history row, commit (baseline);
//   PgDemoBuild        : 'appserver demo' of 100,000 orders into a new, empty
//                        PostgreSQL database, schema and data;
//   SqliteDemoBuild    : the same into a new SQLite file (baseline).
// Between iterations the 400 orders are put back to pending, untimed.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdio>
#include <thread>

#include "appserver/db_pool.h"
#include "appserver/demo_data.h"
#include "appserver/dispatcher.h"
#include "appserver/http_server.h"
#include "appserver/operator_passwords.h"
#include "appserver/order_filter.h"
#include "appserver/order_service.h"
#include "appserver/schema.h"
#include "appserver/session_store.h"
#include "appserver/test_support.h"
#include "branch_filter.h"
#include "ratio_reporter.h"
#include "served_module.h"
#include "rpc/net_connection.h"
#include "sql/postgres_driver.h"
#include "testing/test_database.h"
#include "text/date_time.h"

namespace {

using nlohmann::json;
constexpr int kOrders = 10000, kClients = 8, kCallsPerClient = 10, kBatch = 5;

struct TBench {
  std::unique_ptr<fw::testing::TTestDatabase> database;
  std::string lastOrder;                          // the 10,000th order of branch 0001
  std::vector<std::vector<std::string>> batches;  // kClients * kCallsPerClient of kBatch orders
  std::vector<std::unique_ptr<bench::TServedModule>> servers;
  std::string token;  // OPER01's session, good on every server

  std::vector<json> ListArgs() const { return bench::BranchFilterArgs(lastOrder); }
  // SetPedidoPEAN of a batch, its refreshed list empty (no order passes).
  std::vector<json> ConfirmArgs(const std::vector<std::string>& batch) const {
    appserver::testing::TFiltro f{.nrDe = "9999999998", .nrAte = "9999999999", .nrTodos = ""};
    f.filial = "0002";
    f.operador = "OPER01";
    std::string list;
    for (const std::string& o : batch) list += o + "_";
    return f.SetPedidoPEAN(list, appserver::testing::kOperBloq);
  }
};

TBench& Bench() {
  static TBench b;
  return b;
}

void SetUp() {
  TBench& b = Bench();
  b.database = std::make_unique<fw::testing::TTestDatabase>("bench", fw::testing::TTestBackend::kPostgres);
  auto db = fw::OpenSqlDriver(b.database->Url());
  appserver::CreateSchema(*db);
  appserver::FillDemoData(*db, {1, 40000, fw::EncodeDate(2024, 6, 10)});
  db->Execute("ANALYZE");
  b.lastOrder = std::get<std::string>(
      db->Query("SELECT NRPEDIDO FROM PEDIDO WHERE CDFILIAL = '0001' ORDER BY NRPEDIDO"
                " LIMIT 1 OFFSET :N", {{"N", int64_t{kOrders - 1}}}).Rows.at(0).at(0));
  fw::SqlResult pending = db->Query(
      "SELECT NRPEDIDO FROM PEDIDO P WHERE CDFILIAL = '0002' AND IDSITPEDIDO = '1' AND NOT EXISTS"
      " (SELECT 1 FROM BLOQPEDIDO B WHERE B.CDFILIAL = P.CDFILIAL AND B.NRPEDIDO = P.NRPEDIDO)"
      " ORDER BY NRPEDIDO LIMIT :N", {{"N", int64_t{kClients * kCallsPerClient * kBatch}}});
  if (pending.Rows.size() != size_t(kClients * kCallsPerClient * kBatch)) {
    std::fprintf(stderr, "not enough pending orders in branch 0002\n");
    std::exit(1);
  }
  b.batches.resize(kClients * kCallsPerClient);
  for (size_t i = 0; i < pending.Rows.size(); ++i)
    b.batches[i / kBatch].push_back(std::get<std::string>(pending.Rows[i][0]));
  db->Execute("INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR) VALUES ('OPER01', 'Operador 01')");
  appserver::SetPassword(*db, "OPER01", "bench");
  for (int i = 0; i < 3; ++i)
    b.servers.push_back(std::make_unique<bench::TServedModule>(b.database->Url(), "OPER01", "bench"));
  b.token = b.servers[0]->token;
}

void TearDown() {
  Bench().servers.clear();
  Bench().database.reset();
}

// The 400 orders back to pending, their history gone.
void Reset() {
  auto db = fw::OpenSqlDriver(Bench().database->Url());
  db->Execute("UPDATE PEDIDO SET IDSITPEDIDO = '1' WHERE CDFILIAL = '0002' AND NRPEDIDO IN"
              " (SELECT NRPEDIDO FROM HISTSITPEDIDO WHERE CDFILIAL = '0002')");
  db->Execute("DELETE FROM HISTSITPEDIDO WHERE CDFILIAL = '0002'");
}

struct TPg {
  explicit TPg(const std::string& url) : conn(PQconnectdb(url.c_str())) {}
  ~TPg() { PQfinish(conn); }
  // Runs a statement; returns the result for the caller to read and clear.
  PGresult* Run(const std::string& sql, const std::vector<std::string>& values = {}) {
    std::vector<const char*> p;
    for (const std::string& v : values) p.push_back(v.c_str());
    PGresult* r = PQexecParams(conn, sql.c_str(), int(p.size()), nullptr, p.data(), nullptr, nullptr, 0);
    ExecStatusType s = PQresultStatus(r);
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK) {
      std::fprintf(stderr, "%s\n", PQerrorMessage(conn));
      std::exit(1);
    }
    return r;
  }
  PGconn* conn;
};

void PgGetPedidoHttp(benchmark::State& state) {
  fw::TNetConnection con;
  con.ServerName = appserver::kModuleName;
  con.Port = Bench().servers[0]->port;
  con.Token = Bench().token;
  con.Open();
  std::vector<json> args = Bench().ListArgs();
  for (auto _ : state) {
    json packet = con.Call("GetPedido", args);
    if (packet["rows"].size() != size_t(kOrders)) state.SkipWithError("wrong number of orders");
  }
}
BENCHMARK(PgGetPedidoHttp)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

void PgSqlDirect(benchmark::State& state) {
  appserver::TOrderFilter f = bench::BranchFilter(Bench().lastOrder);
  appserver::TSqlQuery q = appserver::PedidoQuery(f, fw::TSqlDialect::PostgreSQL);
  fw::PostgresStatement st = fw::NumberParameters(q.Sql);
  std::vector<std::string> values;
  for (const std::string& name : st.Names)
    for (const auto& [n, v] : q.Params)
      if (n == name) values.push_back(std::get<std::string>(v));
  TPg pg(Bench().database->Url());
  for (auto _ : state) {
    PGresult* r = pg.Run(st.Text, values);
    size_t bytes = 0;
    for (int row = 0; row < PQntuples(r); ++row)
      for (int c = 0; c < PQnfields(r); ++c) bytes += PQgetlength(r, row, c);
    benchmark::DoNotOptimize(bytes);
    if (PQntuples(r) != kOrders) state.SkipWithError("wrong number of orders");
    PQclear(r);
  }
}
BENCHMARK(PgSqlDirect)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

// 8 clients confirm their batches through `servers` servers, client k on
// server k % servers.
void Confirm(benchmark::State& state, int servers) {
  for (auto _ : state) {
    state.PauseTiming();
    Reset();
    std::vector<std::unique_ptr<fw::TNetConnection>> cons;
    for (int k = 0; k < kClients; ++k) {
      auto con = std::make_unique<fw::TNetConnection>();
      con->ServerName = appserver::kModuleName;
      con->Port = Bench().servers[k % servers]->port;
      con->Token = Bench().token;
      con->Open();
      cons.push_back(std::move(con));
    }
    state.ResumeTiming();
    std::vector<std::thread> clients;
    std::atomic<int> failed{0};
    for (int k = 0; k < kClients; ++k)
      clients.emplace_back([&, k] {
        for (int c = 0; c < kCallsPerClient; ++c) {
          json reply = cons[k]->Call("SetPedidoPEAN", Bench().ConfirmArgs(Bench().batches[k * kCallsPerClient + c]));
          failed += reply.value("status", "") != "ok";
        }
      });
    for (std::thread& t : clients) t.join();
    if (failed) state.SkipWithError("a confirmation was refused");
  }
  state.SetItemsProcessed(state.iterations() * kClients * kCallsPerClient * kBatch);
}
void PgConfirm1Server(benchmark::State& state) { Confirm(state, 1); }
void PgConfirm3Servers(benchmark::State& state) { Confirm(state, 3); }
BENCHMARK(PgConfirm1Server)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);
BENCHMARK(PgConfirm3Servers)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

void PgUpdatesDirect(benchmark::State& state) {
  std::vector<std::unique_ptr<TPg>> pgs;
  for (int k = 0; k < kClients; ++k) pgs.push_back(std::make_unique<TPg>(Bench().database->Url()));
  for (auto _ : state) {
    state.PauseTiming();
    Reset();
    state.ResumeTiming();
    std::vector<std::thread> clients;
    for (int k = 0; k < kClients; ++k)
      clients.emplace_back([&, k] {
        TPg& pg = *pgs[k];
        for (int c = 0; c < kCallsPerClient; ++c) {
          std::string in;
          for (const std::string& o : Bench().batches[k * kCallsPerClient + c])
            in += (in.empty() ? "'" : ",'") + o + "'";
          PQclear(pg.Run("BEGIN"));
          PQclear(pg.Run("SELECT NRPEDIDO FROM PEDIDO WHERE CDFILIAL = '0002' AND NRPEDIDO IN (" + in +
                         ") ORDER BY NRPEDIDO FOR UPDATE"));
          PQclear(pg.Run("UPDATE PEDIDO SET IDSITPEDIDO = '2', CDOPERALT = 'OPER01', DTALTPEDIDO = 45453"
                         " WHERE CDFILIAL = '0002' AND NRPEDIDO IN (" + in + ") AND IDSITPEDIDO = '1'"));
          PQclear(pg.Run("INSERT INTO HISTSITPEDIDO (CDFILIAL, NRPEDIDO, IDSITANT, IDSITNOVA, CDOPERADOR,"
                         " DTHIST) SELECT '0002', NRPEDIDO, '1', '2', 'OPER01', 45453 FROM PEDIDO"
                         " WHERE CDFILIAL = '0002' AND NRPEDIDO IN (" + in + ")"));
          PQclear(pg.Run("COMMIT"));
        }
      });
    for (std::thread& t : clients) t.join();
  }
  state.SetItemsProcessed(state.iterations() * kClients * kCallsPerClient * kBatch);
}
BENCHMARK(PgUpdatesDirect)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

// Builds the demo data of 100,000 orders as 'appserver demo' does, into a
// new database on `backend` made untimed before each run.
void DemoBuild(benchmark::State& state, fw::testing::TTestBackend backend) {
  for (auto _ : state) {
    state.PauseTiming();
    auto database = std::make_unique<fw::testing::TTestDatabase>("build", backend);
    state.ResumeTiming();
    auto db = fw::OpenSqlDriver(database->Url());
    if (backend == fw::testing::TTestBackend::kSqlite) db->Execute("PRAGMA synchronous = OFF");
    fw::TSqlTransaction tx(*db);
    appserver::CreateSchema(*db);
    appserver::FillDemoData(*db, {7, 100000, fw::EncodeDate(2024, 6, 10)});
    appserver::SetEveryPassword(*db, "demo");
    tx.Commit();
    if (backend == fw::testing::TTestBackend::kPostgres) db->Execute("ANALYZE");
    state.PauseTiming();
    db.reset();
    database.reset();
    state.ResumeTiming();
  }
}
void PgDemoBuild(benchmark::State& state) { DemoBuild(state, fw::testing::TTestBackend::kPostgres); }
void SqliteDemoBuild(benchmark::State& state) { DemoBuild(state, fw::testing::TTestBackend::kSqlite); }
BENCHMARK(PgDemoBuild)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(SqliteDemoBuild)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
  SetUp();
  int rc = bench::RunWithRatios(argc, argv,
                                {{"PgGetPedidoHttp/real_time", "PgSqlDirect/real_time"},
                                 {"PgConfirm1Server/real_time", "PgUpdatesDirect/real_time"},
                                 {"PgConfirm3Servers/real_time", "PgUpdatesDirect/real_time"},
                                 {"PgDemoBuild/iterations:1/real_time", "SqliteDemoBuild/iterations:1/real_time"}});
  TearDown();
  return rc;
}
