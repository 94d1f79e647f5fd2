#include "appserver/packet_layouts.h"

#include <stdexcept>

#include "base/text_case.h"
#include "sql/sql_values.h"

namespace appserver {

namespace {

using fw::TFieldDef;
using fw::TFieldType;

constexpr fw::TProviderFlags kNone = 0;
constexpr fw::TProviderFlags kKey = fw::kDefaultProviderFlags | fw::pfInKey;

TFieldDef S(const char* name, int size, fw::TProviderFlags flags = fw::kDefaultProviderFlags) {
  return {name, TFieldType::ftString, size, flags};
}
TFieldDef F(const char* name) { return {name, TFieldType::ftFloat, 0, fw::kDefaultProviderFlags}; }
TFieldDef D(const char* name) {
  return {name, TFieldType::ftDateTime, 0, fw::kDefaultProviderFlags};
}
TFieldDef M(const char* name) { return {name, TFieldType::ftMemo, 0, fw::kDefaultProviderFlags}; }

}  // namespace

const fw::TFieldDefs& PedidoLayout() {
  static const fw::TFieldDefs layout = {
      S("IDCHECK", 1, kNone), S("IDSITPEDIDO", 1),    S("NRPEDIDO", 10, kKey),
      S("NMFANTCLIE", 50),    S("CDCLIENTE", 21),     D("DTPEDIDO"),
      D("DTENTPED"),          S("CDFILIAL", 4, kKey), S("CDVENDEDOR", 4),
      S("CDMODPGTO", 5),      S("CDFORMPGTO", 2),     S("IDTPFORPGTPED", 1),
      S("DSMODPGTO", 100),    S("NMFORMPGTO", 30),    F("NRDIAPGFIXPED"),
      F("NRPARCPGTOPED"),     S("IDTIPOPEDIDO", 1),   S("CDFILIALPED", 4),
      S("IDPRIOPED", 1),      S("DSPEDVEN", 200),     S("DSPEDCLI", 200),
      S("NMFANVEN", 50),      F("VRPECOMVDPED"),      S("NMFILIAL", 30),
      S("NMFANTTRAN", 40),    S("NRINSJURTRAN", 20),  S("CDTIPTRANS", 4),
      S("IDPGFRETTRAN", 1),   S("NRINSJURCLIE", 20),  S("NMTIPTRANS", 40),
      S("IDTPIJURCLIE", 1),   S("NMTIPOOPER", 30, kNone), F("VRPBRUVOLPED"),
      F("VRPLIQVOLPED")};
  return layout;
}

const fw::TFieldDefs& ItemPedidoLayout() {
  static const fw::TFieldDefs layout = {
      S("IDCHECK", 1, kNone), S("IDSITITEMPED", 1),  S("NRITEMPED", 10, kKey),
      S("CDARVPROD", 20),     S("NMPRODUTO", 50),    F("QTITEMPED"),
      S("SGUNIDADE", 10),     F("VRPREUNITPED"),     S("NRPEDIDO", 10, kKey),
      S("CDFILIAL", 4, kKey), S("DSITEMPED", 2000),  F("QTITEMPED2"),
      S("SGFATPRECO", 4),     F("VRDESITPED"),       D("DTENTITPED"),
      S("IDITPEDDIFER", 1),   S("CDPRODESTO", 10),   S("CDPRODUTO", 10),
      S("IDITEMERRO", 1)};
  return layout;
}

const fw::TFieldDefs& PrazoPgtoLayout() {
  static const fw::TFieldDefs layout = {S("NRPEDIDO", 10), F("NRDIASPGTOPED"),
                                        F("VRPERCPGTOPED"), S("CDFILIAL", 4), D("PREVISAO")};
  return layout;
}

const fw::TFieldDefs& ObserLayout() {
  static const fw::TFieldDefs layout = {S("NRPEDIDO", 10), M("TXOBSPED"), S("CDFILIAL", 4)};
  return layout;
}

const fw::TFieldDefs& PosiEstoqLayout() {
  static const fw::TFieldDefs layout = {
      S("DSALMOXARIFE", 30), S("DSLOCALESTOQ", 30), S("NRLOTEESTQ", 20), S("NRSUBLOTE", 4),
      F("QTTOTALESTOQ"),     F("QTRESPRODPED"),     S("CDFILIAL", 4),    S("CDALMOXARIFE", 6),
      S("CDLOCALESTOQ", 6),  S("IDDISPCONPED", 1),  S("NRPEDIDO", 10),   S("NRITEMPED", 10),
      S("CDARVPROD", 20),    S("CDPRODUTO", 10),    D("DTENTRLOTE"),     D("DTVALILOTE"),
      S("SGUNIDADE", 10),    S("CDPRODRES", 10),    F("QTDISPONIVEL")};
  return layout;
}

const fw::TFieldDefs& ParamPedidoLayout() {
  static const fw::TFieldDefs layout = {
      S("IDEXIBPEDIDO", 1),   S("IDMENSVEND", 1),   S("IDUTRESELOTE", 1),
      S("IDOBRTPOPPED", 1),   S("IDTABPRECO", 1),   S("IDEXIBIMPITPED", 1),
      S("IDOBRINFTRAN", 1),   S("IDEXIBVENDCOM", 1)};
  return layout;
}

const fw::TFieldDefs& OperTPedLayout() {
  static const fw::TFieldDefs layout = {S("CDOPERADOR", 12), S("CDTIPOOPER", 2)};
  return layout;
}

const fw::TFieldDefs& ItemErroLayout() {
  static const fw::TFieldDefs layout = {F("COUNT")};
  return layout;
}

const fw::TFieldDefs& PedIErroLayout() {
  static const fw::TFieldDefs layout = {S("NRPEDIDO", 10), S("CDFILIAL", 4)};
  return layout;
}

const fw::TFieldDefs& NrPedidoLayout() {
  static const fw::TFieldDefs layout = {S("IDMARCADO", 1), S("NRPEDIDO", 10),
                                        S("NMFANTCLIE", 50)};
  return layout;
}

void CheckColumns(const fw::TFieldDefs& layout, const std::vector<fw::SqlColumn>& columns) {
  if (columns.size() != layout.size())
    throw std::logic_error("query columns do not match the packet layout");
  for (size_t c = 0; c < layout.size(); ++c)
    if (!fw::SameText(columns[c].Name, layout[c].Name))
      throw std::logic_error("query column " + columns[c].Name + " is not " + layout[c].Name);
}

fw::TDataPacket PacketFromResult(const fw::TFieldDefs& layout, const fw::SqlResult& result) {
  CheckColumns(layout, result.Columns);
  fw::TDataPacket packet;
  packet.Fields = layout;
  packet.Rows.reserve(result.Rows.size());
  for (const auto& sqlRow : result.Rows) {
    fw::Row row;
    row.reserve(layout.size());
    for (size_t c = 0; c < layout.size(); ++c)
      row.push_back(fw::ToFieldValue(sqlRow[c], layout[c].DataType, layout[c].Name));
    packet.Rows.push_back(std::move(row));
  }
  return packet;
}

}  // namespace appserver
