// Helpers of the filter dialog's tests: the confirmation screen opened on
// branch 0001 against the in-process order service (see
// conf_pedido_test_support.h), and the filter dialog created as
// CriaFiltroConfPedido creates it but shown without a modal loop, so a
// test drives it step by step. Header-only: only test programs include it.
#pragma once

#include "confirmation/conf_pedido_test_support.h"
#include "filter/cli_zqv41801.h"
#include "filter/filtro_conf_pedido_form.h"
#include "forms/application.h"
#include "shared/filtro.h"

namespace filtro_testing {

class FilterTest : public conf_pedido_testing::ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    IniciaFiltro(Filtro);
    for (std::string* s : {&Cli_zqv41801::stNrPedido, &Cli_zqv41801::stVendedor,
                           &Cli_zqv41801::stVendComis, &Cli_zqv41801::stCliente,
                           &Cli_zqv41801::stProduto, &Cli_zqv41801::stMuniciCli,
                           &Cli_zqv41801::stTipoOper})
      s->clear();
    Open();
    TypeBranch("0001");
    LeaveBranch();
    Calls();
  }

  void TearDown() override {
    if (Cli_zqv41801::boIdCriado) Cli_zqv41801::frmFiltroConfPedido->Close();
    fw::Application().ProcessMessages();
    ScreenTest::TearDown();
  }

  // Creates the dialog and shows it (FormCreate, then FormActivate), not
  // modally: the test then works the controls and runs the handlers.
  TfrmFiltroConfPedido& Dialog() {
    fw::Application().CreateForm(Cli_zqv41801::frmFiltroConfPedido);
    Cli_zqv41801::boIdCriado = true;
    dialog = Cli_zqv41801::frmFiltroConfPedido;
    dialog->Show();
    return *dialog;
  }

  TfrmFiltroConfPedido* dialog = nullptr;
};

}  // namespace filtro_testing
