// The module loaded into the host, and a user session on an in-memory SQLite server seeded with
// two institutions of two schools.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/kavelmod.h"
#include "host/data/DMQuil.h"
#include "host/forms/FormManager.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/ScriptedDialogs.h"
#include "server/AppServer.h"
#include "server/db/Database.h"
#include "server/db/Schema.h"

namespace kavel::testing {

inline std::unique_ptr<quil::server::AppServer> InstitutionsServer() {
  auto db = quil::server::OpenSqlite(":memory:");
  quil::server::CreateSchema(*db);
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
  //! The host loads the module once per process; a second entry must not register again.
  static void SetUpTestSuite() {
    if (quil::FormManager().FormClassCount() == 0) QuilModuleEntry();
  }

  std::unique_ptr<quil::server::AppServer> server = InstitutionsServer();
  quil::TDMQuil dm{*server};
  quil::ScriptedDialogs dialogs;
  quil::TQuilApplication app{dm, dialogs};
};

}  // namespace kavel::testing
