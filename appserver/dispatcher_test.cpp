// The JSON-RPC layer: protocol faults, argument checks by signature, how
// refusals and failures of packet and checked methods are answered, and
// that no database detail reaches a reply.
#include <gtest/gtest.h>

#include "appserver/dispatcher.h"
#include "appserver/test_support.h"
#include "base/errors.h"
#include "rpc/rpc_errors.h"

namespace appserver::testing {
namespace {

std::vector<TMethod> FakeMethods() {
  std::vector<TMethod> m;
  m.push_back({"Eco",
               {{"texto", TArgKind::kString}, {"número", TArgKind::kNumber}},
               false,
               [](const TArgs& a) { return json{a.Str(1), a.Num(2)}; }});
  m.push_back({"Recusa", {}, true, [](const TArgs&) -> json {
                 throw TServiceError("Pedido 1 não está mais pendente.");
               }});
  m.push_back({"Quebra", {}, false, [](const TArgs&) -> json {
                 throw fw::EDatabaseError("Erro do banco de dados: no such table: PEDIDO");
               }});
  m.push_back({"QuebraChecado", {}, true, [](const TArgs&) -> json {
                 throw std::runtime_error("SELECT * FROM PEDIDO falhou");
               }});
  m.push_back({"Ocupado", {}, true, [](const TArgs&) -> json {
                 throw fw::EDatabaseBusy("database is locked");
               }});
  m.push_back({"Pacote", {{"itens", TArgKind::kPacket}}, true,
               [](const TArgs& a) { return json(a.Json(1).size()); }});
  return m;
}

class DispatcherTest : public ::testing::Test {
 protected:
  DispatcherTest()
      : d_("Modulo.rdmTeste", FakeMethods(), [this](const std::string& l) { log_.push_back(l); }) {}
  json Ask(const std::string& body) { return json::parse(d_.HandleText(body)); }
  json Request(const std::string& method, json params, json id = 1) {
    return d_.Handle({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}, {"id", id}});
  }
  std::vector<std::string> log_;
  TDispatcher d_;
};

TEST_F(DispatcherTest, ResultsAndCheckedReplies) {
  json reply = Request("Eco", {"olá", 2.5}, "a");
  EXPECT_EQ(reply, json({{"jsonrpc", "2.0"}, {"result", {"olá", 2.5}}, {"id", "a"}}));
  EXPECT_EQ(Request("Pacote", {{{"x", 1}}})["result"], json({{"status", "ok"}, {"value", 1}}));
  EXPECT_EQ(Request("Recusa", json::array())["result"],
            json({{"status", "error"}, {"message", "Pedido 1 não está mais pendente."}}));
  EXPECT_TRUE(log_.empty());  // a refusal is no failure
}

TEST_F(DispatcherTest, ProtocolFaults) {
  auto code = [](const json& reply) { return reply["error"]["code"].get<int>(); };
  EXPECT_EQ(code(Ask("{\"jsonrpc\": \"2.0\", \"method\": ")), -32700);
  EXPECT_TRUE(Ask("not json")["id"].is_null());
  EXPECT_EQ(code(Ask("[1,2]")[0]), -32600);
  EXPECT_EQ(code(Ask("[]")), -32600);
  EXPECT_EQ(code(Ask("\"Eco\"")), -32600);
  EXPECT_EQ(code(Ask(R"({"method":"Eco","params":["a",1],"id":1})")), -32600);
  EXPECT_EQ(code(Ask(R"({"jsonrpc":"1.0","method":"Eco","params":["a",1],"id":1})")), -32600);
  EXPECT_EQ(code(Ask(R"({"jsonrpc":"2.0","method":7,"id":1})")), -32600);
  EXPECT_EQ(code(Ask(R"({"jsonrpc":"2.0","method":"Eco","params":"a","id":1})")), -32600);
  EXPECT_EQ(code(Ask(R"({"jsonrpc":"2.0","method":"Eco","params":["a",1],"id":[1]})")), -32600);
  json unknown = Request("Nada", json::array(), 9);
  EXPECT_EQ(code(unknown), -32601);
  EXPECT_EQ(unknown["error"]["message"], "Método 'Nada' não existe em Modulo.rdmTeste.");
  EXPECT_EQ(unknown["id"], 9);
}

TEST_F(DispatcherTest, RefusesObjectParamsLargeBatchesAndDeepNesting) {
  auto code = [](const json& reply) { return reply["error"]["code"].get<int>(); };
  EXPECT_EQ(code(Ask(R"({"jsonrpc":"2.0","method":"Eco","params":{"a":1},"id":1})")), -32600);
  auto batch = [](int calls) {
    json b = json::array();
    for (int i = 0; i < calls; ++i)
      b.push_back({{"jsonrpc", "2.0"}, {"method", "Eco"}, {"params", {"a", i}}, {"id", i}});
    return b.dump();
  };
  EXPECT_EQ(Ask(batch(16)).size(), 16u);
  json refused = Ask(batch(17));
  EXPECT_EQ(code(refused), -32600);
  EXPECT_EQ(refused["error"]["message"], "Requisição JSON-RPC inválida: lote com mais de 16 chamadas.");
  // 64 levels in all are served; one more is refused before parsing, even
  // when the brackets hide inside a string or the text is cut short.
  auto nested = [](int levels) {
    return R"({"jsonrpc":"2.0","method":"Pacote","id":1,"params":[{"s":"[\"]\"","x":)" +
           std::string(levels - 3, '[') + std::string(levels - 3, ']') + "}]}";
  };
  EXPECT_EQ(Ask(nested(64))["result"]["value"], 2);
  EXPECT_EQ(code(Ask(nested(65))), -32600);
  EXPECT_EQ(code(Ask(std::string(100000, '['))), -32600);
  EXPECT_EQ(code(Ask(std::string(100000, '{'))), -32600);
}

TEST_F(DispatcherTest, ArgumentsAreCheckedByTheSignature) {
  auto message = [](const json& reply) {
    EXPECT_EQ(reply["error"]["code"], -32602);
    return reply["error"]["message"].get<std::string>();
  };
  EXPECT_EQ(message(Request("Eco", {"a"})), "Eco: esperados 2 argumentos, recebidos 1.");
  EXPECT_EQ(message(Request("Eco", {"a", 1, 2})), "Eco: esperados 2 argumentos, recebidos 3.");
  EXPECT_EQ(message(Request("Eco", {1, 1})), "Eco: o argumento 1 (texto) deve ser um texto.");
  EXPECT_EQ(message(Request("Eco", {"a", "1"})), "Eco: o argumento 2 (número) deve ser um número.");
  EXPECT_EQ(message(Request("Eco", {"a", nullptr})),
            "Eco: o argumento 2 (número) deve ser um número.");
  EXPECT_EQ(message(Request("Pacote", {"{}"})),
            "Pacote: o argumento 1 (itens) deve ser um pacote de dados (objeto JSON).");
  // No params at all counts as none.
  EXPECT_EQ(message(d_.Handle({{"jsonrpc", "2.0"}, {"method", "Eco"}, {"id", 1}})),
            "Eco: esperados 2 argumentos, recebidos 0.");
}

TEST_F(DispatcherTest, FailuresNeverShowInternals) {
  json packetMethod = Request("Quebra", json::array());
  EXPECT_EQ(packetMethod["error"]["code"], -32603);
  json checked = Request("QuebraChecado", json::array())["result"];
  EXPECT_EQ(checked["status"], "error");
  for (const std::string& text : {packetMethod["error"]["message"].get<std::string>(),
                                 checked["message"].get<std::string>()}) {
    EXPECT_EQ(text.find("PEDIDO"), std::string::npos) << text;
    EXPECT_EQ(text.find("SELECT"), std::string::npos) << text;
    EXPECT_NE(text.find("servidor de aplicação"), std::string::npos) << text;
  }
  EXPECT_NE(Request("Ocupado", json::array())["result"]["message"].get<std::string>().find("ocupado"),
            std::string::npos);
  // The details go to the log only.
  ASSERT_EQ(log_.size(), 3u);
  EXPECT_NE(log_[0].find("no such table: PEDIDO"), std::string::npos);
}

TEST_F(DispatcherTest, NotificationsAndBatches) {
  EXPECT_EQ(d_.HandleText(R"({"jsonrpc":"2.0","method":"Eco","params":["a",1]})"), "");
  EXPECT_EQ(d_.HandleText(R"({"jsonrpc":"2.0","method":"Nada"})"), "");
  json replies = Ask(R"([{"jsonrpc":"2.0","method":"Eco","params":["a",1],"id":1},
                        {"jsonrpc":"2.0","method":"Eco","params":["b",2]},
                        {"jsonrpc":"2.0","method":"Eco","params":[],"id":3}])");
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0]["result"][0], "a");
  EXPECT_EQ(replies[1]["error"]["code"], -32602);
  EXPECT_EQ(replies[1]["id"], 3);
}

TEST(OrderServiceDispatchTest, EveryMethodHasItsSignature) {
  TDemoDatabase data(88, 1);
  TLocalServer server(data.Url());
  std::map<std::string, std::pair<size_t, bool>> expected = {
      {"GetPedido", {29, false}},      {"GetItemPedido", {4, false}},
      {"GetPrazoPgto", {2, false}},    {"GetObser", {2, false}},
      {"GetPosiEstoq", {4, false}},    {"GetImposPedTot", {2, true}},
      {"GetParamPedido", {1, false}},  {"getOperTPed", {2, true}},
      {"GetItemErro", {2, true}},      {"GetPedIErro", {1, true}},
      {"GetNrPedido", {1, true}},      {"SetPedidoPEAN", {31, true}},
      {"SetItemPedidoPECF", {32, true}}};
  EXPECT_EQ(server.Dispatcher().MethodNames().size(), expected.size());
  auto con = server.Connect();
  for (const auto& [method, shape] : expected) {
    try {
      con->Call(method, std::vector<json>(shape.first + 1, ""));
      ADD_FAILURE() << method;
    } catch (const fw::EServerError& e) {
      EXPECT_EQ(std::string(e.what()), method + ": esperados " + std::to_string(shape.first) +
                                           " argumentos, recebidos " +
                                           std::to_string(shape.first + 1) + ".");
    }
  }
  // Dates are the only numbers of the filter; the items are the only packet.
  std::vector<json> args = TFiltro{}.SetItemPedidoPECF("1", "texto", kOperBloq);
  try {
    con->Call("SetItemPedidoPECF", args);
    FAIL();
  } catch (const fw::EServerError& e) {
    EXPECT_STREQ(e.what(), "SetItemPedidoPECF: o argumento 4 (itens do pedido) deve ser um "
                           "pacote de dados (objeto JSON).");
  }
  args = TFiltro{}.SetPedidoPEAN("1_", kOperBloq);
  args[16] = "0";
  try {
    con->Call("SetPedidoPEAN", args);
    FAIL();
  } catch (const fw::EServerError& e) {
    EXPECT_STREQ(e.what(), "SetPedidoPEAN: o argumento 17 (Emissao.dtDe) deve ser um número.");
  }
}

TEST(OrderServiceDispatchTest, DatabaseFailureIsReportedWithoutSql) {
  TDemoDatabase data(88, 1);
  TLocalServer server(data.Url());
  data.Open()->Execute("DROP TABLE OBSPEDIDO");
  auto con = server.Connect();
  try {
    con->Call("GetObser", {"0001", "0000000010"});
    FAIL();
  } catch (const fw::EServerError& e) {
    EXPECT_EQ(e.Code(), -32603);
    EXPECT_EQ(std::string(e.what()).find("OBSPEDIDO"), std::string::npos) << e.what();
  }
  ASSERT_EQ(server.log.size(), 1u);
  EXPECT_NE(server.log[0].find("OBSPEDIDO"), std::string::npos);
  // The rest keeps working.
  EXPECT_FALSE(OrderNumbers(con->Call("GetPedido", TFiltro{}.GetPedido())).empty());
}

}  // namespace
}  // namespace appserver::testing
