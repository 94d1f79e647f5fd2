// The detail and lookup methods on the demo database: each reply loads into
// a client dataset declared with the screens' persistent fields (names,
// types, sizes, calculated fields), and carries what the demo data say.
#include <gtest/gtest.h>

#include <cmath>

#include "appserver/test_support.h"
#include "data/client_dataset.h"
#include "rpc/check_result.h"
#include "rpc/key_list.h"
#include "rpc/rpc_errors.h"

namespace appserver::testing {
namespace {

using fw::TFieldKind;
using fw::TFieldType;

void Declare(fw::TClientDataSet& ds,
             std::initializer_list<std::tuple<const char*, TFieldType, int>> fields) {
  for (const auto& [name, type, size] : fields) ds.AddField(name, type, size);
}
constexpr TFieldType S = TFieldType::ftString, F = TFieldType::ftFloat,
                     D = TFieldType::ftDateTime, B = TFieldType::ftBlob;

// The screens' datasets, field by field.
void DeclarePedido(fw::TClientDataSet& ds) {
  ds.AddField("DsPedido", S, 70, TFieldKind::fkCalculated);
  Declare(ds, {{"IDCHECK", S, 1},      {"IDSITPEDIDO", S, 1},  {"NRPEDIDO", S, 10},
               {"NMFANTCLIE", S, 50},  {"CDCLIENTE", S, 21},   {"DTPEDIDO", D, 0},
               {"DTENTPED", D, 0},     {"CDFILIAL", S, 4},     {"CDVENDEDOR", S, 4},
               {"CDMODPGTO", S, 5},    {"CDFORMPGTO", S, 2},   {"IDTPFORPGTPED", S, 1},
               {"DSMODPGTO", S, 100},  {"NMFORMPGTO", S, 30},  {"NRDIAPGFIXPED", F, 0},
               {"NRPARCPGTOPED", F, 0}, {"IDTIPOPEDIDO", S, 1}, {"CDFILIALPED", S, 4},
               {"IDPRIOPED", S, 1},    {"DSPEDVEN", S, 200},   {"DSPEDCLI", S, 200},
               {"NMFANVEN", S, 50},    {"VRPECOMVDPED", F, 0}, {"NMFILIAL", S, 30},
               {"NMFANTTRAN", S, 40},  {"NRINSJURTRAN", S, 20}, {"CDTIPTRANS", S, 4},
               {"IDPGFRETTRAN", S, 1}, {"NRINSJURCLIE", S, 20}, {"NMTIPTRANS", S, 40},
               {"IDTPIJURCLIE", S, 1}, {"NMTIPOOPER", S, 30},  {"VRPBRUVOLPED", F, 0},
               {"VRPLIQVOLPED", F, 0}});
}

void DeclareItemPedido(fw::TClientDataSet& ds) {
  ds.AddField("VrTotal", F, 0, TFieldKind::fkCalculated);
  ds.AddField("SgUnidPai", S, 20, TFieldKind::fkCalculated);
  Declare(ds, {{"IDCHECK", S, 1},      {"IDSITITEMPED", S, 1}, {"NRITEMPED", S, 10},
               {"CDARVPROD", S, 20},   {"NMPRODUTO", S, 50},   {"QTITEMPED", F, 0},
               {"SGUNIDADE", S, 10},   {"VRPREUNITPED", F, 0}, {"NRPEDIDO", S, 10},
               {"CDFILIAL", S, 4},     {"DSITEMPED", S, 2000}, {"QTITEMPED2", F, 0},
               {"SGFATPRECO", S, 4},   {"VRDESITPED", F, 0},   {"DTENTITPED", D, 0},
               {"IDITPEDDIFER", S, 1}, {"CDPRODESTO", S, 10},  {"CDPRODUTO", S, 10},
               {"IDITEMERRO", S, 1}});
}

class DetailsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    data_ = new TDemoDatabase(300, 5);
    server_ = new TLocalServer(data_->Url());
  }
  static void TearDownTestSuite() {
    delete server_;
    delete data_;
  }
  void SetUp() override {
    con_ = server_->Connect();
    db_ = data_->Open();
  }
  json Checked(const std::string& method, std::vector<json> args) {
    return fw::CheckResultServ(con_->Call(method, std::move(args)));
  }
  static void Load(fw::TClientDataSet& ds, const json& packet) {
    ds.SetData(fw::TDataPacket::FromJson(packet));
  }

  static TDemoDatabase* data_;
  static TLocalServer* server_;
  std::unique_ptr<fw::TNetConnection> con_;
  std::unique_ptr<fw::SqlDriver> db_;
};
TDemoDatabase* DetailsTest::data_ = nullptr;
TLocalServer* DetailsTest::server_ = nullptr;

TEST_F(DetailsTest, OrderListLoadsIntoTheScreensDataset) {
  fw::TClientDataSet cds("cdsPedido");
  DeclarePedido(cds);
  for (const char* branch : {"0001", "0002", "0005", "0008"}) {
    TFiltro f{.filial = branch};
    Load(cds, con_->Call("GetPedido", f.GetPedido()));
    EXPECT_GT(cds.RecordCount(), 11) << branch;
  }
  EXPECT_EQ(cds.FieldByName("IDCHECK").AsString(), "N");
}

TEST_F(DetailsTest, ItemsLoadWithMarksAndPermitProblems) {
  fw::TClientDataSet cds("cdsItemPedido");
  DeclareItemPedido(cds);
  // Order 3 of branch 0001: beans and the alcohol whose permit is open.
  Load(cds, con_->Call("GetItemPedido", {"0001", "0000000003", "", "T"}));
  ASSERT_EQ(cds.RecordCount(), 2);
  EXPECT_EQ(cds.FieldByName("NRITEMPED").AsString(), "001");
  EXPECT_EQ(cds.FieldByName("IDITEMERRO").AsString(), "N");
  EXPECT_EQ(cds.FieldByName("IDCHECK").AsString(), "N");
  cds.Next();
  EXPECT_EQ(cds.FieldByName("CDARVPROD").AsString(), "0301004");
  EXPECT_EQ(cds.FieldByName("NMPRODUTO").AsString(), "Álcool Etílico 70% 1L");
  EXPECT_EQ(cds.FieldByName("IDITEMERRO").AsString(), "S");
  // The product criterion keeps the listed products only.
  Load(cds, con_->Call("GetItemPedido", {"0001", "0000000003", fw::JoinKeyList({"0301004"}), ""}));
  EXPECT_EQ(cds.RecordCount(), 1);
  // Order 8: one item in each status; a unit product served from a box.
  Load(cds, con_->Call("GetItemPedido", {"0001", "0000000008", "", "T"}));
  std::string statuses;
  for (cds.First(); !cds.Eof(); cds.Next()) statuses += cds.FieldByName("IDSITITEMPED").AsString();
  EXPECT_EQ(statuses, "12345671");
  cds.Last();
  EXPECT_EQ(cds.FieldByName("CDPRODUTO").AsString(), "0000000008");   // milk, by the unit
  EXPECT_EQ(cds.FieldByName("CDPRODESTO").AsString(), "0000000009");  // stocked by the box
  EXPECT_NEAR(cds.FieldByName("QTITEMPED2").AsFloat(),
              std::round(cds.FieldByName("QTITEMPED").AsFloat() / 12 * 1000) / 1000, 1e-9);
  // A resolved inconsistency does not count: fungicide in 0003 is resolved.
  EXPECT_EQ(Count(*db_, "SELECT COUNT(*) FROM INCONSALVARA WHERE CDFILIAL = '0003'"
                        " AND CDPRODUTO = '0000000028' AND IDRESOLVIDA = 'S'"), 1);
  Load(cds, con_->Call("GetItemPedido", {"0009", "0000000003", "", "T"}));  // no such branch
  EXPECT_TRUE(cds.IsEmpty());
}

TEST_F(DetailsTest, PaymentTermsRemarksAndParameters) {
  fw::TClientDataSet terms("cdsPrazoPgto");
  Declare(terms, {{"NRPEDIDO", S, 10}, {"NRDIASPGTOPED", F, 0}, {"VRPERCPGTOPED", F, 0},
                  {"CDFILIAL", S, 4}, {"PREVISAO", D, 0}});
  Load(terms, con_->Call("GetPrazoPgto", {"0001", "0000000010"}));
  ASSERT_EQ(terms.RecordCount(), 3);  // 30/60/90
  double placed = Today() - 9, total = 0;
  for (terms.First(); !terms.Eof(); terms.Next()) {
    EXPECT_EQ(terms.FieldByName("PREVISAO").AsFloat(),
              placed + terms.FieldByName("NRDIASPGTOPED").AsFloat());
    total += terms.FieldByName("VRPERCPGTOPED").AsFloat();
  }
  EXPECT_NEAR(total, 100, 1e-9);
  Load(terms, con_->Call("GetPrazoPgto", {"0001", "0000000009"}));  // fixed day: no terms
  EXPECT_TRUE(terms.IsEmpty());

  fw::TClientDataSet obs("cdsObser");
  Declare(obs, {{"NRPEDIDO", S, 10}, {"TXOBSPED", B, 0}, {"CDFILIAL", S, 4}});
  Load(obs, con_->Call("GetObser", {"0001", "0000000010"}));
  ASSERT_EQ(obs.RecordCount(), 1);
  EXPECT_EQ(obs.FieldByName("TXOBSPED").AsString().rfind("{\\rtf1", 0), 0u);
  Load(obs, con_->Call("GetObser", {"0001", "0000000001"}));
  EXPECT_TRUE(obs.IsEmpty());

  fw::TClientDataSet param("cdsParamPedido");
  for (const char* f : {"IDEXIBPEDIDO", "IDMENSVEND", "IDUTRESELOTE", "IDOBRTPOPPED", "IDTABPRECO",
                        "IDEXIBIMPITPED", "IDOBRINFTRAN", "IDEXIBVENDCOM"})
    param.AddField(f, S, 1);
  std::map<std::string, std::pair<const char*, const char*>> cases = {
      {"0002", {"IDOBRTPOPPED", "N"}},  {"0003", {"IDUTRESELOTE", "S"}},
      {"0004", {"IDOBRINFTRAN", "2"}},  {"0005", {"IDEXIBPEDIDO", "2"}},
      {"0006", {"IDEXIBIMPITPED", "S"}}, {"0007", {"IDEXIBVENDCOM", "S"}},
      {"0008", {"IDTABPRECO", "1"}}};
  for (const auto& [branch, expected] : cases) {
    Load(param, con_->Call("GetParamPedido", {branch}));
    ASSERT_EQ(param.RecordCount(), 1);
    EXPECT_EQ(param.FieldByName(expected.first).AsString(), expected.second) << branch;
  }
  Load(param, con_->Call("GetParamPedido", {"9999"}));
  EXPECT_TRUE(param.IsEmpty());
}

TEST_F(DetailsTest, StockPositionsShowTheItemsReservationAndWhatIsLeft) {
  fw::SqlResult r = db_->Query(
      "SELECT R.CDFILIAL, R.NRPEDIDO, R.NRITEMPED, R.CDPRODRES, R.QTRESPRODPED, R.CDALMOXARIFE,"
      " R.CDLOCALESTOQ, R.NRLOTEESTQ FROM RESERVAPED R ORDER BY R.NRPEDIDO LIMIT 1",
      {});
  ASSERT_EQ(r.Rows.size(), 1u);
  auto text = [&](int c) { return std::get<std::string>(r.Rows[0][c]); };
  fw::TClientDataSet cds("cdsPosiEstoq");
  Declare(cds, {{"DSALMOXARIFE", S, 30}, {"DSLOCALESTOQ", S, 30}, {"NRLOTEESTQ", S, 20},
                {"NRSUBLOTE", S, 4},     {"QTTOTALESTOQ", F, 0},  {"QTRESPRODPED", F, 0},
                {"CDFILIAL", S, 4},      {"CDALMOXARIFE", S, 6},  {"CDLOCALESTOQ", S, 6},
                {"IDDISPCONPED", S, 1},  {"NRPEDIDO", S, 10},     {"NRITEMPED", S, 10},
                {"CDARVPROD", S, 20},    {"CDPRODUTO", S, 10},    {"DTENTRLOTE", D, 0},
                {"DTVALILOTE", D, 0},    {"SGUNIDADE", S, 10},    {"CDPRODRES", S, 10},
                {"QTDISPONIVEL", F, 0}});
  Load(cds, con_->Call("GetPosiEstoq", {text(0), text(1), text(2), text(3)}));
  ASSERT_GT(cds.RecordCount(), 0);
  ASSERT_TRUE(cds.Locate("NRLOTEESTQ", fw::Value(text(7))));
  EXPECT_EQ(cds.FieldByName("QTRESPRODPED").AsFloat(), std::get<double>(r.Rows[0][4]));
  double reservedThere = std::get<double>(Scalar(
      *db_, "SELECT SUM(QTRESPRODPED) FROM RESERVAPED WHERE CDFILIAL = :F AND NRLOTEESTQ = :L"
            " AND CDALMOXARIFE = :A AND CDLOCALESTOQ = :P",
      {{"F", text(0)}, {"L", text(7)}, {"A", text(5)}, {"P", text(6)}}));
  EXPECT_DOUBLE_EQ(cds.FieldByName("QTDISPONIVEL").AsFloat(),
                   cds.FieldByName("QTTOTALESTOQ").AsFloat() - reservedThere);
  EXPECT_EQ(cds.FieldByName("NRPEDIDO").AsString(), text(1));
  // Another item's call shows the same lot with nothing reserved for it.
  Load(cds, con_->Call("GetPosiEstoq", {text(0), text(1), "999", text(3)}));
  EXPECT_TRUE(cds.IsEmpty());  // no such item
}

TEST_F(DetailsTest, CheckedLookups) {
  // Taxes: the sum of the items' taxes, in cents.
  double taxes = std::get<double>(Scalar(
      *db_, "SELECT SUM(VRIMPOSITPED) FROM ITEMPEDIDO WHERE CDFILIAL = '0006' AND NRPEDIDO = :N",
      {{"N", std::string("0000000056")}}));
  EXPECT_NEAR(Checked("GetImposPedTot", {"0006", "0000000056"}).get<double>(), taxes, 0.005);

  fw::TClientDataSet oper("cdsOperTPed");
  oper.AddField("CDOPERADOR", S, 12);
  Load(oper, Checked("getOperTPed", {"0005", "ANA"}));
  EXPECT_EQ(oper.RecordCount(), 2);
  Load(oper, Checked("getOperTPed", {"0005", "DANIELA"}));
  EXPECT_TRUE(oper.IsEmpty());

  fw::TClientDataSet count("cdsItemErro");
  count.AddField("COUNT", F);
  Load(count, Checked("GetItemErro", {"0001", "0000000003"}));
  EXPECT_EQ(count.FieldByName("COUNT").AsFloat(), 1.0);
  Load(count, Checked("GetItemErro", {"0001", "0000000001"}));
  EXPECT_EQ(count.FieldByName("COUNT").AsFloat(), 0.0);

  fw::TClientDataSet withProblems("cdsPedIErro");  // no persistent fields
  Load(withProblems, Checked("GetPedIErro", {"0001"}));
  EXPECT_TRUE(withProblems.Locate("NRPEDIDO", fw::Value(std::string("0000000003"))));
  EXPECT_FALSE(withProblems.Locate("NRPEDIDO", fw::Value(std::string("0000000001"))));
  EXPECT_EQ(withProblems.RecordCount(),
            Count(*db_, "SELECT COUNT(DISTINCT I.NRPEDIDO) FROM ITEMPEDIDO I JOIN INCONSALVARA L"
                        " ON L.CDFILIAL = I.CDFILIAL AND L.CDPRODUTO = I.CDPRODUTO"
                        " AND L.IDRESOLVIDA = 'N' WHERE I.CDFILIAL = '0001'"));

  fw::TClientDataSet numbers("cdsNrPedido");
  Declare(numbers, {{"IDMARCADO", S, 1}, {"NRPEDIDO", S, 10}, {"NMFANTCLIE", S, 50}});
  Load(numbers, Checked("GetNrPedido", {"0002"}));
  EXPECT_EQ(numbers.RecordCount(),
            Count(*db_, "SELECT COUNT(*) FROM PEDIDO WHERE CDFILIAL = '0002'"));
  EXPECT_EQ(numbers.FieldByName("NRPEDIDO").AsString(), "0000000012");
  EXPECT_EQ(numbers.FieldByName("IDMARCADO").AsString(), "N");
}

TEST_F(DetailsTest, CheckedLookupsRefuseUnknownBranchesAndOrders) {
  auto message = [&](const std::string& method, std::vector<json> args) {
    json reply = con_->Call(method, std::move(args));
    EXPECT_EQ(reply["status"], "error");
    return reply.value("message", "");
  };
  EXPECT_EQ(message("GetImposPedTot", {"0001", "0000099999"}),
            "Pedido 0000099999 não encontrado na filial 0001.");
  EXPECT_EQ(message("GetItemErro", {"0002", "0000000001"}),
            "Pedido 0000000001 não encontrado na filial 0002.");
  EXPECT_EQ(message("getOperTPed", {"X", "ANA"}), "Filial X não cadastrada.");
  EXPECT_EQ(message("GetPedIErro", {""}), "Filial  não cadastrada.");
  EXPECT_EQ(message("GetNrPedido", {std::string(1 << 20, '9')}),
            "Filial 99999999999999999999... não cadastrada.");
}

}  // namespace
}  // namespace appserver::testing
