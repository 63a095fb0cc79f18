// The PostgreSQL implementation of Database, on libpq.
//
// Statements are sent with PQexecParams: parameters travel as text with their type left to the
// server, which takes it from where the parameter stands (a date column makes it a date), so the
// same SQL and the same bindings work on both engines. Results come back as text and are read
// as the SQLite statement reads them: integers and booleans as integers, floating point as
// doubles, numerics and dates as text that ValueCodec parses, bytea as bytes.
//
// PostgreSQL aborts the whole transaction when one statement fails; the interface promises that
// a constraint violation leaves it usable, so every statement that writes rows inside a
// transaction runs behind a savepoint, which is rolled back to on failure. Names come back in
// lower case (the schema is written without quotes) and are read in upper case, as the schema
// spells them.
#include <libpq-fe.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "host/base/Strings.h"
#include "server/db/Database.h"
#include "server/db/PgSql.h"

namespace quil::server {

namespace {

constexpr Oid kBoolOid = 16, kByteaOid = 17, kInt8Oid = 20, kInt2Oid = 21, kInt4Oid = 23,
              kOidOid = 26, kFloat4Oid = 700, kFloat8Oid = 701;

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

Result Wrap(PGresult* result) {
  return Result(result, &PQclear);
}

bool Succeeded(const PGresult* result) {
  ExecStatusType status = PQresultStatus(result);
  return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

DatabaseError::Kind KindOf(std::string_view state) {
  if (state == "23505") return DatabaseError::Kind::Unique;
  if (state == "23502") return DatabaseError::Kind::NotNull;
  if (state == "23503") return DatabaseError::Kind::ForeignKey;
  if (state == "23514") return DatabaseError::Kind::Check;
  if (state == "55P03" || state == "40P01" || state == "40001" || state == "57014") {
    return DatabaseError::Kind::Busy;
  }
  if (state == "XX001" || state == "XX002") return DatabaseError::Kind::Corrupt;
  return DatabaseError::Kind::Other;
}

std::string Field(const PGresult* result, int code) {
  const char* text = PQresultErrorField(result, code);
  return text != nullptr ? text : "";
}

//! A generator's sequence; names are checked, since they become part of the SQL.
std::string SequenceOf(std::string_view generator) {
  for (char c : generator) {
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) {
      throw DatabaseError("Ongeldige generatornaam: " + std::string(generator),
                          DatabaseError::Kind::Other);
    }
  }
  return "GEN_" + UpperCaseAscii(generator);
}

class PgDatabase;

class PgStatement final : public Statement {
 public:
  PgStatement(PgDatabase& db, std::string_view sql);

  int ParameterCount() const override { return static_cast<int>(sql_.names.size()); }
  std::string ParameterName(int index) const override {
    return index >= 0 && index < ParameterCount() ? sql_.names[index] : std::string();
  }
  int ParameterIndex(std::string_view name) const override {
    for (int i = 0; i < ParameterCount(); ++i) {
      if (SameText(sql_.names[i], name)) return i;
    }
    return -1;
  }

  void BindNull(int index) override { Set(index, std::nullopt, 0); }
  void BindInt64(int index, int64_t value) override { Set(index, std::to_string(value), 0); }
  void BindDouble(int index, double value) override {
    char buffer[32];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    Set(index, std::string(buffer, end), 0);
  }
  void BindText(int index, std::string_view value) override { Set(index, std::string(value), 0); }
  void BindBlob(int index, std::string_view bytes) override { Set(index, std::string(bytes), 1); }

  bool Step() override;
  void Reset() override {
    result_.reset();
    row_ = -1;
  }

  int ColumnCount() const override { return PQnfields(Meta()); }
  ColumnOrigin Origin(int column) const override;

  StorageClass ColumnStorage(int column) const override {
    if (PQgetisnull(result_.get(), row_, column)) return StorageClass::Null;
    switch (PQftype(result_.get(), column)) {
      case kBoolOid:
      case kInt2Oid:
      case kInt4Oid:
      case kInt8Oid:
      case kOidOid:
        return StorageClass::Integer;
      case kFloat4Oid:
      case kFloat8Oid:
        return StorageClass::Float;
      case kByteaOid:
        return StorageClass::Blob;
      default:
        return StorageClass::Text;
    }
  }

  int64_t ColumnInt64(int column) const override {
    std::string_view text = ColumnText(column);
    if (text == "t") return 1;
    if (text == "f") return 0;
    if (text.find_first_of(".eE") != std::string_view::npos) {
      return std::llround(ColumnDouble(column));
    }
    int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
  }

  double ColumnDouble(int column) const override {
    return std::strtod(PQgetvalue(result_.get(), row_, column), nullptr);
  }

  std::string_view ColumnText(int column) const override {
    if (PQgetisnull(result_.get(), row_, column)) return {};
    return std::string_view(PQgetvalue(result_.get(), row_, column),
                            PQgetlength(result_.get(), row_, column));
  }

  std::string_view ColumnBlob(int column) const override {
    if (PQftype(result_.get(), column) != kByteaOid) return ColumnText(column);
    if (PQgetisnull(result_.get(), row_, column)) return {};
    size_t length = 0;
    unsigned char* bytes = PQunescapeBytea(
        reinterpret_cast<const unsigned char*>(PQgetvalue(result_.get(), row_, column)), &length);
    blob_.assign(reinterpret_cast<const char*>(bytes), length);
    PQfreemem(bytes);
    return blob_;
  }

 private:
  void Set(int index, std::optional<std::string> value, int format) {
    if (index < 0 || index >= ParameterCount()) {
      throw DatabaseError("Parameter " + std::to_string(index + 1) + " bestaat niet",
                          DatabaseError::Kind::Other);
    }
    values_[index] = std::move(value);
    formats_[index] = format;
  }
  //! The result whose columns describe the statement: the last run, or a description of it.
  const PGresult* Meta() const;

  PgDatabase& db_;
  pg::NumberedSql sql_;
  bool writes_;
  std::vector<std::optional<std::string>> values_;
  std::vector<int> formats_;
  Result result_{nullptr, &PQclear};
  mutable Result description_{nullptr, &PQclear};
  int row_ = -1;
  mutable std::string blob_;
};

class PgDatabase final : public Database {
 public:
  explicit PgDatabase(PGconn* conn) : conn_(conn) {
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
  }
  ~PgDatabase() override { PQfinish(conn_); }

  std::unique_ptr<Statement> Prepare(std::string_view sql) override {
    return std::make_unique<PgStatement>(*this, sql);
  }

  void ExecuteScript(std::string_view sql) override { Run(std::string(sql)); }

  int64_t Changes() const override { return changes_; }

  void Begin() override {
    Run("BEGIN");
    savepoint_ = false;
  }
  void Commit() override {
    savepoint_ = false;
    if (PQtransactionStatus(conn_) == PQTRANS_INERROR) {
      Run("ROLLBACK");
      throw DatabaseError("De transactie werd afgebroken door een eerdere fout",
                          DatabaseError::Kind::Other);
    }
    Run("COMMIT");
  }
  void Rollback() override {
    savepoint_ = false;
    if (InTransaction()) Run("ROLLBACK");
  }
  bool InTransaction() const override {
    PGTransactionStatusType status = PQtransactionStatus(conn_);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
  }

  Engine engine() const override { return Engine::PostgreSql; }

  std::vector<std::string> Tables() override {
    Result result =
        Query("SELECT upper(tablename) FROM pg_tables WHERE schemaname = current_schema()", {});
    std::vector<std::string> tables;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
      tables.emplace_back(PQgetvalue(result.get(), row, 0));
    }
    return tables;
  }

  std::vector<TableColumn> Columns(std::string_view table) override {
    Result result = Query(
        "SELECT upper(a.attname), format_type(a.atttypid, a.atttypmod), a.attnotnull, "
        "  EXISTS (SELECT 1 FROM pg_index i WHERE i.indrelid = a.attrelid AND i.indisprimary "
        "          AND a.attnum = ANY (i.indkey)) "
        "FROM pg_attribute a "
        "WHERE a.attrelid = to_regclass(lower($1)) AND a.attnum > 0 AND NOT a.attisdropped "
        "ORDER BY a.attnum",
        {std::string(table)});
    std::vector<TableColumn> columns;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
      columns.push_back(
          {PQgetvalue(result.get(), row, 0), pg::DeclaredType(PQgetvalue(result.get(), row, 1)),
           *PQgetvalue(result.get(), row, 2) == 't', *PQgetvalue(result.get(), row, 3) == 't'});
    }
    return columns;
  }

  void CreateGenerator(std::string_view name) override {
    Run("CREATE SEQUENCE IF NOT EXISTS " + SequenceOf(name) + " MINVALUE 0 START WITH 1");
    Query("INSERT INTO GENERATORS (GEN_NAAM, GEN_WAARDE) VALUES ($1, 0)", {std::string(name)});
    generators_.insert(UpperCaseAscii(name));
  }

  std::optional<int64_t> NextGeneratorValue(std::string_view name) override {
    if (!KnownGenerator(name)) return std::nullopt;
    Result result = Query("SELECT nextval($1)", {SequenceOf(name)});
    return std::atoll(PQgetvalue(result.get(), 0, 0));
  }

  std::optional<int64_t> ReserveGeneratorValues(std::string_view name, int64_t count) override {
    if (!KnownGenerator(name)) return std::nullopt;
    // Values another session takes meanwhile may fall between ours; the run is then not
    // consecutive, its values are left unused and another run is taken.
    for (;;) {
      Result result = Query("SELECT nextval($1) FROM generate_series(1, $2::bigint)",
                            {SequenceOf(name), std::to_string(count)});
      bool consecutive = PQntuples(result.get()) == count;
      const int64_t first = consecutive ? std::atoll(PQgetvalue(result.get(), 0, 0)) : 0;
      for (int row = 1; consecutive && row < PQntuples(result.get()); ++row) {
        consecutive = std::atoll(PQgetvalue(result.get(), row, 0)) == first + row;
      }
      if (consecutive) return first;
    }
  }

  std::optional<int64_t> GeneratorValue(std::string_view name) override {
    if (!KnownGenerator(name)) return std::nullopt;
    Result result = Query("SELECT last_value, is_called FROM " + SequenceOf(name), {});
    int64_t last = std::atoll(PQgetvalue(result.get(), 0, 0));
    return *PQgetvalue(result.get(), 0, 1) == 't' ? last : last - 1;
  }

  void SetGeneratorValue(std::string_view name, int64_t value) override {
    if (!KnownGenerator(name)) return;
    Query("SELECT setval($1, $2, true)", {SequenceOf(name), std::to_string(value)});
  }

  std::string_view SkipLockedClause() const override { return " FOR UPDATE SKIP LOCKED"; }

  PGconn* conn() { return conn_; }

  //! Runs a statement; the caller owns the result, which failed or not.
  PGresult* Send(const std::string& sql, const std::vector<std::optional<std::string>>& values,
                 const std::vector<int>& formats) {
    std::vector<const char*> pointers;
    std::vector<int> lengths;
    for (const auto& value : values) {
      pointers.push_back(value ? value->data() : nullptr);
      lengths.push_back(value ? static_cast<int>(value->size()) : 0);
    }
    return PQexecParams(conn_, sql.c_str(), static_cast<int>(values.size()), nullptr,
                        pointers.data(), lengths.data(), formats.empty() ? nullptr : formats.data(),
                        0);
  }

  //! Runs a statement that must succeed; throws its error otherwise.
  Result Query(const std::string& sql, const std::vector<std::optional<std::string>>& values) {
    Result result = Wrap(Send(sql, values, {}));
    if (!Succeeded(result.get())) throw ErrorOf(result.get());
    return result;
  }

  void Run(const std::string& sql) {
    Result result = Wrap(PQexec(conn_, sql.c_str()));
    if (!Succeeded(result.get())) throw ErrorOf(result.get());
  }

  //! Before a statement that writes inside a transaction: a savepoint to return to.
  void MarkStatement() {
    Run(savepoint_ ? "RELEASE SAVEPOINT kavel_stmt; SAVEPOINT kavel_stmt" : "SAVEPOINT kavel_stmt");
    savepoint_ = true;
  }
  void UndoStatement() { Run("ROLLBACK TO SAVEPOINT kavel_stmt"); }

  void SetChanges(const PGresult* result) {
    changes_ = std::atoll(PQcmdTuples(const_cast<PGresult*>(result)));
  }

  DatabaseError ErrorOf(const PGresult* result) {
    std::string message = PQresultErrorMessage(result);
    if (message.empty()) message = PQerrorMessage(conn_);
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
      message.pop_back();
    }
    if (message.rfind("ERROR:  ", 0) == 0) message.erase(0, 8);
    if (auto line = message.find('\n'); line != std::string::npos) message.erase(line);
    DatabaseError::Kind kind = KindOf(Field(result, PG_DIAG_SQLSTATE));
    std::string columns;
    if (kind == DatabaseError::Kind::NotNull) {
      columns = UpperCaseAscii(Field(result, PG_DIAG_COLUMN_NAME));
    } else if (kind == DatabaseError::Kind::Unique) {
      columns =
          IndexColumns(Field(result, PG_DIAG_SCHEMA_NAME), Field(result, PG_DIAG_CONSTRAINT_NAME));
    }
    return DatabaseError(message, kind, columns);
  }

  //! Where a column of a result comes from: its table and column, declared type, NOT NULL.
  const ColumnOrigin& OriginOf(Oid table, int column) {
    auto key = std::make_pair(table, column);
    if (auto it = origins_.find(key); it != origins_.end()) return it->second;
    ColumnOrigin origin;
    Result result = Query(
        "SELECT upper(c.relname), upper(a.attname), format_type(a.atttypid, a.atttypmod), "
        "a.attnotnull FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
        "WHERE c.oid = $1::oid AND a.attnum = $2::int2",
        {std::to_string(table), std::to_string(column)});
    if (PQntuples(result.get()) == 1) {
      origin.table = PQgetvalue(result.get(), 0, 0);
      origin.column = PQgetvalue(result.get(), 0, 1);
      origin.declType = pg::DeclaredType(PQgetvalue(result.get(), 0, 2));
      origin.notNull = *PQgetvalue(result.get(), 0, 3) == 't';
    }
    return origins_.emplace(key, std::move(origin)).first->second;
  }

 private:
  //! The columns of a unique index, as SQLite reports them ("A, B"); asked only while the
  //! transaction still works.
  std::string IndexColumns(const std::string& schema, const std::string& index) {
    if (index.empty() || PQtransactionStatus(conn_) == PQTRANS_INERROR) return {};
    if (auto it = indexColumns_.find(index); it != indexColumns_.end()) return it->second;
    Result result =
        Wrap(Send("SELECT upper(a.attname) FROM pg_index i "
                  "JOIN pg_class c ON c.oid = i.indexrelid "
                  "JOIN pg_namespace n ON n.oid = c.relnamespace "
                  "CROSS JOIN LATERAL unnest(i.indkey::int2[]) WITH ORDINALITY AS k(attnum, ord) "
                  "JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = k.attnum "
                  "WHERE c.relname = $1 AND n.nspname = $2 ORDER BY k.ord",
                  {index, schema}, {}));
    if (!Succeeded(result.get())) return {};
    std::string columns;
    for (int row = 0; row < PQntuples(result.get()); ++row) {
      if (!columns.empty()) columns += ", ";
      columns += PQgetvalue(result.get(), row, 0);
    }
    return indexColumns_.emplace(index, columns).first->second;
  }

  bool KnownGenerator(std::string_view name) {
    std::string upper = UpperCaseAscii(name);
    if (generators_.count(upper) != 0) return true;
    Result result = Query("SELECT upper(GEN_NAAM) FROM GENERATORS", {});
    for (int row = 0; row < PQntuples(result.get()); ++row) {
      generators_.insert(PQgetvalue(result.get(), row, 0));
    }
    return generators_.count(upper) != 0;
  }

  PGconn* conn_;
  int64_t changes_ = 0;
  bool savepoint_ = false;
  std::map<std::pair<Oid, int>, ColumnOrigin> origins_;
  std::map<std::string, std::string> indexColumns_;
  std::set<std::string> generators_;
};

PgStatement::PgStatement(PgDatabase& db, std::string_view sql)
    : db_(db), sql_(pg::NumberParameters(sql)), writes_(pg::WritesRows(sql)) {
  values_.resize(sql_.names.size());
  formats_.resize(sql_.names.size());
}

bool PgStatement::Step() {
  if (!result_) {
    const bool guarded = writes_ && db_.InTransaction();
    if (guarded) db_.MarkStatement();
    Result result = Wrap(db_.Send(sql_.sql, values_, formats_));
    if (!Succeeded(result.get())) {
      if (guarded) db_.UndoStatement();
      throw db_.ErrorOf(result.get());
    }
    if (writes_) db_.SetChanges(result.get());
    result_ = std::move(result);
    row_ = -1;
  }
  if (++row_ < PQntuples(result_.get())) return true;
  Reset();
  return false;
}

const PGresult* PgStatement::Meta() const {
  if (result_) return result_.get();
  if (!description_) {
    Result prepared = Wrap(PQprepare(db_.conn(), "", sql_.sql.c_str(), ParameterCount(), nullptr));
    if (!Succeeded(prepared.get())) throw db_.ErrorOf(prepared.get());
    description_ = Wrap(PQdescribePrepared(db_.conn(), ""));
    if (!Succeeded(description_.get())) {
      DatabaseError error = db_.ErrorOf(description_.get());
      description_.reset();
      throw error;
    }
  }
  return description_.get();
}

ColumnOrigin PgStatement::Origin(int column) const {
  const PGresult* meta = Meta();
  ColumnOrigin origin;
  Oid table = PQftable(meta, column);
  int tableColumn = PQftablecol(meta, column);
  if (table != InvalidOid && tableColumn > 0) origin = db_.OriginOf(table, tableColumn);
  origin.name = UpperCaseAscii(PQfname(meta, column));
  return origin;
}

}  // namespace

bool IsPostgresUrl(std::string_view location) {
  return location.rfind("postgresql://", 0) == 0 || location.rfind("postgres://", 0) == 0;
}

std::unique_ptr<Database> OpenPostgres(const std::string& url, const PostgresOptions& options) {
  PGconn* conn = PQconnectdb(url.c_str());
  if (PQstatus(conn) != CONNECTION_OK) {
    std::string message = PQerrorMessage(conn);
    PQfinish(conn);
    while (!message.empty() && message.back() == '\n') message.pop_back();
    throw DatabaseError("Geen verbinding met de database: " + message, DatabaseError::Kind::Other);
  }
  auto db = std::make_unique<PgDatabase>(conn);
  PQsetClientEncoding(conn, "UTF8");
  db->ExecuteScript("SET DateStyle = ISO; SET client_min_messages = warning; SET lock_timeout = " +
                    std::to_string(options.lockTimeoutMs));
  return db;
}

std::string DisplayLocation(std::string_view location) {
  std::string text(location);
  if (!IsPostgresUrl(text)) return text;
  size_t start = text.find("://") + 3;
  size_t at = text.find('@', start);
  size_t colon = text.find(':', start);
  if (at != std::string::npos && colon < at) text.replace(colon + 1, at - colon - 1, "***");
  return text;
}

std::unique_ptr<Database> OpenDatabase(const std::string& location, bool create) {
  if (IsPostgresUrl(location)) return OpenPostgres(location);
  return OpenSqlite(location, {.create = create});
}

}  // namespace quil::server
