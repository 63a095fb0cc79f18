// What the PostgreSQL connection translates between the server's SQL and PostgreSQL's: named and
// positional parameters, declared types and the schema's dialect. Kept apart from the connection
// so that it can be tested without a server.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quil::server::pg {

//! SQL with its parameters numbered for PostgreSQL.
struct NumberedSql {
  std::string sql;                 //!< ":NAME" and "?" replaced by "$1", "$2", ...
  std::vector<std::string> names;  //!< the name of each number, without ':'; "" for a "?"
};

//! Numbers the parameters of a statement: every ":NAME" gets one number for all its uses (names
//! match case-insensitively), every "?" its own. Text in quotes, quoted identifiers, comments and
//! "::" casts are left alone.
NumberedSql NumberParameters(std::string_view sql);

//! The schema's spelling of a type PostgreSQL names ("character varying(50)" -> "VARCHAR(50)",
//! "timestamp without time zone" -> "TIMESTAMP"); upper case of anything else.
std::string DeclaredType(std::string_view formatted);

//! The schema script in PostgreSQL's dialect: CHAR(n) becomes VARCHAR(n) (PostgreSQL pads CHAR
//! with blanks, SQLite does not), BLOB becomes BYTEA, DOUBLE becomes DOUBLE PRECISION; every table
//! X gets its generator, the sequence GEN_X, made before it, and a single integer key column takes
//! its next value when an insert leaves it out (as SQLite's row id does).
std::string SchemaDialect(std::string_view sql);

//! True when the statement writes rows (INSERT, UPDATE, DELETE, also after a WITH).
bool WritesRows(std::string_view sql);

}  // namespace quil::server::pg
