// What the filter dialog is made of, where it matters to the operator:
// the state it opens in before anything is loaded into it, the groups the
// operator never sees, the message table, and the lookup queries running
// on the host's database with their default text.
#include <set>

#include "filter/filtro_test_support.h"

namespace filtro_testing {
namespace {

class FilterCompositionTest : public FilterTest {
 protected:
  // The dialog as created, before its activation loads anything.
  TfrmFiltroConfPedido& Created() {
    fw::Application().CreateForm(Cli_zqv41801::frmFiltroConfPedido);
    Cli_zqv41801::boIdCriado = true;
    dialog = Cli_zqv41801::frmFiltroConfPedido;
    return *dialog;
  }
};

TEST_F(FilterCompositionTest, OpensWithEveryCriterionAtItsDefault) {
  TfrmFiltroConfPedido& d = Created();
  EXPECT_EQ(d.Caption(), "Filtro de Confirmação de Pedido");
  EXPECT_EQ(d.lblCodTela->Caption(), "ZQV41801");
  EXPECT_EQ(d.Width(), 617);
  EXPECT_EQ(d.Height(), 302);
  for (fw::TRadioButton* todos : {d.rbtTNrPedido, d.rbtTTpOper, d.rbtTCliente, d.rbtTMuniciCli,
                                  d.rbtTProduto, d.rbtTVendedor, d.rbtTVendComis})
    EXPECT_TRUE(todos->Checked()) << todos->Name();
  for (fw::TRadioButton* other : {d.rbtIntervalo, d.rbtLNrPedido, d.rbtLTpOper, d.rbtLCliente,
                                  d.rbtLMuniciCli, d.rbtLProduto, d.rbtLVendedor,
                                  d.rbtLVendComis})
    EXPECT_FALSE(other->Checked()) << other->Name();
  for (fw::TControl* off :
       std::initializer_list<fw::TControl*>{d.sbtNrPedido, d.sbtTpOper, d.sbtCliente,
                                            d.sbtMuniciCli, d.sbtProduto, d.sbtVendedor,
                                            d.sbtVendComis, d.medDeIntervalo, d.medAteIntervalo,
                                            d.lblDeNrPedido, d.lblAteNrPedido, d.chbPLiquidado,
                                            d.chbPCancelado})
    EXPECT_FALSE(off->Enabled()) << off->Name();
  for (fw::TCheckBox* on : {d.chbBaixa, d.chbNormal, d.chbAlta, d.chbUrgente, d.chbPrioritaria,
                            d.chbPPendente, d.chbIPendente, d.chbIConfirmado, d.chbIAprovado,
                            d.chbILiquidado, d.chbICancelado, d.chbIParcialmente})
    EXPECT_TRUE(on->Checked()) << on->Name();
  for (fw::TCheckBox* off : {d.chbPAndamento, d.chbPLiquidado, d.chbPCancelado, d.chbPParcialmente})
    EXPECT_FALSE(off->Checked()) << off->Name();
  for (fw::TDateEditPlus* date : {d.depDeEmissao, d.depAteEmissao, d.depDeEntrega, d.depAteEntrega})
    EXPECT_TRUE(date->IsEmpty()) << date->Name();
  // The item-status and product criteria are never on screen.
  for (fw::TGroupBox* hidden : {d.grbItemPedido, d.grbProduto}) {
    EXPECT_FALSE(hidden->Visible()) << hidden->Name();
    EXPECT_FALSE(hidden->Enabled()) << hidden->Name();
  }
  EXPECT_EQ(d.medDeIntervalo->EditMask(), "9999999999;0; ");
  EXPECT_EQ(d.medDeIntervalo->MaxLength(), 10);
}

TEST_F(FilterCompositionTest, CriteriaAreReachedInTabOrder) {
  TfrmFiltroConfPedido& d = Created();
  std::vector<std::pair<int, std::string>> order;
  for (fw::TControl* c : d.grbFiltroPadrao->Controls())
    if (c->Visible()) order.emplace_back(c->TabOrder, c->Name());
  std::sort(order.begin(), order.end());
  std::vector<std::string> names;
  for (auto& [tab, name] : order) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"grbNrPedido", "grbPedido", "grbPrioridade",
                                             "grbTipoOper", "grbCliente", "grbMuniciCli",
                                             "grbEmissao", "grbEntrega", "grbVendedor",
                                             "grbVendComis"}));
  // Inside the priority group "Normal" comes first.
  EXPECT_EQ(d.chbNormal->TabOrder, 0);
  EXPECT_EQ(d.chbPrioritaria->TabOrder, 4);
}

TEST_F(FilterCompositionTest, MessageTableKeepsItsKeysExactly) {
  TfrmFiltroConfPedido& d = Created();
  ASSERT_EQ(d.msgPadrao->Lines.Count(), 43);
  EXPECT_EQ(d.msgPadrao->Lines[0].substr(0, 19), "DTINI>DTFIN_PEDIDO|");
  EXPECT_EQ(d.msgPadrao->Msg("DATA_INV"), "não é uma data válida.");
  EXPECT_EQ(d.msgPadrao->Msg("data"), " não é uma data válida.");
  EXPECT_EQ(d.msgPadrao->Msg("NRINI>NRFIN"),
            "Número pedido inicial deve ser menor ou igual ao número pedido final.");
  EXPECT_EQ(d.msgPadrao->Msg("Mun_NC"), "Não há município cadastrado para os clientes informados.");
  std::set<std::string> keys;
  for (const std::string& line : d.msgPadrao->Lines.Lines())
    EXPECT_TRUE(keys.insert(line.substr(0, line.find('|'))).second) << line;
}

TEST_F(FilterCompositionTest, LookupQueriesRunOnTheHostDatabase) {
  TfrmFiltroConfPedido& d = Created();
  for (fw::TADOIBQuery* q : {&d.qryVendedor, &d.qryCliente, &d.qryProduto, &d.qryPesqTipoOper}) {
    ASSERT_NO_THROW(q->Open()) << q->Name;
    EXPECT_FALSE(q->IsEmpty()) << q->Name;
  }
  // No representative ("R") among the salespeople offered.
  auto db = database_->Open();
  auto all = db->Query("SELECT COUNT(*) FROM VENDEDOR WHERE IDCARGOVEND <> 'R'", {});
  EXPECT_EQ(d.qryVendedor.RecordCount(), std::get<int64_t>(all.Rows[0][0]));
  d.qryVendLog.ParamByName("P_CDOPERADOR").SetAsString("MARIA");
  EXPECT_NO_THROW(d.qryVendLog.Open());
}

TEST_F(FilterCompositionTest, MunicipalityQueryListsEachCustomerMunicipalityOnceByName) {
  TfrmFiltroConfPedido& d = Created();
  d.qryMuniciCli.ParamByName("P_CDCLIENTE").SetAsString("");
  d.qryMuniciCli.ParamByName("P_TCDCLIENTE").SetAsString("T");
  d.qryMuniciCli.Open();
  auto db = database_->Open();
  auto expected = db->Query(
      "SELECT COUNT(*) FROM (SELECT DISTINCT M.CDPAIS, M.SGESTADO, M.CDMUNICIPIO FROM MUNICIPIO M "
      "JOIN ENDECLIE E ON E.CDPAIS = M.CDPAIS AND E.SGESTADO = M.SGESTADO AND "
      "E.CDMUNICIPIO = M.CDMUNICIPIO)",
      {});
  EXPECT_EQ(d.qryMuniciCli.RecordCount(), std::get<int64_t>(expected.Rows[0][0]));
  std::set<std::string> seen;
  std::string previous;
  for (d.qryMuniciCli.First(); !d.qryMuniciCli.Eof(); d.qryMuniciCli.Next()) {
    std::string name = d.qryMuniciCli.FieldByName("NMMUNICIPIO").AsString();
    EXPECT_LE(previous, name);
    previous = name;
    EXPECT_TRUE(seen.insert(d.qryMuniciCli.FieldByName("CONCATENADOS").AsString()).second);
  }
  // A customer list that names nobody gives no municipality.
  d.qryMuniciCli.Close();
  d.qryMuniciCli.ParamByName("P_CDCLIENTE").SetAsString("");
  d.qryMuniciCli.ParamByName("P_TCDCLIENTE").SetAsString("");
  d.qryMuniciCli.Open();
  EXPECT_TRUE(d.qryMuniciCli.IsEmpty());
}

}  // namespace
}  // namespace filtro_testing
