#include "host/domain/VWOLesMomenten.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "host/base/ScopeExit.h"
#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/data/DataSource.h"
#include "host/data/Guards.h"
#include "host/forms/Colors.h"

namespace quil {

namespace {

// Bits of VWL_FLAGS, as the lesson lists name them.
constexpr const char* kFlagCaptions[] = {"Buitenschoolse activiteit", "Vervalt",
                                         "Geen standaard les", "Afstands-lesmoment",
                                         "Vervalt voor Educatief Verlof"};
constexpr int kBuitenschools = 1 << 0;
constexpr int kVervalt = 1 << 1;
constexpr int kAfstand = 1 << 3;

// Item colours (0xRRGGBB).
constexpr int32_t kKleurVervalt = 0xD0D0D0;
constexpr int32_t kKleurAfstand = 0xCCE5FF;
constexpr int32_t kKleurBuitenschools = 0xD6F5D6;

int IdOf(const TField& field) {
  return field.IsNull() ? -1 : field.AsInteger();
}

void SetId(TField& field, int id) {
  if (id == -1) {
    field.Clear();
  } else {
    field.SetAsInteger(id);
  }
}

//! Writes a name the provider joins in (read-only for the user: shown, never stored).
void SetText(TQuilClientDataSet& lessons, const char* name, const std::string& text) {
  TField* field = lessons.FindField(name);
  if (field == nullptr) return;
  ScopeExit restore([field, readOnly = field->ReadOnly] { field->ReadOnly = readOnly; });
  field->ReadOnly = false;
  field->SetAsString(text);
}

std::string TextOf(TQuilClientDataSet& lessons, const char* name) {
  TField* field = lessons.FindField(name);
  return field == nullptr || field->IsNull() ? std::string() : field->AsString();
}

TVWOLesMomentWaarden ReadRecord(TQuilClientDataSet& lessons) {
  TVWOLesMomentWaarden w;
  w.ModuleVariant = IdOf(lessons.FieldByName("VWL_INGMODULEVARIANT_FK"));
  w.Datum = DateOf(lessons.FieldByName("VWL_DATUM").AsDateTime());
  w.VanUur = TimeOf(lessons.FieldByName("VWL_VANUUR").AsDateTime());
  w.TotUur = TimeOf(lessons.FieldByName("VWL_TOTUUR").AsDateTime());
  w.Lesuren = lessons.FieldByName("VWL_LESUREN").AsCurrency();
  w.Lokaal = IdOf(lessons.FieldByName("VWL_LOKAAL_FK"));
  w.Lesplaats = IdOf(lessons.FieldByName("VWL_LESPLAATS_FK"));
  w.Lesgever = IdOf(lessons.FieldByName("VWL_LESGEVER_FK"));
  const TField& flags = lessons.FieldByName("VWL_FLAGS");
  w.Flags = flags.IsNull() ? 0 : flags.AsInteger();
  w.LesgeverCode = TextOf(lessons, "PS_CODE");
  w.LesgeverNaam = TextOf(lessons, "PS_NAAM");
  w.LesgeverVoornaam = TextOf(lessons, "PS_VOORNAAM");
  return w;
}

void WriteRecord(TQuilClientDataSet& lessons, const TVWOLesMomentWaarden& w) {
  if (w.ModuleVariant != -1) {
    lessons.FieldByName("VWL_INGMODULEVARIANT_FK").SetAsInteger(w.ModuleVariant);
  }
  // Date and times first: the list's reactions to them (the period, the lesson times) run before
  // the moment's own lesson times are written.
  lessons.FieldByName("VWL_DATUM").SetAsDateTime(w.Datum);
  lessons.FieldByName("VWL_VANUUR").SetAsDateTime(w.VanUur);
  lessons.FieldByName("VWL_TOTUUR").SetAsDateTime(w.TotUur);
  lessons.FieldByName("VWL_LESUREN").SetAsCurrency(w.Lesuren);
  SetId(lessons.FieldByName("VWL_LOKAAL_FK"), w.Lokaal);
  SetId(lessons.FieldByName("VWL_LESPLAATS_FK"), w.Lesplaats);
  SetId(lessons.FieldByName("VWL_LESGEVER_FK"), w.Lesgever);
  lessons.FieldByName("VWL_FLAGS").SetAsInteger(w.Flags);
  SetText(lessons, "PS_CODE", w.LesgeverCode);
  SetText(lessons, "PS_NAAM", w.LesgeverNaam);
  SetText(lessons, "PS_VOORNAAM", w.LesgeverVoornaam);
}

}  // namespace

// ------------------------------------------------------------------------------------ moment

void TVWOLesMoment::SetWaarden(const TVWOLesMomentWaarden& waarden) {
  if (waarden == waarden_) return;
  waarden_ = waarden;
  if (state_ == TState::Unchanged) state_ = isNew_ ? TState::New : TState::Changed;
}

void TVWOLesMoment::Delete() {
  state_ = TState::Deleted;
}

// -------------------------------------------------------------------------------- collection

void TVWOLEsMomenten::LoadFromDataSet(TQuilClientDataSet& lessons) {
  std::vector<std::unique_ptr<TVWOLesMoment>> loaded;
  DisableControlsGuard quiet(lessons);
  BookmarkGuard back(lessons);
  FilterGuard filter(lessons);
  lessons.SetFiltered(false);
  for (lessons.First(); !lessons.Eof(); lessons.Next()) {
    auto moment = std::make_unique<TVWOLesMoment>();
    moment->id_ = lessons.FieldByName("VWL_ID").AsInteger();
    moment->waarden_ = ReadRecord(lessons);
    if (OnModuleVariantOmschrijving) {
      moment->ModuleVariantOmschrijving =
          OnModuleVariantOmschrijving(moment->waarden_.ModuleVariant);
    }
    loaded.push_back(std::move(moment));
  }
  moments_ = std::move(loaded);
}

TVWOLesMoment& TVWOLEsMomenten::Add() {
  auto moment = std::make_unique<TVWOLesMoment>();
  moment->isNew_ = true;
  moment->state_ = TVWOLesMoment::TState::New;
  moments_.push_back(std::move(moment));
  return *moments_.back();
}

int TVWOLEsMomenten::PendingCount() const {
  int count = 0;
  for (const auto& moment : moments_) {
    const bool written = moment->state_ == TVWOLesMoment::TState::Changed ||
                         moment->state_ == TVWOLesMoment::TState::New ||
                         (moment->state_ == TVWOLesMoment::TState::Deleted && !moment->isNew_);
    if (written) ++count;
  }
  return count;
}

void TVWOLEsMomenten::SaveToDataSet(TQuilClientDataSet& lessons) {
  using TState = TVWOLesMoment::TState;
  std::vector<std::pair<TVWOLesMoment*, int>> added;  // new moments and their new ids
  {
    DisableControlsGuard quiet(lessons);
    FilterGuard filter(lessons);
    lessons.SetFiltered(false);
    lessons.CheckBrowseMode();
    for (const auto& moment : moments_) {
      switch (moment->state_) {
        case TState::Unchanged:
          break;
        case TState::Deleted:
          if (!moment->isNew_ && lessons.LocateID(moment->id_, "VWL_ID")) lessons.Delete();
          break;
        case TState::Changed:
          if (!lessons.LocateID(moment->id_, "VWL_ID")) {
            RaiseClientError(Format("Lesmoment %d niet gevonden", moment->id_));
          }
          lessons.Edit();
          WriteRecord(lessons, moment->waarden_);
          lessons.Post();
          break;
        case TState::New:
          lessons.Append();
          WriteRecord(lessons, moment->waarden_);
          lessons.Post();
          added.emplace_back(moment.get(), IdOf(lessons.FieldByName("VWL_ID")));
          break;
      }
    }
  }
  // Written: from now on the moments are what the dataset holds.
  for (auto& [moment, id] : added) {
    moment->id_ = id;
    moment->isNew_ = false;
  }
  std::erase_if(moments_, [](const auto& moment) { return moment->state_ == TState::Deleted; });
  for (const auto& moment : moments_) moment->state_ = TState::Unchanged;
}

// ------------------------------------------------------------------------------------ dialog

void SetTeacherSearch(TSearchControl& search, std::string listFields) {
  search.KeyField = "PS_ID";
  search.ListFields = std::move(listFields);
  search.SearchFormat =
      "(UPPER(PS_CODE) LIKE UPPER('%%%s%%')) OR (UPPER(PS_NAAM) LIKE UPPER('%%%s%%')) OR "
      "(UPPER(PS_VOORNAAM) LIKE UPPER('%%%s%%'))";
}

TVWOLesMomentDialog::TVWOLesMomentDialog(TQuilApplication& app)
    : TQuilForm(app, "TVWOLesMomentDialog"),
      DEDatum(Add<TDateEdit>("DEDatum")),
      TEVanUur(Add<TTimeEdit>("TEVanUur")),
      TETotUur(Add<TTimeEdit>("TETotUur")),
      ELestijden(Add<TEdit>("ELestijden")),
      SCLesgever(Add<TSearchControl>("SCLesgever")),
      LCLokaal(Add<TLookupCombo>("LCLokaal")),
      LCLesplaats(Add<TLookupCombo>("LCLesplaats")),
      CBModuleVariant(Add<TComboBox>("CBModuleVariant")),
      BOK(Add<TButton>("BOK")),
      BCancel(Add<TButton>("BCancel")) {
  Caption = "Lesmoment";
  DEDatum.Caption = "Datum";
  TEVanUur.Caption = "Van";
  TETotUur.Caption = "Tot";
  ELestijden.Caption = "Lestijden 50 min.";
  SCLesgever.Caption = "Lesgever";
  SetTeacherSearch(SCLesgever, "PS_CODE;PS_NAAM;PS_VOORNAAM");
  LCLokaal.Caption = "Lokaal";
  LCLokaal.KeyField = "LK_ID";
  LCLokaal.ListFields = "LK_CODE;LK_OMSCHRIJVING";
  LCLesplaats.Caption = "Lesplaats";
  LCLesplaats.KeyField = "VLP_ID";
  LCLesplaats.ListFields = "VLP_NUMMER;VLP_OMSCHRIJVING";
  CBModuleVariant.Caption = "Ingerichte modulevariant";
  CBModuleVariant.Visible = false;
  for (int bit = 0; bit < 5; ++bit) {
    TCheckBox& box = Add<TCheckBox>("CBFlag" + std::to_string(bit));
    box.Caption = kFlagCaptions[bit];
    CBFlags.push_back(&box);
  }
  CBFlags[0]->OnClick = [this] {
    if (CBFlags[0]->Checked()) {
      LCLokaal.SetKeyValue(Variant());
      LCLesplaats.SetKeyValue(Variant());
    }
  };
  BOK.Caption = "OK";
  BOK.Default = true;
  BOK.ModalResult = mrOk;
  BOK.OnClick = [this] { OKClick(); };
  BCancel.Caption = "Annuleren";
  BCancel.Cancel = true;
  BCancel.ModalResult = mrCancel;
  TEVanUur.OnChange = [this] { UurChange(); };
  TETotUur.OnChange = [this] { UurChange(); };
}

void TVWOLesMomentDialog::SetDS(int kind, TDataSource* source) {
  switch (kind) {
    case 0:
      SCLesgever.ListSource = source;
      break;
    case 1:
      LCLokaal.ListSource = source;
      break;
    case 2:
      LCLesplaats.ListSource = source;
      break;
    default:
      return;
  }
  sources_[kind] = source;
}

void TVWOLesMomentDialog::SetModuleVarianten(const std::vector<std::string>& lines) {
  moduleVarianten_.clear();
  CBModuleVariant.Items.clear();
  for (const std::string& line : lines) {
    const size_t eq = line.find('=');
    moduleVarianten_.push_back(StrToIntDef(line.substr(0, eq), -1));
    CBModuleVariant.Items.push_back(eq == std::string::npos ? std::string() : line.substr(eq + 1));
  }
  CBModuleVariant.Visible = !lines.empty();
}

void TVWOLesMomentDialog::SetWaarden(const TVWOLesMomentWaarden& waarden) {
  given_ = waarden;
  const auto chosen =
      std::find(moduleVarianten_.begin(), moduleVarianten_.end(), waarden.ModuleVariant);
  CBModuleVariant.SetItemIndex(
      chosen == moduleVarianten_.end() ? -1 : static_cast<int>(chosen - moduleVarianten_.begin()));
  DEDatum.SetDate(waarden.Datum);
  TEVanUur.SetTime(waarden.VanUur);
  TETotUur.SetTime(waarden.TotUur);
  ELestijden.SetText(CurrToStr(waarden.Lesuren));
  auto key = [](int id) { return id == -1 ? Variant() : Variant(id); };
  SCLesgever.SetKeyValue(key(waarden.Lesgever));
  LCLokaal.SetKeyValue(key(waarden.Lokaal));
  LCLesplaats.SetKeyValue(key(waarden.Lesplaats));
  for (int bit = 0; bit < 5; ++bit) CBFlags[bit]->SetChecked((waarden.Flags >> bit) & 1);
}

TVWOLesMomentWaarden TVWOLesMomentDialog::Waarden() const {
  TVWOLesMomentWaarden w = given_;
  w.Datum = DateOf(DEDatum.Date());
  w.VanUur = TimeOf(TEVanUur.Time());
  w.TotUur = TimeOf(TETotUur.Time());
  Currency lesuren;
  if (TryStrToCurr(ELestijden.Text(), lesuren)) w.Lesuren = lesuren;
  auto id = [](const Variant& key) { return key.IsNull() ? -1 : key.AsInteger(); };
  if (CBModuleVariant.Visible && CBModuleVariant.ItemIndex() >= 0) {
    w.ModuleVariant = moduleVarianten_[static_cast<size_t>(CBModuleVariant.ItemIndex())];
  }
  w.Lokaal = id(LCLokaal.KeyValue());
  w.Lesplaats = id(LCLesplaats.KeyValue());
  const int lesgever = id(SCLesgever.KeyValue());
  if (lesgever != w.Lesgever) {
    w.Lesgever = lesgever;
    w.LesgeverCode = w.LesgeverNaam = w.LesgeverVoornaam = "";
    TQuilClientDataSet* staff = sources_[0] ? sources_[0]->DataSet() : nullptr;
    if (lesgever != -1 && staff != nullptr && staff->Active()) {
      auto text = [&](const char* field) {
        Variant value = staff->Lookup("PS_ID", Variant(lesgever), field);
        return value.IsNull() ? std::string() : value.AsString();
      };
      w.LesgeverCode = text("PS_CODE");
      w.LesgeverNaam = text("PS_NAAM");
      w.LesgeverVoornaam = text("PS_VOORNAAM");
    }
  }
  w.Flags = given_.Flags & ~0x1F;
  for (int bit = 0; bit < 5; ++bit) {
    if (CBFlags[bit]->Checked()) w.Flags |= 1 << bit;
  }
  return w;
}

void TVWOLesMomentDialog::UurChange() {
  const double minutes = std::fabs((TETotUur.Time().value - TEVanUur.Time().value) * 24 * 60);
  ELestijden.SetText(CurrToStr(Currency::FromDouble(std::round(minutes) / 50.0)));
}

void TVWOLesMomentDialog::OKClick() {
  if (CBModuleVariant.Visible && CBModuleVariant.ItemIndex() < 0) {
    SetFocus(CBModuleVariant);
    RaiseClientError("Kies een ingerichte modulevariant.");
  }
  if (TETotUur.Time() < TEVanUur.Time()) {
    SetFocus(TETotUur);
    RaiseClientError("Het startuur (%s) moet voor het einduur (%s) liggen.", TEVanUur.ValueText(),
                     TETotUur.ValueText());
  }
  Currency lesuren;
  if (!TryStrToCurr(ELestijden.Text(), lesuren)) {
    SetFocus(ELestijden);
    RaiseClientError("\"%s\" is geen geldige duur", ELestijden.Text());
  }
}

// ------------------------------------------------------------------------------------ editor

std::string TVWOLesMomentEditor::LookupText(TDataSource* source, const char* key, int id,
                                            std::initializer_list<const char*> fields) const {
  TQuilClientDataSet* list = source ? source->DataSet() : nullptr;
  if (id == -1 || list == nullptr || !list->Active()) return "";
  std::string text;
  for (const char* field : fields) {
    Variant value = list->Lookup(key, Variant(id), field);
    if (value.IsNull()) continue;
    if (!text.empty()) text += " ";
    text += value.AsString();
  }
  return text;
}

void TVWOLesMomentEditor::SetPlannerItemProps(TPlanner::Item& item,
                                              const TVWOLesMoment& moment) const {
  const TVWOLesMomentWaarden& w = moment.Waarden();
  item.date = w.Datum;
  item.text = FormatDateTime("hh:nn", w.VanUur) + " - " + FormatDateTime("hh:nn", w.TotUur);
  item.lines = {"Lestijden: " + CurrToStr(w.Lesuren)};
  std::string lesgever = w.LesgeverCode;
  if (!w.LesgeverNaam.empty()) lesgever += (lesgever.empty() ? "" : " ") + w.LesgeverNaam;
  if (!lesgever.empty()) item.lines.push_back(lesgever);
  std::string lokaal = LookupText(Lokalen, "LK_ID", w.Lokaal, {"LK_CODE"});
  if (!lokaal.empty()) item.lines.push_back(lokaal);
  if (!moment.ModuleVariantOmschrijving.empty()) {
    item.lines.push_back(moment.ModuleVariantOmschrijving);
  }
  item.color = (w.Flags & kVervalt)         ? kKleurVervalt
               : (w.Flags & kAfstand)       ? kKleurAfstand
               : (w.Flags & kBuitenschools) ? kKleurBuitenschools
                                            : clDefault;
}

bool TVWOLesMomentEditor::Edit(TPlanner& planner, int itemIndex, TVWOLesMoment& moment) {
  if (itemIndex < 0 || itemIndex >= static_cast<int>(planner.Items.size())) {
    RaiseClientError(Format("Item %d bestaat niet", itemIndex));
  }
  std::unique_ptr<TVWOLesMomentDialog> dialog = CreateDialog ? CreateDialog() : nullptr;
  if (dialog == nullptr) throw std::logic_error("TVWOLesMomentEditor: no dialog factory");
  dialog->Caption = Caption;
  dialog->SetDS(0, Lesgevers);
  dialog->SetDS(1, Lokalen);
  dialog->SetDS(2, Lesplaatsen);
  dialog->SetModuleVarianten(ModuleVarianten);
  dialog->SetWaarden(moment.Waarden());
  if (dialog->ShowModal() != mrOk) return false;
  moment.SetWaarden(dialog->Waarden());
  SetPlannerItemProps(planner.Items[static_cast<size_t>(itemIndex)], moment);
  return true;
}

}  // namespace quil
