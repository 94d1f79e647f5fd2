// SqlDriver over an SQLite database file (or ":memory:").
// Owns the sqlite3 handle and a small cache of prepared statements; one
// thread at a time. Waits up to 5 s for a lock held by another connection
// (busy timeout), then raises EDatabaseBusy. Integer columns come back
// as int64, real ones as double, text as text, blobs as bytes.
#pragma once

#include <memory>
#include <string>

#include "sql/sql_driver.h"

namespace fw {

std::unique_ptr<SqlDriver> OpenSqliteDriver(const std::string& path);

}  // namespace fw
