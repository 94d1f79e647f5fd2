// What the screen is made of, where it matters to the operator or to the
// server: the packets fit the datasets, the grid shows its hidden fields,
// the display-only pages cannot be used, the menus sit where they belong.
#include "confirmation/conf_pedido_test_support.h"

namespace conf_pedido_testing {
namespace {

using Strings = std::vector<std::string>;
using CompositionTest = ScreenTest;

TEST_F(CompositionTest, EveryDatasetTakesTheServersPackets) {
  Open();
  TfrmConfPedido& f = *screen;
  const std::vector<std::pair<fw::TClientDataSet*, json>> loads = {
      {&f.cdsPedido, Orders()},
      {&f.cdsItemPedido, Reply("GetItemPedido", {"0001", "0000000008", "", "T"})},
      {&f.cdsPosiEstoq, Reply("GetPosiEstoq", {"0003", "0000000023", "001", ""})},
      {&f.cdsPrazoPgto, Reply("GetPrazoPgto", {"0001", "0000000010"})},
      {&f.cdsObser, Reply("GetObser", {"0001", "0000000010"})},
      {&f.cdsParamPedido, Reply("GetParamPedido", {"0001"})},
      {&f.cdsOperTPed, Reply("getOperTPed", {"0005", "ANA"})},
      {&f.cdsItemErro, Reply("GetItemErro", {"0001", "0000000003"})},
      {&f.cdsPedIErro, Reply("GetPedIErro", {"0001"})},
  };
  for (const auto& [dataSet, packet] : loads) {
    EXPECT_NO_THROW(dataSet->SetData(fw::TDataPacket::FromJson(packet))) << dataSet->Name;
  }
  EXPECT_EQ(f.cdsItemPedido.RecordCount(), 8);
  EXPECT_EQ(f.cdsOperTPed.RecordCount(), 2);
  EXPECT_EQ(f.cdsItemErro.FieldByName("COUNT").AsFloat(), 1);
  // The marks and the operation type travel without provider flags.
  fw::TDataPacket back = f.cdsPedido.Data();
  for (const fw::TFieldDef& def : back.Fields) {
    bool none = def.Name == "IDCHECK" || def.Name == "NMTIPOOPER";
    EXPECT_EQ(def.ProviderFlags == 0, none) << def.Name;
  }
}

TEST_F(CompositionTest, TheOrderGridShowsItsColumnsAlthoughTheirFieldsAreHidden) {
  Open();
  LeaveBranch();
  screen->sbtVerificar->Click();
  fw::TGridTexts texts = screen->dbgPadrao->VisibleTexts();
  ASSERT_GE(texts.Fields.size(), 8u);
  EXPECT_EQ(Strings(texts.Fields.begin(), texts.Fields.begin() + 8),
            (Strings{"IDCHECK", "IDSITPEDIDO", "NRPEDIDO", "NMFANTCLIE", "DTPEDIDO", "DTENTPED",
                     "IDTIPOPEDIDO", "NMFANVEN"}));
  EXPECT_EQ(texts.Titles[1], "Sit.");
  EXPECT_EQ(texts.Titles[7], "Vendedor");
  EXPECT_FALSE(texts.Rows.at(0).Cells.at(7).empty());  // the salesperson's name
  EXPECT_EQ(texts.Rows.at(0).Cells.at(1), "PE");
  EXPECT_EQ(screen->dbgPadrao->Columns()[0].Title().Font().Name, "Monotype Sorts");
}

TEST_F(CompositionTest, GeneralDataPaymentCarrierAndRemarksAreDisplayOnly) {
  Open();
  LeaveBranch();
  screen->sbtVerificar->Click();
  std::function<void(fw::TControl&)> check = [&](fw::TControl& parent) {
    for (fw::TControl* c : parent.Controls()) {
      if (c->AcceptsFocus()) {
        EXPECT_FALSE(c->Usable()) << c->Name();
      }
      check(*c);
    }
  };
  for (fw::TTabSheet* page : {screen->tshDadosGerais, screen->tshFormaPgto, screen->tshTransport,
                              screen->tshObservacao}) {
    ASSERT_TRUE(page->Enabled()) << page->Name();
    check(*page);
  }
}

TEST_F(CompositionTest, MenusAndToolbar) {
  Open();
  Strings operacao, manutencao;
  for (fw::TMenuItem* i : screen->mnuOperacao->Items()) operacao.push_back(i->Name());
  for (fw::TMenuItem* i : screen->mnuManutencao->Items())
    manutencao.push_back(i->Name() + (i->Enabled() ? "" : "(off)"));
  EXPECT_EQ(operacao, (Strings{"mnuPedido", "mnuDadosGerais", "mnuItemPedido", "mnuFormaPgto",
                               "mnuTransport", "mnuObservacao", "mnuLinha1", "mnuConfirmar",
                               "mnuCancelar", "mnuImprimir", "mnuLinha2", "mnuFechar"}));
  EXPECT_EQ(manutencao, (Strings{"mnuIncluir(off)", "mnuAlterar(off)", "mnuExcluir(off)",
                                 "mnuProcurar(off)", "mnuVerificar(off)", "mnuLinha4",
                                 "mnuFiltrar(off)"}));
  EXPECT_EQ(fw::ShortCutToText(screen->mnuFiltrar->ShortCut), "Ctrl+L");
  EXPECT_EQ(screen->sbtFiltro->Left() + 27, screen->sbtImprimir->Left());
  EXPECT_EQ(screen->lblCodTela->Caption(), "ZQV41800");
  EXPECT_EQ(screen->msgPadrao->Lines.Count(), 32);
  EXPECT_EQ(screen->msgPadrao->Msg("OperBloq"),
            "Operação bloqueada. Pedido em alteração por outro usuário.");
}

}  // namespace
}  // namespace conf_pedido_testing
