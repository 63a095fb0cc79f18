// Providers of lesson planning: the planned lesson hours of organised module variants against
// the contact-teaching lesson times their module variants require.
//
// One row per organised module variant. IMV_TOTAALUREN is the sum of VWL_LESUREN of its lessons
// that take place (flag bit 1 clear) and are not distance moments (bit 3 clear).
// LESTIJDENCONTACTONDERWIJSORG is VMV_LESTIJDENORGANISATIE less the distance-teaching,
// deliberation and work-experience lesson times of the organised module variant (negative when
// those exceed the module's total); LESTIJDENCONTACTONDERWIJSINSG the same from
// VMV_LESTIJDENINSCHRIJVINGSGELD.
//
// DSPBrowseVWOCheckLestijden shows the rows job 320 wrote for a job id under the names of the
// planned lesson count check (slots: Job320.cpp).
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

// Job 320's rows. The percentage comes in hundredths; what is still to be planned is 92 percent
// of the required lesson times less the planned ones, never below nothing.
constexpr const char* kCheckLestijdenSql =
    "SELECT J.J_ID, J.J_INTEGER1 AS VKL_ID, J.J_INTEGER2 AS IMV_ID, J.J_INTEGER3 AS VOM_ID, "
    "J.J_TEXT1 AS VKL_CODE, J.J_EXTRALONGTEXT1 AS VKL_OMSCHRIJVING, "
    "J.J_EXTRALONGTEXT2 AS VOM_OMSCHRIJVING, J.J_CURRENCY1 AS IMV_TOTAALUREN, "
    "J.J_INTEGER4 AS IMV_VEREISTEUREN, J.J_BIGINT1 / 100.0 AS IMV_PERCENTAGE, "
    "CASE WHEN J.J_INTEGER4 * 92 > J.J_CURRENCY1 * 100 "
    "  THEN ROUND((J.J_INTEGER4 * 92 - J.J_CURRENCY1 * 100) / 100.0, 2) ELSE 0 END "
    "  AS IMV_NOGTEPLANNEN, "
    "J.J_DATE1 AS IMV_LESVAN, J.J_DATE2 AS IMV_LESTOT, J.J_DATE3 AS IMV_REGISTRATIEMOMENT, "
    "J.J_INTEGER5 AS IMV_LESTIJDENAFSTANDSONDERWIJS, J.J_INTEGER6 AS VMV_LESTIJDENORGANISATIE, "
    "J.J_DATE4 AS IMV_AFGELASTOP "
    "FROM JOBDATA J WHERE J.J_JOBID = :JOBID AND J.J_JOBTYPE = 320 AND J.J_TYPERECORD = 0 "
    "ORDER BY J.J_ID";

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
  c.Add({.name = "DSPBrowseVWOCheckLestijden",
         .sql = kCheckLestijdenSql,
         .params = {{"JOBID", FieldType::Integer}},
         .overrides = {{"IMV_TOTAALUREN", FieldType::Currency, 18, 2},
                       {"IMV_VEREISTEUREN", FieldType::Currency, 18, 2},
                       {"IMV_PERCENTAGE", FieldType::Currency, 18, 2},
                       {"IMV_NOGTEPLANNEN", FieldType::Currency, 18, 2},
                       {"IMV_AFGELASTOP", FieldType::Date, 0, 0}}});
}

}  // namespace quil::server
