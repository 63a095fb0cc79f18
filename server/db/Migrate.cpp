#include "server/db/Migrate.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>
#include <system_error>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "server/db/Database.h"
#include "server/db/Schema.h"
#include "server/db/ValueCodec.h"

namespace quil::server {

namespace {

//! The tables in the order the schema creates them, which is an order in which every reference
//! points to a table copied before; tables the schema does not name come last.
std::vector<std::string> CopyOrder(Database& db) {
  static const std::regex create(R"(CREATE TABLE (\w+))", std::regex::icase);
  std::vector<std::string> order;
  const std::string schema(SchemaSql());
  for (std::sregex_iterator it(schema.begin(), schema.end(), create), end; it != end; ++it) {
    order.push_back(UpperCaseAscii((*it)[1].str()));
  }
  std::vector<std::string> tables = db.Tables();
  auto rank = [&](const std::string& table) {
    return std::find(order.begin(), order.end(), table) - order.begin();
  };
  std::stable_sort(tables.begin(), tables.end(), [&](const std::string& a, const std::string& b) {
    return rank(a) < rank(b) || (rank(a) == rank(b) && a < b);
  });
  tables.erase(std::remove(tables.begin(), tables.end(), "GENERATORS"), tables.end());
  return tables;
}

struct Column {
  std::string name;
  FieldType type = FieldType::String;
};

std::vector<Column> ColumnsOf(Database& db, const std::string& table) {
  std::vector<Column> columns;
  for (const TableColumn& column : db.Columns(table)) {
    FieldDef def;
    if (!FieldDefFromDeclType(column.declType, def)) def.type = FieldType::String;
    columns.push_back({column.name, def.type});
  }
  return columns;
}

std::string SelectAll(Database& db, const std::string& table, const std::vector<Column>& columns) {
  std::string list;
  for (const Column& column : columns) list += (list.empty() ? "" : ", ") + column.name;
  std::string key = PrimaryKeyOf(db, table);
  return "SELECT " + list + " FROM " + table + " ORDER BY " + (key.empty() ? list : key);
}

//! One row as text, each value as the server reads it by its column type.
std::string RowText(const Statement& stmt, const std::vector<Column>& columns) {
  std::string text;
  for (size_t i = 0; i < columns.size(); ++i) {
    Variant value = ReadValue(stmt, static_cast<int>(i), columns[i].type);
    text += i == 0 ? "" : "|";
    if (value.IsNull()) {
      text += "<null>";
    } else if (columns[i].type == FieldType::Currency) {
      text += std::to_string(value.AsCurrency().Raw());
    } else if (columns[i].type == FieldType::Date || columns[i].type == FieldType::Time ||
               columns[i].type == FieldType::DateTime) {
      text += DateTimeToSql(value.AsDateTime());
    } else if (const Blob* blob = value.AsBlob()) {
      text += blob->bytes;
    } else {
      text += value.AsString();
    }
  }
  return text;
}

int64_t CopyTable(Database& from, Database& to, const std::string& table) {
  std::vector<Column> columns = ColumnsOf(to, table);
  if (columns.empty()) {
    RaiseClientError(Format("Tabel %s ontbreekt in de doeldatabase", table));
  }
  std::string names, marks;
  for (const Column& column : columns) {
    names += (names.empty() ? "" : ", ") + column.name;
    marks += marks.empty() ? "?" : ", ?";
  }
  auto select = from.Prepare(SelectAll(from, table, columns));
  auto insert = to.Prepare("INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")");
  int64_t rows = 0;
  while (select->Step()) {
    insert->Reset();
    for (size_t i = 0; i < columns.size(); ++i) {
      BindValue(*insert, static_cast<int>(i),
                ReadValue(*select, static_cast<int>(i), columns[i].type), columns[i].type);
    }
    insert->Step();
    ++rows;
  }
  return rows;
}

std::vector<std::string> Generators(Database& db) {
  std::vector<std::string> names;
  auto list = db.Prepare("SELECT GEN_NAAM FROM GENERATORS ORDER BY GEN_NAAM");
  while (list->Step()) names.emplace_back(list->ColumnText(0));
  return names;
}

std::vector<std::string> Compare(Database& a, Database& b) {
  std::vector<std::string> differences;
  std::vector<std::string> tablesA = CopyOrder(a), tablesB = CopyOrder(b);
  if (tablesA != tablesB) differences.push_back("de databases hebben niet dezelfde tabellen");
  for (const std::string& table : tablesA) {
    if (std::find(tablesB.begin(), tablesB.end(), table) == tablesB.end()) continue;
    std::vector<Column> columns = ColumnsOf(a, table);
    auto rowsA = a.Prepare(SelectAll(a, table, columns));
    auto rowsB = b.Prepare(SelectAll(b, table, columns));
    int64_t countA = 0, countB = 0, differing = 0;
    for (;;) {
      bool moreA = rowsA->Step(), moreB = rowsB->Step();
      countA += moreA;
      countB += moreB;
      if (!moreA || !moreB) {
        while (moreA && rowsA->Step()) ++countA;
        while (moreB && rowsB->Step()) ++countB;
        break;
      }
      if (RowText(*rowsA, columns) != RowText(*rowsB, columns)) ++differing;
    }
    if (countA != countB || differing != 0) {
      differences.push_back(Format("%s: %d / %d rijen, %d verschillend", table,
                                   static_cast<int>(countA), static_cast<int>(countB),
                                   static_cast<int>(differing)));
    }
  }
  for (const std::string& generator : Generators(a)) {
    if (a.GeneratorValue(generator) != b.GeneratorValue(generator)) {
      differences.push_back("generator " + generator + " verschilt");
    }
  }
  return differences;
}

void Copy(Database& from, Database& to, MigrateReport& report,
          const std::function<void(const MigrateReport::Table&)>& progress) {
  CreateSchema(to);
  for (const std::string& table : CopyOrder(from)) {
    report.tables.push_back({table, CopyTable(from, to, table)});
    if (progress) progress(report.tables.back());
  }
  for (const std::string& generator : Generators(from)) {
    if (auto value = from.GeneratorValue(generator)) to.SetGeneratorValue(generator, *value);
  }
  std::vector<std::string> differences = Compare(from, to);
  if (!differences.empty()) {
    std::string text;
    for (const std::string& line : differences) text += "\n" + line;
    RaiseClientError("De kopie verschilt van het origineel:" + text);
  }
}

}  // namespace

MigrateReport MigrateDatabase(const std::string& from, const std::string& to,
                              const std::function<void(const MigrateReport::Table&)>& progress) {
  namespace fs = std::filesystem;
  auto source = OpenDatabase(from);
  if (!HasSchema(*source)) {
    RaiseClientError(Format("'%s' is geen kavel-database", DisplayLocation(from)));
  }
  MigrateReport report;
  // The source is read in one transaction, so the copy is one moment of it.
  TransactionGuard reading(*source);
  if (IsPostgresUrl(to)) {
    auto target = OpenPostgres(to);
    TransactionGuard transaction(*target);
    if (HasSchema(*target)) {
      RaiseClientError(Format("De database '%s' bevat al een kavel-database", DisplayLocation(to)));
    }
    Copy(*source, *target, report, progress);
    transaction.Commit();
    return report;
  }
  std::error_code ec;
  if (fs::exists(to, ec)) RaiseClientError(Format("Het bestand '%s' bestaat al", to));
  const std::string building = to + ".nieuw";
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(building + suffix, ec);
  try {
    auto target = OpenSqlite(building);
    {
      TransactionGuard transaction(*target);
      Copy(*source, *target, report, progress);
      transaction.Commit();
    }
    target->ExecuteScript("PRAGMA wal_checkpoint(TRUNCATE); PRAGMA journal_mode = DELETE;");
  } catch (...) {
    for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(building + suffix, ec);
    throw;
  }
  fs::rename(building, to);
  return report;
}

std::vector<std::string> CompareDatabases(const std::string& a, const std::string& b) {
  auto first = OpenDatabase(a);
  auto second = OpenDatabase(b);
  return Compare(*first, *second);
}

}  // namespace quil::server
