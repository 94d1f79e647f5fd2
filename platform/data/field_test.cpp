// Field texts: AsString, edit text and display text through formats, masks
// and get-text handlers, for every field type.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "data/client_dataset.h"
#include "text/date_time.h"

namespace fw {
namespace {

class FieldTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cds_.AddField("VRPBRUVOLPED", TFieldType::ftFloat).DisplayFormat = "##,#0.00000";
    TField& qt = cds_.AddField("QTITEMPED2", TFieldType::ftFloat);
    qt.DisplayFormat = "0.000";
    qt.EditFormat = "0.000";
    cds_.AddField("VRPECOMVDPED", TFieldType::ftFloat);
    cds_.AddField("DTPEDIDO", TFieldType::ftDateTime);
    cds_.AddField("CDARVPROD", TFieldType::ftString, 20).EditMask = "99.99.999;0;_";
    cds_.AddField("TXOBSPED", TFieldType::ftMemo);
    cds_.AddField("NRITEM", TFieldType::ftInteger);
    cds_.SetData(TDataPacket::Parse(R"({
      "fields": [{"name": "VRPBRUVOLPED", "type": "float"}, {"name": "QTITEMPED2", "type": "float"},
                 {"name": "VRPECOMVDPED", "type": "float"}, {"name": "DTPEDIDO", "type": "datetime"},
                 {"name": "CDARVPROD", "type": "string", "size": 20},
                 {"name": "TXOBSPED", "type": "memo"}, {"name": "NRITEM", "type": "integer"}],
      "rows": [[1234.5, 2.0005, 12.3456, 45356.5, "1234567", "{\\rtf1 x}", 7],
               [null, null, null, null, null, null, null]]})"));
  }
  TField& F(const char* name) { return cds_.FieldByName(name); }
  TClientDataSet cds_{"cds"};
};

TEST_F(FieldTextTest, FloatTextsFollowDisplayAndEditFormats) {
  EXPECT_EQ(F("VRPBRUVOLPED").DisplayText(), "1.234,50000");
  EXPECT_EQ(F("VRPBRUVOLPED").Text(), "1.234,50000");  // no edit format: display format
  EXPECT_EQ(F("VRPBRUVOLPED").AsString(), "1234,5");
  EXPECT_EQ(F("QTITEMPED2").Text(), "2,001");  // half away from zero
  EXPECT_EQ(F("VRPECOMVDPED").DisplayText(), "12,3456");
  EXPECT_EQ(F("NRITEM").AsString(), "7");
  EXPECT_DOUBLE_EQ(F("NRITEM").AsFloat(), 7);
}

TEST_F(FieldTextTest, DateTimeAndStringTexts) {
  EXPECT_EQ(F("DTPEDIDO").AsString(), "05/03/2024 12:00:00");
  F("DTPEDIDO").DisplayFormat = "ddd dd/mm";
  EXPECT_EQ(F("DTPEDIDO").DisplayText(), "ter 05/03");
  EXPECT_EQ(F("DTPEDIDO").Text(), "05/03/2024 12:00:00");
  EXPECT_EQ(F("CDARVPROD").DisplayText(), "12.34.567");
  EXPECT_EQ(F("CDARVPROD").Text(), "1234567");
  EXPECT_EQ(F("TXOBSPED").AsString(), "{\\rtf1 x}");
  EXPECT_EQ(F("TXOBSPED").DisplayText(), "(MEMO)");
}

TEST_F(FieldTextTest, NullsReadAsEmptyAndZero) {
  cds_.Next();
  for (const char* name : {"VRPBRUVOLPED", "DTPEDIDO", "CDARVPROD", "NRITEM"}) {
    EXPECT_TRUE(F(name).IsNull()) << name;
    EXPECT_EQ(F(name).AsString(), "") << name;
    EXPECT_EQ(F(name).DisplayText(), "") << name;
  }
  EXPECT_EQ(F("VRPBRUVOLPED").AsFloat(), 0);
  EXPECT_EQ(F("NRITEM").AsInteger(), 0);
}

TEST_F(FieldTextTest, GetTextHandlerDecidesBothTexts) {
  std::vector<bool> asked;
  F("CDARVPROD").OnGetText = [&](TField& sender, std::string& text, bool displayText) {
    asked.push_back(displayText);
    text = displayText ? "[" + sender.AsString() + "]" : sender.AsString();
  };
  EXPECT_EQ(F("CDARVPROD").DisplayText(), "[1234567]");
  EXPECT_EQ(F("CDARVPROD").Text(), "1234567");
  EXPECT_EQ(asked, (std::vector<bool>{true, false}));
}

TEST_F(FieldTextTest, SettingTextsConvertsInTheLocale) {
  cds_.Edit();
  F("VRPBRUVOLPED").SetText("1,5");
  EXPECT_DOUBLE_EQ(F("VRPBRUVOLPED").AsFloat(), 1.5);
  F("VRPBRUVOLPED").SetText("  ");
  EXPECT_TRUE(F("VRPBRUVOLPED").IsNull());
  F("DTPEDIDO").SetAsString("31/12/2024 23:59");
  EXPECT_EQ(F("DTPEDIDO").AsString(), "31/12/2024 23:59:00");
  EXPECT_THROW(F("DTPEDIDO").SetAsString("31/02/2024"), EConvertError);
  F("NRITEM").SetAsFloat(2.5);
  EXPECT_EQ(F("NRITEM").AsInteger(), 3);
  EXPECT_THROW(F("NRITEM").SetAsFloat(3e10), EDatabaseError);
  cds_.Cancel();
  EXPECT_DOUBLE_EQ(F("VRPBRUVOLPED").AsFloat(), 1234.5);
}

}  // namespace
}  // namespace fw
