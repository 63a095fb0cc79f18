// Copying a kavel database to another engine (SQLite into PostgreSQL and back).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quil::server {

struct MigrateReport {
  struct Table {
    std::string name;
    int64_t rows = 0;
  };
  std::vector<Table> tables;  //!< in the order they were copied
};

//! Copies every table and generator of the database at `from` into a new database at `to` (a
//! file that does not exist yet, or a PostgreSQL database without the schema), then compares both
//! table by table: the same rows, value for value as the server reads them. The target appears
//! only complete and checked: a file is built under a temporary name, a PostgreSQL database in
//! one transaction. Throws EClientError on any difference or failure, leaving the target as it
//! was. `progress` hears each table once it is copied.
MigrateReport MigrateDatabase(
    const std::string& from, const std::string& to,
    const std::function<void(const MigrateReport::Table&)>& progress = {});

//! The differences between two databases with the schema, table by table ("VWOLES: 812 / 811
//! rijen"); empty when they hold the same rows and generator values.
std::vector<std::string> CompareDatabases(const std::string& a, const std::string& b);

}  // namespace quil::server
