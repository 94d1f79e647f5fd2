// Reading orders and their details from the database, as data packets of
// the layouts in packet_layouts.h. One object per request, on one
// connection; methods raise TServiceError with a Portuguese message when
// the branch or order they need does not exist, EDatabaseError when the
// database fails.
#pragma once

#include <string>

#include "appserver/order_filter.h"
#include "data/data_packet.h"
#include "sql/sql_driver.h"

namespace appserver {

// Raises the refusal of an order the branch does not have.
[[noreturn]] void OrderNotFound(const std::string& branch, const std::string& order);

class TOrderStore {
 public:
  explicit TOrderStore(fw::SqlDriver& db) : db_(db) {}

  // The order list of a filter. Where the branch's IDEXIBPEDIDO is "2" and
  // the operator has operation-type permissions there, the list keeps only
  // orders of those operation types.
  fw::TDataPacket Pedidos(TOrderFilter filter);
  // The statement of that list (PedidoLayout's columns), for a caller that
  // reads its rows as they come.
  TSqlQuery PedidosQuery(TOrderFilter filter);
  fw::TDataPacket Itens(const std::string& branch, const std::string& order,
                        const TKeyCriterion& produtos);
  fw::TDataPacket Prazos(const std::string& branch, const std::string& order);
  fw::TDataPacket Observacoes(const std::string& branch, const std::string& order);
  // Stock positions of a product in the branch, with what the order item
  // reserved in each; none when the item does not exist.
  fw::TDataPacket Posicoes(const std::string& branch, const std::string& order,
                           const std::string& item, const std::string& stockProduct);
  // The branch's parameter row; no row for a branch without parameters.
  fw::TDataPacket Parametros(const std::string& branch);

  // These raise TServiceError for an unknown branch or order.
  fw::TDataPacket PermissoesOperador(const std::string& branch, const std::string& op);
  fw::TDataPacket ContaItensComErro(const std::string& branch, const std::string& order);
  fw::TDataPacket PedidosComErro(const std::string& branch);
  fw::TDataPacket NumerosPedido(const std::string& branch);
  double ImpostoTotal(const std::string& branch, const std::string& order);

  void RequireBranch(const std::string& branch);
  // The order's status code.
  std::string RequireOrder(const std::string& branch, const std::string& order);

 private:
  fw::SqlDriver& db_;
};

// The screens' short text of an order or item status code ("PE", "AN"...).
std::string OrderStatusText(const std::string& code);
std::string ItemStatusText(const std::string& code);

}  // namespace appserver
