#include "classes/frmVWOKlasMemo.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

TVWOKlasMemoForm::TVWOKlasMemoForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOKlasMemoForm"),
      CDSKlasMemo(AddDataSet("CDSKlasMemo", "DSPVWOKlasMemo")),
      CDSVKM_TYPE_FKP(AddDataSet<TQuilParamClientDataset>("CDSVKM_TYPE_FKP")),
      DSKlasMemo(AddDataSource("DSKlasMemo", &CDSKlasMemo)),
      DSVKM_TYPE_FKP(AddDataSource("DSVKM_TYPE_FKP", &CDSVKM_TYPE_FKP)),
      GridMemo(Add<TDBGrid>("GridMemo")),
      LCType(Add<TDBLookupCombo>("LCType")),
      EdtOmschrijving(Add<TDBEdit>("EdtOmschrijving")),
      EdtMemo(Add<TDBEdit>("EdtMemo")) {
  CDSVKM_TYPE_FKP.SetParamType("VWKM");
  TQuilClientDataSet& memo = CDSKlasMemo;
  memo.IDField = "VKM_ID";
  memo.ParamToFields = "VWK_ID=VKM_VWOKLAS_FK";
  memo.ChangedByField = "VKM_VERANDERDDOOR";
  memo.ChangedOnField = "VKM_VERANDERDOP";
  memo.StatusFields = "VKM_TYPE;VKM_OMSCHRIJVING";
  memo.GetParams().Add("VWK_ID", FieldType::Integer);
  DeclareFields(
      memo, {DataField("VKM_VWOKLAS_FK", "Klas ID").Hidden(), DataField("VKM_TYPE_FKP", "&Type"),
             LookupField("VKM_TYPE", "Type", "VKM_TYPE_FKP", CDSVKM_TYPE_FKP, "P_ID", "P_CODE"),
             DataField("VKM_OMSCHRIJVING", "&Omschrijving"), DataField("VKM_MEMO", "&Memo")});
  GridMemo.DataSource = &DSKlasMemo;
  GridMemo.Columns = {{"VKM_TYPE", "", 10}, {"VKM_OMSCHRIJVING", "", 50}};
  BindField(LCType, DSKlasMemo, "VKM_TYPE_FKP");
  OfferList(LCType, DSVKM_TYPE_FKP, "P_ID", "P_CODE;P_OMSCHRIJVING");
  BindField(EdtOmschrijving, DSKlasMemo, "VKM_OMSCHRIJVING");
  BindField(EdtMemo, DSKlasMemo, "VKM_MEMO");
}

void TVWOKlasMemoForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  (void)master;
  CDSVKM_TYPE_FKP.Open();
  LinkToMaster(CDSKlasMemo);
  CDSKlasMemo.Open();
}

namespace frmVWOKlasMemo {

void Initialization() {
  RegisterScreenClass("TVWOKlasMemoForm", FactoryOf<TVWOKlasMemoForm>());
}

}  // namespace frmVWOKlasMemo

}  // namespace kavel
