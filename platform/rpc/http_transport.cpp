// The HTTP transport: JSON-RPC over cpp-httplib's client.
#include <httplib.h>
#include <malloc.h>

#include <optional>
#include <thread>

#include "rpc/rpc_errors.h"
#include "rpc/transport.h"

namespace fw {
namespace {

const char* kSessionExpired = "Sessão inválida ou expirada. Entre novamente.";

// The message of a JSON-RPC error body, or `fallback`.
std::string ServerMessage(const std::string& body, const char* fallback) {
  nlohmann::json reply = nlohmann::json::parse(body, nullptr, false);
  if (reply.is_object() && reply.contains("error") && reply["error"].is_object()) {
    const nlohmann::json& message = reply["error"].value("message", nlohmann::json());
    if (message.is_string() && !message.get<std::string>().empty()) return message;
  }
  return fallback;
}

class HttpTransport : public TRpcTransport {
 public:
  static constexpr size_t kMaxRefusalBytes = 64 * 1024;

  explicit HttpTransport(const THttpEndpoint& endpoint)
      : endpoint_(endpoint),
        address_(endpoint.Host + ":" + std::to_string(endpoint.Port)),
        path_("/" + endpoint.ServerName) {}

  void Connect() override {
    if (endpoint_.Host.empty() || endpoint_.Port <= 0 || endpoint_.Port > 65535)
      throw EConnectionError("Endereço do servidor de aplicação inválido: '" + address_ + "'.");
    client_ = std::make_unique<httplib::Client>(endpoint_.Host, endpoint_.Port);
    client_->set_keep_alive(true);
    client_->set_tcp_nodelay(true);  // a request is written in two parts: no Nagle wait
    client_->set_connection_timeout(endpoint_.ConnectTimeoutSec, 0);
    client_->set_read_timeout(endpoint_.ReadTimeoutSec, 0);
    client_->set_write_timeout(endpoint_.ReadTimeoutSec, 0);
    if (!endpoint_.Token.empty()) client_->set_bearer_token_auth(endpoint_.Token);
    try {
      httplib::Result res = client_->Get(path_.c_str());
      CheckStatus(res);
    } catch (...) {
      client_.reset();
      throw;
    }
  }

  void Disconnect() override { client_.reset(); }

  nlohmann::json Send(const nlohmann::json& request) override {
    if (!client_) Connect();
    httplib::Result res = client_->Post(path_.c_str(), request.dump(), "application/json");
    CheckStatus(res);
    if (res->status == 204) return nullptr;
    nlohmann::json reply = nlohmann::json::parse(res->body, nullptr, false);
    if (reply.is_discarded())
      throw EConnectionError("Resposta inválida do servidor de aplicação em " + address_ + ".");
    return reply;
  }

  std::string SendText(const nlohmann::json& request) override {
    if (!client_) Connect();
    httplib::Result res = client_->Post(path_.c_str(), request.dump(), "application/json");
    CheckStatus(res);
    if (res->status == 204) return {};
    return std::move(res->body);
  }

  // The reply is received on a thread of its own while `read` reads it
  // here, so a long list is read as the server writes it. After a very
  // large one, the memory its text took goes back to the system.
  void SendReading(const nlohmann::json& request,
                   const std::function<void(TArrivingText&)>& read) override {
    size_t received = Receive(request, read);
    if (received >= kTrimAfterBytes) malloc_trim(0);
  }

 private:
  static constexpr size_t kTrimAfterBytes = 16u << 20;

  // The bytes received.
  size_t Receive(const nlohmann::json& request, const std::function<void(TArrivingText&)>& read) {
    if (!client_) Connect();
    httplib::Request req;
    req.method = "POST";
    req.path = path_;
    req.headers.emplace("Content-Type", "application/json");
    req.body = request.dump();
    TArrivingText arriving;
    int status = 0;
    std::string refusal;  // the body of anything but a 200, for CheckStatus
    req.response_handler = [&](const httplib::Response& r) {
      status = r.status;
      return true;
    };
    size_t received = 0;
    req.content_receiver = [&](const char* data, size_t length, uint64_t, uint64_t) {
      received += length;
      if (status == 200) arriving.Add(data, length);
      else if (refusal.size() < kMaxRefusalBytes) refusal.append(data, length);
      return true;
    };
    std::optional<httplib::Result> res;
    std::thread receiver([&] {
      try {
        res.emplace(client_->send(req));
      } catch (...) {  // nothing may leave the thread; res stays empty
      }
      arriving.Close();
    });
    try {
      read(arriving);
    } catch (...) {
      receiver.join();
      throw;
    }
    receiver.join();
    if (!res)
      throw EConnectionError("A comunicação com o servidor de aplicação em " + address_ +
                             " foi interrompida.");
    if (*res && res->value().status != 200) res->value().body = std::move(refusal);
    CheckStatus(*res);
    return received;
  }

  void CheckStatus(const httplib::Result& res) const {
    if (!res) {
      switch (res.error()) {
        case httplib::Error::Connection:
        case httplib::Error::ConnectionTimeout:
        case httplib::Error::BindIPAddress:
          throw EConnectionError("Não foi possível conectar ao servidor de aplicação em " +
                                 address_ + ".");
        default:
          throw EConnectionError("A comunicação com o servidor de aplicação em " + address_ +
                                 " foi interrompida.");
      }
    }
    switch (res->status) {
      case 200:
      case 204: return;
      case 401: throw ESessionExpired(ServerMessage(res->body, kSessionExpired));
      case 404:
        throw EServerError("O servidor de aplicação em " + address_ + " não oferece o módulo '" +
                           endpoint_.ServerName + "'.");
      case 413:
        throw EServerError("Os dados enviados excedem o limite do servidor de aplicação.");
      default:
        throw EServerError("O servidor de aplicação em " + address_ +
                           " respondeu com o código HTTP " + std::to_string(res->status) + ".");
    }
  }

  THttpEndpoint endpoint_;
  std::string address_;
  std::string path_;
  std::unique_ptr<httplib::Client> client_;
};

class InProcessTransport : public TRpcTransport {
 public:
  explicit InProcessTransport(TRpcHandler handler) : handler_(std::move(handler)) {}
  void Connect() override {}
  void Disconnect() override {}
  nlohmann::json Send(const nlohmann::json& request) override {
    return nlohmann::json::parse(SendText(request));
  }
  std::string SendText(const nlohmann::json& request) override {
    nlohmann::json reply = handler_(nlohmann::json::parse(request.dump()));
    return reply.is_null() ? std::string("null") : reply.dump();
  }

 private:
  TRpcHandler handler_;
};

}  // namespace

std::unique_ptr<TRpcTransport> MakeHttpTransport(const THttpEndpoint& endpoint) {
  return std::make_unique<HttpTransport>(endpoint);
}

std::unique_ptr<TRpcTransport> MakeInProcessTransport(TRpcHandler handler) {
  return std::make_unique<InProcessTransport>(std::move(handler));
}

}  // namespace fw
