#include "display/page_guard.h"

#include <sodium.h>

#include "base/errors.h"
#include "base/random_token.h"

namespace display {

namespace {

bool KeyChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

PageGuard::PageGuard(std::string key) : key_(std::move(key)) {
  if (sodium_init() < 0) throw fw::Exception("Não foi possível iniciar a biblioteca de criptografia.");
  if (key_.empty()) {
    key_ = fw::RandomToken();
    return;
  }
  bool valid = key_.size() >= kMinKeyChars;
  for (char c : key_) valid = valid && KeyChar(c);
  if (!valid)
    throw fw::Exception("Chave da página inválida: use ao menos " + std::to_string(kMinKeyChars) +
                        " caracteres entre A-Z, a-z, 0-9, _ e -.");
}

std::string PageGuard::CookieName() const { return std::string(kKeyParam) + "_" + std::to_string(port_); }

std::string PageGuard::SetCookieHeader() const {
  return CookieName() + "=" + key_ + "; HttpOnly; SameSite=Strict; Path=/";
}

std::string PageGuard::PageUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/?" + kKeyParam + "=" + key_;
}

bool PageGuard::Matches(std::string_view candidate) const {
  return candidate.size() == key_.size() && sodium_memcmp(candidate.data(), key_.data(), key_.size()) == 0;
}

bool PageGuard::CookieMatches(std::string_view header) const {
  const std::string name = CookieName() + "=";
  while (!header.empty()) {
    size_t end = header.find(';');
    std::string_view pair = Trim(header.substr(0, end));
    if (pair.substr(0, name.size()) == name && Matches(pair.substr(name.size()))) return true;
    if (end == std::string_view::npos) break;
    header.remove_prefix(end + 1);
  }
  return false;
}

bool PageGuard::HostAllowed(const std::optional<std::string>& host) const {
  const std::string port = ":" + std::to_string(port_);
  return host && (*host == "127.0.0.1" + port || *host == "localhost" + port);
}

bool PageGuard::OriginAllowed(const std::optional<std::string>& origin) const {
  const std::string port = ":" + std::to_string(port_);
  return !origin || *origin == "http://127.0.0.1" + port || *origin == "http://localhost" + port;
}

PageVerdict PageGuard::Check(const PageRequest& request) const {
  bool reading = request.method == "GET" || request.method == "HEAD";
  if (!HostAllowed(request.host)) return PageVerdict::kRefuse;
  if (!reading && !OriginAllowed(request.origin)) return PageVerdict::kRefuse;
  if (request.key) {
    if (!Matches(*request.key)) return PageVerdict::kRefuse;
    return reading ? PageVerdict::kSetCookie : PageVerdict::kAllow;
  }
  if (request.cookie && CookieMatches(*request.cookie)) return PageVerdict::kAllow;
  return PageVerdict::kRefuse;
}

}  // namespace display
