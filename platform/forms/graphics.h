// Colours, fonts, rectangles and small bitmaps.
//
// TColor is 0x00BBGGRR for RGB colours; system colours carry the flag
// 0x80000000 plus the operating system's colour index (clInfoBk is index
// 24). The display maps system colours to its palette; tests compare them
// as they are. Plain value types.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

using TColor = uint32_t;

constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr TColor SystemColor(int index) { return 0x80000000u | static_cast<TColor>(index); }
constexpr bool IsSystemColor(TColor c) { return (c & 0x80000000u) != 0; }

constexpr TColor clBlack = RGB(0, 0, 0);
constexpr TColor clMaroon = RGB(128, 0, 0);
constexpr TColor clGreen = RGB(0, 128, 0);
constexpr TColor clOlive = RGB(128, 128, 0);
constexpr TColor clNavy = RGB(0, 0, 128);
constexpr TColor clPurple = RGB(128, 0, 128);
constexpr TColor clTeal = RGB(0, 128, 128);
constexpr TColor clGray = RGB(128, 128, 128);
constexpr TColor clSilver = RGB(192, 192, 192);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clLime = RGB(0, 255, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clBlue = RGB(0, 0, 255);
constexpr TColor clFuchsia = RGB(255, 0, 255);
constexpr TColor clAqua = RGB(0, 255, 255);
constexpr TColor clWhite = RGB(255, 255, 255);

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

// "clInfoBk", "clRed", or "$00BBGGRR" for other colours.
std::string ColorToString(TColor color);

struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;  // points
  bool Bold = false;
  TColor Color = clWindowText;
  bool operator==(const TFont&) const = default;
};

struct TPoint {
  int X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  // Whether `r` lies wholly inside.
  bool Covers(const TRect& r) const {
    return Left <= r.Left && Top <= r.Top && r.Right <= Right && r.Bottom <= Bottom;
  }
  bool operator==(const TRect&) const = default;
};

// A small picture: Width x Height pixels, row by row from the top.
class TBitmap {
 public:
  TBitmap() = default;
  TBitmap(int width, int height, TColor fill);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TColor Pixel(int x, int y) const { return pixels_.at(static_cast<size_t>(y) * width_ + x); }
  void SetPixel(int x, int y, TColor color) {
    pixels_.at(static_cast<size_t>(y) * width_ + x) = color;
  }
  const std::vector<TColor>& Pixels() const { return pixels_; }
  // What the picture means, for those who cannot see it ("marcado");
  // not part of the picture's equality.
  std::string Description;
  bool operator==(const TBitmap& other) const {
    return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
  }

 private:
  int width_ = 0, height_ = 0;
  std::vector<TColor> pixels_;
};

}  // namespace fw
