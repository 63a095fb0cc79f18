#include "reference/frmBrowseVWOStructInstelling.h"

#include "core/ModuleClasses.h"

namespace kavel::frmBrowseVWOStructInstelling {

void Initialization() {
  RegisterScreenClass("TBrowseVWOStructInstellingForm",
                      FactoryOf<TBrowseVWOStructInstellingForm>());
}

}  // namespace kavel::frmBrowseVWOStructInstelling
