// Filter expressions of datasets: parsing and evaluation.
//
// Grammar (keywords case-insensitive, blanks optional between tokens):
//   expr       := term { OR term }
//   term       := factor { AND factor }
//   factor     := NOT factor | '(' expr ')' | comparison
//   comparison := operand ( op operand | IS [NOT] NULL )
//   op         := = | <> | != | < | <= | > | >=
//   operand    := field name | [field name] | 'text' ('' is a quote)
//                 | number (decimal point '.', optional leading '-')
// A comparison with a null column is false; IS NULL tests for null.
// Text against text compares the texts (ignoring case with
// foCaseInsensitive); when either side is a number or a float/integer
// column, both sides compare as numbers; a date-time column against text
// reads the text as a date (dd/mm/yyyy [hh:nn[:ss]]).
//
// FilterExpression::Parse raises EFilterError (with the 1-based position)
// for malformed text; FilterProgram binds a parsed expression to the stored
// columns of a dataset and raises EFilterError for an unknown column or a
// literal that cannot be compared with its column. Both are immutable
// after construction and may be shared between threads.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/field_def.h"
#include "data/value.h"

namespace fw {

struct FilterNode;

class FilterExpression {
 public:
  static std::unique_ptr<FilterExpression> Parse(std::string_view text);
  ~FilterExpression();
  const FilterNode& Root() const { return *root_; }

 private:
  explicit FilterExpression(std::unique_ptr<FilterNode> root);
  std::unique_ptr<FilterNode> root_;
};

class FilterProgram {
 public:
  FilterProgram(const FilterExpression& expression, const TFieldDefs& defs);
  ~FilterProgram();
  bool Matches(const Row& row, bool caseInsensitive) const;

  struct Op;  // one step of the postfix program

 private:
  std::vector<Op> code_;
};

}  // namespace fw
