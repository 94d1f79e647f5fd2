// A host that serves one test form built from the component model, for the
// browser tests: display_test_host [--port N] [--key KEY]. Prints the
// page's address, "page http://127.0.0.1:PORT/?chave=KEY", then
// "listening on 127.0.0.1:PORT" once ready; stops on SIGTERM or SIGINT.
// A given key lets a test restart the host under the address its page
// holds; without one the key is random.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "data/client_dataset.h"
#include "display/display_server.h"
#include "forms/application.h"
#include "forms/buttons.h"
#include "forms/canvas.h"
#include "forms/check_boxes.h"
#include "forms/containers.h"
#include "forms/db_grid.h"
#include "forms/edit.h"
#include "forms/interaction.h"
#include "forms/mask_edit.h"
#include "forms/menus.h"
#include "forms/page_control.h"
#include "forms/static_controls.h"
#include "library/consiste.h"
#include "rpc/key_list.h"

namespace {

using namespace fw;

class DialogForm : public TForm {
 public:
  explicit DialogForm(TComponent* owner) : TForm(owner) {
    SetName("frmDialogo");
    SetCaption("Diálogo");
    SetBounds(0, 0, 260, 120);
    edtValor = &Create<TEdit>("edtValor");
    edtValor->SetParent(this);
    edtValor->SetBounds(16, 16, 120, 21);
    auto& ok = Create<TButton>("btnOk");
    ok.SetParent(this);
    ok.SetCaption("OK");
    ok.SetBounds(150, 50, 75, 25);
    ok.ModalResult = mrOk;
    SetActiveControl(edtValor);
    OnClose = [](TComponent&, TCloseAction& a) { a = TCloseAction::caFree; };
  }
  TEdit* edtValor;
};

class TestForm : public TForm {
 public:
  explicit TestForm(TComponent* owner) : TForm(owner) {
    SetName("frmTeste");
    SetCaption("Formulário de Teste");
    SetBounds(0, 0, 640, 480);
    lblEco = &Place<TLabel>("lblEco", this, 330, 16, 280, 16);
    edtNome = &Place<TEdit>("edtNome", this, 16, 16, 150, 21);
    edtNome->TabStop = true;
    edtNome->TabOrder = 0;
    medFilial = &Place<TMaskEdit>("medFilial", this, 16, 44, 60, 21);
    medFilial->SetEditMask(">aaaa;0; ");
    medFilial->SetColor(clInfoBk);
    medFilial->TabOrder = 1;
    medFilial->OnExit = [this](TComponent&) {
      if (Consiste::EmptyString(medFilial->Text())) Consiste::MensErro("Filial deve ser informada.", true);
    };
    chbAtivo = &Place<TCheckBox>("chbAtivo", this, 16, 72, 100, 17);
    chbAtivo->SetCaption("Ativo");
    chbAtivo->TabOrder = 2;
    chbAtivo->OnClick = [this](TComponent&) { Echo(chbAtivo->Checked() ? "Ativo: S" : "Ativo: N"); };
    BuildOptions();
    BuildButtons();
    BuildPages();
    BuildGrid();
    BuildMenu();
    // What the host measures for texts the grids right-align, so the page
    // can check its own widths against them: "text=regular/bold;...".
    std::string widths;
    for (const char* text : {"1234,500", "0,01", "12.345,67", "Valor Total", "Qtde. Disponível"}) {
      TFont regular, bold;
      bold.Bold = true;
      widths += std::string(text) + "=" + std::to_string(MeasureText(regular, text)) + "/" +
                std::to_string(MeasureText(bold, text)) + ";";
    }
    Place<TLabel>("lblLarguras", this, 330, 380, 280, 16).SetCaption(widths);
    SetActiveControl(edtNome);
  }

 private:
  template <class T>
  T& Place(const std::string& name, TControl* parent, int l, int t, int w, int h) {
    auto& c = Create<T>(name);
    c.SetParent(parent);
    c.SetBounds(l, t, w, h);
    return c;
  }
  void Echo(const std::string& text) { lblEco->SetCaption(text); }

  void BuildOptions() {
    auto& grb = Place<TGroupBox>("grbOpcoes", this, 16, 100, 150, 70);
    grb.TabOrder = 3;
    grb.SetCaption("Opções");
    auto& a = Place<TRadioButton>("rbtA", &grb, 10, 18, 120, 17);
    a.SetCaption("Opção A");
    auto& b = Place<TRadioButton>("rbtB", &grb, 10, 40, 120, 17);
    b.SetCaption("Opção B");
    a.SetChecked(true);
    a.OnClick = [this](TComponent&) { Echo("Opção A"); };
    b.OnClick = [this](TComponent&) { Echo("Opção B"); };
  }

  void BuildButtons() {
    auto button = [this](const char* name, const char* caption, int left) -> TSpeedButton& {
      auto& b = Place<TSpeedButton>(name, this, left, 180, 70, 25);
      b.SetCaption(caption);
      return b;
    };
    button("sbtPerguntar", "Perguntar", 16).OnClick = [this](TComponent&) {
      int r = Interaction().MessageDlg("Deseja continuar?", TMsgDlgType::mtConfirmation, mbYes | mbNo, 0);
      Echo(r == mrYes ? "Sim" : "Não");
    };
    button("sbtLista", "Lista", 90).OnClick = [this](TComponent&) {
      TPickListRequest request;
      request.Title = "Cidades";
      request.DataSet = &cidades;
      request.KeyField = "CODIGO";
      TPickListResult r = Interaction().PickList(request);
      std::string keys;
      for (const std::string& k : r.Picked) keys += (keys.empty() ? "" : ",") + k;
      Echo(r.Accepted ? keys : "cancelado");
    };
    button("sbtDialogo", "Diálogo", 164).OnClick = [this](TComponent&) {
      DialogForm* dialog = nullptr;
      Application().CreateForm(dialog);
      int result = dialog->ShowModal();
      if (result == mrOk) Echo("Valor: " + dialog->edtValor->Text());
      dialog->Close();
    };
    cidades.SetData(TDataPacket::Parse(R"({"fields":[{"name":"CODIGO","type":"string","size":2},
        {"name":"NOME","type":"string","size":30}],
        "rows":[["SP","São Paulo"],["RJ","Rio de Janeiro"],["MG","Minas Gerais"],["BA","Bahia"]]})"));
  }

  void BuildPages() {
    auto& pages = Place<TPageControl>("pgcPaginas", this, 330, 40, 280, 120);
    pages.TabOrder = 4;
    auto& um = Create<TTabSheet>("tshUm", &pages);
    um.SetCaption("Um");
    auto& dois = Create<TTabSheet>("tshDois", &pages);
    dois.SetCaption("Dois");
    pages.OnChange = [this, &pages](TComponent&) { Echo("Página: " + pages.ActivePage()->Caption()); };
  }

  void BuildGrid() {
    lista.SetData(TDataPacket::Parse(R"({"fields":[{"name":"CODIGO","type":"string","size":3},
        {"name":"NOME","type":"string","size":20}],
        "rows":[["001","Ana"],["002","Bruno"],["003","Carla"],["004","Davi"],["005","Eva"]]})"));
    lista.AfterScroll = [this](TDataSet& ds) {
      if (lblEco) Echo("Linha: " + std::to_string(ds.RecNo()));
    };
    auto& grid = Place<TDBGrid>("dbgLista", this, 16, 220, 300, 140);
    grid.TabOrder = 5;
    grid.SetDataSource(&dtsLista);
    grid.Columns().Add().SetFieldName("CODIGO");
    grid.Columns().Add().SetFieldName("NOME");
    grid.Columns()[0].Title().SetCaption("Código");
    grid.Columns()[1].Title().SetCaption("Nome");
    grid.Columns()[1].SetWidth(150);
    grid.OnDrawColumnCell = [&grid](TComponent&, const TRect& r, int, TColumn& column, TGridDrawState) {
      TCanvas& c = grid.Canvas();
      if (column.FieldName() == "CODIGO") c.Font.Color = clBlue;
      c.TextRect(r, r.Left + 2, r.Top + 2, column.Field() ? column.Field()->DisplayText() : "");
    };
  }

  void BuildMenu() {
    auto& menu = Create<TMainMenu>("mnuPrincipal");
    Menu = &menu;
    auto& teste = Create<TMenuItem>("mnuTeste");
    teste.SetCaption("&Teste");
    menu.Items().Insert(teste);
    auto& limpar = Create<TMenuItem>("mnuLimpar");
    limpar.SetCaption("&Limpar");
    limpar.ShortCut = TextToShortCut("Ctrl+L");
    limpar.OnClick = [this](TComponent&) {
      edtNome->Clear();
      Echo("Limpo");
    };
    teste.Insert(limpar);
  }

  TClientDataSet lista{"cdsLista"};
  TDataSource dtsLista{"dtsLista", &lista};
  TClientDataSet cidades{"cdsCidades"};
  TLabel* lblEco = nullptr;
  TEdit* edtNome;
  TMaskEdit* medFilial;
  TCheckBox* chbAtivo;
};

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  std::string key;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--port") == 0) port = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--key") == 0) key = argv[i + 1];
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread waiter([signals] {
    int s = 0;
    sigwait(&signals, &s);
    fw::Application().Terminate();
  });
  fw::Application().Interactive = true;
  display::DisplayServer server(DISPLAY_WEB_DIR, key);
  int bound = server.Start(port);  // installs the font metrics the form measures with
  TestForm* form = nullptr;
  fw::Application().CreateForm(form);
  form->Show();
  std::printf("page %s\nlistening on 127.0.0.1:%d\n", server.PageUrl().c_str(), bound);
  std::fflush(stdout);
  fw::Application().Run();
  server.Stop();
  waiter.join();
  return 0;
}
