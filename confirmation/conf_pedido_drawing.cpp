// The owner-drawn grids: every row in the colour of its situation, the
// situation column as a short text, the item numbers formatted and
// right-aligned, items with permit problems in red, and the mark column as
// a check-box glyph. Each handler first fills the whole cell, so only what
// it draws shows. While a handler runs the grid's dataset shows the row
// being drawn.
#include "confirmation/conf_pedido_form.h"
#include "confirmation/decimal_cut.h"
#include "confirmation/mark_glyphs.h"
#include "library/velkora.h"
#include "text/format_float.h"
#include "text/format_mask.h"

using namespace fw;

namespace {

constexpr TColor kCellBackground = clInfoBk;
constexpr TColor kSelectedBackground = clHighlight;
constexpr TColor kSelectedText = clCaptionText;

struct TSituation {
  const char* Code;
  TColor Color;
  const char* Message;  // key of the text shown in the situation column
};

constexpr TSituation kOrderSituations[] = {
    {"1", clBlue, "PE"}, {"2", clOlive, "AN"}, {"6", clTeal, "PA"}};

constexpr TSituation kItemSituations[] = {
    {"1", clBlue, "PE"},   {"2", clOlive, "CF"}, {"3", clGreen, "AP"}, {"4", clPurple, "LQ"},
    {"5", clRed, "CN"},    {"6", clPurple, "LQ"}, {"7", clTeal, "PA"}};

template <size_t N>
const TSituation* SituationOf(const TSituation (&table)[N], const std::string& code) {
  for (const TSituation& s : table)
    if (code == s.Code) return &s;
  return nullptr;
}

// The situation's text colour; other codes keep the canvas's colour.
template <size_t N>
void SituationColor(TCanvas& canvas, const TSituation (&table)[N], const std::string& code) {
  if (const TSituation* s = SituationOf(table, code)) canvas.Font.Color = s->Color;
}

void Highlight(TCanvas& canvas, const TRect& rect, TGridDrawState state) {
  if (!(state & gdSelected)) return;
  canvas.Brush.Color = kSelectedBackground;
  canvas.FillRect(rect);
  canvas.Font.Color = kSelectedText;
}

bool IsField(const TColumn& column, TDataSet& dataSet, const char* name) {
  TField* field = dataSet.FindField(name);
  return field && column.Field() == field;
}

// The item grid's text of a cell and its distance from the cell's left.
struct TCellText {
  std::string Text;
  int Offset = 2;
};

TCellText ItemCellText(TCanvas& canvas, TColumn& column, TDataSet& items) {
  TField* field = column.Field();
  if (!field) return {};
  auto rightAligned = [&](std::string text) {
    int offset = column.Width() - (canvas.TextWidth(text) + 2);
    return TCellText{std::move(text), offset};
  };
  if (!field->IsNull()) {
    if (IsField(column, items, "CDARVPROD"))
      return {FormatMaskText(Velkora::DBPict(Velkora::ptProduto), field->AsString())};
    if (IsField(column, items, "QTITEMPED") || IsField(column, items, "QTITEMPED2"))
      return rightAligned(FormatFloat("######0.000", field->AsFloat()));
    if (IsField(column, items, "VrTotal"))
      return rightAligned(FormatFloat("###0.00", field->AsFloat()));
    if (IsField(column, items, "VRPREUNITPED"))
      return rightAligned(FormatFloat("###0.000", field->AsFloat()));
    if (IsField(column, items, "VRDESITPED"))
      return rightAligned(FormatFloat("###0.00", CortaCentavos(field->AsFloat())));
  }
  return {field->Text()};
}

}  // namespace

void TfrmConfPedido::dbgPadraoDrawColumnCell(TComponent&, const TRect& rect, int, TColumn& column,
                                             TGridDrawState state) {
  TCanvas& canvas = dbgPadrao->Canvas();
  const std::string situation = cdsPedido.FieldByName("IDSITPEDIDO").AsString();
  canvas.Brush.Color = kCellBackground;
  canvas.FillRect(rect);
  SituationColor(canvas, kOrderSituations, situation);
  Highlight(canvas, rect, state);

  const std::string& name = column.FieldName();
  TField* field = column.Field();
  const int x = rect.Left + 2, y = rect.Top + 2;
  if (name == "IDSITPEDIDO") {
    if (const TSituation* s = SituationOf(kOrderSituations, situation))
      canvas.TextOut(x, y, msgPadrao->Msg(s->Message));
  } else if (name == "IDTIPOPEDIDO") {
    if (field && field->AsString() == "1") canvas.TextOut(x, y, msgPadrao->Msg("PEDIDO"));
  } else if (field && (IsField(column, cdsPedido, "VRPBRUVOLPED") ||
                       IsField(column, cdsPedido, "VRPLIQVOLPED"))) {
    const std::string text = field->Text();
    canvas.TextOut(rect.Right - canvas.TextWidth(text) - 2, y, text);
  } else if (field) {
    canvas.TextOut(x, y, field->AsString());
  }
  if (state & gdFocused) canvas.DrawFocusRect(rect);
  if (name == "IDCHECK")
    DrawMarkGlyph(canvas, rect, situation, !cdsPedido.IsEmpty(),
                  cdsPedido.FieldByName("IDCHECK").AsString());
}

void TfrmConfPedido::dbgItemPedidoDrawColumnCell(TComponent&, const TRect& rect, int,
                                                 TColumn& column, TGridDrawState state) {
  TCanvas& canvas = dbgItemPedido->Canvas();
  const std::string situation = cdsItemPedido.FieldByName("IDSITITEMPED").AsString();
  canvas.Brush.Color = kCellBackground;
  canvas.FillRect(rect);
  SituationColor(canvas, kItemSituations, situation);
  Highlight(canvas, rect, state);

  if (column.FieldName() == "IDSITITEMPED") {
    if (const TSituation* s = SituationOf(kItemSituations, situation))
      canvas.TextOut(rect.Left + 2, rect.Top + 2, msgPadrao->Msg(s->Message));
  } else {
    TCellText cell = ItemCellText(canvas, column, cdsItemPedido);
    SituationColor(canvas, kItemSituations, situation);
    if (cdsItemPedido.FieldByName("IDITEMERRO").AsString() == "S") canvas.Font.Color = clRed;
    Highlight(canvas, rect, state);
    canvas.TextRect(rect, rect.Left + cell.Offset, rect.Top + 2, cell.Text);
  }
  if (state & gdFocused) canvas.DrawFocusRect(rect);
  if (column.FieldName() == "IDCHECK")
    DrawMarkGlyph(canvas, rect, situation, !cdsItemPedido.IsEmpty(),
                  cdsItemPedido.FieldByName("IDCHECK").AsString());
}

// The mark column: the glyph for the row's situation and mark, over a
// fill that erases whatever the cell showed; olive pixels take the cell's
// background.
void TfrmConfPedido::DrawMarkGlyph(TCanvas& canvas, const TRect& rect,
                                   const std::string& situation, bool rowsExist,
                                   const std::string& mark) {
  const TImage* glyph = nullptr;
  if (situation == "1") {
    if (mark == "N") glyph = imgUncheck;
    else if (mark == "S") glyph = imgCheck;
    else if (mark.empty()) glyph = imgDescheck;
  } else if (rowsExist) {
    glyph = imgDescheck;
  }
  canvas.FillRect(rect);
  if (!glyph) return;
  const TBitmap& picture = glyph->Picture();
  const TRect dest{rect.Left + 1, rect.Top, rect.Left + 1 + picture.Width(),
                   rect.Top + rect.Height()};
  canvas.BrushCopy(dest, picture, {0, 0, picture.Width(), rect.Height()}, kGlyphTransparent);
}
