// TField: one column of a client dataset, read and written through the dataset's current record.
//
// Kinds: data fields come from the provider's packet (or CreateDataSet); calculated fields are
// filled by the dataset's OnCalcFields; lookup fields show a value of another dataset found by key;
// bit fields are a boolean view of one bit of an integer field (reading tests the bit, writing sets
// or clears it in the integer field). Fields are owned by their dataset and live as long as it.
//
// Writing a value converts it to the field's type (a value that does not convert raises
// EClientError naming the field and leaves the old value), runs OnValidate (which may throw; the
// old value is then kept), stores it, runs OnChange, and has the dataset recalculate.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "host/base/Currency.h"
#include "host/base/DateTime.h"
#include "host/base/Variant.h"
#include "host/data/Packet.h"

namespace quil {

class TQuilClientDataSet;

enum class FieldKind { Data, Calculated, Lookup, Bit };

class TField {
 public:
  using Handler = std::function<void(TField&)>;

  TField(TQuilClientDataSet& dataset, FieldDef def, FieldKind kind);
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  TQuilClientDataSet& DataSet() const { return dataset_; }
  const std::string& FieldName() const { return def_.name; }
  FieldType DataType() const { return def_.type; }
  FieldKind Kind() const { return kind_; }
  const FieldDef& Def() const { return def_; }
  int Index() const { return index_; }
  int Size() const { return def_.size; }

  // Reading (null reads as 0, "", false, day 0).
  Variant Value() const;
  bool IsNull() const;
  int32_t AsInteger() const { return Value().AsInteger(); }
  int64_t AsLargeInt() const { return Value().AsLargeInt(); }
  double AsFloat() const { return Value().AsFloat(); }
  Currency AsCurrency() const { return Value().AsCurrency(); }
  std::string AsString() const;
  TDateTime AsDateTime() const { return Value().AsDateTime(); }
  bool AsBoolean() const { return Value().AsBoolean(); }
  //! The text a grid or editor shows: dates dd/mm/yyyy (with the time when there is one), times
  //! hh:nn, numbers with the decimal comma, booleans "Ja"/"Nee".
  std::string DisplayText() const;
  //! The display text of any value of this field, e.g. of another record than the current one
  //! (a grid row); the same rules as DisplayText.
  std::string DisplayTextOf(const Variant& value) const;
  //! The value as it was fetched, for a record changed since (null for an inserted record).
  Variant OldValue() const;

  // Writing: the dataset must be in edit or insert state (calc state for calculated fields).
  void SetValue(const Variant& value);
  void SetAsInteger(int64_t v) { SetValue(Variant(v)); }
  void SetAsLargeInt(int64_t v) { SetValue(Variant(v)); }
  void SetAsFloat(double v) { SetValue(Variant(v)); }
  void SetAsCurrency(Currency v) { SetValue(Variant(v)); }
  void SetAsString(std::string_view v) { SetValue(Variant(v)); }
  void SetAsDateTime(TDateTime v) { SetValue(Variant(v)); }
  void SetAsBoolean(bool v) { SetValue(Variant(v)); }
  void Clear() { SetValue(Variant()); }

  // Presentation.
  std::string DisplayLabel;  //!< caption of grid columns and editors; the field name when empty
  bool Visible = true;
  bool ReadOnly = false;
  bool Required = false;
  int DisplayWidth = 0;
  std::string DisplayFormat;  //!< FormatFloat/FormatDateTime pattern for DisplayText
  const std::string& Label() const { return DisplayLabel.empty() ? def_.name : DisplayLabel; }

  Handler OnValidate;
  Handler OnChange;

  // Lookup fields: KeyFields of this dataset matched against LookupKeyFields of LookupDataSet;
  // the value is LookupResultField of the record found.
  std::string KeyFields;
  TQuilClientDataSet* LookupDataSet = nullptr;
  std::string LookupKeyFields;
  std::string LookupResultField;

  // Bit fields: bit `BitIndex` of the integer field `BitOfField`.
  std::string BitOfField;
  int BitIndex = 0;

 private:
  friend class TQuilClientDataSet;
  //! Converts to this field's storage type; throws EClientError naming the field.
  Variant Coerce(const Variant& value) const;
  Variant ReadRaw() const;

  TQuilClientDataSet& dataset_;
  FieldDef def_;
  FieldKind kind_;
  int index_ = -1;      //!< slot in the record (data and calculated fields), -1 for lookup and bit
  int bitSource_ = -1;  //!< field index of BitOfField, resolved when the dataset opens
};

}  // namespace quil
