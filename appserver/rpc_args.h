// Arguments of a server method and the failures a method reports.
//
// TRpcError is a JSON-RPC protocol fault: its code (-32602 for wrong
// arguments, ...) and a Portuguese message that names the method and the
// argument. TServiceError is a refusal of the order service itself (order
// not pending, held by another operator, not found): a message for the
// operator, answered as {"status":"error"} by the checked methods.
//
// TArgs checks a method's positional arguments against its signature when
// built (count, then the kind of each) and raises TRpcError(-32602) for the
// first mismatch. Afterwards Str/Num/Json read argument n (1-based, as the
// messages count) and Invalid raises -32602 for a value that has the right
// kind but cannot be used.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace appserver {

constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
// Server-defined: no live session; the caller is not the operator named.
constexpr int kNoSession = -32000;
constexpr int kNotSessionOperator = -32001;

class TRpcError : public std::runtime_error {
 public:
  TRpcError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

class TServiceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TArgKind { kString, kNumber, kPacket };

struct TArgSpec {
  std::string Label;  // what the argument is, as messages name it
  TArgKind Kind = TArgKind::kString;
};

class TArgs {
 public:
  TArgs(std::string_view method, const std::vector<TArgSpec>& specs, const nlohmann::json& params);

  int Count() const { return static_cast<int>(specs_.size()); }
  const std::string& Str(int n) const;
  double Num(int n) const;
  const nlohmann::json& Json(int n) const;
  [[noreturn]] void Invalid(int n, const std::string& why) const;
  const std::string& Method() const { return method_; }

 private:
  const nlohmann::json& At(int n) const;
  std::string method_;
  const std::vector<TArgSpec>& specs_;
  const nlohmann::json& params_;
};

// A text for messages: keys longer than 20 characters are cut with "...".
std::string Shown(std::string_view key);

}  // namespace appserver
