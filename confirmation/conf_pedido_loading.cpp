// Filling the screen: the reload command, the order scroll (the controls
// of the current order and the detail of the page shown) and the item
// scroll (stock positions, stock unit, totals). Every fetch shows the busy
// indicator and hides it again, also when the fetch fails; a failure
// passes on with the datasets as they were.
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "forms/application.h"
#include "library/consiste.h"
#include "library/showavi.h"
#include "library/velkora.h"
#include "remote/rdm_conf_pedido.h"
#include "shared/filtro.h"

using namespace fw;

namespace {

constexpr int kLoading = 6;  // the busy indicator's "loading" kind

std::string Text(const TDataSet& dataSet, const char* field) {
  return dataSet.FieldByName(field).AsString();
}

// A text literal of a filter expression.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

void TfrmConfPedido::sbtVerificarClick(TComponent&) {
  // Orders are listed only for the branch in use, the one validated with
  // the operator's checks passed. A code still being typed is validated by
  // leaving the field; a fixed branch whose checks failed at activation is
  // checked again (both end in the filter dialog, which loads the list).
  if (FocusInBranchField()) {
    dbgPadrao->SetFocus();
    return;
  }
  if (medCdFilial->Text() != Cli_zqv41800::stCdFilial) {
    medCdFilialExit(*medCdFilial);
    return;
  }
  {
    Showavi::TShowAviScope busy(kLoading);
    if (pgcPadrao->ActivePage() == tshItemPedido) {
      LoadItems();
    } else {
      TRdmConfPedido rdm(netConPed);
      cdsPedido.SetData(rdm.GetPedido(Filtro, medCdFilial->Text(), Velkora::Operador()));
      Cli_zqv41800::inContPedidoCh = 0;
    }
  }
  Habilita();
}

// Loads the items of the current order (the item scroll runs on the first).
void TfrmConfPedido::LoadItems() {
  TRdmConfPedido rdm(netConPed);
  TDataPacket items =
      rdm.GetItemPedido(Text(cdsPedido, "CDFILIAL"), Text(cdsPedido, "NRPEDIDO"), Filtro);
  units_.clear();
  cdsItemPedido.SetData(std::move(items));
  Cli_zqv41800::inContItemPedidoCh = 0;
  if (cdsItemPedido.IsEmpty()) {
    // Nothing of another order's items may stay on show.
    cdsPosiEstoq.Close();
    nedTotal->SetValue(0);
    nedTotLiq->SetValue(0);
  }
}

void TfrmConfPedido::cdsPedidoAfterScroll(TDataSet&) {
  ShowOrderControls();
  TTabSheet* page = pgcPadrao->ActivePage();
  if (page == tshItemPedido && !sbtCancelar->Enabled()) {
    Showavi::TShowAviScope busy(kLoading);
    LoadItems();
  }
  TRdmConfPedido rdm(netConPed);
  if (page == tshFormaPgto) {
    Showavi::TShowAviScope busy(kLoading);
    cdsPrazoPgto.SetData(rdm.GetPrazoPgto(Text(cdsPedido, "CDFILIAL"), Text(cdsPedido, "NRPEDIDO")));
  }
  if (page == tshObservacao) {
    Showavi::TShowAviScope busy(kLoading);
    cdsObser.SetData(rdm.GetObser(Text(cdsPedido, "CDFILIAL"), Text(cdsPedido, "NRPEDIDO")));
  }
}

// The current order's caption colour, carrier, freight and payment.
void TfrmConfPedido::ShowOrderControls() {
  const std::string situation = Text(cdsPedido, "IDSITPEDIDO");
  TFont caption = dbtNome->Font();
  if (situation == "1") caption.Color = clBlue;
  else if (situation == "2") caption.Color = clOlive;
  else if (situation == "6") caption.Color = clTeal;
  dbtNome->SetFont(caption);

  edtTransp->SetText(Text(cdsPedido, "NMFANTTRAN"));
  edtNmTransp->SetText(Text(cdsPedido, "NMTIPTRANS"));
  const TField& freight = cdsPedido.FieldByName("IDPGFRETTRAN");
  if (freight.IsNull() || freight.AsString() == "9") {
    dbcTipo->SetItemIndex(3);
  } else {
    // Codes "0", "1" and "2" are the entries of the same number; any other
    // code selects nothing.
    const std::string code = freight.AsString();
    const bool entry = code.size() == 1 && code[0] >= '0' && code[0] <= '2';
    dbcTipo->SetItemIndex(entry ? code[0] - '0' : -1);
  }
  edtModPgto->SetText(Text(cdsPedido, "DSMODPGTO"));
  edtFormPgto->SetText(Text(cdsPedido, "NMFORMPGTO"));
  speDiaFixo->SetText(Text(cdsPedido, "NRDIAPGFIXPED"));
  speParcela->SetText(Text(cdsPedido, "NRPARCPGTOPED"));
  const std::string kind = Text(cdsPedido, "IDTPFORPGTPED");
  dbgPrazoPg->SetVisible(!Consiste::EmptyString(kind) && kind != "F");
}

void TfrmConfPedido::cdsItemPedidoAfterScroll(TDataSet&) {
  const std::string cdProdEsto = Text(cdsItemPedido, "CDPRODESTO");
  {
    Showavi::TShowAviScope busy(kLoading);
    cdsPosiEstoq.SetData(TRdmConfPedido(netConPed).GetPosiEstoq(
        Text(cdsItemPedido, "CDFILIAL"), Text(cdsItemPedido, "NRPEDIDO"),
        Text(cdsItemPedido, "NRITEMPED"), cdProdEsto));
  }
  qryPesqUnid.Close();
  qryPesqUnid.ParamByName("P_CDPRODESTO").SetAsString(cdProdEsto);
  qryPesqUnid.Open();
  if (!qryPesqUnid.IsEmpty()) units_[cdProdEsto] = Text(qryPesqUnid, "SGUNIDADE");
  ComputeTotals();
}

// The gross and net totals of the current order's items, and its taxes
// where the branch shows them.
void TfrmConfPedido::ComputeTotals() {
  cdsSomatorio.SetData(cdsItemPedido.Data());
  cdsSomatorio.SetFilter("CDFILIAL = " + Quoted(Text(cdsPedido, "CDFILIAL")) +
                         "AND NRPEDIDO = " + Quoted(Text(cdsPedido, "NRPEDIDO")));
  double gross = 0, net = 0;
  for (cdsSomatorio.First(); !cdsSomatorio.Eof(); cdsSomatorio.Next()) {
    const long double quantity = cdsSomatorio.FieldByName("QTITEMPED").AsFloat();
    const long double price = cdsSomatorio.FieldByName("VRPREUNITPED").AsFloat();
    const long double discount = cdsSomatorio.FieldByName("VRDESITPED").AsFloat();
    gross += static_cast<double>(quantity * price);
    net += static_cast<double>(quantity * price - discount);
  }
  double taxes = 0;
  if (Text(cdsParamPedido, "IDEXIBIMPITPED") == "S")
    taxes = TRdmConfPedido(netConPed).GetImposPedTot(Text(cdsPedido, "CDFILIAL"),
                                                     Text(cdsPedido, "NRPEDIDO"));
  nedTotal->SetValue(gross);
  nedTotLiq->SetValue(net + taxes);
}
