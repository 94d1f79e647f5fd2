// The order list end to end, on the shared demo database (about 100,000
// orders in branch 0001), the server in this process on 127.0.0.1:
//   Http10k / Http100k  : GetPedido over HTTP through TNetConnection, the
//                         reply read into a packet (CallPacket) and loaded
//                         into a client dataset, as the screen loads
//                         cdsPedido;
//   Sqlite10k / Sqlite100k: the same statement with the same parameters
//                         run with SQLite alone, every column read
//                         (baseline);
//   Confirm10Of76k      : SetPedidoPEAN of 10 pending orders under a filter
//                         of 76,000 orders, its refreshed list loaded;
//   List76k             : GetPedido of the same list, loaded (baseline).
// The 10 orders are put back to pending, untimed, before each run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "appserver/operator_passwords.h"
#include "bench_database.h"
#include "branch_filter.h"
#include "data/client_dataset.h"
#include "ratio_reporter.h"
#include "served_module.h"
#include "rpc/net_connection.h"

namespace {

using appserver::testing::TFiltro;
using nlohmann::json;

struct TBench {
  std::string path;
  std::vector<std::string> numbers;  // branch 0001's orders, in order
  std::vector<std::string> toConfirm;
  std::unique_ptr<bench::TServedModule> served;

  const std::string& Last(size_t n) const { return numbers.at(std::min(n, numbers.size()) - 1); }
  TFiltro Filter(size_t n) const {
    TFiltro f{.nrDe = "0000000001", .nrAte = Last(n), .nrTodos = ""};
    f.operador = "OPER01";
    return f;
  }
};

TBench& Bench() {
  static TBench b;
  return b;
}

void SetUp() {
  TBench& b = Bench();
  b.path = bench::BranchDatabase();
  auto db = fw::OpenSqlDriver("sqlite:" + b.path);
  db->Execute("INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR) VALUES ('OPER01', 'Operador 01')"
              " ON CONFLICT DO NOTHING");
  appserver::SetPassword(*db, "OPER01", "bench");
  for (const auto& row : db->Query("SELECT NRPEDIDO FROM PEDIDO WHERE CDFILIAL = '0001' ORDER BY NRPEDIDO", {}).Rows)
    b.numbers.push_back(std::get<std::string>(row[0]));
  for (const auto& row : db->Query(
           "SELECT NRPEDIDO FROM PEDIDO P WHERE CDFILIAL = '0001' AND IDSITPEDIDO = '1' AND NRPEDIDO <= :L"
           " AND NOT EXISTS (SELECT 1 FROM BLOQPEDIDO B WHERE B.CDFILIAL = P.CDFILIAL"
           " AND B.NRPEDIDO = P.NRPEDIDO) ORDER BY NRPEDIDO DESC LIMIT 10",
           {{"L", b.Last(76000)}}).Rows)
    b.toConfirm.push_back(std::get<std::string>(row[0]));
  std::fprintf(stderr, "%zu orders in branch 0001\n", b.numbers.size());
  b.served = std::make_unique<bench::TServedModule>("sqlite:" + b.path, "OPER01", "bench");
}

void TearDown() { Bench().served.reset(); }

std::unique_ptr<fw::TNetConnection> Connect() {
  auto con = std::make_unique<fw::TNetConnection>();
  con->ServerName = appserver::kModuleName;
  con->Port = Bench().served->port;
  con->Token = Bench().served->token;
  con->Open();
  return con;
}

void Loaded(benchmark::State& state, fw::TClientDataSet& cds, size_t expected) {
  if (static_cast<size_t>(cds.RecordCount()) != expected) state.SkipWithError("wrong number of orders");
}

void Http(benchmark::State& state, size_t n) {
  auto con = Connect();
  std::vector<json> args = Bench().Filter(n).GetPedido();
  fw::TClientDataSet cds("cdsPedido");
  for (auto _ : state) {
    cds.SetData(con->CallPacket("GetPedido", args));
    Loaded(state, cds, std::min(n, Bench().numbers.size()));
  }
}

void Sqlite(benchmark::State& state, size_t n) {
  appserver::TSqlQuery q = appserver::PedidoQuery(bench::BranchFilter(Bench().Last(n)));
  sqlite3* db = nullptr;
  sqlite3_open_v2(Bench().path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, q.Sql.c_str(), -1, &st, nullptr);
  for (auto _ : state) {
    sqlite3_reset(st);
    for (const auto& [name, value] : q.Params) {
      int i = sqlite3_bind_parameter_index(st, (":" + name).c_str());
      if (auto* s = std::get_if<std::string>(&value)) sqlite3_bind_text(st, i, s->c_str(), -1, SQLITE_TRANSIENT);
      else if (auto* d = std::get_if<double>(&value)) sqlite3_bind_double(st, i, *d);
    }
    size_t rows = 0, bytes = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
      ++rows;
      for (int c = 0; c < sqlite3_column_count(st); ++c) {
        if (sqlite3_column_type(st, c) == SQLITE_TEXT)
          bytes += sqlite3_column_bytes(st, c) + (sqlite3_column_text(st, c) != nullptr);
        else
          bytes += static_cast<size_t>(sqlite3_column_double(st, c)) & 1;
      }
    }
    benchmark::DoNotOptimize(bytes);
    if (rows != std::min(n, Bench().numbers.size())) state.SkipWithError("wrong number of orders");
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
}

void Http10k(benchmark::State& state) { Http(state, 10000); }
void Http100k(benchmark::State& state) { Http(state, 200000); }
void Sqlite10k(benchmark::State& state) { Sqlite(state, 10000); }
void Sqlite100k(benchmark::State& state) { Sqlite(state, 200000); }
BENCHMARK(Http10k)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9);
BENCHMARK(Sqlite10k)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9);
BENCHMARK(Http100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(9);
BENCHMARK(Sqlite100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(9);

void Confirm10Of76k(benchmark::State& state) {
  auto con = Connect();
  std::string list;
  std::string in;
  for (const std::string& o : Bench().toConfirm) {
    list += o + "_";
    in += (in.empty() ? "'" : ",'") + o + "'";
  }
  std::vector<json> args = Bench().Filter(76000).SetPedidoPEAN(list, appserver::testing::kOperBloq);
  auto db = fw::OpenSqlDriver("sqlite:" + Bench().path);
  fw::TClientDataSet cds("cdsPedido");
  for (auto _ : state) {
    state.PauseTiming();
    db->Execute("UPDATE PEDIDO SET IDSITPEDIDO = '1' WHERE CDFILIAL = '0001' AND NRPEDIDO IN (" + in + ")");
    db->Execute("DELETE FROM HISTSITPEDIDO WHERE CDFILIAL = '0001' AND NRPEDIDO IN (" + in + ")");
    state.ResumeTiming();
    json refused;  // the screen's path: the "ok" reply read in one pass
    std::optional<fw::TDataPacket> list = con->CallCheckedPacket("SetPedidoPEAN", args, refused);
    if (!list) {
      state.SkipWithError(refused.value("message", "refused").c_str());
      break;
    }
    cds.SetData(std::move(*list));
    Loaded(state, cds, 76000);
  }
}
BENCHMARK(Confirm10Of76k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

void List76k(benchmark::State& state) {
  auto con = Connect();
  std::vector<json> args = Bench().Filter(76000).GetPedido();
  fw::TClientDataSet cds("cdsPedido");
  for (auto _ : state) {
    cds.SetData(con->CallPacket("GetPedido", args));
    Loaded(state, cds, 76000);
  }
}
BENCHMARK(List76k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  SetUp();
  int rc = bench::RunWithRatios(
      argc, argv,
      {{"Http10k/real_time", "Sqlite10k/real_time", "getpedido_http_10k"},
       {"Http100k/iterations:1/real_time", "Sqlite100k/iterations:1/real_time", "getpedido_http_100k"},
       {"Confirm10Of76k/iterations:1/real_time", "List76k/iterations:1/real_time", "confirm_10_of_76k"}});
  TearDown();
  return rc;
}
