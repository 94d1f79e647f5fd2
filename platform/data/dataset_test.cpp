// Cursor, scroll handler, editing, calculated fields, Locate and controls
// of the dataset base, exercised through a client dataset.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "data/client_dataset.h"
#include "data/data_source.h"

namespace fw {
namespace {

TDataPacket Orders() {
  return TDataPacket::Parse(R"({
    "fields": [{"name": "NRPEDIDO", "type": "string", "size": 10},
               {"name": "NMFANTCLIE", "type": "string", "size": 50},
               {"name": "IDSITPEDIDO", "type": "string", "size": 1},
               {"name": "VRPBRUVOLPED", "type": "float"}],
    "rows": [["0000000001", "Padaria Pão Quente", "1", 10.5],
             ["0000000002", "Mercado São João", "2", null],
             ["0000000003", "Açougue Boi Gordo", "1", 2]]})");
}

struct ScrollCounter {
  int count = 0;
  std::vector<std::string> seen;
  TDataSet::TDataSetNotifyEvent Handler() {
    return [this](TDataSet& ds) {
      ++count;
      seen.push_back(ds.FieldByName("NRPEDIDO").AsString());
    };
  }
};

TEST(DataSetCursor, WalksWithBofEofAndRecNo) {
  TClientDataSet cds("cdsPedido");
  cds.SetData(Orders());
  EXPECT_TRUE(cds.Bof());
  EXPECT_FALSE(cds.Eof());
  EXPECT_EQ(cds.RecNo(), 1);
  std::vector<std::string> numbers;
  for (cds.First(); !cds.Eof(); cds.Next()) numbers.push_back(cds.FieldByName("NRPEDIDO").AsString());
  EXPECT_EQ(numbers, (std::vector<std::string>{"0000000001", "0000000002", "0000000003"}));
  EXPECT_EQ(cds.RecNo(), 3);  // Next at the last row sets Eof and stays
  cds.Prior();
  EXPECT_FALSE(cds.Eof());
  EXPECT_EQ(cds.RecNo(), 2);
  cds.Prior();
  cds.Prior();
  EXPECT_TRUE(cds.Bof());
  EXPECT_EQ(cds.RecNo(), 1);
  EXPECT_EQ(cds.MoveBy(5), 2);
  EXPECT_TRUE(cds.Eof());
  cds.SetRecNo(2);
  EXPECT_EQ(cds.FieldByName("NMFANTCLIE").AsString(), "Mercado São João");
}

TEST(DataSetCursor, AfterScrollRunsOnEveryMoveAndCanBeDetached) {
  TClientDataSet cds("cdsPedido");
  ScrollCounter counter;
  cds.AfterScroll = counter.Handler();
  cds.SetData(Orders());  // the first positioning after loading
  EXPECT_EQ(counter.seen, std::vector<std::string>{"0000000001"});
  cds.Next();
  cds.Next();
  cds.Next();  // at the last row: sets Eof, still a scroll
  cds.Next();  // already at Eof: nothing
  EXPECT_EQ(counter.count, 4);
  cds.Last();  // always a scroll, and leaves Eof set
  EXPECT_TRUE(cds.Eof());
  EXPECT_EQ(counter.count, 5);
  counter.count = 4;

  auto saved = cds.AfterScroll;
  cds.AfterScroll = nullptr;
  cds.First();
  cds.Next();
  EXPECT_EQ(counter.count, 4);
  cds.AfterScroll = saved;
  EXPECT_TRUE(cds.Locate("NRPEDIDO", std::string("0000000003")));
  EXPECT_EQ(counter.count, 5);
  EXPECT_EQ(counter.seen.back(), "0000000003");
}

TEST(DataSetCursor, LoadingAnEmptyPacketRunsNoScrollHandler) {
  TClientDataSet cds("cdsPedido");
  ScrollCounter counter;
  cds.AfterScroll = counter.Handler();
  TDataPacket empty = Orders();
  empty.Rows.clear();
  cds.SetData(empty);
  EXPECT_EQ(counter.count, 0);
  EXPECT_TRUE(cds.IsEmpty());
  EXPECT_TRUE(cds.Eof() && cds.Bof());
  EXPECT_EQ(cds.RecNo(), 0);
  EXPECT_EQ(cds.FieldByName("NRPEDIDO").AsString(), "");
  EXPECT_TRUE(cds.FieldByName("VRPBRUVOLPED").IsNull());
}

TEST(DataSetLocate, MovesOnlyOnSuccessAndHonoursOptions) {
  TClientDataSet cds("cdsPedido");
  cds.SetData(Orders());
  cds.Next();
  EXPECT_FALSE(cds.Locate("NMFANTCLIE", std::string("açougue boi gordo")));
  EXPECT_EQ(cds.RecNo(), 2);
  EXPECT_TRUE(cds.Locate("NMFANTCLIE", std::string("AÇOUGUE BOI GORDO"), loCaseInsensitive));
  EXPECT_EQ(cds.RecNo(), 3);
  EXPECT_TRUE(cds.Locate("NMFANTCLIE", std::string("mercado"), loCaseInsensitive | loPartialKey));
  EXPECT_EQ(cds.RecNo(), 2);
  EXPECT_TRUE(cds.Locate("VRPBRUVOLPED", 2.0));
  EXPECT_EQ(cds.RecNo(), 3);
  EXPECT_TRUE(cds.Locate("VRPBRUVOLPED", Value{}));
  EXPECT_EQ(cds.RecNo(), 2);
  EXPECT_THROW(cds.Locate("NAOEXISTE", std::string("x")), EDatabaseError);
}

TEST(DataSetFields, UnknownNameRaisesAnErrorNamingIt) {
  TClientDataSet cds("cdsPedido");
  cds.SetData(Orders());
  EXPECT_EQ(&cds.FieldByName("nrpedido"), &cds.FieldByName("NRPEDIDO"));
  try {
    cds.FieldByName("CDCLIENTE");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("'CDCLIENTE'"), std::string::npos);
  }
}

TEST(DataSetEditing, EditPostCancelAndStates) {
  TClientDataSet cds("cdsPedido");
  cds.SetData(Orders());
  TField& sit = cds.FieldByName("IDSITPEDIDO");
  EXPECT_THROW(sit.SetAsString("2"), EDatabaseError);  // browse state
  cds.Edit();
  EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
  sit.SetAsString("2");
  EXPECT_EQ(sit.AsString(), "2");
  cds.Cancel();
  EXPECT_EQ(sit.AsString(), "1");
  cds.Edit();
  sit.SetAsString("6");
  cds.Next();  // moving posts the pending edit
  EXPECT_EQ(cds.State(), TDataSetState::dsBrowse);
  cds.First();
  EXPECT_EQ(sit.AsString(), "6");
  EXPECT_EQ(cds.ChangeCount(), 1);
}

TEST(DataSetEditing, StringSizeIsEnforcedNamingTheField) {
  TClientDataSet cds("cdsPedido");
  cds.SetData(Orders());
  cds.Edit();
  cds.FieldByName("IDSITPEDIDO").SetAsString("é");  // one character, two bytes
  try {
    cds.FieldByName("IDSITPEDIDO").SetAsString("12");
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("IDSITPEDIDO"), std::string::npos);
  }
  EXPECT_EQ(cds.FieldByName("IDSITPEDIDO").AsString(), "é");
  EXPECT_THROW(cds.FieldByName("VRPBRUVOLPED").SetAsString("abc"), EConvertError);
  cds.FieldByName("VRPBRUVOLPED").SetAsString("1234,5");
  EXPECT_THROW(cds.FieldByName("VRPBRUVOLPED").SetAsString("1.234,5"), EConvertError);
  EXPECT_THROW(cds.FieldByName("VRPBRUVOLPED").SetAsFloat(1.0 / 0.0), EDatabaseError);
}

TEST(DataSetEditing, RequiredFieldBlocksPost) {
  TClientDataSet cds("cdsPedido");
  cds.AddField("NRPEDIDO", TFieldType::ftString, 10).Required = true;
  cds.SetData(Orders());
  cds.Edit();
  cds.FieldByName("NRPEDIDO").Clear();
  EXPECT_THROW(cds.Post(), EDatabaseError);
  EXPECT_EQ(cds.State(), TDataSetState::dsEdit);
  cds.Cancel();
  EXPECT_EQ(cds.FieldByName("NRPEDIDO").AsString(), "0000000001");
}

TEST(DataSetCalcFields, ComputedPerRowAndAfterPostNeverStored) {
  TClientDataSet cds("cdsPedido");
  cds.AddField("DsPedido", TFieldType::ftString, 70, TFieldKind::fkCalculated);
  cds.AddField("NRPEDIDO", TFieldType::ftString, 10);
  cds.AddField("NMFANTCLIE", TFieldType::ftString, 50);
  int calls = 0;
  cds.OnCalcFields = [&](TDataSet& ds) {
    ++calls;
    ds.FieldByName("DsPedido")
        .SetAsString(ds.FieldByName("NRPEDIDO").AsString() + " - " +
                     ds.FieldByName("NMFANTCLIE").AsString());
  };
  cds.SetData(Orders());
  EXPECT_GE(calls, 3);
  EXPECT_EQ(cds.FieldByName("DsPedido").AsString(), "0000000001 - Padaria Pão Quente");
  cds.Edit();
  cds.FieldByName("NMFANTCLIE").SetAsString("Outra");
  EXPECT_THROW(cds.FieldByName("DsPedido").SetAsString("x"), EDatabaseError);
  cds.Post();
  EXPECT_EQ(cds.FieldByName("DsPedido").AsString(), "0000000001 - Outra");
  TDataPacket data = cds.Data();
  EXPECT_EQ(data.FieldIndex("DsPedido"), -1);
  EXPECT_EQ(data.Fields.size(), 4u);  // undeclared columns travel back too
}

TEST(DataSetDisplay, DisplayRecordReadsAnotherRowWithoutScrolling) {
  TClientDataSet cds("cdsPedido");
  ScrollCounter counter;
  cds.SetData(Orders());
  cds.AfterScroll = counter.Handler();
  int previous = cds.SetDisplayRecord(3);
  EXPECT_EQ(previous, 0);
  EXPECT_EQ(cds.FieldByName("NRPEDIDO").AsString(), "0000000003");
  cds.SetDisplayRecord(previous);
  EXPECT_EQ(cds.FieldByName("NRPEDIDO").AsString(), "0000000001");
  EXPECT_EQ(cds.RecNo(), 1);
  EXPECT_EQ(counter.count, 0);
}

class RecordingLink : public TDataLink {
 public:
  std::vector<TDataEvent> events;

 protected:
  void DataEvent(TDataEvent event, TField*) override { events.push_back(event); }
};

TEST(DataSetControls, DisabledControlsAreNotNotifiedAndNest) {
  TClientDataSet cds("cdsPedido");
  TDataSource dts("dtsPedido", &cds);
  RecordingLink link;
  link.SetDataSource(&dts);
  cds.SetData(Orders());
  ASSERT_FALSE(link.events.empty());
  link.events.clear();

  int scrolls = 0;
  cds.AfterScroll = [&](TDataSet&) { ++scrolls; };
  cds.DisableControls();
  cds.DisableControls();
  for (cds.First(); !cds.Eof(); cds.Next()) {
    cds.Edit();
    cds.FieldByName("IDSITPEDIDO").SetAsString("2");
    cds.Post();
  }
  cds.EnableControls();
  EXPECT_TRUE(link.events.empty());
  EXPECT_GT(scrolls, 0);  // handlers still run
  cds.EnableControls();
  EXPECT_EQ(link.events, std::vector<TDataEvent>{TDataEvent::deDataSetChange});
  link.events.clear();
  cds.EnableControls();  // unbalanced: ignored
  cds.Prior();
  EXPECT_EQ(link.events, std::vector<TDataEvent>{TDataEvent::deDataSetScroll});
}

TEST(DataSetControls, SourceAndDataSetMayDieInEitherOrder) {
  RecordingLink link;
  {
    auto cds = std::make_unique<TClientDataSet>("cds");
    TDataSource dts("dts", cds.get());
    link.SetDataSource(&dts);
    cds.reset();
    EXPECT_EQ(dts.DataSet(), nullptr);
    EXPECT_FALSE(link.Active());
  }
  EXPECT_EQ(link.DataSource(), nullptr);
}

}  // namespace
}  // namespace fw
