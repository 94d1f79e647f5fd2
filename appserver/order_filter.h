// The order-list filter as the server reads it from a method's arguments.
//
// Every order-list request (GetPedido) and both confirmations carry the
// same 29 values: the filter record's server form, the branch and the
// operator. TFilterArgs says where each of them sits among a method's
// arguments, in GetPedido's order; ReadFilter checks and reads them:
//   - a member stTodos (and stTodosVendLog) must be "T" (criterion lifted)
//     or empty (criterion restricts);
//   - a list string must be a key list (rpc/key_list.h); it restricts by
//     membership of each key, only when its stTodos is empty;
//   - a code string (priorities, order and item statuses) holds one-digit
//     codes run together;
//   - a date range restricts when its stTodos is empty; then both dates
//     must be dates of the years 1 to 9999 and the range is inclusive,
//     whole days (a time of day in the values is ignored);
//   - order numbers: "T" lifts; otherwise a non-empty list restricts by
//     membership, an empty one means the interval stDe..stAte (inclusive,
//     compared as fixed-width texts; a number written with fewer than 10
//     digits is right-aligned with zeros first).
// Anything else raises TRpcError(-32602) naming the method and argument.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "appserver/rpc_args.h"
#include "sql/sql_driver.h"

namespace appserver {

struct TKeyCriterion {
  bool Restricts = false;         // false: "T", every key
  std::vector<std::string> Keys;  // the keys allowed when it restricts
};

struct TDateCriterion {
  bool Restricts = false;
  double From = 0;  // first day
  double Until = 0; // the day after the last one
};

struct TOrderFilter {
  std::string Branch;
  std::string Operator;
  std::string VendLog;  // non-empty: only that salesperson's orders
  TKeyCriterion Vendedor, VendComis, Cliente, MuniciCli, Produto, TipoOper;
  std::vector<std::string> Prioridades, SitPedido, SitItem;  // one code each
  TDateCriterion Emissao, Entrega;
  TKeyCriterion NrPedido;  // a list of numbers
  bool NrIntervalo = false;
  std::string NrDe, NrAte;
  // Operation types the operator is limited to (branch parameter
  // IDEXIBPEDIDO "2" and permission rows); unset when not limited.
  std::optional<std::vector<std::string>> TiposPermitidos;
};

constexpr int kFilterValues = 29;
using TFilterArgs = std::array<int, kFilterValues>;
extern const TFilterArgs kGetPedidoArgs;
extern const TFilterArgs kSetPedidoPEANArgs;
extern const TFilterArgs kSetItemPedidoPECFArgs;

// The label and kind of each of the 29 values, in GetPedido's order.
const std::vector<TArgSpec>& FilterValueSpecs();
// A method's signature of `count` arguments: the 29 values at their
// positions, `others` (position, wanted) at the rest.
std::vector<TArgSpec> SignatureWithFilter(const TFilterArgs& where, int count,
                                          const std::vector<std::pair<int, TArgSpec>>& others);

TOrderFilter ReadFilter(const TArgs& args, const TFilterArgs& where);
// An order number as stored: ten characters; digits-only text shorter than
// that is right-aligned with zeros, anything else is left as it is.
std::string FixedOrderNumber(const std::string& text);
TKeyCriterion ReadKeyCriterion(const TArgs& args, int listArg, int allArg);

// One SQL statement with its parameters.
struct TSqlQuery {
  std::string Sql;
  fw::SqlParams Params;
};

// The order-list query of a filter; its columns are PedidoLayout's.
TSqlQuery PedidoQuery(const TOrderFilter& filter,
                      fw::TSqlDialect dialect = fw::TSqlDialect::SQLite);

// Builds SQL from fixed text: conditions are appended as written by the
// server's code, and every value travels as a bound parameter. A key list
// is bound as one parameter holding a JSON array; KeysIn turns it into a
// membership test, in the dialect's own JSON function.
class TSqlBuilder {
 public:
  explicit TSqlBuilder(std::string base, fw::TSqlDialect dialect = fw::TSqlDialect::SQLite)
      : query_{std::move(base), {}}, dialect_(dialect) {}
  void And(const std::string& condition);
  void Bind(const std::string& name, fw::SqlValue value);
  // "<expression> IN (the keys)"; binds the keys to `param`.
  std::string KeysIn(const std::string& expression, const std::string& param,
                     const std::vector<std::string>& keys);
  void Append(const std::string& text) { query_.Sql += text; }
  TSqlQuery Take() { return std::move(query_); }

 private:
  TSqlQuery query_;
  fw::TSqlDialect dialect_;
};

}  // namespace appserver
