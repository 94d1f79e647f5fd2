#include "rpc/net_connection.h"

#include "data/data_packet.h"

#include <charconv>

#include "rpc/check_result.h"
#include "rpc/rpc_errors.h"

namespace fw {

TNetConnection::TNetConnection(std::string name) : Name(std::move(name)) {}

TNetConnection::~TNetConnection() = default;

void TNetConnection::SetAddress(std::string_view address) {
  std::string_view rest = address;
  if (rest.starts_with("http://")) rest.remove_prefix(7);
  while (!rest.empty() && rest.back() == '/') rest.remove_suffix(1);
  size_t colon = rest.rfind(':');
  int port = 0;
  if (colon == std::string_view::npos || colon == 0) {
    throw EConvertError("Endereço do servidor de aplicação inválido: '" + std::string(address) +
                        "' (esperado http://máquina:porta).");
  }
  std::string_view digits = rest.substr(colon + 1);
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
  if (ec != std::errc() || end != digits.data() + digits.size() || port <= 0 || port > 65535) {
    throw EConvertError("Porta inválida no endereço do servidor de aplicação: '" +
                        std::string(address) + "'.");
  }
  Host = std::string(rest.substr(0, colon));
  Port = port;
}

std::string TNetConnection::Address() const { return Host + ":" + std::to_string(Port); }

void TNetConnection::UseTransport(std::shared_ptr<TRpcTransport> transport) {
  Close();
  given_ = std::move(transport);
}

void TNetConnection::Open() {
  if (Connected()) return;
  if (BeforeConnect) BeforeConnect(*this);
  std::shared_ptr<TRpcTransport> transport = given_;
  if (!transport) {
    THttpEndpoint endpoint;
    endpoint.Host = Host;
    endpoint.Port = Port;
    endpoint.ServerName = ServerName;
    endpoint.Token = Token;
    transport = MakeHttpTransport(endpoint);
  }
  transport->Connect();
  transport_ = std::move(transport);
}

void TNetConnection::Close() {
  if (!transport_) return;
  transport_->Disconnect();
  transport_.reset();
}

nlohmann::json TNetConnection::Request(const std::string& method, std::vector<nlohmann::json> args) {
  nlohmann::json request = {{"jsonrpc", "2.0"},
                            {"method", method},
                            {"params", std::move(args)},
                            {"id", nextId_++}};
  Open();
  return request;
}

namespace {

// Whether the members beside the packet are those of a plain reply: the
// version and this request's id, and for a checked reply that succeeded
// ({"status": "ok", "value": packet}) that status alone.
bool PlainReply(const std::vector<nlohmann::json>& others, const nlohmann::json& request, bool checked) {
  bool plain = others[0].size() == 2 && others[0].value("jsonrpc", nlohmann::json()) == "2.0" &&
               others[0].value("id", nlohmann::json()) == request["id"];
  if (checked) plain = plain && others[1].size() == 1 && others[1].value("status", nlohmann::json()) == "ok";
  return plain;
}

}  // namespace

template <typename Send>
auto TNetConnection::Exchange(const std::string& method, Send send) {
  try {
    return send(*transport_);
  } catch (const EConnectionError&) {
    Close();
    throw;
  } catch (const nlohmann::json::type_error&) {
    // Writing the request out failed before anything was sent.
    throw EConvertError("Os argumentos de '" + method +
                        "' contêm texto com caracteres inválidos (UTF-8).");
  }
}

nlohmann::json TNetConnection::ResultOf(nlohmann::json reply, const nlohmann::json& request) {
  auto version = reply.is_object() ? reply.find("jsonrpc") : reply.end();
  if (!reply.is_object() || version == reply.end() || *version != "2.0")
    throw EConnectionError("Resposta inválida do servidor de aplicação em " + Address() + ".");
  if (auto error = reply.find("error"); error != reply.end()) {
    std::string message = "O servidor de aplicação informou um erro.";
    int code = 0;
    if (error->is_object()) {
      if (auto m = error->find("message"); m != error->end() && m->is_string()) message = *m;
      if (auto c = error->find("code"); c != error->end() && c->is_number_integer()) code = *c;
    }
    throw EServerError(message, code);
  }
  auto result = reply.find("result");
  if (result == reply.end() || reply.value("id", nlohmann::json()) != request["id"])
    throw EConnectionError("Resposta inválida do servidor de aplicação em " + Address() + ".");
  if (RaiseServerErrors && IsErrorReply(*result)) CheckResultServ(*result);
  return std::move(*result);
}

nlohmann::json TNetConnection::Call(const std::string& method, std::vector<nlohmann::json> args) {
  nlohmann::json request = Request(method, std::move(args));
  nlohmann::json reply = Exchange(method, [&](TRpcTransport& t) { return t.Send(request); });
  return ResultOf(std::move(reply), request);
}

TDataPacket TNetConnection::CallPacket(const std::string& method, std::vector<nlohmann::json> args) {
  nlohmann::json request = Request(method, std::move(args));
  nlohmann::json result;
  if (std::optional<TDataPacket> packet = Streamed(request, method, {"result"}, result))
    return std::move(*packet);
  return TDataPacket::FromJson(result);
}

std::optional<TDataPacket> TNetConnection::CallCheckedPacket(const std::string& method,
                                                             std::vector<nlohmann::json> args,
                                                             nlohmann::json& result) {
  nlohmann::json request = Request(method, std::move(args));
  return Streamed(request, method, {"result", "value"}, result);
}

std::optional<TDataPacket> TNetConnection::Streamed(const nlohmann::json& request,
                                                    const std::string& method,
                                                    const std::vector<std::string_view>& path,
                                                    nlohmann::json& result) {
  // The packet is read as the reply arrives; the whole text is kept for
  // the ordinary reading only when it is not a plain reply with a packet.
  std::optional<TDataPacket> packet;
  std::string text;
  Exchange(method, [&](TRpcTransport& t) {
    t.SendReading(request, [&](TArrivingText& arriving) {
      std::vector<nlohmann::json> others;
      packet = TDataPacket::ParseMember(arriving, path, others);
      if (packet && !PlainReply(others, request, path.size() == 2)) packet.reset();
      if (!packet) text = arriving.Whole();
    });
  });
  if (packet) return packet;
  // Anything but a plain reply with a packet: read as Call reads it.
  nlohmann::json reply = nlohmann::json::parse(text, nullptr, false);
  if (reply.is_discarded())
    throw EConnectionError("Resposta inválida do servidor de aplicação em " + Address() + ".");
  result = ResultOf(std::move(reply), request);
  return std::nullopt;
}

}  // namespace fw
