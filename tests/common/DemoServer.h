// The database the screen tests run on: the demo data, fresh for every test, behind an
// application server of its own.
//
// NewDemoServer is the one place a test gets that server, so that a test run can switch the
// database engine underneath every screen test at once. QueryText renders what a query returns
// as canonical text, for comparing stored rows in one assertion.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "common/TestDatabase.h"
#include "host/base/DateTime.h"
#include "host/base/SysUtils.h"
#include "server/AppServer.h"
#include "server/db/Database.h"
#include "server/db/Schema.h"
#include "server/db/ValueCodec.h"
#include "server/seed/DemoData.h"

namespace kavel::testing {

//! The school year the demo data are seeded for.
inline constexpr int kDemoWorkingYear = 2025;
//! The user of the sessions: "admin", who has every right.
inline constexpr int kDemoUserId = 1;

//! The server's clock in tests: 1 October of the demo year, 09:00, so times in the job log and
//! "changed on" fields are the same on every run.
inline quil::TDateTime DemoNow() {
  return quil::EncodeDate(kDemoWorkingYear, 10, 1) + quil::EncodeTime(9, 0).value;
}

//! A new database of the tests' engine (common/TestDatabase.h) with the schema and the demo data,
//! and a server on it for `userId`.
inline std::unique_ptr<quil::server::AppServer> NewDemoServer(int userId = kDemoUserId) {
  auto db = testdb::FreshDatabase(testdb::Content::Demo, kDemoWorkingYear);
  quil::server::AppServerOptions options;
  options.clock = DemoNow;
  return std::make_unique<quil::server::AppServer>(std::move(db), userId, options);
}

//! The rows of `sql`, one line each, columns separated by " | ", NULL as "null".
inline std::string QueryText(quil::server::Database& db, std::string_view sql) {
  auto statement = db.Prepare(std::string(sql));
  std::string out;
  while (statement->Step()) {
    for (int column = 0; column < statement->ColumnCount(); ++column) {
      if (column > 0) out += " | ";
      out += statement->ColumnStorage(column) == quil::server::StorageClass::Null
                 ? std::string("null")
                 : testdb::ColumnText(*statement, column);
    }
    out += "\n";
  }
  return out;
}

}  // namespace kavel::testing
