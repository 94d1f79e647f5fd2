#include "display/palette.h"

#include <cstdio>

namespace display {
namespace {

unsigned SystemRgb(int index) {
  switch (index) {
    case 0: return 0xd4d0c8;   // scroll bar
    case 1: return 0x3a6ea5;   // desktop
    case 2: return 0x0a246a;   // active caption
    case 5: return 0xffffff;   // window
    case 6: return 0x000000;   // window frame
    case 8: return 0x000000;   // window text
    case 9: return 0xffffff;   // caption text
    case 13: return 0x0a246a;  // highlight
    case 14: return 0xffffff;  // highlight text
    case 15: return 0xd4d0c8;  // button face
    case 16: return 0x808080;  // button shadow
    case 17: return 0x808080;  // grey text
    case 18: return 0x000000;  // button text
    case 20: return 0xffffff;  // button highlight
    case 23: return 0x000000;  // info text
    case 24: return 0xffffe1;  // info background
    default: return 0xd4d0c8;
  }
}

}  // namespace

unsigned RgbOf(fw::TColor color) {
  if (fw::IsSystemColor(color)) return SystemRgb(static_cast<int>(color & 0xff));
  unsigned r = color & 0xff, g = (color >> 8) & 0xff, b = (color >> 16) & 0xff;
  return (r << 16) | (g << 8) | b;
}

std::string CssColor(fw::TColor color) {
  static constexpr char kHex[] = "0123456789abcdef";
  unsigned rgb = RgbOf(color) & 0xffffff;
  std::string css(7, '#');
  for (int i = 6; i >= 1; --i, rgb >>= 4) css[i] = kHex[rgb & 0xf];
  return css;
}

}  // namespace display
