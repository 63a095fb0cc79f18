#include "core/ScreenCatalogue.h"

#include <stdexcept>
#include <string>

#include "host/base/Strings.h"

namespace kavel {

namespace {

// clang-format off
constexpr ScreenEntry kScreens[] = {
    {"TBrowseVWOInstellingStructHulpschermenForm", "frmBrowseVWOInstellingenStrucHulpschermen", "TBrowseVWOInstellingForm",
     "Vezor OVI: Hulpschermen - lijst instellingen structuur",
     "", "VWO Structuur", "", "", 0},
    {"TBrowseVWOStructInstellingDavinciForm", "frmBrowseVWOStructInstellingDavinci", "TBrowseVWOInstellingForm",
     "Vezor OVI: Davinci - lijst instellingen",
     "", "", "", "", 0},
    {"TBrowseVWOStructInstellingForm", "frmBrowseVWOStructInstelling", "TBrowseVWOInstellingForm",
     "Vezor OVI: Overzicht instellingen",
     "VWO instellingen", "VWO Structuur", "", "", 0},
    {"TCopyVWOklasForm", "dlgCopyVWOKLas", "TQuilForm",
     "VWO Klas kopieren",
     "", "", "", "", 0},
    {"TVWOAfwezigheidsCodesForm", "frmVWOAfwezigheidscodes", "TQuilDBForm",
     "Vezor OVI: overzicht afwezigheidscodes",
     "VWO afwezigheidscodes", "VWO Structuur", "DSAfwezigheidscodes", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOAnnuleerIMVForm", "dlgVWOAnnuleerIMV", "TQuilDBForm",
     "VWO: Ingerichte modulevariant annuleren",
     "Annuleer Ingerichte modulevariant", "", "", "", 0},
    {"TVWOAssignLesgeverTitularisForm", "dlgVWOAssignLesgeverTitularis", "TQuilForm",
     "Lesgever/Titularis toekennen",
     "", "", "", "", 0},
    {"TVWOAttestenForm", "frmVWOAttest", "TQuilDBForm",
     "Vezor OVI: Studiebewijzen",
     "Attesten", "VWO Structuur", "DSVWOAttesten", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOAttestModulesForm", "frmVWOAttestModules", "TQuilDBForm",
     "Vezor OVI: Studiebewijs vereiste modules",
     "Vereist behaalde modules", "VWO Structuur", "DSAttestModules", "TVWOAttestenForm", 0},
    {"TVWOAttestPadForm", "frmVWOAttestPad", "TQuilDBForm",
     "Vezor OVI: Studiebewijzen Alternatieve paden",
     "Mogelijke paden", "VWO Structuur", "DSVWOAttestPaden", "TVWOAttestenForm", 0},
    {"TVWOAttestSamenvoegenForm", "dlgVWOAttestenSamenvoegen", "TQuilForm",
     "Kies attest",
     "", "", "", "", 0},
    {"TVWOCheckAantalLesmomentenForm", "frmVWOCheckLesmomenten", "TQuilDBForm",
     "Vezor OVI: Hulpschermen - nakijken aantal lesmomenten",
     "Nagaan aantal lesmomenten", "VWO Structuur", "DSResultaat", "TBrowseVWOInstellingStructHulpschermenForm", 0},
    {"TVWODavinciSyncStrucVerwijderForm", "frmVWODavinciSyncStrucVerwijder", "TVWODavinciSyncVerwijderBaseForm",
     "Vezor OVI: Synchronisatie annulaties",
     "", "", "", "", 0},
    {"TVWOEditReceptForm", "dlgVWOEditRecept", "TQuilForm",
     "Recept voor lesmomenten",
     "", "", "", "", 0},
    {"TVWOFicheKlasForm", "frmVWOFicheKlas", "TVWOKlasForm",
     "Vezor OVI: Fiche Klas",
     "Fiche klas", "", "", "", 0},
    {"TVWOIngModuleCompetentiesForm", "frmVWOIngModuleCompetenties", "TQuilDBForm",
     "Vezor OVI: Ingerichte modulevariant competenties",
     "Competenties", "VWO Structuur", "DSVWOIngModuleVariantDetails", "TVWOIngModuleVariantForm", 0},
    {"TVWOIngModuleMaterialenForm", "frmVWOIngModuleMaterialen", "TQuilDBForm",
     "Vezor OVI: Ingerichte module - benodigde materialen",
     "Benodigde materialen", "VWO Structuur", "DSIngModuleVariantDetails", "TVWOIngModuleVariantForm", 0},
    {"TVWOIngmodulesForm", "frmVWOIngmodules", "TQuilDBForm",
     "Vezor OVI: Ingerichte modules",
     "Ingerichte modules", "VWO Structuur", "DSIngerichteModules", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOIngModuleVarEindtermenForm", "frmVWOIngModuleVarEindtermen", "TQuilDBForm",
     "Vezor OVI: Eindtermen ingerichte modulevariant",
     "Eindtermen", "VWO Structuur", "DSIngModuleVariantDetails", "TVWOIngModuleVariantForm", 0},
    {"TVWOIngModuleVariantForm", "frmVWOIngModuleVariant", "TQuilDBForm",
     "Vezor OVI: Ingerichte modulevarianten",
     "Ingerichte modulevarianten", "VWO Structuur", "DSVWOIngModuleVarianten", "TVWOKlasForm", 0},
    {"TVWOIngModuleVarLessenForm", "frmVWOIngModuleVarLessen", "TQuilDBForm",
     "Vezor OVI: Ing. module variant lessen ",
     "Lesmomenten", "VWO Structuur", "DSLessen", "", 0},
    {"TVWOIngOpleidingsVariantForm", "frmVWOIngOpleidingsVariant", "TQuilDBForm",
     "Vezor OVI: Ingerichte opleidingsvarianten",
     "Ingerichte opleidingsvarianten", "VWO Structuur", "DSOffOpleidingsVarianten", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOIngOpleidingsVariantVestForm", "frmVWOIngOpleidingsVariantVest", "TQuilDBForm",
     "Vezor OVI: Ingerichte opleidingsvarianten per vestiging",
     "Ingerichte opleidingsvariant in vestiging", "VWO Structuur", "DSVWOIngOplVar", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOKBIContactpersonenForm", "frmVWOKBIContactpersonen", "TQuilDBForm",
     "Vezor OVI: KBI contactpersonen",
     "KBI Contactpersonen", "", "DSKBIContactpersonen", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOKlasCPForm", "frmVWOKlasCP", "TQuilDBForm",
     "Vezor OVI: Klascontactpersoon",
     "Contactpersoon", "VWO structuur", "DSVWOKlasCP", "TVWOKlasForm", 0},
    {"TVWOKlasForm", "frmVWOKlas", "TQuilDBForm",
     "Vezor OVI: Klas",
     "VWO klassen", "VWO structuur", "DSVWOKlas", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOKlasLesmomentenForm", "frmVWOKlasLesmomenten", "TQuilDBForm",
     "Vezor OVI: klas lesmomenten",
     "Lesmomenten", "VWO Structuur", "DSKlasLesmomenten", "", 0},
    {"TVWOKlasLesMomentenUitReceptForm", "frmVWOKlasLesmomentUitRecept", "TVWOKlasJobExecutorForm",
     "Vezor OVI: Hulpschermen - klas lesmomenten uit recept",
     "Lesmomenten uit recept", "VWO Structuur", "", "TBrowseVWOInstellingStructHulpschermenForm", 0},
    {"TVWOKlasMemoForm", "frmVWOKlasMemo", "TQuilDBForm",
     "Vezor OVI: Klasmemo",
     "Klasmemo", "", "DSKlasMemo", "TVWOKlasForm", 0},
    {"TVWOKlasOverdrachtForm", "frmVWOOverdrachtKlas", "TQuilDBForm",
     "Vezor OVI: Hulpschermen - overdracht klassen",
     "VWO Overdracht klassen", "VWO Structuur", "DSOverdrachtKlas", "TBrowseVWOInstellingStructHulpschermenForm", 600000},
    {"TVWOKlassenActiesForm", "frmVWOKlassenActies", "TQuilDBForm",
     "Vezor OVI: Hulpschermen - acties voor klassen",
     "Acties voor klassen", "VWO Structuur", "DSSelectVWOKlas", "TBrowseVWOInstellingStructHulpschermenForm", 0},
    {"TVWOLesmomentenToMemoInGroepForm", "frmVWOLesmomentToMemoInGroep", "TQuilDBForm",
     "Vezor OVI: Hulpschermen - lesmomenten naar klasmemo gegevens omzetten",
     "Lesmomenten naar klasmemo gegevens omzetten", "VWO Structuur", "DSSelectKlassen", "TBrowseVWOInstellingStructHulpschermenForm", 0},
    {"TVWOLesmomentUitKalenderForm", "dlgVWOLesmomentKalender", "TQuilForm",
     "Aanmaken lesmomenten via kalender",
     "", "", "", "", 0},
    {"TVWOLesplaatsenForm", "frmVWOLesplaatsen", "TQuilDBForm",
     "Vezor OVI: Lesplaatsen",
     "Lesplaatsen", "VWO Structuur", "DSVWOLesplaats", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOLesUitReceptDialoog", "dlgVWOLesmomentUitRecept", "TQuilForm",
     "Geef het recept:",
     "", "", "", "", 0},
    {"TVWOLesverdelingForm", "frmVWOLesverdeling", "TQuilDBForm",
     "Vezor OVI: Hulpschermen - lesverdeling bewerken",
     "VWO lesverdeling", "VWO Structuur", "DSLesverdeling", "TBrowseVWOInstellingStructHulpschermenForm", 0},
    {"TVWOLesverdelingPersonStatForm", "dlgVWOLesverdelingPersoonStats", "TQuilForm",
     "VWOLesverdelingPersonStatForm",
     "", "", "", "", 0},
    {"TVWOMaterialenForm", "frmVWOMaterialen", "TQuilDBForm",
     "Vezor OVI: Materialen",
     "Materialen", "VWO Structuur", "DSVWOMaterialen", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOModuleVoorvereistenForm", "frmVWOModuleVoorvereisten", "TQuilDBForm",
     "Vezor OVI: School-specifieke module voorvereisten",
     "Voorvereisten", "VWO Structuur", "DSModuleVoorvereisten", "TVWOSchoolModuleForm", 0},
    {"TVWOOpenKlasForm", "frmVWOOpenklas", "TQuilDBForm",
     "Vezor OVI: Open klas",
     "Open klassen", "VWO structuur", "DSVWOOpenKlas", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOOverdrachtInstellingenForm", "frmVWOOverdrachtInstellingen", "TQuilDBForm",
     "Vezor OVI: Hulpschermen - overdracht instellingen",
     "VWO Overdracht instellingen", "VWO Structuur", "DSSelectIngModules", "TBrowseVWOInstellingStructHulpschermenForm", 0},
    {"TVWORegistreerOverdrachtenForm", "frmRegistreerOverdrachten", "TQuilDBForm",
     "Registreer Overdrachten",
     "Registreer Overdrachten", "", "DSRegistreeroverdrachten", "TBrowseVWOStructInstellingDavinciForm", 0},
    {"TVWOSchoolModuleForm", "frmVWOSchoolModule", "TQuilDBForm",
     "Vezor OVI: school-specifieke modules",
     "Modules", "VWO Structuur", "DSIngModules", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOSchoolModulegroepDetailsForm", "frmVWOSchoolModuleGroepDetails", "TQuilDBForm",
     "Vezor OVI: School-specifieke modulegroep details",
     "Module groep details", "VWO Structuur", "DSModuleGroepDetails", "TModuleGroepForm", 0},
    {"TVWOSchoolModuleGroepForm", "frmVWOSchoolModuleGroep", "TQuilDBForm",
     "Vezor OVI: School-specifieke groepen modules",
     "Groepen modules", "VWO Structuur", "DSModuleGroepen", "TBrowseVWOStructInstellingForm", 0},
    {"TVWOSchoolModuleGroepVoorVereistenForm", "frmVWOSchoolModuleGroepVoorvereisten", "TQuilDBForm",
     "Vezor OVI: School-specifieke modulegroep voorvereisten",
     "Module groep voorvereisten", "VWO Structuur", "DSModuleVoorvereisten", "TSchoolmoduleGroepForm", 0},
    {"TVWOSelectIngopleidingForm", "dlgVWOSelecteerINGOpleiding", "TQuilForm",
     "Selecteer de ingerichte opleiding",
     "", "", "", "", 0},
    {"TVWOStrucDavinciCallsForm", "frmVWOStrucDavinciCalls", "TQuilDBForm",
     "Vezor OVI: Davinci overzicht calls",
     "Davinci calls structuur", "VWO Structuur", "DSActiveCDS", "TBrowseVWOStructInstellingDavinciForm", 0},
    {"TVWOStrucDavinciSynchronisatieForm", "frmVWOStrucDavinciSynchronisatie", "TQuilDBForm",
     "Vezor OVI: Davinci Synchronisatie",
     "Synchronisatie", "VWO Structuur", "DSActiveCDS", "TBrowseVWOStructInstellingDavinciForm", 0},
    {"TVWOVerwerkLesmomentenForm", "frmVWOVerwerkLesmomenten", "TVWOKlasJobExecutorForm",
     "Vezor OVI: Hulpschermen - verwerken lesmomenten",
     "Verwerken lesmomenten", "VWO Structuur", "", "TBrowseVWOInstellingStructHulpschermenForm", 0},
    {"TVWOZetLesgeverForm", "dlgVWOZetLesgever", "TQuilForm",
     "Lesgever wijzigen",
     "", "", "", "", 0},
    {"TVWOZetLessenForm", "dlgVWOZetLessen", "TQuilForm",
     "Lessen Wijzigen",
     "", "", "", "", 0},
};

constexpr FormLinkEntry kFormLinks[] = {
    {"TBrowseVWOInstellingStructHulpschermenForm", "TVWOKlasOverdrachtForm", "Overdracht klassen", "DSBrowseVWOinstelling"},
    {"TBrowseVWOInstellingStructHulpschermenForm", "TVWOKlasLesMomentenUitReceptForm", "Klas lesmomenten uit regel", "DSBrowseVWOinstelling"},
    {"TBrowseVWOInstellingStructHulpschermenForm", "TVWOVerwerkLesmomentenForm", "Verwerken lesmomenten", "DSBrowseVWOinstelling"},
    {"TBrowseVWOStructInstellingForm", "TVWOIngOpleidingsVariantForm", "Ingerichte opleidingen", "DSBrowseVWOinstelling"},
    {"TBrowseVWOStructInstellingForm", "TVWOSchoolModuleGroepForm", "Groepen modules", "DSBrowseVWOinstelling"},
    {"TBrowseVWOStructInstellingForm", "TVWOKlasForm", "Klassen", "DSBrowseVWOinstelling"},
    {"TBrowseVWOStructInstellingForm", "TVWOAttestenForm", "Studiebewijzen", "DSBrowseVWOinstelling"},
    {"TBrowseVWOStructInstellingForm", "TVWOMaterialenForm", "Lesmaterialen", "DSBrowseVWOinstelling"},
    {"TBrowseVWOStructInstellingForm", "TVWOLesplaatsenForm", "Lesplaatsen", "DSBrowseVWOinstelling"},
    {"TBrowseVWOStructInstellingForm", "TVWOAfwezigheidsCodesForm", "Afwezigheidscodes", "DSBrowseVWOinstelling"},
    {"TBrowseVWOStructInstellingForm", "TVWOSchoolModuleForm", "Modules", "DSBrowseVWOinstelling"},
    {"TVWOAttestenForm", "TVWOAttestPadForm", "Alternative paden", "DSVWOAttesten"},
    {"TVWOAttestenForm", "TVWOAttestModulesForm", "Modules", "DSVWOAttesten"},
    {"TVWOIngModuleVariantForm", "TVWOIngModuleVarLessenForm", "Lessen", "DSVWOIngModuleVarianten"},
    {"TVWOIngModuleVariantForm", "TVWOIngModuleMaterialenForm", "Materialen", "DSVWOIngModuleVarianten"},
    {"TVWOIngModuleVariantForm", "TVWOIngModuleCompetentiesForm", "Competenties", "DSVWOIngModuleVarianten"},
    {"TVWOIngModuleVariantForm", "TVWOIngModuleVarEindTermenForm", "Eindtermen", "DSVWOIngModuleVarianten"},
    {"TVWOIngModuleVarLessenForm", "TVWOOverzichtParticipatiesForm", "Participaties", "DSLessen"},
    {"TVWOKlasForm", "TVWOIngModuleVariantForm", "Modulevarianten", "DSVWOKlas"},
    {"TVWOKlasForm", "TVWOKlasLesmomentenForm", "Lessen", "DSVWOKlas"},
    {"TVWOKlasForm", "TVWOKlasCPForm", "Contactpersonen", "DSVWOKlas"},
    {"TVWOKlasForm", "TVWOKlasMemoForm", "Klasmemo", "DSVWOKlas"},
    {"TVWOKlasLesmomentenForm", "TVWOOverzichtParticipatiesForm", "Participaties", "DSKlasLesmomenten"},
    {"TVWOKlassenActiesForm", "TVWOFicheKlasForm", "Fiche klas", "DSSelectVWOKlas"},
    {"TVWOSchoolModuleForm", "TVWOModuleVoorvereistenForm", "Voorvereisten module", "DSIngModules"},
    {"TVWOSchoolModuleGroepForm", "TVWOSchoolModulegroepDetailsForm", "Modules in groep", "DSModuleGroepen"},
    {"TVWOSchoolModuleGroepForm", "TVWOSchoolModuleGroepVoorVereistenForm", "Voorvereisten", "DSModuleGroepen"},
    {"TVWOStrucDavinciSynchronisatieForm", "TVWOFicheKlasForm", "Klas", "DSActiveCDS"},
};

constexpr ReportEntry kReports[] = {
    {"TVWOAttestenForm", "Diplomasupplement", "VWODiplomaSupplementInstelling.arf", false, true},
    {"TVWOAttestModulesForm", "Overzicht vereiste modules", "VWOAttestModules.arf", true, true},
    {"TVWOIngModuleMaterialenForm", "Overzicht materialen voor ingerichte module", "VWOMaterialenVoorIngModule.arf", true, true},
    {"TVWOIngmodulesForm", "Overzicht Ingerichte modules", "vwoingmodules.arf", true, true},
    {"TVWOIngModuleVariantForm", "Fiche", "vwoingmodvariantklas.arf", true, true},
    {"TVWOIngModuleVarLessenForm", "Kalender klaseenheid", "vwoingmodulevarkalender.arf", false, true},
    {"TVWOIngOpleidingsVariantForm", "Ingerichte opleidingsvarianten", "VWOIngOplVariantvp.arf", false, true},
    {"TVWOIngOpleidingsVariantVestForm", "Ingerichte opleidingsvarianten", "VWOIngOplVarVestiging.arf", false, true},
    {"TVWOKlasCPForm", "Overzicht contactpersonen klas", "VWOoklcp.arf", true, true},
    {"TVWOKlasForm", "Overzicht klassen", "VWOOverzichtKlassen.arf", true, true},
    {"TVWOKlasForm", "Lesuren Cursist", "VWOLesurenCursist.arf", false, true},
    {"TVWOKlasForm", "Overzicht klassen controle (class)", "vwoOverzichtKlassen_Class.arf", false, false},
    {"TVWOKlasForm", "Overzicht materialen (class)", "VWOOverzichtKlassen_class_materialen.arf", false, false},
    {"TVWOKlasLesmomentenForm", "Afdruk kalender klas", "vwoklaskalender.arf", false, true},
    {"TVWOKlasOverdrachtForm", "Lijst klassen in nieuwe periode", "VWOOverdrachtKlas.arf", true, true},
    {"TVWOLesplaatsenForm", "Overzichtslijst", "VWOolesplaats.arf", false, true},
    {"TVWOMaterialenForm", "Overzicht cursisten met geselecteerd materiaal", "VWOMaterialen.arf", true, true},
    {"TVWOModuleVoorvereistenForm", "Fiche", "vwovoorvereistenmodule.arf", true, true},
    {"TVWOOpenKlasForm", "Open klas fiche", "VWOOpenklasFiche.arf", true, true},
    {"TVWOSchoolModuleForm", "Overzicht Ingerichte modules", "vwoingmodules.arf", true, true},
    {"TVWOSchoolModulegroepDetailsForm", "Overzicht modules in groep", "vwomodulesingroep.arf", true, true},
    {"TVWOSchoolModuleGroepForm", "Fiche", "vwogroepenmodules.arf", true, true},
    {"TVWOSchoolModuleGroepVoorVereistenForm", "Fiche", "vwovoorvereistenmodulegroep.arf", true, true},
};

constexpr ParamMappingEntry kParamMappings[] = {
    {"TVWOAttestenForm", Mapping::FieldsToParams, "VAT_ID=VAT_ID"},
    {"TVWOAttestenForm", Mapping::ParamsToReportParams, "IS_ID=IS_ID"},
    {"TVWOAttestModulesForm", Mapping::ParamsToReportParams, "VAT_ID=VAT_ID"},
    {"TVWOAttestModulesForm", Mapping::ParamsToReportParams, "SC_ID=SC_ID"},
    {"TVWOCheckAantalLesmomentenForm", Mapping::ParamsToReportParams, "JobID=JOBID"},
    {"TVWOIngModuleVarLessenForm", Mapping::ParamsToReportParams, "IMV_ID=IMV_ID"},
    {"TVWOKlasCPForm", Mapping::FieldsToParams, "VWK_ID=VKC_VWOKLAS_FK"},
    {"TVWOKlasForm", Mapping::FieldsToParams, "VWK_ID=VWK_ID"},
    {"TVWOKlasForm", Mapping::ParamsToReportParams, "IS_ID=IS_ID"},
    {"TVWOKlasLesmomentenForm", Mapping::ParamsToReportParams, "KL_ID=KL_ID"},
    {"TVWOKlasOverdrachtForm", Mapping::ParamsToReportParams, "J_JOBID=JOBID"},
    {"TVWOLesplaatsenForm", Mapping::ParamsToReportParams, "IS_ID=IS_ID"},
    {"TVWOMaterialenForm", Mapping::FieldsToParams, "OM_ID=OM_ID"},
    {"TVWOMaterialenForm", Mapping::ParamsToReportParams, "IS_ID=IS_ID"},
    {"TVWOModuleVoorvereistenForm", Mapping::ParamsToReportParams, "SC_ID=SC_ID"},
    {"TVWORegistreerOverdrachtenForm", Mapping::ParamsToReportParams, "IS_ID=IS_ID"},
    {"TVWORegistreerOverdrachtenForm", Mapping::ParamsToReportParams, "SJ_ID=SJ_ID"},
    {"TVWOSchoolModuleGroepVoorVereistenForm", Mapping::ParamsToReportParams, "EG_ID=EG_ID"},
    {"TVWOSchoolModuleGroepVoorVereistenForm", Mapping::ParamsToReportParams, "SC_ID=SC_ID"},
};
// clang-format on

quil::TFormDefinition OwnDefinition(const ScreenEntry& entry) {
  quil::TFormDefinition def;
  def.ClassName = entry.className;
  def.Unit = entry.unit;
  def.InheritsFrom = entry.baseClass;
  def.Caption = entry.caption;
  def.TabCaption = entry.tabCaption;
  def.Group = entry.group;
  def.MainDataSource = entry.mainDataSource;
  def.DefaultBrowserForm = entry.defaultBrowserForm;
  def.HelpContext = entry.helpContext;
  for (const FormLinkEntry& link : kFormLinks) {
    if (link.master == entry.className) {
      def.FormLinks.push_back({std::string(link.detailForm), std::string(link.displayName),
                               std::string(link.masterDS), false});
    }
  }
  for (const ReportEntry& report : kReports) {
    if (report.screen == entry.className) {
      def.ReportDefs.push_back({std::string(report.displayName), std::string(report.fileNames),
                                report.defaultReport, report.visible});
    }
  }
  for (const ParamMappingEntry& mapping : kParamMappings) {
    if (mapping.screen != entry.className) continue;
    auto& list =
        mapping.kind == Mapping::FieldsToParams ? def.FieldsToParams : def.ParamsToReportParams;
    list.emplace_back(mapping.pair);
  }
  return def;
}

}  // namespace

std::span<const ScreenEntry> ScreenEntries() {
  return kScreens;
}
std::span<const FormLinkEntry> FormLinkEntries() {
  return kFormLinks;
}
std::span<const ReportEntry> ReportEntries() {
  return kReports;
}
std::span<const ParamMappingEntry> ParamMappingEntries() {
  return kParamMappings;
}

const ScreenEntry* FindScreenEntry(std::string_view className) {
  for (const ScreenEntry& entry : kScreens) {
    if (quil::SameText(entry.className, className)) return &entry;
  }
  return nullptr;
}

quil::TFormDefinition ScreenDefinition(std::string_view className) {
  const ScreenEntry* entry = FindScreenEntry(className);
  if (entry == nullptr) {
    throw std::logic_error("screen " + std::string(className) + " is not in the catalogue");
  }
  quil::TFormDefinition def = OwnDefinition(*entry);
  // Base classes of the catalogue are shallow (one level), but follow the chain anyway.
  for (const ScreenEntry* base = FindScreenEntry(entry->baseClass); base != nullptr;
       base = FindScreenEntry(base->baseClass)) {
    def = quil::MergeDefinition(def, OwnDefinition(*base));
  }
  return def;
}

}  // namespace kavel
