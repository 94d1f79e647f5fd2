// Package Pkg_zqv41800: the module's frame. Loading the library runs the
// units' initialization (Cli_zqv41800, then Cli_zqv41801); unloading runs
// their finalization in reverse order. The exported entry procedure
// IniProc opens the confirmation screen.
#include "confirmation/cli_zqv41800.h"
#include "filter/cli_zqv41801.h"

namespace {

struct Package {
  Package() {
    Cli_zqv41800::Initialization();
    Cli_zqv41801::Initialization();
  }
  ~Package() {
    Cli_zqv41801::Finalization();
    Cli_zqv41800::Finalization();
  }
};

// Constructed after the units' variables (which are constant-initialized).
Package package __attribute__((init_priority(65535)));

}  // namespace

extern "C" {

void IniProc() { Cli_zqv41800::CriaConfPedido(); }
void CriaConfPedido() { Cli_zqv41800::CriaConfPedido(); }
void CriaFiltroConfPedido() { Cli_zqv41801::CriaFiltroConfPedido(); }

}  // extern "C"
