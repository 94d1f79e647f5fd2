// Operators' passwords: Argon2id hashes in libsodium's text form, which
// carries the algorithm, its cost and the salt with the hash, so a cost
// raised later still verifies the hashes made before.
//
// The cost is libsodium's "interactive" one (2 passes over 64 MiB), about a
// tenth of a second: slow enough to make guessing dear, quick enough for a
// sign-in. Thread-safe; HashPassword raises std::runtime_error when the
// memory cannot be had.
#pragma once

#include <string>
#include <string_view>

namespace appserver {

std::string HashPassword(std::string_view password);

// Whether `password` is the one `hash` was made from; false for an empty
// or malformed hash.
bool VerifyPassword(std::string_view hash, std::string_view password);

// Spends what a verification spends and answers false: a sign-in for an
// operator that does not exist takes as long as a wrong password.
bool VerifyNothing(std::string_view password);

// Starts libsodium once (safe from any thread); raises std::runtime_error
// when it cannot start.
void InitSodium();

}  // namespace appserver
