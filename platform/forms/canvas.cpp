#include "forms/canvas.h"

#include <cmath>

namespace fw {
namespace {

// Built-in approximation: average advance of a sans-serif face, 0.55 em,
// with digits at 0.556 em; the pixel size is points * 96 / 72.
int ApproximateWidth(const TFont& font, std::string_view text) {
  double px = font.Size * 96.0 / 72.0;
  double width = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) == 0x80) continue;  // UTF-8 continuation byte
    width += (c >= '0' && c <= '9') ? 0.556 * px : (c == ' ' || c == ',' || c == '.') ? 0.3 * px
                                                                                         : 0.55 * px;
  }
  if (font.Bold) width *= 1.08;
  return static_cast<int>(std::lround(width));
}

TTextMeasurer& Measurer() {
  static TTextMeasurer measurer;
  return measurer;
}

std::string RectText(const TRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
         "," + std::to_string(r.Bottom);
}

}  // namespace

TTextMeasurer SetTextMeasurer(TTextMeasurer measurer) {
  TTextMeasurer previous = std::move(Measurer());
  Measurer() = std::move(measurer);
  return previous;
}

int MeasureText(const TFont& font, std::string_view text) {
  return Measurer() ? Measurer()(font, text) : ApproximateWidth(font, text);
}

std::string TCanvasOp::ToString() const {
  switch (Kind) {
    case FillRect: return "FillRect " + RectText(this->Rect) + " brush=" + ColorToString(BrushColor);
    case TextOut:
      return "TextOut " + std::to_string(At.X) + "," + std::to_string(At.Y) + " \"" + Text +
             "\" font=" + ColorToString(Font.Color);
    case TextRect:
      return "TextRect " + RectText(this->Rect) + " " + std::to_string(At.X) + "," +
             std::to_string(At.Y) + " \"" + Text + "\" font=" + ColorToString(Font.Color) +
             " brush=" + ColorToString(BrushColor);
    case DrawFocusRect: return "DrawFocusRect " + RectText(this->Rect);
    case BrushCopy:
      return "BrushCopy " + RectText(this->Rect) + " from " + RectText(Source) +
             " transparent=" + ColorToString(Transparent) + " brush=" + ColorToString(BrushColor);
  }
  return {};
}

void TRecordingCanvas::FillRect(const TRect& rect) {
  TCanvasOp op;
  op.Kind = TCanvasOp::FillRect;
  op.Rect = rect;
  op.BrushColor = Brush.Color;
  ops_.push_back(std::move(op));
}

void TRecordingCanvas::TextOut(int x, int y, std::string_view text) {
  TCanvasOp op;
  op.Kind = TCanvasOp::TextOut;
  op.At = {x, y};
  op.Text = std::string(text);
  op.Font = Font;
  op.BrushColor = Brush.Color;
  ops_.push_back(std::move(op));
}

void TRecordingCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text) {
  TCanvasOp op;
  op.Kind = TCanvasOp::TextRect;
  op.Rect = rect;
  op.At = {x, y};
  op.Text = std::string(text);
  op.Font = Font;
  op.BrushColor = Brush.Color;
  ops_.push_back(std::move(op));
}

void TRecordingCanvas::DrawFocusRect(const TRect& rect) {
  TCanvasOp op;
  op.Kind = TCanvasOp::DrawFocusRect;
  op.Rect = rect;
  ops_.push_back(std::move(op));
}

void TRecordingCanvas::BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source,
                                 TColor transparent) {
  TCanvasOp op;
  op.Kind = TCanvasOp::BrushCopy;
  op.Rect = dest;
  op.Bitmap = &bitmap;
  op.Source = source;
  op.Transparent = transparent;
  op.BrushColor = Brush.Color;
  ops_.push_back(std::move(op));
}

std::vector<std::string> TRecordingCanvas::Lines() const {
  std::vector<std::string> lines;
  for (const TCanvasOp& op : ops_) lines.push_back(op.ToString());
  return lines;
}

}  // namespace fw
