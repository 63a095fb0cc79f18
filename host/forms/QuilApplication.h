// TQuilApplication: one user's session of the host, and the event boundary of its screens.
//
// A session holds the connection to the application server (TDMQuil), the dialogs of its user,
// the cursor, the working-year preferences, the printer and the data screens the user has open.
// All form activity of the session enters through it, on the session's UI thread: opening and
// closing screens, executing actions, clicking controls, setting values, dataset commands and
// printing. Each of these entries is an event boundary:
//   - a client error (EClientError) is shown to the user as an error message and ends the event;
//   - EAbort ends the event silently (the user said No or Cancel);
//   - any other exception is shown as an internal error and recorded; the session lives on;
//   - EScriptFailure (a test script that does not fit) is never caught.
// A boundary entered while another event runs (a handler that opens a screen, say) lets errors
// pass to the outer one, so an error is shown once and ends the whole event. A modal dialog is an
// event loop of its own: its events have their own boundary, so a client error in a dialog's
// button keeps the dialog open.
//
// Not thread-safe: one thread runs a session. The session owns its open screens; it borrows the
// connection and the dialogs.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/data/DMQuil.h"
#include "host/forms/Dialogs.h"
#include "host/forms/QuilForm.h"

namespace quil {

class AdminPrefs;
struct TFormClass;

//! How an event at the boundary ended.
enum class TEventResult {
  Done,
  Refused,  //!< nothing ran: a disabled action or control, or an edit the screen does not allow
  ClientError,
  Aborted,
  InternalError,
};

const char* EventResultName(TEventResult result);

enum class TDataSetCommand {
  First,
  Prior,
  Next,
  Last,
  Insert,
  Append,
  Edit,
  Post,
  Cancel,
  Delete,
  Refresh,
  ApplyUpdates,
  CancelUpdates,
};

class TQuilApplication {
 public:
  TQuilApplication(TDMQuil& connection, IDialogs& dialogs);
  //! Destroys the open screens without asking.
  ~TQuilApplication();
  TQuilApplication(const TQuilApplication&) = delete;
  TQuilApplication& operator=(const TQuilApplication&) = delete;

  TDMQuil& Connection() const { return connection_; }
  IDialogs& Dialogs() const { return dialogs_; }
  //! The session whose event runs on this thread: how code outside a form (the module's free
  //! functions) reaches the user's dialogs. Throws std::logic_error when no event runs.
  static TQuilApplication& Running();

  //! The working-year preferences of the session's user, set by whoever starts the session.
  quil::AdminPrefs& AdminPrefs() const;
  void SetAdminPrefs(std::shared_ptr<quil::AdminPrefs> prefs) { adminPrefs_ = std::move(prefs); }

  // --- cursor and progress ------------------------------------------------------------------
  void PushCursor(TCursor cursor) { cursors_.push_back(cursor); }
  void PopCursor();
  TCursor Cursor() const { return cursors_.empty() ? crDefault : cursors_.back(); }
  int CursorDepth() const { return static_cast<int>(cursors_.size()); }
  void ProcessMessages();
  //! Called by ProcessMessages: the web host publishes progress here.
  std::function<void()> OnProcessMessages;
  int ProcessMessagesCount() const { return processMessages_; }

  // --- printing -----------------------------------------------------------------------------
  //! Receives every print; without one the requests are only kept in Printed().
  std::function<void(const TPrintRequest&)> OnPrint;
  void Print(const TPrintRequest& request);
  const std::vector<TPrintRequest>& Printed() const { return printed_; }

  // --- the user's screens (boundary entries) ------------------------------------------------
  //! Opens a screen as from the menu: its default browser screen is found or opened first and
  //! becomes its master. nullptr when the screen could not be opened (the error was shown).
  TQuilDBForm* OpenForm(std::string_view className);
  //! Opens the detail screen of a form link of an open screen; the link's MasterDS is its master.
  TQuilDBForm* OpenFormLink(TQuilDBForm& master, int linkIndex);
  TQuilDBForm* OpenFormLink(TQuilDBForm& master, std::string_view displayName);
  //! Closes a screen after its close query, and first the screens opened with it as master.
  //! False when a close query refused.
  bool CloseForm(TQuilDBForm& form);
  //! The user brings an open screen to the front: QuilDBFormActivate.
  TEventResult ActivateForm(TQuilDBForm& form);
  //! Whether OpenForm would open the screen for the user: it is registered, and the user holds
  //! the open right on it and on every default browser opened first (an open one counts as
  //! reachable). What the menu offers.
  bool MayOpen(std::string_view className) const;
  std::vector<TQuilDBForm*> Forms() const;
  //! The first open screen of the class (case-insensitive); nullptr when none.
  TQuilDBForm* FindForm(std::string_view className) const;

  // --- the same, for code already inside an event (errors propagate) ------------------------
  TQuilDBForm& CreateForm(std::string_view className);
  TQuilDBForm& CreateLinkedForm(TQuilDBForm& master, const TQuilFormLink& link);
  bool DoCloseForm(TQuilDBForm& form);

  // --- event boundary -----------------------------------------------------------------------
  //! Runs a handler as one user event, then the action updates of every open form.
  TEventResult Run(const std::function<void()>& handler);
  TEventResult Execute(TQuilForm& form, std::string_view actionName);
  TEventResult Execute(TAction& action);
  TEventResult Click(TQuilForm& form, std::string_view controlName);
  TEventResult SetValue(TQuilForm& form, std::string_view controlName, std::string_view text);
  //! A command of the user on a data source (a navigator's button). Insert, edit and delete are
  //! refused when the form does not allow them; a delete is first confirmed with "Wilt u dit
  //! record verwijderen?" when the preferences ask for it (ConfirmDeletion): No, or an empty
  //! list, leaves the records as they are.
  TEventResult DataSetCommand(TQuilForm& form, std::string_view dataSourceName,
                              TDataSetCommand command);
  //! Moves the data source's dataset to a record (1-based, as RecNo).
  TEventResult MoveTo(TQuilForm& form, std::string_view dataSourceName, int recNo);
  //! Sets a field of the current record, putting the dataset in edit first.
  TEventResult SetFieldValue(TQuilForm& form, std::string_view dataSourceName,
                             std::string_view fieldName, std::string_view text);
  TEventResult PrintReport(TQuilDBForm& form, int reportIndex);

  //! The modal loop of ShowModal: the dialogs show the form until it has a modal result.
  TModalResult RunModal(TQuilForm& form);
  //! The dialogs being shown, innermost last; empty between events.
  const std::vector<TQuilForm*>& ModalForms() const { return modalForms_; }
  //! Internal errors shown during the session, in order.
  const std::vector<std::string>& InternalErrors() const { return internalErrors_; }

 private:
  struct OpenScreen {
    std::unique_ptr<TQuilDBForm> form;
  };

  TQuilDBForm& CreateScreen(const TFormClass& formClass, TDataSource* master,
                            TQuilDBForm* masterForm, bool readOnly,
                            std::vector<std::string> masterFieldsToParams);
  TQuilDBForm& DefaultBrowserOf(const TFormClass& formClass, int depth);
  TQuilDBForm& OpenAsMenuScreen(std::string_view className, int depth);
  void UpdateAllActions();
  //! One pass of the boundary: runs the handler and handles what it throws.
  TEventResult Guarded(const std::function<void()>& handler);
  void ShowClientError(const std::string& message);
  void ReportInternalError(const std::string& message);

  TDMQuil& connection_;
  IDialogs& dialogs_;
  std::shared_ptr<quil::AdminPrefs> adminPrefs_;
  std::vector<TCursor> cursors_;
  int processMessages_ = 0;
  std::vector<TPrintRequest> printed_;
  std::vector<OpenScreen> screens_;
  std::vector<TQuilForm*> modalForms_;  //!< dialogs being shown, innermost last
  std::vector<std::string> internalErrors_;
  int depth_ = 0;  //!< events running; only the outermost boundary handles errors
};

}  // namespace quil
