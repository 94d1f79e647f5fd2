#include "display/json_writer.h"

#include "display/font_metrics.h"
#include "display/palette.h"

#include <unordered_map>

namespace display {

void WriteFont(JsonWriter& w, const fw::TFont& font) {
  w.Open('{').Key("name").Str(font.Name).Key("size").Int(font.Size).Key("px").Int(PixelSize(font.Size));
  w.Key("bold").Bool(font.Bold).Key("color").Str(CssColor(font.Color)).Close('}');
}

std::string BitmapText(const fw::TBitmap& bitmap) {
  JsonWriter w;
  w.Open('{').Key("w").Int(bitmap.Width()).Key("h").Int(bitmap.Height()).Key("pixels").Open('[');
  for (fw::TColor c : bitmap.Pixels()) w.Item().Int(RgbOf(c));
  w.Close(']').Close('}');
  return std::move(w.Out());
}

const std::string& KeptBitmapText(const fw::TBitmap& bitmap) {
  struct Kept {
    fw::TBitmap copy;
    std::string text;
  };
  thread_local std::unordered_map<const fw::TBitmap*, Kept> kept;
  auto at = kept.find(&bitmap);
  if (at != kept.end() && at->second.copy == bitmap) return at->second.text;
  if (at == kept.end() && kept.size() >= 128) kept.clear();
  Kept& entry = kept[&bitmap];
  entry = Kept{bitmap, BitmapText(bitmap)};
  return entry.text;
}

}  // namespace display
