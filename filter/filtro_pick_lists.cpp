// The dialog's pick lists: the seven search actions, the display texts of
// the lookup fields, the product query's parameters, and Vd_Lista.
//
// Each search hands its criterion's list string to Pesqlista::PesquisaLista
// and takes back the selection the operator makes there; nothing here
// splits or reads a selection. The lookup queries stay open with the rows
// first read for the life of the dialog (both salesperson lists share
// qryVendedor), except the municipalities, read again at every search
// since they depend on the customer criterion, and the products, read
// again at every product search. The order numbers come from the
// application server once per showing (boNrPedidoCarregado).
#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "filter/cli_zqv41801.h"
#include "filter/filtro_conf_pedido_form.h"
#include "library/consiste.h"
#include "library/display_texts.h"
#include "library/pesqlista.h"
#include "library/qrddlgs.h"
#include "library/showavi.h"
#include "library/velkora.h"
#include "library/xlb93310.h"
#include "remote/rdm_conf_pedido.h"

using namespace fw;

namespace {

// Enables a control again however the scope ends.
class TReabilita {
 public:
  explicit TReabilita(TControl& control) : control_(control) { control_.SetEnabled(false); }
  ~TReabilita() { control_.SetEnabled(true); }
  TReabilita(const TReabilita&) = delete;
  TReabilita& operator=(const TReabilita&) = delete;

 private:
  TControl& control_;
};

}  // namespace

// ---------------------------------------------------------------------------
// Searches over a lookup query, refused when the query has no rows.

void TfrmFiltroConfPedido::SearchLookup(TDataSet& query, const char* emptyKey,
                                        TRadioButton& listButton, TDataSource& source,
                                        const char* keyField, const char* titleKey,
                                        std::string& selection) {
  query.Open();  // an open query is not read again
  if (query.IsEmpty()) Refuse(msgPadrao->Msg(emptyKey), &listButton);
  Pesqlista::PesquisaLista(source, keyField, msgPadrao->Msg(titleKey), false, selection);
}

void TfrmFiltroConfPedido::sbtVendedorClick(TComponent&) {
  SearchLookup(qryVendedor, "VEND", *rbtLVendedor, dtsVendedor, "CDVENDEDOR", "VENDEDOR",
               Cli_zqv41801::stVendedor);
}

void TfrmFiltroConfPedido::sbtVendComisClick(TComponent&) {
  SearchLookup(qryVendedor, "VEND", *rbtLVendComis, dtsVendComis, "CDVENDEDOR", "VENDEDOR",
               Cli_zqv41801::stVendComis);
}

void TfrmFiltroConfPedido::sbtClienteClick(TComponent&) {
  SearchLookup(qryCliente, "CLIE", *rbtLCliente, dtsCliente, "CDCLIENTE", "CLIENTE",
               Cli_zqv41801::stCliente);
}

void TfrmFiltroConfPedido::sbtTpOperClick(TComponent&) {
  SearchLookup(qryPesqTipoOper, "TIPO", *rbtLTpOper, dtsTipoOper, "CDTIPOOPER", "OPERACAO",
               Cli_zqv41801::stTipoOper);
}

// ---------------------------------------------------------------------------
// Order numbers: fetched from the application server at the first search
// of a showing; the group cannot be used while the search runs.

void TfrmFiltroConfPedido::sbtNrPedidoClick(TComponent&) {
  TReabilita grupo(*grbNrPedido);
  if (!Cli_zqv41801::boNrPedidoCarregado) LoadOrderNumbers();
  Pesqlista::PesquisaLista(dtsNrPedido, "NRPEDIDO", msgPadrao->Msg("PEDIDO"), false,
                           Cli_zqv41801::stNrPedido);
}

void TfrmFiltroConfPedido::LoadOrderNumbers() {
  // From the first order-number search on, the dialog is no longer
  // reloaded from Filtro when it becomes active again: FormActivate is
  // switched off for the rest of this dialog's life (closing still runs
  // FormClose, which releases it). Our windows do not activate the dialog
  // again when a pick list, a message box or the busy indicator closes
  // (none of them is a form), so this changes nothing the operator sees;
  // it keeps the choices made in this showing should anything else
  // activate it.
  Register<void(TComponent&)>("FormActivate", nullptr);
  TfrmConfPedido& tela = Tela();
  {
    Showavi::TShowAviScope busy(6);
    cdsNrPedido.SetData(TRdmConfPedido(tela.netConPed).GetNrPedido(tela.medCdFilial->Text()));
  }
  // Nothing loaded: the next search asks the server again.
  if (cdsNrPedido.IsEmpty()) Consiste::MensErro(msgPadrao->Msg("PED"), true);
  Cli_zqv41801::boNrPedidoCarregado = true;
}

// ---------------------------------------------------------------------------
// Municipalities of the customers' addresses: of every customer while
// customers are "Todos", else of the customers in stCliente.

void TfrmFiltroConfPedido::sbtMuniciCliClick(TComponent&) {
  qryMuniciCli.Close();
  qryMuniciCli.ParamByName("P_CDCLIENTE").SetAsString(Cli_zqv41801::stCliente);
  qryMuniciCli.ParamByName("P_TCDCLIENTE").SetAsString(rbtTCliente->Checked() ? "T" : "");
  const std::string titulo = msgPadrao->Msg("Municipio") + "|" + msgPadrao->Msg("Mun_NC");
  Pesqlista::PesquisaLista(dtsMuniciCli, "CONCATENADOS", titulo, false, Cli_zqv41801::stMuniciCli);
}

// ---------------------------------------------------------------------------
// Products (reachable only when the product group is made usable).

void TfrmFiltroConfPedido::sbtProdutoClick(TComponent&) {
  qryProduto.Close();
  qryProduto.Open();
  const std::string nota =
      Xlb93310::SQL_Pesquisa_Produto(Tela().medCdFilial->Text(), "", qryProduto, true);
  Pesqlista::PesquisaLista(dtsProduto, "CDARVPROD", msgPadrao->Msg("PRODUTO") + "|" + nota, false,
                           Cli_zqv41801::stProduto);
}

// The product query's parameters, for a text that declares them: the
// levels of the product-code picture and the branch.
void TfrmFiltroConfPedido::qryProdutoBeforeOpen(TDataSet&) {
  TParams& params = qryProduto.Params();
  if (Qrddlgs::ExistParam(params, "P_CDNVPRODUTO"))
    params.ParamByName("P_CDNVPRODUTO")
        .SetAsInteger(Velkora::DBPictObj(Velkora::ptProduto).TtNiveis);
  if (Qrddlgs::ExistParam(params, "P_CDFILIAL"))
    params.ParamByName("P_CDFILIAL").SetAsString(Tela().medCdFilial->Text());
}

// ---------------------------------------------------------------------------
// Display texts (the stored values stay as they are).

void TfrmFiltroConfPedido::qryClienteNRINSJURCLIEGetText(TField& sender, std::string& text, bool) {
  text = display_texts::RegistrationText(sender);
}

void TfrmFiltroConfPedido::qryProdutoCDARVPRODGetText(TField& sender, std::string& text, bool) {
  text = display_texts::ProductCodeText(sender);
}

// ---------------------------------------------------------------------------
// Every criterion set to "Lista" must have keys; the first one without
// them, in this order, is refused with the focus on its "Lista" button.

void TfrmFiltroConfPedido::Vd_Lista() {
  namespace U = Cli_zqv41801;
  const struct {
    TRadioButton* Lista;
    const std::string& Global;
    const char* Chave;
  } criterios[] = {
      {rbtLNrPedido, U::stNrPedido, "LNrPedido"},   {rbtLTpOper, U::stTipoOper, "LTipoOper"},
      {rbtLCliente, U::stCliente, "LCliente"},      {rbtLProduto, U::stProduto, "LProduto"},
      {rbtLVendedor, U::stVendedor, "LVendedor"},   {rbtLVendComis, U::stVendComis, "LVendedor"},
      {rbtLMuniciCli, U::stMuniciCli, "LMuniciCli"}};
  for (const auto& criterio : criterios)
    if (criterio.Lista->Checked() && Consiste::EmptyString(criterio.Global))
      Refuse(msgPadrao->Msg(criterio.Chave), criterio.Lista);
}
