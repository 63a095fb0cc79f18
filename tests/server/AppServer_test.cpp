// The per-session parts of the server: settings per user, rights per screen, database parameters.
#include <gtest/gtest.h>

#include "ServerTestUtil.h"

namespace quil::server::testing {
namespace {

TEST(AppServerTest, SettingsAreKeptPerUserAndKey) {
  FixtureLocation database;
  const std::string& file = database.location();
  auto admin = AppServer::Open(file, 1);
  auto demo = AppServer::Open(file, 2);
  admin->WriteSettings("TVWOKlasForm", "[Periode]\r\nSoort=2\r\n");
  EXPECT_EQ(admin->ReadSettings("tvwoklasform"), "[Periode]\r\nSoort=2\r\n");
  EXPECT_EQ(demo->ReadSettings("TVWOKlasForm"), "");
  admin->WriteSettings("TVWOKlasForm", "[Periode]\r\nSoort=3\r\n");
  demo->WriteSettings("TVWOKlasForm", "eigen");
  EXPECT_EQ(admin->ReadSettings("TVWOKlasForm"), "[Periode]\r\nSoort=3\r\n");
  EXPECT_EQ(demo->ReadSettings("TVWOKlasForm"), "eigen");
}

TEST(AppServerTest, RightsPerUserAndScreen) {
  auto admin = FixtureServer(1);
  AppServer demoOnFixture(FixtureDb(), 2);
  demoOnFixture.db().ExecuteScript(
      "INSERT INTO GEBRUIKERRECHT (GR_ID, GR_GEBRUIKER_FK, GR_FORMKLASSE, GR_RECHTEN) "
      "VALUES (1, 2, 'TVWOKlasForm', 5)");
  EXPECT_EQ(admin->GetFormRights("TVWOKlasForm"), 15);
  EXPECT_EQ(admin->GetFormRights("TVWOMaterialenForm"), 15);
  EXPECT_EQ(demoOnFixture.GetFormRights("tvwoklasform"), 5);
  EXPECT_EQ(demoOnFixture.GetFormRights("TVWOMaterialenForm"), 0);
}

TEST(AppServerTest, DatabaseParametersAreTyped) {
  auto server = FixtureServer();
  TQuildminDBParams params = server->GetQuilDBParams();
  EXPECT_EQ(params.Get("algemenerekeningen"), Variant(true));
  EXPECT_EQ(params.Get("MAXKLASSEN"), Variant(12));
  EXPECT_EQ(params.Get("SITENAAM"), Variant("test"));
  EXPECT_EQ(params.Get("STARTDATUM"), Variant(EncodeDate(2025, 9, 1)));
  EXPECT_TRUE(params.Get("ONBEKEND").IsNull());
  EXPECT_EQ(server->GetUserID(), 1);
  EXPECT_EQ(server->GetServerDatum(), FixedNow());
}

}  // namespace
}  // namespace quil::server::testing
