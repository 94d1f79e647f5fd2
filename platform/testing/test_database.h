// A database of a test's own, on the backend the test run uses.
//
// By default a new SQLite file in the test's temporary folder. When the
// environment variable TEST_POSTGRES_URL names a PostgreSQL database the
// tests may connect to (its server lets them create databases), a new
// empty database on that server instead. A test that needs PostgreSQL
// whatever the run uses asks for kPostgres: without TEST_POSTGRES_URL a
// throwaway cluster is started for the process (TPostgresCluster) and
// stopped at its end. Either database is removed (dropped) when the object
// goes. Raises fw::EDatabaseError when the server refuses, and
// std::runtime_error when no server can be started: never a skip.
#pragma once

#include <string>

namespace fw::testing {

// Whether this test run uses PostgreSQL (TEST_POSTGRES_URL is set).
bool TestsOnPostgres();

enum class TTestBackend { kOfTheRun, kSqlite, kPostgres };

class TTestDatabase {
 public:
  explicit TTestDatabase(const std::string& stem, TTestBackend backend = TTestBackend::kOfTheRun);
  ~TTestDatabase();
  TTestDatabase(const TTestDatabase&) = delete;
  TTestDatabase& operator=(const TTestDatabase&) = delete;

  // The connection URL: "sqlite:PATH" or "postgresql://.../NAME".
  const std::string& Url() const { return url_; }
  // What a --db option takes: the file's path, or the URL.
  const std::string& Place() const { return place_; }

 private:
  std::string url_, place_, name_, server_;
};

}  // namespace fw::testing
