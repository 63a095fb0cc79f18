#include "structure/frmVWOIngOpleidingsVariantVest.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"
#include "host/data/Guards.h"
#include "host/domain/DavinciCommunicatie.h"
#include "host/forms/AdminPrefs.h"

namespace kavel {

using namespace quil;

namespace {

constexpr const char* kGeenGeografie =
    "Davinci vestigingsplaats niet ingevuld voor vestigingsplaats";
//! The colour of an organised variant the location teaches already.
constexpr int32_t kGrijs = 0x808080;
constexpr int kBitDuaal = 0;

std::string DateText(TDateTime date) {
  return FormatDateTime("dd/mm/yyyy", date);
}

}  // namespace

TVWOIngOpleidingsVariantVestForm::TVWOIngOpleidingsVariantVestForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOIngOpleidingsVariantVestForm"),
      CDSVestigingen(AddDataSet("CDSVestigingen", "DSPSelectVPPerIS")),
      CDSVWOIngOplVar(AddDataSet("CDSVWOIngOplVar", "DSPSelectVWOINGOPLVAR")),
      CDSKoppelingen(AddDataSet("CDSKoppelingen", "DSPVWOINGOPLVARVESTIGING")),
      DSVestigingen(AddDataSource("DSVestigingen", &CDSVestigingen)),
      DSVWOIngOplVar(AddDataSource("DSVWOIngOplVar", &CDSVWOIngOplVar)),
      DSKoppelingen(AddDataSource("DSKoppelingen", &CDSKoppelingen)),
      SCVestiging(Add<TSearchControl>("SCVestiging")),
      PnlSelectie(Add<TSelectionPanel>("PnlSelectie")),
      PnlGeografie(Add<TPanel>("PnlGeografie", &PnlSelectie)),
      ChkActief(Add<TCheckBox>("ChkActief", &PnlGeografie)),
      GridIngOplVar(Add<TDBGrid>("GridIngOplVar", &PnlGeografie)),
      BtnAdd(Add<TButton>("BtnAdd", &PnlSelectie)),
      BtnAddAll(Add<TButton>("BtnAddAll", &PnlSelectie)),
      BtnDelete(Add<TButton>("BtnDelete", &PnlSelectie)),
      BtnDeleteAll(Add<TButton>("BtnDeleteAll", &PnlSelectie)),
      PnlVestiging(Add<TPanel>("PnlVestiging", &PnlSelectie)),
      GridKoppelingen(Add<TDBGrid>("GridKoppelingen", &PnlVestiging)),
      AAdd(AddAction(
          "AAdd", "Toevoegen", [this] { AAddExecute(); },
          [this] {
            AAdd.Enabled = CDSVWOIngOplVar.Active() && selection_.GetAllowSelectCurrent();
          })),
      AAddAll(AddAction(
          "AAddAll", "Alles toevoegen",
          [this] {
            selection_.SelectAll();
            RefreshLeft();
          },
          [this] {
            AAddAll.Enabled = CDSVWOIngOplVar.Active() && selection_.GetAllowSelectAll();
          })),
      ADelete(AddAction(
          "ADelete", "Verwijderen",
          [this] {
            selection_.UnSelectCurrent();
            RefreshLeft();
          },
          [this] {
            ADelete.Enabled = CDSKoppelingen.Active() && selection_.GetAllowUnSelectCurrent();
          })),
      ADeleteAll(AddAction(
          "ADeleteAll", "Alles verwijderen",
          [this] {
            selection_.UnSelectAll();
            RefreshLeft();
          },
          [this] {
            ADeleteAll.Enabled = CDSKoppelingen.Active() && selection_.GetAllowUnSelectAll();
          })),
      ACommDavinci(AddAction(
          "ACommDavinci", "&Davinci communicatie", [this] { ACommDavinciExecute(); },
          [this] { ACommDavinciUpdate(); })),
      selection_(CDSVWOIngOplVar, CDSKoppelingen, this) {
  CDSVestigingen.ReadOnly = true;
  CDSVestigingen.AfterClose = [this](TQuilClientDataSet&) { SCVestiging.SetKeyValue(Variant()); };

  TQuilClientDataSet& links = CDSVWOIngOplVar;
  links.ReadOnly = true;
  DeclareFields(links,
                {DataField("VOO_CODE", "Code"), DataField("VOO_OMSCHRIJVING", "Omschrijving"),
                 DataField("CIO_VAN", "Begindatum"), DataField("CIO_TOT", "Einddatum"),
                 DataField("CIO_DAVINCIKLAAR", "Klaar voor DaVinci"),
                 BitField("duaal", "Duaal", "CIO_FLAGS", kBitDuaal),
                 CalculatedField("GEKOPPELD_KLEUR", "Gekoppeld", FieldType::Integer).Hidden()});
  links.AfterOpen = [this](TQuilClientDataSet&) { ApplyActiveFilter(); };
  links.OnCalcFields = [this](TQuilClientDataSet& ds) {
    const Variant cio = ds.FieldByName("CIO_ID").Value();
    const bool gekoppeld =
        CDSKoppelingen.Active() &&
        !CDSKoppelingen.Lookup("VIV_VWOINGOPLEIDINGSVARIANT_FK", cio, "VIV_ID").IsNull();
    ds.FieldByName("GEKOPPELD_KLEUR").SetValue(gekoppeld ? Variant(int64_t{kGrijs}) : Variant());
  };

  TQuilClientDataSet& koppelingen = CDSKoppelingen;
  koppelingen.IDField = "VIV_ID";
  koppelingen.ParamToFields = "VP_ID=VIV_VESTIGINGSPLAATS_FK";
  koppelingen.ChangedByField = "VIV_VERANDERDDOOR";
  koppelingen.ChangedOnField = "VIV_VERANDERDOP";
  DeclareFields(koppelingen,
                {DataField("VOO_CODE", "Code"), DataField("VOO_OMSCHRIJVING", "Omschrijving"),
                 DataField("CIO_VAN", "Begindatum"), DataField("CIO_TOT", "Einddatum"),
                 DataField("CIO_DAVINCIKLAAR", "Klaar voor DaVinci"),
                 BitField("duaal", "Duaal", "CIO_FLAGS", kBitDuaal)});
  selection_.SetFieldMap(
      "CIO_ID=VIV_VWOINGOPLEIDINGSVARIANT_FK;VOO_CODE;VOO_OMSCHRIJVING;CIO_VAN;CIO_TOT;"
      "CIO_DAVINCIKLAAR;VOO_TRAJECT_FK");
  selection_.SetUniqueField("CIO_ID");

  SCVestiging.Caption = "Ve&stiging";
  SCVestiging.ListSource = &DSVestigingen;
  SCVestiging.KeyField = "VP_ID";
  SCVestiging.ListFields = "VP_CODE;VP_NAAM";
  SCVestiging.SearchFormat = "(VP_CODE LIKE '%%%s%%') OR (UPPER(VP_NAAM) LIKE UPPER('%%%s%%'))";
  SCVestiging.OnChange = [this] { SCVestigingChange(); };
  PnlSelectie.Available = &PnlGeografie;
  PnlSelectie.Chosen = &PnlVestiging;
  PnlGeografie.Caption = "Ingerichte opleidingsvarianten van de geografie";
  ChkActief.Caption = "Toon enkel actieve";
  ChkActief.OnClick = [this] { ApplyActiveFilter(); };
  GridIngOplVar.DataSource = &DSVWOIngOplVar;
  GridIngOplVar.MultiSelect = true;
  GridIngOplVar.FontColorField = "GEKOPPELD_KLEUR";
  GridIngOplVar.Columns = {{"VOO_CODE", "", 8}, {"VOO_OMSCHRIJVING", "", 40}, {"CIO_VAN", "", 10},
                           {"CIO_TOT", "", 10}, {"CIO_DAVINCIKLAAR", "", 4},  {"duaal", "", 4}};
  GridIngOplVar.OnDblClick = [this] { AAdd.Execute(); };
  AAdd.Hint = "Voeg toe aan lijst ingerichte opleidingsvarianten";
  AAddAll.Hint = "Alles toevoegen aan lijst ingerichte opleidingsvarianten";
  ADelete.Hint = "Verwijder ingerichte opleidingsvariant";
  ADeleteAll.Hint = "Verwijder alle ingerichte opleidingsvarianten";
  BtnAdd.Action = &AAdd;
  BtnAddAll.Action = &AAddAll;
  BtnDelete.Action = &ADelete;
  BtnDeleteAll.Action = &ADeleteAll;
  PnlVestiging.Caption = "Ingerichte opleidingsvarianten in de vestiging";
  GridKoppelingen.DataSource = &DSKoppelingen;
  GridKoppelingen.Columns = {{"VOO_CODE", "", 8}, {"VOO_OMSCHRIJVING", "", 40}, {"CIO_VAN", "", 10},
                             {"CIO_TOT", "", 10}, {"CIO_DAVINCIKLAAR", "", 4},  {"duaal", "", 4}};
  GridKoppelingen.OnDblClick = [this] { ADelete.Execute(); };
}

void TVWOIngOpleidingsVariantVestForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  (void)master;
  RequireMasterField("IS_ID");
  LinkToMaster(CDSVestigingen);
  CDSVestigingen.Open();
}

void TVWOIngOpleidingsVariantVestForm::QuilDBFormShow() {
  SetReadOnly(true);
}

void TVWOIngOpleidingsVariantVestForm::QuilDBFormGetPrintParams(const std::string& reportFile,
                                                                TPrintParams& params) {
  (void)reportFile;
  params.SetValue("Actieve", ChkActief.Checked() ? "+" : "-");
  params.SetValue("Werkdatum", DateText(AdminPrefs().WerkDatum()));
  params.SetValue("VP_ID",
                  SCVestiging.KeyValue().IsNull() ? "-1" : SCVestiging.KeyValue().AsString());
}

void TVWOIngOpleidingsVariantVestForm::SCVestigingChange() {
  CDSVWOIngOplVar.Close();
  CDSKoppelingen.Close();
  const Variant vestiging = SCVestiging.KeyValue();
  if (vestiging.IsNull()) return;
  const Variant geografie = CDSVestigingen.Lookup("VP_ID", vestiging, "VP_VWOVESTIGINGSPLAATS_FK");
  if (geografie.IsNull()) RaiseClientError(kGeenGeografie);
  CDSKoppelingen.GetParams().Add("VP_ID").value = vestiging;
  CDSKoppelingen.Open();
  CDSVWOIngOplVar.GetParams().Add("datum").SetAsDate(AdminPrefs().WerkDatum());
  CDSVWOIngOplVar.GetParams().Add("CIO_VWOVESTIGINGSPLAATS_FK").value = geografie;
  CDSVWOIngOplVar.Open();
}

void TVWOIngOpleidingsVariantVestForm::ApplyActiveFilter() {
  if (!CDSVWOIngOplVar.Active()) return;
  const std::string werkDatum = DateText(AdminPrefs().WerkDatum());
  CDSVWOIngOplVar.MaybeApplyFilter(
      ChkActief.Checked() ? Format("(CIO_VAN <= '%s') AND (CIO_TOT >= '%s')", werkDatum, werkDatum)
                          : std::string());
}

void TVWOIngOpleidingsVariantVestForm::RefreshLeft() {
  if (!CDSVWOIngOplVar.Active()) return;
  CDSVWOIngOplVar.Close();
  CDSVWOIngOplVar.Open();
}

void TVWOIngOpleidingsVariantVestForm::AAddExecute() {
  BookmarkGuard stay(CDSVWOIngOplVar);
  for (int recNo : GridIngOplVar.SelectedRecNos()) {
    CDSVWOIngOplVar.SetRecNo(recNo);
    selection_.SelectCurrent();
  }
}

void TVWOIngOpleidingsVariantVestForm::ACommDavinciExecute() {
  TDataSource* school = FindDataSourceWithField(MasterDataSource(), "SC_ID");
  if (school == nullptr) RaiseClientError("School ID niet gevonden");
  DavinciCommunicatieRequest(*this, "Davinci communicatie voor opleiding %s %s",
                             {CDSKoppelingen.FieldByName("VOO_CODE").AsString(),
                              CDSKoppelingen.FieldByName("VOO_OMSCHRIJVING").AsString()},
                             "DSPDavinciOpleidingsVar",
                             "ID_ID=" + CDSKoppelingen.FieldByName("CIO_DAVINCIID").AsString() +
                                 ",SC_ID=" + school->DataSet()->FieldByName("SC_ID").AsString());
}

void TVWOIngOpleidingsVariantVestForm::ACommDavinciUpdate() {
  ACommDavinci.Enabled = CDSKoppelingen.Active() && !CDSKoppelingen.IsEmpty();
}

namespace frmVWOIngOpleidingsVariantVest {

void Initialization() {
  RegisterScreenClass("TVWOIngOpleidingsVariantVestForm",
                      FactoryOf<TVWOIngOpleidingsVariantVestForm>());
}

}  // namespace frmVWOIngOpleidingsVariantVest

}  // namespace kavel
