#include "server/db/Schema.h"

#include <string>
#include <vector>

namespace quil::server {

namespace {
constexpr std::string_view kSchemaSql =
#include "server/db/SchemaSql.inc"
    ;
}  // namespace

std::string_view SchemaSql() {
  std::string_view text = kSchemaSql;
  if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  return text;
}

void CreateSchema(Database& db) {
  TransactionGuard transaction(db);
  db.ExecuteScript(SchemaSql());
  transaction.Commit();
}

bool HasSchema(Database& db) {
  auto stmt =
      db.Prepare("SELECT COUNT(*) FROM sqlite_schema WHERE type = 'table' AND name = 'GENERATORS'");
  return stmt->Step() && stmt->ColumnInt64(0) > 0;
}

void SyncGenerators(Database& db) {
  std::vector<std::string> tables;
  {
    auto list = db.Prepare("SELECT GEN_NAAM FROM GENERATORS");
    while (list->Step()) tables.emplace_back(list->ColumnText(0));
  }
  TransactionGuard transaction(db);
  auto update = db.Prepare("UPDATE GENERATORS SET GEN_WAARDE = :WAARDE WHERE GEN_NAAM = :NAAM");
  for (const std::string& table : tables) {
    // The key is the table's single primary-key column; tables without one keep their value.
    auto info = db.Prepare("SELECT name FROM pragma_table_info(:TABLE) WHERE pk = 1");
    info->BindText(0, table);
    if (!info->Step()) continue;
    std::string key(info->ColumnText(0));
    auto max = db.Prepare("SELECT COALESCE(MAX(\"" + key + "\"), 0) FROM \"" + table + "\"");
    max->Step();
    update->Reset();
    update->BindInt64(update->ParameterIndex("WAARDE"), max->ColumnInt64(0));
    update->BindText(update->ParameterIndex("NAAM"), table);
    update->Step();
  }
  transaction.Commit();
}

}  // namespace quil::server
