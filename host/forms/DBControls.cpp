#include "host/forms/DBControls.h"

#include <algorithm>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/forms/Description.h"
#include "host/forms/QuilForm.h"

namespace quil {

namespace {

TQuilClientDataSet* DataSetOf(TDataSource* source) {
  TQuilClientDataSet* dataset = source != nullptr ? source->DataSet() : nullptr;
  return dataset != nullptr && dataset->Active() ? dataset : nullptr;
}

//! Whether the user may write the field now: nothing makes it read-only (the field, its dataset,
//! the form), the host does not fill it (key, master fields), and the form allows the change:
//! a record being edited or inserted takes it, one in browse only when the user may edit.
bool UserMayWrite(TQuilForm& form, const TDataSource* source, TField& field) {
  TQuilClientDataSet& dataset = field.DataSet();
  if (field.ReadOnly || dataset.ReadOnly || form.IsReadOnly()) return false;
  if (source != nullptr && !source->Enabled) return false;
  if (dataset.IsHostFilledField(field.FieldName())) return false;
  const DataSetState state = dataset.State();
  return state == DataSetState::Edit || state == DataSetState::Insert || form.AllowEdit(dataset);
}

}  // namespace

TField* TDBControl::Field() const {
  TQuilClientDataSet* dataset = DataSetOf(DataSource);
  return dataset != nullptr ? dataset->FindField(DataField) : nullptr;
}

std::string TDBControl::DisplayCaption() const {
  if (!Caption.empty()) return Caption;
  TQuilClientDataSet* dataset = DataSource != nullptr ? DataSource->DataSet() : nullptr;
  const TField* field = dataset != nullptr ? dataset->FindField(DataField) : nullptr;
  return field != nullptr ? field->Label() : DataField;
}

bool TDBControl::AcceptsValue() const {
  TField* field = Field();
  return !ReadOnly && field != nullptr && UserMayWrite(Form(), DataSource, *field);
}

TField& TDBControl::BeginChange() {
  TField* field = Field();
  if (field == nullptr) RaiseClientError(Format("Veld '%s' is niet beschikbaar", DataField));
  Form().StartEdit(field->DataSet());
  return *field;
}

std::string TDBEdit::ValueText() const {
  const TField* field = Field();
  return field != nullptr ? field->DisplayText() : "";
}

void TDBEdit::SetValueText(std::string_view text) {
  if (!AllowedChars.empty() && text.find_first_not_of(AllowedChars) != std::string_view::npos) {
    const TField* field = Field();
    RaiseClientError(Format("In '%s' kunnen enkel deze tekens getypt worden: %s",
                            field != nullptr ? field->Label() : DataField, AllowedChars));
  }
  TField& field = BeginChange();
  if (text.empty()) {
    field.Clear();
  } else {
    field.SetAsString(text);
  }
}

bool TDBCheckBox::Checked() const {
  const TField* field = Field();
  if (field == nullptr || field->IsNull()) return false;
  if (IsTextType(field->DataType())) return field->AsString() == ValueChecked;
  return field->AsBoolean();
}

void TDBCheckBox::SetValueText(std::string_view text) {
  bool checked = text == "1" || text == "+" || SameText(text, "true");
  TField& field = BeginChange();
  if (IsTextType(field.DataType())) {
    field.SetAsString(checked ? ValueChecked : ValueUnchecked);
  } else if (field.DataType() == FieldType::Boolean) {
    field.SetAsBoolean(checked);
  } else {
    field.SetAsInteger(checked ? 1 : 0);
  }
}

bool TDBCheckBox::Click() {
  if (!AcceptsValue()) return false;
  SetValueText(Checked() ? "0" : "1");
  return true;
}

std::string TDBLookupCombo::DisplayText() const {
  const TField* field = Field();
  return field != nullptr
             ? LookupDisplayText(ResolveSource, ListSource, KeyField, field->Value(), ListField)
             : "";
}

std::string TDBLookupCombo::ValueText() const {
  const TField* field = Field();
  return field != nullptr ? field->AsString() : "";
}

void TDBLookupCombo::SetValueText(std::string_view text) {
  const TField* field = Field();
  const Variant key = LookupChoice(ListSource, KeyField, text, field ? field->Value() : Variant());
  TField& target = BeginChange();
  if (key.IsNull()) {
    target.Clear();
  } else {
    target.SetValue(key);
  }
}

std::vector<TColumn> TDBGrid::VisibleColumns() const {
  std::vector<TColumn> shown;
  if (!Columns.empty()) {
    for (const TColumn& column : Columns) {
      if (column.Visible) shown.push_back(column);
    }
    return shown;
  }
  TQuilClientDataSet* dataset = DataSource != nullptr ? DataSource->DataSet() : nullptr;
  if (dataset == nullptr) return shown;
  for (int i = 0; i < dataset->FieldCount(); ++i) {
    const TField& field = dataset->Fields(i);
    if (field.Visible) shown.push_back({field.FieldName(), ""});
  }
  return shown;
}

std::string TDBGrid::ColumnTitle(const TColumn& column) const {
  if (!column.Title.empty()) return column.Title;
  TQuilClientDataSet* dataset = DataSource != nullptr ? DataSource->DataSet() : nullptr;
  TField* field = dataset != nullptr ? dataset->FindField(column.FieldName) : nullptr;
  return field != nullptr ? field->Label() : column.FieldName;
}

bool TDBGrid::EditsField(std::string_view fieldName) const {
  TQuilClientDataSet* dataset = DataSetOf(DataSource);
  TField* field = dataset != nullptr ? dataset->FindField(fieldName) : nullptr;
  if (ReadOnly || field == nullptr) return false;
  for (const TColumn& column : VisibleColumns()) {
    if (SameText(column.FieldName, fieldName) && !column.ReadOnly) {
      return UserMayWrite(Form(), DataSource, *field);
    }
  }
  return false;
}

bool TDBGrid::AcceptsValue() const {
  return DataSetOf(DataSource) != nullptr;
}

std::string TDBGrid::ValueText() const {
  TQuilClientDataSet* dataset = DataSetOf(DataSource);
  return IntToStr(dataset != nullptr ? dataset->RecNo() : 0);
}

void TDBGrid::SetValueText(std::string_view text) {
  TQuilClientDataSet* dataset = DataSetOf(DataSource);
  std::vector<int> picked;
  std::string_view rest = text;
  while (true) {
    const size_t end = MultiSelect ? rest.find(';') : std::string_view::npos;
    const std::string_view item = rest.substr(0, end);
    int64_t recNo = 0;
    if (dataset == nullptr || !TryStrToInt(item, recNo) || recNo < 1 ||
        recNo > dataset->RecordCount()) {
      RaiseClientError(Format("Record %s bestaat niet", EchoText(item)));
    }
    if (std::find(picked.begin(), picked.end(), recNo) == picked.end()) {
      picked.push_back(static_cast<int>(recNo));
    }
    if (end == std::string_view::npos) break;
    rest = rest.substr(end + 1);
  }
  dataset->SetRecNo(picked.back());
  selected_ = MultiSelect ? picked : std::vector<int>{};
  selectedVersion_ = dataset->Version();
}

std::vector<int> TDBGrid::SelectedRecNos() const {
  TQuilClientDataSet* dataset = DataSetOf(DataSource);
  if (dataset == nullptr || !dataset->Active() || dataset->IsEmpty()) return {};
  if (selected_.empty() || selectedVersion_ != dataset->Version()) return {dataset->RecNo()};
  return selected_;
}

// --- descriptions ---------------------------------------------------------------------------

void TDBControl::Describe(TDescription& out) {
  out.Set("source", DataSource != nullptr ? DataSource->Name : "");
  out.Set("dataField", DataField);
  if (TField* field = Field()) out.Set("field", DescribeField(*field));
  out.Set("readOnly", !AcceptsValue());
}

void TDBEdit::Describe(TDescription& out) {
  TDBControl::Describe(out);
  out.Set("value", Field() != nullptr ? ValueText() : "");
  if (!AllowedChars.empty()) out.Set("allowedChars", AllowedChars);
}

void TDBCheckBox::Describe(TDescription& out) {
  TDBControl::Describe(out);
  out.Set("checked", Field() != nullptr && Safely([&] { return Checked(); }, false));
}

void TDBLookupCombo::Describe(TDescription& out) {
  TDBControl::Describe(out);
  const bool bound = Field() != nullptr;
  out.Set("value", bound ? ValueText() : "");
  out.Set("display", bound ? DisplayText() : "");
  out.Set("items", DescribeChoices(ListSource, KeyField, ListField));
}

bool IsColourField(const TField& field) {
  const std::string name = UpperCaseAscii(field.FieldName());
  return field.DataType() == FieldType::Integer && name.size() >= 5 &&
         name.compare(name.size() - 5, 5, "KLEUR") == 0;
}

void TDBGrid::ScrollTo(int top, std::optional<int> count) {
  top_ = std::max(0, top);
  if (count) pageSize_ = std::clamp(*count, 1, kMaxPageSize);
}

void TDBGrid::Describe(TDescription& out) {
  TQuilClientDataSet* dataset = DataSource != nullptr ? DataSource->DataSet() : nullptr;
  out.Set("source", DataSource != nullptr ? DataSource->Name : "");
  out.Set("readOnly", ReadOnly);
  out.Set("multiSelect", MultiSelect);
  if (MultiSelect) {
    TDescription selected = TDescription::List{};
    for (int recNo : SelectedRecNos()) selected.Add(recNo);
    out.Set("selected", std::move(selected));
  }
  out.Set("dblClick", static_cast<bool>(OnDblClick));
  TDescription columns = TDescription::List{};
  if (dataset != nullptr) {
    for (const TColumn& column : VisibleColumns()) {
      TField* field = dataset->FindField(column.FieldName);
      TDescription c;
      c.Set("field", column.FieldName);
      c.Set("title", ColumnTitle(column));
      c.Set("width", column.Width);
      c.Set("readOnly", column.ReadOnly);
      c.Set("color", ControlColor(column.Color));
      if (field != nullptr) {
        c.Set("type", FieldTypeKey(field->DataType()));
        c.Set("colour", IsColourField(*field));
      }
      columns.Add(std::move(c));
    }
  }
  out.Set("columns", std::move(columns));
  if (dataset == nullptr || !dataset->Active()) {
    out.Set("count", 0);
    out.Set("recNo", 0);
    out.Set("top", 0);
    out.Set("rows", TDescription::List{});
    return;
  }
  const int count = dataset->RecordCount();
  const int recNo = dataset->RecNo();
  pageSize_ = std::clamp(pageSize_, 1, kMaxPageSize);
  const bool moved = recNo != lastRecNo_;
  const bool outside = recNo > 0 && (recNo <= top_ || recNo > top_ + pageSize_);
  if ((moved && outside) || top_ >= std::max(count, 1)) {
    top_ = recNo > 0 ? (recNo - 1) / pageSize_ * pageSize_ : 0;
  }
  top_ = std::clamp(top_, 0, std::max(0, count - 1));
  lastRecNo_ = recNo;
  out.Set("count", count);
  out.Set("recNo", recNo);
  out.Set("top", top_);
  out.Set("pageSize", pageSize_);
  TDescription rows = DescribeRows(top_, pageSize_);
  out.Set("rows", *rows.Find("rows"));
}

TDescription TDBGrid::DescribeRows(int top, int count) const {
  TDescription out;
  TDescription rows = TDescription::List{};
  TQuilClientDataSet* dataset = DataSource != nullptr ? DataSource->DataSet() : nullptr;
  if (dataset == nullptr || !dataset->Active()) {
    out.Set("rows", std::move(rows));
    out.Set("count", 0);
    return out;
  }
  struct Column {
    TField* field;
    int position;
    bool colour;
  };
  std::vector<Column> columns;
  for (const TColumn& column : VisibleColumns()) {
    TField* field = dataset->FindField(column.FieldName);
    int position = -1;
    for (int i = 0; field != nullptr && i < dataset->FieldCount(); ++i) {
      if (&dataset->Fields(i) == field) position = i;
    }
    columns.push_back({field, position, field != nullptr && IsColourField(*field)});
  }
  int fontColor = -1;
  int rowColor = -1;
  for (int i = 0; i < dataset->FieldCount(); ++i) {
    const std::string& name = dataset->Fields(i).FieldName();
    if (!FontColorField.empty() && SameText(name, FontColorField)) fontColor = i;
    if (!RowColorField.empty() && SameText(name, RowColorField)) rowColor = i;
  }
  const int total = dataset->RecordCount();
  top = std::clamp(top, 0, std::max(0, total));
  const int end = std::min(total, top + std::clamp(count, 0, kMaxPageSize));
  for (int position = top; position < end; ++position) {
    Row row = dataset->RowAt(position);
    TDescription cells = TDescription::List{};
    TDescription colours;
    for (size_t i = 0; i < columns.size(); ++i) {
      const Column& column = columns[i];
      if (column.field == nullptr || column.position < 0) {
        cells.Add("");
        continue;
      }
      const Variant& value = row[column.position];
      if (column.colour) {
        cells.Add("");
        if (!value.IsNull()) {
          colours.Set(std::to_string(i), ColorToHtml(static_cast<TColor>(value.AsLargeInt())));
        }
      } else {
        cells.Add(column.field->DisplayTextOf(value));
      }
    }
    TDescription line;
    line.Set("recNo", position + 1);
    line.Set("cells", std::move(cells));
    if (!colours.IsNull()) line.Set("colours", std::move(colours));
    if (fontColor >= 0 && !row[fontColor].IsNull()) {
      line.Set("color", ControlColor(static_cast<int32_t>(row[fontColor].AsInteger())));
    }
    if (rowColor >= 0 && !row[rowColor].IsNull()) {
      line.Set("background", ColorToHtml(static_cast<TColor>(row[rowColor].AsInteger())));
    }
    rows.Add(std::move(line));
  }
  out.Set("rows", std::move(rows));
  out.Set("count", total);
  out.Set("top", top);
  return out;
}

}  // namespace quil
