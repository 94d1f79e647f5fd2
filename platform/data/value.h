// The value of one field in one row.
//
// A row stores one Value per stored field: null, text (string, memo and
// blob fields; blob bytes need not be UTF-8), a double (float and date-time
// fields; date-times are OLE Automation dates) or a 32-bit integer.
// Plain value type; no invariants beyond the variant's.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace fw {

using Value = std::variant<std::monostate, std::string, double, int32_t>;
using Row = std::vector<Value>;

inline bool IsNullValue(const Value& v) { return std::holds_alternative<std::monostate>(v); }

}  // namespace fw
