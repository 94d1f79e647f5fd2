#include "display/grid_json.h"

#include "display/json_writer.h"

#include <map>

#include "display/model_json.h"
#include "display/palette.h"
#include "data/dataset.h"

namespace display {
namespace {

using nlohmann::json;

json RectJson(const fw::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// The pictures of one paint, each written once (the bitmaps do not change
// during it); an operation names its picture by its place in the list.
struct TPictures {
  std::map<const fw::TBitmap*, int> index;
  std::vector<std::string> texts;
  int Of(const fw::TBitmap& bitmap) {
    auto [at, added] = index.try_emplace(&bitmap, static_cast<int>(texts.size()));
    if (added) texts.push_back(BitmapText(bitmap));
    return at->second;
  }
};

// One operation.
void OpText(JsonWriter& w, const fw::TCanvasOp& op, TPictures& pictures) {
  w.Open('{');
  switch (op.Kind) {
    case fw::TCanvasOp::FillRect:
      w.Key("op").Str("fill").Key("r").Rect(op.Rect).Key("brush").Str(CssColor(op.BrushColor));
      break;
    case fw::TCanvasOp::TextOut:
    case fw::TCanvasOp::TextRect:
      w.Key("op").Str("text").Key("x").Int(op.At.X).Key("y").Int(op.At.Y).Key("s").Str(op.Text);
      w.Key("font");
      WriteFont(w, op.Font);
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
      if (!op.Bitmap) w.Key("bitmap").Raw("null");
      else w.Key("picture").Int(pictures.Of(*op.Bitmap));
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

std::string GridText(fw::TDBGrid& grid) {
  fw::TRecordingCanvas canvas;
  grid.Paint(canvas);
  JsonWriter w;
  w.Open('{').Key("titleHeight").Int(grid.TitleHeight()).Key("rowHeight").Int(grid.DefaultRowHeight());

  w.Key("columns").Open('[');
  fw::TColumns& shown = grid.DisplayColumns();
  for (int i = 0; i < shown.Count(); ++i) {
    fw::TColumn& column = shown[i];
    fw::TRect title = grid.CellRect(column, -1);
    if (title.Width() <= 0) continue;
    w.Item().Open('{').Key("field").Str(column.FieldName()).Key("title").Str(column.Title().Caption());
    w.Key("left").Int(title.Left).Key("width").Int(title.Width()).Close('}');
  }
  w.Close(']');

  w.Key("ops").Open('[');
  TPictures pictures;
  for (const fw::TCanvasOp& op : canvas.Ops()) {
    w.Item();
    OpText(w, op, pictures);
  }
  w.Close(']');
  w.Key("pictures").Open('[');
  for (const std::string& text : pictures.texts) w.Item().Raw(text);
  w.Close(']');

  const fw::TGridTexts& texts = grid.LastPaintTexts();
  w.Key("rows").Open('[');
  for (const fw::TGridTexts::Row& row : texts.Rows) {
    w.Item().Open('{').Key("index").Int(row.RecNo).Key("cells").Open('[');
    for (size_t i = 0; i < row.Cells.size() && i < texts.Fields.size(); ++i)
      w.Item().Open('{').Key("field").Str(texts.Fields[i]).Key("text").Str(row.Cells[i]).Close('}');
    w.Close(']').Close('}');
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
  w.Close('}');
  return std::move(w.Out());
}

json GridJson(fw::TDBGrid& grid) { return json::parse(GridText(grid)); }

}  // namespace display
