#include "structure/frmVWOIngModuleCompetenties.h"

#include "core/ModuleClasses.h"
#include "host/data/FieldDeclarations.h"

namespace kavel {

using namespace quil;

TVWOIngModuleCompetentiesForm::TVWOIngModuleCompetentiesForm(TQuilApplication& app)
    : TVWOIngModuleVariantDetailForm(app, "TVWOIngModuleCompetentiesForm",
                                     "VWOIngModuleVariantDetails", "DSPVWOIngModuleVariantDetails",
                                     "C"),
      GridDetails(Add<TDBGrid>("GridDetails")),
      EdtOmschrijving(Add<TDBEdit>("EdtOmschrijving")) {
  DeclareFields(CDSDetails, {DataField("IMD_OMSCHRIJVING", "Omschrijving")});
  GridDetails.DataSource = &DSDetails;
  GridDetails.Columns = {{"IMD_OMSCHRIJVING", "", 80}};
  BindField(EdtOmschrijving, DSDetails, "IMD_OMSCHRIJVING", "&Omschrijving");
}

namespace frmVWOIngModuleCompetenties {

void Initialization() {
  RegisterScreenClass("TVWOIngModuleCompetentiesForm", FactoryOf<TVWOIngModuleCompetentiesForm>());
}

}  // namespace frmVWOIngModuleCompetenties

}  // namespace kavel
