// The definition of one stored column: what a data packet declares for
// each field and what a query result reports for each column.
#pragma once

#include <string>
#include <vector>

#include "data/field_type.h"

namespace fw {

struct TFieldDef {
  std::string Name;
  TFieldType DataType = TFieldType::ftString;
  int Size = 0;  // maximum characters of a string column; 0 otherwise
  TProviderFlags ProviderFlags = kDefaultProviderFlags;
  bool operator==(const TFieldDef&) const = default;
};

using TFieldDefs = std::vector<TFieldDef>;

}  // namespace fw
