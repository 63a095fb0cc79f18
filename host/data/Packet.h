// The values that cross the boundary between the client datasets and the application server.
//
// A DataPacket is what a provider returns: field definitions (types from the database schema,
// never guessed from values) and rows of Variants in field order. A Delta is what a dataset sends
// back: one entry per changed record with its kind, its original values and its new values. The
// server answers with an ApplyResult naming the entries that failed. Nothing SQL-specific crosses
// this boundary; all types are plain values, safe to copy and to hand to another thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Variant.h"

namespace quil {

enum class FieldType {
  String,    //!< text of at most `size` characters (0 = unlimited)
  Integer,   //!< 32-bit integer
  LargeInt,  //!< 64-bit integer (Davinci ids, generators)
  Float,
  Currency,  //!< four-decimal fixed point; `scale` tells how many decimals the column keeps
  Boolean,
  Date,
  Time,
  DateTime,
  Memo,  //!< long text
  Blob,
};

const char* FieldTypeName(FieldType type);
bool IsNumericType(FieldType type);
bool IsDateType(FieldType type);
bool IsTextType(FieldType type);

struct FieldDef {
  std::string name;
  FieldType type = FieldType::String;
  int size = 0;
  int scale = 0;
  bool required = false;
  bool readOnly = false;  //!< joined or computed columns the provider does not update
};

using Row = std::vector<Variant>;

struct DataPacket {
  std::vector<FieldDef> fields;
  std::vector<Row> rows;

  //! Index of the field, case-insensitive; -1 when absent.
  int FieldIndex(std::string_view name) const;
};

//! A named, typed parameter of a provider.
struct TParam {
  std::string name;
  FieldType type = FieldType::String;
  Variant value;

  void SetAsInteger(int64_t v) { type = FieldType::Integer; value = Variant(v); }
  void SetAsDate(TDateTime v) { type = FieldType::Date; value = Variant(v); }
  void SetAsDateTime(TDateTime v) { type = FieldType::DateTime; value = Variant(v); }
  void SetAsString(std::string v) { type = FieldType::String; value = Variant(std::move(v)); }
  void Clear() { value = Variant(); }
  int32_t AsInteger() const { return value.AsInteger(); }
  std::string AsString() const { return value.AsString(); }
  TDateTime AsDateTime() const { return value.AsDateTime(); }
  bool IsNull() const { return value.IsNull(); }
};

class Params {
 public:
  //! Case-insensitive; nullptr when absent.
  TParam* Find(std::string_view name);
  const TParam* Find(std::string_view name) const;
  //! Throws EClientError "Parameter '%s' niet gevonden" when absent.
  TParam& ParamByName(std::string_view name);
  const TParam& ParamByName(std::string_view name) const;
  //! Adds a parameter or, when one of that name exists, returns it.
  TParam& Add(std::string_view name, FieldType type = FieldType::String);
  int Count() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  TParam& operator[](int index) { return items_.at(index); }
  const TParam& operator[](int index) const { return items_.at(index); }
  void Clear() { items_.clear(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<TParam> items_;
};

enum class DeltaKind { Insert, Modify, Delete };

struct DeltaRow {
  DeltaKind kind = DeltaKind::Modify;
  Row original;  //!< values as fetched (empty for an insert)
  Row current;   //!< values to store (empty for a delete)
};

struct Delta {
  std::vector<FieldDef> fields;  //!< the data fields, in the order of the rows' values
  std::vector<DeltaRow> rows;
};

struct ApplyError {
  int row = 0;  //!< index into Delta::rows
  std::string message;
};

struct ApplyResult {
  int errorCount = 0;
  bool rolledBack = false;  //!< more errors than allowed: nothing was stored
  std::vector<ApplyError> errors;
};

//! The ordered, typed values a job receives (integers, date-times, texts, booleans).
struct JobData {
  std::vector<Variant> values;
  bool IsEmpty() const { return values.empty(); }
};

}  // namespace quil
