// Confirming, cancelling and printing: the questions, what both requests
// carry, what the screen keeps after a success, and that a failure of any
// kind discards the marks of the mode and leaves the lists as they were.
#include "confirmation/conf_pedido_marking_fixture.h"
#include "library/velkora.h"
#include "shared/filtro.h"

namespace conf_pedido_testing {
namespace {

using Cli_zqv41800::inContItemPedidoCh;
using Cli_zqv41800::inContPedidoCh;
using Strings = std::vector<std::string>;

const char* const kConfirma = "Confirma operação?";
const char* const kOperBloq = "Operação bloqueada. Pedido em alteração por outro usuário.";
const char* const kNLogOper =
    "Operador logado não está associado à um vendedor para receber comissão. Deseja continuar?";

class ConfirmTest : public MarkingTest {
 protected:
  void SetUp() override {
    MarkingTest::SetUp();
    saved_ = Filtro;
  }
  void TearDown() override {
    Filtro = saved_;
    Velkora::SetModuleLoader(nullptr);
    MarkingTest::TearDown();
  }
  // Orders 1, 2 and 9 listed, 1 and 9 marked by clicks.
  void TwoMarked() {
    Show(Loaded({"0000000001", "0000000002", "0000000009"}));
    ItemErrors(0);
    Click(*screen->dbgPadrao, "IDCHECK");
    screen->cdsPedido.Last();
    Click(*screen->dbgPadrao, "IDCHECK");
    ASSERT_EQ(Marks(screen->cdsPedido), "SNS");
    Calls();
  }
  // The command run as the host's loop runs it: an escaping error is
  // reported to the operator. False when an error escaped.
  bool Press(fw::TControl& button) {
    try {
      button.Click();
    } catch (...) {
      fw::Application().HandleException(std::current_exception());
      return false;
    }
    return true;
  }
  void CommissionAsked() {
    Filtro.Vendedor.stVendLog = "";
    screen->cdsParamPedido.Edit();
    screen->cdsParamPedido.FieldByName("IDEXIBVENDCOM").SetAsString("S");
    screen->cdsParamPedido.Post();
  }
  TFiltro saved_;
};

TEST_F(ConfirmTest, OrdersConfirmedSendTheMarkedListAndTakeTheRefreshedList) {
  TwoMarked();
  Filtro.Vendedor.stVendLog = "000123";
  json refreshed = Rows(Orders(), "NRPEDIDO", {"0000000001", "0000000002"});
  Set(refreshed, 0, "IDSITPEDIDO", "2");
  values["SetPedidoPEAN"] = refreshed;
  screen->mnuFormaPgto->Click();  // a page whose detail a scroll would fetch
  Calls();
  op.Answer(kConfirma, fw::mrYes);
  EXPECT_TRUE(Press(*screen->sbtConfirmar));
  op.Verify();
  EXPECT_EQ(Calls(), Strings{"SetPedidoPEAN"});  // no detail fetched on the way

  const json& args = lastArgs["SetPedidoPEAN"];
  ASSERT_EQ(args.size(), 31u);
  EXPECT_EQ(args[0], "0001");
  EXPECT_EQ(args[1], "0000000001_0000000009_");
  EXPECT_EQ(args[2], "MARIA");
  std::vector<json> filter = ArgsFiltroConfirmacao(Filtro);
  EXPECT_EQ(std::vector<json>(args.begin() + 3, args.begin() + 28), filter);
  EXPECT_EQ(args[3], "000123");
  EXPECT_EQ(args[28], kOperBloq);
  EXPECT_EQ(std::vector<json>(args.begin() + 29, args.end()), ArgsVendComis(Filtro));

  EXPECT_EQ(screen->cdsPedido.RecordCount(), 2);
  EXPECT_EQ(screen->cdsPedido.FieldByName("IDSITPEDIDO").AsString(), "2");
  EXPECT_EQ(screen->cdsPedido.ChangeCount(), 0);
  EXPECT_EQ(inContPedidoCh, 0);
  EXPECT_FALSE(MarkCommands());
  EXPECT_TRUE(screen->cdsPedido.AfterScroll != nullptr);
  EXPECT_EQ(op.BusyKinds.back(), 1);
  EXPECT_EQ(op.BusyDepth, 0);
}

TEST_F(ConfirmTest, QuestionsDecideWhetherAnythingIsSent) {
  TwoMarked();
  op.Answer(kConfirma, fw::mrNo);  // No to the first question: nothing changes
  EXPECT_TRUE(Press(*screen->sbtConfirmar));
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(Marks(screen->cdsPedido), "SNS");
  EXPECT_EQ(inContPedidoCh, 2);
  EXPECT_TRUE(MarkCommands());

  CommissionAsked();  // No to the commission question discards the marks
  op.Answer(kConfirma, fw::mrYes).Answer(kNLogOper, fw::mrNo);
  EXPECT_FALSE(Press(*screen->sbtConfirmar));
  op.Verify();
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(Marks(screen->cdsPedido), "NNN");
  EXPECT_EQ(screen->cdsPedido.ChangeCount(), 0);
  EXPECT_EQ(inContPedidoCh, 0);
  EXPECT_FALSE(MarkCommands());
  EXPECT_EQ(op.Shown.size(), 3u);  // the abort itself shows nothing

  op.ExpectError("Pedidos devem ser informados.");  // nothing marked any more
  EXPECT_FALSE(Press(*screen->sbtConfirmar));
  op.Verify();
}

TEST_F(ConfirmTest, CommissionQuestionAnsweredOtherwiseProceeds) {
  TwoMarked();
  CommissionAsked();
  values["SetPedidoPEAN"] = Orders();
  op.Answer(kConfirma, fw::mrYes).Answer(kNLogOper, fw::mrCancel);  // only No stops
  EXPECT_TRUE(Press(*screen->sbtConfirmar));
  op.Verify();
  EXPECT_EQ(Calls(), Strings{"SetPedidoPEAN"});
}

TEST_F(ConfirmTest, RefusedByTheServerNothingStaysPendingAndTheErrorIsShown) {
  TwoMarked();
  screen->cdsPedido.First();
  FailNext("SetPedidoPEAN", kOperBloq);
  op.Answer(kConfirma, fw::mrYes).ExpectError(kOperBloq);
  EXPECT_FALSE(Press(*screen->sbtConfirmar));
  op.Verify();
  EXPECT_EQ(screen->cdsPedido.RecordCount(), 3);  // the list as it was
  EXPECT_EQ(Marks(screen->cdsPedido), "NNN");
  EXPECT_EQ(screen->cdsPedido.ChangeCount(), 0);
  EXPECT_EQ(inContPedidoCh, 0);
  EXPECT_FALSE(screen->sbtConfirmar->Enabled());
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(screen->cdsPedido.AfterScroll != nullptr);  // details follow the cursor again
}

TEST_F(ConfirmTest, CancelAsksAndUnmarksTheMode) {
  TwoMarked();
  op.Answer("Cancelar operação?", fw::mrNo);
  EXPECT_TRUE(Press(*screen->sbtCancelar));
  EXPECT_EQ(Marks(screen->cdsPedido), "SNS");
  op.Answer("Cancelar operação?", fw::mrYes);
  EXPECT_TRUE(Press(*screen->sbtCancelar));
  op.Verify();
  EXPECT_EQ(Marks(screen->cdsPedido), "NNN");
  EXPECT_EQ(inContPedidoCh, 0);
  EXPECT_FALSE(MarkCommands());
  EXPECT_EQ(screen->cdsPedido.FieldByName("NRPEDIDO").AsString(), "0000000009");
  EXPECT_TRUE(Calls().empty());
}

TEST_F(ConfirmTest, PrintStartsThePrintModuleOrSaysItIsMissing) {
  Show(Loaded({"0000000001"}));
  op.ExpectError("Módulo ZQV47700 não encontrado.");
  EXPECT_FALSE(Press(*screen->sbtImprimir));
  op.Verify();
  EXPECT_TRUE(Cli_zqv41800::boIdCriado);  // the screen goes on
  std::string started;
  Velkora::SetModuleLoader(
      [&started](const std::string& code, const std::string& param) { started = code + " " + param; });
  EXPECT_TRUE(Press(*screen->sbtImprimir));
  EXPECT_EQ(started, "ZQV47700 M");
}

class ConfirmItemsTest : public ConfirmTest {
 protected:
  // Order 1's first item marked on the item page.
  void OneItemMarked() {
    ShowItems(Items());
    Click(*screen->dbgItemPedido, "IDCHECK");
    ASSERT_EQ(inContItemPedidoCh, 1);
    Calls();
  }
  json Refreshed(const Strings& orders) {
    json items = Reply("GetItemPedido", {"0001", "0000000001", "", "T"});
    return json::array({Rows(Orders(), "NRPEDIDO", orders), items});
  }
};

TEST_F(ConfirmItemsTest, ItemsConfirmedSendThePacketAndReturnToTheSameOrder) {
  OneItemMarked();
  values["SetItemPedidoPECF"] = Refreshed({"0000000002", "0000000001"});
  op.Answer("Deseja confirmar os itens informados?", fw::mrYes);
  EXPECT_TRUE(Press(*screen->sbtConfirmar));
  op.Verify();
  const json& args = lastArgs["SetItemPedidoPECF"];
  ASSERT_EQ(args.size(), 32u);
  EXPECT_EQ(args[0], "0001");
  EXPECT_EQ(args[1], "0000000001");
  EXPECT_EQ(args[2], "MARIA");
  fw::TDataPacket sent = fw::TDataPacket::FromJson(args[3]);
  EXPECT_EQ(sent.ToJson().at("rows").size(), 3u);
  EXPECT_NE(args[3].dump().find("\"S\""), std::string::npos);  // the mark travels
  EXPECT_EQ(std::vector<json>(args.begin() + 4, args.begin() + 29), ArgsFiltroConfirmacao(Filtro));
  EXPECT_EQ(args[29], kOperBloq);
  EXPECT_EQ(inContItemPedidoCh, 0);
  EXPECT_EQ(screen->cdsPedido.FieldByName("NRPEDIDO").AsString(), "0000000001");
  EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshItemPedido);
  EXPECT_EQ(Calls().front(), "SetItemPedidoPECF");
}

TEST_F(ConfirmItemsTest, AnOrderThatLeftTheListLeavesTheOperatorOnTheOrders) {
  OneItemMarked();
  values["SetItemPedidoPECF"] = Refreshed({"0000000002"});
  op.Answer("Deseja confirmar os itens informados?", fw::mrYes);
  EXPECT_TRUE(Press(*screen->sbtConfirmar));
  EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshPadrao);
}

TEST_F(ConfirmItemsTest, RefusedItemsAreUnmarkedAndNothingIsRelocated) {
  OneItemMarked();
  FailNext("SetItemPedidoPECF", "Pedido não está pendente.");
  op.Answer("Deseja confirmar os itens informados?", fw::mrYes)
      .ExpectError("Pedido não está pendente.");
  EXPECT_FALSE(Press(*screen->sbtConfirmar));
  op.Verify();
  EXPECT_EQ(Marks(screen->cdsItemPedido), "NNN");
  EXPECT_EQ(screen->cdsItemPedido.ChangeCount(), 0);
  EXPECT_EQ(inContItemPedidoCh, 0);
  EXPECT_FALSE(MarkCommands());
  EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshItemPedido);
  EXPECT_EQ(op.BusyDepth, 0);

  op.ExpectError("Itens do pedido devem ser informados.");
  screen->tshPadrao->SetEnabled(false);  // item mode without marks
  EXPECT_FALSE(Press(*screen->sbtConfirmar));
  op.Verify();
}

TEST_F(ConfirmItemsTest, CancelInItemModeUnmarksTheItemsAndFreesTheOrderPage) {
  OneItemMarked();
  screen->cdsItemPedido.Last();
  Calls();
  op.Answer("Cancelar operação?", fw::mrYes);
  EXPECT_TRUE(Press(*screen->sbtCancelar));
  op.Verify();
  EXPECT_EQ(Marks(screen->cdsItemPedido), "NNN");
  EXPECT_EQ(inContItemPedidoCh, 0);
  EXPECT_TRUE(screen->tshPadrao->Enabled());
  EXPECT_FALSE(MarkCommands());
  EXPECT_EQ(screen->cdsItemPedido.FieldByName("NRITEMPED").AsString(), "003");
  EXPECT_TRUE(Calls().empty());  // no stock fetched while unmarking
  EXPECT_EQ(screen->cdsItemPedido.ChangeCount(), 2);  // unmarking is posted, not discarded
}

}  // namespace
}  // namespace conf_pedido_testing
