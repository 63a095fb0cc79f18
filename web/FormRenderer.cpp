#include "web/FormRenderer.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/data/DataSource.h"
#include "host/data/Field.h"
#include "host/forms/Colors.h"
#include "host/forms/SelectGemeenteFrame.h"

namespace quil::web {

namespace {

using nlohmann::json;

//! Position of each field in the rows RowAt returns.
int RowPosition(const TQuilClientDataSet& dataset, const TField& field) {
  for (int i = 0; i < dataset.FieldCount(); ++i) {
    if (&dataset.Fields(i) == &field) return i;
  }
  return -1;
}

//! A colour column paints its cells: integer fields whose name ends in KLEUR hold colours.
bool IsColourField(const TField& field) {
  const std::string name = UpperCaseAscii(field.FieldName());
  return field.DataType() == FieldType::Integer && name.size() >= 5 &&
         name.compare(name.size() - 5, 5, "KLEUR") == 0;
}

template <class Fn>
auto Safely(Fn fn, decltype(fn()) fallback) -> decltype(fn()) {
  // A screen's own rule (QuilDBFormCanEdit, a calculated field) must not break the drawing.
  try {
    return fn();
  } catch (const std::exception&) {
    return fallback;
  }
}

json FieldJson(const TField& field) {
  return {{"name", field.FieldName()},
          {"label", field.Label()},
          {"type", FieldTypeKey(field.DataType())},
          {"size", field.Size()},
          {"required", field.Required},
          {"readOnly", field.ReadOnly}};
}

//! Up to kMaxChoices records of a list as {key, text}; `shown` are the fields joined with " - ".
json Choices(TDataSource* list, const std::string& keyField, const std::string& shownFields) {
  json items = json::array();
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
    items.push_back({{"key", row[keyPosition].AsString()}, {"text", text}});
  }
  return items;
}

json SourceJson(TQuilForm& form, TDataSource& source, bool main) {
  json out = {{"name", source.Name}, {"main", main}, {"enabled", source.Enabled}};
  TQuilClientDataSet* dataset = source.DataSet();
  if (dataset == nullptr) {
    out["state"] = StateName(DataSetState::Inactive);
    return out;
  }
  out["state"] = StateName(dataset->State());
  out["dataset"] = dataset->Name;
  out["readOnly"] = dataset->ReadOnly || form.IsReadOnly();
  if (dataset->Active()) {
    out["recNo"] = dataset->RecNo();
    out["count"] = dataset->RecordCount();
    out["modified"] = dataset->Modified();
    out["changeCount"] = dataset->ChangeCount();
    out["canInsert"] = Safely([&] { return form.AllowInsert(*dataset); }, false);
    out["canEdit"] = Safely([&] { return form.AllowEdit(*dataset); }, false);
    out["canDelete"] = Safely([&] { return form.AllowDelete(*dataset); }, false);
  }
  return out;
}

void RenderGrid(const TDBGrid& grid, json& out, GridWindows& windows) {
  TQuilClientDataSet* dataset = grid.DataSource != nullptr ? grid.DataSource->DataSet() : nullptr;
  out["source"] = grid.DataSource != nullptr ? grid.DataSource->Name : "";
  out["readOnly"] = grid.ReadOnly;
  out["multiSelect"] = grid.MultiSelect;
  out["dblClick"] = static_cast<bool>(grid.OnDblClick);
  json columns = json::array();
  if (dataset != nullptr) {
    for (const TColumn& column : grid.VisibleColumns()) {
      TField* field = dataset->FindField(column.FieldName);
      json c = {{"field", column.FieldName},
                {"title", grid.ColumnTitle(column)},
                {"width", column.Width},
                {"readOnly", column.ReadOnly},
                {"color", CssColor(column.Color)}};
      if (field != nullptr) {
        c["type"] = FieldTypeKey(field->DataType());
        c["colour"] = IsColourField(*field);
      }
      columns.push_back(std::move(c));
    }
  }
  out["columns"] = std::move(columns);
  if (dataset == nullptr || !dataset->Active()) {
    out["count"] = 0;
    out["recNo"] = 0;
    out["top"] = 0;
    out["rows"] = json::array();
    return;
  }
  const int count = dataset->RecordCount();
  const int recNo = dataset->RecNo();
  GridWindow& window = windows[UpperCaseAscii(grid.Name())];
  window.count = std::clamp(window.count, 1, kMaxPageSize);
  const bool moved = recNo != window.lastRecNo;
  const bool outside = recNo > 0 && (recNo <= window.top || recNo > window.top + window.count);
  if ((moved && outside) || window.top >= std::max(count, 1)) {
    window.top = recNo > 0 ? (recNo - 1) / window.count * window.count : 0;
  }
  window.top = std::clamp(window.top, 0, std::max(0, count - 1));
  window.lastRecNo = recNo;
  out["count"] = count;
  out["recNo"] = recNo;
  out["top"] = window.top;
  out["pageSize"] = window.count;
  out["rows"] = RenderRows(grid, window.top, window.count)["rows"];
}

json ControlJson(const TControl& control, GridWindows& windows) {
  json out = {{"name", control.Name()},          {"kind", control.ClassName()},
              {"caption", control.Caption},      {"hint", control.Hint},
              {"enabled", control.Enabled},      {"visible", control.Visible},
              {"color", CssColor(control.Color)}};
  if (control.Action != nullptr) out["action"] = control.Action->Name();

  if (auto* pages = dynamic_cast<const TPageControl*>(&control)) {
    out["active"] = pages->ActivePageIndex();
  } else if (auto* sheet = dynamic_cast<const TTabSheet*>(&control)) {
    out["tabVisible"] = sheet->TabVisible;
  } else if (auto* button = dynamic_cast<const TButton*>(&control)) {
    out["default"] = button->Default;
    out["cancel"] = button->Cancel;
    out["modalResult"] = static_cast<int>(button->ModalResult);
  } else if (auto* check = dynamic_cast<const TCheckBox*>(&control)) {
    out["checked"] = check->Checked();
  } else if (auto* radio = dynamic_cast<const TRadioGroup*>(&control)) {
    out["items"] = radio->Items;
    out["index"] = radio->ItemIndex();
  } else if (auto* edit = dynamic_cast<const TEdit*>(&control)) {
    out["value"] = edit->Text();
    out["maxLength"] = edit->MaxLength;
    out["readOnly"] = edit->ReadOnly;
  } else if (dynamic_cast<const TDateEdit*>(&control) || dynamic_cast<const TTimeEdit*>(&control) ||
             dynamic_cast<const TColorButton*>(&control)) {
    out["value"] = control.ValueText();
  } else if (auto* combo = dynamic_cast<const TComboBox*>(&control)) {
    out["items"] = combo->Items;
    out["index"] = combo->ItemIndex();
    out["value"] = combo->Text();
    out["free"] = combo->Style == TComboBoxStyle::csDropDown;
  } else if (auto* list = dynamic_cast<const TCheckListBox*>(&control)) {
    out["items"] = list->Items();
    json checked = json::array();
    for (size_t i = 0; i < list->Items().size(); ++i) {
      checked.push_back(list->Checked(static_cast<int>(i)));
    }
    out["checked"] = std::move(checked);
  } else if (auto* lookup = dynamic_cast<const TLookupCombo*>(&control)) {
    out["value"] = lookup->ValueText();
    out["display"] = lookup->DisplayText();
    out["items"] = Choices(lookup->ListSource, lookup->KeyField, lookup->ListFields);
    if (auto* search = dynamic_cast<const TSearchControl*>(&control)) {
      out["searchText"] = search->SearchText();
    }
  } else if (auto* strings = dynamic_cast<const TStringGrid*>(&control)) {
    out["fixedCols"] = strings->FixedCols;
    out["fixedRows"] = strings->FixedRows;
    out["col"] = strings->Col();
    out["row"] = strings->Row();
    json cells = json::array();
    for (int row = 0; row < strings->RowCount(); ++row) {
      json line = json::array();
      for (int col = 0; col < strings->ColCount(); ++col) line.push_back(strings->Cell(col, row));
      cells.push_back(std::move(line));
    }
    out["cells"] = std::move(cells);
  } else if (auto* bar = dynamic_cast<const TProgressBar*>(&control)) {
    out["min"] = bar->Min;
    out["max"] = bar->Max;
    out["position"] = bar->Position;
  } else if (auto* planner = dynamic_cast<const TPlanner*>(&control)) {
    out["year"] = planner->Year();
    out["month"] = planner->Month();
    json items = json::array();
    for (const TPlanner::Item& item : planner->Items) {
      items.push_back(
          {{"date", DateToStr(item.date)}, {"text", item.text}, {"color", CssColor(item.color)}});
    }
    out["items"] = std::move(items);
    out["picked"] = planner->ValueText();
  } else if (auto* grid = dynamic_cast<const TDBGrid*>(&control)) {
    RenderGrid(*grid, out, windows);
  } else if (auto* db = dynamic_cast<const TDBControl*>(&control)) {
    out["source"] = db->DataSource != nullptr ? db->DataSource->Name : "";
    out["dataField"] = db->DataField;
    TField* field = db->Field();
    if (field != nullptr) out["field"] = FieldJson(*field);
    out["readOnly"] = !db->AcceptsValue();
    if (auto* box = dynamic_cast<const TDBCheckBox*>(&control)) {
      out["checked"] = field != nullptr && Safely([&] { return box->Checked(); }, false);
    } else if (auto* frame = dynamic_cast<const TSelectGemeenteFrame*>(&control)) {
      out["value"] = field != nullptr ? frame->ValueText() : "";
      out["display"] = field != nullptr ? frame->DisplayText() : "";
      out["searchText"] = frame->SearchText();
      json items = json::array();
      for (const TSelectGemeenteFrame::Choice& choice : frame->Matches(kMaxChoices)) {
        items.push_back({{"key", std::to_string(choice.key)}, {"text", choice.text}});
      }
      out["items"] = std::move(items);
    } else if (auto* combo = dynamic_cast<const TDBLookupCombo*>(&control)) {
      out["value"] = field != nullptr ? combo->ValueText() : "";
      out["display"] = field != nullptr ? combo->DisplayText() : "";
      out["items"] = Choices(combo->ListSource, combo->KeyField, combo->ListField);
    } else {
      out["value"] = field != nullptr ? db->ValueText() : "";
      auto* edit = dynamic_cast<const TDBEdit*>(&control);
      if (edit != nullptr && !edit->AllowedChars.empty()) out["allowedChars"] = edit->AllowedChars;
    }
  }

  json children = json::array();
  for (const TControl* child : control.Children()) {
    children.push_back(ControlJson(*child, windows));
  }
  if (!children.empty()) out["children"] = std::move(children);
  return out;
}

}  // namespace

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

json CssColor(int32_t color) {
  if (color == clDefault) return nullptr;
  // A system colour (clBtnFace for a read-only editor) is drawn in the host's palette.
  if (IsSystemColor(color)) return ColorToHtml(color);
  if (color < 0) return nullptr;  // not a colour
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(color) & 0xFFFFFFu);
  return text;
}

json RenderRows(const TDBGrid& grid, int top, int count) {
  json rows = json::array();
  TQuilClientDataSet* dataset = grid.DataSource != nullptr ? grid.DataSource->DataSet() : nullptr;
  if (dataset == nullptr || !dataset->Active()) return {{"rows", rows}, {"count", 0}};
  struct Column {
    TField* field;
    int position;
    bool colour;
  };
  std::vector<Column> columns;
  for (const TColumn& column : grid.VisibleColumns()) {
    TField* field = dataset->FindField(column.FieldName);
    columns.push_back({field, field != nullptr ? RowPosition(*dataset, *field) : -1,
                       field != nullptr && IsColourField(*field)});
  }
  const int total = dataset->RecordCount();
  top = std::clamp(top, 0, std::max(0, total));
  const int end = std::min(total, top + std::clamp(count, 0, kMaxPageSize));
  for (int position = top; position < end; ++position) {
    Row row = dataset->RowAt(position);
    json cells = json::array();
    json colours;
    for (size_t i = 0; i < columns.size(); ++i) {
      const Column& column = columns[i];
      if (column.field == nullptr || column.position < 0) {
        cells.push_back("");
        continue;
      }
      const Variant& value = row[column.position];
      if (column.colour) {
        cells.push_back("");
        if (!value.IsNull()) {
          colours[std::to_string(i)] = ColorToHtml(static_cast<TColor>(value.AsLargeInt()));
        }
      } else {
        cells.push_back(column.field->DisplayTextOf(value));
      }
    }
    json line = {{"recNo", position + 1}, {"cells", std::move(cells)}};
    if (!colours.is_null()) line["colours"] = std::move(colours);
    rows.push_back(std::move(line));
  }
  return {{"rows", std::move(rows)}, {"count", total}, {"top", top}};
}

json RenderForm(TQuilForm& form, GridWindows& windows) {
  json out = {{"class", form.ClassName()},
              {"caption", form.Caption},
              {"readOnly", form.IsReadOnly()},
              {"focus", form.ActiveControl != nullptr ? json(form.ActiveControl->Name()) : json()}};

  std::set<const TAction*> bound;
  for (const auto& control : form.Controls()) {
    if (control->Action != nullptr) bound.insert(control->Action);
  }
  json actions = json::array();
  for (const auto& action : form.Actions()) {
    actions.push_back({{"name", action->Name()},
                       {"caption", action->Caption},
                       {"hint", action->Hint},
                       {"enabled", action->Enabled},
                       {"visible", action->Visible},
                       {"checked", action->Checked},
                       {"category", action->Category},
                       {"bound", bound.count(action.get()) > 0}});
  }
  out["actions"] = std::move(actions);

  if (auto* screen = dynamic_cast<TQuilDBForm*>(&form)) {
    out["tab"] = screen->TabCaption.empty() ? screen->Caption : screen->TabCaption;
    out["group"] = screen->Group;
    out["rights"] = screen->Rights();
    TDataSource* main = screen->MainDataSourcePtr();
    json sources = json::array();
    for (const auto& source : screen->DataSources()) {
      sources.push_back(SourceJson(form, *source, source.get() == main));
    }
    out["sources"] = std::move(sources);
    json links = json::array();
    for (size_t i = 0; i < screen->FormLinks.size(); ++i) {
      links.push_back({{"index", i}, {"caption", screen->FormLinks[i].DisplayName}});
    }
    out["links"] = std::move(links);
    json reports = json::array();
    for (size_t i = 0; i < screen->ReportDefs.size(); ++i) {
      const TReportDef& report = screen->ReportDefs[i];
      if (!report.Visible) continue;
      reports.push_back(
          {{"index", i}, {"caption", report.DisplayName}, {"default", report.DefaultReport}});
    }
    out["reports"] = std::move(reports);
  }

  json controls = json::array();
  for (const TControl* control : form.TopLevelControls()) {
    controls.push_back(ControlJson(*control, windows));
  }
  out["controls"] = std::move(controls);
  return out;
}

}  // namespace quil::web
