// The SQLite driver's transactions, changed-row counts, reuse of prepared
// statements and the busy error between two connections on one file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "sql/sql_driver.h"

namespace fw {
namespace {

int64_t Count(SqlDriver& db, const std::string& where = "1=1") {
  return std::get<int64_t>(db.Query("SELECT COUNT(*) FROM T WHERE " + where, {}).Rows[0][0]);
}

class SqliteDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ::testing::TempDir() + "sqlite_driver_test_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db";
    std::remove(path_.c_str());
    db_ = OpenSqlDriver("sqlite:" + path_);
    db_->Execute("CREATE TABLE T (K INTEGER PRIMARY KEY, S VARCHAR(10))");
  }
  void TearDown() override {
    db_.reset();
    std::remove(path_.c_str());
  }
  std::string path_;
  std::unique_ptr<SqlDriver> db_;
};

TEST_F(SqliteDriverTest, TransactionCommitsOrRollsBackOnScopeExit) {
  {
    TSqlTransaction tx(*db_);
    EXPECT_TRUE(db_->InTransaction());
    db_->Execute("INSERT INTO T VALUES (:K, 'a')", {{"K", int64_t{1}}});
  }  // no Commit: rolled back
  EXPECT_FALSE(db_->InTransaction());
  EXPECT_EQ(Count(*db_), 0);
  {
    TSqlTransaction tx(*db_);
    db_->Execute("INSERT INTO T VALUES (:K, 'a')", {{"K", int64_t{1}}});
    tx.Commit();
  }
  EXPECT_EQ(Count(*db_), 1);
  // A failing statement inside leaves nothing behind once the scope ends.
  try {
    TSqlTransaction tx(*db_);
    db_->Execute("INSERT INTO T VALUES (:K, 'b')", {{"K", int64_t{2}}});
    db_->Execute("INSERT INTO T VALUES (:K, 'c')", {{"K", int64_t{1}}});  // duplicate key
    tx.Commit();
    FAIL() << "duplicate key accepted";
  } catch (const EDatabaseError&) {
  }
  EXPECT_EQ(Count(*db_), 1);
}

TEST_F(SqliteDriverTest, RowsAffectedCountsTheLastChange) {
  for (int64_t k = 1; k <= 5; ++k) db_->Execute("INSERT INTO T VALUES (:K, 'x')", {{"K", k}});
  db_->Execute("UPDATE T SET S = 'y' WHERE K > :K", {{"K", int64_t{2}}});
  EXPECT_EQ(db_->RowsAffected(), 3);
  db_->Execute("UPDATE T SET S = 'z' WHERE K = :K AND S = 'x'", {{"K", int64_t{4}}});
  EXPECT_EQ(db_->RowsAffected(), 0);
  db_->Execute("DELETE FROM T WHERE S = :S", {{"S", std::string("x")}});
  EXPECT_EQ(db_->RowsAffected(), 2);
}

TEST_F(SqliteDriverTest, ReusedStatementsStartWithFreshBindings) {
  const std::string insert = "INSERT INTO T VALUES (:K, :S)";
  db_->Execute(insert, {{"K", int64_t{1}}, {"S", std::string("um")}});
  // Same text, S left out: it must be bound to null, not to the old "um".
  db_->Execute(insert, {{"K", int64_t{2}}});
  SqlResult r = db_->Query("SELECT S FROM T ORDER BY K", {});
  ASSERT_EQ(r.Rows.size(), 2u);
  EXPECT_EQ(std::get<std::string>(r.Rows[0][0]), "um");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(r.Rows[1][0]));
  // A statement that failed half way is usable again.
  EXPECT_THROW(db_->Execute(insert, {{"K", int64_t{1}}, {"S", std::string("dup")}}),
               EDatabaseError);
  db_->Execute(insert, {{"K", int64_t{3}}, {"S", std::string("três")}});
  EXPECT_EQ(Count(*db_), 3);
  // More distinct texts than the cache holds still run correctly.
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(Count(*db_, "K <> " + std::to_string(i + 10)), 3);
}

TEST_F(SqliteDriverTest, ImmediateTransactionOfAnotherConnectionMakesWritersBusy) {
  auto other = OpenSqlDriver("sqlite:" + path_);
  other->Execute("PRAGMA busy_timeout = 50");
  TSqlTransaction tx(*db_);
  db_->Execute("INSERT INTO T VALUES (1, 'a')");
  EXPECT_THROW(other->Begin(TTransactionKind::kImmediate), EDatabaseBusy);
  EXPECT_THROW(other->Execute("INSERT INTO T VALUES (:K, 'b')", {{"K", int64_t{2}}}),
               EDatabaseBusy);
  tx.Commit();
  other->Begin(TTransactionKind::kImmediate);
  other->Execute("INSERT INTO T VALUES (:K, 'b')", {{"K", int64_t{2}}});
  other->Commit();
  EXPECT_EQ(Count(*db_), 2);
}

}  // namespace
}  // namespace fw
