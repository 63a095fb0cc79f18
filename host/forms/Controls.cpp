#include "host/forms/Controls.h"

#include <algorithm>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/forms/Action.h"
#include "host/forms/Description.h"
#include "host/forms/QuilForm.h"

namespace quil {

namespace {

int ParseIndex(std::string_view text, const char* what) {
  int64_t value = 0;
  if (!TryStrToInt(text, value))
    RaiseClientError(Format("'%s' is geen geldige %s", EchoText(text), what));
  return static_cast<int>(value);
}

bool ParseFlag(std::string_view text) {
  return text == "1" || SameText(text, "true") || text == "+";
}

//! Runs a user-act handler when the act changed the value.
void NotifyUser(bool changed, const TControl::Notify& handler) {
  if (changed && handler) handler();
}

}  // namespace

// ---------------------------------------------------------------------------------- TControl

TControl::TControl(TQuilForm& form, std::string name, TControl* parent)
    : form_(form), name_(std::move(name)), parent_(parent) {
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

bool TControl::Reachable() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_) {
    if (!c->Enabled || !c->Visible) return false;
    if (auto* sheet = dynamic_cast<const TTabSheet*>(c); sheet && !sheet->TabVisible) return false;
  }
  return true;
}

bool TControl::Showing() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_) {
    if (!c->Visible) return false;
    if (auto* sheet = dynamic_cast<const TTabSheet*>(c); sheet && !sheet->TabVisible) return false;
  }
  return true;
}

void TControl::SetValueText(std::string_view) {
  throw std::logic_error(std::string(ClassName()) + " " + name_ + " takes no value");
}

bool TControl::Click() {
  return RunAction();
}

bool TControl::RunAction() {
  return Action == nullptr || Action->Execute();
}

// ------------------------------------------------------------------------------ containers

std::vector<TTabSheet*> TPageControl::Pages() const {
  std::vector<TTabSheet*> pages;
  for (TControl* child : Children()) {
    if (auto* sheet = dynamic_cast<TTabSheet*>(child)) pages.push_back(sheet);
  }
  return pages;
}

TTabSheet* TPageControl::ActivePage() const {
  std::vector<TTabSheet*> pages = Pages();
  return activePage_ >= 0 && activePage_ < static_cast<int>(pages.size()) ? pages[activePage_]
                                                                          : nullptr;
}

void TPageControl::CheckPage(int index) const {
  std::vector<TTabSheet*> pages = Pages();
  if (index < 0 || index >= static_cast<int>(pages.size()) || !pages[index]->TabVisible) {
    RaiseClientError(Format("Tabblad %d bestaat niet", index));
  }
}

void TPageControl::SetActivePageIndex(int index) {
  CheckPage(index);
  activePage_ = index;
}

void TPageControl::SetActivePage(TTabSheet& page) {
  std::vector<TTabSheet*> pages = Pages();
  auto it = std::find(pages.begin(), pages.end(), &page);
  if (it == pages.end()) throw std::logic_error(page.Name() + " is no page of " + Name());
  SetActivePageIndex(static_cast<int>(it - pages.begin()));
}

std::string TPageControl::ValueText() const {
  return IntToStr(activePage_);
}

void TPageControl::SetValueText(std::string_view text) {
  const int index = ParseIndex(text, "tabblad");
  CheckPage(index);
  if (index == activePage_) return;
  if (OnChanging) OnChanging();
  activePage_ = index;
  if (OnChange) OnChange();
}

// ------------------------------------------------------------------------- plain controls

bool TButton::Click() {
  if (Action != nullptr) {
    if (!Action->Execute()) return false;
  } else if (OnClick) {
    OnClick();
  }
  if (ModalResult != mrNone) Form().SetModalResult(ModalResult);
  return true;
}

void TCheckBox::SetValueText(std::string_view text) {
  const bool checked = ParseFlag(text);
  if (Action != nullptr) {
    if (checked != Action->Checked) Action->Execute();
    checked_ = Action->Checked;
    return;
  }
  const bool changed = checked != checked_;
  checked_ = checked;
  NotifyUser(changed, OnClick);
}

bool TCheckBox::Click() {
  if (Action != nullptr) {
    if (!Action->Execute()) return false;
    checked_ = Action->Checked;
    return true;
  }
  checked_ = !checked_;
  NotifyUser(true, OnClick);
  return true;
}

void TRadioGroup::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(Items.size())) {
    RaiseClientError(Format("Keuze %d bestaat niet", index));
  }
  itemIndex_ = index;
}

std::string TRadioGroup::ValueText() const {
  return IntToStr(itemIndex_);
}

void TRadioGroup::SetValueText(std::string_view text) {
  const int former = itemIndex_;
  SetItemIndex(ParseIndex(text, "keuze"));
  NotifyUser(itemIndex_ != former, OnClick);
}

bool TEdit::Assign(std::string_view text) {
  std::string value(text);
  if (MaxLength > 0 && static_cast<int>(value.size()) > MaxLength) value.resize(MaxLength);
  if (value == text_) return false;
  text_ = std::move(value);
  return true;
}

void TEdit::SetValueText(std::string_view text) {
  NotifyUser(Assign(text), OnChange);
}

std::string TDateEdit::ValueText() const {
  return date_.value == 0 ? "" : FormatDateTime("dd/mm/yyyy", date_);
}

void TDateEdit::SetValueText(std::string_view text) {
  TDateTime date;
  if (!text.empty() && !TryStrToDate(text, date)) {
    RaiseClientError(Format("'%s' is geen geldige datum", EchoText(text)));
  }
  const bool changed = date != date_;
  date_ = date;
  NotifyUser(changed, OnChange);
}

std::string TTimeEdit::ValueText() const {
  return FormatDateTime("hh:nn", time_);
}

void TTimeEdit::SetValueText(std::string_view text) {
  TDateTime time;
  if (!TryStrToTime(text, time))
    RaiseClientError(Format("'%s' is geen geldig tijdstip", EchoText(text)));
  const bool changed = time != time_;
  time_ = time;
  NotifyUser(changed, OnChange);
}

bool TComboBox::AssignIndex(int index) {
  if (index < -1 || index >= static_cast<int>(Items.size())) {
    RaiseClientError(Format("Keuze %d bestaat niet", index));
  }
  if (index == itemIndex_ && freeText_.empty()) return false;
  itemIndex_ = index;
  freeText_.clear();
  return true;
}

std::string TComboBox::Text() const {
  if (itemIndex_ >= 0 && itemIndex_ < static_cast<int>(Items.size())) return Items[itemIndex_];
  return freeText_;
}

void TComboBox::SetValueText(std::string_view text) {
  for (size_t i = 0; i < Items.size(); ++i) {
    if (Items[i] == text) return NotifyUser(AssignIndex(static_cast<int>(i)), OnChange);
  }
  if (text.empty()) return NotifyUser(AssignIndex(-1), OnChange);
  if (Style == TComboBoxStyle::csDropDownList) {
    RaiseClientError(Format("'%s' komt niet voor in de lijst", EchoText(text)));
  }
  if (itemIndex_ == -1 && freeText_ == text) return;
  itemIndex_ = -1;
  freeText_ = std::string(text);
  if (OnChange) OnChange();
}

void TCheckListBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  checked_.assign(items_.size(), false);
}

bool TCheckListBox::Assign(int index, bool checked) {
  if (index < 0 || index >= static_cast<int>(items_.size())) {
    RaiseClientError(Format("Keuze %d bestaat niet", index));
  }
  if (checked_[index] == checked) return false;
  checked_[index] = checked;
  return true;
}

void TCheckListBox::ClickCheck(int index, bool checked) {
  NotifyUser(Assign(index, checked), OnClickCheck);
}

std::string TCheckListBox::ValueText() const {
  std::string out;
  for (size_t i = 0; i < checked_.size(); ++i) {
    if (!checked_[i]) continue;
    if (!out.empty()) out += ',';
    out += IntToStr(static_cast<int64_t>(i));
  }
  return out;
}

void TCheckListBox::SetValueText(std::string_view text) {
  std::vector<bool> wanted(items_.size(), false);
  while (!text.empty()) {
    size_t comma = text.find(',');
    int index = ParseIndex(text.substr(0, comma), "keuze");
    if (index < 0 || index >= static_cast<int>(items_.size())) {
      RaiseClientError(Format("Keuze %d bestaat niet", index));
    }
    wanted[index] = true;
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  for (size_t i = 0; i < wanted.size(); ++i) ClickCheck(static_cast<int>(i), wanted[i]);
}

// ---------------------------------------------------------------------------------- lookups

namespace {

TQuilClientDataSet* OpenList(TDataSource* source) {
  TQuilClientDataSet* list = source != nullptr ? source->DataSet() : nullptr;
  return list != nullptr && list->Active() ? list : nullptr;
}

//! The first open list of the two that holds the key, filters ignored.
TQuilClientDataSet* ListHolding(TDataSource* resolveSource, TDataSource* listSource,
                                std::string_view keyField, const Variant& key) {
  for (TDataSource* source : {resolveSource, listSource}) {
    TQuilClientDataSet* list = OpenList(source);
    if (list != nullptr && !list->Lookup(keyField, key, keyField).IsNull()) return list;
  }
  return nullptr;
}

}  // namespace

std::string LookupDisplayText(TDataSource* resolveSource, TDataSource* listSource,
                              std::string_view keyField, const Variant& key,
                              std::string_view listFields) {
  if (key.IsNull()) return "";
  TQuilClientDataSet* list = ListHolding(resolveSource, listSource, keyField, key);
  if (list == nullptr) return "";
  std::string out;
  while (!listFields.empty()) {
    size_t semi = listFields.find(';');
    Variant value = list->Lookup(keyField, key, listFields.substr(0, semi));
    if (!out.empty()) out += " - ";
    out += value.AsString();
    listFields = semi == std::string_view::npos ? std::string_view() : listFields.substr(semi + 1);
  }
  return out;
}

Variant LookupChoice(TDataSource* listSource, std::string_view keyField, std::string_view text,
                     const Variant& saved) {
  if (text.empty()) return Variant();
  if (!saved.IsNull() && saved.AsString() == text) return saved;
  TQuilClientDataSet* list = OpenList(listSource);
  if (list == nullptr) RaiseClientError("De keuzelijst is niet geopend");
  Variant key(text);
  int64_t number = 0;
  if (IsNumericType(list->FieldByName(keyField).DataType()) && TryStrToInt(text, number)) {
    key = Variant(number);
  }
  if (!list->Offers(keyField, key))
    RaiseClientError(Format("'%s' komt niet voor in de lijst", EchoText(text)));
  return list->Lookup(keyField, key, keyField);
}

std::string TLookupCombo::DisplayText() const {
  return LookupDisplayText(ResolveSource, ListSource, KeyField, keyValue_, ListFields);
}

void TLookupCombo::SetValueText(std::string_view text) {
  Variant key = LookupChoice(ListSource, KeyField, text, keyValue_);
  const bool changed = !(key == keyValue_);
  keyValue_ = std::move(key);
  NotifyUser(changed, OnChange);
}

void TSearchControl::Search(std::string_view text) {
  searchText_ = std::string(text);
  TQuilClientDataSet* list = ListSource != nullptr ? ListSource->DataSet() : nullptr;
  if (list == nullptr) return;
  if (text.empty() || SearchFormat.empty()) return list->MaybeApplyFilter("");
  std::string quoted;
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  std::vector<Variant> args;
  for (size_t at = SearchFormat.find("%s"); at != std::string::npos;
       at = SearchFormat.find("%s", at + 2)) {
    args.emplace_back(quoted);
  }
  list->MaybeApplyFilter(FormatV(SearchFormat, args));
}

// ----------------------------------------------------------------------------------- grids

void TStringGrid::SetSize(int colCount, int rowCount) {
  std::vector<std::string> cells(static_cast<size_t>(colCount) * rowCount);
  for (int r = 0; r < std::min(rowCount, rowCount_); ++r) {
    for (int c = 0; c < std::min(colCount, colCount_); ++c) {
      cells[static_cast<size_t>(r) * colCount + c] = std::move(cells_[r * colCount_ + c]);
    }
  }
  cells_ = std::move(cells);
  colCount_ = colCount;
  rowCount_ = rowCount;
  col_ = std::min(col_, std::max(0, colCount - 1));
  row_ = std::min(row_, std::max(0, rowCount - 1));
}

const std::string& TStringGrid::Cell(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) {
    throw std::out_of_range("cell outside the grid " + Name());
  }
  return cells_[static_cast<size_t>(row) * colCount_ + col];
}

void TStringGrid::SetCell(int col, int row, std::string text) {
  const_cast<std::string&>(Cell(col, row)) = std::move(text);
}

void TStringGrid::Select(int col, int row) {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) {
    RaiseClientError(Format("Cel %d,%d bestaat niet", col, row));
  }
  col_ = col;
  row_ = row;
  if (OnSelectCell) OnSelectCell();
}

std::string TStringGrid::ValueText() const {
  return IntToStr(col_) + "," + IntToStr(row_);
}

void TStringGrid::SetValueText(std::string_view text) {
  size_t comma = text.find(',');
  if (comma == std::string_view::npos)
    RaiseClientError(Format("'%s' is geen geldige cel", EchoText(text)));
  Select(ParseIndex(text.substr(0, comma), "kolom"), ParseIndex(text.substr(comma + 1), "rij"));
}

// --------------------------------------------------------------------------------- planner

void TPlanner::ShowMonth(int year, int month) {
  if (month < 1 || month > 12) RaiseClientError(Format("Maand %d bestaat niet", month));
  year_ = year;
  month_ = month;
  if (OnMonthChange) OnMonthChange();
}

bool TPlanner::IsPicked(TDateTime date) const {
  return picked_.count(static_cast<int>(DateOf(date).value)) > 0;
}

void TPlanner::SetPicked(TDateTime date, bool picked) {
  int day = static_cast<int>(DateOf(date).value);
  if (picked) {
    picked_.insert(day);
  } else {
    picked_.erase(day);
  }
}

void TPlanner::ClickDay(TDateTime date) {
  SetPicked(date, !IsPicked(date));
  if (OnDayClick) OnDayClick(DateOf(date));
}

void TPlanner::DblClickDay(TDateTime date) {
  if (OnDayDblClick) OnDayDblClick(DateOf(date));
}

void TPlanner::DblClickItem(int index) {
  if (index < 0 || index >= static_cast<int>(Items.size())) {
    RaiseClientError(Format("Item %d bestaat niet", index));
  }
  if (OnItemDblClick) OnItemDblClick(index);
}

void TPlanner::CreateItem(TDateTime date) {
  if (!CanCreateItems) RaiseClientError("Hier kunnen geen items aangemaakt worden");
  if (OnItemCreate) OnItemCreate(DateOf(date));
}

void TPlanner::DeleteItem(int index) {
  if (!CanDeleteItems) RaiseClientError("Hier kunnen geen items verwijderd worden");
  if (index < 0 || index >= static_cast<int>(Items.size())) {
    RaiseClientError(Format("Item %d bestaat niet", index));
  }
  if (OnItemDelete) OnItemDelete(index);
}

std::string TPlanner::ValueText() const {
  std::string out;
  for (int day : picked_) {
    if (!out.empty()) out += ';';
    out += FormatDateTime("dd/mm/yyyy", TDateTime(day));
  }
  return out;
}

void TPlanner::SetValueText(std::string_view text) {
  TDateTime date;
  if (!TryStrToDate(text, date))
    RaiseClientError(Format("'%s' is geen geldige datum", EchoText(text)));
  ClickDay(date);
}

void TColorButton::ChooseColor(TColor color) {
  if (color == selected_) return;
  selected_ = color;
  if (OnChange) OnChange();
}

void TColorButton::SetValueText(std::string_view text) {
  TColor color = 0;
  if (!HtmlToColor(text, color)) RaiseClientError(Format("'%s' is geen kleur", EchoText(text)));
  ChooseColor(color);
}

// --- descriptions ---------------------------------------------------------------------------

void TControl::Describe(TDescription&) {}

void TSelectionPanel::Describe(TDescription& out) {
  out.Set("available", Available != nullptr ? Available->Name() : "");
  out.Set("chosen", Chosen != nullptr ? Chosen->Name() : "");
}

void TTabSheet::Describe(TDescription& out) {
  out.Set("tabVisible", TabVisible);
}

void TPageControl::Describe(TDescription& out) {
  out.Set("active", ActivePageIndex());
}

void TButton::Describe(TDescription& out) {
  out.Set("default", Default);
  out.Set("cancel", Cancel);
  out.Set("modalResult", static_cast<int>(ModalResult));
}

void TCheckBox::Describe(TDescription& out) {
  out.Set("checked", Checked());
}

void TRadioGroup::Describe(TDescription& out) {
  out.Set("items", Items);
  out.Set("index", ItemIndex());
}

void TEdit::Describe(TDescription& out) {
  out.Set("value", Text());
  out.Set("maxLength", MaxLength);
  out.Set("readOnly", ReadOnly);
}

void TDateEdit::Describe(TDescription& out) {
  out.Set("value", ValueText());
}

void TTimeEdit::Describe(TDescription& out) {
  out.Set("value", ValueText());
}

void TColorButton::Describe(TDescription& out) {
  out.Set("value", ValueText());
}

void TComboBox::Describe(TDescription& out) {
  out.Set("items", Items);
  out.Set("index", ItemIndex());
  out.Set("value", Text());
  out.Set("free", Style == TComboBoxStyle::csDropDown);
}

void TCheckListBox::Describe(TDescription& out) {
  out.Set("items", Items());
  TDescription checked = TDescription::List{};
  for (size_t i = 0; i < Items().size(); ++i) checked.Add(Checked(static_cast<int>(i)));
  out.Set("checked", std::move(checked));
}

void TLookupCombo::Describe(TDescription& out) {
  out.Set("value", ValueText());
  out.Set("display", DisplayText());
  out.Set("items", DescribeChoices(ListSource, KeyField, ListFields));
}

void TSearchControl::Describe(TDescription& out) {
  TLookupCombo::Describe(out);
  out.Set("searchText", SearchText());
}

void TStringGrid::Describe(TDescription& out) {
  out.Set("fixedCols", FixedCols);
  out.Set("fixedRows", FixedRows);
  out.Set("col", Col());
  out.Set("row", Row());
  TDescription cells = TDescription::List{};
  for (int row = 0; row < RowCount(); ++row) {
    TDescription line = TDescription::List{};
    for (int col = 0; col < ColCount(); ++col) line.Add(Cell(col, row));
    cells.Add(std::move(line));
  }
  out.Set("cells", std::move(cells));
}

void TProgressBar::Describe(TDescription& out) {
  out.Set("min", Min);
  out.Set("max", Max);
  out.Set("position", Position);
}

void TPlanner::Describe(TDescription& out) {
  out.Set("year", Year());
  out.Set("month", Month());
  TDescription items = TDescription::List{};
  for (const Item& item : Items) {
    TDescription shown;
    shown.Set("date", DateToStr(item.date));
    shown.Set("text", item.text);
    shown.Set("color", ControlColor(item.color));
    shown.Set("lines", item.lines);
    items.Add(std::move(shown));
  }
  out.Set("items", std::move(items));
  out.Set("picked", ValueText());
  if (SchoolYear != 0) out.Set("schoolYear", SchoolYear);
  if (!MonthNames.empty()) out.Set("monthNames", MonthNames);
  if (!DayNames.empty()) out.Set("dayNames", DayNames);
  if (!WeekLabel.empty()) out.Set("weekLabel", WeekLabel);
  out.Set("canCreate", CanCreateItems);
  out.Set("canDelete", CanDeleteItems);
}

}  // namespace quil
