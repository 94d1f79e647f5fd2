// The data framework on a 10,000-order list shaped like the order screen's:
//   LoadPacket    / ParseJsonOnly : parsing and loading a packet into a
//                                   client dataset against parsing its JSON
//                                   text alone;
//   Locate        / ScanStrings   : Locate (case-insensitive) of the last
//                                   order against comparing the same keys
//                                   in a plain vector of strings;
//   EditPostWalk  / ReadWalk      : a walk that edits and posts every row
//                                   against a walk that only reads a field.
#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdio>

#include "base/text_case.h"
#include "data/client_dataset.h"
#include "ratio_reporter.h"

namespace {

constexpr int kOrders = 10000;

std::string Pad(int n, int width) {
  std::string s = std::to_string(n);
  return std::string(width - std::min<int>(width, s.size()), '0') + s;
}

const std::string& OrderPacketText() {
  static const std::string text = [] {
    fw::TDataPacket p;
    const char* strings[][2] = {
        {"IDCHECK", "1"},       {"IDSITPEDIDO", "1"},   {"NRPEDIDO", "10"},
        {"NMFANTCLIE", "50"},   {"CDCLIENTE", "21"},    {"CDFILIAL", "4"},
        {"CDVENDEDOR", "4"},    {"CDMODPGTO", "5"},     {"CDFORMPGTO", "2"},
        {"IDTPFORPGTPED", "1"}, {"DSMODPGTO", "100"},   {"NMFORMPGTO", "30"},
        {"IDTIPOPEDIDO", "1"},  {"CDFILIALPED", "4"},   {"IDPRIOPED", "1"},
        {"DSPEDVEN", "200"},    {"DSPEDCLI", "200"},    {"NMFANVEN", "50"},
        {"NMFILIAL", "30"},     {"NMFANTTRAN", "40"},   {"NRINSJURTRAN", "20"},
        {"CDTIPTRANS", "4"},    {"IDPGFRETTRAN", "1"},  {"NRINSJURCLIE", "20"},
        {"NMTIPTRANS", "40"},   {"IDTPIJURCLIE", "1"},  {"NMTIPOOPER", "30"}};
    for (auto& s : strings) p.Fields.push_back({s[0], fw::TFieldType::ftString, std::stoi(s[1])});
    for (const char* f : {"NRDIAPGFIXPED", "NRPARCPGTOPED", "VRPECOMVDPED", "VRPBRUVOLPED",
                          "VRPLIQVOLPED"})
      p.Fields.push_back({f, fw::TFieldType::ftFloat, 0});
    for (const char* f : {"DTPEDIDO", "DTENTPED"})
      p.Fields.push_back({f, fw::TFieldType::ftDateTime, 0});
    for (int i = 0; i < kOrders; ++i) {
      fw::Row row;
      for (size_t c = 0; c < p.Fields.size(); ++c) {
        const fw::TFieldDef& d = p.Fields[c];
        fw::Value v;
        if (d.DataType == fw::TFieldType::ftString) {
          std::string text = d.Name == "NRPEDIDO" ? Pad(i + 1, 10)
                             : d.Size == 1       ? std::string(1, "N12"[i % 3])
                             : d.Size <= 5       ? std::to_string(i % 97)
                                                 : "Comércio Exemplo " + std::to_string(i % 977);
          v = std::move(text);
        } else if (d.DataType == fw::TFieldType::ftFloat) {
          v = i * 1.25 + static_cast<double>(c);
        } else {
          v = 45000.0 + i % 400 + 0.5;
        }
        row.push_back(std::move(v));
      }
      p.Rows.push_back(std::move(row));
    }
    return p.ToString();
  }();
  return text;
}

void ParseJsonOnly(benchmark::State& state) {
  const std::string& text = OrderPacketText();
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(ParseJsonOnly)->Unit(benchmark::kMillisecond)->Repetitions(9);

void LoadPacket(benchmark::State& state) {
  const std::string& text = OrderPacketText();
  fw::TClientDataSet cds("cdsPedido");
  for (auto _ : state) cds.SetData(fw::TDataPacket::Parse(text));
  state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(LoadPacket)->Unit(benchmark::kMillisecond)->Repetitions(9);

void Locate(benchmark::State& state) {
  fw::TClientDataSet cds("cdsPedido");
  cds.SetData(fw::TDataPacket::Parse(OrderPacketText()));
  std::string last = Pad(kOrders, 10);
  for (auto _ : state) {
    cds.First();
    benchmark::DoNotOptimize(cds.Locate("NRPEDIDO", last, fw::loCaseInsensitive));
  }
}
BENCHMARK(Locate)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void ScanStrings(benchmark::State& state) {
  std::vector<std::string> keys;
  for (int i = 0; i < kOrders; ++i) keys.push_back(Pad(i + 1, 10));
  std::string last = Pad(kOrders, 10);
  for (auto _ : state) {
    size_t found = 0;
    for (size_t i = 0; i < keys.size(); ++i)
      if (fw::SameText(keys[i], last)) found = i;
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(ScanStrings)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void EditPostWalk(benchmark::State& state) {
  fw::TClientDataSet cds("cdsPedido");
  cds.SetData(fw::TDataPacket::Parse(OrderPacketText()));
  fw::TField& mark = cds.FieldByName("IDCHECK");
  bool on = false;
  for (auto _ : state) {
    on = !on;
    for (cds.First(); !cds.Eof(); cds.Next()) {
      cds.Edit();
      mark.SetAsString(on ? "S" : "N");
      cds.Post();
    }
    state.PauseTiming();
    cds.MergeChangeLog();
    state.ResumeTiming();
  }
}
BENCHMARK(EditPostWalk)->Unit(benchmark::kMillisecond)->Repetitions(5);

void ReadWalk(benchmark::State& state) {
  fw::TClientDataSet cds("cdsPedido");
  cds.SetData(fw::TDataPacket::Parse(OrderPacketText()));
  fw::TField& mark = cds.FieldByName("IDCHECK");
  for (auto _ : state) {
    size_t marked = 0;
    for (cds.First(); !cds.Eof(); cds.Next()) marked += mark.AsString() == "S";
    benchmark::DoNotOptimize(marked);
  }
}
BENCHMARK(ReadWalk)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  std::printf("Order packet: %d orders, %zu bytes of JSON\n", kOrders, OrderPacketText().size());
  return bench::RunWithRatios(argc, argv,
                              {{"LoadPacket", "ParseJsonOnly", "load_packet_vs_dom_parse"},
                               {"Locate", "ScanStrings"},
                               {"EditPostWalk", "ReadWalk"}});
}
