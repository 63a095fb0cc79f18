#include "structure/frmVWOSchoolModuleGroep.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

TVWOSchoolModuleGroepForm::TVWOSchoolModuleGroepForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOSchoolModuleGroepForm"),
      CDSTypes(AddDataSet<TQuilParamClientDataset>("CDSTypes")),
      CDSModuleGroepen(AddDataSet("CDSModuleGroepen", "DSPVWOModuleGroepen")),
      DSTypes(AddDataSource("DSTypes", &CDSTypes)),
      DSModuleGroepen(AddDataSource("DSModuleGroepen", &CDSModuleGroepen)),
      GridGroepen(Add<TDBGrid>("GridGroepen")),
      PnlKaart(Add<TPanel>("PnlKaart")),
      EdtCode(Add<TDBEdit>("EdtCode", &PnlKaart)),
      EdtOmschrijving(Add<TDBEdit>("EdtOmschrijving", &PnlKaart)),
      LCType(Add<TDBLookupCombo>("LCType", &PnlKaart)) {
  CDSTypes.SetParamType("TPMG");
  TQuilClientDataSet& groepen = CDSModuleGroepen;
  groepen.IDField = "VMG_ID";
  groepen.ParamToFields = "SC_ID=VMG_SCHOOL_FK";
  groepen.ChangedByField = "VMG_VERANDERDDOOR";
  groepen.ChangedOnField = "VMG_VERANDERDOP";
  groepen.OrderField = "VMG_CODE";
  groepen.SetSortFields("VMG_CODE");
  DeclareFields(groepen,
                {DataField("VMG_CODE", "Code"), DataField("VMG_OMSCHRIJVING", "Omschrijving"),
                 DataField("VMG_TYPE_FKP", "Type"),
                 // The list follows the type editor before the groups are fetched again.
                 LookupField("TYPECODE", "Type", "VMG_TYPE_FKP", CDSTypes, "P_ID", "P_CODE")});
  GridGroepen.DataSource = &DSModuleGroepen;
  GridGroepen.Columns = {{"VMG_CODE", "", 10}, {"VMG_OMSCHRIJVING", "", 40}, {"TYPECODE", "", 10}};
  BindField(EdtCode, DSModuleGroepen, "VMG_CODE", "&Code");
  BindField(EdtOmschrijving, DSModuleGroepen, "VMG_OMSCHRIJVING", "&Omschrijving");
  BindField(LCType, DSModuleGroepen, "VMG_TYPE_FKP", "&Type");
  OfferList(LCType, DSTypes, "P_ID", "P_CODE;P_OMSCHRIJVING");
}

void TVWOSchoolModuleGroepForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  (void)master;
  RequireMasterField("SC_ID");
  LinkToMaster(CDSModuleGroepen);
  CDSTypes.Open();
  CDSModuleGroepen.Open();
}

void TVWOSchoolModuleGroepForm::QuilDBFormGetPrintParams(const std::string& reportFile,
                                                         TPrintParams& params) {
  (void)reportFile;
  if (CDSModuleGroepen.Active() && !CDSModuleGroepen.IsEmpty()) {
    params.SetValue("SC_ID", CDSModuleGroepen.FieldByName("VMG_SCHOOL_FK").AsString());
  }
}

namespace frmVWOSchoolModuleGroep {

void Initialization() {
  RegisterScreenClass("TVWOSchoolModuleGroepForm", FactoryOf<TVWOSchoolModuleGroepForm>());
}

}  // namespace frmVWOSchoolModuleGroep

}  // namespace kavel
