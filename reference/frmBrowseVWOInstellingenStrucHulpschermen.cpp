#include "reference/frmBrowseVWOInstellingenStrucHulpschermen.h"

#include "core/ModuleClasses.h"

namespace kavel::frmBrowseVWOInstellingenStrucHulpschermen {

void Initialization() {
  RegisterScreenClass("TBrowseVWOInstellingStructHulpschermenForm",
                      FactoryOf<TBrowseVWOInstellingStructHulpschermenForm>());
}

}  // namespace kavel::frmBrowseVWOInstellingenStrucHulpschermen
