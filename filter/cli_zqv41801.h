// Unit Cli_zqv41801: the filter dialog's unit and its module-wide state.
//
// The seven list strings hold the keys picked in the dialog's pick lists;
// the dialog copies them from Filtro when it opens and back when it is
// confirmed. They are exported under their own names; this unit's
// creation flag is exported as "Cli_zqv41801.boIdCriado", since the
// confirmation unit's flag already has the plain name.
// User-interface thread only.
#pragma once

#include <string>

class TfrmFiltroConfPedido;

namespace Cli_zqv41801 {

extern TfrmFiltroConfPedido* frmFiltroConfPedido asm("frmFiltroConfPedido");
extern bool boIdCriado asm("Cli_zqv41801.boIdCriado");
extern std::string stNrPedido asm("stNrPedido");
extern std::string stVendedor asm("stVendedor");
extern std::string stVendComis asm("stVendComis");
extern std::string stCliente asm("stCliente");
extern std::string stProduto asm("stProduto");
extern std::string stMuniciCli asm("stMuniciCli");
extern std::string stTipoOper asm("stTipoOper");
// Not exported (hidden visibility).
extern bool boNrPedidoCarregado;

// Creates the filter dialog when absent and shows it modally; returns when
// it closes.
void CriaFiltroConfPedido();

void Initialization();
void Finalization();

}  // namespace Cli_zqv41801
