#include "data/data_packet.h"

#include <cmath>
#include <limits>
#include <optional>

#include <nlohmann/json.hpp>

#include "base/base64.h"
#include "base/errors.h"
#include "base/text_case.h"
#include "data/packet_detail.h"
#include "text/date_time.h"

namespace fw {
namespace {

using nlohmann::json;

constexpr int kMaxStringSize = 1 << 20;

[[noreturn]] void Bad(const std::string& what) {
  throw EDatabaseError("Pacote de dados inválido: " + what + ".");
}

struct FlagName {
  TProviderFlag flag;
  const char* name;
};
constexpr FlagName kFlagNames[] = {
    {pfInUpdate, "inUpdate"}, {pfInWhere, "inWhere"}, {pfInKey, "inKey"}, {pfHidden, "hidden"}};

TProviderFlags ReadFlags(const json& j, const std::string& where) {
  if (!j.is_array()) Bad(where + ": \"flags\" deve ser uma lista");
  TProviderFlags flags = 0;
  for (const json& item : j) {
    bool known = false;
    for (const FlagName& f : kFlagNames)
      if (item.is_string() && item.get_ref<const std::string&>() == f.name) {
        flags |= f.flag;
        known = true;
      }
    if (!known) Bad(where + ": indicador desconhecido " + item.dump());
  }
  return flags;
}

TFieldDef ReadFieldDef(const json& j, size_t index, const TFieldDefs& previous) {
  std::string where = "campo " + std::to_string(index + 1);
  if (!j.is_object()) Bad(where + ": esperado um objeto");
  auto name = j.find("name");
  if (name == j.end() || !name->is_string() || name->get_ref<const std::string&>().empty())
    Bad(where + ": falta o nome");
  TFieldDef def;
  def.Name = name->get<std::string>();
  where = "campo '" + def.Name + "'";
  for (const TFieldDef& p : previous)
    if (SameText(p.Name, def.Name)) Bad(where + " repetido");
  auto type = j.find("type");
  std::optional<TFieldType> t;
  if (type != j.end() && type->is_string()) t = FieldTypeFromName(type->get_ref<const std::string&>());
  if (!t) Bad(where + ": tipo ausente ou desconhecido");
  def.DataType = *t;
  if (def.DataType == TFieldType::ftString) {
    auto size = j.find("size");
    if (size == j.end() || !size->is_number_integer() || size->get<long long>() < 1 ||
        size->get<long long>() > kMaxStringSize)
      Bad(where + ": tamanho ausente ou inválido");
    def.Size = size->get<int>();
  }
  if (auto flags = j.find("flags"); flags != j.end()) def.ProviderFlags = ReadFlags(*flags, where);
  return def;
}

Value ReadValue(const json& j, const TFieldDef& def, const std::string& where) {
  if (j.is_null()) return Value{};
  auto expected = [&](const char* what) -> Value {
    Bad(where + ", campo '" + def.Name + "': esperado " + what + ", recebido " + j.dump());
  };
  switch (def.DataType) {
    case TFieldType::ftString:
    case TFieldType::ftMemo: {
      if (!j.is_string()) return expected("texto");
      const std::string& s = j.get_ref<const std::string&>();
      if (def.Size > 0 && s.size() > size_t(def.Size) && Utf8Length(s) > size_t(def.Size))
        Bad(where + ", campo '" + def.Name + "': texto maior que " + std::to_string(def.Size) +
            " caracteres");
      return s;
    }
    case TFieldType::ftBlob:
      if (!j.is_string()) return expected("texto base64");
      try {
        return Base64Decode(j.get_ref<const std::string&>());
      } catch (const EConvertError& e) {
        Bad(where + ", campo '" + def.Name + "': " + e.what());
      }
    case TFieldType::ftFloat:
      if (!j.is_number()) return expected("número");
      return j.get<double>();
    case TFieldType::ftDateTime:
      if (!j.is_number() || !IsValidDateTime(j.get<double>()))
        return expected("data (número de dias desde 30/12/1899, anos 1 a 9999)");
      return j.get<double>();
    case TFieldType::ftInteger: {
      if (!j.is_number_integer()) return expected("número inteiro");
      long long v = j.get<long long>();
      if (j.is_number_unsigned() || v < std::numeric_limits<int32_t>::min() ||
          v > std::numeric_limits<int32_t>::max()) {
        if (!(j.is_number_unsigned() && j.get<unsigned long long>() <= 0x7fffffffULL))
          return expected("inteiro de 32 bits");
      }
      return static_cast<int32_t>(v);
    }
  }
  return Value{};
}

Row ReadRow(const json& j, const TFieldDefs& defs, const std::string& where) {
  if (!j.is_array() || j.size() != defs.size())
    Bad(where + ": esperada uma lista de " + std::to_string(defs.size()) + " valores");
  Row row;
  row.reserve(defs.size());
  for (size_t i = 0; i < defs.size(); ++i) row.push_back(ReadValue(j[i], defs[i], where));
  return row;
}

json WriteValue(const Value& v, const TFieldDef& def) {
  switch (v.index()) {
    case 0: return nullptr;
    case 1:
      if (def.DataType == TFieldType::ftBlob) return Base64Encode(std::get<std::string>(v));
      return std::get<std::string>(v);
    case 2: return std::get<double>(v);
    default: return std::get<int32_t>(v);
  }
}

json WriteRow(const Row& row, const TFieldDefs& defs) {
  json out = json::array();
  for (size_t i = 0; i < defs.size(); ++i) out.push_back(WriteValue(row[i], defs[i]));
  return out;
}
}  // namespace

namespace packet_detail {

TFieldDefs ReadFieldDefs(const json& fields) {
  TFieldDefs defs;
  for (size_t i = 0; i < fields.size(); ++i) defs.push_back(ReadFieldDef(fields[i], i, defs));
  return defs;
}

void ReadChanges(const json& changes, TDataPacket& p) {
  if (!changes.is_array()) Bad("\"changes\" deve ser uma lista");
  for (size_t i = 0; i < changes.size(); ++i) {
    const json& c = changes[i];
    std::string where = "alteração " + std::to_string(i + 1);
    if (!c.is_object() || !c.contains("row") || !c["row"].is_number_unsigned() ||
        c["row"].get<unsigned long long>() >= p.Rows.size() || !c.contains("old"))
      Bad(where + ": linha ausente ou fora dos dados");
    p.Changes.push_back({c["row"].get<size_t>(), ReadRow(c["old"], p.Fields, where)});
  }
}

}  // namespace packet_detail

std::optional<TDataPacket> TDataPacket::ParseMember(std::string_view jsonText,
                                                    const std::vector<std::string_view>& path,
                                                    std::vector<json>& others) {
  if (path.empty()) return std::nullopt;
  return packet_detail::StreamMember(jsonText, path, others);
}

std::optional<TDataPacket> TDataPacket::ParseMember(TTextParts& jsonText,
                                                    const std::vector<std::string_view>& path,
                                                    std::vector<json>& others) {
  if (path.empty()) return std::nullopt;
  return packet_detail::StreamMember(jsonText, path, others);
}

TDataPacket TDataPacket::Parse(std::string_view jsonText) {
  // The usual packet (fields before rows, every value as declared) is read
  // straight into rows; anything else is read whole and checked as
  // FromJson checks it, so its error is the same.
  if (std::optional<TDataPacket> streamed = packet_detail::StreamPacket(jsonText)) return std::move(*streamed);
  json j;
  try {
    j = json::parse(jsonText);
  } catch (const json::parse_error& e) {
    Bad("JSON malformado na posição " + std::to_string(e.byte));
  } catch (const json::exception& e) {
    Bad(std::string("JSON inaceitável (") + e.what() + ")");  // e.g. a number out of range
  }
  return FromJson(j);
}

TDataPacket TDataPacket::FromJson(const json& j) {
  if (!j.is_object()) Bad("esperado um objeto JSON");
  auto fields = j.find("fields");
  auto rows = j.find("rows");
  if (fields == j.end() || !fields->is_array()) Bad("falta a lista \"fields\"");
  if (rows == j.end() || !rows->is_array()) Bad("falta a lista \"rows\"");
  TDataPacket p;
  p.Fields = packet_detail::ReadFieldDefs(*fields);
  p.Rows.reserve(rows->size());
  for (size_t i = 0; i < rows->size(); ++i)
    p.Rows.push_back(ReadRow((*rows)[i], p.Fields, "linha " + std::to_string(i + 1)));
  if (auto changes = j.find("changes"); changes != j.end()) packet_detail::ReadChanges(*changes, p);
  return p;
}

json TDataPacket::ToJson() const {
  json out;
  json& fields = out["fields"] = json::array();
  for (const TFieldDef& def : Fields) {
    json f = {{"name", def.Name}, {"type", FieldTypeName(def.DataType)}};
    if (def.DataType == TFieldType::ftString) f["size"] = def.Size;
    if (def.ProviderFlags != kDefaultProviderFlags) {
      json flags = json::array();
      for (const FlagName& n : kFlagNames)
        if (def.ProviderFlags & n.flag) flags.push_back(n.name);
      f["flags"] = flags;
    }
    fields.push_back(std::move(f));
  }
  json& rows = out["rows"] = json::array();
  for (const Row& row : Rows) rows.push_back(WriteRow(row, Fields));
  if (!Changes.empty()) {
    json& changes = out["changes"] = json::array();
    for (const TChangeEntry& c : Changes)
      changes.push_back({{"row", c.RowIndex}, {"old", WriteRow(c.Old, Fields)}});
  }
  return out;
}
std::string TDataPacket::ToString() const {
  try {
    return ToJson().dump();
  } catch (const json::type_error& e) {
    throw EDatabaseError(std::string("Pacote de dados com texto que não é UTF-8 válido: ") +
                         e.what());
  }
}

int TDataPacket::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < Fields.size(); ++i)
    if (SameText(Fields[i].Name, name)) return static_cast<int>(i);
  return -1;
}

}  // namespace fw
