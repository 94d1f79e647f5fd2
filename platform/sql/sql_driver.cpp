#include "sql/sql_driver.h"

#include "base/errors.h"
#include "sql/sqlite_driver.h"

namespace fw {

std::unique_ptr<SqlDriver> OpenSqlDriver(std::string_view url) {
  if (url.starts_with("postgresql://") || url.starts_with("postgres://"))
    throw EDatabaseError("Banco de dados PostgreSQL ainda não suportado: '" + std::string(url) +
                         "'.");
  if (url.starts_with("sqlite:")) url.remove_prefix(7);
  if (url.empty()) throw EDatabaseError("Endereço do banco de dados não informado.");
  return OpenSqliteDriver(std::string(url));
}

void SqlDriver::Begin(TTransactionKind) { Execute("BEGIN"); }
void SqlDriver::Commit() { Execute("COMMIT"); }
void SqlDriver::Rollback() { Execute("ROLLBACK"); }

TSqlTransaction::TSqlTransaction(SqlDriver& db, TTransactionKind kind) : db_(db) {
  db_.Begin(kind);
}

TSqlTransaction::~TSqlTransaction() {
  if (done_ || !db_.InTransaction()) return;
  try {
    db_.Rollback();
  } catch (...) {
    // The connection is left as the database left it; nothing more to do.
  }
}

void TSqlTransaction::Commit() {
  db_.Commit();
  done_ = true;
}

}  // namespace fw
