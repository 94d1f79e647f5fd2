#include "display/grid_json.h"

#include "display/json_writer.h"

#include <algorithm>
#include <map>

#include "display/model_json.h"
#include "display/palette.h"
#include "data/dataset.h"

namespace display {
namespace {

using nlohmann::json;

json RectJson(const fw::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// The font of the text operations, written once per font met in a row
// (a paint's texts share a few fonts).
struct TFontTexts {
  fw::TFont font;
  std::string text;
  bool any = false;
  void Write(JsonWriter& w, const fw::TFont& f) {
    if (!any || !(f == font)) {
      JsonWriter out;
      WriteFont(out, f);
      font = f;
      text = std::move(out.Out());
      any = true;
    }
    w.Raw(text);
  }
};

// The pictures of one paint, each kept once (the bitmaps do not change
// during it); an operation names its picture by its place in the list.
struct TPictures {
  std::map<const fw::TBitmap*, int> index;
  std::vector<fw::TBitmap> pictures;
  int Of(const fw::TBitmap& bitmap) {
    auto [at, added] = index.try_emplace(&bitmap, static_cast<int>(pictures.size()));
    if (added) pictures.push_back(bitmap);
    return at->second;
  }
};

// One operation; a bitmap one names its picture by `picture` (-1: none),
// or, with `like` (not -1), the operation of the page's paint it has the
// picture of.
void OpText(JsonWriter& w, const fw::TCanvasOp& op, int picture, long like, TFontTexts& fonts) {
  w.Open('{');
  switch (op.Kind) {
    case fw::TCanvasOp::FillRect:
      w.Key("op").Str("fill").Key("r").Rect(op.Rect).Key("brush").Str(CssColor(op.BrushColor));
      break;
    case fw::TCanvasOp::TextOut:
    case fw::TCanvasOp::TextRect:
      w.Key("op").Str("text").Key("x").Int(op.At.X).Key("y").Int(op.At.Y).Key("s").Str(op.Text);
      w.Key("font");
      fonts.Write(w, op.Font);
      w.Key("clip");
      if (op.Kind == fw::TCanvasOp::TextRect) w.Rect(op.Rect);
      else w.Raw("null");
      w.Key("brush").Str(CssColor(op.BrushColor));
      break;
    case fw::TCanvasOp::DrawFocusRect:
      w.Key("op").Str("focus").Key("r").Rect(op.Rect);
      break;
    case fw::TCanvasOp::BrushCopy: {
      w.Key("op").Str("bitmap").Key("r").Rect(op.Rect).Key("src").Rect(op.Source);
      if (like >= 0) w.Key("like").Int(like);
      else if (picture < 0) w.Key("bitmap").Raw("null");
      else w.Key("picture").Int(picture);
      w.Key("transparent").Str(CssColor(op.Transparent)).Key("brush").Str(CssColor(op.BrushColor));
      break;
    }
  }
  w.Close('}');
}

}  // namespace

json CanvasOpJson(const fw::TCanvasOp& op) {
  switch (op.Kind) {
    case fw::TCanvasOp::FillRect:
      return {{"op", "fill"}, {"r", RectJson(op.Rect)}, {"brush", CssColor(op.BrushColor)}};
    case fw::TCanvasOp::TextOut:
    case fw::TCanvasOp::TextRect:
      return {{"op", "text"},
              {"x", op.At.X},
              {"y", op.At.Y},
              {"s", op.Text},
              {"font", FontJson(op.Font)},
              {"clip", op.Kind == fw::TCanvasOp::TextRect ? RectJson(op.Rect) : json(nullptr)},
              {"brush", CssColor(op.BrushColor)}};
    case fw::TCanvasOp::DrawFocusRect: return {{"op", "focus"}, {"r", RectJson(op.Rect)}};
    case fw::TCanvasOp::BrushCopy:
      return {{"op", "bitmap"},
              {"r", RectJson(op.Rect)},
              {"src", RectJson(op.Source)},
              {"bitmap", op.Bitmap ? BitmapJson(*op.Bitmap) : json(nullptr)},
              {"transparent", CssColor(op.Transparent)},
              {"brush", CssColor(op.BrushColor)}};
  }
  return nullptr;
}

namespace {

// How an operation draws, but for its bitmap (compared by picture).
bool SameDrawing(const fw::TCanvasOp& a, const fw::TCanvasOp& b) {
  return a.Kind == b.Kind && a.Rect == b.Rect && a.At == b.At && a.BrushColor == b.BrushColor &&
         a.Source == b.Source && a.Transparent == b.Transparent && a.Text == b.Text && a.Font == b.Font;
}

void WriteRows(JsonWriter& w, const fw::TGridTexts& texts) {
  w.Open('[');
  for (const fw::TGridTexts::Row& row : texts.Rows) {
    w.Item().Open('{').Key("index").Int(row.RecNo).Key("cells").Open('[');
    for (size_t i = 0; i < row.Cells.size() && i < texts.Fields.size(); ++i)
      w.Item().Open('{').Key("field").Str(texts.Fields[i]).Key("text").Str(row.Cells[i]).Close('}');
    w.Close(']').Close('}');
  }
  w.Close(']');
}

}  // namespace

// Whatever an operation between the two draws over the covered one (a
// focus rectangle inverts what lies below) is painted over too.
void DropCoveredOps(std::vector<fw::TCanvasOp>& ops, size_t lookahead) {
  auto covered = [&](size_t i) {
    if (ops[i].Kind == fw::TCanvasOp::TextOut) return false;
    for (size_t j = i + 1; j < ops.size() && j <= i + lookahead; ++j)
      if (ops[j].Kind == fw::TCanvasOp::FillRect && ops[j].Rect.Covers(ops[i].Rect)) return true;
    return false;
  };
  size_t kept = 0;
  for (size_t i = 0; i < ops.size(); ++i) {
    if (covered(i)) continue;
    if (kept != i) ops[kept] = std::move(ops[i]);
    ++kept;
  }
  ops.resize(kept);
}

TGridPaint PaintOf(fw::TDBGrid& grid) {
  fw::TRecordingCanvas canvas;
  // A few operations per cell, a row more than the shown ones for the titles.
  size_t cells = static_cast<size_t>(grid.VisibleRowCount() + 2) * (grid.DisplayColumns().Count() + 1);
  canvas.Reserve(cells * 6);
  grid.Paint(canvas);
  TGridPaint paint;
  paint.ops = canvas.TakeOps();
  DropCoveredOps(paint.ops);
  TPictures pictures;
  paint.picture.reserve(paint.ops.size());
  for (fw::TCanvasOp& op : paint.ops) {
    paint.picture.push_back(op.Kind == fw::TCanvasOp::BrushCopy && op.Bitmap ? pictures.Of(*op.Bitmap) : -1);
    op.Bitmap = nullptr;
  }
  paint.pictures = std::move(pictures.pictures);

  JsonWriter w;
  w.Open('{').Key("titleHeight").Int(grid.TitleHeight()).Key("rowHeight").Int(grid.DefaultRowHeight());
  w.Key("columns").Open('[');
  fw::TColumns& shown = grid.DisplayColumns();
  std::vector<fw::TRect> titles = grid.TitleRects();
  for (int i = 0; i < shown.Count(); ++i) {
    fw::TColumn& column = shown[i];
    const fw::TRect& title = titles[i];
    if (title.Width() <= 0) continue;
    w.Item().Open('{').Key("field").Str(column.FieldName()).Key("title").Str(column.Title().Caption());
    w.Key("left").Int(title.Left).Key("width").Int(title.Width()).Close('}');
  }
  w.Close(']');
  fw::TDataSet* ds = grid.DataSet();
  w.Key("current").Int(ds && ds->Active() ? ds->RecNo() : 0);
  w.Key("recordCount").Int(grid.RecordCount());
  w.Key("visibleRows").Int(grid.VisibleRowCount());
  w.Key("scrollBar").Int(grid.HasScrollBar() ? fw::TDBGrid::kScrollBarWidth : 0);
  w.Key("hScrollBar").Int(grid.HasHorizontalBar() ? fw::TDBGrid::kScrollBarWidth : 0);
  w.Key("leftCol").Int(grid.LeftCol());
  w.Key("colCount").Int(shown.Count());
  w.Key("columnsWidth").Int(grid.ColumnsWidth());
  w.Key("selected").Int(grid.SelectedIndex());
  paint.frame = std::move(w.Out());
  paint.texts = grid.LastPaintTexts();
  return paint;
}

bool TGridPaint::SameOp(size_t mine, const TGridPaint& other, size_t theirs) const {
  int a = picture[mine], b = other.picture[theirs];
  if (!SameDrawing(ops[mine], other.ops[theirs]) || (a < 0) != (b < 0)) return false;
  return a < 0 || pictures[a] == other.pictures[b];
}

bool TGridPaint::operator==(const TGridPaint& other) const {
  if (frame != other.frame || ops.size() != other.ops.size() || !(texts == other.texts)) return false;
  for (size_t i = 0; i < ops.size(); ++i)
    if (!SameOp(i, other, i)) return false;
  return true;
}

std::string GridText(const TGridPaint& paint, const TGridPaint* sent) {
  // The operations equal at both ends stay the page's, matched from each
  // end, so a row painted with more operations shifts none of the rest.
  size_t head = 0, tail = 0;
  if (sent) {
    size_t n = std::min(paint.ops.size(), sent->ops.size());
    while (head < n && paint.SameOp(head, *sent, head)) ++head;
    while (tail < n - head &&
           paint.SameOp(paint.ops.size() - 1 - tail, *sent, sent->ops.size() - 1 - tail))
      ++tail;
  }
  bool keepRows = sent && paint.texts == sent->texts;
  // A picture a kept operation has (a marked row's, when the cursor moves
  // among marked rows) is not written again: the operation names the kept
  // one by its place among the new paint's operations.
  std::map<int, long> kept;
  auto keep = [&](size_t i) {
    if (paint.picture[i] >= 0) kept.try_emplace(paint.picture[i], static_cast<long>(i));
  };
  if (sent) {
    for (size_t i = 0; i < head; ++i) keep(i);
    for (size_t i = paint.ops.size() - tail; i < paint.ops.size(); ++i) keep(i);
  }
  JsonWriter w;
  w.Raw(paint.frame).Raw(",\"ops\":[");
  // The pictures of the written operations, renumbered in their order.
  std::map<int, int> renumbered;
  std::vector<int> written;
  TFontTexts fonts;
  for (size_t i = head; i < paint.ops.size() - tail; ++i) {
    int picture = paint.picture[i];
    auto like = kept.find(picture);
    if (like == kept.end() && picture >= 0) {
      auto [at, added] = renumbered.try_emplace(picture, static_cast<int>(written.size()));
      if (added) written.push_back(picture);
      picture = at->second;
    }
    if (i > head) w.Raw(",");
    OpText(w, paint.ops[i], picture, like == kept.end() ? -1 : like->second, fonts);
  }
  w.Raw("],\"pictures\":[");
  for (size_t i = 0; i < written.size(); ++i) w.Raw(i ? "," : "").Raw(BitmapText(paint.pictures[written[i]]));
  w.Raw("]");
  if (!keepRows) {
    w.Raw(",\"rows\":");
    WriteRows(w, paint.texts);
  }
  if (sent) {
    w.Raw(",\"keep\":{\"ops\":[").Int(static_cast<long>(head)).Raw(",").Int(static_cast<long>(tail));
    w.Raw("],\"rows\":").Bool(keepRows).Raw("}");
  }
  w.Raw("}");
  return std::move(w.Out());
}

std::string GridText(fw::TDBGrid& grid) { return GridText(PaintOf(grid), nullptr); }

json GridJson(fw::TDBGrid& grid) { return json::parse(GridText(grid)); }

}  // namespace display
