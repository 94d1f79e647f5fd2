#include "appserver/session_store.h"

#include <sodium.h>

#include <algorithm>
#include <cmath>

#include "appserver/password_hash.h"
#include "base/random_token.h"

namespace appserver {

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kTouchEvery = 60 * kSecond;  // last use written at most this often
constexpr size_t kTokenBytes = 32;
constexpr size_t kTokenChars = 43;            // base64url of 32 bytes, unpadded
constexpr size_t kMaxOperatorCode = 12;

double Number(const fw::SqlValue& v) {
  if (const double* d = std::get_if<double>(&v)) return *d;
  if (const int64_t* i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
  return 0;
}

}  // namespace

std::string TokenHash(std::string_view token) {
  unsigned char digest[crypto_hash_sha256_BYTES];
  crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(token.data()), token.size());
  char hex[2 * crypto_hash_sha256_BYTES + 1];
  sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
  return hex;
}

TSessionStore::TSessionStore(TDbPool& pool, TSessionOptions options, std::function<double()> now)
    : pool_(pool), options_(options), now_(std::move(now)) {
  InitSodium();
}

// Counts the attempt before the password is checked, or refuses it while
// the code is locked. The count that reaches the limit locks the code and
// starts counting again.
void TSessionStore::CountAttempt(fw::SqlDriver& db, const std::string& op, double now) {
  fw::TSqlTransaction tx(db);
  fw::SqlResult r = db.Query(
      "SELECT NRFALHAS, DTBLOQATE FROM FALHAACESSO WHERE CDOPERADOR = :OP", {{"OP", op}});
  int failures = r.Rows.empty() ? 0 : static_cast<int>(Number(r.Rows[0][0]));
  double lockedUntil = r.Rows.empty() ? 0 : Number(r.Rows[0][1]);
  if (lockedUntil > now) {
    int seconds = std::max(1, static_cast<int>(std::ceil((lockedUntil - now) / kSecond - 1e-6)));
    throw TSignInRefused(429,
                         "Muitas tentativas inválidas para o operador " + op +
                             ". Tente novamente em " + std::to_string(seconds) + " segundos.",
                         seconds);
  }
  bool lock = failures + 1 >= options_.MaxFailures;
  fw::SqlParams params = {{"OP", op}, {"N", int64_t(lock ? 0 : failures + 1)}, {"NOW", now}};
  params.emplace_back("ATE", lock ? fw::SqlValue(now + options_.LockSeconds * kSecond) : fw::SqlValue());
  db.Execute(
      "INSERT INTO FALHAACESSO (CDOPERADOR, NRFALHAS, DTULTFALHA, DTBLOQATE)"
      " VALUES (:OP, :N, :NOW, :ATE) ON CONFLICT (CDOPERADOR) DO UPDATE"
      " SET NRFALHAS = excluded.NRFALHAS, DTULTFALHA = excluded.DTULTFALHA,"
      " DTBLOQATE = excluded.DTBLOQATE",
      params);
  // Codes nobody has tried for a day are forgotten.
  db.Execute(
      "DELETE FROM FALHAACESSO WHERE DTULTFALHA < :DIA AND"
      " (DTBLOQATE IS NULL OR DTBLOQATE < :NOW)",
      {{"DIA", now - 1}, {"NOW", now}});
  tx.Commit();
}

TSession TSessionStore::Open(fw::SqlDriver& db, const std::string& op, double now) {
  TSession s{fw::RandomToken(kTokenBytes), op, now + options_.Hours / 24};
  fw::TSqlTransaction tx(db);
  db.Execute("DELETE FROM FALHAACESSO WHERE CDOPERADOR = :OP", {{"OP", op}});
  db.Execute("DELETE FROM SESSAOOPER WHERE DTEXPIRA <= :NOW", {{"NOW", now}});
  db.Execute(
      "INSERT INTO SESSAOOPER (HSTOKEN, CDOPERADOR, DTCRIACAO, DTULTUSO, DTEXPIRA)"
      " VALUES (:H, :OP, :NOW, :NOW, :EXP)",
      {{"H", TokenHash(s.Token)}, {"OP", op}, {"NOW", now}, {"EXP", s.Expires}});
  tx.Commit();
  return s;
}

TSession TSessionStore::SignIn(const std::string& op, std::string_view password) {
  if (op.empty() || op.size() > kMaxOperatorCode) {
    VerifyNothing(password);
    throw TSignInRefused(401, kWrongCredentialsText);
  }
  TDbPool::TLease db = pool_.Acquire();
  CountAttempt(*db, op, now_());
  fw::SqlResult r = db->Query("SELECT DSHASHSENHA FROM OPERADOR WHERE CDOPERADOR = :OP",
                              {{"OP", op}});
  const std::string* hash = r.Rows.empty() ? nullptr : std::get_if<std::string>(&r.Rows[0][0]);
  bool right = hash ? VerifyPassword(*hash, password) : VerifyNothing(password);
  if (!right) throw TSignInRefused(401, kWrongCredentialsText);
  return Open(*db, op, now_());
}

std::optional<std::string> TSessionStore::OperatorOf(std::string_view token) {
  if (token.size() != kTokenChars) return std::nullopt;
  std::string hash = TokenHash(token);
  double now = now_();
  TDbPool::TLease db = pool_.Acquire();
  fw::SqlResult r = db->Query(
      "SELECT CDOPERADOR, DTULTUSO FROM SESSAOOPER WHERE HSTOKEN = :H AND DTEXPIRA > :NOW",
      {{"H", hash}, {"NOW", now}});
  if (r.Rows.empty()) return std::nullopt;
  if (now - Number(r.Rows[0][1]) >= kTouchEvery)
    db->Execute(
        "UPDATE SESSAOOPER SET DTULTUSO = :NOW, DTEXPIRA = :EXP"
        " WHERE HSTOKEN = :H AND DTEXPIRA > :NOW",
        {{"H", hash}, {"NOW", now}, {"EXP", now + options_.Hours / 24}});
  return std::get<std::string>(r.Rows[0][0]);
}

bool TSessionStore::SignOut(std::string_view token) {
  if (token.size() != kTokenChars) return false;
  TDbPool::TLease db = pool_.Acquire();
  db->Execute("DELETE FROM SESSAOOPER WHERE HSTOKEN = :H", {{"H", TokenHash(token)}});
  return db->RowsAffected() > 0;
}

}  // namespace appserver
