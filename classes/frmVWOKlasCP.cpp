#include "classes/frmVWOKlasCP.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"
#include "host/forms/AdminPrefs.h"

namespace kavel {

using namespace quil;

TVWOKlasCPForm::TVWOKlasCPForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOKlasCPForm"),
      CDSVWOKlasCP(AddDataSet("CDSVWOKlasCP", "DSPVWOKLASCP")),
      CDSKC_TYPE_FKP(AddDataSet<TInstellingParamClientDataset>("CDSKC_TYPE_FKP")),
      CDSSelectPSperISviaDV(AddDataSet("CDSSelectPSperISviaDV", "DSPSelectVWOPSperISviaDV")),
      DSVWOKlasCP(AddDataSource("DSVWOKlasCP", &CDSVWOKlasCP)),
      DSKC_TYPE_FKP(AddDataSource("DSKC_TYPE_FKP", &CDSKC_TYPE_FKP)),
      DSSelectPSperISviaDV(AddDataSource("DSSelectPSperISviaDV", &CDSSelectPSperISviaDV)),
      GridCP(Add<TDBGrid>("GridCP")),
      LCType(Add<TDBLookupCombo>("LCType")),
      SCPersoneel(Add<TDBLookupCombo>("SCPersoneel")),
      EdtPersoon(Add<TDBEdit>("EdtPersoon")) {
  CDSKC_TYPE_FKP.SetParamType("TPKP");
  TQuilClientDataSet& cp = CDSVWOKlasCP;
  cp.IDField = "VKC_ID";
  cp.ParamToFields = "VWK_ID=VKC_VWOKLAS_FK";
  cp.ChangedByField = "VKC_VERANDERDDOOR";
  cp.ChangedOnField = "VKC_VERANDERDOP";
  cp.StatusFields = "VKC_TYPE;VKC_PERSOON";
  cp.SetSortFields("VKC_PERSOON");
  cp.GetParams().Add("VWK_ID", FieldType::Integer);
  DeclareFields(
      cp, {DataField("VKC_VWOKLAS_FK", "Klas ID").Hidden(), DataField("VKC_TYPE_FKP", "&Soort"),
           LookupField("VKC_TYPE", "Soort", "VKC_TYPE_FKP", CDSKC_TYPE_FKP, "P_ID", "P_CODE"),
           DataField("VKC_PERSONEEL_FK", "P&ersoneelslid"), DataField("VKC_PERSOON", "&Naam")});
  cp.FieldByName("VKC_PERSONEEL_FK").OnChange = [this](TField& field) { PersoneelChange(field); };
  cp.OnNewRecord = [this](TQuilClientDataSet&) {
    const int standaard = CDSKC_TYPE_FKP.Active() ? CDSKC_TYPE_FKP.GetDefaultID() : -1;
    if (standaard != -1) CDSVWOKlasCP.FieldByName("VKC_TYPE_FKP").SetAsInteger(standaard);
  };
  // The staff who can be chosen for the class follow the contact list.
  cp.AfterOpen = [this](TQuilClientDataSet&) { CDSSelectPSperISviaDV.Open(); };
  cp.BeforeClose = [this](TQuilClientDataSet&) { CDSSelectPSperISviaDV.Close(); };

  TQuilClientDataSet& staff = CDSSelectPSperISviaDV;
  staff.ReadOnly = true;
  staff.GetParams().Add("IS_ID", FieldType::Integer);
  staff.GetParams().Add("VWK_ID", FieldType::Integer);
  DeclareFields(staff, {DataField("PS_ID", "ID").Hidden(), DataField("PS_NAAM", "Naam"),
                        DataField("PS_VOORNAAM", "Voornaam"), DataField("DV_ACTIEF", "Actief?")});
  staff.BeforeOpen = [this](TQuilClientDataSet&) {
    CDSSelectPSperISviaDV.ParamByName("IS_ID").value =
        instelling_ != nullptr ? instelling_->Value() : Variant();
    CDSSelectPSperISviaDV.ParamByName("VWK_ID").value =
        klas_ != nullptr ? klas_->Value() : Variant();
  };

  GridCP.DataSource = &DSVWOKlasCP;
  GridCP.Columns = {{"VKC_TYPE", "", 10}, {"VKC_PERSOON", "", 40}};
  BindField(LCType, DSVWOKlasCP, "VKC_TYPE_FKP");
  OfferList(LCType, DSKC_TYPE_FKP, "P_ID", "P_CODE;P_OMSCHRIJVING");
  BindField(SCPersoneel, DSVWOKlasCP, "VKC_PERSONEEL_FK");
  OfferList(SCPersoneel, DSSelectPSperISviaDV, "PS_ID", "PS_NAAM;PS_VOORNAAM");
  BindField(EdtPersoon, DSVWOKlasCP, "VKC_PERSOON");
}

void TVWOKlasCPForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  TDataSource* instelling = FindDataSourceWithField(master, "IS_ID");
  if (instelling == nullptr) RaiseClientError("Geen ID voor INSTELLING gevonden");
  TDataSource* klas = FindDataSourceWithField(master, "VWK_ID");
  if (klas == nullptr) RaiseClientError("Geen ID voor VWOKLAS gevonden");
  instelling_ = &instelling->DataSet()->FieldByName("IS_ID");
  klas_ = &klas->DataSet()->FieldByName("VWK_ID");
  CDSKC_TYPE_FKP.SetMasterdataSource(instelling);
  CDSKC_TYPE_FKP.Open();
  LinkToMaster(CDSVWOKlasCP);
  CDSVWOKlasCP.Open();
}

void TVWOKlasCPForm::PersoneelChange(TField& field) {
  if (field.IsNull()) return;
  const Variant naam = CDSSelectPSperISviaDV.Lookup("PS_ID", field.Value(), "PS_NAAM");
  const Variant voornaam = CDSSelectPSperISviaDV.Lookup("PS_ID", field.Value(), "PS_VOORNAAM");
  CDSVWOKlasCP.FieldByName("VKC_PERSOON").SetAsString(voornaam.AsString() + " " + naam.AsString());
}

void TVWOKlasCPForm::QuilDBFormGetPrintParams(const std::string& reportFile, TPrintParams& params) {
  (void)reportFile;
  if (TDataSource* klas = FindDataSourceWithField(MasterDataSource(), "VWK_CODE")) {
    const std::string code = klas->DataSet()->FieldByName("VWK_CODE").AsString();
    params.SetValue("Vanklas", code);
    params.SetValue("Totklas", code);
  }
  if (instelling_ != nullptr) params.SetValue("IS_ID", instelling_->AsString());
  params.SetValue("Schooljaar", std::to_string(AdminPrefs().WerkJaar()));
}

namespace frmVWOKlasCP {

void Initialization() {
  RegisterScreenClass("TVWOKlasCPForm", FactoryOf<TVWOKlasCPForm>());
}

}  // namespace frmVWOKlasCP

}  // namespace kavel
