// The limits every HTTP server of the system runs with, so that hostile
// or merely slow clients cannot take it down or hold up the others.
//
// ApplyServerLimits sets on an httplib::Server:
// - a thread per connection (TConnectionWorkers, up to MaxConnections):
//   a client that sends its headers one byte a second, or a connection
//   left idle, holds its own thread and nobody else's;
// - idle keep-alive connections closed after KeepAliveSeconds, at most
//   KeepAliveRequests requests on one, and reads and writes that stall
//   for IoTimeoutSeconds given up;
// - a pre-routing step, run before `next` (the server's own, if any):
//   a body whose declared Content-Length is over MaxBodyBytes is refused
//   with 413 at once, without reading it, and the connection is closed;
//   the client's Accept-Encoding is dropped, so replies are never
//   compressed (compressing a large reply costs more than building it,
//   and the clients are on the same machine or network);
// - a listening queue of ListenBacklog connections instead of the
//   library's 5, so that a burst of connections is not dropped to wait
//   for the client's retry (seconds): call the function it returns once
//   the server is bound.
// Call it once, before the server binds; raises nothing.
#pragma once

#include <cstddef>
#include <ctime>
#include <functional>

#include <httplib.h>

namespace fw {

struct TServerLimits {
  size_t MaxBodyBytes = 8u << 20;
  size_t MaxConnections = 512;
  time_t KeepAliveSeconds = 2;
  size_t KeepAliveRequests = 100;
  time_t IoTimeoutSeconds = 10;
  int ListenBacklog = 1024;
};

using TPreRouting =
    std::function<httplib::Server::HandlerResponse(const httplib::Request&, httplib::Response&)>;

// Returns what to call after a successful bind.
[[nodiscard]] std::function<void()> ApplyServerLimits(httplib::Server& server,
                                                      const TServerLimits& limits,
                                                      TPreRouting next = {});

// The declared length of the request's body, or 0 when none is declared;
// SIZE_MAX for a length that is not a number or too large to hold.
size_t DeclaredLength(const httplib::Request& req);

}  // namespace fw
