// Conversions between database values and field values.
//
// ToFieldValue converts what a driver returned into the value a field of
// the given type stores: numbers to text for string fields, text written
// as a number (decimal point '.') for numeric fields, and for date-time
// fields an OLE Automation number or ISO text "YYYY-MM-DD[ HH:MM[:SS]]"
// (also with "T"). Raises EDatabaseError naming the column for a value that
// cannot be converted. FieldTypeForColumn guesses a field type for a
// result column without a declared field. Pure.
#pragma once

#include <string>
#include <vector>

#include "data/field_type.h"
#include "data/value.h"
#include "sql/sql_driver.h"

namespace fw {

Value ToFieldValue(const SqlValue& value, TFieldType type, const std::string& column);
SqlValue ToSqlValue(const Value& value);
TFieldType FieldTypeForColumn(const SqlColumn& column, const std::vector<SqlValue>& firstValues);

}  // namespace fw
