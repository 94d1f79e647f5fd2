// What the confirmation screen is made of: the window, the branch panel,
// the filter button and the six pages with their controls. Properties
// only; behaviour is bound by name in BindEvents.
#include "confirmation/composer.h"
#include "confirmation/conf_pedido_form.h"
#include "confirmation/mark_glyphs.h"
#include "forms/canvas.h"
#include "forms/db_controls.h"
#include "forms/page_control.h"
#include "library/consiste_controls.h"
#include "library/db_date_edit_plus.h"

using namespace composer;
using namespace fw;

namespace {

constexpr int kRow = 21;  // height of a one-line edit

// A search button of the shared library shown beside a display-only code.
TBtnPesquisa& SearchButton(TForm& form, const std::string& name, TControl* parent, int left,
                           int top, const std::string& title, const std::string& emptyList) {
  auto& button = Place<TBtnPesquisa>(form, name, parent, {left, top, kRow, kRow}, kDisabled);
  button.Titulo = title;
  button.MensagemVazia = emptyList;
  return button;
}

TDBEdit& DataEdit(TForm& form, const std::string& name, TControl* parent, TBox box,
                  TDataSource& source, const std::string& field, unsigned flags = 0) {
  auto& edit = Place<TDBEdit>(form, name, parent, box, flags);
  edit.SetDataSource(&source);
  edit.SetDataField(field);
  edit.SetReadOnly(true);
  return edit;
}

// A label as wide as its caption.
TLabel& Label(TForm& form, const std::string& name, TControl* parent, int left, int top,
              const std::string& caption, unsigned flags = 0) {
  TLabel& label = Captioned<TLabel>(form, name, parent, {left, top, 0, 13}, caption, flags);
  label.SetWidth(MeasureText(label.Font(), label.PlainCaption()) + 2);
  return label;
}

}  // namespace

void TfrmConfPedido::ComposeWindow() {
  SetName("frmConfPedido");
  SetCaption("Confirmação de Pedido");
  FormStyle = TFormStyle::fsMDIChild;
  lblCodTela->SetCaption("ZQV41800");
  sbtFiltro = &Create<TButtonFlat>("sbtFiltro");
  sbtFiltro->Hint = "Filtrar";
  sbtFiltro->ShowHint = true;
  sbtFiltro->SetGlyph(FilterGlyph());
  sbtFiltro->SetNumGlyphs(2);
  sbtFiltro->SetEnabled(false);
  InsertToolButton(*sbtFiltro, sbtImprimir);
  ComposeBranchPanel();
  ComposePages();
}

void TfrmConfPedido::ComposeBranchPanel() {
  panFilial = &Place<TPanel>(*this, "panFilial", this, {0, 0, 792, 34}, kAlignTop);
  medCdFilial = &Place<TMaskEdit>(*this, "medCdFilial", panFilial, {40, 7, 44, kRow});
  medCdFilial->SetEditMask(">aaaa;0; ");
  medCdFilial->SetMaxLength(4);
  medCdFilial->SetColor(clInfoBk);
  lblFilial = &Label(*this, "lblFilial", panFilial, 10, 11, "&Filial");
  lblFilial->SetFocusControl(medCdFilial);
  btnFilial = &Place<TBtnPesquisa>(*this, "btnFilial", panFilial, {86, 7, kRow, kRow});
  btnFilial->Edit = medCdFilial;
  btnFilial->Titulo = "Filial";
  btnFilial->DataSource = &dtsFilial;
  btnFilial->MensagemVazia = "Não há filial cadastrada.";
  edtNmFilial = &Place<TEdit>(*this, "edtNmFilial", panFilial, {110, 7, 300, kRow}, kDisabled);
  edtNmFilial->SetColor(clBtnFace);
  edtNmFilial->TabStop = false;
  // The shared enabling routine leaves controls tagged as fixed disabled:
  // the branch name is only ever shown.
  edtNmFilial->Tag = Consiste::kTagFixo;
  const std::pair<TImage**, TBitmap (*)()> glyphs[] = {
      {&imgCheck, CheckGlyph}, {&imgUncheck, UncheckGlyph}, {&imgDescheck, DescheckGlyph}};
  const char* names[] = {"imgCheck", "imgUncheck", "imgDescheck"};
  // What the mark glyphs say to a screen reader in the grids' tables.
  const char* meanings[] = {"marcado", "não marcado", "indisponível"};
  for (int i = 0; i < 3; ++i) {
    TImage& image = Place<TImage>(*this, names[i], panFilial, {420 + 20 * i, 9, 16, 16}, kHidden);
    TBitmap picture = glyphs[i].second();
    picture.Description = meanings[i];
    image.SetPicture(std::move(picture));
    image.SetTransparent(true);
    *glyphs[i].first = &image;
  }
}

void TfrmConfPedido::ComposePages() {
  pgcPadrao->TabStop = true;
  tshPadrao->SetCaption("Pedidos");
  dbgPadrao->SetDataSource(&dtsPedido);
  dbgPadrao->SetColor(clInfoBk);
  dbgPadrao->SetOptions(dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs |
                        dgAlwaysShowSelection | dgConfirmDelete);
  dbtNome->SetDataSource(&dtsPedido);
  dbtNome->SetDataField("DsPedido");
  dbnPadrao->SetDataSource(&dtsPedido);
  auto page = [this](const char* name, const char* caption, bool enabled) {
    TTabSheet& sheet = Create<TTabSheet>(name, pgcPadrao);
    sheet.SetCaption(caption);
    sheet.SetEnabled(enabled);
    return &sheet;
  };
  tshDadosGerais = page("tshDadosGerais", "Dados Gerais", true);
  tshItemPedido = page("tshItemPedido", "Itens do Pedido", true);
  tshFormaPgto = page("tshFormaPgto", "Modalidade de Pagamento", false);
  tshTransport = page("tshTransport", "Transportadora", true);
  tshObservacao = page("tshObservacao", "Observação", false);
  ComposeOrderHeaderPage();
  ComposeItemPage();
  ComposePaymentPage();
  ComposeCarrierAndRemarksPages();
}

void TfrmConfPedido::ComposeOrderHeaderPage() {
  auto& pan = Place<TPanel>(*this, "panPedido", tshDadosGerais, {0, 0, 784, 380},
                            kAlignClient | kDisabled);
  auto& box = Place<TGroupBox>(*this, "grbPedido", &pan, {8, 4, 560, 126});
  Label(*this, "lblNrPedido", &box, 8, 22, "Nº Pedido");
  DataEdit(*this, "dbeNrPedido", &box, {86, 18, 90, kRow}, dtsPedido, "NRPEDIDO", kDisabled);
  Label(*this, "lblDataPedido", &box, 200, 22, "Data Pedido");
  auto& date = Place<TDBDateEditPlus>(*this, "dbpDataPedido", &box, {270, 18, 150, kRow});
  date.SetDataSource(&dtsPedido);
  date.SetDataField("DTPEDIDO");
  date.DayNames = {"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"};
  struct Party {
    const char *label, *caption, *code, *codeField, *button, *title, *empty, *name, *nameField;
    int maxLength;
  };
  const Party parties[] = {
      {"lblCliente", "Cliente", "dbeCliente", "NRINSJURCLIE", "btnCliente", "Cliente",
       "Não há cliente cadastrado.", "dbeNmCliente", "NMFANTCLIE", 0},
      {"lblVendedor", "Vendedor", "dbeVendedor", "CDVENDEDOR", "btnVend", "Vendedor",
       "Não há vendedor cadastrado.", "dbeNmVendedor", "NMFANVEN", 20},
      {"lblFilialDest", "Filial Destino", "dbeFilialDest", "CDFILIALPED", "btnFiliDest",
       "Filial Destino", "Não há filial cadastrada.", "dbeNmFilial", "NMFILIAL", 20},
  };
  int top = 46;
  for (const Party& p : parties) {
    Label(*this, p.label, &box, 8, top + 4, p.caption);
    DataEdit(*this, p.code, &box, {86, top, 130, kRow}, dtsPedido, p.codeField)
        .SetMaxLength(p.maxLength);
    SearchButton(*this, p.button, &box, 218, top, p.title, p.empty);
    DataEdit(*this, p.name, &box, {242, top, 308, kRow}, dtsPedido, p.nameField);
    top += 26;
  }
  auto& delivery = Captioned<TGroupBox>(*this, "grbDataEntrega", &pan, {576, 4, 200, 52},
                                        "Data Entrega");
  auto& deliveryDate = Place<TDBDateEditPlus>(*this, "DBDateEditPlus1", &delivery,
                                              {10, 20, 150, kRow});
  deliveryDate.SetDataSource(&dtsPedido);
  deliveryDate.SetDataField("DTENTPED");
  auto& kind = Captioned<TDBRadioGroup>(*this, "dbrTipo", &pan, {576, 60, 200, 70}, "Tipo");
  kind.Items = {"Pedido", "Orçamento"};
  kind.Values = {"1", "2"};
  kind.SetDataSource(&dtsPedido);
  kind.SetDataField("IDTIPOPEDIDO");
  kind.SetReadOnly(true);
  auto& priority = Captioned<TDBRadioGroup>(*this, "dbrPrioridade", &pan, {8, 136, 560, 76},
                                            "Prioridade");
  priority.Items = {"Baixa", "Normal", "Alta", "Urgente", "Prioritária"};
  priority.Values = {"4", "3", "2", "1", "0"};
  priority.SetColumns(2);
  priority.SetDataSource(&dtsPedido);
  priority.SetDataField("IDPRIOPED");
  auto& text = Captioned<TGroupBox>(*this, "grbDescricao", &pan, {8, 218, 768, 78},
                                    "Descrição do Pedido");
  Label(*this, "lblPedCliente", &text, 8, 24, "Cliente");
  DataEdit(*this, "dbePedCliente", &text, {70, 20, 688, kRow}, dtsPedido, "DSPEDCLI");
  Label(*this, "lblPedVendedor", &text, 8, 50, "Vendedor");
  DataEdit(*this, "dbePedVendedor", &text, {70, 46, 688, kRow}, dtsPedido, "DSPEDVEN");
}

void TfrmConfPedido::ComposeItemPage() {
  auto& scroll = Place<TScrollBox>(*this, "scbItemPed", tshItemPedido, {0, 0, 784, 380},
                                   kAlignClient);
  dbgItemPedido = &Place<TDBGrid>(*this, "dbgItemPedido", &scroll, {0, 0, 784, 140}, kAlignTop);
  dbgItemPedido->SetDataSource(&dtsItemPedido);
  dbgItemPedido->SetColor(clInfoBk);
  dbgItemPedido->SetOptions(dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs);
  splComisVend = &Place<TSplitter>(*this, "splComisVend", &scroll, {0, 140, 784, 3},
                                   kAlignTop | kHidden);
  panTotalItem = &Place<TPanel>(*this, "panTotalItem", &scroll, {0, 348, 784, 32}, kAlignBottom);
  Label(*this, "lblTotal", panTotalItem, 360, 10, "Tot. Bruto");
  nedTotal = &Place<TNumberEdit>(*this, "nedTotal", panTotalItem, {420, 5, 120, kRow}, kDisabled);
  Label(*this, "lblTotLiq", panTotalItem, 560, 10, "Tot. Líquido");
  nedTotLiq = &Place<TNumberEdit>(*this, "nedTotLiq", panTotalItem, {630, 5, 120, kRow},
                                  kDisabled);
  for (TNumberEdit* total : {nedTotal, nedTotLiq}) {
    total->SetDecimals(2);
    total->SetThousandSeparator(true);
  }
  panComisPosEst = &Place<TPanel>(*this, "panComisPosEst", &scroll, {0, 143, 784, 205},
                                  kAlignClient | kHidden);
  dbgPosiEstoq = &Place<TDBGrid>(*this, "dbgPosiEstoq", panComisPosEst, {0, 0, 784, 205},
                                 kAlignClient);
  dbgPosiEstoq->SetDataSource(&dtsPosiEstoq);
  dbgPosiEstoq->ReadOnly = true;
  dbgPosiEstoq->SetColor(clInfoBk);
  dbgPosiEstoq->SetOptions(dgTitles | dgColumnResize | dgColLines | dgRowLines | dgTabs);
}

void TfrmConfPedido::ComposePaymentPage() {
  auto& scroll = Place<TScrollBox>(*this, "scbFormPgto", tshFormaPgto, {0, 0, 784, 380},
                                   kAlignClient | kDisabled);
  auto& pan = Place<TPanel>(*this, "panPrazo", &scroll, {0, 0, 784, 380}, kAlignClient);
  auto& mode = Place<TGroupBox>(*this, "grbModPgto", &pan, {8, 4, 768, 50});
  Label(*this, "lblModPgto", &mode, 8, 22, "Modalidade de Pagamento");
  DataEdit(*this, "dbeModPgto", &mode, {166, 18, 60, kRow}, dtsPedido, "CDMODPGTO");
  SearchButton(*this, "btnModPgto", &mode, 228, 18, "Modalidade de Pagamento",
               "Não há modalidade de pagamento cadastrada.");
  edtModPgto = &Place<TEdit>(*this, "edtModPgto", &mode, {252, 18, 504, kRow}, kDisabled);
  auto& kind = Place<TDBRadioGroup>(*this, "drgFormPgto", &pan, {8, 60, 768, 44});
  kind.Items = {"À Vista", "Pagamento Fixo no Dia", "Pela Forma de Pagamento"};
  kind.Values = {"X", "F", "V"};
  kind.SetColumns(3);
  kind.SetDataSource(&dtsPedido);
  kind.SetDataField("IDTPFORPGTPED");
  kind.SetReadOnly(true);
  auto& form = Place<TPanel>(*this, "panForPgto", &pan, {8, 110, 768, 34});
  DataEdit(*this, "dbeFormPgto", &form, {8, 6, 40, kRow}, dtsPedido, "CDFORMPGTO", kDisabled);
  edtFormPgto = &Place<TEdit>(*this, "edtFormPgto", &form, {50, 6, 250, kRow}, kDisabled);
  speDiaFixo = &Place<TSpinEdit>(*this, "speDiaFixo", &form, {310, 6, 44, kRow});
  speParcela = &Place<TSpinEdit>(*this, "speParcela", &form, {386, 6, 44, kRow}, kDisabled);
  for (auto [spin, max] : {std::pair{speDiaFixo, 31}, {speParcela, 99}}) {
    spin->MinValue = 1;
    spin->MaxValue = max;
    spin->SetMaxLength(2);
    spin->SetValue(1);
  }
  Label(*this, "lblCom", &form, 360, 10, "com", kDisabled);
  Label(*this, "lblParcelas", &form, 436, 10, "Parcela(s)", kDisabled);
  Label(*this, "lblAbreParentese", &form, 494, 10, "(", kDisabled);
  auto& nextMonth = Captioned<TDBCheckBox>(*this, "dckProxMes", &form, {502, 8, 130, 17},
                                           "1ª Próximo Mês )", kDisabled);
  nextMonth.SetDataField("IDUTDIAPAGPED");
  nextMonth.ValueChecked = "E";
  nextMonth.ValueUnchecked = "I";
  dbgPrazoPg = &Place<TDBGrid>(*this, "dbgPrazoPg", &pan, {8, 150, 300, 200});
  dbgPrazoPg->SetDataSource(&dtsPrazoPgto);
  dbgPrazoPg->ReadOnly = true;
  dbgPrazoPg->SetColor(clInfoBk);
  dbgPrazoPg->SetOptions(dbgPadrao->Options());
}

void TfrmConfPedido::ComposeCarrierAndRemarksPages() {
  auto& pan = Place<TPanel>(*this, "panTransp", tshTransport, {0, 0, 784, 380},
                            kAlignClient | kDisabled);
  Label(*this, "lblTransp", &pan, 8, 20, "Transportadora");
  DataEdit(*this, "dbeTransp", &pan, {130, 16, 140, kRow}, dtsPedido, "NRINSJURTRAN");
  SearchButton(*this, "btnTransp", &pan, 272, 16, "Transportadora",
               "Não há transportadora cadastrada.");
  edtTransp = &Place<TEdit>(*this, "edtTransp", &pan, {296, 16, 400, kRow}, kDisabled);
  Label(*this, "lblTipoTransp", &pan, 8, 48, "Tipo Transporte");
  DataEdit(*this, "dbeTipoTransp", &pan, {130, 44, 140, kRow}, dtsPedido, "CDTIPTRANS");
  SearchButton(*this, "btnTipoTransp", &pan, 272, 44, "Tipo Transporte",
               "Não há tipo de transporte cadastrado.");
  edtNmTransp = &Place<TEdit>(*this, "edtNmTransp", &pan, {296, 44, 400, kRow}, kDisabled);
  Label(*this, "lblTipoFrete", &pan, 8, 76, "Tipo Pagamento Frete");
  dbcTipo = &Place<TComboBox>(*this, "dbcTipo", &pan, {130, 72, 200, kRow}, kDisabled);
  dbcTipo->SetStyle(TComboBoxStyle::csDropDownList);
  dbcTipo->Items = {"0 - Emitente", "1 - Destinatário/Remetente", "2 - Terceiros",
                    "9 - Sem Frete"};

  auto& remarks = Place<TPanel>(*this, "panModPrep", tshObservacao, {0, 0, 784, 380},
                                kAlignClient | kDisabled);
  auto& text = Place<TDBRichEdit>(*this, "dbrObservacao", &remarks, {0, 0, 784, 380},
                                  kAlignClient);
  text.SetDataSource(&dtsObser);
  text.SetDataField("TXOBSPED");
  text.SetReadOnly(true);
}
