// TDataPacket: the one wire form of a dataset's contents.
//
// A packet holds the stored columns (name, type, size, provider flags),
// the rows, and the change log: one entry per posted edit, in order, each
// with the index of the changed row and the row's values before that edit
// (so the first entry of a row holds its values as loaded). Calculated
// fields never travel in packets.
//
// JSON form (documented in docs/data-packets.md):
//   {"fields": [{"name": "NRPEDIDO", "type": "string", "size": 10},
//               {"name": "IDCHECK", "type": "string", "size": 1, "flags": []}],
//    "rows": [["0000000123", "S"]],
//    "changes": [{"row": 0, "old": ["0000000123", "N"]}]}
// Null is JSON null; date-times are OLE Automation numbers; blobs are
// base64 text; "flags" is left out when it holds the default
// ["inUpdate", "inWhere"]; "changes" may be left out when empty.
//
// Parse/FromJson check everything (shape, types, sizes, row widths,
// change-log rows) and raise EDatabaseError naming what is wrong and where;
// nothing is half-built. Values are exact across a round trip. Plain value
// type; thread-compatible.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "data/field_def.h"
#include "data/text_parts.h"
#include "data/value.h"

namespace fw {

struct TChangeEntry {
  size_t RowIndex = 0;
  Row Old;
  bool operator==(const TChangeEntry&) const = default;
};

struct TDataPacket {
  TFieldDefs Fields;
  std::vector<Row> Rows;
  std::vector<TChangeEntry> Changes;

  static TDataPacket Parse(std::string_view jsonText);
  // Reads, in one pass, an object in which the members named by `path`
  // lead to a packet of the usual shape ("fields" before "rows", every value
  // as declared): {"result": packet} for {"result"}, {"result": {"value":
  // packet}} for {"result", "value"}. Every other member of the objects on
  // the way must be a plain value; they are put in `others`, one object per
  // level. Nullopt for any other text: the caller then reads it the
  // ordinary way.
  static std::optional<TDataPacket> ParseMember(std::string_view jsonText,
                                                const std::vector<std::string_view>& path,
                                                std::vector<nlohmann::json>& others);
  // The same, reading the text part by part to its end (parts still
  // arriving are read as they come).
  static std::optional<TDataPacket> ParseMember(TTextParts& jsonText,
                                                const std::vector<std::string_view>& path,
                                                std::vector<nlohmann::json>& others);
  static TDataPacket FromJson(const nlohmann::json& json);
  nlohmann::json ToJson() const;
  std::string ToString() const;
  // The same JSON as ToString (read back, the same packet; numbers may be
  // spelled otherwise), written straight from the rows with no document
  // of them: for large lists. Raises EDatabaseError for text that is not
  // UTF-8.
  std::string ToFastString() const;

  int FieldIndex(std::string_view name) const;  // -1 when absent (ignores case)
};

}  // namespace fw
