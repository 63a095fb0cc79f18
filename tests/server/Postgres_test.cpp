// What the PostgreSQL connection translates (runs without a server), and what several sessions on
// one database must never see on either engine: an id twice, or a row taken twice.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "server/db/Migrate.h"
#include "server/db/PgSql.h"

namespace quil::server::testing {
namespace {

TEST(PgSqlTest, ParametersAreNumberedOutsideQuotesCommentsAndCasts) {
  struct Case {
    const char* sql;
    const char* numbered;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"SELECT * FROM T WHERE A = :IS_ID AND B = :is_id OR C = :X",
       "SELECT * FROM T WHERE A = $1 AND B = $1 OR C = $2",
       {"IS_ID", "X"}},
      {"INSERT INTO T (A, B) VALUES (?, ?)", "INSERT INTO T (A, B) VALUES ($1, $2)", {"", ""}},
      {"SELECT ':NIET', \"a:b\", x::int -- :OOK_NIET\n FROM T WHERE y = :JA /* :NEE */",
       "SELECT ':NIET', \"a:b\", x::int -- :OOK_NIET\n FROM T WHERE y = $1 /* :NEE */",
       {"JA"}},
      {"SELECT 'it''s :A' , :B", "SELECT 'it''s :A' , $1", {"B"}},
  };
  for (const Case& c : cases) {
    pg::NumberedSql numbered = pg::NumberParameters(c.sql);
    EXPECT_EQ(numbered.sql, c.numbered);
    EXPECT_EQ(numbered.names, c.names) << c.sql;
  }
}

TEST(PgSqlTest, TypesAndDialectFollowTheSchemasSpelling) {
  EXPECT_EQ(pg::DeclaredType("character varying(50)"), "VARCHAR(50)");
  EXPECT_EQ(pg::DeclaredType("character(1)"), "CHAR(1)");
  EXPECT_EQ(pg::DeclaredType("numeric(18,2)"), "NUMERIC(18,2)");
  EXPECT_EQ(pg::DeclaredType("timestamp without time zone"), "TIMESTAMP");
  EXPECT_EQ(pg::DeclaredType("time without time zone"), "TIME");
  EXPECT_EQ(pg::DeclaredType("bytea"), "BLOB");
  EXPECT_EQ(pg::DeclaredType("integer"), "INTEGER");

  const std::string dialect = pg::SchemaDialect(
      "CREATE TABLE T (\n  T_ID INTEGER NOT NULL PRIMARY KEY,\n  T_JA CHAR(1) DEFAULT '-',\n"
      "  T_NAAM VARCHAR(5), T_DATA BLOB, T_X DOUBLE -- CHAR(2) in a comment stays\n);\n"
      "CREATE TABLE GENERATORS (\n  GEN_NAAM VARCHAR(63) NOT NULL PRIMARY KEY\n);\n");
  EXPECT_EQ(dialect,
            "CREATE SEQUENCE IF NOT EXISTS GEN_T MINVALUE 0 START WITH 1;\n"
            "CREATE TABLE T (\n  T_ID INTEGER NOT NULL PRIMARY KEY DEFAULT nextval('GEN_T'),\n"
            "  T_JA VARCHAR(1) DEFAULT '-',\n  T_NAAM VARCHAR(5), T_DATA BYTEA, "
            "T_X DOUBLE PRECISION -- CHAR(2) in a comment stays\n);\n"
            "CREATE TABLE GENERATORS (\n  GEN_NAAM VARCHAR(63) NOT NULL PRIMARY KEY\n);\n");

  EXPECT_TRUE(pg::WritesRows("  insert into T values (1)"));
  EXPECT_TRUE(pg::WritesRows("WITH x AS (SELECT 1) UPDATE T SET A = 1"));
  EXPECT_FALSE(pg::WritesRows("SELECT 'DELETE' FROM T"));
}

TEST(SessionsTest, IdsNeverCollideBetweenSessions) {
  FixtureLocation database;
  auto first = AppServer::Open(database.location(), 1);
  auto second = AppServer::Open(database.location(), 2);
  std::set<int64_t> ids;
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(ids.insert(first->GetNewID("VWOAFWEZIGHEIDSCODE")).second);
    EXPECT_TRUE(ids.insert(second->GetNewID("DSPVWOAfwezigheidsCodes")).second);
    EXPECT_TRUE(ids.insert(first->GetJobID() + 1000000).second);
  }
  EXPECT_GT(*ids.begin(), 1);  // the fixture holds VAC_ID 1
}

// The portable way to take waiting work: while one transaction holds a row, another never gets
// it (PostgreSQL skips it, SQLite keeps the second writer out altogether).
TEST(SessionsTest, ARowTakenByOneTransactionIsNotTakenByAnother) {
  FixtureLocation database;
  {
    auto db = OpenDatabase(database.location());
    db->ExecuteScript(
        "INSERT INTO JOBDATA (J_ID, J_JOBID, J_JOBTYPE) VALUES (1, 7, 1), (2, 7, 1), (3, 7, 1)");
  }
  auto take = [](Database& db) {
    auto stmt = db.Prepare("SELECT J_ID FROM JOBDATA WHERE J_JOBID = 7 ORDER BY J_ID LIMIT 1" +
                           std::string(db.SkipLockedClause()));
    return stmt->Step() ? stmt->ColumnInt64(0) : 0;
  };
  auto first = OpenDatabase(database.location());
  first->Begin();
  const int64_t taken = take(*first);
  EXPECT_EQ(taken, 1);

  std::unique_ptr<Database> second =
      IsPostgresUrl(database.location())
          ? OpenPostgres(database.location(), {.lockTimeoutMs = 200})
          : OpenSqlite(database.location(), {.busyTimeoutMs = 200, .create = false});
  try {
    TransactionGuard transaction(*second);
    EXPECT_NE(take(*second), taken);
  } catch (const DatabaseError& error) {
    EXPECT_EQ(error.kind(), DatabaseError::Kind::Busy) << error.what();
  }
  first->Rollback();
  TransactionGuard transaction(*second);
  EXPECT_EQ(take(*second), taken);  // free again
}

TEST(MigrateTest, DemoDatabaseRoundTripsWithoutADifference) {
  testdb::TestDatabase demo(testdb::Content::Demo), copy(testdb::Content::Empty);
  MigrateDatabase(demo.location(), copy.location());
  TempDir dir;
  const std::string back = dir.File("terug.sqlite");
  MigrateReport report = MigrateDatabase(copy.location(), back);
  EXPECT_GT(report.tables.size(), 50u);
  EXPECT_EQ(CompareDatabases(demo.location(), back), std::vector<std::string>{});
  EXPECT_EQ(AppServer::Open(back, 1)->GetNewID("VWOLES"),
            AppServer::Open(demo.location(), 1)->GetNewID("VWOLES"));

  // A difference is found, and a target that already holds a database is refused.
  OpenDatabase(back)->ExecuteScript(
      "UPDATE VWOLES SET VWL_LESUREN = VWL_LESUREN + 1 WHERE VWL_ID = 1");
  std::vector<std::string> differences = CompareDatabases(demo.location(), back);
  ASSERT_EQ(differences.size(), 1u);
  EXPECT_EQ(differences[0].rfind("VWOLES: ", 0), 0u) << differences[0];
  EXPECT_THROW(MigrateDatabase(demo.location(), back), EClientError);
}

}  // namespace
}  // namespace quil::server::testing
