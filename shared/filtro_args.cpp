#include "shared/filtro_args.h"

namespace {

using Args = std::vector<nlohmann::json>;

void AddVendedor(Args& args, const TVendedor& v) {
  args.emplace_back(v.stVendLog);
  args.emplace_back(v.stTodosVendLog);
  args.emplace_back(v.stLista);
  args.emplace_back(v.stTodos);
}

template <class Criterio>
void AddLista(Args& args, const Criterio& c) {
  args.emplace_back(c.stLista);
  args.emplace_back(c.stTodos);
}

template <class Periodo>
void AddPeriodo(Args& args, const Periodo& p) {
  args.emplace_back(p.dtDe);
  args.emplace_back(p.dtAte);
  args.emplace_back(p.stTodos);
}

// Customer through order number: the run both request kinds share.
void AddClienteANrPedido(Args& args, const TFiltro& f) {
  AddLista(args, f.Cliente);
  AddLista(args, f.MuniciCli);
  AddLista(args, f.Produto);
  args.emplace_back(f.Prio.stCodigos);
  args.emplace_back(f.StatPed.stCodigos);
  args.emplace_back(f.StatIPed.stCodigos);
  AddPeriodo(args, f.Emissao);
  AddPeriodo(args, f.Entrega);
  args.emplace_back(f.NrPedido.stDe);
  args.emplace_back(f.NrPedido.stAte);
  args.emplace_back(f.NrPedido.stLista);
  args.emplace_back(f.NrPedido.stTodos);
}

}  // namespace

std::vector<nlohmann::json> ArgsGetPedido(const TFiltro& filtro, const std::string& cdFilial,
                                          const std::string& operador) {
  Args args;
  args.reserve(kArgsGetPedido);
  AddVendedor(args, filtro.Vendedor);
  AddLista(args, filtro.VendComis);
  AddClienteANrPedido(args, filtro);
  args.emplace_back(cdFilial);
  AddLista(args, filtro.TipoOper);
  args.emplace_back(operador);
  return args;
}

std::vector<nlohmann::json> ArgsFiltroConfirmacao(const TFiltro& filtro) {
  Args args;
  args.reserve(kArgsFiltroConfirmacao);
  AddVendedor(args, filtro.Vendedor);
  AddClienteANrPedido(args, filtro);
  AddLista(args, filtro.TipoOper);
  return args;
}

std::vector<nlohmann::json> ArgsVendComis(const TFiltro& filtro) {
  Args args;
  AddLista(args, filtro.VendComis);
  return args;
}
