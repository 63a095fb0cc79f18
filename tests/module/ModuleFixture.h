// A deliberately small site for the screen tests that need every row they see to be their own:
// two institutions of two schools and one user, on an in-memory server, with the module loaded
// and a session (ScreenTest.h) on it. New screen tests use ScreenTest and the demo database.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "module/ScreenTest.h"
#include "server/AppServer.h"
#include "server/db/Database.h"
#include "server/db/Schema.h"

namespace kavel::testing {

inline std::unique_ptr<quil::server::AppServer> InstitutionsServer() {
  auto db = testdb::FreshDatabase();
  db->ExecuteScript(R"sql(
    INSERT INTO SCHOOL (SC_ID, SC_INSTELLINGSNUMMER, SC_NAAM)
      VALUES (11, '100123', 'De Linde'), (12, '100456', 'Het Veld');
    INSERT INTO INSTELLING (IS_ID, IS_CODE, IS_NAAMGEBRUIKER, IS_SCHOOL_FK, IS_FLAGS)
      VALUES (1, 'CVO1', 'CVO De Linde', 11, 0), (2, 'CVO2', 'CVO Het Veld', 12, 4);
    INSERT INTO GEBRUIKER (GB_ID, GB_LOGIN, GB_FLAGS) VALUES (1, 'admin', 1);
  )sql");
  quil::server::SyncGenerators(*db);
  return std::make_unique<quil::server::AppServer>(std::move(db), 1);
}

class ModuleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadModule(); }

  std::unique_ptr<quil::server::AppServer> server = InstitutionsServer();
  Session session{*server};
  quil::TQuilApplication& app = session.app;
  quil::ScriptedDialogs& dialogs = session.dialogs;
};

}  // namespace kavel::testing
