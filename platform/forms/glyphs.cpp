#include "forms/glyphs.h"

#include "base/errors.h"

namespace fw {

TBitmap BitmapFromPixels(const std::vector<std::string>& rows,
                         const std::map<char, TColor>& palette) {
  if (rows.empty() || rows[0].empty()) throw Exception("Imagem sem pixels.");
  int width = static_cast<int>(rows[0].size());
  TBitmap bitmap(width, static_cast<int>(rows.size()), 0);
  for (size_t y = 0; y < rows.size(); ++y) {
    if (static_cast<int>(rows[y].size()) != width)
      throw Exception("A linha " + std::to_string(y) + " da imagem tem " +
                      std::to_string(rows[y].size()) + " pixels; esperados " +
                      std::to_string(width) + ".");
    for (int x = 0; x < width; ++x) {
      auto it = palette.find(rows[y][x]);
      if (it == palette.end())
        throw Exception(std::string("Caractere '") + rows[y][x] + "' sem cor na paleta (linha " +
                        std::to_string(y) + ", coluna " + std::to_string(x) + ").");
      bitmap.SetPixel(x, static_cast<int>(y), it->second);
    }
  }
  return bitmap;
}

std::vector<std::string> PixelsOf(const TBitmap& bitmap, const std::map<char, TColor>& palette) {
  std::vector<std::string> rows;
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::string row;
    for (int x = 0; x < bitmap.Width(); ++x) {
      char c = '?';
      for (const auto& [key, color] : palette)
        if (color == bitmap.Pixel(x, y)) {
          c = key;
          break;
        }
      row += c;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace fw
