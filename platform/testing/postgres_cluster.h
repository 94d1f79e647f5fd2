// A throwaway PostgreSQL server for tests: a new cluster in a temporary
// folder (initdb, trust authentication for 127.0.0.1 only), started on a
// free port of 127.0.0.1 by pg_ctl and stopped and removed when the object
// goes. When the test runs as root, the server's programs run as the
// "postgres" system user (PostgreSQL refuses to run as root). Raises
// std::runtime_error with the programs' output when the server cannot be
// made or started: a test that needs it then fails, never skips.
#pragma once

#include <string>

namespace fw::testing {

class TPostgresCluster {
 public:
  TPostgresCluster();
  ~TPostgresCluster();
  TPostgresCluster(const TPostgresCluster&) = delete;
  TPostgresCluster& operator=(const TPostgresCluster&) = delete;

  int Port() const { return port_; }
  // Creates an empty database and returns its URL.
  std::string CreateDatabase(const std::string& name);

 private:
  // Runs a command (as the server's user when `asServer`), returning its output.
  std::string Run(const std::string& command, bool asServer = true) const;
  std::string dir_, bin_;
  int port_ = 0;
};

}  // namespace fw::testing
