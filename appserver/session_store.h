// Sessions of signed-in operators, kept in the database (SESSAOOPER,
// FALHAACESSO) so that every application server on it shares them.
//
// SignIn checks an operator's password and opens a session: a token of 256
// random bits, written as 43 base64url characters and stored only as its
// SHA-256. A wrong password and an unknown operator are refused alike
// (TSignInRefused, status 401, same message, same time spent). Every
// attempt counts against the code before the password is checked, so
// parallel guesses count too; the MaxFailures-th failure in a row locks the
// code for LockSeconds, during which every attempt is refused with status
// 429, whatever the password. A success clears the count.
//
// OperatorOf answers the operator of a live session and moves its expiry
// on (a session ends Hours after its last use; the last use is written at
// most once a minute, so a busy session does not write on every request).
// SignOut ends a session. Database failures raise EDatabaseError.
// Thread-safe: each call takes its own connection from the pool, which
// must outlive the store.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "appserver/db_pool.h"

namespace appserver {

inline constexpr const char* kWrongCredentialsText = "Operador ou senha inválidos.";
inline constexpr const char* kSessionExpiredText = "Sessão inválida ou expirada. Entre novamente.";

struct TSessionOptions {
  double Hours = 8;       // a session ends this long after its last use
  int MaxFailures = 5;    // failed sign-ins in a row that lock a code
  int LockSeconds = 60;   // how long the code stays locked
};

struct TSession {
  std::string Token;
  std::string Operator;
  double Expires = 0;  // OLE date-time
};

class TSignInRefused : public std::runtime_error {
 public:
  TSignInRefused(int status, const std::string& message, int retryAfter = 0)
      : std::runtime_error(message), status_(status), retryAfter_(retryAfter) {}
  int Status() const { return status_; }       // 401 or 429
  int RetryAfter() const { return retryAfter_; }  // seconds, for 429

 private:
  int status_;
  int retryAfter_;
};

class TSessionStore {
 public:
  TSessionStore(TDbPool& pool, TSessionOptions options, std::function<double()> now);

  TSession SignIn(const std::string& op, std::string_view password);
  std::optional<std::string> OperatorOf(std::string_view token);
  bool SignOut(std::string_view token);

 private:
  void CountAttempt(fw::SqlDriver& db, const std::string& op, double now);
  TSession Open(fw::SqlDriver& db, const std::string& op, double now);

  TDbPool& pool_;
  TSessionOptions options_;
  std::function<double()> now_;
};

// The SHA-256 of a token as 64 hex digits.
std::string TokenHash(std::string_view token);

}  // namespace appserver
