// The demo data: the same options give the same database, and it holds
// every case the screens need to be tried on, consistently.
#include <gtest/gtest.h>

#include <stdexcept>

#include "appserver/test_support.h"

namespace appserver::testing {
namespace {

bool ValidCheckDigits(const std::string& number) {
  auto digit = [&](size_t n, bool cnpj) {
    int sum = 0;
    for (size_t i = 0; i < n; ++i) {
      int weight = cnpj ? int((n - i - 1) % 8 + 2) : int(n + 1 - i);
      sum += (number[i] - '0') * weight;
    }
    int d = sum % 11;
    return char('0' + (d < 2 ? 0 : 11 - d));
  };
  bool cnpj = number.size() == 14;
  if (!cnpj && number.size() != 11) return false;
  size_t n = number.size() - 2;
  return number[n] == digit(n, cnpj) && number[n + 1] == digit(n + 1, cnpj);
}

TEST(DemoDataTest, SameOptionsGiveTheSameDatabase) {
  auto build = [](uint64_t seed, double today) {
    auto db = fw::OpenSqlDriver("sqlite::memory:");
    CreateSchema(*db);
    FillDemoData(*db, {seed, 300, today});
    return DatabaseContents(*db);
  };
  std::string a = build(42, Today());
  EXPECT_EQ(a, build(42, Today()));
  EXPECT_NE(a, build(43, Today()));
  EXPECT_NE(a, build(42, Today() + 1));
  auto db = fw::OpenSqlDriver("sqlite::memory:");
  CreateSchema(*db);
  EXPECT_THROW(FillDemoData(*db, {1, kMinDemoOrders - 1, Today()}), std::invalid_argument);
  EXPECT_EQ(Count(*db, "SELECT COUNT(*) FROM FILIAL"), 0);  // nothing half written
}

class DemoCasesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { data_ = new TDemoDatabase(1500, 9); }
  static void TearDownTestSuite() { delete data_; }
  void SetUp() override { db_ = data_->Open(); }
  int64_t N(const std::string& sql) { return Count(*db_, sql); }

  static TDemoDatabase* data_;
  std::unique_ptr<fw::SqlDriver> db_;
};
TDemoDatabase* DemoCasesTest::data_ = nullptr;

TEST_F(DemoCasesTest, BranchesCoverEveryParameterCase) {
  EXPECT_EQ(N("SELECT COUNT(*) FROM PARAMPEDIDO WHERE IDOBRTPOPPED = 'N'"), 1);
  EXPECT_EQ(N("SELECT COUNT(*) FROM PARAMPEDIDO WHERE IDUTRESELOTE = 'S'"), 1);
  EXPECT_EQ(N("SELECT COUNT(*) FROM PARAMPEDIDO WHERE IDOBRINFTRAN = '2'"), 1);
  EXPECT_EQ(N("SELECT COUNT(*) FROM PARAMPEDIDO WHERE IDEXIBPEDIDO = '2'"), 1);
  EXPECT_EQ(N("SELECT COUNT(*) FROM PARAMPEDIDO WHERE IDEXIBIMPITPED = 'S'"), 1);
  EXPECT_EQ(N("SELECT COUNT(*) FROM PARAMPEDIDO WHERE IDEXIBVENDCOM = 'S'"), 1);
  EXPECT_EQ(N("SELECT COUNT(*) FROM PARAMPEDIDO WHERE IDTABPRECO = '1'"), 1);
  // Every branch has orders of every status, pending ones among them.
  EXPECT_EQ(N("SELECT COUNT(*) FROM (SELECT CDFILIAL FROM PEDIDO GROUP BY CDFILIAL"
              " HAVING COUNT(DISTINCT IDSITPEDIDO) = 3) AS B"),
            8);
}

TEST_F(DemoCasesTest, OperatorsCoverTheSalespersonAndPermissionCases) {
  // On the branch with IDEXIBPEDIDO "2": linked and permitted, linked only,
  // permitted only, neither.
  auto linked = [&](const char* op) {
    return N(std::string("SELECT COUNT(*) FROM VENDEDOR WHERE CDOPERADOR = '") + op + "'") > 0;
  };
  auto permitted = [&](const char* op) {
    return N(std::string("SELECT COUNT(*) FROM OPERTIPOPED T JOIN PARAMPEDIDO P ON"
                         " P.CDFILIAL = T.CDFILIAL AND P.IDEXIBPEDIDO = '2' WHERE CDOPERADOR = '") +
             op + "'") > 0;
  };
  EXPECT_TRUE(linked("ANA") && permitted("ANA"));
  EXPECT_TRUE(linked("BRUNO") && !permitted("BRUNO"));
  EXPECT_TRUE(!linked("CARLOS") && permitted("CARLOS"));
  EXPECT_TRUE(!linked("DANIELA") && !permitted("DANIELA"));
  EXPECT_GT(N("SELECT COUNT(*) FROM PEDIDO WHERE CDFILIAL = '0005' AND CDVENDEDOR = '0002'"), 0);
  EXPECT_GT(N("SELECT COUNT(*) FROM VENDEDOR WHERE IDCARGOVEND = 'R'"), 0);
}

TEST_F(DemoCasesTest, OrdersCoverEveryKind) {
  EXPECT_EQ(N("SELECT COUNT(DISTINCT IDSITITEMPED) FROM ITEMPEDIDO"), 7);
  EXPECT_EQ(N("SELECT COUNT(DISTINCT IDPRIOPED) FROM PEDIDO"), 5);
  EXPECT_EQ(N("SELECT COUNT(DISTINCT IDTIPOPEDIDO) FROM PEDIDO"), 2);
  EXPECT_EQ(N("SELECT COUNT(DISTINCT COALESCE(IDTPFORPGTPED, '-')) FROM PEDIDO"), 4);
  EXPECT_GT(N("SELECT COUNT(*) FROM PEDIDO WHERE NRINSJURTRAN IS NULL AND IDSITPEDIDO = '1'"
              " AND CDFILIAL = '0004'"), 0);
  EXPECT_GT(N("SELECT COUNT(*) FROM ITEMPEDIDO I JOIN INCONSALVARA L ON L.CDFILIAL = I.CDFILIAL"
              " AND L.CDPRODUTO = I.CDPRODUTO AND L.IDRESOLVIDA = 'N' WHERE I.IDSITITEMPED = '1'"),
            8);
  EXPECT_GT(N("SELECT COUNT(*) FROM OBSPEDIDO"), 0);
  EXPECT_EQ(N("SELECT COUNT(*) FROM BLOQPEDIDO"), 8);
  EXPECT_GT(N("SELECT COUNT(*) FROM RESERVAPED R JOIN PEDIDO P ON P.CDFILIAL = R.CDFILIAL"
              " AND P.NRPEDIDO = R.NRPEDIDO WHERE R.CDFILIAL = '0003'"), 0);
  EXPECT_GT(N("SELECT COUNT(*) FROM ITEMPEDIDO WHERE CDPRODESTO <> CDPRODUTO"), 0);
  EXPECT_GT(N("SELECT COUNT(*) FROM ENDECLIE WHERE IDTPENDECLIE = 'E'"), 0);
  // Dates around the day: orders within 45 days before, deliveries after.
  EXPECT_EQ(N("SELECT COUNT(*) FROM PEDIDO WHERE DTPEDIDO > " + std::to_string(Today()) +
              " OR DTPEDIDO < " + std::to_string(Today() - 45) + " OR DTENTPED <= DTPEDIDO"),
            0);
}

TEST_F(DemoCasesTest, DataAreConsistent) {
  // PostgreSQL enforces the keys as rows go in; SQLite is asked afterwards.
  if (db_->Dialect() == fw::TSqlDialect::SQLite) {
    EXPECT_TRUE(db_->Query("PRAGMA foreign_key_check", {}).Rows.empty());
  }
  for (auto& row : db_->Query("SELECT NRINSJURCLIE FROM CLIENTE UNION ALL"
                              " SELECT NRINSJURTRAN FROM TRANSPORTADORA", {}).Rows)
    EXPECT_TRUE(ValidCheckDigits(std::get<std::string>(row[0]))) << std::get<std::string>(row[0]);
  // Every customer has one principal address; payment terms add up to 100%.
  EXPECT_EQ(N("SELECT COUNT(*) FROM CLIENTE C WHERE (SELECT COUNT(*) FROM ENDECLIE E"
              " WHERE E.CDCLIENTE = C.CDCLIENTE AND E.IDTPENDECLIE = 'P') <> 1"),
            0);
  EXPECT_EQ(N("SELECT COUNT(*) FROM (SELECT SUM(VRPERCPGTOPED) S FROM PRAZOPGTOPED"
              " GROUP BY CDFILIAL, NRPEDIDO) AS T WHERE ABS(S - 100) > 1e-9"),
            0);
  // No position is reserved beyond its stock.
  EXPECT_EQ(N("SELECT COUNT(*) FROM POSESTATU S WHERE S.QTTOTALESTOQ < (SELECT"
              " COALESCE(SUM(QTRESPRODPED), 0) FROM RESERVAPED R WHERE R.CDFILIAL = S.CDFILIAL"
              " AND R.CDALMOXARIFE = S.CDALMOXARIFE AND R.CDLOCALESTOQ = S.CDLOCALESTOQ"
              " AND R.CDPRODRES = S.CDPRODUTO AND R.NRLOTEESTQ = S.NRLOTEESTQ"
              " AND R.NRSUBLOTE = S.NRSUBLOTE)"),
            0);
  // Pending orders have a pending item (they can be worked on).
  EXPECT_EQ(N("SELECT COUNT(*) FROM PEDIDO P WHERE IDSITPEDIDO = '1' AND NOT EXISTS (SELECT 1"
              " FROM ITEMPEDIDO I WHERE I.CDFILIAL = P.CDFILIAL AND I.NRPEDIDO = P.NRPEDIDO"
              " AND I.IDSITITEMPED = '1')"),
            0);
}

}  // namespace
}  // namespace appserver::testing
