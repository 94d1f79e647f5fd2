// Filter expressions: the forms the screens use, precedence, types, nulls
// and malformed text reported with its position.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "data/client_dataset.h"

namespace fw {
namespace {

class FilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cds_.SetData(TDataPacket::Parse(R"({
      "fields": [{"name": "CDFILIAL", "type": "string", "size": 4},
                 {"name": "NRPEDIDO", "type": "string", "size": 10},
                 {"name": "IDSITPEDIDO", "type": "string", "size": 1},
                 {"name": "QTITEMPED", "type": "float"},
                 {"name": "DTPEDIDO", "type": "datetime"},
                 {"name": "NRITEM", "type": "integer"}],
      "rows": [["0001", "0000000123", "1", 2.5, 45292, 1],
               ["0001", "0000000124", "2", 10, 45293.5, 2],
               ["0002", "0000000123", "1", null, null, 3],
               ["0002", "0000000125", "6", -1, 45000, 4],
               ["abcd", "0000000126", "1", 0, 45292, 5]]})"));
    cds_.SetFiltered(true);
  }

  // NRITEM of the rows the filter lets through.
  std::vector<int> Matching(const std::string& expression, TFilterOptions options = 0) {
    cds_.SetFilterOptions(options);
    cds_.SetFilter(expression);
    std::vector<int> items;
    for (cds_.First(); !cds_.Eof(); cds_.Next()) items.push_back(cds_.FieldByName("NRITEM").AsInteger());
    return items;
  }

  TClientDataSet cds_{"cdsSomatorio"};
};

using V = std::vector<int>;

TEST_F(FilterTest, FormsTheScreensUse) {
  EXPECT_EQ(Matching("(IDSITPEDIDO = '1')"), (V{1, 3, 5}));
  EXPECT_EQ(Matching("CDFILIAL = '0001'AND NRPEDIDO = '0000000123'"), (V{1}));
  EXPECT_EQ(Matching("CDFILIAL = '0002' and NRPEDIDO = '0000000123'"), (V{3}));
}

TEST_F(FilterTest, PrecedenceAndNot) {
  EXPECT_EQ(Matching("IDSITPEDIDO = '2' OR IDSITPEDIDO = '6' AND CDFILIAL = '0001'"), (V{2}));
  EXPECT_EQ(Matching("(IDSITPEDIDO = '2' OR IDSITPEDIDO = '6') AND CDFILIAL = '0002'"), (V{4}));
  EXPECT_EQ(Matching("NOT IDSITPEDIDO = '1'"), (V{2, 4}));
  EXPECT_EQ(Matching("not (cdfilial <> '0001')"), (V{1, 2}));
}

TEST_F(FilterTest, NumbersDatesAndNulls) {
  EXPECT_EQ(Matching("QTITEMPED > 2"), (V{1, 2}));
  EXPECT_EQ(Matching("QTITEMPED >= -1 AND QTITEMPED < 2.5"), (V{4, 5}));
  EXPECT_EQ(Matching("QTITEMPED <> 10"), (V{1, 4, 5}));  // null matches no comparison
  EXPECT_EQ(Matching("QTITEMPED IS NULL"), (V{3}));
  EXPECT_EQ(Matching("DTPEDIDO IS NOT NULL AND DTPEDIDO <= '01/01/2024'"), (V{1, 4, 5}));
  EXPECT_EQ(Matching("NRPEDIDO = 123"), (V{1, 3}));  // text read as a number
  EXPECT_EQ(Matching("NRITEM <= 2 OR [NRITEM] = 5"), (V{1, 2, 5}));
}

TEST_F(FilterTest, CaseOfValuesFollowsTheFilterOptions) {
  EXPECT_EQ(Matching("CDFILIAL = 'ABCD'"), V{});
  EXPECT_EQ(Matching("CDFILIAL = 'ABCD'", foCaseInsensitive), (V{5}));
  EXPECT_EQ(Matching("CDFILIAL > '0001'"), (V{3, 4, 5}));
}

TEST_F(FilterTest, QuotesInsideTextAreDoubled) {
  cds_.SetFiltered(false);
  cds_.First();
  cds_.Edit();
  cds_.FieldByName("CDFILIAL").SetAsString("d'or");
  cds_.Post();
  cds_.SetFiltered(true);
  EXPECT_EQ(Matching("CDFILIAL = 'd''or'"), (V{1}));
}

void ExpectError(FilterTest*, TClientDataSet& cds, const std::string& expression,
                 size_t position, const std::string& fragment) {
  std::string before = cds.Filter();
  int count = cds.RecordCount();
  try {
    cds.SetFilter(expression);
    ADD_FAILURE() << "sem erro: " << expression;
  } catch (const EFilterError& e) {
    EXPECT_EQ(e.position(), position) << expression << ": " << e.what();
    EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
  }
  EXPECT_EQ(cds.Filter(), before);
  EXPECT_EQ(cds.RecordCount(), count);
}

TEST_F(FilterTest, MalformedTextNamesThePositionAndKeepsThePreviousFilter) {
  Matching("IDSITPEDIDO = '1'");
  ExpectError(this, cds_, "(IDSITPEDIDO = '1'", 19, "')'");
  ExpectError(this, cds_, "IDSITPEDIDO = '1", 15, "aspa");
  ExpectError(this, cds_, "IDSITPEDIDO '1'", 13, "operador");
  ExpectError(this, cds_, "IDSITPEDIDO = '1' AND", 22, "fim");
  ExpectError(this, cds_, "IDSITPEDIDO == '1'", 14, "'='");
  ExpectError(this, cds_, "IDSITPEDIDO = '1' # x", 19, "'#'");
  ExpectError(this, cds_, "NAOEXISTE = '1'", 1, "NAOEXISTE");
  ExpectError(this, cds_, "QTITEMPED = 'muito'", 13, "muito");
  ExpectError(this, cds_, std::string(500, '(') + "A = '1'", 202, "aninhada");
}

}  // namespace
}  // namespace fw
