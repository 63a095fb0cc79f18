// Providers of the institution lists, the coded-value lists, locations, rooms, lesson places,
// staff, and the reference screens of an institution (absence codes, KBI contact persons, lesson
// places, lesson materials).
#include "server/providers/Provider.h"

namespace quil::server {

void AddReferenceProviders(ProviderCatalogue& c) {
  // --- Institutions and schools ---------------------------------------------------------------

  // The institutions the browse screens list, with their school and address.
  c.Add({.name = "DSPBrowseOSPInstellingen",
         .sql = "SELECT I.IS_ID, S.SC_ID, I.IS_CODE, I.IS_NAAMGEBRUIKER, I.IS_FLAGS, "
                "I.IS_DUURLESUUR, S.SC_INSTELLINGSNUMMER, S.SC_NAAM, I.IS_STRAAT, "
                "I.IS_HUISNUMMER, G.GM_POSTNUMMER, G.GM_DEELGEMEENTE, I.IS_TELEFOON, I.IS_EMAIL "
                "FROM INSTELLING I JOIN SCHOOL S ON S.SC_ID = I.IS_SCHOOL_FK "
                "LEFT JOIN GEMEENTE G ON G.GM_ID = I.IS_GEMEENTE_FK "
                "ORDER BY I.IS_CODE"});

  c.Add({.name = "DSPSelectInstellingSchool",
         .sql = "SELECT I.IS_ID, I.IS_CODE, I.IS_NAAMGEBRUIKER, S.SC_ID, "
                "S.SC_INSTELLINGSNUMMER, S.SC_NAAM, I.IS_FLAGS "
                "FROM INSTELLING I JOIN SCHOOL S ON S.SC_ID = I.IS_SCHOOL_FK "
                "ORDER BY I.IS_CODE"});

  // Every school, with its kind (P_CODE of the school kind; "411" is a university college).
  c.Add({.name = "DSPSelectSchool",
         .sql = "SELECT S.SC_ID, S.SC_INSTELLINGSNUMMER, S.SC_NAAM, S.SC_STRAAT, "
                "S.SC_HUISNUMMER, G.GM_POSTNUMMER, G.GM_DEELGEMEENTE, P.P_CODE "
                "FROM SCHOOL S LEFT JOIN GEMEENTE G ON G.GM_ID = S.SC_GEMEENTE_FK "
                "LEFT JOIN PARAM P ON P.P_ID = S.SC_SOORT_FKP "
                "ORDER BY G.GM_DEELGEMEENTE, S.SC_NAAM"});

  // Every municipality, for the municipality selector of addresses.
  c.Add({.name = "DSPSelectGemeente",
         .sql = "SELECT GM_ID, GM_POSTNUMMER, GM_DEELGEMEENTE, GM_HOOFDGEMEENTE FROM GEMEENTE "
                "ORDER BY GM_POSTNUMMER, GM_DEELGEMEENTE"});

  c.Add({.name = "DSPSelectSJ",
         .sql = "SELECT SJ_ID, SJ_CODE, SJ_OMSCHRIJVING, SJ_GELDIGVAN, SJ_GELDIGTOT, "
                "SJ_GELDIGEXT FROM SCHOOLJAAR ORDER BY SJ_CODE"});

  // --- Coded values ---------------------------------------------------------------------------

  // A shared list of one type ("VWPA", "VWFT", ...).
  c.Add({.name = "DSPSelectVWOParamsForCDS",
         .sql = "SELECT P_ID, P_CODE, P_OMSCHRIJVING, P_EXTRA FROM PARAM "
                "WHERE P_TYPE = :P_TYPE AND P_INSTELLING_FK IS NULL "
                "ORDER BY P_VOLGORDE, P_CODE",
         .params = {{"P_TYPE", kText}}});

  // An institution's own list of one type ("KLVP1", "IMVVC", ...).
  c.Add({.name = "DSPSelectISParam",
         .sql = "SELECT P_ID, P_CODE, P_OMSCHRIJVING, P_EXTRA FROM PARAM "
                "WHERE P_TYPE = :P_TYPE AND P_INSTELLING_FK = :IS_ID "
                "ORDER BY P_VOLGORDE, P_CODE",
         .params = {{"P_TYPE", kText}, {"IS_ID", kInt}}});

  // The drop-down lists of shared coded values ("ALREK", "VWKM", ...).
  c.Add({.name = "ParmDropDown",
         .sql = "SELECT P_ID, P_CODE, P_EXTRA, P_OMSCHRIJVING FROM PARAM "
                "WHERE P_TYPE = :P_TYPE AND P_INSTELLING_FK IS NULL "
                "ORDER BY P_VOLGORDE, P_CODE",
         .params = {{"P_TYPE", kText}}});

  // --- Locations, rooms, lesson places ------------------------------------------------------

  c.Add({.name = "DSPSelectVPPerIS",
         .sql = "SELECT V.VP_ID, V.VP_INSTELLING_FK, I.IS_ID, I.IS_CODE, V.VP_CODE, V.VP_NAAM, "
                "I.IS_DUURLESUUR, V.VP_VWOVESTIGINGSPLAATS_FK, "
                "V.VP_VWOVESTIGINGSPLAATS_FK AS VVP_ID, V.VP_STRAAT, V.VP_HUISNUMMER, "
                "G.GM_POSTNUMMER, G.GM_DEELGEMEENTE "
                "FROM VESTIGINGSPLAATS V JOIN INSTELLING I ON I.IS_ID = V.VP_INSTELLING_FK "
                "LEFT JOIN GEMEENTE G ON G.GM_ID = V.VP_GEMEENTE_FK "
                "WHERE V.VP_INSTELLING_FK = :IS_ID ORDER BY V.VP_CODE",
         .params = {{"IS_ID", kInt}}});

  // The locations of the institution with their Davinci location.
  c.Add({.name = "DSPSelectVWOVestigingenPerSC",
         .sql = "SELECT V.VP_ID, V.VP_CODE, V.VP_NAAM, V.VP_VWOVESTIGINGSPLAATS_FK, D.VVP_ID, "
                "D.VVP_CODE, D.VVP_GEOGRAFIE, D.VVP_AANVANGSDATUM, D.VVP_EINDDATUM, "
                "D.VVP_GEANNULEERD "
                "FROM VESTIGINGSPLAATS V "
                "LEFT JOIN VWOVESTIGINGSPLAATS D ON D.VVP_ID = V.VP_VWOVESTIGINGSPLAATS_FK "
                "WHERE V.VP_INSTELLING_FK = :IS_ID ORDER BY V.VP_CODE",
         .params = {{"IS_ID", kInt}}});

  const std::string rooms =
      "SELECT L.LK_ID, L.LK_CODE, L.LK_OMSCHRIJVING, L.LK_VESTIGINGSPLAATS_FK, V.VP_CODE, "
      "L.LK_KAMER_FK, L.LK_PLAATSEN, V.VP_VWOVESTIGINGSPLAATS_FK "
      "FROM LOKAAL L JOIN VESTIGINGSPLAATS V ON V.VP_ID = L.LK_VESTIGINGSPLAATS_FK ";
  c.Add({.name = "DSPSelectLokaalPerIS",
         .sql = rooms + "WHERE V.VP_INSTELLING_FK = :IS_ID ORDER BY L.LK_CODE",
         .params = {{"IS_ID", kInt}}});
  c.Add({.name = "DSPSelectLokaalPerVP",
         .sql = rooms + "WHERE L.LK_VESTIGINGSPLAATS_FK = :VP_ID ORDER BY L.LK_CODE",
         .params = {{"VP_ID", kInt}}});

  const std::string places =
      "SELECT P.VLP_ID, P.VLP_NUMMER, P.VLP_OMSCHRIJVING, P.VLP_CRABCODE, V.VP_ID, V.VP_CODE, "
      "V.VP_VWOVESTIGINGSPLAATS_FK "
      "FROM VWOLESPLAATS P JOIN VESTIGINGSPLAATS V ON V.VP_ID = P.VLP_VESTIGINGSPLAATS_FK ";
  c.Add({.name = "DSPSelectVWOLesplaats",
         .sql = places + "WHERE P.VLP_INSTELLING_FK = :IS_ID ORDER BY P.VLP_NUMMER",
         .params = {{"IS_ID", kInt}}});
  c.Add({.name = "DSPSelectLesplaatsPerVP",
         .sql = places + "WHERE P.VLP_VESTIGINGSPLAATS_FK = :VP_ID ORDER BY P.VLP_NUMMER",
         .params = {{"VP_ID", kInt}}});

  // Official lesson places of a Davinci location; cancelled places are not offered.
  c.Add({.name = "DSPSelectVWOOffLesplaats",
         .sql = "SELECT VOLP_ID, VOLP_CODE, VOLP_NAAM, VOLP_STRAAT, VOLP_HUISNUMMER, "
                "VOLP_BUSNUMMER, VOLP_CRABHUISNUMMER, VOLP_GEMEENTE_FK, VOLP_AANVANGSDATUM, "
                "VOLP_EINDDATUM, VOLP_GEANNULEERD, VOLP_INSCHRIJFPLAATS, VOLP_TYPE_FKP, "
                "VOLP_VWOVESTIGINGSPLAATS_FK FROM VWOOFFLESPLAATS "
                "WHERE VOLP_VWOVESTIGINGSPLAATS_FK = :VVP_ID AND VOLP_GEANNULEERD = '-' "
                "ORDER BY VOLP_CODE",
         .params = {{"VVP_ID", kInt}}});
  // Every official lesson place an institution's place shows: those of the Davinci locations of
  // its locations and those its places point to, cancelled ones included.
  c.Add({.name = "DSPSelectVWOOffLesplaatsPerIS",
         .sql = "SELECT VOLP_ID, VOLP_CODE, VOLP_NAAM, VOLP_STRAAT, VOLP_HUISNUMMER, "
                "VOLP_BUSNUMMER, VOLP_CRABHUISNUMMER, VOLP_GEMEENTE_FK, VOLP_GEANNULEERD, "
                "VOLP_VWOVESTIGINGSPLAATS_FK FROM VWOOFFLESPLAATS "
                "WHERE VOLP_VWOVESTIGINGSPLAATS_FK IN (SELECT VP_VWOVESTIGINGSPLAATS_FK "
                "FROM VESTIGINGSPLAATS WHERE VP_INSTELLING_FK = :IS_ID) "
                "OR VOLP_ID IN (SELECT VLP_VWOOFFLESPLAATS_FK FROM VWOLESPLAATS "
                "WHERE VLP_INSTELLING_FK = :IS_ID) ORDER BY VOLP_CODE",
         .params = {{"IS_ID", kInt}}});

  // --- Staff ----------------------------------------------------------------------------------

  // Staff employed at the institution on a date (one row per employment).
  c.Add({.name = "DSPSelectHuidigPersoneelInDienst",
         .sql = "SELECT P.PS_ID, P.PS_CODE, P.PS_STAMBOEKNUMMER, P.PS_VOORNAAM, P.PS_NAAM, "
                "D.DV_ID, D.DV_ACTIEF, P.PS_FLAGS, P.PS_RIJKSREGISTERNUMMER, P.PS_EMAIL "
                "FROM DIENSTVERBAND D JOIN PERSONEEL P ON P.PS_ID = D.DV_PERSONEEL_FK "
                "WHERE D.DV_INSTELLING_FK = :IS_ID AND D.DV_BEGINDATUM <= :WERKDATUM "
                "AND (D.DV_EINDDATUM IS NULL OR D.DV_EINDDATUM >= :WERKDATUM) "
                "ORDER BY P.PS_NAAM, P.PS_VOORNAAM",
         .params = {{"IS_ID", kInt}, {"WERKDATUM", kDate}}});

  // Staff employed at the institution at any time in a period, once per person; DV_ACTIEF is
  // "+" when one of the employments in the period is active.
  c.Add({.name = "DSPSelectPersoneelInPeriode",
         .sql = "SELECT P.PS_ID, P.PS_CODE, P.PS_NAAM, P.PS_VOORNAAM, P.PS_STAMBOEKNUMMER, "
                "P.PS_FLAGS, P.PS_RIJKSREGISTERNUMMER, P.PS_EMAIL, "
                "(SELECT MIN(D.DV_ACTIEF) FROM DIENSTVERBAND D "
                " WHERE D.DV_PERSONEEL_FK = P.PS_ID AND D.DV_INSTELLING_FK = :IS_ID "
                " AND D.DV_BEGINDATUM <= :EINDDATUM "
                " AND (D.DV_EINDDATUM IS NULL OR D.DV_EINDDATUM >= :BEGINDATUM)) AS DV_ACTIEF "
                "FROM PERSONEEL P WHERE EXISTS (SELECT 1 FROM DIENSTVERBAND D "
                " WHERE D.DV_PERSONEEL_FK = P.PS_ID AND D.DV_INSTELLING_FK = :IS_ID "
                " AND D.DV_BEGINDATUM <= :EINDDATUM "
                " AND (D.DV_EINDDATUM IS NULL OR D.DV_EINDDATUM >= :BEGINDATUM)) "
                "ORDER BY P.PS_NAAM, P.PS_VOORNAAM",
         .params = {{"IS_ID", kInt}, {"BEGINDATUM", kDate}, {"EINDDATUM", kDate}},
         .overrides = {{"DV_ACTIEF", kText, 1, 0}}});

  // Staff of the institution employed during the period of a class.
  c.Add({.name = "DSPSelectVWOPSperISviaDV",
         .sql = "SELECT P.PS_ID, P.PS_NAAM, P.PS_VOORNAAM, "
                "(SELECT MIN(D.DV_ACTIEF) FROM DIENSTVERBAND D JOIN VWOKLAS K "
                " ON K.VWK_ID = :VWK_ID WHERE D.DV_PERSONEEL_FK = P.PS_ID "
                " AND D.DV_INSTELLING_FK = :IS_ID AND D.DV_BEGINDATUM <= K.VWK_TOT "
                " AND (D.DV_EINDDATUM IS NULL OR D.DV_EINDDATUM >= K.VWK_VAN)) AS DV_ACTIEF "
                "FROM PERSONEEL P WHERE EXISTS (SELECT 1 FROM DIENSTVERBAND D JOIN VWOKLAS K "
                " ON K.VWK_ID = :VWK_ID WHERE D.DV_PERSONEEL_FK = P.PS_ID "
                " AND D.DV_INSTELLING_FK = :IS_ID AND D.DV_BEGINDATUM <= K.VWK_TOT "
                " AND (D.DV_EINDDATUM IS NULL OR D.DV_EINDDATUM >= K.VWK_VAN)) "
                "ORDER BY P.PS_NAAM, P.PS_VOORNAAM",
         .params = {{"IS_ID", kInt}, {"VWK_ID", kInt}},
         .overrides = {{"DV_ACTIEF", kText, 1, 0}}});

  // --- Reference screens of an institution ------------------------------------------------

  c.Add({.name = "DSPVWOAfwezigheidsCodes",
         .sql = "SELECT A.VAC_ID, A.VAC_INSTELLING_FK, A.VAC_CODE, A.VAC_OMSCHRIJVING, "
                "A.VAC_KLEUR, A.VAC_PARTICIPATIESTATUS_FK, A.VAC_PARTICIPATIESTATUSBEV_FK, "
                "A.VAC_FLAGS, A.VAC_VERANDERDDOOR, A.VAC_VERANDERDOP, "
                "P.P_OMSCHRIJVING AS VAC_PARTICIPATIESTATUS "
                "FROM VWOAFWEZIGHEIDSCODE A "
                "LEFT JOIN PARAM P ON P.P_ID = A.VAC_PARTICIPATIESTATUS_FK "
                "WHERE A.VAC_INSTELLING_FK = :IS_ID ORDER BY A.VAC_CODE",
         .params = {{"IS_ID", kInt}},
         .updateTable = "VWOAFWEZIGHEIDSCODE",
         .keyField = "VAC_ID",
         .overrides = {{"VAC_PARTICIPATIESTATUS", kText, 150, 0}}});

  c.Add({.name = "DSPKBIContactperoon",
         .sql = "SELECT KBCP_ID, KBCP_INSTELLING_FK, KBCP_NAAM, KBCP_VOORNAAM, KBCP_INSZ, "
                "KBCP_TELEFOON, KBCP_EMAIL, KBCP_FLAGS, KBCP_PERSONEEL_FK, KBCP_VERANDERDDOOR, "
                "KBCP_VERANDERDOP FROM KBICONTACTPERSOON WHERE KBCP_INSTELLING_FK = :IS_ID "
                "ORDER BY KBCP_NAAM, KBCP_VOORNAAM",
         .params = {{"IS_ID", kInt}},
         .updateTable = "KBICONTACTPERSOON",
         .keyField = "KBCP_ID"});

  c.Add({.name = "DSPVWOLesplaats",
         .sql = "SELECT L.VLP_ID, L.VLP_INSTELLING_FK, L.VLP_NUMMER, L.VLP_CRABCODE, "
                "L.VLP_OMSCHRIJVING, L.VLP_STRAAT, L.VLP_STRAATNR, L.VLP_STRAATBUS, "
                "L.VLP_GEMEENTE_FK, L.VLP_VESTIGINGSPLAATS_FK, L.VLP_TYPERECORD, "
                "L.VLP_VWOOFFLESPLAATS_FK, L.VLP_VERANDERDDOOR, L.VLP_VERANDERDOP, "
                "G.GM_POSTNUMMER AS VLP_POSTCODE, G.GM_DEELGEMEENTE AS VLP_GEMEENTE, "
                "V.VP_NAAM AS VLP_VESTIGINGSPLAATS "
                "FROM VWOLESPLAATS L LEFT JOIN GEMEENTE G ON G.GM_ID = L.VLP_GEMEENTE_FK "
                "LEFT JOIN VESTIGINGSPLAATS V ON V.VP_ID = L.VLP_VESTIGINGSPLAATS_FK "
                "WHERE L.VLP_INSTELLING_FK = :IS_ID ORDER BY L.VLP_NUMMER",
         .params = {{"IS_ID", kInt}},
         .updateTable = "VWOLESPLAATS",
         .keyField = "VLP_ID",
         .overrides = {{"VLP_VESTIGINGSPLAATS", kText, 50, 0}}});

  c.Add({.name = "DSPVWOMaterialen",
         .sql = "SELECT M.VWM_ID, M.VWM_CODE, M.VWM_OMSCHRIJVING, M.VWM_PRIJS, M.VWM_WEBTEKST, "
                "M.VWM_FLAGS, M.VWM_ZEVENREKENING_FK, M.VWM_ARTICLE_FK, M.VWM_INSTELLING_FK, "
                "M.VWM_VERANDERDDOOR, M.VWM_VERANDERDOP, P.P_OMSCHRIJVING AS VWM_ALGREK "
                "FROM VWOMATERIAAL M LEFT JOIN PARAM P ON P.P_ID = M.VWM_ZEVENREKENING_FK "
                "WHERE M.VWM_INSTELLING_FK = :IS_ID ORDER BY M.VWM_CODE",
         .params = {{"IS_ID", kInt}},
         .updateTable = "VWOMATERIAAL",
         .keyField = "VWM_ID",
         .overrides = {{"VWM_ALGREK", kText, 80, 0}}});
}

}  // namespace quil::server
