// The filter dialog's pick lists: the order numbers from the server, the
// lookups with their emptiness checks, the municipalities of the customer
// criterion, the display texts, the product query's parameters, and
// Vd_Lista's order and focus.
#include "appserver/schema.h"
#include "filter/filtro_test_support.h"

namespace filtro_testing {
namespace {

using conf_pedido_testing::json;
namespace U = Cli_zqv41801;

class FiltroPickListTest : public FilterTest {
 protected:
  // A count read straight from the suite's database.
  static int64_t Count(const std::string& sql) {
    auto db = database_->Open();
    return std::get<int64_t>(db->Query(sql, {}).Rows.at(0).at(0));
  }
};

TEST_F(FiltroPickListTest, OrderNumbersAreFetchedOnceWithTheTypedBranch) {
  TfrmFiltroConfPedido& d = Dialog();
  Calls();
  d.rbtLNrPedido->MouseClick(1, 1);
  op.Pick("Pedido", {"0000000001", "0000000003"});
  d.sbtNrPedido->Click();
  EXPECT_EQ(Calls(), std::vector<std::string>{"GetNrPedido"});
  EXPECT_EQ(lastArgs["GetNrPedido"], json({"0001"}));
  EXPECT_EQ(U::stNrPedido, "'0000000001','0000000003'");
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(d.grbNrPedido->Enabled());

  op.Pick("Pedido", {"0000000002"});
  d.sbtNrPedido->Click();
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(op.PickRequests.back().Picked, (std::vector<std::string>{"0000000001", "0000000003"}));
  EXPECT_EQ(U::stNrPedido, "'0000000002'");

  // From now on an activation does not reload the dialog from Filtro.
  Filtro.Cliente = {false, "'00000001'", ""};
  d.OnActivate(d);
  EXPECT_TRUE(Calls().empty());
  EXPECT_FALSE(d.rbtLCliente->Checked());

  // Closing still releases the dialog; the next one asks for the numbers
  // again.
  int freed = 0;
  d.FreeNotification([&] { ++freed; });
  d.Close();
  fw::Application().ProcessMessages();
  EXPECT_EQ(freed, 1);
  EXPECT_FALSE(U::boIdCriado);
  TfrmFiltroConfPedido& next = Dialog();
  Calls();
  op.Pick("Pedido", {});
  next.sbtNrPedido->Click();
  EXPECT_EQ(Calls(), std::vector<std::string>{"GetNrPedido"});
}

TEST_F(FiltroPickListTest, NoOrderNumbersOrAServerErrorLeaveTheNumbersToBeAskedAgain) {
  TfrmFiltroConfPedido& d = Dialog();
  d.rbtLNrPedido->MouseClick(1, 1);
  values["GetNrPedido"] = Rows(Reply("GetNrPedido", {"0001"}), "NRPEDIDO", {});
  op.ExpectError("Não há pedido cadastrado.");
  EXPECT_THROW(d.sbtNrPedido->Click(), fw::EAbort);
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(d.grbNrPedido->Enabled());

  values.clear();
  Calls();
  FailNext("GetNrPedido", "Banco de dados indisponível.");
  EXPECT_THROW(d.sbtNrPedido->Click(), fw::EServerError);
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(d.grbNrPedido->Enabled());
  EXPECT_TRUE(U::stNrPedido.empty());
  EXPECT_TRUE(op.PickRequests.empty());

  op.Pick("Pedido", {"0000000002"});  // asked again, now answered
  d.sbtNrPedido->Click();
  EXPECT_EQ(Calls(), (std::vector<std::string>{"GetNrPedido", "GetNrPedido"}));
  EXPECT_EQ(U::stNrPedido, "'0000000002'");
}

TEST_F(FiltroPickListTest, MunicipalitiesFollowTheCustomerCriterion) {
  TfrmFiltroConfPedido& d = Dialog();
  d.rbtLMuniciCli->MouseClick(1, 1);
  U::stCliente = "'00000001'";  // kept while customers are "Todos"
  op.Pick("Município", {});
  d.sbtMuniciCli->Click();
  ASSERT_EQ(op.PickRequests.size(), 1u);
  EXPECT_EQ(op.PickRequests[0].KeyField, "CONCATENADOS");
  EXPECT_EQ(op.PickRequests[0].DataSet->RecordCount(),
            Count("SELECT COUNT(DISTINCT CDPAIS || SGESTADO || CDMUNICIPIO) FROM ENDECLIE"));

  d.rbtLCliente->MouseClick(1, 1);
  op.Pick("Município", {});
  d.sbtMuniciCli->Click();
  EXPECT_EQ(op.PickRequests[1].DataSet->RecordCount(),
            Count("SELECT COUNT(DISTINCT CDPAIS || SGESTADO || CDMUNICIPIO) FROM ENDECLIE"
                  " WHERE CDCLIENTE = '00000001'"));

  U::stCliente.clear();
  op.Answer("Não há município cadastrado para os clientes informados.", fw::mrOk);
  d.sbtMuniciCli->Click();
  EXPECT_EQ(op.PickRequests.size(), 2u);
}

TEST_F(FiltroPickListTest, BothSalespersonListsShowTheSameSalespeopleWithTheirOwnSelections) {
  TfrmFiltroConfPedido& d = Dialog();
  d.rbtLVendedor->MouseClick(1, 1);
  d.rbtLVendComis->MouseClick(1, 1);
  op.Pick("Vendedor", {"0001"}).Pick("Vendedor", {"0003", "0004"});
  d.sbtVendedor->Click();
  d.sbtVendComis->Click();
  EXPECT_EQ(U::stVendedor, "'0001'");
  EXPECT_EQ(U::stVendComis, "'0003','0004'");
  ASSERT_EQ(op.PickRequests.size(), 2u);
  EXPECT_EQ(op.PickRequests[0].DataSet, &d.qryVendedor);
  EXPECT_EQ(op.PickRequests[1].DataSet, &d.qryVendedor);
  EXPECT_EQ(d.qryVendedor.RecordCount(),
            Count("SELECT COUNT(*) FROM VENDEDOR WHERE IDCARGOVEND <> 'R'"));
  EXPECT_LT(d.qryVendedor.RecordCount(), Count("SELECT COUNT(*) FROM VENDEDOR"));
  EXPECT_TRUE(op.PickRequests[1].Picked.empty());  // starts from its own selection
}

TEST_F(FiltroPickListTest, OperationTypesAndCustomersPickIntoTheirLists) {
  TfrmFiltroConfPedido& d = Dialog();
  d.rbtLTpOper->MouseClick(1, 1);
  op.Pick("Operação", {"01", "03"}).Pick("Cliente", {"00000002"}, false);
  d.sbtTpOper->Click();
  EXPECT_EQ(U::stTipoOper, "'01','03'");
  U::stCliente = "'00000001'";
  d.sbtCliente->Click();  // cancelled: the list stays
  EXPECT_EQ(U::stCliente, "'00000001'");
}

TEST_F(FiltroPickListTest, AnEmptyCustomerTableIsRefusedWithTheFocusOnItsList) {
  auto empty = fw::OpenSqlDriver("sqlite::memory:");
  appserver::CreateSchema(*empty);
  fw::TDBConnection emptyConnection(std::move(empty));
  TfrmFiltroConfPedido& d = Dialog();
  d.qryCliente.Connection = &emptyConnection;
  d.rbtLCliente->MouseClick(1, 1);
  d.rbtTNrPedido->SetFocus();
  U::stCliente = "'00000001'";
  op.ExpectError("Não há cliente cadastrado.");
  EXPECT_THROW(d.sbtCliente->Click(), fw::EAbort);
  EXPECT_TRUE(d.rbtLCliente->Focused());
  EXPECT_EQ(U::stCliente, "'00000001'");
  EXPECT_TRUE(op.PickRequests.empty());
  d.qryCliente.Close();
  d.qryCliente.Connection = &fw::dtmDBGeral().adcGeral;
}

TEST_F(FiltroPickListTest, LookupTextsShowRegistrationNumbersAndProductCodesInTheirPictures) {
  TfrmFiltroConfPedido& d = Dialog();
  d.qryCliente.Open();
  ASSERT_TRUE(d.qryCliente.Locate("IDTPIJURCLIE", std::string("J")));
  const std::string cnpj = d.qryCliente.FieldByName("NRINSJURCLIE").AsString();
  ASSERT_EQ(cnpj.size(), 14u);
  EXPECT_EQ(d.qryCliente.FieldByName("NRINSJURCLIE").DisplayText(),
            cnpj.substr(0, 2) + "." + cnpj.substr(2, 3) + "." + cnpj.substr(5, 3) + "/" +
                cnpj.substr(8, 4) + "-" + cnpj.substr(12, 2));
  EXPECT_EQ(d.qryCliente.FieldByName("NRINSJURCLIE").AsString(), cnpj);  // stored as it was

  d.qryProduto.Open();
  ASSERT_TRUE(d.qryProduto.Locate("CDARVPROD", std::string("0301004")));
  EXPECT_EQ(d.qryProduto.FieldByName("CDARVPROD").DisplayText(), "03.01.004");
}

TEST_F(FiltroPickListTest, TheProductListIsReadAgainWithTheParametersItsTextDeclares) {
  TfrmFiltroConfPedido& d = Dialog();
  op.Pick("Produto", {"0301004"});
  d.sbtProduto->Click();
  EXPECT_EQ(U::stProduto, "'0301004'");
  EXPECT_EQ(op.PickRequests.back().Subtitle, "Código no formato 99.99.999");

  d.qryProduto.SQL.SetText(
      "SELECT CDARVPROD, NMPRODUTO FROM PRODUTO\n"
      "WHERE LENGTH(CDARVPROD) >= :P_CDNVPRODUTO AND :P_CDFILIAL = '0002'");
  op.Answer("Não há produto cadastrado para a filial 0001.", fw::mrOk);  // no list
  d.sbtProduto->Click();
  EXPECT_EQ(d.qryProduto.ParamByName("P_CDNVPRODUTO").AsString(), "3");
  EXPECT_EQ(d.qryProduto.ParamByName("P_CDFILIAL").AsString(), "0001");
  EXPECT_EQ(op.PickRequests.size(), 1u);
}

// Vd_Lista: the first criterion on "Lista" without keys, in a fixed order.
TEST_F(FiltroPickListTest, AnEmptyListIsRefusedInOrderWithTheFocusOnItsButton) {
  TfrmFiltroConfPedido& d = Dialog();
  d.Vd_Lista();  // nothing on "Lista"
  for (fw::TRadioButton* lista : {d.rbtLVendedor, d.rbtLVendComis, d.rbtLCliente, d.rbtLMuniciCli})
    lista->MouseClick(1, 1);
  struct Case {
    std::string text;
    fw::TRadioButton* focus;
    std::string* fill;
  } cases[] = {
      {"Cliente deve ser informado.", d.rbtLCliente, &U::stCliente},
      {"Vendedor deve ser informado.", d.rbtLVendedor, &U::stVendedor},
      {"Vendedor deve ser informado.", d.rbtLVendComis, &U::stVendComis},
      {"Município do cliente deve ser informado.", d.rbtLMuniciCli, &U::stMuniciCli},
  };
  for (const Case& c : cases) {
    d.rbtTNrPedido->SetFocus();
    op.ExpectError(c.text);
    EXPECT_THROW(d.Vd_Lista(), fw::EAbort) << c.text;
    EXPECT_TRUE(c.focus->Focused()) << c.text;
    *c.fill = "'x'";
  }
  d.Vd_Lista();

  d.rbtLTpOper->MouseClick(1, 1);    // operation types come before customers
  d.rbtLNrPedido->MouseClick(1, 1);  // and order numbers before everything
  U::stTipoOper = " ";
  op.ExpectError("Número pedido deve ser informado.");
  EXPECT_THROW(d.Vd_Lista(), fw::EAbort);
  U::stNrPedido = "'0000000001'";
  op.ExpectError("Tipo de Operação deve ser informado.");
  EXPECT_THROW(d.Vd_Lista(), fw::EAbort);
  EXPECT_TRUE(d.rbtLTpOper->Focused());
}

}  // namespace
}  // namespace filtro_testing
