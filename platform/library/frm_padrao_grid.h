// TfrmPadraoGrid: the shared library's base screen for browsing a list.
//
// Composition (component names are part of the contract):
//   panMenu       toolbar at the top: sbtVerificar (reload), sbtAlterar,
//                 sbtProcurar (the record pair), sbtConfirmar, sbtCancelar,
//                 sbtImprimir, sbtAjuda, sbtFechar, and the screen-code
//                 label lblCodTela at the right. Screens may insert their
//                 own buttons (InsertToolButton); the bar lays the visible
//                 buttons out left to right.
//   pgcPadrao     page control filling the window, first page tshPadrao
//                 holding the grid dbgPadrao (bound to dtsPadrao).
//   panNavigator  bottom bar with the caption dbtNome and the navigator
//                 dbnPadrao (on dtsPadrao).
//   mnuMenu       main menu: mnuOperacao (mnuConfirmar, mnuCancelar,
//                 mnuImprimir, mnuLinha2, mnuFechar) and mnuManutencao
//                 (mnuIncluir, mnuAlterar, mnuExcluir, mnuProcurar,
//                 mnuVerificar). A menu twin clicks its toolbar button.
//   dtsPadrao     data source of the grid and navigator (a member).
//   msgPadrao, msgMensagensPadroes  message tables.
// Handlers, bound by name so a screen replaces them by registering the
// same name (an empty one switches the base behaviour off):
//   sbtVerificarClick, sbtAlterarClick (puts the record in edit),
//   sbtProcurarClick (focuses the grid), sbtConfirmarClick (posts an
//   edit), sbtCancelarClick (cancels it), sbtImprimirClick (nothing),
//   sbtAjudaClick (shows the screen's keys, key_help.h, with its HelpKeys),
//   sbtFecharClick (closes),
//   dbgPadraoKeyDown (F5 reloads), dbgPadraoKeyPress (Enter edits the
//   record), dtsPadraoStateChange (confirm and cancel follow the edit
//   state), FormCreate, FormClose (the window is released: caFree).
// Screens call the base handler they extend directly (e.g.
// TfrmPadraoGrid::FormClose). User-interface thread only.
#pragma once

#include <string>
#include <vector>

#include "data/data_source.h"
#include "forms/buttons.h"
#include "forms/containers.h"
#include "forms/db_controls.h"
#include "forms/db_grid.h"
#include "forms/db_navigator.h"
#include "forms/form.h"
#include "forms/menus.h"
#include "forms/page_control.h"
#include "forms/static_controls.h"
#include "library/messages.h"

namespace fw {

class TfrmPadraoGrid : public TForm {
 public:
  explicit TfrmPadraoGrid(TComponent* owner);

  // Keys the screen's own handlers give, for its help.
  std::vector<std::string> HelpKeys;
  TPanel* panMenu;
  TSpeedButton *sbtVerificar, *sbtAlterar, *sbtProcurar, *sbtConfirmar, *sbtCancelar,
      *sbtImprimir, *sbtAjuda, *sbtFechar;
  TLabel* lblCodTela;
  TPageControl* pgcPadrao;
  TTabSheet* tshPadrao;
  TDBGrid* dbgPadrao;
  TPanel* panNavigator;
  TDBText* dbtNome;
  TDBNavigator* dbnPadrao;
  TMainMenu* mnuMenu;
  TMenuItem *mnuOperacao, *mnuConfirmar, *mnuCancelar, *mnuImprimir, *mnuLinha2, *mnuFechar;
  TMenuItem *mnuManutencao, *mnuIncluir, *mnuAlterar, *mnuExcluir, *mnuProcurar, *mnuVerificar;
  TDataSource dtsPadrao{"dtsPadrao"};
  TMessages* msgPadrao;
  TMessages* msgMensagensPadroes;

  // The toolbar's buttons in order; InsertToolButton puts one before another.
  void InsertToolButton(TSpeedButton& button, TSpeedButton* before);
  void ArrangeToolbar();

 protected:
  void FormCreate(TComponent& sender);
  void FormClose(TComponent& sender, TCloseAction& action);
  void dbgPadraoKeyDown(TComponent& sender, TKey& key, TShiftState shift);
  void dbgPadraoKeyPress(TComponent& sender, std::string& key);
  // Registers a notify handler under its name.
  void On(const std::string& name, std::function<void(TComponent&)> handler);

 private:
  TSpeedButton& ToolButton(const std::string& name, const std::string& hint);
  TMenuItem& MenuItem(TMenuItem& parent, const std::string& name, const std::string& caption,
                      TSpeedButton* twin = nullptr);
  void BuildMenus();
  void RegisterBaseHandlers();
  std::vector<TSpeedButton*> toolbar_;
};

}  // namespace fw
