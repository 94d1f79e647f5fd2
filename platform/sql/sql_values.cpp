#include "sql/sql_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "base/errors.h"
#include "base/text_case.h"
#include "text/date_time.h"

namespace fw {
namespace {

[[noreturn]] void CannotConvert(const std::string& column, const std::string& what) {
  throw EDatabaseError("Valor da coluna '" + column + "' não pode ser lido como " + what + ".");
}

bool ParseNumber(const std::string& s, double& out) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

bool ParseIso(const std::string& s, TDateTime& out) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, n = 0;
  char sep = 0;
  int got = std::sscanf(s.c_str(), "%4d-%2d-%2d%n%c%2d:%2d:%2d", &y, &mo, &d, &n, &sep, &h, &mi, &se);
  if (got < 3 || !IsValidDate(y, mo, d)) return false;
  if (got > 3 && sep != ' ' && sep != 'T') return false;
  if (got == 4 || got == 5 || h > 23 || mi > 59 || se > 59) return false;
  TDateParts parts;
  parts.Year = y, parts.Month = mo, parts.Day = d, parts.Hour = h, parts.Minute = mi,
  parts.Second = se;
  out = EncodeDateTime(parts);
  return true;
}

}  // namespace

Value ToFieldValue(const SqlValue& value, TFieldType type, const std::string& column) {
  if (std::holds_alternative<std::monostate>(value)) return Value{};
  const std::string* text = std::get_if<std::string>(&value);
  switch (type) {
    case TFieldType::ftString:
    case TFieldType::ftMemo:
    case TFieldType::ftBlob:
      if (text) {
        if (type != TFieldType::ftBlob && !IsValidUtf8(*text)) CannotConvert(column, "texto UTF-8");
        return *text;
      }
      if (const int64_t* i = std::get_if<int64_t>(&value)) return std::to_string(*i);
      {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.15g", std::get<double>(value));
        return std::string(buf);
      }
    case TFieldType::ftFloat: {
      if (!text) return std::holds_alternative<double>(value) ? std::get<double>(value)
                                                            : double(std::get<int64_t>(value));
      double d;
      if (!ParseNumber(*text, d)) CannotConvert(column, "número");
      return d;
    }
    case TFieldType::ftDateTime: {
      TDateTime d = 0;
      if (!text)
        d = std::holds_alternative<double>(value) ? std::get<double>(value)
                                                  : double(std::get<int64_t>(value));
      else if (!ParseIso(*text, d) && !ParseNumber(*text, d))
        CannotConvert(column, "data");
      if (!IsValidDateTime(d)) CannotConvert(column, "data");
      return d;
    }
    case TFieldType::ftInteger: {
      double d = 0;
      if (text ? !ParseNumber(*text, d) : false) CannotConvert(column, "número inteiro");
      if (!text) d = std::holds_alternative<double>(value) ? std::get<double>(value)
                                                           : double(std::get<int64_t>(value));
      if (d != std::floor(d) || d < std::numeric_limits<int32_t>::min() ||
          d > std::numeric_limits<int32_t>::max())
        CannotConvert(column, "número inteiro de 32 bits");
      return static_cast<int32_t>(d);
    }
  }
  return Value{};
}

SqlValue ToSqlValue(const Value& value) {
  switch (value.index()) {
    case 1: return std::get<std::string>(value);
    case 2: return std::get<double>(value);
    case 3: return int64_t{std::get<int32_t>(value)};
    default: return std::monostate{};
  }
}

TFieldType FieldTypeForColumn(const SqlColumn& column, const std::vector<SqlValue>& firstValues) {
  std::string decl = UpperCase(column.DeclaredType);
  if (decl.find("DATE") != std::string::npos || decl.find("TIME") != std::string::npos)
    return TFieldType::ftDateTime;
  if (decl.find("INT") != std::string::npos) return TFieldType::ftInteger;
  if (decl.find("CHAR") != std::string::npos || decl.find("TEXT") != std::string::npos ||
      decl.find("CLOB") != std::string::npos)
    return TFieldType::ftString;
  if (decl.find("BLOB") != std::string::npos) return TFieldType::ftBlob;
  if (decl.find("REAL") != std::string::npos || decl.find("FLOA") != std::string::npos ||
      decl.find("DOUB") != std::string::npos || decl.find("NUM") != std::string::npos ||
      decl.find("DEC") != std::string::npos)
    return TFieldType::ftFloat;
  for (const SqlValue& v : firstValues) {
    if (std::holds_alternative<int64_t>(v)) return TFieldType::ftInteger;
    if (std::holds_alternative<double>(v)) return TFieldType::ftFloat;
    if (std::holds_alternative<std::string>(v)) return TFieldType::ftString;
  }
  return TFieldType::ftString;
}

}  // namespace fw
