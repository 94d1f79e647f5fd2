// The host's command line.
//
//   host [--operator CODE] --branch CODE [--fixed-branch]
//        --server http://127.0.0.1:PORT --db PATH-OR-URL
//        [--module ZQV41800] [--modules DIR] [--headless] [--port N]
//
// ParseHostOptions raises fw::Exception with a Portuguese text naming the
// option for anything it cannot read (unknown option, missing value, a
// server address that is not http://HOST:PORT).
#pragma once

#include <string>
#include <vector>

namespace host {

struct HostOptions {
  std::string Operator;  // filled in on the sign-in window
  std::string Branch;
  bool FixedBranch = false;
  std::string ServerHost = "127.0.0.1";
  int ServerPort = 0;
  std::string Database;
  std::string Module = "ZQV41800";
  std::string ModulesDir;  // empty: the folder "modules" beside the executable
  bool Headless = false;
  int DisplayPort = 0;     // the page's port on 127.0.0.1; 0 picks a free one
  bool Help = false;
};

HostOptions ParseHostOptions(const std::vector<std::string>& args);
std::string HostUsage();

}  // namespace host
