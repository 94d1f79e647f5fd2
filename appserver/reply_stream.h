// TReplyStream: a reply written a piece at a time, so that a large list
// goes out as its rows are read instead of being held whole first.
//
// Next appends the next piece to `out` and answers whether more follow.
// It may raise (the database failing half-way): the reply is then cut
// short and whoever sends it drops the connection. Owned by the one who
// sends the reply; used by one thread at a time.
#pragma once

#include <string>

namespace appserver {

class TReplyStream {
 public:
  virtual ~TReplyStream() = default;
  virtual bool Next(std::string& out) = 0;
};

// The whole rest of a stream appended to `out`.
inline void Drain(TReplyStream& stream, std::string& out) {
  while (stream.Next(out)) {
  }
}

}  // namespace appserver
