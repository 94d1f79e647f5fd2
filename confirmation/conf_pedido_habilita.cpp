// Habilita: the one routine that decides, after every change of the order
// list or of the marks, which pages, commands, menu items and branch
// controls are usable.
//
// Order mode (the "Pedidos" page governs, counter inContPedidoCh) or item
// mode (the "Itens do Pedido" page governs, counter inContItemPedidoCh);
// the other pages keep the mode they were entered from. While marks are
// pending the confirm and cancel commands are on and everything that
// would lose the marks (the other list page, the record pair, the filter,
// the branch) is off.
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "library/consiste_controls.h"

using namespace fw;

bool TfrmConfPedido::FocusInBranchField() const {
  return medCdFilial->Focused() && !leavingBranch_;
}

void TfrmConfPedido::Habilita() {
  const bool orders = !cdsPedido.IsEmpty();
  if (!orders) {
    pgcPadrao->SetActivePage(tshPadrao);
    pgcPadraoChange(*pgcPadrao);
  }
  if (pgcPadrao->ActivePage() == tshPadrao) Cli_zqv41800::boHabilitacao = true;
  if (pgcPadrao->ActivePage() == tshItemPedido) Cli_zqv41800::boHabilitacao = false;

  const bool orderMode = Cli_zqv41800::boHabilitacao;
  const int marks = orderMode ? Cli_zqv41800::inContPedidoCh : Cli_zqv41800::inContItemPedidoCh;
  const bool recordPair = orders && marks == 0;
  const bool markActions = orders && marks > 0;
  if (orderMode) {
    tshPadrao->SetEnabled(true);
    tshItemPedido->SetEnabled(recordPair);
  } else {
    tshPadrao->SetEnabled(marks == 0);
    tshItemPedido->SetEnabled(orders);
  }
  for (TSpeedButton* button : {sbtAlterar, sbtProcurar}) button->SetEnabled(recordPair);
  for (TSpeedButton* button : {sbtConfirmar, sbtCancelar}) button->SetEnabled(markActions);

  sbtFiltro->SetEnabled(!FocusInBranchField() && !markActions);
  for (TTabSheet* page : {tshDadosGerais, tshFormaPgto, tshTransport, tshObservacao})
    page->SetEnabled(orders);

  const std::pair<TMenuItem*, TControl*> twins[] = {
      {mnuAlterar, sbtAlterar},         {mnuProcurar, sbtProcurar},
      {mnuConfirmar, sbtConfirmar},     {mnuCancelar, sbtCancelar},
      {mnuFiltrar, sbtFiltro},          {mnuPedido, tshPadrao},
      {mnuDadosGerais, tshDadosGerais}, {mnuItemPedido, tshItemPedido},
      {mnuFormaPgto, tshFormaPgto},     {mnuTransport, tshTransport},
      {mnuObservacao, tshObservacao}};
  for (auto [item, control] : twins) item->SetEnabled(control->Enabled());

  dbnPadrao->SetEnabled(tshPadrao->Enabled());
  Consiste::SetChildEnabled(*panFilial, !markActions || FocusInBranchField());
  Repaint();
}
