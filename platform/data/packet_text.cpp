// Packet text written straight from the rows (TDataPacket::ToFastString).
#include "data/data_packet.h"
#include "data/packet_text_writer.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <nlohmann/json.hpp>

#include "base/base64.h"
#include "base/errors.h"
#include "base/text_case.h"

namespace fw {

using nlohmann::json;

namespace {

void AppendEscape(std::string& out, unsigned char c) {
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

// Whether any of 8 bytes needs a look of its own: not ASCII, a control
// character, a quote or a backslash.
bool AnySpecial(uint64_t bytes) {
  constexpr uint64_t kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
  auto anyZero = [](uint64_t x) { return ((x - kOnes) & ~x & kHigh) != 0; };
  uint64_t from20 = (bytes & ~kHigh) + 0x60 * kOnes;  // a byte's top bit: its low 7 bits >= 0x20
  return ((bytes | ~from20) & kHigh) != 0 || anyZero(bytes ^ ('"' * kOnes)) ||
         anyZero(bytes ^ ('\\' * kOnes));
}

// JSON text of a string, as nlohmann writes it (control characters as
// escapes, everything else as is), checked and escaped in one pass;
// raises for text that is not UTF-8, `out` then as it was.
void AppendString(std::string& out, std::string_view text) {
  const size_t start = out.size();
  out += '"';
  size_t run = 0;
  for (size_t i = 0; i < text.size();) {
    if (uint64_t bytes; i + 8 <= text.size()) {  // plain runs 8 bytes at a time
      std::memcpy(&bytes, text.data() + i, 8);
      if (!AnySpecial(bytes)) {
        i += 8;
        continue;
      }
    }
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
      ++i;
    } else if (c >= 0x80) {
      size_t n = Utf8SequenceAt(text, i);
      if (n == 0) {
        out.resize(start);
        throw EDatabaseError("Pacote de dados com texto que não é UTF-8 válido.");
      }
      i += n;
    } else {
      out.append(text, run, i - run);
      AppendEscape(out, c);
      run = ++i;
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
