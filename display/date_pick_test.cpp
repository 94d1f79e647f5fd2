// The calendar of the date boxes on the page: the date box's JSON gives
// the calendar its weekday names, and a "pickdate" event puts the chosen
// date into the box as the operator's typing, refused where a click would
// be and for anything that is not a calendar date.
#include <gtest/gtest.h>

#include "display/display_interaction.h"
#include "display/input_decoder.h"
#include "display/model_json.h"
#include "forms/application.h"
#include "forms/edit.h"
#include "library/date_edit_plus.h"

namespace display {
namespace {

using nlohmann::json;

class DateSample : public fw::TForm {
 public:
  explicit DateSample(fw::TComponent* owner) : fw::TForm(owner) {
    SetName("frmDatas");
    name = &Create<fw::TEdit>("edtNome");
    name->SetParent(this);
    name->OnExit = [this](fw::TComponent&) { ++exits; };
    date = &Create<fw::TDateEditPlus>("depDeEmissao");
    date->SetParent(this);
    date->OnChange = [this](fw::TComponent&) { changes.push_back(date->Text()); };
  }
  fw::TEdit* name;
  fw::TDateEditPlus* date;
  int exits = 0;
  std::vector<std::string> changes;
};

struct DatePickFixture : ::testing::Test {
  void SetUp() override {
    fw::Application().CreateForm(form);
    form->Show();
    form->name->SetFocus();
    decoder.Log = [this](const std::string& s) { log.push_back(s); };
  }
  void TearDown() override {
    delete form;
    fw::Application().ProcessMessages();
  }
  bool Pick(json date, const std::string& name = "depDeEmissao") {
    return decoder.Apply({{"type", "pickdate"}, {"form", "frmDatas"}, {"name", name}, {"date", date}});
  }
  DateSample* form = nullptr;
  DisplayInteraction interaction;
  InputDecoder decoder{interaction};
  std::vector<std::string> log;
};

TEST_F(DatePickFixture, APickedDateIsTypedIntoTheBoxAfterTheFocusMoves) {
  json props = ControlJson(*form, *form->date)["props"];
  EXPECT_EQ(props["dayNames"], json({"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"}));
  EXPECT_EQ(props["text"], "__/__/____");

  EXPECT_TRUE(Pick("07/12/2026"));
  EXPECT_EQ(form->exits, 1);
  EXPECT_EQ(form->ActiveControl(), form->date);
  EXPECT_EQ(form->changes, (std::vector<std::string>{"07/12/2026"}));
  EXPECT_EQ(ControlJson(*form, *form->date)["props"]["text"], "07/12/2026");
  EXPECT_TRUE(log.empty());
}

TEST_F(DatePickFixture, ANonDateOrAnotherControlIsRefusedAndLogged) {
  for (json bad : {json("31/02/2024"), json("7/12/2026"), json("07/12/2026 10:00"), json(20261207),
                   json(nullptr), json("07/12/2026\n[falso] registro")})
    EXPECT_FALSE(Pick(bad)) << bad;
  EXPECT_FALSE(Pick("07/12/2026", "edtNome"));  // not a date box
  EXPECT_FALSE(decoder.Apply({{"type", "pickdate"}, {"form", "frmDatas"}, {"name", "depDeEmissao"}}));
  EXPECT_EQ(log.size(), 8u);
  for (const std::string& line : log) EXPECT_EQ(line.find('\n'), std::string::npos) << line;
  EXPECT_TRUE(form->changes.empty());
  EXPECT_EQ(form->exits, 0);
  EXPECT_EQ(form->ActiveControl(), form->name);
}

TEST_F(DatePickFixture, RefusedWhereAClickWouldBe) {
  form->date->SetEnabled(false);
  EXPECT_FALSE(Pick("07/12/2026"));
  form->date->SetEnabled(true);
  form->date->SetVisible(false);
  EXPECT_FALSE(Pick("07/12/2026"));
  form->date->SetVisible(true);
  form->date->SetReadOnly(true);
  EXPECT_FALSE(Pick("07/12/2026"));
  form->date->SetReadOnly(false);
  // Behind a modal form and while a message box is open.
  fw::TForm* dialog = nullptr;
  fw::Application().CreateForm(dialog);
  dialog->SetName("frmModal");
  fw::Application().Post([&] {
    EXPECT_FALSE(Pick("07/12/2026"));
    dialog->SetModalResult(fw::mrOk);
  });
  dialog->ShowModal();
  delete dialog;
  fw::Application().Post([&] {
    EXPECT_FALSE(Pick("07/12/2026"));
    EXPECT_TRUE(decoder.Apply({{"type", "answer"}, {"id", 1}, {"result", "ok"}}));
  });
  interaction.MessageDlg("Aviso", fw::TMsgDlgType::mtWarning, fw::mbOK, 0);
  EXPECT_EQ(log.size(), 5u);
  EXPECT_TRUE(form->changes.empty());
  EXPECT_EQ(form->exits, 0);
}

}  // namespace
}  // namespace display
