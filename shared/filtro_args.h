// The filter's server form as positional arguments of the order service, so
// that no caller lists the members by hand.
//
// Strings travel as JSON strings, dates as JSON numbers (OLE Automation
// dates, 0 = no date). The flags (bo...) are never sent. The service's
// reference arguments are sent by value: the client never reads them back.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "shared/filtro.h"

// The 29 arguments of GetPedido, in its order:
//    1 Vendedor.stVendLog      2 Vendedor.stTodosVendLog
//    3 Vendedor.stLista        4 Vendedor.stTodos
//    5 VendComis.stLista       6 VendComis.stTodos
//    7 Cliente.stLista         8 Cliente.stTodos
//    9 MuniciCli.stLista      10 MuniciCli.stTodos
//   11 Produto.stLista        12 Produto.stTodos
//   13 Prio.stCodigos         14 StatPed.stCodigos     15 StatIPed.stCodigos
//   16 Emissao.dtDe           17 Emissao.dtAte         18 Emissao.stTodos
//   19 Entrega.dtDe           20 Entrega.dtAte         21 Entrega.stTodos
//   22 NrPedido.stDe          23 NrPedido.stAte
//   24 NrPedido.stLista       25 NrPedido.stTodos
//   26 cdFilial (the branch code as typed on the confirmation screen)
//   27 TipoOper.stLista       28 TipoOper.stTodos
//   29 operador (the logged-in operator's code)
constexpr int kArgsGetPedido = 29;
std::vector<nlohmann::json> ArgsGetPedido(const TFiltro& filtro, const std::string& cdFilial,
                                          const std::string& operador);

// The 25 filter arguments the confirmation requests carry right after their
// own leading arguments (SetPedidoPEAN 4 to 28, SetItemPedidoPECF 5 to 29):
// the GetPedido order without the commissioned-salesperson pair (5, 6),
// the branch (26) and the operator (29):
//    1 Vendedor.stVendLog      2 Vendedor.stTodosVendLog
//    3 Vendedor.stLista        4 Vendedor.stTodos
//    5 Cliente.stLista         6 Cliente.stTodos
//    7 MuniciCli.stLista       8 MuniciCli.stTodos
//    9 Produto.stLista        10 Produto.stTodos
//   11 Prio.stCodigos         12 StatPed.stCodigos     13 StatIPed.stCodigos
//   14 Emissao.dtDe           15 Emissao.dtAte         16 Emissao.stTodos
//   17 Entrega.dtDe           18 Entrega.dtAte         19 Entrega.stTodos
//   20 NrPedido.stDe          21 NrPedido.stAte
//   22 NrPedido.stLista       23 NrPedido.stTodos
//   24 TipoOper.stLista       25 TipoOper.stTodos
constexpr int kArgsFiltroConfirmacao = 25;
std::vector<nlohmann::json> ArgsFiltroConfirmacao(const TFiltro& filtro);

// The commissioned-salesperson pair that closes both confirmation requests,
// after the "OperBloq" text: VendComis.stLista, VendComis.stTodos.
std::vector<nlohmann::json> ArgsVendComis(const TFiltro& filtro);
