#include "filter/filtro_conf_pedido_form.h"

#include "filter/cli_zqv41801.h"

TfrmFiltroConfPedido::TfrmFiltroConfPedido(fw::TComponent* owner) : fw::TfrmFiltroPadrao(owner) {
  SetName("frmFiltroConfPedido");
  SetCaption("Filtro de Confirmação de Pedido");
  lblCodTela->SetCaption("ZQV41801");
  Register<void(fw::TComponent&, fw::TCloseAction&)>(
      "FormClose", [this](fw::TComponent& s, fw::TCloseAction& a) { FormClose(s, a); });
}

void TfrmFiltroConfPedido::FormClose(fw::TComponent& sender, fw::TCloseAction& action) {
  TfrmFiltroPadrao::FormClose(sender, action);
  Cli_zqv41801::boIdCriado = false;
  Cli_zqv41801::boNrPedidoCarregado = false;
}
