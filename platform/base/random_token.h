// Secrets made of random bytes: session tokens and page keys.
//
// RandomToken answers `bytes` random bytes from the system's generator
// (libsodium), written as unpadded base64url: characters [A-Za-z0-9_-]
// only, so the text goes into URLs, cookies and headers as it is.
// Thread-safe; raises fw::Exception when the generator cannot start.
#pragma once

#include <cstddef>
#include <string>

namespace fw {

std::string RandomToken(size_t bytes = 32);

}  // namespace fw
