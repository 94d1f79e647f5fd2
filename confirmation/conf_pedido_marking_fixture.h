// The marking fixture: a loaded screen with lists shaped by the test,
// the carrier rule, canned permit answers, clicks and keys on the grids.
// Header-only: only test programs include it.
#pragma once

#include "confirmation/conf_pedido_test_support.h"
#include "forms/keys.h"

namespace conf_pedido_testing {

using Cli_zqv41800::inContItemPedidoCh;
using Cli_zqv41800::inContPedidoCh;
using Strings = std::vector<std::string>;

inline const char* const kSemTrans = "Operação bloqueada. Não há transportadora informada para o pedido.";

class MarkingTest : public ScreenTest {
 protected:
  void TearDown() override {
    inContPedidoCh = 0;
    inContItemPedidoCh = 0;
    ScreenTest::TearDown();
  }
  // Branch 0001 loaded, then these orders, all pending, unmarked and with
  // a carrier, as the list.
  json Loaded(const Strings& numbers) {
    Open();
    LeaveBranch();
    screen->sbtVerificar->Click();
    json orders = Rows(Orders(), "NRPEDIDO", numbers);
    for (size_t row = 0; row < numbers.size(); ++row) {
      Set(orders, row, "IDSITPEDIDO", "1");
      Set(orders, row, "IDCHECK", "N");
      Set(orders, row, "NRINSJURTRAN", "12345678000190");
    }
    return orders;
  }
  void Show(const json& orders) {
    screen->cdsPedido.SetData(fw::TDataPacket::FromJson(orders));
    inContPedidoCh = 0;
    screen->Habilita();
    Calls();
  }
  void CarrierRule(const char* value) {
    screen->cdsParamPedido.Edit();
    screen->cdsParamPedido.FieldByName("IDOBRINFTRAN").SetAsString(value);
    screen->cdsParamPedido.Post();
  }
  void ItemErrors(double count) {
    json packet = Reply("GetItemErro", {"0001", "0000000001"});
    packet["rows"] = json::array({json::array({count})});
    values["GetItemErro"] = packet;
  }
  void OrdersWithErrors(const Strings& numbers) {
    json packet = Reply("GetPedIErro", {"0001"});
    packet["rows"] = json::array();
    const int nr = Column(packet, "NRPEDIDO");
    for (const std::string& number : numbers) {
      json row = json::array();
      for (size_t i = 0; i < packet["fields"].size(); ++i)
        row.push_back(static_cast<int>(i) == nr ? json(number) : json("0001"));
      packet["rows"].push_back(row);
    }
    values["GetPedIErro"] = packet;
  }
  // A click on the cell or title of `field`; false when the command was
  // ended by a refusal.
  bool Click(fw::TDBGrid& grid, const char* field, bool title = false) {
    fw::TColumn* column = grid.Columns().FindField(field);
    EXPECT_NE(column, nullptr);
    try {
      if (title) grid.OnTitleClick(*column);
      else grid.OnCellClick(*column);
    } catch (const fw::EAbort&) {
      return false;
    }
    return true;
  }
  bool Key(fw::TDBGrid& grid, fw::TShiftState shift = 0) {
    fw::TKey key = fw::VK_SPACE;
    try {
      grid.OnKeyDown(grid, key, shift);
    } catch (const fw::EAbort&) {
      return false;
    }
    EXPECT_EQ(key, fw::VK_SPACE);  // the key is left to the grid
    return true;
  }
  // The marks of the list in order ("_" for an empty one), read without
  // running the scroll handler.
  std::string Marks(fw::TClientDataSet& dataSet) {
    std::string marks;
    auto handler = std::move(dataSet.AfterScroll);
    dataSet.AfterScroll = nullptr;
    const int row = dataSet.RecNo();
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
      marks += dataSet.FieldByName("IDCHECK").AsString().empty()
                   ? std::string("_")
                   : dataSet.FieldByName("IDCHECK").AsString();
    dataSet.SetRecNo(row);
    dataSet.AfterScroll = std::move(handler);
    return marks;
  }
  bool MarkCommands() { return screen->sbtConfirmar->Enabled() && screen->sbtCancelar->Enabled(); }
  // Order 1 shown with these three items on the item page.
  json Items() {
    Show(Loaded({"0000000001"}));
    screen->mnuItemPedido->Click();
    json items = Reply("GetItemPedido", {"0001", "0000000001", "", "T"});
    json first = items["rows"][0];
    items["rows"] = json::array({first, first, first});
    const char* numbers[] = {"001", "002", "003"};
    for (size_t row = 0; row < 3; ++row) {
      Set(items, row, "NRITEMPED", numbers[row]);
      Set(items, row, "IDSITITEMPED", "1");
      Set(items, row, "IDCHECK", "N");
      Set(items, row, "IDITEMERRO", "N");
    }
    return items;
  }
  void ShowItems(const json& items) {
    screen->cdsItemPedido.SetData(fw::TDataPacket::FromJson(items));
    inContItemPedidoCh = 0;
    screen->Habilita();
    Calls();
  }
};

class ItemMarkingTest : public MarkingTest {};

}  // namespace conf_pedido_testing
