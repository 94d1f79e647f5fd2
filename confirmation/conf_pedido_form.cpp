// The confirmation screen: its parts are composed, its events bound to
// handler names, and its handlers registered under those names.
#include "confirmation/conf_pedido_form.h"

using namespace fw;

namespace {

using Notify = void(TComponent&);
using DataSetNotify = void(TDataSet&);
using GetText = void(TField&, std::string&, bool);
using DrawCell = void(TComponent&, const TRect&, int, TColumn&, TGridDrawState);
using GridClick = void(TColumn&);
using KeyDownEvent = void(TComponent&, TKey&, TShiftState);

}  // namespace

TfrmConfPedido::TfrmConfPedido(TComponent* owner) : TfrmPadraoGrid(owner) {
  ComposeWindow();
  ComposeColumns();
  ComposeDatasets();
  ComposeMenus();
  ComposeMessages();
  netConPed.ServerName = "Zqv41800.rdmConfPedido";
  HelpKeys = {"Espaço: marca ou desmarca o pedido ou o item atual",
              "Ctrl+Espaço: marca ou desmarca todos os da lista"};
  netConPed.RaiseServerErrors = false;
  BindEvents();
  RegisterHandlers();
}

// Which handler name each event runs.
void TfrmConfPedido::BindEvents() {
  OnActivate = OptionalHandler<Notify>("FormActivate");
  netConPed.BeforeConnect = OptionalHandler<void(TNetConnection&)>("netConPedBeforeConnect");
  pgcPadrao->OnChange = OptionalHandler<Notify>("pgcPadraoChange");
  sbtFiltro->OnClick = OptionalHandler<Notify>("sbtFiltroClick");
  medCdFilial->OnEnter = OptionalHandler<Notify>("medCdFilialEnter");
  medCdFilial->OnChange = OptionalHandler<Notify>("medCdFilialChange");
  medCdFilial->OnExit = OptionalHandler<Notify>("medCdFilialExit");
  btnFilial->BeforePesq = OptionalHandler<Notify>("btnFilialBeforePesq");
  btnFilial->AfterPesq = OptionalHandler<Notify>("btnFilialAfterPesq");
  for (TMenuItem* item : {mnuPedido, mnuDadosGerais, mnuItemPedido, mnuFormaPgto, mnuTransport,
                          mnuObservacao, mnuFiltrar})
    item->OnClick = OptionalHandler<Notify>(item->Name() + "Click");

  dbgPadrao->OnDrawColumnCell = OptionalHandler<DrawCell>("dbgPadraoDrawColumnCell");
  dbgPadrao->OnCellClick = OptionalHandler<GridClick>("dbgPadraoCellClick");
  dbgPadrao->OnTitleClick = OptionalHandler<GridClick>("dbgPadraoTitleClick");
  dbgPadrao->OnKeyPress = nullptr;  // the base screen's Enter-to-edit is removed
  dbgItemPedido->OnDrawColumnCell = OptionalHandler<DrawCell>("dbgItemPedidoDrawColumnCell");
  dbgItemPedido->OnCellClick = OptionalHandler<GridClick>("dbgItemPedidoCellClick");
  dbgItemPedido->OnTitleClick = OptionalHandler<GridClick>("dbgItemPedidoTitleClick");
  dbgItemPedido->OnKeyDown = OptionalHandler<KeyDownEvent>("dbgItemPedidoKeyDown");

  cdsPedido.AfterScroll = OptionalHandler<DataSetNotify>("cdsPedidoAfterScroll");
  cdsPedido.OnCalcFields = OptionalHandler<DataSetNotify>("cdsPedidoCalcFields");
  cdsItemPedido.AfterScroll = OptionalHandler<DataSetNotify>("cdsItemPedidoAfterScroll");
  cdsItemPedido.OnCalcFields = OptionalHandler<DataSetNotify>("cdsItemPedidoCalcFields");
  const std::pair<TDataSet*, const char*> texts[] = {
      {&cdsPedido, "IDTPFORPGTPED"}, {&cdsPedido, "NRINSJURCLIE"},
      {&cdsItemPedido, "CDARVPROD"}, {&cdsItemPedido, "IDITPEDDIFER"},
      {&cdsPrazoPgto, "PREVISAO"}};
  for (auto [dataSet, field] : texts)
    dataSet->FieldByName(field).OnGetText =
        OptionalHandler<GetText>(dataSet->Name + field + "GetText");
}

void TfrmConfPedido::RegisterHandlers() {
  auto notify = [this](const char* name, void (TfrmConfPedido::*method)(TComponent&)) {
    Register<Notify>(name, [this, method](TComponent& s) { (this->*method)(s); });
  };
  notify("FormCreate", &TfrmConfPedido::FormCreate);
  notify("FormActivate", &TfrmConfPedido::FormActivate);
  notify("pgcPadraoChange", &TfrmConfPedido::pgcPadraoChange);
  notify("mnuPedidoClick", &TfrmConfPedido::mnuPedidoClick);
  notify("mnuDadosGeraisClick", &TfrmConfPedido::mnuDadosGeraisClick);
  notify("mnuItemPedidoClick", &TfrmConfPedido::mnuItemPedidoClick);
  notify("mnuFormaPgtoClick", &TfrmConfPedido::mnuFormaPgtoClick);
  notify("mnuTransportClick", &TfrmConfPedido::mnuTransportClick);
  notify("mnuObservacaoClick", &TfrmConfPedido::mnuObservacaoClick);
  notify("sbtFiltroClick", &TfrmConfPedido::sbtFiltroClick);
  notify("mnuFiltrarClick", &TfrmConfPedido::mnuFiltrarClick);
  notify("medCdFilialEnter", &TfrmConfPedido::medCdFilialEnter);
  notify("medCdFilialChange", &TfrmConfPedido::medCdFilialChange);
  notify("medCdFilialExit", &TfrmConfPedido::medCdFilialExit);
  notify("btnFilialBeforePesq", &TfrmConfPedido::btnFilialBeforePesq);
  notify("btnFilialAfterPesq", &TfrmConfPedido::btnFilialAfterPesq);
  notify("sbtVerificarClick", &TfrmConfPedido::sbtVerificarClick);
  notify("sbtConfirmarClick", &TfrmConfPedido::sbtConfirmarClick);
  notify("sbtCancelarClick", &TfrmConfPedido::sbtCancelarClick);
  notify("sbtImprimirClick", &TfrmConfPedido::sbtImprimirClick);
  // The base screen's record editing and state-driven enabling are off.
  Register<Notify>("sbtAlterarClick", [](TComponent&) {});
  Register<void(TDataSource&)>("dtsPadraoStateChange", [](TDataSource&) {});
  Register<void(TComponent&, TCloseAction&)>(
      "FormClose", [this](TComponent& s, TCloseAction& a) { FormClose(s, a); });
  Register<void(TNetConnection&)>("netConPedBeforeConnect",
                                  [this](TNetConnection& c) { netConPedBeforeConnect(c); });

  auto dataSet = [this](const char* name, void (TfrmConfPedido::*method)(TDataSet&)) {
    Register<DataSetNotify>(name, [this, method](TDataSet& d) { (this->*method)(d); });
  };
  dataSet("cdsPedidoAfterScroll", &TfrmConfPedido::cdsPedidoAfterScroll);
  dataSet("cdsItemPedidoAfterScroll", &TfrmConfPedido::cdsItemPedidoAfterScroll);
  dataSet("cdsPedidoCalcFields", &TfrmConfPedido::cdsPedidoCalcFields);
  dataSet("cdsItemPedidoCalcFields", &TfrmConfPedido::cdsItemPedidoCalcFields);

  auto text = [this](const char* name, void (TfrmConfPedido::*method)(TField&, std::string&, bool)) {
    Register<GetText>(name, [this, method](TField& f, std::string& t, bool d) {
      (this->*method)(f, t, d);
    });
  };
  text("cdsPedidoIDTPFORPGTPEDGetText", &TfrmConfPedido::cdsPedidoIDTPFORPGTPEDGetText);
  text("cdsPedidoNRINSJURCLIEGetText", &TfrmConfPedido::cdsPedidoNRINSJURCLIEGetText);
  text("cdsItemPedidoCDARVPRODGetText", &TfrmConfPedido::cdsItemPedidoCDARVPRODGetText);
  text("cdsItemPedidoIDITPEDDIFERGetText", &TfrmConfPedido::cdsItemPedidoIDITPEDDIFERGetText);
  text("cdsPrazoPgtoPREVISAOGetText", &TfrmConfPedido::cdsPrazoPgtoPREVISAOGetText);

  auto draw = [this](const char* name, void (TfrmConfPedido::*method)(
                                           TComponent&, const TRect&, int, TColumn&, TGridDrawState)) {
    Register<DrawCell>(name, [this, method](TComponent& s, const TRect& r, int c, TColumn& col,
                                            TGridDrawState st) { (this->*method)(s, r, c, col, st); });
  };
  draw("dbgPadraoDrawColumnCell", &TfrmConfPedido::dbgPadraoDrawColumnCell);
  draw("dbgItemPedidoDrawColumnCell", &TfrmConfPedido::dbgItemPedidoDrawColumnCell);

  auto click = [this](const char* name, void (TfrmConfPedido::*method)(TColumn&)) {
    Register<GridClick>(name, [this, method](TColumn& c) { (this->*method)(c); });
  };
  click("dbgPadraoCellClick", &TfrmConfPedido::dbgPadraoCellClick);
  click("dbgPadraoTitleClick", &TfrmConfPedido::dbgPadraoTitleClick);
  click("dbgItemPedidoCellClick", &TfrmConfPedido::dbgItemPedidoCellClick);
  click("dbgItemPedidoTitleClick", &TfrmConfPedido::dbgItemPedidoTitleClick);
  auto key = [this](const char* name,
                    void (TfrmConfPedido::*method)(TComponent&, TKey&, TShiftState)) {
    Register<KeyDownEvent>(name, [this, method](TComponent& s, TKey& k, TShiftState sh) {
      (this->*method)(s, k, sh);
    });
  };
  key("dbgPadraoKeyDown", &TfrmConfPedido::dbgPadraoKeyDown);
  key("dbgItemPedidoKeyDown", &TfrmConfPedido::dbgItemPedidoKeyDown);
}
