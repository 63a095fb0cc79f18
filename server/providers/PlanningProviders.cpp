// Providers of lesson planning: the planned lesson hours of organised module variants against
// the contact-teaching lesson times their module variants require.
//
// One row per organised module variant. IMV_TOTAALUREN is the sum of VWL_LESUREN of its lessons
// that take place (flag bit 1 clear) and are not distance moments (bit 3 clear).
// LESTIJDENCONTACTONDERWIJSORG is VMV_LESTIJDENORGANISATIE less the distance-teaching,
// deliberation and work-experience lesson times of the organised module variant (negative when
// those exceed the module's total); LESTIJDENCONTACTONDERWIJSINSG the same from
// VMV_LESTIJDENINSCHRIJVINGSGELD.
#include "server/providers/Provider.h"

namespace quil::server {

namespace {

std::string LesTijdenSql(const char* where) {
  return std::string(
             "SELECT I.IMV_ID, I.IMV_AFKORTING, M.VOM_CODE, M.VOM_OMSCHRIJVING, "
             "(SELECT COALESCE(SUM(L.VWL_LESUREN), 0) FROM VWOLES L "
             "  WHERE L.VWL_INGMODULEVARIANT_FK = I.IMV_ID AND (L.VWL_FLAGS & 2) = 0 "
             "  AND (L.VWL_FLAGS & 8) = 0) AS IMV_TOTAALUREN, "
             "CAST(ROUND(COALESCE(MV.VMV_LESTIJDENORGANISATIE, 0) - "
             "  I.IMV_LESTIJDENAFSTANDSONDERWIJS - I.IMV_LESTIJDENDELIBERATIE - "
             "  I.IMV_LESTIJDENWERKPLEKLEREN, 0) AS BIGINT) AS LESTIJDENCONTACTONDERWIJSORG, "
             "CAST(ROUND(COALESCE(MV.VMV_LESTIJDENINSCHRIJVINGSGELD, 0) - "
             "  I.IMV_LESTIJDENAFSTANDSONDERWIJS - I.IMV_LESTIJDENDELIBERATIE - "
             "  I.IMV_LESTIJDENWERKPLEKLEREN, 0) AS BIGINT) AS LESTIJDENCONTACTONDERWIJSINSG "
             "FROM VWOINGMODULEVARIANT I "
             "JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = I.IMV_VWOMODULEVARIANT_FK "
             "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK WHERE ") +
         where + " ORDER BY I.IMV_LESVAN, I.IMV_AFKORTING, I.IMV_ID";
}

const std::vector<FieldOverride> kLesTijdenFields = {
    {"IMV_TOTAALUREN", FieldType::Currency, 18, 3},
    {"LESTIJDENCONTACTONDERWIJSORG", FieldType::LargeInt, 0, 0},
    {"LESTIJDENCONTACTONDERWIJSINSG", FieldType::LargeInt, 0, 0}};

}  // namespace

void AddPlanningProviders(ProviderCatalogue& c) {
  c.Add({.name = "DSPVWOGetGeplandeIngModuleVarLestijden",
         .sql = LesTijdenSql("I.IMV_ID = :IMV_ID"),
         .params = {{"IMV_ID", FieldType::Integer}},
         .overrides = kLesTijdenFields});
  c.Add({.name = "DSPVWOGetGeplandeKlasLesTijden",
         .sql = LesTijdenSql("I.IMV_VWOKLAS_FK = :VWK_ID"),
         .params = {{"VWK_ID", FieldType::Integer}},
         .overrides = kLesTijdenFields});
}

}  // namespace quil::server
