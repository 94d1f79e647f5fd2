// TfrmConfPedido: the "Confirmação de Pedido" screen, a child window of
// the host's main window. Created through the application's form service
// by CriaConfPedido; the operator's close releases it and clears the
// creation flag, so the next start builds a fresh screen.
#pragma once

#include "library/frm_padrao_grid.h"

class TfrmConfPedido : public fw::TfrmPadraoGrid {
 public:
  explicit TfrmConfPedido(fw::TComponent* owner);

 private:
  void FormCreate(fw::TComponent& sender);
  void FormClose(fw::TComponent& sender, fw::TCloseAction& action);
};
