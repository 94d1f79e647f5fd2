// Client dataset: loading packets with and without persistent fields, the
// change log (ChangeCount, MergeChangeLog, CancelUpdates) and Data().
#include <gtest/gtest.h>

#include "base/errors.h"
#include "data/client_dataset.h"

namespace fw {
namespace {

TDataPacket Items() {
  return TDataPacket::Parse(R"({
    "fields": [{"name": "IDCHECK", "type": "string", "size": 1, "flags": []},
               {"name": "IDSITITEMPED", "type": "string", "size": 1},
               {"name": "NRITEMPED", "type": "string", "size": 10},
               {"name": "QTITEMPED", "type": "float"}],
    "rows": [["N", "1", "1", 3], ["N", "2", "2", 1.5], ["N", "1", "3", 0.25]]})");
}

void Mark(TClientDataSet& cds, const std::string& value) {
  cds.Edit();
  cds.FieldByName("IDCHECK").SetAsString(value);
  cds.Post();
}

std::vector<std::string> Column(TClientDataSet& cds, const char* name) {
  std::vector<std::string> out;
  int recNo = cds.RecNo();
  for (cds.First(); !cds.Eof(); cds.Next()) out.push_back(cds.FieldByName(name).AsString());
  cds.SetRecNo(recNo);
  return out;
}

TEST(ClientDataSetChangeLog, EachPostIsOneEntry) {
  TClientDataSet cds("cdsItemPedido");
  cds.SetData(Items());
  EXPECT_EQ(cds.ChangeCount(), 0);
  Mark(cds, "S");
  Mark(cds, "N");
  EXPECT_EQ(cds.ChangeCount(), 2);  // marking and unmarking one row
  cds.Edit();
  cds.Cancel();
  EXPECT_EQ(cds.ChangeCount(), 2);
}

TEST(ClientDataSetChangeLog, CancelUpdatesRestoresOriginalsAndEmptiesTheLog) {
  TClientDataSet cds("cdsItemPedido");
  cds.SetData(Items());
  Mark(cds, "S");
  cds.Next();
  cds.Next();
  Mark(cds, "S");
  cds.First();
  Mark(cds, "N");
  Mark(cds, "S");
  cds.Edit();
  cds.FieldByName("QTITEMPED").SetAsFloat(99);  // pending, not posted
  cds.CancelUpdates();
  EXPECT_EQ(cds.ChangeCount(), 0);
  EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Column(cds, "IDCHECK"), (std::vector<std::string>{"N", "N", "N"}));
  EXPECT_EQ(Column(cds, "QTITEMPED"), (std::vector<std::string>{"3", "1,5", "0,25"}));
}

TEST(ClientDataSetChangeLog, MergeChangeLogKeepsCurrentValues) {
  TClientDataSet cds("cdsItemPedido");
  cds.SetData(Items());
  Mark(cds, "S");
  cds.MergeChangeLog();
  EXPECT_EQ(cds.ChangeCount(), 0);
  cds.CancelUpdates();
  EXPECT_EQ(cds.FieldByName("IDCHECK").AsString(), "S");
}

TEST(ClientDataSetChangeLog, DataCarriesTheLogAndSurvivesARoundTrip) {
  TClientDataSet cds("cdsItemPedido");
  cds.SetData(Items());
  cds.Next();
  cds.Next();
  Mark(cds, "S");
  TDataPacket data = cds.Data();
  ASSERT_EQ(data.Changes.size(), 1u);
  EXPECT_EQ(data.Changes[0].RowIndex, 2u);
  EXPECT_EQ(std::get<std::string>(data.Changes[0].Old[0]), "N");
  EXPECT_EQ(std::get<std::string>(data.Rows[2][0]), "S");
  EXPECT_EQ(data.Fields[0].ProviderFlags, 0u);  // IDCHECK takes no part in updates

  TClientDataSet copy("cdsCopia");
  copy.SetData(TDataPacket::Parse(data.ToString()));
  EXPECT_EQ(copy.ChangeCount(), 1);
  EXPECT_EQ(copy.Data().ToString(), data.ToString());
  copy.CancelUpdates();
  EXPECT_EQ(Column(copy, "IDCHECK"), (std::vector<std::string>{"N", "N", "N"}));
}

TEST(ClientDataSetLoad, SetDataReplacesRowsAndLogAndGoesToTheFirstRow) {
  TClientDataSet cds("cdsItemPedido");
  cds.SetData(Items());
  cds.Last();
  Mark(cds, "S");
  cds.SetData(Items());
  EXPECT_EQ(cds.RecNo(), 1);
  EXPECT_EQ(cds.ChangeCount(), 0);
  EXPECT_EQ(cds.RecordCount(), 3);
}

TEST(ClientDataSetLoad, MissingPersistentFieldIsNamedAndNothingChanges) {
  TClientDataSet cds("cdsItemPedido");
  cds.AddField("IDCHECK", TFieldType::ftString, 1);
  cds.AddField("NRITEMPED", TFieldType::ftString, 10);
  cds.SetData(Items());
  cds.Next();
  Mark(cds, "S");

  TDataPacket bad = TDataPacket::Parse(
      R"({"fields": [{"name": "IDCHECK", "type": "string", "size": 1}], "rows": [["S"]]})");
  try {
    cds.SetData(bad);
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("'NRITEMPED'"), std::string::npos) << e.what();
  }
  EXPECT_EQ(cds.RecordCount(), 3);
  EXPECT_EQ(cds.RecNo(), 2);
  EXPECT_EQ(cds.ChangeCount(), 1);
  EXPECT_EQ(cds.FieldByName("IDCHECK").AsString(), "S");
}

TEST(ClientDataSetLoad, PersistentFieldsRejectWrongTypesAndTooLongValues) {
  TClientDataSet cds("cdsItemPedido");
  cds.AddField("NRITEMPED", TFieldType::ftFloat);
  EXPECT_THROW(cds.SetData(Items()), EDatabaseError);
  EXPECT_FALSE(cds.Active());

  TClientDataSet narrow("cdsEstreito");
  narrow.AddField("NRITEMPED", TFieldType::ftString, 1);
  TDataPacket items = Items();
  items.Rows[1][2] = std::string("22");
  try {
    narrow.SetData(items);
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("NRITEMPED"), std::string::npos);
  }
}

TEST(ClientDataSetLoad, WithoutPersistentFieldsTheFieldsFollowThePacket) {
  TClientDataSet cds("cdsPedIErro");
  cds.SetData(Items());
  EXPECT_EQ(cds.FieldCount(), 4);
  cds.SetData(TDataPacket::Parse(
      R"({"fields": [{"name": "NRPEDIDO", "type": "string", "size": 10}], "rows": [["7"]]})"));
  EXPECT_EQ(cds.FieldCount(), 1);
  EXPECT_EQ(cds.FindField("IDCHECK"), nullptr);
  EXPECT_TRUE(cds.Locate("NRPEDIDO", std::string("7"), loCaseInsensitive));
  cds.Close();
  EXPECT_EQ(cds.FieldCount(), 0);
  EXPECT_THROW(cds.Open(), EDatabaseError);  // no packet to open
}

TEST(ClientDataSetLoad, CreateDataSetOpensAnEmptyTable) {
  TClientDataSet cds("cdsVazio");
  cds.AddField("COUNT", TFieldType::ftFloat);
  cds.CreateDataSet();
  EXPECT_TRUE(cds.Active());
  EXPECT_TRUE(cds.IsEmpty());
  EXPECT_EQ(cds.Data().Fields.size(), 1u);
}

TEST(ClientDataSetFilter, WalksOnlyMatchingRowsAndMarksSurviveUnfiltering) {
  TClientDataSet cds("cdsItemPedido");
  cds.SetData(Items());
  cds.SetFilter("(IDSITITEMPED = '1')");
  cds.SetFiltered(true);
  EXPECT_EQ(cds.RecordCount(), 2);
  for (cds.First(); !cds.Eof(); cds.Next()) Mark(cds, "S");
  cds.SetFiltered(false);
  cds.SetFilter("");
  EXPECT_EQ(Column(cds, "IDCHECK"), (std::vector<std::string>{"S", "N", "S"}));
  EXPECT_EQ(cds.ChangeCount(), 2);
}

TEST(ClientDataSetFilter, PostThatLeavesTheFilterDropsTheRowFromTheView) {
  TClientDataSet cds("cdsItemPedido");
  cds.SetData(Items());
  cds.SetFilter("IDCHECK = 'N'");
  cds.SetFiltered(true);
  Mark(cds, "S");
  EXPECT_EQ(cds.RecordCount(), 2);
  EXPECT_EQ(cds.FieldByName("NRITEMPED").AsString(), "2");
}

}  // namespace
}  // namespace fw
