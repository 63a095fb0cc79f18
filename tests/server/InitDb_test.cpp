// init-db and the demo data: refusing to overwrite, and a demo database the providers read.
#include <gtest/gtest.h>

#include <fstream>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "server/seed/InitDb.h"

namespace quil::server::testing {
namespace {

TEST(InitDbTest, RefusesToOverwriteUnlessForced) {
  TempDir dir;
  const std::string file = dir.File("bestaand.sqlite");
  std::ofstream(file) << "niet aanraken";
  EXPECT_THROW(InitDatabase(file, {}), EClientError);
  std::ifstream kept(file);
  std::string text;
  std::getline(kept, text);
  EXPECT_EQ(text, "niet aanraken");

  InitDatabase(file, {.demo = false, .force = true, .workingYear = 0});
  auto server = AppServer::Open(file, 1);
  EXPECT_TRUE(server->GetRecords("DSPBrowseOSPInstellingen", Params()).rows.empty());
}

std::string Dump(Database& db) {
  std::string out;
  auto tables = db.Prepare("SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name");
  while (tables->Step()) {
    std::string table(tables->ColumnText(0));
    auto rows = db.Prepare("SELECT * FROM " + table);
    while (rows->Step()) {
      out += table;
      for (int c = 0; c < rows->ColumnCount(); ++c) out += "|" + std::string(rows->ColumnText(c));
      out += "\n";
    }
  }
  return out;
}

TEST(InitDbTest, DemoDatabaseIsDeterministicConsistentAndReadable) {
  TempDir dir;
  InitDatabase(dir.File("a.sqlite"), {.demo = true, .force = false, .workingYear = 2025});
  InitDatabase(dir.File("b.sqlite"), {.demo = true, .force = false, .workingYear = 2025});
  auto a = OpenSqlite(dir.File("a.sqlite"));
  auto b = OpenSqlite(dir.File("b.sqlite"));
  EXPECT_EQ(Dump(*a), Dump(*b));
  auto fk = a->Prepare("PRAGMA foreign_key_check");
  EXPECT_FALSE(fk->Step()) << "foreign key violated in " << fk->ColumnText(0);

  auto server = AppServer::Open(dir.File("a.sqlite"), 2);
  DataPacket institutions = server->GetRecords("DSPBrowseOSPInstellingen", Params());
  ASSERT_EQ(institutions.rows.size(), 2u);
  // Every institution-wide provider finds rows for the first centre; the absence codes are
  // empty for the second one, whose screen then offers the standard codes.
  for (const char* provider :
       {"DSPSelectVPPerIS", "DSPSelectLokaalPerIS", "DSPSelectVWOLesplaats",
        "DSPVWOAfwezigheidsCodes", "DSPKBIContactperoon", "DSPVWOLesplaats", "DSPVWOMaterialen"}) {
    EXPECT_FALSE(server->GetRecords(provider, MakeParams({{"IS_ID", 1}})).rows.empty()) << provider;
  }
  EXPECT_TRUE(
      server->GetRecords("DSPVWOAfwezigheidsCodes", MakeParams({{"IS_ID", 2}})).rows.empty());
  DataPacket classes =
      server->GetRecords("DSPVWOKlas", MakeParams({{"IS_ID", 1},
                                                   {"BEGINDATUM", EncodeDate(2025, 9, 1)},
                                                   {"EINDDATUM", EncodeDate(2026, 8, 31)}}));
  ASSERT_FALSE(classes.rows.empty());
  // Each demo lesson place carries the number of its official lesson place.
  DataPacket places = server->GetRecords("DSPVWOLesplaats", MakeParams({{"IS_ID", 1}}));
  for (const Row& place : places.rows) {
    auto official =
        server->db().Prepare("SELECT VOLP_CODE FROM VWOOFFLESPLAATS WHERE VOLP_ID = :ID");
    official->BindInt64(0, place[places.FieldIndex("VLP_VWOOFFLESPLAATS_FK")].AsLargeInt());
    ASSERT_TRUE(official->Step());
    EXPECT_EQ(std::stoi(std::string(official->ColumnText(0))),
              place[places.FieldIndex("VLP_NUMMER")].AsInteger());
  }
  // New ids follow the demo rows.
  DataPacket codes = server->GetRecords("DSPVWOAfwezigheidsCodes", MakeParams({{"IS_ID", 1}}));
  EXPECT_GT(server->GetNewID("DSPVWOAfwezigheidsCodes"), static_cast<int64_t>(codes.rows.size()));
}

}  // namespace
}  // namespace quil::server::testing
