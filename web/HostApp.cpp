#include "web/HostApp.h"

#include <chrono>
#include <map>
#include <memory>

#include "host/base/ScopeExit.h"
#include "host/base/Strings.h"
#include "host/base/SysUtils.h"
#include "host/data/DMQuil.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/QuilApplication.h"
#include "web/ControlEvents.h"
#include "web/EventArgs.h"
#include "web/FormRenderer.h"
#include "web/Menu.h"
#include "web/OpenForms.h"
#include "web/Printouts.h"
#include "web/UserPrefs.h"
#include "web/WebDialogs.h"

namespace quil::web {

namespace {

using nlohmann::json;

constexpr auto kProgressInterval = std::chrono::milliseconds(100);

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

class HostApp final : public SessionApp {
 public:
  explicit HostApp(const SessionContext& context)
      : context_(context),
        server_(context.connect(context.user).release()),
        connection_(std::unique_ptr<IAppServer>(server_)),
        dialogs_(context.dialogs),
        app_(connection_, dialogs_) {
    auto prefs = std::make_shared<AdminPrefs>(DateOf(server_->GetServerDatum()));
    const std::string unusable = LoadAdminPrefs(*server_, *prefs);
    prefs->SetWerkJaarID(GetSchooljaarID(*server_, prefs->WerkJaar()));
    app_.SetAdminPrefs(std::move(prefs));
    // Told as the session's first event, once the session stands.
    if (!unusable.empty()) {
      context_.worker.Post([this, unusable] { app_.Run([&] { dialogs_.ShowMessage(unusable); }); });
    }
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
    const std::string type = TextArg(event, "type");
    if (type == "open") return Open(TextArg(event, "class"));
    if (type == "werkdatum") return SetWerkDatum(TextArg(event, "value"));
    if (type == "prefs") return SetPrefs(event);
    // Everything else names a form; while a dialog is shown modally only it takes events.
    TQuilForm& form = forms_.FormOf(event);
    if (!dialogs_.ModalForms().empty() && &form != dialogs_.ModalForms().back()) return;
    if (type == "activate") return Activate(form);
    if (type == "close") return Close(form);
    if (type == "action") return Action(form, TextArg(event, "action"));
    if (type == "click") return void(app_.Click(form, ControlOf(form, event).Name()));
    if (type == "value") {
      return void(app_.SetValue(form, ControlOf(form, event).Name(), TextArg(event, "value")));
    }
    if (type == "check") return CheckItem(app_, ControlOf(form, event), event);
    if (type == "search") {
      return SearchChoices(app_, ControlOf(form, event), TextArg(event, "text"));
    }
    if (type == "month") return ShowMonth(app_, ControlOf(form, event), event);
    if (type == "view") return ScrollGrid(ControlOf(form, event), event);
    if (type == "dblclick") return DblClickGrid(app_, ControlOf(form, event), event);
    if (type == "planner") return PlannerItem(app_, ControlOf(form, event), event);
    TQuilDBForm& screen = ScreenOf(form);
    if (type == "field") {
      SourceOf(screen, event);
      return void(app_.SetFieldValue(form, TextArg(event, "source"), TextArg(event, "field"),
                                     TextArg(event, "value")));
    }
    if (type == "move") {
      SourceOf(screen, event);
      return void(app_.MoveTo(form, TextArg(event, "source"), NumberArg(event, "recNo")));
    }
    if (type == "command") {
      return Command(screen, SourceOf(screen, event), TextArg(event, "command"));
    }
    if (type == "link") return Link(screen, NumberArg(event, "link"));
    if (type == "print") return Print(screen, NumberArg(event, "report"));
    throw BadRequest("onbekende gebeurtenis '" + EchoText(type) + "'");
  }

  json Query(std::string_view name, const json& args) override {
    if (name == "menu") {
      return RenderMenu([this](const std::string& formClass) { return app_.MayOpen(formClass); });
    }
    if (name == "report") return printouts_.Find(NumberArg(args, "id"));
    if (name == "rows") {
      TQuilForm& form = forms_.FormOf(args);
      auto* grid = dynamic_cast<TDBGrid*>(&ControlOf(form, args));
      if (grid == nullptr || !grid->Showing()) throw BadRequest("geen zichtbaar raster");
      return RenderRows(*grid, NumberArg(args, "top"), NumberArg(args, "count"));
    }
    throw UnknownQuery(std::string(name));
  }

  json State() override {
    forms_.Prune();
    json forms = json::array();
    for (TQuilDBForm* form : app_.Forms()) {
      const int id = forms_.IdOf(*form);
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
                  {"endOfWerkJaar", DateToStr(prefs.EndOfWerkJaar())},
                  {"davinciKleur", DavinciKleurText(prefs.DavinciKleur())},
                  {"vwoToonAlleLesplaatsen", prefs.VWOToonAlleLesplaatsen()}}},
                {"forms", std::move(forms)},
                {"active", nullptr},
                {"modal", json::array()},
                {"print", printouts_.Last()}};
    if (TQuilDBForm* active = forms_.Active()) out["active"] = Rendered(*active);
    for (TQuilForm* modal : dialogs_.ModalForms()) out["modal"].push_back(Rendered(*modal));
    return out;
  }

 private:
  json Rendered(TQuilForm& form) {
    json out = RenderForm(form);
    out["id"] = forms_.IdOf(form);
    return out;
  }

  static TQuilDBForm& ScreenOf(TQuilForm& form) {
    auto* screen = dynamic_cast<TQuilDBForm*>(&form);
    if (screen == nullptr) throw BadRequest(form.ClassName() + " is geen gegevensscherm");
    return *screen;
  }

  static TControl& ControlOf(TQuilForm& form, const json& event) {
    const std::string name = TextArg(event, "control");
    TControl* control = form.FindControl(name);
    if (control == nullptr)
      throw BadRequest("geen element '" + EchoText(name) + "' in " + form.ClassName());
    return *control;
  }

  static TDataSource& SourceOf(TQuilDBForm& screen, const json& event) {
    const std::string name = TextArg(event, "source");
    TDataSource* source = screen.FindDataSource(name);
    if (source == nullptr) throw BadRequest("geen gegevensbron '" + EchoText(name) + "'");
    return *source;
  }

  // --- events ---------------------------------------------------------------------------------
  void Open(const std::string& className) {
    if (!dialogs_.ModalForms().empty()) return;
    if (TQuilDBForm* form = app_.OpenForm(className)) forms_.SetActive(*form);
  }

  //! A new working date for the session and the user's next ones. It changes between events only,
  //! and not while a dialog is shown modally: a handler in that dialog's loop would see it change.
  //! Open screens read it anew for what they do next.
  void SetWerkDatum(const std::string& text) {
    if (!dialogs_.ModalForms().empty()) return;
    app_.Run([&] {
      // All or nothing: the new preferences are complete before they are stored or used.
      AdminPrefs changed = app_.AdminPrefs();
      changed.SetWerkDatum(ParseWerkDatum(text));
      if (changed.WerkJaarID() == -1) {
        changed.SetWerkJaarID(GetSchooljaarID(*server_, changed.WerkJaar()));
      }
      StoreAdminPrefs(*server_, changed);
      app_.AdminPrefs() = changed;
    });
  }

  //! The display choices, kept with the working date; the same rules as for the date. Screens
  //! read them when they open (the Davinci colour) or when they fill a list.
  void SetPrefs(const json& event) {
    const bool hasKleur = event.contains("davinciKleur");
    const bool hasAlle = event.contains("vwoToonAlleLesplaatsen");
    if (hasAlle && !event["vwoToonAlleLesplaatsen"].is_boolean()) {
      throw BadRequest("'vwoToonAlleLesplaatsen' is geen waar/onwaar");
    }
    const std::string kleur = hasKleur ? TextArg(event, "davinciKleur") : "";
    if (!dialogs_.ModalForms().empty()) return;
    app_.Run([&] {
      AdminPrefs changed = app_.AdminPrefs();
      if (hasKleur) changed.SetDavinciKleur(ParseDavinciKleur(kleur));
      if (hasAlle) changed.SetVWOToonAlleLesplaatsen(event["vwoToonAlleLesplaatsen"].get<bool>());
      StoreAdminPrefs(*server_, changed);
      app_.AdminPrefs() = changed;
    });
  }

  void Activate(TQuilForm& form) {
    if (auto* screen = dynamic_cast<TQuilDBForm*>(&form)) forms_.SetActive(*screen);
  }

  void Close(TQuilForm& form) {
    if (auto* screen = dynamic_cast<TQuilDBForm*>(&form);
        screen != nullptr && !forms_.IsModal(form)) {
      app_.CloseForm(*screen);
      return;
    }
    app_.Run([&] { form.SetModalResult(mrCancel); });
  }

  void Action(TQuilForm& form, const std::string& name) {
    if (form.FindAction(name) == nullptr) throw BadRequest("geen actie '" + EchoText(name) + "'");
    app_.Execute(form, name);
  }

  void Command(TQuilDBForm& screen, TDataSource& source, const std::string& name) {
    auto it = Commands().find(name);
    if (it == Commands().end()) throw BadRequest("onbekende opdracht '" + EchoText(name) + "'");
    app_.DataSetCommand(screen, source.Name, it->second);
  }

  void Link(TQuilDBForm& screen, int index) {
    if (TQuilDBForm* form = app_.OpenFormLink(screen, index)) forms_.SetActive(*form);
  }

  void Print(TQuilDBForm& screen, int index) {
    printing_ = &screen;
    ScopeExit done([this] { printing_ = nullptr; });
    app_.PrintReport(screen, index);
  }

  // --- progress and printing ------------------------------------------------------------------
  void ReportProgress() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastProgress_ < kProgressInterval) return;
    lastProgress_ = now;
    json bars = json::array();
    std::vector<TQuilForm*> shown(dialogs_.ModalForms().begin(), dialogs_.ModalForms().end());
    if (TQuilDBForm* active = forms_.Active()) shown.insert(shown.begin(), active);
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
    printouts_.Keep(request, form, DateTimeToStr(server_->GetServerDatum()));
  }

  SessionContext context_;
  IAppServer* server_;  //!< owned by connection_
  TDMQuil connection_;
  WebDialogs dialogs_;
  TQuilApplication app_;
  OpenForms forms_{app_, dialogs_};
  TQuilDBForm* printing_ = nullptr;
  Printouts printouts_;
  std::chrono::steady_clock::time_point lastProgress_;
};

}  // namespace

SessionAppFactory HostAppFactory() {
  return [](const SessionContext& context) { return std::make_unique<HostApp>(context); };
}

}  // namespace quil::web
