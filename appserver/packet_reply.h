// TPacketReply: the text of a data packet written as the rows of a query
// are read, a piece of about `pieceBytes` at a time: the same text as
// PacketFromResult(layout, result).ToFastString() for the same rows.
//
// It owns the database connection the query runs on and the query's
// cursor (ended before the connection goes back to the pool). The
// cursor's columns must be the layout's (std::logic_error otherwise); a
// stored value that does not fit its field raises EDatabaseError from
// Next. Used by one thread at a time.
#pragma once

#include <memory>

#include "appserver/db_pool.h"
#include "appserver/reply_stream.h"
#include "data/packet_text_writer.h"

namespace appserver {

class TPacketReply : public TReplyStream {
 public:
  static constexpr size_t kPieceBytes = 64 * 1024;

  TPacketReply(TDbPool::TLease db, const fw::TFieldDefs& layout, std::unique_ptr<fw::SqlCursor> cursor,
               size_t pieceBytes = kPieceBytes);
  bool Next(std::string& out) override;

 private:
  TDbPool::TLease db_;
  std::unique_ptr<fw::SqlCursor> cursor_;  // after db_: ends first
  fw::TPacketTextWriter writer_;
  size_t pieceBytes_;
  bool started_ = false;
  std::vector<fw::SqlValueView> read_;
};

}  // namespace appserver
