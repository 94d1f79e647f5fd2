// Consiste, the part that works on controls and server replies.
//
// SetChildEnabled(container, enabled): enables or disables the container's
//   direct children. A child whose Tag is 99 is left disabled when the
//   children are enabled (the host fixed what it shows, e.g. the branch).
// CheckResultServ(reply, raise, context): checks a checked method's reply;
//   returns its value, or raises the server's message (fw::EServerError)
//   for an error reply. The flag and the number are kept for the callers'
//   sake: every caller passes true and 0, and the check always raises.
// User-interface thread only.
#pragma once

#include <nlohmann/json.hpp>

#include "forms/control.h"

namespace Consiste {

constexpr long kTagFixo = 99;

void SetChildEnabled(fw::TControl& container, bool enabled);
nlohmann::json CheckResultServ(const nlohmann::json& reply, bool raise, int context);

}  // namespace Consiste
