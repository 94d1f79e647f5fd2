#include "appserver/order_store.h"

#include <cmath>

#include "appserver/packet_layouts.h"

namespace appserver {

namespace {

// SQL condition: the item I has a product with an open permit or licence
// inconsistency in its branch.
const char* kItemHasProblem =
    "EXISTS (SELECT 1 FROM INCONSALVARA L WHERE L.CDFILIAL = I.CDFILIAL"
    " AND L.CDPRODUTO = I.CDPRODUTO AND L.IDRESOLVIDA = 'N')";

fw::SqlParams BranchOrder(const std::string& branch, const std::string& order) {
  return {{"P_CDFILIAL", branch}, {"P_NRPEDIDO", order}};
}

}  // namespace

std::string OrderStatusText(const std::string& code) {
  if (code == "1") return "PE";
  if (code == "2") return "AN";
  if (code == "6") return "PA";
  return code;
}

std::string ItemStatusText(const std::string& code) {
  if (code == "1") return "PE";
  if (code == "2") return "CF";
  if (code == "3") return "AP";
  if (code == "4" || code == "6") return "LQ";
  if (code == "5") return "CN";
  if (code == "7") return "PA";
  return code;
}

void OrderNotFound(const std::string& branch, const std::string& order) {
  throw TServiceError("Pedido " + Shown(order) + " não encontrado na filial " + Shown(branch) + ".");
}

void TOrderStore::RequireBranch(const std::string& branch) {
  fw::SqlResult r =
      db_.Query("SELECT 1 FROM FILIAL WHERE CDFILIAL = :P_CDFILIAL", {{"P_CDFILIAL", branch}});
  if (r.Rows.empty()) throw TServiceError("Filial " + Shown(branch) + " não cadastrada.");
}

std::string TOrderStore::RequireOrder(const std::string& branch, const std::string& order) {
  fw::SqlResult r = db_.Query(
      "SELECT IDSITPEDIDO FROM PEDIDO WHERE CDFILIAL = :P_CDFILIAL AND NRPEDIDO = :P_NRPEDIDO",
      BranchOrder(branch, order));
  if (r.Rows.empty()) OrderNotFound(branch, order);
  return std::get<std::string>(r.Rows[0][0]);
}

fw::TDataPacket TOrderStore::Pedidos(TOrderFilter filter) {
  TSqlQuery q = PedidosQuery(std::move(filter));
  return PacketFromResult(PedidoLayout(), db_.Query(q.Sql, q.Params));
}

TSqlQuery TOrderStore::PedidosQuery(TOrderFilter filter) {
  fw::SqlResult limited = db_.Query(
      "SELECT T.CDTIPOOPER FROM PARAMPEDIDO P JOIN OPERTIPOPED T ON T.CDFILIAL = P.CDFILIAL"
      " WHERE P.CDFILIAL = :P_CDFILIAL AND P.IDEXIBPEDIDO = '2' AND T.CDOPERADOR = :P_CDOPERADOR",
      {{"P_CDFILIAL", filter.Branch}, {"P_CDOPERADOR", filter.Operator}});
  if (!limited.Rows.empty()) {
    filter.TiposPermitidos.emplace();
    for (const auto& row : limited.Rows)
      filter.TiposPermitidos->push_back(std::get<std::string>(row[0]));
  }
  return PedidoQuery(filter, db_.Dialect());
}

fw::TDataPacket TOrderStore::Itens(const std::string& branch, const std::string& order,
                                   const TKeyCriterion& produtos) {
  TSqlBuilder q(std::string(R"(SELECT 'N' AS IDCHECK, I.IDSITITEMPED, I.NRITEMPED, PR.CDARVPROD,
  PR.NMPRODUTO, I.QTITEMPED, PR.SGUNIDADE, I.VRPREUNITPED, I.NRPEDIDO, I.CDFILIAL, I.DSITEMPED,
  I.QTITEMPED2, I.SGFATPRECO, I.VRDESITPED, I.DTENTITPED, I.IDITPEDDIFER, I.CDPRODESTO,
  I.CDPRODUTO, CASE WHEN )") + kItemHasProblem + R"( THEN 'S' ELSE 'N' END AS IDITEMERRO
FROM ITEMPEDIDO I
  JOIN PRODUTO PR ON PR.CDPRODUTO = I.CDPRODUTO
WHERE I.CDFILIAL = :P_CDFILIAL AND I.NRPEDIDO = :P_NRPEDIDO)",
                db_.Dialect());
  q.Bind("P_CDFILIAL", branch);
  q.Bind("P_NRPEDIDO", order);
  if (produtos.Restricts) q.And(q.KeysIn("PR.CDARVPROD", "P_PRODUTO", produtos.Keys));
  q.Append("\nORDER BY I.NRITEMPED");
  TSqlQuery sql = q.Take();
  return PacketFromResult(ItemPedidoLayout(), db_.Query(sql.Sql, sql.Params));
}

fw::TDataPacket TOrderStore::Prazos(const std::string& branch, const std::string& order) {
  return PacketFromResult(
      PrazoPgtoLayout(),
      db_.Query(R"(SELECT Z.NRPEDIDO, Z.NRDIASPGTOPED, Z.VRPERCPGTOPED, Z.CDFILIAL,
  P.DTPEDIDO + Z.NRDIASPGTOPED AS PREVISAO
FROM PRAZOPGTOPED Z
  JOIN PEDIDO P ON P.CDFILIAL = Z.CDFILIAL AND P.NRPEDIDO = Z.NRPEDIDO
WHERE Z.CDFILIAL = :P_CDFILIAL AND Z.NRPEDIDO = :P_NRPEDIDO
ORDER BY Z.NRDIASPGTOPED)",
                BranchOrder(branch, order)));
}

fw::TDataPacket TOrderStore::Observacoes(const std::string& branch, const std::string& order) {
  return PacketFromResult(ObserLayout(),
                          db_.Query("SELECT NRPEDIDO, TXOBSPED, CDFILIAL FROM OBSPEDIDO"
                                    " WHERE CDFILIAL = :P_CDFILIAL AND NRPEDIDO = :P_NRPEDIDO",
                                    BranchOrder(branch, order)));
}

fw::TDataPacket TOrderStore::Posicoes(const std::string& branch, const std::string& order,
                                      const std::string& item, const std::string& stockProduct) {
  return PacketFromResult(
      PosiEstoqLayout(),
      db_.Query(R"(SELECT A.DSALMOXARIFE, L.DSLOCALESTOQ, S.NRLOTEESTQ, S.NRSUBLOTE, S.QTTOTALESTOQ,
  COALESCE((SELECT SUM(R.QTRESPRODPED) FROM RESERVAPED R
            WHERE R.CDFILIAL = S.CDFILIAL AND R.NRPEDIDO = I.NRPEDIDO
              AND R.NRITEMPED = I.NRITEMPED AND R.CDALMOXARIFE = S.CDALMOXARIFE
              AND R.CDLOCALESTOQ = S.CDLOCALESTOQ AND R.CDPRODRES = S.CDPRODUTO
              AND R.NRLOTEESTQ = S.NRLOTEESTQ AND R.NRSUBLOTE = S.NRSUBLOTE), 0) AS QTRESPRODPED,
  S.CDFILIAL, S.CDALMOXARIFE, S.CDLOCALESTOQ, L.IDDISPCONPED, I.NRPEDIDO, I.NRITEMPED,
  PR.CDARVPROD, S.CDPRODUTO, S.DTENTRLOTE, S.DTVALILOTE, PR.SGUNIDADE, S.CDPRODUTO AS CDPRODRES,
  S.QTTOTALESTOQ - COALESCE((SELECT SUM(R.QTRESPRODPED) FROM RESERVAPED R
            WHERE R.CDFILIAL = S.CDFILIAL AND R.CDALMOXARIFE = S.CDALMOXARIFE
              AND R.CDLOCALESTOQ = S.CDLOCALESTOQ AND R.CDPRODRES = S.CDPRODUTO
              AND R.NRLOTEESTQ = S.NRLOTEESTQ AND R.NRSUBLOTE = S.NRSUBLOTE), 0) AS QTDISPONIVEL
FROM ITEMPEDIDO I
  JOIN POSESTATU S ON S.CDFILIAL = I.CDFILIAL AND S.CDPRODUTO = :P_CDPRODESTO
  JOIN ALMOXARIFADO A ON A.CDFILIAL = S.CDFILIAL AND A.CDALMOXARIFE = S.CDALMOXARIFE
  JOIN LOCALESTOQUE L ON L.CDFILIAL = S.CDFILIAL AND L.CDALMOXARIFE = S.CDALMOXARIFE
                     AND L.CDLOCALESTOQ = S.CDLOCALESTOQ
  JOIN PRODUTO PR ON PR.CDPRODUTO = S.CDPRODUTO
WHERE I.CDFILIAL = :P_CDFILIAL AND I.NRPEDIDO = :P_NRPEDIDO AND I.NRITEMPED = :P_NRITEMPED
ORDER BY S.CDALMOXARIFE, S.CDLOCALESTOQ, S.NRLOTEESTQ, S.NRSUBLOTE)",
                {{"P_CDFILIAL", branch},
                 {"P_NRPEDIDO", order},
                 {"P_NRITEMPED", item},
                 {"P_CDPRODESTO", stockProduct}}));
}

fw::TDataPacket TOrderStore::Parametros(const std::string& branch) {
  return PacketFromResult(
      ParamPedidoLayout(),
      db_.Query("SELECT IDEXIBPEDIDO, IDMENSVEND, IDUTRESELOTE, IDOBRTPOPPED, IDTABPRECO,"
                " IDEXIBIMPITPED, IDOBRINFTRAN, IDEXIBVENDCOM FROM PARAMPEDIDO"
                " WHERE CDFILIAL = :P_CDFILIAL",
                {{"P_CDFILIAL", branch}}));
}

fw::TDataPacket TOrderStore::PermissoesOperador(const std::string& branch, const std::string& op) {
  RequireBranch(branch);
  return PacketFromResult(
      OperTPedLayout(),
      db_.Query("SELECT CDOPERADOR, CDTIPOOPER FROM OPERTIPOPED"
                " WHERE CDFILIAL = :P_CDFILIAL AND CDOPERADOR = :P_CDOPERADOR ORDER BY CDTIPOOPER",
                {{"P_CDFILIAL", branch}, {"P_CDOPERADOR", op}}));
}

fw::TDataPacket TOrderStore::ContaItensComErro(const std::string& branch,
                                               const std::string& order) {
  RequireOrder(branch, order);
  return PacketFromResult(
      ItemErroLayout(),
      db_.Query(std::string("SELECT COUNT(*) AS COUNT FROM ITEMPEDIDO I"
                            " WHERE I.CDFILIAL = :P_CDFILIAL AND I.NRPEDIDO = :P_NRPEDIDO AND ") +
                    kItemHasProblem,
                BranchOrder(branch, order)));
}

fw::TDataPacket TOrderStore::PedidosComErro(const std::string& branch) {
  RequireBranch(branch);
  return PacketFromResult(
      PedIErroLayout(),
      db_.Query(std::string("SELECT P.NRPEDIDO, P.CDFILIAL FROM PEDIDO P"
                            " WHERE P.CDFILIAL = :P_CDFILIAL AND EXISTS (SELECT 1 FROM ITEMPEDIDO I"
                            " WHERE I.CDFILIAL = P.CDFILIAL AND I.NRPEDIDO = P.NRPEDIDO AND ") +
                    kItemHasProblem + ") ORDER BY P.NRPEDIDO",
                {{"P_CDFILIAL", branch}}));
}

fw::TDataPacket TOrderStore::NumerosPedido(const std::string& branch) {
  RequireBranch(branch);
  return PacketFromResult(
      NrPedidoLayout(),
      db_.Query("SELECT 'N' AS IDMARCADO, P.NRPEDIDO, C.NMFANTCLIE FROM PEDIDO P"
                " JOIN CLIENTE C ON C.CDCLIENTE = P.CDCLIENTE"
                " WHERE P.CDFILIAL = :P_CDFILIAL ORDER BY P.NRPEDIDO",
                {{"P_CDFILIAL", branch}}));
}

double TOrderStore::ImpostoTotal(const std::string& branch, const std::string& order) {
  RequireOrder(branch, order);
  fw::SqlResult r = db_.Query(
      "SELECT COALESCE(SUM(VRIMPOSITPED), 0) FROM ITEMPEDIDO"
      " WHERE CDFILIAL = :P_CDFILIAL AND NRPEDIDO = :P_NRPEDIDO",
      BranchOrder(branch, order));
  const fw::SqlValue& v = r.Rows.at(0).at(0);
  double total = std::holds_alternative<double>(v)    ? std::get<double>(v)
                 : std::holds_alternative<int64_t>(v) ? double(std::get<int64_t>(v))
                                                      : 0.0;
  return std::round(total * 100) / 100;  // money: whole cents
}

}  // namespace appserver
