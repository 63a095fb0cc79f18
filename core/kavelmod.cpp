#include "core/kavelmod.h"

#include <iterator>
#include <string_view>

#include "classes/frmVWOFicheKlas.h"
#include "classes/frmVWOKlas.h"
#include "classes/frmVWOKlasCP.h"
#include "classes/frmVWOKlasMemo.h"
#include "core/regkavelmod.h"
#include "host/forms/ModuleLoader.h"
#include "modulevariants/Frmvwoingmodulevarlessen.h"
#include "modulevariants/Frmvwoklaslesmomenten.h"
#include "modulevariants/frmVWOIngModuleVariant.h"
#include "planning/dlgVWOEditRecept.h"
#include "planning/dlgVWOLesmomentKalender.h"
#include "planning/dlgVWOLesmomentUitRecept.h"
#include "planning/dlgVWOZetLessen.h"
#include "planning/frmVWOCheckLesmomenten.h"
#include "planning/frmVWOKlasLesmomentUitRecept.h"
#include "planning/frmVWOLesmomentToMemoInGroep.h"
#include "planning/frmVWOVerwerkLesmomenten.h"
#include "reference/frmBrowseVWOInstellingenStrucHulpschermen.h"
#include "reference/frmBrowseVWOStructInstelling.h"
#include "reference/frmBrowseVWOStructInstellingDavinci.h"
#include "reference/frmVWOAfwezigheidscodes.h"
#include "reference/frmVWOKBIContactpersonen.h"
#include "reference/frmVWOLesplaatsen.h"
#include "reference/frmVWOMaterialen.h"
#include "structure/frmVWOIngModuleCompetenties.h"
#include "structure/frmVWOIngModuleMaterialen.h"
#include "structure/frmVWOIngModuleVarEindtermen.h"
#include "structure/frmVWOIngOpleidingsVariant.h"
#include "structure/frmVWOIngOpleidingsVariantVest.h"
#include "structure/frmVWOIngmodules.h"
#include "structure/frmVWOModuleVoorvereisten.h"
#include "structure/frmVWOSchoolModule.h"
#include "structure/frmVWOSchoolModuleGroep.h"
#include "structure/frmVWOSchoolModuleGroepDetails.h"
#include "structure/frmVWOSchoolModuleGroepVoorvereisten.h"

namespace kavel {

namespace {

struct Unit {
  const char* name;
  void (*initialization)();
  void (*finalization)();
};

// The units in initialisation order: every screen unit, then the registration.
constexpr Unit kUnits[] = {
    {"frmBrowseVWOStructInstelling", &frmBrowseVWOStructInstelling::Initialization, nullptr},
    {"frmBrowseVWOInstellingenStrucHulpschermen",
     &frmBrowseVWOInstellingenStrucHulpschermen::Initialization, nullptr},
    {"frmBrowseVWOStructInstellingDavinci", &frmBrowseVWOStructInstellingDavinci::Initialization,
     nullptr},
    {"frmVWOAfwezigheidscodes", &frmVWOAfwezigheidscodes::Initialization, nullptr},
    {"frmVWOKBIContactpersonen", &frmVWOKBIContactpersonen::Initialization, nullptr},
    {"frmVWOLesplaatsen", &frmVWOLesplaatsen::Initialization, nullptr},
    {"frmVWOMaterialen", &frmVWOMaterialen::Initialization, nullptr},
    {"frmVWOIngModuleMaterialen", &frmVWOIngModuleMaterialen::Initialization, nullptr},
    {"frmVWOIngModuleVarEindtermen", &frmVWOIngModuleVarEindtermen::Initialization, nullptr},
    {"frmVWOIngModuleCompetenties", &frmVWOIngModuleCompetenties::Initialization, nullptr},
    {"frmVWOIngOpleidingsVariant", &frmVWOIngOpleidingsVariant::Initialization, nullptr},
    {"frmVWOIngOpleidingsVariantVest", &frmVWOIngOpleidingsVariantVest::Initialization, nullptr},
    {"frmVWOIngmodules", &frmVWOIngmodules::Initialization, nullptr},
    {"frmVWOSchoolModule", &frmVWOSchoolModule::Initialization, nullptr},
    {"frmVWOModuleVoorvereisten", &frmVWOModuleVoorvereisten::Initialization, nullptr},
    {"frmVWOSchoolModuleGroep", &frmVWOSchoolModuleGroep::Initialization, nullptr},
    {"frmVWOSchoolModuleGroepDetails", &frmVWOSchoolModuleGroepDetails::Initialization, nullptr},
    {"frmVWOSchoolModuleGroepVoorvereisten", &frmVWOSchoolModuleGroepVoorvereisten::Initialization,
     nullptr},
    {"frmVWOKlas", &frmVWOKlas::Initialization, nullptr},
    {"frmVWOFicheKlas", &frmVWOFicheKlas::Initialization, nullptr},
    {"frmVWOKlasMemo", &frmVWOKlasMemo::Initialization, nullptr},
    {"frmVWOKlasCP", &frmVWOKlasCP::Initialization, nullptr},
    {"frmVWOIngModuleVariant", &frmVWOIngModuleVariant::Initialization, nullptr},
    {"Frmvwoingmodulevarlessen", &Frmvwoingmodulevarlessen::Initialization, nullptr},
    {"Frmvwoklaslesmomenten", &Frmvwoklaslesmomenten::Initialization, nullptr},
    {"dlgVWOZetLessen", &dlgVWOZetLessen::Initialization, nullptr},
    {"dlgVWOLesmomentUitRecept", &dlgVWOLesmomentUitRecept::Initialization, nullptr},
    {"dlgVWOEditRecept", &dlgVWOEditRecept::Initialization, nullptr},
    {"dlgVWOLesmomentKalender", &dlgVWOLesmomentKalender::Initialization, nullptr},
    {"frmVWOKlasLesmomentUitRecept", &frmVWOKlasLesmomentUitRecept::Initialization, nullptr},
    {"frmVWOVerwerkLesmomenten", &frmVWOVerwerkLesmomenten::Initialization, nullptr},
    {"frmVWOLesmomentToMemoInGroep", &frmVWOLesmomentToMemoInGroep::Initialization, nullptr},
    {"frmVWOCheckLesmomenten", &frmVWOCheckLesmomenten::Initialization, nullptr},
    {"regkavelmod", &regkavelmod::Initialization, &regkavelmod::Finalization},
};

}  // namespace

}  // namespace kavel

// The host looks the entry and exit up by these names.
static_assert(std::string_view("QuilModuleEntry") == quil::kModuleEntry);
static_assert(std::string_view("QuilModuleExit") == quil::kModuleExit);

void QuilModuleEntry() {
  for (const kavel::Unit& unit : kavel::kUnits) {
    if (unit.initialization != nullptr) unit.initialization();
  }
}

void QuilModuleExit() {
  for (auto unit = std::rbegin(kavel::kUnits); unit != std::rend(kavel::kUnits); ++unit) {
    if (unit->finalization != nullptr) unit->finalization();
  }
}
