// PageGuard: decides which requests may use the host's page.
//
// The page is the operator's alone. The host prints an address carrying a
// random key (`http://127.0.0.1:PORT/?chave=KEY`); a GET with that key is
// answered with a cookie holding it (HttpOnly, SameSite=Strict, Path=/) and
// a redirect to the same path without the key, so the key leaves the
// address bar. Every other request needs the cookie (or the key). Whatever
// the key, a request is refused when its Host is not 127.0.0.1:PORT or
// localhost:PORT (a rebound DNS name carries its own), and a POST when it
// carries an Origin other than the page's own.
//
// The cookie's name carries the port, because browsers share cookies
// between all ports of a host name: two hosts on one machine keep theirs
// apart. Keys are compared in constant time and never logged.
//
// Threads: the key and the port are set before the server starts; Check
// is const and may run on every server thread at once. The constructor
// raises fw::Exception when libsodium cannot start or when a given key is
// shorter than kMinKeyChars or has characters outside [A-Za-z0-9_-].
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace display {

// What the guard reads of a request; an absent header is nullopt.
struct PageRequest {
  std::string method;
  std::optional<std::string> host;
  std::optional<std::string> origin;
  std::optional<std::string> cookie;  // the raw Cookie header
  std::optional<std::string> key;     // the ?chave= parameter
};

enum class PageVerdict {
  kAllow,
  kSetCookie,  // answer 303 to the same path, with SetCookieHeader()
  kRefuse,     // answer 403 with kRefusedText
};

class PageGuard {
 public:
  static constexpr const char* kKeyParam = "chave";
  static constexpr size_t kMinKeyChars = 22;  // 128 bits in base64url
  static constexpr const char* kRefusedText = "Acesso negado: abra o endereço que o host mostrou.\n";

  // An empty key makes a random one of 256 bits.
  explicit PageGuard(std::string key = {});

  void SetPort(int port) { port_ = port; }
  const std::string& Key() const { return key_; }
  // "chave_PORT".
  std::string CookieName() const;
  // The Set-Cookie value: "chave_PORT=KEY; HttpOnly; SameSite=Strict; Path=/".
  std::string SetCookieHeader() const;
  // "http://127.0.0.1:PORT/?chave=KEY".
  std::string PageUrl() const;

  PageVerdict Check(const PageRequest& request) const;

 private:
  bool Matches(std::string_view candidate) const;
  bool CookieMatches(std::string_view header) const;
  bool HostAllowed(const std::optional<std::string>& host) const;
  bool OriginAllowed(const std::optional<std::string>& origin) const;

  std::string key_;
  int port_ = 0;
};

}  // namespace display
