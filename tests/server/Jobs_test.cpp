// The job service: every call recorded with its typed data, dispatch to registered handlers,
// data checked against the handler's signature, job rows written and read by slot, removed by
// CleanJob, and a failing handler leaving everything as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "server/jobs/JobRows.h"
#include "server/jobs/JobService.h"
#include "server/seed/InitDb.h"

namespace quil::server::testing {
namespace {

std::string JobLog(Database& db) {
  std::string out;
  auto stmt = db.Prepare(
      "SELECT JL_JOBTYPE, JL_JOBID, JL_FASE, JL_DATA, JL_GEBRUIKER, JL_TIJDSTIP, JL_RESULTAAT "
      "FROM JOBLOG ORDER BY JL_ID");
  while (stmt->Step()) {
    for (int c = 0; c < 7; ++c)
      out += std::string(c == 0 ? "" : " ") + std::string(stmt->ColumnText(c));
    out += "\n";
  }
  return out;
}

std::string JobRows(Database& db) {
  std::string out;
  auto stmt = db.Prepare("SELECT J_JOBID, J_JOBTYPE, J_TEXT1 FROM JOBDATA ORDER BY J_ID");
  while (stmt->Step()) {
    out += std::to_string(stmt->ColumnInt64(0)) + "/" + std::to_string(stmt->ColumnInt64(1)) + "/" +
           std::string(stmt->ColumnText(2)) + "\n";
  }
  return out;
}

TEST(JobDataJsonTest, EveryKindSurvivesTheRoundTrip) {
  JobData data;
  data.values = {Variant(),
                 Variant(true),
                 Variant(-42),
                 Variant(2.5),
                 Variant(Currency::FromRaw(-123456)),
                 Variant("+ \"citaat\" é"),
                 Variant(EncodeDate(2025, 9, 1) + EncodeTime(18, 30).value),
                 Variant(Blob{std::string("\x00\xff", 2)})};
  std::string json = JobDataToJson(data);
  EXPECT_EQ(json,
            R"([{"type":"Null"},{"type":"Boolean","value":true},{"type":"Integer","value":-42},)"
            R"({"type":"Float","value":2.5},{"type":"Currency","value":"-12.3456"},)"
            R"({"type":"String","value":"+ \"citaat\" é"},)"
            R"({"type":"DateTime","value":"2025-09-01 18:30:00"},{"type":"Blob","value":"00ff"}])");
  EXPECT_EQ(JobDataFromJson(json).values, data.values);
}

TEST(JobServiceTest, CallsWithoutHandlerAreRecordedInOrder) {
  auto server = FixtureServer(2);
  int id = server->GetJobID();
  EXPECT_EQ(server->GetJobID(), id + 1);
  JobData data;
  data.values = {Variant(7), Variant(EncodeDate(2025, 9, 1)), Variant("+")};
  EXPECT_EQ(server->PrepareJob(324, id, data), "");
  EXPECT_EQ(server->ExecuteJob(324, id, data), "");
  EXPECT_EQ(server->CleanJob(324, id, JobData{}), "");
  const std::string values =
      R"([{"type":"Integer","value":7},{"type":"DateTime","value":"2025-09-01 00:00:00"},)"
      R"({"type":"String","value":"+"}])";
  EXPECT_EQ(JobLog(server->db()), "324 1 Prepare " + values + " 2 2025-08-30 12:00:00 \n" +
                                      "324 1 Execute " + values + " 2 2025-08-30 12:00:00 \n" +
                                      "324 1 Clean [] 2 2025-08-30 12:00:00 \n");
}

TEST(JobServiceTest, HandlersFillAndCleanRowsOfTheirIdOnly) {
  JobRegistry registry;
  registry.Register(
      324, {.prepare = {{JobValue::Text},
                        [](JobContext& job) {
                          JobRowWriter(job).Insert(JobRow().Set("J_TEXT1", job.args.Text(0)));
                          return std::string("1 rij");
                        }},
            .execute = {},
            .clean = {}});
  AppServerOptions options;
  options.jobs = &registry;
  options.clock = FixedNow;
  AppServer server(FixtureDb(), 1, options);
  JobData first, second;
  first.values = {Variant("eerste")};
  second.values = {Variant("tweede")};
  EXPECT_EQ(server.PrepareJob(324, 5, first), "1 rij");
  EXPECT_EQ(server.PrepareJob(324, 6, second), "1 rij");
  EXPECT_EQ(JobRows(server.db()), "5/324/eerste\n6/324/tweede\n");
  server.CleanJob(324, 5, JobData{});
  EXPECT_EQ(JobRows(server.db()), "6/324/tweede\n");
}

TEST(JobServiceTest, FailingHandlerLeavesRowsAndLogUnchanged) {
  JobRegistry registry;
  registry.Register(336,
                    {.prepare = {}, .execute = {}, .clean = {{}, [](JobContext&) -> std::string {
                                                               RaiseClientError("Opkuisen mislukt");
                                                             }}});
  AppServerOptions options;
  options.jobs = &registry;
  AppServer server(FixtureDb(), 1, options);
  server.db().ExecuteScript(
      "INSERT INTO JOBDATA (J_ID, J_JOBID, J_JOBTYPE, J_TEXT1) VALUES (1, 9, 336, 'blijft')");
  EXPECT_THROW(server.CleanJob(336, 9, JobData{}), EClientError);
  EXPECT_EQ(JobRows(server.db()), "9/336/blijft\n");
  EXPECT_EQ(JobLog(server.db()), "");
}

JobData Values(std::initializer_list<Variant> values) {
  return JobData{values};
}

// A job taking the widest signature the screens send; its prepare writes one row, its clean
// takes no values.
JobRegistry SignatureRegistry() {
  JobRegistry registry;
  registry.Register(
      336, {.prepare = {{JobValue::Integer, JobValue::Integer, JobValue::DateTime,
                         JobValue::DateTime, JobValue::Text},
                        [](JobContext& job) {
                          JobRowWriter(job).Insert(JobRow().Set("J_TEXT1", job.args.Text(4)));
                          return std::string();
                        }},
            .execute = {},
            .clean = {{}, [](JobContext&) { return std::string(); }}});
  return registry;
}

TEST(JobServiceTest, DataThatDoesNotFitTheSignatureIsRefusedAndChangesNothing) {
  JobRegistry registry = SignatureRegistry();
  AppServerOptions options;
  options.jobs = &registry;
  options.clock = FixedNow;
  AppServer server(FixtureDb(), 1, options);
  const TDateTime from = EncodeDate(2025, 9, 1), to = EncodeDate(2026, 6, 30);
  ASSERT_EQ(server.PrepareJob(336, 4, Values({1, 0, from, to, "+"})), "");
  const std::string rows = JobRows(server.db()), log = JobLog(server.db());
  ASSERT_EQ(rows, "4/336/+\n");

  struct Case {
    JobPhase phase;
    JobData data;
    const char* message;
  };
  const Case cases[] = {
      {JobPhase::Prepare, Values({1, 0, from, to}),
       "Job 336 verwacht 5 waarden en kreeg er 4: waarde 5 (tekst) ontbreekt"},
      {JobPhase::Prepare, Values({}),
       "Job 336 verwacht 5 waarden en kreeg er 0: waarde 1 (geheel getal) ontbreekt"},
      {JobPhase::Prepare, Values({1, 0, from, to, "+", 7}),
       "Job 336 verwacht 5 waarden en kreeg er 6: waarde 6 is te veel"},
      {JobPhase::Prepare, Values({1, "0", from, to, "+"}),
       "Job 336: waarde 2 moet een geheel getal zijn, maar is een tekst"},
      {JobPhase::Prepare, Values({1, 0, from, 2.5, "+"}),
       "Job 336: waarde 4 moet een datum zijn, maar is een kommagetal"},
      {JobPhase::Prepare, Values({1, 0, from, to, true}),
       "Job 336: waarde 5 moet een tekst zijn, maar is een ja/nee-waarde"},
      {JobPhase::Prepare, Values({Variant(), 0, from, to, "+"}),
       "Job 336: waarde 1 moet een geheel getal zijn, maar is leeg"},
      // A refused clean does not even remove the rows the service removes for every clean.
      {JobPhase::Clean, Values({4}),
       "Job 336 verwacht 0 waarden en kreeg er 1: waarde 1 is te veel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      if (c.phase == JobPhase::Prepare) {
        server.PrepareJob(336, 4, c.data);
      } else {
        server.CleanJob(336, 4, c.data);
      }
      ADD_FAILURE() << "not refused";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(JobRows(server.db()), rows);
    EXPECT_EQ(JobLog(server.db()), log);
  }
}

TEST(JobRowsTest, EverySlotKindIsStoredAsTheScreensReadItAndReadBack) {
  auto server = FixtureServer();
  Database& db = server->db();
  TransactionGuard transaction(db);
  JobData none;
  JobContext job{db, 320, 8, none, JobArgs(), 1, FixedNow()};
  JobRow row;
  row.Set("J_TYPERECORD", 2)
      .Set("j_boolean1", true)
      .Set("J_BOOLEAN2", false)
      .Set("J_SHORTTEXT1", "cursussen-é-x")  // 13 characters, 14 bytes
      .Set("J_EXTRALONGTEXT3", std::string(300, 'x'))
      .Set("J_DATE4", EncodeDate(2025, 9, 1) + EncodeTime(18, 30).value)
      .Set("J_INTEGER6", -7)
      .Set("J_BIGINT1", 1LL << 40)
      .Set("J_CURRENCY1", Currency::FromRaw(123400))
      .Set("J_MEMO", "regel 1\r\nregel 2");
  JobRowWriter writer(job);
  int64_t first = writer.Insert(row);
  int64_t second = writer.Insert(JobRow().Set("J_INTEGER1", 5));
  EXPECT_EQ(second, first + 1);
  // Rows of another job id or number are not read.
  JobContext other{db, 320, 9, none, JobArgs(), 1, FixedNow()};
  JobRowWriter(other).Insert(JobRow().Set("J_INTEGER1", 6));
  JobContext otherType{db, 336, 8, none, JobArgs(), 1, FixedNow()};
  JobRowWriter(otherType).Insert(JobRow().Set("J_INTEGER1", 7));

  auto stored = db.Prepare(
      "SELECT J_BOOLEAN1, J_BOOLEAN2, J_SHORTTEXT1, LENGTH(J_EXTRALONGTEXT3), J_DATE4 "
      "FROM JOBDATA WHERE J_ID = :ID");
  stored->BindInt64(0, first);
  ASSERT_TRUE(stored->Step());
  EXPECT_EQ(stored->ColumnText(0), "+");
  EXPECT_EQ(stored->ColumnText(1), "-");
  EXPECT_EQ(stored->ColumnText(2), "cursussen-");
  EXPECT_EQ(stored->ColumnInt64(3), 255);
  EXPECT_EQ(stored->ColumnText(4), "2025-09-01 18:30:00");
  stored->Reset();

  std::vector<JobRow> rows = ReadJobRows(db, 8, 320);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].id, first);
  EXPECT_EQ(rows[1].id, second);
  JobRow expected = row;
  expected.Set("J_SHORTTEXT1", "cursussen-").Set("J_EXTRALONGTEXT3", std::string(255, 'x'));
  for (const char* slot : {"J_TYPERECORD", "J_BOOLEAN1", "J_BOOLEAN2", "J_SHORTTEXT1",
                           "J_SHORTTEXT2", "J_EXTRALONGTEXT3", "J_DATE1", "J_DATE4", "J_INTEGER1",
                           "J_INTEGER6", "J_BIGINT1", "J_CURRENCY1", "J_MEMO"}) {
    EXPECT_EQ(rows[0].Get(slot), expected.Get(slot)) << slot;
  }
  EXPECT_TRUE(rows[0].Boolean("J_BOOLEAN1"));
  EXPECT_FALSE(rows[1].Boolean("J_BOOLEAN1"));  // null reads as not ticked
  EXPECT_EQ(rows[1].Get("J_INTEGER1"), Variant(5));
  // A slot that does not exist and a value of another kind are mistakes of the job.
  EXPECT_THROW(JobRow().Set("J_INTEGER7", 1), std::logic_error);
  EXPECT_THROW(JobRow().Set("J_INTEGER1", "1"), std::logic_error);
  EXPECT_THROW(JobRow().Set("J_INTEGER1", 1LL << 40), std::logic_error);
}

// Class 10 with three organised module variants. 1 September 2025 is a Monday.
// IMV 5: lessons at every day-part boundary, one that lapses (bit 1) and a distance moment
//        (bit 3); its stored lesson days (0) are out of date.
// IMV 6: one Tuesday evening lesson, and its lesson days already say so (Di AV, bit 15).
// IMV 7: no lessons, but lesson days Ma VM and Di VM stored.
void LoadLessonDays(Database& db) {
  db.ExecuteScript(R"sql(
    INSERT INTO VWOKLAS (VWK_ID, VWK_OMSCHRIJVING, VWK_VESTIGINGSPLAATS_FK, VWK_VAN, VWK_TOT,
      VWK_VERANDERDDOOR, VWK_VERANDERDOP)
      VALUES (10, 'Klas A', 1, '2025-09-01', '2026-06-30', 1, '2025-08-25 10:00:00'),
             (11, 'Klas B', 1, '2025-09-01', '2026-06-30', 1, '2025-08-25 10:00:00');
    INSERT INTO VWOMODULE (VOM_ID, VOM_CODE, VOM_OMSCHRIJVING) VALUES (1, 'WIS', 'Wiskunde');
    INSERT INTO VWOMODULEVARIANT (VMV_ID, VMV_MODULE_FK, VMV_CODE) VALUES (1, 1, 'WIS-A');
    INSERT INTO VWOLESPLAATS (VLP_ID, VLP_INSTELLING_FK, VLP_NUMMER, VLP_CRABCODE,
      VLP_VESTIGINGSPLAATS_FK, VLP_VERANDERDDOOR, VLP_VERANDERDOP)
      VALUES (1, 1, 1, '123', 1, 1, '2025-08-25 10:00:00');
    INSERT INTO PARAM (P_ID, P_TYPE, P_CODE, P_OMSCHRIJVING) VALUES (90, 'VWFT', 'F', 'Fin');
    INSERT INTO VWOINGMODULEVARIANT (IMV_ID, IMV_VWOKLAS_FK, IMV_VWOMODULEVARIANT_FK,
      IMV_AFKORTING, IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_REGISTRATIEMOMENT,
      IMV_LESDAGEN, IMV_LESPLAATS_FK, IMV_FINANCIERINGSBRON_FK, IMV_VERANDERDDOOR,
      IMV_VERANDERDOP) VALUES
      (5, 10, 1, 'W5', '2025-09-01', '2026-06-30', '2025-09-01', '2026-06-30', '2025-09-15',
       0, 1, 90, 1, '2025-08-25 10:00:00'),
      (6, 10, 1, 'W6', '2025-09-01', '2026-06-30', '2025-09-01', '2026-06-30', '2025-09-15',
       32768, 1, 90, 1, '2025-08-25 10:00:00'),
      (7, 10, 1, 'W7', '2025-09-01', '2026-06-30', '2025-09-01', '2026-06-30', '2025-09-15',
       3, 1, 90, 1, '2025-08-25 10:00:00'),
      (8, 11, 1, 'W8', '2025-09-01', '2026-06-30', '2025-09-01', '2026-06-30', '2025-09-15',
       3, 1, 90, 1, '2025-08-25 10:00:00');
    INSERT INTO VWOLES (VWL_ID, VWL_INGMODULEVARIANT_FK, VWL_DATUM, VWL_VANUUR, VWL_TOTUUR,
      VWL_LESUREN, VWL_FLAGS, VWL_VERANDERDDOOR, VWL_VERANDERDOP) VALUES
      (1, 5, '2025-09-01', '09:00:00', '11:00:00', 2, 0, 1, '2025-08-25 10:00:00'),
      (2, 5, '2025-09-01', '11:59:00', '13:00:00', 1, 0, 1, '2025-08-25 10:00:00'),
      (3, 5, '2025-09-08', '12:00:00', '14:00:00', 2, 0, 1, '2025-08-25 10:00:00'),
      (4, 5, '2025-09-03', '16:59:00', '18:00:00', 1, 0, 1, '2025-08-25 10:00:00'),
      (5, 5, '2025-09-03', '17:00:00', '19:00:00', 2, NULL, 1, '2025-08-25 10:00:00'),
      (6, 5, '2025-09-05', '09:00:00', '12:00:00', 3, 2, 1, '2025-08-25 10:00:00'),
      (7, 5, '2025-09-07', '19:00:00', '21:00:00', 2, 8, 1, '2025-08-25 10:00:00'),
      (8, 6, '2026-02-03', '18:00:00', '21:00:00', 3, 0, 1, '2025-08-25 10:00:00');
  )sql");
}

std::string LessonDays(Database& db) {
  std::string out;
  auto stmt = db.Prepare(
      "SELECT IMV_ID, IMV_LESDAGEN, IMV_VERANDERDDOOR, IMV_VERANDERDOP FROM VWOINGMODULEVARIANT "
      "ORDER BY IMV_ID");
  while (stmt->Step()) {
    out += std::string(stmt->ColumnText(0)) + " " + std::string(stmt->ColumnText(1)) + " " +
           std::string(stmt->ColumnText(2)) + " " + std::string(stmt->ColumnText(3)) + "\n";
  }
  return out;
}

// Ma VM (0), Ma NM (7), Wo NM (9), Wo AV (16), Zo AV (20); not Vr VM, whose lesson lapses.
constexpr int kDaysOf5 = 1 << 0 | 1 << 7 | 1 << 9 | 1 << 16 | 1 << 20;

TEST(Job352Test, LessonDaysOfOneModuleVariantOrOfEveryModuleVariantOfAClass) {
  auto server = FixtureServer(2);
  LoadLessonDays(server->db());
  EXPECT_EQ(server->ExecuteJob(352, 0, Values({0, 5})),
            "Lesdagen nagegaan: 1 van 1 ingerichte modulevarianten gewijzigd");
  EXPECT_EQ(LessonDays(server->db()), "5 " + std::to_string(kDaysOf5) + " 2 2025-08-30 12:00:00\n" +
                                          "6 32768 1 2025-08-25 10:00:00\n"
                                          "7 3 1 2025-08-25 10:00:00\n"
                                          "8 3 1 2025-08-25 10:00:00\n");

  // The class: 6 is already right and keeps its change stamp; 7 has no lessons left.
  EXPECT_EQ(server->PrepareJob(352, 0, Values({1, 10})),
            "Lesdagen nagegaan: 1 van 3 ingerichte modulevarianten gewijzigd");
  EXPECT_EQ(LessonDays(server->db()), "5 " + std::to_string(kDaysOf5) + " 2 2025-08-30 12:00:00\n" +
                                          "6 32768 1 2025-08-25 10:00:00\n"
                                          "7 0 2 2025-08-30 12:00:00\n"
                                          "8 3 1 2025-08-25 10:00:00\n");
}

TEST(Job352Test, UnknownKindOrRecordIsRefusedAndChangesNothing) {
  auto server = FixtureServer();
  LoadLessonDays(server->db());
  const std::string before = LessonDays(server->db());
  struct Case {
    JobData data;
    const char* message;
  };
  const Case cases[] = {
      {Values({2, 10}), "Job 352: soort 2 is onbekend (0 = ingerichte modulevariant, 1 = klas)"},
      {Values({0, 99}), "Ingerichte modulevariant 99 niet gevonden"},
      {Values({1, 99}), "Klas 99 niet gevonden"},
      {Values({0, "5"}), "Job 352: waarde 2 moet een geheel getal zijn, maar is een tekst"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      server->ExecuteJob(352, 0, c.data);
      ADD_FAILURE() << "not refused";
    } catch (const EClientError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(LessonDays(server->db()), before);
  EXPECT_EQ(JobLog(server->db()), "");
}

TEST(Job352Test, AFailureAtTheLastModuleVariantLeavesTheEarlierOnesAsTheyWere) {
  auto server = FixtureServer();
  LoadLessonDays(server->db());
  // The store refuses the change of the class's last module variant.
  if (server->db().engine() == Engine::Sqlite) {
    server->db().ExecuteScript(
        "CREATE TRIGGER REFUSE_7 BEFORE UPDATE ON VWOINGMODULEVARIANT WHEN NEW.IMV_ID = 7 "
        "BEGIN SELECT RAISE(ABORT, 'geweigerd'); END;");
  } else {
    server->db().ExecuteScript(
        "CREATE FUNCTION REFUSE_7() RETURNS trigger LANGUAGE plpgsql AS "
        "$$ BEGIN RAISE EXCEPTION 'geweigerd'; END $$; "
        "CREATE TRIGGER REFUSE_7 BEFORE UPDATE ON VWOINGMODULEVARIANT FOR EACH ROW "
        "WHEN (NEW.IMV_ID = 7) EXECUTE FUNCTION REFUSE_7();");
  }
  const std::string before = LessonDays(server->db());
  EXPECT_THROW(server->ExecuteJob(352, 0, Values({1, 10})), DatabaseError);
  EXPECT_EQ(LessonDays(server->db()), before);
  EXPECT_EQ(JobLog(server->db()), "");
}

TEST(Job352Test, TheDemoDatabaseAlreadyHoldsTheLessonDaysOfItsLessons) {
  testdb::TestDatabase demo(testdb::Content::Demo);
  AppServerOptions options;
  options.clock = FixedNow;
  AppServer server(demo.Open(), 1, options);
  std::vector<int64_t> classes;
  auto list = server.db().Prepare("SELECT VWK_ID FROM VWOKLAS ORDER BY VWK_ID");
  while (list->Step()) classes.push_back(list->ColumnInt64(0));
  list.reset();
  ASSERT_FALSE(classes.empty());
  for (int64_t klas : classes) {
    EXPECT_THAT(server.ExecuteJob(352, 0, Values({1, klas})),
                ::testing::StartsWith("Lesdagen nagegaan: 0 van "));
  }
}

std::string CheckRows(Database& db, int jobId) {
  std::string out;
  for (const JobRow& row : ReadJobRows(db, jobId, 320)) {
    out += Show(row.Get("J_INTEGER1"), FieldType::Integer) + " " +
           Show(row.Get("J_INTEGER2"), FieldType::Integer) + " " +
           Show(row.Get("J_TEXT1"), FieldType::String) + " " +
           Show(row.Get("J_EXTRALONGTEXT2"), FieldType::String) + " " +
           Show(row.Get("J_CURRENCY1"), FieldType::Currency) + " " +
           Show(row.Get("J_INTEGER4"), FieldType::Integer) + " " +
           Show(row.Get("J_BIGINT1"), FieldType::LargeInt) + " " +
           Show(row.Get("J_DATE1"), FieldType::Date) + " " +
           Show(row.Get("J_DATE4"), FieldType::Date) + "\n";
  }
  return out;
}

TEST(Job320Test, OneRowPerModuleVariantOfTheClassesStartingInThePeriod) {
  auto server = FixtureServer();
  Database& db = server->db();
  LoadLessonDays(db);
  // 12 lesson times required everywhere. IMV 5 plans 8 (the lapsed lesson and the distance
  // moment do not count), IMV 6 3.125, IMV 7 exactly 92 percent, IMV 8 (class 11) nothing.
  db.ExecuteScript(R"sql(
    UPDATE VWOMODULEVARIANT SET VMV_LESTIJDENORGANISATIE = 12;
    UPDATE VWOKLAS SET VWK_INSTELLING_FK = 1, VWK_CODE = 'K' || VWK_ID;
    UPDATE VWOLES SET VWL_LESUREN = 3.125 WHERE VWL_ID = 8;
    UPDATE VWOINGMODULEVARIANT SET IMV_AFGELASTOP = '2025-12-01' WHERE IMV_ID = 8;
    INSERT INTO VWOLES (VWL_ID, VWL_INGMODULEVARIANT_FK, VWL_DATUM, VWL_VANUUR, VWL_TOTUUR,
      VWL_LESUREN, VWL_FLAGS, VWL_VERANDERDDOOR, VWL_VERANDERDOP)
      VALUES (9, 7, '2025-09-02', '09:00:00', '12:00:00', 11.04, 0, 1, '2025-08-25 10:00:00');
  )sql");
  const TDateTime start = EncodeDate(2025, 9, 1);
  EXPECT_EQ(server->ExecuteJob(320, 5, Values({1, -1, start, start})), "4 rijen");
  const std::string all =
      "10 5 K10 Wiskunde 80000e-4 12 6667 2025-09-01 null\n"
      "10 6 K10 Wiskunde 31300e-4 12 2604 2025-09-01 null\n"
      "10 7 K10 Wiskunde 110400e-4 12 9200 2025-09-01 null\n"
      "11 8 K11 Wiskunde 0e-4 12 0 2025-09-01 2025-12-01\n";
  EXPECT_EQ(CheckRows(db, 5), all);

  // One class, another institution, a period after the start: rows of their own ids only.
  EXPECT_EQ(server->ExecuteJob(320, 6, Values({1, 11, start, start + 300})), "1 rij");
  EXPECT_EQ(server->ExecuteJob(320, 7, Values({2, -1, start, start + 300})), "0 rijen");
  EXPECT_EQ(server->ExecuteJob(320, 8, Values({1, -1, start + 1, start + 300})), "0 rijen");
  EXPECT_EQ(CheckRows(db, 6), "11 8 K11 Wiskunde 0e-4 12 0 2025-09-01 2025-12-01\n");

  // Fetching again: the screen cleans its id first, and gets the same rows.
  server->CleanJob(320, 5, JobData{});
  EXPECT_EQ(CheckRows(db, 5), "");
  server->ExecuteJob(320, 5, Values({1, -1, start, start}));
  EXPECT_EQ(CheckRows(db, 5), all);
  EXPECT_EQ(CheckRows(db, 6), "11 8 K11 Wiskunde 0e-4 12 0 2025-09-01 2025-12-01\n");
}

// The percentage and the required lesson times follow the lesson-time check of the class
// screen: required rounded to a whole number, planned / required as a currency (halves to even),
// 0 when the deductions exceed the module's lesson times, null when nothing is required.
TEST(Job320Test, ReckonsAsTheLessonTimeCheck) {
  struct Case {
    const char* organisatie;
    int afstand;
    int deliberatie;
    const char* lesuren;
    const char* expected;  // J_INTEGER4 J_BIGINT1 of IMV 6
  };
  const Case cases[] = {
      {"20", 0, 0, "20.001", "20 10000"},  // 100.005 %: halves to even, not above 100
      {"20", 0, 0, "18.401", "20 9200"},   // 92.005 %
      {"20", 0, 0, "18.399", "20 9200"},   // 91.995 %: up to 92
      {"20", 0, 0, "18.397", "20 9198"},   // 91.985 %: to the even 91.98
      {"12.5", 0, 0, "13", "13 10000"},    // 12.5 lesson times count as 13
      {"12.4", 0, 0, "13", "12 10833"},   {"12", 12, 0, "3", "0 null"},  // nothing required
      {"12", 10, 4, "3", "-2 0"},  // the deductions exceed the module's lesson times
      {nullptr, 0, 0, "3", "0 null"},
  };
  auto server = FixtureServer();
  Database& db = server->db();
  LoadLessonDays(db);
  db.ExecuteScript("UPDATE VWOKLAS SET VWK_INSTELLING_FK = 1");
  int jobId = 20;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.organisatie ? c.organisatie : "null") + " " + c.lesuren);
    db.ExecuteScript(
        Format("UPDATE VWOMODULEVARIANT SET VMV_LESTIJDENORGANISATIE = %s; "
               "UPDATE VWOINGMODULEVARIANT SET IMV_LESTIJDENAFSTANDSONDERWIJS = %d, "
               "IMV_LESTIJDENDELIBERATIE = %d WHERE IMV_ID = 6; "
               "UPDATE VWOLES SET VWL_LESUREN = %s WHERE VWL_ID = 8;",
               c.organisatie ? c.organisatie : "NULL", c.afstand, c.deliberatie, c.lesuren));
    server->ExecuteJob(320, ++jobId,
                       Values({1, -1, EncodeDate(2025, 9, 1), EncodeDate(2025, 9, 1)}));
    std::string found = "no row";
    for (const JobRow& row : ReadJobRows(db, jobId, 320)) {
      if (row.Get("J_INTEGER2") != Variant(6)) continue;
      EXPECT_EQ(row.Get("J_TYPERECORD"), Variant(0)) << "the rows the check screen reads";
      found = Show(row.Get("J_INTEGER4"), FieldType::Integer) + " " +
              Show(row.Get("J_BIGINT1"), FieldType::LargeInt);
    }
    EXPECT_EQ(found, c.expected);
  }
}

}  // namespace
}  // namespace quil::server::testing
