#include "sql/adoib_query.h"

#include <limits>

#include "base/errors.h"
#include "base/text_case.h"
#include "sql/sql_dialect.h"
#include "sql/sql_values.h"

namespace fw {
namespace {

std::vector<SqlValue> ColumnValues(const SqlResult& result, size_t column) {
  std::vector<SqlValue> values;
  for (const auto& row : result.Rows)
    if (!std::holds_alternative<std::monostate>(row[column])) values.push_back(row[column]);
  return values;
}

bool FitsInt32(const std::vector<SqlValue>& values) {
  for (const SqlValue& v : values)
    if (const int64_t* i = std::get_if<int64_t>(&v);
        !i || *i < std::numeric_limits<int32_t>::min() || *i > std::numeric_limits<int32_t>::max())
      return false;
  return true;
}

}  // namespace

TADOIBQuery::TADOIBQuery(std::string name) : TDataSet(std::move(name)) {
  for (TStrings* text : {&SQL, &SQL_ORACLE, &SQL_MSSQL, &SQL_IB})
    text->OnChange = [this] { TextChanged(); };
}

void TADOIBQuery::TextChanged() {
  std::vector<std::string> names;
  for (const TStrings* text : {&SQL, &SQL_ORACLE, &SQL_MSSQL, &SQL_IB})
    for (std::string& name : ParseParamNames(text->Text())) {
      bool seen = false;
      for (const std::string& n : names) seen = seen || SameText(n, name);
      if (!seen) names.push_back(std::move(name));
    }
  params_.Assign(names);
}

const TStrings& TADOIBQuery::ActiveSQL() const {
  if (!Connection) throw EDatabaseError("A consulta '" + Name + "' não tem conexão.");
  return SqlTextFor(Connection->Dialect(), {SQL, SQL_ORACLE, SQL_MSSQL, SQL_IB});
}

// Stored columns for the result: the persistent fields' own definitions
// (columns[i] is the result column of definition i), or one per result
// column when no field is declared.
TFieldDefs TADOIBQuery::DefsFor(const SqlResult& result, std::vector<int>& columns) const {
  TFieldDefs defs;
  if (HasPersistentFields()) {
    for (int i = 0; i < FieldCount(); ++i) {
      const TField& f = Fields(i);
      if (f.Calculated()) continue;
      int column = -1;
      for (size_t c = 0; c < result.Columns.size() && column < 0; ++c)
        if (SameText(result.Columns[c].Name, f.FieldName)) column = static_cast<int>(c);
      if (column < 0)
        throw EDatabaseError("Campo '" + f.FieldName + "' não encontrado no resultado de '" +
                             Name + "'.");
      defs.push_back({f.FieldName, f.DataType(), f.Size(), f.ProviderFlags});
      columns.push_back(column);
    }
    return defs;
  }
  for (size_t c = 0; c < result.Columns.size(); ++c) {
    std::vector<SqlValue> values = ColumnValues(result, c);
    TFieldType type = FieldTypeForColumn(result.Columns[c], values);
    if (type == TFieldType::ftInteger && !FitsInt32(values)) type = TFieldType::ftFloat;
    int size = 0;
    if (type == TFieldType::ftString) {
      size = 1;
      for (const SqlValue& v : values)
        if (const std::string* s = std::get_if<std::string>(&v))
          size = std::max(size, static_cast<int>(Utf8Length(*s)));
    }
    defs.push_back({result.Columns[c].Name, type, size, kDefaultProviderFlags});
    columns.push_back(static_cast<int>(c));
  }
  return defs;
}

void TADOIBQuery::DoOpen() {
  std::string text = ActiveSQL().Text();
  SqlParams params;
  for (int i = 0; i < params_.Count(); ++i) {
    const TParam& p = params_[i];
    if (!p.Assigned())
      throw EDatabaseError("Parâmetro '" + p.Name + "' de '" + Name + "' sem valor.");
    params.emplace_back(p.Name, p.Value());
  }
  SqlResult result = Connection->Driver().Query(text, params);
  std::vector<int> columns;
  TFieldDefs defs = DefsFor(result, columns);
  std::vector<Row> rows;
  rows.reserve(result.Rows.size());
  for (const auto& source : result.Rows) {
    Row row;
    row.reserve(defs.size());
    for (size_t i = 0; i < defs.size(); ++i)
      row.push_back(ToFieldValue(source[columns[i]], defs[i].DataType, defs[i].Name));
    rows.push_back(std::move(row));
  }
  LoadRows(std::move(defs), std::move(rows));
}

}  // namespace fw
