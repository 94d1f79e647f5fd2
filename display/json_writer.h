// JsonWriter: appends JSON text to a string, for the parts of an update
// written straight instead of through a document (grids, control
// states). Texts that are not UTF-8 get U+FFFD, as the update's documents
// are dumped. Not thread-safe; one writer per text.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "forms/graphics.h"

namespace display {

class JsonWriter {
 public:
  std::string& Out() { return out_; }
  JsonWriter& Raw(std::string_view text) {
    out_ += text;
    return *this;
  }
  JsonWriter& Key(std::string_view key) {
    if (!first_) out_ += ',';
    first_ = false;
    out_ += '"';
    out_ += key;
    out_ += "\":";
    return *this;
  }
  JsonWriter& Int(long value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out_.append(digits, end);
    return *this;
  }
  JsonWriter& Bool(bool value) { return Raw(value ? "true" : "false"); }
  JsonWriter& Null() { return Raw("null"); }
  JsonWriter& Str(std::string_view text) {
    bool plain = true;
    for (unsigned char ch : text)
      if (ch < 0x20 || ch >= 0x7f || ch == '"' || ch == '\\') plain = false;
    if (plain) {
      out_ += '"';
      out_ += text;
      out_ += '"';
    } else {
      out_ += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    return *this;
  }
  JsonWriter& Rect(const fw::TRect& r) {
    return Raw("[").Int(r.Left).Raw(",").Int(r.Top).Raw(",").Int(r.Right).Raw(",").Int(r.Bottom).Raw("]");
  }
  // Objects and arrays: the next key is the first of its object.
  JsonWriter& Open(char bracket) {
    out_ += bracket;
    first_ = true;
    return *this;
  }
  JsonWriter& Close(char bracket) {
    out_ += bracket;
    first_ = false;
    return *this;
  }
  // Before the next element of an array.
  JsonWriter& Item() {
    if (!first_) out_ += ',';
    first_ = false;
    return *this;
  }

 private:
  std::string out_;
  bool first_ = true;
};

// {"name", "size", "px", "bold", "color"}.
void WriteFont(JsonWriter& w, const fw::TFont& font);
// {"w", "h", "pixels": [0xRRGGBB, ...]}.
std::string BitmapText(const fw::TBitmap& bitmap);
// BitmapText of a control's bitmap (a glyph, a picture), written after
// every message and hardly ever changed: kept with a copy of the bitmap
// and used again while the bitmap equals the copy. The reference lasts
// until the next call. Thread: each thread keeps its own.
const std::string& KeptBitmapText(const fw::TBitmap& bitmap);

}  // namespace display
