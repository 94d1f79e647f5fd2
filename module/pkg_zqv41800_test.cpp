// The module frame: starting the screen once, restoring it, a fresh screen
// (with the filter back at its defaults) after a close, and a freshly built
// filter dialog at every opening.
#include <gtest/gtest.h>

#include "confirmation/cli_zqv41800.h"
#include "confirmation/conf_pedido_form.h"
#include "filter/cli_zqv41801.h"
#include "filter/filtro_conf_pedido_form.h"
#include "forms/application.h"
#include "shared/filtro.h"

extern "C" void IniProc();
extern "C" void CriaFiltroConfPedido();

namespace {

using namespace Cli_zqv41800;

int Screens() {
  int n = 0;
  for (fw::TForm* f : fw::Screen().Forms()) n += dynamic_cast<TfrmConfPedido*>(f) != nullptr;
  return n;
}

void CloseScreen() {
  if (boIdCriado) frmConfPedido->Close();
  fw::Application().ProcessMessages();
}

TEST(ModuleFrame, IniProcCreatesTheScreenOnceAndRestoresIt) {
  IniProc();
  TfrmConfPedido* first = frmConfPedido;
  EXPECT_TRUE(boIdCriado);
  EXPECT_TRUE(first->Visible());
  EXPECT_EQ(fw::Screen().Cursor, fw::crDefault);
  first->SetWindowState(fw::TWindowState::wsMinimized);
  IniProc();
  EXPECT_EQ(frmConfPedido, first);
  EXPECT_EQ(Screens(), 1);
  EXPECT_EQ(first->WindowState(), fw::TWindowState::wsNormal);
  EXPECT_EQ(first->Caption(), "Confirmação de Pedido");
  CloseScreen();
}

TEST(ModuleFrame, AfterACloseTheNextStartBuildsAFreshScreenWithDefaults) {
  IniProc();
  stCdFilial = "0001";
  Filtro.StatPed.stCodigos = "1";
  inContPedidoCh = 3;
  CloseScreen();
  EXPECT_FALSE(boIdCriado);
  EXPECT_EQ(Screens(), 0);
  IniProc();
  EXPECT_TRUE(stCdFilial.empty());
  TFiltro defaults;
  IniciaFiltro(defaults);
  EXPECT_EQ(Filtro.StatPed.stCodigos, defaults.StatPed.stCodigos);
  EXPECT_EQ(inContPedidoCh, 3);  // counters are not reset by closing
  inContPedidoCh = 0;
  CloseScreen();
}

TEST(ModuleFrame, EveryOpeningOfTheFilterDialogBuildsAFreshDialog) {
  std::vector<TfrmFiltroConfPedido*> seen;
  for (int i = 0; i < 2; ++i) {
    fw::Application().Post([&] {
      seen.push_back(Cli_zqv41801::frmFiltroConfPedido);
      EXPECT_TRUE(Cli_zqv41801::frmFiltroConfPedido->Modal());
      Cli_zqv41801::frmFiltroConfPedido->Close();
    });
    CriaFiltroConfPedido();
    EXPECT_FALSE(Cli_zqv41801::boIdCriado);
    fw::Application().ProcessMessages();  // the release posted by the close
  }
  ASSERT_EQ(seen.size(), 2u);
  for (fw::TForm* f : fw::Screen().Forms()) EXPECT_EQ(dynamic_cast<TfrmFiltroConfPedido*>(f), nullptr);
}

TEST(ModuleFrame, AStalledDialogIsClosedAndTheNextOpeningCreatesAgain) {
  // Without scripted input the modal loop stalls: the error passes on and
  // the next opening creates a dialog again.
  EXPECT_THROW(CriaFiltroConfPedido(), fw::EModalStall);
  EXPECT_EQ(fw::Screen().Cursor, fw::crDefault);
  Cli_zqv41801::frmFiltroConfPedido->Close();
  fw::Application().ProcessMessages();
  EXPECT_FALSE(Cli_zqv41801::boIdCriado);
}

}  // namespace
