// The columns of every data packet the order service answers with: names,
// types and sizes exactly as the client datasets declare their fields, so
// that loading a packet into a dataset with persistent fields succeeds.
// The one place these lists are written; each query selects its columns in
// the order of its layout.
//
// PacketFromResult turns a query result into a packet of a layout: the
// result must have the layout's columns in its order (checked by name;
// a mismatch is a programming error and raises std::logic_error), and
// each value is converted to its field's type (EDatabaseError when a stored
// value does not fit).
#pragma once

#include "data/data_packet.h"
#include "sql/sql_driver.h"

namespace appserver {

const fw::TFieldDefs& PedidoLayout();      // cdsPedido (order list)
const fw::TFieldDefs& ItemPedidoLayout();  // cdsItemPedido
const fw::TFieldDefs& PrazoPgtoLayout();   // cdsPrazoPgto
const fw::TFieldDefs& ObserLayout();       // cdsObser
const fw::TFieldDefs& PosiEstoqLayout();   // cdsPosiEstoq
const fw::TFieldDefs& ParamPedidoLayout(); // cdsParamPedido
const fw::TFieldDefs& OperTPedLayout();    // cdsOperTPed
const fw::TFieldDefs& ItemErroLayout();    // cdsItemErro
const fw::TFieldDefs& PedIErroLayout();    // cdsPedIErro
const fw::TFieldDefs& NrPedidoLayout();    // cdsNrPedido

fw::TDataPacket PacketFromResult(const fw::TFieldDefs& layout, const fw::SqlResult& result);
// The check PacketFromResult makes of a result's columns.
void CheckColumns(const fw::TFieldDefs& layout, const std::vector<fw::SqlColumn>& columns);

}  // namespace appserver
