// What the filter dialog is made of: the criteria groups inside the base
// dialog's criteria box, their controls with captions, positions, tab
// order and initial state, and the "Desfazer" button. Properties only;
// behaviour is bound by name in BindEvents.
#include "confirmation/composer.h"
#include "filter/filtro_conf_pedido_form.h"
#include "filter/filtro_glyphs.h"

using namespace composer;
using namespace fw;

namespace {

// Captions, labels, radio buttons and check boxes are bold; edits regular.
const TFont kBold{"MS Sans Serif", 8, true};

template <class T>
T& Bold(TForm& form, const std::string& name, TControl* parent, TBox box,
        const std::string& caption, int tabOrder = 0, unsigned flags = 0) {
  T& control = Captioned<T>(form, name, parent, box, caption, flags);
  control.SetFont(kBold);
  control.TabOrder = tabOrder;
  return control;
}

TGroupBox& Group(TForm& form, const std::string& name, TControl* parent, TBox box,
                 const std::string& caption, int tabOrder, unsigned flags = 0) {
  return Bold<TGroupBox>(form, name, parent, box, caption, tabOrder, flags);
}

TCheckBox& Check(TForm& form, const std::string& name, TControl* parent, TBox box,
                 const std::string& caption, bool checked, int tabOrder = 0,
                 unsigned flags = 0) {
  auto& box_ = Bold<TCheckBox>(form, name, parent, box, caption, tabOrder, flags);
  box_.SetChecked(checked);
  return box_;
}

// A flat "Pesquisar" button of a "Lista" choice, disabled until "Lista" is
// chosen.
TButtonFlat& SearchButton(TForm& form, const std::string& name, TControl* parent, int left,
                          int top) {
  auto& button = Place<TButtonFlat>(form, name, parent, {left, top, 21, 21}, kDisabled);
  button.Hint = "Pesquisar";
  button.ShowHint = true;
  button.SetFlat(true);
  button.SetGlyph(SearchGlyph());
  button.SetNumGlyphs(2);
  return button;
}

}  // namespace

void TfrmFiltroConfPedido::ComposeWindow() {
  SetName("frmFiltroConfPedido");
  SetCaption("Filtro de Confirmação de Pedido");
  SetBounds(Left(), Top(), 617, 302);
  lblCodTela->SetCaption("ZQV41801");
  HelpKeys = {"F9 na opção Lista: abre a lista de pesquisa", "Enter: OK; Esc: Cancelar", "Ctrl+D: Desfazer"};
  grbFiltroPadrao->SetBounds(0, 0, 562, 302);
  panMenu->SetBounds(562, 0, panMenu->Width(), 302);
  panHelp->SetTop(86);
  sbtHelp->SetTop(0);
  panBotoes->SetHeight(150);
  sbtConfirma->SetBounds(sbtConfirma->Left(), 1, sbtConfirma->Width(), 24);
  sbtCancel->SetHeight(24);
  sbtLimpa = &Place<TButtonFlat>(*this, "sbtLimpa", panBotoes, {4, 110, 40, 24});
  sbtLimpa->Hint = "Desfazer";
  sbtLimpa->ShowHint = true;
  sbtLimpa->SetFlat(true);
  sbtLimpa->SetGlyph(UndoGlyph());

  ComposeOrderNumberGroup();
  ComposeStatusGroups();
  ComposePriorityGroup();
  ComposeListGroups();
  ComposeDateGroups();
}

void TfrmFiltroConfPedido::ComposeOrderNumberGroup() {
  grbNrPedido = &Group(*this, "grbNrPedido", grbFiltroPadrao, {4, 10, 227, 143}, "Nº Pedido", 0);
  TGroupBox* g = grbNrPedido;
  rbtTNrPedido = &Bold<TRadioButton>(*this, "rbtTNrPedido", g, {6, 18, 61, 17}, "Todos", 0);
  rbtTNrPedido->SetChecked(true);
  rbtIntervalo = &Bold<TRadioButton>(*this, "rbtIntervalo", g, {6, 43, 72, 17}, "Intervalo", 1);
  lblDeNrPedido = &Bold<TLabel>(*this, "lblDeNrPedido", g, {86, 43, 20, 13}, "de", 0, kDisabled);
  lblAteNrPedido =
      &Bold<TLabel>(*this, "lblAteNrPedido", g, {86, 68, 20, 13}, "até", 0, kDisabled);
  auto interval = [&](const std::string& name, int top, int tabOrder) {
    auto& edit = Place<TMaskEdit>(*this, name, g, {108, top, 100, 21}, kDisabled);
    edit.SetEditMask("9999999999;0; ");
    edit.SetMaxLength(10);
    edit.TabOrder = tabOrder;
    return &edit;
  };
  medDeIntervalo = interval("medDeIntervalo", 40, 2);
  medAteIntervalo = interval("medAteIntervalo", 65, 3);
  lblDeNrPedido->SetFocusControl(medDeIntervalo);
  lblAteNrPedido->SetFocusControl(medAteIntervalo);
  rbtLNrPedido = &Bold<TRadioButton>(*this, "rbtLNrPedido", g, {6, 93, 52, 17}, "Lista", 4);
  sbtNrPedido = &SearchButton(*this, "sbtNrPedido", g, 61, 90);
}

void TfrmFiltroConfPedido::ComposeStatusGroups() {
  grbPedido =
      &Group(*this, "grbPedido", grbFiltroPadrao, {235, 10, 168, 143}, "Situação do Pedido", 1);
  chbPPendente = &Check(*this, "chbPPendente", grbPedido, {6, 18, 117, 17}, "Pendente", true);
  chbPAndamento =
      &Check(*this, "chbPAndamento", grbPedido, {6, 43, 117, 17}, "Em Andamento", false);
  chbPLiquidado =
      &Check(*this, "chbPLiquidado", grbPedido, {6, 68, 117, 17}, "Liquidado", false, 0, kDisabled);
  chbPCancelado =
      &Check(*this, "chbPCancelado", grbPedido, {6, 93, 117, 17}, "Cancelado", false, 0, kDisabled);
  chbPParcialmente =
      &Check(*this, "chbPParcialmente", grbPedido, {6, 118, 117, 17}, "Parc. Atendido", false);

  // Never shown: the item-status criterion keeps its defaults.
  grbItemPedido = &Group(*this, "grbItemPedido", grbFiltroPadrao, {127, 322, 114, 143},
                         "Situação do Item", 2, kDisabled | kHidden);
  TGroupBox* i = grbItemPedido;
  chbIPendente = &Check(*this, "chbIPendente", i, {6, 12, 103, 17}, "Pendente", true);
  chbIConfirmado = &Check(*this, "chbIConfirmado", i, {6, 34, 103, 17}, "Confirmado", true);
  chbIAprovado = &Check(*this, "chbIAprovado", i, {6, 56, 103, 17}, "Aprovado", true);
  chbILiquidado = &Check(*this, "chbILiquidado", i, {6, 78, 103, 17}, "Liquidado", true);
  chbICancelado = &Check(*this, "chbICancelado", i, {6, 100, 103, 17}, "Cancelado", true);
  chbIParcialmente =
      &Check(*this, "chbIParcialmente", i, {6, 122, 103, 17}, "Parc. Atendido", true);
}

void TfrmFiltroConfPedido::ComposePriorityGroup() {
  grbPrioridade =
      &Group(*this, "grbPrioridade", grbFiltroPadrao, {406, 10, 150, 90}, "Prioridade", 3);
  TGroupBox* p = grbPrioridade;
  chbNormal = &Check(*this, "chbNormal", p, {6, 43, 67, 17}, "Normal", true, 0);
  chbAlta = &Check(*this, "chbAlta", p, {76, 18, 52, 17}, "Alta", true, 1);
  chbUrgente = &Check(*this, "chbUrgente", p, {76, 44, 68, 17}, "Urgente", true, 2);
  chbBaixa = &Check(*this, "chbBaixa", p, {6, 18, 62, 17}, "Baixa", true, 3);
  chbPrioritaria = &Check(*this, "chbPrioritaria", p, {6, 68, 105, 17}, "Prioritária", true, 4);
}

void TfrmFiltroConfPedido::ComposeListGroups() {
  struct TListGroup {
    TGroupBox** Group;
    const char *GroupName, *Caption;
    TBox GroupBox;
    int TabOrder;
    unsigned Flags;
    TRadioButton **Todos, **Lista;
    const char *TodosName, *ListaName, *ButtonName;
    TBox TodosBox, ListaBox;
    int ButtonLeft, ButtonTop;
    TButtonFlat** Button;
  };
  const TListGroup groups[] = {
      {&grbTipoOper, "grbTipoOper", "Tipo de Operação", {406, 101, 150, 52}, 4, 0, &rbtTTpOper,
       &rbtLTpOper, "rbtTTpOper", "rbtLTpOper", "sbtTpOper", {6, 14, 67, 15}, {6, 30, 60, 15},
       77, 26, &sbtTpOper},
      {&grbCliente, "grbCliente", "Cliente", {4, 154, 199, 50}, 5, 0, &rbtTCliente, &rbtLCliente,
       "rbtTCliente", "rbtLCliente", "sbtCliente", {6, 13, 61, 17}, {7, 30, 52, 17}, 155, 24,
       &sbtCliente},
      {&grbMuniciCli, "grbMuniciCli", "Municipio do Cliente", {205, 154, 199, 50}, 6, 0,
       &rbtTMuniciCli, &rbtLMuniciCli, "rbtTMuniciCli", "rbtLMuniciCli", "sbtMuniciCli",
       {6, 14, 67, 17}, {6, 30, 51, 17}, 155, 24, &sbtMuniciCli},
      {&grbProduto, "grbProduto", "Produto", {270, 354, 199, 50}, 7, kDisabled | kHidden,
       &rbtTProduto, &rbtLProduto, "rbtTProduto", "rbtLProduto", "sbtProduto", {6, 13, 61, 17},
       {6, 30, 52, 17}, 155, 24, &sbtProduto},
      {&grbVendedor, "grbVendedor", "Vendedor", {406, 154, 150, 72}, 10, 0, &rbtTVendedor,
       &rbtLVendedor, "rbtTVendedor", "rbtLVendedor", "sbtVendedor", {6, 20, 61, 17},
       {6, 44, 52, 17}, 116, 40, &sbtVendedor},
      {&grbVendComis, "grbVendComis", "Vendedor Comissionado", {406, 226, 150, 72}, 11, 0,
       &rbtTVendComis, &rbtLVendComis, "rbtTVendComis", "rbtLVendComis", "sbtVendComis",
       {6, 20, 61, 17}, {6, 44, 52, 17}, 116, 40, &sbtVendComis},
  };
  for (const TListGroup& l : groups) {
    *l.Group = &Group(*this, l.GroupName, grbFiltroPadrao, l.GroupBox, l.Caption, l.TabOrder,
                      l.Flags);
    *l.Todos = &Bold<TRadioButton>(*this, l.TodosName, *l.Group, l.TodosBox, "Todos", 0);
    (*l.Todos)->SetChecked(true);
    *l.Lista = &Bold<TRadioButton>(*this, l.ListaName, *l.Group, l.ListaBox, "Lista", 1);
    *l.Button = &SearchButton(*this, l.ButtonName, *l.Group, l.ButtonLeft, l.ButtonTop);
  }
  sbtCliente->SetCaption(" ");
}

void TfrmFiltroConfPedido::ComposeDateGroups() {
  auto dates = [&](const char* groupName, const char* caption, TBox box, int tabOrder,
                   const char* deLabel, const char* ateLabel, const char* deEdit,
                   const char* ateEdit, TDateEditPlus*& de, TDateEditPlus*& ate, TLabel*& lblDe,
                   TLabel*& lblAte) {
    TGroupBox& group = Group(*this, groupName, grbFiltroPadrao, box, caption, tabOrder);
    lblDe = &Bold<TLabel>(*this, deLabel, &group, {6, 30, 36, 13}, "de");
    lblAte = &Bold<TLabel>(*this, ateLabel, &group, {6, 55, 36, 13}, "até");
    auto edit = [&](const char* name, int top, int order) {
      auto& e = Place<TDateEditPlus>(*this, name, &group, {45, top, 101, 21});
      e.ValidColor = clBlue;
      e.TabOrder = order;
      return &e;
    };
    de = edit(deEdit, 27, 0);
    ate = edit(ateEdit, 52, 1);
    lblDe->SetFocusControl(de);
    lblAte->SetFocusControl(ate);
  };
  dates("grbEmissao", "Data Pedido", {4, 205, 199, 93}, 8, "lblDeEmissao", "lblAteEmissao",
        "depDeEmissao", "depAteEmissao", depDeEmissao, depAteEmissao, lblDeEmissao,
        lblAteEmissao);
  grbEmissao = static_cast<TGroupBox*>(depDeEmissao->Parent());
  dates("grbEntrega", "Data Entrega", {205, 205, 199, 93}, 9, "lblDeEntrega", "lblAteEntrega",
        "depDeEntrega", "depAteEntrega", depDeEntrega, depAteEntrega, lblDeEntrega,
        lblAteEntrega);
  grbEntrega = static_cast<TGroupBox*>(depDeEntrega->Parent());
}
