// The order list of the application server on 10,000 orders:
//   GetPedidoHttp      : GetPedido through TNetConnection over HTTP on
//                        127.0.0.1 (server in this process, own threads),
//                        reply parsed on the client side;
//   GetPedidoInProcess : the same request answered by the dispatcher
//                        directly (packet built, no HTTP, no text);
//   SqlDirect          : the same SQL statement with the same parameters
//                        run on an SQLite connection, rows read (baseline).
// The database is a demo database of 40,000 orders built in a temporary
// file at start; the filter keeps exactly 10,000 orders of branch 0001.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "appserver/db_pool.h"
#include "appserver/demo_data.h"
#include "appserver/dispatcher.h"
#include "appserver/http_server.h"
#include "appserver/operator_passwords.h"
#include "appserver/order_filter.h"
#include "appserver/order_service.h"
#include "appserver/schema.h"
#include "branch_filter.h"
#include "ratio_reporter.h"
#include "served_module.h"
#include "rpc/net_connection.h"
#include "text/date_time.h"

namespace {

using nlohmann::json;
constexpr int kOrders = 10000;

struct TBench {
  std::string path;
  std::string lastOrder;  // the 10,000th order number of branch 0001
  std::unique_ptr<bench::TServedModule> served;  // OPER01's session

  std::vector<json> Args() const { return bench::BranchFilterArgs(lastOrder); }
};

TBench& Bench() {
  static TBench b;
  return b;
}

void SetUp() {
  TBench& b = Bench();
  b.path = (std::filesystem::temp_directory_path() /
            ("appserver_bench_" + std::to_string(getpid()) + ".db"))
               .string();
  {
    auto db = fw::OpenSqlDriver("sqlite:" + b.path);
    appserver::CreateSchema(*db);
    appserver::FillDemoData(*db, {1, 40000, fw::EncodeDate(2024, 6, 10)});
    fw::SqlResult r = db->Query(
        "SELECT NRPEDIDO FROM PEDIDO WHERE CDFILIAL = '0001' ORDER BY NRPEDIDO LIMIT 1 OFFSET :N",
        {{"N", int64_t{kOrders - 1}}});
    b.lastOrder = std::get<std::string>(r.Rows.at(0).at(0));
    db->Execute("INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR) VALUES ('OPER01', 'Operador 01')");
    appserver::SetPassword(*db, "OPER01", "bench");
  }
  b.served = std::make_unique<bench::TServedModule>("sqlite:" + b.path, "OPER01", "bench");
}

void TearDown() {
  TBench& b = Bench();
  b.served.reset();
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(b.path + suffix);
}

void Check(benchmark::State& state, size_t rows) {
  if (rows != static_cast<size_t>(kOrders))
    state.SkipWithError(("expected 10000 orders, got " + std::to_string(rows)).c_str());
}

void GetPedidoHttp(benchmark::State& state) {
  fw::TNetConnection con;
  con.ServerName = appserver::kModuleName;
  con.Port = Bench().served->port;
  con.Token = Bench().served->token;
  con.Open();
  std::vector<json> args = Bench().Args();
  for (auto _ : state) {
    json packet = con.Call("GetPedido", args);
    Check(state, packet["rows"].size());
  }
}
BENCHMARK(GetPedidoHttp)->Unit(benchmark::kMillisecond)->UseRealTime();

void GetPedidoInProcess(benchmark::State& state) {
  json request = {{"jsonrpc", "2.0"}, {"method", "GetPedido"}, {"params", Bench().Args()},
                  {"id", 1}};
  for (auto _ : state) {
    json reply = Bench().served->dispatcher.Handle(request);
    Check(state, reply["result"]["rows"].size());
  }
}
BENCHMARK(GetPedidoInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void SqlDirect(benchmark::State& state) {
  appserver::TOrderFilter f = bench::BranchFilter(Bench().lastOrder);
  appserver::TSqlQuery q = appserver::PedidoQuery(f);
  auto db = fw::OpenSqlDriver("sqlite:" + Bench().path);
  for (auto _ : state) {
    fw::SqlResult r = db->Query(q.Sql, q.Params);
    Check(state, r.Rows.size());
  }
}
BENCHMARK(SqlDirect)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  SetUp();
  int rc = bench::RunWithRatios(argc, argv,
                                {{"GetPedidoHttp/real_time", "SqlDirect/real_time"},
                                 {"GetPedidoInProcess/real_time", "SqlDirect/real_time"}});
  TearDown();
  return rc;
}
