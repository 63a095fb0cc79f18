// TJobWithRows: a screen's side of a server job that lists its results as job rows.
//
// The screen owns one per job it drives (a member next to its controls) and names the lists that
// show the rows and the controls the user chooses the job's data with. Then:
//   Fill     takes the screen's job id (once per screen, TQuilDBForm::GetJobID), clears an earlier
//            run, calls PrepareJob (or ExecuteJob, for jobs whose execution fills the rows), opens
//            every rows list with its parameter set to the id, and disables the selection controls;
//   Execute  posts a pending edit of every rows list, applies the lists that want their changes on
//            the server first (no error allowed), calls ExecuteJob and clears;
//   Clear    calls CleanJob for the id, closes the rows lists and gives the selection controls back
//            the enabled state they had.
// Destroying it (closing the screen) cleans a run that is still on the server.
//
// Nothing is lost on failure: a refused call or apply leaves the rows shown with the user's
// edits, the selection disabled, and the run on the server to execute again or clear. A control
// bound to an action follows that action, so a selection control with an action disables itself
// in the action's update (test Running()). Belongs to its screen; UI thread only.
#pragma once

#include <string>
#include <vector>

#include "host/data/ClientDataSet.h"
#include "host/data/Packet.h"
#include "host/forms/Controls.h"

namespace quil {

class TQuilDBForm;

//! The call that fills the rows: most jobs prepare them, some (the lesson count check) list
//! their results when executed.
enum class TJobFill { Prepare, Execute };

//! What happens to the user's changes in a rows list before the job is executed: the pending
//! edit is posted (Post), and with Apply the list's changes are then saved on the server, where
//! the job reads them.
enum class TRowEdits { Post, Apply };

class TJobWithRows {
 public:
  TJobWithRows(TQuilDBForm& form, int jobType);
  //! Cleans a run still on the server; a failure is ignored, the screen is going away.
  ~TJobWithRows();
  TJobWithRows(const TJobWithRows&) = delete;
  TJobWithRows& operator=(const TJobWithRows&) = delete;

  //! A list that shows the rows, opened with parameter `paramName` set to the job id.
  void AddRowsList(TQuilClientDataSet& rows, std::string paramName = "JOBID",
                   TRowEdits edits = TRowEdits::Post);
  //! A control whose value goes into the job data; disabled while the rows are shown.
  void AddSelectionControl(TControl& control);

  int JobType() const { return jobType_; }
  //! The screen's job id; -1 before the first run.
  int JobID() const { return jobId_; }
  //! A run is on the server: filled and not yet executed or cleared.
  bool Running() const { return running_; }

  //! Steps 1-3: clears an earlier run, fills the rows and shows them. Returns the call's text.
  std::string Fill(const JobData& data, TJobFill call = TJobFill::Prepare);
  //! Steps 4-6: saves the user's edits, executes the job with `data` and clears.
  std::string Execute(const JobData& data);
  //! Step 6: cleans the run on the server, closes the rows and enables the selection again.
  //! Does nothing when no run is there.
  void Clear();

 private:
  struct RowsList {
    TQuilClientDataSet* rows;
    std::string paramName;
    TRowEdits edits;
  };
  struct Selection {
    TControl* control;
    bool wasEnabled;
  };

  TQuilDBForm& form_;
  int jobType_;
  int jobId_ = -1;
  bool running_ = false;
  std::vector<RowsList> lists_;
  std::vector<Selection> selection_;
};

}  // namespace quil
