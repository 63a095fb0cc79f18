#include "reference/frmBrowseVWOStructInstellingDavinci.h"

#include "core/ModuleClasses.h"

namespace kavel {

TBrowseVWOStructInstellingDavinciForm::TBrowseVWOStructInstellingDavinciForm(
    quil::TQuilApplication& app)
    : TBrowseVWOInstellingForm(app, "TBrowseVWOStructInstellingDavinciForm") {
  FlagsColumn().Title = "Flags";
}

namespace frmBrowseVWOStructInstellingDavinci {

void Initialization() {
  RegisterScreenClass("TBrowseVWOStructInstellingDavinciForm",
                      FactoryOf<TBrowseVWOStructInstellingDavinciForm>());
}

}  // namespace frmBrowseVWOStructInstellingDavinci

}  // namespace kavel
