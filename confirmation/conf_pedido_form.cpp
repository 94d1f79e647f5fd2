#include "confirmation/conf_pedido_form.h"

#include "confirmation/cli_zqv41800.h"
#include "shared/filtro.h"

TfrmConfPedido::TfrmConfPedido(fw::TComponent* owner) : fw::TfrmPadraoGrid(owner) {
  SetName("frmConfPedido");
  SetCaption("Confirmação de Pedido");
  lblCodTela->SetCaption("ZQV41800");
  FormStyle = fw::TFormStyle::fsMDIChild;
  Register<void(fw::TComponent&)>("FormCreate",
                                  [this](fw::TComponent& s) { FormCreate(s); });
  Register<void(fw::TComponent&, fw::TCloseAction&)>(
      "FormClose", [this](fw::TComponent& s, fw::TCloseAction& a) { FormClose(s, a); });
}

void TfrmConfPedido::FormCreate(fw::TComponent& sender) {
  TfrmPadraoGrid::FormCreate(sender);
  Cli_zqv41800::stCdFilial.clear();
  IniciaFiltro(Filtro);
}

void TfrmConfPedido::FormClose(fw::TComponent& sender, fw::TCloseAction& action) {
  TfrmPadraoGrid::FormClose(sender, action);
  Cli_zqv41800::boIdCriado = false;
}
