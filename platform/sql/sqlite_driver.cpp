#include "sql/sqlite_driver.h"

#include <sqlite3.h>

#include "base/errors.h"

namespace fw {
namespace {

class SqliteDriver : public SqlDriver {
 public:
  explicit SqliteDriver(sqlite3* db) : db_(db) {}
  ~SqliteDriver() override { sqlite3_close_v2(db_); }

  TSqlDialect Dialect() const override { return TSqlDialect::SQLite; }

  SqlResult Query(const std::string& sql, const SqlParams& params) override {
    Statement st(*this, sql, params);
    SqlResult result;
    int n = sqlite3_column_count(st.stmt);
    for (int i = 0; i < n; ++i) {
      const char* decl = sqlite3_column_decltype(st.stmt, i);
      result.Columns.push_back({sqlite3_column_name(st.stmt, i), decl ? decl : ""});
    }
    while (st.Step()) {
      std::vector<SqlValue> row;
      row.reserve(n);
      for (int i = 0; i < n; ++i) row.push_back(ColumnValue(st.stmt, i));
      result.Rows.push_back(std::move(row));
    }
    return result;
  }

  void Execute(const std::string& sql, const SqlParams& params) override {
    if (params.empty()) {
      char* error = nullptr;
      if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errmsg(db_);
        sqlite3_free(error);
        throw EDatabaseError("Erro do banco de dados: " + message);
      }
      return;
    }
    Statement st(*this, sql, params);
    while (st.Step()) {
    }
  }

 private:
  // One prepared statement with its parameters bound; finalized on exit.
  struct Statement {
    Statement(SqliteDriver& d, const std::string& sql, const SqlParams& params) : driver(d) {
      if (sqlite3_prepare_v2(d.db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) !=
          SQLITE_OK)
        d.Fail();
      for (const auto& [name, value] : params) Bind(name, value);
    }
    ~Statement() { sqlite3_finalize(stmt); }

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
    sqlite3_stmt* stmt = nullptr;
  };

  static SqlValue ColumnValue(sqlite3_stmt* stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
      case SQLITE_INTEGER: return static_cast<int64_t>(sqlite3_column_int64(stmt, i));
      case SQLITE_FLOAT: return sqlite3_column_double(stmt, i);
      case SQLITE_TEXT:
        return std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                           sqlite3_column_bytes(stmt, i));
      case SQLITE_BLOB: {
        const char* p = static_cast<const char*>(sqlite3_column_blob(stmt, i));
        return std::string(p ? p : "", sqlite3_column_bytes(stmt, i));
      }
      default: return std::monostate{};
    }
  }

  [[noreturn]] void Fail() const {
    throw EDatabaseError(std::string("Erro do banco de dados: ") + sqlite3_errmsg(db_));
  }

  sqlite3* db_;
};

}  // namespace

std::unique_ptr<SqlDriver> OpenSqliteDriver(const std::string& path) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
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
