// TQuilClientDataSet: a local table of records with a change log, bound by ProviderName to a
// provider of the application server.
//
// Records are fetched as one packet, browsed, edited and posted locally, and sent back as a delta
// by ApplyUpdates. With AutoCommit (the default) every post and delete is applied at once; while
// the bulk-change flag is set those applies are gathered into one. A dataset without a provider is
// an in-memory table (CreateDataSet, CopyDataToDataset): its applies just accept the log.
//
// Change log invariants (one entry per record): an insert then an edit stays an insert; an insert
// then a delete leaves nothing; an edit then an edit keeps the first original values; an edit back
// to the original values still counts as a change until applied. A failed apply keeps every
// unapplied entry, so nothing is lost.
//
// Events run in the classic order the screens rely on (see each operation). Bookmarks are stable
// record identities: they survive sorting, filtering and refetching of other records.
//
// Threading: a dataset belongs to one session's UI thread; it is not safe to share.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/base/IDList.h"
#include "host/data/DataSource.h"
#include "host/data/Field.h"
#include "host/data/FilterExpression.h"
#include "host/data/Packet.h"

namespace quil {

class TDMQuil;

enum class DataSetState { Inactive, Browse, Edit, Insert, CalcFields };

enum class RecordStatus { Unmodified, Inserted, Modified };

using TBookmark = uint64_t;
inline constexpr TBookmark kNoBookmark = 0;

//! What OnReconcileError decides for a row the server refused.
enum class ReconcileAction {
  Skip,    //!< keep the change in the log (default)
  Cancel,  //!< undo this record's change locally
};

struct ReconcileInfo {
  DeltaKind kind;
  Row original;
  Row current;
  std::string message;
};

struct LocateOptions {
  bool caseInsensitive = false;
  bool partialKey = false;  //!< text values match when the field starts with the value
};

//! Name/value pairs of a record, as SaveFields returns them.
using FieldValues = std::vector<std::pair<std::string, Variant>>;

class TQuilClientDataSet : public IFilterSchema {
 public:
  using Event = std::function<void(TQuilClientDataSet&)>;
  using ReconcileHandler =
      std::function<ReconcileAction(TQuilClientDataSet&, const ReconcileInfo&)>;

  explicit TQuilClientDataSet(TDMQuil* connection = nullptr, std::string name = "");
  ~TQuilClientDataSet() override;
  TQuilClientDataSet(const TQuilClientDataSet&) = delete;
  TQuilClientDataSet& operator=(const TQuilClientDataSet&) = delete;

  // --- definition ---------------------------------------------------------------------------
  std::string Name;
  std::string Description;
  int Tag = 0;
  void SetConnection(TDMQuil* connection) { connection_ = connection; }
  TDMQuil* Connection() const { return connection_; }
  const std::string& GetProvName() const { return providerName_; }
  //! Switches the provider; the dataset must be closed.
  void SetProvName(std::string_view name);
  std::string IDField;
  //! "PARAM=FIELD;..." or "NAME;..." (same name): a new record takes the field from the parameter.
  std::string ParamToFields;
  //! The key (IDField) or a field a new record takes from a parameter (ParamToFields): the host
  //! fills these, a user never types them.
  bool IsHostFilledField(std::string_view fieldName) const;
  std::string ChangedByField;
  std::string ChangedOnField;
  std::string OrderField;
  std::string StatusFields;
  std::string UserFilters;
  bool BrowserDataset = false;
  bool LastInsertIDToMaster = false;
  bool AutoOpen = false;
  bool ReadOnly = false;
  int MaxErrors = 0;
  quil::FilterOptions FilterOptions;
  //! Tick field read by GetChecked/GetCheckedCount ("+" or true counts as ticked).
  std::string CheckField = "SELECTED";

  // --- parameters ---------------------------------------------------------------------------
  Params& GetParams() { return params_; }
  TParam& ParamByName(std::string_view name) { return params_.ParamByName(name); }
  //! Replaces the parameters with the provider's (types, no values).
  void FetchParams();
  //! Sets the first parameter (or the named one) and reloads.
  void RefreshParam(const Variant& value);
  void RefreshParam(std::string_view name, const Variant& value);
  void RefreshParamPair(std::string_view name1, std::string_view name2, const Variant& value1,
                        const Variant& value2);

  // --- fields -------------------------------------------------------------------------------
  //! Adds a field (data fields before Open: the packet gives their type). Screens declare their
  //! fields with DeclareFields (FieldDeclarations.h).
  TField& AddField(FieldDef def, FieldKind kind);
  TField& AddBitField(std::string name, std::string integerField, int bit);
  TField& AddLookupField(std::string name, FieldType type, std::string keyField,
                         TQuilClientDataSet& lookup, std::string lookupKey, std::string result);
  //! Defines the data fields of an in-memory dataset and opens it empty.
  void CreateDataSet(const std::vector<FieldDef>& fields);
  TField& FieldByName(std::string_view name) const;  //!< throws "Veld '%s' niet gevonden"
  TField* FindField(std::string_view name) const;
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField& Fields(int index) const { return *fields_.at(index); }
  const std::vector<FieldDef>& DataFieldDefs() const { return dataDefs_; }

  // --- state and navigation -----------------------------------------------------------------
  DataSetState State() const { return state_; }
  bool Active() const { return state_ != DataSetState::Inactive; }
  void Open();
  void Close();
  void SetActive(bool active) { active ? Open() : Close(); }
  //! Refetches with the same parameters and returns to the same record (by IDField) when it is
  //! still there. Pending changes must be applied first.
  void Refresh();
  void First();
  void Last();
  void Next();
  void Prior();
  int MoveBy(int distance);
  //! 1-based position in the current order; 0 when empty.
  int RecNo() const;
  void SetRecNo(int recNo);
  int RecordCount() const;
  bool IsEmpty() const { return RecordCount() == 0; }
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  //! True while the current record has unposted changes.
  bool Modified() const { return modified_; }

  // --- editing ------------------------------------------------------------------------------
  void Append();
  void Insert();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  //! Posts when the current record is being edited or inserted (and modified); else nothing.
  void CheckBrowseMode();
  RecordStatus UpdateStatus() const;

  // --- search, bookmarks --------------------------------------------------------------------
  //! First record in the current order whose fields (";"-separated) equal the values.
  bool Locate(std::string_view fields, const std::vector<Variant>& values,
              LocateOptions options = {});
  bool Locate(std::string_view field, const Variant& value, LocateOptions options = {});
  //! Goes to the record whose field (the IDField when empty) equals id.
  bool LocateID(int64_t id, std::string_view field = "");
  //! Value of resultField in the first record whose keyField equals key, without moving. A
  //! stored key resolves against every record the dataset holds: the filter narrows what is
  //! shown and offered, never what a saved value means.
  Variant Lookup(std::string_view keyField, const Variant& key, std::string_view resultField);
  //! True when a record the view shows (the filter applied) has the key: what a choice list
  //! built on this dataset offers.
  bool Offers(std::string_view keyField, const Variant& key);
  TBookmark GetBookmark() const;
  bool BookmarkValid(TBookmark bookmark) const;
  //! Throws EClientError "Record niet gevonden" when the record is gone or filtered out.
  void GotoBookmark(TBookmark bookmark);

  // --- sorting and filtering ----------------------------------------------------------------
  //! ";"-separated field names, stable ascending sort; empty = fetch order.
  void SetSortFields(std::string_view fields);
  const std::string& SortFields() const { return sortFields_; }
  void SetIndexFieldNames(std::string_view fields) { SetSortFields(fields); }
  void SetFilter(std::string_view text);
  const std::string& Filter() const { return filterText_; }
  void SetFiltered(bool filtered);
  bool Filtered() const { return filtered_; }
  //! Sets the filter text and switches filtering on; an empty text switches it off.
  void MaybeApplyFilter(std::string_view text);

  // --- controls -----------------------------------------------------------------------------
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // --- change log and apply -----------------------------------------------------------------
  int ChangeCount() const;
  //! Sends the log to the provider; returns the number of rows that failed.
  int ApplyUpdates(int maxErrors);
  void CancelUpdates();
  //! Undoes the log entry of the current record.
  void RevertRecord();
  bool GetAutoCommit() const { return autoCommit_; }
  void SetAutoCommit(bool autoCommit) { autoCommit_ = autoCommit; }
  bool GetBulkChange() const { return bulkChange_; }
  //! Bulk work is all-or-nothing. Setting the flag finishes an edit in progress and remembers the
  //! dataset as it stands (records, change log, cursor, sort and filter); from then on the applies
  //! of an auto-committing dataset are gathered and grids hear nothing. Setting it back to false
  //! sends what was gathered as one apply; when that apply fails the log stays as it is and the
  //! server's message is raised.
  void SetBulkChange(bool bulkChange);
  //! A bulk change inside the current one (BulkChangeGuard): it remembers the dataset too, and
  //! only the outermost end applies.
  void BeginBulkChange();
  //! Ends the innermost bulk change normally; the outermost applies what was gathered.
  void EndBulkChange();
  //! Ends the innermost bulk change by returning to the dataset as it was when it began, an edit
  //! in progress dropped; nothing is applied. What an explicit ApplyUpdates stored meanwhile stays.
  void CancelBulkChange();

  // --- data packet and copying --------------------------------------------------------------
  //! The records as they stand (changes included), all of them, in fetch order.
  DataPacket GetDataPacket() const;
  //! Replaces definition and records; the log is cleared and the dataset opened.
  void SetDataPacket(DataPacket packet);
  FieldValues SaveFields() const;
  //! Writes the values into the current record (in edit or insert), skipping the IDField and
  //! read-only or unknown fields.
  void RestoreFields(const FieldValues& values);
  int GetCheckedCount() const;
  //! Adds the IDField of every ticked record to `ids`, in the current order.
  void GetChecked(TIDList& ids) const;

  // --- master/detail ------------------------------------------------------------------------
  //! Makes this a detail of `master`: each parameter takes the value of the master field of the
  //! same name (or the one mapped in MasterFields), and the dataset reopens when the master moves
  //! to another record.
  void SetMasterdataSource(TDataSource* master);
  TDataSource* GetTheDatasource() const { return master_; }
  //! Parameter name -> master field name, for parameters named differently from the field.
  std::vector<std::pair<std::string, std::string>> MasterFields;

  // --- events -------------------------------------------------------------------------------
  Event BeforeOpen, AfterOpen, BeforeClose, AfterClose, BeforeRefresh, AfterRefresh;
  Event BeforeInsert, AfterInsert, OnNewRecord, BeforeEdit, AfterEdit;
  Event BeforePost, AfterPost, BeforeCancel, AfterCancel, BeforeDelete, AfterDelete;
  Event BeforeScroll, AfterScroll, OnCalcFields, BeforeApplyUpdates, AfterApplyUpdates;
  ReconcileHandler OnReconcileError;

  // --- for fields, data sources and the host ------------------------------------------------
  int FilterFieldIndex(std::string_view name) const override;
  FieldType FilterFieldType(int index) const override;
  //! Values of the record at a position of the current order (calculated fields computed), for
  //! grids that show rows other than the current one.
  Row RowAt(int position);
  //! Increments on every change of the data a grid shows (records, order, filter).
  uint64_t Version() const { return version_; }
  void AttachDataSource(TDataSource* source);
  void DetachDataSource(TDataSource* source);

 protected:
  //! The packet Open and Refresh load; cached lists answer from the session's cache.
  virtual DataPacket FetchPacket();

 private:
  friend class TField;
  friend class TDataSource;
  struct Record;
  class RecordView;
  class CalcState;
  struct Snapshot;

  Row& ActiveBuffer();
  const Row* ActiveBufferOrNull() const;
  void SetFieldValue(TField& field, const Variant& value);
  Variant OldValueOf(const TField& field) const;
  void EnsureActive(const char* operation) const;
  void CheckWritable() const;
  void CheckBrowseModeIfActive();
  void Fetch();
  void LoadPacket(DataPacket packet);
  void ShowLoadedRecords();
  void BindFields();
  void UnbindFields();
  void RebuildView(TBookmark keep);
  void SortView();
  bool PassesFilter(Record& record);
  int CompareRecords(const Record& a, const Record& b) const;
  bool SortedBefore(const Record& a, const Record& b) const;
  void PlaceInView(Record* record);
  void SyncEdges();
  void MoveTo(int position, bool fireEvents);
  void CalculateRecord(Record& record);
  void ComputeCalcFields(Row& row);
  void CalculateCurrent();
  Variant ReadFrom(Record& record, const TField& field);
  void NewRecord(bool append);
  void RemoveRecord(Record* record);
  void DropInsertedRecord();
  bool Matches(const Record& record, const std::vector<int>& slots,
               const std::vector<Variant>& values, LocateOptions options) const;
  const Record* IndexedRecord(int slot, int64_t value);
  int FindPosition(std::string_view fields, const std::vector<Variant>& values,
                   LocateOptions options);
  void AutoApply();
  void Revert(Record* record, const DeltaRow& row);
  void MergeChangeLog();
  std::unique_ptr<Snapshot> TakeSnapshot() const;
  void CaptureLog(Snapshot& snapshot) const;
  void RestoreSnapshot(const Snapshot& snapshot);
  void FinishBulkChange(bool apply);
  void Broadcast(DataEvent event, TField* field);
  void NotifyDataChanged();
  void NotifyScrolled();
  void NotifyStateChanged();
  void NotifyRecordChanged(TField* field);
  void MasterChanged();
  void MasterGone();
  void CopyParamsFromMaster();

  TDMQuil* connection_ = nullptr;
  std::string providerName_;
  Params params_;
  std::vector<std::unique_ptr<TField>> fields_;
  std::unordered_map<std::string, int> fieldIndex_;  //!< upper-case name -> index in fields_
  std::vector<FieldDef> dataDefs_;
  int slotCount_ = 0;  //!< data + calculated fields

  std::vector<std::unique_ptr<Record>> records_;  //!< all live records, fetch order
  std::vector<Record*> view_;                     //!< sorted and filtered
  //! Deletes of fetched records not yet applied, with their place in the change order.
  std::vector<std::pair<DeltaRow, uint64_t>> deleted_;
  int logCount_ = 0;  //!< records with a log entry (inserted, modified, deleted)
  uint64_t nextRecordId_ = 1;
  uint64_t nextLogSeq_ = 1;

  DataSetState state_ = DataSetState::Inactive;
  int cursor_ = -1;  //!< position in view_, -1 when empty
  bool eof_ = true;
  bool bof_ = true;
  bool modified_ = false;
  Row editBuffer_;
  Record* editRecord_ = nullptr;  //!< the record being edited or inserted
  Row* calcRow_ = nullptr;        //!< the values fields read while in the calc state

  std::string sortFields_;
  std::vector<int> sortSlots_;
  std::string filterText_;
  bool filtered_ = false;
  std::unique_ptr<CompiledFilter> filter_;

  bool autoCommit_ = true;
  bool bulkChange_ = false;
  bool bulkPending_ = false;
  //! One return point per bulk change in force, the outermost first.
  std::vector<std::unique_ptr<Snapshot>> bulkMarks_;
  int disableCount_ = 0;
  bool changedWhileDisabled_ = false;
  uint64_t version_ = 1;

  std::unordered_map<int64_t, Record*> viewIndex_;
  int viewIndexSlot_ = -1;
  bool viewIndexDirty_ = true;

  TDataSource* master_ = nullptr;
  int masterListener_ = 0;
  std::vector<TDataSource*> sources_;
};

//! The data source that has the field: `source` itself or one of its masters, walking the chain
//! of master links; nullptr when none has it.
TDataSource* FindDataSourceWithField(TDataSource* source, std::string_view fieldName);

//! Makes `target` an in-memory copy of every record of `source` (filter ignored, log cleared).
void CopyDataToDataset(TQuilClientDataSet& source, TQuilClientDataSet& target);

//! Sets the tick field of every record to "+"/"-" (text) or true/false, as one bulk change.
void SetSelectedField(TDataSource& source, std::string_view field, bool selected);

}  // namespace quil
