#include "host/forms/JobWithRows.h"

#include <stdexcept>

#include "host/base/Errors.h"
#include "host/forms/QuilForm.h"

namespace quil {

TJobWithRows::TJobWithRows(TQuilDBForm& form, int jobType) : form_(form), jobType_(jobType) {}

TJobWithRows::~TJobWithRows() {
  if (!running_) return;
  try {
    form_.CleanJob(jobType_, jobId_, JobData{});
  } catch (...) {  // rows nobody reads any more; the id is never handed out again
  }
}

void TJobWithRows::AddRowsList(TQuilClientDataSet& rows, std::string paramName, TRowEdits edits) {
  lists_.push_back({&rows, std::move(paramName), edits});
}

void TJobWithRows::AddSelectionControl(TControl& control) {
  selection_.push_back({&control, control.Enabled});
}

std::string TJobWithRows::Fill(const JobData& data, TJobFill call) {
  jobId_ = form_.GetJobID();
  Clear();
  std::string result = call == TJobFill::Prepare ? form_.PrepareJob(jobType_, jobId_, data)
                                                 : form_.ExecuteJob(jobType_, jobId_, data);
  running_ = true;
  for (RowsList& list : lists_) {
    list.rows->GetParams().Add(list.paramName, FieldType::Integer).SetAsInteger(jobId_);
    list.rows->Close();
    list.rows->Open();
  }
  for (Selection& selection : selection_) {
    selection.wasEnabled = selection.control->Enabled;
    selection.control->Enabled = false;
  }
  return result;
}

std::string TJobWithRows::Execute(const JobData& data) {
  // The screens offer Execute only while rows are shown.
  if (!running_) throw std::logic_error("job " + std::to_string(jobType_) + " has no rows");
  for (RowsList& list : lists_) {
    if (!list.rows->Active()) continue;
    list.rows->CheckBrowseMode();
    // A reconcile handler that kept a refused row has told the user why; the job does not run.
    if (list.edits == TRowEdits::Apply && list.rows->ChangeCount() > 0 &&
        list.rows->ApplyUpdates(0) > 0) {
      Abort();
    }
  }
  std::string result = form_.ExecuteJob(jobType_, jobId_, data);
  Clear();
  return result;
}

void TJobWithRows::Clear() {
  if (!running_) return;
  // Cleaned first: when the server refuses, the rows stay shown and the clear can be repeated.
  form_.CleanJob(jobType_, jobId_, JobData{});
  running_ = false;
  for (RowsList& list : lists_) list.rows->Close();
  for (Selection& selection : selection_) selection.control->Enabled = selection.wasEnabled;
}

}  // namespace quil
