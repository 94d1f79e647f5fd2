// Unit Cli_zqv41800: the confirmation screen's unit and the module-wide
// state.
//
// The variables are plain globals exported from the module under their
// own names (boIdCriado of this unit as "boIdCriado"); the filter record
// Filtro lives in shared/filtro.h. Everything runs on the host's
// user-interface thread.
#pragma once

#include <cstdint>
#include <string>

class TfrmConfPedido;

namespace Cli_zqv41800 {

extern TfrmConfPedido* frmConfPedido asm("frmConfPedido");
extern std::string stCdFilial asm("stCdFilial");
extern bool boIdCriado asm("boIdCriado");
extern bool boTeclado asm("boTeclado");
extern bool boHabilitacao asm("boHabilitacao");
extern int32_t inContPedidoCh asm("inContPedidoCh");
extern int32_t inContItemPedidoCh asm("inContItemPedidoCh");

// Creates the confirmation screen once and shows it (restoring it when
// minimized). A failure while creating it passes on and leaves boIdCriado
// false, so the next start tries again.
void CriaConfPedido();

// Unit initialization and finalization, run by the package on load and
// unload.
void Initialization();
void Finalization();

}  // namespace Cli_zqv41800
