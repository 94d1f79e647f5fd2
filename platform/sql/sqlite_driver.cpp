#include "sql/sqlite_driver.h"

#include <sqlite3.h>

#include <unordered_map>

#include "base/errors.h"

namespace fw {
namespace {

class SqliteDriver : public SqlDriver {
 public:
  explicit SqliteDriver(sqlite3* db) : db_(db) {}
  ~SqliteDriver() override {
    for (auto& [text, stmt] : cache_) sqlite3_finalize(stmt);
    sqlite3_close_v2(db_);
  }

  TSqlDialect Dialect() const override { return TSqlDialect::SQLite; }

  SqlResult Query(const std::string& sql, const SqlParams& params) override {
    Statement st(*this, sql, params);
    SqlResult result;
    result.Columns = ColumnsOf(st.stmt);
    const size_t n = result.Columns.size();
    while (st.Step()) {
      std::vector<SqlValue> row(n);
      for (size_t i = 0; i < n; ++i) ReadColumn(st.stmt, static_cast<int>(i), row[i]);
      result.Rows.push_back(std::move(row));
    }
    return result;
  }

  std::unique_ptr<SqlCursor> OpenCursor(const std::string& sql, const SqlParams& params) override {
    return std::make_unique<Cursor>(*this, sql, params);
  }

  void Execute(const std::string& sql, const SqlParams& params) override {
    if (params.empty()) {
      char* error = nullptr;
      if (int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error); rc != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
          throw EDatabaseBusy("Banco de dados ocupado por outra conexão: " + message);
        throw EDatabaseError("Erro do banco de dados: " + message);
      }
      return;
    }
    Statement st(*this, sql, params);
    while (st.Step()) {
    }
  }

  void Begin(TTransactionKind kind) override {
    Execute(kind == TTransactionKind::kImmediate ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED", {});
  }
  void Commit() override { Execute("COMMIT", {}); }
  void Rollback() override { Execute("ROLLBACK", {}); }
  bool InTransaction() const override { return sqlite3_get_autocommit(db_) == 0; }
  int64_t RowsAffected() const override { return sqlite3_changes64(db_); }

 private:
  // Prepared statements are kept by text and reused: bulk loads run the
  // same few statements many times. A statement is taken out of the cache
  // while in use and put back reset, with its bindings cleared.
  static constexpr size_t kCacheSize = 64;

  sqlite3_stmt* Prepare(const std::string& sql) {
    auto it = cache_.find(sql);
    if (it != cache_.end()) {
      sqlite3_stmt* stmt = it->second;
      cache_.erase(it);
      return stmt;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) !=
        SQLITE_OK) {
      sqlite3_finalize(stmt);
      Fail();
    }
    return stmt;
  }

  void Release(const std::string& sql, sqlite3_stmt* stmt) {
    if (!stmt) return;  // a text without any statement
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (cache_.size() >= kCacheSize || !cache_.emplace(sql, stmt).second) sqlite3_finalize(stmt);
  }

  // One prepared statement with its parameters bound; handed back on exit.
  struct Statement {
    Statement(SqliteDriver& d, const std::string& sql, const SqlParams& params)
        : driver(d), text(sql), stmt(d.Prepare(sql)) {
      try {
        for (const auto& [name, value] : params) Bind(name, value);
      } catch (...) {
        driver.Release(text, stmt);
        throw;
      }
    }
    ~Statement() { driver.Release(text, stmt); }

    void Bind(const std::string& name, const SqlValue& value) {
      int index = sqlite3_bind_parameter_index(stmt, (":" + name).c_str());
      if (index == 0) return;  // not used by this text
      int rc = SQLITE_OK;
      switch (value.index()) {
        case 0: rc = sqlite3_bind_null(stmt, index); break;
        case 1: {
          const std::string& s = std::get<std::string>(value);
          rc = sqlite3_bind_text(stmt, index, s.data(), static_cast<int>(s.size()),
                                 SQLITE_TRANSIENT);
          break;
        }
        case 2: rc = sqlite3_bind_double(stmt, index, std::get<double>(value)); break;
        case 3: rc = sqlite3_bind_int64(stmt, index, std::get<int64_t>(value)); break;
      }
      if (rc != SQLITE_OK) driver.Fail();
    }

    bool Step() {
      int rc = sqlite3_step(stmt);
      if (rc == SQLITE_ROW) return true;
      if (rc != SQLITE_DONE) driver.Fail();
      return false;
    }

    SqliteDriver& driver;
    const std::string& text;
    sqlite3_stmt* stmt = nullptr;
  };

  // The statement's rows as they are stepped; the statement goes back to
  // the cache when the cursor ends.
  class Cursor : public SqlCursor {
   public:
    Cursor(SqliteDriver& d, const std::string& sql, const SqlParams& params)
        : text_(sql), st_(d, text_, params), columns_(ColumnsOf(st_.stmt)) {}
    const std::vector<SqlColumn>& Columns() const override { return columns_; }
    bool Next(std::vector<SqlValue>& row) override {
      if (!Step()) return false;
      row.resize(columns_.size());
      for (size_t i = 0; i < columns_.size(); ++i) ReadColumn(st_.stmt, static_cast<int>(i), row[i]);
      return true;
    }
    bool NextView(std::vector<SqlValueView>& row) override {
      if (!Step()) return false;
      row.resize(columns_.size());
      for (size_t i = 0; i < columns_.size(); ++i) row[i] = ColumnView(st_.stmt, static_cast<int>(i));
      return true;
    }

   private:
    bool Step() {
      if (done_ || !st_.Step()) {  // stepping a finished statement would run it again
        done_ = true;
        return false;
      }
      return true;
    }

    std::string text_;  // before st_, which refers to it
    Statement st_;
    std::vector<SqlColumn> columns_;
    bool done_ = false;
  };

  static std::vector<SqlColumn> ColumnsOf(sqlite3_stmt* stmt) {
    std::vector<SqlColumn> columns;
    for (int i = 0, n = sqlite3_column_count(stmt); i < n; ++i) {
      const char* decl = sqlite3_column_decltype(stmt, i);
      columns.push_back({sqlite3_column_name(stmt, i), decl ? decl : ""});
    }
    return columns;
  }

  static SqlValueView ColumnView(sqlite3_stmt* stmt, int i) {
    auto view = [&](const void* p) {
      return p ? std::string_view(static_cast<const char*>(p), sqlite3_column_bytes(stmt, i)) : std::string_view();
    };
    switch (sqlite3_column_type(stmt, i)) {
      case SQLITE_INTEGER: return static_cast<int64_t>(sqlite3_column_int64(stmt, i));
      case SQLITE_FLOAT: return sqlite3_column_double(stmt, i);
      case SQLITE_TEXT: return view(sqlite3_column_text(stmt, i));
      case SQLITE_BLOB: return view(sqlite3_column_blob(stmt, i));
      default: return std::monostate{};
    }
  }

  // Text and blobs reuse the storage of a string `value` already holds.
  static void ReadColumn(sqlite3_stmt* stmt, int i, SqlValue& value) {
    SqlValueView view = ColumnView(stmt, i);
    switch (view.index()) {
      case 1: {
        std::string_view text = std::get<std::string_view>(view);
        if (auto* s = std::get_if<std::string>(&value)) s->assign(text);
        else value.emplace<std::string>(text);
        break;
      }
      case 2: value = std::get<double>(view); break;
      case 3: value = std::get<int64_t>(view); break;
      default: value = std::monostate{};
    }
  }

  [[noreturn]] void Fail() const {
    int code = sqlite3_errcode(db_) & 0xff;
    std::string message = sqlite3_errmsg(db_);
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
      throw EDatabaseBusy("Banco de dados ocupado por outra conexão: " + message);
    throw EDatabaseError("Erro do banco de dados: " + message);
  }

  sqlite3* db_;
  std::unordered_map<std::string, sqlite3_stmt*> cache_;
};

}  // namespace

std::unique_ptr<SqlDriver> OpenSqliteDriver(const std::string& path) {
  sqlite3* db = nullptr;
  // A driver is used by one thread at a time (see SqlDriver), so its
  // connection takes no lock of its own on every call.
  int rc = sqlite3_open_v2(path.c_str(), &db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                           nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : "sem memória";
    sqlite3_close_v2(db);
    throw EDatabaseError("Não foi possível abrir o banco de dados '" + path + "': " + message);
  }
  sqlite3_busy_timeout(db, 5000);
  sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
  return std::make_unique<SqliteDriver>(db);
}

}  // namespace fw
