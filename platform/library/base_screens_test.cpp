// The base screens: composition, handlers by name with replacement, menu
// twins, the options of the filter dialog, and the grid helpers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "data/client_dataset.h"
#include "forms/application.h"
#include "library/consiste_grid.h"
#include "library/frm_filtro_padrao.h"
#include "library/frm_padrao_grid.h"
#include "library/key_help.h"
#include "library/velkora.h"
#include "testing/scripted_operator.h"

namespace fw {
namespace {

class ListScreen : public TfrmPadraoGrid {
 public:
  explicit ListScreen(TComponent* owner) : TfrmPadraoGrid(owner) {
    SetName("frmLista");
    On("sbtVerificarClick", [this](TComponent&) { log.push_back("verificar"); });
    Register<void(TDataSource&)>("dtsPadraoStateChange", nullptr);  // switched off
    cds.SetData(TDataPacket::Parse(R"({"fields":[{"name":"A","type":"string","size":2}],
                                       "rows":[["x"],["y"]]})"));
    dtsPadrao.SetDataSet(&cds);
  }
  std::vector<std::string> log;
  TClientDataSet cds{"cds"};
};

TEST(PadraoGrid, ComposedWithItsNamedPartsAndReplaceableHandlers) {
  ListScreen* screen = nullptr;
  Application().CreateForm(screen);
  for (const char* name : {"panMenu", "sbtVerificar", "sbtConfirmar", "pgcPadrao", "tshPadrao",
                           "dbgPadrao", "panNavigator", "dbtNome", "dbnPadrao", "mnuMenu",
                           "mnuOperacao", "mnuManutencao", "mnuVerificar", "msgPadrao",
                           "msgMensagensPadroes", "lblCodTela"})
    EXPECT_NE(screen->FindComponent(name), nullptr) << name;
  EXPECT_EQ(screen->pgcPadrao->ActivePage(), screen->tshPadrao);

  screen->mnuVerificar->Click();  // the menu twin clicks its button
  screen->Show();
  screen->dbgPadrao->SetFocus();
  TKey f5 = VK_F1 + 4;
  screen->KeyDown(f5, 0);  // the shortcut of the twin
  EXPECT_EQ(screen->log, (std::vector<std::string>{"verificar", "verificar"}));

  screen->sbtAlterar->Click();  // base: puts the record in edit
  EXPECT_EQ(screen->cds.State(), TDataSetState::dsEdit);
  EXPECT_TRUE(screen->sbtConfirmar->Enabled());  // state handler switched off
  screen->sbtCancelar->Click();
  EXPECT_EQ(screen->cds.State(), TDataSetState::dsBrowse);

  auto& extra = screen->Create<TSpeedButton>("sbtFiltro");
  screen->InsertToolButton(extra, screen->sbtImprimir);
  EXPECT_EQ(extra.Left() + extra.Width() + 2, screen->sbtImprimir->Left());
  EXPECT_LT(screen->sbtImprimir->Left() + screen->sbtImprimir->Width(), screen->sbtAjuda->Left());

  // Help lists the keys: every window's, the grid's, the menu's shortcuts, the screen's own.
  screen->HelpKeys = {"Espaço: marca"};
  std::string help = KeyHelp(*screen, screen->HelpKeys);
  for (const char* line : {"\nTab / Shift+Tab", "\nSetas, PageUp", "\nF5: Verificar", "\nEspaço: marca"})
    EXPECT_NE(help.find(line), std::string::npos) << line << " in " << help;

  int freed = 0;
  screen->FreeNotification([&] { ++freed; });
  screen->sbtFechar->Click();
  Application().ProcessMessages();
  EXPECT_EQ(freed, 1);  // released on close
}

TEST(PadraoGrid, GridColumnsAreFoundAddedAfterAPositionAndRemoved) {
  ListScreen* screen = nullptr;
  Application().CreateForm(screen);
  TDBGrid& grid = *screen->dbgPadrao;
  for (const char* field : {"IDCHECK", "IDSITPEDIDO", "NRPEDIDO", "NMFANVEN"})
    grid.Columns().Add().SetFieldName(field);
  EXPECT_EQ(Consiste::IndiceCol(grid, "nrpedido"), 2);
  EXPECT_EQ(Consiste::IndiceCol(grid, "NMTIPOOPER"), -1);
  Consiste::CriaColuna(grid, "NMTIPOOPER", 3);
  EXPECT_EQ(Consiste::IndiceCol(grid, "NMTIPOOPER"), 4);  // after NMFANVEN
  Consiste::CriaColuna(grid, "ULTIMA", 99);
  EXPECT_EQ(Consiste::IndiceCol(grid, "ULTIMA"), 5);
  Consiste::DestroiColuna(grid, "NMTIPOOPER");
  Consiste::DestroiColuna(grid, "NMTIPOOPER");  // absent: nothing
  EXPECT_EQ(grid.Columns().Count(), 5);
  delete screen;
}

class OptionsDialog : public TfrmFiltroPadrao {
 public:
  explicit OptionsDialog(TComponent* owner) : TfrmFiltroPadrao(owner) {
    lblCodTela->SetCaption("ZQV99999");
    Register<void(TComponent&)>("btfSaveOpcClick", [this](TComponent& s) {
      Opcoes.SetValue("stCliente", value);
      TfrmFiltroPadrao::btfSaveOpcClick(s);
    });
    Register<void(TComponent&)>("btfLoadOpcClick", [this](TComponent& s) {
      TfrmFiltroPadrao::btfLoadOpcClick(s);
      value = Opcoes.Value("stCliente");
    });
  }
  std::string value;
};

TEST(FiltroPadrao, OptionsAreSavedPerOperatorAndScreenEscCancelsAndEnterConfirms) {
  auto dir = std::filesystem::temp_directory_path() / "filtro_padrao_test";
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  Velkora::THostFacts facts;
  facts.Operador = "OPER01";
  Velkora::SetHostFacts(facts);

  OptionsDialog* dialog = nullptr;
  Application().CreateForm(dialog);
  dialog->value = "'C1','C2'";
  dialog->btfSaveOpc->Click();
  EXPECT_TRUE(std::filesystem::exists(dir / "velkora/opcoes/OPER01/ZQV99999.opc"));
  dialog->value.clear();
  dialog->btfLoadOpc->Click();
  EXPECT_EQ(dialog->value, "'C1','C2'");

  int freed = 0;
  dialog->FreeNotification([&] { ++freed; });
  Application().Post([dialog] {
    TKey esc = VK_ESCAPE;
    dialog->KeyDown(esc, 0);
  });
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  Application().ProcessMessages();
  EXPECT_EQ(freed, 1);

  Application().CreateForm(dialog);  // Enter confirms
  Application().Post([dialog] {
    TKey enter = VK_RETURN;
    dialog->KeyDown(enter, 0);
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  Application().ProcessMessages();
  unsetenv("XDG_CONFIG_HOME");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace fw
