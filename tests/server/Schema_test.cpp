// The schema file, its embedded copy and the rules every table follows.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"

namespace quil::server::testing {
namespace {

TEST(SchemaTest, EmbeddedSchemaMatchesSqlFile) {
  std::ifstream file("server/db/schema.sql");  // tests run from the repository root
  ASSERT_TRUE(file) << "run the tests from the repository root";
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_TRUE(text.str() == SchemaSql()) << "run scripts/embed-schema.sh";
}

std::vector<std::string> Strings(Database& db, const std::string& sql) {
  std::vector<std::string> out;
  auto stmt = db.Prepare(sql);
  while (stmt->Step()) out.emplace_back(stmt->ColumnText(0));
  return out;
}

TEST(SchemaTest, EveryReferenceColumnIsIndexedAndEveryTableHasAGenerator) {
  auto db = OpenSqlite(":memory:");
  CreateSchema(*db);
  EXPECT_EQ(
      Strings(*db,
              "SELECT m.name || '.' || c.name FROM sqlite_schema m, pragma_table_info(m.name) c "
              "WHERE m.type = 'table' AND (c.name LIKE '%\\_FK' ESCAPE '\\' OR "
              "c.name LIKE '%\\_FKP' ESCAPE '\\') AND NOT EXISTS ("
              " SELECT 1 FROM pragma_index_list(m.name) i, pragma_index_info(i.name) x "
              " WHERE x.seqno = 0 AND x.name = c.name)"),
      std::vector<std::string>{});
  EXPECT_EQ(Strings(*db,
                    "SELECT name FROM sqlite_schema WHERE type = 'table' AND name <> 'GENERATORS' "
                    "AND name NOT IN (SELECT GEN_NAAM FROM GENERATORS)"),
            std::vector<std::string>{});
  EXPECT_EQ(Strings(*db, "SELECT GEN_NAAM FROM GENERATORS WHERE GEN_NAAM = 'JOBID'"),
            std::vector<std::string>{"JOBID"});
}

// A declared type the codec does not know leaves the column without a field type, and every
// provider that reads it fails.
TEST(SchemaTest, EveryColumnHasATypeTheServerReads) {
  auto db = OpenSqlite(":memory:");
  CreateSchema(*db);
  std::vector<std::string> unknown;
  auto columns = db->Prepare(
      "SELECT m.name, c.name, c.type FROM sqlite_schema m, pragma_table_info(m.name) c "
      "WHERE m.type = 'table' ORDER BY m.name, c.cid");
  while (columns->Step()) {
    FieldDef def;
    if (!FieldDefFromDeclType(columns->ColumnText(2), def)) {
      unknown.push_back(std::string(columns->ColumnText(0)) + "." +
                        std::string(columns->ColumnText(1)) + " " +
                        std::string(columns->ColumnText(2)));
    }
  }
  EXPECT_EQ(unknown, std::vector<std::string>{});
}

// SQLite accepts a REFERENCES clause to a missing table or a non-key column when the table is
// created and only fails ("foreign key mismatch") at the first insert or delete that touches it.
// PostgreSQL cuts identifiers at 63 characters, which can make two index names collide.
TEST(SchemaTest, ForeignKeysNameTheKeyOfAnExistingTableAndNamesFitPostgreSql) {
  auto db = OpenSqlite(":memory:");
  CreateSchema(*db);
  EXPECT_EQ(Strings(*db,
                    "SELECT m.name || '.' || f.\"from\" || ' -> ' || f.\"table\" || '.' || "
                    "COALESCE(f.\"to\", '?') "
                    "FROM sqlite_schema m, pragma_foreign_key_list(m.name) f "
                    "WHERE m.type = 'table' AND NOT EXISTS ("
                    " SELECT 1 FROM pragma_table_info(f.\"table\") k "
                    " WHERE k.pk = 1 AND (f.\"to\" IS NULL OR k.name = f.\"to\") AND NOT EXISTS ("
                    "  SELECT 1 FROM pragma_table_info(f.\"table\") o WHERE o.pk > 1))"),
            std::vector<std::string>{});
  EXPECT_EQ(Strings(*db,
                    "SELECT name FROM sqlite_schema WHERE length(name) > 63 "
                    "UNION ALL SELECT name || ' (its generator GEN_' || name || ')' "
                    "FROM sqlite_schema WHERE type = 'table' AND length(name) > 59 "
                    "UNION ALL SELECT m.name || '.' || c.name "
                    "FROM sqlite_schema m, pragma_table_info(m.name) c "
                    "WHERE m.type = 'table' AND length(c.name) > 63"),
            std::vector<std::string>{});
}

TEST(SchemaTest, GeneratorsFollowRowsInsertedWithKeys) {
  auto server = FixtureServer();
  EXPECT_EQ(server->GetNewID("DSPVWOAfwezigheidsCodes"), 2);  // fixture holds VAC_ID 1
  EXPECT_EQ(server->GetNewID("VWOAFWEZIGHEIDSCODE"), 3);      // the table's own name
  EXPECT_EQ(server->GetNewID("PERSONEEL"), 3);
  EXPECT_THROW(server->GetNewID("GEENTABEL"), EClientError);
}

// A connection hands a text it compiled before out again: reset, without the earlier bindings,
// independent of another statement of the same text in use, and following a changed table.
TEST(SchemaTest, AStatementPreparedAgainStartsAfresh) {
  auto db = OpenSqlite(":memory:");
  db->ExecuteScript("CREATE TABLE T (A INTEGER); INSERT INTO T VALUES (1), (2), (3);");
  const char* sql = "SELECT A, ? FROM T ORDER BY A";
  auto first = db->Prepare(sql);
  first->BindInt64(0, 7);
  ASSERT_TRUE(first->Step());
  EXPECT_EQ(first->ColumnInt64(0), 1);
  {
    auto second = db->Prepare(sql);  // the first is in use: a statement of its own
    ASSERT_TRUE(second->Step());
    EXPECT_EQ(second->ColumnStorage(1), StorageClass::Null);
    ASSERT_TRUE(second->Step());
    EXPECT_EQ(second->ColumnInt64(0), 2);
  }
  ASSERT_TRUE(first->Step());
  EXPECT_EQ(first->ColumnInt64(0), 2) << "not disturbed by the other";
  EXPECT_EQ(first->ColumnInt64(1), 7);
  first.reset();  // left in the middle of its rows

  auto again = db->Prepare(sql);
  ASSERT_TRUE(again->Step());
  EXPECT_EQ(again->ColumnInt64(0), 1) << "from the first row";
  EXPECT_EQ(again->ColumnStorage(1), StorageClass::Null) << "no binding of an earlier use";
  again.reset();

  db->ExecuteScript("DROP TABLE T; CREATE TABLE T (A TEXT); INSERT INTO T VALUES ('x');");
  auto changed = db->Prepare(sql);
  ASSERT_TRUE(changed->Step());
  EXPECT_EQ(changed->ColumnText(0), "x");
  EXPECT_FALSE(changed->Step());
}

}  // namespace
}  // namespace quil::server::testing
