#include "host/forms/Description.h"

#include <algorithm>
#include <cstdio>

#include "host/data/DataSource.h"
#include "host/data/Field.h"
#include "host/forms/Colors.h"
#include "host/forms/Controls.h"

namespace quil {

namespace {

//! Position of a field in the rows RowAt returns.
int RowPosition(const TQuilClientDataSet& dataset, const TField& field) {
  for (int i = 0; i < dataset.FieldCount(); ++i) {
    if (&dataset.Fields(i) == &field) return i;
  }
  return -1;
}

}  // namespace

TDescription::TDescription(const std::vector<std::string>& texts) : value_(List{}) {
  auto& items = std::get<List>(value_);
  items.reserve(texts.size());
  for (const std::string& text : texts) items.emplace_back(text);
}

TDescription& TDescription::Set(std::string_view name, TDescription value) {
  if (IsNull()) value_ = Properties{};
  auto& properties = std::get<Properties>(value_);
  for (auto& [key, existing] : properties) {
    if (key == name) {
      existing = std::move(value);
      return *this;
    }
  }
  properties.emplace_back(std::string(name), std::move(value));
  return *this;
}

TDescription& TDescription::Add(TDescription item) {
  if (IsNull()) value_ = List{};
  std::get<List>(value_).push_back(std::move(item));
  return *this;
}

const TDescription* TDescription::Find(std::string_view name) const {
  const auto* properties = std::get_if<Properties>(&value_);
  if (properties == nullptr) return nullptr;
  for (const auto& [key, value] : *properties) {
    if (key == name) return &value;
  }
  return nullptr;
}

const char* FieldTypeKey(FieldType type) {
  switch (type) {
    case FieldType::String:
      return "string";
    case FieldType::Integer:
      return "integer";
    case FieldType::LargeInt:
      return "largeint";
    case FieldType::Float:
      return "float";
    case FieldType::Currency:
      return "currency";
    case FieldType::Boolean:
      return "boolean";
    case FieldType::Date:
      return "date";
    case FieldType::Time:
      return "time";
    case FieldType::DateTime:
      return "datetime";
    case FieldType::Memo:
      return "memo";
    case FieldType::Blob:
      return "blob";
  }
  return "string";
}

const char* StateName(DataSetState state) {
  switch (state) {
    case DataSetState::Inactive:
      return "inactive";
    case DataSetState::Browse:
      return "browse";
    case DataSetState::Edit:
      return "edit";
    case DataSetState::Insert:
      return "insert";
    case DataSetState::CalcFields:
      return "calc";
  }
  return "inactive";
}

TDescription ControlColor(int32_t color) {
  if (color == clDefault) return nullptr;
  // A system colour (clBtnFace for a read-only editor) is drawn in the host's palette.
  if (IsSystemColor(color)) return ColorToHtml(color);
  if (color < 0) return nullptr;  // not a colour
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(color) & 0xFFFFFFu);
  return text;
}

TDescription DescribeField(const TField& field) {
  TDescription out;
  out.Set("name", field.FieldName());
  out.Set("label", field.Label());
  out.Set("type", FieldTypeKey(field.DataType()));
  out.Set("size", field.Size());
  out.Set("required", field.Required);
  out.Set("readOnly", field.ReadOnly);
  return out;
}

TDescription DescribeChoices(TDataSource* list, const std::string& keyField,
                             const std::string& shownFields) {
  TDescription items = TDescription::List{};
  TQuilClientDataSet* dataset = list != nullptr ? list->DataSet() : nullptr;
  if (dataset == nullptr || !dataset->Active()) return items;
  TField* key = dataset->FindField(keyField);
  if (key == nullptr) return items;
  std::vector<std::pair<TField*, int>> shown;
  size_t start = 0;
  while (start <= shownFields.size()) {
    size_t end = shownFields.find(';', start);
    if (end == std::string::npos) end = shownFields.size();
    if (TField* field = dataset->FindField(shownFields.substr(start, end - start))) {
      shown.emplace_back(field, RowPosition(*dataset, *field));
    }
    start = end + 1;
  }
  const int keyPosition = RowPosition(*dataset, *key);
  const int count = std::min(dataset->RecordCount(), kMaxChoices);
  for (int position = 0; position < count; ++position) {
    Row row = dataset->RowAt(position);
    std::string text;
    for (const auto& [field, at] : shown) {
      if (!text.empty()) text += " - ";
      text += field->DisplayTextOf(row[at]);
    }
    TDescription item;
    item.Set("key", row[keyPosition].AsString());
    item.Set("text", text);
    items.Add(std::move(item));
  }
  return items;
}

}  // namespace quil
