// Database: the small SQL interface the application server is written against.
//
// A Database is one connection. It is used by one session at a time (thread-compatible, never
// shared between threads); a second session opens its own connection on the same file. Statements
// are prepared once and reused: bind parameters by their name (":IS_ID"), step through the rows,
// read columns by index, Reset() and bind again. A Statement must not outlive its Database.
//
// Values are passed as plain SQL values (null, 64-bit integer, double, text, blob); converting
// them to and from the host's Variants is the job of ValueCodec.h, so that nothing here knows about
// dates or fixed-point numbers. Every failure throws DatabaseError with the engine's message and
// its primary result code; a constraint violation leaves the transaction usable.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quil::server {

class DatabaseError : public std::runtime_error {
 public:
  enum class Kind { Other, Unique, NotNull, ForeignKey, Check, Busy, Corrupt };
  DatabaseError(const std::string& message, Kind kind, std::string columns = {})
      : std::runtime_error(message), kind_(kind), columns_(std::move(columns)) {}
  Kind kind() const { return kind_; }
  bool IsConstraint() const {
    return kind_ == Kind::Unique || kind_ == Kind::NotNull || kind_ == Kind::ForeignKey ||
           kind_ == Kind::Check;
  }
  //! For a unique or not-null violation: the columns concerned ("VAC_INSTELLING_FK, VAC_CODE").
  const std::string& columns() const { return columns_; }

 private:
  Kind kind_;
  std::string columns_;
};

//! What a column of the current row holds.
enum class StorageClass { Null, Integer, Float, Text, Blob };

//! Where a result column comes from, as far as the engine can tell. Empty table and column for
//! an expression.
struct ColumnOrigin {
  std::string name;    //!< the column's name in the result (its alias)
  std::string table;   //!< the table the value is read from
  std::string column;  //!< the column of that table
  std::string
      declType;  //!< declared type of that column ("VARCHAR(50)", "DATE"), "" for expressions
  bool notNull = false;  //!< the table column is declared NOT NULL
};

class Statement {
 public:
  virtual ~Statement() = default;

  //! Parameters are numbered from 0. Names are given without their ':' and match
  //! case-insensitively; -1 when the statement has no such parameter.
  virtual int ParameterCount() const = 0;
  virtual std::string ParameterName(int index) const = 0;
  virtual int ParameterIndex(std::string_view name) const = 0;

  virtual void BindNull(int index) = 0;
  virtual void BindInt64(int index, int64_t value) = 0;
  virtual void BindDouble(int index, double value) = 0;
  virtual void BindText(int index, std::string_view value) = 0;
  virtual void BindBlob(int index, std::string_view bytes) = 0;

  //! Runs the statement up to the next row; false when there are no more rows (or it is not a
  //! query). Throws DatabaseError on failure; the statement is then reset.
  virtual bool Step() = 0;
  //! Makes the statement ready to run again; bindings are kept until they are bound anew.
  virtual void Reset() = 0;

  virtual int ColumnCount() const = 0;
  virtual ColumnOrigin Origin(int column) const = 0;
  virtual StorageClass ColumnStorage(int column) const = 0;
  virtual int64_t ColumnInt64(int column) const = 0;
  virtual double ColumnDouble(int column) const = 0;
  //! Valid until the next Step, Reset or column access of another type on the same column.
  virtual std::string_view ColumnText(int column) const = 0;
  virtual std::string_view ColumnBlob(int column) const = 0;
};

//! A column of a table as the schema declares it.
struct TableColumn {
  std::string name;      //!< upper case
  std::string declType;  //!< in the schema's spelling: "VARCHAR(50)", "NUMERIC(18,2)", "DATE"
  bool notNull = false;
  bool primaryKey = false;
};

enum class Engine { Sqlite, PostgreSql };

class Database {
 public:
  virtual ~Database() = default;

  virtual Engine engine() const = 0;

  virtual std::unique_ptr<Statement> Prepare(std::string_view sql) = 0;
  //! Runs one or more statements without parameters (schema scripts, pragmas).
  virtual void ExecuteScript(std::string_view sql) = 0;
  //! Rows changed by the last INSERT, UPDATE or DELETE of this connection.
  virtual int64_t Changes() const = 0;

  //! Write transactions take the write lock at once, so two sessions never deadlock on an upgrade.
  virtual void Begin() = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
  virtual bool InTransaction() const = 0;

  //! The tables of the database (upper case, in no particular order).
  virtual std::vector<std::string> Tables() = 0;
  //! The columns of a table in their declared order; empty when there is no such table.
  virtual std::vector<TableColumn> Columns(std::string_view table) = 0;

  // Generators hand out ids that never repeat, also between processes on one database. Each
  // table X has one named X; GENERATORS lists them. On SQLite the value lives in GENERATORS and
  // is taken in the caller's transaction (the write lock makes it unique); on PostgreSQL each is
  // a sequence, which never waits for another transaction and never hands a value out twice,
  // even when the transaction that took it rolls back (ids may then have gaps).

  //! Adds a generator starting at 0 (its first value is 1).
  virtual void CreateGenerator(std::string_view name) = 0;
  //! The next value; nullopt when there is no generator of that name.
  virtual std::optional<int64_t> NextGeneratorValue(std::string_view name) = 0;
  //! The first of `count` consecutive values, all handed out to the caller; nullopt when there is
  //! no generator of that name.
  virtual std::optional<int64_t> ReserveGeneratorValues(std::string_view name, int64_t count) = 0;
  //! The value handed out last (0 when none yet); nullopt when there is no such generator.
  virtual std::optional<int64_t> GeneratorValue(std::string_view name) = 0;
  //! Makes `value` the last value handed out.
  virtual void SetGeneratorValue(std::string_view name, int64_t value) = 0;

  //! What follows a SELECT that takes rows for this transaction alone: the rows are locked until
  //! the transaction ends and rows another transaction holds are left out, so that several
  //! processes taking waiting work each get different rows. On PostgreSQL " FOR UPDATE SKIP
  //! LOCKED"; on SQLite "" (a write transaction already holds the whole database).
  virtual std::string_view SkipLockedClause() const = 0;
};

struct SqliteOptions {
  int busyTimeoutMs = 5000;
  //! Creates the file when it does not exist; otherwise opening a missing file fails.
  bool create = true;
};

//! Opens a SQLite connection: WAL journal (for a file), foreign keys enforced, busy timeout set.
//! ":memory:" gives a private in-memory database.
std::unique_ptr<Database> OpenSqlite(const std::string& path, const SqliteOptions& options = {});

struct PostgresOptions {
  //! How long a statement waits for a row another transaction has locked before it fails
  //! (DatabaseError::Kind::Busy), as SQLite's busy timeout.
  int lockTimeoutMs = 5000;
};

//! Opens a PostgreSQL connection from a libpq URL ("postgresql://user@host:port/db") or
//! key=value string. The session uses ISO dates and UTF-8.
std::unique_ptr<Database> OpenPostgres(const std::string& url, const PostgresOptions& options = {});

//! True for a location that names a PostgreSQL database ("postgresql://..." or "postgres://...").
bool IsPostgresUrl(std::string_view location);

//! Opens a database by its location: a PostgreSQL URL, otherwise a SQLite file (":memory:" for a
//! private one). `create` applies to SQLite files only.
std::unique_ptr<Database> OpenDatabase(const std::string& location, bool create = false);

//! The location as it may be shown: a URL without its password.
std::string DisplayLocation(std::string_view location);

//! Begins a transaction and rolls it back when it goes out of scope without Commit(). Inside a
//! transaction that is already open it joins that one: committing and rolling back are then the
//! outer guard's (an error leaving this scope reaches the outer guard, which rolls back).
class TransactionGuard {
 public:
  explicit TransactionGuard(Database& db) : db_(db), open_(!db.InTransaction()) {
    if (open_) db_.Begin();
  }
  ~TransactionGuard() {
    if (open_) {
      try {
        db_.Rollback();
      } catch (...) {  // the connection is gone; the engine rolls back on its own
      }
    }
  }
  TransactionGuard(const TransactionGuard&) = delete;
  TransactionGuard& operator=(const TransactionGuard&) = delete;

  void Commit() {
    if (open_) db_.Commit();
    open_ = false;
  }

 private:
  Database& db_;
  bool open_;
};

}  // namespace quil::server
