#include "host/forms/QuilForm.h"

#include "host/forms/DBControls.h"
#include "host/forms/QuilApplication.h"

namespace quil {

// ---------------------------------------------------------------------------- TNameValueList

void TNameValueList::SetValue(std::string_view name, std::string_view value) {
  for (auto& [n, v] : items_) {
    if (SameText(n, name)) {
      v = std::string(value);
      return;
    }
  }
  items_.emplace_back(std::string(name), std::string(value));
}

bool TNameValueList::Has(std::string_view name) const {
  for (const auto& item : items_) {
    if (SameText(item.first, name)) return true;
  }
  return false;
}

std::string TNameValueList::Value(std::string_view name) const {
  for (const auto& [n, v] : items_) {
    if (SameText(n, name)) return v;
  }
  return "";
}

void TNameValueList::Remove(std::string_view name) {
  std::erase_if(items_, [&](const auto& item) { return SameText(item.first, name); });
}

std::string TNameValueList::Text() const {
  std::string out;
  for (const auto& [n, v] : items_) {
    if (!out.empty()) out += "\n";
    out += n + "=" + v;
  }
  return out;
}

TNameValueList ParamsToReportParams(const std::vector<std::string>& pairs,
                                    const TNameValueList& params) {
  TNameValueList out = params;
  for (const std::string& pair : pairs) {
    auto [param, reportParam] = SplitNamePair(pair);
    if (params.Has(param)) out.SetValue(reportParam, params.Value(param));
  }
  return out;
}

CursorGuard::CursorGuard(TQuilApplication& app, TCursor cursor) : app_(app) {
  app_.PushCursor(cursor);
}

CursorGuard::~CursorGuard() {
  app_.PopCursor();
}

// --------------------------------------------------------------------------------- TQuilForm

TQuilForm::TQuilForm(TQuilApplication& app, std::string className)
    : app_(app), className_(std::move(className)) {}

TQuilForm::~TQuilForm() = default;

void TQuilForm::AdoptControl(std::unique_ptr<TControl> control) {
  if (FindControl(control->Name()) != nullptr) {
    throw std::logic_error("duplicate control name " + control->Name() + " in " + className_);
  }
  controls_.push_back(std::move(control));
}

TControl* TQuilForm::FindControl(std::string_view name) const {
  for (const auto& control : controls_) {
    if (SameText(control->Name(), name)) return control.get();
  }
  return nullptr;
}

std::vector<TControl*> TQuilForm::TopLevelControls() const {
  std::vector<TControl*> top;
  for (const auto& control : controls_) {
    if (control->Parent() == nullptr) top.push_back(control.get());
  }
  return top;
}

TAction& TQuilForm::AddPlaceholderAction(std::string name, std::string caption) {
  TAction& action = AddAction(std::move(name), std::move(caption), {});
  action.Placeholder = true;
  action.Enabled = false;
  action.OnUpdate = [&action] { action.Enabled = false; };
  return action;
}

TAction& TQuilForm::AddAction(std::string name, std::string caption, TAction::Handler onExecute,
                              TAction::Handler onUpdate) {
  if (FindAction(name) != nullptr) {
    throw std::logic_error("duplicate action name " + name + " in " + className_);
  }
  auto action = std::make_unique<TAction>(std::move(name));
  action->Caption = std::move(caption);
  action->OnExecute = std::move(onExecute);
  action->OnUpdate = std::move(onUpdate);
  actions_.push_back(std::move(action));
  return *actions_.back();
}

TAction* TQuilForm::FindAction(std::string_view name) const {
  for (const auto& action : actions_) {
    if (SameText(action->Name(), name)) return action.get();
  }
  return nullptr;
}

void TQuilForm::UpdateActions() {
  for (const auto& action : actions_) action->Update();
  for (const auto& control : controls_) {
    const TAction* action = control->Action;
    if (action == nullptr) continue;
    control->Enabled = action->Enabled;
    control->Visible = action->Visible;
    if (!action->Caption.empty()) control->Caption = action->Caption;
    if (!action->Hint.empty()) control->Hint = action->Hint;
    if (auto* box = dynamic_cast<TCheckBox*>(control.get())) box->SetChecked(action->Checked);
  }
}

TModalResult TQuilForm::ShowModal() {
  return app_.RunModal(*this);
}

void TQuilForm::SetModalResult(TModalResult result) {
  if (result != mrNone) {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) return;
    TCloseAction action = caHide;
    FormClose(action);
    if (action == caNone) return;
  }
  modalResult_ = result;
}

IDialogs& TQuilForm::Dialogs() const {
  return app_.Dialogs();
}
void TQuilForm::ShowMessage(std::string_view text) const {
  Dialogs().ShowMessage(text);
}

TModalResult TQuilForm::MessageDlg(std::string_view text, TMsgDlgType type,
                                   const TMsgDlgButtons& buttons, int helpContext) const {
  return Dialogs().MessageDlg(text, type, buttons, helpContext);
}

int TQuilForm::QuestionDlg(std::string_view caption, std::string_view text, TMsgDlgType type,
                           const std::vector<TQuestionChoice>& choices, int defaultResult) const {
  return Dialogs().QuestionDlg(caption, text, type, choices, defaultResult);
}

bool TQuilForm::QuilQuestion(std::string_view text) const {
  return Dialogs().QuilQuestion(text);
}
void TQuilForm::QuilMessage(std::string_view text) const {
  Dialogs().QuilMessage(text);
}

bool TQuilForm::InputQuery(std::string_view caption, std::string_view prompt,
                           std::string& value) const {
  return Dialogs().InputQuery(caption, prompt, value);
}

void TQuilForm::PushCursor(TCursor cursor) const {
  app_.PushCursor(cursor);
}
void TQuilForm::PopCursor() const {
  app_.PopCursor();
}
void TQuilForm::ProcessMessages() const {
  app_.ProcessMessages();
}
AdminPrefs& TQuilForm::AdminPrefs() const {
  return app_.AdminPrefs();
}

void TQuilForm::StartEdit(TQuilClientDataSet& dataset) {
  if (dataset.State() == DataSetState::Edit || dataset.State() == DataSetState::Insert) return;
  if (!AllowEdit(dataset)) Abort();
  dataset.Edit();
}

bool TQuilForm::ShowsDataSource(const TDataSource& source) const {
  for (const auto& control : controls_) {
    const TDataSource* shown = nullptr;
    if (auto* editor = dynamic_cast<const TDBControl*>(control.get())) shown = editor->DataSource;
    if (auto* grid = dynamic_cast<const TDBGrid*>(control.get())) shown = grid->DataSource;
    if (shown == &source && control->Reachable()) return true;
  }
  return false;
}

TControl* TQuilForm::EditorOfField(const TDataSource& source, std::string_view fieldName) const {
  for (const auto& control : controls_) {
    if (auto* editor = dynamic_cast<TDBControl*>(control.get())) {
      if (editor->DataSource == &source && SameText(editor->DataField, fieldName) &&
          editor->Reachable() && editor->AcceptsValue()) {
        return editor;
      }
    }
    if (auto* grid = dynamic_cast<TDBGrid*>(control.get())) {
      if (grid->DataSource == &source && grid->Reachable() && grid->EditsField(fieldName)) {
        return grid;
      }
    }
  }
  return nullptr;
}

// ------------------------------------------------------------------------------- TQuilDBForm

TQuilDBForm::TQuilDBForm(TQuilApplication& app, std::string className)
    : TQuilForm(app, std::move(className)) {}

TQuilDBForm::~TQuilDBForm() {
  // Sources first: they unhook themselves from the datasets and from detail datasets.
  dataSources_.clear();
  dataSets_.clear();
}

void TQuilDBForm::ApplyDefinition(const TFormDefinition& definition) {
  auto set = [](std::string& property, const std::string& value) {
    if (!value.empty()) property = value;
  };
  set(Caption, definition.Caption);
  set(TabCaption, definition.TabCaption);
  set(Group, definition.Group);
  set(MainDataSource, definition.MainDataSource);
  set(DefaultBrowserForm, definition.DefaultBrowserForm);
  if (!definition.FormLinks.empty()) FormLinks = definition.FormLinks;
  if (!definition.ReportDefs.empty()) ReportDefs = definition.ReportDefs;
  if (!definition.FieldsToParams.empty()) FieldsToParams = definition.FieldsToParams;
  if (!definition.ParamsToReportParams.empty()) {
    ParamsToReportParams = definition.ParamsToReportParams;
  }
  SaveOnPrint = definition.SaveOnPrint;
  ReportFields = definition.ReportFields;
  if (definition.HelpContext != 0) HelpContext = definition.HelpContext;
}

TDataSource& TQuilDBForm::AddDataSource(std::string name, TQuilClientDataSet* dataset) {
  dataSources_.push_back(std::make_unique<TDataSource>(dataset, std::move(name)));
  return *dataSources_.back();
}

TQuilClientDataSet* TQuilDBForm::FindDataSet(std::string_view name) const {
  for (const auto& dataset : dataSets_) {
    if (SameText(dataset->Name, name)) return dataset.get();
  }
  return nullptr;
}

TDataSource* TQuilDBForm::FindDataSource(std::string_view name) const {
  for (const auto& source : dataSources_) {
    if (SameText(source->Name, name)) return source.get();
  }
  return nullptr;
}

TDataSource& TQuilDBForm::DataSourceByName(std::string_view name) const {
  TDataSource* source = FindDataSource(name);
  if (source == nullptr) {
    throw std::logic_error("no data source " + std::string(name) + " in " + ClassName());
  }
  return *source;
}

TDataSource* TQuilDBForm::MainDataSourcePtr() const {
  return MainDataSource.empty() ? nullptr : FindDataSource(MainDataSource);
}

void TQuilDBForm::SetMasterBrowser(TDataSource* master, TQuilDBForm* masterForm,
                                   std::vector<std::string> masterFieldsToParams) {
  master_ = master;
  masterForm_ = masterForm;
  masterFieldsToParams_ = std::move(masterFieldsToParams);
  QuilDBFormSetMasterBrowser(master);
}

void TQuilDBForm::LinkToMaster(TQuilClientDataSet& dataset) {
  for (const auto* pairs : {&masterFieldsToParams_, &FieldsToParams}) {
    for (const std::string& pair : *pairs) {
      auto [field, param] = SplitNamePair(pair);
      if (!SameText(field, param)) dataset.MasterFields.emplace_back(param, field);
    }
  }
  dataset.SetMasterdataSource(master_);
}

TDataSource* TQuilDBForm::FindDataSourceWithField(TDataSource* source, std::string_view fieldName,
                                                  bool searchMasters) const {
  if (searchMasters) return quil::FindDataSourceWithField(source, fieldName);
  TQuilClientDataSet* dataset = source != nullptr ? source->DataSet() : nullptr;
  return dataset != nullptr && dataset->FindField(fieldName) != nullptr ? source : nullptr;
}

TField& TQuilDBForm::RequireMasterField(std::string_view fieldName) const {
  TDataSource* source = FindDataSourceWithField(master_, fieldName);
  if (source == nullptr) {
    RaiseClientError(Format("Het scherm '%s' kan niet openen: het hoofdscherm geeft geen %s",
                            Caption, fieldName));
  }
  return source->DataSet()->FieldByName(fieldName);
}

TDMQuil& TQuilDBForm::GetConnection() const {
  return Application().Connection();
}

int TQuilDBForm::GetJobID() {
  if (jobId_ < 0) jobId_ = GetConnection().GetJobID();
  return jobId_;
}

std::string TQuilDBForm::PrepareJob(int jobType, int jobId, const JobData& data) {
  return GetConnection().PrepareJob(jobType, jobId, data);
}

std::string TQuilDBForm::ExecuteJob(int jobType, int jobId, const JobData& data) {
  return GetConnection().ExecuteJob(jobType, jobId, data);
}

std::string TQuilDBForm::CleanJob(int jobType, int jobId, const JobData& data) {
  return GetConnection().CleanJob(jobType, jobId, data);
}

void TQuilDBForm::RestoreSettings() {
  TSettingsFile settings =
      TSettingsFile::FromText(GetConnection().Server().ReadSettings(ClassName()));
  QuilDBFormRestoreSettings(settings);
}

void TQuilDBForm::SaveSettings() {
  IAppServer& server = GetConnection().Server();
  std::string stored = server.ReadSettings(ClassName());
  TSettingsFile settings = TSettingsFile::FromText(stored);
  QuilDBFormSaveSettings(settings);
  std::string text = settings.Text();
  if (text != stored) server.WriteSettings(ClassName(), text);
}

TPrintParams TQuilDBForm::GetPrintParams(const TReportDef& report) {
  TPrintParams params;
  TDataSource* main = MainDataSourcePtr();
  TQuilClientDataSet* dataset = main != nullptr ? main->DataSet() : nullptr;
  if (dataset != nullptr) {
    for (const TParam& param : dataset->GetParams()) {
      params.SetValue(param.name, param.value.AsString());
    }
  }
  // A mapped name the dataset has no parameter for is read from the record chain.
  for (const std::string& pair : ParamsToReportParams) {
    std::string name = SplitNamePair(pair).first;
    if (params.Has(name)) continue;
    if (TDataSource* source = FindDataSourceWithField(main ? main : master_, name)) {
      TQuilClientDataSet* holder = source->DataSet();
      if (holder->Active() && !holder->IsEmpty()) {
        params.SetValue(name, holder->FieldByName(name).AsString());
      }
    }
  }
  QuilDBFormGetPrintParams(report.FileNames, params);
  return quil::ParamsToReportParams(ParamsToReportParams, params);
}

void TQuilDBForm::Print(int reportIndex) {
  if (reportIndex < 0 || reportIndex >= static_cast<int>(ReportDefs.size())) {
    RaiseClientError(Format("Rapport %d bestaat niet", reportIndex));
  }
  const TReportDef& report = ReportDefs[reportIndex];
  TDataSource* main = MainDataSourcePtr();
  if (SaveOnPrint && main != nullptr && main->DataSet() != nullptr && main->DataSet()->Active()) {
    main->DataSet()->CheckBrowseMode();
  }
  Application().Print({ClassName(), Caption, report, GetPrintParams(report)});
}

bool TQuilDBForm::AllowEdit(TQuilClientDataSet& dataset) {
  bool allow = !readOnly_ && HasRight(kRightChange);
  if (allow) QuilDBFormCanEdit(dataset, allow);
  return allow;
}

bool TQuilDBForm::AllowInsert(TQuilClientDataSet& dataset) {
  bool allow = !readOnly_ && HasRight(kRightInsert);
  if (allow) QuilDBFormCanInsert(dataset, allow);
  return allow;
}

bool TQuilDBForm::AllowDelete(TQuilClientDataSet& dataset) {
  bool allow = !readOnly_ && HasRight(kRightDelete);
  if (allow) QuilDBFormCanDelete(dataset, allow);
  return allow;
}

}  // namespace quil
