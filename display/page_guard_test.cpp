// Who may use the host's page: the key, its cookie, and the Host and
// Origin checks.
#include "display/page_guard.h"

#include <gtest/gtest.h>

#include <regex>

#include "base/errors.h"

namespace display {
namespace {

TEST(PageGuard, MakesUrlSafeRandomKeysAndRefusesWeakOnes) {
  PageGuard a, b;
  a.SetPort(5000);
  EXPECT_NE(a.Key(), b.Key());
  EXPECT_TRUE(std::regex_match(a.PageUrl(), std::regex(R"(http://127\.0\.0\.1:5000/\?chave=[A-Za-z0-9_-]{43})")))
      << a.PageUrl();
  EXPECT_EQ(a.SetCookieHeader(), "chave_5000=" + a.Key() + "; HttpOnly; SameSite=Strict; Path=/");
  for (const char* weak : {"curta", "abcdefghijklmnopqrstu", "abcdefghijklmnopqrstu=", "abcdefghijklmnopqrst/v"})
    EXPECT_THROW(PageGuard{weak}, fw::Exception) << weak;
  EXPECT_EQ(PageGuard("abcdefghijklmnopqrstuv").Key(), "abcdefghijklmnopqrstuv");
}

TEST(PageGuard, LetsInOnlyTheKeyOrItsCookieFromThePagesOwnHostAndOrigin) {
  PageGuard guard;
  guard.SetPort(5000);
  const std::string key = guard.Key();
  const std::string cookie = "chave_5000=" + key;
  const std::string local = "127.0.0.1:5000";
  using V = PageVerdict;
  using O = std::optional<std::string>;
  struct Case {
    const char* what;
    PageRequest request;
    V verdict;
  };
  const Case cases[] = {
      {"cookie", {"GET", local, {}, cookie, {}}, V::kAllow},
      {"cookie among others, localhost", {"GET", "localhost:5000", {}, "a=1; " + cookie + "; b=2", {}}, V::kAllow},
      {"nothing", {"GET", local, {}, {}, {}}, V::kRefuse},
      {"another port's cookie", {"GET", local, {}, "chave_5001=" + key, {}}, V::kRefuse},
      {"cookie one char longer", {"GET", local, {}, cookie + "x", {}}, V::kRefuse},
      {"cookie one char short", {"GET", local, {}, cookie.substr(0, cookie.size() - 1), {}}, V::kRefuse},
      {"no Host", {"GET", {}, {}, cookie, {}}, V::kRefuse},
      {"Host without port", {"GET", "127.0.0.1", {}, cookie, {}}, V::kRefuse},
      {"Host of another port", {"GET", "127.0.0.1:50000", {}, cookie, {}}, V::kRefuse},
      {"rebound name", {"GET", "evil.example:5000", {}, cookie, {}}, V::kRefuse},
      {"key", {"GET", local, {}, {}, key}, V::kSetCookie},
      {"key on HEAD", {"HEAD", local, {}, {}, key}, V::kSetCookie},
      {"wrong key with a good cookie", {"GET", local, {}, cookie, key + "x"}, V::kRefuse},
      {"key from a rebound name", {"GET", "evil.example:5000", {}, {}, key}, V::kRefuse},
      {"POST with key", {"POST", local, O{"http://127.0.0.1:5000"}, {}, key}, V::kAllow},
      {"POST without Origin", {"POST", local, {}, cookie, {}}, V::kAllow},
      {"POST from localhost", {"POST", local, O{"http://localhost:5000"}, cookie, {}}, V::kAllow},
      {"POST from a foreign page", {"POST", local, O{"http://evil.example"}, cookie, {}}, V::kRefuse},
      {"POST from an opaque origin", {"POST", local, O{"null"}, cookie, {}}, V::kRefuse},
      {"POST from another port", {"POST", local, O{"http://127.0.0.1:5001"}, cookie, {}}, V::kRefuse},
      {"POST without cookie", {"POST", local, O{"http://127.0.0.1:5000"}, {}, {}}, V::kRefuse},
  };
  for (const Case& c : cases) EXPECT_EQ(guard.Check(c.request), c.verdict) << c.what;
}

}  // namespace
}  // namespace display
