// Persistent fields declared as tables: one TFieldDecl per field, with its
// type, size, label, flags, formats, origin and display width, added to a
// dataset in table order by Declare. Used by the module's screens and
// dialogs for their client datasets and queries. Raises what
// TDataSet::AddField raises (a name declared twice). Pure apart from the
// dataset it fills.
#pragma once

#include <span>

#include "data/dataset.h"

namespace fields {

enum : unsigned {
  kHidden = 1u << 0,      // the field's own visible flag is off
  kNoProvider = 1u << 1,  // takes no part in the updates a server derives
  kCalculated = 1u << 2,
  kRequired = 1u << 3,
};

constexpr fw::TFieldType S = fw::TFieldType::ftString, F = fw::TFieldType::ftFloat,
                         D = fw::TFieldType::ftDateTime, B = fw::TFieldType::ftBlob;

struct TFieldDecl {
  const char* Name;
  fw::TFieldType Type;
  int Size = 0;
  const char* Label = "";
  unsigned Flags = 0;
  const char* Display = "";  // display format
  const char* Edit = "";     // edit format
  const char* Origin = "";
  int DisplayWidth = 0;
};

void Declare(fw::TDataSet& dataSet, std::span<const TFieldDecl> decls);

}  // namespace fields
