#include "filter/cli_zqv41801.h"

#include "filter/filtro_conf_pedido_form.h"
#include "forms/application.h"
#include "module/module_variable.h"

namespace Cli_zqv41801 {

TfrmFiltroConfPedido* frmFiltroConfPedido = nullptr;
bool boIdCriado = false;
std::string stNrPedido MODULE_VARIABLE;
std::string stVendedor MODULE_VARIABLE;
std::string stVendComis MODULE_VARIABLE;
std::string stCliente MODULE_VARIABLE;
std::string stProduto MODULE_VARIABLE;
std::string stMuniciCli MODULE_VARIABLE;
std::string stTipoOper MODULE_VARIABLE;
__attribute__((visibility("hidden"))) bool boNrPedidoCarregado = false;

void CriaFiltroConfPedido() {
  fw::Screen().Cursor = fw::crHourGlass;
  try {
    if (!boIdCriado) {
      fw::Application().CreateForm(frmFiltroConfPedido);
      boIdCriado = true;
    }
    frmFiltroConfPedido->ShowModal();
  } catch (...) {
    // A dialog that failed while showing (its activation could not reach
    // the server) is not kept half-loaded: it is released, and the next
    // request builds a fresh one.
    if (boIdCriado && frmFiltroConfPedido) {
      frmFiltroConfPedido->Release();
      boIdCriado = false;
      boNrPedidoCarregado = false;
    }
    fw::Screen().Cursor = fw::crDefault;
    throw;
  }
  fw::Screen().Cursor = fw::crDefault;
}

void Initialization() {
  boNrPedidoCarregado = false;
  boIdCriado = false;
  for (std::string* s : {&stNrPedido, &stVendedor, &stVendComis, &stCliente, &stProduto,
                         &stMuniciCli, &stTipoOper})
    s->clear();
}

void Finalization() {
  for (std::string* s : {&stNrPedido, &stVendedor, &stVendComis, &stCliente, &stProduto,
                         &stMuniciCli, &stTipoOper})
    s->clear();
}

}  // namespace Cli_zqv41801
