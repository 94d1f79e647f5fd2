// Packet text written straight from the rows (TDataPacket::ToFastString).
#include "data/data_packet.h"
#include "data/packet_text_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "base/base64.h"
#include "base/errors.h"
#include "base/text_case.h"

namespace fw {

using nlohmann::json;

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

void AppendValueText(std::string& out, const Value& v, const TFieldDef& def) {
  switch (v.index()) {
    case 0: out += "null"; break;
    case 1:
      AppendString(out, def.DataType == TFieldType::ftBlob ? Base64Encode(std::get<std::string>(v))
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

void AppendRowText(std::string& out, const Row& row, const TFieldDefs& defs) {
  out += '[';
  for (size_t i = 0; i < defs.size(); ++i) {
    if (i) out += ',';
    AppendValueText(out, row[i], defs[i]);
  }
  out += ']';
}

}  // namespace

void TPacketTextWriter::Head(std::string& out) const {
  TDataPacket head;
  head.Fields = fields_;
  out += "{\"fields\":" + head.ToJson()["fields"].dump() + ",\"rows\":[";
}

void TPacketTextWriter::AppendRow(std::string& out, const Row& row) {
  if (!first_) out += ',';
  first_ = false;
  AppendRowText(out, row, fields_);
}

void TPacketTextWriter::BeginRow(std::string& out) {
  if (!first_) out += ',';
  first_ = false;
  out += '[';
  column_ = 0;
}

void TPacketTextWriter::AppendText(std::string& out, std::string_view text) {
  Separate(out);
  AppendString(out, text);
}

void TPacketTextWriter::AppendValue(std::string& out, const Value& value) {
  const TFieldDef& def = fields_[column_];
  Separate(out);
  AppendValueText(out, value, def);
}

std::string TDataPacket::ToFastString() const {
  TPacketTextWriter writer(Fields);
  std::string out;
  out.reserve(Rows.size() * Fields.size() * 12 + 256);
  writer.Head(out);
  for (const Row& row : Rows) writer.AppendRow(out, row);
  writer.End(out);
  if (!Changes.empty()) {  // small: the change log goes first, as ToString writes it
    TDataPacket head;
    head.Fields = Fields;
    head.Changes = Changes;
    out.insert(1, "\"changes\":" + head.ToJson()["changes"].dump() + ",");
  }
  return out;
}

}  // namespace fw
