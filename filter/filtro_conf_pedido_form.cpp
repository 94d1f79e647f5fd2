#include "filter/filtro_conf_pedido_form.h"

#include "filter/cli_zqv41801.h"

TfrmFiltroConfPedido::TfrmFiltroConfPedido(fw::TComponent* owner) : fw::TForm(owner) {
  SetName("frmFiltroConfPedido");
  SetCaption("Filtro de Confirmação de Pedido");
  Register<void(fw::TComponent&, fw::TCloseAction&)>(
      "FormClose", [this](fw::TComponent& s, fw::TCloseAction& a) { FormClose(s, a); });
  OnClose = Handler<void(fw::TComponent&, fw::TCloseAction&)>("FormClose");
}

void TfrmFiltroConfPedido::FormClose(fw::TComponent&, fw::TCloseAction& action) {
  action = fw::TCloseAction::caFree;
  Cli_zqv41801::boIdCriado = false;
  Cli_zqv41801::boNrPedidoCarregado = false;
}
