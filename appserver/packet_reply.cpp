#include "appserver/packet_reply.h"

#include "appserver/packet_layouts.h"
#include "sql/sql_values.h"

namespace appserver {

namespace {

fw::SqlValue Owned(const fw::SqlValueView& v) {
  switch (v.index()) {
    case 1: return std::string(std::get<std::string_view>(v));
    case 2: return std::get<double>(v);
    case 3: return std::get<int64_t>(v);
    default: return std::monostate{};
  }
}

}  // namespace

TPacketReply::TPacketReply(TDbPool::TLease db, const fw::TFieldDefs& layout,
                           std::unique_ptr<fw::SqlCursor> cursor, size_t pieceBytes)
    : db_(std::move(db)), cursor_(std::move(cursor)), writer_(layout), pieceBytes_(pieceBytes) {
  CheckColumns(layout, cursor_->Columns());
}

bool TPacketReply::Next(std::string& out) {
  if (!cursor_) return false;
  if (!started_) {
    writer_.Head(out);
    started_ = true;
  }
  const fw::TFieldDefs& fields = writer_.Fields();
  const size_t limit = out.size() + pieceBytes_;
  while (out.size() < limit) {
    if (!cursor_->NextView(read_)) {
      writer_.End(out);
      cursor_.reset();  // the statement ends before the connection goes back
      return false;
    }
    // Text goes straight from the database's copy into the reply; the rest
    // is converted to its field's type first.
    writer_.BeginRow(out);
    for (size_t c = 0; c < fields.size(); ++c) {
      const fw::TFieldDef& field = fields[c];
      const std::string_view* text = std::get_if<std::string_view>(&read_[c]);
      if (text && (field.DataType == fw::TFieldType::ftString || field.DataType == fw::TFieldType::ftMemo))
        writer_.AppendText(out, *text);
      else
        writer_.AppendValue(out, fw::ToFieldValue(Owned(read_[c]), field.DataType, field.Name));
    }
    writer_.EndRow(out);
  }
  return true;
}

}  // namespace appserver
