#include "shared/filtro.h"

#include "module/module_variable.h"

extern "C" {
TFiltro Filtro MODULE_VARIABLE;
}

void IniciaFiltro(TFiltro& filtro) {
  filtro.NrPedido = TNrPedido{.boIntervalo = false,
                              .boLista = false,
                              .stDe = "",
                              .stAte = "",
                              .stLista = "",
                              .stTodos = "T"};
  filtro.Prio = TPrio{.boBaixa = true,
                      .boNormal = true,
                      .boAlta = true,
                      .boUrgente = true,
                      .boPrioritaria = true,
                      .stCodigos = "43210"};
  filtro.StatPed =
      TStatPed{.boPendente = true, .boAndamento = false, .boParcial = false, .stCodigos = "123456"};
  filtro.StatIPed = TStatIPed{.stCodigos = "12",
                              .boPendente = true,
                              .boConfirmado = true,
                              .boAprovado = true,
                              .boLiquidado = true,
                              .boCancelado = true,
                              .boParcial = true};
  filtro.Produto = TProduto{.boTodos = true, .stLista = "", .stTodos = "T"};
  filtro.Vendedor = TVendedor{
      .boTodos = true, .stLista = "", .stTodos = "T", .stVendLog = "", .stTodosVendLog = "T"};
  filtro.VendComis = TVendComis{.boTodos = true, .stLista = "", .stTodos = "T"};
  filtro.TipoOper = TTipoOper{.boTodos = true, .stLista = "", .stTodos = "T"};
  filtro.Cliente = TCliente{.boTodos = true, .stLista = "", .stTodos = "T"};
  filtro.Entrega = TEntrega{.dtDe = 0, .dtAte = 0, .stTodos = "T"};
  filtro.Emissao = TEmissao{.dtDe = 0, .dtAte = 0, .stTodos = "T"};
  filtro.MuniciCli = TMuniciCli{.boTodos = true, .stLista = "", .stTodos = "T"};
}
