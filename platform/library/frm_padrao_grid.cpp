#include "library/frm_padrao_grid.h"

#include <algorithm>

#include "data/dataset.h"
#include "forms/canvas.h"
#include "forms/interaction.h"
#include "library/key_help.h"

namespace fw {

TfrmPadraoGrid::TfrmPadraoGrid(TComponent* owner) : TForm(owner) {
  SetBounds(0, 0, 792, 520);
  panMenu = &Create<TPanel>("panMenu");
  panMenu->SetParent(this);
  panMenu->SetHeight(32);
  panMenu->SetAlign(TAlign::alTop);
  sbtVerificar = &ToolButton("sbtVerificar", "Verificar");
  sbtAlterar = &ToolButton("sbtAlterar", "Alterar");
  sbtProcurar = &ToolButton("sbtProcurar", "Procurar");
  sbtConfirmar = &ToolButton("sbtConfirmar", "Confirmar");
  sbtCancelar = &ToolButton("sbtCancelar", "Cancelar");
  sbtImprimir = &ToolButton("sbtImprimir", "Imprimir");
  sbtAjuda = &ToolButton("sbtAjuda", "Ajuda");
  sbtFechar = &ToolButton("sbtFechar", "Fechar");
  lblCodTela = &Create<TLabel>("lblCodTela");
  lblCodTela->SetParent(panMenu);
  lblCodTela->SetBounds(700, 9, 80, 13);

  panNavigator = &Create<TPanel>("panNavigator");
  panNavigator->SetParent(this);
  panNavigator->SetHeight(30);
  panNavigator->SetAlign(TAlign::alBottom);
  dbtNome = &Create<TDBText>("dbtNome");
  dbtNome->SetParent(panNavigator);
  dbtNome->SetBounds(8, 8, 500, 16);
  dbnPadrao = &Create<TDBNavigator>("dbnPadrao");
  dbnPadrao->SetParent(panNavigator);
  dbnPadrao->SetBounds(640, 3, 140, 24);
  dbnPadrao->SetDataSource(&dtsPadrao);

  pgcPadrao = &Create<TPageControl>("pgcPadrao");
  pgcPadrao->SetParent(this);
  pgcPadrao->SetAlign(TAlign::alClient);
  tshPadrao = &Create<TTabSheet>("tshPadrao", pgcPadrao);
  tshPadrao->SetCaption("Padrão");
  dbgPadrao = &Create<TDBGrid>("dbgPadrao");
  dbgPadrao->SetParent(tshPadrao);
  dbgPadrao->SetAlign(TAlign::alClient);
  dbgPadrao->SetDataSource(&dtsPadrao);

  msgPadrao = &Create<TMessages>("msgPadrao");
  msgMensagensPadroes = &Create<TMessages>("msgMensagensPadroes");
  msgMensagensPadroes->Lines.SetText(
      "SEM_AJUDA|Não há ajuda disponível para esta tela.\n"
      "SEM_REGISTRO|Não há registro selecionado.");
  BuildMenus();
  RegisterBaseHandlers();
  ArrangeToolbar();
}

TSpeedButton& TfrmPadraoGrid::ToolButton(const std::string& name, const std::string& hint) {
  auto& button = Create<TSpeedButton>(name);
  button.SetParent(panMenu);
  button.SetFlat(true);
  button.SetCaption(hint);
  button.Hint = hint;
  button.ShowHint = true;
  button.OnClick = Handler<void(TComponent&)>(name + "Click");
  toolbar_.push_back(&button);
  return button;
}

void TfrmPadraoGrid::InsertToolButton(TSpeedButton& button, TSpeedButton* before) {
  std::erase(toolbar_, &button);
  auto it = std::find(toolbar_.begin(), toolbar_.end(), before);
  toolbar_.insert(it, &button);
  if (button.Parent() != panMenu) button.SetParent(panMenu);
  ArrangeToolbar();
}

// Buttons with a glyph are 25 pixels wide; buttons showing their caption
// are as wide as it needs.
void TfrmPadraoGrid::ArrangeToolbar() {
  int left = 4;
  for (TSpeedButton* button : toolbar_) {
    if (!button->Visible()) continue;
    int width = button->Glyph().Empty() && !button->Caption().empty()
                    ? std::max(25, MeasureText(button->Font(), button->Caption()) + 12)
                    : 25;
    button->SetBounds(left, 3, width, 25);
    left += width + 2;
  }
}

TMenuItem& TfrmPadraoGrid::MenuItem(TMenuItem& parent, const std::string& name,
                                    const std::string& caption, TSpeedButton* twin) {
  auto& item = Create<TMenuItem>(name);
  item.SetCaption(caption);
  if (twin) item.OnClick = [twin](TComponent&) { twin->Click(); };
  parent.Insert(item);
  return item;
}

void TfrmPadraoGrid::BuildMenus() {
  mnuMenu = &Create<TMainMenu>("mnuMenu");
  Menu = mnuMenu;
  mnuOperacao = &MenuItem(mnuMenu->Items(), "mnuOperacao", "&Operação");
  mnuConfirmar = &MenuItem(*mnuOperacao, "mnuConfirmar", "&Confirmar", sbtConfirmar);
  mnuCancelar = &MenuItem(*mnuOperacao, "mnuCancelar", "C&ancelar", sbtCancelar);
  mnuImprimir = &MenuItem(*mnuOperacao, "mnuImprimir", "&Imprimir", sbtImprimir);
  mnuLinha2 = &MenuItem(*mnuOperacao, "mnuLinha2", "-");
  mnuFechar = &MenuItem(*mnuOperacao, "mnuFechar", "&Fechar", sbtFechar);
  mnuManutencao = &MenuItem(mnuMenu->Items(), "mnuManutencao", "&Manutenção");
  mnuIncluir = &MenuItem(*mnuManutencao, "mnuIncluir", "&Incluir");
  mnuIncluir->SetEnabled(false);  // this base screen adds no records
  mnuAlterar = &MenuItem(*mnuManutencao, "mnuAlterar", "&Alterar", sbtAlterar);
  mnuExcluir = &MenuItem(*mnuManutencao, "mnuExcluir", "&Excluir");
  mnuExcluir->SetEnabled(false);  // nor deletes them
  mnuProcurar = &MenuItem(*mnuManutencao, "mnuProcurar", "&Procurar", sbtProcurar);
  mnuVerificar = &MenuItem(*mnuManutencao, "mnuVerificar", "&Verificar", sbtVerificar);
  mnuVerificar->ShortCut = TextToShortCut("F5");
}

void TfrmPadraoGrid::On(const std::string& name, std::function<void(TComponent&)> handler) {
  Register<void(TComponent&)>(name, std::move(handler));
}

void TfrmPadraoGrid::RegisterBaseHandlers() {
  auto dataSet = [this] { return dtsPadrao.DataSet(); };
  On("sbtVerificarClick", [](TComponent&) {});
  On("sbtAlterarClick", [dataSet](TComponent&) {
    if (TDataSet* ds = dataSet(); ds && ds->Active() && !ds->IsEmpty()) ds->Edit();
  });
  On("sbtProcurarClick", [this](TComponent&) { dbgPadrao->SetFocus(); });
  On("sbtConfirmarClick", [dataSet](TComponent&) {
    if (TDataSet* ds = dataSet(); ds && ds->State() == TDataSetState::dsEdit) ds->Post();
  });
  On("sbtCancelarClick", [dataSet](TComponent&) {
    if (TDataSet* ds = dataSet(); ds && ds->State() == TDataSetState::dsEdit) ds->Cancel();
  });
  On("sbtImprimirClick", [](TComponent&) {});
  On("sbtAjudaClick", [this](TComponent&) {
    Interaction().MessageDlg(KeyHelp(*this, HelpKeys), TMsgDlgType::mtInformation, mbOK, 0);
  });
  On("sbtFecharClick", [this](TComponent&) { Close(); });
  On("FormCreate", [this](TComponent& s) { FormCreate(s); });
  Register<void(TComponent&, TCloseAction&)>(
      "FormClose", [this](TComponent& s, TCloseAction& a) { FormClose(s, a); });
  Register<void(TComponent&, TKey&, TShiftState)>(
      "dbgPadraoKeyDown",
      [this](TComponent& s, TKey& k, TShiftState sh) { dbgPadraoKeyDown(s, k, sh); });
  Register<void(TComponent&, std::string&)>(
      "dbgPadraoKeyPress", [this](TComponent& s, std::string& k) { dbgPadraoKeyPress(s, k); });
  Register<void(TDataSource&)>("dtsPadraoStateChange", [this](TDataSource&) {
    bool editing = dtsPadrao.DataSet() && dtsPadrao.DataSet()->State() == TDataSetState::dsEdit;
    sbtConfirmar->SetEnabled(editing);
    sbtCancelar->SetEnabled(editing);
  });
  OnCreate = Handler<void(TComponent&)>("FormCreate");
  OnClose = Handler<void(TComponent&, TCloseAction&)>("FormClose");
  dbgPadrao->OnKeyDown = Handler<void(TComponent&, TKey&, TShiftState)>("dbgPadraoKeyDown");
  dbgPadrao->OnKeyPress = Handler<void(TComponent&, std::string&)>("dbgPadraoKeyPress");
  dtsPadrao.OnStateChange = Handler<void(TDataSource&)>("dtsPadraoStateChange");
}

void TfrmPadraoGrid::FormCreate(TComponent&) {
  pgcPadrao->SetActivePage(tshPadrao);
  SetActiveControl(dbgPadrao);
}

void TfrmPadraoGrid::FormClose(TComponent&, TCloseAction& action) {
  action = TCloseAction::caFree;
}

void TfrmPadraoGrid::dbgPadraoKeyDown(TComponent&, TKey& key, TShiftState shift) {
  if (key == VK_F1 + 4 && shift == 0 && sbtVerificar->Usable() && sbtVerificar->Showing()) {
    sbtVerificar->Click();
    key = 0;
  }
}

void TfrmPadraoGrid::dbgPadraoKeyPress(TComponent&, std::string& key) {
  if (key == "\r" && sbtAlterar->Usable() && sbtAlterar->Showing()) {
    sbtAlterar->Click();
    key.clear();
  }
}

}  // namespace fw
