// TADOIBQuery: a read-only query on a database connection, with one SQL
// text per database dialect.
//
// SQL is the default text; SQL_ORACLE, SQL_MSSQL and SQL_IB are variants
// that only those databases run (see SqlTextFor). Parameters are the
// ":NAME" markers of all four texts, rebuilt when a text changes (values of
// names that stay are kept). Open runs the text chosen for the connection's
// dialect and loads every row (client-side cursor); persistent fields are
// matched to result columns by name and converted to their types, and
// without persistent fields one field per column is created. Edit raises:
// the result is read-only. The connection defaults to the host's shared
// one, dtmDBGeral().adcGeral.
//
// Open raises EDatabaseError for a closed connection, an unassigned
// parameter, a database error, a declared field missing from the result
// or a value that does not fit its field; the query then stays closed.
// Not thread-safe: user-interface thread only.
#pragma once

#include <string>

#include "base/strings.h"
#include "data/dataset.h"
#include "sql/db_connection.h"
#include "sql/params.h"

namespace fw {

class TADOIBQuery : public TDataSet {
 public:
  explicit TADOIBQuery(std::string name = {});

  TStrings SQL;
  TStrings SQL_ORACLE;
  TStrings SQL_MSSQL;
  TStrings SQL_IB;

  TDBConnection* Connection = &dtmDBGeral().adcGeral;

  TParams& Params() { return params_; }
  TParam& ParamByName(std::string_view name) { return params_.ParamByName(name); }
  // The text Open runs on the current connection.
  const TStrings& ActiveSQL() const;

 protected:
  void DoOpen() override;
  bool DoCanModify() const override { return false; }

 private:
  void TextChanged();
  TFieldDefs DefsFor(const SqlResult& result, std::vector<int>& columns) const;

  TParams params_;
};

}  // namespace fw
