#include "host/login_form.h"

#include "forms/application.h"
#include "forms/interaction.h"
#include "forms/static_controls.h"

namespace host {

LoginForm::LoginForm(fw::TComponent* owner, SignInFunction signIn, std::function<void()> cancel)
    : fw::TForm(owner), signIn_(std::move(signIn)), cancel_(std::move(cancel)) {
  SetName("frmLogin");
  SetCaption("Acesso ao Sistema");
  SetBounds(0, 0, 300, 130);
  edtOperador = &Row("&Operador:", "edtOperador", 20);
  edtOperador->SetCharCase(fw::TEditCharCase::ecUpperCase);
  edtOperador->SetMaxLength(12);
  edtSenha = &Row("&Senha:", "edtSenha", 50);
  edtSenha->PasswordChar = '*';
  btnOK = &Button("btnOK", "OK", 110, [this] { Confirm(); });
  btnOK->Default = true;
  btnCancelar = &Button("btnCancelar", "Cancelar", 195, [this] { cancel_(); });
  btnCancelar->Cancel = true;
  OnClose = [this](fw::TComponent&, fw::TCloseAction& action) {
    action = fw::TCloseAction::caNone;
    if (!signingIn_) cancel_();
  };
  for (fw::TEdit* edit : {edtOperador, edtSenha})
    edit->OnKeyDown = [this](fw::TComponent&, fw::TKey& key, fw::TShiftState) {
      if (key != fw::VK_RETURN) return;
      key = 0;
      Confirm();
    };
}

fw::TEdit& LoginForm::Row(const std::string& label, const std::string& edit, int top) {
  auto& caption = Create<fw::TLabel>("lbl" + edit.substr(3));
  caption.SetParent(this);
  caption.SetCaption(label);
  caption.SetBounds(20, top + 3, 80, 16);
  auto& box = Create<fw::TEdit>(edit);
  box.SetParent(this);
  box.SetBounds(110, top, 160, 21);
  caption.SetFocusControl(&box);
  return box;
}

fw::TButton& LoginForm::Button(const std::string& name, const std::string& caption, int left,
                              std::function<void()> click) {
  auto& button = Create<fw::TButton>(name);
  button.SetParent(this);
  button.SetCaption(caption);
  button.SetBounds(left, 85, 75, 25);
  button.OnClick = [click](fw::TComponent&) { click(); };
  return button;
}

void LoginForm::Start(const std::string& op) {
  edtOperador->SetText(op);
  edtSenha->Clear();
  Show();
  fw::TEdit* first = op.empty() ? edtOperador : edtSenha;
  SetActiveControl(first);
  if (first->CanFocus()) first->SetFocus();
}

void LoginForm::Confirm() {
  if (signingIn_) return;
  std::string op = edtOperador->Text();
  std::string password = edtSenha->Text();
  edtSenha->Clear();
  if (op.empty()) {
    fw::Interaction().ShowError("Informe o operador.");
    edtOperador->SetFocus();
    return;
  }
  signingIn_ = true;
  fw::Screen().Cursor = fw::crHourGlass;
  try {
    signIn_(op, password);
  } catch (const std::exception& e) {
    fw::Screen().Cursor = fw::crDefault;
    signingIn_ = false;
    fw::Interaction().ShowError(e.what());
    edtSenha->SetFocus();
    return;
  }
  fw::Screen().Cursor = fw::crDefault;
  signingIn_ = false;
}

}  // namespace host
