#include "structure/frmVWOModuleVoorvereisten.h"

#include "core/ModuleClasses.h"

namespace kavel {

using namespace quil;

namespace {

// A module's prerequisites: a required module is type "4", a required group "5". Official
// prerequisites are kept as they are: only the school's own can be removed here.
const TVoorvereistenSoort kModule = {
    .provider = "DSPVWOVoorvereistenModule",
    .idParam = "VOM_ID",
    .requiredModuleType = "4",
    .requiredGroupType = "5",
    .groupFilterCaption = "&Type",
    .groupFilterFormat = "(P_CODE='%s')",
    .masterCodeField = "VOM_CODE",
    .masterDescription = "VOM_OMSCHRIJVING",
    .title = "V&oorvereisten voor module: ",
    .titleWithId = "V&oorvereisten voor module met ID %d",
    .onlyOwnRemovable = true,
};

}  // namespace

TVWOModuleVoorvereistenForm::TVWOModuleVoorvereistenForm(TQuilApplication& app)
    : TVWOVoorvereistenBaseForm(app, "TVWOModuleVoorvereistenForm", kModule) {}

void TVWOModuleVoorvereistenForm::QuilDBFormSetMasterBrowser(TDataSource* master) {
  TDataSource* school = FindDataSourceWithField(master, "SC_ID");
  if (school == nullptr) RaiseClientError("Kon de school niet bepalen.");
  TDataSource* module = FindDataSourceWithField(master, "VIM_ID");
  if (module == nullptr) RaiseClientError("Kon de omschrijving van de module niet vinden.");
  TDataSource* institution = FindDataSourceWithField(master, "IS_ID");
  if (institution == nullptr) RaiseClientError("Kon de huidige school niet bepalen !");
  OpenLists(*school, *institution, *module);
}

namespace frmVWOModuleVoorvereisten {

void Initialization() {
  RegisterScreenClass("TVWOModuleVoorvereistenForm", FactoryOf<TVWOModuleVoorvereistenForm>());
}

}  // namespace frmVWOModuleVoorvereisten

}  // namespace kavel
