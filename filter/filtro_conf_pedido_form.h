// TfrmFiltroConfPedido: the modal dialog "Filtro de Confirmação de
// Pedido". Built for each opening by CriaFiltroConfPedido and released
// when it closes (its close clears the unit's creation flag and the
// order-number list's loaded flag).
#pragma once

#include "library/frm_filtro_padrao.h"

class TfrmFiltroConfPedido : public fw::TfrmFiltroPadrao {
 public:
  explicit TfrmFiltroConfPedido(fw::TComponent* owner);

 private:
  void FormClose(fw::TComponent& sender, fw::TCloseAction& action);
};
