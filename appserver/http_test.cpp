// The HTTP endpoint on 127.0.0.1 at a free port (stopped at the end of each
// test): calls through TNetConnection, refusals at the HTTP level, bad
// input answered cleanly while the server keeps serving, and operators on
// several threads confirming the same orders at once.
#include <gtest/gtest.h>
#include <httplib.h>

#include <latch>
#include <map>
#include <set>
#include <thread>

#include "appserver/http_test_support.h"
#include "rpc/check_result.h"
#include "rpc/key_list.h"
#include "rpc/rpc_errors.h"

namespace appserver::testing {
namespace {

class HttpTest : public THttpFixture {};

TEST_F(HttpTest, MethodsOverTheWire) {
  auto con = Connect();
  con->Open();
  std::vector<std::string> orders = OrderNumbers(con->Call("GetPedido", TFiltro{}.GetPedido()));
  EXPECT_EQ(orders.front(), "0000000001");
  json count = fw::CheckResultServ(con->Call("GetItemErro", {"0001", "0000000003"}));
  EXPECT_EQ(count["rows"][0][0], 1.0);
  EXPECT_EQ(con->Call("GetImposPedTot", {"0001", "9"})["status"], "error");
}

TEST_F(HttpTest, HttpLevelRefusals) {
  EXPECT_EQ(Post("/Outro.rdmModulo", "{}")->status, 404);
  EXPECT_EQ(Post("/", "{}")->status, 404);
  std::string token = SignIn("DANIELA");
  std::string huge(8u * 1024 * 1024 + 1, ' ');
  // Refused on its declared length: 413 and the connection closed unread,
  // which a client still sending may see as a reset instead.
  httplib::Result tooLarge = Post("/" + std::string(kModuleName), huge, token);
  EXPECT_TRUE(!tooLarge || tooLarge->status == 413);
  // Up to the limit any content type is read: a large form-encoded body too.
  std::string request = R"({"jsonrpc":"2.0","method":"GetParamPedido","params":["0004"],"id":1})";
  httplib::Result form = Post("/" + std::string(kModuleName), request + std::string(100000, ' '),
                              token, "application/x-www-form-urlencoded");
  ASSERT_EQ(form->status, 200);
  EXPECT_EQ(json::parse(form->body)["result"]["rows"][0][6], "2");
  // A notification has no reply.
  EXPECT_EQ(Post("/" + std::string(kModuleName),
                 R"({"jsonrpc":"2.0","method":"GetParamPedido","params":["0001"]})", token)
                ->status,
            204);
  auto con = Connect();
  con->ServerName = "Zqv99999.rdmOutro";
  EXPECT_THROW(con->Open(), fw::EServerError);
}

TEST_F(HttpTest, BadInputIsAnsweredAndTheServerKeepsServing) {
  const std::string path = "/" + std::string(kModuleName);
  std::string token = SignIn("DANIELA");
  auto code = [&](const std::string& body) {
    httplib::Result res = Post(path, body, token);
    EXPECT_EQ(res->status, 200);
    return json::parse(res->body)["error"]["code"].get<int>();
  };
  EXPECT_EQ(code("{\"jsonrpc\":"), -32700);
  EXPECT_EQ(code("\xff\xfe{}"), -32700);
  EXPECT_EQ(code(R"({"jsonrpc":"2.0","method":"GetPedido","params":["\ud800"],"id":1})"), -32700);
  EXPECT_EQ(code(R"({"jsonrpc":"2.0","method":"GetPedido","params":[],"id":1})"), -32602);
  EXPECT_EQ(code(R"({"jsonrpc":"2.0","method":"GetObser","params":[1,2],"id":1})"), -32602);
  EXPECT_EQ(code(R"({"jsonrpc":"2.0","method":"DROP TABLE PEDIDO","params":[],"id":1})"), -32601);

  auto con = Connect();
  auto db = data_.Open();
  int64_t pendingBefore = Count(*db, "SELECT COUNT(*) FROM PEDIDO WHERE IDSITPEDIDO = '1'");
  // A 1 MiB text in each argument of each method in turn, the others valid.
  json items = con->Call("GetItemPedido", {"0001", "0000000001", "", "T"});
  std::map<std::string, std::vector<json>> valid = ValidCalls(items);
  ASSERT_EQ(valid.size(), dispatcher_->MethodNames().size());
  std::string mega(1 << 20, 'x');
  for (const auto& [method, args] : valid) {
    for (size_t i = 0; i < args.size(); ++i) {
      std::vector<json> bad = args;
      bad[i] = mega;
      try {
        json reply = con->Call(method, bad);
        EXPECT_TRUE(reply.is_object()) << method << " " << i;  // a packet or a checked reply
        EXPECT_LT(reply.dump().size(), 200000u) << method << " " << i;
      } catch (const fw::EServerError& e) {
        // Too long, or (in the operator's place) not the session's operator.
        EXPECT_TRUE(e.Code() == kInvalidParams || e.Code() == kNotSessionOperator)
            << method << " " << i << ": " << e.what();
        EXPECT_LT(std::string(e.what()).size(), 400u) << method << " " << i;
      }
    }
  }
  // "' OR 1=1 --" in every list, bare and as a well-formed key.
  for (const std::string& evil : {std::string("' OR 1=1 --"), fw::JoinKeyList({"' OR 1=1 --"})}) {
    TFiltro f{.vendLista = evil, .vendTodos = "", .comisLista = evil, .comisTodos = "",
              .cliLista = evil, .cliTodos = "", .munLista = evil, .munTodos = "",
              .prodLista = evil, .prodTodos = "", .nrLista = evil, .nrTodos = "",
              .tipoLista = evil, .tipoTodos = ""};
    for (const char* method : {"GetPedido", "SetPedidoPEAN"}) {
      try {
        json reply = std::string(method) == "GetPedido"
                         ? con->Call(method, f.GetPedido())
                         : con->Call(method, f.SetPedidoPEAN(evil + "_", kOperBloq));
        if (reply.contains("rows")) {
          EXPECT_TRUE(reply["rows"].empty());
        } else {
          EXPECT_EQ(reply["status"], "error") << reply.dump();
        }
      } catch (const fw::EServerError& e) {
        EXPECT_EQ(e.Code(), -32602) << e.what();
      }
    }
    try {
      EXPECT_TRUE(con->Call("GetItemPedido", {"0001", "0000000001", evil, ""})["rows"].empty());
    } catch (const fw::EServerError& e) {
      EXPECT_EQ(e.Code(), -32602) << e.what();
    }
  }
  // Nothing was harmed and the server still answers.
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM PEDIDO"), 400);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM HISTSITPEDIDO"), 0);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM PEDIDO WHERE IDSITPEDIDO = '1'"), pendingBefore);
  EXPECT_FALSE(OrderNumbers(con->Call("GetPedido", TFiltro{}.GetPedido())).empty());
}

// Eight operators confirm overlapping sets of the same pending orders at
// the same moment, each on its own connection and thread. Every order
// moves once; each confirmation moves all its orders or none; every
// operator whose confirmation did not move them got a refusal.
TEST_F(HttpTest, ConcurrentConfirmationsMoveEachOrderOnce) {
  auto db = data_.Open();
  std::vector<std::string> pending;
  for (auto& row : db->Query("SELECT P.NRPEDIDO FROM PEDIDO P WHERE P.CDFILIAL = '0001'"
                             " AND P.IDSITPEDIDO = '1' AND NOT EXISTS (SELECT 1 FROM BLOQPEDIDO B"
                             " WHERE B.CDFILIAL = P.CDFILIAL AND B.NRPEDIDO = P.NRPEDIDO)"
                             " ORDER BY P.NRPEDIDO LIMIT 19",
                             {}).Rows)
    pending.push_back(std::get<std::string>(row[0]));
  ASSERT_EQ(pending.size(), 19u);

  constexpr int kThreads = 8;
  for (int round = 0; round < 2; ++round) {
    // Round 0: windows of 4 orders, shifted by 2 (each order in two sets).
    // Round 1: all threads the same 3 orders, not used in round 0.
    std::vector<std::vector<std::string>> sets(kThreads);
    for (int t = 0; t < kThreads; ++t)
      for (int k = 0; k < (round == 0 ? 4 : 3); ++k)
        sets[t].push_back(round == 0 ? pending[(2 * t + k) % 16] : pending[16 + k]);
    int64_t historyBefore = Count(*db, "SELECT COUNT(*) FROM HISTSITPEDIDO");

    std::vector<json> replies(kThreads);
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&, t] {
        auto con = Connect("OPER" + std::to_string(t));
        con->Open();
        std::string list;
        for (const std::string& n : sets[t]) list += n + "_";
        TFiltro f{.operador = "OPER" + std::to_string(t)};
        start.arrive_and_wait();
        replies[t] = con->Call("SetPedidoPEAN", f.SetPedidoPEAN(list, kOperBloq));
      });
    }
    for (auto& th : threads) th.join();

    std::set<std::string> movedBySomeone;
    int winners = 0;
    for (int t = 0; t < kThreads; ++t) {
      std::string op = "OPER" + std::to_string(t);
      int64_t mine = Count(*db, "SELECT COUNT(*) FROM HISTSITPEDIDO WHERE CDOPERADOR = :O"
                                " AND NRSEQHIST > :B", {{"O", op}, {"B", historyBefore}});
      if (replies[t]["status"] == "ok") {
        ++winners;
        EXPECT_EQ(mine, static_cast<int64_t>(sets[t].size())) << op;
        for (const std::string& n : sets[t]) {
          EXPECT_TRUE(movedBySomeone.insert(n).second) << n << " moved twice";
          EXPECT_EQ(Text(*db, "SELECT CDOPERALT FROM PEDIDO WHERE CDFILIAL = '0001' AND NRPEDIDO = :N",
                         {{"N", n}}),
                    op);
        }
      } else {
        EXPECT_EQ(replies[t]["status"], "error") << replies[t].dump();
        EXPECT_NE(replies[t]["message"].get<std::string>().find("não está mais pendente"),
                  std::string::npos);
        EXPECT_EQ(mine, 0) << op << " changed something although refused";
      }
    }
    EXPECT_GE(winners, 1);
    if (round == 1) {
      EXPECT_EQ(winners, 1);
    }
    // Every history row of this round belongs to a winner, one per order.
    EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM HISTSITPEDIDO WHERE NRSEQHIST > :B",
                    {{"B", historyBefore}}),
              static_cast<int64_t>(movedBySomeone.size()));
    for (const std::string& n : movedBySomeone)
      EXPECT_EQ(Text(*db, "SELECT IDSITPEDIDO FROM PEDIDO WHERE CDFILIAL = '0001' AND NRPEDIDO = :N",
                     {{"N", n}}),
                "2");
  }
}

}  // namespace
}  // namespace appserver::testing

namespace appserver::testing {
namespace {

// A list that fails half-way, after its first piece has gone out.
class TBrokenList : public TReplyStream {
 public:
  bool Next(std::string& out) override {
    if (pieces_++ == 0) {
      out += R"({"fields":[{"name":"NRPEDIDO","type":"string","size":10}],"rows":[["0000000001"])";
      return true;
    }
    throw fw::EDatabaseError("Erro do banco de dados: disk I/O error");
  }

 private:
  int pieces_ = 0;
};

TEST_F(HttpTest, AListCutShortHalfWayIsAConnectionErrorAndTheServerGoesOn) {
  std::vector<TMethod> methods = OrderServiceMethods(pool_);
  TMethod broken{"ListaQuebrada", {}, false, [](const TArgs&) { return json(); }};
  broken.RunStream = [](const TArgs&) { return std::make_unique<TBrokenList>(); };
  methods.push_back(broken);
  std::vector<std::string> logged;
  TDispatcher dispatcher(kModuleName, methods, [&](const std::string& line) { logged.push_back(line); });
  THttpServer server(dispatcher, *sessions_, THttpOptions{});
  int port = server.Bind();
  std::thread serving([&] { server.Run(); });
  auto con = Connect();
  con->BeforeConnect = [port](fw::TNetConnection& c) { c.SetAddress("127.0.0.1:" + std::to_string(port)); };
  EXPECT_THROW(con->CallPacket("ListaQuebrada", {}), fw::EConnectionError);
  EXPECT_GT(con->CallPacket("GetPedido", TFiltro{}.GetPedido()).Rows.size(), 100u);
  server.Stop();
  serving.join();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0], "ListaQuebrada: Erro do banco de dados: disk I/O error (resposta interrompida)");
}

}  // namespace
}  // namespace appserver::testing
