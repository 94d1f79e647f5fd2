#include "data/data_packet.h"

#include <cmath>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>

#include <nlohmann/json.hpp>

#include "base/base64.h"
#include "base/errors.h"
#include "base/text_case.h"
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

}  // namespace

namespace {

// Reads a packet text in one pass, each row's values made as the parser
// meets them, with no document of the whole text. Only the usual shape is
// taken this way: an object whose "fields" (valid) come before its "rows",
// every row as wide as the fields and every value one its field takes as
// it is. At anything else it stops (its events answer false) and the
// caller reads the text the ordinary way, which finds and names the fault.
// The other members ("fields", "changes", unknown ones) are small and are
// built as documents.
class TPacketStream {
 public:
  std::optional<TDataPacket> Run(std::string_view text) {
    if (!json::sax_parse(text, this, json::input_format_t::json, true)) return std::nullopt;
    return Finish();
  }
  // Whether the packet's object has ended.
  bool Done() const { return done_; }
  // The packet, once the text has been read (nullopt when it was not the
  // usual shape).
  std::optional<TDataPacket> Finish() {
    if (!done_ || !fields_ || !rowsSeen_) return std::nullopt;
    if (changes_) {
      try {
        ReadChanges(*changes_, packet_);
      } catch (const EDatabaseError&) {
        return std::nullopt;
      }
    }
    return std::move(packet_);
  }

  // The parser's events.
  bool null() {
    if (!InRow()) return Attach(json());
    if (row_.size() >= fields_->size()) return false;
    row_.emplace_back();
    return true;
  }
  bool boolean(bool b) { return InRow() ? false : Attach(json(b)); }
  bool number_integer(json::number_integer_t v) { return InRow() ? Integer(v, false) : Attach(json(v)); }
  bool number_unsigned(json::number_unsigned_t v) {
    if (!InRow()) return Attach(json(v));
    return v <= 0x7fffffffULL && Integer(static_cast<int64_t>(v), true);
  }
  bool number_float(json::number_float_t v, const std::string&) {
    if (!InRow()) return Attach(json(v));
    const TFieldDef& def = Def();
    if (def.DataType == TFieldType::ftFloat) return Put(v);
    return def.DataType == TFieldType::ftDateTime && IsValidDateTime(v) && Put(v);
  }
  bool string(std::string& text) {
    if (!InRow()) return Attach(json(std::move(text)));
    const TFieldDef& def = Def();
    if (def.DataType != TFieldType::ftString && def.DataType != TFieldType::ftMemo) return false;
    if (def.Size > 0 && text.size() > size_t(def.Size) && Utf8Length(text) > size_t(def.Size))
      return false;
    return Put(std::move(text));
  }
  bool binary(json::binary_t&) { return false; }
  bool start_object(size_t) {
    if (level_ == Level::kTop && stack_.empty() && !started_) return started_ = true;
    if (level_ != Level::kMember) return false;
    stack_.push_back(json::object());
    keys_.emplace_back();
    return true;
  }
  bool key(std::string& name) {
    if (level_ == Level::kTop && stack_.empty()) {
      member_ = name;
      if (name == "rows") {
        if (!fields_ || rowsSeen_) return false;
        level_ = Level::kRows;
        return true;
      }
      level_ = Level::kMember;
      return true;
    }
    if (level_ != Level::kMember || stack_.empty()) return false;
    keys_.back() = name;
    return true;
  }
  bool end_object() {
    if (level_ == Level::kTop && stack_.empty()) return done_ = true;
    if (level_ != Level::kMember || stack_.empty()) return false;
    return Pop();
  }
  bool start_array(size_t) {
    switch (level_) {
      case Level::kRows:
        if (rowsSeen_) {
          level_ = Level::kRow;
          row_.clear();
          row_.reserve(fields_->size());
          return true;
        }
        rowsSeen_ = true;
        return true;
      case Level::kMember:
        stack_.push_back(json::array());
        keys_.emplace_back();
        return true;
      default:
        return false;
    }
  }
  bool end_array() {
    switch (level_) {
      case Level::kRow:
        if (row_.size() != fields_->size()) return false;
        packet_.Rows.push_back(std::move(row_));
        row_ = Row();
        level_ = Level::kRows;
        return true;
      case Level::kRows:
        level_ = Level::kTop;
        return true;
      case Level::kMember:
        return !stack_.empty() && Pop();
      default:
        return false;
    }
  }
  bool parse_error(size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

 private:
  enum class Level { kTop, kMember, kRows, kRow };

  bool InRow() const { return level_ == Level::kRow; }
  const TFieldDef& Def() const { return (*fields_)[std::min(row_.size(), fields_->size() - 1)]; }
  template <typename T>
  bool Put(T&& value) {
    if (row_.size() >= fields_->size()) return false;
    row_.emplace_back(std::in_place_type<std::decay_t<T>>, std::forward<T>(value));
    return true;
  }
  bool Integer(int64_t v, bool isUnsigned) {
    const TFieldDef& def = Def();
    switch (def.DataType) {
      case TFieldType::ftFloat: return Put(static_cast<double>(v));
      case TFieldType::ftDateTime:
        return IsValidDateTime(static_cast<double>(v)) && Put(static_cast<double>(v));
      case TFieldType::ftInteger:
        if (!isUnsigned && (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()))
          return false;
        return Put(static_cast<int32_t>(v));
      default: return false;
    }
  }
  // A value of a member outside the rows: into the document being built,
  // or, when it is the member itself, taken as a whole.
  bool Attach(json value) {
    if (level_ == Level::kRows) return false;  // a value in "rows" that is not a row
    if (level_ != Level::kMember) return false;
    if (stack_.empty()) return Complete(std::move(value));
    json& top = stack_.back();
    if (top.is_array()) top.push_back(std::move(value));
    else top[keys_.back()] = std::move(value);
    return true;
  }
  bool Pop() {
    json value = std::move(stack_.back());
    stack_.pop_back();
    keys_.pop_back();
    return Attach(std::move(value));
  }
  bool Complete(json value) {
    level_ = Level::kTop;
    if (member_ == "fields") {
      if (fields_ || !value.is_array()) return false;
      try {
        fields_ = ReadFieldDefs(value);
      } catch (const EDatabaseError&) {
        return false;
      }
      if (fields_->empty()) return false;
      packet_.Fields = *fields_;
    } else if (member_ == "changes") {
      changes_ = std::move(value);
    }
    return true;
  }

  Level level_ = Level::kTop;
  bool started_ = false, done_ = false, rowsSeen_ = false;
  std::string member_;
  std::vector<json> stack_;
  std::vector<std::string> keys_;
  std::optional<TFieldDefs> fields_;
  std::optional<json> changes_;
  Row row_;
  TDataPacket packet_;
};

std::optional<TDataPacket> StreamPacket(std::string_view text) { return TPacketStream().Run(text); }

// An object in which a path of members leads to a packet, read in one
// pass: the packet through TPacketStream, the other members of each object
// on the path (which must be plain values) kept aside, one object per
// level. Stops at anything else.
class TMemberStream {
 public:
  TMemberStream(const std::vector<std::string_view>& path, std::vector<json>& others)
      : path_(path), others_(others) {}

  std::optional<TDataPacket> Run(std::string_view text) {
    others_.assign(path_.size(), json::object());
    if (!json::sax_parse(text, this, json::input_format_t::json, true) || !ended_) return std::nullopt;
    return packet_ ? packet_->Finish() : std::nullopt;
  }

  bool null() { return Forward([](auto& p) { return p.null(); }, json()); }
  bool boolean(bool b) { return Forward([&](auto& p) { return p.boolean(b); }, json(b)); }
  bool number_integer(json::number_integer_t v) {
    return Forward([&](auto& p) { return p.number_integer(v); }, json(v));
  }
  bool number_unsigned(json::number_unsigned_t v) {
    return Forward([&](auto& p) { return p.number_unsigned(v); }, json(v));
  }
  bool number_float(json::number_float_t v, const std::string& s) {
    return Forward([&](auto& p) { return p.number_float(v, s); }, json(v));
  }
  bool string(std::string& v) {
    if (Inside()) return packet_->string(v);
    return Forward([](auto&) { return false; }, json(std::move(v)));
  }
  bool binary(json::binary_t&) { return false; }
  bool start_object(size_t n) {
    if (Inside()) return packet_->start_object(n);
    if (depth_ == 0) {
      depth_ = 1;
      return true;
    }
    // Only the path's next member may hold an object, once.
    if (packet_ || keys_.size() != depth_ || keys_.back() != path_[depth_ - 1]) return false;
    if (depth_ == path_.size()) {
      packet_.emplace();
      return packet_->start_object(n);
    }
    ++depth_;
    return true;
  }
  bool key(std::string& k) {
    if (Inside()) return packet_->key(k);
    keys_.resize(depth_);
    keys_.back() = k;
    return true;
  }
  bool end_object() {
    if (Inside()) return packet_->end_object();
    if (depth_ == 0) return false;
    --depth_;
    keys_.resize(depth_);
    ended_ = depth_ == 0;
    return true;
  }
  bool start_array(size_t n) { return Inside() && packet_->start_array(n); }
  bool end_array() { return Inside() && packet_->end_array(); }
  bool parse_error(size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

 private:
  bool Inside() const { return packet_ && !packet_->Done(); }
  template <typename Event>
  bool Forward(Event event, json value) {
    if (Inside()) return event(*packet_);
    if (depth_ == 0 || ended_ || keys_.size() != depth_ || keys_.back() == path_[depth_ - 1]) return false;
    others_[depth_ - 1][keys_.back()] = std::move(value);
    return true;
  }

  const std::vector<std::string_view>& path_;
  std::vector<json>& others_;
  std::vector<std::string> keys_;  // the member being read at each depth
  size_t depth_ = 0;
  bool ended_ = false;
  std::optional<TPacketStream> packet_;
};

}  // namespace

std::optional<TDataPacket> TDataPacket::ParseMember(std::string_view jsonText,
                                                    const std::vector<std::string_view>& path,
                                                    std::vector<json>& others) {
  if (path.empty()) return std::nullopt;
  return TMemberStream(path, others).Run(jsonText);
}

TDataPacket TDataPacket::Parse(std::string_view jsonText) {
  // The usual packet (fields before rows, every value as declared) is read
  // straight into rows; anything else is read whole and checked as
  // FromJson checks it, so its error is the same.
  if (std::optional<TDataPacket> streamed = StreamPacket(jsonText)) return std::move(*streamed);
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
  p.Fields = ReadFieldDefs(*fields);
  p.Rows.reserve(rows->size());
  for (size_t i = 0; i < rows->size(); ++i)
    p.Rows.push_back(ReadRow((*rows)[i], p.Fields, "linha " + std::to_string(i + 1)));
  if (auto changes = j.find("changes"); changes != j.end()) ReadChanges(*changes, p);
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

namespace {

// JSON text of a string, as nlohmann writes it (control characters as
// escapes, everything else as is); raises for text that is not UTF-8.
void AppendString(std::string& out, std::string_view text) {
  if (!IsValidUtf8(text))
    throw EDatabaseError("Pacote de dados com texto que não é UTF-8 válido.");
  out += '"';
  size_t run = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(text, run, i - run);
    run = i + 1;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: {
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04x", c);
        out += code;
      }
    }
  }
  out.append(text, run, text.size() - run);
  out += '"';
}

// A double as its shortest exact text, always read back as a double.
void AppendDouble(std::string& out, double d) {
  if (!std::isfinite(d)) {
    out += "null";  // as nlohmann writes them
    return;
  }
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
  std::string_view text(buf, end - buf);
  out += text;
  if (text.find_first_of(".eE") == std::string_view::npos) out += ".0";
}

void AppendRow(std::string& out, const Row& row, const TFieldDefs& defs) {
  out += '[';
  for (size_t i = 0; i < defs.size(); ++i) {
    if (i) out += ',';
    const Value& v = row[i];
    switch (v.index()) {
      case 0: out += "null"; break;
      case 1:
        AppendString(out, defs[i].DataType == TFieldType::ftBlob ? Base64Encode(std::get<std::string>(v))
                                                                 : std::get<std::string>(v));
        break;
      case 2: AppendDouble(out, std::get<double>(v)); break;
      default: {
        char buf[16];
        auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::get<int32_t>(v));
        out.append(buf, end);
      }
    }
  }
  out += ']';
}

}  // namespace

std::string TDataPacket::ToFastString() const {
  TDataPacket head;
  head.Fields = Fields;
  head.Changes = Changes;
  json shape = head.ToJson();  // fields and changes: small
  std::string out = "{";
  if (shape.contains("changes")) out += "\"changes\":" + shape["changes"].dump() + ",";
  out += "\"fields\":" + shape["fields"].dump() + ",\"rows\":[";
  out.reserve(out.size() + Rows.size() * Fields.size() * 12);
  for (size_t r = 0; r < Rows.size(); ++r) {
    if (r) out += ',';
    AppendRow(out, Rows[r], Fields);
  }
  out += "]}";
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
