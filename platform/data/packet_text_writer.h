// TPacketTextWriter: a packet's JSON text written a piece at a time, for
// lists too large to hold as a packet and as text at once. Head, then each
// row, then End give exactly the text TDataPacket::ToFastString gives for
// the same fields and rows (no change log). AppendRow raises
// EDatabaseError for text that is not UTF-8, as ToFastString does. Plain
// value type; one thread at a time.
#pragma once

#include <string>

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

 private:
  TFieldDefs fields_;
  bool first_ = true;
};

}  // namespace fw
