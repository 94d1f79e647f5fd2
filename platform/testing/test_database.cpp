#include "testing/test_database.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "sql/sql_driver.h"
#include "testing/postgres_cluster.h"

namespace fw::testing {
namespace {

std::string ServerUrl() {
  const char* url = std::getenv("TEST_POSTGRES_URL");
  return url ? url : "";
}

// The server's URL with another database name (the part after the last
// "/", before any "?").
std::string WithDatabase(const std::string& url, const std::string& name) {
  size_t query = url.find('?');
  size_t slash = url.rfind('/', query);
  std::string base = slash > url.find("://") + 2 ? url.substr(0, slash) : url.substr(0, query);
  return base + "/" + name + (query == std::string::npos ? "" : url.substr(query));
}

std::string NewName(const std::string& stem) {
  static std::atomic<int> counter{0};
  std::string name = "t_";
  for (char c : stem) name += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '_';
  return name + "_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
}

// The run's server, or one started for this process when the run has none.
std::string PostgresServer() {
  if (!ServerUrl().empty()) return ServerUrl();
  static TPostgresCluster cluster;
  return "postgresql://postgres@127.0.0.1:" + std::to_string(cluster.Port()) + "/postgres";
}

}  // namespace

bool TestsOnPostgres() { return !ServerUrl().empty(); }

TTestDatabase::TTestDatabase(const std::string& stem, TTestBackend backend) : name_(NewName(stem)) {
  bool postgres = backend == TTestBackend::kPostgres ||
                  (backend == TTestBackend::kOfTheRun && TestsOnPostgres());
  if (!postgres) {
    place_ = ::testing::TempDir() + name_ + ".db";
    url_ = "sqlite:" + place_;
    return;
  }
  server_ = PostgresServer();
  OpenSqlDriver(server_)->Execute("CREATE DATABASE " + name_);
  url_ = place_ = WithDatabase(server_, name_);
}

TTestDatabase::~TTestDatabase() {
  try {
    if (!server_.empty()) {
      OpenSqlDriver(server_)->Execute("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
      return;
    }
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
      std::filesystem::remove(place_ + suffix, ignored);
  } catch (...) {
    // The server goes with the test run.
  }
}

}  // namespace fw::testing
