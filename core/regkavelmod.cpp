#include "core/regkavelmod.h"

#include <string>
#include <string_view>

#include "core/ModuleClasses.h"

namespace kavel::regkavelmod {

namespace {

int initCounter = 0;

constexpr std::string_view kModule = "kavelmod";
constexpr std::string_view kSection = "Schoolstructuur";

void Register(std::string_view className, std::string_view section, std::string_view path) {
  quil::FormManager().RegisterModuleForm(FormClass(className), kModule, section, path);
}

void RegisterDetail(std::string_view className) {
  Register(className, "", "");
}

}  // namespace

void RegisterForms() {
  Register("TVWOIngOpleidingsVariantForm", kSection,
           "VWO|Ingerichte opleidingsvarianten per geografie");
  Register("TVWOIngOpleidingsVariantVestForm", kSection,
           "VWO|Ingerichte opleidingsvarianten in vestiging");
  Register("TVWOIngmodulesForm", kSection, "VWO|Ingerichte modules");
  Register("TVWOSchoolModuleGroepForm", kSection, "VWO|Groepen modules");
  Register("TVWOModuleVoorvereistenForm", kSection, "VWO|Voorvereisten modules");
  Register("TVWOKlasForm", kSection, "VWO|Klassen");
  Register("TVWOOpenKlasForm", kSection, "VWO|Open klassen");
  Register("TVWOAttestenForm", kSection, "VWO|Studiebewijzen");
  Register("TVWOLesplaatsenForm", kSection, "VWO|Lesplaatsen");
  Register("TVWOMaterialenForm", kSection, "VWO|Lesmaterialen");
  Register("TVWOAfwezigheidsCodesForm", kSection, "VWO|Afwezigheidscodes");
  Register("TVWOKBIContactpersonenForm", kSection, "VWO|KBI contactpersonen");
  Register("TVWOKlasOverdrachtForm", kSection, "VWO Hulpschermen|Overdracht klassen");
  Register("TVWOKlasLesMomentenUitReceptForm", kSection,
           "VWO Hulpschermen|Klas lesmomenten uit regel");
  Register("TVWOLesmomentenToMemoInGroepForm", kSection,
           "VWO Hulpschermen|Lesmomenten omzetten naar klasmemo gegevens");
  Register("TVWOVerwerkLesmomentenForm", kSection, "VWO Hulpschermen|Verwerken Lesmomenten");
  Register("TVWOCheckAantalLesmomentenForm", kSection,
           "VWO Hulpschermen|Aantal geplande lesmomenten nakijken");
  Register("TVWOLesverdelingForm", kSection, "VWO Hulpschermen|Lesverdeling bewerken");
  Register("TVWOOverdrachtInstellingenForm", kSection, "VWO Hulpschermen|Overdracht instellingen");
  Register("TVWOKlassenActiesForm", kSection, "VWO Hulpschermen|Acties voor klassen");
  Register("TVWOStrucDavinciSynchronisatieForm", kSection, "Davinci|Synchronisatie");
  Register("TVWODavinciSyncStrucVerwijderForm", kSection, "Davinci|Synchronisatie verwijderingen");
  Register("TVWOStrucDavinciCallsForm", kSection, "Davinci|Overzicht calls");
  Register("TVWORegistreerOverdrachtenForm", kSection, "Davinci|Registreer Overdrachten");
  RegisterDetail("TVWOSchoolModulegroepDetailsForm");
  RegisterDetail("TVWOIngModuleMaterialenForm");
  RegisterDetail("TVWOIngModuleCompetentiesForm");
  RegisterDetail("TVWOIngModuleVarEindtermenForm");
  RegisterDetail("TVWOSchoolModuleGroepVoorVereistenForm");
  RegisterDetail("TVWOAttestPadForm");
  RegisterDetail("TVWOAttestModulesForm");
  RegisterDetail("TVWOKlasCPForm");
  RegisterDetail("TBrowseVWOStructInstellingForm");
  RegisterDetail("TBrowseVWOInstellingStructHulpschermenForm");
  RegisterDetail("TBrowseVWOStructInstellingDavinciForm");
  RegisterDetail("TVWOIngModuleVariantForm");
  RegisterDetail("TVWOIngModuleVarLessenForm");
  RegisterDetail("TVWOKlasLesmomentenForm");
  RegisterDetail("TVWOSchoolModuleForm");
  RegisterDetail("TVWOFicheKlasForm");
  RegisterDetail("TVWOKlasMemoForm");
  for (quil::TDialogClass dialog : DialogClasses()) {
    dialog.Module = std::string(kModule);
    quil::FormManager().RegisterModuleDialog(std::move(dialog));
  }
}

void Initialization() {
  if (initCounter-- == 0) RegisterForms();
}

void Finalization() {
  ++initCounter;
}

int InitializationCounter() {
  return initCounter;
}

}  // namespace kavel::regkavelmod
