// The database schema of the system (db/schema.sqlite.sql, built into the
// program) and the checks around it.
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

// Whether the database holds the system's tables.
bool HasSchema(fw::SqlDriver& db);

// Brings a database made before operators signed in up to date: adds the
// password hash column (left empty: such operators get a password with
// 'appserver passwd') and the session tables. Does nothing to a current
// one. One transaction; raises EDatabaseError.
void UpgradeSchema(fw::SqlDriver& db);

// For a database URL naming an SQLite file ("sqlite:PATH" or a plain path):
// the file's path; empty for ":memory:" and other URLs.
std::string SqliteFilePath(const std::string& url);

}  // namespace appserver
