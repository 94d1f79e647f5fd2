// The demo database the list benchmarks share: 335,000 orders, about
// 100,000 of them in branch 0001, built once by the appserver program into
// the build folder and kept for later runs. Header-only; needs
// APPSERVER_BINARY and BENCH_DATA_DIR.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "appserver/program_test_support.h"

namespace bench {

inline std::string BranchDatabase() {
  std::string path = std::string(BENCH_DATA_DIR) + "/branch100k.db";
  if (std::filesystem::exists(path)) return path;
  std::filesystem::create_directories(BENCH_DATA_DIR);
  std::fprintf(stderr, "building %s ...\n", path.c_str());
  appserver::testing::TProgram demo(
      {"demo", "--db", path, "--orders", "335000", "--seed", "3", "--today", "2024-06-10"});
  if (demo.Wait(std::chrono::minutes(10)) != 0) {
    std::fprintf(stderr, "demo failed: %s\n", demo.Err().c_str());
    std::exit(1);
  }
  return path;
}

}  // namespace bench
