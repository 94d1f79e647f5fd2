// The columns of the screen's grids: field, title, width (0 keeps the
// default width) and how the title and the column behave.
#include <span>

#include "confirmation/conf_pedido_form.h"

using namespace fw;

namespace {

enum : unsigned {
  kRightTitle = 1u << 0,  // title aligned to the right
  kReadOnly = 1u << 1,
  kMarkTitle = 1u << 2,  // the check-mark symbol, window-coloured (the all-switch)
};

struct TColumnSpec {
  const char* Field;
  const char* Title;
  int Width;
  unsigned Flags = 0;
};

constexpr TColumnSpec kPedidoColumns[] = {
    {"IDCHECK", "4", 17, kMarkTitle},
    {"IDSITPEDIDO", "Sit.", 24},
    {"NRPEDIDO", "Nº Pedido", 80},
    {"NMFANTCLIE", "Cliente", 231},
    {"DTPEDIDO", "Data Pedido", 66},
    {"DTENTPED", "Data Entrega", 70},
    {"IDTIPOPEDIDO", "Tipo de Pedido", 0},
    {"NMFANVEN", "Vendedor", 250},
    {"NMTIPOOPER", "Tipo de Operação", 111},
    {"VRPBRUVOLPED", "Peso Bruto", 0},
    {"VRPLIQVOLPED", "Peso Liquido", 0},
};

constexpr TColumnSpec kItemColumns[] = {
    {"IDCHECK", "4", 18, kMarkTitle},
    {"IDSITITEMPED", "Sit.", 21, kReadOnly},
    {"NRITEMPED", "Nº Item Pedido", 77, kReadOnly},
    {"CDARVPROD", "Produto", 79},
    {"NMPRODUTO", "Nome do Produto", 167},
    {"QTITEMPED", "Quantidade", 62, kRightTitle},
    {"SGUNIDADE", "Un.", 28, kReadOnly},
    {"SGFATPRECO", "Fator", 49},
    {"QTITEMPED2", "Qtde. Conv", 0, kRightTitle},
    {"SgUnidPai", "Un.", 25, kReadOnly},
    {"VRPREUNITPED", "Preço Unitário", 73, kRightTitle},
    {"VRDESITPED", "Vr. Desc.", 0, kRightTitle},
    {"VrTotal", "Valor Total", 69, kRightTitle},
    {"DTENTITPED", "Entrega", 65},
    {"IDITPEDDIFER", "Tipo", 70},
};

constexpr TColumnSpec kPosiEstoqColumns[] = {
    {"DSALMOXARIFE", "Almoxarifado", 95},
    {"DSLOCALESTOQ", "Localização", 95},
    {"NRLOTEESTQ", "Lote", 110},
    {"NRSUBLOTE", "Sub. Lote", 55},
    {"QTDISPONIVEL", "Qtde. Disponível", 86, kRightTitle},
    {"DTENTRLOTE", "Entrada do Lote", 110},
    {"DTVALILOTE", "Validade do Lote", 86},
    {"QTRESPRODPED", "Qtde. Reservada", 87, kRightTitle},
};

constexpr TColumnSpec kPrazoColumns[] = {
    {"NRDIASPGTOPED", "Prazo (dias)", 61},
    {"PREVISAO", "Previsão", 94},
    {"VRPERCPGTOPED", "Percentual (%)", 78, kRightTitle},
};

void Declare(TDBGrid& grid, std::span<const TColumnSpec> specs) {
  for (const TColumnSpec& decl : specs) {
    TColumn& column = grid.Columns().Add();
    column.SetFieldName(decl.Field);
    column.Title().SetCaption(decl.Title);
    if (decl.Width > 0) column.SetWidth(decl.Width);
    if (decl.Flags & kRightTitle) column.Title().SetAlignment(TAlignment::taRightJustify);
    if (decl.Flags & kReadOnly) column.SetReadOnly(true);
    if (decl.Flags & kMarkTitle) {
      TFont symbol = column.Title().Font();
      symbol.Name = "Monotype Sorts";
      symbol.Color = clWindow;
      column.Title().SetFont(symbol);
    }
  }
}

}  // namespace

void TfrmConfPedido::ComposeColumns() {
  Declare(*dbgPadrao, kPedidoColumns);
  Declare(*dbgItemPedido, kItemColumns);
  Declare(*dbgPosiEstoq, kPosiEstoqColumns);
  Declare(*dbgPrazoPg, kPrazoColumns);
}
