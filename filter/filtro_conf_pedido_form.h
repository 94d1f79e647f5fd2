// TfrmFiltroConfPedido: the modal dialog "Filtro de Confirmação de
// Pedido", where the operator edits the order filter of the confirmation
// screen. Built for each opening by CriaFiltroConfPedido and released when
// it closes (its close clears the unit's creation flag and the
// order-number list's loaded flag).
//
// What it is made of is declared apart from what it does:
//   filtro_layout.cpp      the criteria groups and their controls
//   filtro_data.cpp        lookup queries, client datasets, data sources,
//                          the message table
// and its behaviour lives in handlers bound by name (RegisterHandlers):
//   filtro_lifecycle.cpp   creation, activation from Filtro with the
//                          operator's and branch's restrictions, closing,
//                          the radio toggles, F9 and Ctrl+D, "Desfazer",
//                          saved options
//   filtro_validation.cpp  the Vd_ validators, ValidaDataZ and the field
//                          handlers of the date and interval edits
//   filtro_pick_lists.cpp  the seven search actions, the display texts,
//                          the product query hook, Vd_Lista
//   filtro_apply.cpp       sbtConfirmaClick: validate, rebuild Filtro,
//                          reload the screen's orders, close
//
// Errors follow the module's conventions: a broken rule shows its message
// through Consiste::MensErro, moves the focus to the control it names and
// ends the command silently (fw::EAbort); server and database failures
// pass on to the host, which shows them; every server call hides the busy
// indicator before its error passes on. The dialog reaches the
// confirmation screen (branch edit, connection, order parameters, branch
// query, order list) through Cli_zqv41800::frmConfPedido, which must exist
// while the dialog is shown. User-interface thread only.
#pragma once

#include <functional>
#include <string>

#include "data/client_dataset.h"
#include "data/data_source.h"
#include "forms/check_boxes.h"
#include "forms/mask_edit.h"
#include "library/date_edit_plus.h"
#include "library/frm_filtro_padrao.h"
#include "sql/adoib_query.h"

class TfrmConfPedido;

class TfrmFiltroConfPedido : public fw::TfrmFiltroPadrao {
 public:
  explicit TfrmFiltroConfPedido(fw::TComponent* owner);

  // The confirmation screen whose branch, connection, parameters and
  // order list the dialog works with; raises fw::Exception when it is not
  // open (its unit's pointer outlives a closed screen).
  static TfrmConfPedido& Tela();

  fw::TButtonFlat* sbtLimpa;

  // Criteria groups.
  fw::TGroupBox *grbNrPedido, *grbPedido, *grbItemPedido, *grbPrioridade, *grbTipoOper,
      *grbCliente, *grbMuniciCli, *grbProduto, *grbEmissao, *grbEntrega, *grbVendedor,
      *grbVendComis;

  // Order numbers.
  fw::TRadioButton *rbtTNrPedido, *rbtIntervalo, *rbtLNrPedido;
  fw::TLabel *lblDeNrPedido, *lblAteNrPedido;
  fw::TMaskEdit *medDeIntervalo, *medAteIntervalo;
  fw::TButtonFlat* sbtNrPedido;

  // Order and item statuses, priorities.
  fw::TCheckBox *chbPPendente, *chbPAndamento, *chbPLiquidado, *chbPCancelado, *chbPParcialmente;
  fw::TCheckBox *chbIPendente, *chbIConfirmado, *chbIAprovado, *chbILiquidado, *chbICancelado,
      *chbIParcialmente;
  fw::TCheckBox *chbNormal, *chbAlta, *chbUrgente, *chbBaixa, *chbPrioritaria;

  // "Todos"/"Lista" groups.
  fw::TRadioButton *rbtTTpOper, *rbtLTpOper, *rbtTCliente, *rbtLCliente, *rbtTMuniciCli,
      *rbtLMuniciCli, *rbtTProduto, *rbtLProduto, *rbtTVendedor, *rbtLVendedor, *rbtTVendComis,
      *rbtLVendComis;
  fw::TButtonFlat *sbtTpOper, *sbtCliente, *sbtMuniciCli, *sbtProduto, *sbtVendedor,
      *sbtVendComis;

  // Dates.
  fw::TLabel *lblDeEmissao, *lblAteEmissao, *lblDeEntrega, *lblAteEntrega;
  fw::TDateEditPlus *depDeEmissao, *depAteEmissao, *depDeEntrega, *depAteEntrega;

  // Data: lookup queries on the host's shared connection, the order
  // numbers and the operator's order-type permissions from the server.
  fw::TADOIBQuery qryVendLog{"qryVendLog"}, qryVendedor{"qryVendedor"},
      qryCliente{"qryCliente"}, qryProduto{"qryProduto"}, qryMuniciCli{"qryMuniciCli"},
      qryPesqTipoOper{"qryPesqTipoOper"};
  fw::TClientDataSet cdsNrPedido{"cdsNrPedido"}, cdsOperTPed{"cdsOperTPed"};
  fw::TDataSource dtsVendedor{"dtsVendedor"}, dtsVendComis{"dtsVendComis"},
      dtsCliente{"dtsCliente"}, dtsProduto{"dtsProduto"}, dtsMuniciCli{"dtsMuniciCli"},
      dtsTipoOper{"dtsTipoOper"}, dtsNrPedido{"dtsNrPedido"};

  // Validators: each returns when its rule holds; otherwise it shows its
  // message, moves the focus to its control and raises fw::EAbort.
  void Vd_DeEmissaoInv();
  void Vd_AteEmissaoInv();
  void Vd_DeEntregaInv();
  void Vd_AteEntregaInv();
  void Vd_DeEmissao();
  void Vd_AteEmissao();
  void Vd_Emissao();
  void Vd_DeEntrega();
  void Vd_AteEntrega();
  void Vd_Entrega();
  void Vd_DeIntervalo();
  void Vd_AteIntervalo();
  void Vd_Intervalo();
  void Vd_Intervalo2();
  void Vd_StatusPedido();
  void Vd_StatusItemPedido();
  void Vd_Prioridade();
  void Vd_Lista();
  // The date of `edit` must lie after 30/12/1899.
  void ValidaDataZ(fw::TDateEditPlus& edit);

  // Handlers (bound by name; see RegisterHandlers).
  void FormCreate(fw::TComponent& sender);
  void FormActivate(fw::TComponent& sender);
  void FormClose(fw::TComponent& sender, fw::TCloseAction& action);
  void FormKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);
  void btfSaveOpcClick(fw::TComponent& sender);
  void btfLoadOpcClick(fw::TComponent& sender);
  void sbtLimpaClick(fw::TComponent& sender);
  void sbtConfirmaClick(fw::TComponent& sender);

  void rbtTNrPedidoClick(fw::TComponent& sender);
  void rbtIntervaloClick(fw::TComponent& sender);
  void rbtLNrPedidoClick(fw::TComponent& sender);
  void rbtTVendedorClick(fw::TComponent& sender);
  void rbtLVendedorClick(fw::TComponent& sender);
  void rbtTClienteClick(fw::TComponent& sender);
  void rbtLClienteClick(fw::TComponent& sender);
  void rbtTProdutoClick(fw::TComponent& sender);
  void rbtLProdutoClick(fw::TComponent& sender);
  void rbtTVendComisClick(fw::TComponent& sender);
  void rbtLVendComisClick(fw::TComponent& sender);
  void rbtTMuniciCliClick(fw::TComponent& sender);
  void rbtLMuniciCliClick(fw::TComponent& sender);
  void rbtTTpOperClick(fw::TComponent& sender);
  void rbtLTpOperClick(fw::TComponent& sender);

  void rbtLNrPedidoKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);
  void rbtLVendedorKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);
  void rbtLClienteKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);
  void rbtLProdutoKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);
  void rbtLMuniciCliKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);
  void rbtLTpOperKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);
  void rbtLVendComisKeyDown(fw::TComponent& sender, fw::TKey& key, fw::TShiftState shift);

  void depDeEmissaoExit(fw::TComponent& sender);
  void depAteEmissaoExit(fw::TComponent& sender);
  void depDeEntregaExit(fw::TComponent& sender);
  void depAteEntregaExit(fw::TComponent& sender);
  void medDeIntervaloExit(fw::TComponent& sender);
  void medAteIntervaloExit(fw::TComponent& sender);
  void medDeIntervaloChange(fw::TComponent& sender);
  void medAteIntervaloChange(fw::TComponent& sender);

  void sbtNrPedidoClick(fw::TComponent& sender);
  void sbtVendedorClick(fw::TComponent& sender);
  void sbtVendComisClick(fw::TComponent& sender);
  void sbtClienteClick(fw::TComponent& sender);
  void sbtMuniciCliClick(fw::TComponent& sender);
  void sbtTpOperClick(fw::TComponent& sender);
  void sbtProdutoClick(fw::TComponent& sender);
  void qryClienteNRINSJURCLIEGetText(fw::TField& sender, std::string& text, bool displayText);
  void qryProdutoCDARVPRODGetText(fw::TField& sender, std::string& text, bool displayText);
  void qryProdutoBeforeOpen(fw::TDataSet& dataSet);

 private:
  // Composition (declared apart from the behaviour).
  void ComposeWindow();
  void ComposeOrderNumberGroup();
  void ComposeStatusGroups();
  void ComposePriorityGroup();
  void ComposeListGroups();
  void ComposeDateGroups();
  void ComposeQueries();
  void ComposeDatasets();
  void ComposeMessages();
  void BindEvents();
  void RegisterHandlers();

  // Shows `text` as an error, moves the focus to `focus` (when
  // given) and ends the command.
  [[noreturn]] void Refuse(const std::string& text, fw::TControl* focus);
  // Refuses a date edit whose typed text is no calendar date.
  void Vd_DataInv(fw::TDateEditPlus& edit);
  // The interval edits emptied and shown as not in use; enabling or
  // disabling them with their labels.
  void ClearInterval();
  void SetIntervalEnabled(bool enabled);

  // Lifecycle.
  void LoadFromFiltro();
  void RequestOperTPed();
  void ApplyRestrictions();

  // Pick lists.
  void SearchLookup(fw::TDataSet& query, const char* emptyKey, fw::TRadioButton& listButton,
                    fw::TDataSource& source, const char* keyField, const char* titleKey,
                    std::string& selection);
  void LoadOrderNumbers();

  // Applying the filter.
  void ValidateDates();
  void ValidateAll();
  void BuildFiltro();
  void BuildSalesperson();
  void LoadOrders();
};
