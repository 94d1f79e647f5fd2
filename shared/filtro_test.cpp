#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared/filtro.h"
#include "shared/filtro_args.h"

namespace {

// Every server member with its own value, so that a member sent in the
// wrong place cannot go unnoticed.
TFiltro FiltroDistinto() {
  TFiltro f;
  f.Vendedor = {true, "vend-lista", "vend-todos", "vend-log", "vend-todos-log"};
  f.VendComis = {true, "comis-lista", "comis-todos"};
  f.Cliente = {true, "clie-lista", "clie-todos"};
  f.MuniciCli = {true, "muni-lista", "muni-todos"};
  f.Produto = {true, "prod-lista", "prod-todos"};
  f.Prio.stCodigos = "prio";
  f.StatPed.stCodigos = "statped";
  f.StatIPed.stCodigos = "statiped";
  f.Emissao = {45000.0, 45031.0, "emis-todos"};
  f.Entrega = {45100.0, 45131.0, "entr-todos"};
  f.NrPedido = {true, false, "nr-de", "nr-ate", "nr-lista", "nr-todos"};
  f.TipoOper = {true, "oper-lista", "oper-todos"};
  return f;
}

}  // namespace

TEST(Filtro, NewRecordIsEmpty) {
  const TFiltro f;
  EXPECT_EQ(f.NrPedido.stTodos, "");
  EXPECT_EQ(f.StatPed.stCodigos, "");
  EXPECT_EQ(f.StatIPed.stCodigos, "");
  EXPECT_FALSE(f.Prio.boBaixa);
  EXPECT_FALSE(f.Produto.boTodos);
  EXPECT_EQ(f.Vendedor.stTodosVendLog, "");
  EXPECT_EQ(f.Entrega.dtDe, 0.0);
  EXPECT_EQ(f.Emissao.dtAte, 0.0);
}

TEST(Filtro, ModuleInstanceIsExportedUnderItsPlainName) {
  void* symbol = dlsym(RTLD_DEFAULT, "Filtro");
  EXPECT_EQ(symbol, static_cast<void*>(&Filtro));
}

TEST(Filtro, ScreenDefaults) {
  TFiltro f = FiltroDistinto();
  f.Prio = {false, false, false, false, false, "x"};
  f.StatIPed = {"x", false, false, false, false, false, false};
  IniciaFiltro(f);

  EXPECT_FALSE(f.NrPedido.boIntervalo);
  EXPECT_FALSE(f.NrPedido.boLista);
  EXPECT_EQ(f.NrPedido.stDe, "");
  EXPECT_EQ(f.NrPedido.stAte, "");
  EXPECT_EQ(f.NrPedido.stLista, "");
  EXPECT_EQ(f.NrPedido.stTodos, "T");

  EXPECT_TRUE(f.Prio.boBaixa && f.Prio.boNormal && f.Prio.boAlta && f.Prio.boUrgente &&
              f.Prio.boPrioritaria);
  EXPECT_EQ(f.Prio.stCodigos, "43210");

  EXPECT_TRUE(f.StatPed.boPendente);
  EXPECT_FALSE(f.StatPed.boAndamento);
  EXPECT_FALSE(f.StatPed.boParcial);
  EXPECT_EQ(f.StatPed.stCodigos, "123456");

  EXPECT_EQ(f.StatIPed.stCodigos, "12");
  EXPECT_TRUE(f.StatIPed.boPendente && f.StatIPed.boConfirmado && f.StatIPed.boAprovado &&
              f.StatIPed.boLiquidado && f.StatIPed.boCancelado && f.StatIPed.boParcial);

  EXPECT_TRUE(f.Vendedor.boTodos);
  EXPECT_EQ(f.Vendedor.stLista, "");
  EXPECT_EQ(f.Vendedor.stTodos, "T");
  EXPECT_EQ(f.Vendedor.stVendLog, "");
  EXPECT_EQ(f.Vendedor.stTodosVendLog, "T");

  auto lista = [](const auto& c, const char* name) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(c.boTodos);
    EXPECT_EQ(c.stLista, "");
    EXPECT_EQ(c.stTodos, "T");
  };
  lista(f.Produto, "Produto");
  lista(f.VendComis, "VendComis");
  lista(f.TipoOper, "TipoOper");
  lista(f.Cliente, "Cliente");
  lista(f.MuniciCli, "MuniciCli");

  EXPECT_EQ(f.Entrega.dtDe, 0.0);
  EXPECT_EQ(f.Entrega.dtAte, 0.0);
  EXPECT_EQ(f.Entrega.stTodos, "T");
  EXPECT_EQ(f.Emissao.dtDe, 0.0);
  EXPECT_EQ(f.Emissao.dtAte, 0.0);
  EXPECT_EQ(f.Emissao.stTodos, "T");
}

TEST(FiltroArgs, GetPedidoOrderAndKinds) {
  const TFiltro f = FiltroDistinto();
  const std::vector<nlohmann::json> expected = {
      "vend-log",   "vend-todos-log", "vend-lista", "vend-todos", "comis-lista", "comis-todos",
      "clie-lista", "clie-todos",     "muni-lista", "muni-todos", "prod-lista",  "prod-todos",
      "prio",       "statped",        "statiped",   45000.0,      45031.0,       "emis-todos",
      45100.0,      45131.0,          "entr-todos", "nr-de",      "nr-ate",      "nr-lista",
      "nr-todos",   "0001",           "oper-lista", "oper-todos", "OPER7"};
  auto args = ArgsGetPedido(f, "0001", "OPER7");
  ASSERT_EQ(args.size(), 29u);
  ASSERT_EQ(static_cast<int>(args.size()), kArgsGetPedido);
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("argumento " + std::to_string(i + 1));
    EXPECT_EQ(args[i], expected[i]);
    EXPECT_EQ(args[i].type(), expected[i].type());
  }
  // The four dates travel as floating-point numbers, never as text.
  for (size_t i : {15u, 16u, 18u, 19u}) EXPECT_TRUE(args[i].is_number_float()) << i + 1;
}

TEST(FiltroArgs, GetPedidoWithDefaultsSendsNoRestriction) {
  TFiltro f;
  IniciaFiltro(f);
  auto args = ArgsGetPedido(f, "0002", "ADM");
  EXPECT_EQ(args[12], "43210");
  EXPECT_EQ(args[13], "123456");
  EXPECT_EQ(args[14], "12");
  for (size_t i : {1u, 3u, 5u, 7u, 9u, 11u, 17u, 20u, 24u, 27u}) EXPECT_EQ(args[i], "T") << i + 1;
  for (size_t i : {15u, 16u, 18u, 19u}) EXPECT_EQ(args[i], 0.0) << i + 1;
  // A date of 0 is still a number on the wire.
  EXPECT_EQ(args[15].dump(), "0.0");
}

TEST(FiltroArgs, ConfirmationFilterOrderAndKinds) {
  const TFiltro f = FiltroDistinto();
  const std::vector<nlohmann::json> expected = {
      "vend-log",   "vend-todos-log", "vend-lista", "vend-todos", "clie-lista",
      "clie-todos", "muni-lista",     "muni-todos", "prod-lista", "prod-todos",
      "prio",       "statped",        "statiped",   45000.0,      45031.0,
      "emis-todos", 45100.0,          45131.0,      "entr-todos", "nr-de",
      "nr-ate",     "nr-lista",       "nr-todos",   "oper-lista", "oper-todos"};
  auto args = ArgsFiltroConfirmacao(f);
  ASSERT_EQ(args.size(), 25u);
  ASSERT_EQ(static_cast<int>(args.size()), kArgsFiltroConfirmacao);
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("argumento " + std::to_string(i + 1));
    EXPECT_EQ(args[i], expected[i]);
    EXPECT_EQ(args[i].type(), expected[i].type());
  }

  auto comis = ArgsVendComis(f);
  ASSERT_EQ(comis.size(), 2u);
  EXPECT_EQ(comis[0], "comis-lista");
  EXPECT_EQ(comis[1], "comis-todos");
}

TEST(FiltroArgs, ConfirmationFilterIsGetPedidoWithoutItsOwnArguments) {
  // Confirmation filter = GetPedido minus 5, 6 (commissioned pair),
  // 26 (branch) and 29 (operator), the rest in the same order.
  const TFiltro f = FiltroDistinto();
  auto all = ArgsGetPedido(f, "0001", "OPER7");
  std::vector<nlohmann::json> reduced;
  for (size_t i = 0; i < all.size(); ++i)
    if (i != 4 && i != 5 && i != 25 && i != 28) reduced.push_back(all[i]);
  EXPECT_EQ(ArgsFiltroConfirmacao(f), reduced);
}
