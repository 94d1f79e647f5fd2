#include "display/grid_json.h"

#include "display/model_json.h"
#include "display/palette.h"
#include "data/dataset.h"

namespace display {
namespace {

using nlohmann::json;

json RectJson(const fw::TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

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

json GridJson(fw::TDBGrid& grid) {
  fw::TRecordingCanvas canvas;
  grid.Paint(canvas);
  json ops = json::array();
  for (const fw::TCanvasOp& op : canvas.Ops()) ops.push_back(CanvasOpJson(op));

  json columns = json::array();
  fw::TColumns& shown = grid.DisplayColumns();
  for (int i = 0; i < shown.Count(); ++i) {
    fw::TColumn& column = shown[i];
    fw::TRect title = grid.CellRect(column, -1);
    if (title.Width() <= 0) continue;
    columns.push_back({{"field", column.FieldName()}, {"title", column.Title().Caption()},
                       {"left", title.Left}, {"width", title.Width()}});
  }
  const fw::TGridTexts& texts = grid.LastPaintTexts();
  json rows = json::array();
  for (const fw::TGridTexts::Row& row : texts.Rows) {
    json cells = json::array();
    for (size_t i = 0; i < row.Cells.size() && i < texts.Fields.size(); ++i)
      cells.push_back({{"field", texts.Fields[i]}, {"text", row.Cells[i]}});
    rows.push_back({{"index", row.RecNo}, {"cells", cells}});
  }
  fw::TDataSet* ds = grid.DataSet();
  return {{"titleHeight", grid.TitleHeight()},
          {"rowHeight", grid.DefaultRowHeight()},
          {"columns", columns},
          {"ops", ops},
          {"rows", rows},
          {"current", ds && ds->Active() ? ds->RecNo() : 0},
          {"recordCount", grid.RecordCount()},
          {"visibleRows", grid.VisibleRowCount()},
          {"scrollBar", grid.HasScrollBar() ? fw::TDBGrid::kScrollBarWidth : 0},
          {"hScrollBar", grid.HasHorizontalBar() ? fw::TDBGrid::kScrollBarWidth : 0},
          {"leftCol", grid.LeftCol()},
          {"colCount", shown.Count()},
          {"columnsWidth", grid.ColumnsWidth()},
          {"selected", grid.SelectedIndex()}};
}

}  // namespace display
