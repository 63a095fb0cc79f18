#include "server/providers/ProviderEngine.h"

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

ApplyResult ProviderEngine::ApplyUpdates(std::string_view provider, const Delta& delta,
                                         int maxErrors) {
  Prepared& p = Get(provider);
  const ProviderDef& def = *p.def;
  if (def.updateTable.empty()) {
    RaiseClientError(Format("Provider '%s' kan geen wijzigingen opslaan", def.name));
  }

  // Delta field -> packet field; fields the client added (calculated, lookup) are not stored.
  std::vector<int> toPacket(delta.fields.size(), -1);
  int deltaKey = -1;
  for (size_t i = 0; i < delta.fields.size(); ++i) {
    for (size_t f = 0; f < p.fields.size(); ++f) {
      if (SameText(delta.fields[i].name, p.fields[f].name)) toPacket[i] = static_cast<int>(f);
    }
    if (toPacket[i] == p.keyField) deltaKey = static_cast<int>(i);
  }
  if (deltaKey < 0) {
    RaiseClientError(Format("Sleutelveld '%s' ontbreekt in de wijzigingen", def.keyField));
  }
  auto writable = [&](size_t i) {
    return toPacket[i] >= 0 && !p.columns[toPacket[i]].column.empty();
  };
  const std::string keyColumn = p.columns[p.keyField].column;
  const FieldType keyType = p.fields[p.keyField].type;
  const std::string generator = UpperCaseAscii(def.updateTable);

  // Statements are kept per shape; the shape starts with the delta's field layout, since another
  // dataset may send the same provider's fields in another order.
  std::string layout;
  for (int f : toPacket) layout += std::to_string(f) + ",";

  ApplyResult result;
  TransactionGuard transaction(db_);
  std::string shape;
  std::vector<std::pair<const Variant*, FieldType>> binds;
  for (size_t rowIndex = 0; rowIndex < delta.rows.size(); ++rowIndex) {
    const DeltaRow& row = delta.rows[rowIndex];
    try {
      // Work out which fields take part; the shape names the statement that fits.
      shape = layout;
      shape += static_cast<char>('0' + static_cast<int>(row.kind));
      binds.clear();
      std::string sql;
      Variant newKey;
      auto value = [&](const Row& values, size_t i) -> const Variant& {
        static const Variant kNull;
        return i < values.size() ? values[i] : kNull;
      };
      switch (row.kind) {
        case DeltaKind::Insert: {
          std::string columns, placeholders;
          for (size_t i = 0; i < delta.fields.size(); ++i) {
            bool present = writable(i) && !value(row.current, i).IsNull();
            bool isKey = static_cast<int>(i) == deltaKey;
            if (isKey && !present) {
              newKey = Variant(static_cast<long long>(NextGeneratorValue(generator)));
              present = true;
            }
            shape += present ? '1' : '0';
            if (!present) continue;
            binds.emplace_back(isKey && !newKey.IsNull() ? &newKey : &value(row.current, i),
                               p.columns[toPacket[i]].type);
            if (!columns.empty()) {
              columns += ", ";
              placeholders += ", ";
            }
            columns += p.columns[toPacket[i]].column;
            placeholders += "?";
          }
          sql =
              "INSERT INTO " + def.updateTable + " (" + columns + ") VALUES (" + placeholders + ")";
          break;
        }
        case DeltaKind::Modify: {
          // A record keeps its key: other records and the client's log refer to it by that.
          if (!(value(row.current, deltaKey) == value(row.original, deltaKey))) {
            throw EClientError(Format(std::string(kKeyChanged), def.keyField));
          }
          std::string sets, where;
          std::vector<std::pair<const Variant*, FieldType>> originals;
          for (size_t i = 0; i < delta.fields.size(); ++i) {
            bool changed = writable(i) && !(value(row.current, i) == value(row.original, i));
            shape += changed ? (value(row.original, i).IsNull() ? 'n' : '1') : '0';
            if (!changed) continue;
            const ColumnInfo& info = p.columns[toPacket[i]];
            if (!sets.empty()) sets += ", ";
            sets += info.column + " = ?";
            binds.emplace_back(&value(row.current, i), info.type);
            if (value(row.original, i).IsNull()) {
              where += " AND " + info.column + " IS NULL";
            } else {
              where += " AND " + info.column + " = ?";
              originals.emplace_back(&value(row.original, i), info.type);
            }
          }
          if (sets.empty()) continue;  // posted without a real change
          sql =
              "UPDATE " + def.updateTable + " SET " + sets + " WHERE " + keyColumn + " = ?" + where;
          binds.emplace_back(&value(row.original, deltaKey), keyType);
          binds.insert(binds.end(), originals.begin(), originals.end());
          break;
        }
        case DeltaKind::Delete: {
          std::string where;
          binds.emplace_back(&value(row.original, deltaKey), keyType);
          for (size_t i = 0; i < delta.fields.size(); ++i) {
            bool compared = writable(i) && static_cast<int>(i) != deltaKey;
            const Variant& original = value(row.original, i);
            shape += compared ? (original.IsNull() ? 'n' : '1') : '0';
            if (!compared) continue;
            const ColumnInfo& info = p.columns[toPacket[i]];
            if (original.IsNull()) {
              where += " AND " + info.column + " IS NULL";
            } else {
              where += " AND " + info.column + " = ?";
              binds.emplace_back(&original, info.type);
            }
          }
          sql = "DELETE FROM " + def.updateTable + " WHERE " + keyColumn + " = ?" + where;
          break;
        }
      }

      auto& stmt = p.writes[shape];
      if (!stmt) stmt = db_.Prepare(sql);
      ResetGuard reset{*stmt};
      for (size_t b = 0; b < binds.size(); ++b) {
        BindValue(*stmt, static_cast<int>(b), *binds[b].first, binds[b].second);
      }
      stmt->Step();
      if (row.kind != DeltaKind::Insert && db_.Changes() == 0) {
        throw EClientError(std::string(kChangedByOtherUser));
      }
    } catch (const DatabaseError& error) {
      if (!error.IsConstraint()) throw;  // busy, corrupt: the whole apply fails
      result.errors.push_back({static_cast<int>(rowIndex), RowErrorMessage(error)});
    } catch (const EClientError& error) {
      result.errors.push_back({static_cast<int>(rowIndex), error.what()});
    }
    if (maxErrors >= 0 && static_cast<int>(result.errors.size()) > maxErrors) {
      result.rolledBack = true;
      break;
    }
  }
  result.errorCount = static_cast<int>(result.errors.size());
  if (!result.rolledBack) transaction.Commit();  // otherwise the guard rolls back
  return result;
}

}  // namespace quil::server
