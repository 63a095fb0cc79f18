#include "web/HostApp.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <set>

#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/data/DMQuil.h"
#include "host/domain/AdminPrefs.h"
#include "host/forms/FormManager.h"
#include "host/forms/QuilApplication.h"
#include "host/forms/SelectGemeenteFrame.h"
#include "server/AppServer.h"
#include "web/FormRenderer.h"
#include "web/WebDialogs.h"
#include "web/WerkDatumSetting.h"

namespace quil::web {

namespace {

using nlohmann::json;

//! Rows of a printable listing; a larger list is cut, and the listing says so.
constexpr int kMaxPrintRows = 5000;
//! Listings kept for the browser to fetch.
constexpr size_t kKeptPrints = 5;
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

std::string Text(const json& event, const char* key) {
  auto it = event.find(key);
  if (it == event.end() || !it->is_string()) {
    throw BadRequest(std::string("'") + key + "' ontbreekt of is geen tekst");
  }
  return it->get<std::string>();
}

int Number(const json& event, const char* key) {
  auto it = event.find(key);
  if (it != event.end() && it->is_number_integer()) return it->get<int>();
  if (it != event.end() && it->is_string()) {
    try {
      return std::stoi(it->get<std::string>());
    } catch (const std::exception&) {
    }
  }
  throw BadRequest(std::string("'") + key + "' ontbreekt of is geen getal");
}

const std::map<std::string, TDataSetCommand, std::less<>>& Commands() {
  static const std::map<std::string, TDataSetCommand, std::less<>> commands = {
      {"first", TDataSetCommand::First},
      {"prior", TDataSetCommand::Prior},
      {"next", TDataSetCommand::Next},
      {"last", TDataSetCommand::Last},
      {"insert", TDataSetCommand::Insert},
      {"append", TDataSetCommand::Append},
      {"edit", TDataSetCommand::Edit},
      {"post", TDataSetCommand::Post},
      {"cancel", TDataSetCommand::Cancel},
      {"delete", TDataSetCommand::Delete},
      {"refresh", TDataSetCommand::Refresh},
      {"apply", TDataSetCommand::ApplyUpdates},
      {"cancelUpdates", TDataSetCommand::CancelUpdates},
  };
  return commands;
}

//! The id of the SCHOOLJAAR row of school year Y ("2025"); -1 when there is none.
int32_t SchoolYearId(server::AppServer& server, int year) {
  auto stmt = server.db().Prepare("SELECT SJ_ID FROM SCHOOLJAAR WHERE SJ_CODE = :CODE");
  stmt->BindText(stmt->ParameterIndex("CODE"), std::to_string(year));
  return stmt->Step() ? static_cast<int32_t>(stmt->ColumnInt64(0)) : -1;
}

class HostApp final : public SessionApp {
 public:
  explicit HostApp(const SessionContext& context)
      : context_(context),
        server_(server::AppServer::Open(context.databasePath, context.user.id).release()),
        connection_(std::unique_ptr<IAppServer>(server_)),
        dialogs_(context.dialogs),
        app_(connection_, dialogs_) {
    auto prefs =
        std::make_shared<AdminPrefs>(ReadWerkDatum(*server_, DateOf(server_->GetServerDatum())));
    prefs->SetWerkJaarID(SchoolYearId(*server_, prefs->WerkJaar()));
    app_.SetAdminPrefs(std::move(prefs));
    app_.OnProcessMessages = [this] { ReportProgress(); };
    app_.OnPrint = [this](const TPrintRequest& request) { KeepPrint(request); };
  }

  //! A session that ends (logout, idle, server stop) keeps the users' screen settings, as closing
  //! each screen would; nothing is asked, since nobody is there to answer.
  ~HostApp() override {
    for (TQuilDBForm* form : app_.Forms()) {
      try {
        form->SaveSettings();
      } catch (const std::exception&) {  // a screen that cannot save loses only its settings
      }
    }
  }

  void HandleEvent(const json& event) override {
    const std::string type = Text(event, "type");
    if (type == "open") return Open(Text(event, "class"));
    if (type == "werkdatum") return SetWerkDatum(Text(event, "value"));
    // Everything else names a form; while a dialog is shown modally only it takes events.
    TQuilForm& form = FormOf(event);
    if (!dialogs_.ModalForms().empty() && &form != dialogs_.ModalForms().back()) return;
    if (type == "activate") return Activate(form);
    if (type == "close") return Close(form);
    if (type == "action") return Action(form, Text(event, "action"));
    if (type == "click") return void(app_.Click(form, ControlOf(form, event).Name()));
    if (type == "value") {
      return void(app_.SetValue(form, ControlOf(form, event).Name(), Text(event, "value")));
    }
    if (type == "check") return Check(ControlOf(form, event), Number(event, "index"), event);
    if (type == "search") return Search(ControlOf(form, event), Text(event, "text"));
    if (type == "month") {
      return Month(ControlOf(form, event), Number(event, "year"), Number(event, "month"));
    }
    if (type == "view") return View(form, ControlOf(form, event), event);
    if (type == "dblclick") return DblClick(ControlOf(form, event), Number(event, "recNo"));
    TQuilDBForm& screen = ScreenOf(form);
    if (type == "field") {
      SourceOf(screen, event);
      return void(app_.SetFieldValue(form, Text(event, "source"), Text(event, "field"),
                                     Text(event, "value")));
    }
    if (type == "move") {
      SourceOf(screen, event);
      return void(app_.MoveTo(form, Text(event, "source"), Number(event, "recNo")));
    }
    if (type == "command") return Command(screen, SourceOf(screen, event), Text(event, "command"));
    if (type == "link") return Link(screen, Number(event, "link"));
    if (type == "print") return Print(screen, Number(event, "report"));
    throw BadRequest("onbekende gebeurtenis '" + type + "'");
  }

  json Query(std::string_view name, const json& args) override {
    if (name == "menu") return Menu();
    if (name == "report") return Report(Number(args, "id"));
    if (name == "rows") {
      TQuilForm& form = FormOf(args);
      auto* grid = dynamic_cast<TDBGrid*>(&ControlOf(form, args));
      if (grid == nullptr) throw BadRequest("geen raster");
      return RenderRows(*grid, Number(args, "top"), Number(args, "count"));
    }
    throw UnknownQuery(std::string(name));
  }

  json State() override {
    Prune();
    json forms = json::array();
    for (TQuilDBForm* form : app_.Forms()) {
      const int id = IdOf(*form);
      forms.push_back({{"id", id},
                       {"class", form->ClassName()},
                       {"caption", form->Caption},
                       {"tab", form->TabCaption.empty() ? form->Caption : form->TabCaption}});
    }
    const AdminPrefs& prefs = app_.AdminPrefs();
    json out = {{"user", {{"login", context_.user.login}, {"name", context_.user.name}}},
                {"prefs",
                 {{"werkDatum", DateToStr(prefs.WerkDatum())},
                  {"werkJaar", prefs.WerkJaar()},
                  {"startOfWerkJaar", DateToStr(prefs.StartOfWerkJaar())},
                  {"endOfWerkJaar", DateToStr(prefs.EndOfWerkJaar())}}},
                {"forms", std::move(forms)},
                {"active", nullptr},
                {"modal", json::array()},
                {"print", lastPrint_}};
    if (TQuilDBForm* active = ActiveForm()) out["active"] = Rendered(*active);
    for (TQuilForm* modal : dialogs_.ModalForms()) out["modal"].push_back(Rendered(*modal));
    return out;
  }

 private:
  struct KeptPrint {
    int id;
    json listing;
  };

  // --- forms by id ----------------------------------------------------------------------------
  int IdOf(TQuilForm& form) {
    auto [it, added] = ids_.try_emplace(&form, nextId_);
    if (added) ++nextId_;
    return it->second;
  }

  TQuilForm& FormOf(const json& event) {
    const int id = Number(event, "form");
    for (const auto& [form, formId] : ids_) {
      if (formId == id && IsLive(form)) return *const_cast<TQuilForm*>(form);
    }
    throw BadRequest("scherm " + std::to_string(id) + " is niet open");
  }

  bool IsLive(const TQuilForm* form) const {
    auto forms = app_.Forms();
    const auto& modal = dialogs_.ModalForms();
    return std::find(forms.begin(), forms.end(), form) != forms.end() ||
           std::find(modal.begin(), modal.end(), form) != modal.end();
  }

  //! Forgets the ids of forms that closed.
  void Prune() {
    for (auto it = ids_.begin(); it != ids_.end();) {
      if (IsLive(it->first)) {
        ++it;
      } else {
        windows_.erase(it->second);
        if (it->second == activeId_) activeId_ = 0;
        it = ids_.erase(it);
      }
    }
  }

  TQuilDBForm* ActiveForm() {
    auto forms = app_.Forms();
    if (forms.empty()) return nullptr;
    for (TQuilDBForm* form : forms) {
      if (IdOf(*form) == activeId_) return form;
    }
    activeId_ = IdOf(*forms.back());
    return forms.back();
  }

  json Rendered(TQuilForm& form) {
    const int id = IdOf(form);
    json out = RenderForm(form, windows_[id]);
    out["id"] = id;
    return out;
  }

  static TQuilDBForm& ScreenOf(TQuilForm& form) {
    auto* screen = dynamic_cast<TQuilDBForm*>(&form);
    if (screen == nullptr) throw BadRequest(form.ClassName() + " is geen gegevensscherm");
    return *screen;
  }

  static TControl& ControlOf(TQuilForm& form, const json& event) {
    const std::string name = Text(event, "control");
    TControl* control = form.FindControl(name);
    if (control == nullptr) throw BadRequest("geen element '" + name + "' in " + form.ClassName());
    return *control;
  }

  static TDataSource& SourceOf(TQuilDBForm& screen, const json& event) {
    const std::string name = Text(event, "source");
    TDataSource* source = screen.FindDataSource(name);
    if (source == nullptr) throw BadRequest("geen gegevensbron '" + name + "'");
    return *source;
  }

  // --- events ---------------------------------------------------------------------------------
  void Open(const std::string& className) {
    if (!dialogs_.ModalForms().empty()) return;
    if (TQuilDBForm* form = app_.OpenForm(className)) activeId_ = IdOf(*form);
  }

  //! A new working date for the session and the user's next ones. It changes between events only,
  //! and not while a dialog is shown modally: a handler in that dialog's loop would see it change.
  //! Open screens read it anew for what they do next.
  void SetWerkDatum(const std::string& text) {
    if (!dialogs_.ModalForms().empty()) return;
    app_.Run([&] {
      const TDateTime date = ParseWerkDatum(text);
      WriteWerkDatum(*server_, date);
      AdminPrefs& prefs = app_.AdminPrefs();
      prefs.SetWerkDatum(date);
      if (prefs.WerkJaarID() == -1) prefs.SetWerkJaarID(SchoolYearId(*server_, prefs.WerkJaar()));
    });
  }

  void Activate(TQuilForm& form) {
    if (auto* screen = dynamic_cast<TQuilDBForm*>(&form)) activeId_ = IdOf(*screen);
  }

  void Close(TQuilForm& form) {
    if (auto* screen = dynamic_cast<TQuilDBForm*>(&form); screen != nullptr && !IsModal(form)) {
      app_.CloseForm(*screen);
      return;
    }
    app_.Run([&] { form.SetModalResult(mrCancel); });
  }

  bool IsModal(const TQuilForm& form) const {
    const auto& modal = dialogs_.ModalForms();
    return std::find(modal.begin(), modal.end(), &form) != modal.end();
  }

  void Action(TQuilForm& form, const std::string& name) {
    if (form.FindAction(name) == nullptr) throw BadRequest("geen actie '" + name + "'");
    app_.Execute(form, name);
  }

  void Check(TControl& control, int index, const json& event) {
    auto* list = dynamic_cast<TCheckListBox*>(&control);
    if (list == nullptr) throw BadRequest("geen keuzelijst");
    const bool checked = event.value("checked", false);
    app_.Run([&] {
      if (!control.Reachable() || index < 0 || index >= static_cast<int>(list->Items().size())) {
        return;
      }
      list->SetChecked(index, checked);
    });
  }

  //! Narrows the choices of a search control or of the municipality chooser.
  void Search(TControl& control, const std::string& text) {
    auto* search = dynamic_cast<TSearchControl*>(&control);
    auto* frame = dynamic_cast<TSelectGemeenteFrame*>(&control);
    if (search == nullptr && frame == nullptr) throw BadRequest("geen zoekveld");
    app_.Run([&] {
      if (!control.Reachable()) return;
      if (search != nullptr) search->Search(text);
      if (frame != nullptr) frame->Search(text);
    });
  }

  void Month(TControl& control, int year, int month) {
    auto* planner = dynamic_cast<TPlanner*>(&control);
    if (planner == nullptr || month < 1 || month > 12) throw BadRequest("geen kalender");
    app_.Run([&] {
      if (control.Reachable()) planner->ShowMonth(year, month);
    });
  }

  void View(TQuilForm& form, TControl& control, const json& event) {
    if (dynamic_cast<TDBGrid*>(&control) == nullptr) throw BadRequest("geen raster");
    GridWindow& window = windows_[IdOf(form)][UpperCaseAscii(control.Name())];
    window.top = std::max(0, Number(event, "top"));
    if (event.contains("count")) window.count = std::clamp(Number(event, "count"), 1, kMaxPageSize);
  }

  void DblClick(TControl& control, int recNo) {
    auto* grid = dynamic_cast<TDBGrid*>(&control);
    if (grid == nullptr) throw BadRequest("geen raster");
    app_.Run([&] {
      TQuilClientDataSet* dataset = grid->DataSource ? grid->DataSource->DataSet() : nullptr;
      if (!control.Reachable() || dataset == nullptr || !dataset->Active()) return;
      if (recNo >= 1 && recNo <= dataset->RecordCount()) dataset->SetRecNo(recNo);
      if (grid->OnDblClick) grid->OnDblClick();
    });
  }

  void Command(TQuilDBForm& screen, TDataSource& source, const std::string& name) {
    auto it = Commands().find(name);
    if (it == Commands().end()) throw BadRequest("onbekende opdracht '" + name + "'");
    if (it->second == TDataSetCommand::Delete && app_.AdminPrefs().ConfirmDeletion()) {
      TQuilClientDataSet* dataset = source.DataSet();
      if (dataset == nullptr || !dataset->Active() || dataset->IsEmpty()) return;
      bool yes = false;
      app_.Run([&] { yes = dialogs_.QuilQuestion("Wilt u dit record verwijderen?"); });
      if (!yes) return;
    }
    app_.DataSetCommand(screen, source.Name, it->second);
  }

  void Link(TQuilDBForm& screen, int index) {
    if (TQuilDBForm* form = app_.OpenFormLink(screen, index)) activeId_ = IdOf(*form);
  }

  void Print(TQuilDBForm& screen, int index) {
    printing_ = &screen;
    app_.PrintReport(screen, index);
    printing_ = nullptr;
  }

  // --- progress and printing ------------------------------------------------------------------
  void ReportProgress() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastProgress_ < kProgressInterval) return;
    lastProgress_ = now;
    json bars = json::array();
    std::vector<TQuilForm*> shown(dialogs_.ModalForms().begin(), dialogs_.ModalForms().end());
    if (TQuilDBForm* active = ActiveForm()) shown.insert(shown.begin(), active);
    for (TQuilForm* form : shown) {
      for (const auto& control : form->Controls()) {
        auto* bar = dynamic_cast<const TProgressBar*>(control.get());
        if (bar == nullptr || !bar->Reachable()) continue;
        bars.push_back({{"form", form->Caption},
                        {"caption", bar->Caption},
                        {"min", bar->Min},
                        {"max", bar->Max},
                        {"position", bar->Position}});
      }
    }
    context_.worker.ReportProgress({{"bars", std::move(bars)}});
  }

  void KeepPrint(const TPrintRequest& request) {
    TQuilDBForm* form = printing_;
    if (form == nullptr) form = app_.FindForm(request.formClass);
    json listing = {{"id", ++printCount_},
                    {"title", request.report.DisplayName},
                    {"caption", request.caption},
                    {"file", request.report.FileNames},
                    {"printed", DateTimeToStr(server_->GetServerDatum())},
                    {"params", json::array()}};
    for (const auto& [name, value] : request.params.Items()) {
      listing["params"].push_back({{"name", name}, {"value", value}});
    }
    listing["columns"] = json::array();
    listing["rows"] = json::array();
    if (form != nullptr) FillListing(*form, listing);
    prints_.push_back({printCount_, std::move(listing)});
    if (prints_.size() > kKeptPrints) prints_.erase(prints_.begin());
    lastPrint_ = {{"id", printCount_}, {"title", request.report.DisplayName}};
  }

  //! The main data source as a table: the columns of the grid that shows it (or every visible
  //! field) and its records in the current order.
  static void FillListing(TQuilDBForm& form, json& listing) {
    TDataSource* main = form.MainDataSourcePtr();
    TQuilClientDataSet* dataset = main != nullptr ? main->DataSet() : nullptr;
    if (dataset == nullptr || !dataset->Active()) return;
    const TDBGrid* shown = nullptr;
    for (const auto& control : form.Controls()) {
      auto* grid = dynamic_cast<const TDBGrid*>(control.get());
      if (grid != nullptr && grid->DataSource == main) {
        shown = grid;
        break;
      }
    }
    TDBGrid fallback(form, "__listing", nullptr);  // every visible field, as a grid shows them
    fallback.DataSource = main;
    const TDBGrid& grid = shown != nullptr ? *shown : fallback;
    for (const TColumn& column : grid.VisibleColumns()) {
      listing["columns"].push_back(grid.ColumnTitle(column));
    }
    json rows = RenderRows(grid, 0, std::min(dataset->RecordCount(), kMaxPrintRows));
    for (json& row : rows["rows"]) listing["rows"].push_back(std::move(row["cells"]));
    listing["count"] = dataset->RecordCount();
    listing["cut"] = dataset->RecordCount() > kMaxPrintRows;
  }

  json Report(int id) {
    for (const KeptPrint& print : prints_) {
      if (print.id == id) return print.listing;
    }
    throw BadRequest("deze afdruk is niet meer beschikbaar");
  }

  // --- menu -----------------------------------------------------------------------------------
  json Menu() {
    std::map<std::string, bool> mayOpen;
    auto allowed = [&](const std::string& formClass) {
      auto [it, added] = mayOpen.try_emplace(UpperCaseAscii(formClass), false);
      if (added) it->second = (server_->GetFormRights(formClass) & 1) != 0;
      return it->second;
    };
    json sections = json::array();
    for (const TMenuNode& section : FormManager().MenuTree()) {
      json node = MenuNode(section, allowed);
      if (!node.is_null()) sections.push_back(std::move(node));
    }
    return {{"sections", std::move(sections)}};
  }

  template <class Allowed>
  static json MenuNode(const TMenuNode& node, Allowed& allowed) {
    if (!node.FormClass.empty()) {
      if (!allowed(node.FormClass)) return nullptr;
      return {{"caption", node.Caption}, {"class", node.FormClass}};
    }
    json items = json::array();
    for (const TMenuNode& item : node.Items) {
      json child = MenuNode(item, allowed);
      if (!child.is_null()) items.push_back(std::move(child));
    }
    if (items.empty()) return nullptr;  // nothing the user may open below it
    return {{"caption", node.Caption}, {"items", std::move(items)}};
  }

  SessionContext context_;
  server::AppServer* server_;  //!< owned by connection_
  TDMQuil connection_;
  WebDialogs dialogs_;
  TQuilApplication app_;
  std::map<const TQuilForm*, int> ids_;
  std::map<int, GridWindows> windows_;
  int nextId_ = 1;
  int activeId_ = 0;
  TQuilDBForm* printing_ = nullptr;
  int printCount_ = 0;
  std::vector<KeptPrint> prints_;
  json lastPrint_;
  std::chrono::steady_clock::time_point lastProgress_;
};

}  // namespace

SessionAppFactory HostAppFactory() {
  return [](const SessionContext& context) { return std::make_unique<HostApp>(context); };
}

}  // namespace quil::web
