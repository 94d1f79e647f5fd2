// The appserver program's commands:
//   appserver init  --db PATH                  an empty database
//   appserver demo  --db PATH [--seed N] [--orders N] [--today AAAA-MM-DD]
//                                               a database with demo data
//   appserver serve --db PATH-OR-URL [--listen HOST:PORT] [--token T]
// init and demo never touch an existing file: they build the database in a
// temporary file beside it and rename it into place when complete. serve
// prints "listening on HOST:PORT" once it accepts requests and stops
// cleanly on SIGTERM or SIGINT. Messages are Portuguese; the result is the
// process exit code (0 done, 1 failed, 2 wrong command line).
#pragma once

#include <string>
#include <vector>

namespace appserver {

int RunAppServer(const std::vector<std::string>& args);

}  // namespace appserver
