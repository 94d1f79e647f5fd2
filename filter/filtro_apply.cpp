// The confirm command of the filter dialog: validate the
// dialog, rebuild Filtro from its controls, load the confirmation screen's
// order list with it, close.
//
// Outcomes (the handler ends at the first error):
//   a validator refuses: its message and focus; Filtro and the
//     screen's orders unchanged; the interval edits already in fixed width
//     (unless a date was refused before that); qryFilial left open if this
//     handler opened it;
//   the permission request fails: only Filtro.Vendedor.boTodos
//     changed; the error passes on (the host reports it);
//   the order-list request fails: Filtro rebuilt, the orders
//     unchanged, qryFilial closed again; the error passes on;
//   success: the orders of the new filter loaded, the dialog closed (its
//     close handler releases it; the screen's filter command then resets
//     its mark count and runs Habilita).
// Both server calls show the busy indicator and hide it however they end.
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "filter/cli_zqv41801.h"
#include "filter/filtro_conf_pedido_form.h"
#include "library/consiste.h"
#include "library/showavi.h"
#include "library/velkora.h"
#include "remote/rdm_conf_pedido.h"
#include "shared/filtro.h"

using namespace fw;

namespace {

constexpr int kLoading = 6;  // the busy indicator's "loading" kind

// A "Todos"/"Lista" criterion: the flag, and the list only while "Lista"
// is chosen.
template <class Criterion>
void ListCriterion(Criterion& criterion, const TRadioButton& todos, const TRadioButton& lista,
                   const std::string& selection) {
  criterion.boTodos = todos.Checked();
  if (lista.Checked()) {
    criterion.stLista = selection;
    criterion.stTodos.clear();
  } else {
    criterion.stLista.clear();
    criterion.stTodos = "T";
  }
}

// A date range: the two dates (0 for an empty edit), "T" unless both are
// given.
template <class Range>
void DateRange(Range& range, const TDateEditPlus& de, const TDateEditPlus& ate) {
  range.dtDe = de.GetDate();
  range.dtAte = ate.GetDate();
  range.stTodos = de.IsEmpty() || ate.IsEmpty() ? "T" : "";
}

// The codes of the checked boxes, in the order given.
std::string Codes(std::initializer_list<std::pair<const TCheckBox*, const char*>> boxes) {
  std::string codes;
  for (const auto& [box, code] : boxes)
    if (box->Checked()) codes += code;
  return codes;
}

}  // namespace

void TfrmFiltroConfPedido::sbtConfirmaClick(TComponent&) {
  TfrmConfPedido& tela = Tela();
  // No date edit may hold a text that is no date, or a date not after
  // 30/12/1899.
  for (TDateEditPlus* edit : {depDeEmissao, depAteEmissao, depDeEntrega, depAteEntrega})
    ValidaDataZ(*edit);
  // The screen's branch query is open while the filter is built.
  const bool openedFilial = !tela.qryFilial.Active();
  if (openedFilial) tela.qryFilial.Open();
  // The interval numbers in fixed width, whatever the order-number choice.
  medDeIntervalo->SetText(Consiste::Ajusta(medDeIntervalo->Text(), 10));
  medAteIntervalo->SetText(Consiste::Ajusta(medAteIntervalo->Text(), 10));
  // Every rule of the dialog.
  ValidateAll();
  // The first write to Filtro.
  Filtro.Vendedor.boTodos = rbtTVendedor->Checked();
  // The operator's order-type permissions (as the activation asks them).
  RequestOperTPed();
  // The record from the controls.
  BuildFiltro();
  // Closed again if it was opened here.
  if (openedFilial) tela.qryFilial.Close();
  // The screen's order list under the new filter.
  LoadOrders();
  // Confirmed: the modal result is OK, as the base dialog's confirm
  // leaves it.
  SetModalResult(mrOk);
  Close();
}

// The dates (the group the operator works in first), the
// interval when chosen, the statuses, the lists, the priorities.
void TfrmFiltroConfPedido::ValidateAll() {
  ValidateDates();
  if (rbtIntervalo->Checked()) {
    Vd_DeIntervalo();
    Vd_AteIntervalo();
    Vd_Intervalo();
    Vd_Intervalo2();
  }
  Vd_StatusPedido();
  Vd_StatusItemPedido();
  Vd_Lista();
  Vd_Prioridade();
}

// The delivery group comes first while one of its edits has the
// focus (the confirm button does not take it), so the message is about
// the group the operator is working in; both groups are always checked.
void TfrmFiltroConfPedido::ValidateDates() {
  auto emissao = [this] {
    Vd_DeEmissaoInv();
    Vd_AteEmissaoInv();
    Vd_DeEmissao();
    Vd_AteEmissao();
    Vd_Emissao();
  };
  auto entrega = [this] {
    Vd_DeEntregaInv();
    Vd_AteEntregaInv();
    Vd_DeEntrega();
    Vd_AteEntrega();
    Vd_Entrega();
  };
  if (depDeEntrega->Focused() || depAteEntrega->Focused()) {
    entrega();
    emissao();
  } else {
    emissao();
    entrega();
  }
}

// Every criterion of Filtro from the controls, in the record's order.
void TfrmFiltroConfPedido::BuildFiltro() {
  namespace U = Cli_zqv41801;
  BuildSalesperson();
  ListCriterion(Filtro.VendComis, *rbtTVendComis, *rbtLVendComis, U::stVendComis);
  ListCriterion(Filtro.Cliente, *rbtTCliente, *rbtLCliente, U::stCliente);
  ListCriterion(Filtro.MuniciCli, *rbtTMuniciCli, *rbtLMuniciCli, U::stMuniciCli);
  ListCriterion(Filtro.Produto, *rbtTProduto, *rbtLProduto, U::stProduto);
  ListCriterion(Filtro.TipoOper, *rbtTTpOper, *rbtLTpOper, U::stTipoOper);

  TPrio& prio = Filtro.Prio;
  prio.boBaixa = chbBaixa->Checked();
  prio.boNormal = chbNormal->Checked();
  prio.boAlta = chbAlta->Checked();
  prio.boUrgente = chbUrgente->Checked();
  prio.boPrioritaria = chbPrioritaria->Checked();
  prio.stCodigos = Codes(
      {{chbBaixa, "4"}, {chbNormal, "3"}, {chbAlta, "2"}, {chbUrgente, "1"}, {chbPrioritaria, "0"}});

  TStatPed& statPed = Filtro.StatPed;
  statPed.boPendente = chbPPendente->Checked();
  statPed.boAndamento = chbPAndamento->Checked();
  statPed.boParcial = chbPParcialmente->Checked();
  statPed.stCodigos = Codes({{chbPPendente, "1"}, {chbPAndamento, "2"}, {chbPParcialmente, "6"}});

  TStatIPed& statIPed = Filtro.StatIPed;
  statIPed.boPendente = chbIPendente->Checked();
  statIPed.boConfirmado = chbIConfirmado->Checked();
  statIPed.boAprovado = chbIAprovado->Checked();
  statIPed.boLiquidado = chbILiquidado->Checked();
  statIPed.boCancelado = chbICancelado->Checked();
  statIPed.boParcial = chbIParcialmente->Checked();
  statIPed.stCodigos = Codes({{chbIPendente, "1"}, {chbIConfirmado, "2"}, {chbIAprovado, "3"},
                              {chbILiquidado, "46"}, {chbICancelado, "5"}, {chbIParcialmente, "7"}});

  DateRange(Filtro.Emissao, *depDeEmissao, *depAteEmissao);
  DateRange(Filtro.Entrega, *depDeEntrega, *depAteEntrega);

  TNrPedido& nr = Filtro.NrPedido;
  nr.boIntervalo = rbtIntervalo->Checked();
  nr.boLista = rbtLNrPedido->Checked();
  nr.stDe = medDeIntervalo->Text();
  nr.stAte = medAteIntervalo->Text();
  if (rbtIntervalo->Checked()) {
    nr.stTodos.clear();
    nr.stLista.clear();
  } else if (rbtLNrPedido->Checked()) {
    nr.stTodos.clear();
    nr.stLista = U::stNrPedido;
  } else {
    nr.stTodos = "T";
    nr.stLista.clear();
  }
}

// Where the branch restricts operators (IDEXIBPEDIDO "2"), one with
// order-type permissions sees every salesperson's orders; otherwise the
// operator's own salesperson goes along with the chosen salespeople.
void TfrmFiltroConfPedido::BuildSalesperson() {
  TVendedor& vendedor = Filtro.Vendedor;
  const bool lifted =
      Tela().cdsParamPedido.FieldByName("IDEXIBPEDIDO").AsString() == "2" && !cdsOperTPed.IsEmpty();
  if (lifted) {
    vendedor.stLista.clear();
    vendedor.stTodos = "T";
    vendedor.stVendLog.clear();
  } else {
    if (rbtLVendedor->Checked()) {
      vendedor.stLista = Cli_zqv41801::stVendedor;
      vendedor.stTodos.clear();
    } else {
      vendedor.stLista.clear();
      vendedor.stTodos = "T";
    }
    // The activation opens qryVendLog after its own permission request;
    // when that request failed the query is still closed, and the
    // operator's salesperson must not be lost for it.
    if (!qryVendLog.Active()) {
      qryVendLog.ParamByName("P_CDOPERADOR").SetAsString(Velkora::Operador());
      qryVendLog.Open();
    }
    vendedor.stVendLog = qryVendLog.FieldByName("CDVENDEDOR").AsString();
  }
  vendedor.stTodosVendLog = "T";
}

// The order list of the screen's branch under the new filter,
// loaded as it comes.
void TfrmFiltroConfPedido::LoadOrders() {
  TfrmConfPedido& tela = Tela();
  Showavi::TShowAviScope busy(kLoading);
  tela.cdsPedido.SetData(
      TRdmConfPedido(tela.netConPed).GetPedido(Filtro, tela.medCdFilial->Text(), Velkora::Operador()));
}
