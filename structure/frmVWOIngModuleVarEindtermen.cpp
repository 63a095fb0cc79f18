#include "structure/frmVWOIngModuleVarEindtermen.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

TVWOIngModuleVarEindtermenForm::TVWOIngModuleVarEindtermenForm(TQuilApplication& app)
    : TVWOIngModuleVariantDetailForm(app, "TVWOIngModuleVarEindtermenForm",
                                     "IngModuleVariantDetails", "DSPIngModuleVariantDetails", "E"),
      GridDetails(Add<TDBGrid>("GridDetails")),
      EdtOmschrijving(Add<TDBEdit>("EdtOmschrijving")) {
  DeclareFields(CDSDetails, {DataField("IMD_OMSCHRIJVING", "Omschrijving")});
  GridDetails.DataSource = &DSDetails;
  GridDetails.Columns = {{"IMD_OMSCHRIJVING", "", 80}};
  BindField(EdtOmschrijving, DSDetails, "IMD_OMSCHRIJVING", "&Omschrijving");
}

namespace frmVWOIngModuleVarEindtermen {

void Initialization() {
  RegisterScreenClass("TVWOIngModuleVarEindtermenForm",
                      FactoryOf<TVWOIngModuleVarEindtermenForm>());
}

}  // namespace frmVWOIngModuleVarEindtermen

}  // namespace kavel
