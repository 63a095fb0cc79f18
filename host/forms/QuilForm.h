// TQuilForm and TQuilDBForm: the base classes of every window and data screen.
//
// A TQuilForm is a window: a tree of controls, a list of actions, a caption and a modal result;
// plain dialogs derive from it and are shown with ShowModal. A TQuilDBForm is a data screen: it
// adds the published definition (caption, tab caption, group, main data source, default browser,
// form links, reports, parameter mappings), owns its client datasets and data sources, knows its
// master data source, its access rights, its job id and its settings, and has the screen events as
// virtual methods that a screen overrides.
//
// Forms belong to one session (TQuilApplication) and are only touched from its UI thread. A form
// owns everything it creates: controls, actions, datasets, data sources and its job id. The
// session opens and closes data screens (TQuilApplication::OpenForm) and runs every user event
// through its event boundary; the events below are called by the session in this order:
//   open:  constructor, QuilDBFormInitDataModule, QuilDBFormCreate, QuilDBFormRestoreSettings,
//          QuilDBFormSetMasterBrowser, AutoOpen datasets opened, updates, QuilDBFormShow,
//          QuilDBFormActivate
//   close: QuilDBFormCloseQuery, QuilDBFormSaveSettings, QuilDBFormClose, QuilDBFormDestroy,
//          destructor
// The form is the sender of its own events, so the events take no sender argument.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/base/Errors.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/data/DMQuil.h"
#include "host/data/DataSource.h"
#include "host/forms/Action.h"
#include "host/forms/Controls.h"
#include "host/forms/Dialogs.h"
#include "host/forms/FormDefinition.h"
#include "host/forms/SettingsFile.h"

namespace quil {

class TQuilApplication;
class AdminPrefs;

//! RaiseClientError with a format and its arguments: "Klas '%s' bestaat al".
template <class Arg, class... Args>
[[noreturn]] void RaiseClientError(std::string_view format, const Arg& arg, const Args&... args) {
  throw EClientError(Format(format, arg, args...));
}

//! The access bits a user holds on a screen (IAppServer::GetFormRights): open and read it,
//! change records, add records, delete records. The framework's AllowEdit, AllowInsert and
//! AllowDelete enforce the last three for everything the user does.
inline constexpr int kRightOpen = 0;
inline constexpr int kRightChange = 1;
inline constexpr int kRightInsert = 2;
inline constexpr int kRightDelete = 3;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

enum class TCursor { crDefault, crHourGlass, crSQLWait };
using enum TCursor;

//! An ordered list of name=value texts; names are found without regard to case.
class TNameValueList {
 public:
  void SetValue(std::string_view name, std::string_view value);
  bool Has(std::string_view name) const;
  std::string Value(std::string_view name) const;  //!< "" when absent
  void Remove(std::string_view name);
  int Count() const { return static_cast<int>(items_.size()); }
  const std::vector<std::pair<std::string, std::string>>& Items() const { return items_; }
  //! "NAME=value" lines joined with "\n".
  std::string Text() const;

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

using TPrintParams = TNameValueList;

//! The report parameters for a report: every parameter, and for each "PARAM=REPORTPARAM" pair
//! the value of PARAM under the name REPORTPARAM.
TNameValueList ParamsToReportParams(const std::vector<std::string>& pairs,
                                    const TNameValueList& params);

//! Pushes a cursor for the scope of a long operation and pops it on every path.
class CursorGuard {
 public:
  CursorGuard(TQuilApplication& app, TCursor cursor);
  ~CursorGuard();
  CursorGuard(const CursorGuard&) = delete;
  CursorGuard& operator=(const CursorGuard&) = delete;

 private:
  TQuilApplication& app_;
};

class TQuilForm {
 public:
  TQuilForm(TQuilApplication& app, std::string className);
  virtual ~TQuilForm();
  TQuilForm(const TQuilForm&) = delete;
  TQuilForm& operator=(const TQuilForm&) = delete;

  const std::string& ClassName() const { return className_; }
  TQuilApplication& Application() const { return app_; }
  std::string Caption;
  int HelpContext = 0;

  // --- controls -----------------------------------------------------------------------------
  //! Creates a control of this form under `parent` (nullptr: the form itself).
  template <class T>
  T& Add(std::string name, TControl* parent = nullptr) {
    auto control = std::make_unique<T>(*this, std::move(name), parent);
    T& ref = *control;
    AdoptControl(std::move(control));
    return ref;
  }
  //! Case-insensitive; nullptr when absent.
  TControl* FindControl(std::string_view name) const;
  //! Throws std::logic_error when absent or of another kind (a programming error).
  template <class T = TControl>
  T& ControlByName(std::string_view name) const {
    T* control = dynamic_cast<T*>(FindControl(name));
    if (control == nullptr) throw std::logic_error("no such control: " + std::string(name));
    return *control;
  }
  //! Every control, in creation order (parents before their children).
  const std::vector<std::unique_ptr<TControl>>& Controls() const { return controls_; }
  //! The controls whose parent is the form itself.
  std::vector<TControl*> TopLevelControls() const;
  //! The control that has the focus; screens set it on the offending control before they raise
  //! a client error.
  TControl* ActiveControl = nullptr;
  void SetFocus(TControl& control) { ActiveControl = &control; }

  // --- actions ------------------------------------------------------------------------------
  TAction& AddAction(std::string name, std::string caption, TAction::Handler onExecute,
                     TAction::Handler onUpdate = {});
  //! An action the screen shows but does not do yet: disabled whatever its update says.
  TAction& AddPlaceholderAction(std::string name, std::string caption);
  TAction* FindAction(std::string_view name) const;
  const std::vector<std::unique_ptr<TAction>>& Actions() const { return actions_; }
  //! Runs every action's update, then lets bound controls follow their action.
  void UpdateActions();

  // --- modal use ----------------------------------------------------------------------------
  //! Shows the form as a modal dialog and returns how it was closed.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  //! Ends the modal dialog with `result` unless the close query refuses (mrNone just resets).
  void SetModalResult(TModalResult result);

  // --- hooks of plain windows ---------------------------------------------------------------
  virtual void FormShow() {}
  virtual void FormCloseQuery(bool& canClose) { (void)canClose; }
  virtual void FormClose(TCloseAction& action) { (void)action; }

  // --- host services ------------------------------------------------------------------------
  IDialogs& Dialogs() const;
  void ShowMessage(std::string_view text) const;
  TModalResult MessageDlg(std::string_view text, TMsgDlgType type, const TMsgDlgButtons& buttons,
                          int helpContext = 0) const;
  int QuestionDlg(std::string_view caption, std::string_view text, TMsgDlgType type,
                  const std::vector<TQuestionChoice>& choices, int defaultResult) const;
  bool QuilQuestion(std::string_view text) const;
  void QuilMessage(std::string_view text) const;
  bool InputQuery(std::string_view caption, std::string_view prompt, std::string& value) const;
  void PushCursor(TCursor cursor) const;
  void PopCursor() const;
  //! Lets the host show progress (and the user's cancel) during a long loop.
  void ProcessMessages() const;
  quil::AdminPrefs& AdminPrefs() const;

  // --- for data-aware controls --------------------------------------------------------------
  //! Whether the user may start editing, inserting in or deleting from a dataset of this form.
  virtual bool AllowEdit(TQuilClientDataSet& dataset) {
    (void)dataset;
    return true;
  }
  virtual bool AllowInsert(TQuilClientDataSet& dataset) {
    (void)dataset;
    return true;
  }
  virtual bool AllowDelete(TQuilClientDataSet& dataset) {
    (void)dataset;
    return true;
  }
  virtual bool IsReadOnly() const { return false; }
  //! Puts the dataset in edit for a change by the user; EAbort when the form does not allow it.
  void StartEdit(TQuilClientDataSet& dataset);

  // --- what the user reaches ----------------------------------------------------------------
  //! A reachable data-aware control or grid of this form shows the data source: the user may
  //! move in it and send it commands.
  bool ShowsDataSource(const TDataSource& source) const;
  //! The control through which the user may change the field of the source's current record
  //! now: a reachable data-aware control bound to it that accepts a value, or a reachable grid
  //! that edits it in a column. nullptr when the screen offers no way to change it.
  TControl* EditorOfField(const TDataSource& source, std::string_view fieldName) const;

 private:
  void AdoptControl(std::unique_ptr<TControl> control);

  TQuilApplication& app_;
  std::string className_;
  std::vector<std::unique_ptr<TControl>> controls_;
  std::vector<std::unique_ptr<TAction>> actions_;
  TModalResult modalResult_ = mrNone;
};

//! A print as the host hands it to its printer.
struct TPrintRequest {
  std::string formClass;
  std::string caption;
  TReportDef report;
  TNameValueList params;  //!< after ParamsToReportParams
};

class TQuilDBForm : public TQuilForm {
 public:
  TQuilDBForm(TQuilApplication& app, std::string className);
  ~TQuilDBForm() override;

  // --- published properties -----------------------------------------------------------------
  std::string Group;
  std::string TabCaption;
  std::string MainDataSource;  //!< name of one of the form's data sources
  std::string DefaultBrowserForm;
  std::vector<TQuilFormLink> FormLinks;
  std::vector<TReportDef> ReportDefs;
  std::vector<std::string> FieldsToParams;
  std::vector<std::string> ParamsToReportParams;
  bool SaveOnPrint = true;
  bool ReportFields = false;
  //! Sets every property the definition sets; unset ones keep what the constructor gave.
  void ApplyDefinition(const TFormDefinition& definition);

  // --- datasets and data sources ------------------------------------------------------------
  //! A client dataset owned by the form, on the session's connection.
  template <class T = TQuilClientDataSet>
  T& AddDataSet(std::string name, std::string provider = "") {
    auto dataset = std::make_unique<T>(&GetConnection(), std::move(name));
    if (!provider.empty()) dataset->SetProvName(provider);
    T& ref = *dataset;
    dataSets_.push_back(std::move(dataset));
    return ref;
  }
  TDataSource& AddDataSource(std::string name, TQuilClientDataSet* dataset);
  TQuilClientDataSet* FindDataSet(std::string_view name) const;
  TDataSource* FindDataSource(std::string_view name) const;
  //! Throws std::logic_error when absent (a programming error).
  TDataSource& DataSourceByName(std::string_view name) const;
  const std::vector<std::unique_ptr<TQuilClientDataSet>>& DataSets() const { return dataSets_; }
  const std::vector<std::unique_ptr<TDataSource>>& DataSources() const { return dataSources_; }
  //! The data source named by MainDataSource; nullptr when unset or unknown.
  TDataSource* MainDataSourcePtr() const;

  // --- master -------------------------------------------------------------------------------
  TDataSource* MasterDataSource() const { return master_; }
  //! The screen that opened this one through a form link or as default browser.
  TQuilDBForm* MasterForm() const { return masterForm_; }
  //! Hands the master to the form (called by the session when it opens the form): keeps it and
  //! the field-to-parameter mappings, then runs QuilDBFormSetMasterBrowser.
  void SetMasterBrowser(TDataSource* master, TQuilDBForm* masterForm,
                        std::vector<std::string> masterFieldsToParams);
  //! Makes the dataset a detail of the master data source; parameters named in a FieldsToParams
  //! pair (of this form or of the master form) take the mapped master field.
  void LinkToMaster(TQuilClientDataSet& dataset);
  //! `source` or, with searchMasters, the first of its masters whose dataset has the field.
  TDataSource* FindDataSourceWithField(TDataSource* source, std::string_view fieldName,
                                       bool searchMasters = true) const;
  //! The field of the master chain; a client error when no master has it, since the screen
  //! cannot work without it.
  TField& RequireMasterField(std::string_view fieldName) const;

  // --- rights and read-only -----------------------------------------------------------------
  //! The access bits the user holds on this screen (kRightOpen ... kRightDelete); all of them
  //! until the session sets the user's.
  int Rights() const { return rights_; }
  void SetRights(int rights) { rights_ = rights; }
  bool HasRight(int bit) const { return (rights_ >> bit) & 1; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool IsReadOnly() const override { return readOnly_; }

  // --- jobs ---------------------------------------------------------------------------------
  TDMQuil& GetConnection() const;
  //! The form's own job id: asked from the server once and kept for the form's lifetime.
  int GetJobID();
  std::string PrepareJob(int jobType, int jobId, const JobData& data);
  std::string ExecuteJob(int jobType, int jobId, const JobData& data);
  std::string CleanJob(int jobType, int jobId, const JobData& data);

  // --- settings -----------------------------------------------------------------------------
  //! Reads the user's stored settings of this class and hands them to the screen.
  void RestoreSettings();
  //! Lets the screen write its settings over the stored ones and stores the result.
  void SaveSettings();

  // --- printing -----------------------------------------------------------------------------
  //! The main dataset's parameters, the values the screen adds, mapped to report parameters.
  TPrintParams GetPrintParams(const TReportDef& report);
  //! Prints the report: posts a pending edit first when SaveOnPrint, then hands the request to
  //! the session's printer.
  void Print(int reportIndex);

  // --- events a screen implements -----------------------------------------------------------
  virtual void QuilDBFormInitDataModule() {}
  virtual void QuilDBFormCreate() {}
  virtual void QuilDBFormShow() {}
  virtual void QuilDBFormActivate() {}
  virtual void QuilDBFormDestroy() {}
  virtual void QuilDBFormClose(TCloseAction& action) { (void)action; }
  virtual void QuilDBFormCloseQuery(bool& canClose) { (void)canClose; }
  virtual void QuilDBFormSetMasterBrowser(TDataSource* master) { (void)master; }
  virtual void QuilDBFormGetPrintParams(const std::string& reportFile, TPrintParams& params) {
    (void)reportFile;
    (void)params;
  }
  virtual void QuilDBFormSaveSettings(TSettingsFile& settings) { (void)settings; }
  virtual void QuilDBFormRestoreSettings(TSettingsFile& settings) { (void)settings; }
  virtual void QuilDBFormCanEdit(TQuilClientDataSet& dataset, bool& allow) {
    (void)dataset;
    (void)allow;
  }
  virtual void QuilDBFormCanInsert(TQuilClientDataSet& dataset, bool& allow) {
    (void)dataset;
    (void)allow;
  }
  virtual void QuilDBFormCanDelete(TQuilClientDataSet& dataset, bool& allow) {
    (void)dataset;
    (void)allow;
  }
  //! Before a linked screen is created: the screen may name another class to open.
  virtual void QuilDBFormBeforeCreateForm(const TQuilFormLink& link, std::string& className) {
    (void)link;
    (void)className;
  }

  // The plain-window hooks map to the screen events.
  void FormShow() final { QuilDBFormShow(); }
  void FormCloseQuery(bool& canClose) final { QuilDBFormCloseQuery(canClose); }
  void FormClose(TCloseAction& action) final { QuilDBFormClose(action); }
  bool AllowEdit(TQuilClientDataSet& dataset) override;
  bool AllowInsert(TQuilClientDataSet& dataset) override;
  bool AllowDelete(TQuilClientDataSet& dataset) override;

 private:
  // Data sources go before the datasets they show (declared after them).
  std::vector<std::unique_ptr<TQuilClientDataSet>> dataSets_;
  std::vector<std::unique_ptr<TDataSource>> dataSources_;
  TDataSource* master_ = nullptr;
  TQuilDBForm* masterForm_ = nullptr;
  std::vector<std::string> masterFieldsToParams_;
  int rights_ = 0xF;
  bool readOnly_ = false;
  int jobId_ = -1;
};

}  // namespace quil
