// The HTTP endpoint of the application server.
//
// POST /<module name> carries one JSON-RPC request (or batch) in its body
// and is answered by the dispatcher: 200 with the JSON reply, 204 when
// there is nothing to answer. GET /<module name> answers the module's name
// and methods (clients use it to check the server at connect time). Any
// other path is 404; a body over MaxBodyBytes is refused with 413; with a
// token set, a request without "Authorization: Bearer <token>" gets 401.
//
// Bind takes the address (port 0: any free port) and returns the port;
// Run serves until Stop, which may be called from any thread (a signal
// handler's thread, for instance): the server stops accepting, finishes
// the requests in flight and Run returns.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "appserver/dispatcher.h"

namespace httplib {
class Server;
}

namespace appserver {

struct THttpOptions {
  std::string Host = "127.0.0.1";
  int Port = 0;
  std::string Token;
  size_t MaxBodyBytes = 8u << 20;
  int Threads = 8;
};

class THttpServer {
 public:
  THttpServer(const TDispatcher& dispatcher, THttpOptions options);
  ~THttpServer();

  // The port bound; raises std::runtime_error (Portuguese) when the address
  // cannot be bound.
  int Bind();
  void Run();
  void Stop();

 private:
  const TDispatcher& dispatcher_;
  THttpOptions options_;
  std::unique_ptr<httplib::Server> server_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> finished_{false};
};

}  // namespace appserver
