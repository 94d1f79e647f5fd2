// The filter dialog: its parts are composed, its events bound to handler
// names, and its handlers registered under those names.
#include "filter/filtro_conf_pedido_form.h"

#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"

using namespace fw;

namespace {

using Notify = void(TComponent&);
using KeyDownEvent = void(TComponent&, TKey&, TShiftState);
using GetText = void(TField&, std::string&, bool);

}  // namespace

TfrmFiltroConfPedido::TfrmFiltroConfPedido(TComponent* owner) : TfrmFiltroPadrao(owner) {
  ComposeWindow();
  ComposeQueries();
  ComposeDatasets();
  ComposeMessages();
  BindEvents();
  RegisterHandlers();
}

TfrmConfPedido& TfrmFiltroConfPedido::Tela() {
  if (!Cli_zqv41800::boIdCriado)
    throw Exception("A tela de confirmação de pedidos não está aberta.");
  return *Cli_zqv41800::frmConfPedido;
}

// Which handler name each event runs.
void TfrmFiltroConfPedido::BindEvents() {
  OnActivate = OptionalHandler<Notify>("FormActivate");
  sbtLimpa->OnClick = OptionalHandler<Notify>("sbtLimpaClick");
  sbtConfirma->OnClick = OptionalHandler<Notify>("sbtConfirmaClick");
  for (TControl* control :
       {static_cast<TControl*>(rbtTNrPedido), static_cast<TControl*>(rbtIntervalo),
        static_cast<TControl*>(rbtLNrPedido), static_cast<TControl*>(rbtTVendedor),
        static_cast<TControl*>(rbtLVendedor), static_cast<TControl*>(rbtTCliente),
        static_cast<TControl*>(rbtLCliente), static_cast<TControl*>(rbtTProduto),
        static_cast<TControl*>(rbtLProduto), static_cast<TControl*>(rbtTVendComis),
        static_cast<TControl*>(rbtLVendComis), static_cast<TControl*>(rbtTMuniciCli),
        static_cast<TControl*>(rbtLMuniciCli), static_cast<TControl*>(rbtTTpOper),
        static_cast<TControl*>(rbtLTpOper), static_cast<TControl*>(sbtNrPedido),
        static_cast<TControl*>(sbtVendedor), static_cast<TControl*>(sbtVendComis),
        static_cast<TControl*>(sbtCliente), static_cast<TControl*>(sbtMuniciCli),
        static_cast<TControl*>(sbtTpOper), static_cast<TControl*>(sbtProduto)})
    control->OnClick = OptionalHandler<Notify>(control->Name() + "Click");
  for (TRadioButton* list : {rbtLNrPedido, rbtLVendedor, rbtLCliente, rbtLProduto, rbtLMuniciCli,
                             rbtLTpOper, rbtLVendComis})
    list->OnKeyDown = OptionalHandler<KeyDownEvent>(list->Name() + "KeyDown");
  for (TDateEditPlus* edit : {depDeEmissao, depAteEmissao, depDeEntrega, depAteEntrega})
    edit->OnExit = OptionalHandler<Notify>(edit->Name() + "Exit");
  for (TMaskEdit* edit : {medDeIntervalo, medAteIntervalo}) {
    edit->OnExit = OptionalHandler<Notify>(edit->Name() + "Exit");
    edit->OnChange = OptionalHandler<Notify>(edit->Name() + "Change");
  }
  qryCliente.FieldByName("NRINSJURCLIE").OnGetText =
      OptionalHandler<GetText>("qryClienteNRINSJURCLIEGetText");
  qryProduto.FieldByName("CDARVPROD").OnGetText = OptionalHandler<GetText>("qryProdutoCDARVPRODGetText");
  qryProduto.BeforeOpen = OptionalHandler<void(TDataSet&)>("qryProdutoBeforeOpen");
}

void TfrmFiltroConfPedido::RegisterHandlers() {
  auto notify = [this](const std::string& name, void (TfrmFiltroConfPedido::*method)(TComponent&)) {
    Register<Notify>(name, [this, method](TComponent& s) { (this->*method)(s); });
  };
  using F = TfrmFiltroConfPedido;
  notify("FormCreate", &F::FormCreate);
  notify("FormActivate", &F::FormActivate);
  notify("btfSaveOpcClick", &F::btfSaveOpcClick);
  notify("btfLoadOpcClick", &F::btfLoadOpcClick);
  notify("sbtLimpaClick", &F::sbtLimpaClick);
  notify("sbtConfirmaClick", &F::sbtConfirmaClick);
  Register<void(TComponent&, TCloseAction&)>(
      "FormClose", [this](TComponent& s, TCloseAction& a) { FormClose(s, a); });
  Register<KeyDownEvent>("FormKeyDown", [this](TComponent& s, TKey& k, TShiftState sh) {
    FormKeyDown(s, k, sh);
  });

  notify("rbtTNrPedidoClick", &F::rbtTNrPedidoClick);
  notify("rbtIntervaloClick", &F::rbtIntervaloClick);
  notify("rbtLNrPedidoClick", &F::rbtLNrPedidoClick);
  notify("rbtTVendedorClick", &F::rbtTVendedorClick);
  notify("rbtLVendedorClick", &F::rbtLVendedorClick);
  notify("rbtTClienteClick", &F::rbtTClienteClick);
  notify("rbtLClienteClick", &F::rbtLClienteClick);
  notify("rbtTProdutoClick", &F::rbtTProdutoClick);
  notify("rbtLProdutoClick", &F::rbtLProdutoClick);
  notify("rbtTVendComisClick", &F::rbtTVendComisClick);
  notify("rbtLVendComisClick", &F::rbtLVendComisClick);
  notify("rbtTMuniciCliClick", &F::rbtTMuniciCliClick);
  notify("rbtLMuniciCliClick", &F::rbtLMuniciCliClick);
  notify("rbtTTpOperClick", &F::rbtTTpOperClick);
  notify("rbtLTpOperClick", &F::rbtLTpOperClick);

  auto key = [this](const std::string& name,
                    void (TfrmFiltroConfPedido::*method)(TComponent&, TKey&, TShiftState)) {
    Register<KeyDownEvent>(name, [this, method](TComponent& s, TKey& k, TShiftState sh) {
      (this->*method)(s, k, sh);
    });
  };
  key("rbtLNrPedidoKeyDown", &F::rbtLNrPedidoKeyDown);
  key("rbtLVendedorKeyDown", &F::rbtLVendedorKeyDown);
  key("rbtLClienteKeyDown", &F::rbtLClienteKeyDown);
  key("rbtLProdutoKeyDown", &F::rbtLProdutoKeyDown);
  key("rbtLMuniciCliKeyDown", &F::rbtLMuniciCliKeyDown);
  key("rbtLTpOperKeyDown", &F::rbtLTpOperKeyDown);
  key("rbtLVendComisKeyDown", &F::rbtLVendComisKeyDown);

  notify("depDeEmissaoExit", &F::depDeEmissaoExit);
  notify("depAteEmissaoExit", &F::depAteEmissaoExit);
  notify("depDeEntregaExit", &F::depDeEntregaExit);
  notify("depAteEntregaExit", &F::depAteEntregaExit);
  notify("medDeIntervaloExit", &F::medDeIntervaloExit);
  notify("medAteIntervaloExit", &F::medAteIntervaloExit);
  notify("medDeIntervaloChange", &F::medDeIntervaloChange);
  notify("medAteIntervaloChange", &F::medAteIntervaloChange);

  notify("sbtNrPedidoClick", &F::sbtNrPedidoClick);
  notify("sbtVendedorClick", &F::sbtVendedorClick);
  notify("sbtVendComisClick", &F::sbtVendComisClick);
  notify("sbtClienteClick", &F::sbtClienteClick);
  notify("sbtMuniciCliClick", &F::sbtMuniciCliClick);
  notify("sbtTpOperClick", &F::sbtTpOperClick);
  notify("sbtProdutoClick", &F::sbtProdutoClick);
  auto text = [this](const std::string& name,
                     void (TfrmFiltroConfPedido::*method)(TField&, std::string&, bool)) {
    Register<GetText>(name, [this, method](TField& f, std::string& t, bool d) {
      (this->*method)(f, t, d);
    });
  };
  text("qryClienteNRINSJURCLIEGetText", &F::qryClienteNRINSJURCLIEGetText);
  text("qryProdutoCDARVPRODGetText", &F::qryProdutoCDARVPRODGetText);
  Register<void(TDataSet&)>("qryProdutoBeforeOpen", [this](TDataSet& d) { qryProdutoBeforeOpen(d); });
}
