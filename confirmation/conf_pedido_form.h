// TfrmConfPedido: the "Confirmação de Pedido" screen, a child window of
// the host's main window, where the operator of a branch picks the branch,
// loads its orders through the filter dialog or the reload command, and
// browses each order's general data, items with stock positions and
// totals, payment terms, carrier and remarks.
//
// Life: created through the application's form service by CriaConfPedido
// (FormCreate opens the application-server connection netConPed and resets
// Filtro), activated (the first activation takes the host's branch and,
// when the host fixes it, validates it at once), closed by the operator
// (the window is released, boIdCriado cleared, the connection closed).
//
// What it is made of is declared apart from what it does:
//   conf_pedido_layout.cpp    window, branch panel, pages and their controls
//   conf_pedido_columns.cpp   the grids' columns
//   conf_pedido_datasets.cpp  client datasets, queries, data sources
//   conf_pedido_menus.cpp     menus and the message table
// and its behaviour lives in handlers bound by name (see RegisterHandlers):
//   conf_pedido_lifecycle.cpp creation, activation, closing, pages, filter
//   conf_pedido_habilita.cpp  Habilita, the one enabling routine
//   conf_pedido_branch.cpp    branch field, Vd_Filial, branch parameters
//   conf_pedido_loading.cpp   reload, order and item scrolls, totals
//   conf_pedido_fields.cpp    calculated fields and display texts
//   conf_pedido_drawing.cpp   the owner-drawn order and item grids
//
//   conf_pedido_marking.cpp   marks of orders and items, the all-switch
//   conf_pedido_confirm.cpp   confirm, cancel and print
//
// Errors follow the screen's conventions: a broken rule shows its message
// and ends the command silently (EAbort); server and database failures
// pass on to the host, which shows them; every fetch hides the busy
// indicator before its error passes on. The filter dialog reaches the
// public members it needs (medCdFilial, netConPed, cdsParamPedido,
// qryFilial, cdsPedido) through frmConfPedido.
// User-interface thread only.
#pragma once

#include <map>
#include <string>

#include "data/client_dataset.h"
#include "data/data_source.h"
#include "forms/check_boxes.h"
#include "forms/combo_box.h"
#include "forms/mask_edit.h"
#include "forms/spin_edit.h"
#include "library/btn_pesquisa.h"
#include "library/frm_padrao_grid.h"
#include "library/number_edit.h"
#include "rpc/net_connection.h"
#include "sql/adoib_query.h"

class TfrmConfPedido : public fw::TfrmPadraoGrid {
 public:
  explicit TfrmConfPedido(fw::TComponent* owner);

  // Branch panel and toolbar.
  fw::TPanel* panFilial;
  fw::TLabel* lblFilial;
  fw::TMaskEdit* medCdFilial;
  fw::TBtnPesquisa* btnFilial;
  fw::TEdit* edtNmFilial;
  fw::TImage *imgCheck, *imgUncheck, *imgDescheck;
  fw::TButtonFlat* sbtFiltro;

  // Pages (tshPadrao is the base screen's) and what the handlers fill.
  fw::TTabSheet *tshDadosGerais, *tshItemPedido, *tshFormaPgto, *tshTransport, *tshObservacao;
  fw::TDBGrid *dbgItemPedido, *dbgPosiEstoq, *dbgPrazoPg;
  fw::TSplitter* splComisVend;
  fw::TPanel *panComisPosEst, *panTotalItem;
  fw::TNumberEdit *nedTotal, *nedTotLiq;
  fw::TEdit *edtTransp, *edtNmTransp, *edtModPgto, *edtFormPgto;
  fw::TComboBox* dbcTipo;
  fw::TSpinEdit *speDiaFixo, *speParcela;

  // Menus added to the base screen's.
  fw::TMenuItem *mnuPedido, *mnuDadosGerais, *mnuItemPedido, *mnuFormaPgto, *mnuTransport,
      *mnuObservacao, *mnuLinha1, *mnuLinha4, *mnuFiltrar;

  // Data: filled from the application server's packets, the direct
  // queries on the host's shared database connection, their sources.
  fw::TClientDataSet cdsPedido{"cdsPedido"}, cdsItemPedido{"cdsItemPedido"},
      cdsPosiEstoq{"cdsPosiEstoq"}, cdsPrazoPgto{"cdsPrazoPgto"}, cdsObser{"cdsObser"},
      cdsParamPedido{"cdsParamPedido"}, cdsSomatorio{"cdsSomatorio"}, cdsItemErro{"cdsItemErro"},
      cdsPedIErro{"cdsPedIErro"}, cdsOperTPed{"cdsOperTPed"};
  fw::TADOIBQuery qryFilial{"qryFilial"}, qryPesqFilial{"qryPesqFilial"},
      qryPesqUnid{"qryPesqUnid"}, qryVendLog{"qryVendLog"};
  fw::TDataSource dtsPedido{"dtsPedido"}, dtsItemPedido{"dtsItemPedido"},
      dtsPosiEstoq{"dtsPosiEstoq"}, dtsPrazoPgto{"dtsPrazoPgto"}, dtsObser{"dtsObser"},
      dtsFilial{"dtsFilial"};
  fw::TNetConnection netConPed{"netConPed"};

  // Recomputes which pages, commands, menu items and branch controls are
  // usable, from the order list and the mark counters.
  void Habilita();
  // Validates the branch code; on a broken rule shows its message, puts
  // the focus back into the branch field and ends the command (EAbort).
  void Vd_Filial();
  // True when at least one order (item) of the list is pending; the grid
  // keeps its row.
  bool VerificaMarcaTodosPedidos();
  bool VerificaMarcaTodosItemPed();
  // Unmark every pending order (item) and set its counter to 0; the
  // callers run Habilita.
  void DeschecarPedido();
  void DeschecarItemPed();
  // Ends the confirm command with its message when the active list has no
  // mark counted.
  void Vd_Check();

  // Handlers (bound by name; see RegisterHandlers).
  void FormCreate(fw::TComponent& sender);
  void FormActivate(fw::TComponent& sender);
  void FormClose(fw::TComponent& sender, fw::TCloseAction& action);
  void netConPedBeforeConnect(fw::TNetConnection& sender);
  void pgcPadraoChange(fw::TComponent& sender);
  void mnuPedidoClick(fw::TComponent& sender);
  void mnuDadosGeraisClick(fw::TComponent& sender);
  void mnuItemPedidoClick(fw::TComponent& sender);
  void mnuFormaPgtoClick(fw::TComponent& sender);
  void mnuTransportClick(fw::TComponent& sender);
  void mnuObservacaoClick(fw::TComponent& sender);
  void sbtFiltroClick(fw::TComponent& sender);
  void mnuFiltrarClick(fw::TComponent& sender);
  void medCdFilialEnter(fw::TComponent& sender);
  void medCdFilialChange(fw::TComponent& sender);
  void medCdFilialExit(fw::TComponent& sender);
  void btnFilialBeforePesq(fw::TComponent& sender);
  void btnFilialAfterPesq(fw::TComponent& sender);
  void sbtVerificarClick(fw::TComponent& sender);
  void cdsPedidoAfterScroll(fw::TDataSet& dataSet);
  void cdsItemPedidoAfterScroll(fw::TDataSet& dataSet);
  void cdsPedidoCalcFields(fw::TDataSet& dataSet);
  void cdsItemPedidoCalcFields(fw::TDataSet& dataSet);
  void cdsPedidoIDTPFORPGTPEDGetText(fw::TField& sender, std::string& text, bool displayText);
  void cdsPedidoNRINSJURCLIEGetText(fw::TField& sender, std::string& text, bool displayText);
  void cdsItemPedidoCDARVPRODGetText(fw::TField& sender, std::string& text, bool displayText);
  void cdsItemPedidoIDITPEDDIFERGetText(fw::TField& sender, std::string& text, bool displayText);
  void cdsPrazoPgtoPREVISAOGetText(fw::TField& sender, std::string& text, bool displayText);
  void dbgPadraoDrawColumnCell(fw::TComponent& sender, const fw::TRect& rect, int dataCol,
                               fw::TColumn& column, fw::TGridDrawState state);
  void dbgItemPedidoDrawColumnCell(fw::TComponent& sender, const fw::TRect& rect, int dataCol,
                                   fw::TColumn& column, fw::TGridDrawState state);
  void dbgPadraoCellClick(fw::TColumn& column);
  void dbgPadraoTitleClick(fw::TColumn& column);
  void dbgPadraoKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);
  void dbgItemPedidoCellClick(fw::TColumn& column);
  void dbgItemPedidoTitleClick(fw::TColumn& column);
  void dbgItemPedidoKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);
  void sbtConfirmarClick(fw::TComponent& sender);
  void sbtCancelarClick(fw::TComponent& sender);
  void sbtImprimirClick(fw::TComponent& sender);

 private:
  // Composition (declared apart from the behaviour).
  void ComposeWindow();
  void ComposeBranchPanel();
  void ComposePages();
  void ComposeOrderHeaderPage();
  void ComposeItemPage();
  void ComposePaymentPage();
  void ComposeCarrierAndRemarksPages();
  void ComposeColumns();
  void ComposeDatasets();
  void ComposeQueries();
  void ComposeMenus();
  void ComposeMessages();
  void BindEvents();
  void RegisterHandlers();

  // Pages.
  void SelectPage(fw::TTabSheet* page);
  void CheckPageMenu();
  bool FocusInBranchField() const;

  // Branch.
  void ApplyBranchParameters();
  void ShapeItemPage();
  void ShapeOperationTypeColumn();
  bool OperatorMayWork();

  // Loading.
  void LoadItems();
  void ShowOrderControls();
  void ComputeTotals();
  std::string StockUnit(const std::string& cdProdEsto);

  // Marking.
  bool CarrierRequired() const;
  [[noreturn]] void Refuse(const char* key);
  static bool HasPendingRows(fw::TDataSet& dataSet, const char* filter);
  static void UnmarkPending(fw::TDataSet& dataSet, const char* statusField);
  void MarkAllOrders();
  void MarkByKey(fw::TDBGrid& grid, fw::TKey key, fw::TShiftState shift,
                 void (TfrmConfPedido::*cellClick)(fw::TColumn&),
                 void (TfrmConfPedido::*titleClick)(fw::TColumn&));

  // Confirming.
  int Ask(const char* key);
  void AskCommission();
  void ConfirmationFailed(fw::TClientDataSet& dataSet, int32_t& counter);
  std::string MarkedOrderList();
  void ConfirmOrders();
  void ConfirmItems();

  // Drawing.
  void DrawMarkGlyph(fw::TCanvas& canvas, const fw::TRect& rect, const std::string& situation,
                     bool rowsExist, const std::string& mark);

  bool boPrimeiraAtivacao = true;
  // True while the branch field's exit processing runs: the operator is
  // leaving the field, so it no longer counts as holding the focus.
  bool leavingBranch_ = false;
  // Stock units of the products of the items loaded, by product code.
  std::map<std::string, std::string> units_;
};
