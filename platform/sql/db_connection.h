// TDBConnection: the database connection queries open on, and the host's
// shared data module dtmDBGeral that holds the one every screen uses.
//
// Open(url) picks the driver by URL (see OpenSqlDriver); Close drops it.
// Driver() raises EDatabaseError while closed ("Não há conexão com o banco
// de dados."). The shared data module lives for the whole process and is
// used from the user-interface thread only.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "sql/sql_driver.h"

namespace fw {

class TDBConnection {
 public:
  TDBConnection() = default;
  explicit TDBConnection(std::unique_ptr<SqlDriver> driver) : driver_(std::move(driver)) {}

  void Open(std::string_view url);
  void Open(std::unique_ptr<SqlDriver> driver) { driver_ = std::move(driver); }
  void Close() { driver_.reset(); }
  bool Connected() const { return driver_ != nullptr; }
  SqlDriver& Driver() const;
  TSqlDialect Dialect() const { return Driver().Dialect(); }

 private:
  std::unique_ptr<SqlDriver> driver_;
};

// The host's data module: the shared connection adcGeral.
struct TdtmDBGeral {
  TDBConnection adcGeral;
};

TdtmDBGeral& dtmDBGeral();

}  // namespace fw
