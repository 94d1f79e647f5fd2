// JSON text from outside the process, parsed with a bound on its nesting.
//
// nlohmann's parser and destructor are iterative, but copying, comparing
// and writing a document recurse once per level, so a request nested tens
// of thousands deep would exhaust the stack. ParseBoundedJson measures
// the depth with a plain scan of the text first (brackets outside
// strings, no recursion, no allocation) and parses only text within
// `maxDepth` levels; the outermost array or object is level 1.
// Stateless and thread-safe; raises nothing.
#pragma once

#include <cstddef>
#include <string_view>

#include <nlohmann/json.hpp>

namespace fw {

constexpr size_t kMaxJsonDepth = 64;

enum class TJsonParse { Ok, Malformed, TooDeep };

// The deepest nesting of arrays and objects in `text`, counting no
// further than `stopAbove` + 1.
size_t JsonDepth(std::string_view text, size_t stopAbove = kMaxJsonDepth);

// Fills `out` on Ok; leaves it null otherwise.
TJsonParse ParseBoundedJson(std::string_view text, nlohmann::json& out,
                            size_t maxDepth = kMaxJsonDepth);

}  // namespace fw
