// The order-list filter of the benchmarks: branch 0001 as OPER01, every
// status and priority, order numbers from the first to `lastOrder`; and
// the same filter as GetPedido's 29 arguments.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "appserver/order_filter.h"

namespace bench {

inline appserver::TOrderFilter BranchFilter(const std::string& lastOrder) {
  appserver::TOrderFilter f;
  f.Branch = "0001";
  f.Operator = "OPER01";
  f.Prioridades = {"4", "3", "2", "1", "0"};
  f.SitPedido = {"1", "2", "6"};
  f.SitItem = {"1", "2", "3", "4", "5", "6", "7"};
  f.NrIntervalo = true;
  f.NrDe = "0000000001";
  f.NrAte = lastOrder;
  return f;
}

inline std::vector<nlohmann::json> BranchFilterArgs(const std::string& lastOrder) {
  return {"", "T", "", "T", "", "T", "", "T", "", "T", "", "T", "43210", "126", "1234567",
          0.0, 0.0, "T", 0.0, 0.0, "T", "0000000001", lastOrder, "", "", "0001", "", "T",
          "OPER01"};
}

}  // namespace bench
