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

namespace {

bool TableExists(fw::SqlDriver& db, const std::string& table) {
  fw::SqlResult r = db.Query(
      "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = :NAME",
      {{"NAME", table}});
  return std::get<int64_t>(r.Rows.at(0).at(0)) == 1;
}

bool ColumnExists(fw::SqlDriver& db, const std::string& table, const std::string& column) {
  fw::SqlResult r = db.Query(
      "SELECT COUNT(*) FROM pragma_table_info(:TABLE) WHERE name = :COLUMN",
      {{"TABLE", table}, {"COLUMN", column}});
  return std::get<int64_t>(r.Rows.at(0).at(0)) == 1;
}

// The text of the schema that starts with `head`, up to `end` (a
// statement's ";", a column's line end).
std::string SchemaText(const std::string& head, char stop = ';') {
  std::string_view schema = SchemaSqlite();
  size_t start = schema.find(head);
  size_t end = schema.find(stop, start);
  if (start == std::string_view::npos || end == std::string_view::npos)
    throw fw::EDatabaseError("Esquema sem a instrução '" + head + "'.");
  return std::string(schema.substr(start, end - start));
}

}  // namespace

void UpgradeSchema(fw::SqlDriver& db) {
  bool hash = ColumnExists(db, "OPERADOR", "DSHASHSENHA");
  bool sessions = TableExists(db, "SESSAOOPER");
  bool failures = TableExists(db, "FALHAACESSO");
  if (hash && sessions && failures) return;
  fw::TSqlTransaction tx(db);
  if (!hash) db.Execute("ALTER TABLE OPERADOR ADD COLUMN " + SchemaText("DSHASHSENHA  VARCHAR", '\n'));
  if (!sessions) {
    db.Execute(SchemaText("CREATE TABLE SESSAOOPER"));
    db.Execute(SchemaText("CREATE INDEX SESSAOOPER_EXPIRA"));
  }
  if (!failures) db.Execute(SchemaText("CREATE TABLE FALHAACESSO"));
  tx.Commit();
}

std::string SqliteFilePath(const std::string& url) {
  std::string path = url;
  if (path.starts_with("postgresql://") || path.starts_with("postgres://")) return {};
  if (path.starts_with("sqlite:")) path = path.substr(7);
  if (path == ":memory:") return {};
  return path;
}

}  // namespace appserver
