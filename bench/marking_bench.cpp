// Mark-all and unmark-all of the confirmation screen on 100,000 pending
// orders, about 18,000 of them with permit problems:
//   MarkAll100k    : the title click on the mark column (mark-all), the
//                    list of orders with problems answered in process
//                    with the text of its reply;
//   UnmarkAll100k  : the second title click (unmark-all) on the marked list;
//   PlainMarkWalk  : a walk of the same rows, controls disabled, posting
//                    "S" where mark-all does (baseline of MarkAll100k);
//   PlainUnmarkWalk: the same walk posting "N" on the marked rows
//                    (baseline of UnmarkAll100k).
// The list is loaded again, untimed, before each run.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "appserver/test_support.h"
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "filter/cli_zqv41801.h"
#include "filter/filtro_conf_pedido_form.h"
#include "forms/application.h"
#include "library/velkora.h"
#include "ratio_reporter.h"
#include "rpc/transport.h"
#include "sql/db_connection.h"

namespace {

using nlohmann::json;
constexpr int kOrders = 100000;

struct TBench {
  std::unique_ptr<appserver::testing::TDemoDatabase> data;
  std::unique_ptr<appserver::testing::TLocalServer> server;
  TfrmConfPedido* screen = nullptr;
  fw::TDataPacket orders;  // kOrders pending, unmarked orders with a carrier
  json errors;             // GetPedIErro's packet
  std::vector<bool> marked;
  int markedCount = 0;
};

TBench& Bench() {
  static TBench b;
  return b;
}

json Field(const json& packet, json row, const std::string& name, const json& value) {
  const json& fields = packet.at("fields");
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i]["name"] == name) row[i] = value;
  return row;
}

// The order service in process, but for the list of orders with problems,
// answered with its reply's text made once (as it would come off the
// wire: the screen still reads all of it on each mark-all).
class TErrorListTransport : public fw::TRpcTransport {
 public:
  void Connect() override {}
  void Disconnect() override {}
  json Send(const json& request) override { return json::parse(SendText(request)); }
  std::string SendText(const json& sent) override {
    json request = json::parse(sent.dump());
    if (request.at("method") != "GetPedIErro") return Bench().server->Dispatcher().Handle(request).dump();
    if (reply_.empty())
      reply_ = R"(,"jsonrpc":"2.0","result":{"status":"ok","value":)" + Bench().errors.dump() + "}}";
    return R"({"id":)" + request.at("id").dump() + reply_;
  }

 private:
  std::string reply_;
};

void SetUp() {
  TBench& b = Bench();
  b.data = std::make_unique<appserver::testing::TDemoDatabase>(200, 7, fw::testing::TTestBackend::kSqlite);
  b.server = std::make_unique<appserver::testing::TLocalServer>(b.data->Url());
  fw::dtmDBGeral().adcGeral.Open(b.data->Url());
  Velkora::THostFacts facts;
  facts.Operador = "MARIA";
  facts.FiliProc = "0001";
  facts.NomeFiliProc = "Filial 0001";
  facts.WebURL = "127.0.0.1";
  facts.WebPort = 1;
  Velkora::SetHostFacts(facts);

  fw::Application().CreateForm(Cli_zqv41800::frmConfPedido);
  Cli_zqv41800::boIdCriado = true;
  b.screen = Cli_zqv41800::frmConfPedido;
  b.screen->netConPed.UseTransport(std::make_unique<TErrorListTransport>());
  b.screen->Show();
  fw::Application().Post([] {
    if (Cli_zqv41801::boIdCriado) Cli_zqv41801::frmFiltroConfPedido->Close();
  });
  b.screen->dbgPadrao->SetFocus();  // leaves the branch: parameters and list
  fw::Application().ProcessMessages();

  json list = b.server->Dispatcher().Handle(
      {{"jsonrpc", "2.0"}, {"method", "GetPedido"}, {"params", appserver::testing::TFiltro{}.GetPedido()}, {"id", 1}})["result"];
  json first = list["rows"].at(0), errors = b.server->Dispatcher().Handle(
      {{"jsonrpc", "2.0"}, {"method", "GetPedIErro"}, {"params", {"0001"}}, {"id", 1}})["result"]["value"];
  json errorRow = errors["rows"].at(0);
  list["rows"] = json::array();
  errors["rows"] = json::array();
  for (int i = 0; i < kOrders; ++i) {
    char number[11];
    std::snprintf(number, sizeof number, "%010d", i + 1);
    json row = Field(list, first, "NRPEDIDO", number);
    row = Field(list, row, "IDSITPEDIDO", "1");
    row = Field(list, row, "IDCHECK", "N");
    row = Field(list, Field(list, row, "NRINSJURTRAN", "12345678000190"), "CDFILIAL", "0001");
    list["rows"].push_back(std::move(row));
    bool problem = i % 11 < 2;
    if (problem) errors["rows"].push_back(Field(errors, errorRow, "NRPEDIDO", number));
    b.marked.push_back(!problem);
    b.markedCount += !problem;
  }
  b.orders = fw::TDataPacket::FromJson(list);
  b.errors = errors;
}

void Load(benchmark::State& state) {
  state.PauseTiming();
  Bench().screen->cdsPedido.Close();
  malloc_trim(0);  // every run starts from the same allocator state
  Bench().screen->cdsPedido.SetData(Bench().orders);
  Cli_zqv41800::inContPedidoCh = 0;
  state.ResumeTiming();
}

void TitleClick() {
  fw::TDBGrid& grid = *Bench().screen->dbgPadrao;
  grid.OnTitleClick(*grid.Columns().FindField("IDCHECK"));
}

void Expect(benchmark::State& state, int marked) {
  if (Cli_zqv41800::inContPedidoCh != marked) state.SkipWithError("wrong number of marks");
}

void MarkAll100k(benchmark::State& state) {
  for (auto _ : state) {
    Load(state);
    TitleClick();
    Expect(state, Bench().markedCount);
  }
}
BENCHMARK(MarkAll100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(9);

void UnmarkAll100k(benchmark::State& state) {
  for (auto _ : state) {
    Load(state);
    state.PauseTiming();
    TitleClick();
    state.ResumeTiming();
    TitleClick();
    Expect(state, 0);
  }
}
BENCHMARK(UnmarkAll100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(9);

// Posts `mark` on the rows mark-all marks, controls disabled.
void PlainWalk(const char* mark) {
  fw::TClientDataSet& list = Bench().screen->cdsPedido;
  auto handler = std::move(list.AfterScroll);
  list.AfterScroll = nullptr;
  list.DisableControls();
  size_t row = 0;
  for (list.First(); !list.Eof(); list.Next(), ++row)
    if (Bench().marked[row]) {
      list.Edit();
      list.FieldByName("IDCHECK").SetAsString(mark);
      list.Post();
    }
  list.EnableControls();
  list.AfterScroll = std::move(handler);
}

void PlainMarkWalk(benchmark::State& state) {
  for (auto _ : state) {
    Load(state);
    PlainWalk("S");
  }
}
BENCHMARK(PlainMarkWalk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(9);

void PlainUnmarkWalk(benchmark::State& state) {
  for (auto _ : state) {
    Load(state);
    state.PauseTiming();
    PlainWalk("S");
    state.ResumeTiming();
    PlainWalk("N");
  }
}
BENCHMARK(PlainUnmarkWalk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(9);

}  // namespace

int main(int argc, char** argv) {
  SetUp();
  int rc = bench::RunWithRatios(
      argc, argv,
      {{"MarkAll100k/iterations:1/real_time", "PlainMarkWalk/iterations:1/real_time", "markall_100k"},
       {"UnmarkAll100k/iterations:1/real_time", "PlainUnmarkWalk/iterations:1/real_time", "unmarkall_100k"}});
  Bench().screen->Close();
  fw::Application().ProcessMessages();
  return rc;
}
