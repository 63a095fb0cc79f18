#include "host/data/ClientDataSet.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "host/base/Errors.h"
#include "host/base/ScopeExit.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/data/DMQuil.h"
#include "host/data/DataSource.h"
#include "host/data/Guards.h"

namespace quil {

// A record of the dataset. `values` holds the data fields (packet order) followed by the
// calculated fields. The change log lives in the records themselves:
//   status Unmodified: as fetched (or as last applied); `original` empty.
//   status Inserted:   not on the server yet; an edit keeps it Inserted; a delete drops it.
//   status Modified:   `original` holds the data values as fetched; later edits keep them.
// Deleted fetched records move to `deleted_` with their original values.
struct TQuilClientDataSet::Record {
  uint64_t id = 0;  //!< bookmark; also the tie-break of the sort, so the sort is stable
  Row values;
  Row original;
  RecordStatus status = RecordStatus::Unmodified;
  uint64_t logSeq = 0;  //!< order in which the record entered the change log
  int viewPos = -1;     //!< position in the view, valid while the view index is
};

// The dataset as it stood when a bulk change began: what CancelBulkChange returns to.
struct TQuilClientDataSet::Snapshot {
  bool active = false;
  std::vector<FieldDef> dataDefs;
  std::vector<std::string> dataFields;  //!< names of the data fields, declared or from a packet
  std::vector<Record> records;          //!< copies, bookmarks (ids) included
  std::vector<std::pair<DeltaRow, uint64_t>> deleted;
  int logCount = 0;
  bool pending = false;  //!< applies gathered before (by an outer bulk change)
  TBookmark current = kNoBookmark;
  int cursor = -1;
  bool bof = true;
  bool eof = true;
  std::string sortFields;
  std::string filterText;
  bool filtered = false;
};

// The calculated-fields state for the length of a scope: fields read from `row`, and only
// calculated fields may be written (into `row`). The former state and row return on every path,
// so a throwing OnCalcFields or lookup never leaves the dataset where writes go unlogged.
class TQuilClientDataSet::CalcState {
 public:
  CalcState(TQuilClientDataSet& ds, Row& row)
      : ds_(ds), formerRow_(ds.calcRow_), formerState_(ds.state_) {
    ds_.calcRow_ = &row;
    ds_.state_ = DataSetState::CalcFields;
  }
  ~CalcState() {
    ds_.calcRow_ = formerRow_;
    ds_.state_ = formerState_;
  }
  CalcState(const CalcState&) = delete;
  CalcState& operator=(const CalcState&) = delete;

 private:
  TQuilClientDataSet& ds_;
  Row* formerRow_;
  DataSetState formerState_;
};

// The filter's view of one record.
class TQuilClientDataSet::RecordView : public IFilterRecord {
 public:
  RecordView(TQuilClientDataSet& ds, Record& record) : ds_(ds), record_(record) {}
  const Variant& FilterValue(int index, Variant& scratch) const override {
    const TField& field = *ds_.fields_[index];
    if (field.Kind() == FieldKind::Data || field.Kind() == FieldKind::Calculated) {
      return record_.values[field.Index()];
    }
    // Bit and lookup fields are derived from the record's values.
    CalcState calc(ds_, record_.values);
    scratch = field.Value();
    return scratch;
  }

 private:
  TQuilClientDataSet& ds_;
  Record& record_;
};

namespace {

std::vector<std::string> SplitNames(std::string_view names) {
  std::vector<std::string> out;
  std::string current;
  for (char c : names) {
    if (c == ';' || c == ',') {
      if (!current.empty()) out.push_back(current);
      current.clear();
    } else if (c != ' ') {
      current += c;
    }
  }
  if (!current.empty()) out.push_back(current);
  return out;
}

bool StartsWithText(const Variant& value, const Variant& prefix, bool ignoreCase) {
  std::string v = value.AsString();
  std::string p = prefix.AsString();
  if (p.size() > v.size()) return false;
  return ignoreCase ? SameText(std::string_view(v).substr(0, p.size()), p)
                    : v.compare(0, p.size(), p) == 0;
}

}  // namespace

TQuilClientDataSet::TQuilClientDataSet(TDMQuil* connection, std::string name)
    : Name(std::move(name)), connection_(connection) {}

TQuilClientDataSet::~TQuilClientDataSet() {
  if (master_) master_->RemoveDetail(this);
  if (master_ && masterListener_) master_->RemoveListener(masterListener_);
  for (TDataSource* source : sources_) source->DataSetGone();
}

// ------------------------------------------------------------------------------- definition

bool TQuilClientDataSet::IsHostFilledField(std::string_view fieldName) const {
  if (!IDField.empty() && SameText(IDField, fieldName)) return true;
  for (const std::string& entry : SplitNames(ParamToFields)) {
    const size_t eq = entry.find('=');
    if (SameText(eq == std::string::npos ? entry : entry.substr(eq + 1), fieldName)) return true;
  }
  return false;
}

void TQuilClientDataSet::SetProvName(std::string_view name) {
  if (Active())
    RaiseClientError("De provider kan niet gewijzigd worden terwijl de dataset open is");
  providerName_ = std::string(name);
}

TField& TQuilClientDataSet::AddField(FieldDef def, FieldKind kind) {
  if (FindField(def.name) != nullptr) {
    RaiseClientError(Format("Veld '%s' bestaat al", def.name));
  }
  if (Active() && kind == FieldKind::Data) {
    RaiseClientError(Format("Veld '%s' kan niet toegevoegd worden aan een open dataset", def.name));
  }
  auto field = std::make_unique<TField>(*this, std::move(def), kind);
  fieldIndex_[UpperCaseAscii(field->FieldName())] = static_cast<int>(fields_.size());
  fields_.push_back(std::move(field));
  TField& added = *fields_.back();
  if (Active()) BindFields();
  return added;
}

TField& TQuilClientDataSet::AddBitField(std::string name, std::string integerField, int bit) {
  TField& field = AddField(FieldDef{std::move(name), FieldType::Boolean}, FieldKind::Bit);
  field.BitOfField = std::move(integerField);
  field.BitIndex = bit;
  if (Active()) BindFields();
  return field;
}

TField& TQuilClientDataSet::AddLookupField(std::string name, FieldType type, std::string keyField,
                                           TQuilClientDataSet& lookup, std::string lookupKey,
                                           std::string result) {
  TField& field = AddField(FieldDef{std::move(name), type}, FieldKind::Lookup);
  field.KeyFields = std::move(keyField);
  field.LookupDataSet = &lookup;
  field.LookupKeyFields = std::move(lookupKey);
  field.LookupResultField = std::move(result);
  field.ReadOnly = true;
  return field;
}

TField* TQuilClientDataSet::FindField(std::string_view name) const {
  auto it = fieldIndex_.find(UpperCaseAscii(name));
  return it == fieldIndex_.end() ? nullptr : fields_[it->second].get();
}

TField& TQuilClientDataSet::FieldByName(std::string_view name) const {
  if (TField* field = FindField(name)) return *field;
  RaiseClientError(Format("Veld '%s' niet gevonden", std::string(name)));
}

int TQuilClientDataSet::FilterFieldIndex(std::string_view name) const {
  auto it = fieldIndex_.find(UpperCaseAscii(name));
  return it == fieldIndex_.end() ? -1 : it->second;
}

FieldType TQuilClientDataSet::FilterFieldType(int index) const {
  return fields_.at(index)->DataType();
}

// Gives data fields the slot of their packet column (creating fields for columns nobody
// declared), calculated fields the slots after them, and resolves bit sources.
void TQuilClientDataSet::BindFields() {
  std::vector<std::unique_ptr<TField>> ordered;
  std::vector<std::unique_ptr<TField>> others;
  std::unordered_map<std::string, std::unique_ptr<TField>> declared;
  for (auto& field : fields_) {
    if (field->Kind() == FieldKind::Data) {
      declared[UpperCaseAscii(field->FieldName())] = std::move(field);
    } else {
      others.push_back(std::move(field));
    }
  }
  for (size_t i = 0; i < dataDefs_.size(); ++i) {
    const FieldDef& def = dataDefs_[i];
    auto it = declared.find(UpperCaseAscii(def.name));
    std::unique_ptr<TField> field;
    if (it != declared.end()) {
      field = std::move(it->second);
      declared.erase(it);
      bool required = field->Required || def.required;
      bool readOnly = field->ReadOnly || def.readOnly;
      field->def_ = def;
      field->Required = required;
      field->ReadOnly = readOnly;
    } else {
      field = std::make_unique<TField>(*this, def, FieldKind::Data);
    }
    field->index_ = static_cast<int>(i);
    ordered.push_back(std::move(field));
  }
  if (!declared.empty()) {
    std::string missing = declared.begin()->second->FieldName();
    fields_.clear();  // keep the dataset consistent: it is closed by the caller
    for (auto& field : others) fields_.push_back(std::move(field));
    fieldIndex_.clear();
    for (size_t i = 0; i < fields_.size(); ++i) {
      fieldIndex_[UpperCaseAscii(fields_[i]->FieldName())] = static_cast<int>(i);
    }
    RaiseClientError(Format("Veld '%s' niet gevonden", missing));
  }
  int slot = static_cast<int>(dataDefs_.size());
  for (auto& field : others) {
    if (field->Kind() == FieldKind::Calculated) field->index_ = slot++;
    ordered.push_back(std::move(field));
  }
  slotCount_ = slot;
  fields_ = std::move(ordered);
  fieldIndex_.clear();
  for (size_t i = 0; i < fields_.size(); ++i) {
    fieldIndex_[UpperCaseAscii(fields_[i]->FieldName())] = static_cast<int>(i);
  }
  for (auto& field : fields_) {
    if (field->Kind() == FieldKind::Bit) {
      TField* source = FindField(field->BitOfField);
      field->bitSource_ = source != nullptr ? source->Index() : -1;
    }
  }
  sortSlots_.clear();
  for (const std::string& name : SplitNames(sortFields_)) {
    if (TField* f = FindField(name); f != nullptr && f->Index() >= 0) {
      sortSlots_.push_back(f->Index());
    }
  }
  for (auto& record : records_) record->values.resize(slotCount_);
}

// Back to the fields of a dataset that was never opened: no slots, found by name only.
void TQuilClientDataSet::UnbindFields() {
  fieldIndex_.clear();
  for (size_t i = 0; i < fields_.size(); ++i) {
    fields_[i]->index_ = -1;
    fieldIndex_[UpperCaseAscii(fields_[i]->FieldName())] = static_cast<int>(i);
  }
  slotCount_ = 0;
}

void TQuilClientDataSet::CreateDataSet(const std::vector<FieldDef>& fields) {
  Close();
  providerName_.clear();
  dataDefs_ = fields;
  records_.clear();
  deleted_.clear();
  logCount_ = 0;
  BindFields();
  ShowLoadedRecords();
}

// After records were loaded: the filter in force is bound to the (new) fields, the view built and
// the first record made current.
void TQuilClientDataSet::ShowLoadedRecords() {
  filter_.reset();
  if (filtered_ && !filterText_.empty()) {
    filter_ = CompileFilter(filterText_, *this, FilterOptions);
  }
  state_ = DataSetState::Browse;
  RebuildView(kNoBookmark);
  MoveTo(0, false);
  bof_ = true;  // on the first record, as after First
  NotifyDataChanged();
}

// ------------------------------------------------------------------------------- parameters

void TQuilClientDataSet::FetchParams() {
  if (connection_ == nullptr || providerName_.empty()) return;
  Params fetched = connection_->Server().FetchParams(providerName_);
  // Keep values already set for parameters of the same name.
  for (const TParam& old : params_) {
    if (TParam* p = fetched.Find(old.name); p != nullptr && !old.IsNull()) p->value = old.value;
  }
  params_ = std::move(fetched);
}

void TQuilClientDataSet::RefreshParam(const Variant& value) {
  if (params_.IsEmpty()) FetchParams();
  if (params_.IsEmpty()) RaiseClientError(Format("Dataset '%s' heeft geen parameters", Name));
  params_[0].value = value;
  Close();
  Open();
}

void TQuilClientDataSet::RefreshParam(std::string_view name, const Variant& value) {
  params_.Add(name).value = value;
  Close();
  Open();
}

void TQuilClientDataSet::RefreshParamPair(std::string_view name1, std::string_view name2,
                                          const Variant& value1, const Variant& value2) {
  params_.Add(name1).value = value1;
  params_.Add(name2).value = value2;
  Close();
  Open();
}

// --------------------------------------------------------------------------- open and close

void TQuilClientDataSet::EnsureActive(const char* operation) const {
  if (!Active()) {
    RaiseClientError(Format("%s niet mogelijk: dataset '%s' is gesloten", operation, Name));
  }
}

void TQuilClientDataSet::Fetch() {
  if (providerName_.empty()) {
    if (dataDefs_.empty()) {
      RaiseClientError(Format("Dataset '%s' heeft geen provider", Name));
    }
    return;  // an in-memory dataset keeps its records
  }
  if (connection_ == nullptr) {
    RaiseClientError(Format("Dataset '%s' heeft geen verbinding met de server", Name));
  }
  LoadPacket(FetchPacket());
}

DataPacket TQuilClientDataSet::FetchPacket() {
  return connection_->Server().GetRecords(providerName_, params_);
}

void TQuilClientDataSet::LoadPacket(DataPacket packet) {
  dataDefs_ = std::move(packet.fields);
  records_.clear();
  deleted_.clear();
  logCount_ = 0;
  records_.reserve(packet.rows.size());
  BindFields();
  for (Row& row : packet.rows) {
    auto record = std::make_unique<Record>();
    record->id = nextRecordId_++;
    record->values = std::move(row);
    record->values.resize(slotCount_);
    records_.push_back(std::move(record));
  }
  if (OnCalcFields) {
    for (auto& record : records_) CalculateRecord(*record);
  }
}

void TQuilClientDataSet::Open() {
  if (Active()) return;
  if (BeforeOpen) BeforeOpen(*this);
  if (master_ != nullptr) {
    if (params_.IsEmpty()) FetchParams();
    CopyParamsFromMaster();
  }
  Fetch();
  ShowLoadedRecords();
  if (AfterOpen) AfterOpen(*this);
  if (AfterScroll) AfterScroll(*this);
}

void TQuilClientDataSet::Close() {
  if (!Active()) return;
  if (BeforeClose) BeforeClose(*this);
  state_ = DataSetState::Inactive;
  editRecord_ = nullptr;
  editBuffer_.clear();
  modified_ = false;
  view_.clear();
  viewIndexDirty_ = true;
  if (!providerName_.empty()) {
    records_.clear();
    deleted_.clear();
    logCount_ = 0;
  }
  cursor_ = -1;
  bof_ = eof_ = true;
  ++version_;
  if (AfterClose) AfterClose(*this);
  NotifyDataChanged();
}

void TQuilClientDataSet::Refresh() {
  EnsureActive("Verversen");
  CheckBrowseMode();
  if (ChangeCount() > 0) {
    RaiseClientError("Er zijn nog wijzigingen die niet bewaard zijn");
  }
  if (BeforeRefresh) BeforeRefresh(*this);
  Variant id;
  if (TField* key = FindField(IDField); key != nullptr && cursor_ >= 0) id = key->Value();
  int position = cursor_;
  if (master_ != nullptr) CopyParamsFromMaster();
  Fetch();
  RebuildView(kNoBookmark);
  int target = std::max(0, std::min(position, static_cast<int>(view_.size()) - 1));
  if (!id.IsNull()) {
    TField& key = FieldByName(IDField);
    for (size_t i = 0; i < view_.size(); ++i) {
      if (CompareVariants(view_[i]->values[key.Index()], id) == 0) {
        target = static_cast<int>(i);
        break;
      }
    }
  }
  MoveTo(target, false);
  NotifyDataChanged();
  if (AfterRefresh) AfterRefresh(*this);
  if (AfterScroll) AfterScroll(*this);
}

// ------------------------------------------------------------------------------- the view

bool TQuilClientDataSet::PassesFilter(Record& record) {
  if (!filtered_ || !filter_) return true;
  RecordView view(*this, record);
  return filter_->Matches(view);
}

int TQuilClientDataSet::CompareRecords(const Record& a, const Record& b) const {
  for (int slot : sortSlots_) {
    int c = CompareVariants(a.values[slot], b.values[slot], /*ignoreCase=*/true);
    if (c != 0) return c;
  }
  return 0;
}

bool TQuilClientDataSet::SortedBefore(const Record& a, const Record& b) const {
  int c = CompareRecords(a, b);
  return c != 0 ? c < 0 : a.id < b.id;
}

void TQuilClientDataSet::RebuildView(TBookmark keep) {
  view_.clear();
  viewIndexDirty_ = true;
  view_.reserve(records_.size());
  for (auto& record : records_) {
    if (PassesFilter(*record)) view_.push_back(record.get());
  }
  if (!sortSlots_.empty()) SortView();
  ++version_;
  cursor_ = view_.empty() ? -1 : 0;
  if (keep != kNoBookmark) {
    for (size_t i = 0; i < view_.size(); ++i) {
      if (view_[i]->id == keep) cursor_ = static_cast<int>(i);
    }
  }
  bof_ = eof_ = view_.empty();
}

namespace {

// A 64-bit key that orders like CompareVariants (ignoring case) on the first sort field, or ties:
// nulls 0, texts their first seven case-folded bytes, numbers an order-preserving image of their
// value. Sorting on it first keeps most comparisons inside one contiguous array.
enum class KeyClass { None, Text, Number, Mixed };

KeyClass ClassOf(const Variant& v) {
  switch (v.Type()) {
    case VariantType::Null:
      return KeyClass::None;
    case VariantType::String:
      return KeyClass::Text;
    case VariantType::Integer:
    case VariantType::Float:
    case VariantType::Currency:
    case VariantType::DateTime:
      return KeyClass::Number;
    default:
      return KeyClass::Mixed;
  }
}

uint64_t PrefixKey(const Variant& v) {
  switch (v.Type()) {
    case VariantType::String: {
      const std::string& text = v.Get<std::string>();
      uint64_t key = 1;
      for (size_t i = 0; i < 7; ++i) {
        unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
        key = (key << 8) | c;
      }
      return key;
    }
    case VariantType::Integer:
    case VariantType::Float:
    case VariantType::Currency:
    case VariantType::DateTime: {
      double d = v.Type() == VariantType::Integer    ? static_cast<double>(v.Get<int64_t>())
                 : v.Type() == VariantType::Currency ? v.Get<Currency>().ToDouble()
                 : v.Type() == VariantType::DateTime ? v.Get<TDateTime>().value
                                                     : v.Get<double>();
      if (d != d) return 0;  // NaN: ties everything, the full comparison decides
      uint64_t bits;
      std::memcpy(&bits, &d, sizeof bits);
      bits = (bits & (uint64_t{1} << 63)) ? ~bits : bits | (uint64_t{1} << 63);
      return bits == 0 ? 1 : bits;
    }
    default:
      return 0;
  }
}

}  // namespace

void TQuilClientDataSet::SortView() {
  const int slot = sortSlots_.front();
  KeyClass kind = KeyClass::None;
  for (const Record* record : view_) {
    KeyClass k = ClassOf(record->values[slot]);
    if (k == KeyClass::None) continue;
    if (kind == KeyClass::None) kind = k;
    if (k != kind) kind = KeyClass::Mixed;
  }
  struct Entry {
    uint64_t key;
    Record* record;
  };
  std::vector<Entry> entries;
  entries.reserve(view_.size());
  for (Record* record : view_) {
    entries.push_back({kind == KeyClass::Mixed ? 0 : PrefixKey(record->values[slot]), record});
  }
  std::sort(entries.begin(), entries.end(), [this](const Entry& a, const Entry& b) {
    if (a.key != b.key) return a.key < b.key;
    return SortedBefore(*a.record, *b.record);
  });
  for (size_t i = 0; i < entries.size(); ++i) view_[i] = entries[i].record;
}

// After a post the record may belong elsewhere in the order, or no longer pass the filter.
void TQuilClientDataSet::PlaceInView(Record* record) {
  auto it = std::find(view_.begin() + std::max(0, cursor_), view_.end(), record);
  if (it == view_.end()) it = std::find(view_.begin(), view_.end(), record);
  if (it == view_.end()) return;
  int position = static_cast<int>(it - view_.begin());
  if (!PassesFilter(*record)) {
    view_.erase(it);
    viewIndexDirty_ = true;
    cursor_ = view_.empty() ? -1 : std::min(position, static_cast<int>(view_.size()) - 1);
    return;
  }
  if (sortSlots_.empty()) return;
  bool afterPrev = position == 0 || SortedBefore(*view_[position - 1], *record);
  bool beforeNext =
      position + 1 >= static_cast<int>(view_.size()) || SortedBefore(*record, *view_[position + 1]);
  if (afterPrev && beforeNext) return;
  view_.erase(it);
  auto place =
      std::lower_bound(view_.begin(), view_.end(), record,
                       [this](const Record* a, const Record* b) { return SortedBefore(*a, *b); });
  cursor_ = static_cast<int>(place - view_.begin());
  view_.insert(place, record);
  // The records between the old and the new place moved: the positions the key index holds
  // are no longer theirs.
  viewIndexDirty_ = true;
}

void TQuilClientDataSet::SetSortFields(std::string_view fields) {
  CheckBrowseModeIfActive();
  sortFields_ = std::string(fields);
  sortSlots_.clear();
  for (const std::string& name : SplitNames(fields)) {
    TField* f = Active() ? &FieldByName(name) : FindField(name);
    if (f != nullptr && f->Index() >= 0) sortSlots_.push_back(f->Index());
  }
  if (!Active()) return;
  TBookmark keep = GetBookmark();
  RebuildView(keep);
  SyncEdges();
  NotifyDataChanged();
}

void TQuilClientDataSet::SetFilter(std::string_view text) {
  if (filterText_ == text) return;
  if (filtered_ && Active()) {
    std::string trimmed(text);
    std::unique_ptr<CompiledFilter> compiled;
    if (trimmed.find_first_not_of(" \t\r\n") != std::string::npos) {
      compiled = CompileFilter(trimmed, *this, FilterOptions);  // throws before anything changes
    }
    CheckBrowseMode();
    filterText_ = trimmed;
    filter_ = std::move(compiled);
    RebuildView(kNoBookmark);
    First();
    NotifyDataChanged();
    return;
  }
  filterText_ = std::string(text);
  filter_.reset();
}

void TQuilClientDataSet::SetFiltered(bool filtered) {
  if (filtered_ == filtered && (filter_ != nullptr || !filtered || filterText_.empty())) return;
  if (!Active()) {
    filtered_ = filtered;
    filter_.reset();
    return;
  }
  std::unique_ptr<CompiledFilter> compiled;
  if (filtered && filterText_.find_first_not_of(" \t\r\n") != std::string::npos) {
    compiled = CompileFilter(filterText_, *this, FilterOptions);
  }
  CheckBrowseMode();
  filtered_ = filtered;
  filter_ = std::move(compiled);
  RebuildView(kNoBookmark);
  First();
  NotifyDataChanged();
}

void TQuilClientDataSet::MaybeApplyFilter(std::string_view text) {
  bool blank = text.find_first_not_of(" \t\r\n") == std::string_view::npos;
  if (blank) {
    SetFiltered(false);
    filterText_.clear();
    return;
  }
  if (Active()) {
    // Compile first: a bad text leaves the current filter in force.
    auto compiled = CompileFilter(text, *this, FilterOptions);
    CheckBrowseMode();
    filterText_ = std::string(text);
    filtered_ = true;
    filter_ = std::move(compiled);
    RebuildView(kNoBookmark);
    First();
    NotifyDataChanged();
  } else {
    filterText_ = std::string(text);
    filtered_ = true;
  }
}

// ------------------------------------------------------------------------------ navigation

void TQuilClientDataSet::SyncEdges() {
  if (view_.empty()) {
    cursor_ = -1;
    bof_ = eof_ = true;
  } else {
    cursor_ = std::clamp(cursor_, 0, static_cast<int>(view_.size()) - 1);
  }
}

void TQuilClientDataSet::MoveTo(int position, bool fireEvents) {
  if (view_.empty()) {
    cursor_ = -1;
    bof_ = eof_ = true;
    return;
  }
  if (fireEvents && BeforeScroll) BeforeScroll(*this);
  cursor_ = std::clamp(position, 0, static_cast<int>(view_.size()) - 1);
  bof_ = eof_ = false;
  CalculateCurrent();
  if (fireEvents) {
    NotifyScrolled();
    if (AfterScroll) AfterScroll(*this);
  }
}

void TQuilClientDataSet::First() {
  EnsureActive("Navigeren");
  CheckBrowseMode();
  if (view_.empty()) {
    bof_ = eof_ = true;
    return;
  }
  MoveTo(0, true);
  bof_ = true;
}

void TQuilClientDataSet::Last() {
  EnsureActive("Navigeren");
  CheckBrowseMode();
  if (view_.empty()) {
    bof_ = eof_ = true;
    return;
  }
  MoveTo(static_cast<int>(view_.size()) - 1, true);
  eof_ = true;
}

void TQuilClientDataSet::Next() {
  MoveBy(1);
}

void TQuilClientDataSet::Prior() {
  MoveBy(-1);
}

int TQuilClientDataSet::MoveBy(int distance) {
  EnsureActive("Navigeren");
  CheckBrowseMode();
  if (distance == 0 || view_.empty()) return 0;
  if ((distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  if (BeforeScroll) BeforeScroll(*this);
  int last = static_cast<int>(view_.size()) - 1;
  int target = cursor_ + distance;
  bof_ = eof_ = false;
  if (target > last) {
    target = last;
    eof_ = true;
  } else if (target < 0) {
    target = 0;
    bof_ = true;
  }
  int moved = target - cursor_;
  cursor_ = target;
  CalculateCurrent();
  NotifyScrolled();
  if (AfterScroll) AfterScroll(*this);
  return moved;
}

int TQuilClientDataSet::RecNo() const {
  return cursor_ + 1;
}

void TQuilClientDataSet::SetRecNo(int recNo) {
  EnsureActive("Navigeren");
  CheckBrowseMode();
  if (view_.empty()) return;
  MoveTo(recNo - 1, true);
}

int TQuilClientDataSet::RecordCount() const {
  return static_cast<int>(view_.size());
}

// --------------------------------------------------------------------------------- buffers

Row& TQuilClientDataSet::ActiveBuffer() {
  if (state_ == DataSetState::CalcFields && calcRow_ != nullptr) return *calcRow_;
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return editBuffer_;
  if (cursor_ < 0 || cursor_ >= static_cast<int>(view_.size())) {
    RaiseClientError(Format("Dataset '%s' heeft geen huidig record", Name));
  }
  return view_[cursor_]->values;
}

const Row* TQuilClientDataSet::ActiveBufferOrNull() const {
  if (state_ == DataSetState::CalcFields && calcRow_ != nullptr) return calcRow_;
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return &editBuffer_;
  if (cursor_ < 0 || cursor_ >= static_cast<int>(view_.size())) return nullptr;
  return &view_[cursor_]->values;
}

Variant TQuilClientDataSet::OldValueOf(const TField& field) const {
  if (cursor_ < 0 || cursor_ >= static_cast<int>(view_.size())) return Variant();
  const Record& record = *view_[cursor_];
  if (field.Kind() != FieldKind::Data) return field.Value();
  if (record.status == RecordStatus::Inserted) return Variant();
  if (record.status == RecordStatus::Modified) return record.original[field.Index()];
  return record.values[field.Index()];
}

void TQuilClientDataSet::SetFieldValue(TField& field, const Variant& value) {
  const bool calc = state_ == DataSetState::CalcFields;
  if (field.Kind() == FieldKind::Lookup) {
    RaiseClientError(Format("Veld '%s' kan niet gewijzigd worden", field.FieldName()));
  }
  if (calc) {
    // The row being calculated may be a stored record: a data write there would go unlogged.
    if (field.Kind() != FieldKind::Calculated) {
      RaiseClientError(
          Format("Veld '%s' kan niet gewijzigd worden tijdens het berekenen", field.FieldName()));
    }
  } else if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) {
    RaiseClientError(Format("Dataset '%s' is niet in bewerk- of invoegmodus", Name));
  } else if (field.ReadOnly) {
    RaiseClientError(Format("Veld '%s' kan niet gewijzigd worden", field.FieldName()));
  }
  Row& buffer = ActiveBuffer();
  int slot = field.Index();
  Variant stored;
  if (field.Kind() == FieldKind::Bit) {
    if (field.bitSource_ < 0) {
      RaiseClientError(Format("Veld '%s' niet gevonden", field.BitOfField));
    }
    slot = field.bitSource_;
    bool on = Variant(field.Coerce(value)).AsBoolean();
    int64_t bits = buffer[slot].IsNull() ? 0 : buffer[slot].AsLargeInt();
    int64_t mask = int64_t{1} << field.BitIndex;
    stored = Variant(on ? (bits | mask) : (bits & ~mask));
  } else {
    stored = field.Coerce(value);
  }
  Variant old = buffer[slot];
  buffer[slot] = stored;
  if (field.OnValidate) {
    try {
      field.OnValidate(field);
    } catch (...) {
      ActiveBuffer()[slot] = old;
      throw;
    }
  }
  if (calc) return;
  modified_ = true;
  if (field.OnChange) field.OnChange(field);
  CalculateCurrent();
  NotifyRecordChanged(&field);
}

void TQuilClientDataSet::CalculateRecord(Record& record) {
  if (!OnCalcFields) return;
  ComputeCalcFields(record.values);
}

void TQuilClientDataSet::ComputeCalcFields(Row& row) {
  CalcState calc(*this, row);
  for (auto& field : fields_) {
    if (field->Kind() == FieldKind::Calculated) row[field->Index()] = Variant();
  }
  OnCalcFields(*this);
}

void TQuilClientDataSet::CalculateCurrent() {
  if (!OnCalcFields) return;
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
    ComputeCalcFields(editBuffer_);
  } else if (cursor_ >= 0 && cursor_ < static_cast<int>(view_.size())) {
    ComputeCalcFields(view_[cursor_]->values);
  }
}

Row TQuilClientDataSet::RowAt(int position) {
  Row out;
  if (position < 0 || position >= static_cast<int>(view_.size())) return out;
  bool current =
      position == cursor_ && (state_ == DataSetState::Edit || state_ == DataSetState::Insert);
  Row& values = current ? editBuffer_ : view_[position]->values;
  if (!current) CalculateRecord(*view_[position]);
  CalcState calc(*this, values);
  out.reserve(fields_.size());
  for (auto& field : fields_) out.push_back(field->Value());
  return out;
}

// --------------------------------------------------------------------------------- editing

void TQuilClientDataSet::CheckBrowseMode() {
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
    if (modified_) {
      Post();
    } else {
      Cancel();
    }
  }
}

void TQuilClientDataSet::CheckBrowseModeIfActive() {
  if (Active()) CheckBrowseMode();
}

void TQuilClientDataSet::CheckWritable() const {
  if (ReadOnly) RaiseClientError(Format("Dataset '%s' kan niet gewijzigd worden", Name));
}

void TQuilClientDataSet::Append() {
  NewRecord(true);
}

void TQuilClientDataSet::Insert() {
  NewRecord(false);
}

void TQuilClientDataSet::NewRecord(bool append) {
  EnsureActive("Toevoegen");
  CheckWritable();
  CheckBrowseMode();
  if (BeforeInsert) BeforeInsert(*this);
  if (BeforeScroll) BeforeScroll(*this);
  auto record = std::make_unique<Record>();
  record->id = nextRecordId_++;
  record->values.resize(slotCount_);
  record->status = RecordStatus::Inserted;
  int position = append || view_.empty() ? static_cast<int>(view_.size()) : cursor_;
  Record* raw = record.get();
  if (position < static_cast<int>(view_.size())) {
    Record* before = view_[position];
    auto at = std::find_if(records_.begin(), records_.end(),
                           [before](const auto& r) { return r.get() == before; });
    records_.insert(at, std::move(record));
  } else {
    records_.push_back(std::move(record));
  }
  view_.insert(view_.begin() + position, raw);
  viewIndexDirty_ = true;
  cursor_ = position;
  bof_ = eof_ = false;
  editRecord_ = raw;
  editBuffer_.assign(slotCount_, Variant());
  state_ = DataSetState::Insert;
  ++version_;
  try {
    if (!IDField.empty() && connection_ != nullptr && !providerName_.empty()) {
      if (TField* key = FindField(IDField)) {
        editBuffer_[key->Index()] = key->Coerce(Variant(connection_->GetNewID(providerName_)));
      }
    }
    for (const std::string& entry : SplitNames(ParamToFields)) {
      size_t eq = entry.find('=');
      std::string param = eq == std::string::npos ? entry : entry.substr(0, eq);
      std::string fieldName = eq == std::string::npos ? entry : entry.substr(eq + 1);
      const TParam* p = params_.Find(param);
      TField* field = FindField(fieldName);
      if (p != nullptr && field != nullptr && field->Index() >= 0) {
        editBuffer_[field->Index()] = field->Coerce(p->value);
      }
    }
    if (OnNewRecord) OnNewRecord(*this);
  } catch (...) {
    DropInsertedRecord();
    throw;
  }
  modified_ = false;  // defaults alone do not make the record worth keeping
  CalculateCurrent();
  NotifyStateChanged();
  NotifyDataChanged();
  if (AfterInsert) AfterInsert(*this);
  if (AfterScroll) AfterScroll(*this);
}

// Takes a record out of the view and frees it; the cursor keeps its position (clamped by the
// caller's SyncEdges).
void TQuilClientDataSet::RemoveRecord(Record* record) {
  std::erase(view_, record);
  viewIndexDirty_ = true;
  std::erase_if(records_, [record](const auto& r) { return r.get() == record; });
}

void TQuilClientDataSet::DropInsertedRecord() {
  RemoveRecord(editRecord_);
  editRecord_ = nullptr;
  editBuffer_.clear();
  state_ = DataSetState::Browse;
  modified_ = false;
  SyncEdges();
  ++version_;
}

void TQuilClientDataSet::Edit() {
  EnsureActive("Wijzigen");
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return;
  CheckWritable();
  if (view_.empty()) {
    Append();
    return;
  }
  if (BeforeEdit) BeforeEdit(*this);
  editRecord_ = view_[cursor_];
  editBuffer_ = editRecord_->values;
  state_ = DataSetState::Edit;
  modified_ = false;
  NotifyStateChanged();
  if (AfterEdit) AfterEdit(*this);
}

void TQuilClientDataSet::Post() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  if (BeforePost) BeforePost(*this);
  if (connection_ != nullptr) {
    if (TField* by = FindField(ChangedByField); by != nullptr && by->Index() >= 0) {
      editBuffer_[by->Index()] = by->Coerce(Variant(connection_->GetUserID()));
    }
  }
  if (TField* on = FindField(ChangedOnField); on != nullptr && on->Index() >= 0) {
    editBuffer_[on->Index()] = on->Coerce(Variant(Now()));
  }
  for (auto& field : fields_) {
    if (field->Kind() == FieldKind::Data && field->Required &&
        editBuffer_[field->Index()].IsNull()) {
      RaiseClientError(Format("Veld '%s' moet een waarde hebben", field->Label()));
    }
  }
  Record* record = editRecord_;
  bool inserting = state_ == DataSetState::Insert;
  if (!inserting && modified_ && record->status == RecordStatus::Unmodified) {
    record->original.assign(record->values.begin(), record->values.begin() + dataDefs_.size());
    record->status = RecordStatus::Modified;
    record->logSeq = nextLogSeq_++;
    ++logCount_;
  }
  if (inserting) {
    record->logSeq = nextLogSeq_++;
    ++logCount_;
  }
  bool changed = inserting || modified_;
  if (viewIndexSlot_ >= 0 && !(record->values[viewIndexSlot_] == editBuffer_[viewIndexSlot_])) {
    viewIndexDirty_ = true;
  }
  record->values = std::move(editBuffer_);
  editBuffer_.clear();
  editRecord_ = nullptr;
  state_ = DataSetState::Browse;
  modified_ = false;
  CalculateRecord(*record);
  PlaceInView(record);
  SyncEdges();
  ++version_;
  NotifyStateChanged();
  NotifyDataChanged();
  if (AfterPost) AfterPost(*this);
  if (changed) AutoApply();
}

void TQuilClientDataSet::Cancel() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  if (BeforeCancel) BeforeCancel(*this);
  if (state_ == DataSetState::Insert) {
    DropInsertedRecord();
  } else {
    editRecord_ = nullptr;
    editBuffer_.clear();
    state_ = DataSetState::Browse;
    modified_ = false;
  }
  CalculateCurrent();
  NotifyStateChanged();
  NotifyDataChanged();
  if (AfterCancel) AfterCancel(*this);
  if (AfterScroll) AfterScroll(*this);
}

void TQuilClientDataSet::Delete() {
  EnsureActive("Verwijderen");
  CheckWritable();
  if (state_ == DataSetState::Insert) {
    Cancel();
    return;
  }
  if (state_ == DataSetState::Edit) Cancel();
  if (view_.empty()) RaiseClientError("Er is geen record om te verwijderen");
  if (BeforeDelete) BeforeDelete(*this);
  Record* record = view_[cursor_];
  if (record->status != RecordStatus::Inserted) {
    DeltaRow entry;
    entry.kind = DeltaKind::Delete;
    if (record->status == RecordStatus::Modified) {
      entry.original = record->original;
    } else {
      entry.original.assign(record->values.begin(), record->values.begin() + dataDefs_.size());
      ++logCount_;
    }
    deleted_.push_back({std::move(entry), nextLogSeq_++});
  } else {
    --logCount_;  // insert then delete leaves nothing
  }
  RemoveRecord(record);
  SyncEdges();
  if (!view_.empty()) bof_ = eof_ = false;
  ++version_;
  CalculateCurrent();
  NotifyDataChanged();
  if (AfterDelete) AfterDelete(*this);
  if (AfterScroll) AfterScroll(*this);
  AutoApply();
}

RecordStatus TQuilClientDataSet::UpdateStatus() const {
  if (state_ == DataSetState::Insert) return RecordStatus::Inserted;
  if (cursor_ < 0 || cursor_ >= static_cast<int>(view_.size())) return RecordStatus::Unmodified;
  return view_[cursor_]->status;
}

// ----------------------------------------------------------------------- search, bookmarks

bool TQuilClientDataSet::Matches(const Record& record, const std::vector<int>& slots,
                                 const std::vector<Variant>& values, LocateOptions options) const {
  for (size_t i = 0; i < slots.size(); ++i) {
    const Variant& have = record.values[slots[i]];
    const Variant& want = values[i];
    if (have.IsNull() || want.IsNull()) {
      if (have.IsNull() != want.IsNull()) return false;
      continue;
    }
    if (options.partialKey && have.Type() == VariantType::String) {
      if (!StartsWithText(have, want, options.caseInsensitive)) return false;
    } else if (CompareVariants(have, want, options.caseInsensitive) != 0) {
      return false;
    }
  }
  return true;
}

int TQuilClientDataSet::FindPosition(std::string_view fields, const std::vector<Variant>& values,
                                     LocateOptions options) {
  std::vector<int> slots;
  for (const std::string& name : SplitNames(fields)) {
    TField& field = FieldByName(name);
    if (field.Index() < 0) {
      RaiseClientError(Format("Op veld '%s' kan niet gezocht worden", field.FieldName()));
    }
    slots.push_back(field.Index());
  }
  if (slots.size() != values.size() || slots.empty()) {
    RaiseClientError(Format("Zoeken op '%s': aantal waarden klopt niet", std::string(fields)));
  }
  // On the first sort field the view is ordered: binary search to the first candidate, then walk
  // the run of equal keys (the sort ignores case, an exact search does not).
  if (slots.size() == 1 && !sortSlots_.empty() && sortSlots_[0] == slots[0] &&
      !options.partialKey && !values[0].IsNull()) {
    int slot = slots[0];
    auto first = std::lower_bound(view_.begin(), view_.end(), values[0],
                                  [slot](const Record* r, const Variant& v) {
                                    return CompareVariants(r->values[slot], v, true) < 0;
                                  });
    for (auto it = first; it != view_.end(); ++it) {
      if (CompareVariants((*it)->values[slot], values[0], true) != 0) break;
      if (Matches(**it, slots, values, options)) return static_cast<int>(it - view_.begin());
    }
    return -1;
  }
  // An integer key elsewhere in the order (LocateID on the key, lookups): a hash index.
  if (slots.size() == 1 && values[0].Type() == VariantType::Integer) {
    const FieldType type = dataDefs_.size() > static_cast<size_t>(slots[0])
                               ? dataDefs_[slots[0]].type
                               : FieldType::String;
    if (type == FieldType::Integer || type == FieldType::LargeInt) {
      const Record* record = IndexedRecord(slots[0], values[0].Get<int64_t>());
      return record == nullptr ? -1 : record->viewPos;
    }
  }
  for (size_t i = 0; i < view_.size(); ++i) {
    if (Matches(*view_[i], slots, values, options)) return static_cast<int>(i);
  }
  return -1;
}

// Index of one integer field over the visible records: value -> first record in the current
// order, and every record's position. Rebuilt on demand once the view changed shape or a post
// changed the indexed field, so a loop of locates and posts costs one build.
const TQuilClientDataSet::Record* TQuilClientDataSet::IndexedRecord(int slot, int64_t value) {
  if (viewIndexDirty_ || viewIndexSlot_ != slot) {
    viewIndex_.clear();
    viewIndex_.reserve(view_.size());
    for (size_t i = 0; i < view_.size(); ++i) {
      Record* record = view_[i];
      record->viewPos = static_cast<int>(i);
      const Variant& v = record->values[slot];
      if (v.Type() == VariantType::Integer) viewIndex_.emplace(v.Get<int64_t>(), record);
    }
    viewIndexSlot_ = slot;
    viewIndexDirty_ = false;
  }
  auto it = viewIndex_.find(value);
  return it == viewIndex_.end() ? nullptr : it->second;
}

bool TQuilClientDataSet::Locate(std::string_view fields, const std::vector<Variant>& values,
                                LocateOptions options) {
  EnsureActive("Zoeken");
  CheckBrowseMode();
  int position = FindPosition(fields, values, options);
  if (position < 0) return false;
  MoveTo(position, true);
  return true;
}

bool TQuilClientDataSet::Locate(std::string_view field, const Variant& value,
                                LocateOptions options) {
  return Locate(field, std::vector<Variant>{value}, options);
}

bool TQuilClientDataSet::LocateID(int64_t id, std::string_view field) {
  std::string_view name = field.empty() ? std::string_view(IDField) : field;
  if (name.empty()) RaiseClientError(Format("Dataset '%s' heeft geen sleutelveld", Name));
  return Locate(name, Variant(id));
}

Variant TQuilClientDataSet::Lookup(std::string_view keyField, const Variant& key,
                                   std::string_view resultField) {
  if (!Active()) return Variant();
  TField& keyF = FieldByName(keyField);
  TField& result = FieldByName(resultField);
  if (keyF.Index() < 0) return Variant();
  // Lookups from grids ask for many keys of the same list: integer keys go through the index.
  if (key.Type() == VariantType::Integer &&
      (keyF.DataType() == FieldType::Integer || keyF.DataType() == FieldType::LargeInt)) {
    const Record* found = IndexedRecord(keyF.Index(), key.Get<int64_t>());
    if (found != nullptr) return ReadFrom(*const_cast<Record*>(found), result);
  } else {
    for (Record* record : view_) {
      if (CompareVariants(record->values[keyF.Index()], key) == 0) {
        return ReadFrom(*record, result);
      }
    }
  }
  if (view_.size() == records_.size()) return Variant();
  // A key the filter hides: a saved value still means its record.
  for (const auto& record : records_) {
    if (CompareVariants(record->values[keyF.Index()], key) == 0) return ReadFrom(*record, result);
  }
  return Variant();
}

bool TQuilClientDataSet::Offers(std::string_view keyField, const Variant& key) {
  if (!Active() || key.IsNull()) return false;
  return FindPosition(keyField, std::vector<Variant>{key}, {}) >= 0;
}

Variant TQuilClientDataSet::ReadFrom(Record& record, const TField& field) {
  CalcState calc(*this, record.values);
  return field.Value();
}

TBookmark TQuilClientDataSet::GetBookmark() const {
  if (cursor_ < 0 || cursor_ >= static_cast<int>(view_.size())) return kNoBookmark;
  return view_[cursor_]->id;
}

bool TQuilClientDataSet::BookmarkValid(TBookmark bookmark) const {
  if (bookmark == kNoBookmark) return false;
  return std::any_of(view_.begin(), view_.end(),
                     [bookmark](const Record* r) { return r->id == bookmark; });
}

void TQuilClientDataSet::GotoBookmark(TBookmark bookmark) {
  EnsureActive("Navigeren");
  CheckBrowseMode();
  for (size_t i = 0; i < view_.size(); ++i) {
    if (view_[i]->id == bookmark) {
      MoveTo(static_cast<int>(i), true);
      return;
    }
  }
  RaiseClientError("Record niet gevonden");
}

// ----------------------------------------------------------------------------- controls

void TQuilClientDataSet::DisableControls() {
  ++disableCount_;
}

void TQuilClientDataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ == 0 && changedWhileDisabled_ && !bulkChange_) {
    changedWhileDisabled_ = false;
    Broadcast(DataEvent::DataSetChanged, nullptr);
  }
}

void TQuilClientDataSet::AttachDataSource(TDataSource* source) {
  sources_.push_back(source);
}

void TQuilClientDataSet::DetachDataSource(TDataSource* source) {
  std::erase(sources_, source);
}

void TQuilClientDataSet::Broadcast(DataEvent event, TField* field) {
  if (disableCount_ > 0 || bulkChange_) {
    changedWhileDisabled_ = true;
    return;
  }
  auto sources = sources_;
  for (TDataSource* source : sources) source->Notify(event, field);
}

void TQuilClientDataSet::NotifyDataChanged() {
  Broadcast(DataEvent::DataSetChanged, nullptr);
}

void TQuilClientDataSet::NotifyScrolled() {
  Broadcast(DataEvent::Scrolled, nullptr);
}

void TQuilClientDataSet::NotifyStateChanged() {
  Broadcast(DataEvent::StateChanged, nullptr);
}

void TQuilClientDataSet::NotifyRecordChanged(TField* field) {
  Broadcast(DataEvent::RecordChanged, field);
}

// ------------------------------------------------------------------------ log and apply

int TQuilClientDataSet::ChangeCount() const {
  return logCount_;
}

void TQuilClientDataSet::AutoApply() {
  if (!autoCommit_) return;
  if (bulkChange_) {
    bulkPending_ = true;
    return;
  }
  ApplyUpdates(0);
}

void TQuilClientDataSet::SetBulkChange(bool bulkChange) {
  if (bulkChange_ == bulkChange) return;
  if (bulkChange) {
    BeginBulkChange();
    return;
  }
  bulkMarks_.clear();
  FinishBulkChange(true);
}

void TQuilClientDataSet::BeginBulkChange() {
  CheckBrowseModeIfActive();  // an edit begun before belongs to what went before
  bulkMarks_.push_back(TakeSnapshot());
  bulkChange_ = true;
}

void TQuilClientDataSet::EndBulkChange() {
  if (!bulkMarks_.empty()) bulkMarks_.pop_back();
  if (bulkMarks_.empty() && bulkChange_) FinishBulkChange(true);
}

void TQuilClientDataSet::CancelBulkChange() {
  if (bulkMarks_.empty()) return;
  std::unique_ptr<Snapshot> mark = std::move(bulkMarks_.back());
  bulkMarks_.pop_back();
  ScopeExit end([this] {
    if (bulkMarks_.empty()) FinishBulkChange(false);
  });
  RestoreSnapshot(*mark);
}

// Ends the flag. With `apply`, the gathered changes go as one apply while the flag still holds
// back notifications; either way grids hear of the whole batch once, also when the apply fails.
void TQuilClientDataSet::FinishBulkChange(bool apply) {
  struct Finish {
    TQuilClientDataSet& ds;
    ~Finish() {
      ds.bulkChange_ = false;
      ds.bulkPending_ = false;
      if (ds.changedWhileDisabled_ && ds.disableCount_ == 0) {
        ds.changedWhileDisabled_ = false;
        ds.Broadcast(DataEvent::DataSetChanged, nullptr);
      }
    }
  } finish{*this};
  if (apply && bulkPending_ && autoCommit_ && logCount_ > 0) ApplyUpdates(0);
}

std::unique_ptr<TQuilClientDataSet::Snapshot> TQuilClientDataSet::TakeSnapshot() const {
  auto snapshot = std::make_unique<Snapshot>();
  snapshot->active = Active();
  snapshot->dataDefs = dataDefs_;
  for (const auto& field : fields_) {
    if (field->Kind() == FieldKind::Data) snapshot->dataFields.push_back(field->FieldName());
  }
  CaptureLog(*snapshot);
  snapshot->pending = bulkPending_;
  snapshot->current = GetBookmark();
  snapshot->cursor = cursor_;
  snapshot->bof = bof_;
  snapshot->eof = eof_;
  snapshot->sortFields = sortFields_;
  snapshot->filterText = filterText_;
  snapshot->filtered = filtered_;
  return snapshot;
}

// The records and the change log; an apply inside a bulk change takes them again, since what
// reached the server cannot be undone locally.
void TQuilClientDataSet::CaptureLog(Snapshot& snapshot) const {
  snapshot.records.clear();
  snapshot.records.reserve(records_.size());
  for (const auto& record : records_) snapshot.records.push_back(*record);
  snapshot.deleted = deleted_;
  snapshot.logCount = logCount_;
}

void TQuilClientDataSet::RestoreSnapshot(const Snapshot& snapshot) {
  editRecord_ = nullptr;
  editBuffer_.clear();
  modified_ = false;
  records_.clear();
  records_.reserve(snapshot.records.size());
  for (const Record& record : snapshot.records)
    records_.push_back(std::make_unique<Record>(record));
  deleted_ = snapshot.deleted;
  logCount_ = snapshot.logCount;
  bulkPending_ = snapshot.pending;
  viewIndexDirty_ = true;
  const bool sameDefs = std::equal(
      dataDefs_.begin(), dataDefs_.end(), snapshot.dataDefs.begin(), snapshot.dataDefs.end(),
      [](const FieldDef& a, const FieldDef& b) { return a.name == b.name && a.type == b.type; });
  if (!sameDefs) {
    // Fields a packet of the undone work brought in go again; those there before stay.
    std::erase_if(fields_, [&snapshot](const auto& field) {
      return field->Kind() == FieldKind::Data &&
             std::find(snapshot.dataFields.begin(), snapshot.dataFields.end(),
                       field->FieldName()) == snapshot.dataFields.end();
    });
    dataDefs_ = snapshot.dataDefs;
    if (!dataDefs_.empty()) {
      BindFields();
    } else {
      UnbindFields();  // never opened before the work
    }
  }
  sortFields_ = snapshot.sortFields;
  sortSlots_.clear();
  for (const std::string& name : SplitNames(sortFields_)) {
    if (TField* f = FindField(name); f != nullptr && f->Index() >= 0) {
      sortSlots_.push_back(f->Index());
    }
  }
  if (filterText_ != snapshot.filterText || filtered_ != snapshot.filtered || !sameDefs) {
    filterText_ = snapshot.filterText;
    filtered_ = snapshot.filtered;
    filter_.reset();
    // A closed dataset compiles its filter when it opens.
    if (snapshot.active && filtered_ &&
        filterText_.find_first_not_of(" \t\r\n") != std::string::npos) {
      filter_ = CompileFilter(filterText_, *this, FilterOptions);  // it compiled before
    }
  }
  if (!snapshot.active) {
    state_ = DataSetState::Inactive;
    view_.clear();
    cursor_ = -1;
    bof_ = eof_ = true;
    ++version_;
  } else {
    state_ = DataSetState::Browse;
    RebuildView(snapshot.current);
    if (snapshot.current == kNoBookmark) {
      cursor_ = view_.empty() ? -1 : std::clamp(snapshot.cursor, 0, RecordCount() - 1);
    }
    bof_ = view_.empty() || snapshot.bof;
    eof_ = view_.empty() || snapshot.eof;
  }
  NotifyStateChanged();
  NotifyDataChanged();
}

int TQuilClientDataSet::ApplyUpdates(int maxErrors) {
  if (!Active()) return 0;
  CheckBrowseMode();
  if (logCount_ == 0) return 0;
  if (providerName_.empty()) {
    MergeChangeLog();
    return 0;
  }
  if (connection_ == nullptr) {
    RaiseClientError(Format("Dataset '%s' heeft geen verbinding met de server", Name));
  }
  if (BeforeApplyUpdates) BeforeApplyUpdates(*this);

  // The delta lists the changes in the order they were made.
  struct Entry {
    uint64_t seq;
    Record* record;  // null for a delete
    size_t deletedIndex;
  };
  std::vector<Entry> entries;
  for (auto& record : records_) {
    if (record->status != RecordStatus::Unmodified) {
      entries.push_back({record->logSeq, record.get(), 0});
    }
  }
  for (size_t i = 0; i < deleted_.size(); ++i) {
    entries.push_back({deleted_[i].second, nullptr, i});
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.seq < b.seq; });
  Delta delta;
  delta.fields = dataDefs_;
  delta.rows.reserve(entries.size());
  size_t dataCount = dataDefs_.size();
  for (const Entry& e : entries) {
    if (e.record == nullptr) {
      delta.rows.push_back(deleted_[e.deletedIndex].first);
      continue;
    }
    DeltaRow row;
    row.kind = e.record->status == RecordStatus::Inserted ? DeltaKind::Insert : DeltaKind::Modify;
    if (row.kind == DeltaKind::Modify) row.original = e.record->original;
    row.current.assign(e.record->values.begin(), e.record->values.begin() + dataCount);
    delta.rows.push_back(std::move(row));
  }

  ApplyResult result = connection_->Server().ApplyUpdates(providerName_, delta, maxErrors, params_);

  std::vector<bool> failed(entries.size(), false);
  for (const ApplyError& error : result.errors) {
    if (error.row >= 0 && error.row < static_cast<int>(failed.size())) failed[error.row] = true;
  }
  if (!result.rolledBack) {
    // Applied rows leave the log; failed rows stay.
    std::vector<bool> dropDeleted(deleted_.size(), false);
    bool appliedAny = false;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (failed[i]) continue;
      appliedAny = true;
      if (entries[i].record == nullptr) {
        dropDeleted[entries[i].deletedIndex] = true;
      } else {
        entries[i].record->status = RecordStatus::Unmodified;
        entries[i].record->original.clear();
      }
      --logCount_;
    }
    std::vector<std::pair<DeltaRow, uint64_t>> kept;
    for (size_t i = 0; i < deleted_.size(); ++i) {
      if (!dropDeleted[i]) kept.push_back(std::move(deleted_[i]));
    }
    deleted_ = std::move(kept);
    if (appliedAny) {
      for (auto& mark : bulkMarks_) CaptureLog(*mark);
    }
  }
  ++version_;
  NotifyDataChanged();

  if (!result.errors.empty()) {
    if (!OnReconcileError) {
      RaiseClientError(result.errors.front().message);
    }
    for (const ApplyError& error : result.errors) {
      if (error.row < 0 || error.row >= static_cast<int>(entries.size())) continue;
      const DeltaRow& row = delta.rows[error.row];
      ReconcileInfo info{row.kind, row.original, row.current, error.message};
      if (OnReconcileError(*this, info) == ReconcileAction::Cancel) {
        Revert(entries[error.row].record, row);
      }
    }
  }
  if (AfterApplyUpdates) AfterApplyUpdates(*this);
  return result.errorCount;
}

// Undoes one log entry: an insert disappears, a change gets its original values back, a delete
// brings the record back.
void TQuilClientDataSet::Revert(Record* record, const DeltaRow& row) {
  if (record != nullptr) {
    if (record->status == RecordStatus::Inserted) {
      RemoveRecord(record);
      --logCount_;
    } else if (record->status == RecordStatus::Modified) {
      std::copy(record->original.begin(), record->original.end(), record->values.begin());
      record->original.clear();
      record->status = RecordStatus::Unmodified;
      CalculateRecord(*record);
      --logCount_;
    }
  } else {
    auto it = std::find_if(deleted_.begin(), deleted_.end(),
                           [&row](const auto& d) { return d.first.original == row.original; });
    if (it != deleted_.end()) {
      auto restored = std::make_unique<Record>();
      restored->id = nextRecordId_++;
      restored->values = it->first.original;
      restored->values.resize(slotCount_);
      CalculateRecord(*restored);
      records_.push_back(std::move(restored));
      deleted_.erase(it);
      --logCount_;
    }
  }
  TBookmark keep = GetBookmark();
  RebuildView(keep);
  SyncEdges();
}

void TQuilClientDataSet::MergeChangeLog() {
  for (auto& record : records_) {
    record->status = RecordStatus::Unmodified;
    record->original.clear();
  }
  deleted_.clear();
  logCount_ = 0;
}

void TQuilClientDataSet::CancelUpdates() {
  if (!Active()) return;
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) Cancel();
  if (logCount_ == 0) return;
  TBookmark keep = GetBookmark();
  std::erase_if(records_, [](const auto& r) { return r->status == RecordStatus::Inserted; });
  for (auto& record : records_) {
    if (record->status == RecordStatus::Modified) {
      std::copy(record->original.begin(), record->original.end(), record->values.begin());
      record->original.clear();
      record->status = RecordStatus::Unmodified;
      CalculateRecord(*record);
    }
  }
  for (auto& [entry, seq] : deleted_) {
    auto restored = std::make_unique<Record>();
    restored->id = nextRecordId_++;
    restored->values = std::move(entry.original);
    restored->values.resize(slotCount_);
    CalculateRecord(*restored);
    records_.push_back(std::move(restored));
  }
  deleted_.clear();
  logCount_ = 0;
  RebuildView(keep);
  SyncEdges();
  if (!view_.empty()) bof_ = eof_ = false;
  CalculateCurrent();
  NotifyDataChanged();
}

void TQuilClientDataSet::RevertRecord() {
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) Cancel();
  if (cursor_ < 0 || cursor_ >= static_cast<int>(view_.size())) return;
  Record* record = view_[cursor_];
  if (record->status == RecordStatus::Unmodified) return;
  Revert(record, DeltaRow{});
  NotifyDataChanged();
}

// ------------------------------------------------------------------ packets and copying

DataPacket TQuilClientDataSet::GetDataPacket() const {
  DataPacket packet;
  packet.fields = dataDefs_;
  packet.rows.reserve(records_.size());
  for (const auto& record : records_) {
    packet.rows.emplace_back(record->values.begin(), record->values.begin() + dataDefs_.size());
  }
  return packet;
}

void TQuilClientDataSet::SetDataPacket(DataPacket packet) {
  if (Active()) {
    CheckBrowseMode();
    state_ = DataSetState::Inactive;
  }
  LoadPacket(std::move(packet));
  ShowLoadedRecords();
}

FieldValues TQuilClientDataSet::SaveFields() const {
  FieldValues values;
  for (const auto& field : fields_) {
    if (field->Kind() == FieldKind::Data) values.emplace_back(field->FieldName(), field->Value());
  }
  return values;
}

void TQuilClientDataSet::RestoreFields(const FieldValues& values) {
  for (const auto& [name, value] : values) {
    TField* field = FindField(name);
    if (field == nullptr || field->Kind() != FieldKind::Data || field->ReadOnly) continue;
    if (!IDField.empty() && SameText(name, IDField)) continue;
    field->SetValue(value);
  }
}

int TQuilClientDataSet::GetCheckedCount() const {
  TField* tick = FindField(CheckField);
  if (tick == nullptr || tick->Index() < 0) return 0;
  int count = 0;
  for (const Record* record : view_) count += record->values[tick->Index()].AsBoolean();
  return count;
}

void TQuilClientDataSet::GetChecked(TIDList& ids) const {
  TField* tick = FindField(CheckField);
  TField* key = FindField(IDField);
  if (tick == nullptr || key == nullptr || tick->Index() < 0 || key->Index() < 0) return;
  for (const Record* record : view_) {
    if (record->values[tick->Index()].AsBoolean()) {
      ids.Add(record->values[key->Index()].AsLargeInt());
    }
  }
}

// --------------------------------------------------------------------------- master/detail

void TQuilClientDataSet::SetMasterdataSource(TDataSource* master) {
  if (master_ == master) return;
  if (master_ != nullptr) {
    master_->RemoveListener(masterListener_);
    master_->RemoveDetail(this);
    masterListener_ = 0;
  }
  master_ = master;
  if (master_ == nullptr) return;
  master_->AddDetail(this);
  masterListener_ = master_->AddListener([this](DataEvent event, TField*) {
    if (event == DataEvent::Scrolled || event == DataEvent::DataSetChanged) MasterChanged();
  });
}

void TQuilClientDataSet::MasterGone() {
  master_ = nullptr;
  masterListener_ = 0;
}

void TQuilClientDataSet::CopyParamsFromMaster() {
  TQuilClientDataSet* master = master_ != nullptr ? master_->DataSet() : nullptr;
  if (master == nullptr) return;
  for (int i = 0; i < params_.Count(); ++i) {
    TParam& param = params_[i];
    std::string fieldName = param.name;
    for (const auto& [p, f] : MasterFields) {
      if (SameText(p, param.name)) fieldName = f;
    }
    if (TField* field = master->FindField(fieldName)) {
      param.value = master->Active() ? field->Value() : Variant();
    }
  }
}

// Reopens when the master's current record gives other parameter values.
void TQuilClientDataSet::MasterChanged() {
  if (!Active() || master_ == nullptr || master_->DataSet() == nullptr) return;
  Params before = params_;
  CopyParamsFromMaster();
  bool same = true;
  for (int i = 0; i < params_.Count(); ++i) {
    if (!(params_[i].value == before[i].value)) same = false;
  }
  if (same) return;
  Close();
  Open();
}

// ----------------------------------------------------------------------- free functions

TDataSource* FindDataSourceWithField(TDataSource* source, std::string_view fieldName) {
  std::unordered_set<TDataSource*> seen;
  while (source != nullptr && seen.insert(source).second) {
    TQuilClientDataSet* dataset = source->DataSet();
    if (dataset == nullptr) return nullptr;
    if (dataset->FindField(fieldName) != nullptr) return source;
    source = dataset->GetTheDatasource();
  }
  return nullptr;
}

void CopyDataToDataset(TQuilClientDataSet& source, TQuilClientDataSet& target) {
  if (!source.Active()) RaiseClientError(Format("Dataset '%s' is gesloten", source.Name));
  source.CheckBrowseMode();
  DataPacket packet = source.GetDataPacket();
  target.Close();
  target.SetProvName("");
  target.SetDataPacket(std::move(packet));
}

void SetSelectedField(TDataSource& source, std::string_view fieldName, bool selected) {
  TQuilClientDataSet* ds = source.DataSet();
  if (ds == nullptr || !ds->Active()) return;
  TField& field = ds->FieldByName(fieldName);
  Variant value =
      field.DataType() == FieldType::Boolean ? Variant(selected) : Variant(selected ? "+" : "-");
  ds->CheckBrowseMode();
  DisableControlsGuard controls(*ds);
  BookmarkGuard bookmark(*ds);
  BulkChangeGuard bulk(*ds);
  ds->First();
  while (!ds->Eof()) {
    if (!(field.Value() == value)) {
      ds->Edit();
      field.SetValue(value);
      ds->Post();
    }
    ds->Next();
  }
}

}  // namespace quil
