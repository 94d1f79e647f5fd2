// Data-aware controls and the navigator over a client dataset of orders.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "data/client_dataset.h"
#include "forms/controls_test_support.h"
#include "forms/db_controls.h"
#include "forms/db_navigator.h"

namespace fw {
namespace {

using testing::Press;
using testing::Type;

TDataPacket Orders() {
  return TDataPacket::Parse(R"({
    "fields": [{"name": "NRPEDIDO", "type": "string", "size": 10},
               {"name": "NMFANTCLIE", "type": "string", "size": 12},
               {"name": "IDTPFORPGTPED", "type": "string", "size": 1},
               {"name": "IDUTDIAPAGPED", "type": "string", "size": 1},
               {"name": "VRPECOMVDPED", "type": "float"},
               {"name": "TXOBSPED", "type": "memo"}],
    "rows": [["0000000001", "Padaria", "V", "E", 1234.5, "{\\rtf1\\ansi Entregar de manh\\'e3\\par Port\\'e3o 2}"],
             ["0000000002", "Mercado", null, "I", 2, "sem rtf"],
             ["0000000003", "Açougue", "F", null, null, null]]})");
}

struct DbControlsTest : testing::FormTest {
  void SetUp() override {
    FormTest::SetUp();
    cds.AddField("NRPEDIDO", TFieldType::ftString, 10);
    cds.AddField("NMFANTCLIE", TFieldType::ftString, 12);
    TField& kind = cds.AddField("IDTPFORPGTPED", TFieldType::ftString, 1);
    kind.OnGetText = [](TField& f, std::string& text, bool) { text = f.IsNull() ? "X" : f.AsString(); };
    cds.AddField("IDUTDIAPAGPED", TFieldType::ftString, 1);
    TField& value = cds.AddField("VRPECOMVDPED", TFieldType::ftFloat);
    value.DisplayFormat = "#,##0.000";
    value.EditFormat = "0.###";
    cds.AddField("TXOBSPED", TFieldType::ftMemo);
    cds.SetData(Orders());
  }
  TClientDataSet cds{"cdsPedido"};
  TDataSource dts{"dtsPedido", &cds};
};

TEST_F(DbControlsTest, DbEditShowsDisplayTextUnfocusedAndEditTextFocused) {
  auto& other = Place<TEdit>("edtOutro");
  auto& dbe = Place<TDBEdit>("dbeComissao");
  dbe.SetDataSource(&dts);
  dbe.SetDataField("VRPECOMVDPED");
  EXPECT_EQ(dbe.Text(), "1.234,500");
  dbe.SetFocus();
  EXPECT_EQ(dbe.Text(), "1234,5");
  other.SetFocus();
  EXPECT_EQ(dbe.Text(), "1.234,500");
  cds.Next();
  EXPECT_EQ(dbe.Text(), "2,000");
  cds.Last();
  EXPECT_EQ(dbe.Text(), "");  // null
}

TEST_F(DbControlsTest, DbEditWritesTypedTextOnExitAndKeepsTheFocusOnABadValue) {
  auto& other = Place<TEdit>("edtOutro");
  auto& dbe = Place<TDBEdit>("dbeComissao");
  dbe.SetDataSource(&dts);
  dbe.SetDataField("VRPECOMVDPED");
  dbe.SetFocus();
  Type(dbe, "12x");  // the field refuses the text when the focus leaves
  EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
  EXPECT_THROW(other.SetFocus(), EConvertError);
  EXPECT_TRUE(dbe.Focused());
  EXPECT_EQ(dbe.Text(), "12x");  // nothing typed is lost
  Press(dbe, VK_BACK);
  other.SetFocus();
  EXPECT_DOUBLE_EQ(cds.FieldByName("VRPECOMVDPED").AsFloat(), 12);
  EXPECT_EQ(dbe.Text(), "12,000");
  dbe.SetFocus();
  Type(dbe, "99");
  Press(dbe, VK_ESCAPE);  // drops what was typed
  EXPECT_EQ(dbe.Text(), "12");
  EXPECT_FALSE(dbe.Modified());
}

TEST_F(DbControlsTest, DbEditTypingIsLimitedByFieldSizeAndReadOnly) {
  auto& dbe = Place<TDBEdit>("dbeCliente");
  dbe.SetDataSource(&dts);
  dbe.SetDataField("NMFANTCLIE");
  dbe.SetFocus();
  Type(dbe, "Super Padaria Central");
  EXPECT_EQ(dbe.Text(), "Super Padari");  // 12 characters
  Press(dbe, VK_RETURN);
  EXPECT_EQ(cds.FieldByName("NMFANTCLIE").AsString(), "Super Padari");
  cds.Post();
  dbe.SetReadOnly(true);
  Type(dbe, "x");
  cds.FieldByName("NMFANTCLIE").ReadOnly = true;
  dbe.SetReadOnly(false);
  Type(dbe, "x");
  EXPECT_EQ(dbe.Text(), "Super Padari");
  EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
}

TEST_F(DbControlsTest, ControlsAreNotToldWhileTheDatasetsControlsAreDisabled) {
  auto& dbt = Place<TDBText>("dbtNome");
  dbt.SetDataSource(&dts);
  dbt.SetDataField("NMFANTCLIE");
  EXPECT_EQ(dbt.Caption(), "Padaria");
  cds.DisableControls();
  cds.Next();
  EXPECT_EQ(dbt.Caption(), "Padaria");
  cds.EnableControls();
  EXPECT_EQ(dbt.Caption(), "Mercado");
  cds.Close();
  EXPECT_EQ(dbt.Caption(), "");
  cds.SetData(Orders());
  EXPECT_EQ(dbt.Caption(), "Padaria");
  cds.Edit();
  cds.FieldByName("NMFANTCLIE").SetAsString("Pão & Cia");
  EXPECT_EQ(dbt.PlainCaption(), "Pão & Cia");
  cds.Cancel();
  dbt.SetDataField("NAOEXISTE");
  EXPECT_EQ(dbt.Caption(), "");
}

TEST_F(DbControlsTest, RadioGroupChoosesByDisplayTextAndReadOnlyRefusesPicks) {
  auto& drg = Place<TDBRadioGroup>("drgFormPgto");
  drg.Items = TStrings{"À Vista", "Pagamento Fixo no Dia", "Pela Forma de Pagamento"};
  drg.Values = TStrings{"X", "F", "V"};
  drg.SetDataSource(&dts);
  drg.SetDataField("IDTPFORPGTPED");
  drg.SetReadOnly(true);
  EXPECT_EQ(drg.ItemIndex(), 2);
  cds.Next();  // null: the display text says "X"
  EXPECT_EQ(drg.ItemIndex(), 0);
  int clicks = 0;
  drg.OnClick = [&](TComponent&) { ++clicks; };
  drg.ClickItem(1);
  EXPECT_EQ(drg.ItemIndex(), 0);
  EXPECT_TRUE(cds.FieldByName("IDTPFORPGTPED").IsNull());
  drg.SetReadOnly(false);
  drg.ClickItem(1);
  EXPECT_EQ(cds.FieldByName("IDTPFORPGTPED").AsString(), "F");
  EXPECT_EQ(clicks, 1);
  drg.Values = TStrings{"A", "B"};  // no value for the third item: its caption
  EXPECT_EQ(drg.ButtonValue(2), "Pela Forma de Pagamento");
  EXPECT_EQ(drg.ItemIndex(), -1);
}

TEST_F(DbControlsTest, CheckBoxMapsItsValuesAndWritesThemWhenToggled) {
  auto& dck = Place<TDBCheckBox>("dckProxMes");
  dck.ValueChecked = "E";
  dck.ValueUnchecked = "I";
  int clicks = 0;
  dck.OnClick = [&](TComponent&) { ++clicks; };
  dck.MouseClick(1, 1);  // no data source: a plain check box
  EXPECT_TRUE(dck.Checked());
  dck.SetDataSource(&dts);
  dck.SetDataField("IDUTDIAPAGPED");
  EXPECT_TRUE(dck.Checked());
  cds.Next();
  EXPECT_FALSE(dck.Checked());
  EXPECT_EQ(clicks, 1);  // refreshing from the data clicks nothing
  dck.MouseClick(1, 1);
  EXPECT_EQ(cds.FieldByName("IDUTDIAPAGPED").AsString(), "E");
  EXPECT_TRUE(dck.Checked());
  EXPECT_EQ(clicks, 2);
  dck.ReadOnly = true;
  dck.MouseClick(1, 1);
  EXPECT_TRUE(dck.Checked());
}

TEST_F(DbControlsTest, ComboBoxShowsTheFieldAndWritesTheOperatorsChoice) {
  auto& dbc = Place<TDBComboBox>("dbcForma");
  dbc.SetStyle(TComboBoxStyle::csDropDownList);
  dbc.Items = TStrings{"F", "V", "X"};
  int changes = 0;
  dbc.OnChange = [&](TComponent&) { ++changes; };
  dbc.SetDataSource(&dts);
  dbc.SetDataField("IDTPFORPGTPED");
  EXPECT_EQ(dbc.ItemIndex(), 1);
  cds.Next();  // null, shown as "X"
  EXPECT_EQ(dbc.ItemIndex(), 2);
  cds.Last();
  EXPECT_EQ(dbc.ItemIndex(), 0);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);  // showing the field wrote nothing
  dbc.SelectItem(2);
  EXPECT_EQ(cds.FieldByName("IDTPFORPGTPED").AsString(), "X");
  EXPECT_EQ(changes, 1);
  dbc.SetReadOnly(true);
  dbc.SelectItem(1);
  EXPECT_EQ(cds.FieldByName("IDTPFORPGTPED").AsString(), "X");
  EXPECT_EQ(changes, 1);
}

TEST_F(DbControlsTest, RichEditShowsTheRemarksAndRefusesTyping) {
  auto& dbr = Place<TDBRichEdit>("dbrObservacao");
  dbr.SetDataSource(&dts);
  dbr.SetDataField("TXOBSPED");
  EXPECT_EQ(dbr.Lines.Lines(), (std::vector<std::string>{"Entregar de manhã", "Portão 2"}));
  dbr.SetFocus();
  Type(dbr, "x");
  Press(dbr, VK_BACK);
  EXPECT_EQ(dbr.Lines.Count(), 2);
  cds.Next();
  EXPECT_EQ(dbr.Text(), "sem rtf");
  cds.Next();
  EXPECT_EQ(dbr.Text(), "");
}

TEST_F(DbControlsTest, NavigatorButtonsFollowTheCursor) {
  auto& dbn = Place<TDBNavigator>("dbnPadrao");
  dbn.SetDataSource(&dts);
  auto enabled = [&] {
    std::string s;
    for (int i = 0; i < kNavigatorButtons; ++i) s += dbn.ButtonEnabled(TNavigateBtn(i)) ? '1' : '0';
    return s;
  };
  EXPECT_EQ(enabled(), "0011");  // at the first row
  int scrolls = 0;
  cds.AfterScroll = [&](TDataSet&) { ++scrolls; };
  dbn.ClickButton(TNavigateBtn::nbNext);
  EXPECT_EQ(cds.RecNo(), 2);
  EXPECT_EQ(enabled(), "1111");
  TRect last = dbn.ButtonRect(TNavigateBtn::nbLast);
  dbn.MouseClick(last.Left + 1, 1);
  EXPECT_EQ(enabled(), "1100");
  dbn.ClickButton(TNavigateBtn::nbNext);  // disabled: ignored
  EXPECT_EQ(scrolls, 2);
  dbn.SetEnabled(false);
  EXPECT_EQ(enabled(), "0000");
  dbn.ClickButton(TNavigateBtn::nbFirst);
  EXPECT_EQ(cds.RecNo(), 3);
  dbn.BtnClick(TNavigateBtn::nbFirst);  // by code
  EXPECT_EQ(cds.RecNo(), 1);
  cds.Close();
  dbn.SetEnabled(true);
  EXPECT_EQ(enabled(), "0000");
}

TEST_F(DbControlsTest, NavigatorWritesATypedEditBeforeMoving) {
  auto& dbe = Place<TDBEdit>("dbeCliente");
  dbe.SetDataSource(&dts);
  dbe.SetDataField("NMFANTCLIE");
  auto& dbn = Place<TDBNavigator>("dbnPadrao");
  dbn.SetDataSource(&dts);
  dbe.SetFocus();
  Type(dbe, "Empório");
  dbn.ClickButton(TNavigateBtn::nbNext);
  EXPECT_EQ(cds.RecNo(), 2);
  cds.First();
  EXPECT_EQ(cds.FieldByName("NMFANTCLIE").AsString(), "Empório");
  EXPECT_EQ(cds.ChangeCount(), 1);
}

}  // namespace
}  // namespace fw
