#include "display/font_metrics.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "forms/canvas.h"

namespace display {
namespace {

// One FreeType face with a cache of advances (26.6 at 1 unit per em).
class Face {
 public:
  explicit Face(FT_Face face) : face_(face) {}
  ~Face() { FT_Done_Face(face_); }

  // Advance of a code point, in font units.
  long Advance(char32_t cp) {
    auto it = cache_.find(cp);
    if (it != cache_.end()) return it->second;
    long advance = 0;
    FT_UInt index = FT_Get_Char_Index(face_, cp);
    if (FT_Load_Glyph(face_, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0)
      advance = face_->glyph->advance.x;
    cache_[cp] = advance;
    return advance;
  }
  double UnitsPerEm() const { return face_->units_per_EM; }
  // Kerning between two code points, in font units (0 without a kerning
  // table); cached too, as the grids measure their columns on every paint.
  long Kerning(char32_t left, char32_t right) {
    if (!FT_HAS_KERNING(face_)) return 0;
    std::uint64_t pair = (std::uint64_t{left} << 32) | right;
    auto it = kerning_.find(pair);
    if (it != kerning_.end()) return it->second;
    FT_Vector delta{0, 0};
    FT_Get_Kerning(face_, FT_Get_Char_Index(face_, left), FT_Get_Char_Index(face_, right),
                   FT_KERNING_UNSCALED, &delta);
    kerning_[pair] = delta.x;
    return delta.x;
  }

 private:
  FT_Face face_;
  std::unordered_map<char32_t, long> cache_;
  std::unordered_map<std::uint64_t, long> kerning_;
};

struct Library {
  FT_Library library = nullptr;
  std::unique_ptr<Face> regular, bold;
  ~Library() {
    regular.reset();
    bold.reset();
    if (library) FT_Done_FreeType(library);
  }
};

Library& Fonts() {
  static Library fonts;
  return fonts;
}

std::unique_ptr<Face> Load(FT_Library library, const std::string& path) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) return nullptr;
  return std::make_unique<Face>(face);
}

char32_t NextCodePoint(std::string_view text, size_t& i) {
  unsigned char c = static_cast<unsigned char>(text[i++]);
  if (c < 0x80) return c;
  int extra = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
  char32_t cp = c & (0x3F >> extra);
  for (int k = 0; k < extra && i < text.size(); ++k) cp = (cp << 6) | (text[i++] & 0x3F);
  return cp;
}

int Measure(const fw::TFont& font, std::string_view text) {
  Face& face = font.Bold ? *Fonts().bold : *Fonts().regular;
  double units = 0;
  char32_t previous = 0;
  for (size_t i = 0; i < text.size();) {
    char32_t cp = NextCodePoint(text, i);
    units += face.Advance(cp) + (previous ? face.Kerning(previous, cp) : 0);
    previous = cp;
  }
  return static_cast<int>(std::lround(units * PixelSize(font.Size) / face.UnitsPerEm()));
}

}  // namespace

std::string FontFile(bool bold) {
  return bold ? "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
              : "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
}

int PixelSize(int points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

bool InstallFontMetrics() {
  Library& fonts = Fonts();
  if (!fonts.library && FT_Init_FreeType(&fonts.library) != 0) return false;
  if (!fonts.regular) fonts.regular = Load(fonts.library, FontFile(false));
  if (!fonts.bold) fonts.bold = Load(fonts.library, FontFile(true));
  if (!fonts.regular || !fonts.bold) return false;
  fw::SetTextMeasurer(Measure);
  return true;
}

}  // namespace display
