// TPacketTextWriter: a packet's JSON text written a piece at a time, for
// lists too large to hold as a packet and as text at once. Head, then each
// row, then End give exactly the text TDataPacket::ToFastString gives for
// the same fields and rows (no change log). A row is either AppendRow, or
// BeginRow, one AppendText/AppendValue per field in order, and EndRow.
// Text that is not UTF-8 raises EDatabaseError, as ToFastString does.
// Plain value type; one thread at a time.
#pragma once

#include <string>
#include <string_view>

#include "data/field_def.h"
#include "data/value.h"

namespace fw {

class TPacketTextWriter {
 public:
  explicit TPacketTextWriter(TFieldDefs fields) : fields_(std::move(fields)) {}

  const TFieldDefs& Fields() const { return fields_; }
  void Head(std::string& out) const;
  // `row` holds one value per field, each of the field's type.
  void AppendRow(std::string& out, const Row& row);
  void End(std::string& out) const { out += "]}"; }

  void BeginRow(std::string& out);
  // The next field's value: text for a string or memo field, without
  // making a value of it first; or a value of the field's type.
  void AppendText(std::string& out, std::string_view text);
  void AppendValue(std::string& out, const Value& value);
  void EndRow(std::string& out) { out += ']'; }

 private:
  void Separate(std::string& out) {
    if (column_++ > 0) out += ',';
  }

  TFieldDefs fields_;
  bool first_ = true;
  size_t column_ = 0;  // fields written of the current row
};

}  // namespace fw
