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

TEST(SchemaTest, GeneratorsFollowRowsInsertedWithKeys) {
  auto server = FixtureServer();
  EXPECT_EQ(server->GetNewID("DSPVWOAfwezigheidsCodes"), 2);  // fixture holds VAC_ID 1
  EXPECT_EQ(server->GetNewID("VWOAFWEZIGHEIDSCODE"), 3);      // the table's own name
  EXPECT_EQ(server->GetNewID("PERSONEEL"), 3);
  EXPECT_THROW(server->GetNewID("GEENTABEL"), EClientError);
}

}  // namespace
}  // namespace quil::server::testing
