// Derived values and display texts of the screen's fields: the order
// caption, the item value and stock unit, and the texts shown for coded
// fields (the stored values never change).
#include "confirmation/conf_pedido_form.h"
#include "confirmation/decimal_cut.h"
#include "library/consiste.h"
#include "library/display_texts.h"
#include "library/velkora.h"
#include "text/date_time.h"

using namespace fw;

void TfrmConfPedido::cdsPedidoCalcFields(TDataSet& dataSet) {
  dataSet.FieldByName("DsPedido")
      .SetAsString(dataSet.FieldByName("NRPEDIDO").AsString() + " - " +
                   dataSet.FieldByName("NMFANTCLIE").AsString());
}

// The unit price rounded to cents times the quantity, less the discount
// cut to cents as the grid shows it. SgUnidPai is the unit of the item's
// stock product (the product its converted quantity is counted in).
void TfrmConfPedido::cdsItemPedidoCalcFields(TDataSet& dataSet) {
  const double price = Consiste::RoundDec(dataSet.FieldByName("VRPREUNITPED").AsFloat(), 2);
  const double quantity = dataSet.FieldByName("QTITEMPED").AsFloat();
  const double discount = CortaCentavos(dataSet.FieldByName("VRDESITPED").AsFloat());
  dataSet.FieldByName("VrTotal").SetAsFloat(price * quantity - discount);
  dataSet.FieldByName("SgUnidPai").SetAsString(StockUnit(dataSet.FieldByName("CDPRODESTO").AsString()));
}

// The unit of a stock product, looked up once per product while the same
// items are shown. A lookup that fails leaves the unit empty here; the
// item scroll's own lookup reports the failure.
std::string TfrmConfPedido::StockUnit(const std::string& cdProdEsto) {
  if (cdProdEsto.empty()) return {};
  if (auto known = units_.find(cdProdEsto); known != units_.end()) return known->second;
  try {
    qryPesqUnid.Close();
    qryPesqUnid.ParamByName("P_CDPRODESTO").SetAsString(cdProdEsto);
    qryPesqUnid.Open();
  } catch (const EDatabaseError&) {
    return {};
  }
  std::string unit = qryPesqUnid.IsEmpty() ? "" : qryPesqUnid.FieldByName("SGUNIDADE").AsString();
  units_[cdProdEsto] = unit;
  return unit;
}

void TfrmConfPedido::cdsPedidoIDTPFORPGTPEDGetText(TField& sender, std::string& text, bool) {
  text = sender.AsString();
  if (Consiste::EmptyString(text)) text = "X";
}

void TfrmConfPedido::cdsPedidoNRINSJURCLIEGetText(TField& sender, std::string& text, bool) {
  text = display_texts::RegistrationText(sender);
}

void TfrmConfPedido::cdsItemPedidoCDARVPRODGetText(TField& sender, std::string& text, bool) {
  text = display_texts::ProductCodeText(sender);
}

void TfrmConfPedido::cdsItemPedidoIDITPEDDIFERGetText(TField& sender, std::string& text, bool) {
  if (sender.DataSet().IsEmpty()) {
    text.clear();
    return;
  }
  const std::string kind = sender.AsString();
  text = msgPadrao->Msg(kind.empty() ? "N" : kind);
}

void TfrmConfPedido::cdsPrazoPgtoPREVISAOGetText(TField& sender, std::string& text, bool) {
  if (sender.IsNull()) {
    text.clear();
    return;
  }
  const TDateTime date = sender.AsDateTime();
  text = DateTimeToStr(date) + " " + FormatDateTime("ddd", date);
}
