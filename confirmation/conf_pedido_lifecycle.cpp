// The screen's life: creation, activation, closing, the connection's
// address, moving between pages by tab or menu, and the filter button.
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "filter/cli_zqv41801.h"
#include "library/consiste_controls.h"
#include "library/velkora.h"
#include "rpc/rpc_errors.h"
#include "shared/filtro.h"

using namespace fw;

void TfrmConfPedido::FormCreate(TComponent& sender) {
  TfrmPadraoGrid::FormCreate(sender);
  SetActiveControl(medCdFilial);  // the branch field holds the focus first
  // A server that cannot be reached now is reported by the first call,
  // which tries to connect again; the screen opens either way.
  try {
    netConPed.SetConnected(true);
  } catch (const EConnectionError&) {
  } catch (const EServerError&) {
  }
  boPrimeiraAtivacao = true;
  Cli_zqv41800::stCdFilial.clear();
  SelectPage(tshPadrao);
  IniciaFiltro(Filtro);
}

void TfrmConfPedido::netConPedBeforeConnect(TNetConnection& sender) {
  sender.Host = Velkora::WebURL();
  sender.Port = Velkora::WebPort();
  sender.Token = Velkora::WebToken();
}

void TfrmConfPedido::FormActivate(TComponent&) {
  Repaint();
  if (boPrimeiraAtivacao) {
    boPrimeiraAtivacao = false;
    Cli_zqv41800::boHabilitacao = true;
    SelectPage(tshPadrao);
    medCdFilial->SetText(Velkora::FiliProc());
    edtNmFilial->SetText(Velkora::NomeFiliProc());
    const bool fixed = Velkora::ModuFili();
    for (TControl* control : std::initializer_list<TControl*>{lblFilial, medCdFilial, btnFilial}) {
      control->SetEnabled(!fixed);
      control->Tag = fixed ? Consiste::kTagFixo : 0;
    }
    if (fixed) {
      dbgPadrao->SetFocus();
      medCdFilialExit(*medCdFilial);
    }
    dbgItemPedido->SetAlign(panComisPosEst->Visible() ? TAlign::alTop : TAlign::alClient);
  }
  cdsItemPedido.FieldByName("CDARVPROD").EditMask = Velkora::DBPict(Velkora::ptProduto);
}

void TfrmConfPedido::FormClose(TComponent& sender, TCloseAction& action) {
  TfrmPadraoGrid::FormClose(sender, action);
  Cli_zqv41800::boIdCriado = false;
  netConPed.SetConnected(false);
}

// Makes a page active from code (which runs no page change) with its menu
// item checked.
void TfrmConfPedido::SelectPage(TTabSheet* page) {
  pgcPadrao->SetActivePage(page);
  CheckPageMenu();
}

void TfrmConfPedido::CheckPageMenu() {
  const std::pair<TMenuItem*, TTabSheet*> items[] = {
      {mnuPedido, tshPadrao},         {mnuDadosGerais, tshDadosGerais},
      {mnuItemPedido, tshItemPedido}, {mnuFormaPgto, tshFormaPgto},
      {mnuTransport, tshTransport},   {mnuObservacao, tshObservacao}};
  for (auto [item, page] : items) item->SetChecked(pgcPadrao->ActivePage() == page);
}

void TfrmConfPedido::pgcPadraoChange(TComponent&) {
  cdsPedidoAfterScroll(cdsPedido);
  TTabSheet* page = pgcPadrao->ActivePage();
  if (page == tshPadrao) Cli_zqv41800::boHabilitacao = true;
  if (page == tshItemPedido) {
    Cli_zqv41800::boHabilitacao = false;
    dtsPadrao.SetDataSet(&cdsItemPedido);
  } else {
    dtsPadrao.SetDataSet(&cdsPedido);
  }
  CheckPageMenu();
}

namespace {

// A page menu item: shows its page unless it is already shown.
void ShowPage(TfrmConfPedido& screen, TTabSheet* page) {
  if (screen.pgcPadrao->ActivePage() == page) return;
  screen.pgcPadrao->SetActivePage(page);
  screen.pgcPadraoChange(*screen.pgcPadrao);
}

}  // namespace

void TfrmConfPedido::mnuPedidoClick(TComponent&) {
  ShowPage(*this, tshPadrao);
  dbgPadrao->SetFocus();
}
void TfrmConfPedido::mnuDadosGeraisClick(TComponent&) { ShowPage(*this, tshDadosGerais); }
void TfrmConfPedido::mnuItemPedidoClick(TComponent&) { ShowPage(*this, tshItemPedido); }
void TfrmConfPedido::mnuFormaPgtoClick(TComponent&) { ShowPage(*this, tshFormaPgto); }
void TfrmConfPedido::mnuTransportClick(TComponent&) { ShowPage(*this, tshTransport); }
void TfrmConfPedido::mnuObservacaoClick(TComponent&) { ShowPage(*this, tshObservacao); }

void TfrmConfPedido::sbtFiltroClick(TComponent&) {
  Cli_zqv41801::CriaFiltroConfPedido();
  Cli_zqv41800::inContPedidoCh = 0;
  Habilita();
}

void TfrmConfPedido::mnuFiltrarClick(TComponent&) { sbtFiltro->Click(); }
