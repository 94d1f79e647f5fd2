// The data grid: columns, drawing with the dataset positioned per row,
// cell and title clicks, keys, rows kept in view, texts for the
// accessible table.
#include <gtest/gtest.h>

#include <limits>

#include "base/errors.h"
#include "data/client_dataset.h"
#include "forms/controls_test_support.h"
#include "forms/db_grid.h"
#include "forms/edit.h"

namespace fw {
namespace {

using testing::Press;

TDataPacket Orders(int count) {
  std::string rows;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) rows += ",";
    rows += "[\"" + std::to_string(i) + "\", \"" + (i % 2 ? "1" : "2") + "\", \"Cliente " +
            std::to_string(i) + "\", " + std::to_string(i * 10.5) + "]";
  }
  return TDataPacket::Parse(R"({"fields": [{"name": "NRPEDIDO", "type": "string", "size": 10},
      {"name": "IDSITPEDIDO", "type": "string", "size": 1},
      {"name": "NMFANTCLIE", "type": "string", "size": 50},
      {"name": "VRPBRUVOLPED", "type": "float"}], "rows": [)" + rows + "]}");
}

struct GridTest : testing::FormTest {
  void SetUp() override {
    FormTest::SetUp();
    cds.AddField("NRPEDIDO", TFieldType::ftString, 10).DisplayLabel = "Nº Pedido";
    cds.AddField("IDSITPEDIDO", TFieldType::ftString, 1).Visible = false;
    cds.AddField("NMFANTCLIE", TFieldType::ftString, 50).DisplayLabel = "Cliente";
    cds.AddField("VRPBRUVOLPED", TFieldType::ftFloat).DisplayFormat = "0.00";
    cds.SetData(Orders(5));
    cds.AfterScroll = [this](TDataSet& ds) { scrolls.push_back(ds.RecNo()); };
    grid = &Place<TDBGrid>("dbgPadrao");
    grid->SetBounds(0, 0, 300, 19 + 3 * 19);  // titles and three rows
    grid->SetOptions(dgTitles | dgColLines | dgRowLines | dgTabs | dgAlwaysShowSelection);
    grid->SetDataSource(&dts);
  }
  void DeclareColumns() {
    for (auto [field, width] : {std::pair{"IDSITPEDIDO", 24}, {"NRPEDIDO", 80}, {"VRPBRUVOLPED", 60}}) {
      TColumn& column = grid->Columns().Add();
      column.SetFieldName(field);
      column.SetWidth(width);
    }
  }
  TClientDataSet cds{"cdsPedido"};
  TDataSource dts{"dtsPedido", &cds};
  TDBGrid* grid = nullptr;
  std::vector<int> scrolls;
};

TEST_F(GridTest, ColumnsAreAddedInsertedFoundAndRemovedByField) {
  DeclareColumns();
  TColumns& columns = grid->Columns();
  TColumn& inserted = columns.Insert(1);
  inserted.SetFieldName("NMFANTCLIE");
  EXPECT_EQ(columns.IndexOfField("nmfantclie"), 1);
  EXPECT_EQ(columns.FindField("VRPBRUVOLPED")->Index(), 3);
  EXPECT_EQ(columns.IndexOfField("NMTIPOOPER"), -1);
  EXPECT_THROW(columns.Insert(9), Exception);
  EXPECT_THROW(columns.Delete(4), Exception);
  EXPECT_EQ(columns.Count(), 4);
  columns.Delete(columns.IndexOfField("NRPEDIDO"));
  inserted.SetIndex(0);
  std::vector<std::string> fields;
  for (int i = 0; i < columns.Count(); ++i) fields.push_back(columns[i].FieldName());
  EXPECT_EQ(fields, (std::vector<std::string>{"NMFANTCLIE", "IDSITPEDIDO", "VRPBRUVOLPED"}));
}

TEST_F(GridTest, ColumnDefaultsComeFromTheFieldAndTheGrid) {
  TColumn& column = grid->Columns().Add();
  column.SetFieldName("VRPBRUVOLPED");
  EXPECT_EQ(column.Title().Caption(), "VRPBRUVOLPED");  // no display label
  EXPECT_EQ(column.Alignment(), TAlignment::taRightJustify);
  // Ten digits, or the title when it is wider.
  EXPECT_EQ(column.Width(), std::max(10 * MeasureText(grid->Font(), "0") + 4,
                                     MeasureText(grid->TitleFont(), "VRPBRUVOLPED") + 4));
  EXPECT_EQ(column.Color(), grid->Color());
  TColumn& named = grid->Columns().Add();
  named.SetFieldName("NRPEDIDO");
  EXPECT_EQ(named.Title().Caption(), "Nº Pedido");
  EXPECT_EQ(named.Alignment(), TAlignment::taLeftJustify);
  TFont symbol;
  symbol.Name = "Monotype Sorts";
  symbol.Color = clWindow;
  named.Title().SetFont(symbol);
  named.Title().SetCaption("4");
  EXPECT_EQ(named.Title().Font().Name, "Monotype Sorts");
  cds.Close();
  EXPECT_EQ(named.Field(), nullptr);
  EXPECT_EQ(column.Width(), 64);
}

TEST_F(GridTest, WithoutDeclaredColumnsEveryVisibleFieldIsAColumn) {
  TColumns& shown = grid->DisplayColumns();
  ASSERT_EQ(shown.Count(), 3);  // IDSITPEDIDO is hidden
  EXPECT_EQ(shown[1].FieldName(), "NMFANTCLIE");
  DeclareColumns();
  EXPECT_EQ(&grid->DisplayColumns(), &grid->Columns());
  EXPECT_EQ(grid->DisplayColumns()[0].FieldName(), "IDSITPEDIDO");  // declared: shown though hidden
}

TEST_F(GridTest, DrawHandlerSeesEachRowWithoutScrollingAndTheCursorStays) {
  DeclareColumns();
  cds.SetRecNo(2);
  scrolls.clear();
  std::vector<std::string> seen;
  grid->OnDrawColumnCell = [&](TComponent& sender, const TRect& rect, int dataCol, TColumn& column,
                               TGridDrawState state) {
    EXPECT_EQ(&sender, grid);
    seen.push_back(std::to_string(dataCol) + ":" + column.Field()->AsString() + "@" +
                   std::to_string(rect.Left) + "," + std::to_string(rect.Top) +
                   (state & gdSelected ? " sel" : "") + (state & gdFocused ? " foc" : ""));
  };
  TRecordingCanvas canvas;
  grid->Paint(canvas);
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "0:1@0,19", "1:1@25,19", "2:10,5@106,19",
                      "0:2@0,38 sel", "1:2@25,38", "2:21@106,38",
                      "0:1@0,57", "1:3@25,57", "2:31,5@106,57"}));
  EXPECT_TRUE(scrolls.empty());
  EXPECT_EQ(cds.RecNo(), 2);
  EXPECT_EQ(cds.FieldByName("NRPEDIDO").AsString(), "2");
}

TEST_F(GridTest, SelectionAndFocusStates) {
  DeclareColumns();
  std::vector<std::pair<int, TGridDrawState>> states;
  grid->OnDrawColumnCell = [&](TComponent&, const TRect&, int dataCol, TColumn&, TGridDrawState state) {
    if (state) states.emplace_back(dataCol, state);
  };
  TRecordingCanvas canvas;
  grid->SetOptions(grid->Options() & ~dgAlwaysShowSelection);
  grid->Paint(canvas);
  EXPECT_TRUE(states.empty());  // not focused, selection not shown
  grid->SetFocus();
  grid->SetSelectedIndex(1);
  grid->Paint(canvas);
  EXPECT_EQ(states, (std::vector<std::pair<int, TGridDrawState>>{{1, gdSelected | gdFocused}}));
  states.clear();
  grid->SetOptions(grid->Options() | dgRowSelect);
  grid->Paint(canvas);
  EXPECT_EQ(states, (std::vector<std::pair<int, TGridDrawState>>{
                        {0, gdSelected}, {1, gdSelected | gdFocused}, {2, gdSelected}}));
}

TEST_F(GridTest, DefaultDrawingFillsTitlesAndCellsAndAlignsNumbersRight) {
  DeclareColumns();
  grid->SetBounds(0, 0, 300, 19 + 19);  // one row
  TRecordingCanvas canvas;
  grid->Paint(canvas);
  std::vector<std::string> lines = canvas.Lines();
  int width = MeasureText(grid->Font(), "10,50");
  std::vector<std::string> expected{
      "FillRect 0,0,284,38 brush=clWindow",  // five rows, one shown: the scroll bar's place is left
      "FillRect 0,0,167,38 brush=clSilver",  // the lines between the cells
      "TextRect 0,0,24,18 2,2 \"IDSITPEDIDO\" font=clWindowText brush=clBtnFace",
      "TextRect 25,0,105,18 27,2 \"Nº Pedido\" font=clWindowText brush=clBtnFace",
      "TextRect 106,0,166,18 108,2 \"VRPBRUVOLPED\" font=clWindowText brush=clBtnFace",
      "TextRect 0,19,24,37 2,21 \"1\" font=clHighlightText brush=clHighlight",
      "TextRect 25,19,105,37 27,21 \"1\" font=clWindowText brush=clWindow",
      "TextRect 106,19,166,37 " + std::to_string(166 - width - 2) +
          ",21 \"10,50\" font=clWindowText brush=clWindow"};
  EXPECT_EQ(lines, expected);
}

TEST_F(GridTest, HandlerErrorsPutTheDisplayRecordBack) {
  DeclareColumns();
  grid->OnDrawColumnCell = [](TComponent&, const TRect&, int, TColumn& column, TGridDrawState) {
    if (column.Field()->AsString() == "2") throw Exception("falha ao desenhar");
  };
  TRecordingCanvas canvas;
  EXPECT_THROW(grid->Paint(canvas), Exception);
  EXPECT_EQ(cds.FieldByName("NRPEDIDO").AsString(), "1");  // the cursor row again
  grid->OnDrawColumnCell = nullptr;
  EXPECT_NO_THROW(grid->Paint(canvas));
}

TEST_F(GridTest, ACellClickMovesTheCursorThenRunsTheHandlerWithTheColumn) {
  DeclareColumns();
  std::vector<std::string> log;
  cds.AfterScroll = [&](TDataSet& ds) { log.push_back("scroll " + std::to_string(ds.RecNo())); };
  grid->OnCellClick = [&](TColumn& column) {
    log.push_back("cell " + column.FieldName() + " " + cds.FieldByName("NRPEDIDO").AsString());
  };
  grid->OnTitleClick = [&](TColumn& column) { log.push_back("title " + column.FieldName()); };
  grid->MouseClick(30, 19 + 19 + 5);   // second row, NRPEDIDO
  grid->MouseClick(30, 19 + 19 + 5);   // the same row: no scroll
  grid->MouseClick(5, 3);              // a title
  grid->MouseClick(290, 30);           // right of the last column
  EXPECT_EQ(log, (std::vector<std::string>{"scroll 2", "cell NRPEDIDO 2", "cell NRPEDIDO 2",
                                           "title IDSITPEDIDO"}));
  EXPECT_EQ(grid->SelectedIndex(), 1);
  EXPECT_TRUE(grid->Focused());
  grid->SetEnabled(false);
  grid->MouseClick(30, 25);
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(GridTest, ClicksBelowTheLastRowOrOnAnEmptyDatasetReachNoCell) {
  DeclareColumns();
  cds.SetData(Orders(1));
  int cells = 0;
  grid->OnCellClick = [&](TColumn&) { ++cells; };
  grid->MouseClick(30, 19 + 19 + 5);
  cds.SetData(Orders(0));
  grid->MouseClick(30, 25);
  EXPECT_EQ(cells, 0);
  int titles = 0;
  grid->OnTitleClick = [&](TColumn&) { ++titles; };
  grid->MouseClick(30, 5);  // titles answer on an empty list too
  EXPECT_EQ(titles, 1);
}

TEST_F(GridTest, TheCurrentRowIsKeptInView) {
  DeclareColumns();
  EXPECT_EQ(grid->VisibleRowCount(), 3);
  cds.Last();
  EXPECT_EQ(grid->TopRow(), 3);
  TGridTexts texts = grid->VisibleTexts();
  ASSERT_EQ(texts.Rows.size(), 3u);
  EXPECT_EQ(texts.Rows[0].RecNo, 3);
  EXPECT_EQ(texts.Rows[2].Cells[1], "5");
  cds.SetRecNo(2);
  EXPECT_EQ(grid->TopRow(), 2);
  cds.SetData(Orders(2));  // fewer rows than fit: from the top
  EXPECT_EQ(grid->TopRow(), 1);
}

TEST_F(GridTest, KeysRunTheHandlerFirstThenMoveTheCursorOrTheColumn) {
  DeclareColumns();
  grid->SetFocus();
  bool consume = true;
  grid->OnKeyDown = [&](TComponent&, TKey& key, TShiftState) {
    if (consume && key == VK_DOWN) key = 0;
  };
  Press(*grid, VK_DOWN);
  EXPECT_EQ(cds.RecNo(), 1);
  consume = false;
  Press(*grid, VK_DOWN);
  Press(*grid, VK_NEXT);
  EXPECT_EQ(cds.RecNo(), 5);
  scrolls.clear();
  Press(*grid, VK_DOWN);  // already at the last row: no scroll
  Press(*grid, VK_NEXT);
  EXPECT_TRUE(scrolls.empty());
  Press(*grid, VK_HOME, ssCtrl);
  EXPECT_EQ(cds.RecNo(), 1);
  Press(*grid, VK_RIGHT);
  Press(*grid, VK_RIGHT);
  Press(*grid, VK_RIGHT);
  EXPECT_EQ(grid->SelectedIndex(), 2);
  Press(*grid, VK_HOME);
  EXPECT_EQ(grid->SelectedIndex(), 0);
  Press(*grid, VK_SPACE);  // no default meaning
  EXPECT_EQ(cds.RecNo(), 1);
}

TEST_F(GridTest, TabMovesBetweenCellsAndLeavesTheGridAtTheEnd) {
  DeclareColumns();
  auto& next = Place<TEdit>("edtDepois");
  grid->TabOrder = 0;
  next.TabOrder = 1;
  cds.SetData(Orders(2));
  grid->SetFocus();
  grid->SetSelectedIndex(2);
  TKey tab = VK_TAB;
  form->KeyDown(tab, 0);  // last column: on to the next row
  EXPECT_EQ(cds.RecNo(), 2);
  EXPECT_EQ(grid->SelectedIndex(), 0);
  tab = VK_TAB;
  form->KeyDown(tab, ssShift);  // back to the previous row's last column
  EXPECT_EQ(cds.RecNo(), 1);
  EXPECT_EQ(grid->SelectedIndex(), 2);
  cds.Last();
  for (int i = 0; i < 3; ++i) {
    tab = VK_TAB;
    form->KeyDown(tab, 0);
  }
  EXPECT_TRUE(next.Focused());
  grid->SetOptions(grid->Options() & ~dgTabs);
  EXPECT_FALSE(grid->WantsTab());
}

TEST_F(GridTest, VisibleTextsKeepWhatWasDrawnAfterTheLastFillOfTheCell) {
  DeclareColumns();
  grid->OnDrawColumnCell = [this](TComponent&, const TRect& rect, int, TColumn& column, TGridDrawState) {
    TCanvas& canvas = grid->Canvas();
    canvas.FillRect(rect);  // erases the default text
    if (column.FieldName() == "IDSITPEDIDO") {
      canvas.TextOut(rect.Left + 2, rect.Top + 2, column.Field()->AsString() == "1" ? "PE" : "AN");
    } else if (column.FieldName() == "VRPBRUVOLPED") {
      canvas.TextOut(rect.Left + 2, rect.Top + 2, "x");
      canvas.FillRect(rect);  // erased again: only the picture remains
      TBitmap glyph(16, 16, clWhite);
      canvas.BrushCopy({rect.Left + 1, rect.Top, rect.Left + 17, rect.Bottom}, glyph, {0, 0, 16, 18}, clOlive);
    }
  };
  TGridTexts texts = grid->VisibleTexts();
  EXPECT_EQ(texts.Fields, (std::vector<std::string>{"IDSITPEDIDO", "NRPEDIDO", "VRPBRUVOLPED"}));
  EXPECT_EQ(texts.Titles, (std::vector<std::string>{"IDSITPEDIDO", "Nº Pedido", "VRPBRUVOLPED"}));
  ASSERT_EQ(texts.Rows.size(), 3u);
  EXPECT_EQ(texts.Rows[0].Cells, (std::vector<std::string>{"PE", "", ""}));
  EXPECT_EQ(texts.Rows[1].Cells, (std::vector<std::string>{"AN", "", ""}));
  EXPECT_EQ(texts.Rows[1].RecNo, 2);
}

TEST_F(GridTest, ColumnsBeyondTheRightEdgeScrollIntoViewWhenSelected) {
  DeclareColumns();
  cds.SetData(Orders(3));  // every row fits: no scroll bar
  grid->SetHeight(19 + 3 * 19 + TDBGrid::kScrollBarWidth);  // nor above the bottom bar
  grid->SetWidth(100);  // the third column starts beyond the edge
  EXPECT_EQ(grid->VisibleTexts().Fields.size(), 2u);
  grid->SetWidth(150);  // now it shows in part
  EXPECT_EQ(grid->VisibleTexts().Fields.size(), 3u);
  grid->SetSelectedIndex(2);  // selected: shown whole
  EXPECT_EQ(grid->LeftCol(), 1);
  EXPECT_EQ(grid->VisibleTexts().Fields,
            (std::vector<std::string>{"NRPEDIDO", "VRPBRUVOLPED"}));
  grid->SetSelectedIndex(0);
  EXPECT_EQ(grid->LeftCol(), 0);
  EXPECT_THROW(grid->SetSelectedIndex(3), Exception);
}

TEST_F(GridTest, TheOperatorResizesColumnsOnlyWhenTheOptionAllows) {
  DeclareColumns();
  TColumn& column = grid->Columns()[1];
  grid->ResizeColumn(column, 120);
  EXPECT_EQ(column.Width(), 80);
  grid->SetOptions(grid->Options() | dgColumnResize);
  grid->ResizeColumn(column, 120);
  EXPECT_EQ(column.Width(), 120);
  EXPECT_EQ(grid->CellRect(column, 0), (TRect{25, 19, 145, 37}));
  EXPECT_EQ(grid->CellRect(column, -1), (TRect{25, 0, 145, 18}));
  EXPECT_EQ(grid->CellRect(column, 3), TRect{});
  for (int left : {0, 1}) {  // every title where CellRect puts it, scrolled or not
    grid->ScrollColumns(left - grid->LeftCol());
    std::vector<TRect> titles = grid->TitleRects();
    ASSERT_EQ(titles.size(), static_cast<size_t>(grid->DisplayColumns().Count()));
    for (int i = 0; i < grid->DisplayColumns().Count(); ++i)
      EXPECT_EQ(titles[i], grid->CellRect(grid->DisplayColumns()[i], -1)) << left << " " << i;
  }
  grid->ScrollColumns(-grid->LeftCol());
  grid->MouseDrag(146, 5, 106, 5);  // its title's right border, 40 pixels left
  EXPECT_EQ(column.Width(), 80);
  grid->MouseDrag(60, 5, 100, 5);   // inside a title, or below the titles: no border
  grid->MouseDrag(146, 25, 186, 25);
  EXPECT_EQ(column.Width(), 80);
}

TEST_F(GridTest, TheIndicatorMarksTheCurrentRow) {
  DeclareColumns();
  grid->SetOptions(grid->Options() | dgIndicator);
  cds.SetRecNo(2);
  TRecordingCanvas canvas;
  grid->Paint(canvas);
  std::vector<std::string> indicator;
  for (const TCanvasOp& op : canvas.Ops())
    if (op.Rect.Left == 0 && op.Rect.Right == 11) indicator.push_back(op.ToString());
  EXPECT_EQ(indicator, (std::vector<std::string>{
                           "FillRect 0,0,11,18 brush=clBtnFace", "FillRect 0,19,11,37 brush=clBtnFace",
                           "TextRect 0,38,11,56 1,40 \"\u25B6\" font=clWindowText brush=clBtnFace",
                           "FillRect 0,57,11,75 brush=clBtnFace"}));
}

TEST_F(GridTest, TheScrollBarTakesItsWidthOnlyWhileTheRowsDoNotFit) {
  DeclareColumns();
  EXPECT_TRUE(grid->HasScrollBar());  // five rows, three shown
  EXPECT_EQ(grid->ClientWidth(), 300 - TDBGrid::kScrollBarWidth);
  cds.SetData(Orders(3));
  EXPECT_FALSE(grid->HasScrollBar());
  EXPECT_EQ(grid->ClientWidth(), 300);
  cds.SetData(Orders(4));
  EXPECT_TRUE(grid->HasScrollBar());
  // The background stops at the bar; a column reaching under it is cut
  // there, and clicks on the bar's place reach no cell.
  grid->Columns()[2].SetWidth(200);  // 106..306
  TRecordingCanvas canvas;
  grid->Paint(canvas);
  EXPECT_EQ(canvas.Lines().front(), "FillRect 0,0,284,76 brush=clWindow");
  int cells = 0;
  grid->OnCellClick = [&](TColumn&) { ++cells; };
  grid->MouseClick(290, 19 + 19 + 5);
  EXPECT_EQ(cells, 0);
  EXPECT_EQ(cds.RecNo(), 1);
  grid->MouseClick(280, 19 + 19 + 5);
  EXPECT_EQ(cells, 1);
  EXPECT_EQ(cds.RecNo(), 2);
  // Columns scroll into the narrower area: without the bar the third
  // column would show from LeftCol 1 (see above).
  grid->Columns()[2].SetWidth(60);
  grid->SetWidth(150);
  grid->SetSelectedIndex(2);
  EXPECT_EQ(grid->LeftCol(), 2);
  cds.Close();
  EXPECT_FALSE(grid->HasScrollBar());
}

struct GridScrollTest : GridTest {
  void SetUp() override {
    GridTest::SetUp();
    DeclareColumns();
    cds.SetData(Orders(20));
    scrolls.clear();
  }
};

TEST_F(GridScrollTest, TheWheelMovesTheCursorThreeRowsPerNotchOneScrollPerTurn) {
  grid->MouseWheel(1);
  grid->MouseWheel(2);
  grid->MouseWheel(-1);
  EXPECT_EQ(scrolls, (std::vector<int>{4, 10, 7}));
  grid->MouseWheel(10);  // beyond the end: stops at the last row
  EXPECT_EQ(cds.RecNo(), 20);
  EXPECT_EQ(grid->TopRow(), 18);
  scrolls.clear();
  grid->MouseWheel(1);  // already there: no scroll
  grid->MouseWheel(0);
  EXPECT_TRUE(scrolls.empty());
  grid->MouseWheel(std::numeric_limits<int>::min());
  EXPECT_EQ(cds.RecNo(), 1);
  grid->MouseWheel(std::numeric_limits<int>::max());
  EXPECT_EQ(cds.RecNo(), 20);
  EXPECT_EQ(scrolls, (std::vector<int>{1, 20}));
}

TEST_F(GridScrollTest, TheScrollBarMovesByLinesPagesAndToTheThumbsRecord) {
  using enum TGridScroll;
  grid->Scroll(sbLineUp);  // at the first row: nothing
  for (TGridScroll code : {sbLineDown, sbPageDown, sbPageDown, sbPageUp, sbLineUp})
    grid->Scroll(code);
  EXPECT_EQ(scrolls, (std::vector<int>{2, 5, 8, 5, 4}));
  scrolls.clear();
  grid->Scroll(sbPosition, 15);
  EXPECT_EQ(grid->TopRow(), 13);  // the row is shown
  grid->Scroll(sbPosition, 15);  // where it is: no scroll
  grid->Scroll(sbPosition, 999);
  grid->Scroll(sbPosition, -5);
  EXPECT_EQ(scrolls, (std::vector<int>{15, 20, 1}));
}

TEST_F(GridScrollTest, WheelAndBarLeaveTheFocusAndIgnoreAnUnusableGridOrNoRows) {
  auto& edit = Place<TEdit>("edtAntes");
  edit.OnExit = [](TComponent&) { throw Exception("não sai"); };
  edit.SetFocus();
  grid->MouseWheel(1);
  grid->Scroll(TGridScroll::sbPageDown);
  EXPECT_TRUE(edit.Focused());  // no exit handler ran
  EXPECT_EQ(cds.RecNo(), 7);
  scrolls.clear();
  grid->SetEnabled(false);
  grid->MouseWheel(1);
  grid->Scroll(TGridScroll::sbPosition, 12);
  grid->SetEnabled(true);
  grid->SetVisible(false);
  grid->Scroll(TGridScroll::sbLineDown);
  grid->SetVisible(true);
  cds.SetData(Orders(0));
  grid->MouseWheel(1);
  grid->Scroll(TGridScroll::sbPosition, 1);
  cds.Close();
  grid->MouseWheel(-1);
  grid->Scroll(TGridScroll::sbPageUp);
  EXPECT_TRUE(scrolls.empty());
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

TEST_F(GridTest, ColumnsWiderThanTheGridGetABottomBarThatMovesTheFirstColumn) {
  DeclareColumns();  // 24 + 80 + 60 and lines: fit in 300 pixels
  grid->SetHeight(19 + 5 * 19 + 16);
  EXPECT_FALSE(grid->HasHorizontalBar());
  EXPECT_EQ(grid->VisibleRowCount(), 5);
  grid->Columns()[1].SetWidth(260);
  EXPECT_TRUE(grid->HasHorizontalBar());
  EXPECT_EQ(grid->VisibleRowCount(), 5);  // its strip takes no whole row here
  grid->SetHeight(19 + 5 * 19);
  EXPECT_EQ(grid->VisibleRowCount(), 4);
  grid->ScrollColumns(1);
  EXPECT_EQ(grid->LeftCol(), 1);
  EXPECT_EQ(grid->CellRect(grid->Columns()[0], 0), TRect{});  // scrolled out of sight
  grid->ScrollColumns(50);
  EXPECT_EQ(grid->LeftCol(), 2);
  grid->ScrollColumns(-50);
  EXPECT_EQ(grid->LeftCol(), 0);
}

}  // namespace
}  // namespace fw
