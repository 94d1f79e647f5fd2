#include "library/consiste_controls.h"

#include "rpc/check_result.h"

namespace Consiste {

void SetChildEnabled(fw::TControl& container, bool enabled) {
  for (fw::TControl* child : container.Controls())
    child->SetEnabled(enabled && child->Tag != kTagFixo);
}

nlohmann::json CheckResultServ(const nlohmann::json& reply, bool, int) {
  return fw::CheckResultServ(reply);
}

}  // namespace Consiste
