#include "host/forms/QuilApplication.h"

#include <algorithm>

#include "host/base/ScopeExit.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/DBControls.h"
#include "host/forms/FormManager.h"
#include "host/forms/ScriptedDialogs.h"

namespace quil {

namespace {

//! Counts the events running, so that only the outermost boundary handles errors.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

//! The session whose event runs on this thread, innermost first.
thread_local TQuilApplication* tRunning = nullptr;

//! Default browsers name default browsers; a chain longer than this is a loop in a catalogue.
constexpr int kMaxBrowserDepth = 8;

}  // namespace

const char* EventResultName(TEventResult result) {
  switch (result) {
    case TEventResult::Done:
      return "Done";
    case TEventResult::Refused:
      return "Refused";
    case TEventResult::ClientError:
      return "ClientError";
    case TEventResult::Aborted:
      return "Aborted";
    case TEventResult::InternalError:
      return "InternalError";
  }
  return "?";
}

TQuilApplication::TQuilApplication(TDMQuil& connection, IDialogs& dialogs)
    : connection_(connection), dialogs_(dialogs) {}

TQuilApplication::~TQuilApplication() {
  // Details before their masters: the last opened goes first.
  while (!screens_.empty()) screens_.pop_back();
}

AdminPrefs& TQuilApplication::AdminPrefs() const {
  if (!adminPrefs_) throw std::logic_error("the session has no working-year preferences");
  return *adminPrefs_;
}

void TQuilApplication::PopCursor() {
  if (!cursors_.empty()) cursors_.pop_back();
}

void TQuilApplication::ProcessMessages() {
  ++processMessages_;
  if (OnProcessMessages) OnProcessMessages();
}

void TQuilApplication::Print(const TPrintRequest& request) {
  printed_.push_back(request);
  if (OnPrint) OnPrint(request);
}

// ------------------------------------------------------------------------------ boundary

void TQuilApplication::ShowClientError(const std::string& message) {
  dialogs_.MessageDlg(EchoText(message, kMaxMessageBytes), mtError, {mbOK}, 0);
}

void TQuilApplication::ReportInternalError(const std::string& message) {
  internalErrors_.push_back(message);
  dialogs_.MessageDlg(EchoText("Interne fout: " + message, kMaxMessageBytes), mtError, {mbOK}, 0);
}

void TQuilApplication::UpdateAllActions() {
  for (const OpenScreen& screen : screens_) screen.form->UpdateActions();
  for (TQuilForm* dialog : modalForms_) dialog->UpdateActions();
}

TEventResult TQuilApplication::Run(const std::function<void()>& handler) {
  if (depth_ > 0) {
    DepthGuard nested(depth_);
    handler();
    return TEventResult::Done;
  }
  TEventResult result = Guarded(handler);
  // The enabling rules see the state the event left, whatever its outcome.
  TEventResult updates = Guarded([this] { UpdateAllActions(); });
  return result == TEventResult::Done ? updates : result;
}

TQuilApplication& TQuilApplication::Running() {
  if (tRunning == nullptr) throw std::logic_error("no session event runs on this thread");
  return *tRunning;
}

TEventResult TQuilApplication::Guarded(const std::function<void()>& handler) {
  DepthGuard outer(depth_);
  ScopeExit restoreRunning([former = tRunning] { tRunning = former; });
  tRunning = this;
  TEventResult result = TEventResult::Done;
  try {
    handler();
  } catch (const EScriptFailure&) {
    cursors_.clear();
    throw;
  } catch (const EClientError& e) {
    ShowClientError(e.what());
    result = TEventResult::ClientError;
  } catch (const EAbort&) {
    result = TEventResult::Aborted;
  } catch (const std::exception& e) {
    ReportInternalError(e.what());
    result = TEventResult::InternalError;
  } catch (...) {
    ReportInternalError("onbekende fout");
    result = TEventResult::InternalError;
  }
  // A cursor left pushed by a failed operation must not outlive the event.
  cursors_.clear();
  return result;
}

TEventResult TQuilApplication::Execute(TQuilForm& form, std::string_view actionName) {
  TAction* action = form.FindAction(actionName);
  if (action == nullptr) {
    return Run([&] {
      throw std::logic_error("no action " + std::string(actionName) + " in " + form.ClassName());
    });
  }
  // An action shown only through its controls is reached only through one the user reaches.
  bool bound = false;
  for (const auto& control : form.Controls()) {
    if (control->Action != action) continue;
    if (control->Reachable()) return Execute(*action);
    bound = true;
  }
  return bound ? TEventResult::Refused : Execute(*action);
}

TEventResult TQuilApplication::Execute(TAction& action) {
  bool ran = false;
  TEventResult result = Run([&] { ran = action.Execute(); });
  return result == TEventResult::Done && !ran ? TEventResult::Refused : result;
}

TEventResult TQuilApplication::Click(TQuilForm& form, std::string_view controlName) {
  bool ran = false;
  TEventResult result = Run([&] {
    TControl& control = form.ControlByName(controlName);
    if (!control.Reachable()) return;
    ran = control.Click();
  });
  return result == TEventResult::Done && !ran ? TEventResult::Refused : result;
}

TEventResult TQuilApplication::SetValue(TQuilForm& form, std::string_view controlName,
                                        std::string_view text) {
  bool ran = false;
  TEventResult result = Run([&] {
    TControl& control = form.ControlByName(controlName);
    if (!control.Reachable() || !control.AcceptsValue()) return;
    control.SetValueText(text);
    ran = true;
  });
  return result == TEventResult::Done && !ran ? TEventResult::Refused : result;
}

TEventResult TQuilApplication::DataSetCommand(TQuilForm& form, std::string_view dataSourceName,
                                              TDataSetCommand command) {
  bool ran = true;
  TEventResult result = Run([&] {
    auto* dbForm = dynamic_cast<TQuilDBForm*>(&form);
    if (dbForm == nullptr) throw std::logic_error(form.ClassName() + " has no data sources");
    TDataSource& source = dbForm->DataSourceByName(dataSourceName);
    TQuilClientDataSet* dataset = source.DataSet();
    if (dataset == nullptr || !source.Enabled || !form.ShowsDataSource(source)) {
      ran = false;
      return;
    }
    switch (command) {
      case TDataSetCommand::First:
        dataset->First();
        break;
      case TDataSetCommand::Prior:
        dataset->Prior();
        break;
      case TDataSetCommand::Next:
        dataset->Next();
        break;
      case TDataSetCommand::Last:
        dataset->Last();
        break;
      case TDataSetCommand::Insert:
      case TDataSetCommand::Append:
        if (!(ran = form.AllowInsert(*dataset))) return;
        command == TDataSetCommand::Insert ? dataset->Insert() : dataset->Append();
        break;
      case TDataSetCommand::Edit:
        if (!(ran = form.AllowEdit(*dataset))) return;
        dataset->Edit();
        break;
      case TDataSetCommand::Post:
        dataset->Post();
        break;
      case TDataSetCommand::Cancel:
        dataset->Cancel();
        break;
      case TDataSetCommand::Delete:
        if (!(ran = form.AllowDelete(*dataset))) return;
        if (adminPrefs_ && adminPrefs_->ConfirmDeletion()) {
          if (!dataset->Active() || dataset->IsEmpty()) return;
          if (!dialogs_.QuilQuestion("Wilt u dit record verwijderen?")) return;
        }
        dataset->Delete();
        break;
      case TDataSetCommand::Refresh:
        dataset->Refresh();
        break;
      case TDataSetCommand::ApplyUpdates:
        dataset->ApplyUpdates(dataset->MaxErrors);
        break;
      case TDataSetCommand::CancelUpdates:
        dataset->CancelUpdates();
        break;
    }
  });
  return result == TEventResult::Done && !ran ? TEventResult::Refused : result;
}

TEventResult TQuilApplication::MoveTo(TQuilForm& form, std::string_view dataSourceName, int recNo) {
  bool ran = true;
  TEventResult result = Run([&] {
    auto& dbForm = dynamic_cast<TQuilDBForm&>(form);
    TDataSource& source = dbForm.DataSourceByName(dataSourceName);
    TQuilClientDataSet* dataset = source.DataSet();
    if (dataset == nullptr || !source.Enabled || !form.ShowsDataSource(source)) {
      ran = false;
      return;
    }
    if (recNo < 1 || recNo > dataset->RecordCount()) {
      RaiseClientError(Format("Record %d bestaat niet", recNo));
    }
    dataset->SetRecNo(recNo);
  });
  return result == TEventResult::Done && !ran ? TEventResult::Refused : result;
}

TEventResult TQuilApplication::SetFieldValue(TQuilForm& form, std::string_view dataSourceName,
                                             std::string_view fieldName, std::string_view text) {
  bool ran = true;
  TEventResult result = Run([&] {
    auto& dbForm = dynamic_cast<TQuilDBForm&>(form);
    TDataSource& source = dbForm.DataSourceByName(dataSourceName);
    TQuilClientDataSet* dataset = source.DataSet();
    if (dataset == nullptr) throw std::logic_error("data source without dataset");
    TField& field = dataset->FieldByName(fieldName);
    // Only through a control the screen offers for it now, with that control's own checks.
    TControl* editor = form.EditorOfField(source, field.FieldName());
    if (editor == nullptr) {
      ran = false;
      return;
    }
    if (dynamic_cast<TDBControl*>(editor) != nullptr) return editor->SetValueText(text);
    form.StartEdit(*dataset);
    text.empty() ? field.Clear() : field.SetAsString(text);
  });
  return result == TEventResult::Done && !ran ? TEventResult::Refused : result;
}

TEventResult TQuilApplication::PrintReport(TQuilDBForm& form, int reportIndex) {
  bool ran = true;
  TEventResult result = Run([&] {
    // A report the screen does not show cannot be printed.
    if (reportIndex >= 0 && reportIndex < static_cast<int>(form.ReportDefs.size()) &&
        !form.ReportDefs[reportIndex].Visible) {
      ran = false;
      return;
    }
    form.Print(reportIndex);
  });
  return result == TEventResult::Done && !ran ? TEventResult::Refused : result;
}

TModalResult TQuilApplication::RunModal(TQuilForm& form) {
  form.SetModalResult(mrNone);
  form.UpdateActions();
  form.FormShow();
  // The dialog runs an event loop of its own: its events get their own boundary.
  struct Restore {
    TQuilApplication& app;
    int depth;
    ~Restore() {
      app.depth_ = depth;
      app.modalForms_.pop_back();
    }
  } restore{*this, depth_};
  depth_ = 0;
  modalForms_.push_back(&form);
  return dialogs_.ShowModal(form);
}

// ------------------------------------------------------------------------------- screens

TQuilDBForm* TQuilApplication::OpenForm(std::string_view className) {
  TQuilDBForm* form = nullptr;
  Run([&] { form = &CreateForm(className); });
  return form;
}

TQuilDBForm* TQuilApplication::OpenFormLink(TQuilDBForm& master, int linkIndex) {
  TQuilDBForm* form = nullptr;
  Run([&] {
    if (linkIndex < 0 || linkIndex >= static_cast<int>(master.FormLinks.size())) {
      RaiseClientError(Format("Koppeling %d bestaat niet", linkIndex));
    }
    form = &CreateLinkedForm(master, master.FormLinks[linkIndex]);
  });
  return form;
}

TQuilDBForm* TQuilApplication::OpenFormLink(TQuilDBForm& master, std::string_view displayName) {
  for (size_t i = 0; i < master.FormLinks.size(); ++i) {
    if (master.FormLinks[i].DisplayName == displayName) {
      return OpenFormLink(master, static_cast<int>(i));
    }
  }
  Run([&] { RaiseClientError(Format("Koppeling '%s' bestaat niet", EchoText(displayName))); });
  return nullptr;
}

bool TQuilApplication::CloseForm(TQuilDBForm& form) {
  bool closed = false;
  Run([&] { closed = DoCloseForm(form); });
  return closed;
}

TEventResult TQuilApplication::ActivateForm(TQuilDBForm& form) {
  return Run([&] { form.QuilDBFormActivate(); });
}

bool TQuilApplication::MayOpen(std::string_view className) const {
  std::string current(className);
  for (int depth = 0; depth <= kMaxBrowserDepth; ++depth) {
    const TFormClass* formClass = FormManager().FindFormByName(current);
    if (formClass == nullptr) return false;
    if ((connection_.Server().GetFormRights(formClass->ClassName) & (1 << kRightOpen)) == 0) {
      return false;
    }
    current = formClass->Definition.DefaultBrowserForm;
    if (current.empty() || FindForm(current) != nullptr) return true;
  }
  return false;  // a loop of default browsers never opens
}

std::vector<TQuilDBForm*> TQuilApplication::Forms() const {
  std::vector<TQuilDBForm*> forms;
  for (const OpenScreen& screen : screens_) forms.push_back(screen.form.get());
  return forms;
}

TQuilDBForm* TQuilApplication::FindForm(std::string_view className) const {
  for (const OpenScreen& screen : screens_) {
    if (SameText(screen.form->ClassName(), className)) return screen.form.get();
  }
  return nullptr;
}

TQuilDBForm& TQuilApplication::CreateForm(std::string_view className) {
  return OpenAsMenuScreen(className, 0);
}

TQuilDBForm& TQuilApplication::OpenAsMenuScreen(std::string_view className, int depth) {
  const TFormClass* formClass = FormManager().FindFormByName(className);
  if (formClass == nullptr) {
    RaiseClientError(Format("Het scherm '%s' is niet gekend", EchoText(className)));
  }
  if (formClass->Definition.DefaultBrowserForm.empty()) {
    return CreateScreen(*formClass, nullptr, nullptr, false, {});
  }
  TQuilDBForm& browser = DefaultBrowserOf(*formClass, depth);
  // The browser's own link to this screen names the master data source; without one the
  // browser's main data source is the master.
  for (const TQuilFormLink& link : browser.FormLinks) {
    if (SameText(link.DetailForm, formClass->ClassName)) {
      return CreateScreen(*formClass, browser.FindDataSource(link.MasterDS), &browser,
                          link.ReadOnly, browser.FieldsToParams);
    }
  }
  return CreateScreen(*formClass, browser.MainDataSourcePtr(), &browser, false,
                      browser.FieldsToParams);
}

TQuilDBForm& TQuilApplication::DefaultBrowserOf(const TFormClass& formClass, int depth) {
  const std::string& browserClass = formClass.Definition.DefaultBrowserForm;
  if (TQuilDBForm* open = FindForm(browserClass)) return *open;
  if (depth >= kMaxBrowserDepth) {
    throw std::logic_error("default browsers of " + formClass.ClassName + " form a loop");
  }
  return OpenAsMenuScreen(browserClass, depth + 1);
}

TQuilDBForm& TQuilApplication::CreateLinkedForm(TQuilDBForm& master, const TQuilFormLink& link) {
  std::string className = link.DetailForm;
  master.QuilDBFormBeforeCreateForm(link, className);
  const TFormClass* formClass = FormManager().FindFormByName(className);
  if (formClass == nullptr) {
    RaiseClientError(Format("Het scherm '%s' is niet gekend", EchoText(className)));
  }
  TDataSource* source = master.FindDataSource(link.MasterDS);
  if (source == nullptr) {
    throw std::logic_error(master.ClassName() + " has no data source " + link.MasterDS);
  }
  return CreateScreen(*formClass, source, &master, link.ReadOnly, master.FieldsToParams);
}

TQuilDBForm& TQuilApplication::CreateScreen(const TFormClass& formClass, TDataSource* master,
                                            TQuilDBForm* masterForm, bool readOnly,
                                            std::vector<std::string> masterFieldsToParams) {
  int rights = connection_.Server().GetFormRights(formClass.ClassName);
  if ((rights & 1) == 0) {
    RaiseClientError(Format(
        "U hebt geen toegang tot het scherm '%s'",
        formClass.Definition.Caption.empty() ? formClass.ClassName : formClass.Definition.Caption));
  }
  std::unique_ptr<TQuilDBForm> owned = CreateFormOfClass(formClass, *this);
  TQuilDBForm& form = *owned;
  form.ApplyDefinition(formClass.Definition);
  form.SetRights(rights);
  form.QuilDBFormInitDataModule();
  form.QuilDBFormCreate();
  form.RestoreSettings();
  form.SetMasterBrowser(master, masterForm, std::move(masterFieldsToParams));
  if (readOnly) form.SetReadOnly(true);
  for (const auto& dataset : form.DataSets()) {
    if (dataset->AutoOpen && !dataset->Active()) dataset->Open();
  }
  // From here the screen is open: a failure in its show event closes it again.
  screens_.push_back({std::move(owned)});
  try {
    form.UpdateActions();
    form.QuilDBFormShow();
    form.QuilDBFormActivate();
  } catch (...) {
    std::erase_if(screens_, [&](const OpenScreen& s) { return s.form.get() == &form; });
    throw;
  }
  return form;
}

bool TQuilApplication::DoCloseForm(TQuilDBForm& form) {
  // The screens that have this one as master close first, the last opened first.
  for (auto it = screens_.rbegin(); it != screens_.rend(); ++it) {
    if (it->form->MasterForm() == &form) {
      if (!DoCloseForm(*it->form)) return false;
      return DoCloseForm(form);  // the list changed: start over
    }
  }
  bool canClose = true;
  form.QuilDBFormCloseQuery(canClose);
  if (!canClose) return false;
  form.SaveSettings();
  TCloseAction action = caFree;
  form.QuilDBFormClose(action);
  if (action == caNone) return false;
  form.QuilDBFormDestroy();
  std::erase_if(screens_, [&](const OpenScreen& s) { return s.form.get() == &form; });
  return true;
}

}  // namespace quil
