#include "classes/frmVWOFicheKlas.h"

#include "core/ModuleClasses.h"

namespace kavel {

using namespace quil;

TVWOFicheKlasForm::TVWOFicheKlasForm(TQuilApplication& app)
    : TVWOKlasForm(app, "TVWOFicheKlasForm") {
  enkeleKlas_ = true;
  CDSVWOKlas.SetProvName("DSPVWOKlasFiche");
  CDSVWOKlas.GetParams().Clear();
  CDSVWOKlas.GetParams().Add("VWK_ID", FieldType::Integer);
  PnlTop.Visible = false;
  // The open classes of the class's own period, once the class is there.
  CDSSelectOpenKlas.BeforeOpen = [this](TQuilClientDataSet&) {
    const bool klas = CDSVWOKlas.Active() && !CDSVWOKlas.IsEmpty();
    CDSSelectOpenKlas.ParamByName("BEGINDATUM").value =
        klas ? CDSVWOKlas.FieldByName("VWK_VAN").Value() : Variant();
    CDSSelectOpenKlas.ParamByName("EINDDATUM").value =
        klas ? CDSVWOKlas.FieldByName("VWK_TOT").Value() : Variant();
  };
  TQuilClientDataSet::Event afterOpen = CDSVWOKlas.AfterOpen;
  CDSVWOKlas.AfterOpen = [this, afterOpen](TQuilClientDataSet& klas) {
    if (afterOpen) afterOpen(klas);
    if (CDSSelectOpenKlas.Active()) CDSSelectOpenKlas.Close();
    CDSSelectOpenKlas.Open();
  };
}

namespace frmVWOFicheKlas {

void Initialization() {
  RegisterScreenClass("TVWOFicheKlasForm", FactoryOf<TVWOFicheKlasForm>());
}

}  // namespace frmVWOFicheKlas

}  // namespace kavel
