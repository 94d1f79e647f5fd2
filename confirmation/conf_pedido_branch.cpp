// The branch panel: entering the branch field empties the lists; typing
// drops the product criterion; leaving it validates the branch and, for a
// branch other than the one in use, loads its order parameters (which
// reshape the grids) and checks that the operator may work there; then the
// filter dialog opens.
//
// The branch in use (stCdFilial) is remembered only once the operator's
// permissions were fetched and the salesperson check passed, so a failed
// permission request is asked again at the next exit rather than letting
// the operator past the checks.
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "library/consiste.h"
#include "library/consiste_grid.h"
#include "library/showavi.h"
#include "library/velkora.h"
#include "remote/rdm_conf_pedido.h"
#include "forms/application.h"
#include "shared/filtro.h"

using namespace fw;

namespace {

// Leaves a flag set for the lifetime of a scope.
struct TFlagScope {
  explicit TFlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = previous_; }
  bool& flag_;
  bool previous_;
};

std::string Param(const TClientDataSet& params, const char* name) {
  return params.FieldByName(name).AsString();
}

}  // namespace

void TfrmConfPedido::medCdFilialEnter(TComponent&) {
  pgcPadrao->SetActivePage(tshPadrao);
  pgcPadraoChange(*pgcPadrao);
  cdsPedido.Close();
  cdsItemPedido.Close();
  Habilita();
}

void TfrmConfPedido::medCdFilialChange(TComponent&) {
  Filtro.Produto.stLista.clear();
  Filtro.Produto.boTodos = true;
  edtNmFilial->Clear();
}

void TfrmConfPedido::btnFilialBeforePesq(TComponent&) {
  qryFilial.Close();
  qryFilial.Open();
}

void TfrmConfPedido::btnFilialAfterPesq(TComponent&) {
  edtNmFilial->SetText(qryFilial.FieldByName("NMFILIAL").AsString());
  medCdFilial->SetText(qryFilial.FieldByName("CDFILIAL").AsString());
}

void TfrmConfPedido::Vd_Filial() {
  try {
    medCdFilial->SetText(Consiste::Ajusta(medCdFilial->Text(), 4));
    if (Consiste::EmptyString(medCdFilial->Text()))
      Consiste::MensErro(msgPadrao->Msg("FILIAL"), true);
    qryPesqFilial.Close();
    qryPesqFilial.ParamByName("P_CDFILIAL").SetAsString(medCdFilial->Text());
    qryPesqFilial.Open();
    if (qryPesqFilial.IsEmpty()) Consiste::MensErro(msgPadrao->Msg("FILIAL_NAO_CAD"), true);
    edtNmFilial->SetText(qryPesqFilial.FieldByName("NMFILIAL").AsString());
  } catch (const EAbort&) {
    medCdFilial->SetFocus();
    throw;
  }
}

void TfrmConfPedido::medCdFilialExit(TComponent&) {
  TFlagScope leaving(leavingBranch_);
  Vd_Filial();
  const std::string cdFilial = medCdFilial->Text();
  if (cdFilial != Cli_zqv41800::stCdFilial) {
    TRdmConfPedido rdm(netConPed);
    cdsParamPedido.SetData(rdm.GetParamPedido(cdFilial));
    ApplyBranchParameters();
    if (!OperatorMayWork()) {
      Application().PostClose(*this);
      return;
    }
    Cli_zqv41800::stCdFilial = cdFilial;
  }
  sbtFiltroClick(*sbtFiltro);
}

// Reshapes the item page and the grids for the branch's parameters.
void TfrmConfPedido::ApplyBranchParameters() {
  if (TColumn* factor = dbgItemPedido->Columns().FindField("SGFATPRECO"))
    factor->SetVisible(Param(cdsParamPedido, "IDTABPRECO") != "1");
  ShapeItemPage();
  ShapeOperationTypeColumn();
}

void TfrmConfPedido::ShapeItemPage() {
  const bool stock = Param(cdsParamPedido, "IDUTRESELOTE") == "S";
  for (TControl* control : std::initializer_list<TControl*>{dbgPosiEstoq, splComisVend, panComisPosEst})
    control->SetVisible(stock);
  if (stock) {
    dbgItemPedido->SetAlign(TAlign::alNone);
    dbgItemPedido->SetHeight(140);
    dbgItemPedido->SetAlign(TAlign::alTop);
    splComisVend->SetAlign(TAlign::alTop);
    panComisPosEst->SetAlign(TAlign::alClient);
  } else {
    panComisPosEst->SetAlign(TAlign::alNone);
    splComisVend->SetAlign(TAlign::alNone);
    dbgItemPedido->SetAlign(TAlign::alClient);
  }
}

void TfrmConfPedido::ShapeOperationTypeColumn() {
  TDBGrid& grid = *dbgPadrao;
  auto width = [&grid](const char* field, int w) {
    int index = Consiste::IndiceCol(grid, field);
    if (index >= 0) grid.Columns()[index].SetWidth(w);
  };
  if (Param(cdsParamPedido, "IDOBRTPOPPED") == "N") {
    Consiste::DestroiColuna(grid, "NMTIPOOPER");
    width("NRPEDIDO", 80);
    width("IDTIPOPEDIDO", 85);
    width("NMFANTCLIE", 315);
    cdsPedido.FieldByName("NMTIPOOPER").Visible = false;
  } else if (Consiste::IndiceCol(grid, "NMTIPOOPER") < 0) {
    Consiste::CriaColuna(grid, "NMTIPOOPER", 7);
    width("NRPEDIDO", 70);
    width("IDTIPOPEDIDO", 80);
    width("NMFANTCLIE", 250);
    width("NMTIPOOPER", 95);
    cdsPedido.FieldByName("NMTIPOOPER").Visible = true;
  }
}

// Fetches the operator's operation-type permissions in the branch and,
// where the branch requires it, checks that an operator without them is
// linked to a salesperson. False (after telling the operator) when not.
bool TfrmConfPedido::OperatorMayWork() {
  const std::string cdFilial = medCdFilial->Text();
  Showavi::ActiveShowAvi(Application().MainForm, 6);
  try {
    cdsOperTPed.SetData(TRdmConfPedido(netConPed).getOperTPed(cdFilial, Velkora::Operador()));
  } catch (...) {
    Showavi::DeactiveShowAvi();
    throw;
  }
  Showavi::DeactiveShowAvi();
  qryVendLog.Close();
  qryVendLog.ParamByName("P_CDOPERADOR").SetAsString(Velkora::Operador());
  qryVendLog.Open();
  if (Param(cdsParamPedido, "IDEXIBPEDIDO") == "2" && cdsOperTPed.IsEmpty() &&
      qryVendLog.FieldByName("CDVENDEDOR").AsString().empty()) {
    Consiste::MensErro(msgPadrao->Msg("Vend_n_relac"), false);
    return false;
  }
  return true;
}
