#include "sql/sql_driver.h"

#include "base/errors.h"
#include "sql/postgres_driver.h"
#include "sql/sqlite_driver.h"

namespace fw {

std::unique_ptr<SqlDriver> OpenSqlDriver(std::string_view url) {
  if (url.starts_with("postgresql://") || url.starts_with("postgres://"))
    return OpenPostgresDriver(std::string(url));
  if (url.starts_with("sqlite:")) url.remove_prefix(7);
  if (url.empty()) throw EDatabaseError("Endereço do banco de dados não informado.");
  return OpenSqliteDriver(std::string(url));
}

namespace {

// A result read at once, handed out row by row.
class TResultCursor : public SqlCursor {
 public:
  explicit TResultCursor(SqlResult result) : result_(std::move(result)) {}
  const std::vector<SqlColumn>& Columns() const override { return result_.Columns; }
  bool Next(std::vector<SqlValue>& row) override {
    if (next_ >= result_.Rows.size()) return false;
    row = std::move(result_.Rows[next_++]);
    return true;
  }

 private:
  SqlResult result_;
  size_t next_ = 0;
};

}  // namespace

bool SqlCursor::NextView(std::vector<SqlValueView>& row) {
  if (!Next(held_)) return false;
  row.resize(held_.size());
  for (size_t i = 0; i < held_.size(); ++i) {
    if (auto* s = std::get_if<std::string>(&held_[i])) row[i] = std::string_view(*s);
    else if (auto* d = std::get_if<double>(&held_[i])) row[i] = *d;
    else if (auto* n = std::get_if<int64_t>(&held_[i])) row[i] = *n;
    else row[i] = std::monostate{};
  }
  return true;
}

std::unique_ptr<SqlCursor> SqlDriver::OpenCursor(const std::string& sql, const SqlParams& params) {
  return std::make_unique<TResultCursor>(Query(sql, params));
}

void SqlDriver::InsertRows(const std::string& table, const std::vector<std::string>& columns,
                           const std::vector<std::vector<SqlValue>>& rows) {
  std::string sql = "INSERT INTO " + table + " (", values;
  SqlParams params;
  for (size_t i = 0; i < columns.size(); ++i) {
    sql += (i ? ", " : "") + columns[i];
    values += (i ? ", :" : ":") + columns[i];
    params.emplace_back(columns[i], SqlValue());
  }
  sql += ") VALUES (" + values + ")";
  for (const std::vector<SqlValue>& row : rows) {
    if (row.size() != columns.size())
      throw EDatabaseError("Linha com " + std::to_string(row.size()) + " valores para " +
                           std::to_string(columns.size()) + " colunas de " + table + ".");
    for (size_t i = 0; i < row.size(); ++i) params[i].second = row[i];
    Execute(sql, params);
  }
}

void SqlDriver::Begin(TTransactionKind) { Execute("BEGIN"); }
void SqlDriver::Commit() { Execute("COMMIT"); }
void SqlDriver::Rollback() { Execute("ROLLBACK"); }

TSqlTransaction::TSqlTransaction(SqlDriver& db, TTransactionKind kind)
    : db_(db), joined_(db.InTransaction()) {
  if (!joined_) db_.Begin(kind);
}

TSqlTransaction::~TSqlTransaction() {
  if (joined_ || done_ || !db_.InTransaction()) return;
  try {
    db_.Rollback();
  } catch (...) {
    // The connection is left as the database left it; nothing more to do.
  }
}

void TSqlTransaction::Commit() {
  if (!joined_) db_.Commit();
  done_ = true;
}

}  // namespace fw
