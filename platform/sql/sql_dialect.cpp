#include "sql/sql_dialect.h"

namespace fw {

const TStrings& SqlTextFor(TSqlDialect dialect, const TDialectTexts& texts) {
  auto orDefault = [&](const TStrings& variant) -> const TStrings& {
    return variant.Count() > 0 ? variant : texts.Default;
  };
  switch (dialect) {
    case TSqlDialect::Oracle: return orDefault(texts.Oracle);
    case TSqlDialect::MSSQL: return orDefault(texts.MSSQL);
    case TSqlDialect::InterBase: return orDefault(texts.InterBase);
    case TSqlDialect::SQLite:
    case TSqlDialect::PostgreSQL: break;
  }
  return texts.Default;
}

}  // namespace fw
