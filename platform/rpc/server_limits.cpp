#include "rpc/server_limits.h"

#include <sys/socket.h>

#include <atomic>
#include <charconv>
#include <cstdint>
#include <memory>

#include "rpc/connection_workers.h"

namespace fw {

size_t DeclaredLength(const httplib::Request& req) {
  if (!req.has_header("Content-Length")) return 0;
  std::string text = req.get_header_value("Content-Length");
  size_t length = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
  return error != std::errc() || end != text.data() + text.size() || text.empty() ? SIZE_MAX
                                                                                  : length;
}

std::function<void()> ApplyServerLimits(httplib::Server& server, const TServerLimits& limits,
                                        TPreRouting next) {
  size_t connections = limits.MaxConnections;
  server.new_task_queue = [connections] { return new TConnectionWorkers(connections); };
  server.set_payload_max_length(limits.MaxBodyBytes);
  server.set_keep_alive_timeout(limits.KeepAliveSeconds);
  server.set_keep_alive_max_count(limits.KeepAliveRequests);
  server.set_read_timeout(limits.IoTimeoutSeconds, 0);
  server.set_write_timeout(limits.IoTimeoutSeconds, 0);
  size_t maxBody = limits.MaxBodyBytes;
  server.set_pre_routing_handler(
      [maxBody, next = std::move(next)](const httplib::Request& req, httplib::Response& res) {
        if (DeclaredLength(req) > maxBody) {
          res.status = 413;
          res.set_header("Connection", "close");  // the body is never read
          res.set_content(R"({"error":"Corpo da requisição grande demais."})", "application/json");
          return httplib::Server::HandlerResponse::Handled;
        }
        // The library compresses a reply when the request accepts it; the
        // request object is the server's own, not const in fact.
        const_cast<httplib::Request&>(req).headers.erase("Accept-Encoding");
        return next ? next(req, res) : httplib::Server::HandlerResponse::Unhandled;
      });
  // The library listens with a queue of 5; listening again on the bound
  // socket sets a longer one.
  auto listening = std::make_shared<std::atomic<int>>(-1);
  server.set_socket_options([listening](socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    listening->store(sock);
  });
  int backlog = limits.ListenBacklog;
  return [listening, backlog] {
    if (int sock = listening->load(); sock >= 0) ::listen(sock, backlog);
  };
}

}  // namespace fw
