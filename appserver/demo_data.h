// Demo data: a database filled with branches, operators, customers,
// products, stock and orders for trying the system and for tests.
//
// FillDemoData fills a database that has the schema and nothing else, in
// one transaction. The result depends only on the options: the same seed,
// order count and "today" give the same rows. Dates fall around Today.
// Every branch starts with kShowcaseOrders orders of fixed kinds (see
// docs/demo-data.md), numbered in branch order from 0000000001; the rest
// are random. Orders must be at least kMinDemoOrders; raises
// std::invalid_argument (Portuguese) otherwise.
#pragma once

#include <cstdint>

#include "sql/sql_driver.h"

namespace appserver {

inline constexpr int kShowcaseOrders = 11;   // per branch
inline constexpr int kMinDemoOrders = 88;    // the showcase orders of the 8 branches

struct TDemoOptions {
  uint64_t Seed = 1;
  int Orders = 3000;
  double Today = 0;  // OLE Automation date, whole day
};

struct TDemoSummary {
  int Branches = 0;
  int Customers = 0;
  int Products = 0;
  int Orders = 0;
  int Items = 0;
};

TDemoSummary FillDemoData(fw::SqlDriver& db, const TDemoOptions& options);

}  // namespace appserver
