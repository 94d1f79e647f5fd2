// The owner-drawn grids, as the canvas operations each kind of cell
// records, and the three mark glyphs pixel by pixel.
#include "confirmation/conf_pedido_test_support.h"
#include "confirmation/decimal_cut.h"
#include "confirmation/mark_glyphs.h"
#include "forms/canvas.h"
#include "base/text_case.h"
#include "forms/glyphs.h"

namespace conf_pedido_testing {
namespace {

using Strings = std::vector<std::string>;
using fw::ColorToString;

class DrawingTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    // Six pixels a character, so positions are easy to follow.
    previous_ = fw::SetTextMeasurer([](const fw::TFont&, std::string_view text) {
      return 6 * static_cast<int>(fw::Utf8Length(text));
    });
    Open();
    LeaveBranch();
    screen->sbtVerificar->Click();
    screen->SetBounds(0, 0, 2200, 520);  // every column in view
  }
  void TearDown() override {
    fw::SetTextMeasurer(previous_);
    ScreenTest::TearDown();
  }

  // The operations drawn in one cell (row 0 is the first row shown),
  // relative to the cell, with the grid's own default drawing switched off
  // so that only the handler's output is recorded.
  Strings Cell(fw::TDBGrid& grid, const char* field, int row) {
    grid.DefaultDrawing = false;
    fw::TRecordingCanvas canvas;
    grid.Paint(canvas);
    rect = grid.CellRect(*grid.Columns().FindField(field), row);
    EXPECT_GT(rect.Width(), 0) << field;
    Strings ops;
    for (const fw::TCanvasOp& op : canvas.Ops()) {
      bool mine = op.Kind == fw::TCanvasOp::TextOut
                      ? rect.Contains(op.At)
                      : op.Rect.Left >= rect.Left && op.Rect.Top >= rect.Top &&
                            op.Rect.Right <= rect.Right && op.Rect.Bottom <= rect.Bottom;
      if (mine) ops.push_back(Describe(op));
    }
    return ops;
  }
  std::string At(fw::TPoint p) {
    return "+" + std::to_string(p.X - rect.Left) + ",+" + std::to_string(p.Y - rect.Top);
  }
  std::string Describe(const fw::TCanvasOp& op) {
    const bool whole = op.Rect == rect;
    switch (op.Kind) {
      case fw::TCanvasOp::FillRect:
        return std::string(whole ? "Fill " : "Fill part ") + ColorToString(op.BrushColor);
      case fw::TCanvasOp::TextOut:
        return "TextOut " + At(op.At) + " \"" + op.Text + "\" " + ColorToString(op.Font.Color);
      case fw::TCanvasOp::TextRect:
        return std::string(whole ? "TextRect " : "TextRect part ") + At(op.At) + " \"" + op.Text +
               "\" " + ColorToString(op.Font.Color) + " on " + ColorToString(op.BrushColor);
      case fw::TCanvasOp::DrawFocusRect: return whole ? "Focus" : "Focus part";
      case fw::TCanvasOp::BrushCopy: {
        std::string glyph = op.Bitmap == &screen->imgCheck->Picture()     ? "check"
                            : op.Bitmap == &screen->imgUncheck->Picture() ? "uncheck"
                            : op.Bitmap == &screen->imgDescheck->Picture() ? "descheck"
                                                                           : "?";
        return "Glyph " + glyph + " at " + At({op.Rect.Left, op.Rect.Top}) + " " +
               std::to_string(op.Rect.Width()) + "x" + std::to_string(op.Rect.Height()) +
               " from " + std::to_string(op.Source.Width()) + "x" +
               std::to_string(op.Source.Height()) + " " + ColorToString(op.Transparent) +
               " as " + ColorToString(op.BrushColor);
      }
    }
    return "?";
  }

  // Orders 1, 5 and 7 of branch 0001 (pending, in progress, pending), changed.
  void LoadOrders(const std::function<void(json&)>& change) {
    json orders = Rows(Orders(), "NRPEDIDO", {"0000000001", "0000000005", "0000000007"});
    change(orders);
    screen->cdsPedido.SetData(fw::TDataPacket::FromJson(orders));
  }
  // Copies of the first item of order 1, changed.
  void LoadItems(int rows, const std::function<void(json&)>& change) {
    json items = Reply("GetItemPedido", {"0001", "0000000001", "", "T"});
    json first = items["rows"][0];
    items["rows"] = json::array();
    for (int i = 0; i < rows; ++i) {
      first[Column(items, "NRITEMPED")] = "00" + std::to_string(i + 1);
      items["rows"].push_back(first);
    }
    change(items);
    screen->cdsItemPedido.SetData(fw::TDataPacket::FromJson(items));
  }

  fw::TRect rect;
  fw::TTextMeasurer previous_;
};

TEST_F(DrawingTest, OrderCellsTakeTheColourAndTextOfTheirSituation) {
  LoadOrders([](json& p) {
    Set(p, 0, "VRPBRUVOLPED", 12.5);
    Set(p, 0, "IDTIPOPEDIDO", "1");
    Set(p, 1, "IDCHECK", "S");
    Set(p, 2, "IDTIPOPEDIDO", "2");
  });
  fw::TDBGrid& grid = *screen->dbgPadrao;
  screen->pgcPadrao->SetFocus();  // the grid without the focus
  screen->cdsPedido.Next();         // the current row is the second
  const Strings plain = {"Fill clInfoBk"};
  EXPECT_EQ(Cell(grid, "IDSITPEDIDO", 0), (Strings{"Fill clInfoBk", "TextOut +2,+2 \"PE\" clBlue"}));
  EXPECT_EQ(Cell(grid, "IDTIPOPEDIDO", 0),
            (Strings{"Fill clInfoBk", "TextOut +2,+2 \"Pedido\" clBlue"}));
  // Weights follow their display format, right-aligned.
  Strings weight = Cell(grid, "VRPBRUVOLPED", 0);
  EXPECT_EQ(weight, (Strings{"Fill clInfoBk", "TextOut +" + std::to_string(rect.Width() - 48 - 2) +
                                                  ",+2 \"12,50000\" clBlue"}));
  EXPECT_EQ(Cell(grid, "NRPEDIDO", 0),
            (Strings{"Fill clInfoBk", "TextOut +2,+2 \"0000000001\" clBlue"}));
  EXPECT_EQ(Cell(grid, "IDCHECK", 0),
            (Strings{"Fill clInfoBk", "TextOut +2,+2 \"N\" clBlue", "Fill clInfoBk",
                     "Glyph uncheck at +1,+0 16x18 from 16x18 clOlive as clInfoBk"}));

  // Row 1: in progress, olive everywhere; its mark column shows the greyed
  // box whatever IDCHECK says. The current cell is selected (shown even
  // without the focus) but not focused.
  EXPECT_EQ(Cell(grid, "IDSITPEDIDO", 1), (Strings{"Fill clInfoBk", "TextOut +2,+2 \"AN\" clOlive"}));
  EXPECT_EQ(Cell(grid, "IDCHECK", 1),
            (Strings{"Fill clInfoBk", "Fill clHighlight", "TextOut +2,+2 \"S\" clCaptionText",
                     "Fill clHighlight",
                     "Glyph descheck at +1,+0 16x18 from 16x18 clOlive as clHighlight"}));

  // Row 2: an order of type "2" leaves its type cell empty.
  EXPECT_EQ(Cell(grid, "IDTIPOPEDIDO", 2), plain);

  // With the focus the current cell is also framed.
  screen->dbgPadrao->SetFocus();
  screen->dbgPadrao->SetSelectedIndex(2);
  EXPECT_EQ(Cell(grid, "NRPEDIDO", 1),
            (Strings{"Fill clInfoBk", "Fill clHighlight",
                     "TextOut +2,+2 \"0000000005\" clCaptionText", "Focus"}));
}

TEST_F(DrawingTest, PendingMarksShowTheirBoxOthersTheGreyedOne) {
  LoadOrders([](json& p) {
    Set(p, 0, "IDCHECK", "S");
    Set(p, 2, "IDCHECK", nullptr);
  });
  fw::TDBGrid& grid = *screen->dbgPadrao;
  screen->pgcPadrao->SetFocus();
  screen->cdsPedido.Next();  // the current row (selected) is the second
  EXPECT_EQ(Cell(grid, "IDCHECK", 0).back(),
            "Glyph check at +1,+0 16x18 from 16x18 clOlive as clInfoBk");
  EXPECT_EQ(Cell(grid, "IDCHECK", 2).back(),
            "Glyph descheck at +1,+0 16x18 from 16x18 clOlive as clInfoBk");
  screen->cdsPedido.First();
  screen->cdsPedido.Edit();
  screen->cdsPedido.FieldByName("IDCHECK").SetAsString("X");
  screen->cdsPedido.Post();
  screen->cdsPedido.Next();
  EXPECT_EQ(Cell(grid, "IDCHECK", 0).back(), "Fill clInfoBk");  // neither mark: no glyph
}

TEST_F(DrawingTest, ItemCellsFormatNumbersAndShowPermitProblemsInRed) {
  screen->mnuItemPedido->Click();
  LoadItems(3, [](json& p) {
    Set(p, 0, "QTITEMPED", 1234.5);
    Set(p, 0, "VRDESITPED", 0.019);
    Set(p, 0, "VRPREUNITPED", 1.23456);
    Set(p, 0, "CDARVPROD", "0101001");
    Set(p, 1, "IDITEMERRO", "S");
    Set(p, 1, "VRDESITPED", 0.29);
    Set(p, 1, "IDSITITEMPED", "3");
    Set(p, 2, "QTITEMPED", nullptr);
    Set(p, 2, "VRDESITPED", 2.5);
    Set(p, 2, "IDSITITEMPED", "5");
  });
  fw::TDBGrid& grid = *screen->dbgItemPedido;
  screen->cdsItemPedido.Last();  // the current row is the third; the grid has no focus

  auto right = [&](const char* field, int row, const std::string& text, const char* colour) {
    Strings ops = Cell(grid, field, row);
    int offset = grid.Columns().FindField(field)->Width() - (6 * int(text.size()) + 2);
    return ops == Strings{"Fill clInfoBk", "TextRect +" + std::to_string(offset) + ",+2 \"" + text +
                                               "\" " + colour + " on clInfoBk"};
  };
  EXPECT_TRUE(right("QTITEMPED", 0, "1234,500", "clBlue")) << testing::PrintToString(Cell(grid, "QTITEMPED", 0));
  EXPECT_TRUE(right("VRDESITPED", 0, "0,01", "clBlue"));
  EXPECT_TRUE(right("VRPREUNITPED", 0, "1,235", "clBlue"));
  EXPECT_TRUE(right("VRDESITPED", 1, "0,29", "clRed"));
  EXPECT_TRUE(right("VRDESITPED", 2, "2,50", "clRed"));  // cancelled: red by its situation
  EXPECT_EQ(CortaCentavos(0.000015), 0);  // written "1,5E-5": below a cent
  EXPECT_EQ(Cell(grid, "QTITEMPED", 2),
            (Strings{"Fill clInfoBk", "TextRect +2,+2 \"\" clRed on clInfoBk"}));

  // An error item is red in every column but the situation, which keeps
  // its situation colour; approved is green.
  EXPECT_EQ(Cell(grid, "IDSITITEMPED", 1),
            (Strings{"Fill clInfoBk", "TextOut +2,+2 \"AP\" clGreen"}));
  EXPECT_EQ(Cell(grid, "NMPRODUTO", 1).back().find(" clRed on clInfoBk") != std::string::npos, true);
  EXPECT_EQ(Cell(grid, "IDCHECK", 0),
            (Strings{"Fill clInfoBk", "TextRect +2,+2 \"N\" clBlue on clInfoBk", "Fill clInfoBk",
                     "Glyph uncheck at +1,+0 16x18 from 16x18 clOlive as clInfoBk"}));
  EXPECT_EQ(Cell(grid, "IDCHECK", 1).back(),
            "Glyph descheck at +1,+0 16x18 from 16x18 clOlive as clInfoBk");
  EXPECT_EQ(Cell(grid, "CDARVPROD", 0),
            (Strings{"Fill clInfoBk", "TextRect +2,+2 \"01.01.001\" clBlue on clInfoBk"}));

  // Selected with the focus: highlight and caption text even for an error item.
  screen->cdsItemPedido.Prior();
  grid.SetFocus();
  grid.SetSelectedIndex(4);  // NMPRODUTO
  Strings selected = Cell(grid, "NMPRODUTO", 1);
  ASSERT_EQ(selected.size(), 5u);
  EXPECT_EQ(selected[0], "Fill clInfoBk");
  EXPECT_EQ(selected[1], "Fill clHighlight");
  EXPECT_EQ(selected[2], "Fill clHighlight");
  EXPECT_NE(selected[3].find(" clCaptionText on clHighlight"), std::string::npos);
  EXPECT_EQ(selected[4], "Focus");
}

// The glyphs as their description reads, built here pixel by pixel.
fw::TBitmap Described(fw::TColor interior, bool check) {
  fw::TBitmap b(16, 16, fw::clOlive);
  for (int c = 2; c <= 11; ++c) b.SetPixel(c, 2, fw::clBlack);
  for (int r = 2; r <= 11; ++r) b.SetPixel(2, r, fw::clBlack);
  for (int r = 1; r <= 13; ++r) b.SetPixel(13, r, fw::clSilver);
  for (int c = 1; c <= 13; ++c) b.SetPixel(c, 13, fw::clSilver);
  for (int r = 3; r <= 11; ++r)
    for (int c = 3; c <= 11; ++c) b.SetPixel(c, r, interior);
  if (check) {
    const std::vector<std::pair<int, std::vector<int>>> mark = {
        {4, {10}},          {5, {9, 10}},       {6, {4, 8, 9, 10}}, {7, {4, 5, 7, 8, 9}},
        {8, {4, 5, 6, 7, 8}}, {9, {5, 6, 7}},   {10, {6}}};
    for (const auto& [r, cols] : mark)
      for (int c : cols) b.SetPixel(c, r, fw::clBlack);
  }
  return b;
}

TEST(MarkGlyphs, AreExactlyTheDescribedPictures) {
  const std::map<char, fw::TColor> palette = {
      {'.', fw::clOlive}, {'#', fw::clBlack}, {'s', fw::clSilver}, {'w', fw::clWhite}};
  EXPECT_EQ(fw::PixelsOf(CheckGlyph(), palette), fw::PixelsOf(Described(fw::clWhite, true), palette));
  EXPECT_EQ(fw::PixelsOf(UncheckGlyph(), palette),
            fw::PixelsOf(Described(fw::clWhite, false), palette));
  EXPECT_EQ(fw::PixelsOf(DescheckGlyph(), palette),
            fw::PixelsOf(Described(fw::clSilver, false), palette));
  EXPECT_EQ(CheckGlyph(), Described(fw::clWhite, true));
}

}  // namespace
}  // namespace conf_pedido_testing
