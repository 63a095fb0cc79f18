// The database schema: creating it in an empty database and recognising a database that has it.
//
// The schema text is server/db/schema.sql, compiled into the program (SchemaSql.inc is generated
// from it by scripts/embed-schema.sh), so a program never needs the source tree to create a
// database.
#pragma once

#include <string>
#include <string_view>

#include "server/db/Database.h"

namespace quil::server {

std::string_view SchemaSql();
//! The schema script in the dialect of the database's engine.
std::string SchemaSqlFor(const Database& db);

//! Creates every table, index and generator in one transaction.
void CreateSchema(Database& db);

//! True when the database holds the generator table (the schema was created).
bool HasSchema(Database& db);

//! The single primary-key column of a table; "" when it has none or several.
std::string PrimaryKeyOf(Database& db, std::string_view table);

//! Sets the generator of every table to the highest key stored in it, so that ids handed out
//! afterwards follow rows inserted with explicit keys (the demo data, imports).
void SyncGenerators(Database& db);

}  // namespace quil::server
