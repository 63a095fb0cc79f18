#include "planning/dlgVWOZetLessen.h"

#include <cmath>

#include "core/ModuleClasses.h"
#include "host/base/ScopeExit.h"
#include "host/base/SysUtils.h"
#include "host/data/Guards.h"
#include "host/domain/VWOLesMomenten.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/QuilApplication.h"
#include "planning/VWOLes.h"
#include "planning/vwochecks.h"

namespace kavel {

using namespace quil;

namespace {

const char* const kDagen[] = {"Maandag", "Dinsdag",  "Woensdag", "Donderdag",
                              "Vrijdag", "Zaterdag", "Zondag"};

std::vector<TCheckBox*> MakeDagen(TQuilForm& form, TControl* parent) {
  std::vector<TCheckBox*> dagen;
  for (const char* dag : kDagen) {
    TCheckBox& box = form.Add<TCheckBox>(std::string("CB") + dag, parent);
    box.Caption = dag;
    dagen.push_back(&box);
  }
  return dagen;
}

template <class T>
T& Labelled(T& control, const char* caption) {
  control.Caption = caption;
  return control;
}

//! The lookup key as an id, -1 when none is chosen.
int KeyOf(const TLookupCombo& combo) {
  return combo.KeyValue().IsNull() ? -1 : combo.KeyValue().AsInteger();
}

void SetKey(TLookupCombo& combo, int id) {
  combo.SetKeyValue(id == -1 ? Variant() : Variant(id));
}

void SetBit(TField& flags, int bit, bool on) {
  int64_t value = flags.IsNull() ? 0 : flags.AsLargeInt();
  int64_t mask = int64_t{1} << bit;
  flags.SetAsInteger(on ? (value | mask) : (value & ~mask));
}

}  // namespace

TVWOZetLessenForm::TVWOZetLessenForm(TQuilApplication& app)
    : TQuilForm(app, "TVWOZetLessenForm"),
      GBPeriode(Add<TGroupBox>("GBPeriode")),
      GBDagen(Add<TGroupBox>("GBDagen")),
      GBModulevarianten(Add<TGroupBox>("GBModulevarianten")),
      GBWijzigen(Add<TGroupBox>("GBWijzigen")),
      PKnoppen(Add<TPanel>("PKnoppen")),
      DEVan(Labelled(Add<TDateEdit>("DEVan", &GBPeriode), "Van datum")),
      DETot(Labelled(Add<TDateEdit>("DETot", &GBPeriode), "T.e.m. datum")),
      CBEnkelLessenOp(Labelled(Add<TCheckBox>("CBEnkelLessenOp", &GBDagen), "Enkel de lessen op:")),
      CBDagen(MakeDagen(*this, &GBDagen)),
      CBTweewekelijks(
          Labelled(Add<TCheckBox>("CBTweewekelijks", &GBDagen),
                   "Tweewekelijks (startweek = week van de startdatum hierboven gekozen)")),
      CLBModulevarianten(Add<TCheckListBox>("CLBModulevarianten", &GBModulevarianten)),
      CBLesgeverWijzigen(Labelled(Add<TCheckBox>("CBLesgeverWijzigen", &GBWijzigen), "Wijzigen?")),
      SCLesgever(Labelled(Add<TSearchControl>("SCLesgever", &GBWijzigen), "Lesgever")),
      CBLesplaatsWijzigen(
          Labelled(Add<TCheckBox>("CBLesplaatsWijzigen", &GBWijzigen), "Wijzigen?")),
      LCLesplaats(Labelled(Add<TLookupCombo>("LCLesplaats", &GBWijzigen), "Lesplaats")),
      CBLokaalWijzigen(Labelled(Add<TCheckBox>("CBLokaalWijzigen", &GBWijzigen), "Wijzigen?")),
      LCLokaal(Labelled(Add<TLookupCombo>("LCLokaal", &GBWijzigen), "Lokaal")),
      CBUrenWijzigen(Labelled(Add<TCheckBox>("CBUrenWijzigen", &GBWijzigen), "Wijzigen?")),
      TEVanUur(Labelled(Add<TTimeEdit>("TEVanUur", &GBWijzigen), "Van")),
      TETotUur(Labelled(Add<TTimeEdit>("TETotUur", &GBWijzigen), "Tot")),
      EPauze(Labelled(Add<TEdit>("EPauze", &GBWijzigen), "Pauze (min.)")),
      ELestijden(Labelled(Add<TEdit>("ELestijden", &GBWijzigen), "Lestijden 50 min.")),
      CBAfstandsWijzigen(Labelled(Add<TCheckBox>("CBAfstandsWijzigen", &GBWijzigen), "Wijzigen?")),
      CBAfstandsLesmoment(
          Labelled(Add<TCheckBox>("CBAfstandsLesmoment", &GBWijzigen), "Afstands-lesmoment")),
      CBGeenStandaardWijzigen(
          Labelled(Add<TCheckBox>("CBGeenStandaardWijzigen", &GBWijzigen), "Wijzigen?")),
      CBGeenStandaardLes(
          Labelled(Add<TCheckBox>("CBGeenStandaardLes", &GBWijzigen), "Geen standaardles")),
      CBVervaltWijzigen(Labelled(Add<TCheckBox>("CBVervaltWijzigen", &GBWijzigen), "Wijzigen?")),
      CBVervalt(Labelled(Add<TCheckBox>("CBVervalt", &GBWijzigen), "Vervalt")),
      CBBuitenschoolsWijzigen(
          Labelled(Add<TCheckBox>("CBBuitenschoolsWijzigen", &GBWijzigen), "Wijzigen?")),
      CBBuitenschools(
          Labelled(Add<TCheckBox>("CBBuitenschools", &GBWijzigen), "Buitenschoolse activiteit")),
      CBEnkelLestijden(
          Labelled(Add<TCheckBox>("CBEnkelLestijden", &GBWijzigen), "Enkel lestijden")),
      EEnkelLestijden(Labelled(Add<TEdit>("EEnkelLestijden", &GBWijzigen), "Lestijden")),
      CBVerwijderen(Labelled(Add<TCheckBox>("CBVerwijderen", &GBWijzigen), "Lessen verwijderen?")),
      BOK(Labelled(Add<TButton>("BOK", &PKnoppen), "OK")),
      BCancel(Labelled(Add<TButton>("BCancel", &PKnoppen), "Annuleren")) {
  Caption = "Lessen Wijzigen";
  GBPeriode.Caption = "Periode";
  GBModulevarianten.Caption = "Modulevarianten";
  GBModulevarianten.Visible = false;
  SetTeacherSearch(SCLesgever, "PS_CODE;PS_VOORNAAM;PS_NAAM");
  SCLesgever.Hint = "Selecteer personeelslid";
  LCLesplaats.KeyField = "VLP_ID";
  LCLesplaats.ListFields = "VLP_NUMMER;VLP_OMSCHRIJVING";
  LCLokaal.KeyField = "LK_ID";
  LCLokaal.ListFields = "LK_CODE;LK_OMSCHRIJVING";
  EPauze.SetText("0");
  BOK.Default = true;
  BCancel.Cancel = true;
  BCancel.ModalResult = mrCancel;

  CBEnkelLessenOp.OnClick = [this] { EnkelLessenOpClick(); };
  for (TCheckBox* dag : CBDagen) dag->OnClick = [this] { DagClick(); };
  for (TCheckBox* box :
       {&CBLesgeverWijzigen, &CBLesplaatsWijzigen, &CBLokaalWijzigen, &CBUrenWijzigen,
        &CBAfstandsWijzigen, &CBGeenStandaardWijzigen, &CBVervaltWijzigen, &CBBuitenschoolsWijzigen,
        &CBBuitenschools, &CBEnkelLestijden, &CBVerwijderen}) {
    box->OnClick = [this] { UpdateEnabling(); };
  }
  TEVanUur.OnChange = [this] { VanUurChange(); };
  TETotUur.OnChange = [this] { RecomputeLestijden(); };
  EPauze.OnChange = [this] { RecomputeLestijden(); };
  BOK.OnClick = [this] { OKClick(); };

  EnkelLessenOpClick();
  UpdateEnabling();
  RecomputeLestijden();
}

// --------------------------------------------------------------------------------- interface

void TVWOZetLessenForm::SetIMVIDS(const std::vector<std::string>& lines) {
  imvIds_ = lines;
}

void TVWOZetLessenForm::SetDS(int kind, TDataSource* source) {
  switch (kind) {
    case 0:
      SCLesgever.ListSource = source;
      break;
    case 1:
      LCLokaal.ListSource = source;
      break;
    case 2: {
      // More than one module variant: the user chooses which, all ticked to start with.
      bool several = imvIds_.size() > 1;
      GBModulevarianten.Visible = several;
      std::vector<std::string> texts;
      if (several) {
        for (const std::string& line : imvIds_) {
          size_t eq = line.find('=');
          texts.push_back(eq == std::string::npos ? line : line.substr(eq + 1));
        }
      }
      CLBModulevarianten.SetItems(texts);
      for (size_t i = 0; i < texts.size(); ++i) CLBModulevarianten.SetChecked(i, true);
      break;
    }
    case 3:
      LCLesplaats.ListSource = source;
      break;
    default:
      return;
  }
  sources_[kind] = source;
}

TDataSource* TVWOZetLessenForm::GetDS(int kind) const {
  return kind >= 0 && kind < 4 ? sources_[kind] : nullptr;
}

void TVWOZetLessenForm::SetID(int kind, int id) {
  switch (kind) {
    case 0:
      SetKey(SCLesgever, id);
      break;
    case 1:
      SetKey(LCLokaal, id);
      break;
    case 2:
      SetKey(LCLesplaats, id);
      break;
    default:
      break;
  }
}

int TVWOZetLessenForm::GetID(int kind, int otherwise) const {
  switch (kind) {
    case 0:
      return KeyOf(SCLesgever);
    case 1:
      return KeyOf(LCLokaal);
    case 2:
      return KeyOf(LCLesplaats);
    default:
      return otherwise;
  }
}

void TVWOZetLessenForm::SetUur(int kind, const std::string& time) {
  TDateTime value;
  if (!TryStrToTime(time, value)) return;
  // A preset moves no other time (that follows the user's choice of a start time); the lesson
  // times shown follow both.
  if (kind == 0) TEVanUur.SetTime(value);
  if (kind == 1) TETotUur.SetTime(value);
  RecomputeLestijden();
}

std::string TVWOZetLessenForm::GetUur(int kind) const {
  if (kind == 0) return FormatDateTime("hh:nn", TEVanUur.Time());
  if (kind == 1) return FormatDateTime("hh:nn", TETotUur.Time());
  return "";
}

void TVWOZetLessenForm::SetPeriode(TDateTime van, TDateTime tot) {
  DEVan.SetDate(van);
  DETot.SetDate(tot);
}

// ---------------------------------------------------------------------------- enabling rules

void TVWOZetLessenForm::EnkelLessenOpClick() {
  bool on = CBEnkelLessenOp.Checked();
  for (TCheckBox* dag : CBDagen) {
    if (!on) dag->SetChecked(false);
    dag->Enabled = on;
  }
  DagClick();
}

void TVWOZetLessenForm::DagClick() {
  bool any = false;
  for (TCheckBox* dag : CBDagen) any = any || dag->Checked();
  CBTweewekelijks.Enabled = any;
  if (!any) CBTweewekelijks.SetChecked(false);
}

bool TVWOZetLessenForm::BuitenschoolsGezet() const {
  return CBBuitenschoolsWijzigen.Checked() && CBBuitenschools.Checked();
}

void TVWOZetLessenForm::UpdateEnabling() {
  SCLesgever.Enabled = CBLesgeverWijzigen.Checked();
  CBBuitenschools.Enabled = CBBuitenschoolsWijzigen.Checked();
  if (BuitenschoolsGezet()) {
    // An out-of-school activity is held without lesson place and room.
    for (TCheckBox* box : {&CBLokaalWijzigen, &CBLesplaatsWijzigen}) {
      box->SetChecked(true);
      box->Enabled = false;
    }
    SetKey(LCLokaal, -1);
    SetKey(LCLesplaats, -1);
  } else {
    CBLokaalWijzigen.Enabled = true;
    CBLesplaatsWijzigen.Enabled = true;
  }
  LCLesplaats.Enabled = CBLesplaatsWijzigen.Checked() && CBLesplaatsWijzigen.Enabled;
  LCLokaal.Enabled = CBLokaalWijzigen.Checked() && CBLokaalWijzigen.Enabled;
  for (TControl* time :
       std::initializer_list<TControl*>{&TEVanUur, &TETotUur, &EPauze, &ELestijden}) {
    time->Enabled = CBUrenWijzigen.Checked();
  }
  CBAfstandsLesmoment.Enabled = CBAfstandsWijzigen.Checked();
  CBGeenStandaardLes.Enabled = CBGeenStandaardWijzigen.Checked();
  CBVervalt.Enabled = CBVervaltWijzigen.Checked();
  CBEnkelLestijden.Enabled = !CBUrenWijzigen.Checked();
  CBUrenWijzigen.Enabled = !CBEnkelLestijden.Checked();
  EEnkelLestijden.Enabled = CBEnkelLestijden.Checked();
}

// ------------------------------------------------------------------------ lesson-time fields

void TVWOZetLessenForm::VanUurChange() {
  TETotUur.SetTime(VoorgesteldEindUur(TEVanUur.Time()));
  RecomputeLestijden();
}

void TVWOZetLessenForm::RecomputeLestijden() {
  int pauze = static_cast<int>(StrToIntDef(EPauze.Text(), 0));
  ELestijden.SetText(LestijdenText(LestijdenTussen(TEVanUur.Time(), TETotUur.Time(), pauze)));
}

// --------------------------------------------------------------------------------------- OK

bool TVWOZetLessenForm::AnyWijzigen() const {
  for (const TCheckBox* box : {&CBLesgeverWijzigen, &CBLesplaatsWijzigen, &CBLokaalWijzigen,
                               &CBUrenWijzigen, &CBAfstandsWijzigen, &CBGeenStandaardWijzigen,
                               &CBVervaltWijzigen, &CBBuitenschoolsWijzigen}) {
    if (box->Checked()) return true;
  }
  return false;
}

void TVWOZetLessenForm::ValidateOK() {
  auto fail = [this](TControl& control, const char* message) {
    SetFocus(control);
    RaiseClientError(message);
  };
  if (CBVerwijderen.Checked() && (AnyWijzigen() || CBEnkelLestijden.Checked())) {
    fail(CBVerwijderen, "Verwijderen én wijzigen kan niet.");
  }
  if (CBUrenWijzigen.Checked()) {
    double lestijden = StrToFloatDef(ELestijden.Text(), -1);
    TDateTime van = TimeOf(TEVanUur.Time());
    TDateTime tot = TimeOf(TETotUur.Time());
    if (lestijden < 0) fail(ELestijden, "Lesuren bevat geen geldig aantal.");
    if (van > tot) fail(TETotUur, "De starttijd moet voor de eindtijd liggen.");
    if (MinutenTussen(van, tot) < kMinutenPerLestijd) {
      fail(TETotUur, "De geplande les (start- en eindtijd) moet minstens één lestijd bevatten.");
    }
    if (StrToIntDef(EPauze.Text(), 0) < 0) fail(EPauze, "Pauze bevat geen geldig aantal.");
    SetFocus(ELestijden);
    CheckDuurtijdLes(lestijden, van, tot);
  }
  if (CBBuitenschoolsWijzigen.Checked() && !CBBuitenschools.Checked()) {
    if (!CBLesplaatsWijzigen.Checked() || GetID(2) == -1) {
      CBLesplaatsWijzigen.SetChecked(true);
      UpdateEnabling();
      fail(LCLesplaats,
           "Lesplaats (en lokaal) dienen ingevuld te worden indien het geen buitenschoolse "
           "activiteit is.");
    }
    if (!CBLokaalWijzigen.Checked() || GetID(1) == -1) {
      CBLokaalWijzigen.SetChecked(true);
      UpdateEnabling();
      fail(LCLokaal,
           "Lokaal (en lesplaats) dienen ingevuld te worden indien het geen buitenschoolse "
           "activiteit is.");
    }
  }
  if (CBEnkelLestijden.Checked() && StrToFloatDef(EEnkelLestijden.Text(), -1) < 0) {
    fail(EEnkelLestijden, "'Enkel lestijden' bevat geen geldig aantal.");
  }
}

void TVWOZetLessenForm::OKClick() {
  ValidateOK();
  // Without a period of more than one day there is nothing to confirm: the dialog stays open.
  if (DEVan.Date().value == 0 || !(DETot.Date() > DEVan.Date())) return;
  SetModalResult(mrOk);
}

// ---------------------------------------------------------------------------------- SetLessen

std::vector<int> TVWOZetLessenForm::TickedModuleVariants() const {
  std::vector<int> ids;
  if (!GBModulevarianten.Visible) return ids;
  for (size_t i = 0; i < imvIds_.size() && i < CLBModulevarianten.Items().size(); ++i) {
    if (!CLBModulevarianten.Checked(static_cast<int>(i))) continue;
    ids.push_back(static_cast<int>(StrToIntDef(imvIds_[i].substr(0, imvIds_[i].find('=')), -1)));
  }
  return ids;
}

bool TVWOZetLessenForm::Selected(TDateTime datum, TDateTime van, TDateTime tot) const {
  datum = DateOf(datum);
  van = DateOf(van);
  tot = DateOf(tot);
  if (datum < van || datum > tot) return false;
  if (CBEnkelLessenOp.Checked() && !CBDagen[DayOfTheWeek(datum) - 1]->Checked()) return false;
  if (!CBTweewekelijks.Checked()) return true;
  // The start week (Monday to Sunday, the Sunday ending it included) and every second week.
  const TDateTime weekEnd = van + (7 - DayOfTheWeek(van));
  if (datum <= weekEnd) return true;
  // Selected when weekEnd + 14i + 7 < datum <= weekEnd + 14i + 14 for some i in 0 .. n - 1,
  // n being the period in weeks rounded half to even: the odd weeks after the start week.
  const int weeks = static_cast<int>(std::nearbyint((tot - van) / 7.0));
  const int days = static_cast<int>(std::lround(datum - weekEnd));
  const int week = (days - 1) / 7;
  return week % 2 == 1 && (week - 1) / 2 < weeks;
}

void TVWOZetLessenForm::SetLessen(TQuilClientDataSet& lessons, TDateTime van, TDateTime tot) {
  DisableControlsGuard controls(lessons);
  // The filter text and filtering are cleared at the end, on every path.
  ScopeExit clearFilter([&lessons] { lessons.MaybeApplyFilter(""); });
  TIDList ids;

  std::string filter;
  for (int imv : TickedModuleVariants()) {
    if (!filter.empty()) filter += " OR ";
    filter += Format("VWL_INGMODULEVARIANT_FK=%d", imv);
  }
  lessons.MaybeApplyFilter(filter);
  lessons.First();
  TField& datum = lessons.FieldByName("VWL_DATUM");
  TField& id = lessons.FieldByName("VWL_ID");
  for (; !lessons.Eof(); lessons.Next()) {
    if (Selected(datum.AsDateTime(), van, tot)) ids.Add(id.AsLargeInt());
  }

  if (CBVerwijderen.Checked()) {
    if (AdminPrefs().ConfirmDeletion() && MessageDlg("Wilt u de geselecteerde lessen verwijderen ?",
                                                     mtConfirmation, {mbYes, mbNo}) != mrYes) {
      return;
    }
    BulkChangeGuard bulk(lessons);
    for (int64_t lesson : ids.Items()) {
      if (lessons.LocateID(lesson, "VWL_ID")) lessons.Delete();
    }
    return;
  }
  for (int64_t lesson : ids.Items()) {
    if (!lessons.LocateID(lesson, "VWL_ID")) continue;
    lessons.Edit();
    ChangeLesson(lessons);
    lessons.Post();
  }
}

// The change steps, in their order, on the lesson in edit.
void TVWOZetLessenForm::ChangeLesson(TQuilClientDataSet& lessons) {
  TField& lesgever = lessons.FieldByName("VWL_LESGEVER_FK");
  TField& lokaal = lessons.FieldByName("VWL_LOKAAL_FK");
  TField& lesplaats = lessons.FieldByName("VWL_LESPLAATS_FK");
  TField& lesuren = lessons.FieldByName("VWL_LESUREN");
  TField& flags = lessons.FieldByName("VWL_FLAGS");

  if (CBLesgeverWijzigen.Checked() && GetID(0) != -1 &&
      (lesgever.IsNull() || lesgever.AsInteger() != GetID(0))) {
    lesgever.SetAsInteger(GetID(0));
  }
  if (CBLokaalWijzigen.Checked()) {
    bool placeKnown = !lesplaats.IsNull() || (GetID(2) != -1 && CBLesplaatsWijzigen.Checked());
    if (GetID(1) != -1 && placeKnown) {
      lokaal.SetAsInteger(GetID(1));
      SetBit(flags, kVWLBuitenschools, false);
    } else if (BuitenschoolsGezet()) {
      lokaal.Clear();
    }
  }
  if (CBLesplaatsWijzigen.Checked()) {
    if (GetID(2) != -1 && !lokaal.IsNull()) {
      lesplaats.SetAsInteger(GetID(2));
      SetBit(flags, kVWLBuitenschools, false);
    } else if (BuitenschoolsGezet()) {
      lesplaats.Clear();
    }
  }
  if (CBUrenWijzigen.Checked()) {
    lessons.FieldByName("VWL_VANUUR").SetAsDateTime(TimeOf(TEVanUur.Time()));
    lessons.FieldByName("VWL_TOTUUR").SetAsDateTime(TimeOf(TETotUur.Time()));
    const std::string text = ELestijden.Text();
    Currency value;
    if (!text.empty() && text != "0" && TryStrToCurr(text, value) &&
        (lesuren.IsNull() || lesuren.AsCurrency() != value)) {
      lesuren.SetAsCurrency(value);
    }
  }
  timesChanged_ = CBUrenWijzigen.Checked();
  if (CBBuitenschoolsWijzigen.Checked()) {
    SetBit(flags, kVWLBuitenschools, CBBuitenschools.Checked());
  }
  if (CBVervaltWijzigen.Checked()) SetBit(flags, kVWLVervalt, CBVervalt.Checked());
  if (CBGeenStandaardWijzigen.Checked()) {
    SetBit(flags, kVWLGeenStandaardLes, CBGeenStandaardLes.Checked());
  }
  if (CBAfstandsWijzigen.Checked()) {
    SetBit(flags, kVWLAfstandsLesmoment, CBAfstandsLesmoment.Checked());
  }
  if (CBEnkelLestijden.Checked()) lesuren.SetAsString(EEnkelLestijden.Text());
}

}  // namespace kavel

namespace kavel::dlgVWOZetLessen {

void Initialization() {
  // The lesson lists hand over their lessons, staff, rooms and places when they are built; until
  // then the dialog is declared with nothing handed over, which it must bear as well.
  for (const char* opener : {"TVWOIngModuleVarLessenForm", "TVWOKlasLesmomentenForm"}) {
    RegisterDialogClass("TVWOZetLessenForm", opener,
                        [](quil::TQuilDBForm& form) -> std::unique_ptr<quil::TQuilForm> {
                          return std::make_unique<TVWOZetLessenForm>(form.Application());
                        });
  }
}

}  // namespace kavel::dlgVWOZetLessen
