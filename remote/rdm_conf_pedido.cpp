#include "remote/rdm_conf_pedido.h"

#include "rpc/rpc_errors.h"
#include "library/consiste_controls.h"
#include "shared/filtro_args.h"

namespace {

fw::TDataPacket Packet(const nlohmann::json& reply) { return fw::TDataPacket::FromJson(reply); }

fw::TDataPacket CheckedPacket(const nlohmann::json& reply) {
  return Packet(Consiste::CheckResultServ(reply, true, 0));
}

}  // namespace

fw::TDataPacket TRdmConfPedido::GetPedido(const TFiltro& filtro, const std::string& cdFilial,
                                          const std::string& operador) {
  return Packet(con_.Call("GetPedido", ArgsGetPedido(filtro, cdFilial, operador)));
}

fw::TDataPacket TRdmConfPedido::GetItemPedido(const std::string& cdFilial,
                                              const std::string& nrPedido,
                                              const TFiltro& filtro) {
  return Packet(con_.Call("GetItemPedido",
                          {cdFilial, nrPedido, filtro.Produto.stLista, filtro.Produto.stTodos}));
}

fw::TDataPacket TRdmConfPedido::GetPrazoPgto(const std::string& cdFilial,
                                             const std::string& nrPedido) {
  return Packet(con_.Call("GetPrazoPgto", {cdFilial, nrPedido}));
}

fw::TDataPacket TRdmConfPedido::GetObser(const std::string& cdFilial,
                                         const std::string& nrPedido) {
  return Packet(con_.Call("GetObser", {cdFilial, nrPedido}));
}

fw::TDataPacket TRdmConfPedido::GetPosiEstoq(const std::string& cdFilial,
                                             const std::string& nrPedido,
                                             const std::string& nrItemPed,
                                             const std::string& cdProdEsto) {
  return Packet(con_.Call("GetPosiEstoq", {cdFilial, nrPedido, nrItemPed, cdProdEsto}));
}

double TRdmConfPedido::GetImposPedTot(const std::string& cdFilial, const std::string& nrPedido) {
  nlohmann::json value =
      Consiste::CheckResultServ(con_.Call("GetImposPedTot", {cdFilial, nrPedido}), true, 0);
  if (value.is_number()) return value.get<double>();
  throw fw::EServerError("Resposta inesperada do servidor de aplicação para GetImposPedTot: "
                         "esperado um número.");
}

fw::TDataPacket TRdmConfPedido::GetParamPedido(const std::string& cdFilial) {
  return Packet(con_.Call("GetParamPedido", {cdFilial}));
}

fw::TDataPacket TRdmConfPedido::getOperTPed(const std::string& cdFilial,
                                            const std::string& operador) {
  return CheckedPacket(con_.Call("getOperTPed", {cdFilial, operador}));
}
