// The check of a checked method's reply.
//
// The application server answers its checked methods with
//   {"status": "ok", "value": <value>}   or
//   {"status": "error", "message": "<text for the operator>"}.
// CheckResultServ returns the value of an "ok" reply (null when the reply
// carries none), raises EServerError with the server's message for an
// "error" reply, and EServerError with a text of its own for anything else.
// Pure and thread-safe.
#pragma once

#include <nlohmann/json.hpp>

namespace fw {

nlohmann::json CheckResultServ(const nlohmann::json& reply);

// Whether the reply has the shape of a checked method's failure reply.
bool IsErrorReply(const nlohmann::json& reply);

}  // namespace fw
