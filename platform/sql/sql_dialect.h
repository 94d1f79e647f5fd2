// The one place that decides which SQL text a query runs on a database.
// Oracle, SQL Server and InterBase use their own text when the query has
// one; every other database (SQLite, PostgreSQL) runs the default text.
#pragma once

#include "base/strings.h"
#include "sql/sql_driver.h"

namespace fw {

struct TDialectTexts {
  const TStrings& Default;
  const TStrings& Oracle;
  const TStrings& MSSQL;
  const TStrings& InterBase;
};

const TStrings& SqlTextFor(TSqlDialect dialect, const TDialectTexts& texts);

}  // namespace fw
