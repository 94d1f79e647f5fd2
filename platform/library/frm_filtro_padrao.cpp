#include "library/frm_filtro_padrao.h"

#include "forms/interaction.h"
#include "library/key_help.h"
#include "library/velkora.h"

namespace fw {

TfrmFiltroPadrao::TfrmFiltroPadrao(TComponent* owner) : TForm(owner) {
  SetBounds(0, 0, 617, 302);
  KeyPreview = true;
  grbFiltroPadrao = &Create<TGroupBox>("grbFiltroPadrao");
  grbFiltroPadrao->SetParent(this);
  grbFiltroPadrao->SetBounds(0, 0, 562, 302);
  panMenu = &Create<TPanel>("panMenu");
  panMenu->SetParent(this);
  panMenu->SetBounds(562, 0, 55, 302);
  lblCodTela = &Create<TLabel>("lblCodTela");
  lblCodTela->SetParent(panMenu);
  lblCodTela->SetBounds(2, 286, 52, 13);
  btfSaveOpc = &Create<TButtonFlat>("btfSaveOpc");
  btfSaveOpc->SetParent(panMenu);
  btfSaveOpc->SetBounds(4, 4, 46, 24);
  btfSaveOpc->SetCaption("Salvar");
  btfSaveOpc->Hint = "Salvar opções";
  btfLoadOpc = &Create<TButtonFlat>("btfLoadOpc");
  btfLoadOpc->SetParent(panMenu);
  btfLoadOpc->SetBounds(4, 30, 46, 24);
  btfLoadOpc->SetCaption("Carregar");
  btfLoadOpc->Hint = "Carregar opções";
  panHelp = &Create<TPanel>("panHelp");
  panHelp->SetParent(panMenu);
  panHelp->SetBounds(0, 86, 55, 26);
  sbtHelp = &Button(panHelp, "sbtHelp", "Ajuda", 0);
  panBotoes = &Create<TPanel>("panBotoes");
  panBotoes->SetParent(panMenu);
  panBotoes->SetBounds(0, 120, 55, 150);
  sbtConfirma = &Button(panBotoes, "sbtConfirma", "OK", 1);
  sbtCancel = &Button(panBotoes, "sbtCancel", "Cancelar", 27);
  msgPadrao = &Create<TMessages>("msgPadrao");

  btfSaveOpc->OnClick = Handler<void(TComponent&)>("btfSaveOpcClick");
  btfLoadOpc->OnClick = Handler<void(TComponent&)>("btfLoadOpcClick");
  Register<void(TComponent&)>("FormCreate", [this](TComponent& s) { FormCreate(s); });
  Register<void(TComponent&, TCloseAction&)>(
      "FormClose", [this](TComponent& s, TCloseAction& a) { FormClose(s, a); });
  Register<void(TComponent&, TKey&, TShiftState)>(
      "FormKeyDown", [this](TComponent& s, TKey& k, TShiftState sh) { FormKeyDown(s, k, sh); });
  Register<void(TComponent&)>("btfSaveOpcClick", [this](TComponent& s) { btfSaveOpcClick(s); });
  Register<void(TComponent&)>("btfLoadOpcClick", [this](TComponent& s) { btfLoadOpcClick(s); });
  Register<void(TComponent&)>("sbtCancelClick", [this](TComponent&) {
    SetModalResult(mrCancel);
    Close();
  });
  Register<void(TComponent&)>("sbtConfirmaClick", [this](TComponent&) {
    SetModalResult(mrOk);
    Close();
  });
  Register<void(TComponent&)>("sbtHelpClick", [this](TComponent&) {
    Interaction().MessageDlg(KeyHelp(*this, HelpKeys), TMsgDlgType::mtInformation, mbOK, 0);
  });
  OnCreate = Handler<void(TComponent&)>("FormCreate");
  OnClose = Handler<void(TComponent&, TCloseAction&)>("FormClose");
  OnKeyDown = Handler<void(TComponent&, TKey&, TShiftState)>("FormKeyDown");
}

TSpeedButton& TfrmFiltroPadrao::Button(TControl* parent, const std::string& name,
                                       const std::string& caption, int top) {
  auto& button = Create<TButtonFlat>(name);
  button.SetParent(parent);
  button.SetBounds(4, top, 46, 24);
  button.SetCaption(caption);
  button.Hint = caption;
  button.OnClick = Handler<void(TComponent&)>(name + "Click");
  return button;
}

std::string TfrmFiltroPadrao::OptionFile() const {
  return Velkora::OptionFilePath(Velkora::Operador(), lblCodTela->Caption());
}

void TfrmFiltroPadrao::FormCreate(TComponent&) {}

void TfrmFiltroPadrao::FormClose(TComponent&, TCloseAction& action) {
  action = TCloseAction::caFree;
}

void TfrmFiltroPadrao::FormKeyDown(TComponent&, TKey& key, TShiftState shift) {
  if (key == VK_ESCAPE && shift == 0) {
    key = 0;
    sbtCancel->Click();
  } else if (key == VK_RETURN && shift == 0 && sbtConfirma->Usable()) {
    key = 0;
    sbtConfirma->Click();
  }
}

void TfrmFiltroPadrao::btfSaveOpcClick(TComponent&) { Velkora::SaveOptions(OptionFile(), Opcoes); }

void TfrmFiltroPadrao::btfLoadOpcClick(TComponent&) { Opcoes = Velkora::LoadOptions(OptionFile()); }

}  // namespace fw
