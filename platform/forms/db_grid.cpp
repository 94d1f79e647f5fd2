// TDBGrid: binding, layout, rows shown, current column and the operator's
// input. Drawing is in db_grid_paint.cpp.
#include "forms/db_grid.h"

#include <algorithm>

#include "base/errors.h"
#include "data/dataset.h"
#include "forms/text_input.h"

namespace fw {
namespace {

constexpr int kIndicatorWidth = 11;

}  // namespace

class TDBGrid::Link : public TDataLink {
 public:
  explicit Link(TDBGrid& grid) : grid_(grid) {}

 protected:
  void DataEvent(TDataEvent event, TField*) override {
    if (event == TDataEvent::deActiveChange) grid_.topRow_ = 1;
    grid_.DataChanged();
  }

 private:
  TDBGrid& grid_;
};

TDBGrid::TDBGrid(TComponent* owner)
    : TControl(owner), link_(std::make_unique<Link>(*this)), columns_(*this), defaultColumns_(*this) {
  TabStop = true;
  SetColor(clWindow);
  SetBounds(0, 0, 320, 120);
}

TDBGrid::~TDBGrid() = default;

// ---------------------------------------------------------------------------
// Binding and properties

TDataSource* TDBGrid::DataSource() const { return link_->DataSource(); }

void TDBGrid::SetDataSource(TDataSource* source) {
  link_->SetDataSource(source);
  topRow_ = 1;
  DataChanged();
}

TDataSet* TDBGrid::DataSet() const { return link_->DataSet(); }

void TDBGrid::DataChanged() {
  topRow_ = ComputeTop(topRow_);
  Changed();
}

void TDBGrid::ColumnsChanged() { Changed(); }

void TDBGrid::SyncDefaultColumns() {
  if (columns_.Count() > 0) {
    defaultColumns_.items_.clear();
    return;
  }
  std::vector<std::string> names;
  TDataSet* ds = DataSet();
  if (ds && ds->Active())
    for (int i = 0; i < ds->FieldCount(); ++i)
      if (ds->Fields(i).Visible) names.push_back(ds->Fields(i).FieldName);
  bool same = static_cast<int>(names.size()) == defaultColumns_.Count();
  for (size_t i = 0; same && i < names.size(); ++i)
    same = defaultColumns_.items_[i]->FieldName() == names[i];
  if (same) return;
  defaultColumns_.items_.clear();
  for (std::string& name : names) {
    defaultColumns_.items_.push_back(std::unique_ptr<TColumn>(new TColumn(defaultColumns_)));
    defaultColumns_.items_.back()->fieldName_ = std::move(name);
  }
}

TColumns& TDBGrid::DisplayColumns() {
  SyncDefaultColumns();
  return columns_.Count() > 0 ? columns_ : defaultColumns_;
}

void TDBGrid::SetOptions(TDBGridOptions options) {
  if (options == options_) return;
  options_ = options;
  DataChanged();
}

void TDBGrid::SetTitleFont(const TFont& font) {
  if (font == titleFont_) return;
  titleFont_ = font;
  Changed();
}

void TDBGrid::SetFixedColor(TColor color) {
  if (color == fixedColor_) return;
  fixedColor_ = color;
  Changed();
}

void TDBGrid::SetDefaultRowHeight(int height) {
  height = std::max(1, height);
  if (height == rowHeight_) return;
  rowHeight_ = height;
  DataChanged();
}

void TDBGrid::SetTitleHeight(int height) {
  height = std::max(1, height);
  if (height == titleHeight_) return;
  titleHeight_ = height;
  DataChanged();
}

// ---------------------------------------------------------------------------
// Rows and columns shown

int TDBGrid::RecordCount() const {
  TDataSet* ds = DataSet();
  return ds ? ds->RecordCount() : 0;
}

int TDBGrid::CurrentRecNo() const {
  TDataSet* ds = DataSet();
  return ds && ds->Active() ? ds->RecNo() : 0;
}

int TDBGrid::RowsIn(int height) const {
  int rowLine = options_ & dgRowLines ? 1 : 0;
  int dataTop = options_ & dgTitles ? titleHeight_ + rowLine : 0;
  return std::max(0, (height - dataTop + rowLine) / (rowHeight_ + rowLine));
}

int TDBGrid::VisibleRowCount() const {
  return RowsIn(Height() - (HasHorizontalBar() ? kScrollBarWidth : 0));
}

int TDBGrid::ColumnsWidth() const {
  int colLine = options_ & dgColLines ? 1 : 0;
  int width = options_ & dgIndicator ? kIndicatorWidth + colLine : 0;
  // DisplayColumns only brings the default columns up to date.
  const TColumns& columns = const_cast<TDBGrid*>(this)->DisplayColumns();
  for (int i = 0; i < columns.Count(); ++i)
    if (columns[i].Visible()) width += columns[i].Width() + colLine;
  return width - colLine;
}

bool TDBGrid::HasHorizontalBar() const {
  // Whether the vertical bar is there is judged on the full height, so the
  // two bars do not depend on each other in a circle.
  TDataSet* ds = DataSet();
  bool vertical = ds && ds->Active() && ds->RecordCount() > RowsIn(Height());
  return ColumnsWidth() > Width() - (vertical ? kScrollBarWidth : 0);
}

void TDBGrid::ScrollColumns(int delta) {
  if (!AcceptsInput(*this)) return;
  int count = DisplayColumns().Count();
  int left = std::clamp(leftCol_ + delta, 0, std::max(0, count - 1));
  if (left == leftCol_) return;
  leftCol_ = left;
  Changed();
}

int TDBGrid::ComputeTop(int from) const {
  int count = RecordCount();
  int rows = std::max(1, VisibleRowCount());
  int current = CurrentRecNo();
  int top = from;
  if (current > 0) {
    if (current < top) top = current;
    if (current >= top + rows) top = current - rows + 1;
  }
  return std::max(1, std::min(top, count - rows + 1));
}

int TDBGrid::TopRow() const { return ComputeTop(topRow_); }

bool TDBGrid::HasScrollBar() const {
  TDataSet* ds = DataSet();
  return ds && ds->Active() && ds->RecordCount() > VisibleRowCount();
}

int TDBGrid::ClientWidth() const {
  return std::max(0, Width() - (HasScrollBar() ? kScrollBarWidth : 0));
}

TDBGrid::Layout TDBGrid::ComputeLayout() {
  Layout layout;
  int colLine = options_ & dgColLines ? 1 : 0;
  int rowLine = options_ & dgRowLines ? 1 : 0;
  int x = 0;
  if (options_ & dgIndicator) {
    layout.IndicatorRight = kIndicatorWidth;
    x = kIndicatorWidth + colLine;
  }
  TColumns& columns = DisplayColumns();
  leftCol_ = std::clamp(leftCol_, 0, std::max(0, columns.Count() - 1));
  int clientWidth = ClientWidth();
  for (int i = leftCol_; i < columns.Count() && x < clientWidth; ++i) {
    if (!columns[i].Visible()) continue;
    int width = columns[i].Width();
    layout.Cols.push_back({i, x, x + width});
    x += width + colLine;
  }
  layout.DataTop = options_ & dgTitles ? titleHeight_ + rowLine : 0;
  layout.RowStep = rowHeight_ + rowLine;
  layout.Rows = VisibleRowCount();
  return layout;
}

TRect TDBGrid::CellRect(const TColumn& column, int row) {
  Layout layout = ComputeLayout();
  for (const Layout::Col& col : layout.Cols) {
    if (&DisplayColumns()[col.Index] != &column) continue;
    if (row < 0) return options_ & dgTitles ? TRect{col.Left, 0, col.Right, titleHeight_} : TRect{};
    if (row >= layout.Rows) return {};
    int top = layout.DataTop + row * layout.RowStep;
    return {col.Left, top, col.Right, top + rowHeight_};
  }
  return {};
}

std::vector<TRect> TDBGrid::TitleRects() {
  Layout layout = ComputeLayout();
  std::vector<TRect> rects(DisplayColumns().Count());
  if (options_ & dgTitles)
    for (const Layout::Col& col : layout.Cols) rects[col.Index] = {col.Left, 0, col.Right, titleHeight_};
  return rects;
}

// ---------------------------------------------------------------------------
// Current column

int TDBGrid::SelectedIndex() {
  int count = DisplayColumns().Count();
  return count == 0 ? -1 : std::min(selected_, count - 1);
}

void TDBGrid::SetSelectedIndex(int index) {
  int count = DisplayColumns().Count();
  if (index < 0 || index >= count)
    throw Exception("Coluna " + std::to_string(index) + " inexistente em '" + Name() + "'.");
  SelectColumn(index);
}

TColumn* TDBGrid::SelectedColumn() {
  int index = SelectedIndex();
  return index < 0 ? nullptr : &DisplayColumns()[index];
}

TField* TDBGrid::SelectedField() {
  TColumn* column = SelectedColumn();
  return column ? column->Field() : nullptr;
}

void TDBGrid::SelectColumn(int index) {
  TColumns& columns = DisplayColumns();
  if (index < 0 || index >= columns.Count()) return;
  selected_ = index;
  // Scroll sideways until the column is shown whole (or is the first shown).
  if (index < leftCol_) leftCol_ = index;
  int colLine = options_ & dgColLines ? 1 : 0;
  int start = (options_ & dgIndicator) ? kIndicatorWidth + colLine : 0;
  auto rightEdge = [&] {
    int x = start;
    for (int i = leftCol_; i <= index; ++i)
      if (columns[i].Visible()) x += columns[i].Width() + colLine;
    return x;
  };
  while (leftCol_ < index && rightEdge() > ClientWidth()) ++leftCol_;
  Changed();
}

// The next visible column from `from` in the direction of step; from when
// there is none.
int TDBGrid::StepColumn(int from, int step) {
  TColumns& columns = DisplayColumns();
  for (int i = from + step; i >= 0 && i < columns.Count(); i += step)
    if (columns[i].Visible()) return i;
  return from;
}

// ---------------------------------------------------------------------------
// The operator

void TDBGrid::ResizeColumn(TColumn& column, int width) {
  if (!AcceptsInput(*this) || !(options_ & dgColumnResize)) return;
  column.SetWidth(std::max(1, width));
}

void TDBGrid::MouseDrag(int fromX, int fromY, int toX, int) {
  if (!AcceptsInput(*this) || !(options_ & dgColumnResize) || !(options_ & dgTitles)) return;
  if (fromY < 0 || fromY >= titleHeight_) return;
  // The border under the press: a shown column's right edge, 3 pixels
  // either side.
  Layout layout = ComputeLayout();
  for (const Layout::Col& col : layout.Cols) {
    if (std::abs(fromX - col.Right) > 3) continue;
    TColumn& column = DisplayColumns()[col.Index];
    ResizeColumn(column, column.Width() + (toX - fromX));
    return;
  }
}

void TDBGrid::MouseClick(int x, int y) {
  if (!AcceptsInput(*this)) return;
  FocusForInput(*this);
  ClickCell(x, y);
}

void TDBGrid::ClickCell(int x, int y) {
  Layout layout = ComputeLayout();
  auto col = std::find_if(layout.Cols.begin(), layout.Cols.end(),
                          [x](const Layout::Col& c) { return x >= c.Left && x < c.Right; });
  if (col == layout.Cols.end() || y < 0 || x >= ClientWidth()) return;
  int index = col->Index;
  if ((options_ & dgTitles) && y < titleHeight_) {
    if (OnTitleClick) {
      TDBGridClickEvent handler = OnTitleClick;
      handler(DisplayColumns()[index]);
    }
    return;
  }
  if (y < layout.DataTop) return;
  int row = (y - layout.DataTop) / layout.RowStep;
  int recNo = TopRow() + row;
  if (row >= layout.Rows || recNo > RecordCount()) return;
  if (recNo != CurrentRecNo()) DataSet()->SetRecNo(recNo);  // AfterScroll runs
  // The scroll handler may have reshaped the columns.
  if (index >= DisplayColumns().Count()) return;
  SelectColumn(index);
  if (OnCellClick) {
    TDBGridClickEvent handler = OnCellClick;
    handler(DisplayColumns()[index]);
  }
}

bool TDBGrid::CanScroll() const {
  TDataSet* ds = DataSet();
  return AcceptsInput(*this) && ds && ds->Active() && !ds->IsEmpty();
}

// One move of the cursor by rows, none when it would only go past an end
// (so AfterScroll runs only when the cursor moved).
void TDBGrid::MoveRows(long rows) {
  TDataSet* ds = DataSet();
  int recNo = ds->RecNo();
  if (rows == 0 || (rows < 0 && recNo <= 1) || (rows > 0 && recNo >= ds->RecordCount())) return;
  long bound = ds->RecordCount();
  ds->MoveBy(static_cast<int>(std::clamp(rows, -bound, bound)));
}

void TDBGrid::MouseWheel(int notches) {
  if (!CanScroll()) return;
  MoveRows(static_cast<long>(notches) * kWheelRows);
}

void TDBGrid::Scroll(TGridScroll code, int recNo) {
  if (!CanScroll()) return;
  long page = std::max(1, VisibleRowCount());
  switch (code) {
    case TGridScroll::sbLineUp: MoveRows(-1); break;
    case TGridScroll::sbLineDown: MoveRows(1); break;
    case TGridScroll::sbPageUp: MoveRows(-page); break;
    case TGridScroll::sbPageDown: MoveRows(page); break;
    case TGridScroll::sbPosition: {
      TDataSet* ds = DataSet();
      int target = std::clamp(recNo, 1, ds->RecordCount());
      if (target != ds->RecNo()) ds->SetRecNo(target);
      break;
    }
  }
}

bool TDBGrid::TabMove(bool forward) {
  int current = SelectedIndex();
  if (current < 0) return false;
  int next = StepColumn(current, forward ? 1 : -1);
  if (next != current) {
    SelectColumn(next);
    return true;
  }
  TDataSet* ds = DataSet();
  int recNo = CurrentRecNo();
  if (!ds || recNo == 0 || (forward ? recNo >= RecordCount() : recNo <= 1)) return false;
  forward ? ds->Next() : ds->Prior();
  SelectColumn(StepColumn(forward ? -1 : DisplayColumns().Count(), forward ? 1 : -1));
  return true;
}

void TDBGrid::MoveCursor(TKey key, TShiftState shift) {
  TDataSet* ds = DataSet();
  if (!ds || !ds->Active() || ds->IsEmpty()) return;
  int page = std::max(1, VisibleRowCount());
  // At the first or last row the keys that would go further do nothing:
  // no scroll, so no AfterScroll.
  bool atFirst = ds->RecNo() <= 1, atLast = ds->RecNo() >= ds->RecordCount();
  switch (key) {
    case VK_UP: if (!atFirst) ds->Prior(); break;
    case VK_DOWN: if (!atLast) ds->Next(); break;
    case VK_PRIOR: if (!atFirst) ds->MoveBy(-page); break;
    case VK_NEXT: if (!atLast) ds->MoveBy(page); break;
    case VK_HOME: ds->First(); break;
    case VK_END: ds->Last(); break;
    default: break;
  }
  (void)shift;
}

void TDBGrid::KeyDown(TKey& key, TShiftState shift) {
  if (!AcceptsInput(*this)) return;
  TControl::KeyDown(key, shift);
  bool rowSelect = options_ & dgRowSelect;
  switch (key) {
    case 0: return;
    case VK_TAB:
      if ((options_ & dgTabs) && TabMove(!(shift & ssShift))) key = 0;
      return;
    case VK_LEFT:
    case VK_RIGHT:
      if (!rowSelect) SelectColumn(StepColumn(SelectedIndex(), key == VK_RIGHT ? 1 : -1));
      return;
    case VK_HOME:
    case VK_END:
      if ((shift & ssCtrl) || rowSelect) MoveCursor(key, shift);
      else SelectColumn(StepColumn(key == VK_HOME ? -1 : DisplayColumns().Count(), key == VK_HOME ? 1 : -1));
      return;
    default:
      MoveCursor(key, shift);
  }
}

}  // namespace fw
