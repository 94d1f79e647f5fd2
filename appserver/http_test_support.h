// The HTTP endpoint of the tests: the order service and the session store
// on a demo database whose operators all have the password "demo" (plus
// the operators OPER0..OPER7 for tests of many operators at once), served
// on 127.0.0.1 at a free port and stopped with the fixture. The clock of
// the service and of the sessions is `now`. Header-only, tests only.
#pragma once

#include <gtest/gtest.h>
#include <httplib.h>

#include <map>
#include <thread>

#include "appserver/http_server.h"
#include "appserver/operator_passwords.h"
#include "appserver/session_store.h"
#include "appserver/test_support.h"

namespace appserver::testing {

inline constexpr int kExtraOperators = 8;

// Valid arguments of each of the module's methods, as DANIELA on branch
// 0001; `items` is the item packet of order 0000000001.
inline std::map<std::string, std::vector<json>> ValidCalls(const json& items) {
  return {{"GetPedido", TFiltro{}.GetPedido()},
          {"SetPedidoPEAN", TFiltro{}.SetPedidoPEAN("", kOperBloq)},
          {"SetItemPedidoPECF", TFiltro{}.SetItemPedidoPECF("0000000001", items, kOperBloq)},
          {"GetItemPedido", {"0001", "0000000001", "", "T"}},
          {"GetPosiEstoq", {"0001", "0000000001", "001", "0000000001"}},
          {"GetPrazoPgto", {"0001", "0000000001"}},
          {"GetObser", {"0001", "0000000001"}},
          {"GetImposPedTot", {"0001", "0000000001"}},
          {"getOperTPed", {"0001", "DANIELA"}},
          {"GetItemErro", {"0001", "0000000001"}},
          {"GetParamPedido", {"0001"}},
          {"GetPedIErro", {"0001"}},
          {"GetNrPedido", {"0001"}}};
}

class THttpFixture : public ::testing::Test {
 protected:
  THttpFixture() : data_(400, 21), pool_(data_.Url()) {
    {
      auto db = data_.Open();
      for (int i = 0; i < kExtraOperators; ++i)
        db->Execute("INSERT INTO OPERADOR (CDOPERADOR, NMOPERADOR) VALUES (:C, :C)",
                    {{"C", "OPER" + std::to_string(i)}});
      SetEveryPassword(*db, "demo");
    }
    dispatcher_ = std::make_unique<TDispatcher>(kModuleName,
                                                OrderServiceMethods(pool_, [this] { return now.load(); }));
    sessions_ = std::make_unique<TSessionStore>(pool_, TSessionOptions{}, [this] { return now.load(); });
    server_ = std::make_unique<THttpServer>(*dispatcher_, *sessions_, THttpOptions{});
    port_ = server_->Bind();
    thread_ = std::thread([this] { server_->Run(); });
  }
  ~THttpFixture() override {
    server_->Stop();
    thread_.join();
  }

  // Signs in over HTTP and answers the token ("" when refused).
  std::string SignIn(const std::string& op, const std::string& password = "demo") {
    httplib::Result res = Post("/session", json{{"operator", op}, {"password", password}}.dump());
    return res && res->status == 200 ? json::parse(res->body)["token"].get<std::string>() : "";
  }
  // A connection signed in as `op` (with `token` when given instead).
  std::unique_ptr<fw::TNetConnection> Connect(const std::string& op = "DANIELA",
                                              const std::string& token = {}) {
    auto con = std::make_unique<fw::TNetConnection>("netConPed");
    con->ServerName = kModuleName;
    con->Token = token.empty() ? SignIn(op) : token;
    con->BeforeConnect = [this](fw::TNetConnection& c) {
      c.SetAddress("http://127.0.0.1:" + std::to_string(port_));
    };
    return con;
  }
  httplib::Result Post(const std::string& path, const std::string& body,
                       const std::string& token = {}, const char* type = "application/json") {
    httplib::Client client("127.0.0.1", port_);
    if (!token.empty()) client.set_bearer_token_auth(token);
    return client.Post(path.c_str(), body, type);
  }

  std::atomic<double> now{Noon()};
  TDemoDatabase data_;
  TDbPool pool_;
  std::unique_ptr<TDispatcher> dispatcher_;
  std::unique_ptr<TSessionStore> sessions_;
  std::unique_ptr<THttpServer> server_;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace appserver::testing
