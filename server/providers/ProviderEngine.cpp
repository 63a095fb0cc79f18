#include "server/providers/ProviderEngine.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "server/db/ValueCodec.h"

namespace quil::server {

namespace {

//! Where a packet field is stored, when the provider may write it.
struct ColumnInfo {
  std::string column;  //!< column of the update table; empty when the field is not written
  FieldType type = FieldType::String;
};

std::string RowErrorMessage(const DatabaseError& error) {
  switch (error.kind()) {
    case DatabaseError::Kind::NotNull:
      return Format("Veld '%s' moet een waarde hebben", error.columns());
    case DatabaseError::Kind::Unique:
      return Format("Er bestaat al een record met dezelfde waarde voor %s", error.columns());
    case DatabaseError::Kind::ForeignKey:
      return "Het record verwijst naar een onbestaand record of is nog in gebruik";
    default:
      return Format("Ongeldige gegevens: %s", std::string(error.what()));
  }
}

//! Resets a statement when a read ends, also by an exception.
struct ResetGuard {
  Statement& stmt;
  ~ResetGuard() { stmt.Reset(); }
};

}  // namespace

struct ProviderEngine::Prepared {
  const ProviderDef* def = nullptr;
  std::unique_ptr<Statement> select;
  std::vector<int> paramIndex;  //!< statement parameter of each ProviderDef::params entry
  std::vector<FieldDef> fields;
  std::vector<ColumnInfo> columns;  //!< per packet field
  int keyField = -1;
  //! Write statements by shape: kind, which fields take part, which originals are null.
  std::unordered_map<std::string, std::unique_ptr<Statement>> writes;
};

ProviderEngine::ProviderEngine(Database& db, const ProviderCatalogue& catalogue)
    : db_(db), catalogue_(catalogue) {}

ProviderEngine::~ProviderEngine() = default;

ProviderEngine::Prepared& ProviderEngine::Get(std::string_view provider) {
  std::string key = UpperCaseAscii(provider);
  if (auto it = prepared_.find(key); it != prepared_.end()) return *it->second;
  const ProviderDef* def = catalogue_.Find(provider);
  if (def == nullptr)
    RaiseClientError(Format("Provider '%s' niet gevonden", std::string(provider)));

  auto prepared = std::make_unique<Prepared>();
  prepared->def = def;
  prepared->select = db_.Prepare(def->sql);
  Statement& select = *prepared->select;

  // Every declared parameter must be in the SQL and every SQL parameter declared: a mismatch is a
  // mistake in the catalogue, found by the catalogue test.
  if (select.ParameterCount() != static_cast<int>(def->params.size())) {
    throw std::logic_error("provider " + def->name + ": parameters do not match its SQL");
  }
  for (const ProviderParam& param : def->params) {
    int index = select.ParameterIndex(param.name);
    if (index < 0) {
      throw std::logic_error("provider " + def->name + ": parameter " + param.name +
                             " not in its SQL");
    }
    prepared->paramIndex.push_back(index);
  }

  for (int column = 0; column < select.ColumnCount(); ++column) {
    ColumnOrigin origin = select.Origin(column);
    FieldDef field;
    field.name = origin.name;
    const FieldOverride* override = nullptr;
    for (const FieldOverride& o : def->overrides) {
      if (SameText(o.name, origin.name)) override = &o;
    }
    if (override != nullptr) {
      field.type = override->type;
      field.size = override->size;
      field.scale = override->scale;
    } else if (!FieldDefFromDeclType(origin.declType, field)) {
      throw std::logic_error("provider " + def->name + ": column " + origin.name +
                             " has no schema type (declared '" + origin.declType +
                             "') and no override");
    }
    bool ownTable = !def->updateTable.empty() && SameText(origin.table, def->updateTable);
    bool listedReadOnly = false;
    for (const std::string& name : def->readOnlyFields) {
      if (SameText(name, origin.name)) listedReadOnly = true;
    }
    field.required = ownTable && origin.notNull;
    field.readOnly = !ownTable || listedReadOnly;
    ColumnInfo info;
    info.type = field.type;
    if (!field.readOnly) info.column = origin.column;
    if (ownTable && SameText(origin.name, def->keyField)) prepared->keyField = column;
    prepared->fields.push_back(std::move(field));
    prepared->columns.push_back(std::move(info));
  }
  if (!def->updateTable.empty() && prepared->keyField < 0) {
    throw std::logic_error("provider " + def->name + ": key field " + def->keyField +
                           " not delivered from " + def->updateTable);
  }
  return *prepared_.emplace(key, std::move(prepared)).first->second;
}

const std::vector<FieldDef>& ProviderEngine::Fields(std::string_view provider) {
  return Get(provider).fields;
}

DataPacket ProviderEngine::GetRecords(std::string_view provider, const Params& params) {
  Prepared& p = Get(provider);
  Statement& select = *p.select;
  ResetGuard reset{select};
  for (size_t i = 0; i < p.def->params.size(); ++i) {
    const ProviderParam& param = p.def->params[i];
    const TParam* given = params.Find(param.name);
    BindValue(select, p.paramIndex[i], given != nullptr ? given->value : Variant(), param.type);
  }
  DataPacket packet;
  packet.fields = p.fields;
  const size_t count = p.fields.size();
  while (select.Step()) {
    Row row;
    row.reserve(count);
    for (size_t column = 0; column < count; ++column) {
      row.push_back(ReadValue(select, static_cast<int>(column), p.fields[column].type));
    }
    packet.rows.push_back(std::move(row));
  }
  return packet;
}

Params ProviderEngine::FetchParams(std::string_view provider) {
  Prepared& p = Get(provider);
  Params params;
  for (const ProviderParam& param : p.def->params) params.Add(param.name, param.type);
  return params;
}

std::string ProviderEngine::GeneratorFor(std::string_view name) const {
  const ProviderDef* def = catalogue_.Find(name);
  if (def != nullptr && !def->updateTable.empty()) return UpperCaseAscii(def->updateTable);
  return UpperCaseAscii(name);
}

int64_t ProviderEngine::NextGeneratorValue(std::string_view generator) {
  std::optional<int64_t> value = db_.NextGeneratorValue(generator);
  if (!value) RaiseClientError(Format("Generator '%s' niet gevonden", std::string(generator)));
  return *value;
}

namespace {

//! A statement's values in bind order, each with the type of its column.
using Binds = std::vector<std::pair<const Variant*, FieldType>>;
using StatementCache = std::unordered_map<std::string, std::unique_ptr<Statement>>;

//! A value of a delta row; null past the end of a short row.
const Variant& ValueAt(const Row& values, size_t i) {
  static const Variant kNull;
  return i < values.size() ? values[i] : kNull;
}

//! How the fields of a delta map onto the provider's packet fields.
struct DeltaLayout {
  std::vector<int> toPacket;  //!< packet field per delta field; -1 for one the client added
  int key = -1;               //!< the delta field that holds the key
  //! The mapping as text, the start of every statement's shape: another dataset may send the
  //! same provider's fields in another order.
  std::string text;
};

//! Maps the delta's fields to the packet's; fields the client added (calculated, lookup) are not
//! stored. A delta without the key field is refused.
DeltaLayout MapDeltaFields(const Delta& delta, const std::vector<FieldDef>& fields, int keyField,
                           const std::string& keyName) {
  DeltaLayout layout;
  layout.toPacket.assign(delta.fields.size(), -1);
  for (size_t i = 0; i < delta.fields.size(); ++i) {
    for (size_t f = 0; f < fields.size(); ++f) {
      if (SameText(delta.fields[i].name, fields[f].name)) layout.toPacket[i] = static_cast<int>(f);
    }
    if (layout.toPacket[i] == keyField) layout.key = static_cast<int>(i);
    layout.text += std::to_string(layout.toPacket[i]) + ",";
  }
  if (layout.key < 0) {
    RaiseClientError(Format("Sleutelveld '%s' ontbreekt in de wijzigingen", keyName));
  }
  return layout;
}

//! One row's write: its statement, the shape the statement is kept under, the values to bind.
struct RowStatement {
  std::string sql;
  std::string shape;
  Binds binds;
};

//! Builds the statement of one delta row by its kind. The shape names which fields take part
//! (and which originals are null), so rows of one shape share a prepared statement.
class RowStatementBuilder {
 public:
  RowStatementBuilder(const ProviderDef& def, const std::vector<ColumnInfo>& columns,
                      const DeltaLayout& layout, int keyField)
      : def_(def), columns_(columns), layout_(layout), key_(columns[keyField]) {}

  //! The row's statement; nothing for a modification that changes no stored field. An insert
  //! without a key takes `nextKey()`, kept in `newKey` for as long as the statement is bound.
  std::optional<RowStatement> Build(const DeltaRow& row, Variant& newKey,
                                    const std::function<int64_t()>& nextKey) const {
    RowStatement statement;
    statement.shape = layout_.text;
    statement.shape += static_cast<char>('0' + static_cast<int>(row.kind));
    switch (row.kind) {
      case DeltaKind::Insert:
        Insert(row, newKey, nextKey, statement);
        return statement;
      case DeltaKind::Modify:
        if (!Modify(row, statement)) return std::nullopt;
        return statement;
      case DeltaKind::Delete:
        Delete(row, statement);
        return statement;
    }
    return std::nullopt;
  }

 private:
  size_t FieldCount() const { return layout_.toPacket.size(); }
  bool IsKey(size_t i) const { return static_cast<int>(i) == layout_.key; }
  //! Whether the delta field is stored in a column of the update table.
  bool Writable(size_t i) const {
    return layout_.toPacket[i] >= 0 && !columns_[layout_.toPacket[i]].column.empty();
  }
  const ColumnInfo& Column(size_t i) const { return columns_[layout_.toPacket[i]]; }

  //! "AND column = ?" with the original bound, or "AND column IS NULL".
  static void CompareOriginal(const ColumnInfo& info, const Variant& original, std::string& where,
                              Binds& binds) {
    if (original.IsNull()) {
      where += " AND " + info.column + " IS NULL";
    } else {
      where += " AND " + info.column + " = ?";
      binds.emplace_back(&original, info.type);
    }
  }

  //! The fields of the table that have a value; a missing key takes the table's generator.
  void Insert(const DeltaRow& row, Variant& newKey, const std::function<int64_t()>& nextKey,
              RowStatement& out) const {
    std::string columns, placeholders;
    for (size_t i = 0; i < FieldCount(); ++i) {
      bool present = Writable(i) && !ValueAt(row.current, i).IsNull();
      if (IsKey(i) && !present) {
        newKey = Variant(static_cast<long long>(nextKey()));
        present = true;
      }
      out.shape += present ? '1' : '0';
      if (!present) continue;
      out.binds.emplace_back(IsKey(i) && !newKey.IsNull() ? &newKey : &ValueAt(row.current, i),
                             Column(i).type);
      if (!columns.empty()) {
        columns += ", ";
        placeholders += ", ";
      }
      columns += Column(i).column;
      placeholders += "?";
    }
    out.sql =
        "INSERT INTO " + def_.updateTable + " (" + columns + ") VALUES (" + placeholders + ")";
  }

  //! SET the changed fields WHERE the key and every changed field hold their originals; false
  //! when no stored field changed.
  bool Modify(const DeltaRow& row, RowStatement& out) const {
    // A record keeps its key: other records and the client's log refer to it by that.
    const size_t key = static_cast<size_t>(layout_.key);
    if (!(ValueAt(row.current, key) == ValueAt(row.original, key))) {
      throw EClientError(Format(std::string(kKeyChanged), def_.keyField));
    }
    std::string sets, where;
    Binds originals;
    for (size_t i = 0; i < FieldCount(); ++i) {
      const Variant& original = ValueAt(row.original, i);
      const bool changed = Writable(i) && !(ValueAt(row.current, i) == original);
      out.shape += changed ? (original.IsNull() ? 'n' : '1') : '0';
      if (!changed) continue;
      if (!sets.empty()) sets += ", ";
      sets += Column(i).column + " = ?";
      out.binds.emplace_back(&ValueAt(row.current, i), Column(i).type);
      CompareOriginal(Column(i), original, where, originals);
    }
    if (sets.empty()) return false;  // posted without a real change
    out.sql =
        "UPDATE " + def_.updateTable + " SET " + sets + " WHERE " + key_.column + " = ?" + where;
    out.binds.emplace_back(&ValueAt(row.original, key), key_.type);
    out.binds.insert(out.binds.end(), originals.begin(), originals.end());
    return true;
  }

  //! WHERE the key and every field of the table hold their originals.
  void Delete(const DeltaRow& row, RowStatement& out) const {
    std::string where;
    out.binds.emplace_back(&ValueAt(row.original, static_cast<size_t>(layout_.key)), key_.type);
    for (size_t i = 0; i < FieldCount(); ++i) {
      const bool compared = Writable(i) && !IsKey(i);
      const Variant& original = ValueAt(row.original, i);
      out.shape += compared ? (original.IsNull() ? 'n' : '1') : '0';
      if (compared) CompareOriginal(Column(i), original, where, out.binds);
    }
    out.sql = "DELETE FROM " + def_.updateTable + " WHERE " + key_.column + " = ?" + where;
  }

  const ProviderDef& def_;
  const std::vector<ColumnInfo>& columns_;
  const DeltaLayout& layout_;
  const ColumnInfo& key_;
};

//! Binds the row's values to the statement kept for its shape (prepared on first use) and runs
//! it. A modify or delete that matches no record finds it changed by another session.
void BindAndRun(Database& db, StatementCache& statements, const RowStatement& row, DeltaKind kind) {
  std::unique_ptr<Statement>& stmt = statements[row.shape];
  if (!stmt) stmt = db.Prepare(row.sql);
  ResetGuard reset{*stmt};
  for (size_t b = 0; b < row.binds.size(); ++b) {
    BindValue(*stmt, static_cast<int>(b), *row.binds[b].first, row.binds[b].second);
  }
  stmt->Step();
  if (kind != DeltaKind::Insert && db.Changes() == 0) {
    throw EClientError(std::string(kChangedByOtherUser));
  }
}

//! Records a refused row; true when more rows failed than `maxErrors` allows (-1: no limit).
bool RecordRowError(ApplyResult& result, size_t rowIndex, std::string message, int maxErrors) {
  result.errors.push_back({static_cast<int>(rowIndex), std::move(message)});
  return maxErrors >= 0 && static_cast<int>(result.errors.size()) > maxErrors;
}

}  // namespace

ApplyResult ProviderEngine::ApplyUpdates(std::string_view provider, const Delta& delta,
                                         int maxErrors) {
  Prepared& p = Get(provider);
  const ProviderDef& def = *p.def;
  if (def.updateTable.empty()) {
    RaiseClientError(Format("Provider '%s' kan geen wijzigingen opslaan", def.name));
  }
  const DeltaLayout layout = MapDeltaFields(delta, p.fields, p.keyField, def.keyField);
  const RowStatementBuilder statements(def, p.columns, layout, p.keyField);
  const std::string generator = UpperCaseAscii(def.updateTable);
  const std::function<int64_t()> nextKey = [&] { return NextGeneratorValue(generator); };

  ApplyResult result;
  TransactionGuard transaction(db_);
  for (size_t rowIndex = 0; rowIndex < delta.rows.size(); ++rowIndex) {
    const DeltaRow& row = delta.rows[rowIndex];
    std::optional<std::string> refused;
    try {
      Variant newKey;
      if (std::optional<RowStatement> statement = statements.Build(row, newKey, nextKey)) {
        BindAndRun(db_, p.writes, *statement, row.kind);
      }
    } catch (const DatabaseError& error) {
      if (!error.IsConstraint()) throw;  // busy, corrupt: the whole apply fails
      refused = RowErrorMessage(error);
    } catch (const EClientError& error) {
      refused = error.what();
    }
    if (refused && RecordRowError(result, rowIndex, std::move(*refused), maxErrors)) {
      result.rolledBack = true;
      break;
    }
  }
  result.errorCount = static_cast<int>(result.errors.size());
  if (!result.rolledBack) transaction.Commit();  // otherwise the guard rolls back
  return result;
}

}  // namespace quil::server
