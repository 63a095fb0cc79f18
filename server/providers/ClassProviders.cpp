// Providers of classes, their organised module variants and their lessons.
#include "server/providers/Provider.h"

namespace quil::server {

void AddClassProviders(ProviderCatalogue& c) {
  // The classes of an institution that run during a period (any overlap with it).
  c.Add({.name = "DSPVWOKlas",
         .sql = "SELECT K.VWK_ID, K.VWK_CODE, K.VWK_OMSCHRIJVING, K.VWK_INSTELLING_FK, "
                "K.VWK_VESTIGINGSPLAATS_FK, K.VWK_STANDAARDLOKAAL_FK, K.VWK_VAN, K.VWK_TOT, "
                "K.VWK_MAXLEERLINGEN, K.VWK_VWOOPENKLAS_FK, K.VWK_FLAGS, "
                "K.VWK_KALENDEROMSCHRIJVING, K.VWK_OPMERKINGEN, K.VWK_VRIJVELD1, "
                "K.VWK_VRIJVELD2, K.VWK_VRIJVELD3, K.VWK_VRIJVELD4, K.VWK_VRIJVELD5, "
                "K.VWK_VRIJDATUM1, K.VWK_VRIJDATUM2, K.VWK_VRIJDATUM3, K.VWK_VRIJDATUM4, "
                "K.VWK_VRIJPARAM1_FKP, K.VWK_VRIJPARAM2_FKP, K.VWK_VRIJPARAM3_FKP, "
                "K.VWK_VRIJPARAM4_FKP, K.VWK_VRIJPARAM5_FKP, K.VWK_VERANDERDDOOR, "
                "K.VWK_VERANDERDOP, V.VP_VWOVESTIGINGSPLAATS_FK "
                "FROM VWOKLAS K JOIN VESTIGINGSPLAATS V ON V.VP_ID = K.VWK_VESTIGINGSPLAATS_FK "
                "WHERE K.VWK_INSTELLING_FK = :IS_ID AND K.VWK_VAN <= :EINDDATUM "
                "AND K.VWK_TOT >= :BEGINDATUM ORDER BY K.VWK_CODE",
         .params = {{"IS_ID", kInt}, {"BEGINDATUM", kDate}, {"EINDDATUM", kDate}},
         .updateTable = "VWOKLAS",
         .keyField = "VWK_ID"});

  // The organised module variants of a class with their module variant, teacher and the
  // totals of their lessons.
  c.Add({.name = "DSPVWOINGMODULEVARIANT",
         .sql = "SELECT I.*, MV.VMV_CODE, M.VOM_CODE, M.VOM_OMSCHRIJVING, "
                "MV.VMV_LESTIJDENINSCHRIJVINGSGELD, MV.VMV_LESTIJDENORGANISATIE, "
                "MV.VMV_STUDIEPUNTEN, P.PS_ID, P.PS_NAAM, P.PS_VOORNAAM, "
                "(SELECT COUNT(*) FROM VWOLES L WHERE L.VWL_INGMODULEVARIANT_FK = I.IMV_ID) "
                "  AS VWLT_ALESMOMENTEN, "
                "(SELECT COUNT(*) FROM VWOLES L WHERE L.VWL_INGMODULEVARIANT_FK = I.IMV_ID "
                "  AND (L.VWL_FLAGS & 8) <> 0) AS VWLT_AAFST, "
                "(SELECT COUNT(*) FROM VWOLES L WHERE L.VWL_INGMODULEVARIANT_FK = I.IMV_ID "
                "  AND (L.VWL_FLAGS & 8) = 0) AS VWLT_ANTAFST, "
                "(SELECT COALESCE(SUM(L.VWL_LESUREN), 0) FROM VWOLES L "
                "  WHERE L.VWL_INGMODULEVARIANT_FK = I.IMV_ID) AS VWLT_TOTLESUREN, "
                "(SELECT COALESCE(SUM(L.VWL_LESUREN), 0) FROM VWOLES L "
                "  WHERE L.VWL_INGMODULEVARIANT_FK = I.IMV_ID AND (L.VWL_FLAGS & 8) <> 0) "
                "  AS VWLT_TOTAFST, "
                "(SELECT COALESCE(SUM(L.VWL_LESUREN), 0) FROM VWOLES L "
                "  WHERE L.VWL_INGMODULEVARIANT_FK = I.IMV_ID AND (L.VWL_FLAGS & 8) = 0) "
                "  AS VWLT_TOTNTAFST "
                "FROM VWOINGMODULEVARIANT I "
                "JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = I.IMV_VWOMODULEVARIANT_FK "
                "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK "
                "LEFT JOIN PERSONEEL P ON P.PS_ID = I.IMV_LESGEVER_FK "
                "WHERE I.IMV_VWOKLAS_FK = :VWK_ID ORDER BY I.IMV_LESVAN, I.IMV_AFKORTING",
         .params = {{"VWK_ID", kInt}},
         .updateTable = "VWOINGMODULEVARIANT",
         .keyField = "IMV_ID",
         .readOnlyFields = {"IMV_AANTALLEERLINGEN"},
         .overrides = {{"VWLT_ALESMOMENTEN", FieldType::LargeInt, 0, 0},
                       {"VWLT_AAFST", FieldType::LargeInt, 0, 0},
                       {"VWLT_ANTAFST", FieldType::LargeInt, 0, 0},
                       {"VWLT_TOTLESUREN", FieldType::Currency, 18, 3},
                       {"VWLT_TOTAFST", FieldType::Currency, 18, 3},
                       {"VWLT_TOTNTAFST", FieldType::Currency, 18, 3}}});

  // The lesson moments of one organised module variant, with their teacher.
  c.Add({.name = "DSPVWOIngModuleVarLessen",
         .sql = "SELECT L.VWL_ID, L.VWL_INGMODULEVARIANT_FK, L.VWL_DATUM, L.VWL_VANUUR, "
                "L.VWL_TOTUUR, L.VWL_LESUREN, L.VWL_LESGEVER_FK, L.VWL_LOKAAL_FK, "
                "L.VWL_LESPLAATS_FK, L.VWL_FLAGS, L.VWL_TRIMESTER, L.VWL_DAVINCIID, "
                "L.VWL_VERANDERDDOOR, L.VWL_VERANDERDOP, L.VWL_VRIJVELD1, L.VWL_VRIJVELD2, "
                "L.VWL_VRIJVELD3, L.VWL_VRIJVELD4, L.VWL_VRIJVELD5, P.PS_CODE, P.PS_NAAM, "
                "P.PS_VOORNAAM FROM VWOLES L LEFT JOIN PERSONEEL P ON P.PS_ID = L.VWL_LESGEVER_FK "
                "WHERE L.VWL_INGMODULEVARIANT_FK = :IMV_ID ORDER BY L.VWL_DATUM, L.VWL_VANUUR",
         .params = {{"IMV_ID", kInt}},
         .updateTable = "VWOLES",
         .keyField = "VWL_ID"});
}

}  // namespace quil::server
