#include "server/seed/InitDb.h"

#include <filesystem>
#include <system_error>

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "host/domain/SchoolYear.h"
#include "server/db/Schema.h"
#include "server/seed/DemoData.h"

namespace quil::server {

void InitDatabase(const std::string& path, const InitDbOptions& options) {
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
    CreateSchema(*db);
    if (options.demo) {
      DemoOptions demo;
      demo.workingYear = options.workingYear != 0 ? options.workingYear : GetSchooljaarFrom(Date());
      SeedDemoData(*db, demo);
    }
    // A single file, without WAL side files, is what gets renamed into place.
    db->ExecuteScript("PRAGMA wal_checkpoint(TRUNCATE); PRAGMA journal_mode = DELETE;");
  }
  for (const char* suffix : {"-wal", "-shm"}) fs::remove(path + suffix, ec);
  fs::rename(building, path);
}

}  // namespace quil::server
