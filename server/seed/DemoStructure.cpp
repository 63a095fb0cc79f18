// The demo's programme structure, certificates, class details and Davinci lists.
//
// The official structure is small but complete: every module belongs to one programme, whose two
// variants hold its module variants A (standard track) and B (dual track). Both centres are
// authorised for every organisable variant in each of their Davinci locations, except bookkeeping
// in De Linde's second one, and organise what they are authorised for; every location teaches the
// organised variants of its Davinci location, and every class is linked to the organised variants
// that hold its module variants.
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "server/seed/DemoSeed.h"

namespace quil::server::demo {

namespace {

struct ProgrammeSeed {
  int code;  //!< the government's number
  const char* tag;
  const char* description;
  int field;         //!< index into kFields
  const char* form;  //!< VWOV code
};
const ProgrammeSeed kProgrammes[] = {
    {101, "NT2", "Nederlands tweede taal richtgraad 1 en 2", 0, "VWO"},
    {210, "ENG", "Engels", 1, "VWO"},
    {211, "FRA", "Frans", 1, "VWO"},
    {212, "SPA", "Spaans", 1, "VWO"},
    {305, "ICT", "Digitale basisvaardigheden", 2, "VWO"},
    {410, "BOEK", "Boekhouden", 3, "HBO"},
    {520, "KOOK", "Basiskeuken", 4, "VWO"},
    // A programme of secondary adult education: its one variant cannot be organised, but
    // certificates refer to it.
    {25, "AAV", "Aanvullende algemene vorming", 5, "SECUNDAIR"},
};
const int kSecondaryProgramme = 7;
const int kBookkeeping = 5;

const char* const kFields[][2] = {{"NT2", "Nederlands tweede taal"},
                                  {"TALEN", "Vreemde talen"},
                                  {"ICT", "Informatica"},
                                  {"HANDEL", "Handel en administratie"},
                                  {"VOEDING", "Voeding en horeca"},
                                  {"AAV", "Algemene vorming"}};

//! Tracks of the two variants of a programme: variant A of each module is taught in the
//! standard track, variant B in the dual one.
const char* const kTracks[][3] = {{"S", "STANDAARD", "standaardtraject"},
                                  {"D", "DUAAL", "duaal traject"}};

struct SubjectSeed {
  const char* code;
  const char* description;
  bool language;
};
const SubjectSeed kSubjects[] = {
    {"NED", "Nederlands", true}, {"ENG", "Engels", true},       {"FRA", "Frans", true},
    {"SPA", "Spaans", true},     {"ICT", "Informatica", false}, {"BOEK", "Boekhouding", false},
    {"VOED", "Voeding", false},
};

int SchoolOf(int institution) {
  return institution;  // each demo centre has the school with its own id
}

//! The Davinci locations of a centre's school.
std::vector<int> GeographiesOf(int institution) {
  return {institution * 2 - 1, institution * 2};
}

}  // namespace

void SeedProgrammes(Seed& s) {
  Writer& w = s.w;
  const char* const vwoParams[][3] = {
      {"VWST", "DIPLOMA", "Diploma"},
      {"VWST", "CERT", "Certificaat"},
      {"VWST", "DEELCERT", "Deelcertificaat"},
      {"VWST", "SECUNDAIR", "Diploma secundair onderwijs"},
      {"VWST", "ATTEST", "Attest"},
      {"CVOO", "LESUREN", "Overdracht lesuren"},
      {"CVOO", "PUNTEN", "Overdracht lestijdenpunten"},
  };
  for (const auto& [type, code, description] : vwoParams) {
    int id = s.Next("VWOPARAM");
    w.Insert("VWOPARAM", {{"VWA_ID", Int(id)},
                          {"VWA_TYPE", Text(type)},
                          {"VWA_CODE", Text(code)},
                          {"VWA_OMSCHRIJVING", Text(description)}});
    s.vwoParams[std::string(type) + "/" + code] = id;
  }
  const std::string certificateTypes =
      std::to_string(s.vwoParams["VWST/CERT"]) + "," + std::to_string(s.vwoParams["VWST/DEELCERT"]);

  for (const auto& [code, description] : kFields) {
    w.Insert("VWOOPLEIDINGSGEBIED", {{"VOG_ID", Int(s.Next("VWOOPLEIDINGSGEBIED"))},
                                     {"VOG_CODE", Text(code)},
                                     {"VOG_OMSCHRIJVING", Text(description)}});
  }

  // Programmes and their variants; the variants of the modular programmes hold one variant of
  // each of the programme's modules.
  const int programmeCount = static_cast<int>(std::size(kProgrammes));
  for (int p = 0; p < programmeCount; ++p) {
    const ProgrammeSeed& programme = kProgrammes[p];
    int vo = s.Next("VWOOPLEIDING");
    w.Insert("VWOOPLEIDING",
             {{"VO_ID", Int(vo)},
              {"VO_CODE", Int(programme.code)},
              {"VO_OMSCHRIJVING", Text(programme.description)},
              {"VO_BEGINDATUM", Text(Day(2010, 9, 1))},
              {"VO_GEANNULEERD", Text("-")},
              {"VO_ONDERWIJSVORM_FK", Int(s.params[std::string("VWOV/") + programme.form])},
              {"VO_ORGANISATIEVORM_FK", Int(s.params["VWGV/MODULAIR"])},
              {"VO_VWOOPLEIDINGSGEBIED_FK", Int(programme.field + 1)}});
    if (p == kSecondaryProgramme) {
      int voo = s.Next("VWOOPLEIDINGSVARIANT");
      w.Insert("VWOOPLEIDINGSVARIANT", {{"VOO_ID", Int(voo)},
                                        {"VOO_VWOOPLEIDING_FK", Int(vo)},
                                        {"VOO_CODE", Text("AAV")},
                                        {"VOO_OMSCHRIJVING", Text(programme.description)},
                                        {"VOO_VAN", Text(Day(2010, 9, 1))},
                                        {"VOO_TYPERECORD", Text("O")},
                                        {"VOO_GEANNULEERD", Text("-")},
                                        {"VOO_INRICHTBAAR", Text("-")},
                                        {"VOO_AANTALLESTIJDEN", Int(600)},
                                        {"VOO_MOGELIJKESTUDIEBEWIJZEN",
                                         Text(std::to_string(s.vwoParams["VWST/SECUNDAIR"]))},
                                        {"VOO_TRAJECT_FK", Int(s.params["VWTT/STANDAARD"])}});
      s.programmeVariants[{p, 0}] = voo;
      continue;
    }
    for (int track = 0; track < 2; ++track) {
      int hours = 0, points = 0;
      for (const ModuleSeed& module : kModules) {
        if (module.programme != p) continue;
        hours += module.hours + 20 * track;
        points += module.hours / 20;
      }
      int voo = s.Next("VWOOPLEIDINGSVARIANT");
      w.Insert("VWOOPLEIDINGSVARIANT",
               {{"VOO_ID", Int(voo)},
                {"VOO_VWOOPLEIDING_FK", Int(vo)},
                {"VOO_CODE", Text(std::string(programme.tag) + kTracks[track][0])},
                {"VOO_OMSCHRIJVING",
                 Text(std::string(programme.description) + " (" + kTracks[track][2] + ")")},
                {"VOO_VAN", Text(Day(2010, 9, 1))},
                {"VOO_TYPERECORD", Text("O")},
                {"VOO_GEANNULEERD", Text("-")},
                {"VOO_INRICHTBAAR", Text("+")},
                {"VOO_STUDIEPUNTEN", Int(points)},
                {"VOO_AANTALLESTIJDEN", Int(hours)},
                {"VOO_MOGELIJKESTUDIEBEWIJZEN", Text(certificateTypes)},
                {"VOO_TRAJECT_FK", Int(s.params[std::string("VWTT/") + kTracks[track][1]])}});
      s.programmeVariants[{p, track}] = voo;
      for (int m = 0; m < kModuleCount; ++m) {
        if (kModules[m].programme != p) continue;
        w.Insert("VWOMODULEINOPLEIDING",
                 {{"MIO_ID", Int(s.Next("VWOMODULEINOPLEIDING"))},
                  {"MIO_VWOOPLEIDINGSVARIANT_FK", Int(voo)},
                  {"MIO_VWOMODULEVARIANT_FK", Int(ModuleVariantId(m, track))},
                  {"MIO_GEANNULEERD", Text("-")}});
      }
    }
  }
  // A withdrawn older variant of the French programme, for the organisable filter.
  w.Insert("VWOOPLEIDINGSVARIANT", {{"VOO_ID", Int(s.Next("VWOOPLEIDINGSVARIANT"))},
                                    {"VOO_VWOOPLEIDING_FK", Int(3)},
                                    {"VOO_CODE", Text("FRAO")},
                                    {"VOO_OMSCHRIJVING", Text("Frans (oude leerplan)")},
                                    {"VOO_VAN", Text(Day(2010, 9, 1))},
                                    {"VOO_TOT", Text(Day(s.year - 2, 8, 31))},
                                    {"VOO_TYPERECORD", Text("O")},
                                    {"VOO_GEANNULEERD", Text("+")},
                                    {"VOO_INRICHTBAAR", Text("-")},
                                    {"VOO_AANTALLESTIJDEN", Int(120)},
                                    {"VOO_TRAJECT_FK", Int(s.params["VWTT/STANDAARD"])}});

  for (int v = 0; v < static_cast<int>(std::size(kSubjects)); ++v) {
    const SubjectSeed& subject = kSubjects[v];
    w.Insert("OFFICIEELVAK",
             {{"OV_ID", Int(v + 1)},
              {"OV_CODE", Text(subject.code)},
              {"OV_OMSCHRIJVING", Text(subject.description)},
              {"OV_RECORDTYPE", Text("O")},
              {"OV_RUBRICERING_FKP", Int(s.params[subject.language ? "OVRU/ALG" : "OVRU/BT"])},
              {"OV_TAALVAK", Text(subject.language ? "+" : "-")}});
  }

  // Authorisations of the centres' schools for three school years around the working year, and
  // the variants each centre organises under them: those of institution 1 are ready for
  // Davinci, those of institution 2 not yet.
  const std::string from = Day(s.year - 1, 9, 1), to = Day(s.year + 2, 8, 31);
  for (int is = 1; is <= 2; ++is) {
    for (int vvp : GeographiesOf(is)) {
      for (int p = 0; p < programmeCount; ++p) {
        if (p == kSecondaryProgramme || (p == kBookkeeping && vvp == 2)) continue;
        for (int track = 0; track < 2; ++track) {
          int voo = s.programmeVariants[{p, track}];
          w.Insert("VWOOPLEIDINGSBEVOEGDHEID", {{"VOB_ID", Int(s.Next("VWOOPLEIDINGSBEVOEGDHEID"))},
                                                {"VOB_SCHOOL_FK", Int(SchoolOf(is))},
                                                {"VOB_VWOOPLEIDINGSVARIANT_FK", Int(voo)},
                                                {"VOB_VWOVESTIGINGSPLAATS_FK", Int(vvp)},
                                                {"VOB_AANVANGSDATUM", Text(from)},
                                                {"VOB_EINDDATUM", Text(to)}});
          int cio = s.Next("VWOINGOPLEIDINGSVARIANT");
          w.Insert("VWOINGOPLEIDINGSVARIANT", {{"CIO_ID", Int(cio)},
                                               {"CIO_VWOOPLEIDINGSVARIANT_FK", Int(voo)},
                                               {"CIO_VWOVESTIGINGSPLAATS_FK", Int(vvp)},
                                               {"CIO_INSTELLING_FK", Int(is)},
                                               {"CIO_VAN", Text(from)},
                                               {"CIO_TOT", Text(to)},
                                               {"CIO_DAVINCIKLAAR", Text(is == 1 ? "+" : "-")},
                                               {"CIO_FLAGS", Int(0)},
                                               {"CIO_VERANDERDDOOR", Int(1)},
                                               {"CIO_VERANDERDOP", Text(kChangedOn)}});
          s.organisedVariants[{is, vvp, voo}] = cio;
        }
      }
    }
  }
  // Every location teaches what is organised in its Davinci location.
  for (const auto& [location, vvp] : s.geographyOfLocation) {
    int is = (location - 1) / 3 + 1;
    for (const auto& [key, cio] : s.organisedVariants) {
      if (std::get<0>(key) != is || std::get<1>(key) != vvp) continue;
      w.Insert("VWOINGOPLVARVESTIGING", {{"VIV_ID", Int(s.Next("VWOINGOPLVARVESTIGING"))},
                                         {"VIV_VESTIGINGSPLAATS_FK", Int(location)},
                                         {"VIV_VWOINGOPLEIDINGSVARIANT_FK", Int(cio)},
                                         {"VIV_VERANDERDDOOR", Int(1)},
                                         {"VIV_VERANDERDOP", Text(kChangedOn)}});
    }
  }
  for (int is = 1; is <= 2; ++is) {
    for (int v = 0; v < static_cast<int>(std::size(kSubjects)); ++v) {
      w.Insert("INGVAK", {{"IV_ID", Int(s.Next("INGVAK"))},
                          {"IV_INSTELLING_FK", Int(is)},
                          {"IV_CODE", Text(kSubjects[v].code)},
                          {"IV_NAAMGEBRUIKER", Text(kSubjects[v].description)},
                          {"IV_OFFICIEELVAK_FK", Int(v + 1)}});
    }
  }
}

void SeedModuleStructure(Seed& s) {
  Writer& w = s.w;
  for (int is = 1; is <= 2; ++is) {
    for (int m = 0; m < kModuleCount; ++m) {
      w.Insert("VWOINGERICHTEMODULE",
               {{"VIM_ID", Int(s.Next("VWOINGERICHTEMODULE"))},
                {"VIM_INSTELLING_FK", Int(is)},
                {"VIM_VWOMODULE_FK", Int(m + 1)},
                {"VIM_EDENRED", m < 2 ? Text("EDR-" + std::to_string(is * 100 + m)) : Variant()},
                {"VIM_VERANDERDDOOR", Int(1)},
                {"VIM_VERANDERDOP", Text(kChangedOn)}});
    }
  }
  // Per school a group of the foreign languages (any one of them) and one of the Dutch levels.
  struct GroupSeed {
    const char* code;
    const char* description;
    const char* type;
    std::vector<int> modules;
  };
  const GroupSeed groups[] = {{"TALEN", "Vreemde talen", "TPMG/KEUZE", {2, 3, 6}},
                              {"NT2", "Nederlands tweede taal", "TPMG/VERPLICHT", {0, 1}}};
  std::map<std::pair<int, std::string>, int> groupIds;
  for (int is = 1; is <= 2; ++is) {
    for (const GroupSeed& group : groups) {
      int vmg = s.Next("VWOMODULEGROEP");
      groupIds[{is, group.code}] = vmg;
      w.Insert("VWOMODULEGROEP", {{"VMG_ID", Int(vmg)},
                                  {"VMG_SCHOOL_FK", Int(SchoolOf(is))},
                                  {"VMG_CODE", Text(group.code)},
                                  {"VMG_OMSCHRIJVING", Text(group.description)},
                                  {"VMG_TYPE_FKP", Int(s.params[group.type])},
                                  {"VMG_VERANDERDDOOR", Int(1)},
                                  {"VMG_VERANDERDOP", Text(kChangedOn)}});
      for (int m : group.modules) {
        w.Insert("VWOMODULEGROEPDETAIL", {{"VMD_ID", Int(s.Next("VWOMODULEGROEPDETAIL"))},
                                          {"VMD_VWOMODULEGROEP_FK", Int(vmg)},
                                          {"VMD_VWOMODULE_FK", Int(m + 1)},
                                          {"VMD_VERANDERDDOOR", Int(1)},
                                          {"VMD_VERANDERDOP", Text(kChangedOn)}});
      }
    }
  }
  // One official prerequisite (school 0) and two of De Linde's own: bookkeeping needs the digital
  // basics, and the foreign languages need Dutch level 2.
  const std::tuple<int, int, const char*, int> prerequisites[] = {
      {2, 1, "4", 0},
      {6, 5, "4", SchoolOf(1)},
      {groupIds[{1, "TALEN"}], 2, "6", SchoolOf(1)},
  };
  for (const auto& [voor, vereist, type, school] : prerequisites) {
    w.Insert("VWOVOORVEREISTE", {{"VWV_ID", Int(s.Next("VWOVOORVEREISTE"))},
                                 {"VWV_VOOR_FK", Int(voor)},
                                 {"VWV_VEREIST_FK", Int(vereist)},
                                 {"VWV_RECORDTYPE", Text(type)},
                                 {"VWV_SCHOOL_FK", Int(school)},
                                 {"VWV_VERANDERDDOOR", Int(1)},
                                 {"VWV_VERANDERDOP", Text(kChangedOn)}});
  }
}

void SeedClassDetails(Seed& s) {
  Writer& w = s.w;
  for (const DemoClass& klas : s.classes) {
    // The programme variants of the class: the organised variants, in the class's Davinci
    // location, that hold one of its module variants.
    const int vvp = s.geographyOfLocation[klas.location];
    const int programme = kModules[klas.module].programme;
    for (int track = 0; track < 2; ++track) {
      int voo = s.programmeVariants[{programme, track}];
      w.Insert("VWOKLASOPLEIDING", {{"VKO_ID", Int(s.Next("VWOKLASOPLEIDING"))},
                                    {"VKO_KLAS_FK", Int(klas.id)},
                                    {"VKO_INGOPLEIDINGVARIANT_FK",
                                     Int(s.organisedVariants.at({klas.institution, vvp, voo}))},
                                    {"VKO_VERANDERDDOOR", Int(1)},
                                    {"VKO_VERANDERDOP", Text(kChangedOn)}});
    }
    w.Insert("VWOKLASMEMO",
             {{"VKM_ID", Int(s.Next("VWOKLASMEMO"))},
              {"VKM_VWOKLAS_FK", Int(klas.id)},
              {"VKM_TYPE_FKP", Int(s.params["VWKM/ALG"])},
              {"VKM_OMSCHRIJVING", Text("Afspraken met de cursisten")},
              {"VKM_MEMO", Text("Pauze van 15 minuten halverwege de les.\r\n"
                                "Cursusmateriaal wordt in de eerste les uitgedeeld.")},
              {"VKM_VERANDERDDOOR", Int(1)},
              {"VKM_VERANDERDOP", Text(kChangedOn)}});
    const int teacher = klas.moduleVariants.front().teacher;
    auto name = s.db.Prepare("SELECT PS_NAAM || ' ' || PS_VOORNAAM FROM PERSONEEL WHERE PS_ID = ?");
    name->BindInt64(0, teacher);
    name->Step();
    w.Insert("VWOKLASCP",
             {{"VKC_ID", Int(s.Next("VWOKLASCP"))},
              {"VKC_VWOKLAS_FK", Int(klas.id)},
              {"VKC_TYPE_FKP", Int(s.params["TPKP/KLAS/" + std::to_string(klas.institution)])},
              {"VKC_PERSONEEL_FK", Int(teacher)},
              {"VKC_PERSOON", Text(std::string(name->ColumnText(0)))},
              {"VKC_VERANDERDDOOR", Int(1)},
              {"VKC_VERANDERDOP", Text(kChangedOn)}});

    const ModuleSeed& module = kModules[klas.module];
    for (const OrganisedModuleVariant& imv : klas.moduleVariants) {
      // Materials the module needs, from the centre's own list (five per centre, see
      // SeedInstitutionLists): the Dutch course book and workbook, a USB stick for the
      // computer module, an apron for the kitchen.
      std::vector<int> materials;
      if (module.programme == 0) materials = {0, 1};
      if (klas.module == 4) materials = {2};
      if (klas.module == 7) materials = {3};
      for (int m : materials) {
        int material = (klas.institution - 1) * 5 + m + 1;
        auto price = s.db.Prepare(
            "SELECT VWM_PRIJS, VWM_OMSCHRIJVING FROM VWOMATERIAAL "
            "WHERE VWM_ID = ?");
        price->BindInt64(0, material);
        price->Step();
        w.Insert("VWOINGMODULEVARIANTDETAIL",
                 {{"IMD_ID", Int(s.Next("VWOINGMODULEVARIANTDETAIL"))},
                  {"IMD_INGMODULEVARIANT_FK", Int(imv.id)},
                  {"IMD_RECORDTYPE", Text("M")},
                  {"IMD_OMSCHRIJVING", Text(std::string(price->ColumnText(1)))},
                  {"IMD_AANTAL", Int(1)},
                  {"IMD_FLAGS", Int(m == 0 ? 1 : 0)},
                  {"IMD_KOSTPRIJS", Variant(price->ColumnDouble(0))},
                  {"IMD_MATERIAAL_FK", Int(material)},
                  {"IMD_MATERIAALGROEP_FKP", Int(s.params["OEMG/CURSUS"])},
                  {"IMD_VERANDERDDOOR", Int(1)},
                  {"IMD_VERANDERDOP", Text(kChangedOn)}});
      }
      const std::pair<const char*, std::string> texts[] = {
          {"E", std::string("Bereikt de eindtermen van ") + module.code},
          {"C", std::string("Past ") + module.description + " toe in eenvoudige situaties"}};
      for (const auto& [kind, text] : texts) {
        w.Insert("VWOINGMODULEVARIANTDETAIL", {{"IMD_ID", Int(s.Next("VWOINGMODULEVARIANTDETAIL"))},
                                               {"IMD_INGMODULEVARIANT_FK", Int(imv.id)},
                                               {"IMD_RECORDTYPE", Text(kind)},
                                               {"IMD_OMSCHRIJVING", Text(text.substr(0, 80))},
                                               {"IMD_AANTAL", Int(1)},
                                               {"IMD_FLAGS", Int(0)},
                                               {"IMD_VERANDERDDOOR", Int(1)},
                                               {"IMD_VERANDERDOP", Text(kChangedOn)}});
      }
      // The teaching assignment: all organised lesson times to the teacher, who is also the
      // class teacher, in the module's subject.
      const int variant = imv.moduleVariant - 1;
      w.Insert("VWODOC3BINFO", {{"VD3_ID", Int(s.Next("VWODOC3BINFO"))},
                                {"VD3_VWOINGMODULEVARIANT_FK", Int(imv.id)},
                                {"VD3_LESGEVER_FK", Int(imv.teacher)},
                                {"VD3_TITULARIS_FK", Int(imv.teacher)},
                                {"VD3_OFFICIEELVAK_FK", Int(module.subject + 1)},
                                {"VD3_UREN", Int(module.hours + 20 * (variant % 2))},
                                {"VD3_VERANDERDDOOR", Int(1)},
                                {"VD3_VERANDERDOP", Text(kChangedOn)}});
    }
  }
}

void SeedCertificates(Seed& s) {
  Writer& w = s.w;
  for (int is = 1; is <= 2; ++is) {
    // A certificate per modular programme, whose first path requires every module of the
    // programme; NT2 has a second path for pupils who start at level 2.
    for (int p = 0; p < kSecondaryProgramme; ++p) {
      const ProgrammeSeed& programme = kProgrammes[p];
      int lessonTimes = 0, points = 0;
      std::vector<int> modules;
      for (int m = 0; m < kModuleCount; ++m) {
        if (kModules[m].programme != p) continue;
        modules.push_back(m + 1);
        lessonTimes += kModules[m].hours;
        points += kModules[m].hours / 20;
      }
      int vat = s.Next("VWOATTEST");
      w.Insert("VWOATTEST",
               {{"VAT_ID", Int(vat)},
                {"VAT_INSTELLING_FK", Int(is)},
                {"VAT_CODE", Text("CERT")},
                {"VAT_NAAMOFFICIEEL", Text(std::string("Certificaat ") + programme.description)},
                {"VAT_NAAMAFDRUK", Text(programme.description)},
                {"VAT_HOOFDSTRUCTUUR_FKP", Int(s.params["HOOF/VWO"])},
                {"VAT_OPNEMENINPV", Text("+")},
                {"VAT_FORMULIER", Text("certificaat.arf")},
                {"VAT_RANGSCHIKKING_FKP", Int(s.params["ATRA/BASIS"])},
                {"VAT_VWOOPLEIDING_FK", Int(p + 1)},
                {"VAT_LESTIJDEN", Int(lessonTimes)},
                {"VAT_STUDIEPUNTEN", Int(points)},
                {"VAT_STUDIEBEWIJSTYPE_FKP", Int(s.vwoParams["VWST/CERT"])},
                {"VAT_HBOSAMENWERKINGSCHOOL_FK", p == kBookkeeping ? Int(3) : Variant()},
                {"VAT_OPTIES", Int(0)},
                {"VAT_RECORDTYPE", Text("U")},
                {"VAT_VERANDERDDOOR", Int(1)},
                {"VAT_VERANDERDOP", Text(kChangedOn)}});
      std::vector<std::vector<int>> paths = {modules};
      if (p == 0) paths.push_back({2});
      for (size_t n = 0; n < paths.size(); ++n) {
        int vap = s.Next("VWOATTESTPAD");
        w.Insert("VWOATTESTPAD", {{"VAP_ID", Int(vap)},
                                  {"VAP_VWOATTEST_FK", Int(vat)},
                                  {"VAP_PAD", Int(static_cast<long long>(n) + 1)},
                                  {"VAP_VAN", Text(Day(2015, 9, 1))},
                                  {"VAP_VERANDERDDOOR", Int(1)},
                                  {"VAP_VERANDERDOP", Text(kChangedOn)}});
        for (int module : paths[n]) {
          w.Insert("VWOATTESTPADDETAIL", {{"VPD_ID", Int(s.Next("VWOATTESTPADDETAIL"))},
                                          {"VPD_VWOATTESTPAD_FK", Int(vap)},
                                          {"VPD_VWOMODULE_FK", Int(module)},
                                          {"VPD_VERANDERDDOOR", Int(1)},
                                          {"VPD_VERANDERDOP", Text(kChangedOn)}});
        }
      }
    }
    // A partial certificate (no paths) and the secondary-education diploma, which names the
    // variant that cannot be organised.
    const int secondaryVariant = s.programmeVariants[{kSecondaryProgramme, 0}];
    struct Extra {
      const char* code;
      const char* name;
      int programme;
      const char* type;
      const char* form;
      int variant;
    };
    const Extra extras[] = {
        {"DEELCERT", "Deelcertificaat Nederlands tweede taal", 0, "VWST/DEELCERT",
         "deelcertificaat.arf", 0},
        {"DIPLOMA", "Diploma secundair onderwijs", kSecondaryProgramme, "VWST/SECUNDAIR",
         "diploma.arf", secondaryVariant},
    };
    for (const Extra& extra : extras) {
      w.Insert(
          "VWOATTEST",
          {{"VAT_ID", Int(s.Next("VWOATTEST"))},
           {"VAT_INSTELLING_FK", Int(is)},
           {"VAT_CODE", Text(extra.code)},
           {"VAT_NAAMOFFICIEEL", Text(extra.name)},
           {"VAT_HOOFDSTRUCTUUR_FKP", Int(s.params[extra.variant != 0 ? "HOOF/SVWO" : "HOOF/VWO"])},
           {"VAT_OPNEMENINPV", Text("+")},
           {"VAT_FORMULIER", Text(extra.form)},
           {"VAT_VWOOPLEIDING_FK", Int(extra.programme + 1)},
           {"VAT_STUDIEBEWIJSTYPE_FKP", Int(s.vwoParams[extra.type])},
           {"VAT_NIETINRICHTBAREOPLVAR_FK", extra.variant != 0 ? Int(extra.variant) : Variant()},
           {"VAT_OPTIES", Int(0)},
           {"VAT_RECORDTYPE", Text("U")},
           {"VAT_VERANDERDDOOR", Int(1)},
           {"VAT_VERANDERDOP", Text(kChangedOn)}});
    }
  }
}

void SeedDavinciLists(Seed& s) {
  Writer& w = s.w;
  // Davinci contact persons: staff employed at the centre (even ids at De Linde, odd at Horizon).
  for (int is = 1; is <= 2; ++is) {
    const std::pair<const char*, int> contacts[] = {{"COORD", is == 1 ? 2 : 1},
                                                    {"ADMIN", is == 1 ? 4 : 3}};
    for (const auto& [type, staff] : contacts) {
      w.Insert(
          "ZIDEZUZOCP",
          {{"IC_ID", Int(s.Next("ZIDEZUZOCP"))},
           {"IC_INSTELLING_FK", Int(is)},
           {"IC_TYPE_FKP", Int(s.params[std::string("TPCP/") + type + "/" + std::to_string(is)])},
           {"IC_PERSONEEL_FK", Int(staff)}});
    }
  }
  // De Linde hands teaching hours to Horizon: last year's transfer was reported, this year's
  // is not ready yet. School years: SJ_ID 3 is the working year (see SeedReference).
  for (int sj = 2; sj <= 3; ++sj) {
    bool current = sj == 3;
    w.Insert("REGISTEROVERDRACHT", {{"RO_ID", Int(s.Next("REGISTEROVERDRACHT"))},
                                    {"RO_INSTELLING_FK", Int(1)},
                                    {"RO_OVERDRACHTNAAR_FK", Int(2)},
                                    {"RO_SCHOOLJAAR_FK", Int(sj)},
                                    {"RO_CODE_FK", Int(s.vwoParams["CVOO/LESUREN"])},
                                    {"RO_OVERGEDRAGENLERAARSUREN", Int(current ? 120 : 80)},
                                    {"RO_OVERGEDRAGENPUNTEN", Int(0)},
                                    {"RO_LERAARSURENVOLGJAAR", Int(current ? 40 : 0)},
                                    {"RO_PUNTENVOLGJAAR", Int(0)},
                                    {"RO_LERAARSURENVOORDRACHTGEVERS", Int(current ? 10 : 0)},
                                    {"RO_FLAGS", Int(current ? 0 : 0x400)},
                                    {"RO_DAVINCIKLAAR", Text(current ? "-" : "+")},
                                    {"RO_VERANDERDDOOR", Int(1)},
                                    {"RO_VERANDERDOP", Text(kChangedOn)}});
  }
}

}  // namespace quil::server::demo
