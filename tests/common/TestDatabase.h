// The database the server, module and web tests run on, chosen by one switch.
//
// KAVEL_TEST_DB unset (or "sqlite"): SQLite, in memory or in a file of a temporary directory.
// KAVEL_TEST_DB=postgresql://...: every test database is a new schema of the database
// "kavel_tests" on that PostgreSQL server (made when missing; the URL's user must be allowed to
// create it and to switch off reference checks while copying), dropped when the test ends.
// KAVEL_TEST_DB may also name a file that holds such a URL (ctest passes the file written by
// scripts/pg-test-cluster.sh). A schema is much cheaper to make than a database; demo data is
// copied from a schema filled once per schema version and working year.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "server/db/Database.h"
#include "server/db/Schema.h"
#include "server/db/ValueCodec.h"
#include "server/seed/DemoData.h"
#include "server/seed/InitDb.h"
#include "tests/common/ForwardingDatabase.h"

namespace testdb {

using quil::server::Database;

//! The URL of the PostgreSQL server the tests run on; "" when they run on SQLite.
inline const std::string& PostgresServer() {
  static const std::string url = [] {
    const char* value = getenv("KAVEL_TEST_DB");
    std::string text = value != nullptr ? value : "";
    if (text.empty() || text == "sqlite" || quil::server::IsPostgresUrl(text)) {
      return text == "sqlite" ? std::string() : text;
    }
    std::ifstream file(text);
    std::string line;
    if (!std::getline(file, line) || !quil::server::IsPostgresUrl(line)) {
      throw std::runtime_error("KAVEL_TEST_DB: no PostgreSQL URL in " + text);
    }
    return line;
  }();
  return url;
}

inline bool OnPostgres() {
  return !PostgresServer().empty();
}

//! The URL of another database on the tests' PostgreSQL server.
inline std::string UrlOf(const std::string& database) {
  std::string url = PostgresServer();
  size_t hostStart = url.find("://") + 3;
  size_t path = url.find('/', hostStart);
  size_t query = url.find('?', hostStart);
  std::string tail = query == std::string::npos ? "" : url.substr(query);
  std::string head = url.substr(0, std::min(path, query));
  return head + "/" + database + tail;
}

enum class Content { Empty, Schema, Demo };

namespace detail {

//! The database on the tests' server that holds one schema per test database.
inline constexpr const char* kTestsDatabase = "kavel_tests";

//! The URL of a schema of the tests' database: the connection works in that schema only.
inline std::string SchemaUrl(const std::string& schema) {
  std::string url = UrlOf(kTestsDatabase);
  return url + (url.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" +
         schema;
}

//! One connection to the tests' database, for creating and dropping schemas; the database is
//! made on first use (under a lock, so that test programs running side by side make it once).
inline Database& Admin(std::unique_lock<std::mutex>& lock) {
  static std::mutex mutex;
  static std::unique_ptr<Database> admin;
  lock = std::unique_lock<std::mutex>(mutex);
  if (!admin) {
    auto server = quil::server::OpenPostgres(PostgresServer());
    server->ExecuteScript("SELECT pg_advisory_lock(4711)");
    auto exists = server->Prepare("SELECT 1 FROM pg_database WHERE datname = :NAAM");
    exists->BindText(0, kTestsDatabase);
    if (!exists->Step()) server->ExecuteScript(std::string("CREATE DATABASE ") + kTestsDatabase);
    server->ExecuteScript("SELECT pg_advisory_unlock(4711)");
    admin = quil::server::OpenPostgres(UrlOf(kTestsDatabase));
  }
  return *admin;
}

//! The schema holding the demo data of the working year, made when missing.
inline std::string DemoTemplate(Database& admin, int workingYear) {
  const std::string name =
      "kavel_tpl_" +
      std::to_string(std::hash<std::string_view>{}(quil::server::SchemaSql()) % 1000000007) +
      "_demo" + std::to_string(workingYear);
  admin.ExecuteScript("SELECT pg_advisory_lock(4712)");
  try {
    auto exists = admin.Prepare("SELECT 1 FROM pg_namespace WHERE nspname = :NAAM");
    exists->BindText(0, name);
    if (!exists->Step()) {
      const std::string building = name + "_nieuw";
      admin.ExecuteScript("DROP SCHEMA IF EXISTS " + building + " CASCADE; CREATE SCHEMA " +
                          building);
      quil::server::InitDatabase(SchemaUrl(building), {.demo = true, .workingYear = workingYear});
      admin.ExecuteScript("ALTER SCHEMA " + building + " RENAME TO " + name);
    }
  } catch (...) {
    admin.ExecuteScript("SELECT pg_advisory_unlock(4712)");
    throw;
  }
  admin.ExecuteScript("SELECT pg_advisory_unlock(4712)");
  return name;
}

//! Copies every row and generator of the template schema into the connection's schema, which
//! has the same tables.
inline void CopyFrom(Database& db, const std::string& source) {
  quil::server::TransactionGuard transaction(db);
  db.ExecuteScript("SET LOCAL session_replication_role = replica");  // no reference checks
  for (const std::string& table : db.Tables()) {
    if (table == "GENERATORS") continue;  // CreateSchema listed them
    db.ExecuteScript("INSERT INTO " + table + " SELECT * FROM " + source + "." + table);
  }
  db.ExecuteScript(
      "DO $$ DECLARE s record; BEGIN FOR s IN SELECT sequencename, last_value FROM pg_sequences "
      "WHERE schemaname = '" +
      source +
      "' AND last_value IS NOT NULL LOOP "
      "PERFORM setval(quote_ident(s.sequencename), s.last_value, true); END LOOP; END $$");
  transaction.Commit();
}

}  // namespace detail

//! A database of its own for one test: a file in a temporary directory, or a new schema of the
//! tests' PostgreSQL database. Removed (dropped) with this object; open connections should be
//! closed first.
class TestDatabase {
 public:
  explicit TestDatabase(Content content = Content::Schema, int workingYear = 2025) {
    if (OnPostgres()) {
      static std::atomic<int> counter{0};
      static const unsigned salt = std::random_device{}();
      schema_ = "kavel_t" + std::to_string(getpid()) + "_" + std::to_string(salt % 100000) + "_" +
                std::to_string(counter++);
      std::string source;
      {
        std::unique_lock<std::mutex> lock;
        Database& admin = detail::Admin(lock);
        admin.ExecuteScript("CREATE SCHEMA " + schema_);
        if (content == Content::Demo) source = detail::DemoTemplate(admin, workingYear);
      }
      location_ = detail::SchemaUrl(schema_);
      if (content != Content::Empty) {
        auto db = Open();
        quil::server::CreateSchema(*db);
        if (!source.empty()) detail::CopyFrom(*db, source);
      }
      return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "kavel-db-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    location_ = dir_ + "/kavel.sqlite";
    if (content != Content::Empty) {
      quil::server::InitDatabase(location_,
                                 {.demo = content == Content::Demo, .workingYear = workingYear});
    }
  }
  ~TestDatabase() {
    if (!schema_.empty()) {
      try {
        std::unique_lock<std::mutex> lock;
        detail::Admin(lock).ExecuteScript("DROP SCHEMA IF EXISTS " + schema_ + " CASCADE");
      } catch (...) {  // the server is gone; the test run removes it with everything in it
      }
    }
    if (!dir_.empty()) {
      std::error_code ec;
      std::filesystem::remove_all(dir_, ec);
    }
  }
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  //! The file or URL, as `kavel --db` and AppServer::Open take it.
  const std::string& location() const { return location_; }
  std::unique_ptr<Database> Open() const { return quil::server::OpenDatabase(location_, true); }

 private:
  std::string dir_, schema_, location_;
};

//! A column of the current row as text, the same on both engines: a decimal as the server reads
//! it, in its shortest form ("12.5"; SQLite stores 12.5, PostgreSQL writes 12.50).
inline std::string ColumnText(const quil::server::Statement& stmt, int column) {
  quil::FieldDef def;
  if (stmt.ColumnStorage(column) != quil::server::StorageClass::Null &&
      quil::server::FieldDefFromDeclType(stmt.Origin(column).declType, def) &&
      def.type == quil::FieldType::Currency) {
    char buffer[32];
    double value = quil::server::ReadValue(stmt, column, def.type).AsCurrency().ToDouble();
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
  }
  return std::string(stmt.ColumnText(column));
}

//! Holds the test database of an OwnedDatabase, made before the connection to it.
struct TestDatabaseHolder {
  std::unique_ptr<TestDatabase> owner;
};

//! A connection that drops its test database when it closes.
class OwnedDatabase final : private TestDatabaseHolder, public kavel::testing::ForwardingDatabase {
 public:
  explicit OwnedDatabase(Content content, int workingYear = 2025)
      : TestDatabaseHolder{std::make_unique<TestDatabase>(content, workingYear)},
        ForwardingDatabase(owner->Open()) {}
  ~OwnedDatabase() override { CloseInner(); }
};

//! A connection to a new database of its own: in memory on SQLite, on PostgreSQL a new database
//! that is dropped when the connection closes.
inline std::unique_ptr<Database> FreshDatabase(Content content = Content::Schema,
                                               int workingYear = 2025) {
  if (OnPostgres()) return std::make_unique<OwnedDatabase>(content, workingYear);
  auto db = quil::server::OpenSqlite(":memory:");
  if (content != Content::Empty) quil::server::CreateSchema(*db);
  if (content == Content::Demo) quil::server::SeedDemoData(*db, {.workingYear = workingYear});
  return db;
}

}  // namespace testdb
