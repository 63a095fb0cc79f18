// init-db and the demo data: refusing to overwrite, and a demo database the providers read.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "server/seed/InitDb.h"

namespace quil::server::testing {
namespace {

TEST(InitDbTest, RefusesToOverwriteUnlessForced) {
  if (testdb::OnPostgres()) {
    // A PostgreSQL database that holds the schema is kept as it is unless forced.
    testdb::TestDatabase database(testdb::Content::Demo);
    EXPECT_THROW(InitDatabase(database.location(), {}), EClientError);
    auto server = AppServer::Open(database.location(), 1);
    EXPECT_FALSE(server->GetRecords("DSPBrowseOSPInstellingen", Params()).rows.empty());
    server.reset();
    InitDatabase(database.location(), {.demo = false, .force = true, .workingYear = 0});
    server = AppServer::Open(database.location(), 1);
    EXPECT_TRUE(server->GetRecords("DSPBrowseOSPInstellingen", Params()).rows.empty());
    EXPECT_EQ(server->GetNewID("INSTELLING"), 1);
    return;
  }
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
  std::vector<std::string> tables = db.Tables();
  std::sort(tables.begin(), tables.end());
  for (const std::string& table : tables) {
    std::string key = PrimaryKeyOf(db, table);
    auto rows = db.Prepare("SELECT * FROM " + table + " ORDER BY " + (key.empty() ? "1" : key));
    while (rows->Step()) {
      out += table;
      for (int c = 0; c < rows->ColumnCount(); ++c) out += "|" + std::string(rows->ColumnText(c));
      out += "\n";
    }
  }
  return out;
}

TEST(InitDbTest, DemoDatabaseIsDeterministicConsistentAndReadable) {
  testdb::TestDatabase first(testdb::Content::Empty), second(testdb::Content::Empty);
  InitDatabase(first.location(), {.demo = true, .force = true, .workingYear = 2025});
  InitDatabase(second.location(), {.demo = true, .force = true, .workingYear = 2025});
  auto a = first.Open();
  auto b = second.Open();
  EXPECT_EQ(Dump(*a), Dump(*b));
  if (a->engine() == Engine::Sqlite) {  // PostgreSQL checks every foreign key as rows go in
    auto fk = a->Prepare("PRAGMA foreign_key_check");
    EXPECT_FALSE(fk->Step()) << "foreign key violated in " << fk->ColumnText(0);
  }

  auto server = AppServer::Open(first.location(), 2);
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

std::vector<std::string> Strings(Database& db, const std::string& sql) {
  std::vector<std::string> out;
  auto stmt = db.Prepare(sql);
  while (stmt->Step()) out.emplace_back(stmt->ColumnText(0));
  return out;
}

// Values the client datasets would cut or fail to read: texts longer than their column, dates
// and times not in the storage form, decimals stored as text.
std::vector<std::string> ValuesThatDoNotFitTheirColumns(Database& db) {
  std::vector<std::string> out;
  std::vector<std::pair<std::string, std::string>> columns;  // table, column
  std::vector<FieldDef> defs;
  auto list = db.Prepare(
      "SELECT m.name, c.name, c.type FROM sqlite_schema m, pragma_table_info(m.name) c "
      "WHERE m.type = 'table' ORDER BY m.name, c.cid");
  while (list->Step()) {
    FieldDef def;
    if (!FieldDefFromDeclType(list->ColumnText(2), def)) continue;
    columns.emplace_back(list->ColumnText(0), list->ColumnText(1));
    defs.push_back(def);
  }
  for (size_t i = 0; i < columns.size(); ++i) {
    const auto& [table, column] = columns[i];
    const std::string quoted = "\"" + column + "\"";
    auto values = db.Prepare("SELECT " + quoted + ", typeof(" + quoted + "), length(" + quoted +
                             ") FROM \"" + table + "\" WHERE " + quoted + " IS NOT NULL");
    while (values->Step()) {
      std::string text(values->ColumnText(0));
      std::string storage(values->ColumnText(1));
      bool fits = true;
      TDateTime moment;
      switch (defs[i].type) {
        case FieldType::String:
          fits = storage == "text" && values->ColumnInt64(2) <= defs[i].size;  // characters
          break;
        case FieldType::Date:
          fits = text.size() == 10 && SqlToDateTime(text, moment);
          break;
        case FieldType::Time:
          fits = text.size() == 8 && SqlToDateTime(text, moment);
          break;
        case FieldType::DateTime:
          fits = text.size() == 19 && SqlToDateTime(text, moment);
          break;
        case FieldType::Currency:
        case FieldType::Integer:
        case FieldType::LargeInt:
          fits = storage == "integer" || (storage == "real" && defs[i].type == FieldType::Currency);
          break;
        default:
          break;
      }
      if (!fits) out.push_back(table + "." + column + " = '" + text + "'");
    }
  }
  return out;
}

TEST(InitDbTest, DemoDatabaseIsSoundAndItsStructureHangsTogether) {
  testdb::TestDatabase demo(testdb::Content::Demo);
  auto db = demo.Open();
  // SQLite keeps any value in any column; PostgreSQL refuses what does not fit as it goes in.
  if (db->engine() == Engine::Sqlite) {
    EXPECT_EQ(Strings(*db, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
    EXPECT_EQ(Strings(*db,
                      "SELECT \"table\" || ' row ' || rowid || ' -> ' || parent "
                      "FROM pragma_foreign_key_check"),
              std::vector<std::string>{});
    EXPECT_EQ(ValuesThatDoNotFitTheirColumns(*db), std::vector<std::string>{});
  }

  // Each organised module variant has lessons, within its lesson period.
  EXPECT_EQ(Strings(*db,
                    "SELECT IMV_AFKORTING FROM VWOINGMODULEVARIANT I WHERE NOT EXISTS ("
                    " SELECT 1 FROM VWOLES L WHERE L.VWL_INGMODULEVARIANT_FK = I.IMV_ID)"),
            std::vector<std::string>{});
  EXPECT_EQ(Strings(*db,
                    "SELECT VWL_ID FROM VWOLES L JOIN VWOINGMODULEVARIANT I "
                    "ON I.IMV_ID = L.VWL_INGMODULEVARIANT_FK "
                    "WHERE L.VWL_DATUM < I.IMV_LESVAN OR L.VWL_DATUM > I.IMV_LESTOT"),
            std::vector<std::string>{});
  // The module variant of each organised module variant belongs to a programme variant that is
  // organised, in the Davinci location of the class's location, by the class's institution,
  // taught at that location and linked to the class: what the screens offer as the module
  // variants a class may organise.
  EXPECT_EQ(Strings(*db,
                    "SELECT I.IMV_ID FROM VWOINGMODULEVARIANT I "
                    "JOIN VWOKLAS K ON K.VWK_ID = I.IMV_VWOKLAS_FK "
                    "JOIN VESTIGINGSPLAATS V ON V.VP_ID = K.VWK_VESTIGINGSPLAATS_FK "
                    "WHERE NOT EXISTS ("
                    " SELECT 1 FROM VWOMODULEINOPLEIDING M "
                    " JOIN VWOINGOPLEIDINGSVARIANT C "
                    "  ON C.CIO_VWOOPLEIDINGSVARIANT_FK = M.MIO_VWOOPLEIDINGSVARIANT_FK "
                    " JOIN VWOINGOPLVARVESTIGING L ON L.VIV_VWOINGOPLEIDINGSVARIANT_FK = C.CIO_ID "
                    " JOIN VWOKLASOPLEIDING O ON O.VKO_INGOPLEIDINGVARIANT_FK = C.CIO_ID "
                    " WHERE M.MIO_VWOMODULEVARIANT_FK = I.IMV_VWOMODULEVARIANT_FK "
                    "  AND M.MIO_GEANNULEERD = '-' "
                    "  AND C.CIO_VWOVESTIGINGSPLAATS_FK = V.VP_VWOVESTIGINGSPLAATS_FK "
                    "  AND C.CIO_INSTELLING_FK = K.VWK_INSTELLING_FK "
                    "  AND L.VIV_VESTIGINGSPLAATS_FK = V.VP_ID AND O.VKO_KLAS_FK = K.VWK_ID "
                    "  AND C.CIO_VAN <= K.VWK_VAN AND K.VWK_TOT <= C.CIO_TOT)"),
            std::vector<std::string>{});
  // Every organised programme variant lies within an authorisation of its school for that
  // variant in that Davinci location.
  EXPECT_EQ(Strings(*db,
                    "SELECT C.CIO_ID FROM VWOINGOPLEIDINGSVARIANT C "
                    "JOIN INSTELLING I ON I.IS_ID = C.CIO_INSTELLING_FK WHERE NOT EXISTS ("
                    " SELECT 1 FROM VWOOPLEIDINGSBEVOEGDHEID B "
                    " WHERE B.VOB_SCHOOL_FK = I.IS_SCHOOL_FK "
                    "  AND B.VOB_VWOOPLEIDINGSVARIANT_FK = C.CIO_VWOOPLEIDINGSVARIANT_FK "
                    "  AND B.VOB_VWOVESTIGINGSPLAATS_FK = C.CIO_VWOVESTIGINGSPLAATS_FK "
                    "  AND B.VOB_AANVANGSDATUM <= C.CIO_VAN "
                    "  AND (B.VOB_EINDDATUM IS NULL OR C.CIO_TOT <= B.VOB_EINDDATUM))"),
            std::vector<std::string>{});
}

}  // namespace
}  // namespace quil::server::testing
