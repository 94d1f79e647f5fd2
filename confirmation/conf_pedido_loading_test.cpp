// Loading: the reload command, the detail fetched for the page shown only,
// the items kept while marks are pending, the controls of the current
// order, the totals and the display texts.
#include "confirmation/conf_pedido_test_support.h"

namespace conf_pedido_testing {
namespace {

using Cli_zqv41800::inContItemPedidoCh;
using Cli_zqv41800::inContPedidoCh;
using Strings = std::vector<std::string>;

class LoadingTest : public ScreenTest {
 protected:
  // The screen on branch 0001 with its orders loaded by the reload command.
  void Loaded(const std::string& operador = "MARIA", const std::string& filial = "0001") {
    Facts(operador, filial, false);
    Open();
    LeaveBranch();
    screen->sbtVerificar->Click();
    Calls();
  }
  void Page(fw::TMenuItem* item) { item->Click(); }
  std::string Order() { return screen->cdsPedido.FieldByName("NRPEDIDO").AsString(); }
  bool Locate(const std::string& nrPedido) {
    return screen->cdsPedido.Locate("NRPEDIDO", nrPedido);
  }
};

TEST_F(LoadingTest, ReloadAsksForTheBranchsOrdersWithTheStartingFilterAndResetsTheCount) {
  Open();
  LeaveBranch();
  Calls();
  inContPedidoCh = 4;
  screen->sbtVerificar->Click();
  EXPECT_EQ(Calls(), Strings{"GetPedido"});
  TFiltro defaults;
  IniciaFiltro(defaults);
  std::vector<json> expected = ArgsGetPedido(defaults, "0001", "MARIA");
  EXPECT_EQ(lastArgs["GetPedido"], json(expected));
  EXPECT_EQ(lastArgs["GetPedido"][13], "123456");
  EXPECT_EQ(lastArgs["GetPedido"][14], "12");
  EXPECT_EQ(inContPedidoCh, 0);
  EXPECT_EQ(Order(), "0000000001");
  EXPECT_EQ(screen->dbtNome->Caption(), "0000000001 - " +
                                            screen->cdsPedido.FieldByName("NMFANTCLIE").AsString());
  EXPECT_EQ(screen->dbtNome->Font().Color, fw::clBlue);
  EXPECT_EQ(op.BusyKinds.back(), 6);
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(screen->sbtAlterar->Enabled());  // Habilita ran
}

TEST_F(LoadingTest, WithTheFocusInTheBranchFieldReloadFirstLeavesTheField) {
  Facts("DANIELA", "0005", false);
  Open();
  op.ExpectError("Não há operador parametrizado para o vendedor logado.");
  screen->sbtVerificar->Click();
  EXPECT_EQ(Calls(), (Strings{"GetParamPedido", "getOperTPed"}));  // no order list
  fw::Application().ProcessMessages();
  EXPECT_FALSE(Cli_zqv41800::boIdCriado);
}

TEST_F(LoadingTest, OnlyTheDetailOfThePageShownIsFetched) {
  Loaded();
  Page(screen->mnuFormaPgto);
  EXPECT_EQ(Calls(), Strings{"GetPrazoPgto"});
  ASSERT_TRUE(Locate("0000000010"));  // the order with payment terms and remarks
  EXPECT_EQ(Calls(), Strings{"GetPrazoPgto"});
  EXPECT_EQ(screen->cdsPrazoPgto.RecordCount(), 3);
  EXPECT_TRUE(screen->dbgPrazoPg->Visible());

  Page(screen->mnuObservacao);
  EXPECT_EQ(Calls(), Strings{"GetObser"});
  EXPECT_FALSE(screen->cdsObser.IsEmpty());
  Page(screen->mnuDadosGerais);
  Page(screen->mnuTransport);
  ASSERT_TRUE(Locate("0000000001"));
  EXPECT_TRUE(Calls().empty());  // those pages show the order's own fields
  EXPECT_EQ(screen->cdsObser.FieldByName("NRPEDIDO").AsString(), "0000000010");  // kept

  Page(screen->mnuObservacao);
  Page(screen->mnuObservacao);  // already shown: nothing
  EXPECT_EQ(Calls(), Strings{"GetObser"});
}

TEST_F(LoadingTest, ItemsFollowTheOrderUnlessItemMarksArePending) {
  Loaded();
  Page(screen->mnuItemPedido);
  Strings calls = Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "GetItemPedido");
  EXPECT_EQ(calls[1], "GetPosiEstoq");  // the first item's stock, at once
  EXPECT_EQ(lastArgs["GetItemPedido"], json({"0001", "0000000001", "", "T"}));
  EXPECT_EQ(screen->cdsItemPedido.FieldByName("NRPEDIDO").AsString(), "0000000001");
  EXPECT_EQ(screen->dtsPadrao.DataSet(), &screen->cdsItemPedido);
  EXPECT_FALSE(Cli_zqv41800::boHabilitacao);

  // An item marked (as the marking command does) holds the items.
  screen->cdsItemPedido.Edit();
  screen->cdsItemPedido.FieldByName("IDCHECK").SetAsString("S");
  screen->cdsItemPedido.Post();
  inContItemPedidoCh = 1;
  screen->Habilita();
  screen->cdsPedido.Next();
  screen->pgcPadraoChange(*screen->pgcPadrao);
  for (const std::string& call : Calls()) EXPECT_NE(call, "GetItemPedido");
  EXPECT_EQ(screen->cdsItemPedido.FieldByName("NRPEDIDO").AsString(), "0000000001");
  EXPECT_EQ(screen->cdsItemPedido.FieldByName("IDCHECK").AsString(), "S");
  EXPECT_EQ(inContItemPedidoCh, 1);

  // The reload on the item page reloads the items only.
  inContPedidoCh = 2;
  screen->sbtVerificar->Click();
  calls = Calls();
  EXPECT_EQ(calls.front(), "GetItemPedido");
  for (const std::string& call : calls) EXPECT_NE(call, "GetPedido");
  EXPECT_EQ(inContItemPedidoCh, 0);
  EXPECT_EQ(inContPedidoCh, 2);
  inContPedidoCh = 0;
}

TEST_F(LoadingTest, TheCurrentOrdersCaptionCarrierFreightAndPaymentAreShown) {
  Loaded();
  json orders = Rows(Orders(), "NRPEDIDO", {"0000000001", "0000000002", "0000000009",
                                            "0000000011", "0000000008"});
  Set(orders, 0, "IDPGFRETTRAN", "2");
  Set(orders, 0, "IDTPFORPGTPED", "V");
  Set(orders, 3, "IDTPFORPGTPED", nullptr);
  Set(orders, 4, "IDPGFRETTRAN", "5");
  Set(orders, 4, "IDTPFORPGTPED", "X");
  Set(orders, 1, "IDSITPEDIDO", "2");
  Set(orders, 2, "IDSITPEDIDO", "3");
  screen->cdsPedido.SetData(fw::TDataPacket::FromJson(orders));
  EXPECT_EQ(screen->dbtNome->Font().Color, fw::clBlue);
  EXPECT_EQ(screen->dbcTipo->Text(), "2 - Terceiros");
  EXPECT_TRUE(screen->dbgPrazoPg->Visible());
  EXPECT_FALSE(screen->edtTransp->Text().empty());

  screen->cdsPedido.Next();  // order 2: no carrier
  EXPECT_EQ(screen->dbtNome->Font().Color, fw::clOlive);
  EXPECT_EQ(screen->dbcTipo->Text(), "9 - Sem Frete");
  EXPECT_EQ(screen->edtTransp->Text(), "");

  screen->cdsPedido.Next();  // order 9: fixed day 10, 3 instalments
  EXPECT_EQ(screen->dbtNome->Font().Color, fw::clOlive);  // situation "3" keeps it
  EXPECT_FALSE(screen->dbgPrazoPg->Visible());
  EXPECT_EQ(screen->speDiaFixo->Text(), "10");
  EXPECT_EQ(screen->speParcela->Text(), "3");
  auto* kind = dynamic_cast<fw::TDBRadioGroup*>(screen->FindComponent("drgFormPgto"));
  EXPECT_EQ(kind->ItemIndex(), 1);

  screen->cdsPedido.Next();  // order 11: no payment kind
  EXPECT_FALSE(screen->dbgPrazoPg->Visible());
  EXPECT_EQ(kind->ItemIndex(), 0);  // "À Vista"
  EXPECT_EQ(screen->speDiaFixo->Text(), "");

  screen->cdsPedido.Next();  // an unexpected freight code selects nothing
  EXPECT_EQ(screen->dbcTipo->ItemIndex(), -1);
  EXPECT_TRUE(screen->dbgPrazoPg->Visible());
}

// 3 x 1.005 - 0.019: the item's value rounds the price and cuts the
// discount; the footers add the exact products.
TEST_F(LoadingTest, ItemValueAndTotals) {
  Loaded();
  Page(screen->mnuItemPedido);
  json items = Reply("GetItemPedido", {"0001", "0000000001", "", "T"});
  items["rows"] = json::array({items["rows"][0], items["rows"][0]});
  Set(items, 0, "QTITEMPED", 3);
  Set(items, 0, "VRPREUNITPED", 1.005);
  Set(items, 0, "VRDESITPED", 0.019);
  Set(items, 1, "NRITEMPED", "002");
  Set(items, 1, "QTITEMPED", 2);
  Set(items, 1, "VRPREUNITPED", 10.0);
  Set(items, 1, "VRDESITPED", 0.29);
  Calls();
  screen->cdsItemPedido.SetData(fw::TDataPacket::FromJson(items));
  EXPECT_EQ(Calls(), Strings{"GetPosiEstoq"});  // no taxes in 0001
  EXPECT_DOUBLE_EQ(screen->cdsItemPedido.FieldByName("VrTotal").AsFloat(), 1.01 * 3 - 0.01);
  EXPECT_DOUBLE_EQ(screen->nedTotal->Value(), 3 * 1.005 + 20.0);
  EXPECT_NEAR(screen->nedTotLiq->Value(), 2.996 + 19.71, 1e-12);
  screen->cdsItemPedido.Next();
  EXPECT_DOUBLE_EQ(screen->cdsItemPedido.FieldByName("VrTotal").AsFloat(), 20.0 - 0.29);
}

TEST_F(LoadingTest, TheNetTotalAddsTheOrdersTaxesWhereTheBranchShowsThem) {
  Loaded("MARIA", "0006");
  Page(screen->mnuItemPedido);
  Strings calls = Calls();
  EXPECT_EQ(calls.back(), "GetImposPedTot");
  EXPECT_EQ(lastArgs["GetImposPedTot"], json({"0006", Order()}));
  const double taxes = Reply("GetImposPedTot", {"0006", Order()}).get<double>();
  EXPECT_GT(taxes, 0);
  double net = 0;
  fw::TClientDataSet& items = screen->cdsItemPedido;
  for (items.First(); !items.Eof(); items.Next())
    net += items.FieldByName("QTITEMPED").AsFloat() * items.FieldByName("VRPREUNITPED").AsFloat() -
           items.FieldByName("VRDESITPED").AsFloat();
  EXPECT_NEAR(screen->nedTotLiq->Value(), net + taxes, 1e-9);

  FailNext("GetImposPedTot", "Pedido em revisão.");
  EXPECT_THROW(screen->sbtVerificar->Click(), fw::EServerError);
  EXPECT_EQ(op.BusyDepth, 0);
}

TEST_F(LoadingTest, AnOrderWithoutItemsOfTheFilterShowsNoOtherOrdersTotals) {
  Loaded();
  Page(screen->mnuItemPedido);
  ASSERT_GT(screen->nedTotal->Value(), 0);
  ASSERT_FALSE(screen->cdsPosiEstoq.IsEmpty());
  Filtro.Produto = {false, "'9999999999'", ""};  // a product no order has
  screen->cdsPedido.Next();
  EXPECT_TRUE(screen->cdsItemPedido.IsEmpty());
  EXPECT_EQ(screen->nedTotal->Value(), 0);
  EXPECT_EQ(screen->nedTotLiq->Value(), 0);
  EXPECT_TRUE(screen->cdsPosiEstoq.IsEmpty());
}

TEST_F(LoadingTest, EachRowShowsItsOwnStockUnit) {
  Loaded();
  ASSERT_TRUE(Locate("0000000008"));  // the last item is milk by the unit, stocked by the box
  Page(screen->mnuItemPedido);
  fw::TClientDataSet& items = screen->cdsItemPedido;
  ASSERT_EQ(items.RecordCount(), 8);
  items.Last();
  const std::string last = items.FieldByName("SgUnidPai").AsString();
  EXPECT_NE(last, items.FieldByName("SGUNIDADE").AsString());
  items.First();
  EXPECT_NE(items.FieldByName("SgUnidPai").AsString(), last);
  EXPECT_FALSE(items.FieldByName("SgUnidPai").AsString().empty());
}

TEST_F(LoadingTest, DisplayTexts) {
  Loaded();
  json orders = Rows(Orders(), "NRPEDIDO", {"0000000002"});
  Set(orders, 0, "IDTPIJURCLIE", "J");
  Set(orders, 0, "NRINSJURCLIE", "11222333000181");
  Set(orders, 0, "IDTPFORPGTPED", "");
  screen->cdsPedido.SetData(fw::TDataPacket::FromJson(orders));
  EXPECT_EQ(screen->cdsPedido.FieldByName("NRINSJURCLIE").DisplayText(), "11.222.333/0001-81");
  EXPECT_EQ(screen->cdsPedido.FieldByName("IDTPFORPGTPED").DisplayText(), "X");

  json items = Reply("GetItemPedido", {"0001", "0000000001", "", "T"});
  items["rows"] = json::array({items["rows"][0], items["rows"][0], items["rows"][0]});
  Set(items, 0, "IDITPEDDIFER", nullptr);
  Set(items, 1, "IDITPEDDIFER", "P");
  Set(items, 2, "IDITPEDDIFER", "S");
  fw::TClientDataSet& item = screen->cdsItemPedido;
  item.SetData(fw::TDataPacket::FromJson(items));
  Strings kinds;
  for (item.First(); !item.Eof(); item.Next()) kinds.push_back(item.FieldByName("IDITPEDDIFER").Text());
  EXPECT_EQ(kinds, (Strings{"Normal", "Promocional", "Personalizado"}));
  item.SetData(fw::TDataPacket::FromJson(Rows(items, "NRITEMPED", {})));
  EXPECT_EQ(item.FieldByName("IDITPEDDIFER").Text(), "");

  json terms = Reply("GetPrazoPgto", {"0001", "0000000010"});
  Set(terms, 0, "PREVISAO", fw::EncodeDate(2024, 6, 10));  // a Monday
  Set(terms, 1, "PREVISAO", fw::EncodeDate(2024, 6, 15) + 0.5);
  Set(terms, 2, "PREVISAO", nullptr);
  fw::TClientDataSet& prazo = screen->cdsPrazoPgto;
  prazo.SetData(fw::TDataPacket::FromJson(terms));
  EXPECT_EQ(prazo.FieldByName("PREVISAO").DisplayText(), "10/06/2024 seg");
  prazo.Next();
  EXPECT_EQ(prazo.FieldByName("PREVISAO").DisplayText(), "15/06/2024 12:00:00 sáb");
  prazo.Next();
  EXPECT_EQ(prazo.FieldByName("PREVISAO").DisplayText(), "");
}

TEST_F(LoadingTest, AServerThatIsDownIsReportedAndTheListStays) {
  Loaded();
  const int before = screen->cdsPedido.RecordCount();
  serverDown = true;
  EXPECT_THROW(screen->sbtVerificar->Click(), fw::EConnectionError);
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_EQ(screen->cdsPedido.RecordCount(), before);
  EXPECT_THROW(screen->mnuFormaPgto->Click(), fw::EConnectionError);
  EXPECT_EQ(op.BusyDepth, 0);
  serverDown = false;
  screen->mnuPedido->Click();
  screen->sbtVerificar->Click();
  EXPECT_EQ(screen->cdsPedido.RecordCount(), before);
}

}  // namespace
}  // namespace conf_pedido_testing
