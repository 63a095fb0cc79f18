// Job 313 on the demo database: lesson moments from a recipe across the demo's holidays, every
// week and every other week, replacing lessons without participations, widening the periods, and
// leaving everything as it was when any part fails.
//
// The demo class 1 (institution 1) runs 15/09/2025 - 31/01/2026 with the organised module
// variants 1 and 2; module variant 1 has a lesson every Monday evening, and the lessons before
// 1 October have participations. Holidays around the test period: autumn week 27/10 - 02/11,
// Armistice Day Tuesday 11/11, and institution 1's own study day Monday 10/11.
#include <gtest/gtest.h>

#include <string>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "host/domain/LesRecept.h"
#include "server/seed/DemoData.h"

namespace quil::server::testing {
namespace {

constexpr int kDefaultOptions = 1 | 2 | 16 | 32;  // the dialog's defaults
constexpr int kEveryOtherWeek = 4;
constexpr int kNoHolidayCheck = 8;
constexpr int kGeneralOnly = 16;
constexpr int kKeepExisting = 64;

class Job313Test : public DemoJobTest {
 protected:
  //! The lessons of a module variant: date, times, lesson times, teacher, room, place, flags,
  //! trimester.
  std::string Lessons(int imv, const char* from = "2025-10-20", const char* to = "2025-11-30") {
    return Query(
        "SELECT VWL_DATUM, VWL_VANUUR, VWL_TOTUUR, VWL_LESUREN, VWL_LESGEVER_FK, VWL_LOKAAL_FK, "
        "VWL_LESPLAATS_FK, VWL_FLAGS, VWL_TRIMESTER FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = " +
        std::to_string(imv) + " AND VWL_DATUM BETWEEN '" + from + "' AND '" + to +
        "' ORDER BY VWL_DATUM, VWL_VANUUR");
  }

  std::string Dates(int imv, const char* from = "2025-09-01", const char* to = "2026-08-31") {
    std::string out;
    auto stmt = server->db().Prepare(
        "SELECT VWL_DATUM FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = :IMV AND VWL_DATUM "
        "BETWEEN :VAN AND :TOT ORDER BY VWL_DATUM, VWL_VANUUR");
    stmt->BindInt64(0, imv);
    stmt->BindText(1, from);
    stmt->BindText(2, to);
    while (stmt->Step()) out += std::string(stmt->ColumnText(0)).substr(5) + " ";
    return out;
  }

  //! Everything the job may change, for the all-or-nothing checks.
  std::string State() {
    return Query("SELECT * FROM VWOLES ORDER BY VWL_ID") +
           Query("SELECT * FROM VWOINGMODULEVARIANT ORDER BY IMV_ID") +
           Query("SELECT * FROM VWOKLAS ORDER BY VWK_ID") +
           // A PostgreSQL sequence keeps what a rolled-back transaction took (ids may have gaps).
           (server->db().engine() == Engine::Sqlite
                ? std::to_string(*server->db().GeneratorValue("VWOLES")) + "\n"
                : std::string()) +
           Query("SELECT * FROM JOBLOG");
  }

  std::string Run(int klas, const std::string& target, int options, TDateTime from, TDateTime to,
                  const std::string& recipe) {
    return server->ExecuteJob(313, 0,
                              JobData{{Variant(klas), Variant(target), Variant(options),
                                       Variant(from), Variant(to), Variant(recipe)}});
  }
};

TLesReceptItem& Row(TLesRecept& recipe, TDag day, int fromHour, int fromMinute, int toHour,
                    int toMinute, Currency lestijden) {
  TLesReceptItem& item = recipe.Add();
  item.Dag = day;
  item.Van = EncodeTime(fromHour, fromMinute);
  item.Tot = EncodeTime(toHour, toMinute);
  item.Lestijden = lestijden;
  return item;
}

//! Monday 18:30-21:30 with the module variant's teacher, place and the class's room; Tuesday
//! 19:00-21:30 as a distance moment with its own teacher, room and place.
std::string MondayAndTuesday() {
  TLesRecept recipe;
  Row(recipe, TDag::dgMaandag, 18, 30, 21, 30, Currency::FromRaw(36000));
  TLesReceptItem& tuesday = Row(recipe, TDag::dgDinsdag, 19, 0, 21, 30, Currency(3));
  tuesday.LesgeverID = 3;
  tuesday.LokaalID = 2;
  tuesday.LesplaatsID = 2;
  tuesday.Afstand = true;
  return LesmomentAsString(recipe);
}

TEST_F(Job313Test, WeeklyAndEveryOtherWeekAcrossTheHolidays) {
  const std::string imv1 =
      Query("SELECT IMV_LESGEVER_FK, IMV_LESPLAATS_FK FROM VWOINGMODULEVARIANT WHERE IMV_ID = 1");
  ASSERT_EQ(imv1, "4 1\n");
  ASSERT_EQ(Query("SELECT VWK_STANDAARDLOKAAL_FK FROM VWOKLAS WHERE VWK_ID = 1"), "1\n");
  const std::string monday = " 18:30:00 21:30:00 3.6 4 1 1 0 1\n";
  const std::string tuesday = " 19:00:00 21:30:00 3 3 2 2 8 1\n";

  // Weekly, the general holidays only (the dialog's default): the study day of 10/11 is a day
  // like any other; the autumn week and Armistice Day are skipped.
  EXPECT_EQ(Run(1, "1", kDefaultOptions, EncodeDate(2025, 10, 20), EncodeDate(2025, 11, 23),
                MondayAndTuesday()),
            "7 lesmomenten aangemaakt en 5 verwijderd voor 1 ingerichte modulevarianten");
  EXPECT_EQ(Lessons(1), "2025-10-20" + monday + "2025-10-21" + tuesday + "2025-11-03" + monday +
                            "2025-11-04" + tuesday + "2025-11-10" + monday + "2025-11-17" + monday +
                            "2025-11-18" + tuesday + "2025-11-24 18:30:00 21:30:00 3.6 " +
                            "4 1 1 0 1\n");  // the demo's own lesson after the period stays

  // Every other week from the autumn week (week 0, a holiday): weeks 2 and 4 remain; the
  // institution's own study day now counts too.
  struct Case {
    const char* name;
    int options;
    const char* dates;
  } cases[] = {
      {"every other week, general holidays", kDefaultOptions | kEveryOtherWeek,
       "11-10 11-24 11-25 "},
      {"every other week, the institution's too",
       (kDefaultOptions & ~kGeneralOnly) | kEveryOtherWeek, "11-24 11-25 "},
      {"every other week, no holiday check", kDefaultOptions | kEveryOtherWeek | kNoHolidayCheck,
       "10-27 10-28 11-10 11-11 11-24 11-25 "},
      {"weekly, the institution's too", kDefaultOptions & ~kGeneralOnly,
       "11-03 11-04 11-17 11-18 11-24 11-25 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Run(1, "2", c.options, EncodeDate(2025, 10, 27), EncodeDate(2025, 11, 30), MondayAndTuesday());
    EXPECT_EQ(Dates(2, "2025-10-27", "2025-11-30"), c.dates);
  }
  // Module variant 1 was not touched by the runs for 2.
  EXPECT_EQ(Dates(1, "2025-10-27", "2025-11-30"), "11-03 11-04 11-10 11-17 11-18 11-24 ");
}

TEST_F(Job313Test, ASecondRunReplacesTheLessonsWithoutParticipationsOnly) {
  TLesRecept wednesday;
  Row(wednesday, TDag::dgWoensdag, 9, 0, 12, 20, Currency(4));
  TLesRecept thursday;
  Row(thursday, TDag::dgDonderdag, 9, 0, 12, 20, Currency(4));
  const TDateTime from = EncodeDate(2025, 9, 15), to = EncodeDate(2025, 10, 12);
  ASSERT_EQ(Dates(1, "2025-09-15", "2025-10-12"), "09-15 09-22 09-29 10-06 ");

  // The Mondays of September have participations and stay; the one of 6 October goes.
  Run(1, "", kDefaultOptions, from, to, LesmomentAsString(wednesday));
  EXPECT_EQ(Dates(1, "2025-09-15", "2025-10-12"), "09-15 09-17 09-22 09-24 09-29 10-01 10-08 ");
  // Every module variant of the class got them; module variant 2 keeps its Tuesdays of September.
  EXPECT_EQ(Dates(2, "2025-09-15", "2025-10-12"), "09-16 09-17 09-23 09-24 09-30 10-01 10-08 ");

  // A second run replaces the generated Wednesdays by Thursdays.
  EXPECT_EQ(Run(1, "", kDefaultOptions, from, to, LesmomentAsString(thursday)),
            "8 lesmomenten aangemaakt en 8 verwijderd voor 2 ingerichte modulevarianten");
  EXPECT_EQ(Dates(1, "2025-09-15", "2025-10-12"), "09-15 09-18 09-22 09-25 09-29 10-02 10-09 ");

  // Keeping the existing lessons adds to them.
  Run(1, "", kDefaultOptions | kKeepExisting, from, to, LesmomentAsString(wednesday));
  EXPECT_EQ(Dates(2, "2025-09-15", "2025-10-12"),
            "09-16 09-17 09-18 09-23 09-24 09-25 09-30 10-01 10-02 10-08 10-09 ");
  EXPECT_EQ(Query("SELECT COUNT(*) FROM VWOLES WHERE VWL_ID > " +
                  std::to_string(*server->db().GeneratorValue("VWOLES"))),
            "0\n");
}

TEST_F(Job313Test, PeriodsGrowToHoldTheLessonsAndTheTrimesterFollowsTheStart) {
  TLesRecept recipe;
  Row(recipe, TDag::dgMaandag, 18, 30, 21, 30, Currency(3));
  const std::string before = Query(
      "SELECT IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_REGISTRATIEMOMENT FROM "
      "VWOINGMODULEVARIANT WHERE IMV_ID = 1");
  ASSERT_EQ(before, "2025-09-15 2026-01-31 2025-09-15 2026-01-31 2025-09-29\n");

  // Without bits 0, 1 and 5 nothing but the lessons changes.
  Run(1, "1", kGeneralOnly, EncodeDate(2025, 9, 1), EncodeDate(2026, 2, 28),
      LesmomentAsString(recipe));
  EXPECT_EQ(Query("SELECT IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_REGISTRATIEMOMENT FROM "
                  "VWOINGMODULEVARIANT WHERE IMV_ID = 1"),
            before);

  // With them: back to Monday 1/9, on to Monday 23/2 (the carnival week 16/2 is a holiday); the
  // registration moment one third into the new period: 1/9 + 175/3 days (58 whole) = 29/10.
  Run(1, "1", kDefaultOptions, EncodeDate(2025, 9, 1), EncodeDate(2026, 2, 28),
      LesmomentAsString(recipe));
  EXPECT_EQ(Query("SELECT IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_REGISTRATIEMOMENT, "
                  "IMV_VERANDERDDOOR, IMV_VERANDERDOP FROM VWOINGMODULEVARIANT WHERE IMV_ID = 1"),
            "2025-09-01 2026-02-23 2025-09-01 2026-02-23 2025-10-29 7 2025-08-30 12:00:00\n");
  EXPECT_EQ(Query("SELECT VWK_VAN, VWK_TOT, VWK_VERANDERDDOOR FROM VWOKLAS WHERE VWK_ID = 1"),
            "2025-09-01 2026-02-23 7\n");
  EXPECT_EQ(Query("SELECT IMV_VAN, IMV_TOT FROM VWOINGMODULEVARIANT WHERE IMV_ID = 2"),
            "2025-09-15 2026-01-31\n");  // the other module variant keeps its period

  // A class of the second semester starts in February: its trimesters count from its start
  // (03/02 - 02/05 the first, from 03/05 the second), not the school's (April would be 3).
  ASSERT_EQ(Query("SELECT IMV_VAN FROM VWOINGMODULEVARIANT WHERE IMV_ID = 7"), "2026-02-03\n");
  Run(4, "7", kDefaultOptions, EncodeDate(2026, 4, 20), EncodeDate(2026, 5, 10),
      LesmomentAsString(recipe));
  EXPECT_EQ(Query("SELECT VWL_DATUM, VWL_TRIMESTER FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 7 "
                  "AND VWL_DATUM BETWEEN '2026-04-20' AND '2026-05-10' ORDER BY VWL_DATUM"),
            "2026-04-20 1\n2026-04-27 1\n2026-05-04 2\n");
}

TEST_F(Job313Test, AFailureHalfwayLeavesNothingGenerated) {
  // The second row's teacher does not exist: the store refuses its first lesson, after the
  // existing lessons were removed and the Monday lessons inserted.
  TLesRecept recipe;
  Row(recipe, TDag::dgMaandag, 18, 30, 21, 30, Currency(3));
  Row(recipe, TDag::dgDonderdag, 18, 30, 21, 30, Currency(3)).LesgeverID = 99999;
  const std::string before = State();
  EXPECT_THROW(Run(1, "", kDefaultOptions, EncodeDate(2025, 9, 1), EncodeDate(2026, 2, 28),
                   LesmomentAsString(recipe)),
               DatabaseError);
  EXPECT_EQ(State(), before);
}

TEST_F(Job313Test, RefusedCallsChangeNothing) {
  const std::string good = MondayAndTuesday();
  const TDateTime from = EncodeDate(2025, 10, 20), to = EncodeDate(2025, 11, 23);
  struct Case {
    int klas;
    std::string target;
    TDateTime from, to;
    std::string recipe;
    const char* message;
  } cases[] = {
      {99, "", from, to, good, "Klas 99 niet gevonden"},
      {1, "999", from, to, good, "Ingerichte modulevariant 999 niet gevonden"},
      {1, "3", from, to, good, "Ingerichte modulevariant 3 hoort niet bij klas 1"},
      {1, "1a", from, to, good, "Job 313: '1a' is geen ingerichte modulevariant"},
      {1, "", to, from, good, "Job 313: de periode van 23/11/2025 tot 20/10/2025 is leeg"},
      {1, "", from, to, R"({"versie":1,"lesmomenten":[]})",
       "Job 313: het recept is ongeldig: het bevat geen lesmomenten"},
      {1, "", from, to,
       R"({"versie":1,"lesmomenten":[{"dag":7,"van":"18:00","tot":"20:00","pauze":0,)"
       R"("lestijden":"2.4000","lesgever":null,"lokaal":null,"lesplaats":null,"afstand":false}]})",
       "Job 313: het recept is ongeldig: dag 7 bestaat niet"},
      {1, "", from, to,
       R"({"versie":1,"lesmomenten":[{"dag":1,"van":"20:00","tot":"18:00","pauze":0,)"
       R"("lestijden":"2.4000","lesgever":null,"lokaal":null,"lesplaats":null,"afstand":false}]})",
       "Job 313: het recept is ongeldig: een les eindigt voor ze begint"},
      {1, "", from, to,
       R"({"versie":1,"lesmomenten":[{"dag":1,"van":"18:00","tot":"20:00","pauze":0,)"
       R"("lestijden":"0.0000","lesgever":null,"lokaal":null,"lesplaats":null,"afstand":false}]})",
       "Job 313: het recept is ongeldig: een les heeft geen geldig aantal lestijden"},
      {1, "", from, to,
       R"({"versie":1,"lesmomenten":[{"dag":1,"van":"1800","tot":"20:00","pauze":0,)"
       R"("lestijden":"2.4000","lesgever":null,"lokaal":null,"lesplaats":null,"afstand":false}]})",
       "Job 313: het recept is ongeldig: '1800' is geen uur"},
  };
  const std::string before = State();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      Run(c.klas, c.target, kDefaultOptions, c.from, c.to, c.recipe);
      ADD_FAILURE() << "not refused";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  // Text that is no JSON at all names the parser's complaint.
  EXPECT_THROW(Run(1, "", kDefaultOptions, from, to, "recept"), EClientError);
  EXPECT_EQ(State(), before);
}

TEST(LesReceptTest, TheRecipeTextKeepsEveryValueExactly) {
  TLesRecept recipe;
  TLesReceptItem& first = Row(recipe, TDag::dgZondag, 9, 5, 12, 0, Currency::FromRaw(31234));
  first.Pauze = 15;
  first.LesgeverID = 12;
  first.Lesgever = "An Janssens";
  first.Afstand = true;
  Row(recipe, TDag::dgMaandag, 18, 30, 21, 30, Currency::FromRaw(-5));
  EXPECT_EQ(LesmomentAsString(recipe),
            R"({"lesmomenten":[{"afstand":true,"dag":6,"lesgever":12,"lesplaats":null,)"
            R"("lestijden":"3.1234","lokaal":null,"pauze":15,"tot":"12:00","van":"09:05"},)"
            R"({"afstand":false,"dag":0,"lesgever":null,"lesplaats":null,"lestijden":"-0.0005",)"
            R"("lokaal":null,"pauze":0,"tot":"21:30","van":"18:30"}],"versie":1})");
  recipe.Delete(0);
  EXPECT_EQ(recipe.Count(), 1);
  EXPECT_EQ(recipe.Item(0).Dag, TDag::dgMaandag);
  recipe.Add();  // a new row waits for its weekday
  EXPECT_THROW(LesmomentAsString(recipe), std::logic_error);
}

}  // namespace
}  // namespace quil::server::testing
