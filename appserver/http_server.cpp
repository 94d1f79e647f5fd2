#include "appserver/http_server.h"

#include <httplib.h>

#include <chrono>
#include <thread>

namespace appserver {

THttpServer::THttpServer(const TDispatcher& dispatcher, THttpOptions options)
    : dispatcher_(dispatcher), options_(std::move(options)),
      server_(std::make_unique<httplib::Server>()) {
  httplib::Server& s = *server_;
  int threads = options_.Threads;
  s.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  s.set_payload_max_length(options_.MaxBodyBytes);
  s.set_tcp_nodelay(true);
  s.set_keep_alive_timeout(2);  // an idle client holds up a stop at most this long
  s.set_read_timeout(30, 0);
  s.set_write_timeout(30, 0);

  std::string token = options_.Token;
  s.set_pre_routing_handler([token](const httplib::Request& req, httplib::Response& res) {
    if (token.empty() || req.get_header_value("Authorization") == "Bearer " + token)
      return httplib::Server::HandlerResponse::Unhandled;
    res.status = 401;
    res.set_header("WWW-Authenticate", "Bearer");
    res.set_content(R"({"erro":"Acesso não autorizado ao servidor de aplicação."})",
                    "application/json");
    return httplib::Server::HandlerResponse::Handled;
  });

  std::string path = "/" + dispatcher_.ModuleName();
  // The body is read here rather than by the library, which would refuse
  // bodies of other content types (form-encoded, as curl sends by
  // default) beyond a few kilobytes.
  s.Post(path, [this](const httplib::Request& req, httplib::Response& res,
                      const httplib::ContentReader& read) {
    std::string body;
    bool tooLarge = false;
    bool complete = read([&](const char* data, size_t length) {
      if (body.size() + length > options_.MaxBodyBytes) {
        tooLarge = true;
        return false;
      }
      body.append(data, length);
      return true;
    });
    if (!complete) {
      // The library stops reading a declared length over the limit itself.
      bool declaredTooLarge = false;
      if (req.has_header("Content-Length")) {
        std::string declared = req.get_header_value("Content-Length");
        declaredTooLarge = declared.size() > 19 || std::stoull("0" + declared) > options_.MaxBodyBytes;
      }
      res.status = tooLarge || declaredTooLarge ? 413 : 400;
      return;
    }
    std::string reply = dispatcher_.HandleText(body);
    if (reply.empty()) {
      res.status = 204;
      return;
    }
    res.set_content(std::move(reply), "application/json");
  });
  s.Get(path, [this](const httplib::Request&, httplib::Response& res) {
    nlohmann::json info = {{"modulo", dispatcher_.ModuleName()},
                           {"metodos", dispatcher_.MethodNames()}};
    res.set_content(info.dump(), "application/json");
  });
  s.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    res.status = 500;
    res.set_content(R"({"erro":"Erro interno do servidor de aplicação."})", "application/json");
  });
}

THttpServer::~THttpServer() = default;

int THttpServer::Bind() {
  int port = options_.Port == 0 ? server_->bind_to_any_port(options_.Host)
                                : (server_->bind_to_port(options_.Host, options_.Port)
                                       ? options_.Port
                                       : -1);
  if (port <= 0)
    throw std::runtime_error("Não foi possível escutar em " + options_.Host + ":" +
                             std::to_string(options_.Port) + ".");
  return port;
}

void THttpServer::Run() {
  if (!stopping_) server_->listen_after_bind();
  finished_ = true;
}

void THttpServer::Stop() {
  stopping_ = true;
  // A stop is only heard once Run listens: wait for that (or for Run to
  // have returned), a bounded while.
  for (int i = 0; i < 2000 && !server_->is_running() && !finished_; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  server_->stop();
}

}  // namespace appserver
