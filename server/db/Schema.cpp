#include "server/db/Schema.h"

#include <string>
#include <vector>

#include "server/db/PgSql.h"

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

std::string SchemaSqlFor(const Database& db) {
  if (db.engine() == Engine::PostgreSql) return pg::SchemaDialect(SchemaSql());
  return std::string(SchemaSql());
}

void CreateSchema(Database& db) {
  TransactionGuard transaction(db);
  db.ExecuteScript(SchemaSqlFor(db));
  for (const std::string& table : db.Tables()) {
    if (table != "GENERATORS") db.CreateGenerator(table);
  }
  db.CreateGenerator("JOBID");
  transaction.Commit();
}

bool HasSchema(Database& db) {
  for (const std::string& table : db.Tables()) {
    if (table == "GENERATORS") return true;
  }
  return false;
}

std::string PrimaryKeyOf(Database& db, std::string_view table) {
  std::string key;
  for (const TableColumn& column : db.Columns(table)) {
    if (!column.primaryKey) continue;
    if (!key.empty()) return {};  // a key of several columns has no generator to follow it
    key = column.name;
  }
  return key;
}

void SyncGenerators(Database& db) {
  TransactionGuard transaction(db);
  for (const std::string& table : db.Tables()) {
    std::string key = PrimaryKeyOf(db, table);
    if (key.empty() || !db.GeneratorValue(table)) continue;
    auto max = db.Prepare("SELECT COALESCE(MAX(" + key + "), 0) FROM " + table);
    max->Step();
    db.SetGeneratorValue(table, max->ColumnInt64(0));
  }
  transaction.Commit();
}

}  // namespace quil::server
