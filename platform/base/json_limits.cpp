#include "base/json_limits.h"

namespace fw {

size_t JsonDepth(std::string_view text, size_t stopAbove) {
  size_t depth = 0, deepest = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inString) {
      if (c == '\\')
        ++i;  // the escaped character cannot end the string
      else if (c == '"')
        inString = false;
      continue;
    }
    if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > deepest && (deepest = depth) > stopAbove) break;
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return deepest;
}

TJsonParse ParseBoundedJson(std::string_view text, nlohmann::json& out, size_t maxDepth) {
  out = nullptr;
  if (JsonDepth(text, maxDepth) > maxDepth) return TJsonParse::TooDeep;
  nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
  if (parsed.is_discarded()) return TJsonParse::Malformed;
  out = std::move(parsed);
  return TJsonParse::Ok;
}

}  // namespace fw
