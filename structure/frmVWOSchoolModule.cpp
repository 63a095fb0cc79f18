#include "structure/frmVWOSchoolModule.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

TVWOSchoolModuleForm::TVWOSchoolModuleForm(TQuilApplication& app)
    : TQuilDBForm(app, "TVWOSchoolModuleForm"),
      CDSIngModules(AddDataSet("CDSIngModules", "DSPBrowseVWOIngModules")),
      DSIngModules(AddDataSource("DSIngModules", &CDSIngModules)),
      GridModules(Add<TDBGrid>("GridModules")) {
  CDSIngModules.IDField = "VIM_ID";
  CDSIngModules.ReadOnly = true;
  DeclareFields(CDSIngModules,
                {DataField("VOM_CODE", "Code"), DataField("VOM_OMSCHRIJVING", "Omschrijving")});
  GridModules.DataSource = &DSIngModules;
  GridModules.Columns = {{"VOM_CODE", "", 10}, {"VOM_OMSCHRIJVING", "", 60}};
}

void TVWOSchoolModuleForm::QuilDBFormCreate() {
  SetReadOnly(true);
}

void TVWOSchoolModuleForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  (void)master;
  LinkToMaster(CDSIngModules);
  CDSIngModules.Open();
}

namespace frmVWOSchoolModule {

void Initialization() {
  RegisterScreenClass("TVWOSchoolModuleForm", FactoryOf<TVWOSchoolModuleForm>());
}

}  // namespace frmVWOSchoolModule

}  // namespace kavel
