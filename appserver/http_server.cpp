#include "appserver/http_server.h"

#include <malloc.h>

#include <httplib.h>

#include "base/json_limits.h"
#include "rpc/server_limits.h"

#include <chrono>
#include <thread>

namespace appserver {

namespace {

using nlohmann::json;

// Replies from this size on are followed by a trim of the allocator.
constexpr size_t kTrimAfterBytes = 1 << 20;

std::string BearerToken(const httplib::Request& req) {
  std::string header = req.get_header_value("Authorization");
  return header.starts_with("Bearer ") ? header.substr(7) : std::string();
}

void JsonError(httplib::Response& res, int status, const std::string& message) {
  res.status = status;
  res.set_content(json{{"error", message}}.dump(), "application/json");
}

// Reads the body up to `limit` bytes; false after answering 413 or 400.
bool ReadBody(const httplib::Request& req, httplib::Response& res,
              const httplib::ContentReader& read, size_t limit, std::string& body) {
  bool tooLarge = fw::DeclaredLength(req) > limit;
  bool complete = !tooLarge && read([&](const char* data, size_t length) {
    if (body.size() + length > limit) {
      tooLarge = true;
      return false;
    }
    body.append(data, length);
    return true;
  });
  if (complete) return true;
  res.status = tooLarge ? 413 : 400;
  if (tooLarge) res.set_header("Connection", "close");  // the rest is left unread
  return false;
}

// A long reply sent as its pieces are written (chunked), the first one
// already written. A piece that cannot be written (the database failing
// half-way) ends the connection: the client sees the reply cut short,
// never a wrong one. The memory of a large reply goes back to the system
// after it.
void SendInPieces(httplib::Response& res, std::string first, std::unique_ptr<TReplyStream> rest) {
  struct TPieces {
    std::string piece;
    std::unique_ptr<TReplyStream> rest;
    bool more = true;
    size_t sent = 0;
  };
  auto pieces = std::make_shared<TPieces>(TPieces{std::move(first), std::move(rest)});
  res.set_chunked_content_provider(
      "application/json",
      [pieces](size_t, httplib::DataSink& sink) {
        TPieces& p = *pieces;
        if (!p.piece.empty() && !sink.write(p.piece.data(), p.piece.size())) return false;
        p.sent += p.piece.size();
        p.piece.clear();
        if (!p.more) {
          sink.done();
          return true;
        }
        try {
          p.more = p.rest->Next(p.piece);
        } catch (const std::exception&) {
          return false;  // logged by the stream
        }
        return true;
      },
      [pieces](bool) {
        pieces->rest.reset();  // the database connection goes back now
        if (pieces->sent >= kTrimAfterBytes) malloc_trim(0);
      });
}

}  // namespace

THttpServer::THttpServer(const TDispatcher& dispatcher, TSessionStore& sessions,
                         THttpOptions options)
    : dispatcher_(dispatcher), sessions_(sessions), options_(std::move(options)),
      server_(std::make_unique<httplib::Server>()) {
  httplib::Server& s = *server_;
  fw::TServerLimits limits;
  limits.MaxBodyBytes = options_.MaxBodyBytes;
  limits.MaxConnections = options_.MaxConnections;
  afterBind_ = fw::ApplyServerLimits(s, limits);
  s.set_tcp_nodelay(true);
  SessionRoutes();
  ModuleRoutes();
  s.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    res.status = 500;
    res.set_content(R"({"erro":"Erro interno do servidor de aplicação."})", "application/json");
  });
}

void THttpServer::SessionRoutes() {
  server_->Post("/session", [this](const httplib::Request& req, httplib::Response& res,
                                   const httplib::ContentReader& read) {
    std::string body;
    if (!ReadBody(req, res, read, options_.MaxSignInBytes, body)) return;
    json request;
    fw::ParseBoundedJson(body, request);  // null when unusable
    auto op = request.is_object() ? request.find("operator") : request.end();
    auto password = request.is_object() ? request.find("password") : request.end();
    if (!request.is_object() || op == request.end() || !op->is_string() ||
        password == request.end() || !password->is_string())
      return JsonError(res, 400, "Pedido de acesso inválido: informe operador e senha.");
    try {
      TSession session = sessions_.SignIn(op->get<std::string>(), password->get<std::string>());
      json reply = {{"token", session.Token}, {"operator", session.Operator},
                    {"expires", session.Expires}};
      res.set_header("Cache-Control", "no-store");
      res.set_content(reply.dump(), "application/json");
    } catch (const TSignInRefused& e) {
      if (e.RetryAfter() > 0) res.set_header("Retry-After", std::to_string(e.RetryAfter()));
      JsonError(res, e.Status(), e.what());
    }
  });
  server_->Delete("/session", [this](const httplib::Request& req, httplib::Response& res) {
    if (sessions_.SignOut(BearerToken(req)))
      res.status = 204;
    else
      JsonError(res, 401, kSessionExpiredText);
  });
}

std::optional<std::string> THttpServer::Authorize(const httplib::Request& req,
                                                  httplib::Response& res) const {
  std::optional<std::string> op = sessions_.OperatorOf(BearerToken(req));
  if (op) return op;
  res.status = 401;
  res.set_header("WWW-Authenticate", "Bearer");
  res.set_header("Connection", "close");  // the body, if any, is left unread
  json reply = {{"jsonrpc", "2.0"},
                {"error", {{"code", kNoSession}, {"message", kSessionExpiredText}}},
                {"id", nullptr}};
  res.set_content(reply.dump(), "application/json");
  return std::nullopt;
}

void THttpServer::ModuleRoutes() {
  std::string path = "/" + dispatcher_.ModuleName();
  // The body is read here rather than by the library, which would refuse
  // bodies of other content types (form-encoded, as curl sends by
  // default) beyond a few kilobytes.
  server_->Post(path, [this](const httplib::Request& req, httplib::Response& res,
                             const httplib::ContentReader& read) {
    std::optional<std::string> op = Authorize(req, res);
    if (!op) return;
    std::string body;
    if (!ReadBody(req, res, read, options_.MaxBodyBytes, body)) return;
    std::unique_ptr<TReplyStream> rest;
    std::string reply = dispatcher_.HandleStreamed(body, &*op, rest);
    if (rest) return SendInPieces(res, std::move(reply), std::move(rest));
    if (reply.empty()) {
      res.status = 204;
      return;
    }
    res.set_content(std::move(reply), "application/json");
  });
  // After a large reply is written, the memory its making took (rows,
  // packet, text) goes back to the system rather than staying with the
  // worker's allocator arena while the server idles.
  server_->set_logger([](const httplib::Request&, const httplib::Response& res) {
    if (res.body.size() >= kTrimAfterBytes) malloc_trim(0);
  });
  server_->Get(path, [this](const httplib::Request& req, httplib::Response& res) {
    if (!Authorize(req, res)) return;
    json info = {{"modulo", dispatcher_.ModuleName()}, {"metodos", dispatcher_.MethodNames()}};
    res.set_content(info.dump(), "application/json");
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
  afterBind_();
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
