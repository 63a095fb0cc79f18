// Creating a kavel database file: the schema, and the demo data when asked for.
#pragma once

#include <string>

namespace quil::server {

struct InitDbOptions {
  bool demo = false;
  bool force = false;   //!< replace an existing file
  int workingYear = 0;  //!< 0: the school year of today
};

//! Creates the database at `path`. Refuses (EClientError) when the file exists and `force` is
//! off. The file appears only once it is complete: it is built under a temporary name and renamed.
void InitDatabase(const std::string& path, const InitDbOptions& options);

}  // namespace quil::server
