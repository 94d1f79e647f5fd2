#include "appserver/schema.h"

namespace appserver {

void CreateSchema(fw::SqlDriver& db) {
  fw::TSqlTransaction tx(db);
  db.Execute(SchemaSqlite());
  tx.Commit();
}

bool HasSchema(fw::SqlDriver& db) {
  fw::SqlResult r = db.Query(
      "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name IN"
      " ('FILIAL', 'PEDIDO', 'ITEMPEDIDO', 'PARAMPEDIDO', 'BLOQPEDIDO', 'HISTSITPEDIDO')",
      {});
  return std::get<int64_t>(r.Rows.at(0).at(0)) == 6;
}

std::string SqliteFilePath(const std::string& url) {
  std::string path = url;
  if (path.starts_with("postgresql://") || path.starts_with("postgres://")) return {};
  if (path.starts_with("sqlite:")) path = path.substr(7);
  if (path == ":memory:") return {};
  return path;
}

}  // namespace appserver
