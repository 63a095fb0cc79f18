#include "structure/VWOIngModuleVariantDetailForm.h"

#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

TVWOIngModuleVariantDetailForm::TVWOIngModuleVariantDetailForm(TQuilApplication& app,
                                                               std::string className,
                                                               const std::string& name,
                                                               const std::string& provider,
                                                               const char* recordType)
    : TQuilDBForm(app, std::move(className)),
      CDSDetails(AddDataSet("CDS" + name, provider)),
      DSDetails(AddDataSource("DS" + name, &CDSDetails)) {
  CDSDetails.IDField = "IMD_ID";
  CDSDetails.ParamToFields = "IMV_ID=IMD_INGMODULEVARIANT_FK;RecordType=IMD_RECORDTYPE";
  CDSDetails.ChangedByField = "IMD_VERANDERDDOOR";
  CDSDetails.ChangedOnField = "IMD_VERANDERDOP";
  CDSDetails.OrderField = "IMD_OMSCHRIJVING";
  CDSDetails.SetSortFields("IMD_OMSCHRIJVING");
  CDSDetails.GetParams().Add("IMV_ID", FieldType::Integer);
  CDSDetails.GetParams().Add("RecordType").value = Variant(recordType);
  CDSDetails.OnNewRecord = [this](TQuilClientDataSet&) { CDSDetailsNewRecord(); };
}

void TVWOIngModuleVariantDetailForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  (void)master;
  LinkToMaster(CDSDetails);
  CDSDetails.Open();
}

void TVWOIngModuleVariantDetailForm::QuilDBFormCanInsert(TQuilClientDataSet& dataset, bool& allow) {
  if (&dataset == &CDSDetails) allow = !CDSDetails.ParamByName("IMV_ID").IsNull();
}

void TVWOIngModuleVariantDetailForm::CDSDetailsNewRecord() {
  CDSDetails.FieldByName("IMD_FLAGS").SetAsInteger(0);
  CDSDetails.FieldByName("IMD_AANTAL").SetAsInteger(1);
}

}  // namespace kavel
