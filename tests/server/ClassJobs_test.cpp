// The jobs of the class screen on the demo database: the default room into the lessons (351),
// the pupils counted anew (373) and the class memo of the lesson moments (328).
//
// Demo class 2 (institution 1) has the organised module variants 3 and 4 with a weekly lesson in
// its default room 6 from 15/09/2025 to 31/01/2026; the lessons before 1 October have two pupils
// each. Room 13 belongs to institution 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"

namespace quil::server::testing {
namespace {

class ClassJobsTest : public DemoJobTest {
 protected:
  //! How many lessons of class 2 have each room ("-" for none), by room.
  std::string Rooms() {
    return Query(
        "SELECT L.VWL_LOKAAL_FK, COUNT(*) FROM VWOLES L JOIN VWOINGMODULEVARIANT I ON I.IMV_ID = "
        "L.VWL_INGMODULEVARIANT_FK WHERE I.IMV_VWOKLAS_FK = 2 GROUP BY L.VWL_LOKAAL_FK "
        "ORDER BY COALESCE(L.VWL_LOKAAL_FK, 0)");
  }
  std::string Run(int job, std::vector<Variant> values) {
    return server->ExecuteJob(job, -1, JobData{std::move(values)});
  }
  std::string Refusal(int job, std::vector<Variant> values) {
    try {
      Run(job, std::move(values));
    } catch (const EClientError& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(ClassJobsTest, TheDefaultRoomFillsTheEmptyRoomsOrEveryRoom) {
  const std::string total = Query(
      "SELECT COUNT(*) FROM VWOLES L JOIN VWOINGMODULEVARIANT I ON I.IMV_ID = "
      "L.VWL_INGMODULEVARIANT_FK WHERE I.IMV_VWOKLAS_FK = 2");
  server->db().ExecuteScript(
      "UPDATE VWOLES SET VWL_LOKAAL_FK = NULL WHERE VWL_ID IN (SELECT MIN(VWL_ID) FROM VWOLES "
      "WHERE VWL_INGMODULEVARIANT_FK = 3);"
      "UPDATE VWOLES SET VWL_LOKAAL_FK = 5 WHERE VWL_ID IN (SELECT MAX(VWL_ID) FROM VWOLES "
      "WHERE VWL_INGMODULEVARIANT_FK = 4);");
  const int n = std::stoi(total);
  const char* kOtherRooms =
      "SELECT L.VWL_LOKAAL_FK, COUNT(*) FROM VWOLES L JOIN VWOINGMODULEVARIANT I ON I.IMV_ID = "
      "L.VWL_INGMODULEVARIANT_FK WHERE I.IMV_VWOKLAS_FK <> 2 GROUP BY L.VWL_LOKAAL_FK "
      "ORDER BY COALESCE(L.VWL_LOKAAL_FK, 0)";
  const std::string others = Query(kOtherRooms);
  EXPECT_EQ(Rooms(), "- 1\n5 1\n6 " + std::to_string(n - 2) + "\n");

  EXPECT_EQ(Run(351, {Variant(0), Variant(2), Variant(7)}), "");
  EXPECT_EQ(Rooms(), "5 1\n6 " + std::to_string(n - 2) + "\n7 1\n");
  EXPECT_EQ(Query("SELECT COUNT(*) FROM VWOLES WHERE VWL_VERANDERDDOOR = 7"), "1\n");

  EXPECT_EQ(Run(351, {Variant(1), Variant(2), Variant(6)}), "");
  EXPECT_EQ(Rooms(), "6 " + total);
  // Only the two lessons that had another room were written.
  EXPECT_EQ(Query("SELECT COUNT(*) FROM VWOLES WHERE VWL_VERANDERDDOOR = 7"), "2\n");
  // Other classes keep theirs.
  EXPECT_EQ(Query(kOtherRooms), others);
}

TEST_F(ClassJobsTest, RefusedCallsChangeNothing) {
  const std::string before = Rooms();
  struct Case {
    int job;
    std::vector<Variant> values;
    const char* message;
  };
  const Case cases[] = {
      {351,
       {Variant(2), Variant(2), Variant(6)},
       "Job 351: soort 2 is onbekend (0 = lessen zonder lokaal, 1 = alle lessen)"},
      {351, {Variant(1), Variant(99), Variant(6)}, "Klas 99 niet gevonden"},
      {351, {Variant(1), Variant(2), Variant(999)}, "Lokaal 999 niet gevonden"},
      {351,
       {Variant(1), Variant(2), Variant(13)},
       "Lokaal 13 hoort niet bij de instelling van klas 2"},
      {373, {Variant("3,99")}, "Ingerichte modulevariant 99 niet gevonden"},
      {373, {Variant("3,,4")}, "Job 373: '3,,4' is geen lijst van ingerichte modulevarianten"},
      {373, {Variant("3, 4")}, "Job 373: '3, 4' is geen lijst van ingerichte modulevarianten"},
      {373, {Variant("")}, "Job 373: '' is geen lijst van ingerichte modulevarianten"},
      {328, {Variant(99)}, "Klas 99 niet gevonden"},
  };
  const std::string pupils = Query("SELECT IMV_ID, IMV_AANTALLEERLINGEN FROM VWOINGMODULEVARIANT");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(Refusal(c.job, c.values), c.message);
  }
  EXPECT_EQ(Rooms(), before);
  EXPECT_EQ(Query("SELECT IMV_ID, IMV_AANTALLEERLINGEN FROM VWOINGMODULEVARIANT"), pupils);
  EXPECT_EQ(Query("SELECT COUNT(*) FROM JOBLOG"), "0\n");
}

TEST_F(ClassJobsTest, PupilsAreCountedOncePerModuleVariant) {
  // Module variant 3: two pupils in every early lesson, one more in one lesson; module variant
  // 4 already holds its count of two.
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_AANTALLEERLINGEN = 2 WHERE IMV_ID = 4;"
      "INSERT INTO VWOPARTICIPATIE (VPA_ID, VPA_VWOLES_FK, VPA_CURSIST, VPA_VERANDERDDOOR, "
      "VPA_VERANDERDOP) SELECT 90000, MIN(VWL_ID), 'Cursist 3', 1, '2025-09-20 10:00:00' "
      "FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 3;");
  EXPECT_EQ(Run(373, {Variant("3,4")}),
            "Aantal leerlingen herberekend: 1 van 2 ingerichte modulevarianten gewijzigd");
  EXPECT_EQ(Query("SELECT IMV_ID, IMV_AANTALLEERLINGEN, IMV_VERANDERDDOOR FROM "
                  "VWOINGMODULEVARIANT WHERE IMV_ID IN (3, 4) ORDER BY IMV_ID"),
            "3 3 7\n4 2 1\n");
}

TEST_F(ClassJobsTest, TheClassMemoListsTheWeeklyLessonsAndReplacesTheOldOne) {
  // One lesson of module variant 3 lapses and does not count.
  server->db().ExecuteScript(
      "UPDATE VWOLES SET VWL_FLAGS = 2 WHERE VWL_ID IN (SELECT MAX(VWL_ID) FROM VWOLES "
      "WHERE VWL_INGMODULEVARIANT_FK = 3);");
  std::string code = Query("SELECT VWK_CODE FROM VWOKLAS WHERE VWK_ID = 2");
  code.pop_back();
  EXPECT_EQ(Run(328, {Variant(2)}), "Klasmemo lesuren aangemaakt voor klas " + code);
  // Again: the memo is replaced.
  EXPECT_EQ(Run(328, {Variant(2)}), "Klasmemo lesuren aangemaakt voor klas " + code);
  const std::string memo = Query(
      "SELECT M.VKM_MEMO FROM VWOKLASMEMO M JOIN PARAM P ON P.P_ID = M.VKM_TYPE_FKP "
      "WHERE M.VKM_VWOKLAS_FK = 2 AND P.P_CODE = 'KAL'");
  // One memo, two paragraphs, one weekly moment each.
  EXPECT_EQ(Query("SELECT COUNT(*) FROM VWOKLASMEMO M JOIN PARAM P ON P.P_ID = M.VKM_TYPE_FKP "
                  "WHERE M.VKM_VWOKLAS_FK = 2 AND P.P_CODE = 'KAL'"),
            "1\n");
  const std::string lessen3 =
      Query("SELECT COUNT(*) - 1 FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 3");
  EXPECT_NE(memo.find("16/09/2025 tot"), std::string::npos) << memo;
  EXPECT_NE(memo.find(": " + lessen3.substr(0, lessen3.size() - 1) + " lesmomenten"),
            std::string::npos)
      << memo;
  EXPECT_NE(memo.find("dinsdag 09:00 - 12:20"), std::string::npos) << memo;
  EXPECT_NE(memo.find("woensdag 18:30 - 21:30"), std::string::npos) << memo;
  // The general memo of the class stays.
  EXPECT_EQ(Query("SELECT COUNT(*) FROM VWOKLASMEMO WHERE VKM_VWOKLAS_FK = 2"), "2\n");
}

// Job 316 over class 2 (the processing screen's run). Module variant 3 has a lesson of 4 lesson
// times every Tuesday morning from 16/09/2025, module variant 4 one of 3.6 every Wednesday
// evening from 17/09/2025; both run 15/09/2025 - 31/01/2026.
TEST_F(ClassJobsTest, ProcessingAClassRecomputesWhatItsOptionsAsk) {
  server->db().ExecuteScript(
      "UPDATE VWOLES SET VWL_FLAGS = 8 WHERE VWL_INGMODULEVARIANT_FK = 3 AND "
      "VWL_DATUM = '2025-09-16';"
      "UPDATE VWOLES SET VWL_FLAGS = 2 WHERE VWL_INGMODULEVARIANT_FK = 3 AND "
      "VWL_DATUM = '2025-09-23';"
      "UPDATE VWOINGMODULEVARIANT SET IMV_LESDAGEN = 0, IMV_DAVINCIKLAAR = '+', "
      "IMV_REGISTRATIEMOMENT = '2025-08-20' WHERE IMV_ID = 4;"
      "UPDATE VWOINGMODULEVARIANT SET IMV_VERANDERDOP = '2025-08-25 10:00:00'");
  const std::string values =
      "SELECT IMV_ID, CAST(ROUND(IMV_CONTACTLESTIJDEN1 * 10) AS INTEGER), "
      "CAST(ROUND(IMV_CONTACTLESTIJDEN2 * 10) AS INTEGER), "
      "CAST(ROUND(IMV_CONTACTLESTIJDEN3 * 10) AS INTEGER), CAST(ROUND(IMV_CONTACTLESTIJDEN4 * 10) "
      "AS INTEGER), IMV_REGISTRATIEMOMENT, "
      "IMV_LESTIJDENAFSTANDSONDERWIJS, IMV_LESDAGEN, IMV_VERANDERDOP FROM VWOINGMODULEVARIANT "
      "WHERE IMV_VWOKLAS_FK = 2 ORDER BY IMV_ID";
  auto run = [this](int options, TDateTime date) {
    return Run(316, {Variant(2), Variant(0), Variant(options), Variant(date)});
  };
  const TDateTime october28 = EncodeDate(2025, 10, 28);  // a Tuesday: its lesson counts

  // Nothing asked: nothing written.
  const std::string before = Query(values);
  EXPECT_EQ(run(1, october28),
            "Lesmomenten verwerkt: 0 van 2 ingerichte modulevarianten gewijzigd");
  EXPECT_EQ(Query(values), before);

  // Everything up to 28/10: the Tuesdays but the distance and the lapsed one (5 x 4), the six
  // Wednesdays (6 x 3.6); the moment of 3 a third into its period, that of 4 has passed and it
  // was reported; 3's distance lesson; 4's Wednesday evenings (bit 14 + 2).
  EXPECT_EQ(run(31, october28),
            "Lesmomenten verwerkt: 2 van 2 ingerichte modulevarianten gewijzigd, 1 verstreken "
            "registratiemomenten behouden");
  EXPECT_EQ(Query(values),
            "3 200 0 0 0 2025-10-31 4 2 2025-08-30 12:00:00\n"
            "4 216 0 0 0 2025-08-20 0 65536 2025-08-30 12:00:00\n");

  // Again: nothing changes. Without the date every lesson counts, January's in period 2.
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_VERANDERDOP = '2025-08-25 10:00:00'");
  EXPECT_EQ(run(31, october28),
            "Lesmomenten verwerkt: 0 van 2 ingerichte modulevarianten gewijzigd, 1 verstreken "
            "registratiemomenten behouden");
  EXPECT_EQ(run(2, october28),
            "Lesmomenten verwerkt: 2 van 2 ingerichte modulevarianten gewijzigd");
  EXPECT_EQ(Query("SELECT IMV_ID, CAST(ROUND(IMV_CONTACTLESTIJDEN1 * 10) AS INTEGER), "
                  "CAST(ROUND(IMV_CONTACTLESTIJDEN2 * 10) AS INTEGER) FROM "
                  "VWOINGMODULEVARIANT WHERE IMV_VWOKLAS_FK = 2 ORDER BY IMV_ID"),
            "3 560 160\n4 576 144\n");

  EXPECT_EQ(Refusal(316, {Variant(99), Variant(0), Variant(2), Variant(october28)}),
            "Klas 99 niet gevonden");
}

}  // namespace
}  // namespace quil::server::testing
