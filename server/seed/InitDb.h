// Creating a kavel database (a SQLite file or a PostgreSQL database): the schema, and the demo data
// when asked for.
#pragma once

#include <string>

namespace quil::server {

struct InitDbOptions {
  bool demo = false;
  bool force = false;   //!< replace an existing file
  int workingYear = 0;  //!< 0: the school year of today
};

//! Creates the database at `path`: a SQLite file, or a PostgreSQL URL naming an existing database.
//! Refuses (EClientError) when the file exists, or the PostgreSQL database already holds the
//! schema, and `force` is off. The result appears only once it is complete: a file is built under
//! a temporary name and renamed, a PostgreSQL database is filled in one transaction (with --force
//! its kavel tables are dropped in that same transaction).
void InitDatabase(const std::string& path, const InitDbOptions& options);

}  // namespace quil::server
