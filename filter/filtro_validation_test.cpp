// Validation of the filter dialog: every rule through the
// confirm command with its message and focus; the date edits' exit checks;
// the interval edits' exit and change handlers; one message when a refusal
// moves the focus away from a date edit that holds a bad date.
#include <functional>

#include "filter/filtro_test_support.h"
#include "text/date_time.h"

namespace filtro_testing {
namespace {

using Strings = std::vector<std::string>;

const std::string kDataInvalida = "'31/02/2004' não é uma data válida.";
const std::string kDataZero = "\"30/12/1899\" não é uma data válida.";

class FiltroValidationTest : public FilterTest {
 protected:
  void SetUp() override {
    FilterTest::SetUp();
    Dialog();
    fw::Application().ProcessMessages();
    Calls();
  }

  // The confirm button pressed as the host's loop runs it: an escaping
  // error is reported to the operator. False when an error escaped.
  bool Confirm() { return AsTheHost([this] { dialog->sbtConfirma->MouseClick(1, 1); }); }
  // The focus moved to `control` as the operator's Tab or click moves it.
  bool Leave(fw::TControl& control) { return AsTheHost([&control] { control.SetFocus(); }); }
  bool AsTheHost(const std::function<void()>& action) {
    try {
      action();
    } catch (...) {
      fw::Application().HandleException(std::current_exception());
      return false;
    }
    return true;
  }

  // Types `digits` into `edit`, which takes the focus first.
  void Type(fw::TCustomEdit& edit, const std::string& digits) {
    ASSERT_TRUE(Leave(edit));
    edit.SelectAll();
    std::string typed = digits;
    edit.KeyPress(typed);
  }

  std::string Focus() {
    fw::TControl* active = dialog->ActiveControl();
    return active ? active->Name() : "(nenhum)";
  }

  // Confirming shows exactly `text`, puts the focus on `focus`, asks the
  // server nothing and leaves the dialog open.
  void ExpectRefused(const std::string& text, fw::TControl* focus) {
    op.Shown.clear();
    op.ExpectError(text);
    EXPECT_FALSE(Confirm());
    EXPECT_EQ(op.Shown, Strings{"erro: " + text});
    if (focus) {
      EXPECT_EQ(Focus(), focus->Name());
    }
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(Cli_zqv41801::boIdCriado);
  }

  static double Date(int y, int m, int d) { return fw::EncodeDate(y, m, d); }
};

TEST_F(FiltroValidationTest, OrderDateRangeNeedsBothDatesInOrder) {
  TfrmFiltroConfPedido& f = *dialog;
  f.depAteEmissao->SetDate(Date(2004, 5, 10));
  ExpectRefused("Data do pedido inicial deve ser informada.", f.depDeEmissao);

  f.depAteEmissao->SetDate(0);
  f.depDeEmissao->SetDate(Date(2004, 5, 10));
  ExpectRefused("Data do pedido final deve ser informada.", f.depAteEmissao);

  f.depDeEmissao->SetDate(Date(2004, 5, 11));
  f.depAteEmissao->SetDate(Date(2004, 5, 10));
  f.chbNormal->SetFocus();
  ExpectRefused("Data do pedido inicial deve ser menor ou igual a data do pedido final.",
                f.depDeEmissao);

  f.depDeEmissao->SetDate(Date(2004, 5, 10));  // equal dates are a range
  EXPECT_TRUE(Confirm());
  EXPECT_EQ(Filtro.Emissao.dtDe, Date(2004, 5, 10));
  EXPECT_EQ(Filtro.Emissao.dtAte, Date(2004, 5, 10));
  EXPECT_EQ(Filtro.Emissao.stTodos, "");
}

TEST_F(FiltroValidationTest, DeliveryDateRangeNeedsBothDatesInOrder) {
  TfrmFiltroConfPedido& f = *dialog;
  f.depAteEntrega->SetDate(Date(2004, 5, 10));
  ExpectRefused("Data de entrega inicial deve ser informada.", f.depDeEntrega);

  f.depAteEntrega->SetDate(0);
  f.depDeEntrega->SetDate(Date(2004, 5, 10));
  ExpectRefused("Data de entrega final deve ser informada.", f.depAteEntrega);

  f.depDeEntrega->SetDate(Date(2004, 5, 11));
  f.depAteEntrega->SetDate(Date(2004, 5, 10));
  ExpectRefused("Data de entrega inicial deve ser menor ou igual a data de entrega final.",
                f.depDeEntrega);

  f.depAteEntrega->SetDate(Date(2004, 5, 11));
  EXPECT_TRUE(Confirm());
  EXPECT_EQ(Filtro.Entrega.dtDe, Date(2004, 5, 11));
  EXPECT_EQ(Filtro.Entrega.stTodos, "");
}

TEST_F(FiltroValidationTest, TheGroupBeingEditedIsReportedFirst) {
  TfrmFiltroConfPedido& f = *dialog;
  f.depDeEmissao->SetDate(Date(2004, 5, 10));
  f.depDeEntrega->SetDate(Date(2004, 5, 10));
  f.depDeEntrega->SetFocus();
  ExpectRefused("Data de entrega final deve ser informada.", f.depAteEntrega);
  // Still in a delivery edit: the delivery group again.
  ExpectRefused("Data de entrega final deve ser informada.", f.depAteEntrega);
  f.chbNormal->SetFocus();
  ExpectRefused("Data do pedido final deve ser informada.", f.depAteEmissao);
  // The focus now in an order-date edit: still the order dates first.
  ExpectRefused("Data do pedido final deve ser informada.", f.depAteEmissao);
}

TEST_F(FiltroValidationTest, LeavingAnImpossibleDateIsRefusedInTheEdit) {
  TfrmFiltroConfPedido& f = *dialog;
  Type(*f.depDeEmissao, "31022004");
  ASSERT_EQ(f.depDeEmissao->EditText(), "31/02/2004");
  op.ExpectError(kDataInvalida);
  EXPECT_FALSE(Leave(*f.depAteEmissao));
  EXPECT_EQ(Focus(), "depDeEmissao");
  // The date validity rule itself, as the confirm command would run it.
  op.ExpectError(kDataInvalida);
  EXPECT_THROW(f.Vd_DeEmissaoInv(), fw::EAbort);
  // Confirming shows the same text once and asks nothing.
  op.Shown.clear();
  op.ExpectError(kDataInvalida);
  EXPECT_FALSE(Confirm());
  EXPECT_EQ(op.Shown, Strings{"erro: " + kDataInvalida});
  EXPECT_EQ(Focus(), "depDeEmissao");
  EXPECT_TRUE(Calls().empty());

  Type(*f.depDeEmissao, "28022004");
  EXPECT_TRUE(Leave(*f.depAteEmissao));
  EXPECT_EQ(Focus(), "depAteEmissao");
}

TEST_F(FiltroValidationTest, EveryDateEditRefusesAnImpossibleDateOnExit) {
  TfrmFiltroConfPedido& f = *dialog;
  for (fw::TDateEditPlus* edit : {f.depAteEmissao, f.depDeEntrega, f.depAteEntrega}) {
    SCOPED_TRACE(edit->Name());
    Type(*edit, "31022004");
    op.ExpectError(kDataInvalida);
    EXPECT_FALSE(Leave(*f.chbNormal));
    EXPECT_EQ(Focus(), edit->Name());
    edit->SetDate(Date(2004, 2, 29));
    EXPECT_TRUE(Leave(*f.chbNormal));
  }
}

TEST_F(FiltroValidationTest, TheZeroDateIsRefusedOnExitAndOnConfirm) {
  TfrmFiltroConfPedido& f = *dialog;
  Type(*f.depDeEntrega, "30121899");
  op.ExpectError(kDataZero);
  EXPECT_FALSE(Leave(*f.depAteEntrega));
  EXPECT_EQ(Focus(), "depDeEntrega");
  f.depDeEntrega->SetDate(Date(1800, 1, 1));  // earlier still
  op.ExpectError("\"01/01/1800\" não é uma data válida.");
  EXPECT_FALSE(Leave(*f.depAteEntrega));
  f.depDeEntrega->SetText("");
  EXPECT_TRUE(Leave(*f.chbNormal));

  // An edit holding the date without the focus: the focus goes to it.
  f.depAteEmissao->SetText("30/12/1899");
  ExpectRefused(kDataZero, f.depAteEmissao);
}

TEST_F(FiltroValidationTest, IntervalNumbersAreComparedInFixedWidth) {
  TfrmFiltroConfPedido& f = *dialog;
  f.medDeIntervalo->SetText("200");
  f.medAteIntervalo->SetText("100");
  ASSERT_TRUE(f.rbtIntervalo->Checked());  // by the change handler
  f.chbNormal->SetFocus();
  ExpectRefused("Número pedido inicial deve ser menor ou igual ao número pedido final.",
                f.medDeIntervalo);
  EXPECT_EQ(f.medDeIntervalo->Text(), "0000000200");
  EXPECT_EQ(f.medAteIntervalo->Text(), "0000000100");

  // "99" > "100" as typed, but not once both are ten digits wide.
  f.medDeIntervalo->SetText("99");
  f.medAteIntervalo->SetText("100");
  EXPECT_TRUE(Confirm());
  EXPECT_EQ(Filtro.NrPedido.stDe, "0000000099");
  EXPECT_EQ(Filtro.NrPedido.stAte, "0000000100");
}

TEST_F(FiltroValidationTest, EqualIntervalNumbersAreAccepted) {
  TfrmFiltroConfPedido& f = *dialog;
  f.medDeIntervalo->SetText("0000000100");
  f.medAteIntervalo->SetText("100");
  EXPECT_TRUE(Confirm());
  EXPECT_TRUE(Filtro.NrPedido.boIntervalo);
  EXPECT_EQ(Filtro.NrPedido.stAte, "0000000100");
}

TEST_F(FiltroValidationTest, AnIntervalNeedsBothNumbers) {
  TfrmFiltroConfPedido& f = *dialog;
  f.medAteIntervalo->SetText("5");
  ExpectRefused("Intervalo inicial deve ser informado.", f.medDeIntervalo);
  EXPECT_EQ(f.medAteIntervalo->Text(), "0000000005");

  f.medAteIntervalo->SetText("");
  f.medDeIntervalo->SetText("5");
  ExpectRefused("Intervalo final deve ser informado.", f.medAteIntervalo);

  // Both empty, "Intervalo" chosen: the message of the missing first number.
  f.medDeIntervalo->SetText("");
  ASSERT_TRUE(f.rbtIntervalo->Checked());
  ExpectRefused("Intervalo inicial deve ser informado.", f.medDeIntervalo);
}

TEST_F(FiltroValidationTest, TodosAfterIntervaloConfirmsWithoutNumbers) {
  TfrmFiltroConfPedido& f = *dialog;
  f.rbtIntervalo->SetChecked(true);
  f.rbtTNrPedido->SetChecked(true);
  ASSERT_FALSE(f.rbtIntervalo->Checked());
  EXPECT_TRUE(Confirm());
  EXPECT_EQ(Filtro.NrPedido.stTodos, "T");
}

TEST_F(FiltroValidationTest, LeavingAnIntervalEditBringsItsNumberToFixedWidth) {
  TfrmFiltroConfPedido& f = *dialog;
  f.rbtIntervalo->SetChecked(true);
  Type(*f.medDeIntervalo, "42");
  op.Shown.clear();
  EXPECT_TRUE(Leave(*f.medAteIntervalo));
  EXPECT_EQ(f.medDeIntervalo->Text(), "0000000042");
  EXPECT_TRUE(Leave(*f.medDeIntervalo));  // an empty edit stays empty
  EXPECT_EQ(f.medAteIntervalo->Text(), "");
  EXPECT_TRUE(op.Shown.empty());  // nothing is validated on exit
}

TEST_F(FiltroValidationTest, ANumberInAnIntervalEditChoosesIntervalo) {
  TfrmFiltroConfPedido& f = *dialog;
  ASSERT_TRUE(f.rbtTNrPedido->Checked());
  f.medAteIntervalo->SetText("9");
  EXPECT_TRUE(f.rbtIntervalo->Checked());
  EXPECT_FALSE(f.rbtTNrPedido->Checked());
  EXPECT_TRUE(f.medDeIntervalo->Enabled());
}

// Emptying the edits (as "Todos" and "Lista" do) chooses nothing: the
// operator's choice and the focus stay where the click put them.
TEST_F(FiltroValidationTest, ChoosingTodosOrListaAfterAnIntervalKeepsThatChoiceAndFocus) {
  TfrmFiltroConfPedido& f = *dialog;
  f.medDeIntervalo->SetText("7");
  f.medAteIntervalo->SetText("8");
  ASSERT_TRUE(f.rbtIntervalo->Checked());
  f.rbtLNrPedido->MouseClick(1, 1);
  EXPECT_TRUE(f.rbtLNrPedido->Checked());
  EXPECT_FALSE(f.rbtIntervalo->Checked());
  EXPECT_EQ(f.medDeIntervalo->Text(), "");
  EXPECT_EQ(Focus(), "rbtLNrPedido");
  EXPECT_TRUE(f.sbtNrPedido->Enabled());

  f.rbtIntervalo->MouseClick(1, 1);
  f.medDeIntervalo->SetText("7");
  f.rbtTNrPedido->MouseClick(1, 1);
  EXPECT_TRUE(f.rbtTNrPedido->Checked());
  EXPECT_FALSE(f.rbtIntervalo->Checked());
  EXPECT_EQ(Focus(), "rbtTNrPedido");
}

TEST_F(FiltroValidationTest, StatusesAndPrioritiesNeedOneBoxEach) {
  TfrmFiltroConfPedido& f = *dialog;
  for (fw::TCheckBox* box : {f.chbBaixa, f.chbNormal, f.chbAlta, f.chbUrgente, f.chbPrioritaria})
    box->SetChecked(false);
  f.chbPPendente->SetChecked(false);
  // Statuses come before priorities.
  ExpectRefused("Situação do pedido deve ser informada.", f.chbPPendente);
  f.chbPParcialmente->SetChecked(true);
  ExpectRefused("Prioridade deve ser informada.", f.chbNormal);
  f.chbPrioritaria->SetChecked(true);
  EXPECT_TRUE(Confirm());
  EXPECT_EQ(Filtro.Prio.stCodigos, "0");
  EXPECT_EQ(Filtro.StatPed.stCodigos, "6");
}

TEST_F(FiltroValidationTest, NoItemStatusIsRefusedWithTheFocusLeftWhereItIs) {
  TfrmFiltroConfPedido& f = *dialog;
  for (fw::TCheckBox* box : {f.chbIPendente, f.chbIConfirmado, f.chbIAprovado, f.chbILiquidado,
                             f.chbICancelado, f.chbIParcialmente})
    box->SetChecked(false);
  f.chbAlta->SetFocus();
  ExpectRefused("Situação do item deve ser informada.", f.chbAlta);  // the boxes are hidden
}

// A refusal that would move the focus out of a date edit holding a bad
// date shows its own message only; the edit keeps the focus.
TEST_F(FiltroValidationTest, ARefusalLeavesTheFocusInADateEditThatCannotBeLeft) {
  TfrmFiltroConfPedido& f = *dialog;
  Type(*f.depAteEntrega, "31022004");
  f.chbPPendente->SetChecked(false);
  op.Shown.clear();
  op.ExpectError("Situação do pedido deve ser informada.");
  EXPECT_THROW(f.Vd_StatusPedido(), fw::EAbort);
  EXPECT_EQ(op.Shown, Strings{"erro: Situação do pedido deve ser informada."});
  EXPECT_EQ(Focus(), "depAteEntrega");

  Type(*f.depAteEntrega, "30121899");
  op.Shown.clear();
  op.ExpectError("Situação do pedido deve ser informada.");
  EXPECT_THROW(f.Vd_StatusPedido(), fw::EAbort);
  EXPECT_EQ(op.Shown.size(), 1u);
  EXPECT_EQ(Focus(), "depAteEntrega");

  // With a good date the focus moves, and the exit handler says nothing.
  f.depAteEntrega->SetDate(Date(2004, 5, 10));
  op.Shown.clear();
  op.ExpectError("Situação do pedido deve ser informada.");
  EXPECT_THROW(f.Vd_StatusPedido(), fw::EAbort);
  EXPECT_EQ(op.Shown.size(), 1u);
  EXPECT_EQ(Focus(), "chbPPendente");
}

// The zero-date check moves the focus to its edit before its message; when
// the edit that has the focus cannot be left, that edit's message is the
// one shown, and it keeps the focus.
TEST_F(FiltroValidationTest, TheZeroDateCheckDoesNotStackAMessageOnTheEditBeingLeft) {
  TfrmFiltroConfPedido& f = *dialog;
  f.depDeEmissao->SetText("30/12/1899");  // by code, without the focus
  Type(*f.depAteEntrega, "31022004");
  op.Shown.clear();
  op.ExpectError(kDataInvalida);
  EXPECT_FALSE(Confirm());
  EXPECT_EQ(op.Shown.size(), 1u);
  EXPECT_EQ(Focus(), "depAteEntrega");
  EXPECT_TRUE(Calls().empty());
}

}  // namespace
}  // namespace filtro_testing
