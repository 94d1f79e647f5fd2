// Failures of the application-server connection.
//
// EServerError: the server answered, with an error. Either a checked
//   method's failure reply ({"status":"error","message":...}, Code() 0) or a
//   JSON-RPC error object (Code() is its code, e.g. -32602). what() is the
//   server's message, meant for the operator.
// ESessionExpired: the server refused the credential (HTTP 401): no token,
//   or a session that ended or expired. what() is the server's message
//   ("Sessão inválida ou expirada. Entre novamente."). The operator has to
//   sign in again.
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

class ESessionExpired : public EServerError {
 public:
  using EServerError::EServerError;
};

class EConnectionError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace fw
