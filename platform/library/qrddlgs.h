// Qrddlgs: helpers for query parameter lists.
//
// ExistParam(params, name): whether the list holds a parameter of that
// name, ignoring case (as parameter names are matched everywhere).
#pragma once

#include <string_view>

#include "sql/params.h"

namespace Qrddlgs {

bool ExistParam(const fw::TParams& params, std::string_view name);

}  // namespace Qrddlgs
