// The catalogue checked against the screen tables as they were written down for the module
// (copied here byte for byte, in their own notation), and the definitions it resolves.
#include <set>

#include "core/ScreenCatalogue.h"
#include "module/ScreenTest.h"

namespace kavel::testing {
namespace {

constexpr const char* kScreenTable =
    R"md(| Screen class | Unit | Caption | TabCaption | Group | MainDataSource | DefaultBrowserForm |
|---|---|---|---|---|---|---|
| `TBrowseVWOInstellingStructHulpschermenForm` | `frmBrowseVWOInstellingenStrucHulpschermen` | "Vezor OVI: Hulpschermen - lijst instellingen structuur" | - | "VWO Structuur" | - | - |
| `TBrowseVWOStructInstellingDavinciForm` | `frmBrowseVWOStructInstellingDavinci` | "Vezor OVI: Davinci - lijst instellingen" | - | - | - | - |
| `TBrowseVWOStructInstellingForm` | `frmBrowseVWOStructInstelling` | "Vezor OVI: Overzicht instellingen" | "VWO instellingen" | "VWO Structuur" | - | - |
| `TCopyVWOklasForm` | `dlgCopyVWOKLas` | "VWO Klas kopieren" | - | - | - | - |
| `TVWOAfwezigheidsCodesForm` | `frmVWOAfwezigheidscodes` | "Vezor OVI: overzicht afwezigheidscodes" | "VWO afwezigheidscodes" | "VWO Structuur" | `DSAfwezigheidscodes` | `TBrowseVWOStructInstellingForm` |
| `TVWOAnnuleerIMVForm` | `dlgVWOAnnuleerIMV` | "VWO: Ingerichte modulevariant annuleren" | "Annuleer Ingerichte modulevariant" | - | - | - |
| `TVWOAssignLesgeverTitularisForm` | `dlgVWOAssignLesgeverTitularis` | "Lesgever/Titularis toekennen" | - | - | - | - |
| `TVWOAttestenForm` | `frmVWOAttest` | "Vezor OVI: Studiebewijzen" | "Attesten" | "VWO Structuur" | `DSVWOAttesten` | `TBrowseVWOStructInstellingForm` |
| `TVWOAttestModulesForm` | `frmVWOAttestModules` | "Vezor OVI: Studiebewijs vereiste modules" | "Vereist behaalde modules" | "VWO Structuur" | `DSAttestModules` | `TVWOAttestenForm` |
| `TVWOAttestPadForm` | `frmVWOAttestPad` | "Vezor OVI: Studiebewijzen Alternatieve paden" | "Mogelijke paden" | "VWO Structuur" | `DSVWOAttestPaden` | `TVWOAttestenForm` |
| `TVWOAttestSamenvoegenForm` | `dlgVWOAttestenSamenvoegen` | "Kies attest" | - | - | - | - |
| `TVWOCheckAantalLesmomentenForm` | `frmVWOCheckLesmomenten` | "Vezor OVI: Hulpschermen - nakijken aantal lesmomenten" | "Nagaan aantal lesmomenten" | "VWO Structuur" | `DSResultaat` | `TBrowseVWOInstellingStructHulpschermenForm` |
| `TVWODavinciSyncStrucVerwijderForm` | `frmVWODavinciSyncStrucVerwijder` | "Vezor OVI: Synchronisatie annulaties" | - | - | - | - |
| `TVWOEditReceptForm` | `dlgVWOEditRecept` | "Recept voor lesmomenten" | - | - | - | - |
| `TVWOFicheKlasForm` | `frmVWOFicheKlas` | "Vezor OVI: Fiche Klas" | "Fiche klas" | as `TVWOKlasForm` | as `TVWOKlasForm` | as `TVWOKlasForm` |
| `TVWOIngModuleCompetentiesForm` | `frmVWOIngModuleCompetenties` | "Vezor OVI: Ingerichte modulevariant competenties" | "Competenties" | "VWO Structuur" | `DSVWOIngModuleVariantDetails` | `TVWOIngModuleVariantForm` |
| `TVWOIngModuleMaterialenForm` | `frmVWOIngModuleMaterialen` | "Vezor OVI: Ingerichte module - benodigde materialen" | "Benodigde materialen" | "VWO Structuur" | `DSIngModuleVariantDetails` | `TVWOIngModuleVariantForm` |
| `TVWOIngmodulesForm` | `frmVWOIngmodules` | "Vezor OVI: Ingerichte modules" | "Ingerichte modules" | "VWO Structuur" | `DSIngerichteModules` | `TBrowseVWOStructInstellingForm` |
| `TVWOIngModuleVarEindtermenForm` | `frmVWOIngModuleVarEindtermen` | "Vezor OVI: Eindtermen ingerichte modulevariant" | "Eindtermen" | "VWO Structuur" | `DSIngModuleVariantDetails` | `TVWOIngModuleVariantForm` |
| `TVWOIngModuleVariantForm` | `frmVWOIngModuleVariant` | "Vezor OVI: Ingerichte modulevarianten" | "Ingerichte modulevarianten" | "VWO Structuur" | `DSVWOIngModuleVarianten` | `TVWOKlasForm` |
| `TVWOIngModuleVarLessenForm` | `frmVWOIngModuleVarLessen` | "Vezor OVI: Ing. module variant lessen " (with the trailing blank) | "Lesmomenten" | "VWO Structuur" | `DSLessen` | - |
| `TVWOIngOpleidingsVariantForm` | `frmVWOIngOpleidingsVariant` | "Vezor OVI: Ingerichte opleidingsvarianten" | "Ingerichte opleidingsvarianten" | "VWO Structuur" | `DSOffOpleidingsVarianten` | `TBrowseVWOStructInstellingForm` |
| `TVWOIngOpleidingsVariantVestForm` | `frmVWOIngOpleidingsVariantVest` | "Vezor OVI: Ingerichte opleidingsvarianten per vestiging" | "Ingerichte opleidingsvariant in vestiging" | "VWO Structuur" | `DSVWOIngOplVar` | `TBrowseVWOStructInstellingForm` |
| `TVWOKBIContactpersonenForm` | `frmVWOKBIContactpersonen` | "Vezor OVI: KBI contactpersonen" | "KBI Contactpersonen" | - | `DSKBIContactpersonen` | `TBrowseVWOStructInstellingForm` |
| `TVWOKlasCPForm` | `frmVWOKlasCP` | "Vezor OVI: Klascontactpersoon" | "Contactpersoon" | "VWO structuur" | `DSVWOKlasCP` | `TVWOKlasForm` |
| `TVWOKlasForm` | `frmVWOKlas` | "Vezor OVI: Klas" | "VWO klassen" | "VWO structuur" | `DSVWOKlas` | `TBrowseVWOStructInstellingForm` |
| `TVWOKlasLesmomentenForm` | `frmVWOKlasLesmomenten` | "Vezor OVI: klas lesmomenten" | "Lesmomenten" | "VWO Structuur" | `DSKlasLesmomenten` | - |
| `TVWOKlasLesMomentenUitReceptForm` | `frmVWOKlasLesmomentUitRecept` | "Vezor OVI: Hulpschermen - klas lesmomenten uit recept" | "Lesmomenten uit recept" | "VWO Structuur" | - | `TBrowseVWOInstellingStructHulpschermenForm` |
| `TVWOKlasMemoForm` | `frmVWOKlasMemo` | "Vezor OVI: Klasmemo" | "Klasmemo" | - | `DSKlasMemo` | `TVWOKlasForm` |
| `TVWOKlasOverdrachtForm` | `frmVWOOverdrachtKlas` | "Vezor OVI: Hulpschermen - overdracht klassen" | "VWO Overdracht klassen" | "VWO Structuur" | `DSOverdrachtKlas` | `TBrowseVWOInstellingStructHulpschermenForm` |
| `TVWOKlassenActiesForm` | `frmVWOKlassenActies` | "Vezor OVI: Hulpschermen - acties voor klassen" | "Acties voor klassen" | "VWO Structuur" | `DSSelectVWOKlas` | `TBrowseVWOInstellingStructHulpschermenForm` |
| `TVWOLesmomentenToMemoInGroepForm` | `frmVWOLesmomentToMemoInGroep` | "Vezor OVI: Hulpschermen - lesmomenten naar klasmemo gegevens omzetten" | "Lesmomenten naar klasmemo gegevens omzetten" | "VWO Structuur" | `DSSelectKlassen` | `TBrowseVWOInstellingStructHulpschermenForm` |
| `TVWOLesmomentUitKalenderForm` | `dlgVWOLesmomentKalender` | "Aanmaken lesmomenten via kalender" | - | - | - | - |
| `TVWOLesplaatsenForm` | `frmVWOLesplaatsen` | "Vezor OVI: Lesplaatsen" | "Lesplaatsen" | "VWO Structuur" | `DSVWOLesplaats` | `TBrowseVWOStructInstellingForm` |
| `TVWOLesUitReceptDialoog` | `dlgVWOLesmomentUitRecept` | "Geef het recept:" | - | - | - | - |
| `TVWOLesverdelingForm` | `frmVWOLesverdeling` | "Vezor OVI: Hulpschermen - lesverdeling bewerken" | "VWO lesverdeling" | "VWO Structuur" | `DSLesverdeling` | `TBrowseVWOInstellingStructHulpschermenForm` |
| `TVWOLesverdelingPersonStatForm` | `dlgVWOLesverdelingPersoonStats` | "VWOLesverdelingPersonStatForm" | - | - | - | - |
| `TVWOMaterialenForm` | `frmVWOMaterialen` | "Vezor OVI: Materialen" | "Materialen" | "VWO Structuur" | `DSVWOMaterialen` | `TBrowseVWOStructInstellingForm` |
| `TVWOModuleVoorvereistenForm` | `frmVWOModuleVoorvereisten` | "Vezor OVI: School-specifieke module voorvereisten" | "Voorvereisten" | "VWO Structuur" | `DSModuleVoorvereisten` | `TVWOSchoolModuleForm` |
| `TVWOOpenKlasForm` | `frmVWOOpenklas` | "Vezor OVI: Open klas" | "Open klassen" | "VWO structuur" | `DSVWOOpenKlas` | `TBrowseVWOStructInstellingForm` |
| `TVWOOverdrachtInstellingenForm` | `frmVWOOverdrachtInstellingen` | "Vezor OVI: Hulpschermen - overdracht instellingen" | "VWO Overdracht instellingen" | "VWO Structuur" | `DSSelectIngModules` | `TBrowseVWOInstellingStructHulpschermenForm` |
| `TVWORegistreerOverdrachtenForm` | `frmRegistreerOverdrachten` | "Registreer Overdrachten" | "Registreer Overdrachten" | - | `DSRegistreeroverdrachten` | `TBrowseVWOStructInstellingDavinciForm` |
| `TVWOSchoolModuleForm` | `frmVWOSchoolModule` | "Vezor OVI: school-specifieke modules" | "Modules" | "VWO Structuur" | `DSIngModules` | `TBrowseVWOStructInstellingForm` |
| `TVWOSchoolModulegroepDetailsForm` | `frmVWOSchoolModuleGroepDetails` | "Vezor OVI: School-specifieke modulegroep details" | "Module groep details" | "VWO Structuur" | `DSModuleGroepDetails` | `TModuleGroepForm` |
| `TVWOSchoolModuleGroepForm` | `frmVWOSchoolModuleGroep` | "Vezor OVI: School-specifieke groepen modules" | "Groepen modules" | "VWO Structuur" | `DSModuleGroepen` | `TBrowseVWOStructInstellingForm` |
| `TVWOSchoolModuleGroepVoorVereistenForm` | `frmVWOSchoolModuleGroepVoorvereisten` | "Vezor OVI: School-specifieke modulegroep voorvereisten" | "Module groep voorvereisten" | "VWO Structuur" | `DSModuleVoorvereisten` | `TSchoolmoduleGroepForm` |
| `TVWOSelectIngopleidingForm` | `dlgVWOSelecteerINGOpleiding` | "Selecteer de ingerichte opleiding" | - | - | - | - |
| `TVWOStrucDavinciCallsForm` | `frmVWOStrucDavinciCalls` | "Vezor OVI: Davinci overzicht calls" | "Davinci calls structuur" | "VWO Structuur" | `DSActiveCDS` | `TBrowseVWOStructInstellingDavinciForm` |
| `TVWOStrucDavinciSynchronisatieForm` | `frmVWOStrucDavinciSynchronisatie` | "Vezor OVI: Davinci Synchronisatie" | "Synchronisatie" | "VWO Structuur" | `DSActiveCDS` | `TBrowseVWOStructInstellingDavinciForm` |
| `TVWOVerwerkLesmomentenForm` | `frmVWOVerwerkLesmomenten` | "Vezor OVI: Hulpschermen - verwerken lesmomenten" | "Verwerken lesmomenten" | "VWO Structuur" | - | `TBrowseVWOInstellingStructHulpschermenForm` |
| `TVWOZetLesgeverForm` | `dlgVWOZetLesgever` | "Lesgever wijzigen" | - | - | - | - |
| `TVWOZetLessenForm` | `dlgVWOZetLessen` | "Lessen Wijzigen" | - | - | - | - |)md";

constexpr const char* kLinkTable = R"md(| Master screen | DetailForm | DisplayName | MasterDS |
|---|---|---|---|
| `TBrowseVWOInstellingStructHulpschermenForm` | `TVWOKlasOverdrachtForm` | "Overdracht klassen" | `DSBrowseVWOinstelling` |
| `TBrowseVWOInstellingStructHulpschermenForm` | `TVWOKlasLesMomentenUitReceptForm` | "Klas lesmomenten uit regel" | `DSBrowseVWOinstelling` |
| `TBrowseVWOInstellingStructHulpschermenForm` | `TVWOVerwerkLesmomentenForm` | "Verwerken lesmomenten" | `DSBrowseVWOinstelling` |
| `TBrowseVWOStructInstellingForm` | `TVWOIngOpleidingsVariantForm` | "Ingerichte opleidingen" | `DSBrowseVWOinstelling` |
| `TBrowseVWOStructInstellingForm` | `TVWOSchoolModuleGroepForm` | "Groepen modules" | `DSBrowseVWOinstelling` |
| `TBrowseVWOStructInstellingForm` | `TVWOKlasForm` | "Klassen" | `DSBrowseVWOinstelling` |
| `TBrowseVWOStructInstellingForm` | `TVWOAttestenForm` | "Studiebewijzen" | `DSBrowseVWOinstelling` |
| `TBrowseVWOStructInstellingForm` | `TVWOMaterialenForm` | "Lesmaterialen" | `DSBrowseVWOinstelling` |
| `TBrowseVWOStructInstellingForm` | `TVWOLesplaatsenForm` | "Lesplaatsen" | `DSBrowseVWOinstelling` |
| `TBrowseVWOStructInstellingForm` | `TVWOAfwezigheidsCodesForm` | "Afwezigheidscodes" | `DSBrowseVWOinstelling` |
| `TBrowseVWOStructInstellingForm` | `TVWOSchoolModuleForm` | "Modules" | `DSBrowseVWOinstelling` |
| `TVWOAttestenForm` | `TVWOAttestPadForm` | "Alternative paden" | `DSVWOAttesten` |
| `TVWOAttestenForm` | `TVWOAttestModulesForm` | "Modules" | `DSVWOAttesten` |
| `TVWOIngModuleVariantForm` | `TVWOIngModuleVarLessenForm` | "Lessen" | `DSVWOIngModuleVarianten` |
| `TVWOIngModuleVariantForm` | `TVWOIngModuleMaterialenForm` | "Materialen" | `DSVWOIngModuleVarianten` |
| `TVWOIngModuleVariantForm` | `TVWOIngModuleCompetentiesForm` | "Competenties" | `DSVWOIngModuleVarianten` |
| `TVWOIngModuleVariantForm` | `TVWOIngModuleVarEindTermenForm` | "Eindtermen" | `DSVWOIngModuleVarianten` |
| `TVWOIngModuleVarLessenForm` | `TVWOOverzichtParticipatiesForm` | "Participaties" | `DSLessen` |
| `TVWOKlasForm` | `TVWOIngModuleVariantForm` | "Modulevarianten" | `DSVWOKlas` |
| `TVWOKlasForm` | `TVWOKlasLesmomentenForm` | "Lessen" | `DSVWOKlas` |
| `TVWOKlasForm` | `TVWOKlasCPForm` | "Contactpersonen" | `DSVWOKlas` |
| `TVWOKlasForm` | `TVWOKlasMemoForm` | "Klasmemo" | `DSVWOKlas` |
| `TVWOKlasLesmomentenForm` | `TVWOOverzichtParticipatiesForm` | "Participaties" | `DSKlasLesmomenten` |
| `TVWOKlassenActiesForm` | `TVWOFicheKlasForm` | "Fiche klas" | `DSSelectVWOKlas` |
| `TVWOSchoolModuleForm` | `TVWOModuleVoorvereistenForm` | "Voorvereisten module" | `DSIngModules` |
| `TVWOSchoolModuleGroepForm` | `TVWOSchoolModulegroepDetailsForm` | "Modules in groep" | `DSModuleGroepen` |
| `TVWOSchoolModuleGroepForm` | `TVWOSchoolModuleGroepVoorVereistenForm` | "Voorvereisten" | `DSModuleGroepen` |
| `TVWOStrucDavinciSynchronisatieForm` | `TVWOFicheKlasForm` | "Klas" | `DSActiveCDS` |)md";

constexpr const char* kReportTable =
    R"md(| Screen | DisplayName | FileNames | DefaultReport | Visible |
|---|---|---|---|---|
| `TVWOAttestenForm` | "Diplomasupplement" | "VWODiplomaSupplementInstelling.arf" | no | yes |
| `TVWOAttestModulesForm` | "Overzicht vereiste modules" | "VWOAttestModules.arf" | yes | yes |
| `TVWOIngModuleMaterialenForm` | "Overzicht materialen voor ingerichte module" | "VWOMaterialenVoorIngModule.arf" | yes | yes |
| `TVWOIngmodulesForm` | "Overzicht Ingerichte modules" | "vwoingmodules.arf" | yes | yes |
| `TVWOIngModuleVariantForm` | "Fiche" | "vwoingmodvariantklas.arf" | yes | yes |
| `TVWOIngModuleVarLessenForm` | "Kalender klaseenheid" | "vwoingmodulevarkalender.arf" | no | yes |
| `TVWOIngOpleidingsVariantForm` | "Ingerichte opleidingsvarianten" | "VWOIngOplVariantvp.arf" | no | yes |
| `TVWOIngOpleidingsVariantVestForm` | "Ingerichte opleidingsvarianten" | "VWOIngOplVarVestiging.arf" | no | yes |
| `TVWOKlasCPForm` | "Overzicht contactpersonen klas" | "VWOoklcp.arf" | yes | yes |
| `TVWOKlasForm` | "Overzicht klassen" | "VWOOverzichtKlassen.arf" | yes | yes |
| `TVWOKlasForm` | "Lesuren Cursist" | "VWOLesurenCursist.arf" | no | yes |
| `TVWOKlasForm` | "Overzicht klassen controle (class)" | "vwoOverzichtKlassen_Class.arf" | no | no |
| `TVWOKlasForm` | "Overzicht materialen (class)" | "VWOOverzichtKlassen_class_materialen.arf" | no | no |
| `TVWOKlasLesmomentenForm` | "Afdruk kalender klas" | "vwoklaskalender.arf" | no | yes |
| `TVWOKlasOverdrachtForm` | "Lijst klassen in nieuwe periode" | "VWOOverdrachtKlas.arf" | yes | yes |
| `TVWOLesplaatsenForm` | "Overzichtslijst" | "VWOolesplaats.arf" | no | yes |
| `TVWOMaterialenForm` | "Overzicht cursisten met geselecteerd materiaal" | "VWOMaterialen.arf" | yes | yes |
| `TVWOModuleVoorvereistenForm` | "Fiche" | "vwovoorvereistenmodule.arf" | yes | yes |
| `TVWOOpenKlasForm` | "Open klas fiche" | "VWOOpenklasFiche.arf" | yes | yes |
| `TVWOSchoolModuleForm` | "Overzicht Ingerichte modules" | "vwoingmodules.arf" | yes | yes |
| `TVWOSchoolModulegroepDetailsForm` | "Overzicht modules in groep" | "vwomodulesingroep.arf" | yes | yes |
| `TVWOSchoolModuleGroepForm` | "Fiche" | "vwogroepenmodules.arf" | yes | yes |
| `TVWOSchoolModuleGroepVoorVereistenForm` | "Fiche" | "vwovoorvereistenmodulegroep.arf" | yes | yes |)md";

constexpr const char* kMappingTable = R"md(| Screen | FieldsToParams | ParamsToReportParams |
|---|---|---|
| `TVWOAttestenForm` | "VAT_ID=VAT_ID" | "IS_ID=IS_ID" |
| `TVWOAttestModulesForm` | - | "VAT_ID=VAT_ID", "SC_ID=SC_ID" |
| `TVWOCheckAantalLesmomentenForm` | - | "JobID=JOBID" |
| `TVWOIngModuleVarLessenForm` | - | "IMV_ID=IMV_ID" |
| `TVWOKlasCPForm` | "VWK_ID=VKC_VWOKLAS_FK" | - |
| `TVWOKlasForm` | "VWK_ID=VWK_ID" | "IS_ID=IS_ID" |
| `TVWOKlasLesmomentenForm` | - | "KL_ID=KL_ID" |
| `TVWOKlasOverdrachtForm` | - | "J_JOBID=JOBID" |
| `TVWOLesplaatsenForm` | - | "IS_ID=IS_ID" |
| `TVWOMaterialenForm` | "OM_ID=OM_ID" | "IS_ID=IS_ID" |
| `TVWOModuleVoorvereistenForm` | - | "SC_ID=SC_ID" |
| `TVWORegistreerOverdrachtenForm` | - | "IS_ID=IS_ID", "SJ_ID=SJ_ID" |
| `TVWOSchoolModuleGroepVoorVereistenForm` | - | "EG_ID=EG_ID", "SC_ID=SC_ID" |)md";

using Rows = std::vector<std::vector<std::string>>;

//! The body rows of a table, cells trimmed.
Rows ParseTable(std::string_view table) {
  Rows rows;
  int line = 0;
  while (!table.empty()) {
    size_t eol = table.find('\n');
    std::string_view text = table.substr(0, eol);
    table = eol == std::string_view::npos ? std::string_view() : table.substr(eol + 1);
    if (line++ < 2) continue;  // header and rule
    std::vector<std::string> cells;
    text = text.substr(1, text.size() - 2);
    while (true) {
      size_t bar = text.find(" | ");
      std::string cell(text.substr(0, bar));
      cells.push_back(cell.substr(cell.find_first_not_of(' '),
                                  cell.find_last_not_of(' ') - cell.find_first_not_of(' ') + 1));
      if (bar == std::string_view::npos) break;
      text = text.substr(bar + 3);
    }
    rows.push_back(cells);
  }
  return rows;
}

//! A cell in the tables' notation: "-" is not set, "as `X`" inherits, `Name` is a name and
//! "Text" a text (a remark may follow the closing quote).
std::string Value(const std::string& cell) {
  if (cell == "-" || cell.starts_with("as `")) return "";
  if (cell.front() == '`') return cell.substr(1, cell.find('`', 1) - 1);
  if (cell.front() == '"') return cell.substr(1, cell.find('"', 1) - 1);
  ADD_FAILURE() << "cell in an unknown notation: " << cell;
  return cell;
}

//! Every quoted text of a cell.
std::vector<std::string> Texts(const std::string& cell) {
  std::vector<std::string> out;
  for (size_t at = cell.find('"'); at != std::string::npos; at = cell.find('"', at + 1)) {
    size_t end = cell.find('"', at + 1);
    out.push_back(cell.substr(at + 1, end - at - 1));
    at = end;
  }
  return out;
}

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out += (out.empty() ? "" : "|") + std::string(part);
  return out + "\n";
}

TEST(Catalogue, ScreensAreTheScreensOfTheTable) {
  std::string expected, actual;
  for (const auto& row : ParseTable(kScreenTable)) {
    expected += Join({Value(row[0]), Value(row[1]), Value(row[2]), Value(row[3]), Value(row[4]),
                      Value(row[5]), Value(row[6])});
  }
  for (const ScreenEntry& s : ScreenEntries()) {
    actual += Join({s.className, s.unit, s.caption, s.tabCaption, s.group, s.mainDataSource,
                    s.defaultBrowserForm});
  }
  EXPECT_EQ(actual, expected);
}

TEST(Catalogue, FormLinksReportsAndMappingsAreThoseOfTheTables) {
  std::string expected, actual;
  for (const auto& row : ParseTable(kLinkTable)) {
    expected += Join({Value(row[0]), Value(row[1]), Value(row[2]), Value(row[3])});
  }
  for (const FormLinkEntry& l : FormLinkEntries()) {
    actual += Join({l.master, l.detailForm, l.displayName, l.masterDS});
  }
  for (const auto& row : ParseTable(kReportTable)) {
    expected += Join({Value(row[0]), Value(row[1]), Value(row[2]), row[3], row[4]});
  }
  for (const ReportEntry& r : ReportEntries()) {
    actual += Join({r.screen, r.displayName, r.fileNames, r.defaultReport ? "yes" : "no",
                    r.visible ? "yes" : "no"});
  }
  for (const auto& row : ParseTable(kMappingTable)) {
    for (const std::string& pair : Texts(row[1])) expected += Join({Value(row[0]), "F", pair});
    for (const std::string& pair : Texts(row[2])) expected += Join({Value(row[0]), "R", pair});
  }
  for (const ParamMappingEntry& m : ParamMappingEntries()) {
    actual += Join({m.screen, m.kind == Mapping::FieldsToParams ? "F" : "R", m.pair});
  }
  EXPECT_EQ(actual, expected);
}

TEST(Catalogue, DefinitionsResolveInheritanceAndKeepTheirTextsExactly) {
  const quil::TFormDefinition lessen = ScreenDefinition("TVWOIngModuleVarLessenForm");
  EXPECT_EQ(lessen.Caption, "Vezor OVI: Ing. module variant lessen ");

  const quil::TFormDefinition klas = ScreenDefinition("TVWOKlasForm");
  const quil::TFormDefinition fiche = ScreenDefinition("tvwoficheklasform");
  EXPECT_EQ(fiche.ClassName, "TVWOFicheKlasForm");
  EXPECT_EQ(fiche.Caption, "Vezor OVI: Fiche Klas");
  EXPECT_EQ(fiche.TabCaption, "Fiche klas");
  EXPECT_EQ(fiche.Group, "VWO structuur");
  EXPECT_EQ(fiche.MainDataSource, "DSVWOKlas");
  EXPECT_EQ(fiche.DefaultBrowserForm, "TBrowseVWOStructInstellingForm");
  ASSERT_EQ(fiche.FormLinks.size(), 4u);
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(fiche.FormLinks[i].DetailForm, klas.FormLinks[i].DetailForm);
  EXPECT_EQ(fiche.ReportDefs.size(), 4u);
  EXPECT_EQ(fiche.FieldsToParams, std::vector<std::string>{"VWK_ID=VWK_ID"});

  // A screen prints one report when the user asks for none in particular.
  for (const ScreenEntry& s : ScreenEntries()) {
    int defaults = 0;
    for (const quil::TReportDef& report : ScreenDefinition(s.className).ReportDefs) {
      defaults += report.DefaultReport;
    }
    EXPECT_LE(defaults, 1) << s.className;
  }
  EXPECT_THROW(ScreenDefinition("TVWOOverzichtParticipatiesForm"), std::logic_error);
}

TEST(Catalogue, LinksAndBrowsersNameRegisteredScreensWithoutRegardToCase) {
  LoadModule();
  const quil::TFormClass* eindtermen =
      quil::FormManager().FindFormByName("TVWOIngModuleVarEindTermenForm");
  ASSERT_NE(eindtermen, nullptr);
  EXPECT_EQ(eindtermen->ClassName, "TVWOIngModuleVarEindtermenForm");

  // What no registration answers: the host's own participations screen and two browser names.
  std::set<std::string> unknown;
  for (const ScreenEntry& s : ScreenEntries()) {
    const quil::TFormDefinition def = ScreenDefinition(s.className);
    for (const quil::TQuilFormLink& link : def.FormLinks) {
      if (!quil::FormManager().FindFormByName(link.DetailForm)) unknown.insert(link.DetailForm);
      // A link hands over the master's main record, or the browser's institution.
      bool browser = s.baseClass == "TBrowseVWOInstellingForm";
      EXPECT_EQ(link.MasterDS, browser ? "DSBrowseVWOinstelling" : def.MainDataSource)
          << s.className << " -> " << link.DetailForm;
    }
    if (!def.DefaultBrowserForm.empty() &&
        !quil::FormManager().FindFormByName(def.DefaultBrowserForm)) {
      unknown.insert(def.DefaultBrowserForm);
    }
  }
  EXPECT_EQ(unknown, (std::set<std::string>{"TModuleGroepForm", "TSchoolmoduleGroepForm",
                                            "TVWOOverzichtParticipatiesForm"}));
}

}  // namespace
}  // namespace kavel::testing
