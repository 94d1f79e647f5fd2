#include "confirmation/conf_pedido_form.h"

#include "confirmation/cli_zqv41800.h"
#include "shared/filtro.h"

TfrmConfPedido::TfrmConfPedido(fw::TComponent* owner) : fw::TForm(owner) {
  SetName("frmConfPedido");
  SetCaption("Confirmação de Pedido");
  FormStyle = fw::TFormStyle::fsMDIChild;
  Register<void(fw::TComponent&)>("FormCreate",
                                  [this](fw::TComponent& s) { FormCreate(s); });
  Register<void(fw::TComponent&, fw::TCloseAction&)>(
      "FormClose", [this](fw::TComponent& s, fw::TCloseAction& a) { FormClose(s, a); });
  OnCreate = Handler<void(fw::TComponent&)>("FormCreate");
  OnClose = Handler<void(fw::TComponent&, fw::TCloseAction&)>("FormClose");
}

void TfrmConfPedido::FormCreate(fw::TComponent&) {
  Cli_zqv41800::stCdFilial.clear();
  IniciaFiltro(Filtro);
}

void TfrmConfPedido::FormClose(fw::TComponent&, fw::TCloseAction& action) {
  action = fw::TCloseAction::caFree;
  Cli_zqv41800::boIdCriado = false;
}
