#include "appserver/packet_reply.h"

#include "appserver/packet_layouts.h"
#include "sql/sql_values.h"

namespace appserver {

TPacketReply::TPacketReply(TDbPool::TLease db, const fw::TFieldDefs& layout,
                           std::unique_ptr<fw::SqlCursor> cursor, size_t pieceBytes)
    : db_(std::move(db)), cursor_(std::move(cursor)), writer_(layout), pieceBytes_(pieceBytes),
      row_(layout.size()) {
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
    if (!cursor_->Next(read_)) {
      writer_.End(out);
      cursor_.reset();  // the statement ends before the connection goes back
      return false;
    }
    for (size_t c = 0; c < fields.size(); ++c)
      row_[c] = fw::ToFieldValue(read_[c], fields[c].DataType, fields[c].Name);
    writer_.AppendRow(out, row_);
  }
  return true;
}

}  // namespace appserver
