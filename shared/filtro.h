// TFiltro: the criteria with which the order list is requested from the
// application server, and Filtro, its one module-wide instance.
//
// Every criterion is kept twice, side by side:
//   - flags (members bo...) that remember which radio button or check box
//     the filter dialog had chosen, used only to restore the dialog;
//   - the server form: strings and dates sent to the server with every
//     order-list, item-list and confirmation request (filtro_args.h builds
//     those argument lists).
// A member stTodos holds "T" when its criterion does not restrict the
// orders and is empty when its companions restrict them. A member stLista
// holds the selection string the pick list produced, unchanged. A member
// stCodigos holds the codes of the checked boxes of a group, run together
// in the group's fixed order. Dates are OLE Automation dates (days since
// 30/12/1899, no time part); 0 means no date.
//
// The member order and types below are the record's layout and must not
// change: the dialog, the screens and the argument builders rely on them.
//
// A default-constructed TFiltro is all false/empty/0 (the state at module
// load); IniciaFiltro sets the defaults the confirmation screen starts
// with. User-interface thread only.
#pragma once

#include <string>

// Order number: all, an interval or a list.
struct TNrPedido {
  bool boIntervalo = false;  // "Intervalo" chosen
  bool boLista = false;      // "Lista" chosen
  std::string stDe;          // first number of the interval (width 10)
  std::string stAte;         // last number of the interval (width 10)
  std::string stLista;       // picked order numbers
  std::string stTodos;       // "T" = all order numbers
};

// Priority. Codes appended in this order: Baixa "4", Normal "3", Alta "2",
// Urgente "1", Prioritária "0".
struct TPrio {
  bool boBaixa = false;
  bool boNormal = false;
  bool boAlta = false;
  bool boUrgente = false;
  bool boPrioritaria = false;
  std::string stCodigos;
};

// Order status. Codes: Pendente "1", Em Andamento "2", Parc. Atendido "6".
struct TStatPed {
  bool boPendente = false;
  bool boAndamento = false;
  bool boParcial = false;
  std::string stCodigos;
};

// Item status (the string comes first here). Codes: Pendente "1",
// Confirmado "2", Aprovado "3", Liquidado "46", Cancelado "5",
// Parc. Atendido "7".
struct TStatIPed {
  std::string stCodigos;
  bool boPendente = false;
  bool boConfirmado = false;
  bool boAprovado = false;
  bool boLiquidado = false;
  bool boCancelado = false;
  bool boParcial = false;
};

// Product (keys: product tree codes, CDARVPROD).
struct TProduto {
  bool boTodos = false;  // "Todos" chosen
  std::string stLista;   // picked keys
  std::string stTodos;   // "T" = not restricted
};

// Salesperson (keys: CDVENDEDOR), plus the salesperson linked to the
// logged-in operator.
struct TVendedor {
  bool boTodos = false;
  std::string stLista;
  std::string stTodos;
  std::string stVendLog;       // CDVENDEDOR of the logged-in operator, if restricted to it
  std::string stTodosVendLog;  // companion of stVendLog; "T" in every state the system produces
};

// Commissioned salesperson (keys: CDVENDEDOR).
struct TVendComis {
  bool boTodos = false;
  std::string stLista;
  std::string stTodos;
};

// Operation type (keys: CDTIPOOPER).
struct TTipoOper {
  bool boTodos = false;
  std::string stLista;
  std::string stTodos;
};

// Customer (keys: CDCLIENTE).
struct TCliente {
  bool boTodos = false;
  std::string stLista;
  std::string stTodos;
};

// Delivery date range ("Data Entrega").
struct TEntrega {
  double dtDe = 0;
  double dtAte = 0;
  std::string stTodos;  // "T" = no date restriction
};

// Order (issue) date range ("Data Pedido").
struct TEmissao {
  double dtDe = 0;
  double dtAte = 0;
  std::string stTodos;
};

// Customer municipality (keys: CONCATENADOS = country code + state +
// municipality code).
struct TMuniciCli {
  bool boTodos = false;
  std::string stLista;
  std::string stTodos;
};

struct TFiltro {
  TNrPedido NrPedido;
  TPrio Prio;
  TStatPed StatPed;
  TStatIPed StatIPed;
  TProduto Produto;
  TVendedor Vendedor;
  TVendComis VendComis;
  TTipoOper TipoOper;
  TCliente Cliente;
  TEntrega Entrega;
  TEmissao Emissao;
  TMuniciCli MuniciCli;
};

// Sets every member of `filtro` to the defaults the confirmation screen
// starts with: no order-number restriction, all five priorities ("43210"),
// order statuses "123456", item statuses "12", "Todos" in every list
// criterion, no dates, and "T" in every stTodos and stTodosVendLog.
// The status strings are sent as they are until the dialog is first
// confirmed; they are not what the dialog would build from the flags.
void IniciaFiltro(TFiltro& filtro);

// The module's filter, read and written in place by the confirmation
// screen and the filter dialog. Exported under its plain name.
extern "C" {
extern TFiltro Filtro;
}
