#include "planning/dlgVWOLesmomentKalender.h"

#include <algorithm>

#include "core/ModuleClasses.h"
#include "host/base/SchoolYear.h"
#include "host/base/ScopeExit.h"
#include "host/base/SysUtils.h"
#include "host/data/ClientDataSet.h"
#include "host/domain/VWOLesMomenten.h"
#include "host/forms/QuilApplication.h"
#include "planning/VWOLes.h"
#include "planning/vwochecks.h"

namespace kavel {

using namespace quil;

namespace {

template <class T>
T& Labelled(T& control, const char* caption) {
  control.Caption = caption;
  return control;
}

int KeyOf(const TLookupCombo& combo) {
  return combo.KeyValue().IsNull() ? -1 : combo.KeyValue().AsInteger();
}

void SetKey(TLookupCombo& combo, int id) {
  combo.SetKeyValue(id == -1 ? Variant() : Variant(id));
}

//! The dataset of a list handed over with SetDS; nullptr when that list was not given.
TQuilClientDataSet* DataSetOf(TDataSource* source) {
  return source != nullptr ? source->DataSet() : nullptr;
}

//! The lesson times as the field holds them: "" reads as 0; false for text that is no amount.
bool ReadLestijden(const std::string& text, Currency& out) {
  if (text.empty()) {
    out = Currency();
    return true;
  }
  return TryStrToCurr(text, out);
}

}  // namespace

TVWOLesmomentUitKalenderForm::TVWOLesmomentUitKalenderForm(TQuilApplication& app)
    : TQuilForm(app, "TVWOLesmomentUitKalenderForm"),
      PLKalender(Add<TPlanner>("PLKalender")),
      TEVanUur(Labelled(Add<TTimeEdit>("TEVanUur"), "Van")),
      TETotUur(Labelled(Add<TTimeEdit>("TETotUur"), "Tot")),
      EPauze(Labelled(Add<TEdit>("EPauze"), "Pauze (min.)")),
      ELestijden(Labelled(Add<TEdit>("ELestijden"), "Lestijden 50 min.")),
      SCLesgever(Labelled(Add<TSearchControl>("SCLesgever"), "Lesgever")),
      LCLokaal(Labelled(Add<TLookupCombo>("LCLokaal"), "Lokaal")),
      LCLesplaats(Labelled(Add<TLookupCombo>("LCLesplaats"), "Lesplaats")),
      LCModulevariant(Labelled(Add<TLookupCombo>("LCModulevariant"), "Ingerichte modulevariant")),
      CBBuitenschools(Labelled(Add<TCheckBox>("CBBuitenschools"), "Buitenschoolse activiteit")),
      AToevoegen(AddAction(
          "AToevoegen", "&Toevoegen", [this] { Toevoegen(); },
          [this] { AToevoegen.Enabled = !pending_.empty(); })),
      BToevoegen(Add<TButton>("BToevoegen")),
      BSluiten(Labelled(Add<TButton>("BSluiten"), "Sluiten")) {
  Caption = "Aanmaken lesmomenten via kalender";
  PLKalender.Caption = "Dubbelklik op een dag om er een lesmoment aan te maken of te verwijderen";
  SetTeacherSearch(SCLesgever, "PS_CODE;PS_VOORNAAM;PS_NAAM");
  LCLokaal.KeyField = "LK_ID";
  LCLokaal.ListFields = "LK_CODE;LK_OMSCHRIJVING";
  LCLesplaats.KeyField = "VLP_ID";
  LCLesplaats.ListFields = "VLP_NUMMER;VLP_OMSCHRIJVING";
  LCModulevariant.KeyField = "IMV_ID";
  LCModulevariant.ListFields = "VOM_CODE;VOM_OMSCHRIJVING";
  EPauze.SetText("0");
  BToevoegen.Action = &AToevoegen;
  BSluiten.Cancel = true;
  BSluiten.ModalResult = mrCancel;

  TEVanUur.OnChange = [this] { VanUurChange(); };
  TETotUur.OnChange = [this] { UurChange(); };
  EPauze.OnChange = [this] { RecomputeLestijden(); };
  ELestijden.OnChange = [this] { LestijdenChange(); };
  CBBuitenschools.OnClick = [this] { BuitenschoolsClick(); };
  LCModulevariant.OnChange = [this] { ModulevariantChange(); };
  PLKalender.OnDayDblClick = [this](TDateTime day) { DayDblClick(day); };
  PLKalender.OnItemDblClick = [this](int index) { ItemDblClick(index); };
  ShowPending();
}

// --------------------------------------------------------------------------------- interface

void TVWOLesmomentUitKalenderForm::SetDS(int kind, TDataSource* source) {
  switch (kind) {
    case 0:
      SCLesgever.ListSource = source;
      break;
    case 1:
      LCLokaal.ListSource = source;
      break;
    case 2:
      break;
    case 3:
      LCModulevariant.ListSource = source;
      break;
    case 4:
      LCLesplaats.ListSource = source;
      break;
    default:
      return;
  }
  sources_[kind] = source;
}

TDataSource* TVWOLesmomentUitKalenderForm::GetDS(int kind) const {
  return kind >= 0 && kind < 5 ? sources_[kind] : nullptr;
}

void TVWOLesmomentUitKalenderForm::SetID(int kind, int id) {
  switch (kind) {
    case 0:
      SetKey(SCLesgever, id);
      break;
    case 1:
      SetKey(LCLokaal, id);
      break;
    case 2:
      SetKey(LCModulevariant, id);
      break;
    case 3:
      SetKey(LCLesplaats, id);
      break;
    default:
      break;
  }
}

int TVWOLesmomentUitKalenderForm::GetID(int kind, int otherwise) const {
  switch (kind) {
    case 0:
      return KeyOf(SCLesgever);
    case 1:
      return KeyOf(LCLokaal);
    case 2:
      return KeyOf(LCModulevariant);
    case 3:
      return KeyOf(LCLesplaats);
    default:
      return otherwise;
  }
}

void TVWOLesmomentUitKalenderForm::SetUur(int kind, const std::string& time) {
  TDateTime value;
  if (!TryStrToTime(time, value)) return;
  (kind == 0 ? TEVanUur : TETotUur).SetTime(value);
  RecomputeLestijden();
}

std::string TVWOLesmomentUitKalenderForm::GetUur(int kind) const {
  return (kind == 0 ? TEVanUur : TETotUur).ValueText();
}

void TVWOLesmomentUitKalenderForm::FormShow() {
  int year, month, day;
  DecodeDate(referentieDatum_, year, month, day);
  PLKalender.ShowMonth(year, month);
  const bool moduleVariants = sources_[3] != nullptr;
  LCModulevariant.Visible = moduleVariants;
  ShowPending();
}

// ------------------------------------------------------------------------------------ hours
// The handlers answer the user's edits; what they set themselves raises no change of its own.

void TVWOLesmomentUitKalenderForm::VanUurChange() {
  TETotUur.SetTime(VoorgesteldEindUur(TEVanUur.Time()));
  UurChange();
}

void TVWOLesmomentUitKalenderForm::UurChange() {
  if (TETotUur.Time() < TEVanUur.Time()) {
    RaiseClientError("Het startuur (%s) moet voor het einduur (%s) liggen.", TEVanUur.ValueText(),
                     TETotUur.ValueText());
  }
  RecomputeLestijden();
}

void TVWOLesmomentUitKalenderForm::RecomputeLestijden() {
  ELestijden.SetText(LestijdenText(
      LestijdenTussen(TEVanUur.Time(), TETotUur.Time(), StrToIntDef(EPauze.Text(), 0))));
}

void TVWOLesmomentUitKalenderForm::LestijdenChange() {
  Currency value;
  if (!ReadLestijden(ELestijden.Text(), value)) {
    SetFocus(ELestijden);
    RaiseClientError("\"%s\" is geen geldige duur", ELestijden.Text());
  }
}

void TVWOLesmomentUitKalenderForm::BuitenschoolsClick() {
  const bool buitenschools = CBBuitenschools.Checked();
  if (buitenschools) {
    SetKey(LCLokaal, -1);
    SetKey(LCLesplaats, -1);
  }
  LCLokaal.Enabled = !buitenschools;
  LCLesplaats.Enabled = !buitenschools;
}

void TVWOLesmomentUitKalenderForm::ModulevariantChange() {
  TQuilClientDataSet* list = DataSetOf(sources_[3]);
  if (list == nullptr || !list->Active() || LCModulevariant.KeyValue().IsNull()) return;
  Variant start = list->Lookup("IMV_ID", LCModulevariant.KeyValue(), "IMV_LESVAN");
  if (!start.IsNull()) referentieDatum_ = start.AsDateTime();
}

// ---------------------------------------------------------------------------------- marking

void TVWOLesmomentUitKalenderForm::DayDblClick(TDateTime day) {
  if (!CBBuitenschools.Checked() && (KeyOf(LCLesplaats) == -1 || KeyOf(LCLokaal) == -1)) {
    RaiseClientError(
        "Lesplaats en lokaal zijn verplicht indien het geen buitenschoolse activiteit "
        "is.");
  }
  Currency lestijden;
  ReadLestijden(ELestijden.Text(), lestijden);
  CheckDuurtijdLes(lestijden.ToDouble(), TEVanUur.Time(), TETotUur.Time());
  // The last pending lesson of that day goes; without one the day gets a lesson.
  auto found = std::find_if(pending_.rbegin(), pending_.rend(), [&](const Pending& lesson) {
    return DateOf(lesson.start) == DateOf(day);
  });
  if (found != pending_.rend()) {
    pending_.erase(std::next(found).base());
  } else {
    AddPending(day);
  }
  ShowPending();
}

void TVWOLesmomentUitKalenderForm::AddPending(TDateTime day) {
  if (sources_[3] != nullptr && KeyOf(LCModulevariant) == -1) {
    RaiseClientError(
        "Gelieve een Ingerichte module variant te selecteren alvorens lesmomenten aan te maken");
  }
  Currency lestijden;
  ReadLestijden(ELestijden.Text(), lestijden);
  Pending lesson;
  lesson.start = DateOf(day) + TEVanUur.Time().value;
  lesson.end = DateOf(day) + TETotUur.Time().value;
  lesson.caption = TEVanUur.ValueText() + " - " + TETotUur.ValueText();
  lesson.lines = {"Lestijden: " + ELestijden.Text()};
  if (!SCLesgever.DisplayText().empty()) lesson.lines.push_back(SCLesgever.DisplayText());
  if (!LCLokaal.DisplayText().empty()) lesson.lines.push_back(LCLokaal.DisplayText());
  if (!LCLesplaats.DisplayText().empty()) lesson.lines.push_back(LCLesplaats.DisplayText());
  lesson.data =
      std::make_unique<TLesData>(KeyOf(SCLesgever), KeyOf(LCLokaal), KeyOf(LCModulevariant),
                                 KeyOf(LCLesplaats), lestijden, CBBuitenschools.Checked());
  pending_.push_back(std::move(lesson));
}

TVWOLesmomentUitKalenderForm::Pending& TVWOLesmomentUitKalenderForm::PendingOfItem(int index) {
  // The planner shows the pending lessons in the order they were marked.
  return pending_.at(static_cast<size_t>(index));
}

void TVWOLesmomentUitKalenderForm::ItemDblClick(int index) {
  PendingOfItem(index);  // throws for an item that is not there
  pending_.erase(pending_.begin() + index);
  ShowPending();
}

void TVWOLesmomentUitKalenderForm::ShowPending() {
  PLKalender.Items.clear();
  for (const Pending& lesson : pending_) {
    PLKalender.Items.push_back({DateOf(lesson.start), lesson.caption, clDefault, lesson.lines});
  }
  AToevoegen.Caption = pending_.empty()
                           ? "&Toevoegen"
                           : Format("&Toevoegen (%d)", static_cast<int>(pending_.size()));
  BToevoegen.Caption = AToevoegen.Caption;
}

// ---------------------------------------------------------------------------------- records

void TVWOLesmomentUitKalenderForm::Toevoegen() {
  TQuilClientDataSet* lessons = DataSetOf(sources_[2]);
  if (lessons == nullptr) return;
  std::vector<const Pending*> ordered;
  for (const Pending& lesson : pending_) ordered.push_back(&lesson);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Pending* a, const Pending* b) { return a->start < b->start; });
  TQuilClientDataSet* teachers = DataSetOf(sources_[0]);
  for (const Pending* lesson : ordered) {
    const TLesData& data = *lesson->data;
    lessons->Append();
    const TDateTime day = DateOf(lesson->start);
    lessons->FieldByName("VWL_DATUM").SetAsDateTime(day);
    lessons->FieldByName("VWL_TRIMESTER").SetAsInteger(GetTrimester(true, referentieDatum_, day));
    lessons->FieldByName("VWL_VANUUR").SetAsDateTime(TimeOf(lesson->start));
    lessons->FieldByName("VWL_TOTUUR").SetAsDateTime(TimeOf(lesson->end));
    lessons->FieldByName("VWL_LESUREN").SetAsCurrency(data.Lestijden);
    TField& lokaal = lessons->FieldByName("VWL_LOKAAL_FK");
    data.Lokaal == -1 ? lokaal.Clear() : lokaal.SetAsInteger(data.Lokaal);
    TField& lesplaats = lessons->FieldByName("VWL_LESPLAATS_FK");
    data.Lesplaats == -1 ? lesplaats.Clear() : lesplaats.SetAsInteger(data.Lesplaats);
    if (data.Lesgever != -1) {
      lessons->FieldByName("VWL_LESGEVER_FK").SetAsInteger(data.Lesgever);
      if (teachers != nullptr) {  // a list not open yet names nobody
        for (const char* field : {"PS_CODE", "PS_NAAM", "PS_VOORNAAM"}) {
          Variant value = teachers->Lookup("PS_ID", Variant(data.Lesgever), field);
          TField* target = lessons->FindField(field);
          if (value.IsNull() || target == nullptr) continue;
          // The names are joined in by the provider: shown, never stored.
          ScopeExit restore([target, readOnly = target->ReadOnly] { target->ReadOnly = readOnly; });
          target->ReadOnly = false;
          target->SetAsString(value.AsString());
        }
      }
    }
    if (data.Modulevariant != -1) {
      lessons->FieldByName("VWL_INGMODULEVARIANT_FK").SetAsInteger(data.Modulevariant);
    }
    if (data.Buitenschools) {
      TField& flags = lessons->FieldByName("VWL_FLAGS");
      flags.SetAsInteger((flags.IsNull() ? 0 : flags.AsInteger()) | (1 << kVWLBuitenschools));
    }
    lessons->Post();
  }
  pending_.clear();
  ShowPending();
}

void TVWOLesmomentUitKalenderForm::FormCloseQuery(bool& canClose) {
  if (pending_.empty()) return;
  TModalResult answer = MessageDlg(Format("Er zijn nog %d lesmomenten niet toegevoegd. \r\nWilt u "
                                          "deze nu toevoegen?",
                                          static_cast<int>(pending_.size())),
                                   mtConfirmation, {mbYes, mbNo, mbCancel});
  if (answer == mrYes) {
    Toevoegen();
  } else if (answer == mrCancel) {
    canClose = false;
  }
}

}  // namespace kavel

namespace kavel::dlgVWOLesmomentKalender {

void Initialization() {
  for (const char* opener : {"TVWOIngModuleVarLessenForm", "TVWOKlasLesmomentenForm"}) {
    RegisterDialogClass("TVWOLesmomentUitKalenderForm", opener,
                        [](quil::TQuilDBForm& form) -> std::unique_ptr<quil::TQuilForm> {
                          return std::make_unique<TVWOLesmomentUitKalenderForm>(form.Application());
                        });
  }
}

}  // namespace kavel::dlgVWOLesmomentKalender
