// SQLiteDB, SQLiteStatement and SQLiteAutoTransaction.
#include "store/sqlite_auto_transaction.h"
#include "store/sqlite_statement.h"
#include "store_test_util.h"

using namespace store_test;

TEST(SQLiteWrappers, ClosedConnectionAnswersMisuse) {
  SQLiteDB db;
  EXPECT_FALSE(db.IsOpen());
  EXPECT_TRUE(db.Close());
  EXPECT_EQ(db.Execute("SELECT 1"), 21);
  SQLiteStatement st;
  EXPECT_EQ(db.Prepare(st, "SELECT 1"), 21);
  EXPECT_TRUE(st.IsFinished());
  EXPECT_EQ(st.Step(), 21);
  EXPECT_EQ(st.BindInt(1, 1), 21);
  EXPECT_EQ(st.BindText(1, "a", 1), 21);
  EXPECT_EQ(st.GetInt(0), 0);
  EXPECT_EQ(st.GetText(0), nullptr);
  EXPECT_EQ(db.LastInsertId(), -1);
  EXPECT_FALSE(db.Open(nullptr, "", SQLITE_OPEN_READWRITE));
}

TEST(SQLiteWrappers, StatementFlagsAndTransaction) {
  SQLiteDB db;
  ASSERT_TRUE(db.Open(":memory:", "", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
  EXPECT_EQ(db.Execute(nullptr), 21);
  EXPECT_EQ(db.Execute("CREATE TABLE t(a INTEGER, b TEXT)"), 0);
  SQLiteStatement st;
  ASSERT_EQ(db.Prepare(st, "INSERT INTO t(a, b) VALUES (?, ?)"), 0);
  EXPECT_FALSE(st.IsFinished());
  EXPECT_EQ(st.BindInt(1, 7), 0);
  EXPECT_EQ(st.BindText(2, "seven", 5), 0);
  EXPECT_EQ(st.Step(), SQLITE_DONE);
  EXPECT_TRUE(st.IsFinished());
  EXPECT_EQ(db.LastInsertId(), 1);
  {
    SQLiteAutoTransaction tx(&db);
    EXPECT_TRUE(tx.IsActive());
    EXPECT_FALSE(tx.Begin());  // already active
    EXPECT_TRUE(db.InTransaction());
    EXPECT_EQ(db.Execute("INSERT INTO t(a) VALUES (8)"), 0);
  }  // the destructor ends it
  EXPECT_FALSE(db.InTransaction());
  SQLiteAutoTransaction none(nullptr);
  EXPECT_FALSE(none.IsActive());
  EXPECT_FALSE(none.Begin());
  SQLiteAutoTransaction tx(&db);
  EXPECT_TRUE(tx.Commit());
  EXPECT_FALSE(tx.IsActive());
  EXPECT_TRUE(tx.Begin());
  EXPECT_TRUE(tx.Commit());
  ASSERT_EQ(db.Prepare(st, "SELECT b FROM t WHERE a = 7"), 0);  // re-prepare finalises
  ASSERT_EQ(st.Step(), SQLITE_ROW);
  EXPECT_STREQ(st.GetText(0), "seven");
  EXPECT_EQ(db.Prepare(st, "SELECT nonsense FROM"), SQLITE_ERROR);
  EXPECT_TRUE(st.IsFinished());
  EXPECT_TRUE(db.Close());
  EXPECT_FALSE(db.IsOpen());
}

TEST(SQLiteWrappers, TransactionOnUnconnectedDatabaseOnlyBecomesActive) {
  SQLiteDB db;
  SQLiteAutoTransaction tx(&db);
  EXPECT_TRUE(tx.IsActive());
  EXPECT_FALSE(tx.Commit());
  EXPECT_FALSE(tx.IsActive());
}
