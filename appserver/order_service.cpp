#include "appserver/order_service.h"

#include <chrono>
#include <ctime>

#include "appserver/confirmation.h"
#include "appserver/order_filter.h"
#include "appserver/order_store.h"
#include "appserver/packet_layouts.h"
#include "appserver/packet_reply.h"
#include "text/date_time.h"

namespace appserver {

double LocalNow() {
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  int ms = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
      1000);
  return fw::EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         fw::EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), ms);
}

namespace {

using nlohmann::json;

TArgSpec Text(const char* label) { return {label, TArgKind::kString}; }

std::vector<TMethod> BuildMethods(TDbPool& pool, std::function<double()> now) {
  std::vector<TMethod> m;
  TDbPool* p = &pool;  // outlives the table (the caller owns both)
  auto store = [p](auto&& body) {
    return [p, body](const TArgs& a) -> json {
      TDbPool::TLease db = p->Acquire();
      TOrderStore s(*db);
      return body(s, a);
    };
  };

  // The order list's two results: a document, and (for HTTP) its text
  // written as the rows are read.
  auto list = [p](TMethod& method, std::function<void(fw::SqlDriver&, const TArgs&, const TOrderFilter&)> before,
                  std::function<TOrderFilter(const TArgs&)> filterOf) {
    // The filter read, a connection taken and what comes before the list done.
    auto start = [p, before, filterOf](const TArgs& a, TOrderFilter& filter) {
      filter = filterOf(a);
      TDbPool::TLease db = p->Acquire();
      if (before) before(*db, a, filter);
      return db;
    };
    method.Run = [start](const TArgs& a) -> json {
      TOrderFilter filter;
      TDbPool::TLease db = start(a, filter);
      return TOrderStore(*db).Pedidos(filter).ToJson();
    };
    method.RunStream = [start](const TArgs& a) -> std::unique_ptr<TReplyStream> {
      TOrderFilter filter;
      TDbPool::TLease db = start(a, filter);
      TSqlQuery q = TOrderStore(*db).PedidosQuery(filter);
      std::unique_ptr<fw::SqlCursor> rows = db->OpenCursor(q.Sql, q.Params);
      return std::make_unique<TPacketReply>(std::move(db), PedidoLayout(), std::move(rows));
    };
  };

  m.push_back({"GetPedido", SignatureWithFilter(kGetPedidoArgs, 29, {}), false, {}});
  list(m.back(), nullptr, [](const TArgs& a) { return ReadFilter(a, kGetPedidoArgs); });
  m.push_back({"GetItemPedido",
               {Text("filial"), Text("pedido"), Text("Produto.stLista"), Text("Produto.stTodos")},
               false,
               store([](TOrderStore& s, const TArgs& a) {
                 return s.Itens(a.Str(1), a.Str(2), ReadKeyCriterion(a, 3, 4)).ToJson();
               })});
  m.push_back({"GetPrazoPgto", {Text("filial"), Text("pedido")}, false,
               store([](TOrderStore& s, const TArgs& a) {
                 return s.Prazos(a.Str(1), a.Str(2)).ToJson();
               })});
  m.push_back({"GetObser", {Text("filial"), Text("pedido")}, false,
               store([](TOrderStore& s, const TArgs& a) {
                 return s.Observacoes(a.Str(1), a.Str(2)).ToJson();
               })});
  m.push_back({"GetPosiEstoq",
               {Text("filial"), Text("pedido"), Text("item"), Text("produto de estoque")},
               false,
               store([](TOrderStore& s, const TArgs& a) {
                 return s.Posicoes(a.Str(1), a.Str(2), a.Str(3), a.Str(4)).ToJson();
               })});
  m.push_back({"GetImposPedTot", {Text("filial"), Text("pedido")}, true,
               store([](TOrderStore& s, const TArgs& a) {
                 return json(s.ImpostoTotal(a.Str(1), a.Str(2)));
               })});
  m.push_back({"GetParamPedido", {Text("filial")}, false,
               store([](TOrderStore& s, const TArgs& a) {
                 return s.Parametros(a.Str(1)).ToJson();
               })});
  m.push_back({"getOperTPed", {Text("filial"), Text("operador")}, true,
               store([](TOrderStore& s, const TArgs& a) {
                 return s.PermissoesOperador(a.Str(1), a.Str(2)).ToJson();
               })});
  m.push_back({"GetItemErro", {Text("filial"), Text("pedido")}, true,
               store([](TOrderStore& s, const TArgs& a) {
                 return s.ContaItensComErro(a.Str(1), a.Str(2)).ToJson();
               })});
  m.push_back({"GetPedIErro", {Text("filial")}, true, store([](TOrderStore& s, const TArgs& a) {
                 return s.PedidosComErro(a.Str(1)).ToJson();
               })});
  m.push_back({"GetNrPedido", {Text("filial")}, true, store([](TOrderStore& s, const TArgs& a) {
                 return s.NumerosPedido(a.Str(1)).ToJson();
               })});

  m.push_back({"SetPedidoPEAN",
               SignatureWithFilter(kSetPedidoPEANArgs, 31,
                                   {{2, Text("lista de pedidos")}, {29, Text("texto de OperBloq")}}),
               true, {}});
  list(
      m.back(),
      [now](fw::SqlDriver& db, const TArgs& a, const TOrderFilter& filter) {
        ConfirmOrders(db, {filter.Branch, filter.Operator, a.Str(29), now()}, OrderNumbersOf(a.Str(2)));
      },
      [](const TArgs& a) { return ReadFilter(a, kSetPedidoPEANArgs); });
  m.push_back(
      {"SetItemPedidoPECF",
       SignatureWithFilter(kSetItemPedidoPECFArgs, 32,
                           {{2, Text("pedido")},
                            {4, {"itens do pedido", TArgKind::kPacket}},
                            {30, Text("texto de OperBloq")}}),
       true, [p, now](const TArgs& a) -> json {
         TOrderFilter filter = ReadFilter(a, kSetItemPedidoPECFArgs);
         const std::string& order = a.Str(2);
         std::vector<std::string> items = MarkedItems(a, 4, filter.Branch, order);
         TDbPool::TLease db = p->Acquire();
         ConfirmItems(*db, {filter.Branch, filter.Operator, a.Str(30), now()}, order, items);
         TOrderStore s(*db);
         json orders = s.Pedidos(filter).ToJson();
         json itemList = s.Itens(filter.Branch, order, filter.Produto).ToJson();
         json both = json::array();
         both.push_back(std::move(orders));
         both.push_back(std::move(itemList));
         return both;
       }});
  // The arguments that name the operator who calls, which a session must
  // match.
  for (TMethod& method : m) {
    if (method.Name == "getOperTPed") method.OperatorArg = 2;
    if (method.Name == "GetPedido") method.OperatorArg = 29;
    if (method.Name == "SetPedidoPEAN" || method.Name == "SetItemPedidoPECF") method.OperatorArg = 3;
  }
  return m;
}

}  // namespace

std::vector<TMethod> OrderServiceMethods(TDbPool& pool, std::function<double()> now) {
  return BuildMethods(pool, std::move(now));
}

}  // namespace appserver
