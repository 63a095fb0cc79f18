// Bulk work of a client dataset against the real server: a failure stores nothing, a normal end
// is one apply in one transaction, a refused final apply stores nothing and keeps the log.
#include <gtest/gtest.h>

#include "ServerTestUtil.h"
#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/data/DMQuil.h"
#include "host/data/Guards.h"

namespace quil::server::testing {
namespace {

//! The session's server, counting the applies that reach it.
class CountingServer : public IAppServer {
 public:
  explicit CountingServer(IAppServer& server) : server_(server) {}
  int applies = 0;

  DataPacket GetRecords(std::string_view provider, const Params& params) override {
    return server_.GetRecords(provider, params);
  }
  Params FetchParams(std::string_view provider) override { return server_.FetchParams(provider); }
  ApplyResult ApplyUpdates(std::string_view provider, const Delta& delta, int maxErrors,
                           const Params& params) override {
    ++applies;
    return server_.ApplyUpdates(provider, delta, maxErrors, params);
  }
  int64_t GetNewID(std::string_view generator) override { return server_.GetNewID(generator); }
  TDateTime GetServerDatum() override { return server_.GetServerDatum(); }
  std::string PrepareJob(int type, int id, const JobData& data) override {
    return server_.PrepareJob(type, id, data);
  }
  std::string ExecuteJob(int type, int id, const JobData& data) override {
    return server_.ExecuteJob(type, id, data);
  }
  std::string CleanJob(int type, int id, const JobData& data) override {
    return server_.CleanJob(type, id, data);
  }
  int GetJobID() override { return server_.GetJobID(); }
  int GetUserID() override { return server_.GetUserID(); }
  TQuildminDBParams GetQuilDBParams() override { return server_.GetQuilDBParams(); }
  std::string ReadSettings(std::string_view key) override { return server_.ReadSettings(key); }
  void WriteSettings(std::string_view key, std::string_view text) override {
    server_.WriteSettings(key, text);
  }
  int GetFormRights(std::string_view formClass) override {
    return server_.GetFormRights(formClass);
  }

 private:
  IAppServer& server_;
};

constexpr const char* kMaterialen = "DSPVWOMaterialen";

class BulkOnServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string sql;
    for (int i = 1; i <= 100; ++i) {
      sql += Format(
          "INSERT INTO VWOMATERIAAL (VWM_ID, VWM_INSTELLING_FK, VWM_CODE, VWM_OMSCHRIJVING, "
          "VWM_PRIJS, VWM_VERANDERDDOOR, VWM_VERANDERDOP) VALUES (%d, 1, 'M%d', 'Boek', 10, 1, "
          "'2025-08-25 10:00:00');\n",
          i, i);
    }
    server->db().ExecuteScript(sql);
    materials.SetProvName(kMaterialen);
    materials.IDField = "VWM_ID";
    materials.ChangedByField = "VWM_VERANDERDDOOR";
    materials.ChangedOnField = "VWM_VERANDERDOP";
    materials.GetParams().Add("IS_ID", FieldType::Integer).SetAsInteger(1);
    materials.Open();
  }

  //! The stored materials, one line each.
  std::string Stored() {
    return Render(server->GetRecords(kMaterialen, MakeParams({{"IS_ID", 1}})));
  }

  //! Raises the price of every material by one; fails on the material whose id is `failAt`.
  void RaisePrices(int failAt) {
    TField& price = materials.FieldByName("VWM_PRIJS");
    for (materials.First(); !materials.Eof(); materials.Next()) {
      if (materials.FieldByName("VWM_ID").AsInteger() == failAt) {
        RaiseClientError("Prijs kan niet verhoogd worden");
      }
      materials.Edit();
      price.SetAsCurrency(price.AsCurrency() + Currency(1));
      materials.Post();
    }
  }

  std::unique_ptr<AppServer> server = FixtureServer();
  CountingServer counting{*server};
  TDMQuil dm{counting};
  TQuilClientDataSet materials{&dm, "CDSVWOMaterialen"};
};

TEST_F(BulkOnServerTest, WorkFailingOnTheFortiethStoresNothing) {
  const std::string before = Stored();
  materials.LocateID(17);
  EXPECT_THROW(
      {
        BulkChangeGuard bulk(materials);
        RaisePrices(40);
      },
      EClientError);
  EXPECT_EQ(counting.applies, 0);
  EXPECT_EQ(Stored(), before);
  EXPECT_EQ(materials.ChangeCount(), 0);
  EXPECT_EQ(materials.FieldByName("VWM_ID").AsInteger(), 17);
  EXPECT_EQ(materials.FieldByName("VWM_PRIJS").AsCurrency(), Currency(10));
}

TEST_F(BulkOnServerTest, NormalEndIsOneApply) {
  {
    BulkChangeGuard bulk(materials);
    RaisePrices(-1);
  }
  EXPECT_EQ(counting.applies, 1);
  EXPECT_EQ(materials.ChangeCount(), 0);
  DataPacket stored = server->GetRecords(kMaterialen, MakeParams({{"IS_ID", 1}}));
  ASSERT_EQ(stored.rows.size(), 100u);
  const int price = stored.FieldIndex("VWM_PRIJS");
  for (const Row& row : stored.rows) EXPECT_EQ(row[price].AsCurrency(), Currency(11));
}

TEST_F(BulkOnServerTest, RefusedFinalApplyStoresNothingAndKeepsTheLog) {
  const std::string before = Stored();
  try {
    BulkChangeGuard bulk(materials);
    RaisePrices(-1);
    materials.LocateID(50);
    materials.Edit();
    materials.FieldByName("VWM_ZEVENREKENING_FK").SetAsInteger(999);  // no such account
    materials.Post();
  } catch (const EClientError& e) {
    EXPECT_STREQ(e.what(), "Het record verwijst naar een onbestaand record of is nog in gebruik");
  }
  EXPECT_EQ(counting.applies, 1);
  EXPECT_EQ(Stored(), before);  // one transaction: the 99 good rows are not stored either
  EXPECT_EQ(materials.ChangeCount(), 100);
  EXPECT_FALSE(materials.GetBulkChange());
  // Put right, the kept log goes in full.
  materials.LocateID(50);
  materials.Edit();
  materials.FieldByName("VWM_ZEVENREKENING_FK").Clear();
  materials.Post();
  EXPECT_EQ(counting.applies, 2);
  EXPECT_EQ(materials.ChangeCount(), 0);
  EXPECT_NE(Stored(), before);
}

}  // namespace
}  // namespace quil::server::testing
