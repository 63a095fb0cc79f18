#include "server/seed/InitDb.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "host/base/Errors.h"
#include "host/base/SchoolYear.h"
#include "host/base/SysUtils.h"
#include "server/db/Schema.h"
#include "server/seed/DemoData.h"

namespace quil::server {

namespace {

void Fill(Database& db, const InitDbOptions& options) {
  CreateSchema(db);
  if (options.demo) {
    DemoOptions demo;
    demo.workingYear = options.workingYear != 0 ? options.workingYear : GetSchooljaarFrom(Date());
    SeedDemoData(db, demo);
  }
}

//! A PostgreSQL database is filled in one transaction: it holds the whole result or, after a
//! failure, what it held before.
void InitPostgres(const std::string& url, const InitDbOptions& options) {
  auto db = OpenPostgres(url);
  TransactionGuard transaction(*db);
  if (HasSchema(*db)) {
    if (!options.force) {
      RaiseClientError(Format(
          "De database '%s' bevat al een kavel-database (gebruik --force om ze te vervangen)",
          DisplayLocation(url)));
    }
    for (const std::string& table : db->Tables()) {
      db->ExecuteScript("DROP TABLE IF EXISTS " + table + " CASCADE");
    }
    auto sequences = db->Prepare(
        "SELECT sequencename FROM pg_sequences "
        "WHERE schemaname = current_schema() AND sequencename LIKE 'gen\\_%'");
    std::vector<std::string> names;
    while (sequences->Step()) names.emplace_back(sequences->ColumnText(0));
    for (const std::string& name : names) db->ExecuteScript("DROP SEQUENCE " + name);
  }
  Fill(*db, options);
  transaction.Commit();
}

}  // namespace

void InitDatabase(const std::string& path, const InitDbOptions& options) {
  if (IsPostgresUrl(path)) return InitPostgres(path, options);
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::exists(path, ec) && !options.force) {
    RaiseClientError(
        Format("Het bestand '%s' bestaat al (gebruik --force om het te vervangen)", path));
  }
  const std::string building = path + ".nieuw";
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(building + suffix, ec);
  {
    auto db = OpenSqlite(building);
    Fill(*db, options);
    // A single file, without WAL side files, is what gets renamed into place.
    db->ExecuteScript("PRAGMA wal_checkpoint(TRUNCATE); PRAGMA journal_mode = DELETE;");
  }
  for (const char* suffix : {"-wal", "-shm"}) fs::remove(path + suffix, ec);
  fs::rename(building, path);
}

}  // namespace quil::server
