#include "structure/frmVWOIngOpleidingsVariant.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"
#include "host/data/Guards.h"
#include "host/domain/DavinciCommunicatie.h"
#include "host/forms/AdminPrefs.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kToevoegen = "VWO Opleidingsvariant toevoegen";
constexpr const char* kDuaalVraag =
    "Er bestaat reeds een ingerichte versie van deze opleidingsvariant in deze vestiging in deze "
    "periode\r\nWilt u deze als een duale opleiding toevoegen?\r\n";
constexpr const char* kReedsIngericht =
    "Er bestaat reeds een ingerichte opleidingsvariant voor deze opleidingsvariant in deze "
    "vestiging in deze periode";
constexpr const char* kEindNaBegin = "Einddatum moet vallen na de begindatum";
constexpr const char* kVestigingNietGevonden = "Vestiging niet gevonden...";

//! The colour of an official variant that is organised in the geography already.
constexpr int32_t kGrijs = 0x808080;
//! Bit 0 of CIO_FLAGS: organised as a dual programme.
constexpr int kBitDuaal = 0;

std::string DateText(TDateTime date) {
  return FormatDateTime("dd/mm/yyyy", date);
}

}  // namespace

TVWOIngOpleidingsVariantForm::TVWOIngOpleidingsVariantForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOIngOpleidingsVariantForm"),
      CDSGeografie(AddDataSet("CDSGeografie", "DSPSelectVWOGeografiePerSC")),
      CDSOffOpleidingsVarianten(
          AddDataSet("CDSOffOpleidingsVarianten", "DSPSelectVWOBevoegdeOplVAr")),
      CDSIngOpleidingsVarianten(
          AddDataSet("CDSIngOpleidingsVarianten", "DSPVWOIngOpleidingsVarianten")),
      CDSIngOplVarKopie(AddDataSet("CDSIngOplVarKopie")),
      CDSVergelijk(AddDataSet("CDSVergelijk", "DSPVWOIngOpleidingsVarianten")),
      DSGeografie(AddDataSource("DSGeografie", &CDSGeografie)),
      DSOffOpleidingsVarianten(
          AddDataSource("DSOffOpleidingsVarianten", &CDSOffOpleidingsVarianten)),
      DSIngOpleidingsVarianten(
          AddDataSource("DSIngOpleidingsVarianten", &CDSIngOpleidingsVarianten)),
      SCGeografie(Add<TSearchControl>("SCGeografie")),
      PnlSelectie(Add<TSelectionPanel>("PnlSelectie")),
      PnlOfficieel(Add<TPanel>("PnlOfficieel", &PnlSelectie)),
      ChkInrichtbaar(Add<TCheckBox>("ChkInrichtbaar", &PnlOfficieel)),
      GridOfficieel(Add<TDBGrid>("GridOfficieel", &PnlOfficieel)),
      BtnAdd(Add<TButton>("BtnAdd", &PnlSelectie)),
      BtnDelete(Add<TButton>("BtnDelete", &PnlSelectie)),
      PnlIngericht(Add<TPanel>("PnlIngericht", &PnlSelectie)),
      ChkActief(Add<TCheckBox>("ChkActief", &PnlIngericht)),
      GridIngericht(Add<TDBGrid>("GridIngericht", &PnlIngericht)),
      PnlKaart(Add<TPanel>("PnlKaart", &PnlIngericht)),
      EdtVan(Add<TDBEdit>("EdtVan", &PnlKaart)),
      EdtTot(Add<TDBEdit>("EdtTot", &PnlKaart)),
      CBKlaar(Add<TDBCheckBox>("CBKlaar", &PnlKaart)),
      CBDuaal(Add<TDBCheckBox>("CBDuaal", &PnlKaart)),
      AAdd(AddAction(
          "AAdd", "Toevoegen", [this] { AAddExecute(); }, [this] { AAddUpdate(); })),
      ADelete(AddAction(
          "ADelete", "Verwijderen", [this] { ADeleteExecute(); }, [this] { ADeleteUpdate(); })),
      ACommDavinci(AddAction(
          "ACommDavinci", "&Davinci communicatie", [this] { ACommDavinciExecute(); },
          [this] { ACommDavinciUpdate(); })),
      selection_(CDSOffOpleidingsVarianten, CDSIngOpleidingsVarianten, this) {
  CDSGeografie.ReadOnly = true;
  CDSGeografie.AfterClose = [this](TQuilClientDataSet&) { CDSGeografieAfterClose(); };

  TQuilClientDataSet& officieel = CDSOffOpleidingsVarianten;
  officieel.ReadOnly = true;
  DeclareFields(
      officieel,
      {DataField("VOO_CODE", "Code"), DataField("VOO_OMSCHRIJVING", "Omschrijving"),
       DataField("VOO_TRAJECTTARGET", "Traject"), DataField("VOB_AANVANGSDATUM", "Bevoegd van"),
       DataField("VOB_EINDDATUM", "Bevoegd tot"), DataField("VOO_INRICHTBAAR", "Inrichtbaar"),
       CalculatedField("INGERICHT_KLEUR", "Ingericht", FieldType::Integer).Hidden()});
  officieel.AfterOpen = [this](TQuilClientDataSet&) { CDSOffOpleidingsVariantenAfterOpen(); };
  officieel.OnCalcFields = [this](TQuilClientDataSet&) { CDSOffOpleidingsVariantenCalcFields(); };

  TQuilClientDataSet& ingericht = CDSIngOpleidingsVarianten;
  ingericht.IDField = "CIO_ID";
  ingericht.ChangedByField = "CIO_VERANDERDDOOR";
  ingericht.ChangedOnField = "CIO_VERANDERDOP";
  DeclareFields(ingericht,
                {DataField("VOO_CODE", "Code"), DataField("VOO_OMSCHRIJVING", "Omschrijving"),
                 DataField("CIO_VAN", "Begindatum"), DataField("CIO_TOT", "Einddatum"),
                 DataField("CIO_DAVINCIKLAAR", "Klaar voor DaVinci"),
                 BitField("Duaal", "Duaal georganiseerd", "CIO_FLAGS", kBitDuaal)});
  ingericht.AfterOpen = [this](TQuilClientDataSet&) { CDSIngOpleidingsVariantenAfterOpen(); };
  ingericht.OnNewRecord = [this](TQuilClientDataSet&) { CDSIngOpleidingsVariantenNewRecord(); };
  ingericht.BeforePost = [this](TQuilClientDataSet&) { CDSIngOpleidingsVariantenBeforePost(); };
  ingericht.AfterScroll = [this](TQuilClientDataSet&) { UpdateKlaar(); };
  ingericht.AfterPost = [this](TQuilClientDataSet&) {
    UpdateKlaar();
    RefreshCopy();
  };
  ingericht.AfterDelete = [this](TQuilClientDataSet&) { RefreshCopy(); };
  CDSVergelijk.ReadOnly = true;

  selection_.SetFieldMap(
      "VOO_ID=CIO_VWOOPLEIDINGSVARIANT_FK;VOO_CODE;VOO_OMSCHRIJVING;VOO_TRAJECT_FK;"
      "VOB_EINDDATUM=CIO_TOT;VOB_AANVANGSDATUM=CIO_VAN");
  selection_.OnAllowUnSelect = [this] { return !Klaar(); };

  SCGeografie.Caption = "Geografie";
  SCGeografie.ListSource = &DSGeografie;
  SCGeografie.KeyField = "VVP_ID";
  SCGeografie.ListFields = "VVP_CODE;VVP_GEOGRAFIE";
  SCGeografie.SearchFormat =
      "(VVP_CODE LIKE '%%%s%%') OR (UPPER(VVP_GEOGRAFIE) LIKE UPPER('%%%s%%'))";
  SCGeografie.OnChange = [this] { SCGeografieChange(); };
  PnlSelectie.Available = &PnlOfficieel;
  PnlSelectie.Chosen = &PnlIngericht;
  PnlOfficieel.Caption = "Opleidingsvarianten";
  ChkInrichtbaar.Caption = "Toon enkel &inrichtbaar";
  ChkInrichtbaar.SetChecked(true);
  ChkInrichtbaar.OnClick = [this] { ApplyInrichtbaarFilter(); };
  GridOfficieel.DataSource = &DSOffOpleidingsVarianten;
  GridOfficieel.MultiSelect = true;
  GridOfficieel.FontColorField = "INGERICHT_KLEUR";
  GridOfficieel.Columns = {{"VOO_CODE", "", 8},
                           {"VOO_OMSCHRIJVING", "", 40},
                           {"VOO_TRAJECTTARGET", "", 15},
                           {"VOB_AANVANGSDATUM", "", 10},
                           {"VOB_EINDDATUM", "", 10}};
  GridOfficieel.OnDblClick = [this] { AAdd.Execute(); };
  AAdd.Hint = "Voeg toe aan lijst ingerichte opleidingsvarianten";
  ADelete.Hint = "Verwijder ingerichte opleidingsvariant";
  BtnAdd.Action = &AAdd;
  BtnDelete.Action = &ADelete;
  PnlIngericht.Caption = "Ingerichte opleidingsvarianten";
  ChkActief.Caption = "Toon enkel actieve";
  ChkActief.OnClick = [this] { ApplyActiveFilter(); };
  GridIngericht.DataSource = &DSIngOpleidingsVarianten;
  GridIngericht.Columns = {{"VOO_CODE", "", 8}, {"VOO_OMSCHRIJVING", "", 40}, {"CIO_VAN", "", 10},
                           {"CIO_TOT", "", 10}, {"CIO_DAVINCIKLAAR", "", 4},  {"Duaal", "", 4}};
  GridIngericht.OnDblClick = [this] { GridIngerichtDblClick(); };
  BindField(EdtVan, DSIngOpleidingsVarianten, "CIO_VAN", "Be&gindatum");
  BindField(EdtTot, DSIngOpleidingsVarianten, "CIO_TOT", "E&inddatum");
  BindField(CBKlaar, DSIngOpleidingsVarianten, "CIO_DAVINCIKLAAR", "&Klaar voor DaVinci");
  BindField(CBDuaal, DSIngOpleidingsVarianten, "Duaal");
}

void TVWOIngOpleidingsVariantForm::QuilDBFormCreate() {
  // Reported to Davinci.
  for (TControl* control : std::initializer_list<TControl*>{&SCGeografie, &EdtVan, &EdtTot}) {
    control->Color = AdminPrefs().DavinciKleur();
  }
}

void TVWOIngOpleidingsVariantForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  (void)master;
  RequireMasterField("IS_ID");
  LinkToMaster(CDSGeografie);
  CDSGeografie.Open();
}

void TVWOIngOpleidingsVariantForm::QuilDBFormCanInsert(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSIngOpleidingsVarianten) allow = false;
}

void TVWOIngOpleidingsVariantForm::QuilDBFormCanDelete(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSIngOpleidingsVarianten) allow = false;
}

void TVWOIngOpleidingsVariantForm::QuilDBFormGetPrintParams(const std::string& reportFile,
                                                            TPrintParams& params) {
  (void)reportFile;
  if (TDataSource* institution = FindDataSourceWithField(MasterDataSource(), "IS_ID")) {
    params.SetValue("IS_ID", institution->DataSet()->FieldByName("IS_ID").AsString());
  }
  params.SetValue("Actieve", ChkActief.Checked() ? "+" : "-");
  params.SetValue("Werkdatum", DateText(AdminPrefs().WerkDatum()));
}

// --- choosing the geography -------------------------------------------------------------------

void TVWOIngOpleidingsVariantForm::SCGeografieChange() {
  const Variant geografie = SCGeografie.KeyValue();
  CDSIngOpleidingsVarianten.Close();
  CDSOffOpleidingsVarianten.Close();
  if (geografie.IsNull()) return;
  CDSIngOpleidingsVarianten.RefreshParam("VVP_ID", geografie);
  TParam& datum = CDSOffOpleidingsVarianten.GetParams().Add("datum");
  datum.SetAsDate(AdminPrefs().WerkDatum());
  CDSOffOpleidingsVarianten.GetParams().Add("VVP_ID").value = geografie;
  CDSOffOpleidingsVarianten.Open();
}

void TVWOIngOpleidingsVariantForm::CDSGeografieAfterClose() {
  CDSIngOpleidingsVarianten.Close();
  CDSOffOpleidingsVarianten.Close();
  SCGeografie.SetKeyValue(Variant());
}

// --- the official list ------------------------------------------------------------------------

void TVWOIngOpleidingsVariantForm::CDSOffOpleidingsVariantenAfterOpen() {
  ApplyInrichtbaarFilter();
}

void TVWOIngOpleidingsVariantForm::ApplyInrichtbaarFilter() {
  if (!CDSOffOpleidingsVarianten.Active()) return;
  CDSOffOpleidingsVarianten.MaybeApplyFilter(ChkInrichtbaar.Checked() ? "(VOO_INRICHTBAAR = '+')"
                                                                      : "");
}

void TVWOIngOpleidingsVariantForm::CDSOffOpleidingsVariantenCalcFields() {
  const Variant code = CDSOffOpleidingsVarianten.FieldByName("VOO_CODE").Value();
  const bool ingericht =
      CDSIngOplVarKopie.Active() && !CDSIngOplVarKopie.Lookup("VOO_CODE", code, "CIO_ID").IsNull();
  CDSOffOpleidingsVarianten.FieldByName("INGERICHT_KLEUR")
      .SetValue(ingericht ? Variant(int64_t{kGrijs}) : Variant());
}

void TVWOIngOpleidingsVariantForm::ReloadOfficieel() {
  CDSOffOpleidingsVarianten.Close();
  CDSOffOpleidingsVarianten.Open();
}

// --- the organised list -----------------------------------------------------------------------

void TVWOIngOpleidingsVariantForm::CDSIngOpleidingsVariantenAfterOpen() {
  RefreshCopy();
  ApplyActiveFilter();
  UpdateKlaar();
}

void TVWOIngOpleidingsVariantForm::RefreshCopy() {
  if (CDSIngOpleidingsVarianten.Active()) {
    CopyDataToDataset(CDSIngOpleidingsVarianten, CDSIngOplVarKopie);
  }
}

void TVWOIngOpleidingsVariantForm::ApplyActiveFilter() {
  if (!CDSIngOpleidingsVarianten.Active()) return;
  const std::string werkDatum = DateText(AdminPrefs().WerkDatum());
  CDSIngOpleidingsVarianten.MaybeApplyFilter(
      ChkActief.Checked() ? Format("(CIO_VAN <= '%s') AND (CIO_TOT >= '%s')", werkDatum, werkDatum)
                          : std::string());
}

bool TVWOIngOpleidingsVariantForm::Klaar() const {
  return CDSIngOpleidingsVarianten.Active() && !CDSIngOpleidingsVarianten.IsEmpty() &&
         CDSIngOpleidingsVarianten.FieldByName("CIO_DAVINCIKLAAR").AsString() == "+";
}

void TVWOIngOpleidingsVariantForm::UpdateKlaar() {
  // A variant once stored as ready stays ready here.
  CBKlaar.Enabled = !CDSIngOpleidingsVarianten.Active() || CDSIngOpleidingsVarianten.IsEmpty() ||
                    CDSIngOpleidingsVarianten.FieldByName("CIO_DAVINCIKLAAR").AsString() != "+";
}

void TVWOIngOpleidingsVariantForm::CDSIngOpleidingsVariantenNewRecord() {
  TQuilClientDataSet& ingericht = CDSIngOpleidingsVarianten;
  const Variant geografie = ingericht.ParamByName("VVP_ID").value;
  const Variant instelling = CDSGeografie.Lookup("VVP_ID", geografie, "VP_INSTELLING_FK");
  if (instelling.IsNull()) RaiseClientError(kVestigingNietGevonden);
  ingericht.FieldByName("CIO_VWOVESTIGINGSPLAATS_FK").SetValue(geografie);
  ingericht.FieldByName("CIO_INSTELLING_FK").SetValue(instelling);
  ingericht.FieldByName("CIO_DAVINCIKLAAR").SetAsString("-");
  ingericht.FieldByName("CIO_FLAGS").SetAsInteger(0);
}

void TVWOIngOpleidingsVariantForm::CDSIngOpleidingsVariantenBeforePost() {
  OverlapCheck();
  TQuilClientDataSet& ingericht = CDSIngOpleidingsVarianten;
  if (ingericht.FieldByName("CIO_TOT").AsDateTime() <=
      ingericht.FieldByName("CIO_VAN").AsDateTime()) {
    SetFocus(EdtTot);
    RaiseClientError(kEindNaBegin);
  }
}

void TVWOIngOpleidingsVariantForm::OverlapCheck() {
  TQuilClientDataSet& ingericht = CDSIngOpleidingsVarianten;
  const bool inserting = ingericht.State() == DataSetState::Insert;
  if (!inserting && ingericht.State() != DataSetState::Edit) return;
  CDSVergelijk.Close();
  CDSVergelijk.GetParams().Add("VVP_ID").value = ingericht.ParamByName("VVP_ID").value;
  CDSVergelijk.Open();
  FilterGuard filterOff(CDSVergelijk);
  TDateTime van, tot;
  if (inserting) {
    CDSVergelijk.MaybeApplyFilter(
        Format("(CIO_VWOOPLEIDINGSVARIANT_FK=%d)",
               CDSOffOpleidingsVarianten.FieldByName("VOO_ID").AsInteger()));
    van = AdminPrefs().StartOfWerkJaar();
    tot = AdminPrefs::EndOfZovive();
  } else {
    CDSVergelijk.MaybeApplyFilter(
        Format("(CIO_VWOOPLEIDINGSVARIANT_FK=%d) and (CIO_ID <> %d)",
               ingericht.FieldByName("CIO_VWOOPLEIDINGSVARIANT_FK").AsInteger(),
               ingericht.FieldByName("CIO_ID").AsInteger()));
    van = ingericht.FieldByName("CIO_VAN").AsDateTime();
    tot = ingericht.FieldByName("CIO_TOT").AsDateTime();
  }
  TField& eigenDuaal = ingericht.FieldByName("Duaal");
  for (CDSVergelijk.First(); !CDSVergelijk.Eof(); CDSVergelijk.Next()) {
    const TDateTime rVan = CDSVergelijk.FieldByName("CIO_VAN").AsDateTime();
    const TDateTime rTot = CDSVergelijk.FieldByName("CIO_TOT").AsDateTime();
    const bool overlapt = (van >= rVan && van <= rTot) || (tot >= rVan && tot <= rTot);
    const bool rDuaal = (CDSVergelijk.FieldByName("CIO_FLAGS").AsInteger() >> kBitDuaal) & 1;
    if (!overlapt || rDuaal != eigenDuaal.AsBoolean()) continue;
    const int antwoord = QuestionDlg(kToevoegen, kDuaalVraag, TMsgDlgType::mtInformation,
                                     {{6, "Ja"}, {7, "Nee"}}, 6);
    if (antwoord != 6) RaiseClientError(kReedsIngericht);
    eigenDuaal.SetAsBoolean(true);
  }
}

// --- actions ----------------------------------------------------------------------------------

void TVWOIngOpleidingsVariantForm::AAddExecute() {
  BookmarkGuard stay(CDSOffOpleidingsVarianten);
  for (int recNo : GridOfficieel.SelectedRecNos()) {
    CDSOffOpleidingsVarianten.SetRecNo(recNo);
    selection_.SelectCurrent();
  }
}

void TVWOIngOpleidingsVariantForm::AAddUpdate() {
  AAdd.Enabled = CDSIngOpleidingsVarianten.Active() && selection_.GetAllowSelectCurrent();
}

void TVWOIngOpleidingsVariantForm::ADeleteExecute() {
  const Variant current = CDSOffOpleidingsVarianten.Active() && !CDSOffOpleidingsVarianten.IsEmpty()
                              ? CDSOffOpleidingsVarianten.FieldByName("VOO_ID").Value()
                              : Variant();
  selection_.UnSelectCurrent();
  ReloadOfficieel();
  if (!current.IsNull()) CDSOffOpleidingsVarianten.Locate("VOO_ID", current);
}

void TVWOIngOpleidingsVariantForm::ADeleteUpdate() {
  ADelete.Enabled = CDSIngOpleidingsVarianten.Active() && selection_.GetAllowUnSelectCurrent();
}

void TVWOIngOpleidingsVariantForm::GridIngerichtDblClick() {
  if (!Klaar()) selection_.UnSelectCurrent();
  ReloadOfficieel();
}

void TVWOIngOpleidingsVariantForm::ACommDavinciExecute() {
  TDataSource* school = FindDataSourceWithField(MasterDataSource(), "SC_ID");
  if (school == nullptr) RaiseClientError("School ID niet gevonden");
  DavinciCommunicatieRequest(
      *this, "Davinci communicatie voor opleiding %s %s",
      {CDSIngOpleidingsVarianten.FieldByName("VOO_CODE").AsString(),
       CDSIngOpleidingsVarianten.FieldByName("VOO_OMSCHRIJVING").AsString()},
      "DSPDavinciOpleidingsVar",
      "ID_ID=" + CDSIngOpleidingsVarianten.FieldByName("CIO_DAVINCIID").AsString() +
          ",SC_ID=" + school->DataSet()->FieldByName("SC_ID").AsString());
}

void TVWOIngOpleidingsVariantForm::ACommDavinciUpdate() {
  // Ready for Davinci, and the user may change, add or delete on this screen.
  ACommDavinci.Enabled =
      Klaar() && (HasRight(kRightChange) || HasRight(kRightInsert) || HasRight(kRightDelete));
}

namespace frmVWOIngOpleidingsVariant {

void Initialization() {
  RegisterScreenClass("TVWOIngOpleidingsVariantForm", FactoryOf<TVWOIngOpleidingsVariantForm>());
}

}  // namespace frmVWOIngOpleidingsVariant

}  // namespace kavel
