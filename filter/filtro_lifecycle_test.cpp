// The filter dialog's life: what it shows when it opens (from Filtro, with
// the operator's and the branch's restrictions), the toggles, F9 and
// Ctrl+D, "Desfazer" and the saved options.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "filter/filtro_test_support.h"
#include "library/option_store.h"

namespace filtro_testing {
namespace {

using conf_pedido_testing::json;
namespace U = Cli_zqv41801;

using FiltroLifecycleTest = FilterTest;

void Press(fw::TForm& form, fw::TKey key, fw::TShiftState shift = 0) {
  form.KeyDown(key, shift);
}

TEST_F(FiltroLifecycleTest, FirstOpeningShowsTheDefaultsAndAsksForThePermissions) {
  op.BusyKinds.clear();  // the screen's own requests
  TfrmFiltroConfPedido& d = Dialog();
  EXPECT_EQ(Calls(), std::vector<std::string>{"getOperTPed"});
  EXPECT_EQ(lastArgs["getOperTPed"], json({"0001", "MARIA"}));
  EXPECT_EQ(op.BusyKinds, std::vector<int>{6});
  EXPECT_EQ(op.BusyDepth, 0);

  for (fw::TRadioButton* todos : {d.rbtTNrPedido, d.rbtTTpOper, d.rbtTCliente, d.rbtTMuniciCli,
                                  d.rbtTProduto, d.rbtTVendedor, d.rbtTVendComis})
    EXPECT_TRUE(todos->Checked()) << todos->Name();
  for (fw::TControl* off : std::initializer_list<fw::TControl*>{
           d.sbtNrPedido, d.medDeIntervalo, d.medAteIntervalo, d.sbtTpOper, d.sbtCliente,
           d.sbtMuniciCli, d.sbtVendedor, d.sbtVendComis})
    EXPECT_FALSE(off->Enabled()) << off->Name();
  for (fw::TCheckBox* on : {d.chbBaixa, d.chbNormal, d.chbAlta, d.chbUrgente, d.chbPrioritaria,
                            d.chbPPendente, d.chbIPendente, d.chbIConfirmado, d.chbIAprovado,
                            d.chbILiquidado, d.chbICancelado, d.chbIParcialmente})
    EXPECT_TRUE(on->Checked()) << on->Name();
  EXPECT_FALSE(d.chbPAndamento->Checked());
  EXPECT_FALSE(d.chbPParcialmente->Checked());
  for (fw::TDateEditPlus* date : {d.depDeEmissao, d.depAteEmissao, d.depDeEntrega, d.depAteEntrega})
    EXPECT_TRUE(date->Text().empty()) << date->Name();
  // Branch 0001 shows the operation types; MARIA has permissions.
  EXPECT_TRUE(d.grbTipoOper->Visible());
  EXPECT_EQ(d.grbPrioridade->Height(), 90);
  EXPECT_TRUE(d.grbVendedor->Enabled());
}

TEST_F(FiltroLifecycleTest, ReopeningShowsTheConfirmedIntervalListsAndDates) {
  Filtro.NrPedido = {true, false, "0000000005", "0000000009", "", ""};
  Filtro.Cliente = {false, "'00000001','00000002'", ""};
  Filtro.MuniciCli = {false, "'1058SP0001'", ""};
  Filtro.VendComis = {false, "'0003'", ""};
  Filtro.Entrega = {fw::EncodeDate(2024, 6, 1), fw::EncodeDate(2024, 6, 30), ""};
  Filtro.StatPed.boAndamento = true;
  U::stProduto = "'sobra de outra abertura'";
  TfrmFiltroConfPedido& d = Dialog();

  EXPECT_TRUE(d.rbtIntervalo->Checked());
  EXPECT_EQ(d.medDeIntervalo->Text(), "0000000005");
  EXPECT_EQ(d.medAteIntervalo->Text(), "0000000009");
  for (fw::TMaskEdit* edit : {d.medDeIntervalo, d.medAteIntervalo}) {
    EXPECT_TRUE(edit->Enabled()) << edit->Name();
    EXPECT_EQ(edit->Color(), fw::clInfoBk) << edit->Name();
  }
  EXPECT_TRUE(d.medDeIntervalo->Focused());
  EXPECT_FALSE(d.sbtNrPedido->Enabled());

  EXPECT_TRUE(d.rbtLCliente->Checked());
  EXPECT_TRUE(d.sbtCliente->Enabled());
  EXPECT_EQ(U::stCliente, "'00000001','00000002'");
  EXPECT_TRUE(d.rbtLMuniciCli->Checked());
  EXPECT_TRUE(d.sbtMuniciCli->Enabled());
  EXPECT_EQ(U::stMuniciCli, "'1058SP0001'");
  EXPECT_TRUE(d.rbtLVendComis->Checked());
  EXPECT_EQ(U::stVendComis, "'0003'");
  EXPECT_TRUE(d.rbtTVendedor->Checked());
  EXPECT_TRUE(U::stProduto.empty());  // every list string comes from Filtro
  EXPECT_TRUE(d.chbPAndamento->Checked());
  EXPECT_EQ(d.depDeEntrega->Text(), "01/06/2024");
  EXPECT_EQ(d.depAteEntrega->Text(), "30/06/2024");
  EXPECT_TRUE(d.depDeEmissao->Text().empty());
}

// Where the branch restricts operators without order-type permissions
// (0005), such an operator gets his own salesperson and cannot change it.
TEST_F(FiltroLifecycleTest, AnOperatorWithoutPermissionsIsHeldToHisOwnSalesperson) {
  Facts("BRUNO", "0005", false);
  TypeBranch("0005");
  LeaveBranch();
  Calls();
  TfrmFiltroConfPedido& d = Dialog();
  EXPECT_EQ(lastArgs["getOperTPed"], json({"0005", "BRUNO"}));
  EXPECT_FALSE(d.grbVendedor->Enabled());
  for (fw::TControl* c :
       std::initializer_list<fw::TControl*>{d.rbtTVendedor, d.rbtLVendedor, d.sbtVendedor})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_TRUE(d.rbtLVendedor->Checked());
  // His code as a key list, as a pick would leave it: the server reads it.
  EXPECT_EQ(U::stVendedor, "'0002'");
  TFiltro filtro;
  IniciaFiltro(filtro);
  filtro.Vendedor = {false, U::stVendedor, "", "0002", "T"};
  const json orders = Reply("GetPedido", ArgsGetPedido(filtro, "0005", "BRUNO"));
  ASSERT_TRUE(orders.contains("rows")) << orders.dump();
  EXPECT_FALSE(orders.at("rows").empty());
  EXPECT_TRUE(d.grbVendComis->Enabled());

  // "Desfazer" resets the choice but does not lift the restriction.
  Press(d, 'D', fw::ssCtrl);
  EXPECT_TRUE(d.rbtTVendedor->Checked());
  EXPECT_TRUE(U::stVendedor.empty());
  EXPECT_FALSE(d.grbVendedor->Enabled());
}

TEST_F(FiltroLifecycleTest, TheSalespersonRestrictionNeedsBothTheBranchAndNoPermissions) {
  Facts("CARLOS", "0005", false);  // permissions on 0005
  TypeBranch("0005");
  LeaveBranch();
  TfrmFiltroConfPedido& d = Dialog();
  EXPECT_TRUE(d.grbVendedor->Enabled());
  EXPECT_TRUE(d.rbtTVendedor->Checked());
  d.Close();
  fw::Application().ProcessMessages();

  // Without permission rows and without a salesperson: held to none.
  Facts("MARIA", "0005", false);
  values["getOperTPed"] = Reply("getOperTPed", {"0005", "BRUNO"});
  TfrmFiltroConfPedido& again = Dialog();
  EXPECT_FALSE(again.grbVendedor->Enabled());
  EXPECT_TRUE(again.rbtLVendedor->Checked());
  EXPECT_TRUE(U::stVendedor.empty());
}

TEST_F(FiltroLifecycleTest, ABranchWithoutOperationTypesHidesTheirGroup) {
  Filtro.TipoOper = {false, "'01'", ""};
  TypeBranch("0002");
  LeaveBranch();
  TfrmFiltroConfPedido& d = Dialog();
  EXPECT_FALSE(d.grbTipoOper->Visible());
  EXPECT_FALSE(d.grbTipoOper->Enabled());
  EXPECT_EQ(d.grbPrioridade->Height(), 143);
}

TEST_F(FiltroLifecycleTest, AFailedPermissionRequestHidesTheIndicatorAndEndsTheActivation) {
  TypeBranch("0002");  // the operation-type group would be hidden by the activation
  LeaveBranch();
  FailNext("getOperTPed", "Banco de dados indisponível.");
  EXPECT_THROW(Dialog(), fw::EServerError);
  EXPECT_EQ(op.BusyDepth, 0);
  EXPECT_TRUE(dialog->grbTipoOper->Visible());
  EXPECT_EQ(dialog->grbPrioridade->Height(), 90);
}

// Through the screen's filter command: the failed dialog is released, so
// the next request builds a fresh one that works.
TEST_F(FiltroLifecycleTest, ADialogThatFailedToOpenIsReleasedAndTheNextOneWorks) {
  FailNext("getOperTPed", "Banco de dados indisponível.");
  EXPECT_THROW(screen->sbtFiltroClick(*screen->sbtFiltro), fw::EServerError);
  fw::Application().ProcessMessages();
  EXPECT_FALSE(Cli_zqv41801::boIdCriado);
  EXPECT_EQ(fw::Screen().Cursor, fw::crDefault);
  EXPECT_EQ(op.BusyDepth, 0);
  const int before = filterOpenings;
  CloseFilterWhenShown();
  screen->sbtFiltroClick(*screen->sbtFiltro);
  EXPECT_EQ(filterOpenings, before + 1);
  EXPECT_FALSE(Cli_zqv41801::boIdCriado);
}

// The host may open the dialog through the exported CriaFiltroConfPedido
// without the screen: it then shows Filtro and asks the server nothing.
TEST_F(FiltroLifecycleTest, WithoutTheScreenTheDialogShowsFiltroAndFetchesNothing) {
  screen->Close();
  fw::Application().ProcessMessages();
  ASSERT_FALSE(Cli_zqv41800::boIdCriado);
  Calls();
  Filtro.Cliente = {false, "'00000001'", ""};
  TfrmFiltroConfPedido& d = Dialog();
  EXPECT_TRUE(d.rbtLCliente->Checked());
  d.rbtLNrPedido->MouseClick(1, 1);
  try {
    d.sbtNrPedido->Click();
    ADD_FAILURE() << "the order numbers need the screen's branch";
  } catch (const fw::Exception& e) {
    EXPECT_STREQ(e.what(), "A tela de confirmação de pedidos não está aberta.");
  }
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(d.grbNrPedido->Enabled());
  EXPECT_EQ(op.BusyDepth, 0);
}

TEST_F(FiltroLifecycleTest, OrderNumberTogglesEnableTheirControls) {
  TfrmFiltroConfPedido& d = Dialog();
  d.rbtIntervalo->MouseClick(1, 1);
  EXPECT_TRUE(d.medDeIntervalo->Enabled());
  EXPECT_TRUE(d.lblAteNrPedido->Enabled());
  EXPECT_TRUE(d.medDeIntervalo->Focused());
  EXPECT_EQ(d.medAteIntervalo->Color(), fw::clInfoBk);
  EXPECT_FALSE(d.sbtNrPedido->Enabled());
  d.medDeIntervalo->SetText("12");

  d.rbtLNrPedido->MouseClick(1, 1);
  EXPECT_TRUE(d.rbtLNrPedido->Checked());
  EXPECT_TRUE(d.medDeIntervalo->Text().empty());
  EXPECT_FALSE(d.medDeIntervalo->Enabled());
  EXPECT_FALSE(d.lblDeNrPedido->Enabled());
  EXPECT_EQ(d.medDeIntervalo->Color(), fw::clWindow);
  EXPECT_TRUE(d.sbtNrPedido->Enabled());

  d.rbtTNrPedido->MouseClick(1, 1);
  EXPECT_TRUE(d.rbtTNrPedido->Checked());
  EXPECT_FALSE(d.sbtNrPedido->Enabled());
  EXPECT_FALSE(d.medAteIntervalo->Enabled());
}

TEST_F(FiltroLifecycleTest, OperationTypesForgetTheirListOnTodosWhileOtherGroupsKeepIt) {
  TfrmFiltroConfPedido& d = Dialog();
  d.rbtLTpOper->MouseClick(1, 1);
  EXPECT_TRUE(d.sbtTpOper->Enabled());
  U::stTipoOper = "'01','02'";
  d.rbtLCliente->MouseClick(1, 1);
  U::stCliente = "'00000001'";
  d.rbtLMuniciCli->MouseClick(1, 1);
  EXPECT_TRUE(d.sbtMuniciCli->Enabled());

  for (fw::TRadioButton* todos : {d.rbtTTpOper, d.rbtTCliente, d.rbtTMuniciCli})
    todos->MouseClick(1, 1);
  EXPECT_FALSE(d.sbtTpOper->Enabled());
  EXPECT_FALSE(d.sbtCliente->Enabled());
  EXPECT_FALSE(d.sbtMuniciCli->Enabled());
  d.rbtLTpOper->MouseClick(1, 1);
  d.rbtLCliente->MouseClick(1, 1);
  EXPECT_TRUE(U::stTipoOper.empty());
  EXPECT_EQ(U::stCliente, "'00000001'");
  EXPECT_TRUE(d.sbtCliente->Enabled());
}

TEST_F(FiltroLifecycleTest, F9OnTheFocusedCustomerListOpensItsPickList) {
  TfrmFiltroConfPedido& d = Dialog();
  d.rbtLCliente->MouseClick(1, 1);
  ASSERT_TRUE(d.rbtLCliente->Focused());
  Press(d, fw::VK_F9 - 1);  // another key: nothing
  EXPECT_TRUE(op.PickRequests.empty());
  op.Pick("Cliente", {"00000003"});
  Press(d, fw::VK_F9);
  EXPECT_EQ(U::stCliente, "'00000003'");
  ASSERT_EQ(op.PickRequests.size(), 1u);
  EXPECT_EQ(op.PickRequests[0].KeyField, "CDCLIENTE");
}

TEST_F(FiltroLifecycleTest, CtrlDResetsTheDialogButNotFiltro) {
  Filtro.Cliente = {false, "'00000001'", ""};
  Filtro.Emissao = {fw::EncodeDate(2024, 6, 1), fw::EncodeDate(2024, 6, 2), ""};
  TfrmFiltroConfPedido& d = Dialog();
  d.rbtIntervalo->MouseClick(1, 1);
  d.medDeIntervalo->SetText("7");
  d.chbBaixa->SetChecked(false);
  d.chbPAndamento->SetChecked(true);
  d.chbICancelado->SetChecked(false);
  d.rbtLTpOper->MouseClick(1, 1);
  U::stNrPedido = U::stTipoOper = U::stMuniciCli = "'x'";

  Press(d, 'D');  // without Ctrl: nothing
  EXPECT_TRUE(d.rbtIntervalo->Checked());
  Press(d, 'D', fw::ssCtrl | fw::ssShift);
  EXPECT_TRUE(d.rbtTNrPedido->Checked());
  EXPECT_FALSE(d.rbtIntervalo->Checked());
  EXPECT_TRUE(d.medDeIntervalo->Text().empty());
  EXPECT_FALSE(d.medDeIntervalo->Enabled());
  EXPECT_FALSE(d.sbtNrPedido->Enabled());
  EXPECT_EQ(d.medDeIntervalo->Color(), fw::clWindow);
  EXPECT_TRUE(d.chbBaixa->Checked());
  EXPECT_FALSE(d.chbPAndamento->Checked());
  EXPECT_TRUE(d.chbPParcialmente->Checked());  // unchecked at the first opening
  EXPECT_TRUE(d.chbICancelado->Checked());
  for (fw::TRadioButton* todos : {d.rbtTTpOper, d.rbtTCliente, d.rbtTMuniciCli, d.rbtTVendedor})
    EXPECT_TRUE(todos->Checked()) << todos->Name();
  EXPECT_FALSE(d.sbtCliente->Enabled());
  EXPECT_TRUE(d.depDeEmissao->Text().empty());
  for (std::string* s : {&U::stNrPedido, &U::stCliente, &U::stTipoOper, &U::stMuniciCli})
    EXPECT_TRUE(s->empty());
  EXPECT_EQ(Filtro.Cliente.stLista, "'00000001'");
  EXPECT_EQ(Filtro.Emissao.dtDe, fw::EncodeDate(2024, 6, 1));
}

// The options file lives under a configuration folder of the test's own.
class FiltroSavedOptionsTest : public FilterTest {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old) previous_ = old;
    hadPrevious_ = old != nullptr;
    folder_ = ::testing::TempDir() + "filtro_opcoes_" + std::to_string(::getpid());
    setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    FilterTest::SetUp();
  }
  void TearDown() override {
    FilterTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    if (hadPrevious_)
      setenv("XDG_CONFIG_HOME", previous_.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }
  std::string folder_, previous_;
  bool hadPrevious_ = false;
};

TEST_F(FiltroSavedOptionsTest, SavingThenLoadingRestoresTheSevenListStrings) {
  TfrmFiltroConfPedido& d = Dialog();
  d.btfLoadOpc->Click();  // nothing saved yet: every list string empty
  U::stCliente = "'00000001'";
  U::stVendedor = "'0001'";
  U::stVendComis = "'0003','0004'";
  U::stNrPedido = "'0000000001'";
  U::stProduto = "'0101001'";
  U::stMuniciCli = "'1058SP0001'";
  U::stTipoOper = "'01'";
  d.btfSaveOpc->Click();
  const auto saved = Velkora::LoadOptions(d.OptionFile());
  std::vector<std::string> names;
  for (const auto& [name, value] : saved.Entries()) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"stNrPedido", "stCliente", "stMuniciCli", "stProduto",
                                             "stVendedor", "stVendComis", "stTipoOper"}));

  d.sbtLimpa->Click();
  EXPECT_TRUE(U::stVendComis.empty());
  d.btfLoadOpc->Click();
  EXPECT_EQ(U::stCliente, "'00000001'");
  EXPECT_EQ(U::stVendedor, "'0001'");
  EXPECT_EQ(U::stVendComis, "'0003','0004'");
  EXPECT_EQ(U::stNrPedido, "'0000000001'");
  EXPECT_EQ(U::stProduto, "'0101001'");
  EXPECT_EQ(U::stMuniciCli, "'1058SP0001'");
  EXPECT_EQ(U::stTipoOper, "'01'");
}

TEST_F(FiltroSavedOptionsTest, LoadingWithoutSavedOptionsEmptiesTheListStrings) {
  TfrmFiltroConfPedido& d = Dialog();
  U::stCliente = "'00000001'";
  d.btfLoadOpc->Click();
  EXPECT_TRUE(U::stCliente.empty());
}

TEST_F(FiltroSavedOptionsTest, AnUnusableFileLoadsNothingAndTheDialogGoesOn) {
  TfrmFiltroConfPedido& d = Dialog();
  std::filesystem::create_directories(std::filesystem::path(d.OptionFile()).parent_path());
  for (const std::string& text : {std::string("stCliente='00000009'\nstVendedor=0001 e 0002\n"),
                                 std::string("stCliente=\xFF\xFE\n"), std::string("\x01\x02\x03")}) {
    std::ofstream(d.OptionFile(), std::ios::binary) << text;
    U::stCliente = "'00000001'";
    EXPECT_THROW(d.btfLoadOpc->Click(), Velkora::EOptionsUnreadable) << text;
    EXPECT_EQ(U::stCliente, "'00000001'");
    EXPECT_TRUE(U::stVendedor.empty());
  }
  d.btfSaveOpc->Click();
  U::stCliente.clear();
  d.btfLoadOpc->Click();
  EXPECT_EQ(U::stCliente, "'00000001'");
}

}  // namespace
}  // namespace filtro_testing
