// Arbitrary text as the item packet (rows and change log) of an item
// confirmation, read as the confirmation reads it: the edited rows whose
// IDCHECK is "S" give the items. A packet it cannot use must be refused
// as a wrong argument (TRpcError, -32602) and nothing else; the items it
// gives are distinct, none empty.
#include <cstdint>
#include <set>
#include <string_view>

#include "appserver/confirmation.h"
#include "appserver/rpc_args.h"
#include "base/json_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  nlohmann::json packet;
  if (fw::ParseBoundedJson(text, packet) != fw::TJsonParse::Ok) return 0;
  static const std::vector<appserver::TArgSpec> kSignature = {{"itens", appserver::TArgKind::kPacket}};
  nlohmann::json params = nlohmann::json::array({std::move(packet)});
  try {
    appserver::TArgs args("SetItemPedidoPECF", kSignature, params);
    std::vector<std::string> items = appserver::MarkedItems(args, 1, "0001", "0000000001");
    std::set<std::string> distinct(items.begin(), items.end());
    if (distinct.size() != items.size() || distinct.count("")) __builtin_trap();
  } catch (const appserver::TRpcError& e) {
    if (e.Code() != appserver::kInvalidParams) __builtin_trap();
  }
  return 0;
}
