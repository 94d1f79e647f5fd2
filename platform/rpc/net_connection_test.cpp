// TNetConnection over its two transports: the in-process one with a fake
// dispatcher, and HTTP against a small server on 127.0.0.1 started by the
// test (it stops when the test ends).
#include <gtest/gtest.h>
#include <httplib.h>

#include <thread>

#include "rpc/net_connection.h"
#include "rpc/rpc_errors.h"

namespace fw {
namespace {

using nlohmann::json;

// Answers "Soma" with the sum of its arguments, "Falha" with a checked
// failure reply and anything else with a JSON-RPC error.
json FakeDispatch(const json& request) {
  json reply = {{"jsonrpc", "2.0"}, {"id", request["id"]}};
  if (request["method"] == "Soma") {
    double sum = 0;
    for (const json& a : request["params"]) sum += a.get<double>();
    reply["result"] = sum;
  } else if (request["method"] == "Falha") {
    reply["result"] = {{"status", "error"}, {"message", "Pedido não encontrado."}};
  } else {
    reply["error"] = {{"code", -32601}, {"message", "Método inexistente."}};
  }
  return reply;
}

TEST(NetConnectionTest, InProcessCallsRunBeforeConnectOnceAndReturnTheResult) {
  TNetConnection con("netConPed");
  con.ServerName = "Zqv41800.rdmConfPedido";
  int beforeConnect = 0;
  con.BeforeConnect = [&](TNetConnection& sender) {
    ++beforeConnect;
    sender.SetAddress("http://127.0.0.1:4321");
  };
  std::vector<json> seen;
  con.UseTransport(MakeInProcessTransport([&](const json& request) {
    seen.push_back(request);
    return FakeDispatch(request);
  }));
  EXPECT_FALSE(con.Connected());
  EXPECT_EQ(con.Call("Soma", {1, 2.5}), 3.5);  // opens on demand
  EXPECT_TRUE(con.Connected());
  EXPECT_EQ(con.Call("Soma", {}), 0.0);
  EXPECT_EQ(beforeConnect, 1);
  EXPECT_EQ(con.Address(), "127.0.0.1:4321");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0]["jsonrpc"], "2.0");
  EXPECT_EQ(seen[0]["params"], json({1, 2.5}));
  EXPECT_NE(seen[0]["id"], seen[1]["id"]);
  con.SetConnected(false);
  con.SetConnected(true);
  EXPECT_EQ(beforeConnect, 2);
}

TEST(NetConnectionTest, ErrorRepliesAndTheRaiseFlag) {
  TNetConnection con;
  con.UseTransport(MakeInProcessTransport(FakeDispatch));
  json failure = con.Call("Falha", {});
  EXPECT_EQ(failure["status"], "error");  // returned: the caller checks it
  try {
    con.Call("Outro", {});
    FAIL();
  } catch (const EServerError& e) {
    EXPECT_STREQ(e.what(), "Método inexistente.");
    EXPECT_EQ(e.Code(), -32601);
  }
  con.RaiseServerErrors = true;
  EXPECT_THROW(con.Call("Falha", {}), EServerError);
  EXPECT_EQ(con.Call("Soma", {2}), 2.0);
}

TEST(NetConnectionTest, TextThatIsNotUtf8IsRefusedBeforeSending) {
  TNetConnection con;
  int sent = 0;
  con.UseTransport(MakeInProcessTransport([&](const json& r) {
    ++sent;
    return FakeDispatch(r);
  }));
  EXPECT_THROW(con.Call("Soma", {std::string("\xff\xfe")}), EConvertError);
  EXPECT_EQ(sent, 0);
}

TEST(NetConnectionTest, RepliesThatAreNotJsonRpcAreRefused) {
  TNetConnection con;
  for (json bad : {json(nullptr), json({{"result", 1}}), json({{"jsonrpc", 2}, {"result", 1}}),
                   json({{"jsonrpc", "2.0"}, {"id", 999}, {"result", 1}}),
                   json({{"jsonrpc", "2.0"}, {"id", 1}})}) {
    con.UseTransport(MakeInProcessTransport([bad](const json&) { return bad; }));
    EXPECT_THROW(con.Call("Soma", {}), EConnectionError) << bad.dump();
  }
}

// A transport that answers every request with one fixed reply text.
class TFixedReply : public TRpcTransport {
 public:
  explicit TFixedReply(std::string text) : text_(std::move(text)) {}
  void Connect() override {}
  void Disconnect() override {}
  json Send(const json&) override {
    json reply = json::parse(text_, nullptr, false);
    if (reply.is_discarded()) throw EConnectionError("Resposta inválida do servidor de aplicação em 127.0.0.1:0.");  // as HTTP says it
    return reply;
  }
  std::string SendText(const json&) override { return text_; }

 private:
  std::string text_;
};

// CallPacket reads the usual reply in one pass; every reply gets from it
// what Call and FromJson give, packet or error.
TEST(NetConnectionTest, CallPacketAnswersAsCallAndFromJson) {
  const std::string packet = R"({"fields":[{"name":"N","type":"string","size":3}],"rows":[["abc"],[null]]})";
  const std::string replies[] = {
      R"({"id":1,"jsonrpc":"2.0","result":)" + packet + "}",
      R"({"jsonrpc":"2.0","result":)" + packet + R"(,"id":1})",
      R"({"id":2,"jsonrpc":"2.0","result":)" + packet + "}",
      R"({"id":1,"jsonrpc":"1.0","result":)" + packet + "}",
      R"({"id":1,"jsonrpc":"2.0","x":0,"result":)" + packet + "}",
      R"({"id":1,"jsonrpc":"2.0","error":{"code":-32601,"message":"Método inexistente."}})",
      R"({"id":1,"jsonrpc":"2.0","result":{"status":"error","message":"Não."}})",
      R"({"id":1,"jsonrpc":"2.0","result":{"fields":[{"name":"N","type":"string","size":3}],"rows":[["abcd"]]}})",
      R"({"id":1,"jsonrpc":"2.0","result":)" + packet + "} x",
      R"({"id":1,"jsonrpc":"2.0"})", "", "null", "[]",
  };
  auto answer = [](auto call) {
    try {
      return call().ToString();
    } catch (const Exception& e) {
      return std::string("erro: ") + e.what();
    }
  };
  for (const std::string& text : replies) {
    auto connect = [&] {
      auto con = std::make_unique<TNetConnection>("netConPed");
      con->UseTransport(std::make_shared<TFixedReply>(text));
      return con;
    };
    auto byCall = connect(), byPacket = connect();
    std::string expected = answer([&] { return TDataPacket::FromJson(byCall->Call("Lista", {})); });
    EXPECT_EQ(answer([&] { return byPacket->CallPacket("Lista", {}); }), expected) << text;
  }
}

// CallCheckedPacket takes a checked reply's packet when the reply says
// "ok", and hands any other result over as Call returns it.
TEST(NetConnectionTest, CallCheckedPacketAnswersAsCall) {
  const std::string packet = R"({"fields":[{"name":"N","type":"float"}],"rows":[[1.5],[2]]})";
  const std::string results[] = {
      R"({"status":"ok","value":)" + packet + "}", R"({"value":)" + packet + R"(,"status":"ok"})",
      R"({"status":"error","message":"Pedido em alteração."})",
      R"({"status":"ok","value":)" + packet + R"(,"x":1})", R"({"status":"ok","value":[]})", packet,
  };
  for (const std::string& result : results) {
    std::string text = R"({"id":1,"jsonrpc":"2.0","result":)" + result + "}";
    TNetConnection byCall("a"), byPacket("b");
    byCall.UseTransport(std::make_shared<TFixedReply>(text));
    byPacket.UseTransport(std::make_shared<TFixedReply>(text));
    json expected = byCall.Call("Lista", {});
    json handed;
    std::optional<TDataPacket> streamed = byPacket.CallCheckedPacket("Lista", {}, handed);
    if (streamed) {
      EXPECT_EQ(expected.value("status", ""), "ok") << text;
      EXPECT_EQ(streamed->ToString(), TDataPacket::FromJson(expected["value"]).ToString()) << text;
    } else {
      EXPECT_EQ(handed, expected) << text;
    }
  }
}

TEST(NetConnectionTest, AddressesAreReadStrictly) {
  TNetConnection con;
  con.SetAddress("http://127.0.0.1:8080/");
  EXPECT_EQ(con.Host, "127.0.0.1");
  EXPECT_EQ(con.Port, 8080);
  con.SetAddress("localhost:9");
  EXPECT_EQ(con.Address(), "localhost:9");
  for (const char* bad : {"", "http://127.0.0.1", "127.0.0.1:", "127.0.0.1:0", "h:70000",
                          "h:12a", ":80"})
    EXPECT_THROW(con.SetAddress(bad), EConvertError) << bad;
  EXPECT_EQ(con.Address(), "localhost:9");  // unchanged by the refusals
}

// A JSON-RPC endpoint on 127.0.0.1 at a free port, for the length of a test.
class TestServer {
 public:
  explicit TestServer(std::string token = {}) {
    server_.set_pre_routing_handler([token](const httplib::Request& req, httplib::Response& res) {
      if (!token.empty() && req.get_header_value("Authorization") != "Bearer " + token) {
        res.status = 401;
        return httplib::Server::HandlerResponse::Handled;
      }
      return httplib::Server::HandlerResponse::Unhandled;
    });
    server_.Get("/Mod", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("{}", "application/json");
    });
    server_.Post("/Mod", [this](const httplib::Request& req, httplib::Response& res) {
      if (garbage) {
        res.set_content("isto não é JSON", "text/plain");
        return;
      }
      res.set_content(FakeDispatch(json::parse(req.body)).dump(), "application/json");
    });
    server_.set_keep_alive_timeout(1);  // idle connections do not hold up Stop
    port = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() is only heard once the accept loop runs.
    for (int i = 0; i < 5000 && !server_.is_running(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~TestServer() { Stop(); }
  void Stop() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }
  int port = 0;
  std::atomic<bool> garbage{false};

 private:
  httplib::Server server_;
  std::thread thread_;
};

TEST(NetConnectionHttpTest, CallsOverHttp) {
  TestServer server;
  TNetConnection con;
  con.ServerName = "Mod";
  con.BeforeConnect = [&](TNetConnection& c) { c.SetAddress("http://127.0.0.1:" + std::to_string(server.port)); };
  con.Open();
  EXPECT_TRUE(con.Connected());
  EXPECT_EQ(con.Call("Soma", {40, 2}), 42.0);
  EXPECT_EQ(con.Call("Falha", {})["message"], "Pedido não encontrado.");
  EXPECT_THROW(con.Call("Nada", {}), EServerError);
  server.garbage = true;
  EXPECT_THROW(con.Call("Soma", {1}), EConnectionError);
}

TEST(NetConnectionHttpTest, UnknownModuleAndMissingTokenAreRefusedAtOpen) {
  TestServer server("segredo");
  TNetConnection con;
  con.Port = server.port;
  con.ServerName = "Mod";
  try {
    con.Open();  // no token
    FAIL();
  } catch (const ESessionExpired& e) {
    EXPECT_STREQ(e.what(), "Sessão inválida ou expirada. Entre novamente.");
  }
  EXPECT_FALSE(con.Connected());
  con.Token = "segredo";
  con.ServerName = "Outro.rdmModulo";
  try {
    con.Open();
    FAIL();
  } catch (const EServerError& e) {
    EXPECT_NE(std::string(e.what()).find("Outro.rdmModulo"), std::string::npos);
  }
  con.ServerName = "Mod";
  con.Open();
  EXPECT_EQ(con.Call("Soma", {1, 1}), 2.0);
}

TEST(NetConnectionHttpTest, ServerThatIsDownIsReportedWithItsAddress) {
  int port;
  {
    TestServer server;
    port = server.port;
  }  // stopped: nothing listens there now
  TNetConnection con;
  con.ServerName = "Mod";
  con.Port = port;
  std::string expected =
      "Não foi possível conectar ao servidor de aplicação em 127.0.0.1:" + std::to_string(port) + ".";
  try {
    con.Open();
    FAIL();
  } catch (const EConnectionError& e) {
    EXPECT_EQ(e.what(), expected);
  }
  EXPECT_FALSE(con.Connected());
  try {
    con.Call("Soma", {});
    FAIL();
  } catch (const EConnectionError& e) {
    EXPECT_EQ(e.what(), expected);
  }
}

TEST(NetConnectionHttpTest, ServerGoingAwayClosesTheConnection) {
  auto server = std::make_unique<TestServer>();
  TNetConnection con;
  con.ServerName = "Mod";
  con.Port = server->port;
  EXPECT_EQ(con.Call("Soma", {1}), 1.0);
  server.reset();
  EXPECT_THROW(con.Call("Soma", {1}), EConnectionError);
  EXPECT_FALSE(con.Connected());
}

}  // namespace
}  // namespace fw
