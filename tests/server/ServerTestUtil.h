// Shared helpers of the server tests: databases with the schema and a small fixture, deltas
// built from fetched packets, and packets rendered as canonical text for one comparison.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/TempDir.h"
#include "common/TestDatabase.h"
#include "host/base/Variant.h"
#include "host/data/Packet.h"
#include "server/AppServer.h"
#include "server/db/Database.h"
#include "server/db/Schema.h"
#include "server/db/ValueCodec.h"

namespace quil::server::testing {

inline TDateTime FixedNow() {
  return EncodeDate(2025, 8, 30) + 0.5;
}

//! A small fixture: one school and institution (IS_ID 1) with a location, shared and own coded
//! values, two staff members (one no longer employed) and one absence code.
inline void LoadFixture(Database& db) {
  db.ExecuteScript(R"sql(
    INSERT INTO SCHOOL (SC_ID, SC_INSTELLINGSNUMMER, SC_NAAM) VALUES (1, '100001', 'School Een');
    INSERT INTO INSTELLING (IS_ID, IS_CODE, IS_NAAMGEBRUIKER, IS_SCHOOL_FK, IS_FLAGS)
      VALUES (1, 'EEN', 'Centrum Een', 1, 2), (2, 'TWE', 'Centrum Twee', 1, 0);
    INSERT INTO VESTIGINGSPLAATS (VP_ID, VP_INSTELLING_FK, VP_CODE, VP_NAAM)
      VALUES (1, 1, 'HFD', 'Hoofdschool');
    INSERT INTO PARAM (P_ID, P_TYPE, P_CODE, P_OMSCHRIJVING, P_INSTELLING_FK) VALUES
      (1, 'VWPA', 'AANWEZIG', 'Aanwezig', NULL),
      (2, 'VWPA', 'AFWEZIG', 'Afwezig', NULL),
      (3, 'ALREK', '?', 'Geen rekening', NULL),
      (4, 'KLVP1', 'A', 'Eigen waarde', 1),
      (5, 'X''Y', 'QUOTE', 'Type met aanhalingsteken', NULL);
    INSERT INTO PERSONEEL (PS_ID, PS_CODE, PS_NAAM, PS_VOORNAAM) VALUES
      (1, 'AA', 'Aerts', 'An'), (2, 'BB', 'Bosmans', 'Bart');
    INSERT INTO DIENSTVERBAND (DV_ID, DV_PERSONEEL_FK, DV_INSTELLING_FK, DV_BEGINDATUM,
      DV_EINDDATUM, DV_ACTIEF) VALUES
      (1, 1, 1, '2020-09-01', NULL, '+'), (2, 2, 1, '2020-09-01', '2025-06-30', '-');
    INSERT INTO VWOAFWEZIGHEIDSCODE (VAC_ID, VAC_INSTELLING_FK, VAC_CODE, VAC_OMSCHRIJVING,
      VAC_KLEUR, VAC_PARTICIPATIESTATUS_FK, VAC_PARTICIPATIESTATUSBEV_FK, VAC_FLAGS,
      VAC_VERANDERDDOOR, VAC_VERANDERDOP) VALUES
      (1, 1, 'X', 'Aanwezig', -16777211, 1, 1, 0, 1, '2025-08-25 10:00:00');
    INSERT INTO GEBRUIKER (GB_ID, GB_LOGIN, GB_FLAGS) VALUES (1, 'admin', 1), (2, 'demo', 0);
    INSERT INTO DBPARAM (DBP_ID, DBP_NAAM, DBP_WAARDE, DBP_TYPE) VALUES
      (1, 'AlgemeneRekeningen', '+', 'Boolean'), (2, 'MAXKLASSEN', '12', 'Integer'),
      (3, 'SITENAAM', 'test', 'String'), (4, 'STARTDATUM', '2025-09-01', 'Date');
  )sql");
  SyncGenerators(db);
}

//! A new database of the tests' engine with the schema and the fixture.
inline std::unique_ptr<Database> FixtureDb() {
  auto db = testdb::FreshDatabase();
  LoadFixture(*db);
  return db;
}

//! A database other sessions open by its location, with the schema and the fixture.
class FixtureLocation {
 public:
  FixtureLocation() { LoadFixture(*database_.Open()); }
  const std::string& location() const { return database_.location(); }

 private:
  testdb::TestDatabase database_;
};

inline std::unique_ptr<AppServer> FixtureServer(int userId = 1) {
  AppServerOptions options;
  options.clock = FixedNow;
  return std::make_unique<AppServer>(FixtureDb(), userId, options);
}

//! A test of server jobs on the demo data of the working year 2025: a fresh database and a server
//! on it for user 7 on the fixed clock.
class DemoJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppServerOptions options;
    options.clock = FixedNow;
    server =
        std::make_unique<AppServer>(testdb::FreshDatabase(testdb::Content::Demo, 2025), 7, options);
  }

  //! The rows of a query, one line each, columns separated by blanks, NULL as "-".
  std::string Query(const std::string& sql) {
    std::string out;
    auto stmt = server->db().Prepare(sql);
    while (stmt->Step()) {
      for (int c = 0; c < stmt->ColumnCount(); ++c) {
        if (c > 0) out += ' ';
        out += stmt->ColumnStorage(c) == StorageClass::Null ? "-" : testdb::ColumnText(*stmt, c);
      }
      out += '\n';
    }
    return out;
  }

  std::unique_ptr<AppServer> server;
};

using kavel::testing::TempDir;

inline Params MakeParams(std::initializer_list<std::pair<const char*, Variant>> values) {
  Params params;
  for (const auto& [name, value] : values) params.Add(name).value = value;
  return params;
}

//! One value as text with its kind, so that a type change shows in a comparison.
inline std::string Show(const Variant& v, FieldType type) {
  if (v.IsNull()) return "null";
  switch (type) {
    case FieldType::Date:
      return DateToSql(v.AsDateTime());
    case FieldType::DateTime:
      return DateTimeToSql(v.AsDateTime());
    case FieldType::Time:
      return TimeToSql(v.AsDateTime());
    case FieldType::Currency:
      return std::to_string(v.AsCurrency().Raw()) + "e-4";
    default:
      return v.AsString();
  }
}

//! Field definitions and rows, one line each.
inline std::string Render(const DataPacket& packet, bool withFields = false) {
  std::string out;
  if (withFields) {
    for (const FieldDef& f : packet.fields) {
      out += f.name + ":" + FieldTypeName(f.type) + "(" + std::to_string(f.size) + "," +
             std::to_string(f.scale) + ")" + (f.required ? " req" : "") +
             (f.readOnly ? " ro" : "") + "\n";
    }
  }
  for (const Row& row : packet.rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      out += (i == 0 ? "" : "|") + Show(row[i], packet.fields[i].type);
    }
    out += "\n";
  }
  return out;
}

inline Delta DeltaFor(const DataPacket& packet) {
  Delta delta;
  delta.fields = packet.fields;
  return delta;
}

inline void AddInsert(Delta& delta, Row values) {
  delta.rows.push_back({DeltaKind::Insert, {}, std::move(values)});
}

//! A modification of a fetched row: `changes` are (field name, new value).
inline void AddModify(Delta& delta, const DataPacket& packet, int row,
                      std::initializer_list<std::pair<const char*, Variant>> changes) {
  DeltaRow entry{DeltaKind::Modify, packet.rows.at(row), packet.rows.at(row)};
  for (const auto& [name, value] : changes) entry.current.at(packet.FieldIndex(name)) = value;
  delta.rows.push_back(std::move(entry));
}

inline void AddDelete(Delta& delta, const DataPacket& packet, int row) {
  delta.rows.push_back({DeltaKind::Delete, packet.rows.at(row), {}});
}

}  // namespace quil::server::testing
