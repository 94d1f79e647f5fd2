// The application server's resident memory after eight lists of 100,000
// orders in a row, each asked on a connection of its own (so a different
// worker thread builds each), measured 2 s after the last reply, and the
// same server's memory just after it started (for reference). Five runs,
// each on a new server; prints the medians as
//   FIGURE appserver_rss_after_8x100k <MB> MB
//   FIGURE appserver_rss_idle <MB> MB
// The database (a demo of 335,000 orders, about 100,000 in branch 0001) is
// built once into the build folder and kept for later runs.
#include <httplib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "appserver/program_test_support.h"
#include "bench_database.h"

namespace {

using appserver::testing::TFiltro;
using appserver::testing::TProgram;
using nlohmann::json;

constexpr int kLists = 8, kRuns = 5;

double ResidentMB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with("VmRSS:")) return std::stod(line.substr(6)) / 1024;
  return 0;
}

// One run: the server's memory at start and after the lists.
std::pair<double, double> Run(const std::string& db) {
  TProgram server({"serve", "--db", db, "--listen", "127.0.0.1:0"});
  int port = server.ListeningPort();
  if (port == 0) std::exit(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  double idle = ResidentMB(server.Pid());
  httplib::Client login("127.0.0.1", port);
  auto res = login.Post("/session", R"({"operator":"DANIELA","password":"demo"})", "application/json");
  std::string token = json::parse(res->body)["token"];
  json request = {{"jsonrpc", "2.0"}, {"method", "GetPedido"}, {"params", TFiltro{}.GetPedido()}, {"id", 1}};
  std::vector<std::unique_ptr<httplib::Client>> clients;  // all kept open: a worker each
  size_t rows = 0;
  for (int i = 0; i < kLists; ++i) {
    clients.push_back(std::make_unique<httplib::Client>("127.0.0.1", port));
    clients.back()->set_keep_alive(true);
    clients.back()->set_bearer_token_auth(token);
    clients.back()->set_read_timeout(120, 0);
    auto reply = clients.back()->Post(("/" + std::string(appserver::kModuleName)).c_str(), request.dump(),
                                      "application/json");
    if (!reply || reply->status != 200) std::exit(1);
    json result = json::parse(reply->body)["result"];
    rows = (result.contains("value") ? result["value"] : result)["rows"].size();
  }
  std::this_thread::sleep_for(std::chrono::seconds(2));
  double after = ResidentMB(server.Pid());
  std::fprintf(stderr, "run: %zu orders per list, %.0f MB at start, %.0f MB after %d lists\n", rows, idle,
               after, kLists);
  return {idle, after};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  std::string db = bench::BranchDatabase();
  std::vector<double> idle, after;
  for (int i = 0; i < kRuns; ++i) {
    auto [start, end] = Run(db);
    idle.push_back(start);
    after.push_back(end);
  }
  std::printf("FIGURE appserver_rss_after_8x100k %.0f MB\n", Median(after));
  std::printf("FIGURE appserver_rss_idle %.0f MB\n", Median(idle));
  return 0;
}
