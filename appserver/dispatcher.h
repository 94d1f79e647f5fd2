// JSON-RPC 2.0 dispatch: one table of methods answering requests, shared by
// the HTTP endpoint and the in-process transport.
//
// Handle answers one request object (or a batch array) with the response
// object (array), or null when nothing is to be answered (notifications,
// i.e. requests without "id"). HandleText does the same for the text of
// an HTTP body and returns "" when there is no reply.
//
// Bounds: a batch holds at most kMaxBatch calls (a larger one is refused
// whole, -32600), and text nested deeper than fw::kMaxJsonDepth levels is
// refused (-32600) before it is parsed. "params", when present, must be
// an array (-32600 otherwise): arguments are positional.
//
// Replies: a method's result as "result"; for a checked method
// {"status":"ok","value":...}, or {"status":"error","message":...} when it
// refuses (TServiceError) or fails after its arguments were accepted.
// Protocol faults are JSON-RPC errors: -32700 unparsable text, -32600 not
// a request, -32601 unknown method, -32602 wrong arguments (the message
// names the method and the argument), -32603 a packet method that failed.
// Messages are Portuguese and meant for a person: database and internal
// details go only to the log function, never into a reply.
//
// The caller: requests that come with a session (HTTP) give its operator,
// and a method's operator argument (TMethod::OperatorArg) must be that
// operator, or the call is refused before it runs, as a refusal of a
// checked method or as JSON-RPC error -32001 ("O operador X não é o
// operador da sessão."). Without one (null: the in-process transport of
// a program that links the server) nothing is checked.
// Thread-safe (the table is read-only after construction).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "appserver/order_service.h"

namespace appserver {

using TLogger = std::function<void(const std::string& line)>;

class TDispatcher {
 public:
  static constexpr size_t kMaxBatch = 16;

  TDispatcher(std::string moduleName, std::vector<TMethod> methods, TLogger log = {});

  nlohmann::json Handle(const nlohmann::json& request,
                        const std::string* sessionOperator = nullptr) const;
  std::string HandleText(std::string_view body, const std::string* sessionOperator = nullptr) const;
  // HandleText for a reply that may be long: the text answered is its
  // first piece; when more follow, `rest` is set and gives them (an error
  // it raises half-way means the reply cannot be finished).
  std::string HandleStreamed(std::string_view body, const std::string* sessionOperator,
                             std::unique_ptr<TReplyStream>& rest) const;

  const std::string& ModuleName() const { return module_; }
  std::vector<std::string> MethodNames() const;

 private:
  nlohmann::json HandleOne(const nlohmann::json& request, const std::string* sessionOperator) const;
  nlohmann::json Run(const TMethod& method, const nlohmann::json& params,
                     const std::string* sessionOperator) const;
  // The first piece of the reply of a plain call of a method with
  // RunStream (`rest` set when more follow); nullopt for anything else.
  std::optional<std::string> HandleAsStream(const nlohmann::json& request,
                                            const std::string* sessionOperator,
                                            std::unique_ptr<TReplyStream>& rest) const;
  void CheckSessionOperator(const TMethod& method, const TArgs& args,
                            const std::string* sessionOperator) const;
  template <typename Result, typename Body>
  Result Guarded(const TMethod& method, Body body) const;
  void Log(const std::string& line) const;

  std::string module_;
  std::vector<TMethod> methods_;
  std::unordered_map<std::string, size_t> index_;
  TLogger log_;
};

}  // namespace appserver
