// What the screen is made of, where it matters to the operator or to the
// server: the server's packets fit the datasets, and the display-only pages
// cannot be used.
#include "confirmation/conf_pedido_test_support.h"

namespace conf_pedido_testing {
namespace {

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

}  // namespace
}  // namespace conf_pedido_testing
