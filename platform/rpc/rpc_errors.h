// Failures of the application-server connection.
//
// EServerError: the server answered, with an error. Either a checked
//   method's failure reply ({"status":"error","message":...}, Code() 0) or a
//   JSON-RPC error object (Code() is its code, e.g. -32602). what() is the
//   server's message, meant for the operator.
// EConnectionError: the server could not be reached, the exchange broke
//   off, or the reply was not a JSON-RPC response. what() says which and
//   names the address.
#pragma once

#include <string>

#include "base/errors.h"

namespace fw {

class EServerError : public Exception {
 public:
  explicit EServerError(const std::string& message, int code = 0)
      : Exception(message), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

class EConnectionError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace fw
