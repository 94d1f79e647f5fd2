// How a TNetConnection reaches the application server.
//
// A transport carries one JSON-RPC 2.0 request object to the server and
// brings back the response object, unchecked. Connect makes sure the
// server can be reached and serves the connection's module; Disconnect
// drops whatever the transport holds open. Failures to reach the server
// or to read its reply raise EConnectionError; an HTTP refusal (unknown
// module, request too large) raises EServerError, a refused credential
// (401: no session, or one that ended) ESessionExpired.
//
// Two transports:
//   - HTTP: POST /<server name> to http://host:port, JSON body, with
//     "Authorization: Bearer <token>" when a token is given. Connect asks
//     GET /<server name>.
//   - in-process: hands the request to a function (the application
//     server's dispatcher linked into the same program; used by tests).
//     Request and response are written out and read back as JSON text on
//     the way, so the function sees exactly what the wire would carry.
// A transport object is used by one thread at a time.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "rpc/arriving_text.h"

namespace fw {

class TRpcTransport {
 public:
  virtual ~TRpcTransport() = default;
  virtual void Connect() = 0;
  virtual void Disconnect() = 0;
  virtual nlohmann::json Send(const nlohmann::json& request) = 0;
  // The reply as the text the server sent (empty for none), unread: the
  // same failures as Send, except that a text that is not JSON is left to
  // the caller to find.
  virtual std::string SendText(const nlohmann::json& request) {
    nlohmann::json reply = Send(request);
    return reply.is_null() ? std::string() : reply.dump();
  }
  // Hands `read` the reply's text while it arrives (TArrivingText), and
  // once `read` has returned raises what SendText raises; `read` itself
  // must not raise. The default hands it SendText's text, whole.
  virtual void SendReading(const nlohmann::json& request,
                           const std::function<void(TArrivingText&)>& read) {
    std::string text = SendText(request);
    TArrivingText arriving;
    arriving.Add(text.data(), text.size());
    arriving.Close();
    read(arriving);
  }
};

struct THttpEndpoint {
  std::string Host = "127.0.0.1";
  int Port = 0;
  std::string ServerName;      // the module path, e.g. "Zqv41800.rdmConfPedido"
  std::string Token;           // empty: no Authorization header
  int ConnectTimeoutSec = 5;
  int ReadTimeoutSec = 300;    // a large order list takes a while
};

std::unique_ptr<TRpcTransport> MakeHttpTransport(const THttpEndpoint& endpoint);

// The function answers one request object with a response object, or with
// null for a notification (a request without "id").
using TRpcHandler = std::function<nlohmann::json(const nlohmann::json& request)>;
std::unique_ptr<TRpcTransport> MakeInProcessTransport(TRpcHandler handler);

}  // namespace fw
