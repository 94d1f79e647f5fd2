#include "rpc/check_result.h"

#include "rpc/rpc_errors.h"

namespace fw {

namespace {
const char* kUnexpected = "Resposta do servidor de aplicação em formato inesperado.";
}

bool IsErrorReply(const nlohmann::json& reply) {
  if (!reply.is_object()) return false;
  auto status = reply.find("status");
  return status != reply.end() && status->is_string() && *status == "error";
}

nlohmann::json CheckResultServ(const nlohmann::json& reply) {
  if (!reply.is_object()) throw EServerError(kUnexpected);
  auto status = reply.find("status");
  if (status == reply.end() || !status->is_string()) throw EServerError(kUnexpected);
  if (*status == "ok") {
    auto value = reply.find("value");
    return value == reply.end() ? nlohmann::json() : *value;
  }
  if (*status == "error") {
    auto message = reply.find("message");
    if (message != reply.end() && message->is_string() && !message->get<std::string>().empty())
      throw EServerError(message->get<std::string>());
    throw EServerError("O servidor de aplicação recusou a operação sem informar o motivo.");
  }
  throw EServerError(kUnexpected);
}

}  // namespace fw
