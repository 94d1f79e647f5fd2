#include "base/random_token.h"

#include <sodium.h>

#include <vector>

#include "base/errors.h"

namespace fw {

std::string RandomToken(size_t bytes) {
  if (sodium_init() < 0) throw Exception("Não foi possível iniciar a biblioteca de criptografia.");
  constexpr int variant = sodium_base64_VARIANT_URLSAFE_NO_PADDING;
  std::vector<unsigned char> random(bytes);
  randombytes_buf(random.data(), random.size());
  std::string text(sodium_base64_ENCODED_LEN(bytes, variant), '\0');
  sodium_bin2base64(text.data(), text.size(), random.data(), random.size(), variant);
  text.resize(text.find('\0'));
  sodium_memzero(random.data(), random.size());
  return text;
}

}  // namespace fw
