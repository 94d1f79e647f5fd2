// Marking orders and items: the single toggle with its carrier and permit
// rules, the all-switch of both grids, the keys, the counters and the
// enabling they drive, and the grid keeping its row across every walk.
#include <random>

#include "base/text_case.h"
#include "confirmation/conf_pedido_marking_fixture.h"

namespace conf_pedido_testing {
namespace {

using Cli_zqv41800::inContItemPedidoCh;
using Cli_zqv41800::inContPedidoCh;
using Strings = std::vector<std::string>;

TEST_F(MarkingTest, ClickMarksAndUnmarksThePendingOrderOnlyOnTheMarkColumn) {
  json orders = Loaded({"0000000001", "0000000002"});
  Set(orders, 1, "IDSITPEDIDO", "2");
  Show(orders);
  ItemErrors(0);
  fw::TDBGrid& grid = *screen->dbgPadrao;

  EXPECT_TRUE(Click(grid, "NRPEDIDO"));  // another column: nothing
  EXPECT_EQ(Marks(screen->cdsPedido), "NN");
  EXPECT_TRUE(Calls().empty());

  EXPECT_TRUE(Click(grid, "IDCHECK"));
  EXPECT_EQ(Calls(), Strings{"GetItemErro"});
  EXPECT_EQ(lastArgs["GetItemErro"], json({"0001", "0000000001"}));
  EXPECT_EQ(Marks(screen->cdsPedido), "SN");
  EXPECT_EQ(inContPedidoCh, 1);
  EXPECT_TRUE(MarkCommands());
  EXPECT_FALSE(screen->tshItemPedido->Enabled());

  EXPECT_TRUE(Click(grid, "IDCHECK"));  // unmarking asks the server nothing
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(Marks(screen->cdsPedido), "NN");
  EXPECT_EQ(inContPedidoCh, 0);
  EXPECT_FALSE(MarkCommands());
  EXPECT_EQ(screen->cdsPedido.ChangeCount(), 2);  // both edits are in the change log

  screen->cdsPedido.Next();  // not pending: neither a mark nor Habilita
  screen->sbtConfirmar->SetEnabled(true);
  EXPECT_TRUE(Click(grid, "IDCHECK"));
  EXPECT_EQ(Marks(screen->cdsPedido), "NN");
  EXPECT_TRUE(screen->sbtConfirmar->Enabled());
  EXPECT_TRUE(op.Shown.empty());
}

TEST_F(MarkingTest, OrderMarksRefusedForCarrierAndPermits) {
  json orders = Loaded({"0000000001", "0000000002"});
  Set(orders, 1, "NRINSJURTRAN", "  ");
  Show(orders);
  CarrierRule("2");
  ItemErrors(1);
  fw::TDBGrid& grid = *screen->dbgPadrao;

  op.ExpectError(
      "Operação bloqueada. Pedido possui produto(s) com inconsistências no alvará ou licença.");
  EXPECT_FALSE(Click(grid, "IDCHECK"));
  EXPECT_EQ(Calls(), Strings{"GetItemErro"});

  screen->cdsPedido.Next();
  op.ExpectError(kSemTrans);
  EXPECT_FALSE(Click(grid, "IDCHECK"));
  EXPECT_TRUE(Calls().empty());  // refused before asking the server
  EXPECT_EQ(Marks(screen->cdsPedido), "NN");
  EXPECT_EQ(inContPedidoCh, 0);
  EXPECT_EQ(screen->cdsPedido.ChangeCount(), 0);

  CarrierRule("1");  // any other value: the carrier is not looked at
  ItemErrors(0);
  EXPECT_TRUE(Click(grid, "IDCHECK"));
  EXPECT_EQ(Marks(screen->cdsPedido), "NS");
  EXPECT_EQ(inContPedidoCh, 1);
  op.Verify();
}

TEST_F(MarkingTest, MarkAllSkipsOrdersWithoutCarrierOrWithPermitProblemsThenUnmarksAll) {
  json orders = Loaded({"0000000001", "0000000002", "0000000009", "0000000011"});
  Set(orders, 1, "NRINSJURTRAN", "");
  Set(orders, 3, "NRINSJURTRAN", nullptr);
  Set(orders, 3, "IDSITPEDIDO", "3");  // not pending, no carrier: set to "N" and counted
  Set(orders, 3, "IDCHECK", "");
  Show(orders);
  CarrierRule("2");
  OrdersWithErrors({"0000000009"});
  screen->cdsPedido.Next();
  screen->mnuFormaPgto->Click();  // a page whose detail each scroll would fetch
  Calls();

  op.Answer("Não há transportadora informada para o(s) pedido(s) que não foram marcados.",
            fw::mrOk);
  EXPECT_TRUE(Click(*screen->dbgPadrao, "IDCHECK", true));
  op.Verify();
  EXPECT_EQ(op.Shown.size(), 1u);
  EXPECT_EQ(Calls(), Strings{"GetPedIErro"});  // no detail fetched during the walk
  EXPECT_EQ(lastArgs["GetPedIErro"], json({"0001"}));
  EXPECT_EQ(Marks(screen->cdsPedido), "SNNN");
  EXPECT_EQ(inContPedidoCh, 1);
  EXPECT_EQ(screen->cdsPedido.FieldByName("NRPEDIDO").AsString(), "0000000002");
  EXPECT_TRUE(MarkCommands());

  EXPECT_TRUE(Click(*screen->dbgPadrao, "IDCHECK", true));  // the second click unmarks all
  EXPECT_EQ(Marks(screen->cdsPedido), "NNNN");
  EXPECT_EQ(inContPedidoCh, 0);
  EXPECT_FALSE(MarkCommands());
  EXPECT_EQ(screen->cdsPedido.FieldByName("NRPEDIDO").AsString(), "0000000002");
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(screen->cdsPedido.AfterScroll != nullptr);  // attached again
}

// Mark-all looks the orders with permit problems up in a set (behind a
// table of fingerprints); a walk that locates each order in the error
// list, ignoring case, marks the same rows.
TEST_F(MarkingTest, MarkAllMarksWhatALocateWalkOverTheErrorListMarks) {
  std::mt19937 random(16);
  Strings numbers, errors;
  for (int i = 0; i < 300; ++i) {  // digits alone, capitals, small letters
    std::string n = "00000" + (i % 5 ? std::string(1, "bcAB"[i % 5 - 1]) : "") + std::to_string(1000 + i);
    numbers.push_back(n);
    if (random() % 3 == 0) errors.push_back(random() % 2 ? fw::UpperCase(n) : n);
  }
  json orders = Loaded({"0000000001"});
  const json first = orders["rows"][0];
  orders["rows"] = json::array();
  for (size_t row = 0; row < numbers.size(); ++row) orders["rows"].push_back(first);
  const char* statuses[] = {"1", "1", "2", "6"};
  for (size_t row = 0; row < numbers.size(); ++row) {
    Set(orders, row, "NRPEDIDO", numbers[row]);
    Set(orders, row, "IDSITPEDIDO", statuses[random() % 4]);
    Set(orders, row, "IDCHECK", random() % 4 == 0 ? "S" : "N");
    if (row == 0 || random() % 6 == 0) Set(orders, row, "NRINSJURTRAN", "");
  }
  Show(orders);
  CarrierRule("2");
  OrdersWithErrors(errors);

  // The walk as it was: one Locate per pending, unmarked order.
  fw::TClientDataSet walk("walk"), errorList("errorList");
  walk.SetData(fw::TDataPacket::FromJson(orders));
  errorList.SetData(fw::TDataPacket::FromJson(values["GetPedIErro"]));
  int marked = 0;
  for (walk.First(); !walk.Eof(); walk.Next()) {
    auto text = [&](const char* f) { return walk.FieldByName(f).AsString(); };
    std::string mark = text("IDCHECK");
    if (text("NRINSJURTRAN").empty()) mark = "N";
    else if (text("IDSITPEDIDO") == "1" && mark != "S" &&
             !errorList.Locate("NRPEDIDO", fw::Value(text("NRPEDIDO")), fw::loCaseInsensitive)) {
      mark = "S";
      ++marked;
    }
    walk.Edit();
    walk.FieldByName("IDCHECK").SetAsString(mark);
    walk.Post();
  }

  op.Answer("Não há transportadora informada para o(s) pedido(s) que não foram marcados.", fw::mrOk);
  EXPECT_TRUE(Click(*screen->dbgPadrao, "IDCHECK", true));
  op.Verify();
  EXPECT_EQ(Marks(screen->cdsPedido), Marks(walk));
  EXPECT_EQ(inContPedidoCh, marked);
  EXPECT_GT(marked, 5);
}

TEST_F(MarkingTest, MarkAllDoesNothingWithoutPendingOrdersOrOnAnotherTitle) {
  json orders = Loaded({"0000000001", "0000000002"});
  Set(orders, 0, "IDSITPEDIDO", "2");
  Set(orders, 1, "IDSITPEDIDO", "3");
  Show(orders);
  screen->cdsPedido.Next();
  screen->sbtConfirmar->SetEnabled(true);  // shows whether Habilita ran
  EXPECT_TRUE(Click(*screen->dbgPadrao, "IDCHECK", true));
  EXPECT_TRUE(screen->sbtConfirmar->Enabled());
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(screen->cdsPedido.RecNo(), 2);  // the pending-rows test keeps the row
  EXPECT_FALSE(screen->cdsPedido.Filtered());

  Set(orders, 0, "IDSITPEDIDO", "1");
  Show(orders);
  EXPECT_TRUE(Click(*screen->dbgPadrao, "NRPEDIDO", true));
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(inContPedidoCh, 0);
}

TEST_F(MarkingTest, MarkAllServerErrorMarksNothingAndRestoresTheGrid) {
  Show(Loaded({"0000000001", "0000000002"}));
  screen->cdsPedido.Next();
  FailNext("GetPedIErro", "Filial inexistente.");
  EXPECT_THROW(Click(*screen->dbgPadrao, "IDCHECK", true), fw::Exception);
  EXPECT_EQ(Marks(screen->cdsPedido), "NN");
  EXPECT_EQ(inContPedidoCh, 0);
  EXPECT_EQ(screen->cdsPedido.RecNo(), 2);
  EXPECT_TRUE(screen->cdsPedido.AfterScroll != nullptr);
  screen->cdsPedido.First();  // the grid is live again: a scroll shows the order
  EXPECT_EQ(screen->edtTransp->Text(), screen->cdsPedido.FieldByName("NMFANTTRAN").AsString());
}

TEST_F(MarkingTest, SpaceTogglesTheRowAndCtrlSpaceIsTheAllSwitch) {
  Show(Loaded({"0000000001", "0000000002"}));
  ItemErrors(0);
  OrdersWithErrors({});
  fw::TDBGrid& grid = *screen->dbgPadrao;
  EXPECT_TRUE(Key(grid));
  EXPECT_EQ(Marks(screen->cdsPedido), "SN");
  EXPECT_FALSE(Cli_zqv41800::boTeclado);
  EXPECT_TRUE(Key(grid, fw::ssCtrl));  // one counted: unmark all
  EXPECT_EQ(Marks(screen->cdsPedido), "NN");
  EXPECT_TRUE(Key(grid, fw::ssCtrl | fw::ssShift));  // none counted: mark all
  EXPECT_EQ(Marks(screen->cdsPedido), "SS");
  EXPECT_EQ(inContPedidoCh, 2);

  json alone = Rows(Orders(), "NRPEDIDO", {"0000000001"});
  Set(alone, 0, "IDSITPEDIDO", "1");
  Set(alone, 0, "IDCHECK", "N");
  Set(alone, 0, "NRINSJURTRAN", "");
  Show(alone);
  CarrierRule("2");
  op.ExpectError(kSemTrans);
  EXPECT_FALSE(Key(grid));
  EXPECT_FALSE(Cli_zqv41800::boTeclado);  // cleared also when the mark is refused
  op.Verify();
}

TEST_F(ItemMarkingTest, ClickRulesForItems) {
  json items = Items();
  Set(items, 1, "IDITEMERRO", "S");
  Set(items, 2, "IDSITITEMPED", "2");
  ShowItems(items);
  fw::TDBGrid& grid = *screen->dbgItemPedido;

  EXPECT_TRUE(Click(grid, "IDCHECK"));
  EXPECT_EQ(Marks(screen->cdsItemPedido), "SNN");
  EXPECT_EQ(inContItemPedidoCh, 1);
  EXPECT_TRUE(MarkCommands());
  EXPECT_FALSE(screen->tshPadrao->Enabled());
  screen->cdsItemPedido.Next();
  op.ExpectError("Operação bloqueada. Produto com inconsistências no alvará ou licença.");
  EXPECT_FALSE(Click(grid, "IDCHECK"));
  screen->cdsItemPedido.Next();
  EXPECT_TRUE(Click(grid, "IDCHECK"));  // not pending
  EXPECT_EQ(Marks(screen->cdsItemPedido), "SNN");
  screen->cdsItemPedido.First();
  Calls();
  EXPECT_TRUE(Click(grid, "IDCHECK"));
  EXPECT_EQ(inContItemPedidoCh, 0);
  EXPECT_FALSE(MarkCommands());
  EXPECT_TRUE(Calls().empty());  // items ask the server nothing
  op.Verify();
}

TEST_F(ItemMarkingTest, AllSwitchIgnoresTheCarrierWhileTheSingleClickDoesNot) {
  json items = Items();
  Set(items, 1, "IDITEMERRO", "S");
  Set(items, 2, "IDITEMERRO", "");
  ShowItems(items);
  screen->cdsPedido.Edit();
  screen->cdsPedido.FieldByName("NRINSJURTRAN").SetAsString("");
  screen->cdsPedido.Post();
  CarrierRule("2");
  fw::TDBGrid& grid = *screen->dbgItemPedido;
  screen->cdsItemPedido.Last();
  Calls();

  EXPECT_TRUE(Click(grid, "IDCHECK", true));
  EXPECT_EQ(Marks(screen->cdsItemPedido), "SNN");  // error "S" and empty are skipped
  EXPECT_EQ(inContItemPedidoCh, 1);
  EXPECT_EQ(screen->cdsItemPedido.FieldByName("NRITEMPED").AsString(), "003");
  EXPECT_TRUE(Calls().empty());  // neither a request nor a stock fetch per row

  fw::TKey key = fw::VK_SPACE;
  grid.OnKeyDown(grid, key, fw::ssCtrl);  // Ctrl+Space: unmark all
  EXPECT_EQ(Marks(screen->cdsItemPedido), "NNN");
  EXPECT_EQ(inContItemPedidoCh, 0);

  screen->cdsItemPedido.First();
  Calls();
  op.ExpectError(kSemTrans);
  EXPECT_FALSE(Key(grid));
  EXPECT_EQ(Marks(screen->cdsItemPedido), "NNN");
  op.Verify();
}

}  // namespace
}  // namespace conf_pedido_testing
