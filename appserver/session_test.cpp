// Signing in over HTTP: passwords, lockout, the session every module
// request needs, the operator arguments a session must match, expiry and
// sign-out, and sessions shared by two servers on one database.
#include <gtest/gtest.h>

#include "appserver/http_test_support.h"
#include "rpc/rpc_errors.h"

namespace appserver::testing {
namespace {

constexpr double kHour = 1.0 / 24;
const std::string kPath = "/" + std::string(kModuleName);

class SessionTest : public THttpFixture {
 protected:
  httplib::Result SignInReply(const json& body) { return Post("/session", body.dump()); }
  httplib::Result Delete(const std::string& token, int port = 0) {
    httplib::Client client("127.0.0.1", port ? port : port_);
    client.set_bearer_token_auth(token);
    return client.Delete("/session");
  }
  int CallStatus(const std::string& token, int port = 0) {
    httplib::Client client("127.0.0.1", port ? port : port_);
    if (!token.empty()) client.set_bearer_token_auth(token);
    std::string call = R"({"jsonrpc":"2.0","method":"GetParamPedido","params":["0001"],"id":1})";
    httplib::Result res = client.Post(kPath.c_str(), call, "application/json");
    return res ? res->status : -1;
  }
  std::string PendingOrder() {
    return Text(*data_.Open(),
                "SELECT P.NRPEDIDO FROM PEDIDO P WHERE P.CDFILIAL = '0001' AND P.IDSITPEDIDO = '1'"
                " AND NOT EXISTS (SELECT 1 FROM BLOQPEDIDO B WHERE B.CDFILIAL = P.CDFILIAL AND"
                " B.NRPEDIDO = P.NRPEDIDO) ORDER BY P.NRPEDIDO LIMIT 1");
  }
  int64_t History() { return Count(*data_.Open(), "SELECT COUNT(*) FROM HISTSITPEDIDO"); }
};

TEST_F(SessionTest, SignInRightWrongAndLockedOut) {
  httplib::Result right = SignInReply({{"operator", "CARLOS"}, {"password", "demo"}});
  ASSERT_EQ(right->status, 200);
  json session = json::parse(right->body);
  std::string token = session["token"];
  EXPECT_EQ(token.size(), 43u);
  EXPECT_EQ(session["operator"], "CARLOS");
  EXPECT_NEAR(session["expires"].get<double>(), Noon() + 8 * kHour, 1e-9);
  auto db = data_.Open();
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM SESSAOOPER WHERE HSTOKEN = :H", {{"H", TokenHash(token)}}), 1);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM SESSAOOPER WHERE HSTOKEN = :H OR CDOPERADOR = :H",
                  {{"H", token}}), 0);

  // Wrong password, unknown, empty and impossible codes: the same answer.
  for (const auto& [op, password] : std::vector<std::pair<std::string, std::string>>{
           {"CARLOS", "Demo"}, {"NINGUEM", "demo"}, {"", "demo"}, {"CARLOSCARLOS1", "demo"}}) {
    httplib::Result res = SignInReply({{"operator", op}, {"password", password}});
    EXPECT_EQ(res->status, 401) << op;
    EXPECT_EQ(res->body, R"({"error":"Operador ou senha inválidos."})") << op;
  }
  for (const char* bad : {"[]", R"({"operator":1,"password":"x"})", "nada", R"({"operator":"A"})"})
    EXPECT_EQ(Post("/session", bad)->status, 400) << bad;

  // Five failures in a row lock the code for a minute, whatever the password.
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(SignInReply({{"operator", "MARIA"}, {"password", "x"}})->status, 401);
  httplib::Result locked = SignInReply({{"operator", "MARIA"}, {"password", "demo"}});
  EXPECT_EQ(locked->status, 429);
  EXPECT_EQ(locked->get_header_value("Retry-After"), "60");
  EXPECT_EQ(json::parse(locked->body)["error"],
            "Muitas tentativas inválidas para o operador MARIA. Tente novamente em 60 segundos.");
  EXPECT_NE(SignIn("CARLOS"), "") << "another code is not locked";
  now = now + 61.0 / 86400;
  EXPECT_NE(SignIn("MARIA"), "");
}

TEST_F(SessionTest, EveryMethodNeedsALiveSession) {
  std::string daniela = SignIn("DANIELA");
  json items = Connect("DANIELA", daniela)->Call("GetItemPedido", {"0001", "0000000001", "", "T"});
  std::string ended = SignIn("DANIELA");
  ASSERT_EQ(Delete(ended)->status, 204);
  std::string order = PendingOrder();
  std::map<std::string, std::vector<json>> calls = ValidCalls(items);
  calls["SetPedidoPEAN"] = TFiltro{}.SetPedidoPEAN(order + "_", kOperBloq);
  ASSERT_EQ(calls.size(), dispatcher_->MethodNames().size());

  for (const std::string& token : {std::string(), std::string(43, 'A'), ended}) {
    for (const auto& [method, args] : calls) {
      json call = {{"jsonrpc", "2.0"}, {"method", method}, {"params", args}, {"id", 1}};
      httplib::Result res = Post(kPath, call.dump(), token);
      ASSERT_EQ(res->status, 401) << method;
      json reply = json::parse(res->body);
      EXPECT_EQ(reply["error"]["code"], kNoSession) << method;
      EXPECT_EQ(reply["error"]["message"], kSessionExpiredText) << method;
    }
    httplib::Client client("127.0.0.1", port_);
    if (!token.empty()) client.set_bearer_token_auth(token);
    EXPECT_EQ(client.Get(kPath.c_str())->status, 401);
  }
  EXPECT_EQ(History(), 0);
  EXPECT_EQ(Text(*data_.Open(), "SELECT IDSITPEDIDO FROM PEDIDO WHERE CDFILIAL = '0001' AND NRPEDIDO = :N",
                 {{"N", order}}), "1");
  EXPECT_EQ(CallStatus(daniela), 200);
}

TEST_F(SessionTest, OperatorArgumentsMustBeTheSessionsOperator) {
  auto con = Connect("DANIELA");
  json items = con->Call("GetItemPedido", {"0001", "0000000001", "", "T"});
  std::string order = PendingOrder();
  TFiltro maria{.operador = "MARIA"};
  const std::string refusal = "O operador MARIA não é o operador da sessão.";
  struct TCase { const char* method; std::vector<json> args; };
  for (const TCase& c : std::vector<TCase>{
           {"getOperTPed", {"0001", "MARIA"}},
           {"SetPedidoPEAN", maria.SetPedidoPEAN(order + "_", kOperBloq)},
           {"SetItemPedidoPECF", maria.SetItemPedidoPECF("0000000001", items, kOperBloq)}}) {
    json reply = con->Call(c.method, c.args);
    EXPECT_EQ(reply["status"], "error") << c.method;
    EXPECT_EQ(reply["message"], refusal) << c.method;
  }
  try {
    con->Call("GetPedido", maria.GetPedido());
    ADD_FAILURE() << "GetPedido as another operator was answered";
  } catch (const fw::EServerError& e) {
    EXPECT_EQ(e.Code(), kNotSessionOperator);
    EXPECT_EQ(e.what(), refusal);
  }
  EXPECT_EQ(History(), 0);
  // The session's own operator is served.
  EXPECT_EQ(con->Call("SetPedidoPEAN", TFiltro{}.SetPedidoPEAN(order + "_", kOperBloq))["status"], "ok");
  EXPECT_EQ(History(), 1);
}

TEST_F(SessionTest, SessionsExpireWithoutUseEndOnSignOutAndAreShared) {
  std::string token = SignIn("CARLOS");
  for (double hours : {7.0, 7.0}) {  // each use moves the expiry on
    now = now + hours * kHour;
    EXPECT_EQ(CallStatus(token), 200) << hours;
  }
  now = now + 8 * kHour + 2.0 / 1440;
  EXPECT_EQ(CallStatus(token), 401);
  auto expired = Connect("CARLOS", token);
  EXPECT_THROW(expired->Open(), fw::ESessionExpired);

  // A second server on the same database knows the sessions of the first.
  TDbPool pool(data_.Url());
  TDispatcher dispatcher(kModuleName, OrderServiceMethods(pool));
  TSessionStore sessions(pool, TSessionOptions{}, [this] { return now.load(); });
  THttpServer other(dispatcher, sessions, THttpOptions{});
  int otherPort = other.Bind();
  std::thread serving([&] { other.Run(); });
  token = SignIn("CARLOS");
  EXPECT_EQ(CallStatus(token, otherPort), 200);
  EXPECT_EQ(Delete(token, otherPort)->status, 204);
  EXPECT_EQ(CallStatus(token), 401);
  EXPECT_EQ(Delete(token)->status, 401);
  other.Stop();
  serving.join();
}

}  // namespace
}  // namespace appserver::testing
