// The commands that act on the marks: confirm (orders to in progress, or
// the marked items of the current order to confirmed), cancel (all marks
// of the mode removed) and print (the print module). Confirmation is all
// or nothing on the screen: a refusal by the server, a broken connection
// or the operator's No to the commission question discard the marks of
// the mode and leave the lists as they were.
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "base/errors.h"
#include "forms/application.h"
#include "forms/interaction.h"
#include "library/consiste.h"
#include "library/messages.h"
#include "library/showavi.h"
#include "library/velkora.h"
#include "remote/rdm_conf_pedido.h"
#include "shared/filtro.h"

using namespace fw;

namespace {

using DataSetNotify = void(TDataSet&);

constexpr int kConfirming = 1;  // the busy indicator's kind while confirming

std::string Text(const TDataSet& dataSet, const char* field) {
  return dataSet.FieldByName(field).AsString();
}

// A dataset's scroll handler detached for the lifetime of a scope, and
// attached again however the scope ends.
class TNoScroll {
 public:
  TNoScroll(TDataSet& dataSet, std::function<DataSetNotify> handler)
      : dataSet_(dataSet), handler_(std::move(handler)) {
    dataSet_.AfterScroll = nullptr;
  }
  ~TNoScroll() { dataSet_.AfterScroll = std::move(handler_); }
  TNoScroll(const TNoScroll&) = delete;
  TNoScroll& operator=(const TNoScroll&) = delete;

 private:
  TDataSet& dataSet_;
  std::function<DataSetNotify> handler_;
};

}  // namespace

int TfrmConfPedido::Ask(const char* key) {
  return Interaction().MessageDlg(msgPadrao->Msg(key), TMsgDlgType::mtConfirmation, mbYes | mbNo,
                                  0);
}

void TfrmConfPedido::Vd_Check() {
  if (tshPadrao->Enabled()) {
    if (Cli_zqv41800::inContPedidoCh == 0) {
      if (dbgPadrao->CanFocus()) dbgPadrao->SetFocus();
      Refuse("NENHUM_CHECK_PEDIDO");
    }
  } else if (tshItemPedido->Enabled() && Cli_zqv41800::inContItemPedidoCh == 0) {
    if (dbgItemPedido->CanFocus()) dbgItemPedido->SetFocus();
    Refuse("NENHUM_CHECK_ITEMPEDIDO");
  }
}

// An operator without a salesperson of its own confirms only after saying
// so, where the branch asks it; a No ends the confirmation as a failure.
void TfrmConfPedido::AskCommission() {
  if (Consiste::EmptyString(Filtro.Vendedor.stVendLog) &&
      Text(cdsParamPedido, "IDEXIBVENDCOM") == "S" && Ask("N_LOG_OPER") == mrNo)
    throw EAbort();
}

// What every failed confirmation does before its error passes on: the
// marks of the mode are thrown away and the enabling follows.
void TfrmConfPedido::ConfirmationFailed(TClientDataSet& dataSet, int32_t& counter) {
  counter = 0;
  Habilita();
  dataSet.CancelUpdates();
}

void TfrmConfPedido::sbtConfirmarClick(TComponent&) {
  if (tshPadrao->Enabled()) ConfirmOrders();
  else if (tshItemPedido->Enabled()) ConfirmItems();
  else Refresh();
}

// The marked pending orders, each number followed by "_"; the walk ends on
// the last order.
std::string TfrmConfPedido::MarkedOrderList() {
  std::string lista;
  TNoScroll quiet(cdsPedido, OptionalHandler<DataSetNotify>("cdsPedidoAfterScroll"));
  cdsPedido.DisableControls();
  try {
    for (cdsPedido.First(); !cdsPedido.Eof(); cdsPedido.Next())
      if (Text(cdsPedido, "IDSITPEDIDO") == "1" && Text(cdsPedido, "IDCHECK") == "S")
        lista += Text(cdsPedido, "NRPEDIDO") + "_";
  } catch (...) {
    cdsPedido.EnableControls();
    throw;
  }
  cdsPedido.EnableControls();
  return lista;
}

void TfrmConfPedido::ConfirmOrders() {
  Vd_Check();
  if (Ask("PedidoPEAN") == mrYes) {
    try {
      const std::string lista = MarkedOrderList();
      AskCommission();
      if (cdsPedido.ChangeCount() > 0) {
        Showavi::TShowAviScope busy(kConfirming);
        TNoScroll quiet(cdsPedido, OptionalHandler<DataSetNotify>("cdsPedidoAfterScroll"));
        cdsPedido.SetData(TRdmConfPedido(netConPed).SetPedidoPEAN(
            Text(cdsPedido, "CDFILIAL"), lista, Velkora::Operador(), Filtro,
            msgPadrao->Msg("OperBloq")));
      }
      cdsPedido.MergeChangeLog();
      Cli_zqv41800::inContPedidoCh = 0;
      Habilita();
    } catch (...) {
      ConfirmationFailed(cdsPedido, Cli_zqv41800::inContPedidoCh);
      throw;
    }
  }
  Refresh();
}

void TfrmConfPedido::ConfirmItems() {
  Vd_Check();
  if (Ask("ItemPedidoPECF") != mrYes) {
    Refresh();
    return;
  }
  std::string nrPedido;
  try {
    AskCommission();
    if (cdsItemPedido.ChangeCount() > 0) {
      nrPedido = Text(cdsPedido, "NRPEDIDO");
      Showavi::TShowAviScope busy(kConfirming);
      auto [orders, items] = TRdmConfPedido(netConPed).SetItemPedidoPECF(
          Text(cdsPedido, "CDFILIAL"), nrPedido, Velkora::Operador(), cdsItemPedido.Data(),
          Filtro, msgPadrao->Msg("OperBloq"));
      {
        TNoScroll quiet(cdsItemPedido, OptionalHandler<DataSetNotify>("cdsItemPedidoAfterScroll"));
        cdsItemPedido.SetData(std::move(items));
      }
      TNoScroll quiet(cdsPedido, OptionalHandler<DataSetNotify>("cdsPedidoAfterScroll"));
      cdsPedido.SetData(std::move(orders));
    }
  } catch (...) {
    ConfirmationFailed(cdsItemPedido, Cli_zqv41800::inContItemPedidoCh);
    throw;
  }
  Cli_zqv41800::inContItemPedidoCh = 0;
  Habilita();
  // Back on the same order, whose items the scroll fetches again; an order
  // that left the list leaves the operator on the order list.
  if (nrPedido.empty() || !cdsPedido.Locate("NRPEDIDO", Value(nrPedido), loCaseInsensitive))
    SelectPage(tshPadrao);
  Refresh();
}

void TfrmConfPedido::sbtCancelarClick(TComponent&) {
  if (Ask("CANCELAR") != mrYes) return;
  Refresh();
  if (tshPadrao->Enabled()) DeschecarPedido();
  else if (tshItemPedido->Enabled()) DeschecarItemPed();
  Habilita();
}

void TfrmConfPedido::sbtImprimirClick(TComponent&) { Velkora::LoadBPL("ZQV47700", "M"); }
