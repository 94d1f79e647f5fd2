// The order service served over HTTP on 127.0.0.1 by this process, for the
// benchmarks: pool, dispatcher, sessions and server on a database, with a
// session of one operator. Stops with the object. Header-only.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "appserver/db_pool.h"
#include "appserver/dispatcher.h"
#include "appserver/http_server.h"
#include "appserver/order_service.h"
#include "appserver/session_store.h"

namespace bench {

struct TServedModule {
  TServedModule(const std::string& url, const std::string& op, const std::string& password)
      : pool(url),
        dispatcher(appserver::kModuleName, appserver::OrderServiceMethods(pool)),
        sessions(pool, appserver::TSessionOptions{}, appserver::LocalNow),
        token(sessions.SignIn(op, password).Token),
        server(dispatcher, sessions, appserver::THttpOptions{}),
        port(server.Bind()),
        thread([this] { server.Run(); }) {}
  ~TServedModule() {
    server.Stop();
    thread.join();
  }

  appserver::TDbPool pool;
  appserver::TDispatcher dispatcher;
  appserver::TSessionStore sessions;
  std::string token;
  appserver::THttpServer server;
  int port;
  std::thread thread;
};

}  // namespace bench
