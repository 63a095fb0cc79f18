#include "host/forms/DBControls.h"

#include "host/base/Errors.h"
#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/forms/QuilForm.h"

namespace quil {

namespace {

TQuilClientDataSet* DataSetOf(TDataSource* source) {
  TQuilClientDataSet* dataset = source != nullptr ? source->DataSet() : nullptr;
  return dataset != nullptr && dataset->Active() ? dataset : nullptr;
}

}  // namespace

TField* TDBControl::Field() const {
  TQuilClientDataSet* dataset = DataSetOf(DataSource);
  return dataset != nullptr ? dataset->FindField(DataField) : nullptr;
}

bool TDBControl::AcceptsValue() const {
  const TField* field = Field();
  return !ReadOnly && field != nullptr && !field->ReadOnly && !field->DataSet().ReadOnly &&
         !Form().IsReadOnly() && (DataSource == nullptr || DataSource->Enabled);
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
  SetValueText(Checked() ? "0" : "1");
  return true;
}

std::string TDBLookupCombo::DisplayText() const {
  const TField* field = Field();
  return field != nullptr ? LookupDisplayText(ListSource, KeyField, field->Value(), ListField) : "";
}

std::string TDBLookupCombo::ValueText() const {
  const TField* field = Field();
  return field != nullptr ? field->AsString() : "";
}

void TDBLookupCombo::SetValueText(std::string_view text) {
  TQuilClientDataSet* list = DataSetOf(ListSource);
  if (!text.empty()) {
    if (list == nullptr) RaiseClientError("De keuzelijst is niet geopend");
    Variant key(text);
    int64_t number = 0;
    if (IsNumericType(list->FieldByName(KeyField).DataType()) && TryStrToInt(text, number)) {
      key = Variant(number);
    }
    if (list->Lookup(KeyField, key, KeyField).IsNull()) {
      RaiseClientError(Format("'%s' komt niet voor in de lijst", text));
    }
    BeginChange().SetValue(key);
    return;
  }
  BeginChange().Clear();
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

bool TDBGrid::AcceptsValue() const {
  return DataSetOf(DataSource) != nullptr;
}

std::string TDBGrid::ValueText() const {
  TQuilClientDataSet* dataset = DataSetOf(DataSource);
  return IntToStr(dataset != nullptr ? dataset->RecNo() : 0);
}

void TDBGrid::SetValueText(std::string_view text) {
  TQuilClientDataSet* dataset = DataSetOf(DataSource);
  int64_t recNo = 0;
  if (dataset == nullptr || !TryStrToInt(text, recNo) || recNo < 1 ||
      recNo > dataset->RecordCount()) {
    RaiseClientError(Format("Record %s bestaat niet", text));
  }
  dataset->SetRecNo(static_cast<int>(recNo));
}

}  // namespace quil
