// Query parameters: TParam (one named value) and TParams (the list a query
// derives from the ":NAME" markers of its SQL texts).
//
// A parameter starts unassigned; opening a query with an unassigned
// parameter raises EDatabaseError naming it. Clear() assigns null.
// ParamByName raises EDatabaseError for an unknown name; names ignore case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/value.h"
#include "sql/sql_driver.h"
#include "text/format_settings.h"

namespace fw {

class TParam {
 public:
  explicit TParam(std::string name) : Name(std::move(name)) {}

  std::string Name;

  bool Assigned() const { return assigned_; }
  bool IsNull() const { return std::holds_alternative<std::monostate>(value_); }
  const SqlValue& Value() const { return value_; }
  std::string AsString() const;

  void SetAsString(std::string_view text) { Set(std::string(text)); }
  void SetAsFloat(double value) { Set(value); }
  void SetAsInteger(int64_t value) { Set(value); }
  void SetAsDateTime(TDateTime value) { Set(value); }
  void Clear() { Set(std::monostate{}); }

 private:
  void Set(SqlValue value) {
    value_ = std::move(value);
    assigned_ = true;
  }
  SqlValue value_;
  bool assigned_ = false;
};

class TParams {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TParam& operator[](int index) { return items_.at(index); }
  const TParam& operator[](int index) const { return items_.at(index); }
  TParam* FindParam(std::string_view name);
  TParam& ParamByName(std::string_view name);
  // Rebuilds the list from the names, keeping the values of names kept.
  void Assign(const std::vector<std::string>& names);

 private:
  std::vector<TParam> items_;
};

// The ":NAME" markers of an SQL text, in order, without repeats. Text in
// quotes, "--" comments and "::" casts are skipped.
std::vector<std::string> ParseParamNames(std::string_view sql);

}  // namespace fw
