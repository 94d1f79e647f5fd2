#include "remote/rdm_conf_pedido.h"

#include "base/errors.h"
#include "rpc/rpc_errors.h"
#include "library/consiste_controls.h"
#include "shared/filtro_args.h"

namespace {

fw::TDataPacket Packet(const nlohmann::json& reply) { return fw::TDataPacket::FromJson(reply); }

fw::TDataPacket CheckedPacket(const nlohmann::json& reply) {
  return Packet(Consiste::CheckResultServ(reply, true, 0));
}

// A checked method's packet: read in one pass when the reply is "ok", else
// checked as CheckedPacket checks it.
fw::TDataPacket CheckedCall(fw::TNetConnection& con, const std::string& method,
                            std::vector<nlohmann::json> args) {
  nlohmann::json result;
  if (std::optional<fw::TDataPacket> packet = con.CallCheckedPacket(method, std::move(args), result))
    return std::move(*packet);
  return CheckedPacket(result);
}

}  // namespace

fw::TDataPacket TRdmConfPedido::GetPedido(const TFiltro& filtro, const std::string& cdFilial,
                                          const std::string& operador) {
  return con_.CallPacket("GetPedido", ArgsGetPedido(filtro, cdFilial, operador));
}

fw::TDataPacket TRdmConfPedido::GetItemPedido(const std::string& cdFilial,
                                              const std::string& nrPedido,
                                              const TFiltro& filtro) {
  return con_.CallPacket("GetItemPedido",
                         {cdFilial, nrPedido, filtro.Produto.stLista, filtro.Produto.stTodos});
}

fw::TDataPacket TRdmConfPedido::GetPrazoPgto(const std::string& cdFilial,
                                             const std::string& nrPedido) {
  return con_.CallPacket("GetPrazoPgto", {cdFilial, nrPedido});
}

fw::TDataPacket TRdmConfPedido::GetObser(const std::string& cdFilial,
                                         const std::string& nrPedido) {
  return con_.CallPacket("GetObser", {cdFilial, nrPedido});
}

fw::TDataPacket TRdmConfPedido::GetPosiEstoq(const std::string& cdFilial,
                                             const std::string& nrPedido,
                                             const std::string& nrItemPed,
                                             const std::string& cdProdEsto) {
  return con_.CallPacket("GetPosiEstoq", {cdFilial, nrPedido, nrItemPed, cdProdEsto});
}

double TRdmConfPedido::GetImposPedTot(const std::string& cdFilial, const std::string& nrPedido) {
  nlohmann::json value =
      Consiste::CheckResultServ(con_.Call("GetImposPedTot", {cdFilial, nrPedido}), true, 0);
  if (value.is_number()) return value.get<double>();
  throw fw::EServerError("Resposta inesperada do servidor de aplicação para GetImposPedTot: "
                         "esperado um número.");
}

fw::TDataPacket TRdmConfPedido::GetParamPedido(const std::string& cdFilial) {
  return con_.CallPacket("GetParamPedido", {cdFilial});
}

fw::TDataPacket TRdmConfPedido::getOperTPed(const std::string& cdFilial,
                                            const std::string& operador) {
  return CheckedCall(con_, "getOperTPed", {cdFilial, operador});
}

fw::TDataPacket TRdmConfPedido::GetItemErro(const std::string& cdFilial,
                                            const std::string& nrPedido) {
  return CheckedCall(con_, "GetItemErro", {cdFilial, nrPedido});
}

fw::TDataPacket TRdmConfPedido::GetPedIErro(const std::string& cdFilial) {
  return CheckedCall(con_, "GetPedIErro", {cdFilial});
}

fw::TDataPacket TRdmConfPedido::GetNrPedido(const std::string& cdFilial) {
  return CheckedCall(con_, "GetNrPedido", {cdFilial});
}

namespace {

// Appends the filter, the "OperBloq" text and the commissioned-salesperson
// pair, as both confirmation requests end.
void AppendConfirmationTail(std::vector<nlohmann::json>& args, const TFiltro& filtro,
                            const std::string& operBloq) {
  for (nlohmann::json& arg : ArgsFiltroConfirmacao(filtro)) args.push_back(std::move(arg));
  args.push_back(operBloq);
  for (nlohmann::json& arg : ArgsVendComis(filtro)) args.push_back(std::move(arg));
}

}  // namespace

fw::TDataPacket TRdmConfPedido::SetPedidoPEAN(const std::string& cdFilial,
                                              const std::string& lista,
                                              const std::string& operador, const TFiltro& filtro,
                                              const std::string& operBloq) {
  std::vector<nlohmann::json> args{cdFilial, lista, operador};
  AppendConfirmationTail(args, filtro, operBloq);
  return CheckedCall(con_, "SetPedidoPEAN", std::move(args));
}

std::pair<fw::TDataPacket, fw::TDataPacket> TRdmConfPedido::SetItemPedidoPECF(
    const std::string& cdFilial, const std::string& nrPedido, const std::string& operador,
    const fw::TDataPacket& itens, const TFiltro& filtro, const std::string& operBloq) {
  std::vector<nlohmann::json> args{cdFilial, nrPedido, operador, itens.ToJson()};
  AppendConfirmationTail(args, filtro, operBloq);
  const nlohmann::json both =
      Consiste::CheckResultServ(con_.Call("SetItemPedidoPECF", std::move(args)), true, 0);
  if (!both.is_array() || both.size() != 2)
    throw fw::EDatabaseError("Resposta inválida do servidor para SetItemPedidoPECF.");
  return {Packet(both[0]), Packet(both[1])};
}
