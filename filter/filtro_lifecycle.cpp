// The filter dialog's life: creation, activation (the controls and list
// strings loaded from Filtro, then the operator's and the branch's
// restrictions), closing, the "Todos"/"Intervalo"/"Lista" toggles, F9 and
// Ctrl+D, "Desfazer" and the saved options.
//
// The interval edits' change handlers check "Intervalo" whenever a number
// is put into them (by the operator or by the activation); clearing them
// checks nothing. The order-number toggles still end by checking their
// own radio button, which leaves the group as the toggle means it.
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "filter/cli_zqv41801.h"
#include "filter/filtro_conf_pedido_form.h"
#include "library/consiste_controls.h"
#include "library/showavi.h"
#include "library/velkora.h"
#include "remote/rdm_conf_pedido.h"
#include "rpc/key_list.h"
#include "shared/filtro.h"

using namespace fw;

namespace {

constexpr TKey kTeclaD = 68;

// A "Todos"/"Lista" group loaded from its criterion: the list string, then
// "Todos" as the criterion had it, else "Lista" with its search button.
void LoadListGroup(TRadioButton& todos, TRadioButton& lista, TButtonFlat& pesquisa,
                   std::string& global, bool boTodos, const std::string& stLista) {
  global = stLista;
  todos.SetChecked(boTodos);
  if (!todos.Checked()) {
    lista.SetChecked(true);
    pesquisa.SetEnabled(true);
  }
}

// The seven list strings with the names the saved options use, in the
// order they are saved and loaded.
struct TListaSalva {
  const char* Nome;
  std::string* Global;
};

const TListaSalva kListasSalvas[] = {
    {"stNrPedido", &Cli_zqv41801::stNrPedido},   {"stCliente", &Cli_zqv41801::stCliente},
    {"stMuniciCli", &Cli_zqv41801::stMuniciCli}, {"stProduto", &Cli_zqv41801::stProduto},
    {"stVendedor", &Cli_zqv41801::stVendedor},   {"stVendComis", &Cli_zqv41801::stVendComis},
    {"stTipoOper", &Cli_zqv41801::stTipoOper}};

// Text of one of the branch's order parameters on the confirmation screen.
std::string ParamPedido(const char* field) {
  return TfrmFiltroConfPedido::Tela().cdsParamPedido.FieldByName(field).AsString();
}

}  // namespace

// ---------------------------------------------------------------------------
// Creation, activation, closing

void TfrmFiltroConfPedido::FormCreate(TComponent& sender) {
  TfrmFiltroPadrao::FormCreate(sender);
  for (TDateEditPlus* edit : {depDeEmissao, depAteEmissao, depDeEntrega, depAteEntrega})
    edit->Clear();
}

void TfrmFiltroConfPedido::FormActivate(TComponent&) {
  Repaint();
  LoadFromFiltro();
  // Opened without the confirmation screen (the host may call the
  // exported CriaFiltroConfPedido on its own) there is no branch to ask
  // the permissions for and no order parameters: the dialog shows Filtro
  // as it is. Nothing chosen then reaches an order list: the screen sets
  // Filtro afresh when it is created.
  if (!Cli_zqv41800::boIdCriado) return;
  RequestOperTPed();
  ApplyRestrictions();
}

// Activation, first part: the controls and list strings from Filtro.
void TfrmFiltroConfPedido::LoadFromFiltro() {
  namespace U = Cli_zqv41801;
  const TNrPedido& nr = Filtro.NrPedido;
  medDeIntervalo->SetText(nr.stDe);  // a text checks "Intervalo" (change handler)
  medAteIntervalo->SetText(nr.stAte);
  U::stNrPedido = nr.stLista;
  rbtIntervalo->SetChecked(nr.boIntervalo);
  rbtLNrPedido->SetChecked(nr.boLista);
  if (!nr.boIntervalo && !nr.boLista) rbtTNrPedido->SetChecked(true);

  chbBaixa->SetChecked(Filtro.Prio.boBaixa);
  chbNormal->SetChecked(Filtro.Prio.boNormal);
  chbAlta->SetChecked(Filtro.Prio.boAlta);
  chbUrgente->SetChecked(Filtro.Prio.boUrgente);
  chbPrioritaria->SetChecked(Filtro.Prio.boPrioritaria);
  chbPPendente->SetChecked(Filtro.StatPed.boPendente);
  chbPAndamento->SetChecked(Filtro.StatPed.boAndamento);
  chbPParcialmente->SetChecked(Filtro.StatPed.boParcial);
  chbIPendente->SetChecked(Filtro.StatIPed.boPendente);
  chbIConfirmado->SetChecked(Filtro.StatIPed.boConfirmado);
  chbIAprovado->SetChecked(Filtro.StatIPed.boAprovado);
  chbILiquidado->SetChecked(Filtro.StatIPed.boLiquidado);
  chbICancelado->SetChecked(Filtro.StatIPed.boCancelado);
  chbIParcialmente->SetChecked(Filtro.StatIPed.boParcial);

  LoadListGroup(*rbtTProduto, *rbtLProduto, *sbtProduto, U::stProduto, Filtro.Produto.boTodos,
                Filtro.Produto.stLista);
  LoadListGroup(*rbtTVendedor, *rbtLVendedor, *sbtVendedor, U::stVendedor, Filtro.Vendedor.boTodos,
                Filtro.Vendedor.stLista);
  LoadListGroup(*rbtTVendComis, *rbtLVendComis, *sbtVendComis, U::stVendComis,
                Filtro.VendComis.boTodos, Filtro.VendComis.stLista);
  LoadListGroup(*rbtTCliente, *rbtLCliente, *sbtCliente, U::stCliente, Filtro.Cliente.boTodos,
                Filtro.Cliente.stLista);
  LoadListGroup(*rbtTTpOper, *rbtLTpOper, *sbtTpOper, U::stTipoOper, Filtro.TipoOper.boTodos,
                Filtro.TipoOper.stLista);

  depDeEntrega->SetDate(Filtro.Entrega.dtDe);
  depAteEntrega->SetDate(Filtro.Entrega.dtAte);
  depDeEmissao->SetDate(Filtro.Emissao.dtDe);
  depAteEmissao->SetDate(Filtro.Emissao.dtAte);

  LoadListGroup(*rbtTMuniciCli, *rbtLMuniciCli, *sbtMuniciCli, U::stMuniciCli,
                Filtro.MuniciCli.boTodos, Filtro.MuniciCli.stLista);
}

// Activation, second part: the operator's order-type permissions in the branch
// typed on the confirmation screen, under the busy indicator (hidden
// however the request ends; an error passes on and ends the activation).
void TfrmFiltroConfPedido::RequestOperTPed() {
  TfrmConfPedido& tela = Tela();
  Showavi::TShowAviScope busy(6);
  cdsOperTPed.SetData(
      TRdmConfPedido(tela.netConPed).getOperTPed(tela.medCdFilial->Text(), Velkora::Operador()));
}

// Activation, last part: the operator's salesperson, the salesperson
// restriction, the operation-type group.
void TfrmFiltroConfPedido::ApplyRestrictions() {
  qryVendLog.Close();
  qryVendLog.ParamByName("P_CDOPERADOR").SetAsString(Velkora::Operador());
  qryVendLog.Open();

  // Without order-type permissions where the branch asks for it, the
  // operator sees only his own salesperson's orders, and cannot change it.
  // The salesperson list holds that code as a key list of one key, the
  // form every list string has (a bare code is not a key list, and the
  // server would refuse the order list built from it).
  if (ParamPedido("IDEXIBPEDIDO") == "2" && cdsOperTPed.IsEmpty()) {
    rbtLVendedor->SetChecked(true);
    const std::string proprio = qryVendLog.FieldByName("CDVENDEDOR").AsString();
    Cli_zqv41801::stVendedor = proprio.empty() ? "" : JoinKeyList({proprio});
    grbVendedor->SetEnabled(false);
    Consiste::SetChildEnabled(*grbVendedor, false);
  }

  const bool tipoOper = ParamPedido("IDOBRTPOPPED") == "S";
  grbTipoOper->SetVisible(tipoOper);
  grbTipoOper->SetEnabled(tipoOper);
  if (tipoOper) {
    grbPrioridade->SetHeight(90);
    Cli_zqv41801::stTipoOper = Filtro.TipoOper.stLista;
    rbtTTpOper->SetChecked(Filtro.TipoOper.boTodos);
    rbtLTpOper->SetChecked(!Filtro.TipoOper.boTodos);
  } else {
    grbPrioridade->SetHeight(143);  // the priorities take the hidden group's place
  }
}

void TfrmFiltroConfPedido::FormClose(TComponent& sender, TCloseAction& action) {
  TfrmFiltroPadrao::FormClose(sender, action);
  Cli_zqv41801::boIdCriado = false;
  Cli_zqv41801::boNrPedidoCarregado = false;
}

// ---------------------------------------------------------------------------
// Keys

void TfrmFiltroConfPedido::FormKeyDown(TComponent& sender, TKey& key, TShiftState shift) {
  TfrmFiltroPadrao::FormKeyDown(sender, key, shift);
  if (key == kTeclaD && (shift & ssCtrl)) sbtLimpa->Click();
}

void TfrmFiltroConfPedido::rbtLNrPedidoKeyDown(TComponent&, TKey& key, TShiftState) {
  if (key == VK_F9) sbtNrPedidoClick(*sbtNrPedido);
}

void TfrmFiltroConfPedido::rbtLVendedorKeyDown(TComponent&, TKey& key, TShiftState) {
  if (key == VK_F9) sbtVendedorClick(*sbtVendedor);
}

void TfrmFiltroConfPedido::rbtLClienteKeyDown(TComponent&, TKey& key, TShiftState) {
  if (key == VK_F9) sbtClienteClick(*sbtCliente);
}

void TfrmFiltroConfPedido::rbtLProdutoKeyDown(TComponent&, TKey& key, TShiftState) {
  if (key == VK_F9) sbtProdutoClick(*sbtProduto);
}

void TfrmFiltroConfPedido::rbtLMuniciCliKeyDown(TComponent&, TKey& key, TShiftState) {
  if (key == VK_F9) sbtMuniciCliClick(*sbtMuniciCli);
}

void TfrmFiltroConfPedido::rbtLTpOperKeyDown(TComponent&, TKey& key, TShiftState) {
  if (key == VK_F9) sbtTpOperClick(*sbtTpOper);
}

void TfrmFiltroConfPedido::rbtLVendComisKeyDown(TComponent&, TKey& key, TShiftState) {
  if (key == VK_F9) sbtVendComisClick(*sbtVendComis);
}

// ---------------------------------------------------------------------------
// "Desfazer": the controls and list strings back to the dialog's defaults
// (Filtro keeps its values; the salesperson restriction stays).

void TfrmFiltroConfPedido::sbtLimpaClick(TComponent&) {
  for (const TListaSalva& lista : kListasSalvas) lista.Global->clear();
  rbtIntervalo->SetChecked(false);
  rbtLNrPedido->SetChecked(false);
  medDeIntervalo->Clear();
  medAteIntervalo->Clear();
  SetIntervalEnabled(false);
  sbtNrPedido->SetEnabled(false);
  rbtTNrPedido->SetChecked(true);
  for (TCheckBox* box : {chbBaixa, chbNormal, chbAlta, chbUrgente, chbPrioritaria})
    box->SetChecked(true);
  rbtTTpOper->SetChecked(true);
  chbPPendente->SetChecked(true);
  chbPAndamento->SetChecked(false);
  chbPParcialmente->SetChecked(true);
  for (TCheckBox* box :
       {chbIPendente, chbIConfirmado, chbIAprovado, chbILiquidado, chbICancelado, chbIParcialmente})
    box->SetChecked(true);
  for (TRadioButton* todos : {rbtTVendedor, rbtTCliente, rbtTProduto, rbtTMuniciCli, rbtTVendComis})
    todos->SetChecked(true);
  for (TDateEditPlus* edit : {depDeEmissao, depAteEmissao, depDeEntrega, depAteEntrega})
    edit->Clear();
}

// ---------------------------------------------------------------------------
// Toggles

void TfrmFiltroConfPedido::ClearInterval() {
  medDeIntervalo->Clear();
  medAteIntervalo->Clear();
  medDeIntervalo->SetColor(clWindow);
  medAteIntervalo->SetColor(clWindow);
}

void TfrmFiltroConfPedido::SetIntervalEnabled(bool enabled) {
  for (TControl* control : std::initializer_list<TControl*>{medDeIntervalo, medAteIntervalo,
                                                            lblDeNrPedido, lblAteNrPedido})
    control->SetEnabled(enabled);
}

void TfrmFiltroConfPedido::rbtTNrPedidoClick(TComponent&) {
  ClearInterval();
  sbtNrPedido->SetEnabled(false);
  SetIntervalEnabled(false);
  rbtTNrPedido->SetChecked(true);
}

void TfrmFiltroConfPedido::rbtIntervaloClick(TComponent&) {
  const bool intervalo = rbtIntervalo->Checked();
  sbtNrPedido->SetEnabled(!intervalo);
  SetIntervalEnabled(intervalo);
  medDeIntervalo->SetFocus();
  medDeIntervalo->SetColor(clInfoBk);
  medAteIntervalo->SetColor(clInfoBk);
}

void TfrmFiltroConfPedido::rbtLNrPedidoClick(TComponent&) {
  ClearInterval();
  const bool lista = rbtLNrPedido->Checked();
  sbtNrPedido->SetEnabled(lista);
  SetIntervalEnabled(!lista);
  rbtLNrPedido->SetChecked(true);
}

void TfrmFiltroConfPedido::rbtTVendedorClick(TComponent&) {
  sbtVendedor->SetEnabled(!rbtTVendedor->Checked());
}

void TfrmFiltroConfPedido::rbtLVendedorClick(TComponent&) {
  sbtVendedor->SetEnabled(rbtLVendedor->Checked());
}

void TfrmFiltroConfPedido::rbtTClienteClick(TComponent&) {
  sbtCliente->SetEnabled(!rbtTCliente->Checked());
}

void TfrmFiltroConfPedido::rbtLClienteClick(TComponent&) {
  sbtCliente->SetEnabled(rbtLCliente->Checked());
}

void TfrmFiltroConfPedido::rbtTProdutoClick(TComponent&) {
  sbtProduto->SetEnabled(!rbtTProduto->Checked());
}

void TfrmFiltroConfPedido::rbtLProdutoClick(TComponent&) {
  sbtProduto->SetEnabled(rbtLProduto->Checked());
}

void TfrmFiltroConfPedido::rbtTVendComisClick(TComponent&) {
  sbtVendComis->SetEnabled(!rbtTVendComis->Checked());
}

void TfrmFiltroConfPedido::rbtLVendComisClick(TComponent&) {
  sbtVendComis->SetEnabled(rbtLVendComis->Checked());
}

void TfrmFiltroConfPedido::rbtTMuniciCliClick(TComponent&) {
  sbtMuniciCli->SetEnabled(rbtLMuniciCli->Checked());
}

void TfrmFiltroConfPedido::rbtLMuniciCliClick(TComponent&) {
  sbtMuniciCli->SetEnabled(rbtLMuniciCli->Checked());
}

// The only "Todos" that forgets the picked list.
void TfrmFiltroConfPedido::rbtTTpOperClick(TComponent&) {
  sbtTpOper->SetEnabled(rbtLTpOper->Checked());
  Cli_zqv41801::stTipoOper.clear();
}

void TfrmFiltroConfPedido::rbtLTpOperClick(TComponent&) {
  sbtTpOper->SetEnabled(rbtLTpOper->Checked());
}

// ---------------------------------------------------------------------------
// Saved options: the seven list strings besides what the base dialog keeps.

void TfrmFiltroConfPedido::btfSaveOpcClick(TComponent& sender) {
  for (const TListaSalva& lista : kListasSalvas) Opcoes.SetValue(lista.Nome, *lista.Global);
  TfrmFiltroPadrao::btfSaveOpcClick(sender);
}

// Every list string must be a key list before any is taken: a file edited
// by hand loads whole or not at all.
void TfrmFiltroConfPedido::btfLoadOpcClick(TComponent& sender) {
  Velkora::TOptionList before = Opcoes;
  TfrmFiltroPadrao::btfLoadOpcClick(sender);  // raises EOptionsUnreadable, loading nothing
  for (const TListaSalva& lista : kListasSalvas) {
    try {
      fw::SplitKeyList(Opcoes.Value(lista.Nome));
    } catch (const fw::EConvertError&) {
      Opcoes = before;
      throw Velkora::EOptionsUnreadable();
    }
  }
  for (const TListaSalva& lista : kListasSalvas) *lista.Global = Opcoes.Value(lista.Nome);
}
