#include "appserver/dispatcher.h"

#include "base/errors.h"
#include "base/json_limits.h"
#include "sql/sql_driver.h"

namespace appserver {

namespace {

using nlohmann::json;

// A method's stream followed by the text that closes the reply around it;
// a failure half-way is logged (`note`) and passed on.
class TClosedStream : public TReplyStream {
 public:
  TClosedStream(std::unique_ptr<TReplyStream> inner, std::string closing,
                std::function<void(const std::string&)> note)
      : inner_(std::move(inner)), closing_(std::move(closing)), note_(std::move(note)) {}
  bool Next(std::string& out) override {
    if (!inner_) return false;
    try {
      if (inner_->Next(out)) return true;
    } catch (const std::exception& e) {
      note_(e.what());
      throw;
    }
    inner_.reset();
    out += closing_;
    return false;
  }

 private:
  std::unique_ptr<TReplyStream> inner_;
  std::string closing_;
  std::function<void(const std::string&)> note_;
};

const char* kInternalText =
    "Erro interno do servidor de aplicação. A operação não foi realizada.";
const char* kBusyText =
    "O banco de dados está ocupado por outras operações. Tente novamente em instantes.";

json ErrorReply(const json& id, int code, const std::string& message) {
  return {{"jsonrpc", "2.0"}, {"error", {{"code", code}, {"message", message}}}, {"id", id}};
}

bool ValidId(const json& id) { return id.is_string() || id.is_number() || id.is_null(); }

}  // namespace

TDispatcher::TDispatcher(std::string moduleName, std::vector<TMethod> methods, TLogger log)
    : module_(std::move(moduleName)), methods_(std::move(methods)), log_(std::move(log)) {
  for (size_t i = 0; i < methods_.size(); ++i) index_.emplace(methods_[i].Name, i);
}

std::vector<std::string> TDispatcher::MethodNames() const {
  std::vector<std::string> names;
  for (const TMethod& m : methods_) names.push_back(m.Name);
  return names;
}

void TDispatcher::Log(const std::string& line) const {
  if (log_) log_(line);
}

json TDispatcher::Handle(const json& request, const std::string* sessionOperator) const {
  if (!request.is_array()) return HandleOne(request, sessionOperator);
  if (request.empty())
    return ErrorReply(nullptr, kInvalidRequest, "Requisição JSON-RPC inválida: lote vazio.");
  if (request.size() > kMaxBatch)
    return ErrorReply(nullptr, kInvalidRequest,
                      "Requisição JSON-RPC inválida: lote com mais de " +
                          std::to_string(kMaxBatch) + " chamadas.");
  json replies = json::array();
  for (const json& one : request) {
    json reply = HandleOne(one, sessionOperator);
    if (!reply.is_null()) replies.push_back(std::move(reply));
  }
  return replies.empty() ? json() : replies;
}

std::string TDispatcher::HandleText(std::string_view body,
                                    const std::string* sessionOperator) const {
  std::unique_ptr<TReplyStream> rest;
  std::string text = HandleStreamed(body, sessionOperator, rest);
  if (rest) Drain(*rest, text);
  return text;
}

std::string TDispatcher::HandleStreamed(std::string_view body, const std::string* sessionOperator,
                                        std::unique_ptr<TReplyStream>& rest) const {
  json request;
  json reply;
  switch (fw::ParseBoundedJson(body, request)) {
    case fw::TJsonParse::Ok:
      if (std::optional<std::string> text = HandleAsStream(request, sessionOperator, rest))
        return std::move(*text);
      reply = Handle(request, sessionOperator);
      break;
    case fw::TJsonParse::Malformed:
      reply = ErrorReply(nullptr, kParseError,
                         "Requisição ilegível: o corpo não é um JSON válido.");
      break;
    case fw::TJsonParse::TooDeep:
      reply = ErrorReply(nullptr, kInvalidRequest,
                         "Requisição JSON-RPC inválida: mais de " +
                             std::to_string(fw::kMaxJsonDepth) + " níveis de aninhamento.");
      break;
  }
  return reply.is_null() ? std::string() : reply.dump();
}

json TDispatcher::HandleOne(const json& request, const std::string* sessionOperator) const {
  if (!request.is_object())
    return ErrorReply(nullptr, kInvalidRequest,
                      "Requisição JSON-RPC inválida: esperado um objeto.");
  auto id = request.find("id");
  bool notification = id == request.end();
  json replyId = notification || !ValidId(*id) ? json() : *id;
  auto version = request.find("jsonrpc");
  auto method = request.find("method");
  auto params = request.find("params");
  if (version == request.end() || *version != "2.0")
    return ErrorReply(replyId, kInvalidRequest,
                      "Requisição JSON-RPC inválida: \"jsonrpc\" deve ser \"2.0\".");
  if (!notification && !ValidId(*id))
    return ErrorReply(nullptr, kInvalidRequest,
                      "Requisição JSON-RPC inválida: \"id\" deve ser texto, número ou null.");
  if (method == request.end() || !method->is_string())
    return ErrorReply(replyId, kInvalidRequest,
                      "Requisição JSON-RPC inválida: \"method\" deve ser um texto.");
  if (params != request.end() && !params->is_array())
    return ErrorReply(replyId, kInvalidRequest,
                      "Requisição JSON-RPC inválida: \"params\" deve ser uma lista.");

  json reply;
  auto found = index_.find(method->get<std::string>());
  if (found == index_.end()) {
    reply = ErrorReply(replyId, kMethodNotFound,
                       "Método '" + Shown(method->get<std::string>()) + "' não existe em " +
                           module_ + ".");
  } else {
    try {
      json result = Run(methods_[found->second],
                        params == request.end() ? json::array() : *params, sessionOperator);
      // Members set one by one: a braced list would copy the (large) result.
      reply = json::object();
      reply["jsonrpc"] = "2.0";
      reply["result"] = std::move(result);
      reply["id"] = replyId;
    } catch (const TRpcError& e) {
      reply = ErrorReply(replyId, e.Code(), e.what());
    }
  }
  if (notification) return json();
  return reply;  // moved out, never copied: a reply may hold a list of 100,000 orders
}

void TDispatcher::CheckSessionOperator(const TMethod& method, const TArgs& args,
                                       const std::string* sessionOperator) const {
  if (!sessionOperator || method.OperatorArg <= 0 ||
      args.Str(method.OperatorArg) == *sessionOperator)
    return;
  std::string refusal =
      "O operador " + Shown(args.Str(method.OperatorArg)) + " não é o operador da sessão.";
  if (!method.Checked) throw TRpcError(kNotSessionOperator, refusal);
  throw TServiceError(refusal);
}

// Runs `body` as every method runs: a refusal or failure becomes the
// checked method's {"status": "error"} reply, or a JSON-RPC error.
template <typename Result, typename Body>
Result TDispatcher::Guarded(const TMethod& method, Body body) const {
  std::string failure;
  try {
    return body();
  } catch (const TRpcError&) {
    throw;
  } catch (const TServiceError& e) {
    failure = e.what();
  } catch (const fw::EDatabaseBusy& e) {
    Log(method.Name + ": " + e.what());
    failure = kBusyText;
  } catch (const std::exception& e) {
    Log(method.Name + ": " + e.what());
    failure = kInternalText;
  }
  if (!method.Checked) throw TRpcError(kInternalError, failure);
  json refused = {{"status", "error"}, {"message", failure}};
  if constexpr (std::is_same_v<Result, std::string>) return refused.dump();
  else return refused;
}

json TDispatcher::Run(const TMethod& method, const json& params,
                      const std::string* sessionOperator) const {
  TArgs args(method.Name, method.Signature, params);  // TRpcError(-32602) passes on
  return Guarded<json>(method, [&]() -> json {
    CheckSessionOperator(method, args, sessionOperator);
    json value = method.Run(args);
    if (!method.Checked) return value;
    json ok = json::object();
    ok["status"] = "ok";
    ok["value"] = std::move(value);
    return ok;
  });
}

std::optional<std::string> TDispatcher::HandleAsStream(const json& request,
                                                       const std::string* sessionOperator,
                                                       std::unique_ptr<TReplyStream>& rest) const {
  // Only a plain, valid call of a method that writes its own text; the
  // rest goes the ordinary way, which answers every fault.
  if (!request.is_object()) return std::nullopt;
  auto id = request.find("id"), version = request.find("jsonrpc"), name = request.find("method");
  auto params = request.find("params");
  if (id == request.end() || !ValidId(*id) || version == request.end() || *version != "2.0" ||
      name == request.end() || !name->is_string() || (params != request.end() && !params->is_array()))
    return std::nullopt;
  auto found = index_.find(name->get<std::string>());
  if (found == index_.end() || !methods_[found->second].RunStream) return std::nullopt;
  const TMethod& method = methods_[found->second];
  static const json kNoParams = json::array();
  const json& given = params == request.end() ? kNoParams : *params;  // TArgs keeps a reference
  std::unique_ptr<TReplyStream> stream;
  bool ok = false;
  std::string result;
  try {
    TArgs args(method.Name, method.Signature, given);
    // The first piece is written here, so that what fails at the start
    // (the filter, the confirmation, the statement) is answered as usual.
    result = Guarded<std::string>(method, [&] {
      CheckSessionOperator(method, args, sessionOperator);
      std::unique_ptr<TReplyStream> s = method.RunStream(args);
      std::string first = method.Checked ? "{\"status\":\"ok\",\"value\":" : "";
      if (s->Next(first)) stream = std::move(s);
      ok = true;
      return first;
    });
  } catch (const TRpcError& e) {
    return ErrorReply(*id, e.Code(), e.what()).dump();
  }
  std::string closing = std::string(method.Checked && ok ? "}" : "") + "}";
  std::string text = "{\"id\":" + id->dump() + ",\"jsonrpc\":\"2.0\",\"result\":" + result;
  if (stream) {
    auto note = [this, name = method.Name](const std::string& what) {
      Log(name + ": " + what + " (resposta interrompida)");
    };
    rest = std::make_unique<TClosedStream>(std::move(stream), std::move(closing), note);
  }
  else text += closing;
  return text;
}

}  // namespace appserver
