#include "host/session_client.h"

#include <httplib.h>

#include <nlohmann/json.hpp>

#include "rpc/rpc_errors.h"

namespace host {

using nlohmann::json;

SignedIn SessionClient::SignIn(const std::string& op, const std::string& password) const {
  httplib::Client client(host_, port_);
  client.set_connection_timeout(5, 0);
  client.set_read_timeout(30, 0);
  json request = {{"operator", op}, {"password", password}};
  httplib::Result res =
      client.Post("/session", request.dump(-1, ' ', false, json::error_handler_t::replace),
                  "application/json");
  if (!res)
    throw fw::EConnectionError("Não foi possível conectar ao servidor de aplicação em " +
                               Address() + ".");
  json reply = json::parse(res->body, nullptr, false);
  if (res->status == 200 && reply.is_object() && reply.value("token", json()).is_string() &&
      reply.value("operator", json()).is_string() && reply.value("expires", json()).is_number())
    return {reply["operator"], reply["token"], reply["expires"]};
  if (reply.is_object() && reply.value("error", json()).is_string())
    throw fw::EServerError(reply["error"].get<std::string>());
  throw fw::EServerError("O servidor de aplicação em " + Address() +
                         " respondeu com o código HTTP " + std::to_string(res->status) + ".");
}

void SessionClient::SignOut(const std::string& token) const noexcept {
  if (token.empty()) return;
  try {
    httplib::Client client(host_, port_);
    client.set_connection_timeout(2, 0);
    client.set_read_timeout(5, 0);
    client.set_bearer_token_auth(token);
    client.Delete("/session");
  } catch (...) {
  }
}

}  // namespace host
