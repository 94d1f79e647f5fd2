#include "confirmation/cli_zqv41800.h"

#include "confirmation/conf_pedido_form.h"
#include "forms/application.h"
#include "module/module_variable.h"
#include "shared/filtro.h"

namespace Cli_zqv41800 {

TfrmConfPedido* frmConfPedido = nullptr;
std::string stCdFilial MODULE_VARIABLE;
bool boIdCriado = false;
bool boTeclado = false;
bool boHabilitacao = false;
int32_t inContPedidoCh = 0;
int32_t inContItemPedidoCh = 0;

void CriaConfPedido() {
  fw::Screen().Cursor = fw::crHourGlass;
  try {
    if (!boIdCriado) {
      fw::Application().CreateForm(frmConfPedido);
      boIdCriado = true;
    }
    frmConfPedido->SetWindowState(fw::TWindowState::wsNormal);
    frmConfPedido->Show();
  } catch (...) {
    fw::Screen().Cursor = fw::crDefault;
    throw;
  }
  fw::Screen().Cursor = fw::crDefault;
}

void Initialization() {
  boIdCriado = false;
  boTeclado = false;
  inContPedidoCh = 0;
  inContItemPedidoCh = 0;
}

void Finalization() {
  stCdFilial.clear();
  Filtro = TFiltro();
}

}  // namespace Cli_zqv41800
