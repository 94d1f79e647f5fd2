// The shared library's own controls: date box, number box and search
// button.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "data/client_dataset.h"
#include "forms/controls_test_support.h"
#include "library/btn_pesquisa.h"
#include "library/date_edit_plus.h"
#include "library/db_date_edit_plus.h"
#include "library/number_edit.h"
#include "testing/scripted_operator.h"
#include "text/date_time.h"

namespace fw {
namespace {

void Type(TCustomEdit& edit, const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    size_t n = (static_cast<unsigned char>(text[i]) & 0x80) ? 2 : 1;
    std::string ch = text.substr(i, n);
    edit.KeyPress(ch);
    i += n;
  }
}

TEST(DateEditPlus, TypedDatesAreReadCheckedAndSet) {
  TDateEditPlus dep(nullptr);
  EXPECT_EQ(dep.EditText(), "__/__/____");
  EXPECT_EQ(dep.GetDate(), 0);
  EXPECT_FALSE(dep.IsDateValid());
  EXPECT_NO_THROW(dep.CheckValidDate());  // empty is not invalid
  Type(dep, "05032024");
  EXPECT_EQ(dep.Text(), "05/03/2024");
  EXPECT_TRUE(dep.IsDateValid());
  EXPECT_EQ(dep.GetDate(), EncodeDate(2024, 3, 5));
  dep.SetDate(0);
  EXPECT_EQ(dep.Text(), "");
  Type(dep, "31022004");
  EXPECT_FALSE(dep.IsDateValid());
  try {
    dep.CheckValidDate();
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'31/02/2004' não é uma data válida.");
  }
  Type(dep, "9");  // full: refused
  EXPECT_EQ(dep.Text(), "31/02/2004");
  dep.SetDate(EncodeDate(1999, 12, 31) + 0.5);
  EXPECT_EQ(dep.Text(), "31/12/1999");
  Type(dep, "x");
  EXPECT_EQ(dep.Text(), "31/12/1999");
}

TEST(DateEditPlus, OnlyWholeCalendarDatesCountAsPicked) {
  for (const char* good : {"05/03/2024", "29/02/2024", "31/12/9999", "01/01/0001"})
    EXPECT_TRUE(TDateEditPlus::IsPickedDate(good)) << good;
  for (const char* bad : {"29/02/2023", "31/04/2024", "00/01/2024", "01/13/2024", "01/01/0000",
                          "5/3/2024", "05-03-2024", " 05/03/2024", "05/03/2024 ", "05/03/24",
                          "ab/cd/efgh", "05/03/2024\n", "", "+5/03/2024"})
    EXPECT_FALSE(TDateEditPlus::IsPickedDate(bad)) << bad;
}

// A date box and the edit that has the focus when the calendar is used.
struct DatePick : testing::FormTest {
  void SetUp() override {
    FormTest::SetUp();
    other = &Place<TEdit>("edtOutro");
    date = &Place<TDateEditPlus>("depData");
    other->OnExit = [this](TComponent&) {
      ++exits;
      if (refuseExit) throw EConvertError("'x' não é uma data válida.");
    };
    date->OnChange = [this](TComponent&) { changes.push_back(date->Text()); };
    other->SetFocus();
  }
  TEdit* other = nullptr;
  TDateEditPlus* date = nullptr;
  int exits = 0;
  bool refuseExit = false;
  std::vector<std::string> changes;
};

TEST_F(DatePick, APickedDateTakesTheFocusAndIsTypedInOneChange) {
  testing::Type(*date, "1203");  // half typed before: the pick replaces it
  changes.clear();
  EXPECT_TRUE(date->PickDate("05/03/2024"));
  EXPECT_EQ(exits, 1);
  EXPECT_TRUE(date->Focused());
  EXPECT_EQ(changes, (std::vector<std::string>{"05/03/2024"}));
  EXPECT_EQ(date->GetDate(), EncodeDate(2024, 3, 5));
  EXPECT_FALSE(date->AllSelected());
  // Picked again with the focus there: no exit, the text is replaced.
  EXPECT_TRUE(date->PickDate("29/02/2024"));
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(date->Text(), "29/02/2024");
  // The same date again changes nothing.
  EXPECT_TRUE(date->PickDate("29/02/2024"));
  EXPECT_EQ(changes.size(), 2u);
}

TEST_F(DatePick, NothingIsSetWhenTheFocusCannotComeOrTheBoxTakesNoTyping) {
  refuseExit = true;
  EXPECT_THROW(date->PickDate("05/03/2024"), EConvertError);
  EXPECT_TRUE(other->Focused());
  refuseExit = false;
  // The exit handler sends the focus elsewhere.
  TEdit& third = Place<TEdit>("edtTerceiro");
  other->OnExit = [&](TComponent&) { third.SetFocus(); };
  EXPECT_FALSE(date->PickDate("05/03/2024"));
  EXPECT_TRUE(third.Focused());
  date->SetReadOnly(true);
  EXPECT_FALSE(date->PickDate("05/03/2024"));
  date->SetReadOnly(false);
  date->SetEnabled(false);
  EXPECT_FALSE(date->PickDate("05/03/2024"));
  date->SetEnabled(true);
  date->SetVisible(false);
  EXPECT_FALSE(date->PickDate("05/03/2024"));
  date->SetVisible(true);
  EXPECT_FALSE(date->PickDate("31/02/2024"));
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(date->EditText(), "__/__/____");
  EXPECT_TRUE(third.Focused());
}

TEST(NumberEdit, ShowsTwoDecimalsWithSeparatorsAndReadsTypedText) {
  TNumberEdit ned(nullptr);
  ned.SetValue(1234567.891);
  EXPECT_EQ(ned.Text(), "1.234.567,89");
  ned.SetValue(-0.004);
  EXPECT_EQ(ned.Text(), "0,00");
  ned.SetThousandSeparator(false);
  ned.SetValue(1234.5);
  EXPECT_EQ(ned.Text(), "1234,50");
}

TDataPacket Branches() {
  return TDataPacket::Parse(R"({
    "fields": [{"name": "CDFILIAL", "type": "string", "size": 8},
               {"name": "NMFILIAL", "type": "string", "size": 30}],
    "rows": [["0001", "Matriz"], ["0002", "Recife"]]})");
}

TEST(BtnPesquisa, PicksARowAndRunsItsHandlersInOrder) {
  TClientDataSet cds("qryFilial");
  cds.SetData(Branches());
  TDataSource dts("dtsFilial", &cds);
  TEdit edit(nullptr);
  TBtnPesquisa btn(nullptr);
  btn.Edit = &edit;
  btn.DataSource = &dts;
  btn.Titulo = "Filial";
  std::vector<std::string> log;
  btn.BeforePesq = [&](TComponent&) { log.push_back("antes"); };
  btn.AfterPesq = [&](TComponent&) { log.push_back("depois " + cds.FieldByName("NMFILIAL").AsString()); };
  testing::ScriptedOperator op;
  op.Pick("Filial", {"0002"});
  btn.Click();
  EXPECT_EQ(log, (std::vector<std::string>{"antes", "depois Recife"}));
  EXPECT_FALSE(op.PickRequests[0].MultiSelect);

  btn.AfterPesq = nullptr;
  op.Pick("Filial", {"0001"});
  btn.Click();
  EXPECT_EQ(edit.Text(), "0001");
}

TEST(BtnPesquisa, AnEmptyListShowsItsMessage) {
  TClientDataSet cds("qryFilial");
  TDataPacket empty = Branches();
  empty.Rows.clear();
  cds.SetData(empty);
  TDataSource dts("dtsFilial", &cds);
  TBtnPesquisa btn(nullptr);
  btn.DataSource = &dts;
  btn.MensagemVazia = "Não há filial cadastrada.";
  bool after = false;
  btn.AfterPesq = [&](TComponent&) { after = true; };
  testing::ScriptedOperator op;
  op.Answer("Não há filial cadastrada.", mrOk);
  btn.Click();
  EXPECT_FALSE(after);
}

}  // namespace
}  // namespace fw

namespace fw {
namespace {

TEST(DBDateEditPlus, ShowsTheCurrentRowsDateAndItsWeekday) {
  TClientDataSet cds("cdsPedido");
  cds.SetData(TDataPacket::Parse(R"({"fields":[{"name":"DTPEDIDO","type":"datetime"}],
                                     "rows":[[45356.75],[null]]})"));
  TDataSource dts("dtsPedido", &cds);
  TDBDateEditPlus dbp(nullptr);
  dbp.SetDataSource(&dts);
  dbp.SetDataField("DTPEDIDO");
  EXPECT_EQ(dbp.Text(), "05/03/2024");
  EXPECT_EQ(dbp.DayName(), "Terça");
  cds.Next();
  EXPECT_EQ(dbp.Text(), "");
  EXPECT_EQ(dbp.DayName(), "");
  std::string key = "1";
  dbp.KeyPress(key);  // read-only
  EXPECT_EQ(dbp.Text(), "");
}

}  // namespace
}  // namespace fw
