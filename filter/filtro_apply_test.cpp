// Applying the filter: the record rebuilt from the dialog and
// sent with GetPedido; the salesperson rule of the branch; the four
// outcomes of the confirm command (a validator refuses, the permission
// request fails, the order-list request fails, success).
#include <algorithm>

#include "filter/filtro_test_support.h"
#include "text/date_time.h"

namespace filtro_testing {
namespace {

using Strings = std::vector<std::string>;
using nlohmann::json;

// Every member of the record, flags included, for whole-record compares.
json Snapshot(const TFiltro& f) {
  json j;
  j["NrPedido"] = {f.NrPedido.boIntervalo, f.NrPedido.boLista, f.NrPedido.stDe,
                   f.NrPedido.stAte,       f.NrPedido.stLista, f.NrPedido.stTodos};
  j["Prio"] = {f.Prio.boBaixa,   f.Prio.boNormal,      f.Prio.boAlta,
               f.Prio.boUrgente, f.Prio.boPrioritaria, f.Prio.stCodigos};
  j["StatPed"] = {f.StatPed.boPendente, f.StatPed.boAndamento, f.StatPed.boParcial,
                  f.StatPed.stCodigos};
  j["StatIPed"] = {f.StatIPed.stCodigos,   f.StatIPed.boPendente,  f.StatIPed.boConfirmado,
                   f.StatIPed.boAprovado,  f.StatIPed.boLiquidado, f.StatIPed.boCancelado,
                   f.StatIPed.boParcial};
  j["Produto"] = {f.Produto.boTodos, f.Produto.stLista, f.Produto.stTodos};
  j["Vendedor"] = {f.Vendedor.boTodos, f.Vendedor.stLista, f.Vendedor.stTodos,
                   f.Vendedor.stVendLog, f.Vendedor.stTodosVendLog};
  j["VendComis"] = {f.VendComis.boTodos, f.VendComis.stLista, f.VendComis.stTodos};
  j["TipoOper"] = {f.TipoOper.boTodos, f.TipoOper.stLista, f.TipoOper.stTodos};
  j["Cliente"] = {f.Cliente.boTodos, f.Cliente.stLista, f.Cliente.stTodos};
  j["Entrega"] = {f.Entrega.dtDe, f.Entrega.dtAte, f.Entrega.stTodos};
  j["Emissao"] = {f.Emissao.dtDe, f.Emissao.dtAte, f.Emissao.stTodos};
  j["MuniciCli"] = {f.MuniciCli.boTodos, f.MuniciCli.stLista, f.MuniciCli.stTodos};
  return j;
}

// What confirming the untouched dialog gives: the defaults of the screen,
// with the status codes built from the boxes.
TFiltro Confirmed() {
  TFiltro f;
  IniciaFiltro(f);
  f.Prio = {true, true, true, true, true, "43210"};
  f.StatPed = {true, false, false, "1"};
  f.StatIPed = {"1234657", true, true, true, true, true, true};
  return f;
}

class FiltroApplyTest : public FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    OpenDialog();
  }

  void OpenDialog() {
    Dialog();
    fw::Application().ProcessMessages();
    Calls();
  }

  // The screen moved to `branch` with `operador` logged in, the dialog
  // opened again there.
  void Reopen(const std::string& operador, const std::string& branch) {
    dialog->Close();
    fw::Application().ProcessMessages();
    Facts(operador, branch, false);
    TypeBranch(branch);
    LeaveBranch();
    ASSERT_EQ(Cli_zqv41800::stCdFilial, branch);
    OpenDialog();
  }

  void Confirm() { dialog->sbtConfirma->MouseClick(1, 1); }
  json Args() { return lastArgs["GetPedido"]; }
  int Orders() { return screen->cdsPedido.Active() ? screen->cdsPedido.RecordCount() : -1; }
};

TEST_F(FiltroApplyTest, TheUntouchedDialogSendsTheDefaultsAndCloses) {
  ASSERT_FALSE(screen->qryFilial.Active());
  const size_t busy = op.BusyKinds.size();
  Confirm();
  EXPECT_EQ(Calls(), (Strings{"getOperTPed", "GetPedido"}));
  EXPECT_EQ(lastArgs["getOperTPed"], json({"0001", "MARIA"}));
  const TFiltro expected = Confirmed();
  EXPECT_EQ(Snapshot(Filtro), Snapshot(expected));
  EXPECT_EQ(Args(), json(ArgsGetPedido(expected, "0001", "MARIA")));
  // Spelled out: "T" in every stTodos and stTodosVendLog, no dates.
  for (int i : {1, 3, 5, 7, 9, 11, 17, 20, 24, 27}) EXPECT_EQ(Args()[i], "T") << "argument " << i + 1;
  EXPECT_EQ(Args()[12], "43210");
  EXPECT_EQ(Args()[13], "1");
  EXPECT_EQ(Args()[14], "1234657");
  for (int i : {15, 16, 18, 19}) EXPECT_EQ(Args()[i], 0) << "argument " << i + 1;
  EXPECT_EQ(Args()[0], "");  // MARIA has no salesperson
  EXPECT_EQ(Args()[25], "0001");
  EXPECT_EQ(Args()[28], "MARIA");

  EXPECT_FALSE(Cli_zqv41801::boIdCriado);  // closed, released
  const json orders = Reply("GetPedido", ArgsGetPedido(expected, "0001", "MARIA"));
  EXPECT_EQ(Orders(), static_cast<int>(orders.at("rows").size()));
  EXPECT_GT(Orders(), 0);
  EXPECT_EQ(std::vector<int>(op.BusyKinds.begin() + busy, op.BusyKinds.end()),
            (std::vector<int>{6, 6}));  // one show per request
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_FALSE(screen->qryFilial.Active());  // as it was
}

TEST_F(FiltroApplyTest, TheDialogsChoicesGoIntoTheRecord) {
  namespace U = Cli_zqv41801;
  TfrmFiltroConfPedido& f = *dialog;
  f.rbtLCliente->SetChecked(true);
  U::stCliente = "'C0001','C0002'";
  f.rbtLVendComis->SetChecked(true);  // and back: the keys stay out
  U::stVendComis = "'0003'";
  f.rbtTVendComis->SetChecked(true);
  f.rbtLTpOper->SetChecked(true);
  U::stTipoOper = "'01'";
  f.rbtLMuniciCli->SetChecked(true);
  U::stMuniciCli = "'1058SP0001'";
  f.rbtLNrPedido->SetChecked(true);
  U::stNrPedido = "'0000000001'";
  for (fw::TCheckBox* box : {f.chbBaixa, f.chbAlta, f.chbPrioritaria}) box->SetChecked(false);
  f.chbPPendente->SetChecked(false);
  f.chbPAndamento->SetChecked(true);
  f.chbPParcialmente->SetChecked(true);
  for (fw::TCheckBox* box : {f.chbIPendente, f.chbIConfirmado, f.chbILiquidado, f.chbICancelado})
    box->SetChecked(false);
  f.depDeEmissao->SetDate(fw::EncodeDate(2004, 5, 10));
  f.depAteEmissao->SetDate(fw::EncodeDate(2004, 5, 10));

  Confirm();
  ASSERT_FALSE(U::boIdCriado);
  TFiltro expected = Confirmed();
  expected.Cliente = {false, "'C0001','C0002'", ""};
  expected.VendComis = {true, "", "T"};
  expected.TipoOper = {false, "'01'", ""};
  expected.MuniciCli = {false, "'1058SP0001'", ""};
  expected.NrPedido = {false, true, "", "", "'0000000001'", ""};
  expected.Prio = {false, true, false, true, false, "31"};
  expected.StatPed = {false, true, true, "26"};
  expected.StatIPed = {"37", false, false, true, false, false, true};
  expected.Emissao = {fw::EncodeDate(2004, 5, 10), fw::EncodeDate(2004, 5, 10), ""};
  EXPECT_EQ(Snapshot(Filtro), Snapshot(expected));
  EXPECT_EQ(Args(), json(ArgsGetPedido(expected, "0001", "MARIA")));
}

TEST_F(FiltroApplyTest, OnlyLiquidadoSendsBothItsCodes) {
  TfrmFiltroConfPedido& f = *dialog;
  for (fw::TCheckBox* box : {f.chbIPendente, f.chbIConfirmado, f.chbIAprovado, f.chbICancelado,
                             f.chbIParcialmente})
    box->SetChecked(false);
  Confirm();
  EXPECT_EQ(Filtro.StatIPed.stCodigos, "46");
  EXPECT_EQ(Args()[14], "46");
}

TEST_F(FiltroApplyTest, AnIntervalIsSentInFixedWidth) {
  TfrmFiltroConfPedido& f = *dialog;
  f.medDeIntervalo->SetText("12");
  f.medAteIntervalo->SetText("345");
  Confirm();
  TNrPedido expected{true, false, "0000000012", "0000000345", "", ""};
  TFiltro withInterval;
  withInterval.NrPedido = expected;
  EXPECT_EQ(Snapshot(Filtro)["NrPedido"], Snapshot(withInterval)["NrPedido"]);
  EXPECT_EQ(Args()[21], "0000000012");
  EXPECT_EQ(Args()[22], "0000000345");
  EXPECT_EQ(Args()[23], "");
  EXPECT_EQ(Args()[24], "");
}

TEST_F(FiltroApplyTest, WithoutTheBranchsRestrictionTheOperatorsSalespersonGoesAlong) {
  Reopen("ANA", "0001");  // IDEXIBPEDIDO "1"; ANA is salesperson 0001
  dialog->rbtLVendedor->SetChecked(true);
  Cli_zqv41801::stVendedor = "'0003'";
  Confirm();
  EXPECT_EQ(Snapshot(Filtro)["Vendedor"], json({false, "'0003'", "", "0001", "T"}));
  EXPECT_EQ(Args()[0], "0001");
  EXPECT_EQ(Args()[2], "'0003'");
  EXPECT_EQ(Args()[28], "ANA");
}

TEST_F(FiltroApplyTest, PermissionRowsWhereTheBranchRestrictsLiftTheSalespersonCriterion) {
  Reopen("ANA", "0005");  // IDEXIBPEDIDO "2"; ANA may work with types 01 and 03
  ASSERT_EQ(screen->cdsParamPedido.FieldByName("IDEXIBPEDIDO").AsString(), "2");
  dialog->rbtLVendedor->SetChecked(true);
  Cli_zqv41801::stVendedor = "'0003'";
  Confirm();
  EXPECT_EQ(lastArgs["getOperTPed"], json({"0005", "ANA"}));
  EXPECT_EQ(Snapshot(Filtro)["Vendedor"], json({false, "", "T", "", "T"}));
  for (int i : {0, 2}) EXPECT_EQ(Args()[i], "");
  for (int i : {1, 3}) EXPECT_EQ(Args()[i], "T");
}

TEST_F(FiltroApplyTest, WithoutPermissionRowsTheRestrictionStays) {
  Reopen("ANA", "0005");
  json none = Rows(Reply("getOperTPed", {"0005", "ANA"}), "CDTIPOOPER", {});
  values["getOperTPed"] = none;  // the permissions withdrawn meanwhile
  dialog->rbtTVendedor->SetChecked(true);
  Confirm();
  EXPECT_EQ(Args()[0], "0001");
  EXPECT_EQ(Args()[1], "T");
}

// An activation whose permission request failed never read the operator's
// salesperson; confirming still sends it.
TEST_F(FiltroApplyTest, TheOperatorsSalespersonIsSentAfterAFailedActivation) {
  Reopen("ANA", "0001");
  dialog->Close();
  fw::Application().ProcessMessages();
  FailNext("getOperTPed", "Servidor ocupado.");
  EXPECT_THROW(Dialog(), fw::EServerError);
  ASSERT_FALSE(dialog->qryVendLog.Active());
  Confirm();
  EXPECT_EQ(Args()[0], "0001");
}

TEST_F(FiltroApplyTest, ARefusalChangesNothingButTheIntervalWidth) {
  TfrmFiltroConfPedido& f = *dialog;
  Filtro.Cliente.stLista = "kept";
  const json before = Snapshot(Filtro);
  ASSERT_FALSE(screen->qryFilial.Active());
  f.medDeIntervalo->SetText("7");
  f.medAteIntervalo->SetText("9");
  f.chbPPendente->SetChecked(false);
  op.ExpectError("Situação do pedido deve ser informada.");
  EXPECT_THROW(Confirm(), fw::EAbort);
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(Snapshot(Filtro), before);
  EXPECT_EQ(f.medDeIntervalo->Text(), "0000000007");
  EXPECT_EQ(f.medAteIntervalo->Text(), "0000000009");
  EXPECT_TRUE(Cli_zqv41801::boIdCriado);
  EXPECT_TRUE(screen->qryFilial.Active());  // the command opened it and it stays open
}

TEST_F(FiltroApplyTest, AFailedPermissionRequestChangesOnlyTheSalespersonFlag) {
  TfrmFiltroConfPedido& f = *dialog;
  const json before = Snapshot(Filtro);
  f.rbtLVendedor->SetChecked(true);
  Cli_zqv41801::stVendedor = "'0003'";
  f.medDeIntervalo->SetText("3");
  f.medAteIntervalo->SetText("4");
  FailNext("getOperTPed", "Operador sem permissão na filial.");
  try {
    Confirm();
    ADD_FAILURE() << "confirmed";
  } catch (const fw::EServerError& e) {
    EXPECT_STREQ(e.what(), "Operador sem permissão na filial.");
  }
  EXPECT_EQ(Calls(), Strings{"getOperTPed"});
  json expected = before;
  expected["Vendedor"][0] = false;
  EXPECT_EQ(Snapshot(Filtro), expected);
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(Cli_zqv41801::boIdCriado);
  EXPECT_EQ(f.medDeIntervalo->Text(), "0000000003");
  EXPECT_TRUE(screen->qryFilial.Active());

  // The server unreachable: the same.
  serverDown = true;
  EXPECT_THROW(Confirm(), fw::EConnectionError);
  EXPECT_EQ(Snapshot(Filtro), expected);
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(Cli_zqv41801::boIdCriado);

  serverDown = false;
  Confirm();
  EXPECT_FALSE(Cli_zqv41801::boIdCriado);
}

TEST_F(FiltroApplyTest, AFailedOrderListKeepsTheOrdersAndTheDialog) {
  TfrmFiltroConfPedido& f = *dialog;
  screen->sbtVerificar->Click();  // the orders under the starting filter
  const int shown = Orders();
  ASSERT_GT(shown, 0);
  const std::string first = screen->cdsPedido.FieldByName("NRPEDIDO").AsString();
  Calls();
  f.chbPPendente->SetChecked(false);
  f.chbPAndamento->SetChecked(true);
  FailNext("GetPedido", "Tempo esgotado na consulta.");
  EXPECT_THROW(Confirm(), fw::Exception);
  EXPECT_EQ(Calls(), (Strings{"getOperTPed", "GetPedido"}));
  EXPECT_EQ(Filtro.StatPed.stCodigos, "2");  // rebuilt
  EXPECT_EQ(Filtro.Prio.stCodigos, "43210");
  EXPECT_EQ(Orders(), shown);
  EXPECT_EQ(screen->cdsPedido.FieldByName("NRPEDIDO").AsString(), first);
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(Cli_zqv41801::boIdCriado);
  EXPECT_FALSE(screen->qryFilial.Active());  // closed again by the command

  Confirm();  // the operator tries again
  EXPECT_FALSE(Cli_zqv41801::boIdCriado);
  const json orders = Reply("GetPedido", ArgsGetPedido(Filtro, "0001", "MARIA"));
  EXPECT_EQ(Orders(), static_cast<int>(orders.at("rows").size()));
  EXPECT_LT(Orders(), shown);  // in progress only
}

TEST_F(FiltroApplyTest, AnOpenBranchQueryStaysOpen) {
  screen->qryFilial.Open();
  Confirm();
  EXPECT_TRUE(screen->qryFilial.Active());
}

// Through the screen's filter command, as the operator uses it: the dialog
// shown modally, confirmed, and the screen's mark count reset with the
// commands enabled for the new list.
TEST_F(FiltroApplyTest, ConfirmedFromTheScreenTheCountIsResetAndCommandsFollowTheList) {
  dialog->Close();
  fw::Application().ProcessMessages();
  ASSERT_FALSE(screen->sbtAlterar->Enabled());  // no orders yet
  Cli_zqv41800::inContPedidoCh = 3;
  Calls();
  fw::Application().Post([] {
    if (Cli_zqv41801::boIdCriado) Cli_zqv41801::frmFiltroConfPedido->sbtConfirma->MouseClick(1, 1);
  });
  screen->sbtFiltro->MouseClick(1, 1);
  fw::Application().ProcessMessages();
  EXPECT_FALSE(Cli_zqv41801::boIdCriado);
  const Strings calls = Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "GetPedido"), calls.end());
  EXPECT_GT(Orders(), 0);
  EXPECT_EQ(Cli_zqv41800::inContPedidoCh, 0);
  EXPECT_TRUE(screen->sbtAlterar->Enabled());  // Habilita ran after the dialog
}

}  // namespace
}  // namespace filtro_testing
