// Providers of the Davinci calls of one object, as the calls dialog lists them: one per kind of
// key a screen passes. Each lists the calls newest first, with the object's Davinci id and state
// and the sender's name, and stores only what marking a call to be sent again changes: its
// state, attempts, next attempt and change stamps.
#include <string>

#include "host/data/DavinciCalls.h"
#include "server/providers/Provider.h"

namespace quil::server {

namespace {

constexpr FieldType kBig = FieldType::LargeInt;

std::string TypeIs(davinci::ObjectType type) {
  return "I.ID_TYPE = " + std::to_string(static_cast<int>(type));
}

//! The school of the institution in the key, for the keys that name an institution.
constexpr const char* kSchoolOfInstitution =
    "W.WC_SCHOOL_FK = (SELECT IS_SCHOOL_FK FROM INSTELLING WHERE IS_ID = :IS_ID)";

ProviderDef Calls(std::string name, const std::string& where, std::vector<ProviderParam> params) {
  return {.name = std::move(name),
          .sql =
              "SELECT W.WC_ID, W.WC_CALLTYPE, W.WC_CALLSTATUS, W.WC_CALLFOUTCODE, "
              "W.WC_EERSTECALL, W.WC_LAATSTECALL, W.WC_POGINGEN, W.WC_VOLGENDEPOGING, "
              "W.WC_FLAGS, W.WC_ZIDEZUZOID_FK, W.WC_SCHOOL_FK, W.WC_PERSONEEL_FK, W.WC_FOUT, "
              "W.WC_AANMAAKOP, W.WC_AANMAAKDOOR, W.WC_VERANDERDOP, W.WC_VERANDERDDOOR, "
              "I.ID_ID, I.ID_DAVINCIID, I.ID_TYPE, I.ID_DATA_FK, I.ID_STATUSOBJECT, "
              "P.PS_NAAM, P.PS_VOORNAAM "
              "FROM WEBSERVICECALL W JOIN ZIDEZUZOID I ON I.ID_ID = W.WC_ZIDEZUZOID_FK "
              "LEFT JOIN PERSONEEL P ON P.PS_ID = W.WC_PERSONEEL_FK "
              "WHERE " +
              where + " ORDER BY W.WC_AANMAAKOP DESC, W.WC_ID DESC",
          .params = std::move(params),
          .updateTable = "WEBSERVICECALL",
          .keyField = "WC_ID",
          .readOnlyFields = {"WC_CALLTYPE", "WC_CALLFOUTCODE", "WC_EERSTECALL", "WC_LAATSTECALL",
                             "WC_FLAGS", "WC_ZIDEZUZOID_FK", "WC_SCHOOL_FK", "WC_PERSONEEL_FK",
                             "WC_FOUT", "WC_AANMAAKOP", "WC_AANMAAKDOOR"}};
}

}  // namespace

void AddDavinciProviders(ProviderCatalogue& c) {
  using davinci::ObjectType;
  c.Add(Calls("DSPDavinciLes", TypeIs(ObjectType::Les) + " AND I.ID_DATA_FK = :VWL_ID",
              {{"VWL_ID", kInt}}));
  c.Add(Calls("DSPDavinciModuleVar",
              TypeIs(ObjectType::ModuleVariant) + " AND I.ID_DATA_FK = :IMV_ID",
              {{"IMV_ID", kInt}}));
  c.Add(Calls("DSPDavinciModuleVarCursisten",
              TypeIs(ObjectType::Cursist) + " AND I.ID_ID2 = :IMV_ID AND W.WC_SCHOOL_FK = :SC_ID",
              {{"IMV_ID", kInt}, {"SC_ID", kInt}}));
  c.Add(Calls("DSPDavinciKlas", TypeIs(ObjectType::Klas) + " AND I.ID_DATA_FK = :VWK_ID",
              {{"VWK_ID", kInt}}));
  // Whether anything of a class went to Davinci: the calls of the class, of its organised module
  // variants and of their lessons.
  c.Add(Calls("DSPDavinciKlasIMVLes",
              "((" + TypeIs(ObjectType::Klas) + " AND I.ID_DATA_FK = :VWK_ID) OR (" +
                  TypeIs(ObjectType::ModuleVariant) +
                  " AND I.ID_DATA_FK IN (SELECT IMV_ID FROM VWOINGMODULEVARIANT "
                  "WHERE IMV_VWOKLAS_FK = :VWK_ID)) OR (" +
                  TypeIs(ObjectType::Les) +
                  " AND I.ID_DATA_FK IN (SELECT L.VWL_ID FROM VWOLES L JOIN VWOINGMODULEVARIANT M "
                  "ON M.IMV_ID = L.VWL_INGMODULEVARIANT_FK WHERE M.IMV_VWOKLAS_FK = :VWK_ID)))",
              {{"VWK_ID", kInt}}));
  c.Add(Calls("DSPDavinciKlasCursisten",
              TypeIs(ObjectType::Cursist) + " AND I.ID_ID3 = :VWK_ID AND W.WC_SCHOOL_FK = :SC_ID",
              {{"VWK_ID", kInt}, {"SC_ID", kInt}}));
  c.Add(Calls(
      "DSPDavinciOpleidingsVar",
      TypeIs(ObjectType::OpleidingsVariant) + " AND I.ID_ID = :ID_ID AND W.WC_SCHOOL_FK = :SC_ID",
      {{"ID_ID", kBig}, {"SC_ID", kInt}}));
  c.Add(Calls("DSPDavinciRegistreeroverdrachten",
              TypeIs(ObjectType::Registreeroverdracht) +
                  " AND I.ID_ID = :ID_ID AND W.WC_SCHOOL_FK = :SC_ID",
              {{"ID_ID", kBig}, {"SC_ID", kInt}}));
  c.Add(
      Calls("DSPDavinciSyncModuleVar",
            TypeIs(ObjectType::ModuleVariant) + " AND I.ID_ID = :ID_ID AND " + kSchoolOfInstitution,
            {{"ID_ID", kBig}, {"IS_ID", kInt}}));
  c.Add(Calls("DSPDavinciSyncLessen",
              TypeIs(ObjectType::Les) + " AND I.ID_ID = :ID_ID AND " + kSchoolOfInstitution,
              {{"ID_ID", kBig}, {"IS_ID", kInt}}));
}

}  // namespace quil::server
