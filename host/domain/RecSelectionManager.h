// TRecSelectionManager: moves records from a list of what is available (the source) to a list of
// what is chosen (the target) by copying fields, and takes them out again.
//
// Choosing the source's current record appends a target record, copies the mapped fields into it
// (joined display fields included, so the new row shows what was chosen before it is fetched
// again) and posts it, which runs the target's own checks; a post that fails cancels the new
// record, so nothing half-made stays behind. Removing deletes the target's current record.
//
// A unique field ("one per") makes the manager refuse a source record whose value is already in
// the mapped target field, among the records the target shows. A screen may add its own rule per
// record (OnAllowSelect, OnAllowUnSelect): "not while ready for Davinci", "only the school's own".
// With a form, the user's rights on it count: choosing needs the right to add, removing the right
// to delete. A read-only form does not stop the manager: a screen that only links through its
// actions sets itself read-only and still chooses through them.
//
// Choosing or removing everything is one bulk change of the target: all of it is applied at once,
// or, when one record fails, none of it. The source stays on the record it was on.
//
// The manager borrows both datasets and the form; it lives on the session's UI thread.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/data/ClientDataSet.h"

namespace quil {

class TQuilDBForm;

class TRecSelectionManager {
 public:
  TRecSelectionManager(TQuilClientDataSet& source, TQuilClientDataSet& target,
                       TQuilDBForm* form = nullptr);

  //! The fields copied on choosing, as "SOURCE=TARGET;..." ("NAME" alone: the same name in both).
  void SetFieldMap(std::string_view pairs);
  const std::vector<std::pair<std::string, std::string>>& FieldMap() const { return fieldMap_; }
  //! A source field whose value the target may hold once (in its mapped field); "" for none.
  void SetUniqueField(std::string_view sourceField) { uniqueField_ = sourceField; }

  TQuilClientDataSet& Source() const { return source_; }
  TQuilClientDataSet& Target() const { return target_; }

  //! The screen's own rule for the source's current record, besides the manager's.
  std::function<bool()> OnAllowSelect;
  //! The screen's own rule for the target's current record, besides the manager's.
  std::function<bool()> OnAllowUnSelect;

  bool GetAllowSelectCurrent() const;
  bool GetAllowUnSelectCurrent() const;
  bool GetAllowSelectAll() const;
  bool GetAllowUnSelectAll() const;

  //! Chooses the source's current record; false (nothing done) when it is not allowed.
  bool SelectCurrent();
  //! Removes the target's current record; false when it is not allowed.
  bool UnSelectCurrent();
  //! Chooses every source record that may be chosen; returns how many were.
  int SelectAll();
  //! Removes every target record that may be removed; returns how many were.
  int UnSelectAll();

  //! The source's current record is already chosen (its unique value is in the target).
  bool CurrentIsChosen() const;

 private:
  bool TargetWritable() const;
  bool MayAdd() const;
  bool MayDelete() const;
  bool SourceRecordAllowed() const;
  bool TargetRecordAllowed() const;
  void AddCurrent();
  void UndoBulkWork();

  TQuilClientDataSet& source_;
  TQuilClientDataSet& target_;
  TQuilDBForm* form_;
  std::vector<std::pair<std::string, std::string>> fieldMap_;
  std::string uniqueField_;
};

}  // namespace quil
