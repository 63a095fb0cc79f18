#include "host/domain/RecSelectionManager.h"

#include "host/base/ScopeExit.h"
#include "host/data/Guards.h"
#include "host/forms/FormDefinition.h"
#include "host/forms/QuilForm.h"

namespace quil {

TRecSelectionManager::TRecSelectionManager(TQuilClientDataSet& source, TQuilClientDataSet& target,
                                           TQuilDBForm* form)
    : source_(source), target_(target), form_(form) {}

void TRecSelectionManager::SetFieldMap(std::string_view pairs) {
  fieldMap_.clear();
  std::string pair;
  for (char c : std::string(pairs) + ";") {
    if (c != ';') {
      pair += c;
      continue;
    }
    if (!pair.empty()) fieldMap_.push_back(SplitNamePair(pair));
    pair.clear();
  }
}

bool TRecSelectionManager::TargetWritable() const {
  return target_.Active() && !target_.ReadOnly && target_.State() == DataSetState::Browse;
}

bool TRecSelectionManager::MayAdd() const {
  return form_ == nullptr || form_->HasRight(kRightInsert);
}

bool TRecSelectionManager::MayDelete() const {
  return form_ == nullptr || form_->HasRight(kRightDelete);
}

bool TRecSelectionManager::CurrentIsChosen() const {
  if (uniqueField_.empty() || !source_.Active() || source_.IsEmpty() || !target_.Active()) {
    return false;
  }
  std::string targetField = uniqueField_;
  for (const auto& [from, to] : fieldMap_) {
    if (SameText(from, uniqueField_)) targetField = to;
  }
  const Variant value = source_.FieldByName(uniqueField_).Value();
  return !target_.Lookup(targetField, value, targetField).IsNull();
}

bool TRecSelectionManager::SourceRecordAllowed() const {
  return !CurrentIsChosen() && (!OnAllowSelect || OnAllowSelect());
}

bool TRecSelectionManager::TargetRecordAllowed() const {
  return !OnAllowUnSelect || OnAllowUnSelect();
}

bool TRecSelectionManager::GetAllowSelectCurrent() const {
  return MayAdd() && TargetWritable() && source_.Active() && !source_.IsEmpty() &&
         SourceRecordAllowed();
}

bool TRecSelectionManager::GetAllowUnSelectCurrent() const {
  return MayDelete() && TargetWritable() && !target_.IsEmpty() && TargetRecordAllowed();
}

bool TRecSelectionManager::GetAllowSelectAll() const {
  return MayAdd() && TargetWritable() && source_.Active() && !source_.IsEmpty();
}

bool TRecSelectionManager::GetAllowUnSelectAll() const {
  return MayDelete() && TargetWritable() && !target_.IsEmpty();
}

void TRecSelectionManager::AddCurrent() {
  target_.Append();
  try {
    for (const auto& [from, to] : fieldMap_) {
      TField& field = target_.FieldByName(to);
      // Joined fields are read-only to the user; the new row shows them all the same.
      const bool readOnly = field.ReadOnly;
      field.ReadOnly = false;
      ScopeExit restore([&field, readOnly] { field.ReadOnly = readOnly; });
      field.SetValue(source_.FieldByName(from).Value());
    }
    target_.Post();
  } catch (...) {
    if (target_.State() == DataSetState::Insert) target_.Cancel();
    throw;
  }
}

// All or nothing: what the bulk change gathered is taken back before the flag returns, so the
// end of the bulk change applies nothing. The target applies every change at once, so what it
// gathered is all its log holds.
void TRecSelectionManager::UndoBulkWork() {
  if (target_.GetAutoCommit()) target_.CancelUpdates();
}

bool TRecSelectionManager::SelectCurrent() {
  if (!GetAllowSelectCurrent()) return false;
  AddCurrent();
  return true;
}

bool TRecSelectionManager::UnSelectCurrent() {
  if (!GetAllowUnSelectCurrent()) return false;
  target_.Delete();
  return true;
}

int TRecSelectionManager::SelectAll() {
  if (!GetAllowSelectAll()) return 0;
  BookmarkGuard stay(source_);
  DisableControlsGuard quietSource(source_);
  DisableControlsGuard quietTarget(target_);
  BulkChangeGuard bulk(target_);
  int chosen = 0;
  try {
    for (source_.First(); !source_.Eof(); source_.Next()) {
      if (!SourceRecordAllowed()) continue;
      AddCurrent();
      ++chosen;
    }
  } catch (...) {
    UndoBulkWork();
    throw;
  }
  return chosen;
}

int TRecSelectionManager::UnSelectAll() {
  if (!GetAllowUnSelectAll()) return 0;
  DisableControlsGuard quiet(target_);
  BulkChangeGuard bulk(target_);
  std::vector<TBookmark> removable;
  for (target_.First(); !target_.Eof(); target_.Next()) {
    if (TargetRecordAllowed()) removable.push_back(target_.GetBookmark());
  }
  try {
    for (TBookmark bookmark : removable) {
      target_.GotoBookmark(bookmark);
      target_.Delete();
    }
  } catch (...) {
    UndoBulkWork();
    throw;
  }
  return static_cast<int>(removable.size());
}

}  // namespace quil
