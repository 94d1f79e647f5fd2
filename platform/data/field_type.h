// Kinds of fields and their names in data packets.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fw {

enum class TFieldType { ftString, ftFloat, ftDateTime, ftInteger, ftMemo, ftBlob };

// Whether a field's value is stored in the rows (and in packets) or
// computed for each row by the dataset's OnCalcFields handler.
enum class TFieldKind { fkData, fkCalculated };

// Provider flags: which fields take part in the updates a server derives
// from a packet sent back to it. A field with none takes no part.
enum TProviderFlag : unsigned { pfInUpdate = 1, pfInWhere = 2, pfInKey = 4, pfHidden = 8 };
using TProviderFlags = unsigned;
constexpr TProviderFlags kDefaultProviderFlags = pfInUpdate | pfInWhere;

// "string", "float", "datetime", "integer", "memo", "blob".
std::string_view FieldTypeName(TFieldType type);
std::optional<TFieldType> FieldTypeFromName(std::string_view name);

}  // namespace fw
