#include "server/seed/DemoData.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/base/DateTime.h"
#include "host/base/SchoolYear.h"
#include "host/base/Variant.h"
#include "server/db/Schema.h"
#include "server/db/ValueCodec.h"
#include "server/seed/DemoSeed.h"

namespace quil::server {

namespace demo {

void Writer::Insert(const std::string& table, const Values& values) {
  std::string columns, marks;
  for (const auto& [column, value] : values) {
    columns += (columns.empty() ? "" : ", ") + column;
    marks += marks.empty() ? "?" : ", ?";
  }
  std::string sql = "INSERT INTO " + table + " (" + columns + ") VALUES (" + marks + ")";
  auto& stmt = statements_[sql];
  if (!stmt) stmt = db_.Prepare(sql);
  stmt->Reset();
  for (size_t i = 0; i < values.size(); ++i) {
    const Variant& value = values[i].second;
    int index = static_cast<int>(i);
    switch (value.Type()) {
      case VariantType::Null:
        stmt->BindNull(index);
        break;
      case VariantType::Integer:
        stmt->BindInt64(index, value.AsLargeInt());
        break;
      case VariantType::Currency:
      case VariantType::Float:
        stmt->BindDouble(index, value.AsFloat());
        break;
      default:
        stmt->BindText(index, value.AsString());
        break;
    }
  }
  stmt->Step();
}

std::string Day(int year, int month, int day) {
  return DateToSql(EncodeDate(year, month, day));
}

int Seed::Param(const std::string& type, const std::string& code, const std::string& description,
                int institution, const char* extra) {
  int id = Next("PARAM");
  w.Insert("PARAM", {{"P_ID", Int(id)},
                     {"P_TYPE", Text(type)},
                     {"P_CODE", Text(code)},
                     {"P_OMSCHRIJVING", Text(description)},
                     {"P_EXTRA", extra != nullptr ? Text(extra) : Variant()},
                     {"P_VOLGORDE", Int(id)},
                     {"P_INSTELLING_FK", institution != 0 ? Int(institution) : Variant()}});
  params[type + "/" + code + (institution != 0 ? "/" + std::to_string(institution) : "")] = id;
  return id;
}

namespace {

const char* const kMunicipalities[][3] = {
    {"2910", "Heidebroek", "Heidebroek"}, {"2911", "Ganzeveld", "Heidebroek"},
    {"3590", "Beekdonk", "Beekdonk"},     {"3591", "Lindeloo", "Beekdonk"},
    {"8470", "Zilverhoek", "Zilverhoek"}, {"8471", "Moerkerk", "Zilverhoek"},
    {"9160", "Wilgendaal", "Wilgendaal"}, {"9161", "Ravensbos", "Wilgendaal"},
};

const char* const kSurnames[] = {"Verhaegen",    "Claessens", "Wijnants", "Baetens",
                                 "Goossenaerts", "Lemmens",   "Van Oost", "De Ridder",
                                 "Smolders",     "Vanhove",   "Dierckx",  "Moens"};
const char* const kFirstNames[] = {"Annelies", "Bram", "Carine", "Dirk",  "Els",     "Frederik",
                                   "Griet",    "Hans", "Ilse",   "Jonas", "Katrien", "Lieven"};

}  // namespace

void SeedReference(Seed& s) {
  Writer& w = s.w;
  for (int i = 0; i < 8; ++i) {
    w.Insert("GEMEENTE", {{"GM_ID", Int(i + 1)},
                          {"GM_POSTNUMMER", Text(kMunicipalities[i][0])},
                          {"GM_DEELGEMEENTE", Text(kMunicipalities[i][1])},
                          {"GM_HOOFDGEMEENTE", Text(kMunicipalities[i][2])}});
  }

  // Shared coded lists.
  s.Param("VWPA", "AANWEZIG", "Aanwezig");
  s.Param("VWPA", "AFWEZIG", "Afwezig");
  s.Param("VWPA", "VERANTW_AFWEZIG", "Verantwoord afwezig");
  s.Param("VWPA", "GEWETTIGD_AFWEZIG", "Gewettigd afwezig");
  s.Param("ALREK", "?", "Geen algemene rekening");
  s.Param("ALREK", "700000", "Inschrijvingsgelden");
  s.Param("ALREK", "701000", "Verkoop cursusmateriaal");
  s.Param("ALREK", "702000", "Uitstappen en activiteiten");
  s.Param("VWFT", "REG", "Reguliere financiering");
  s.Param("VWFT", "EIG", "Eigen middelen");
  s.Param("VWFT", "PRJ", "Projectfinanciering");
  s.Param("VWVS", "NIETGEVER", "Niet geverifieerd");
  s.Param("VWVS", "GEVER", "Geverifieerd");
  s.Param("VWVS", "AFGEKEURD", "Afgekeurd");
  s.Param("VWTT", "STANDAARD", "Standaardtraject");
  s.Param("VWTT", "VERKORT", "Verkort traject");
  s.Param("VWTT", "DUAAL", "Duaal traject");
  s.Param("VWKM", "ALG", "Algemene memo", 0, "ALG");
  s.Param("VWKM", "KAL", "Kalendermemo", 0, "KAL");
  s.Param("TPMG", "KEUZE", "Keuzegroep");
  s.Param("TPMG", "VERPLICHT", "Verplichte groep");
  s.Param("HOOF", "VWO", "Volwassenenonderwijs");
  s.Param("HOOF", "SVWO", "Secundair volwassenenonderwijs");
  s.Param("ATRA", "BASIS", "Basisopleiding");
  s.Param("ATRA", "GEVORDERD", "Gevorderde opleiding");
  s.Param("OEMG", "CURSUS", "Cursusmateriaal");
  s.Param("OEMG", "ACTIVITEIT", "Uitstappen en activiteiten");
  s.Param("VWOV", "VWO", "Volwassenenonderwijs");
  s.Param("VWOV", "SECUNDAIR", "Secundair volwassenenonderwijs");
  s.Param("VWOV", "HBO", "Hoger beroepsonderwijs");
  s.Param("VWGV", "MODULAIR", "Modulair georganiseerd");
  s.Param("OVRU", "ALG", "Algemene vakken");
  s.Param("OVRU", "BT", "Beroepsgerichte vakken");
  s.Param("SCSOORT", "411", "Hogeschool");
  s.Param("SCSOORT", "310", "Secundaire school");
  s.Param("SCSOORT", "500", "Centrum voor volwassenenonderwijs");
  s.Param("VOLPTYPE", "HOOFD", "Hoofdlesplaats");
  s.Param("VOLPTYPE", "NEVEN", "Nevenlesplaats");

  // Schools: the two centres and two partner schools.
  const char* const schools[][3] = {{"104711", "Centrum Volwassenenonderwijs De Linde", "500"},
                                    {"104822", "Centrum Volwassenenonderwijs Horizon", "500"},
                                    {"205933", "Hogeschool Zuiderkempen", "411"},
                                    {"306044", "Atheneum Veldzicht", "310"}};
  for (int i = 0; i < 4; ++i) {
    w.Insert("SCHOOL", {{"SC_ID", Int(i + 1)},
                        {"SC_INSTELLINGSNUMMER", Text(schools[i][0])},
                        {"SC_NAAM", Text(schools[i][1])},
                        {"SC_STRAAT", Text(i % 2 == 0 ? "Lindelaan" : "Havenstraat")},
                        {"SC_HUISNUMMER", Text(std::to_string(10 + i * 7))},
                        {"SC_GEMEENTE_FK", Int(1 + i * 2)},
                        {"SC_SOORT_FKP", Int(s.params[std::string("SCSOORT/") + schools[i][2]])}});
  }
  w.Insert("INSTELLING", {{"IS_ID", Int(1)},
                          {"IS_CODE", Text("LIN")},
                          {"IS_NAAMGEBRUIKER", Text("CVO De Linde")},
                          {"IS_SCHOOL_FK", Int(1)},
                          {"IS_FLAGS", Int(2)},
                          {"IS_DUURLESUUR", Int(50)},
                          {"IS_STRAAT", Text("Lindelaan")},
                          {"IS_HUISNUMMER", Text("10")},
                          {"IS_GEMEENTE_FK", Int(1)},
                          {"IS_TELEFOON", Text("014 20 30 40")},
                          {"IS_EMAIL", Text("info@cvodelinde.example")}});
  w.Insert("INSTELLING", {{"IS_ID", Int(2)},
                          {"IS_CODE", Text("HOR")},
                          {"IS_NAAMGEBRUIKER", Text("CVO Horizon")},
                          {"IS_SCHOOL_FK", Int(2)},
                          {"IS_FLAGS", Int(0)},
                          {"IS_DUURLESUUR", Int(50)},
                          {"IS_STRAAT", Text("Havenstraat")},
                          {"IS_HUISNUMMER", Text("17")},
                          {"IS_GEMEENTE_FK", Int(3)},
                          {"IS_TELEFOON", Text("09 210 32 10")},
                          {"IS_EMAIL", Text("info@cvohorizon.example")}});

  // Institution lists: free-field captions and free parameter values.
  for (int is = 1; is <= 2; ++is) {
    // The class screen's captions are named after its labels: five texts, four dates and the
    // five parameters.
    const char* const klasVelden[][2] = {
        {"VELD1", "Klasverantwoordelijke"}, {"VELD2", "Lokaalsleutel"},
        {"VELD3", "Vrij veld 3"},           {"VELD4", "Vrij veld 4"},
        {"VELD5", "Vrij veld 5"},           {"DAT1", "Infoavond"},
        {"DAT2", "Vrije datum 2"},          {"DAT3", "Vrije datum 3"},
        {"DAT4", "Vrije datum 4"},          {"PARM1", "Doelgroep"},
        {"PARM2", "Vrije parameter 2"},     {"PARM3", "Vrije parameter 3"},
        {"PARM4", "Vrije parameter 4"},     {"PARM5", "Vrije parameter 5"}};
    for (const auto& [code, caption] : klasVelden) s.Param("KLVVC", code, caption, is);
    // The module variant screen names the label of each free field by its code.
    const char* const imvVelden[][2] = {
        {"VELD1", "Cursuscode partner"}, {"VELD2", "Vrij veld 2"},
        {"VELD3", "Vrij veld 3"},        {"VELD4", "Vrij veld 4"},
        {"VELD5", "Vrij veld 5"},        {"PARM1", "Doelpubliek"},
        {"PARM2", "Vrije parameter 2"},  {"PARM3", "Vrije parameter 3"},
        {"PARM4", "Vrije parameter 4"},  {"DATUM1", "Infosessie"},
        {"DATUM2", "Vrije datum 2"}};
    for (const auto& [code, caption] : imvVelden) s.Param("IMVVC", code, caption, is);
    // The lesson lists name the label of each free field by its code.
    const char* const lessonFields[] = {"Opmerking", "Thema", "Materiaal", "Uitstap", "Extra"};
    for (int n = 1; n <= 5; ++n) {
      s.Param("LMVVC", "VELD" + std::to_string(n), lessonFields[n - 1], is);
    }
    for (int n = 1; n <= 5; ++n) {
      std::string type = "KLVP" + std::to_string(n);
      s.Param(type, "A", "Waarde A van klasparameter " + std::to_string(n), is);
      s.Param(type, "B", "Waarde B van klasparameter " + std::to_string(n), is);
    }
    for (int n = 1; n <= 4; ++n) {
      std::string type = "IMVP" + std::to_string(n);
      s.Param(type, "A", "Waarde A van moduleparameter " + std::to_string(n), is);
      s.Param(type, "B", "Waarde B van moduleparameter " + std::to_string(n), is);
    }
    s.Param("TPCP", "COORD", "Coördinator", is, "+");
    s.Param("TPCP", "ADMIN", "Administratief medewerker", is, "-");
    s.Param("TPKP", "?", "Onbepaald", is);
    s.Param("TPKP", "KLAS", "Klascontactpersoon", is);
    s.Param("TPKP", "STAGE", "Stagebegeleider", is);
  }

  for (int y = s.year - 2; y <= s.year + 2; ++y) {
    w.Insert("SCHOOLJAAR",
             {{"SJ_ID", Int(y - s.year + 3)},
              {"SJ_CODE", Text(std::to_string(y))},
              {"SJ_OMSCHRIJVING", Text(std::to_string(y) + "-" + std::to_string(y + 1))},
              {"SJ_GELDIGVAN", Text(Day(y, 9, 1))},
              {"SJ_GELDIGTOT", Text(Day(y + 1, 8, 31))},
              {"SJ_GELDIGEXT", Text(Day(y + 1, 9, 30))}});
  }

  // Davinci locations (two per centre), their official lesson places, the centres' locations,
  // rooms and own lesson places.
  const char* const streets[] = {"Kerkstraat",   "Stationsplein", "Molenweg",
                                 "Schoolstraat", "Dorpsstraat",   "Beukenlaan"};
  int volp = 1;
  for (int vvp = 1; vvp <= 4; ++vvp) {
    int school = (vvp + 1) / 2;
    w.Insert("VWOVESTIGINGSPLAATS",
             {{"VVP_ID", Int(vvp)},
              {"VVP_SCHOOL_FK", Int(school)},
              {"VVP_CODE", Text("V" + std::to_string(100 + vvp))},
              {"VVP_GEOGRAFIE", Text(std::string("Vestiging ") + kMunicipalities[vvp * 2 - 1][1])},
              {"VVP_AANVANGSDATUM", Text(Day(2010, 9, 1))},
              {"VVP_GEANNULEERD", Text("-")}});
    for (int n = 0; n < 3; ++n, ++volp) {
      char code[8];
      std::snprintf(code, sizeof code, "%03d", 10 * vvp + n);
      w.Insert("VWOOFFLESPLAATS",
               {{"VOLP_ID", Int(volp)},
                {"VOLP_VWOVESTIGINGSPLAATS_FK", Int(vvp)},
                {"VOLP_CODE", Text(code)},
                {"VOLP_NAAM", Text(std::string("Lesplaats ") + streets[(vvp + n) % 6] + " " +
                                   kMunicipalities[vvp * 2 - 2][1])},
                {"VOLP_STRAAT", Text(streets[(vvp + n) % 6])},
                {"VOLP_HUISNUMMER", Text(std::to_string(3 + 11 * n))},
                {"VOLP_BUSNUMMER", n == 2 ? Text("b") : Variant()},
                {"VOLP_CRABHUISNUMMER", Text(std::to_string(40000000 + volp * 137))},
                {"VOLP_GEMEENTE_FK", Int(vvp * 2 - 1)},
                {"VOLP_AANVANGSDATUM", Text(Day(2010, 9, 1))},
                {"VOLP_GEANNULEERD", Text(n == 2 && vvp == 2 ? "+" : "-")},
                {"VOLP_INSCHRIJFPLAATS", Text(n == 0 ? "+" : "-")},
                {"VOLP_TYPE_FKP", Int(s.params[n == 0 ? "VOLPTYPE/HOOFD" : "VOLPTYPE/NEVEN"])}});
    }
  }
  const char* const locations[][2] = {
      {"HFD", "Hoofdschool"}, {"NRD", "Campus Noord"}, {"ZUD", "Campus Zuid"}};
  int room = 1;
  for (int is = 1; is <= 2; ++is) {
    for (int n = 0; n < 3; ++n) {
      int vp = (is - 1) * 3 + n + 1;
      int vvp = (is - 1) * 2 + (n < 2 ? 1 : 2);
      s.geographyOfLocation[vp] = vvp;
      w.Insert("VESTIGINGSPLAATS", {{"VP_ID", Int(vp)},
                                    {"VP_INSTELLING_FK", Int(is)},
                                    {"VP_CODE", Text(locations[n][0])},
                                    {"VP_NAAM", Text(locations[n][1])},
                                    {"VP_STRAAT", Text(streets[n])},
                                    {"VP_HUISNUMMER", Text(std::to_string(5 + n))},
                                    {"VP_GEMEENTE_FK", Int((is - 1) * 2 + 1 + n % 2)},
                                    {"VP_VWOVESTIGINGSPLAATS_FK", Int(vvp)}});
      for (int r = 0; r < 4; ++r, ++room) {
        char code[16];
        std::snprintf(code, sizeof code, "%c%02d", 'A' + n, r + 1);
        w.Insert("LOKAAL", {{"LK_ID", Int(room)},
                            {"LK_VESTIGINGSPLAATS_FK", Int(vp)},
                            {"LK_CODE", Text(code)},
                            {"LK_OMSCHRIJVING", Text(r == 3 ? "Computerklas" : "Leslokaal")},
                            {"LK_PLAATSEN", Int(r == 3 ? 16 : 24)}});
      }
      // The location's own lesson place, tied to the first official place of its Davinci
      // location and carrying its number.
      int official = (vvp - 1) * 3 + 1;
      w.Insert("VWOLESPLAATS",
               {{"VLP_ID", Int(vp)},
                {"VLP_INSTELLING_FK", Int(is)},
                {"VLP_NUMMER", Int(10 * vvp)},
                {"VLP_CRABCODE", Text(std::to_string(40000000 + official * 137))},
                {"VLP_OMSCHRIJVING", Text(std::string(locations[n][1]) + " lesplaats")},
                {"VLP_STRAAT", Text(streets[n])},
                {"VLP_STRAATNR", Text(std::to_string(5 + n))},
                {"VLP_GEMEENTE_FK", Int((is - 1) * 2 + 1 + n % 2)},
                {"VLP_VESTIGINGSPLAATS_FK", Int(vp)},
                {"VLP_TYPERECORD", Text("U")},
                {"VLP_VWOOFFLESPLAATS_FK", Int(official)},
                {"VLP_VERANDERDDOOR", Int(1)},
                {"VLP_VERANDERDOP", Text(kChangedOn)}});
    }
  }
}

void SeedStaffAndUsers(Seed& s) {
  Writer& w = s.w;
  for (int ps = 1; ps <= 24; ++ps) {
    const char* surname = kSurnames[(ps * 5) % 12];
    const char* first = kFirstNames[(ps * 7) % 12];
    char code[12], stamboek[12], insz[12];
    std::snprintf(code, sizeof code, "%c%c%02d", surname[0], first[0], ps);
    std::snprintf(stamboek, sizeof stamboek, "1%010d", 4711 * ps);
    std::snprintf(insz, sizeof insz, "%02d%02d%02d%03d%02d", 60 + ps, 1 + ps % 12, 1 + ps % 28,
                  100 + ps, ps % 97);
    std::string mail = std::string(first) + "." + std::to_string(ps) + "@personeel.example";
    for (char& c : mail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    w.Insert("PERSONEEL", {{"PS_ID", Int(ps)},
                           {"PS_CODE", Text(code)},
                           {"PS_NAAM", Text(surname)},
                           {"PS_VOORNAAM", Text(first)},
                           {"PS_STAMBOEKNUMMER", Text(stamboek)},
                           {"PS_RIJKSREGISTERNUMMER", Text(insz)},
                           {"PS_EMAIL", Text(mail)},
                           {"PS_FLAGS", Int(0)}});
    bool ended = ps % 7 == 0;
    w.Insert("DIENSTVERBAND", {{"DV_ID", Int(ps)},
                               {"DV_PERSONEEL_FK", Int(ps)},
                               {"DV_INSTELLING_FK", Int(1 + ps % 2)},
                               {"DV_BEGINDATUM", Text(Day(2012 + ps % 6, 9, 1))},
                               {"DV_EINDDATUM", ended ? Text(Day(s.year - 1, 6, 30)) : Variant()},
                               {"DV_ACTIEF", Text(ended ? "-" : "+")}});
  }
  w.Insert("GEBRUIKER", {{"GB_ID", Int(1)},
                         {"GB_LOGIN", Text("admin")},
                         {"GB_NAAM", Text("Beheerder")},
                         {"GB_FLAGS", Int(1)}});
  w.Insert("GEBRUIKER", {{"GB_ID", Int(2)},
                         {"GB_LOGIN", Text("demo")},
                         {"GB_NAAM", Text("Demogebruiker")},
                         {"GB_PERSONEEL_FK", Int(2)},
                         {"GB_FLAGS", Int(0)}});
  const std::pair<const char*, int> rights[] = {{"TBrowseVWOStructInstellingForm", 1},
                                                {"TBrowseVWOInstellingStructHulpschermenForm", 1},
                                                {"TBrowseVWOStructInstellingDavinciForm", 1},
                                                {"TVWOAfwezigheidsCodesForm", 15},
                                                {"TVWOKBIContactpersonenForm", 15},
                                                {"TVWOLesplaatsenForm", 15},
                                                {"TVWOMaterialenForm", 15},
                                                {"TVWOKlasForm", 7},
                                                {"TVWOFicheKlasForm", 7},
                                                {"TVWOKlasCPForm", 15},
                                                {"TVWOKlasMemoForm", 15},
                                                {"TVWOIngModuleVariantForm", 7},
                                                {"TVWOIngModuleVarLessenForm", 7},
                                                {"TVWOIngModuleMaterialenForm", 15},
                                                {"TVWOIngModuleVarEindtermenForm", 15},
                                                {"TVWOIngModuleCompetentiesForm", 15},
                                                {"TVWOIngOpleidingsVariantForm", 15},
                                                {"TVWOIngOpleidingsVariantVestForm", 15},
                                                {"TVWOIngmodulesForm", 15},
                                                {"TVWOSchoolModuleForm", 1},
                                                {"TVWOModuleVoorvereistenForm", 15},
                                                {"TVWOSchoolModuleGroepForm", 15},
                                                {"TVWOSchoolModulegroepDetailsForm", 15},
                                                {"TVWOSchoolModuleGroepVoorVereistenForm", 15},
                                                {"TVWOKlasLesMomentenUitReceptForm", 1},
                                                {"TVWOVerwerkLesmomentenForm", 1},
                                                {"TVWOLesmomentenToMemoInGroepForm", 1},
                                                {"TVWOKlasLesmomentenForm", 7},
                                                {"TVWOCheckAantalLesmomentenForm", 1}};
  int id = 1;
  for (const auto& [form, bits] : rights) {
    w.Insert("GEBRUIKERRECHT", {{"GR_ID", Int(id++)},
                                {"GR_GEBRUIKER_FK", Int(2)},
                                {"GR_FORMKLASSE", Text(form)},
                                {"GR_RECHTEN", Int(bits)}});
  }
  w.Insert("DBPARAM", {{"DBP_ID", Int(1)},
                       {"DBP_NAAM", Text("ALGEMENEREKENINGEN")},
                       {"DBP_WAARDE", Text("+")},
                       {"DBP_TYPE", Text("Boolean")}});
  w.Insert("DBPARAM", {{"DBP_ID", Int(2)},
                       {"DBP_NAAM", Text("SITENAAM")},
                       {"DBP_WAARDE", Text("kavel demo")},
                       {"DBP_TYPE", Text("String")}});
}

void SeedInstitutionLists(Seed& s) {
  Writer& w = s.w;
  // Absence codes for the first centre only: the second one is offered the standard codes.
  struct Code {
    const char* code;
    const char* description;
    int32_t colour;
    const char* status;
  };
  const Code codes[] = {{"X", "Aanwezig", static_cast<int32_t>(0xFF000005u), "AANWEZIG"},
                        {"L", "Te laat", 0x0000FFFF, "AANWEZIG"},
                        {"A", "Afwezig", 0x000000FF, "AFWEZIG"},
                        {"V", "Verwittigd afwezig", 0x004080FF, "VERANTW_AFWEZIG"}};
  int id = 1;
  for (const Code& c : codes) {
    int status = s.params[std::string("VWPA/") + c.status];
    w.Insert("VWOAFWEZIGHEIDSCODE", {{"VAC_ID", Int(id++)},
                                     {"VAC_INSTELLING_FK", Int(1)},
                                     {"VAC_CODE", Text(c.code)},
                                     {"VAC_OMSCHRIJVING", Text(c.description)},
                                     {"VAC_KLEUR", Int(c.colour)},
                                     {"VAC_PARTICIPATIESTATUS_FK", Int(status)},
                                     {"VAC_PARTICIPATIESTATUSBEV_FK", Int(status)},
                                     {"VAC_FLAGS", Int(0)},
                                     {"VAC_VERANDERDDOOR", Int(1)},
                                     {"VAC_VERANDERDOP", Text(kChangedOn)}});
  }

  w.Insert("KBICONTACTPERSOON", {{"KBCP_ID", Int(1)},
                                 {"KBCP_INSTELLING_FK", Int(1)},
                                 {"KBCP_NAAM", Text(kSurnames[(3 * 5) % 12])},
                                 {"KBCP_VOORNAAM", Text(kFirstNames[(3 * 7) % 12])},
                                 {"KBCP_INSZ", Text("63040410303")},
                                 {"KBCP_TELEFOON", Text("014 20 30 41")},
                                 {"KBCP_EMAIL", Text("kbi@cvodelinde.example")},
                                 {"KBCP_FLAGS", Int(0)},
                                 {"KBCP_PERSONEEL_FK", Int(3)},
                                 {"KBCP_VERANDERDDOOR", Int(1)},
                                 {"KBCP_VERANDERDOP", Text(kChangedOn)}});
  w.Insert("KBICONTACTPERSOON", {{"KBCP_ID", Int(2)},
                                 {"KBCP_INSTELLING_FK", Int(1)},
                                 {"KBCP_NAAM", Text("Stevens")},
                                 {"KBCP_VOORNAAM", Text("Mira")},
                                 {"KBCP_INSZ", Text("75120822418")},
                                 {"KBCP_TELEFOON", Text("0470 12 34 56")},
                                 {"KBCP_EMAIL", Text("mira.stevens@partner.example")},
                                 {"KBCP_FLAGS", Int(0)},
                                 {"KBCP_VERANDERDDOOR", Int(1)},
                                 {"KBCP_VERANDERDOP", Text(kChangedOn)}});

  const std::pair<const char*, const char*> materials[] = {{"BOEKNT2", "Cursusboek Nederlands"},
                                                           {"WERKBNT2", "Werkboek Nederlands"},
                                                           {"USBSTICK", "USB-stick 16 GB"},
                                                           {"SCHORT", "Keukenschort"},
                                                           {"REKENMAC", "Rekenmachine"}};
  id = 1;
  for (int is = 1; is <= 2; ++is) {
    for (int m = 0; m < 5; ++m) {
      const char* account = m == 4 ? "?" : (m < 2 ? "701000" : "702000");
      w.Insert("VWOMATERIAAL",
               {{"VWM_ID", Int(id++)},
                {"VWM_INSTELLING_FK", Int(is)},
                {"VWM_CODE", Text(materials[m].first)},
                {"VWM_OMSCHRIJVING", Text(materials[m].second)},
                {"VWM_PRIJS", Variant(Currency::FromRaw((1250 + 975 * m + 100 * is) * 100))},
                {"VWM_WEBTEKST", m == 0 ? Text("Verplicht vanaf de eerste les.") : Variant()},
                {"VWM_FLAGS", Int(m == 2 ? 9 : 8)},
                {"VWM_ZEVENREKENING_FK", Int(s.params[std::string("ALREK/") + account])},
                {"VWM_VERANDERDDOOR", Int(1)},
                {"VWM_VERANDERDOP", Text(kChangedOn)}});
    }
  }
}

void SeedModules(Seed& s) {
  Writer& w = s.w;
  for (int m = 0; m < kModuleCount; ++m) {
    w.Insert("VWOMODULE", {{"VOM_ID", Int(m + 1)},
                           {"VOM_CODE", Text(kModules[m].code)},
                           {"VOM_OMSCHRIJVING", Text(kModules[m].description)},
                           {"VOM_GEANNULEERD", Text("-")}});
    for (int v = 0; v < 2; ++v) {
      std::string code = std::string(kModules[m].code).substr(0, 7) + static_cast<char>('A' + v);
      w.Insert("VWOMODULEVARIANT", {{"VMV_ID", Int(ModuleVariantId(m, v))},
                                    {"VMV_MODULE_FK", Int(m + 1)},
                                    {"VMV_CODE", Text(code)},
                                    {"VMV_LESTIJDENINSCHRIJVINGSGELD", Int(kModules[m].hours)},
                                    {"VMV_LESTIJDENORGANISATIE", Int(kModules[m].hours + 20 * v)},
                                    {"VMV_STUDIEPUNTEN", Int(kModules[m].hours / 20)},
                                    {"VMV_GEANNULEERD", Text("-")}});
    }
  }
}

void SeedClasses(Seed& s) {
  Writer& w = s.w;
  // Each centre: six classes, three per semester, two module variants each, one evening or
  // morning lesson a week.
  const int y = s.year;
  const TDateTime semesters[2][2] = {{EncodeDate(y, 9, 15), EncodeDate(y + 1, 1, 31)},
                                     {EncodeDate(y + 1, 2, 3), EncodeDate(y + 1, 6, 27)}};
  // One open class per centre for the working year; the classes at its main location belong
  // to it.
  for (int is = 1; is <= 2; ++is) {
    w.Insert("VWOOPENKLAS", {{"VOK_ID", Int(is)},
                             {"VOK_INSTELLING_FK", Int(is)},
                             {"VOK_CODE", Text(std::string(is == 1 ? "LIN" : "HOR") + "-OPEN")},
                             {"VOK_OMSCHRIJVING", Text("Open leercentrum")},
                             {"VOK_GELDIGVAN", Text(Day(y, 9, 1))},
                             {"VOK_GELDIGTOT", Text(Day(y + 1, 6, 30))},
                             {"VOK_VERANDERDDOOR", Int(1)},
                             {"VOK_VERANDERDOP", Text(kChangedOn)}});
  }
  int klas = 1, imv = 1, les = 1;
  for (int is = 1; is <= 2; ++is) {
    for (int c = 0; c < 6; ++c, ++klas) {
      int semester = c / 3;
      int location = (is - 1) * 3 + c % 3 + 1;
      int module = (c + is) % kModuleCount;
      TDateTime from = semesters[semester][0], to = semesters[semester][1];
      std::string code = std::string(is == 1 ? "LIN-" : "HOR-") + kModules[module].code + "-" +
                         std::to_string(semester + 1);
      int flags = 0x800 | (is == 1 ? 0x200000 : 0);
      w.Insert("VWOKLAS", {{"VWK_ID", Int(klas)},
                           {"VWK_CODE", Text(code)},
                           {"VWK_OMSCHRIJVING", Text(kModules[module].description)},
                           {"VWK_INSTELLING_FK", Int(is)},
                           {"VWK_VESTIGINGSPLAATS_FK", Int(location)},
                           {"VWK_STANDAARDLOKAAL_FK", Int((location - 1) * 4 + 1 + c % 3)},
                           {"VWK_VAN", Text(DateToSql(from))},
                           {"VWK_TOT", Text(DateToSql(to))},
                           {"VWK_MAXLEERLINGEN", Int(20)},
                           {"VWK_VWOOPENKLAS_FK", c % 3 == 0 ? Int(is) : Variant()},
                           {"VWK_FLAGS", Int(flags)},
                           {"VWK_VERANDERDDOOR", Int(1)},
                           {"VWK_VERANDERDOP", Text(kChangedOn)}});
      DemoClass& facts = s.classes.emplace_back(DemoClass{klas, is, location, module, {}});
      for (int k = 0; k < 2; ++k, ++imv) {
        int variant = ModuleVariantId(module, k);
        int weekday = 1 + (c + k) % 4;  // Monday .. Thursday
        bool evening = (c + k) % 2 == 0;
        int dayBit = evening ? 14 + weekday - 1 : weekday - 1;
        int teacher = 2 * ((c + k + is) % 12) + (is == 1 ? 2 : 1);  // employed at the centre
        if (teacher % 7 == 0) teacher += 2;
        w.Insert("VWOINGMODULEVARIANT",
                 {{"IMV_ID", Int(imv)},
                  {"IMV_VWOKLAS_FK", Int(klas)},
                  {"IMV_VWOMODULEVARIANT_FK", Int(variant)},
                  {"IMV_AFKORTING",
                   Text(std::string(kModules[module].code).substr(0, 6) + std::to_string(k + 1))},
                  {"IMV_OMSCHRIJVING", Text(kModules[module].description)},
                  {"IMV_VAN", Text(DateToSql(from))},
                  {"IMV_TOT", Text(DateToSql(to))},
                  {"IMV_LESVAN", Text(DateToSql(from))},
                  {"IMV_LESTOT", Text(DateToSql(to))},
                  {"IMV_REGISTRATIEMOMENT", Text(DateToSql(from + 14))},
                  {"IMV_DAVINCIKLAAR", Text("-")},
                  {"IMV_LESDAGEN", Int(1LL << dayBit)},
                  {"IMV_LESGEVER_FK", Int(teacher)},
                  {"IMV_LESPLAATS_FK", Int(location)},
                  {"IMV_FINANCIERINGSBRON_FK", Int(s.params["VWFT/REG"])},
                  {"IMV_MAXLEERLINGEN", Int(20)},
                  {"IMV_LESTIJDENAFSTANDSONDERWIJS", Int(0)},
                  {"IMV_LESTIJDENDELIBERATIE", Int(0)},
                  {"IMV_LESTIJDENWERKPLEKLEREN", Int(0)},
                  {"IMV_FLAGS", Int(0)},
                  {"IMV_VERIFICATIESTATUS_FK", Int(s.params["VWVS/NIETGEVER"])},
                  {"IMV_AANTALLEERLINGEN", Int(8 + s.dice.Roll(12))},
                  {"IMV_VERANDERDDOOR", Int(1)},
                  {"IMV_VERANDERDOP", Text(kChangedOn)}});
        facts.moduleVariants.push_back({imv, variant, teacher});
        // Weekly lessons: evenings 18:30-21:30 (3.6 lesson times), mornings 09:00-12:20 (4).
        TDateTime day = from;
        while (DayOfTheWeek(day) != weekday) day = day + 1;
        for (; day <= to; day = day + 7, ++les) {
          w.Insert("VWOLES", {{"VWL_ID", Int(les)},
                              {"VWL_INGMODULEVARIANT_FK", Int(imv)},
                              {"VWL_DATUM", Text(DateToSql(day))},
                              {"VWL_VANUUR", Text(evening ? "18:30:00" : "09:00:00")},
                              {"VWL_TOTUUR", Text(evening ? "21:30:00" : "12:20:00")},
                              {"VWL_LESUREN", Variant(evening ? 3.6 : 4.0)},
                              {"VWL_LESGEVER_FK", Int(teacher)},
                              {"VWL_LOKAAL_FK", Int((location - 1) * 4 + 1 + c % 3)},
                              {"VWL_LESPLAATS_FK", Int(location)},
                              {"VWL_FLAGS", Int(0)},
                              {"VWL_TRIMESTER", Int(GetTrimester(day))},
                              {"VWL_VERANDERDDOOR", Int(1)},
                              {"VWL_VERANDERDOP", Text(kChangedOn)}});
        }
      }
    }
  }
}

}  // namespace demo

void SeedDemoData(Database& db, const DemoOptions& options) {
  {
    TransactionGuard transaction(db);
    demo::Seed seed(db, options.workingYear);
    demo::SeedReference(seed);
    demo::SeedStaffAndUsers(seed);
    demo::SeedInstitutionLists(seed);
    demo::SeedModules(seed);
    demo::SeedProgrammes(seed);
    demo::SeedModuleStructure(seed);
    demo::SeedClasses(seed);
    demo::SeedHolidays(seed);
    demo::SeedParticipations(seed);
    demo::SeedClassDetails(seed);
    demo::SeedCertificates(seed);
    demo::SeedDavinciLists(seed);
    demo::SeedDavinciRecords(seed);
    transaction.Commit();
  }
  SyncGenerators(db);
}

}  // namespace quil::server
