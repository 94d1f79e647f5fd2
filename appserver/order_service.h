// The remote module "Zqv41800.rdmConfPedido": its thirteen methods with
// their signatures, ready for the dispatcher.
//
// Packet methods (GetPedido, GetItemPedido, GetPrazoPgto, GetObser,
// GetPosiEstoq, GetParamPedido) answer a data packet. Checked methods
// (GetImposPedTot, getOperTPed, GetItemErro, GetPedIErro, GetNrPedido,
// SetPedidoPEAN, SetItemPedidoPECF) answer the value that the dispatcher
// wraps as {"status":"ok","value":...}; their refusals are TServiceError.
// Each call takes its own database connection from the pool, so calls may
// run on several threads at once. The pool must outlive the methods.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "appserver/db_pool.h"
#include "appserver/reply_stream.h"
#include "appserver/rpc_args.h"

namespace appserver {

inline constexpr const char* kModuleName = "Zqv41800.rdmConfPedido";

struct TMethod {
  std::string Name;
  std::vector<TArgSpec> Signature;
  bool Checked = false;
  std::function<nlohmann::json(const TArgs&)> Run;
  int OperatorArg = 0;  // the argument (1-based) naming the calling operator; 0: none
  // When set, the same result as Run, as JSON text the method writes a
  // piece at a time (a large list as its rows are read); the HTTP path
  // uses it. It raises what Run raises before it returns.
  std::function<std::unique_ptr<TReplyStream>(const TArgs&)> RunStream = nullptr;
};

// The local date and time as an OLE Automation date-time.
double LocalNow();

std::vector<TMethod> OrderServiceMethods(TDbPool& pool,
                                         std::function<double()> now = LocalNow);

}  // namespace appserver
