#include "server/db/PgSql.h"

#include <cctype>
#include <regex>
#include <sstream>

#include "host/base/Strings.h"

namespace quil::server::pg {

namespace {

bool IdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$';
}

//! Copies a quoted text, comment or identifier starting at `pos` into `out`; returns the
//! position after it, or `pos` when nothing starts there.
size_t CopyQuoted(std::string_view sql, size_t pos, std::string& out) {
  auto copyUntil = [&](std::string_view end, size_t from) {
    size_t close = sql.find(end, from);
    size_t stop = close == std::string_view::npos ? sql.size() : close + end.size();
    out.append(sql.substr(pos, stop - pos));
    return stop;
  };
  char c = sql[pos];
  if (c == '\'') return copyUntil("'", pos + 1);
  if (c == '"') return copyUntil("\"", pos + 1);
  if (sql.substr(pos, 2) == "--") return copyUntil("\n", pos + 2);
  if (sql.substr(pos, 2) == "/*") return copyUntil("*/", pos + 2);
  return pos;
}

}  // namespace

NumberedSql NumberParameters(std::string_view sql) {
  NumberedSql result;
  result.sql.reserve(sql.size() + 8);
  size_t pos = 0;
  while (pos < sql.size()) {
    if (size_t next = CopyQuoted(sql, pos, result.sql); next != pos) {
      pos = next;
      continue;
    }
    char c = sql[pos];
    if (c == ':' && pos + 1 < sql.size() && sql[pos + 1] == ':') {
      result.sql += "::";
      pos += 2;
    } else if (c == ':' && pos + 1 < sql.size() &&
               (std::isalpha(static_cast<unsigned char>(sql[pos + 1])) != 0 ||
                sql[pos + 1] == '_')) {
      size_t end = pos + 1;
      while (end < sql.size() && IdentifierChar(sql[end])) ++end;
      std::string name(sql.substr(pos + 1, end - pos - 1));
      size_t number = 0;
      while (number < result.names.size() && !SameText(result.names[number], name)) ++number;
      if (number == result.names.size()) result.names.push_back(name);
      result.sql += "$" + std::to_string(number + 1);
      pos = end;
    } else if (c == '?') {
      result.names.emplace_back();
      result.sql += "$" + std::to_string(result.names.size());
      ++pos;
    } else {
      result.sql += c;
      ++pos;
    }
  }
  return result;
}

std::string DeclaredType(std::string_view formatted) {
  std::string type = UpperCaseAscii(formatted);
  auto replacePrefix = [&](std::string_view from, std::string_view to) {
    if (type.compare(0, from.size(), from) != 0) return false;
    std::string rest = type.substr(from.size());
    if (!rest.empty() && rest[0] != '(') return false;
    type = std::string(to) + rest;
    return true;
  };
  // One of them at most applies.
  (void)(replacePrefix("CHARACTER VARYING", "VARCHAR") || replacePrefix("CHARACTER", "CHAR") ||
         replacePrefix("TIMESTAMP WITHOUT TIME ZONE", "TIMESTAMP") ||
         replacePrefix("TIME WITHOUT TIME ZONE", "TIME") || replacePrefix("BYTEA", "BLOB") ||
         replacePrefix("DOUBLE PRECISION", "DOUBLE"));
  return type;
}

std::string SchemaDialect(std::string_view sql) {
  std::string out;
  out.reserve(sql.size() + 256);
  size_t pos = 0;
  while (pos < sql.size()) {
    if (size_t next = CopyQuoted(sql, pos, out); next != pos) {
      pos = next;
      continue;
    }
    if (!IdentifierChar(sql[pos])) {
      out += sql[pos++];
      continue;
    }
    size_t end = pos;
    while (end < sql.size() && IdentifierChar(sql[end])) ++end;
    std::string word = UpperCaseAscii(sql.substr(pos, end - pos));
    if (word == "CHAR" && end < sql.size() && sql[end] == '(') {
      out += "VARCHAR";
    } else if (word == "BLOB") {
      out += "BYTEA";
    } else if (word == "DOUBLE" &&
               UpperCaseAscii(sql.substr(end, 10)).find("PRECISION") == std::string::npos) {
      out += "DOUBLE PRECISION";
    } else {
      out.append(sql.substr(pos, end - pos));
    }
    pos = end;
  }
  // A table whose key is one integer column fills it from its generator when an insert leaves
  // it out, as SQLite does with its row id, so that the same INSERT works on both.
  static const std::regex table(R"(^\s*CREATE TABLE (\w+)\s*\()", std::regex::icase);
  static const std::regex key(R"(^(\s*\w+\s+(INTEGER|BIGINT)\s+NOT NULL\s+PRIMARY KEY)\b)",
                              std::regex::icase);
  std::istringstream lines(out);
  std::string result, line, current;
  result.reserve(out.size() + 8192);
  std::smatch match;
  while (std::getline(lines, line)) {
    if (std::regex_search(line, match, table)) {
      current = UpperCaseAscii(match[1].str());
      if (current != "GENERATORS") {
        result += "CREATE SEQUENCE IF NOT EXISTS GEN_" + current + " MINVALUE 0 START WITH 1;\n";
      }
    } else if (!current.empty() && current != "GENERATORS" && std::regex_search(line, match, key)) {
      line.insert(match.length(0), " DEFAULT nextval('GEN_" + current + "')");
    }
    result += line;
    result += '\n';
  }
  return result;
}

bool WritesRows(std::string_view sql) {
  std::string scratch;
  bool first = true;
  size_t pos = 0;
  while (pos < sql.size()) {
    if (size_t next = CopyQuoted(sql, pos, scratch); next != pos) {
      pos = next;
      continue;
    }
    if (!IdentifierChar(sql[pos])) {
      ++pos;
      continue;
    }
    size_t end = pos;
    while (end < sql.size() && IdentifierChar(sql[end])) ++end;
    std::string word = UpperCaseAscii(sql.substr(pos, end - pos));
    if (word == "INSERT" || word == "UPDATE" || word == "DELETE") return true;
    if (first && word != "WITH") return false;
    first = false;
    pos = end;
  }
  return false;
}

}  // namespace quil::server::pg
