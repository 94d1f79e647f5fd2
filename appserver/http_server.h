// The HTTP endpoint of the application server.
//
// POST /session signs an operator in: {"operator","password"} answers 200
// {"token","operator","expires"}, 401 {"error"} for a wrong password or
// operator, 429 {"error"} (and Retry-After) while the code is locked, 400
// for a body that is not such an object. DELETE /session with the bearer
// token ends that session: 204, or 401 for a token that is not live.
//
// The module's routes need "Authorization: Bearer <token>" of a live
// session; without one they answer 401 with a JSON-RPC error body. POST
// /<module name> carries one JSON-RPC request (or batch) in its body and
// is answered by the dispatcher, which checks the operator arguments
// against the session's operator: 200 with the JSON reply, 204 when there
// is nothing to answer. GET /<module name> answers the module's name and
// methods (clients use it to check the server at connect time). Any other
// path is 404; a body declared over MaxBodyBytes is refused with 413
// before it is read. Connections, timeouts and compression follow
// fw::ApplyServerLimits. Tokens and passwords are never logged.
//
// Bind takes the address (port 0: any free port) and returns the port;
// Run serves until Stop, which may be called from any thread (a signal
// handler's thread, for instance): the server stops accepting, finishes
// the requests in flight and Run returns.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "appserver/dispatcher.h"
#include "appserver/session_store.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}

namespace appserver {

struct THttpOptions {
  std::string Host = "127.0.0.1";
  int Port = 0;
  size_t MaxBodyBytes = 8u << 20;
  size_t MaxSignInBytes = 4096;
  size_t MaxConnections = 512;  // each is served by a thread of its own
};

class THttpServer {
 public:
  // Both must outlive the server.
  THttpServer(const TDispatcher& dispatcher, TSessionStore& sessions, THttpOptions options);
  ~THttpServer();

  // The port bound; raises std::runtime_error (Portuguese) when the address
  // cannot be bound.
  int Bind();
  void Run();
  void Stop();

 private:
  void SessionRoutes();
  void ModuleRoutes();
  // The operator of the request's session, or null after answering 401.
  std::optional<std::string> Authorize(const httplib::Request& req, httplib::Response& res) const;

  const TDispatcher& dispatcher_;
  TSessionStore& sessions_;
  THttpOptions options_;
  std::unique_ptr<httplib::Server> server_;
  std::function<void()> afterBind_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> finished_{false};
};

}  // namespace appserver
