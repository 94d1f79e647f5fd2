#include "appserver/schema.h"

namespace appserver {

namespace {

bool IsPostgres(fw::SqlDriver& db) { return db.Dialect() == fw::TSqlDialect::PostgreSQL; }

const char* SchemaOf(fw::SqlDriver& db) { return IsPostgres(db) ? SchemaPostgresql() : SchemaSqlite(); }

// The tables of the database (upper case) among `names`, or all of them
// when `names` is empty.
int64_t CountTables(fw::SqlDriver& db, const std::string& names) {
  std::string sql = IsPostgres(db)
                        ? "SELECT COUNT(*) FROM information_schema.tables"
                          " WHERE table_schema = current_schema()"
                        : "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"
                          " AND name NOT LIKE 'sqlite_%'";
  if (!names.empty()) sql += std::string(" AND upper(") + (IsPostgres(db) ? "table_name" : "name") +
                             ") IN (" + names + ")";
  fw::SqlResult r = db.Query(sql, {});
  return std::get<int64_t>(r.Rows.at(0).at(0));
}

bool TableExists(fw::SqlDriver& db, const std::string& table) {
  return CountTables(db, "'" + table + "'") == 1;
}

bool ColumnExists(fw::SqlDriver& db, const std::string& table, const std::string& column) {
  fw::SqlResult r = db.Query(
      IsPostgres(db) ? "SELECT COUNT(*) FROM information_schema.columns"
                       " WHERE table_schema = current_schema() AND upper(table_name) = :TABLE"
                       " AND upper(column_name) = :COLUMN"
                     : "SELECT COUNT(*) FROM pragma_table_info(:TABLE) WHERE name = :COLUMN",
      {{"TABLE", table}, {"COLUMN", column}});
  return std::get<int64_t>(r.Rows.at(0).at(0)) == 1;
}

}  // namespace

void CreateSchema(fw::SqlDriver& db) {
  fw::TSqlTransaction tx(db);
  db.Execute(SchemaOf(db));
  tx.Commit();
}

bool HasSchema(fw::SqlDriver& db) {
  return CountTables(db,
                     "'FILIAL', 'PEDIDO', 'ITEMPEDIDO', 'PARAMPEDIDO', 'BLOQPEDIDO', "
                     "'HISTSITPEDIDO'") == 6;
}

bool HasAnyTable(fw::SqlDriver& db) { return CountTables(db, "") > 0; }

namespace {

// The text of the schema that starts with `head`, up to `end` (a
// statement's ";", a column's line end).
std::string SchemaText(fw::SqlDriver& db, const std::string& head, char stop = ';') {
  std::string_view schema = SchemaOf(db);
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
  if (!hash) db.Execute("ALTER TABLE OPERADOR ADD COLUMN " + SchemaText(db, "DSHASHSENHA  VARCHAR", '\n'));
  if (!sessions) {
    db.Execute(SchemaText(db, "CREATE TABLE SESSAOOPER"));
    db.Execute(SchemaText(db, "CREATE INDEX SESSAOOPER_EXPIRA"));
  }
  if (!failures) db.Execute(SchemaText(db, "CREATE TABLE FALHAACESSO"));
  tx.Commit();
}

bool IsPostgresUrl(const std::string& url) {
  return url.starts_with("postgresql://") || url.starts_with("postgres://");
}

std::string ShownUrl(const std::string& url) {
  if (!IsPostgresUrl(url)) return url;
  std::string shown = url;
  size_t scheme = shown.find("://") + 3;
  size_t at = shown.find('@', scheme);
  size_t colon = shown.find(':', scheme);
  if (at != std::string::npos && colon < at) shown.replace(colon + 1, at - colon - 1, "***");
  size_t query = shown.find("password=");
  if (query != std::string::npos) {
    size_t end = shown.find('&', query);
    shown.replace(query + 9, end == std::string::npos ? std::string::npos : end - query - 9, "***");
  }
  return shown;
}

std::string SqliteFilePath(const std::string& url) {
  std::string path = url;
  if (IsPostgresUrl(path)) return {};
  if (path.starts_with("sqlite:")) path = path.substr(7);
  if (path == ":memory:") return {};
  return path;
}

}  // namespace appserver
