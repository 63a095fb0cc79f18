// The SQLite implementation of Database.
//
// One sqlite3 handle per Database, opened in serialized-off mode (the session owns it). Files are
// put in WAL mode so that readers of other sessions never block a writer; foreign keys are
// switched on per connection, as SQLite requires. Transactions are BEGIN IMMEDIATE: the write lock
// is taken when the transaction starts and waits up to the busy timeout for another session.
#include <sqlite3.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/base/Strings.h"
#include "server/db/Database.h"

namespace quil::server {

namespace {

DatabaseError::Kind KindOf(int code) {
  switch (code) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
      return DatabaseError::Kind::Unique;
    case SQLITE_CONSTRAINT_NOTNULL:
      return DatabaseError::Kind::NotNull;
    case SQLITE_CONSTRAINT_FOREIGNKEY:
      return DatabaseError::Kind::ForeignKey;
    default:
      break;
  }
  switch (code & 0xff) {
    case SQLITE_CONSTRAINT:
      return DatabaseError::Kind::Check;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return DatabaseError::Kind::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return DatabaseError::Kind::Corrupt;
    default:
      return DatabaseError::Kind::Other;
  }
}

//! The engine reports "UNIQUE constraint failed: T.A, T.B"; keeps "A, B".
std::string ColumnsOf(const std::string& message) {
  auto colon = message.find(": ");
  if (colon == std::string::npos) return {};
  std::string columns;
  size_t pos = colon + 2;
  while (pos < message.size()) {
    size_t end = message.find(", ", pos);
    if (end == std::string::npos) end = message.size();
    std::string item = message.substr(pos, end - pos);
    if (auto dot = item.rfind('.'); dot != std::string::npos) item = item.substr(dot + 1);
    if (!columns.empty()) columns += ", ";
    columns += item;
    pos = end + 2;
  }
  return columns;
}

DatabaseError MakeError(std::string message, int code) {
  DatabaseError::Kind kind = KindOf(code);
  std::string columns;
  if (kind == DatabaseError::Kind::Unique || kind == DatabaseError::Kind::NotNull) {
    columns = ColumnsOf(message);
  }
  return DatabaseError(message, kind, columns);
}

[[noreturn]] void Throw(sqlite3* db, int code) {
  throw MakeError(db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code), code);
}

void Check(sqlite3* db, int code) {
  if (code != SQLITE_OK) Throw(db, code);
}

//! The compiled statements of one connection that are not in use, by their SQL text. Compiling
//! a statement costs more than running a small one, and jobs and providers prepare the same
//! texts call after call. A statement goes back reset and without bindings; one that finds the
//! connection closed, or the cache full, is finalized.
class StatementCache {
 public:
  static constexpr size_t kCapacity = 128;

  //! An idle statement of that text; nullptr when there is none.
  sqlite3_stmt* Take(std::string_view sql) {
    auto found = idle_.find(std::string(sql));
    if (found == idle_.end()) return nullptr;
    sqlite3_stmt* stmt = found->second;
    idle_.erase(found);
    return stmt;
  }

  void Give(sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (closed_ || idle_.size() >= kCapacity) {
      sqlite3_finalize(stmt);
      return;
    }
    idle_.emplace(sqlite3_sql(stmt), stmt);
  }

  //! Finalizes every idle statement; statements in use are finalized when they are done.
  void Close() {
    closed_ = true;
    for (auto& [sql, stmt] : idle_) sqlite3_finalize(stmt);
    idle_.clear();
  }

 private:
  std::unordered_multimap<std::string, sqlite3_stmt*> idle_;
  bool closed_ = false;
};

class SqliteStatement final : public Statement {
 public:
  SqliteStatement(sqlite3* db, sqlite3_stmt* stmt, std::shared_ptr<StatementCache> cache)
      : db_(db), stmt_(stmt), cache_(std::move(cache)) {}
  ~SqliteStatement() override { cache_->Give(stmt_); }

  int ParameterCount() const override { return sqlite3_bind_parameter_count(stmt_); }

  std::string ParameterName(int index) const override {
    const char* name = sqlite3_bind_parameter_name(stmt_, index + 1);
    if (name == nullptr) return {};
    return name[0] == ':' || name[0] == '@' || name[0] == '$' ? name + 1 : name;
  }

  int ParameterIndex(std::string_view name) const override {
    for (int i = 0; i < ParameterCount(); ++i) {
      if (SameText(ParameterName(i), name)) return i;
    }
    return -1;
  }

  void BindNull(int index) override { Check(db_, sqlite3_bind_null(stmt_, index + 1)); }
  void BindInt64(int index, int64_t value) override {
    Check(db_, sqlite3_bind_int64(stmt_, index + 1, value));
  }
  void BindDouble(int index, double value) override {
    Check(db_, sqlite3_bind_double(stmt_, index + 1, value));
  }
  void BindText(int index, std::string_view value) override {
    Check(db_, sqlite3_bind_text64(stmt_, index + 1, value.data(), value.size(), SQLITE_TRANSIENT,
                                   SQLITE_UTF8));
  }
  void BindBlob(int index, std::string_view bytes) override {
    Check(db_, sqlite3_bind_blob64(stmt_, index + 1, bytes.data(), bytes.size(), SQLITE_TRANSIENT));
  }

  bool Step() override {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    DatabaseError error = MakeError(sqlite3_errmsg(db_), rc);
    sqlite3_reset(stmt_);
    throw error;
  }

  void Reset() override { sqlite3_reset(stmt_); }

  int ColumnCount() const override { return sqlite3_column_count(stmt_); }

  ColumnOrigin Origin(int column) const override {
    ColumnOrigin origin;
    auto text = [](const char* s) { return s != nullptr ? std::string(s) : std::string(); };
    origin.name = text(sqlite3_column_name(stmt_, column));
    origin.table = text(sqlite3_column_table_name(stmt_, column));
    origin.column = text(sqlite3_column_origin_name(stmt_, column));
    origin.declType = text(sqlite3_column_decltype(stmt_, column));
    if (!origin.table.empty()) {
      int notNull = 0;
      sqlite3_table_column_metadata(db_, sqlite3_column_database_name(stmt_, column),
                                    origin.table.c_str(), origin.column.c_str(), nullptr, nullptr,
                                    &notNull, nullptr, nullptr);
      origin.notNull = notNull != 0;
    }
    return origin;
  }

  StorageClass ColumnStorage(int column) const override {
    switch (sqlite3_column_type(stmt_, column)) {
      case SQLITE_INTEGER:
        return StorageClass::Integer;
      case SQLITE_FLOAT:
        return StorageClass::Float;
      case SQLITE_TEXT:
        return StorageClass::Text;
      case SQLITE_BLOB:
        return StorageClass::Blob;
      default:
        return StorageClass::Null;
    }
  }

  int64_t ColumnInt64(int column) const override { return sqlite3_column_int64(stmt_, column); }
  double ColumnDouble(int column) const override { return sqlite3_column_double(stmt_, column); }

  std::string_view ColumnText(int column) const override {
    auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return p != nullptr ? std::string_view(p, sqlite3_column_bytes(stmt_, column))
                        : std::string_view();
  }

  std::string_view ColumnBlob(int column) const override {
    auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return p != nullptr ? std::string_view(p, sqlite3_column_bytes(stmt_, column))
                        : std::string_view();
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_;
  std::shared_ptr<StatementCache> cache_;
};

class SqliteDatabase final : public Database {
 public:
  explicit SqliteDatabase(sqlite3* db) : db_(db) {}
  ~SqliteDatabase() override {
    cache_->Close();
    sqlite3_close_v2(db_);
  }

  std::unique_ptr<Statement> Prepare(std::string_view sql) override {
    sqlite3_stmt* stmt = cache_->Take(sql);
    if (stmt == nullptr) {
      int rc = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                                  SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
      if (rc != SQLITE_OK) Throw(db_, rc);
    }
    return std::make_unique<SqliteStatement>(db_, stmt, cache_);
  }

  void ExecuteScript(std::string_view sql) override {
    std::string text(sql);
    char* error = nullptr;
    int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
      std::string message = error != nullptr ? error : sqlite3_errstr(rc);
      sqlite3_free(error);
      throw DatabaseError(message, KindOf(rc));
    }
  }

  int64_t Changes() const override { return sqlite3_changes64(db_); }

  void Begin() override { Run(begin_, "BEGIN IMMEDIATE"); }
  void Commit() override { Run(commit_, "COMMIT"); }
  void Rollback() override {
    if (InTransaction()) Run(rollback_, "ROLLBACK");
  }
  bool InTransaction() const override { return sqlite3_get_autocommit(db_) == 0; }

  Engine engine() const override { return Engine::Sqlite; }

  std::vector<std::string> Tables() override {
    std::vector<std::string> tables;
    auto list = Prepare(
        "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
        "ESCAPE '\\'");
    while (list->Step()) tables.push_back(UpperCaseAscii(list->ColumnText(0)));
    return tables;
  }

  std::vector<TableColumn> Columns(std::string_view table) override {
    std::vector<TableColumn> columns;
    auto info = Prepare("SELECT name, type, \"notnull\", pk FROM pragma_table_info(?)");
    info->BindText(0, table);
    while (info->Step()) {
      columns.push_back({UpperCaseAscii(info->ColumnText(0)), UpperCaseAscii(info->ColumnText(1)),
                         info->ColumnInt64(2) != 0, info->ColumnInt64(3) != 0});
    }
    return columns;
  }

  void CreateGenerator(std::string_view name) override {
    auto insert = Prepare("INSERT INTO GENERATORS (GEN_NAAM, GEN_WAARDE) VALUES (?, 0)");
    insert->BindText(0, name);
    insert->Step();
  }

  std::optional<int64_t> NextGeneratorValue(std::string_view name) override {
    if (!next_) {
      next_ = Prepare(
          "UPDATE GENERATORS SET GEN_WAARDE = GEN_WAARDE + 1 WHERE GEN_NAAM = ? "
          "RETURNING GEN_WAARDE");
    }
    return ReadGenerator(*next_, name);
  }

  std::optional<int64_t> ReserveGeneratorValues(std::string_view name, int64_t count) override {
    auto reserve = Prepare(
        "UPDATE GENERATORS SET GEN_WAARDE = GEN_WAARDE + ? WHERE GEN_NAAM = ? "
        "RETURNING GEN_WAARDE");
    reserve->BindInt64(0, count);
    reserve->BindText(1, name);
    if (!reserve->Step()) return std::nullopt;
    return reserve->ColumnInt64(0) - count + 1;
  }

  std::optional<int64_t> GeneratorValue(std::string_view name) override {
    if (!read_) read_ = Prepare("SELECT GEN_WAARDE FROM GENERATORS WHERE GEN_NAAM = ?");
    return ReadGenerator(*read_, name);
  }

  void SetGeneratorValue(std::string_view name, int64_t value) override {
    auto update = Prepare("UPDATE GENERATORS SET GEN_WAARDE = ? WHERE GEN_NAAM = ?");
    update->BindInt64(0, value);
    update->BindText(1, name);
    update->Step();
  }

  std::string_view SkipLockedClause() const override { return ""; }

 private:
  static std::optional<int64_t> ReadGenerator(Statement& stmt, std::string_view name) {
    stmt.Reset();
    stmt.BindText(0, name);
    std::optional<int64_t> value;
    if (stmt.Step()) value = stmt.ColumnInt64(0);
    stmt.Reset();
    return value;
  }

  void Run(std::unique_ptr<Statement>& stmt, std::string_view sql) {
    if (!stmt) stmt = Prepare(sql);
    stmt->Reset();
    stmt->Step();
  }

  sqlite3* db_;
  std::shared_ptr<StatementCache> cache_ = std::make_shared<StatementCache>();
  std::unique_ptr<Statement> begin_, commit_, rollback_, next_, read_;
};

}  // namespace

std::unique_ptr<Database> OpenSqlite(const std::string& path, const SqliteOptions& options) {
  sqlite3* handle = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
  if (options.create) flags |= SQLITE_OPEN_CREATE;
  int rc = sqlite3_open_v2(path.c_str(), &handle, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = handle != nullptr ? sqlite3_errmsg(handle) : sqlite3_errstr(rc);
    sqlite3_close_v2(handle);
    throw DatabaseError(message + ": " + path, KindOf(rc));
  }
  sqlite3_extended_result_codes(handle, 1);
  sqlite3_busy_timeout(handle, options.busyTimeoutMs);
  auto db = std::make_unique<SqliteDatabase>(handle);
  db->ExecuteScript("PRAGMA foreign_keys = ON;");
  if (path != ":memory:" && !path.empty()) {
    db->ExecuteScript("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
  }
  return db;
}

}  // namespace quil::server
