// Providers of the organised module variant screen and its cancellation dialog: the module
// variants a class may organise, the class's last organised module variant, the Doc 3B rows, the
// organised subjects, the Davinci contact person, one web-service call, and the Davinci records
// that hang from an organised module variant.
#include "host/data/DavinciCalls.h"
#include "server/providers/Provider.h"

namespace quil::server {

namespace {

using davinci::ObjectType;

std::string Kind(ObjectType type) {
  return std::to_string(static_cast<int>(type));
}

}  // namespace

void AddModuleVariantProviders(ProviderCatalogue& c) {
  // The module variants a class may organise: those of the programme variants organised at a
  // location of the class's institution during the class's period, one row per module variant
  // and location (VP_ID). A module variant stays offered while one of its programmes still has
  // it (MIO_GEANNULEERD is the highest of its programmes' marks: '-' sorts after '+').
  c.Add({.name = "DSPSelectVWOBevoegdeModuleVariant",
         .sql = "SELECT MV.VMV_ID, MV.VMV_CODE, M.VOM_CODE, M.VOM_OMSCHRIJVING, "
                "MV.VMV_LESTIJDENINSCHRIJVINGSGELD, MV.VMV_LESTIJDENORGANISATIE, "
                "MV.VMV_STARTDATUMNT2TESTPERIODE, MV.VMV_STUDIEPUNTEN, "
                "VIV.VIV_VESTIGINGSPLAATS_FK AS VP_ID, MAX(T.P_CODE) AS IMV_TRAJECT, "
                "MV.VMV_GEANNULEERD, M.VOM_GEANNULEERD, MAX(MIO.MIO_GEANNULEERD) AS "
                "MIO_GEANNULEERD "
                "FROM VWOKLAS K "
                "JOIN VESTIGINGSPLAATS VP ON VP.VP_INSTELLING_FK = K.VWK_INSTELLING_FK "
                "JOIN VWOINGOPLVARVESTIGING VIV ON VIV.VIV_VESTIGINGSPLAATS_FK = VP.VP_ID "
                "JOIN VWOINGOPLEIDINGSVARIANT CIO ON CIO.CIO_ID = "
                "  VIV.VIV_VWOINGOPLEIDINGSVARIANT_FK "
                "  AND CIO.CIO_VAN <= K.VWK_TOT AND CIO.CIO_TOT >= K.VWK_VAN "
                "JOIN VWOOPLEIDINGSVARIANT O ON O.VOO_ID = CIO.CIO_VWOOPLEIDINGSVARIANT_FK "
                "JOIN VWOMODULEINOPLEIDING MIO ON MIO.MIO_VWOOPLEIDINGSVARIANT_FK = O.VOO_ID "
                "JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = MIO.MIO_VWOMODULEVARIANT_FK "
                "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK "
                "LEFT JOIN PARAM T ON T.P_ID = O.VOO_TRAJECT_FK "
                "WHERE K.VWK_ID = :VWK_ID "
                "GROUP BY MV.VMV_ID, MV.VMV_CODE, M.VOM_CODE, M.VOM_OMSCHRIJVING, "
                "MV.VMV_LESTIJDENINSCHRIJVINGSGELD, MV.VMV_LESTIJDENORGANISATIE, "
                "MV.VMV_STARTDATUMNT2TESTPERIODE, MV.VMV_STUDIEPUNTEN, "
                "VIV.VIV_VESTIGINGSPLAATS_FK, MV.VMV_GEANNULEERD, M.VOM_GEANNULEERD "
                "ORDER BY M.VOM_CODE, MV.VMV_CODE, VIV.VIV_VESTIGINGSPLAATS_FK",
         .params = {{"VWK_ID", kInt}},
         .overrides = {{"IMV_TRAJECT", kText, 50, 0}, {"MIO_GEANNULEERD", kText, 1, 0}}});

  // The class's most recent organised module variant (the highest id): what a new one copies.
  c.Add({.name = "DSPVWOLASTIMV",
         .sql = "SELECT I.*, MV.VMV_CODE, M.VOM_CODE, M.VOM_OMSCHRIJVING "
                "FROM VWOINGMODULEVARIANT I "
                "JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = I.IMV_VWOMODULEVARIANT_FK "
                "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK "
                "WHERE I.IMV_VWOKLAS_FK = :VWK_ID ORDER BY I.IMV_ID DESC LIMIT 1",
         .params = {{"VWK_ID", kInt}}});

  // The teaching assignment of an organised module variant.
  c.Add({.name = "DSPVWOIngModuleVariantenDoc3B",
         .sql = "SELECT VD3_ID, VD3_VWOINGMODULEVARIANT_FK, VD3_LESGEVER_FK, VD3_TITULARIS_FK, "
                "VD3_OFFICIEELVAK_FK, VD3_UREN, VD3_VERANDERDDOOR, VD3_VERANDERDOP "
                "FROM VWODOC3BINFO WHERE VD3_VWOINGMODULEVARIANT_FK = :IMV_ID ORDER BY VD3_ID",
         .params = {{"IMV_ID", kInt}},
         .updateTable = "VWODOC3BINFO",
         .keyField = "VD3_ID"});

  // The subjects an institution organises.
  c.Add({.name = "DSPSelectIngVak",
         .sql = "SELECT IV_ID, IV_CODE, IV_NAAMGEBRUIKER, IV_OFFICIEELVAK_FK, IV_INSTELLING_FK "
                "FROM INGVAK WHERE IV_INSTELLING_FK = :IS_ID ORDER BY IV_CODE",
         .params = {{"IS_ID", kInt}}});

  // The staff member who is the institution's Davinci contact person of a kind.
  c.Add({.name = "DSPSelectZidezuzoCP",
         .sql = "SELECT C.IC_ID, C.IC_INSTELLING_FK, C.IC_TYPE_FKP, C.IC_PERSONEEL_FK, P.PS_NAAM, "
                "P.PS_VOORNAAM FROM ZIDEZUZOCP C JOIN PERSONEEL P ON P.PS_ID = C.IC_PERSONEEL_FK "
                "WHERE C.IC_INSTELLING_FK = :IS_ID AND C.IC_TYPE_FKP = :IC_TYPE_FKP",
         .params = {{"IS_ID", kInt}, {"IC_TYPE_FKP", kInt}}});

  // One web-service call: a screen queues a call by inserting it here.
  c.Add({.name = "DSPWebservicecallFiche",
         .sql = "SELECT WC_ID, WC_CALLTYPE, WC_CALLSTATUS, WC_CALLFOUTCODE, WC_EERSTECALL, "
                "WC_LAATSTECALL, WC_FLAGS, WC_ZIDEZUZOID_FK, WC_SCHOOL_FK, WC_PERSONEEL_FK, "
                "WC_FOUT, WC_DATA, WC_POGINGEN, WC_VOLGENDEPOGING, WC_AANMAAKOP, WC_AANMAAKDOOR, "
                "WC_VERANDERDOP, WC_VERANDERDDOOR FROM WEBSERVICECALL WHERE WC_ID = :WC_ID",
         .params = {{"WC_ID", kInt}},
         .updateTable = "WEBSERVICECALL",
         .keyField = "WC_ID"});

  // The Davinci records that hang from an organised module variant, each with the group code
  // of the cancellation screen in ID_TYPE (docs/davinci-codes.md): the module variant itself
  // (1002), its lessons (1003), its pupils' placements (1005), their participations (1006) and
  // certificates (1011). ID_STATUSOBJECT is given in that screen's numbering: 3 registered,
  // 4 approved, 5 cancelled (known at Davinci), 1 refused, 0 not registered. Only module
  // variants of the school's institutions are listed.
  const std::string imv =
      "(SELECT I.IMV_ID FROM VWOINGMODULEVARIANT I "
      "JOIN VWOKLAS K ON K.VWK_ID = I.IMV_VWOKLAS_FK "
      "JOIN INSTELLING S ON S.IS_ID = K.VWK_INSTELLING_FK "
      "WHERE I.IMV_ID = :IMV_ID AND S.IS_SCHOOL_FK = :SC_ID)";
  c.Add({.name = "DSPVWOSelectIMVAnnulatieData",
         .sql = "SELECT Z.ID_ID, Z.ID_DAVINCIID, Z.ID_DAVINCICONCURRENCYTOKEN, "
                "CASE Z.ID_STATUSOBJECT WHEN 1 THEN 3 WHEN 2 THEN 4 WHEN 4 THEN 5 WHEN 3 THEN 1 "
                "ELSE 0 END AS ID_STATUSOBJECT, Z.ID_DATA_FK, "
                "CASE Z.ID_TYPE WHEN " +
                Kind(ObjectType::ModuleVariant) + " THEN 1002 WHEN " + Kind(ObjectType::Les) +
                " THEN 1003 WHEN " + Kind(ObjectType::Cursist) + " THEN 1005 WHEN " +
                Kind(ObjectType::Participatie) + " THEN 1006 WHEN " + Kind(ObjectType::Attest) +
                " THEN 1011 END AS ID_TYPE "
                "FROM ZIDEZUZOID Z WHERE (Z.ID_TYPE = " +
                Kind(ObjectType::ModuleVariant) + " AND Z.ID_DATA_FK IN " + imv +
                ") OR (Z.ID_TYPE = " + Kind(ObjectType::Les) +
                " AND Z.ID_DATA_FK IN (SELECT L.VWL_ID FROM VWOLES L "
                "WHERE L.VWL_INGMODULEVARIANT_FK IN " +
                imv + ")) OR (Z.ID_TYPE IN (" + Kind(ObjectType::Cursist) + ", " +
                Kind(ObjectType::Participatie) + ", " + Kind(ObjectType::Attest) +
                ") AND Z.ID_ID2 IN " + imv + ") ORDER BY Z.ID_TYPE, Z.ID_DATA_FK, Z.ID_ID",
         .params = {{"SC_ID", kInt}, {"IMV_ID", kInt}},
         .overrides = {{"ID_STATUSOBJECT", kInt, 0, 0}, {"ID_TYPE", kInt, 0, 0}}});
}

}  // namespace quil::server
