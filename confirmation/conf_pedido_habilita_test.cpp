// Enabling across the screen's states, the pages and their menu items, the
// filter button and its shortcut, and what activation and closing do.
#include "confirmation/conf_pedido_test_support.h"

namespace conf_pedido_testing {
namespace {

using Cli_zqv41800::inContItemPedidoCh;
using Cli_zqv41800::inContPedidoCh;

class HabilitaTest : public ScreenTest {
 protected:
  void Loaded() {
    Open();
    LeaveBranch();
    screen->sbtVerificar->Click();
  }
  // The usable pages, commands and branch controls, as one line.
  std::string State() {
    std::string s;
    auto put = [&s](const char* name, bool on) { s += std::string(on ? "+" : "-") + name + " "; };
    TfrmConfPedido& f = *screen;
    put("Pedidos", f.tshPadrao->Enabled() && f.mnuPedido->Enabled());
    put("Dados", f.tshDadosGerais->Enabled() && f.mnuDadosGerais->Enabled());
    put("Itens", f.tshItemPedido->Enabled() && f.mnuItemPedido->Enabled());
    put("Pgto", f.tshFormaPgto->Enabled() && f.mnuFormaPgto->Enabled());
    put("Transp", f.tshTransport->Enabled() && f.mnuTransport->Enabled());
    put("Obs", f.tshObservacao->Enabled() && f.mnuObservacao->Enabled());
    put("Registro", f.sbtAlterar->Enabled() && f.sbtProcurar->Enabled() &&
                        f.mnuAlterar->Enabled() && f.mnuProcurar->Enabled());
    put("Marcas", f.sbtConfirmar->Enabled() && f.sbtCancelar->Enabled() &&
                      f.mnuConfirmar->Enabled() && f.mnuCancelar->Enabled());
    put("Filtro", f.sbtFiltro->Enabled() && f.mnuFiltrar->Enabled());
    put("Navegador", f.dbnPadrao->Enabled());
    put("Filial", f.medCdFilial->Enabled() && f.lblFilial->Enabled() && f.btnFilial->Enabled());
    return s;
  }
  void Mark(fw::TClientDataSet& dataSet, const char* value) {
    dataSet.Edit();
    dataSet.FieldByName("IDCHECK").SetAsString(value);
    dataSet.Post();
  }
};

TEST_F(HabilitaTest, WithoutOrdersOnlyTheOrderPageIsUsable) {
  Open();
  EXPECT_EQ(State(), "+Pedidos -Dados -Itens -Pgto -Transp -Obs -Registro -Marcas -Filtro "
                     "+Navegador +Filial ");
  LeaveBranch();
  EXPECT_EQ(State(), "+Pedidos -Dados -Itens -Pgto -Transp -Obs -Registro -Marcas +Filtro "
                     "+Navegador +Filial ");
  EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshPadrao);
  EXPECT_TRUE(screen->mnuPedido->Checked());
}

TEST_F(HabilitaTest, MarkedOrdersLockWhatWouldLoseTheMarks) {
  Loaded();
  const std::string loaded =
      "+Pedidos +Dados +Itens +Pgto +Transp +Obs +Registro -Marcas +Filtro +Navegador +Filial ";
  EXPECT_EQ(State(), loaded);
  Mark(screen->cdsPedido, "S");
  inContPedidoCh = 1;
  screen->Habilita();
  EXPECT_EQ(State(), "+Pedidos +Dados -Itens +Pgto +Transp +Obs -Registro +Marcas -Filtro "
                     "+Navegador -Filial ");
  EXPECT_FALSE(screen->edtNmFilial->Enabled());
  fw::TKey ctrlL = 'L';
  screen->KeyDown(ctrlL, fw::ssCtrl);  // the shortcut of a disabled item does nothing
  EXPECT_EQ(filterOpenings, 1);  // only the one of leaving the branch

  Mark(screen->cdsPedido, "N");
  inContPedidoCh = 0;
  screen->Habilita();
  EXPECT_EQ(State(), loaded);
  EXPECT_FALSE(screen->edtNmFilial->Enabled());  // the branch name is only shown
}

TEST_F(HabilitaTest, MarkedItemsKeepTheOperatorOnTheItemPage) {
  Loaded();
  screen->mnuItemPedido->Click();
  EXPECT_TRUE(screen->mnuItemPedido->Checked());
  Mark(screen->cdsItemPedido, "S");
  inContItemPedidoCh = 1;
  screen->Habilita();
  EXPECT_EQ(State(), "-Pedidos +Dados +Itens +Pgto +Transp +Obs -Registro +Marcas -Filtro "
                     "-Navegador -Filial ");
  // Other pages keep the item mode they were entered from.
  screen->mnuDadosGerais->Click();
  screen->Habilita();
  EXPECT_FALSE(Cli_zqv41800::boHabilitacao);
  EXPECT_FALSE(screen->tshPadrao->Enabled());
  inContItemPedidoCh = 0;
  screen->mnuItemPedido->Click();
  screen->Habilita();
  EXPECT_TRUE(screen->tshPadrao->Enabled());
}

TEST_F(HabilitaTest, EnteringTheBranchFieldEmptiesTheListsAndShowsTheOrderPage) {
  Loaded();
  screen->mnuItemPedido->Click();
  ASSERT_FALSE(screen->cdsItemPedido.IsEmpty());
  Calls();
  screen->medCdFilial->SetFocus();
  EXPECT_TRUE(screen->cdsPedido.IsEmpty());
  EXPECT_TRUE(screen->cdsItemPedido.IsEmpty());
  EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshPadrao);
  EXPECT_EQ(State(), "+Pedidos -Dados -Itens -Pgto -Transp -Obs -Registro -Marcas -Filtro "
                     "+Navegador +Filial ");
  EXPECT_TRUE(Calls().empty());
}

TEST_F(HabilitaTest, TheFilterButtonAndCtrlLOpenTheDialogAndResetTheOrderCount) {
  Loaded();
  inContPedidoCh = 3;  // as if the dialog had loaded a list with marks
  CloseFilterWhenShown();
  screen->sbtFiltro->MouseClick(1, 1);
  fw::Application().ProcessMessages();
  EXPECT_EQ(filterOpenings, 2);
  EXPECT_EQ(inContPedidoCh, 0);
  CloseFilterWhenShown();
  fw::TKey ctrlL = 'L';
  screen->KeyDown(ctrlL, fw::ssCtrl);
  fw::Application().ProcessMessages();
  EXPECT_EQ(filterOpenings, 3);
}

TEST_F(HabilitaTest, PagesByMenuAndTabFetchTheirDetailOnceAndOrdersFocusesTheGrid) {
  Loaded();
  Calls();
  screen->mnuObservacao->Click();
  EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshObservacao);
  EXPECT_TRUE(screen->mnuObservacao->Checked());
  EXPECT_FALSE(screen->mnuPedido->Checked());
  EXPECT_EQ(Calls(), std::vector<std::string>{"GetObser"});
  screen->mnuObservacao->Click();
  EXPECT_TRUE(Calls().empty());
  screen->pgcPadrao->TabClick(*screen->tshFormaPgto);  // a tab click runs the page change
  EXPECT_EQ(Calls(), std::vector<std::string>{"GetPrazoPgto"});
  EXPECT_TRUE(screen->mnuFormaPgto->Checked());
  screen->mnuPedido->Click();
  screen->medCdFilial->SetFocus();
  CloseFilterWhenShown();
  screen->mnuPedido->Click();  // already shown: only the focus moves (leaving the branch)
  EXPECT_TRUE(screen->dbgPadrao->Focused());
  EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshPadrao);
}

TEST_F(HabilitaTest, ReactivationOnlyRepaintsAndSetsTheProductPicture) {
  Loaded();
  Calls();
  fw::TForm* other = nullptr;
  fw::Application().CreateForm(other);
  other->Show();
  screen->cdsItemPedido.FieldByName("CDARVPROD").EditMask.clear();
  screen->Show();
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(filterOpenings, 1);
  EXPECT_EQ(screen->cdsItemPedido.FieldByName("CDARVPROD").EditMask, "99.99.999;0;_");
  EXPECT_FALSE(screen->cdsPedido.IsEmpty());
  delete other;
}

TEST_F(HabilitaTest, ClosingReleasesTheScreenAndItsConnection) {
  Loaded();
  ASSERT_TRUE(screen->netConPed.Connected());
  int freed = 0;
  screen->FreeNotification([&] { ++freed; });
  screen->sbtFechar->Click();
  fw::Application().ProcessMessages();
  EXPECT_EQ(freed, 1);
  EXPECT_FALSE(Cli_zqv41800::boIdCriado);
}

}  // namespace
}  // namespace conf_pedido_testing
