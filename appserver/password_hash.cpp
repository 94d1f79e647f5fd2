#include "appserver/password_hash.h"

#include <sodium.h>

#include <stdexcept>

namespace appserver {

void InitSodium() {
  if (sodium_init() < 0) throw std::runtime_error("Não foi possível iniciar a libsodium.");
}

std::string HashPassword(std::string_view password) {
  InitSodium();
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    throw std::runtime_error("Memória insuficiente para calcular o hash da senha.");
  return out;
}

bool VerifyPassword(std::string_view hash, std::string_view password) {
  InitSodium();
  if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) return false;
  std::string text(hash);  // the hash is read as a C string
  return crypto_pwhash_str_verify(text.c_str(), password.data(), password.size()) == 0;
}

bool VerifyNothing(std::string_view password) {
  static const std::string dummy = HashPassword("senha que ninguém tem");
  VerifyPassword(dummy, password);
  return false;
}

}  // namespace appserver
