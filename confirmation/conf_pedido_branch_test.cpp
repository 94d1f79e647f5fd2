// Branch selection: validation and its messages, the order parameters
// reshaping the grids, the operator's checks, and the filter dialog at the
// end of every valid exit.
#include "confirmation/conf_pedido_test_support.h"

namespace conf_pedido_testing {
namespace {

using Cli_zqv41800::stCdFilial;

using BranchTest = ScreenTest;

std::vector<std::string> Fields(const fw::TDBGrid& grid) {
  std::vector<std::string> fields;
  for (int i = 0; i < grid.Columns().Count(); ++i) fields.push_back(grid.Columns()[i].FieldName());
  return fields;
}

int Width(fw::TDBGrid& grid, const char* field) { return grid.Columns().FindField(field)->Width(); }

TEST_F(BranchTest, AValidBranchLoadsItsParametersOnceAndOpensTheFilterEveryTime) {
  Open();
  EXPECT_TRUE(screen->medCdFilial->Focused());
  EXPECT_EQ(screen->medCdFilial->Text(), "0001");
  EXPECT_FALSE(screen->sbtFiltro->Enabled());  // the focus is in the branch field
  LeaveBranch();
  // The screen's checks, then the filter dialog's own permission request.
  EXPECT_EQ(Calls(), (std::vector<std::string>{"GetParamPedido", "getOperTPed", "getOperTPed"}));
  EXPECT_EQ(lastArgs["getOperTPed"], json({"0001", "MARIA"}));
  EXPECT_EQ(stCdFilial, "0001");
  EXPECT_EQ(screen->edtNmFilial->Text(), "Matriz São Paulo");
  EXPECT_EQ(filterOpenings, 1);
  EXPECT_TRUE(screen->sbtFiltro->Enabled());  // the field was left
  EXPECT_EQ(op.BusyKinds, (std::vector<int>{6, 6}));

  TypeBranch("1");  // the same branch, written short
  EXPECT_EQ(screen->medCdFilial->Text(), "1");
  LeaveBranch();
  EXPECT_EQ(screen->medCdFilial->Text(), "0001");
  // Same branch: the screen reloads nothing; only the dialog asks.
  EXPECT_EQ(Calls(), std::vector<std::string>{"getOperTPed"});
  EXPECT_EQ(filterOpenings, 2);
}

TEST_F(BranchTest, LowerCaseIsShownUpperAndAFifthCharacterCannotBeTyped) {
  Open();
  TypeBranch("abcde");
  EXPECT_EQ(screen->medCdFilial->Text(), "ABCD");
}

TEST_F(BranchTest, AnEmptyOrUnknownBranchIsRefusedAndTheFocusStays) {
  Open();
  TypeBranch(" ");
  screen->medCdFilial->Clear();
  op.ExpectError("Filial deve ser informada.");
  EXPECT_THROW(screen->dbgPadrao->SetFocus(), fw::EAbort);
  EXPECT_TRUE(screen->medCdFilial->Focused());

  TypeBranch("77");
  op.ExpectError("Filial não cadastrada.");
  EXPECT_THROW(screen->dbgPadrao->SetFocus(), fw::EAbort);
  EXPECT_TRUE(screen->medCdFilial->Focused());
  EXPECT_EQ(screen->medCdFilial->Text(), "0077");
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(filterOpenings, 0);
  EXPECT_TRUE(stCdFilial.empty());
}

TEST_F(BranchTest, BranchParametersShapeTheGrids) {
  Open();
  fw::TDBGrid& orders = *screen->dbgPadrao;
  fw::TDBGrid& items = *screen->dbgItemPedido;
  LeaveBranch();  // 0001: plain parameters
  EXPECT_EQ(Fields(orders)[8], "NMTIPOOPER");
  EXPECT_EQ(Width(orders, "NMTIPOOPER"), 111);
  EXPECT_FALSE(screen->panComisPosEst->Visible());
  EXPECT_EQ(items.Align(), fw::TAlign::alClient);

  TypeBranch("0002");  // no operation-type column
  LeaveBranch();
  EXPECT_EQ(Consiste::IndiceCol(orders, "NMTIPOOPER"), -1);
  EXPECT_EQ(Width(orders, "NRPEDIDO"), 80);
  EXPECT_EQ(Width(orders, "IDTIPOPEDIDO"), 85);
  EXPECT_EQ(Width(orders, "NMFANTCLIE"), 315);
  EXPECT_FALSE(screen->cdsPedido.FieldByName("NMTIPOOPER").Visible);

  TypeBranch("0008");  // the column comes back after the salesperson; no price factor
  LeaveBranch();
  EXPECT_EQ(Fields(orders),
            (std::vector<std::string>{"IDCHECK", "IDSITPEDIDO", "NRPEDIDO", "NMFANTCLIE",
                                      "DTPEDIDO", "DTENTPED", "IDTIPOPEDIDO", "NMFANVEN",
                                      "NMTIPOOPER", "VRPBRUVOLPED", "VRPLIQVOLPED"}));
  EXPECT_EQ(Width(orders, "NRPEDIDO"), 70);
  EXPECT_EQ(Width(orders, "IDTIPOPEDIDO"), 80);
  EXPECT_EQ(Width(orders, "NMFANTCLIE"), 250);
  EXPECT_EQ(Width(orders, "NMTIPOOPER"), 95);
  EXPECT_TRUE(screen->cdsPedido.FieldByName("NMTIPOOPER").Visible);
  EXPECT_FALSE(items.Columns().FindField("SGFATPRECO")->Visible());

  orders.Columns().FindField("NMTIPOOPER")->SetWidth(120);
  TypeBranch("0003");  // keeps the column as it is; shows the price factor and the stock
  LeaveBranch();
  EXPECT_EQ(Width(orders, "NMTIPOOPER"), 120);
  EXPECT_TRUE(items.Columns().FindField("SGFATPRECO")->Visible());
  EXPECT_TRUE(screen->dbgPosiEstoq->Visible());
  EXPECT_TRUE(screen->splComisVend->Visible());
  EXPECT_TRUE(screen->panComisPosEst->Visible());
  EXPECT_EQ(items.Align(), fw::TAlign::alTop);
  EXPECT_EQ(items.Height(), 140);
  EXPECT_EQ(screen->panComisPosEst->Align(), fw::TAlign::alClient);
  EXPECT_EQ(screen->splComisVend->Top(), items.Top() + 140);

  TypeBranch("0001");
  LeaveBranch();
  EXPECT_FALSE(screen->panComisPosEst->Visible());
  EXPECT_EQ(screen->panComisPosEst->Align(), fw::TAlign::alNone);
  EXPECT_EQ(items.Align(), fw::TAlign::alClient);
  EXPECT_EQ(filterOpenings, 5);
}

TEST_F(BranchTest, AnOperatorWithoutPermissionsNorSalespersonCannotWorkWhereTheBranchRequiresIt) {
  Facts("DANIELA", "0005", false);
  Open();
  op.ExpectError("Não há operador parametrizado para o vendedor logado.");
  int freed = 0;
  screen->FreeNotification([&] { ++freed; });
  screen->dbgPadrao->SetFocus();
  fw::Application().ProcessMessages();  // the close request
  EXPECT_EQ(freed, 1);
  EXPECT_FALSE(Cli_zqv41800::boIdCriado);
  EXPECT_EQ(filterOpenings, 0);
  EXPECT_TRUE(stCdFilial.empty());
}

TEST_F(BranchTest, OperatorsWithPermissionsOrASalespersonMayWorkThere) {
  for (const char* operador : {"CARLOS", "BRUNO"}) {
    Facts(operador, "0005", false);
    Open();
    LeaveBranch();
    EXPECT_EQ(stCdFilial, "0005") << operador;
    screen->Close();
    fw::Application().ProcessMessages();
  }
  EXPECT_EQ(filterOpenings, 2);
}

// A failed permission request must not let the next exit skip the checks.
TEST_F(BranchTest, AFailedPermissionRequestIsAskedAgainAtTheNextExit) {
  Facts("DANIELA", "0005", false);
  Open();
  FailNext("getOperTPed", "Banco de dados indisponível.");
  EXPECT_THROW(screen->dbgPadrao->SetFocus(), fw::EServerError);
  EXPECT_TRUE(screen->medCdFilial->Focused());
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(stCdFilial.empty());
  EXPECT_EQ(Calls(), (std::vector<std::string>{"GetParamPedido", "getOperTPed"}));

  op.ExpectError("Não há operador parametrizado para o vendedor logado.");
  screen->dbgPadrao->SetFocus();  // the same code again: checked again, refused
  EXPECT_EQ(Calls(), (std::vector<std::string>{"GetParamPedido", "getOperTPed"}));
  fw::Application().ProcessMessages();
  EXPECT_FALSE(Cli_zqv41800::boIdCriado);
  EXPECT_EQ(filterOpenings, 0);
}

TEST_F(BranchTest, AFixedBranchIsValidatedOnTheFirstActivationAndStaysDisabled) {
  Facts("MARIA", "0003", true);
  CloseFilterWhenShown();
  Open();
  EXPECT_EQ(filterOpenings, 1);
  EXPECT_EQ(stCdFilial, "0003");
  EXPECT_TRUE(screen->dbgPadrao->Focused());
  EXPECT_EQ(screen->dbgItemPedido->Align(), fw::TAlign::alTop);  // stock shown in 0003
  for (fw::TControl* c : std::initializer_list<fw::TControl*>{
           screen->lblFilial, screen->medCdFilial, screen->btnFilial}) {
    EXPECT_FALSE(c->Enabled()) << c->Name();
    EXPECT_EQ(c->Tag, 99) << c->Name();
  }
  screen->Habilita();
  EXPECT_FALSE(screen->medCdFilial->Enabled());
  EXPECT_TRUE(screen->sbtFiltro->Enabled());
}

TEST_F(BranchTest, AFixedBranchWhoseChecksFailedIsCheckedAgainBeforeAnyList) {
  Facts("MARIA", "0003", true);
  FailNext("getOperTPed", "Banco de dados indisponível.");
  EXPECT_THROW(Open(), fw::EServerError);  // reported by the host; the screen stays
  ASSERT_TRUE(screen->Visible());
  EXPECT_TRUE(stCdFilial.empty());
  Calls();
  CloseFilterWhenShown();
  screen->sbtVerificar->Click();  // the checks, then the filter dialog's request
  EXPECT_EQ(Calls(), (std::vector<std::string>{"GetParamPedido", "getOperTPed", "getOperTPed"}));
  EXPECT_EQ(stCdFilial, "0003");
  EXPECT_EQ(filterOpenings, 1);
  screen->sbtVerificar->Click();  // now the list
  EXPECT_EQ(Calls(), std::vector<std::string>{"GetPedido"});
}

TEST_F(BranchTest, TypingDropsTheProductListAndTheBranchName) {
  Open();
  LeaveBranch();
  Filtro.Produto = {false, "'1010010001'", ""};
  TypeBranch("2");
  EXPECT_EQ(Filtro.Produto.stLista, "");
  EXPECT_TRUE(Filtro.Produto.boTodos);
  EXPECT_EQ(Filtro.Produto.stTodos, "");  // left as it was
  EXPECT_EQ(screen->edtNmFilial->Text(), "");
}

TEST_F(BranchTest, TheBranchPickListFillsCodeAndValidatesOnExit) {
  Open();
  op.Pick("Filial", {"0004"});
  screen->btnFilial->Click();
  EXPECT_EQ(screen->medCdFilial->Text(), "0004");
  ASSERT_EQ(op.PickRequests.size(), 1u);
  EXPECT_EQ(op.PickRequests[0].DataSet, &screen->qryFilial);
  LeaveBranch();
  EXPECT_EQ(screen->edtNmFilial->Text(), "Filial Belo Horizonte");
  EXPECT_EQ(stCdFilial, "0004");
}

}  // namespace
}  // namespace conf_pedido_testing
