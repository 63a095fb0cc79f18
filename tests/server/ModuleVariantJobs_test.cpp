// The server jobs of the organised module variant screen on the demo data: 316 (registration
// moment), 364 (the pupils of a cancelled module variant) and the refusals of 393 (one Davinci
// record cancelled; its runs are followed through the cancellation dialog's tests).
#include <gtest/gtest.h>

#include "common/DemoServer.h"
#include "host/base/Errors.h"
#include "host/data/DMQuil.h"

namespace kavel::testing {
namespace {

using namespace quil;

class ModuleVariantJobsTest : public ::testing::Test {
 protected:
  std::string Stored(const std::string& sql) { return QueryText(server->db(), sql); }
  void Sql(const std::string& sql) { server->db().ExecuteScript(sql); }
  std::string Refusal(int job, const JobData& data) {
    try {
      server->ExecuteJob(job, 0, data);
    } catch (const EClientError& e) {
      return e.what();
    }
    return "";
  }

  std::unique_ptr<server::AppServer> server = NewDemoServer();
};

TEST_F(ModuleVariantJobsTest, Job316PutsTheMomentAThirdIntoThePeriodUnlessItPassedWhenReady) {
  Sql("UPDATE VWOINGMODULEVARIANT SET IMV_VAN = '2025-09-01', IMV_TOT = '2026-01-31', "
      "IMV_REGISTRATIEMOMENT = '2025-09-20', IMV_DAVINCIKLAAR = '+' WHERE IMV_ID = 1");
  const std::string moment =
      "SELECT IMV_REGISTRATIEMOMENT, IMV_VERANDERDOP FROM VWOINGMODULEVARIANT WHERE IMV_ID = 1";
  const std::string before = Stored(moment);
  auto data = [](TDateTime reference) {
    return CreateJobData({Variant(1), Variant(1), Variant(4), Variant(reference)});
  };
  EXPECT_EQ(Refusal(316, data(EncodeDate(2025, 10, 1))),
            "Registratiemoment is reeds verstreken en mag dus niet meer aangepast worden");
  EXPECT_EQ(Stored(moment), before);
  // On the moment itself it has not passed yet.
  EXPECT_EQ(server->ExecuteJob(316, -1, data(EncodeDate(2025, 9, 20))),
            "Registratiemoment: 22/10/2025");
  EXPECT_EQ(Stored(moment), "2025-10-22 | 2025-10-01 09:00:00\n");

  Sql("UPDATE VWOINGMODULEVARIANT SET IMV_DAVINCIKLAAR = '-', IMV_TOT = '2025-09-02' WHERE "
      "IMV_ID = 1");
  server->ExecuteJob(316, -1, data(EncodeDate(2026, 1, 1)));
  EXPECT_EQ(Stored("SELECT IMV_REGISTRATIEMOMENT FROM VWOINGMODULEVARIANT WHERE IMV_ID = 1"),
            "2025-09-01\n");
  EXPECT_EQ(Refusal(316, CreateJobData({Variant(1), Variant(2), Variant(4),
                                        Variant(EncodeDate(2025, 9, 1))})),
            "Job 316: soort 2 is onbekend (0 = klas, 1 = ingerichte modulevariant)");
  EXPECT_EQ(Refusal(316, CreateJobData({Variant(999), Variant(1), Variant(4),
                                        Variant(EncodeDate(2025, 9, 1))})),
            "Ingerichte modulevariant 999 niet gevonden");
}

TEST_F(ModuleVariantJobsTest, Job364RemovesTheParticipationsTheCancellationEnds) {
  // Participations in three lessons of module variant 1 and one of module variant 2.
  Sql("DELETE FROM VWOPARTICIPATIE;"
      "INSERT INTO VWOPARTICIPATIE (VPA_ID, VPA_VWOLES_FK, VPA_CURSIST, VPA_VERANDERDDOOR, "
      "VPA_VERANDERDOP) SELECT VWL_ID, VWL_ID, 'Cursist', 1, '2025-09-01 00:00:00' FROM VWOLES "
      "WHERE VWL_INGMODULEVARIANT_FK IN (1, 2)");
  const std::string count =
      "SELECT L.VWL_INGMODULEVARIANT_FK, COUNT(*) FROM VWOPARTICIPATIE P JOIN VWOLES L ON "
      "L.VWL_ID = P.VPA_VWOLES_FK GROUP BY L.VWL_INGMODULEVARIANT_FK ORDER BY 1";
  const std::string before = Stored(count);
  const std::string afterDate = Stored(
      "SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 1 AND VWL_DATUM <= "
      "'2025-11-01'");
  const int day = static_cast<int>(EncodeDate(2025, 11, 1).value);
  server->ExecuteJob(364, 0, CreateJobData({Variant(1), Variant(day), Variant(1)}));
  const std::string two = before.substr(before.find("\n") + 1);
  EXPECT_EQ(Stored(count), "1 | " + afterDate.substr(0, afterDate.size() - 1) + "\n" + two);
  server->ExecuteJob(364, 0, CreateJobData({Variant(1), Variant(0), Variant(0)}));
  EXPECT_EQ(Stored(count), two);
  EXPECT_EQ(Refusal(364, CreateJobData({Variant(1), Variant(day), Variant(2)})),
            "Job 364: soort 2 is onbekend (0 = voor de start, 1 = tijdens de cursus)");
}

TEST_F(ModuleVariantJobsTest, Job393RefusesARecordThatIsGoneOrAMarkThatIsNoMark) {
  auto data = [](int64_t record, const char* first, const char* mode) {
    return CreateJobData({Variant(1), Variant(1006), Variant("1"), Variant(record),
                          Variant(int64_t{1}), Variant(1002), Variant(first), Variant(mode)});
  };
  const std::string log = "SELECT COUNT(*) FROM JOBLOG";
  EXPECT_EQ(Refusal(393, data(999999, "+", "+")), "Davinci-record 999999 niet gevonden");
  EXPECT_EQ(Refusal(393, data(1, "+", "x")), "Job 393: waarden 7 en 8 moeten \"+\" of \"-\" zijn");
  EXPECT_EQ(Stored(log), "0\n");
}

}  // namespace
}  // namespace kavel::testing
