// TCanvas: the drawing operations grids use to paint their cells.
//
// Brush and Font are plain state read by the drawing operations. Two
// implementations: TRecordingCanvas keeps every operation as a line of
// text (tests compare them; the display replays them in the browser).
// TextWidth measures with the installed text measurer, so the host and the
// page agree on widths. Not thread-safe.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms/graphics.h"

namespace fw {

struct TBrush {
  TColor Color = clWindow;
};

// Width in pixels of a text drawn in a font.
using TTextMeasurer = std::function<int(const TFont&, std::string_view)>;
// Installs the measurer every canvas uses (null restores the built-in
// approximation) and returns the previous one.
TTextMeasurer SetTextMeasurer(TTextMeasurer measurer);
int MeasureText(const TFont& font, std::string_view text);

class TCanvas {
 public:
  virtual ~TCanvas() = default;
  TBrush Brush;
  TFont Font;

  virtual void FillRect(const TRect& rect) = 0;
  // Unclipped text with its top-left corner at (x, y).
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  // Text at (x, y) clipped to rect; the rect is filled with the brush first.
  virtual void TextRect(const TRect& rect, int x, int y, std::string_view text) = 0;
  virtual void DrawFocusRect(const TRect& rect) = 0;
  // Copies the area source of bitmap into dest, painting pixels of the
  // colour transparent in the brush colour.
  virtual void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source,
                         TColor transparent) = 0;
  int TextWidth(std::string_view text) const { return MeasureText(Font, text); }
};

// One drawing operation as recorded.
struct TCanvasOp {
  enum Kind { FillRect, TextOut, TextRect, DrawFocusRect, BrushCopy } Kind = FillRect;
  TRect Rect;        // FillRect, TextRect, DrawFocusRect, BrushCopy (destination)
  TPoint At;         // TextOut, TextRect
  std::string Text;  // TextOut, TextRect
  TColor BrushColor = clWindow;
  TFont Font;                       // TextOut, TextRect
  const TBitmap* Bitmap = nullptr;  // BrushCopy
  TRect Source;                     // BrushCopy
  TColor Transparent = 0;           // BrushCopy
  // e.g. "TextOut 2,2 \"PE\" font=clBlue".
  std::string ToString() const;
};

class TRecordingCanvas : public TCanvas {
 public:
  void FillRect(const TRect& rect) override;
  void TextOut(int x, int y, std::string_view text) override;
  void TextRect(const TRect& rect, int x, int y, std::string_view text) override;
  void DrawFocusRect(const TRect& rect) override;
  void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source,
                 TColor transparent) override;

  const std::vector<TCanvasOp>& Ops() const { return ops_; }
  // The operations recorded, the canvas left empty.
  std::vector<TCanvasOp> TakeOps() { return std::exchange(ops_, {}); }
  std::vector<std::string> Lines() const;
  void Clear() { ops_.clear(); }
  // Room for `count` operations before the list grows.
  void Reserve(size_t count) { ops_.reserve(count); }

 private:
  std::vector<TCanvasOp> ops_;
};

}  // namespace fw
