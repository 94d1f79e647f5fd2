#include "data/field_type.h"

#include <array>
#include <utility>

namespace fw {
namespace {

constexpr std::array<std::pair<TFieldType, std::string_view>, 6> kNames{{
    {TFieldType::ftString, "string"},
    {TFieldType::ftFloat, "float"},
    {TFieldType::ftDateTime, "datetime"},
    {TFieldType::ftInteger, "integer"},
    {TFieldType::ftMemo, "memo"},
    {TFieldType::ftBlob, "blob"},
}};

}  // namespace

std::string_view FieldTypeName(TFieldType type) {
  for (const auto& [t, name] : kNames)
    if (t == type) return name;
  return "?";
}

std::optional<TFieldType> FieldTypeFromName(std::string_view name) {
  for (const auto& [t, n] : kNames)
    if (n == name) return t;
  return std::nullopt;
}

}  // namespace fw
