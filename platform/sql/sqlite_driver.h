// SqlDriver over an SQLite database file (or ":memory:").
// Owns the sqlite3 handle; one thread at a time. Integer columns come back
// as int64, real ones as double, text as text, blobs as bytes.
#pragma once

#include <memory>
#include <string>

#include "sql/sql_driver.h"

namespace fw {

std::unique_ptr<SqlDriver> OpenSqliteDriver(const std::string& path);

}  // namespace fw
