// Exceptions of the platform layer.
//
// Every failure the platform reports is an exception derived from
// fw::Exception, whose what() is the Portuguese text shown to the operator.
// The subclasses let callers tell the kind of failure apart:
//   EConvertError   - a text that is not a number, date or masked value;
//   EDatabaseError  - dataset, field, packet and query failures;
//   EFilterError    - a malformed filter expression (carries the position).
// EAbort ends the running command without any message ("Sysutils.Abort").
#pragma once

#include <stdexcept>
#include <string>

namespace fw {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class EDatabaseError : public Exception {
 public:
  using Exception::Exception;
};

// A filter expression that cannot be parsed. position() is the 1-based
// character position of the offending token within the expression.
class EFilterError : public EDatabaseError {
 public:
  EFilterError(const std::string& message, size_t position)
      : EDatabaseError(message), position_(position) {}
  size_t position() const { return position_; }

 private:
  size_t position_;
};

// Silent end of the running command: hosts must not show it.
class EAbort : public Exception {
 public:
  EAbort() : Exception("Operação abortada") {}
};

}  // namespace fw
