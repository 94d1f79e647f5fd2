#include "sql/db_connection.h"

#include "base/errors.h"

namespace fw {

void TDBConnection::Open(std::string_view url) { driver_ = OpenSqlDriver(url); }

SqlDriver& TDBConnection::Driver() const {
  if (!driver_) throw EDatabaseError("Não há conexão com o banco de dados.");
  return *driver_;
}

TdtmDBGeral& dtmDBGeral() {
  static TdtmDBGeral module;
  return module;
}

}  // namespace fw
