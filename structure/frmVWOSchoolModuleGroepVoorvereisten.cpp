#include "structure/frmVWOSchoolModuleGroepVoorvereisten.h"

#include "core/ModuleClasses.h"

namespace kavel {

using namespace quil;

namespace {

// A group's prerequisites: a required module is type "6", a required group "7"; every one of
// them can be removed here, the official ones included.
const TVoorvereistenSoort kGroep = {
    .provider = "DSPVWOModulegroepVoorvereisten",
    .idParam = "VMG_ID",
    .requiredModuleType = "6",
    .requiredGroupType = "7",
    .groupFilterCaption = "&Filter",
    .groupFilterFormat =
        "(VMG_CODE LIKE '%%%s%%') OR (UPPER(VMG_OMSCHRIJVING) LIKE UPPER('%%%s%%'))",
    .masterCodeField = "VMG_CODE",
    .masterDescription = "VMG_OMSCHRIJVING",
    .title = "V&oorvereisten voor groep: ",
    .titleWithId = "V&oorvereisten voor groep met ID %d",
    .onlyOwnRemovable = false,
};

}  // namespace

TVWOSchoolModuleGroepVoorVereistenForm::TVWOSchoolModuleGroepVoorVereistenForm(
    TQuilApplication& app)
    : TVWOVoorvereistenBaseForm(app, "TVWOSchoolModuleGroepVoorVereistenForm", kGroep) {}

void TVWOSchoolModuleGroepVoorVereistenForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  TDataSource* school = FindDataSourceWithField(master, "SC_ID");
  if (school == nullptr) RaiseClientError("Kon de huidige school niet bepalen !");
  TDataSource* group = FindDataSourceWithField(master, "VMG_ID");
  if (group == nullptr) RaiseClientError("Kon de omschrijving van de modulegroep niet vinden.");
  TDataSource* institution = FindDataSourceWithField(master, "IS_ID");
  if (institution == nullptr) RaiseClientError("Kon de huidige school niet bepalen !");
  OpenLists(*school, *institution, *group);
}

namespace frmVWOSchoolModuleGroepVoorvereisten {

void Initialization() {
  RegisterScreenClass("TVWOSchoolModuleGroepVoorVereistenForm",
                      FactoryOf<TVWOSchoolModuleGroepVoorVereistenForm>());
}

}  // namespace frmVWOSchoolModuleGroepVoorvereisten

}  // namespace kavel
