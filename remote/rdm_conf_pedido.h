// TRdmConfPedido: the calls the confirmation screen makes to the remote
// module "Zqv41800.rdmConfPedido" of the application server, each by its
// method name through the screen's connection, with its arguments in the
// service's order and its reply turned into what the screen loads.
//
// Packet methods (GetPedido, GetItemPedido, GetPrazoPgto, GetObser,
// GetPosiEstoq, GetParamPedido) give their reply as it comes, as a data
// packet; checked methods (getOperTPed, GetImposPedTot, GetItemErro, GetPedIErro,
// SetPedidoPEAN, SetItemPedidoPECF) pass the reply
// through Consiste::CheckResultServ first, which raises the server's
// message (fw::EServerError) for an error reply. Arguments the service
// takes by reference are sent by value: nothing is read back.
//
// Raises what the connection raises (EConnectionError when the server
// cannot be reached, EServerError for a refused request) and
// EDatabaseError for a reply that is not a data packet. Holds a reference
// to the connection, which must outlive it. User-interface thread only.
#pragma once

#include <string>
#include <utility>

#include "data/data_packet.h"
#include "rpc/net_connection.h"
#include "shared/filtro.h"

class TRdmConfPedido {
 public:
  explicit TRdmConfPedido(fw::TNetConnection& connection) : con_(connection) {}

  // The order list of a branch under the filter (29 arguments).
  fw::TDataPacket GetPedido(const TFiltro& filtro, const std::string& cdFilial,
                            const std::string& operador);
  // The items of an order, restricted to the filter's products.
  fw::TDataPacket GetItemPedido(const std::string& cdFilial, const std::string& nrPedido,
                                const TFiltro& filtro);
  fw::TDataPacket GetPrazoPgto(const std::string& cdFilial, const std::string& nrPedido);
  fw::TDataPacket GetObser(const std::string& cdFilial, const std::string& nrPedido);
  fw::TDataPacket GetPosiEstoq(const std::string& cdFilial, const std::string& nrPedido,
                               const std::string& nrItemPed, const std::string& cdProdEsto);
  // The order's total tax; raises for an error reply or a value that is
  // not a number.
  double GetImposPedTot(const std::string& cdFilial, const std::string& nrPedido);
  fw::TDataPacket GetParamPedido(const std::string& cdFilial);
  // The operator's operation-type permissions in the branch.
  fw::TDataPacket getOperTPed(const std::string& cdFilial, const std::string& operador);
  // How many items of the order have permit or licence problems (field
  // COUNT), and the orders of the branch that have such items (NRPEDIDO).
  fw::TDataPacket GetItemErro(const std::string& cdFilial, const std::string& nrPedido);
  fw::TDataPacket GetPedIErro(const std::string& cdFilial);
  // The order numbers of a branch for the filter dialog's order-number
  // pick list (IDMARCADO, NRPEDIDO, NMFANTCLIE).
  fw::TDataPacket GetNrPedido(const std::string& cdFilial);
  // Moves the listed orders ("123_456_") from pending to in progress;
  // yields the refreshed order list under the filter (31 arguments).
  fw::TDataPacket SetPedidoPEAN(const std::string& cdFilial, const std::string& lista,
                                const std::string& operador, const TFiltro& filtro,
                                const std::string& operBloq);
  // Confirms the marked items of the packet; yields the refreshed order
  // list (first) and the order's refreshed items (32 arguments).
  std::pair<fw::TDataPacket, fw::TDataPacket> SetItemPedidoPECF(
      const std::string& cdFilial, const std::string& nrPedido, const std::string& operador,
      const fw::TDataPacket& itens, const TFiltro& filtro, const std::string& operBloq);

 private:
  fw::TNetConnection& con_;
};
