// The pick list and the control-side helpers of the shared library.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "data/client_dataset.h"
#include "library/consiste_controls.h"
#include "library/pesqlista.h"
#include "testing/scripted_operator.h"

namespace {

fw::TDataPacket Salespeople() {
  return fw::TDataPacket::Parse(R"({
    "fields": [{"name": "CDVENDEDOR", "type": "string", "size": 4},
               {"name": "NMFANVEN", "type": "string", "size": 50}],
    "rows": [["0001", "Ana"], ["0002", "Bruno"], ["D'AV", "D'Ávila"]]})");
}

TEST(PesquisaLista, StartsFromTheSelectionAndWritesTheTickedKeysBack) {
  fw::TClientDataSet cds("cdsVendedor");
  cds.SetData(Salespeople());
  fw::TDataSource dts("dtsVendedor", &cds);
  fw::testing::ScriptedOperator op;
  op.Pick("Vendedor", {"0002", "D'AV"});
  std::string selection = "'0001'";
  EXPECT_TRUE(Pesqlista::PesquisaLista(dts, "CDVENDEDOR", "Vendedor|Escolha", false, selection));
  EXPECT_EQ(selection, "'0002','D''AV'");
  ASSERT_EQ(op.PickRequests.size(), 1u);
  EXPECT_EQ(op.PickRequests[0].Picked, std::vector<std::string>{"0001"});
  EXPECT_EQ(op.PickRequests[0].Subtitle, "Escolha");
  EXPECT_EQ(op.PickRequests[0].KeyField, "CDVENDEDOR");

  op.Pick("Vendedor", {}, false);  // cancelled: nothing changes
  EXPECT_FALSE(Pesqlista::PesquisaLista(dts, "CDVENDEDOR", "Vendedor", false, selection));
  EXPECT_EQ(selection, "'0002','D''AV'");

  op.Pick("Vendedor", {});  // a malformed selection starts empty
  selection = "'0001";
  EXPECT_TRUE(Pesqlista::PesquisaLista(dts, "CDVENDEDOR", "Vendedor", false, selection));
  EXPECT_EQ(op.PickRequests.back().Picked, std::vector<std::string>{});
  EXPECT_EQ(selection, "");
}

TEST(PesquisaLista, AnEmptyListShowsTheSecondTextInstead) {
  fw::TClientDataSet cds("cdsMunicipio");
  fw::TDataPacket empty = Salespeople();
  empty.Rows.clear();
  cds.SetData(empty);
  fw::TDataSource dts("dtsMuniciCli", &cds);
  fw::testing::ScriptedOperator op;
  op.Answer("Não há município cadastrado.", fw::mrOk);
  std::string selection = "'x'";
  EXPECT_FALSE(Pesqlista::PesquisaLista(dts, "CDVENDEDOR", "Município|Não há município cadastrado.",
                                        false, selection));
  EXPECT_EQ(selection, "'x'");
  EXPECT_THROW(Pesqlista::PesquisaLista(dts, "NAOEXISTE", "Município", false, selection),
               fw::EDatabaseError);
}

TEST(ConsisteControls, SetChildEnabledKeepsTaggedChildrenDisabled) {
  fw::TControl panel(nullptr), code(nullptr), button(nullptr), grandchild(nullptr);
  code.SetParent(&panel);
  button.SetParent(&panel);
  grandchild.SetParent(&code);
  code.Tag = Consiste::kTagFixo;
  Consiste::SetChildEnabled(panel, false);
  EXPECT_FALSE(code.Enabled());
  EXPECT_FALSE(button.Enabled());
  Consiste::SetChildEnabled(panel, true);
  EXPECT_FALSE(code.Enabled());
  EXPECT_TRUE(button.Enabled());
  EXPECT_TRUE(grandchild.Enabled());  // only the direct children
}

TEST(ConsisteControls, CheckResultServRaisesTheServersMessage) {
  EXPECT_EQ(Consiste::CheckResultServ({{"status", "ok"}, {"value", 12.5}}, true, 0), 12.5);
  try {
    Consiste::CheckResultServ({{"status", "error"}, {"message", "Operação bloqueada."}}, true, 0);
    FAIL();
  } catch (const fw::Exception& e) {
    EXPECT_STREQ(e.what(), "Operação bloqueada.");
  }
}

}  // namespace
