#include "modulevariants/VWOLessenBase.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <utility>

#include "core/ModuleClasses.h"
#include "host/base/SchoolYear.h"
#include "host/base/ScopeExit.h"
#include "host/data/FieldDeclarations.h"
#include "host/data/Guards.h"
#include "host/domain/DavinciCommunicatie.h"
#include "host/forms/AdminPrefs.h"
#include "host/forms/QuilApplication.h"
#include "planning/VWOLes.h"
#include "planning/dlgVWOLesmomentKalender.h"
#include "planning/dlgVWOZetLessen.h"
#include "planning/vwochecks.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kDatumVraag =
    "Lesdatum valt niet binnen de periode van de klas/ingerichte modulevariant.\r\n"
    "Datums klas/ingerichte modulevariant/loopbanen aanpassen?";
constexpr const char* kNaAfgelasting =
    "Deze les valt na de afgelasting van de ingerichte modulevariant en kan niet gewijzigd "
    "worden.";

//! Writes a value into a field the user cannot change (a name the provider joins in).
void ToonWaarde(TField& field, const Variant& value) {
  ScopeExit restore([&field, readOnly = field.ReadOnly] { field.ReadOnly = readOnly; });
  field.ReadOnly = false;
  field.SetValue(value);
}

int IdOrMinus1(const TField& field) {
  return field.IsNull() ? -1 : field.AsInteger();
}

}  // namespace

TVWOLessenBaseForm::TVWOLessenBaseForm(TQuilApplication& app, const TVWOLessenNames& names)
    : TQuilDBForm(app, names.className),
      CDSLessen(AddDataSet(names.lessons, names.lessonsProvider)),
      CDSGetlesTijden(AddDataSet("CDSGetlesTijden", names.lesTijdenProvider)),
      CDSLokaal(AddDataSet("CDSLokaal", "DSPSelectLokaalPerIS")),
      CDSLesgever(AddDataSet("CDSLesgever", "DSPSelectPersoneelInPeriode")),
      CDSSelectLesplaats(AddDataSet("CDSSelectLesplaats", "DSPSelectVWOLesplaats")),
      CDSVrijeVelden(AddDataSet<TInstellingParamClientDataset>("CDSVrijeVelden")),
      DSLessen(AddDataSource(names.lessonsSource, &CDSLessen)),
      DSGetlesTijden(AddDataSource("DSGetlesTijden", &CDSGetlesTijden)),
      DSLokaal(AddDataSource("DSLokaal", &CDSLokaal)),
      DSLesgever(AddDataSource("DSLesgever", &CDSLesgever)),
      DSSelectLesplaats(AddDataSource("DSSelectLesplaats", &CDSSelectLesplaats)),
      DSVrijeVelden(AddDataSource("DSVrijeVelden", &CDSVrijeVelden)),
      PCLessen(Add<TPageControl>("PCLessen")),
      TSFiche(Add<TTabSheet>("TSFiche", &PCLessen)),
      TSVrijeVelden(Add<TTabSheet>("TSVrijeVelden", &PCLessen)),
      TSKalender(Add<TTabSheet>("TSKalender", &PCLessen)),
      GridLessen(Add<TDBGrid>("GridLessen", &TSFiche)),
      EdtDatum(Add<TDBEdit>("EdtDatum", &TSFiche)),
      EdtVanUur(Add<TDBEdit>("EdtVanUur", &TSFiche)),
      EdtTotUur(Add<TDBEdit>("EdtTotUur", &TSFiche)),
      EdtLesuren(Add<TDBEdit>("EdtLesuren", &TSFiche)),
      EdtTrimester(Add<TDBEdit>("EdtTrimester", &TSFiche)),
      LCLokaal(Add<TDBLookupCombo>("LCLokaal", &TSFiche)),
      LCLesplaats(Add<TDBLookupCombo>("LCLesplaats", &TSFiche)),
      SCLesgever(Add<TDBLookupCombo>("SCLesgever", &TSFiche)),
      CBBuitenschools(Add<TDBCheckBox>("CBBuitenschools", &TSFiche)),
      CBVervalt(Add<TDBCheckBox>("CBVervalt", &TSFiche)),
      CBGeenStandaardLes(Add<TDBCheckBox>("CBGeenStandaardLes", &TSFiche)),
      CBAfstandsLesmoment(Add<TDBCheckBox>("CBAfstandsLesmoment", &TSFiche)),
      CBVervaltVoorEducVerlof(Add<TDBCheckBox>("CBVervaltVoorEducVerlof", &TSFiche)),
      BtnCommDavinci(Add<TButton>("BtnCommDavinci", &TSFiche)),
      Veld{},
      EdtVrijVeld{},
      PLKalender(Add<TPlanner>("PLKalender", &TSKalender)),
      ACheckLesTijden(AddAction(
          names.checkAction, names.checkCaption, [this] { ACheckLesTijdenExecute(); },
          [this] { ACheckLesTijden.Enabled = Browsing() && !CDSLessen.IsEmpty(); })),
      AAddFromKalender(AddAction(
          names.kalenderAction, names.kalenderCaption, [this] { AAddFromKalenderExecute(); },
          [this] { AAddFromKalender.Enabled = Browsing() && MayAddLessons(); })),
      ASetLessen(AddAction(
          "ASetLessen", "Lessen wijzigen/verwijderen", [this] { ASetLessenExecute(); },
          [this] { ASetLessen.Enabled = Browsing() && !CDSLessen.IsEmpty() && MayAddLessons(); })),
      ACommDavinci(AddAction(
          "ACommDavinci", "&Davinci communicatie", [this] { ACommDavinciExecute(); },
          [this] {
            ACommDavinci.Enabled =
                CDSLessen.Active() && !CDSLessen.IsEmpty() &&
                !CDSLessen.FieldByName("VWL_DAVINCIID").IsNull() &&
                (HasRight(kRightChange) || HasRight(kRightInsert) || HasRight(kRightDelete));
          })),
      ABerekenAfstandsLesmomenten(AddAction(
          "ABerekenAfstandsLesmomenten", "&Afstandsmomenten berekenen",
          [this] { ABerekenAfstandsLesmomentenExecute(); },
          [this] {
            ABerekenAfstandsLesmomenten.Enabled = Browsing() && !CDSLessen.IsEmpty();
            // Kept off the menu: the module variant screen offers it.
            ABerekenAfstandsLesmomenten.Visible = false;
          })),
      names_(names) {
  for (TAction* action : {&ACheckLesTijden, &AAddFromKalender, &ASetLessen, &ACommDavinci,
                          &ABerekenAfstandsLesmomenten}) {
    action->Category = "Acties";
  }

  // The lessons.
  CDSLessen.IDField = "VWL_ID";
  CDSLessen.ChangedByField = "VWL_VERANDERDDOOR";
  CDSLessen.ChangedOnField = "VWL_VERANDERDOP";
  CDSLessen.OrderField = "VWL_DATUM";
  CDSLessen.SetSortFields("VWL_DATUM");
  CDSLessen.GetParams().Add(names.param, FieldType::Integer);
  DeclareFields(
      CDSLessen,
      {DataField("VWL_DATUM", "Datum"), DataField("VWL_VANUUR", "Van"),
       DataField("VWL_TOTUUR", "Tot"), DataField("VWL_LESUREN", "Lestijden 50 min."),
       DataField("VWL_TRIMESTER", "Periode"), DataField("VWL_LOKAAL_FK", "Lokaal"),
       DataField("VWL_LESPLAATS_FK", "Lesplaats"), DataField("VWL_LESGEVER_FK", "Lesgever"),
       DataField("PS_CODE", "Code"), DataField("PS_NAAM", "Naam"),
       DataField("PS_VOORNAAM", "Voornaam"), DataField("VWL_VRIJVELD1", "Vrij veld 1"),
       DataField("VWL_VRIJVELD2", "Vrij veld 2"), DataField("VWL_VRIJVELD3", "Vrij veld 3"),
       DataField("VWL_VRIJVELD4", "Vrij veld 4"), DataField("VWL_VRIJVELD5", "Vrij veld 5"),
       CalculatedField("VWL_Weekdag", "Dag", FieldType::String, 10)});
  AddVWOLesBitFields(CDSLessen, names.list);
  CDSLessen.BeforeOpen = [this](TQuilClientDataSet&) { CDSLessenBeforeOpen(); };
  CDSLessen.OnCalcFields = [this](TQuilClientDataSet&) { CDSLessenCalcFields(); };
  CDSLessen.OnNewRecord = [this](TQuilClientDataSet&) { CDSLessenNewRecord(); };
  CDSLessen.BeforePost = [this](TQuilClientDataSet&) { CDSLessenBeforePost(); };
  // The preference may change while the screen is open: the card offers what it says now.
  CDSLessen.AfterEdit = [this](TQuilClientDataSet&) { ApplyLokaalFilters(); };
  CDSLessen.AfterInsert = [this](TQuilClientDataSet&) { ApplyLokaalFilters(); };
  CDSLessen.FieldByName("VWL_DATUM").OnChange = [this](TField&) { DatumChange(); };
  CDSLessen.FieldByName("VWL_VANUUR").OnChange = [this](TField&) { UurChange(); };
  CDSLessen.FieldByName("VWL_TOTUUR").OnChange = [this](TField&) { UurChange(); };
  CDSLessen.FieldByName("VWL_BUITENSCHOOLS").OnChange = [this](TField&) { BuitenschoolsChange(); };
  CDSLessen.FieldByName("VWL_LESGEVER_FK").OnChange = [this](TField&) { LesgeverChange(); };

  // The lists.
  CDSGetlesTijden.GetParams().Add(names.param, FieldType::Integer);
  for (TQuilClientDataSet* list :
       {&CDSGetlesTijden, &CDSLokaal, &CDSLesgever, &CDSSelectLesplaats}) {
    list->ReadOnly = true;
  }
  CDSLokaal.GetParams().Add("IS_ID", FieldType::Integer);
  CDSLokaal.SetSortFields("LK_CODE");
  CDSSelectLesplaats.GetParams().Add("IS_ID", FieldType::Integer);
  CDSSelectLesplaats.SetSortFields("VLP_NUMMER");
  CDSLesgever.GetParams().Add("IS_ID", FieldType::Integer);
  CDSLesgever.GetParams().Add("BeginDatum", FieldType::Date);
  CDSLesgever.GetParams().Add("EindDatum", FieldType::Date);
  CDSLesgever.SetSortFields("PS_CODE");
  CDSLesgever.BeforeOpen = [this](TQuilClientDataSet&) { CDSLesgeverBeforeOpen(); };
  CDSVrijeVelden.SetParamType("LMVVC");
  CDSVrijeVelden.AfterOpen = [this](TQuilClientDataSet&) { CDSVrijeVeldenAfterOpen(); };

  // The pages.
  TSFiche.Caption = "Fiche";
  TSVrijeVelden.Caption = "Vrije velden";
  TSKalender.Caption = "Kalender";
  PCLessen.OnChanging = [this] { PCLessenChanging(); };
  PCLessen.OnChange = [this] { PCLessenChange(); };

  GridLessen.DataSource = &DSLessen;
  GridLessen.Columns = {
      {"VWL_Weekdag", "", 10},      {"VWL_DATUM", "", 10},  {"VWL_TRIMESTER", "", 6},
      {"VWL_VANUUR", "", 6},        {"VWL_TOTUUR", "", 6},  {"VWL_LESUREN", "", 8},
      {"VWL_BUITENSCHOOLS", "", 6}, {"VWL_VERVALT", "", 6}, {"VWL_AFSTANDSLESMOMENT", "", 6},
      {"PS_CODE", "", 8},           {"PS_NAAM", "", 20},    {"PS_VOORNAAM", "", 15}};
  BindField(EdtDatum, DSLessen, "VWL_DATUM");
  BindField(EdtVanUur, DSLessen, "VWL_VANUUR");
  BindField(EdtTotUur, DSLessen, "VWL_TOTUUR");
  BindField(EdtLesuren, DSLessen, "VWL_LESUREN");
  BindField(EdtTrimester, DSLessen, "VWL_TRIMESTER");
  BindField(LCLokaal, DSLessen, "VWL_LOKAAL_FK");
  OfferList(LCLokaal, DSLokaal, "LK_ID", "LK_CODE;LK_OMSCHRIJVING");
  BindField(LCLesplaats, DSLessen, "VWL_LESPLAATS_FK");
  OfferList(LCLesplaats, DSSelectLesplaats, "VLP_ID", "VLP_NUMMER;VLP_OMSCHRIJVING");
  BindField(SCLesgever, DSLessen, "VWL_LESGEVER_FK");
  OfferList(SCLesgever, DSLesgever, "PS_ID", "PS_CODE;PS_NAAM;PS_VOORNAAM");
  BindField(CBBuitenschools, DSLessen, "VWL_BUITENSCHOOLS");
  BindField(CBVervalt, DSLessen, "VWL_VERVALT");
  const bool klas = names.list == VWOLesList::Klas;
  BindField(CBGeenStandaardLes, DSLessen, klas ? "VWL_GEENSTANDAARDLES" : "VWL_GEENSTANDAARLES");
  BindField(CBAfstandsLesmoment, DSLessen, "VWL_AFSTANDSLESMOMENT");
  BindField(CBVervaltVoorEducVerlof, DSLessen,
            klas ? "VWL_VervaltVrEducVerlof" : "VWL_VervaltVoorEducVerlof");
  BtnCommDavinci.Action = &ACommDavinci;

  for (int n = 0; n < 5; ++n) {
    const std::string number = std::to_string(n + 1);
    Veld[n] = &Add<TLabel>("VELD" + number, &TSVrijeVelden);
    Veld[n]->Caption = "Vrij veld " + number;
    EdtVrijVeld[n] = &Add<TDBEdit>("EdtVrijVeld" + number, &TSVrijeVelden);
    BindField(*EdtVrijVeld[n], DSLessen, "VWL_VRIJVELD" + number);
    Veld[n]->FocusControl = EdtVrijVeld[n];
    // The editor shows the caption; the label keeps it for the host.
    Veld[n]->Visible = false;
  }

  // The month view: the school year, Dutch names, week numbers.
  PLKalender.Caption = "Kalender";
  PLKalender.MonthNames = {"jan", "feb", "mrt", "apr", "mei", "jun",
                           "jul", "aug", "sep", "okt", "nov", "dec"};
  PLKalender.DayNames = {"ma", "di", "wo", "do", "vr", "za", "zo"};
  PLKalender.WeekLabel = "Wk";
  PLKalender.OnItemCreate = [this](TDateTime day) { KalenderItemCreate(day); };
  PLKalender.OnItemDelete = [this](int index) { KalenderItemDelete(index); };
  PLKalender.OnItemDblClick = [this](int index) { KalenderItemEdit(index); };
  editor_.Lesgevers = &DSLesgever;
  editor_.Lokalen = &DSLokaal;
  editor_.Lesplaatsen = &DSSelectLesplaats;
  editor_.CreateDialog = [this] {
    return CreateDeclaredDialog<TVWOLesMomentDialog>(*this, "TVWOLesMomentDialog");
  };
}

TVWOLessenBaseForm::~TVWOLessenBaseForm() {
  if (kalenderControlsDisabled_) CDSLessen.EnableControls();
}

// ------------------------------------------------------------------------------ master chain

TField* TVWOLessenBaseForm::MasterField(TDataSource* source, const char* name) const {
  if (source == nullptr || source->DataSet() == nullptr) return nullptr;
  return source->DataSet()->FindField(name);
}

TDateTime TVWOLessenBaseForm::MasterDate(TField* field) const {
  if (field == nullptr || field->IsNull()) return TDateTime(0);
  return DateOf(field->AsDateTime());
}

int TVWOLessenBaseForm::MasterInt(const char* name) const {
  TDataSource* source = FindDataSourceWithField(DSLessen.DataSet()->GetTheDatasource(), name);
  TField* field = MasterField(source, name);
  return field == nullptr || field->IsNull() ? 0 : field->AsInteger();
}

bool TVWOLessenBaseForm::HasMasterField(const char* name) const {
  return FindDataSourceWithField(CDSLessen.GetTheDatasource(), name) != nullptr;
}

int TVWOLessenBaseForm::LessonModuleVariant() const {
  return IdOrMinus1(CDSLessen.FieldByName("VWL_INGMODULEVARIANT_FK"));
}

bool TVWOLessenBaseForm::NaAfgelasting(int id, TDateTime datum) const {
  const TModuleVariantDates imv = ModuleVariantOf(id);
  return imv.afgelast && DateOf(datum) > imv.afgelastOp;
}

bool TVWOLessenBaseForm::Browsing() const {
  return CDSLessen.State() == DataSetState::Browse;
}

void TVWOLessenBaseForm::QuilDBFormCreate() {
  PCLessen.SetActivePage(TSFiche);
  // The fields Davinci receives.
  const int32_t kleur = AdminPrefs().DavinciKleur();
  for (TControl* control : std::initializer_list<TControl*>{
           &EdtDatum, &EdtVanUur, &EdtTotUur, &EdtLesuren, &LCLokaal, &LCLesplaats, &CBVervalt,
           &CBBuitenschools, &CBAfstandsLesmoment}) {
    control->Color = kleur;
  }
}

void TVWOLessenBaseForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  TDataSource* instelling = FindDataSourceWithField(master, "IS_ID");
  for (TQuilClientDataSet* list : std::initializer_list<TQuilClientDataSet*>{
           &CDSLokaal, &CDSLesgever, &CDSSelectLesplaats, &CDSVrijeVelden}) {
    list->SetMasterdataSource(instelling);
  }
  TDataSource* klas = FindDataSourceWithField(master, "VWK_VESTIGINGSPLAATS_FK");
  if (klas == nullptr) RaiseClientError("Vestigingsplaats klas niet gevonden");
  vestigingsplaats_ = MasterField(klas, "VWK_VESTIGINGSPLAATS_FK");
  vwoVestigingsplaats_ = MasterField(FindDataSourceWithField(klas, "VP_VWOVESTIGINGSPLAATS_FK"),
                                     "VP_VWOVESTIGINGSPLAATS_FK");
  klasVan_ = MasterField(klas, "VWK_VAN");
  klasTot_ = MasterField(klas, "VWK_TOT");
  SetModuleVariantMaster(master);

  LinkToMaster(CDSLessen);
  LinkToMaster(CDSGetlesTijden);
  CDSSelectLesplaats.Open();
  CDSVrijeVelden.Open();
  CDSLessen.Open();
  ApplyLokaalFilters();
}

void TVWOLessenBaseForm::QuilDBFormShow() {
  ApplyLokaalFilters();
}

void TVWOLessenBaseForm::QuilDBFormCloseQuery(bool& canClose) {
  (void)canClose;
  if (PCLessen.ActivePage() == &TSKalender && CDSLessen.Active()) {
    lesMomenten_.SaveToDataSet(CDSLessen);
  }
}

void TVWOLessenBaseForm::QuilDBFormCanEdit(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset != &CDSLessen) return;
  if (PCLessen.ActivePage() == &TSKalender) allow = false;
  if (!CDSLessen.IsEmpty() &&
      NaAfgelasting(LessonModuleVariant(), CDSLessen.FieldByName("VWL_DATUM").AsDateTime())) {
    allow = false;
  }
}

void TVWOLessenBaseForm::QuilDBFormCanInsert(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSLessen && PCLessen.ActivePage() == &TSKalender) allow = false;
}

void TVWOLessenBaseForm::QuilDBFormCanDelete(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSLessen && PCLessen.ActivePage() == &TSKalender) allow = false;
}

void TVWOLessenBaseForm::QuilDBFormGetPrintParams(const std::string& reportFile,
                                                  TPrintParams& params) {
  (void)reportFile;
  params.SetValue(names_.param, CDSLessen.ParamByName(names_.param).AsString());
}

// ---------------------------------------------------------------------------------- the lists

void TVWOLessenBaseForm::CDSLessenBeforeOpen() {
  BeforeOpenLessons();
  CDSLokaal.Open();
  CDSLesgever.Open();
}

void TVWOLessenBaseForm::CDSLesgeverBeforeOpen() {
  // Staff employed from 15 weeks before the class starts until it ends.
  TDataSource* klas = FindDataSourceWithField(CDSLessen.GetTheDatasource(), "VWK_VAN");
  const TDateTime van = MasterDate(MasterField(klas, "VWK_VAN"));
  const TDateTime tot = MasterDate(MasterField(klas, "VWK_TOT"));
  CDSLesgever.ParamByName("BeginDatum").SetAsDateTime(van - 15 * 7);
  CDSLesgever.ParamByName("EindDatum").SetAsDateTime(tot);
}

void TVWOLessenBaseForm::ApplyLokaalFilters() {
  const bool alle = AdminPrefs().VWOToonAlleLesplaatsen();
  const int vestiging = vestigingsplaats_ == nullptr || vestigingsplaats_->IsNull()
                            ? 0
                            : vestigingsplaats_->AsInteger();
  const int vwoVestiging = vwoVestigingsplaats_ == nullptr || vwoVestigingsplaats_->IsNull()
                               ? 0
                               : vwoVestigingsplaats_->AsInteger();
  CDSLokaal.MaybeApplyFilter(alle ? Format("VP_VWOVESTIGINGSPLAATS_FK = %d", vwoVestiging)
                                  : Format("LK_VESTIGINGSPLAATS_FK = %d", vestiging));
  CDSSelectLesplaats.MaybeApplyFilter(alle ? Format("VP_VWOVESTIGINGSPLAATS_FK = %d", vwoVestiging)
                                           : Format("VP_ID = %d", vestiging));
}

void TVWOLessenBaseForm::CDSLessenCalcFields() {
  TField& datum = CDSLessen.FieldByName("VWL_DATUM");
  if (!datum.IsNull()) {
    CDSLessen.FieldByName("VWL_Weekdag").SetAsString(FormatDateTime("dddd", datum.AsDateTime()));
  }
  CalcLessonFields();
}

void TVWOLessenBaseForm::CDSLessenNewRecord() {
  TDataSource* chain = CDSLessen.GetTheDatasource();
  if (FindDataSourceWithField(chain, "VWK_STANDAARDLOKAAL_FK") != nullptr) {
    CDSLessen.FieldByName("VWL_LOKAAL_FK").SetAsInteger(MasterInt("VWK_STANDAARDLOKAAL_FK"));
  }
  if (FindDataSourceWithField(chain, "IMV_LESPLAATS_FK") != nullptr) {
    CDSLessen.FieldByName("VWL_LESPLAATS_FK").SetAsInteger(MasterInt("IMV_LESPLAATS_FK"));
  }
  if (FindDataSourceWithField(&DSLessen, "IMV_LESGEVER_FK") != nullptr) {
    CDSLesgever.Open();
    // The teacher's code and names follow through the field's reaction.
    CDSLessen.FieldByName("VWL_LESGEVER_FK").SetAsInteger(MasterInt("IMV_LESGEVER_FK"));
  }
  CDSLessen.FieldByName("VWL_FLAGS").SetAsInteger(0);
}

void TVWOLessenBaseForm::CDSLessenBeforePost() {
  if (settingLessons_) return;
  TField& lesplaats = CDSLessen.FieldByName("VWL_LESPLAATS_FK");
  TField& lokaal = CDSLessen.FieldByName("VWL_LOKAAL_FK");
  const bool buitenschools = CDSLessen.FieldByName("VWL_BUITENSCHOOLS").AsBoolean();
  if (buitenschools && (!lesplaats.IsNull() || !lokaal.IsNull())) {
    RaiseClientError(
        "Bij een buitenschoolse activiteit mogen de lesplaats en het lokaal niet ingevuld zijn");
  }
  if (!buitenschools && (lesplaats.IsNull() || lokaal.IsNull())) {
    RaiseClientError(
        "Lesplaats en lokaal zijn verplicht indien het geen buitenschoolse activiteit is.");
  }
  TField& lesuren = CDSLessen.FieldByName("VWL_LESUREN");
  CheckDuurtijdLes(lesuren.IsNull() ? 0.0 : lesuren.AsCurrency().ToDouble(),
                   CDSLessen.FieldByName("VWL_VANUUR").AsDateTime(),
                   CDSLessen.FieldByName("VWL_TOTUUR").AsDateTime());
  const TModuleVariantDates imv = ModuleVariantOf(LessonModuleVariant());
  if (!imv.found) RaiseClientError("Ingerichte modulevariant niet gevonden");
  TField& datum = CDSLessen.FieldByName("VWL_DATUM");
  const TDateTime dag = datum.IsNull() ? TDateTime(0) : DateOf(datum.AsDateTime());
  if (!CheckDatumsLesmomenten(dag, MasterDate(klasVan_), MasterDate(klasTot_), imv.van, imv.tot,
                              imv.lesVan, imv.lesTot)) {
    if (MessageDlg(kDatumVraag, mtWarning, {mbYes, mbNo}) != mrYes) throw EAbort();
    JobData data;
    data.values = {Variant(dag),
                   Variant(CDSLessen.FieldByName("VWL_INGMODULEVARIANT_FK").AsInteger())};
    ExecuteJob(436, 0, data);
  }
}

void TVWOLessenBaseForm::CDSVrijeVeldenAfterOpen() {
  for (CDSVrijeVelden.First(); !CDSVrijeVelden.Eof(); CDSVrijeVelden.Next()) {
    const std::string stored = CDSVrijeVelden.FieldByName("P_CODE").AsString();
    const std::string code(Trim(stored));
    const std::string caption = CDSVrijeVelden.FieldByName("P_OMSCHRIJVING").AsString();
    auto found = std::find_if(std::begin(Veld), std::end(Veld),
                              [&](TLabel* label) { return SameText(label->Name(), code); });
    if (found == std::end(Veld)) RaiseClientError("Kon label \"%s\" niet vinden.", code);
    (*found)->Caption = caption;
    EdtVrijVeld[found - std::begin(Veld)]->Caption = caption;
  }
}

// ----------------------------------------------------------------------------- field reactions

void TVWOLessenBaseForm::DatumChange() {
  TField& datum = CDSLessen.FieldByName("VWL_DATUM");
  if (datum.IsNull()) return;
  const TModuleVariantDates imv = ModuleVariantOf(LessonModuleVariant());
  if (!imv.found) return;
  const TDateTime dag = datum.AsDateTime();
  const TDateTime start = imv.van;
  int year, month, day;
  DecodeDate(start, year, month, day);
  CDSLessen.FieldByName("VWL_TRIMESTER")
      .SetAsInteger(month == 9 ? GetTrimester(dag) : GetTrimester(true, start, dag));
}

void TVWOLessenBaseForm::UurChange() {
  TField& van = CDSLessen.FieldByName("VWL_VANUUR");
  TField& tot = CDSLessen.FieldByName("VWL_TOTUUR");
  if (van.IsNull() || tot.IsNull()) return;  // the computation needs both times
  const double minutes =
      std::fabs(TimeOf(tot.AsDateTime()).value - TimeOf(van.AsDateTime()).value) * kMinutesPerDay;
  CDSLessen.FieldByName("VWL_LESUREN").SetAsCurrency(Currency::FromDouble(minutes / 50.0));
}

void TVWOLessenBaseForm::BuitenschoolsChange() {
  if (settingLessons_ || !CDSLessen.FieldByName("VWL_BUITENSCHOOLS").AsBoolean()) return;
  TField& lokaal = CDSLessen.FieldByName("VWL_LOKAAL_FK");
  TField& lesplaats = CDSLessen.FieldByName("VWL_LESPLAATS_FK");
  if (lokaal.DisplayText().empty() && lesplaats.DisplayText().empty()) return;
  if (MessageDlg("Wilt u lesplaats en lokaal leegmaken?", mtConfirmation, {mbYes, mbNo}) == mrYes) {
    lesplaats.Clear();
    lokaal.Clear();
  }
}

void TVWOLessenBaseForm::LesgeverChange() {
  CopyLesgever(IdOrMinus1(CDSLessen.FieldByName("VWL_LESGEVER_FK")));
}

void TVWOLessenBaseForm::CopyLesgever(int lesgever) {
  for (const char* name : {"PS_CODE", "PS_NAAM", "PS_VOORNAAM"}) {
    Variant value;
    if (lesgever != -1 && CDSLesgever.Active()) {
      value = CDSLesgever.Lookup("PS_ID", Variant(lesgever), name);
    }
    ToonWaarde(CDSLessen.FieldByName(name), value);
  }
}

// ------------------------------------------------------------------------------- month view

void TVWOLessenBaseForm::PCLessenChanging() {
  if (PCLessen.ActivePage() == &TSKalender) {
    WriteBackKalender();
    if (kalenderControlsDisabled_) {
      kalenderControlsDisabled_ = false;
      CDSLessen.EnableControls();
    }
    return;
  }
  if (CDSLessen.State() == DataSetState::Edit || CDSLessen.State() == DataSetState::Insert) {
    CDSLessen.Post();
  }
}

void TVWOLessenBaseForm::PCLessenChange() {
  if (PCLessen.ActivePage() == &TSKalender) ShowKalender();
}

void TVWOLessenBaseForm::WriteBackKalender() {
  DisableControlsGuard quiet(CDSLessen);
  BulkChangeGuard bulk(CDSLessen);
  lesMomenten_.SaveToDataSet(CDSLessen);
}

void TVWOLessenBaseForm::ShowKalender() {
  const TDateTime werkDatum = AdminPrefs().WerkDatum();
  PLKalender.SchoolYear = GetSchooljaarFrom(werkDatum);
  int year, month, day;
  DecodeDate(werkDatum, year, month, day);
  PLKalender.ShowMonth(year, month);
  PrepareLesMomentEditor();
  lesMomenten_.LoadFromDataSet(CDSLessen);
  PLKalender.Items.clear();
  PLKalender.Items.reserve(static_cast<size_t>(lesMomenten_.Count()));
  for (int index = 0; index < lesMomenten_.Count(); ++index) {
    TPlanner::Item item;
    item.tag = index;
    editor_.SetPlannerItemProps(item, lesMomenten_.GetLesMoment(index));
    PLKalender.Items.push_back(std::move(item));
  }
  const bool writable = !IsReadOnly() && CDSLessen.Active();
  PLKalender.CanCreateItems = writable && HasRight(kRightInsert) && MayAddLessons();
  PLKalender.CanDeleteItems = writable && HasRight(kRightDelete);
  if (!kalenderControlsDisabled_) {
    CDSLessen.DisableControls();
    kalenderControlsDisabled_ = true;
  }
}

void TVWOLessenBaseForm::KalenderItemCreate(TDateTime day) {
  PrepareLesMomentEditor();
  TVWOLesMoment& moment = lesMomenten_.Add();
  TVWOLesMomentWaarden waarden;
  waarden.ModuleVariant = NewMomentModuleVariant();
  waarden.Datum = DateOf(day);
  // The new-lesson defaults of the card, and the hours of the current lesson.
  TDataSource* chain = CDSLessen.GetTheDatasource();
  if (FindDataSourceWithField(chain, "VWK_STANDAARDLOKAAL_FK") != nullptr) {
    const int lokaal = MasterInt("VWK_STANDAARDLOKAAL_FK");
    if (lokaal != 0) waarden.Lokaal = lokaal;
  }
  if (FindDataSourceWithField(chain, "IMV_LESPLAATS_FK") != nullptr) {
    const int lesplaats = MasterInt("IMV_LESPLAATS_FK");
    if (lesplaats != 0) waarden.Lesplaats = lesplaats;
  }
  if (FindDataSourceWithField(chain, "IMV_LESGEVER_FK") != nullptr) {
    const int lesgever = MasterInt("IMV_LESGEVER_FK");
    if (lesgever != 0) waarden.Lesgever = lesgever;
  }
  if (!CDSLessen.IsEmpty()) {
    waarden.VanUur = TimeOf(CDSLessen.FieldByName("VWL_VANUUR").AsDateTime());
    waarden.TotUur = TimeOf(CDSLessen.FieldByName("VWL_TOTUUR").AsDateTime());
    waarden.Lesuren = CDSLessen.FieldByName("VWL_LESUREN").AsCurrency();
  }
  moment.SetWaarden(waarden);
  TPlanner::Item item;
  item.tag = lesMomenten_.Count() - 1;
  editor_.SetPlannerItemProps(item, moment);
  PLKalender.Items.push_back(std::move(item));
  const int index = static_cast<int>(PLKalender.Items.size()) - 1;
  bool kept = false;
  ScopeExit dropUnkept([&] {
    // A new moment whose editor was cancelled (or failed) is not kept.
    if (kept) return;
    moment.Delete();
    PLKalender.Items.erase(PLKalender.Items.begin() + index);
  });
  kept = editor_.Edit(PLKalender, index, moment);
}

void TVWOLessenBaseForm::KalenderItemDelete(int index) {
  TPlanner::Item& item = PLKalender.Items.at(static_cast<size_t>(index));
  TVWOLesMoment& moment = lesMomenten_.GetLesMoment(static_cast<int>(item.tag));
  if (NaAfgelasting(moment.Waarden().ModuleVariant, moment.Waarden().Datum)) {
    RaiseClientError(kNaAfgelasting);
  }
  moment.Delete();
  PLKalender.Items.erase(PLKalender.Items.begin() + index);
}

void TVWOLessenBaseForm::KalenderItemEdit(int index) {
  TPlanner::Item& item = PLKalender.Items.at(static_cast<size_t>(index));
  TVWOLesMoment& moment = lesMomenten_.GetLesMoment(static_cast<int>(item.tag));
  if (IsReadOnly() || !HasRight(kRightChange)) RaiseClientError("U mag deze lessen niet wijzigen.");
  if (NaAfgelasting(moment.Waarden().ModuleVariant, moment.Waarden().Datum)) {
    RaiseClientError(kNaAfgelasting);
  }
  editor_.Edit(PLKalender, index, moment);
}

// ---------------------------------------------------------------------------------- actions

void TVWOLessenBaseForm::ACheckLesTijdenExecute() {
  CheckVWOLesTijden(CDSGetlesTijden, CDSLessen.ParamByName(names_.param).AsInteger());
}

void TVWOLessenBaseForm::ACommDavinciExecute() {
  DavinciCommunicatieRequest(
      *this, "Davinci communicatie voor les op %s van %s tot %s",
      {FormatDateTime("dd/mm/yyyy", CDSLessen.FieldByName("VWL_DATUM").AsDateTime()),
       FormatDateTime("hh:nn:ss", CDSLessen.FieldByName("VWL_VANUUR").AsDateTime()),
       FormatDateTime("hh:nn:ss", CDSLessen.FieldByName("VWL_TOTUUR").AsDateTime())},
      "DSPDavinciLes", "VWL_ID=" + CDSLessen.FieldByName("VWL_ID").AsString(), true);
}

void TVWOLessenBaseForm::ASetLessenExecute() {
  const std::vector<std::string> modulevarianten = SetLessenModuleVariants();
  settingLessons_ = true;
  ScopeExit clearFlag([this] { settingLessons_ = false; });
  auto dialog = CreateDeclaredDialog<TVWOZetLessenForm>(*this, "TVWOZetLessenForm");
  dialog->SetIMVIDS(modulevarianten);
  dialog->SetDS(2, &DSLessen);
  ApplyLokaalFilters();
  dialog->SetDS(1, &DSLokaal);
  dialog->SetDS(3, &DSSelectLesplaats);
  dialog->SetDS(0, &DSLesgever);
  for (int kind = 0; kind < 3; ++kind) dialog->SetID(kind, -1);

  TDateTime eerste, laatste;
  bool any = false;
  {
    DisableControlsGuard quiet(CDSLessen);
    BookmarkGuard back(CDSLessen);
    TField& datum = CDSLessen.FieldByName("VWL_DATUM");
    for (CDSLessen.First(); !CDSLessen.Eof(); CDSLessen.Next()) {
      const TDateTime dag = DateOf(datum.AsDateTime());
      if (!any || dag < eerste) eerste = dag;
      if (!any || dag > laatste) laatste = dag;
      any = true;
    }
  }
  const TDateTime vandaag = Date();
  if (eerste < vandaag) eerste = vandaag;
  dialog->SetPeriode(eerste, laatste);

  if (dialog->ShowModal() != mrOk) return;
  dialog->SetLessen(CDSLessen, dialog->Van(), dialog->Tot());
  if (dialog->TimesChanged()) {
    for (const std::string& line : dialog->GetIMVIDS()) {
      JobData data;
      data.values = {Variant(0), Variant(StrToIntDef(line.substr(0, line.find('=')), -1))};
      ExecuteJob(352, 0, data);
    }
  }
  CDSLessen.Close();
  CDSLessen.Open();
}

void TVWOLessenBaseForm::AAddFromKalenderExecute() {
  auto dialog =
      CreateDeclaredDialog<TVWOLesmomentUitKalenderForm>(*this, "TVWOLesmomentUitKalenderForm");
  dialog->SetDS(2, &DSLessen);
  ApplyLokaalFilters();
  dialog->SetDS(1, &DSLokaal);
  dialog->SetDS(4, &DSSelectLesplaats);
  dialog->SetDS(0, &DSLesgever);
  PrepareKalender(*dialog);
  dialog->ShowModal();
}

void TVWOLessenBaseForm::PresetFromLesson(TVWOLesmomentUitKalenderForm& dialog) {
  dialog.SetID(0, IdOrMinus1(CDSLessen.FieldByName("VWL_LESGEVER_FK")));
  dialog.SetID(1, IdOrMinus1(CDSLessen.FieldByName("VWL_LOKAAL_FK")));
  dialog.SetID(3, IdOrMinus1(CDSLessen.FieldByName("VWL_LESPLAATS_FK")));
  dialog.SetUur(0, FormatDateTime("hh:nn", CDSLessen.FieldByName("VWL_VANUUR").AsDateTime()));
  dialog.SetUur(1, FormatDateTime("hh:nn", CDSLessen.FieldByName("VWL_TOTUUR").AsDateTime()));
}

void RegisterLessenScreen(std::string_view className, TFormFactory factory) {
  RegisterScreenClass(className, std::move(factory));
  RegisterDialogClass("TVWOLesMomentDialog", className,
                      [](TQuilDBForm& screen) -> std::unique_ptr<TQuilForm> {
                        return std::make_unique<TVWOLesMomentDialog>(screen.Application());
                      });
}

}  // namespace kavel
