#include "appserver/order_filter.h"

#include <algorithm>
#include <cmath>

#include "base/errors.h"
#include "rpc/key_list.h"
#include "text/date_time.h"

namespace appserver {

const TFilterArgs kGetPedidoArgs = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                    16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29};
const TFilterArgs kSetPedidoPEANArgs = {4,  5,  6,  7,  30, 31, 8,  9,  10, 11, 12, 13, 14, 15, 16,
                                        17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 1,  27, 28, 3};
const TFilterArgs kSetItemPedidoPECFArgs = {5,  6,  7,  8,  31, 32, 9,  10, 11, 12,
                                            13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                                            23, 24, 25, 26, 27, 1,  28, 29, 3};

const std::vector<TArgSpec>& FilterValueSpecs() {
  static const std::vector<TArgSpec> specs = [] {
    const char* labels[kFilterValues] = {
        "Vendedor.stVendLog", "Vendedor.stTodosVendLog", "Vendedor.stLista", "Vendedor.stTodos",
        "VendComis.stLista",  "VendComis.stTodos",       "Cliente.stLista",  "Cliente.stTodos",
        "MuniciCli.stLista",  "MuniciCli.stTodos",       "Produto.stLista",  "Produto.stTodos",
        "Prio.stCodigos",     "StatPed.stCodigos",       "StatIPed.stCodigos", "Emissao.dtDe",
        "Emissao.dtAte",      "Emissao.stTodos",         "Entrega.dtDe",     "Entrega.dtAte",
        "Entrega.stTodos",    "NrPedido.stDe",           "NrPedido.stAte",   "NrPedido.stLista",
        "NrPedido.stTodos",   "filial",                  "TipoOper.stLista", "TipoOper.stTodos",
        "operador"};
    std::vector<TArgSpec> v;
    for (int i = 0; i < kFilterValues; ++i) {
      bool date = i == 15 || i == 16 || i == 18 || i == 19;
      v.push_back({labels[i], date ? TArgKind::kNumber : TArgKind::kString});
    }
    return v;
  }();
  return specs;
}

std::vector<TArgSpec> SignatureWithFilter(const TFilterArgs& where, int count,
                                          const std::vector<std::pair<int, TArgSpec>>& others) {
  std::vector<TArgSpec> specs(count);
  for (int v = 0; v < kFilterValues; ++v) specs.at(where[v] - 1) = FilterValueSpecs()[v];
  for (const auto& [n, wanted] : others) specs.at(n - 1) = wanted;
  return specs;
}

std::string FixedOrderNumber(const std::string& text) {
  if (text.empty() || text.size() >= 10) return text;
  for (char c : text)
    if (c < '0' || c > '9') return text;
  return std::string(10 - text.size(), '0') + text;
}

namespace {

class TFilterReader {
 public:
  TFilterReader(const TArgs& args, const TFilterArgs& where) : args_(args), where_(where) {}

  int Arg(int value) const { return where_[value - 1]; }
  const std::string& Str(int value) const { return args_.Str(Arg(value)); }

  // An stTodos member: true for "T", false for empty.
  bool All(int value) const {
    const std::string& text = Str(value);
    if (text == "T") return true;
    if (!text.empty()) args_.Invalid(Arg(value), "deve ser \"T\" ou vazio.");
    return false;
  }

  std::vector<std::string> Keys(int value) const {
    try {
      return fw::SplitKeyList(Str(value));
    } catch (const fw::EConvertError& e) {
      args_.Invalid(Arg(value), std::string("não é uma lista de chaves válida. ") + e.what());
    }
  }

  TKeyCriterion List(int listValue, int allValue) const {
    TKeyCriterion c;
    c.Restricts = !All(allValue);
    std::vector<std::string> keys = Keys(listValue);  // checked even when lifted
    if (c.Restricts) c.Keys = std::move(keys);
    return c;
  }

  std::vector<std::string> Codes(int value) const {
    std::vector<std::string> codes;
    for (char c : Str(value)) {
      if (c < '0' || c > '9')
        args_.Invalid(Arg(value), "deve conter apenas códigos de um dígito.");
      std::string code(1, c);
      if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
    }
    return codes;
  }

  TDateCriterion Dates(int fromValue, int untilValue, int allValue) const {
    TDateCriterion c;
    c.Restricts = !All(allValue);
    if (!c.Restricts) return c;
    for (int v : {fromValue, untilValue}) {
      double d = args_.Num(Arg(v));
      if (!fw::IsValidDateTime(d)) args_.Invalid(Arg(v), "não é uma data válida.");
    }
    c.From = std::floor(args_.Num(Arg(fromValue)));
    c.Until = std::floor(args_.Num(Arg(untilValue))) + 1;
    return c;
  }

 private:
  const TArgs& args_;
  const TFilterArgs& where_;
};

}  // namespace

TOrderFilter ReadFilter(const TArgs& args, const TFilterArgs& where) {
  TFilterReader r(args, where);
  TOrderFilter f;
  f.VendLog = r.Str(1);
  r.All(2);  // stTodosVendLog: checked, restricts nothing of its own
  f.Vendedor = r.List(3, 4);
  f.VendComis = r.List(5, 6);
  f.Cliente = r.List(7, 8);
  f.MuniciCli = r.List(9, 10);
  f.Produto = r.List(11, 12);
  f.Prioridades = r.Codes(13);
  f.SitPedido = r.Codes(14);
  f.SitItem = r.Codes(15);
  f.Emissao = r.Dates(16, 17, 18);
  f.Entrega = r.Dates(19, 20, 21);
  bool allNumbers = r.All(25);
  std::vector<std::string> numbers = r.Keys(24);
  if (!allNumbers) {
    if (!numbers.empty()) {
      f.NrPedido.Restricts = true;
      for (const std::string& n : numbers) f.NrPedido.Keys.push_back(FixedOrderNumber(n));
    } else {
      f.NrIntervalo = true;
      f.NrDe = FixedOrderNumber(r.Str(22));
      f.NrAte = FixedOrderNumber(r.Str(23));
    }
  }
  f.Branch = r.Str(26);
  f.TipoOper = r.List(27, 28);
  f.Operator = r.Str(29);
  return f;
}

TKeyCriterion ReadKeyCriterion(const TArgs& args, int listArg, int allArg) {
  TFilterArgs where{};
  where[0] = listArg;
  where[1] = allArg;
  return TFilterReader(args, where).List(1, 2);
}

// ---------------------------------------------------------------------------

void TSqlBuilder::And(const std::string& condition) {
  query_.Sql += "\n  AND ";
  query_.Sql += condition;
}

void TSqlBuilder::Bind(const std::string& name, fw::SqlValue value) {
  query_.Params.emplace_back(name, std::move(value));
}

std::string TSqlBuilder::KeysIn(const std::string& expression, const std::string& param,
                                const std::vector<std::string>& keys) {
  Bind(param, nlohmann::json(keys).dump());
  if (dialect_ == fw::TSqlDialect::PostgreSQL)
    return expression + " IN (SELECT value FROM json_array_elements_text(CAST(:" + param +
           " AS json)))";
  return expression + " IN (SELECT value FROM json_each(:" + param + "))";
}

TSqlQuery PedidoQuery(const TOrderFilter& f, fw::TSqlDialect dialect) {
  TSqlBuilder q(R"(SELECT 'N' AS IDCHECK, P.IDSITPEDIDO, P.NRPEDIDO, C.NMFANTCLIE, P.CDCLIENTE,
  P.DTPEDIDO, P.DTENTPED, P.CDFILIAL, P.CDVENDEDOR, P.CDMODPGTO, P.CDFORMPGTO, P.IDTPFORPGTPED,
  MP.DSMODPGTO, FP.NMFORMPGTO, P.NRDIAPGFIXPED, P.NRPARCPGTOPED, P.IDTIPOPEDIDO, P.CDFILIALPED,
  P.IDPRIOPED, P.DSPEDVEN, P.DSPEDCLI, V.NMFANVEN, P.VRPECOMVDPED, FD.NMFILIAL, T.NMFANTTRAN,
  P.NRINSJURTRAN, P.CDTIPTRANS, P.IDPGFRETTRAN, C.NRINSJURCLIE, TT.NMTIPTRANS, C.IDTPIJURCLIE,
  O.NMTIPOOPER, P.VRPBRUVOLPED, P.VRPLIQVOLPED
FROM PEDIDO P
  JOIN CLIENTE C ON C.CDCLIENTE = P.CDCLIENTE
  LEFT JOIN VENDEDOR V ON V.CDVENDEDOR = P.CDVENDEDOR
  LEFT JOIN MODALIDADEPGTO MP ON MP.CDMODPGTO = P.CDMODPGTO
  LEFT JOIN FORMAPGTO FP ON FP.CDFORMPGTO = P.CDFORMPGTO
  LEFT JOIN FILIAL FD ON FD.CDFILIAL = P.CDFILIALPED
  LEFT JOIN TRANSPORTADORA T ON T.NRINSJURTRAN = P.NRINSJURTRAN
  LEFT JOIN TIPOTRANSPORTE TT ON TT.CDTIPTRANS = P.CDTIPTRANS
  LEFT JOIN TIPOOPERAC O ON O.CDTIPOOPER = P.CDTIPOOPER
WHERE P.CDFILIAL = :P_CDFILIAL)",
                dialect);
  q.Bind("P_CDFILIAL", f.Branch);
  if (!f.VendLog.empty()) {
    q.And("P.CDVENDEDOR = :P_VENDLOG");
    q.Bind("P_VENDLOG", f.VendLog);
  }
  if (f.Vendedor.Restricts) q.And(q.KeysIn("P.CDVENDEDOR", "P_VENDEDOR", f.Vendedor.Keys));
  if (f.VendComis.Restricts) q.And(q.KeysIn("P.CDVENDCOMIS", "P_VENDCOMIS", f.VendComis.Keys));
  if (f.Cliente.Restricts) q.And(q.KeysIn("P.CDCLIENTE", "P_CLIENTE", f.Cliente.Keys));
  if (f.MuniciCli.Restricts) {
    q.And("EXISTS (SELECT 1 FROM ENDECLIE E WHERE E.CDCLIENTE = P.CDCLIENTE"
          " AND E.IDTPENDECLIE = 'P' AND " +
          q.KeysIn("E.CDPAIS || E.SGESTADO || E.CDMUNICIPIO", "P_MUNICIPIO", f.MuniciCli.Keys) +
          ")");
  }
  if (f.TipoOper.Restricts) q.And(q.KeysIn("P.CDTIPOOPER", "P_TIPOOPER", f.TipoOper.Keys));
  if (f.TiposPermitidos) q.And(q.KeysIn("P.CDTIPOOPER", "P_TIPOPERMIT", *f.TiposPermitidos));
  q.And(q.KeysIn("P.IDPRIOPED", "P_PRIORIDADE", f.Prioridades));
  q.And(q.KeysIn("P.IDSITPEDIDO", "P_SITPEDIDO", f.SitPedido));
  {
    std::string items =
        "EXISTS (SELECT 1 FROM ITEMPEDIDO I JOIN PRODUTO PR ON PR.CDPRODUTO = I.CDPRODUTO"
        " WHERE I.CDFILIAL = P.CDFILIAL AND I.NRPEDIDO = P.NRPEDIDO AND " +
        q.KeysIn("I.IDSITITEMPED", "P_SITITEM", f.SitItem);
    if (f.Produto.Restricts) items += " AND " + q.KeysIn("PR.CDARVPROD", "P_PRODUTO", f.Produto.Keys);
    q.And(items + ")");
  }
  if (f.Emissao.Restricts) {
    q.And("P.DTPEDIDO >= :P_EMISSAO_DE AND P.DTPEDIDO < :P_EMISSAO_ATE");
    q.Bind("P_EMISSAO_DE", f.Emissao.From);
    q.Bind("P_EMISSAO_ATE", f.Emissao.Until);
  }
  if (f.Entrega.Restricts) {
    q.And("P.DTENTPED >= :P_ENTREGA_DE AND P.DTENTPED < :P_ENTREGA_ATE");
    q.Bind("P_ENTREGA_DE", f.Entrega.From);
    q.Bind("P_ENTREGA_ATE", f.Entrega.Until);
  }
  if (f.NrPedido.Restricts) q.And(q.KeysIn("P.NRPEDIDO", "P_NRPEDIDO", f.NrPedido.Keys));
  if (f.NrIntervalo) {
    q.And("P.NRPEDIDO BETWEEN :P_NRPEDIDO_DE AND :P_NRPEDIDO_ATE");
    q.Bind("P_NRPEDIDO_DE", f.NrDe);
    q.Bind("P_NRPEDIDO_ATE", f.NrAte);
  }
  q.Append("\nORDER BY P.NRPEDIDO");
  return q.Take();
}

}  // namespace appserver
