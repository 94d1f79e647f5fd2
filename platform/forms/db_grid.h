// TDBGrid: a grid showing the rows of a data source's dataset, one column
// per TColumn (see grid_columns.h), drawn cell by cell on a canvas.
//
// Rows: the current row is the dataset's cursor. The grid shows
// VisibleRowCount rows of DefaultRowHeight pixels from TopRow (a record
// number), below a title row of TitleHeight pixels when dgTitles is set;
// TopRow follows the cursor so the current row is always shown. Columns:
// the declared Columns, or, while none is declared, one per visible field
// (DisplayColumns); shown left to right from LeftCol, skipping invisible
// ones. SelectedIndex is the current column (an index of DisplayColumns).
//
// Operator input (ignored while hidden or disabled; a click first moves
// the focus to the grid, so the exit handler of the focused control runs
// and may refuse by raising):
// - MouseClick on a data cell moves the cursor to its row (SetRecNo: the
//   dataset's AfterScroll runs), selects the column, then runs
//   OnCellClick(column); on a title runs OnTitleClick(column).
// - KeyDown runs OnKeyDown first (a handler may consume the key by setting
//   it to 0), then Up/Down/PageUp/PageDown/Ctrl+Home/Ctrl+End move the
//   cursor, Left/Right/Home/End the current column, and with dgTabs Tab and
//   Shift+Tab move between cells (wrapping to the next or previous row; at
//   either end the key is left to the form, which moves the focus on).
// - MouseWheel(notches) moves the cursor kWheelRows rows per notch
//   (positive: down, towards the last record), as one MoveBy: the dataset's
//   AfterScroll runs once per call, and not at all when the cursor is
//   already at the end it would move past.
// - Scroll(code, recNo) is the vertical scroll bar: a line (one row) or a
//   page (VisibleRowCount rows) up or down, or, for sbPosition, straight to
//   recNo (clamped to the dataset; where the thumb was let go). Same moves
//   and AfterScroll rules as the wheel. The cursor row stays shown.
// Neither the wheel nor the scroll bar moves the focus (as a click on the
// navigator does not), so no exit handler runs. Both do nothing while the
// grid is hidden or disabled, or the dataset is closed or empty.
//
// The scroll bar is shown while the dataset has more records than
// VisibleRowCount (HasScrollBar); it takes kScrollBarWidth pixels at the
// right edge over the grid's whole height, so the cells lie in
// ClientWidth: columns start only left of it, the background covers only
// it, and clicks on the bar's place reach no cell. The thumb stands for the
// cursor: RecNo among RecordCount.
//
// Paint(canvas) fills the background and draws the titles (title colour,
// title font, caption aligned as the title says), the row indicator when
// dgIndicator is set, then each shown cell of each shown row: the dataset
// is set to display that row (SetDisplayRecord: no cursor move, no
// AfterScroll), the canvas gets the column's colour and font (highlight
// colours for a selected cell), DefaultDrawing draws the field's display
// text clipped to the cell and aligned as the column says (and the focus
// rectangle on the focused cell), then OnDrawColumnCell runs with the
// cell's rectangle, the column's index in DisplayColumns, the column and
// the state: gdSelected for the current row's current cell (every cell of
// the row with dgRowSelect) while the grid has the focus or
// dgAlwaysShowSelection is set; gdFocused for the current cell while the
// grid has the focus. Handlers draw on Canvas(). The display record is put
// back afterwards, also when a handler raises (the error passes on).
//
// What a paint showed is kept as text for the accessible table
// (LastPaintTexts; VisibleTexts paints into a scratch canvas): per cell,
// the texts drawn with TextOut/TextRect while that cell was drawn, after
// the last fill that covered the whole cell (a fill erases what was drawn
// before), joined by a space. Pictures (BrushCopy) leave their
// Description, when they have one.
//
// Not supported: in-place editing (dgEditing and ReadOnly are kept but
// change nothing), inserting and deleting rows, dragging columns. gdFixed
// is never passed: the handler draws data cells only. Ownership as TComponent; the data source is not owned.
// User-interface thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/data_source.h"
#include "forms/canvas.h"
#include "forms/control.h"
#include "forms/grid_columns.h"

namespace fw {

enum TDBGridOption : unsigned {
  dgEditing = 1u << 0,
  dgAlwaysShowEditor = 1u << 1,
  dgTitles = 1u << 2,
  dgIndicator = 1u << 3,
  dgColumnResize = 1u << 4,
  dgColLines = 1u << 5,
  dgRowLines = 1u << 6,
  dgTabs = 1u << 7,
  dgRowSelect = 1u << 8,
  dgAlwaysShowSelection = 1u << 9,
  dgConfirmDelete = 1u << 10,
  dgCancelOnExit = 1u << 11,
  dgMultiSelect = 1u << 12,
};
using TDBGridOptions = unsigned;
constexpr TDBGridOptions kDefaultGridOptions = dgEditing | dgTitles | dgIndicator |
                                               dgColumnResize | dgColLines | dgRowLines |
                                               dgTabs | dgConfirmDelete | dgCancelOnExit;

// What a click on the vertical scroll bar asks for.
enum class TGridScroll { sbLineUp, sbLineDown, sbPageUp, sbPageDown, sbPosition };

enum TGridDrawFlag : unsigned { gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2 };
using TGridDrawState = unsigned;

using TDrawColumnCellEvent = std::function<void(TComponent& sender, const TRect& rect,
                                                int dataCol, TColumn& column,
                                                TGridDrawState state)>;
using TDBGridClickEvent = std::function<void(TColumn& column)>;

// The texts of one paint, for the accessible table.
struct TGridTexts {
  std::vector<std::string> Fields;  // field name of each drawn column
  std::vector<std::string> Titles;  // empty without dgTitles
  struct Row {
    int RecNo = 0;
    std::vector<std::string> Cells;
    bool operator==(const Row&) const = default;
  };
  std::vector<Row> Rows;
  bool operator==(const TGridTexts&) const = default;
};

class TDBGrid : public TControl {
 public:
  explicit TDBGrid(TComponent* owner);
  ~TDBGrid() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const;

  TColumns& Columns() { return columns_; }
  const TColumns& Columns() const { return columns_; }
  TColumns& DisplayColumns();
  TDBGridOptions Options() const { return options_; }
  void SetOptions(TDBGridOptions options);
  bool ReadOnly = false;
  bool DefaultDrawing = true;
  const TFont& TitleFont() const { return titleFont_; }
  void SetTitleFont(const TFont& font);
  TColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(TColor color);
  int DefaultRowHeight() const { return rowHeight_; }
  void SetDefaultRowHeight(int height);
  int TitleHeight() const { return titleHeight_; }
  void SetTitleHeight(int height);

  int SelectedIndex();
  // Raises an Exception, changing nothing, for an index outside
  // DisplayColumns.
  void SetSelectedIndex(int index);
  TColumn* SelectedColumn();
  TField* SelectedField();
  int TopRow() const;
  int VisibleRowCount() const;
  int LeftCol() const { return leftCol_; }
  // Records of the dataset (0 while it is closed).
  int RecordCount() const;

  // The vertical scroll bar, and the horizontal one along the bottom edge
  // while the columns are wider than the grid (the rows shown leave its
  // strip free). ScrollColumns moves the first shown column by delta
  // columns (clamped), as the bar's arrows, track and Shift+wheel do.
  static constexpr int kScrollBarWidth = 16;
  static constexpr int kWheelRows = 3;
  bool HasScrollBar() const;
  bool HasHorizontalBar() const;
  // Width all the shown columns take side by side (indicator included).
  int ColumnsWidth() const;
  void ScrollColumns(int delta);
  // Width of the cells' area: Width() less the scroll bar while shown.
  int ClientWidth() const;

  TDrawColumnCellEvent OnDrawColumnCell;
  TDBGridClickEvent OnCellClick;
  TDBGridClickEvent OnTitleClick;

  // Drawing.
  TCanvas& Canvas();
  void Paint(TCanvas& canvas);
  void DefaultDrawColumnCell(const TRect& rect, int dataCol, TColumn& column,
                             TGridDrawState state);
  const TGridTexts& LastPaintTexts() const { return lastTexts_; }
  TGridTexts VisibleTexts();
  // A shown cell's rectangle; row 0 is the first shown row, -1 the titles.
  // Empty when the column or row is not shown.
  TRect CellRect(const TColumn& column, int row);
  // CellRect(DisplayColumns()[i], -1) for every i, laid out once.
  std::vector<TRect> TitleRects();

  // The operator drags a column border (with dgColumnResize): by width,
  // or with the mouse from a title's right edge (3 pixels either side).
  void ResizeColumn(TColumn& column, int width);
  void MouseDrag(int fromX, int fromY, int toX, int toY) override;

  bool AcceptsFocus() const override { return true; }
  bool WantsTab() const override { return (options_ & dgTabs) != 0; }
  void MouseClick(int x, int y) override;
  void KeyDown(TKey& key, TShiftState shift) override;
  void MouseWheel(int notches);
  void Scroll(TGridScroll code, int recNo = 0);
  const char* Kind() const override { return "dbgrid"; }

 private:
  friend class TColumns;
  class Link;
  class TextCanvas;
  struct Layout {
    struct Col {
      int Index;  // in DisplayColumns
      int Left, Right;
    };
    std::vector<Col> Cols;
    int IndicatorRight = 0;  // 0 without indicator
    int DataTop = 0;
    int RowStep = 0;
    int Rows = 0;
  };

  void ColumnsChanged();
  void DataChanged();
  void SyncDefaultColumns();
  Layout ComputeLayout();
  int ComputeTop(int from) const;
  int RowsIn(int height) const;
  int CurrentRecNo() const;
  bool CanScroll() const;
  void MoveRows(long rows);
  void SelectColumn(int index);
  int StepColumn(int from, int step);
  bool TabMove(bool forward);
  void MoveCursor(TKey key, TShiftState shift);
  void ClickCell(int x, int y);
  TGridDrawState CellState(int recNo, int index);
  void PaintBackground(TCanvas& canvas, const Layout& layout);
  void PaintTitles(TCanvas& canvas, const Layout& layout, TGridTexts& texts);
  void PaintRows(TextCanvas& canvas, const Layout& layout, TGridTexts& texts);
  void PaintCell(TextCanvas& canvas, const TRect& rect, int index, int recNo, std::string& text);

  std::unique_ptr<Link> link_;
  TColumns columns_;
  TColumns defaultColumns_;
  TDBGridOptions options_ = kDefaultGridOptions;
  TFont titleFont_;
  TColor fixedColor_ = clBtnFace;
  int rowHeight_ = 18;
  int titleHeight_ = 18;
  int selected_ = 0;
  int leftCol_ = 0;
  int topRow_ = 1;
  TCanvas* paintCanvas_ = nullptr;
  TRecordingCanvas idleCanvas_;
  TGridTexts lastTexts_;
};

}  // namespace fw
