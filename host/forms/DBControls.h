// Data-aware controls: editors bound to a field of a data source's current record, and the data
// grid that shows a data source's records.
//
// An editor reads its field when asked and writes the user's value into the current record:
// a dataset in browse state is put in edit first, when the form allows it (its read-only flag and
// QuilDBFormCanEdit). The value goes through the field's conversion and OnValidate, so a value that
// does not fit raises a client error and leaves the record as it was.
#pragma once

#include <optional>
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
  //! Caption, or else the field's label (declared fields have theirs before the dataset opens).
  std::string DisplayCaption() const override;

  //! Takes a value while the user may change the field now: the control and the field are
  //! writable, the field is not one the host fills (the key, a field copied from the master), and
  //! the form allows editing the record (its rights and QuilDBFormCanEdit) unless it is already
  //! being edited or inserted.
  bool AcceptsValue() const override;
  //! source, dataField, field and readOnly; each kind adds its value.
  void Describe(TDescription& out) override;

 protected:
  //! Puts the dataset in edit (when the form allows it) and returns the field to write.
  TField& BeginChange();
};

//! Value: the field's display text; setting it writes the text ("" clears the field).
class TDBEdit : public TDBControl {
 public:
  using TDBControl::TDBControl;
  const char* ClassName() const override { return "TDBEdit"; }
  void Describe(TDescription& out) override;
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
  void Describe(TDescription& out) override;
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
  void Describe(TDescription& out) override;
  TDataSource* ListSource = nullptr;
  //! The full list the field's key resolves against; the ListSource when none (see Controls.h).
  TDataSource* ResolveSource = nullptr;
  std::string KeyField;
  std::string ListField;  //!< the list fields shown, ";"-separated
  std::string DisplayText() const;
  std::string ValueText() const override;
  //! Throws EClientError when the key is neither the stored one nor offered by the list.
  void SetValueText(std::string_view text) override;
};

//! Binds a data-aware control to a field of a data source. Without a caption of its own the
//! control shows the field's label.
template <class T>
T& BindField(T& control, TDataSource& source, std::string field, std::string caption = {}) {
  control.DataSource = &source;
  control.DataField = std::move(field);
  control.Caption = std::move(caption);
  return control;
}

//! Offers a list in a look-up control: the list's `keyField` is what the bound field stores,
//! `listFields` (";"-separated) are what the user sees of each record.
template <class T>
T& OfferList(T& control, TDataSource& list, std::string keyField, std::string listFields) {
  control.ListSource = &list;
  control.KeyField = std::move(keyField);
  control.ListField = std::move(listFields);
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

//! Rows a grid shows at once unless told otherwise, and at most.
inline constexpr int kDefaultPageSize = 50;
inline constexpr int kMaxPageSize = 500;

//! Value: the current record number (1-based, 0 when empty); setting it moves to that record.
//! A grid with MultiSelect also takes the rows the user picked, in the order picked, joined with
//! ";" ("4;2;7"): it moves to the last of them.
//!
//! A grid never describes a whole list: it shows one window of rows, by default the page that
//! holds the current record. The window stays where the user put it (ScrollTo) until the current
//! record moves out of it.
class TDBGrid : public TControl {
 public:
  using TControl::TControl;
  const char* ClassName() const override { return "TDBGrid"; }
  //! source, columns, the window (count, recNo, top, pageSize, rows) and the grid's flags.
  void Describe(TDescription& out) override;
  //! The rows [top, top + count) with their record numbers and cell texts, as {rows, count, top}.
  TDescription DescribeRows(int top, int count) const;
  //! The user scrolls: the window starts at `top` (0-based) and, when `count` is given, shows
  //! that many rows (1..kMaxPageSize).
  void ScrollTo(int top, std::optional<int> count = std::nullopt);
  TDataSource* DataSource = nullptr;
  //! The columns shown; when empty, every visible field of the dataset.
  std::vector<TColumn> Columns;
  bool ReadOnly = true;
  bool MultiSelect = false;
  //! An integer field (usually calculated) whose value, 0xRRGGBB, is the text colour of its row;
  //! a row where it is null keeps the grid's colour.
  std::string FontColorField;
  //! An integer field (usually calculated) whose value, a stored colour (Colors.h), is the
  //! background of its row while the row is not the current one (the current row keeps the
  //! grid's highlight); a row where it is null keeps the grid's colour.
  std::string RowColorField;
  Notify OnDblClick;
  //! The rows picked (record numbers, in the order picked); the current record alone when the
  //! user picked none or the list changed since (a refetch, another order or filter).
  std::vector<int> SelectedRecNos() const;
  //! Columns as shown: the defined ones that are visible, or one per visible field.
  std::vector<TColumn> VisibleColumns() const;
  //! The title of a column as shown.
  std::string ColumnTitle(const TColumn& column) const;

  //! The user may change the field in its cell now: the grid is not read-only, a visible column
  //! that is not read-only shows it, and the field is writable as for a data-aware editor.
  bool EditsField(std::string_view fieldName) const;

  bool AcceptsValue() const override;
  std::string ValueText() const override;
  void SetValueText(std::string_view text) override;

 private:
  int top_ = 0;
  int pageSize_ = kDefaultPageSize;
  int lastRecNo_ = -1;  //!< the current record when last described; a move re-centres the window
  std::vector<int> selected_;
  uint64_t selectedVersion_ = 0;  //!< the dataset's version the picked rows belong to
};

//! A colour column paints its cells: integer fields whose name ends in KLEUR hold colours.
bool IsColourField(const TField& field);

}  // namespace quil
