// The jobs the lesson lists start: 436 widens the periods of a module variant and its class to a
// lesson date, 325 makes the Doc 3B rows from the lessons' teachers and 368 counts the distance
// lesson times. Each works in the call's one transaction and writes only what changes.
#include <gtest/gtest.h>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "server/jobs/JobService.h"

namespace quil::server::testing {
namespace {

// Class 10 (01/09/2025 - 30/06/2026) with module variant 5 (period 15/09/2025 - 31/01/2026,
// lessons from 22/09/2025 to 26/01/2026) and module variant 6 in the same class. Lessons of 5:
// An (1) twice, one of them a distance moment of 2.6; Bart (2) once, and once lapsed; one lesson
// without a teacher, a distance moment of 1.5. A Doc 3B row of Bart with titular An and subject
// 7, and one of An's colleague 3 who no longer teaches.
void LoadLessons(Database& db) {
  db.ExecuteScript(R"sql(
    INSERT INTO PERSONEEL (PS_ID, PS_CODE, PS_NAAM, PS_VOORNAAM) VALUES (3, 'CC', 'Claes', 'Cor');
    INSERT INTO OFFICIEELVAK (OV_ID, OV_CODE, OV_OMSCHRIJVING) VALUES (7, 'NED', 'Nederlands');
    INSERT INTO VWOKLAS (VWK_ID, VWK_OMSCHRIJVING, VWK_VESTIGINGSPLAATS_FK, VWK_VAN, VWK_TOT,
      VWK_VERANDERDDOOR, VWK_VERANDERDOP)
      VALUES (10, 'Klas A', 1, '2025-09-01', '2026-06-30', 1, '2025-08-25 10:00:00');
    INSERT INTO VWOMODULE (VOM_ID, VOM_CODE, VOM_OMSCHRIJVING) VALUES (1, 'WIS', 'Wiskunde');
    INSERT INTO VWOMODULEVARIANT (VMV_ID, VMV_MODULE_FK, VMV_CODE) VALUES (1, 1, 'WIS-A');
    INSERT INTO VWOLESPLAATS (VLP_ID, VLP_INSTELLING_FK, VLP_NUMMER, VLP_CRABCODE,
      VLP_VESTIGINGSPLAATS_FK, VLP_VERANDERDDOOR, VLP_VERANDERDOP)
      VALUES (1, 1, 1, '123', 1, 1, '2025-08-25 10:00:00');
    INSERT INTO PARAM (P_ID, P_TYPE, P_CODE, P_OMSCHRIJVING) VALUES (90, 'VWFT', 'F', 'Fin');
    INSERT INTO VWOINGMODULEVARIANT (IMV_ID, IMV_VWOKLAS_FK, IMV_VWOMODULEVARIANT_FK,
      IMV_AFKORTING, IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_REGISTRATIEMOMENT,
      IMV_LESDAGEN, IMV_LESPLAATS_FK, IMV_FINANCIERINGSBRON_FK, IMV_LESTIJDENAFSTANDSONDERWIJS,
      IMV_VERANDERDDOOR, IMV_VERANDERDOP) VALUES
      (5, 10, 1, 'W5', '2025-09-15', '2026-01-31', '2025-09-22', '2026-01-26', '2025-10-15',
       0, 1, 90, 0, 1, '2025-08-25 10:00:00'),
      (6, 10, 1, 'W6', '2025-09-01', '2026-06-30', '2025-09-01', '2026-06-30', '2025-09-15',
       0, 1, 90, 0, 1, '2025-08-25 10:00:00');
    INSERT INTO VWOLES (VWL_ID, VWL_INGMODULEVARIANT_FK, VWL_DATUM, VWL_VANUUR, VWL_TOTUUR,
      VWL_LESUREN, VWL_LESGEVER_FK, VWL_FLAGS, VWL_VERANDERDDOOR, VWL_VERANDERDOP) VALUES
      (1, 5, '2025-09-22', '18:00:00', '21:00:00', 3.6, 1, 0, 1, '2025-08-25 10:00:00'),
      (2, 5, '2025-09-29', '18:00:00', '20:10:00', 2.6, 1, 8, 1, '2025-08-25 10:00:00'),
      (3, 5, '2025-10-06', '18:00:00', '21:20:00', 4, 2, NULL, 1, '2025-08-25 10:00:00'),
      (4, 5, '2025-10-13', '18:00:00', '21:20:00', 4, 2, 2, 1, '2025-08-25 10:00:00'),
      (5, 5, '2026-01-26', '18:00:00', '19:15:00', 1.5, NULL, 8, 1, '2025-08-25 10:00:00'),
      (6, 5, '2025-11-03', '18:00:00', '21:20:00', 4, 2, 10, 1, '2025-08-25 10:00:00');
    INSERT INTO VWODOC3BINFO (VD3_ID, VD3_VWOINGMODULEVARIANT_FK, VD3_LESGEVER_FK,
      VD3_TITULARIS_FK, VD3_OFFICIEELVAK_FK, VD3_UREN, VD3_VERANDERDDOOR, VD3_VERANDERDOP) VALUES
      (1, 5, 3, 3, NULL, 10, 1, '2025-08-25 10:00:00'),
      (2, 5, 2, 1, 7, 1, 1, '2025-08-25 10:00:00'),
      (3, 6, 3, 3, NULL, 5, 1, '2025-08-25 10:00:00');
  )sql");
  SyncGenerators(db);
}

std::string Rows(Database& db, const char* sql) {
  std::string out;
  auto stmt = db.Prepare(sql);
  while (stmt->Step()) {
    for (int c = 0; c < stmt->ColumnCount(); ++c) {
      out += (c == 0 ? "" : " | ") + (stmt->ColumnStorage(c) == StorageClass::Null
                                          ? std::string("null")
                                          : testdb::ColumnText(*stmt, c));
    }
    out += "\n";
  }
  return out;
}

std::string Periods(Database& db) {
  return Rows(db,
              "SELECT IMV_ID, IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_VERANDERDOP FROM "
              "VWOINGMODULEVARIANT ORDER BY IMV_ID") +
         Rows(db, "SELECT VWK_ID, VWK_VAN, VWK_TOT, VWK_VERANDERDOP FROM VWOKLAS");
}

JobData Data(TDateTime date, int imv) {
  JobData data;
  data.values = {Variant(date), Variant(imv)};
  return data;
}

JobData Id(int imv) {
  JobData data;
  data.values = {Variant(imv)};
  return data;
}

TEST(Job436Test, PeriodsGrowToTheLessonDateAndOnlyChangedRecordsAreWritten) {
  auto server = FixtureServer(2);
  LoadLessons(server->db());
  const std::string original = Periods(server->db());
  struct Case {
    TDateTime date;
    const char* periods;  // after the call, on the original periods
  };
  const Case cases[] = {
      // Inside every period: nothing is written.
      {EncodeDate(2025, 10, 1),
       "5 | 2025-09-15 | 2026-01-31 | 2025-09-22 | 2026-01-26 | 2025-08-25 10:00:00\n"
       "6 | 2025-09-01 | 2026-06-30 | 2025-09-01 | 2026-06-30 | 2025-08-25 10:00:00\n"
       "10 | 2025-09-01 | 2026-06-30 | 2025-08-25 10:00:00\n"},
      // One day after the lesson period only: the lesson period grows, the period does not.
      {EncodeDate(2026, 1, 27),
       "5 | 2025-09-15 | 2026-01-31 | 2025-09-22 | 2026-01-27 | 2025-08-30 12:00:00\n"
       "6 | 2025-09-01 | 2026-06-30 | 2025-09-01 | 2026-06-30 | 2025-08-25 10:00:00\n"
       "10 | 2025-09-01 | 2026-06-30 | 2025-08-25 10:00:00\n"},
      // After the class: all three grow; the other module variant stays.
      {EncodeDate(2026, 7, 1),
       "5 | 2025-09-15 | 2026-07-01 | 2025-09-22 | 2026-07-01 | 2025-08-30 12:00:00\n"
       "6 | 2025-09-01 | 2026-06-30 | 2025-09-01 | 2026-06-30 | 2025-08-25 10:00:00\n"
       "10 | 2025-09-01 | 2026-07-01 | 2025-08-30 12:00:00\n"},
      // Before everything, a time of day ignored: the begin dates move back.
      {EncodeDate(2025, 8, 31) + 0.75,
       "5 | 2025-08-31 | 2026-01-31 | 2025-08-31 | 2026-01-26 | 2025-08-30 12:00:00\n"
       "6 | 2025-09-01 | 2026-06-30 | 2025-09-01 | 2026-06-30 | 2025-08-25 10:00:00\n"
       "10 | 2025-08-31 | 2026-06-30 | 2025-08-30 12:00:00\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DateTimeToSql(c.date));
    server->db().ExecuteScript(
        "UPDATE VWOINGMODULEVARIANT SET IMV_VAN = '2025-09-15', IMV_TOT = '2026-01-31', "
        "IMV_LESVAN = '2025-09-22', IMV_LESTOT = '2026-01-26', "
        "IMV_VERANDERDOP = '2025-08-25 10:00:00' WHERE IMV_ID = 5; "
        "UPDATE VWOKLAS SET VWK_VAN = '2025-09-01', VWK_TOT = '2026-06-30', "
        "VWK_VERANDERDOP = '2025-08-25 10:00:00';");
    ASSERT_EQ(Periods(server->db()), original);
    server->ExecuteJob(436, 0, Data(c.date, 5));
    EXPECT_EQ(Periods(server->db()), c.periods);
  }
}

TEST(Job436Test, AnUnknownModuleVariantOrWrongDataIsRefusedAndChangesNothing) {
  auto server = FixtureServer();
  LoadLessons(server->db());
  const std::string before = Periods(server->db());
  JobData swapped;
  swapped.values = {Variant(5), Variant(EncodeDate(2026, 7, 1))};
  struct Case {
    JobData data;
    const char* message;
  };
  const Case cases[] = {
      {Data(EncodeDate(2026, 7, 1), 99), "Ingerichte modulevariant 99 niet gevonden"},
      {swapped, "Job 436: waarde 1 moet een datum zijn, maar is een geheel getal"},
  };
  for (const Case& c : cases) {
    try {
      server->ExecuteJob(436, 0, c.data);
      ADD_FAILURE() << "not refused: " << c.message;
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(Periods(server->db()), before);
}

TEST(Job325Test, OneRowPerTeacherWithTheHoursOfTheLessonsGiven) {
  auto server = FixtureServer(2);
  LoadLessons(server->db());
  EXPECT_EQ(server->ExecuteJob(325, -1, Id(5)), "Doc 3B: 2 lesgevers, 10,2 lestijden");
  // An: 3.6 + 2.6 (distance moments count); Bart: 4 (the lapsed ones do not), keeping his
  // titular and subject; Cor has no lessons left; module variant 6 is left alone.
  EXPECT_EQ(Rows(server->db(),
                 "SELECT VD3_VWOINGMODULEVARIANT_FK, VD3_LESGEVER_FK, VD3_TITULARIS_FK, "
                 "VD3_OFFICIEELVAK_FK, VD3_UREN, VD3_VERANDERDDOOR FROM VWODOC3BINFO "
                 "ORDER BY VD3_VWOINGMODULEVARIANT_FK, VD3_LESGEVER_FK"),
            "5 | 1 | 1 | null | 6.2 | 2\n"
            "5 | 2 | 1 | 7 | 4 | 2\n"
            "6 | 3 | 3 | null | 5 | 1\n");
  // Done again, it gives the same rows.
  const std::string once = Rows(server->db(),
                                "SELECT VD3_LESGEVER_FK, VD3_TITULARIS_FK, VD3_OFFICIEELVAK_FK, "
                                "VD3_UREN FROM VWODOC3BINFO ORDER BY VD3_ID");
  server->ExecuteJob(325, -1, Id(5));
  EXPECT_EQ(Rows(server->db(),
                 "SELECT VD3_LESGEVER_FK, VD3_TITULARIS_FK, VD3_OFFICIEELVAK_FK, VD3_UREN FROM "
                 "VWODOC3BINFO ORDER BY VD3_ID"),
            once);
  EXPECT_THROW(server->ExecuteJob(325, -1, Id(99)), EClientError);
}

TEST(Job368Test, DistanceLessonTimesOfTheLessonsGivenRoundedToWholeTimes) {
  auto server = FixtureServer(2);
  LoadLessons(server->db());
  const char* sql =
      "SELECT IMV_ID, IMV_LESTIJDENAFSTANDSONDERWIJS, IMV_VERANDERDDOOR, IMV_VERANDERDOP FROM "
      "VWOINGMODULEVARIANT ORDER BY IMV_ID";
  // 2.6 + 1.5 = 4.1 (the lapsed distance moment does not count): 4.
  EXPECT_EQ(server->ExecuteJob(368, -1, Id(5)), "Afstandsonderwijs: 2 lesmomenten, 4 lestijden");
  EXPECT_EQ(Rows(server->db(), sql),
            "5 | 4 | 2 | 2025-08-30 12:00:00\n6 | 0 | 1 | 2025-08-25 10:00:00\n");
  // A half rounds up; an unchanged count is not written.
  server->db().ExecuteScript(
      "UPDATE VWOLES SET VWL_LESUREN = 1.9 WHERE VWL_ID = 5; UPDATE VWOINGMODULEVARIANT SET "
      "IMV_VERANDERDOP = '2025-08-25 10:00:00', IMV_VERANDERDDOOR = 1");
  server->ExecuteJob(368, -1, Id(5));
  EXPECT_EQ(Rows(server->db(), sql),
            "5 | 5 | 2 | 2025-08-30 12:00:00\n6 | 0 | 1 | 2025-08-25 10:00:00\n");
  server->db().ExecuteScript("UPDATE VWOINGMODULEVARIANT SET IMV_VERANDERDDOOR = 1");
  server->ExecuteJob(368, -1, Id(5));
  EXPECT_EQ(
      Rows(server->db(), "SELECT IMV_VERANDERDDOOR FROM VWOINGMODULEVARIANT WHERE IMV_ID = 5"),
      "1\n");
  EXPECT_THROW(server->ExecuteJob(368, -1, Id(99)), EClientError);
}

}  // namespace
}  // namespace quil::server::testing
