// The job service: every call recorded with its typed data, dispatch to registered handlers,
// job rows removed by CleanJob, and a failing handler leaving everything as it was.
#include <gtest/gtest.h>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "server/jobs/JobService.h"

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
  EXPECT_EQ(server->PrepareJob(320, id, data), "");
  EXPECT_EQ(server->ExecuteJob(320, id, data), "");
  EXPECT_EQ(server->CleanJob(320, id, JobData{}), "");
  const std::string values =
      R"([{"type":"Integer","value":7},{"type":"DateTime","value":"2025-09-01 00:00:00"},)"
      R"({"type":"String","value":"+"}])";
  EXPECT_EQ(JobLog(server->db()), "320 1 Prepare " + values + " 2 2025-08-30 12:00:00 \n" +
                                      "320 1 Execute " + values + " 2 2025-08-30 12:00:00 \n" +
                                      "320 1 Clean [] 2 2025-08-30 12:00:00 \n");
}

TEST(JobServiceTest, HandlersFillAndCleanRowsOfTheirIdOnly) {
  JobRegistry registry;
  registry.Register(324, {.prepare =
                              [](JobContext& job) {
                                auto insert = job.db.Prepare(
                                    "INSERT INTO JOBDATA (J_JOBID, J_JOBTYPE, J_TEXT1) "
                                    "VALUES (:ID, :TYPE, :TEXT)");
                                insert->BindInt64(0, job.jobId);
                                insert->BindInt64(1, job.jobType);
                                insert->BindText(2, job.data.values.at(0).AsString());
                                insert->Step();
                                return std::string("1 rij");
                              },
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
  registry.Register(336, {.prepare = {}, .execute = {}, .clean = [](JobContext&) -> std::string {
                            RaiseClientError("Opkuisen mislukt");
                          }});
  AppServerOptions options;
  options.jobs = &registry;
  AppServer server(FixtureDb(), 1, options);
  server.db().ExecuteScript(
      "INSERT INTO JOBDATA (J_JOBID, J_JOBTYPE, J_TEXT1) VALUES (9, 336, 'blijft')");
  EXPECT_THROW(server.CleanJob(336, 9, JobData{}), EClientError);
  EXPECT_EQ(JobRows(server.db()), "9/336/blijft\n");
  EXPECT_EQ(JobLog(server.db()), "");
}

}  // namespace
}  // namespace quil::server::testing
