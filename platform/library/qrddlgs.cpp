#include "library/qrddlgs.h"

#include "base/text_case.h"

namespace Qrddlgs {

bool ExistParam(const fw::TParams& params, std::string_view name) {
  for (int i = 0; i < params.Count(); ++i)
    if (fw::SameText(params[i].Name, name)) return true;
  return false;
}

}  // namespace Qrddlgs
