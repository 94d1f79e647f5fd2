// SessionClient: signs the operator in to the application server and out
// again (POST and DELETE /session on http://host:port).
//
// SignIn answers the session (the operator's code as the server has it,
// the token, the expiry). A refusal - wrong password or operator, a code
// locked after too many failures, a malformed request - raises
// fw::EServerError with the server's message; a server that cannot be
// reached raises fw::EConnectionError naming the address. SignOut ends
// the session and never raises: a server that is down or a session that
// already ended leave nothing to undo. The token is kept by the caller,
// only in memory. One thread at a time.
#pragma once

#include <string>

namespace host {

struct SignedIn {
  std::string Operator;
  std::string Token;
  double Expires = 0;  // OLE date-time
};

class SessionClient {
 public:
  SessionClient(std::string host, int port) : host_(std::move(host)), port_(port) {}

  SignedIn SignIn(const std::string& op, const std::string& password) const;
  void SignOut(const std::string& token) const noexcept;

 private:
  std::string Address() const { return host_ + ":" + std::to_string(port_); }
  std::string host_;
  int port_;
};

}  // namespace host
