// TDBGrid: drawing the titles and the cells, and the texts a paint showed.
#include <algorithm>

#include "data/dataset.h"
#include "forms/db_grid.h"

namespace fw {
namespace {

// x of a text of the given width in rect, as the alignment says.
int AlignedX(const TRect& rect, int textWidth, TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taRightJustify: return rect.Right - textWidth - 2;
    case TAlignment::taCenter: return rect.Left + (rect.Width() - textWidth) / 2;
    default: return rect.Left + 2;
  }
}

}  // namespace

// Forwards every operation to the target canvas and keeps the texts drawn
// while a cell is being drawn; a fill covering the whole cell erases them.
class TDBGrid::TextCanvas : public TCanvas {
 public:
  explicit TextCanvas(TCanvas& target) : target_(target) {
    Brush = target.Brush;
    Font = target.Font;
  }
  void BeginCell(const TRect& cell, std::string* text) {
    cell_ = cell;
    text_ = text;
  }
  void EndCell() { text_ = nullptr; }

  void FillRect(const TRect& rect) override {
    Sync();
    target_.FillRect(rect);
    Erase(rect);
  }
  void TextOut(int x, int y, std::string_view text) override {
    Sync();
    target_.TextOut(x, y, text);
    Append(text);
  }
  void TextRect(const TRect& rect, int x, int y, std::string_view text) override {
    Sync();
    target_.TextRect(rect, x, y, text);
    Erase(rect);
    Append(text);
  }
  void DrawFocusRect(const TRect& rect) override {
    Sync();
    target_.DrawFocusRect(rect);
  }
  void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source,
                 TColor transparent) override {
    Sync();
    target_.BrushCopy(dest, bitmap, source, transparent);
    Append(bitmap.Description);
  }

 private:
  void Sync() {
    target_.Brush = Brush;
    target_.Font = Font;
  }
  void Erase(const TRect& rect) {
    if (text_ && rect.Covers(cell_)) text_->clear();
  }
  void Append(std::string_view text) {
    if (!text_ || text.empty()) return;
    if (!text_->empty()) *text_ += ' ';
    *text_ += text;
  }

  TCanvas& target_;
  TRect cell_;
  std::string* text_ = nullptr;
};

TCanvas& TDBGrid::Canvas() { return paintCanvas_ ? *paintCanvas_ : idleCanvas_; }

void TDBGrid::Paint(TCanvas& canvas) {
  TextCanvas text(canvas);
  paintCanvas_ = &text;
  idleCanvas_.Clear();
  struct Done {
    TCanvas*& canvas;
    ~Done() { canvas = nullptr; }
  } done{paintCanvas_};

  topRow_ = ComputeTop(topRow_);
  Layout layout = ComputeLayout();
  TGridTexts texts;
  for (const Layout::Col& col : layout.Cols)
    texts.Fields.push_back(DisplayColumns()[col.Index].FieldName());
  PaintBackground(text, layout);
  PaintTitles(text, layout, texts);
  PaintRows(text, layout, texts);
  lastTexts_ = std::move(texts);
}

TGridTexts TDBGrid::VisibleTexts() {
  TRecordingCanvas scratch;
  Paint(scratch);
  return lastTexts_;
}

void TDBGrid::PaintBackground(TCanvas& canvas, const Layout& layout) {
  canvas.Brush.Color = Color();
  int clientWidth = ClientWidth();
  canvas.FillRect({0, 0, clientWidth, Height()});
  int colLine = options_ & dgColLines ? 1 : 0;
  int rowLine = options_ & dgRowLines ? 1 : 0;
  if ((colLine == 0 && rowLine == 0) || layout.Cols.empty()) return;
  // The lines are the gaps between the cells, over the part that has cells.
  int rows = std::clamp(RecordCount() - topRow_ + 1, 0, layout.Rows);
  int bottom = rows > 0 ? layout.DataTop + rows * layout.RowStep : layout.DataTop;
  int right = std::min(clientWidth, layout.Cols.back().Right + colLine);
  if (bottom <= 0) return;
  canvas.Brush.Color = clSilver;
  canvas.FillRect({0, 0, right, std::min(Height(), bottom)});
}

void TDBGrid::PaintTitles(TCanvas& canvas, const Layout& layout, TGridTexts& texts) {
  if (!(options_ & dgTitles)) return;
  if (layout.IndicatorRight > 0) {
    canvas.Brush.Color = fixedColor_;
    canvas.FillRect({0, 0, layout.IndicatorRight, titleHeight_});
  }
  for (const Layout::Col& col : layout.Cols) {
    TColumnTitle& title = DisplayColumns()[col.Index].Title();
    std::string caption = title.Caption();
    TRect rect{col.Left, 0, col.Right, titleHeight_};
    canvas.Brush.Color = title.Color();
    canvas.Font = title.Font();
    canvas.TextRect(rect, AlignedX(rect, canvas.TextWidth(caption), title.Alignment()), 2, caption);
    texts.Titles.push_back(std::move(caption));
  }
}

void TDBGrid::PaintRows(TextCanvas& canvas, const Layout& layout, TGridTexts& texts) {
  TDataSet* ds = DataSet();
  int count = RecordCount();
  if (!ds || count == 0) return;
  int current = CurrentRecNo();
  // Whatever happens, the dataset shows its cursor row again afterwards.
  struct Restore {
    TDataSet* ds;
    int previous;
    ~Restore() { ds->SetDisplayRecord(previous); }
  } restore{ds, ds->SetDisplayRecord(0)};
  for (int row = 0; row < layout.Rows; ++row) {
    int recNo = topRow_ + row;
    if (recNo > count) break;
    // The cursor row is read as the cursor sees it (with a pending edit).
    ds->SetDisplayRecord(recNo == current ? 0 : recNo);
    int top = layout.DataTop + row * layout.RowStep;
    if (layout.IndicatorRight > 0) {
      TRect rect{0, top, layout.IndicatorRight, top + rowHeight_};
      canvas.Brush.Color = fixedColor_;
      canvas.Font = Font();
      if (recNo == current) canvas.TextRect(rect, 1, top + 2, "\u25B6");
      else canvas.FillRect(rect);
    }
    TGridTexts::Row line{recNo, {}};
    for (const Layout::Col& col : layout.Cols) {
      line.Cells.emplace_back();
      PaintCell(canvas, {col.Left, top, col.Right, top + rowHeight_}, col.Index, recNo,
                line.Cells.back());
    }
    texts.Rows.push_back(std::move(line));
  }
}

TGridDrawState TDBGrid::CellState(int recNo, int index) {
  if (recNo != CurrentRecNo()) return 0;
  bool focused = Focused();
  bool current = index == SelectedIndex();
  TGridDrawState state = 0;
  if ((current || (options_ & dgRowSelect)) && (focused || (options_ & dgAlwaysShowSelection)))
    state |= gdSelected;
  if (current && focused) state |= gdFocused;
  return state;
}

void TDBGrid::PaintCell(TextCanvas& canvas, const TRect& rect, int index, int recNo,
                        std::string& text) {
  TColumn& column = DisplayColumns()[index];
  TGridDrawState state = CellState(recNo, index);
  TFont font = column.Font();
  if (state & gdSelected) font.Color = clHighlightText;
  canvas.Brush.Color = state & gdSelected ? clHighlight : column.Color();
  canvas.Font = font;
  canvas.BeginCell(rect, &text);
  if (DefaultDrawing) {
    DefaultDrawColumnCell(rect, index, column, state);
    if (state & gdFocused) canvas.DrawFocusRect(rect);
  }
  if (OnDrawColumnCell) {
    TDrawColumnCellEvent handler = OnDrawColumnCell;
    handler(*this, rect, index, column, state);
  }
  canvas.EndCell();
}

void TDBGrid::DefaultDrawColumnCell(const TRect& rect, int, TColumn& column, TGridDrawState) {
  TCanvas& canvas = Canvas();
  TField* field = column.Field();
  std::string text = field ? field->DisplayText() : std::string();
  // A text on the left needs no measuring.
  TAlignment alignment = column.Alignment();
  int x = alignment == TAlignment::taLeftJustify ? rect.Left + 2
                                                 : AlignedX(rect, canvas.TextWidth(text), alignment);
  canvas.TextRect(rect, x, rect.Top + 2, text);
}

}  // namespace fw
