// A database of a test's own, on the backend the test run uses.
//
// By default a new SQLite file in the test's temporary folder. When the
// environment variable TEST_POSTGRES_URL names a PostgreSQL database the
// tests may connect to (its server lets them create databases), a new
// empty database on that server instead. Either is removed (dropped) when
// the object goes. Raises fw::EDatabaseError when the server refuses.
#pragma once

#include <string>

namespace fw::testing {

// Whether this test run uses PostgreSQL (TEST_POSTGRES_URL is set).
bool TestsOnPostgres();

class TTestDatabase {
 public:
  explicit TTestDatabase(const std::string& stem);
  ~TTestDatabase();
  TTestDatabase(const TTestDatabase&) = delete;
  TTestDatabase& operator=(const TTestDatabase&) = delete;

  // The connection URL: "sqlite:PATH" or "postgresql://.../NAME".
  const std::string& Url() const { return url_; }
  // What a --db option takes: the file's path, or the URL.
  const std::string& Place() const { return place_; }

 private:
  std::string url_, place_, name_;
};

}  // namespace fw::testing
