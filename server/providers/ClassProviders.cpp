// Providers of classes, their organised module variants and their lessons.
#include <string>

#include "server/providers/Provider.h"

namespace quil::server {

namespace {

//! Every column of a class with the Davinci location of its location.
constexpr const char* kKlasSelect =
    "SELECT K.VWK_ID, K.VWK_CODE, K.VWK_OMSCHRIJVING, K.VWK_INSTELLING_FK, "
    "K.VWK_VESTIGINGSPLAATS_FK, K.VWK_STANDAARDLOKAAL_FK, K.VWK_VAN, K.VWK_TOT, "
    "K.VWK_MAXLEERLINGEN, K.VWK_VWOOPENKLAS_FK, K.VWK_FLAGS, "
    "K.VWK_KALENDEROMSCHRIJVING, K.VWK_OPMERKINGEN, K.VWK_VRIJVELD1, "
    "K.VWK_VRIJVELD2, K.VWK_VRIJVELD3, K.VWK_VRIJVELD4, K.VWK_VRIJVELD5, "
    "K.VWK_VRIJDATUM1, K.VWK_VRIJDATUM2, K.VWK_VRIJDATUM3, K.VWK_VRIJDATUM4, "
    "K.VWK_VRIJPARAM1_FKP, K.VWK_VRIJPARAM2_FKP, K.VWK_VRIJPARAM3_FKP, "
    "K.VWK_VRIJPARAM4_FKP, K.VWK_VRIJPARAM5_FKP, K.VWK_VERANDERDDOOR, "
    "K.VWK_VERANDERDOP, V.VP_VWOVESTIGINGSPLAATS_FK "
    "FROM VWOKLAS K JOIN VESTIGINGSPLAATS V ON V.VP_ID = K.VWK_VESTIGINGSPLAATS_FK ";

//! Every column of a lesson moment with its teacher's code and names.
constexpr const char* kLesSelect =
    "SELECT L.VWL_ID, L.VWL_INGMODULEVARIANT_FK, L.VWL_DATUM, L.VWL_VANUUR, "
    "L.VWL_TOTUUR, L.VWL_LESUREN, L.VWL_LESGEVER_FK, L.VWL_LOKAAL_FK, "
    "L.VWL_LESPLAATS_FK, L.VWL_FLAGS, L.VWL_TRIMESTER, L.VWL_DAVINCIID, "
    "L.VWL_VERANDERDDOOR, L.VWL_VERANDERDOP, L.VWL_VRIJVELD1, L.VWL_VRIJVELD2, "
    "L.VWL_VRIJVELD3, L.VWL_VRIJVELD4, L.VWL_VRIJVELD5, P.PS_CODE, P.PS_NAAM, "
    "P.PS_VOORNAAM FROM VWOLES L LEFT JOIN PERSONEEL P ON P.PS_ID = L.VWL_LESGEVER_FK ";

}  // namespace

void AddClassProviders(ProviderCatalogue& c) {
  // The classes of an institution that run during a period (any overlap with it).
  c.Add({.name = "DSPVWOKlas",
         .sql = std::string(kKlasSelect) +
                "WHERE K.VWK_INSTELLING_FK = :IS_ID AND K.VWK_VAN <= :EINDDATUM "
                "AND K.VWK_TOT >= :BEGINDATUM ORDER BY K.VWK_CODE",
         .params = {{"IS_ID", kInt}, {"BEGINDATUM", kDate}, {"EINDDATUM", kDate}},
         .updateTable = "VWOKLAS",
         .keyField = "VWK_ID"});

  // The classes of the institutions of a school that run during a period (any overlap), short:
  // the list the class job screens tick classes in.
  c.Add({.name = "DSPBrowseVWOKlas",
         .sql = "SELECT K.VWK_ID, K.VWK_CODE, K.VWK_OMSCHRIJVING, K.VWK_VAN, K.VWK_TOT "
                "FROM VWOKLAS K JOIN INSTELLING I ON I.IS_ID = K.VWK_INSTELLING_FK "
                "WHERE I.IS_SCHOOL_FK = :SC_ID AND K.VWK_VAN <= :EindDatum "
                "AND K.VWK_TOT >= :BeginDatum ORDER BY K.VWK_CODE, K.VWK_ID",
         .params = {{"SC_ID", kInt}, {"BeginDatum", kDate}, {"EindDatum", kDate}}});

  // One class, whatever its period.
  c.Add({.name = "DSPVWOKlasFiche",
         .sql = std::string(kKlasSelect) + "WHERE K.VWK_ID = :VWK_ID",
         .params = {{"VWK_ID", kInt}},
         .updateTable = "VWOKLAS",
         .keyField = "VWK_ID"});

  // The open classes of an institution valid during a period (an empty bound is open).
  c.Add({.name = "DSPSelectVWOOpenKlas",
         .sql = "SELECT VOK_ID, VOK_CODE, VOK_OMSCHRIJVING, VOK_GELDIGVAN, VOK_GELDIGTOT "
                "FROM VWOOPENKLAS WHERE VOK_INSTELLING_FK = :IS_ID "
                "AND (VOK_GELDIGVAN IS NULL OR VOK_GELDIGVAN <= :EINDDATUM) "
                "AND (VOK_GELDIGTOT IS NULL OR VOK_GELDIGTOT >= :BEGINDATUM) ORDER BY VOK_CODE",
         .params = {{"IS_ID", kInt}, {"BEGINDATUM", kDate}, {"EINDDATUM", kDate}}});

  // The organised module variants of a class, short: what the class screen collects ids from.
  c.Add({.name = "DSPSelectVWOKlasIngModVar",
         .sql = "SELECT I.IMV_ID, I.IMV_LESVAN, I.IMV_LESTOT, M.VOM_ID, M.VOM_CODE, "
                "M.VOM_OMSCHRIJVING FROM VWOINGMODULEVARIANT I "
                "JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = I.IMV_VWOMODULEVARIANT_FK "
                "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK "
                "WHERE I.IMV_VWOKLAS_FK = :VWK_ID ORDER BY I.IMV_LESVAN, I.IMV_ID",
         .params = {{"VWK_ID", kInt}}});

  // The class of an organised module variant, within one institution (the course number search).
  c.Add({.name = "DSPVWOZoekCursusNR",
         .sql = "SELECT K.VWK_ID, I.IMV_ID FROM VWOINGMODULEVARIANT I "
                "JOIN VWOKLAS K ON K.VWK_ID = I.IMV_VWOKLAS_FK "
                "WHERE I.IMV_ID = :IMV_ID AND K.VWK_INSTELLING_FK = :IS_ID",
         .params = {{"IMV_ID", kInt}, {"IS_ID", kInt}}});

  // The organised programme variants a class is linked to.
  c.Add({.name = "DSPVWOKlasOpleidingen",
         .sql = "SELECT L.VKO_ID, L.VKO_INGOPLEIDINGVARIANT_FK, L.VKO_KLAS_FK, "
                "L.VKO_VERANDERDDOOR, L.VKO_VERANDERDOP, O.VOO_CODE, O.VOO_OMSCHRIJVING, "
                "O.VOO_TRAJECT_FK, C.CIO_VAN, C.CIO_TOT, C.CIO_FLAGS, "
                "C.CIO_VWOVESTIGINGSPLAATS_FK, C.CIO_DAVINCIKLAAR FROM VWOKLASOPLEIDING L "
                "JOIN VWOINGOPLEIDINGSVARIANT C ON C.CIO_ID = L.VKO_INGOPLEIDINGVARIANT_FK "
                "JOIN VWOOPLEIDINGSVARIANT O ON O.VOO_ID = C.CIO_VWOOPLEIDINGSVARIANT_FK "
                "WHERE L.VKO_KLAS_FK = :VWK_ID ORDER BY O.VOO_CODE, L.VKO_ID",
         .params = {{"VWK_ID", kInt}},
         .updateTable = "VWOKLASOPLEIDING",
         .keyField = "VKO_ID"});

  // The organised programme variants taught at a location.
  c.Add({.name = "DSPSelectIngVWOOpleidingsVarVP",
         .sql = "SELECT C.CIO_ID, C.CIO_DAVINCIID, C.CIO_DAVINCIKLAAR, C.CIO_INSTELLING_FK, "
                "C.CIO_VAN, C.CIO_TOT, C.CIO_VWOOPLEIDINGSVARIANT_FK, O.VOO_CODE, "
                "O.VOO_OMSCHRIJVING, V.VIV_VWOINGOPLEIDINGSVARIANT_FK, "
                "V.VIV_VESTIGINGSPLAATS_FK, C.CIO_VWOVESTIGINGSPLAATS_FK, C.CIO_FLAGS, "
                "O.VOO_TRAJECT_FK, O.VOO_AANTALLESTIJDEN FROM VWOINGOPLVARVESTIGING V "
                "JOIN VWOINGOPLEIDINGSVARIANT C ON C.CIO_ID = V.VIV_VWOINGOPLEIDINGSVARIANT_FK "
                "JOIN VWOOPLEIDINGSVARIANT O ON O.VOO_ID = C.CIO_VWOOPLEIDINGSVARIANT_FK "
                "WHERE V.VIV_VESTIGINGSPLAATS_FK = :VP_ID ORDER BY O.VOO_CODE, C.CIO_VAN",
         .params = {{"VP_ID", kInt}}});

  // The memos of a class.
  c.Add({.name = "DSPVWOKlasMemo",
         .sql = "SELECT VKM_ID, VKM_VWOKLAS_FK, VKM_TYPE_FKP, VKM_OMSCHRIJVING, VKM_MEMO, "
                "VKM_VERANDERDDOOR, VKM_VERANDERDOP FROM VWOKLASMEMO "
                "WHERE VKM_VWOKLAS_FK = :VWK_ID ORDER BY VKM_ID",
         .params = {{"VWK_ID", kInt}},
         .updateTable = "VWOKLASMEMO",
         .keyField = "VKM_ID"});

  // The contact persons of a class.
  c.Add({.name = "DSPVWOKLASCP",
         .sql = "SELECT VKC_ID, VKC_VWOKLAS_FK, VKC_TYPE_FKP, VKC_PERSONEEL_FK, VKC_PERSOON, "
                "VKC_VERANDERDDOOR, VKC_VERANDERDOP FROM VWOKLASCP "
                "WHERE VKC_VWOKLAS_FK = :VWK_ID ORDER BY VKC_PERSOON, VKC_ID",
         .params = {{"VWK_ID", kInt}},
         .updateTable = "VWOKLASCP",
         .keyField = "VKC_ID"});

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
         .sql = std::string(kLesSelect) +
                "WHERE L.VWL_INGMODULEVARIANT_FK = :IMV_ID ORDER BY L.VWL_DATUM, L.VWL_VANUUR",
         .params = {{"IMV_ID", kInt}},
         .updateTable = "VWOLES",
         .keyField = "VWL_ID"});

  // The lesson moments of every organised module variant of a class, with their teacher.
  c.Add({.name = "DSPVWOKlasLessen",
         .sql = std::string(kLesSelect) +
                "JOIN VWOINGMODULEVARIANT I ON I.IMV_ID = L.VWL_INGMODULEVARIANT_FK "
                "WHERE I.IMV_VWOKLAS_FK = :VWK_ID ORDER BY L.VWL_DATUM, L.VWL_VANUUR, L.VWL_ID",
         .params = {{"VWK_ID", kInt}},
         .updateTable = "VWOLES",
         .keyField = "VWL_ID"});

  // The organised module variants of a class, as its lesson list chooses and checks them.
  c.Add({.name = "DSPSelectVWOIngModuleVarPerKlas",
         .sql = "SELECT I.IMV_ID, I.IMV_AFKORTING, I.IMV_VAN, I.IMV_TOT, I.IMV_LESVAN, "
                "I.IMV_LESTOT, I.IMV_AFGELASTOP, I.IMV_LESGEVER_FK, I.IMV_LESPLAATS_FK, "
                "I.IMV_LESDAGEN, I.IMV_FLAGS, I.IMV_DAVINCIID, I.IMV_DAVINCIKLAAR, I.IMV_URL, "
                "I.IMV_VWOKLAS_FK, I.IMV_VWOMODULEVARIANT_FK, MV.VMV_CODE, M.VOM_CODE, "
                "M.VOM_OMSCHRIJVING FROM VWOINGMODULEVARIANT I "
                "JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = I.IMV_VWOMODULEVARIANT_FK "
                "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK "
                "WHERE I.IMV_VWOKLAS_FK = :VWK_ID ORDER BY I.IMV_LESVAN, I.IMV_ID",
         .params = {{"VWK_ID", kInt}}});
}

}  // namespace quil::server
