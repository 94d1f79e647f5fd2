// The interface every database driver implements, and how a connection
// URL picks one.
//
// Query runs one statement with named parameters (":NAME" in the text,
// given without the colon) and returns every row at once: the result is
// read-only and client-side, as the screens use it. OpenCursor runs one
// the same way and hands its rows out one at a time, for results too
// large to hold twice (the default reads them all with Query first; SQLite
// steps its statement as rows are asked for). Execute runs
// statements that return nothing (several may be separated by ";" when
// there are no parameters). Both raise EDatabaseError carrying the
// database's message; EDatabaseBusy when the database stayed locked by
// another connection longer than the driver waits. A driver object is used
// by one thread at a time.
//
// Transactions: on SQLite, Begin(kImmediate) takes the database's write
// lock at once ("BEGIN IMMEDIATE"), so a read-check-write sequence of one
// connection cannot interleave with another connection's; Begin(kDeferred)
// takes locks as statements need them. PostgreSQL has no database-wide
// write lock: both kinds start a READ COMMITTED transaction, and a writer
// locks the rows it will change itself (SELECT ... FOR UPDATE). Commit/Rollback end it. RowsAffected
// is the number of rows the last INSERT, UPDATE or DELETE run through
// Execute changed. TSqlTransaction rolls back on scope exit unless
// committed; one opened while a transaction is already running joins it
// (begins, commits and rolls back nothing: the outer one decides).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "base/errors.h"
#include "data/field_type.h"

namespace fw {

enum class TSqlDialect { SQLite, PostgreSQL, Oracle, MSSQL, InterBase };

using SqlValue = std::variant<std::monostate, std::string, double, int64_t>;
using SqlParams = std::vector<std::pair<std::string, SqlValue>>;

struct SqlColumn {
  std::string Name;
  std::string DeclaredType;  // as the table declares it; empty for expressions
};

struct SqlResult {
  std::vector<SqlColumn> Columns;
  std::vector<std::vector<SqlValue>> Rows;
};

enum class TTransactionKind { kDeferred, kImmediate };

// A value as a cursor reads it: text (and blobs) as a view of the
// driver's own copy, valid until the cursor moves on.
using SqlValueView = std::variant<std::monostate, std::string_view, double, int64_t>;

// The rows of one statement, one at a time. Owned by the caller; used by
// the thread using its driver, and ended (destroyed) before that driver
// is. Next and NextView raise as Query does.
class SqlCursor {
 public:
  virtual ~SqlCursor() = default;
  virtual const std::vector<SqlColumn>& Columns() const = 0;
  // The next row into `row` (its values' storage reused); false after the
  // last one.
  virtual bool Next(std::vector<SqlValue>& row) = 0;
  // The same row as views, without copying its text; the default reads it
  // with Next into a row of its own.
  virtual bool NextView(std::vector<SqlValueView>& row);

 private:
  std::vector<SqlValue> held_;
};

class SqlDriver {
 public:
  virtual ~SqlDriver() = default;
  virtual TSqlDialect Dialect() const = 0;
  virtual SqlResult Query(const std::string& sql, const SqlParams& params) = 0;
  virtual void Execute(const std::string& sql, const SqlParams& params = {}) = 0;
  virtual std::unique_ptr<SqlCursor> OpenCursor(const std::string& sql, const SqlParams& params);

  virtual void Begin(TTransactionKind kind = TTransactionKind::kImmediate);
  virtual void Commit();
  virtual void Rollback();
  virtual bool InTransaction() const = 0;
  virtual int64_t RowsAffected() const = 0;

  // Adds rows to a table in bulk, every row with one value per column, in
  // the order given. The default runs one INSERT per row; a driver may do
  // better (PostgreSQL: COPY). Raises as Execute does.
  virtual void InsertRows(const std::string& table, const std::vector<std::string>& columns,
                          const std::vector<std::vector<SqlValue>>& rows);
};

// The database stayed locked by another connection past the busy timeout.
class EDatabaseBusy : public EDatabaseError {
 public:
  using EDatabaseError::EDatabaseError;
};

class TSqlTransaction {
 public:
  explicit TSqlTransaction(SqlDriver& db,
                           TTransactionKind kind = TTransactionKind::kImmediate);
  ~TSqlTransaction();  // rolls back when Commit was not reached; never throws
  TSqlTransaction(const TSqlTransaction&) = delete;
  TSqlTransaction& operator=(const TSqlTransaction&) = delete;
  void Commit();

 private:
  SqlDriver& db_;
  bool joined_ = false;
  bool done_ = false;
};

// "sqlite:PATH", "sqlite::memory:" or a plain file path open SQLite;
// "postgresql://..." or "postgres://..." (libpq's URL) open PostgreSQL.
// Raises EDatabaseError for a URL no driver understands or a database
// that cannot be opened.
std::unique_ptr<SqlDriver> OpenSqlDriver(std::string_view url);

}  // namespace fw
