// LoginForm "frmLogin": the window where the operator signs in before the
// host starts its modules - operator code (upper case), password (shown as
// "*"), "OK" and "Cancelar".
//
// OK (or Enter in either edit) calls the sign-in function with the code
// and the password. When it raises, its message is shown and the focus
// goes back to the password, emptied; when it returns, the host goes on
// and hides the window. Cancelar (or closing the window) calls the cancel
// function. The password is emptied after every attempt. Owned by the
// application; user-interface thread only.
#pragma once

#include <functional>
#include <string>

#include "forms/buttons.h"
#include "forms/edit.h"
#include "forms/form.h"

namespace host {

class LoginForm : public fw::TForm {
 public:
  using SignInFunction = std::function<void(const std::string& op, const std::string& password)>;

  LoginForm(fw::TComponent* owner, SignInFunction signIn, std::function<void()> cancel);

  // Shows the window for a new sign-in with `op` filled in (the focus then
  // starts in the password) and the password empty.
  void Start(const std::string& op);

  fw::TEdit* edtOperador;
  fw::TEdit* edtSenha;
  fw::TButton* btnOK;
  fw::TButton* btnCancelar;

 private:
  void Confirm();
  // Places a label and its edit on one row.
  fw::TEdit& Row(const std::string& label, const std::string& edit, int top);
  fw::TButton& Button(const std::string& name, const std::string& caption, int left,
                      std::function<void()> click);

  SignInFunction signIn_;
  std::function<void()> cancel_;
  bool signingIn_ = false;
};

}  // namespace host
