// Data-aware controls: editors bound to a field of a data source's current record, and the data
// grid that shows a data source's records.
//
// An editor reads its field when asked and writes the user's value into the current record:
// a dataset in browse state is put in edit first, when the form allows it (its read-only flag and
// QuilDBFormCanEdit). The value goes through the field's conversion and OnValidate, so a value that
// does not fit raises a client error and leaves the record as it was.
#pragma once

#include <string>
#include <vector>

#include "host/forms/Controls.h"

namespace quil {

class TField;

class TDBControl : public TControl {
 public:
  using TControl::TControl;
  TDataSource* DataSource = nullptr;
  std::string DataField;
  bool ReadOnly = false;
  //! The bound field; nullptr while the dataset is closed or the field unknown.
  TField* Field() const;

  bool AcceptsValue() const override;

 protected:
  //! Puts the dataset in edit (when the form allows it) and returns the field to write.
  TField& BeginChange();
};

//! Value: the field's display text; setting it writes the text ("" clears the field).
class TDBEdit : public TDBControl {
 public:
  using TDBControl::TDBControl;
  const char* ClassName() const override { return "TDBEdit"; }
  //! When not empty, the only characters the user can type (e.g. NumericChars); a value with
  //! another character is refused with a client error.
  std::string AllowedChars;
  std::string ValueText() const override;
  void SetValueText(std::string_view text) override;
};

//! Value: "1" ticked, "0" not. Text fields store ValueChecked/ValueUnchecked, boolean fields
//! true/false, integer fields 1/0.
class TDBCheckBox : public TDBControl {
 public:
  using TDBControl::TDBControl;
  const char* ClassName() const override { return "TDBCheckBox"; }
  std::string ValueChecked = "+";
  std::string ValueUnchecked = "-";
  bool Checked() const;
  std::string ValueText() const override { return Checked() ? "1" : "0"; }
  void SetValueText(std::string_view text) override;
  bool Click() override;
};

//! A field holding the key of a record of a list. Value: the key as text, "" for none.
class TDBLookupCombo : public TDBControl {
 public:
  using TDBControl::TDBControl;
  const char* ClassName() const override { return "TDBLookupCombo"; }
  TDataSource* ListSource = nullptr;
  std::string KeyField;
  std::string ListField;  //!< the list fields shown, ";"-separated
  std::string DisplayText() const;
  std::string ValueText() const override;
  //! Throws EClientError when no record of the list has the key.
  void SetValueText(std::string_view text) override;
};

//! Binds a data-aware control to a field of a data source and gives it the label the user sees.
template <class T>
T& BindField(T& control, TDataSource& source, std::string field, std::string caption) {
  control.DataSource = &source;
  control.DataField = std::move(field);
  control.Caption = std::move(caption);
  return control;
}

struct TColumn {
  std::string FieldName;
  std::string Title;  //!< the field's display label when empty
  int Width = 0;
  bool Visible = true;
  bool ReadOnly = false;
  int32_t Color = clDefault;
};

//! Value: the current record number (1-based, 0 when empty); setting it moves to that record.
class TDBGrid : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TDBGrid"; }
  TDataSource* DataSource = nullptr;
  //! The columns shown; when empty, every visible field of the dataset.
  std::vector<TColumn> Columns;
  bool ReadOnly = true;
  bool MultiSelect = false;
  Notify OnDblClick;
  //! Columns as shown: the defined ones that are visible, or one per visible field.
  std::vector<TColumn> VisibleColumns() const;
  //! The title of a column as shown.
  std::string ColumnTitle(const TColumn& column) const;

  bool AcceptsValue() const override;
  std::string ValueText() const override;
  void SetValueText(std::string_view text) override;
};

}  // namespace quil
