// The database schema of the system (db/schema.sqlite.sql and
// db/schema.postgresql.sql, built into the program) and the checks around
// it; each function uses the text of the database's dialect.
#pragma once

#include <string>

#include "sql/sql_driver.h"

namespace appserver {

// The text of db/schema.sqlite.sql, and of db/schema.postgresql.sql (the
// same tables for PostgreSQL, kept side by side).
const char* SchemaSqlite();
const char* SchemaPostgresql();

// Creates every table and index in an empty database, in one transaction.
void CreateSchema(fw::SqlDriver& db);

// Whether the database holds the system's tables; whether it holds any
// table at all (a database 'init' may fill must hold none).
bool HasSchema(fw::SqlDriver& db);
bool HasAnyTable(fw::SqlDriver& db);

// Brings a database made before operators signed in up to date: adds the
// password hash column (left empty: such operators get a password with
// 'appserver passwd') and the session tables. Does nothing to a current
// one. One transaction; raises EDatabaseError.
void UpgradeSchema(fw::SqlDriver& db);

// For a database URL naming an SQLite file ("sqlite:PATH" or a plain path):
// the file's path; empty for ":memory:" and other URLs.
std::string SqliteFilePath(const std::string& url);

// Whether the URL names a PostgreSQL database ("postgresql://", "postgres://").
bool IsPostgresUrl(const std::string& url);
// The URL as messages may show it: a PostgreSQL password is written "***".
std::string ShownUrl(const std::string& url);

}  // namespace appserver
