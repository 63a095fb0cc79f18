// The module's registrations as the host's form manager received them.
#include "core/regkavelmod.h"
#include "module/ModuleFixture.h"

namespace kavel::testing {
namespace {

std::string RenderRegistrations() {
  std::string out;
  for (const quil::TFormRegistration& r : quil::FormManager().Registrations()) {
    out +=
        r.FormClass.ClassName + " \"" + r.Module + "\" \"" + r.Section + "\" \"" + r.Path + "\"\n";
  }
  return out;
}

TEST_F(ModuleTest, TheModuleRegistersItsScreensInOrderWithMenuPaths) {
  EXPECT_EQ(
      RenderRegistrations(),
      "TVWOIngOpleidingsVariantForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Ingerichte "
      "opleidingsvarianten per geografie\"\n"
      "TVWOIngOpleidingsVariantVestForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Ingerichte "
      "opleidingsvarianten in vestiging\"\n"
      "TVWOIngmodulesForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Ingerichte modules\"\n"
      "TVWOSchoolModuleGroepForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Groepen modules\"\n"
      "TVWOModuleVoorvereistenForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Voorvereisten modules\"\n"
      "TVWOKlasForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Klassen\"\n"
      "TVWOOpenKlasForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Open klassen\"\n"
      "TVWOAttestenForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Studiebewijzen\"\n"
      "TVWOLesplaatsenForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Lesplaatsen\"\n"
      "TVWOMaterialenForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Lesmaterialen\"\n"
      "TVWOAfwezigheidsCodesForm \"kavelmod\" \"Schoolstructuur\" \"VWO|Afwezigheidscodes\"\n"
      "TVWOKBIContactpersonenForm \"kavelmod\" \"Schoolstructuur\" \"VWO|KBI contactpersonen\"\n"
      "TVWOKlasOverdrachtForm \"kavelmod\" \"Schoolstructuur\" \"VWO Hulpschermen|Overdracht "
      "klassen\"\n"
      "TVWOKlasLesMomentenUitReceptForm \"kavelmod\" \"Schoolstructuur\" \"VWO Hulpschermen|Klas "
      "lesmomenten uit regel\"\n"
      "TVWOLesmomentenToMemoInGroepForm \"kavelmod\" \"Schoolstructuur\" \"VWO "
      "Hulpschermen|Lesmomenten omzetten naar klasmemo gegevens\"\n"
      "TVWOVerwerkLesmomentenForm \"kavelmod\" \"Schoolstructuur\" \"VWO Hulpschermen|Verwerken "
      "Lesmomenten\"\n"
      "TVWOCheckAantalLesmomentenForm \"kavelmod\" \"Schoolstructuur\" \"VWO Hulpschermen|Aantal "
      "geplande lesmomenten nakijken\"\n"
      "TVWOLesverdelingForm \"kavelmod\" \"Schoolstructuur\" \"VWO Hulpschermen|Lesverdeling "
      "bewerken\"\n"
      "TVWOOverdrachtInstellingenForm \"kavelmod\" \"Schoolstructuur\" \"VWO "
      "Hulpschermen|Overdracht instellingen\"\n"
      "TVWOKlassenActiesForm \"kavelmod\" \"Schoolstructuur\" \"VWO Hulpschermen|Acties voor "
      "klassen\"\n"
      "TVWOStrucDavinciSynchronisatieForm \"kavelmod\" \"Schoolstructuur\" "
      "\"Davinci|Synchronisatie\"\n"
      "TVWODavinciSyncStrucVerwijderForm \"kavelmod\" \"Schoolstructuur\" \"Davinci|Synchronisatie "
      "verwijderingen\"\n"
      "TVWOStrucDavinciCallsForm \"kavelmod\" \"Schoolstructuur\" \"Davinci|Overzicht calls\"\n"
      "TVWORegistreerOverdrachtenForm \"kavelmod\" \"Schoolstructuur\" \"Davinci|Registreer "
      "Overdrachten\"\n"
      "TVWOSchoolModulegroepDetailsForm \"kavelmod\" \"\" \"\"\n"
      "TVWOIngModuleMaterialenForm \"kavelmod\" \"\" \"\"\n"
      "TVWOIngModuleCompetentiesForm \"kavelmod\" \"\" \"\"\n"
      "TVWOIngModuleVarEindtermenForm \"kavelmod\" \"\" \"\"\n"
      "TVWOSchoolModuleGroepVoorVereistenForm \"kavelmod\" \"\" \"\"\n"
      "TVWOAttestPadForm \"kavelmod\" \"\" \"\"\n"
      "TVWOAttestModulesForm \"kavelmod\" \"\" \"\"\n"
      "TVWOKlasCPForm \"kavelmod\" \"\" \"\"\n"
      "TBrowseVWOStructInstellingForm \"kavelmod\" \"\" \"\"\n"
      "TBrowseVWOInstellingStructHulpschermenForm \"kavelmod\" \"\" \"\"\n"
      "TBrowseVWOStructInstellingDavinciForm \"kavelmod\" \"\" \"\"\n"
      "TVWOIngModuleVariantForm \"kavelmod\" \"\" \"\"\n"
      "TVWOIngModuleVarLessenForm \"kavelmod\" \"\" \"\"\n"
      "TVWOKlasLesmomentenForm \"kavelmod\" \"\" \"\"\n"
      "TVWOSchoolModuleForm \"kavelmod\" \"\" \"\"\n"
      "TVWOFicheKlasForm \"kavelmod\" \"\" \"\"\n"
      "TVWOKlasMemoForm \"kavelmod\" \"\" \"\"\n");
}

TEST_F(ModuleTest, LoadingTheModuleAgainRegistersNothingMore) {
  const int before = regkavelmod::InitializationCounter();
  QuilModuleEntry();
  QuilModuleEntry();
  EXPECT_EQ(quil::FormManager().FormClassCount(), 41);
  EXPECT_EQ(regkavelmod::InitializationCounter(), before - 2);
  QuilModuleExit();
  QuilModuleExit();
  EXPECT_EQ(regkavelmod::InitializationCounter(), before);
  EXPECT_EQ(quil::FormManager().FormClassCount(), 41) << "unloading withdraws nothing";
}

TEST_F(ModuleTest, EveryRegisteredClassCarriesItsCatalogueDefinition) {
  for (const quil::TFormRegistration& r : quil::FormManager().Registrations()) {
    SCOPED_TRACE(r.FormClass.ClassName);
    EXPECT_EQ(r.FormClass.Definition.ClassName, r.FormClass.ClassName);
    EXPECT_FALSE(r.FormClass.Definition.Caption.empty());
  }
  // The browse screens are built; a screen of a later step is not yet.
  EXPECT_TRUE(quil::FormManager().FindFormByName("TBrowseVWOStructInstellingForm")->Factory);
  EXPECT_FALSE(quil::FormManager().FindFormByName("TVWOKlasForm")->Factory);
}

}  // namespace
}  // namespace kavel::testing
