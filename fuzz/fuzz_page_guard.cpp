// Feeds arbitrary request headers to the host page's guard: the input is
// split at newlines into method, Host, Origin, Cookie and key (a missing
// line is an absent header). The guard must never crash, and must never
// let in a request whose Host is not the page's own or that lacks the key.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "display/page_guard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static display::PageGuard guard = [] {
    display::PageGuard g(std::string(43, 'k'));
    g.SetPort(8080);
    return g;
  }();
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::optional<std::string>> parts(5);
  for (size_t i = 0; i < parts.size() && !text.empty(); ++i) {
    size_t end = text.find('\n');
    parts[i] = std::string(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  display::PageRequest request{parts[0].value_or("GET"), parts[1], parts[2], parts[3], parts[4]};
  display::PageVerdict verdict = guard.Check(request);
  if (verdict == display::PageVerdict::kRefuse) return 0;
  bool ownHost = request.host == "127.0.0.1:8080" || request.host == "localhost:8080";
  bool hasKey = (request.key && request.key->find(guard.Key()) != std::string::npos) ||
                (request.cookie && request.cookie->find(guard.Key()) != std::string::npos);
  if (!ownHost || !hasKey) __builtin_trap();
  return 0;
}
