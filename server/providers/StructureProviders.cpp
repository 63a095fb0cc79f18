// Providers of the programme and module structure: organised programme variants per Davinci
// geography and per location, organised modules, module groups and their members,
// prerequisites, and the detail lines of an organised module variant (materials, attainment
// targets, competences).
#include "server/providers/Provider.h"

namespace quil::server {

void AddStructureProviders(ProviderCatalogue& c) {
  // --- Organised programme variants -----------------------------------------------------------

  // The Davinci geographies of the institution's school.
  c.Add({.name = "DSPSelectVWOGeografiePerSC",
         .sql = "SELECT G.VVP_ID, G.VVP_CODE, G.VVP_GEOGRAFIE, G.VVP_AANVANGSDATUM, "
                "G.VVP_EINDDATUM, G.VVP_GEANNULEERD, G.VVP_SCHOOL_FK, I.IS_ID AS VP_INSTELLING_FK, "
                "G.VVP_ID AS VP_VWOVESTIGINGSPLAATS_FK "
                "FROM VWOVESTIGINGSPLAATS G JOIN INSTELLING I ON I.IS_SCHOOL_FK = G.VVP_SCHOOL_FK "
                "WHERE I.IS_ID = :IS_ID ORDER BY G.VVP_CODE",
         .params = {{"IS_ID", kInt}}});

  // The organised programme variants of one geography, with the official variant and its track.
  c.Add({.name = "DSPVWOIngOpleidingsVarianten",
         .sql = "SELECT C.CIO_ID, C.CIO_VWOOPLEIDINGSVARIANT_FK, C.CIO_VWOVESTIGINGSPLAATS_FK, "
                "C.CIO_INSTELLING_FK, C.CIO_VAN, C.CIO_TOT, C.CIO_DAVINCIKLAAR, C.CIO_DAVINCIID, "
                "C.CIO_FLAGS, C.CIO_VERANDERDDOOR, C.CIO_VERANDERDOP, O.VOO_CODE, "
                "O.VOO_OMSCHRIJVING, G.VVP_CODE, G.VVP_GEOGRAFIE, O.VOO_TRAJECT_FK, "
                "T.P_OMSCHRIJVING AS VOO_TRAJECTTARGET "
                "FROM VWOINGOPLEIDINGSVARIANT C "
                "JOIN VWOOPLEIDINGSVARIANT O ON O.VOO_ID = C.CIO_VWOOPLEIDINGSVARIANT_FK "
                "LEFT JOIN VWOVESTIGINGSPLAATS G ON G.VVP_ID = C.CIO_VWOVESTIGINGSPLAATS_FK "
                "LEFT JOIN PARAM T ON T.P_ID = O.VOO_TRAJECT_FK "
                "WHERE C.CIO_VWOVESTIGINGSPLAATS_FK = :VVP_ID ORDER BY O.VOO_CODE, C.CIO_VAN",
         .params = {{"VVP_ID", kInt}},
         .updateTable = "VWOINGOPLEIDINGSVARIANT",
         .keyField = "CIO_ID",
         .overrides = {{"VOO_TRAJECTTARGET", kText, 150, 0}}});

  // The official variants the geography's school is authorised to organise there, with an
  // authorisation that has not ended by the date. The school is the geography's.
  c.Add({.name = "DSPSelectVWOBevoegdeOplVAr",
         .sql =
             "SELECT O.VOO_ID, O.VOO_CODE, O.VOO_OMSCHRIJVING, O.VOO_VAN, O.VOO_TOT, "
             "O.VOO_TYPERECORD, O.VOO_GEANNULEERD, O.VOO_INRICHTBAAR, O.VOO_STUDIEPUNTEN, "
             "O.VOO_AANTALLESTIJDEN, O.VOO_MOGELIJKESTUDIEBEWIJZEN, O.VOO_TRAJECT_FK, "
             "T.P_OMSCHRIJVING AS VOO_TRAJECTTARGET, O.VOO_VWOOPLEIDING_FK, VO.VO_CODE, "
             "VO.VO_OMSCHRIJVING, VO.VO_ONDERWIJSVORM_FK, OV.P_OMSCHRIJVING AS VO_ONDERWIJSVORM, "
             "VO.VO_ORGANISATIEVORM_FK, GV.P_OMSCHRIJVING AS VO_ORGANISATIEVORM, "
             "OG.VOG_OMSCHRIJVING, B.VOB_AANVANGSDATUM, B.VOB_EINDDATUM, "
             "B.VOB_VWOVESTIGINGSPLAATS_FK "
             "FROM VWOOPLEIDINGSBEVOEGDHEID B "
             "JOIN VWOVESTIGINGSPLAATS G ON G.VVP_ID = B.VOB_VWOVESTIGINGSPLAATS_FK "
             " AND G.VVP_SCHOOL_FK = B.VOB_SCHOOL_FK "
             "JOIN VWOOPLEIDINGSVARIANT O ON O.VOO_ID = B.VOB_VWOOPLEIDINGSVARIANT_FK "
             "JOIN VWOOPLEIDING VO ON VO.VO_ID = O.VOO_VWOOPLEIDING_FK "
             "LEFT JOIN VWOOPLEIDINGSGEBIED OG ON OG.VOG_ID = VO.VO_VWOOPLEIDINGSGEBIED_FK "
             "LEFT JOIN PARAM T ON T.P_ID = O.VOO_TRAJECT_FK "
             "LEFT JOIN PARAM OV ON OV.P_ID = VO.VO_ONDERWIJSVORM_FK "
             "LEFT JOIN PARAM GV ON GV.P_ID = VO.VO_ORGANISATIEVORM_FK "
             "WHERE B.VOB_VWOVESTIGINGSPLAATS_FK = :VVP_ID "
             "AND (B.VOB_EINDDATUM IS NULL OR B.VOB_EINDDATUM >= :datum) "
             "ORDER BY O.VOO_CODE, B.VOB_AANVANGSDATUM",
         .params = {{"datum", kDate}, {"VVP_ID", kInt}},
         .overrides = {{"VOO_TRAJECTTARGET", kText, 150, 0},
                       {"VO_ONDERWIJSVORM", kText, 150, 0},
                       {"VO_ORGANISATIEVORM", kText, 150, 0}}});

  // The locations that teach an organised variant.
  c.Add({.name = "DSPVWOINGOPLVARVESTIGING",
         .sql = "SELECT L.VIV_ID, L.VIV_VESTIGINGSPLAATS_FK, L.VIV_VWOINGOPLEIDINGSVARIANT_FK, "
                "L.VIV_VERANDERDDOOR, L.VIV_VERANDERDOP, O.VOO_CODE, O.VOO_OMSCHRIJVING, "
                "C.CIO_VAN, C.CIO_TOT, C.CIO_DAVINCIKLAAR, C.CIO_DAVINCIID, C.CIO_FLAGS, "
                "O.VOO_TRAJECT_FK "
                "FROM VWOINGOPLVARVESTIGING L "
                "JOIN VWOINGOPLEIDINGSVARIANT C ON C.CIO_ID = L.VIV_VWOINGOPLEIDINGSVARIANT_FK "
                "JOIN VWOOPLEIDINGSVARIANT O ON O.VOO_ID = C.CIO_VWOOPLEIDINGSVARIANT_FK "
                "WHERE L.VIV_VESTIGINGSPLAATS_FK = :VP_ID ORDER BY O.VOO_CODE, C.CIO_VAN",
         .params = {{"VP_ID", kInt}},
         .updateTable = "VWOINGOPLVARVESTIGING",
         .keyField = "VIV_ID"});

  // The organised variants of a geography a location can teach: those not ended by the date.
  c.Add({.name = "DSPSelectVWOINGOPLVAR",
         .sql = "SELECT C.CIO_ID, C.CIO_VWOOPLEIDINGSVARIANT_FK, C.CIO_VWOVESTIGINGSPLAATS_FK, "
                "C.CIO_INSTELLING_FK, C.CIO_VAN, C.CIO_TOT, C.CIO_DAVINCIKLAAR, C.CIO_DAVINCIID, "
                "C.CIO_FLAGS, O.VOO_ID, O.VOO_CODE, O.VOO_OMSCHRIJVING, O.VOO_TRAJECT_FK, "
                "O.VOO_STUDIEPUNTEN, O.VOO_AANTALLESTIJDEN "
                "FROM VWOINGOPLEIDINGSVARIANT C "
                "JOIN VWOOPLEIDINGSVARIANT O ON O.VOO_ID = C.CIO_VWOOPLEIDINGSVARIANT_FK "
                "WHERE C.CIO_VWOVESTIGINGSPLAATS_FK = :CIO_VWOVESTIGINGSPLAATS_FK "
                "AND C.CIO_TOT >= :datum ORDER BY O.VOO_CODE, C.CIO_VAN",
         .params = {{"datum", kDate}, {"CIO_VWOVESTIGINGSPLAATS_FK", kInt}}});

  // --- Modules --------------------------------------------------------------------------------

  const std::string organised =
      "SELECT V.VIM_ID, V.VIM_INSTELLING_FK, V.VIM_VWOMODULE_FK, V.VIM_EDENRED, "
      "V.VIM_VERANDERDDOOR, V.VIM_VERANDERDOP, M.VOM_ID, M.VOM_CODE, M.VOM_OMSCHRIJVING "
      "FROM VWOINGERICHTEMODULE V JOIN VWOMODULE M ON M.VOM_ID = V.VIM_VWOMODULE_FK "
      "WHERE V.VIM_INSTELLING_FK = :IS_ID ORDER BY M.VOM_CODE";
  c.Add({.name = "DSPVWOIngerichteModules",
         .sql = organised,
         .params = {{"IS_ID", kInt}},
         .updateTable = "VWOINGERICHTEMODULE",
         .keyField = "VIM_ID"});
  c.Add({.name = "DSPBrowseVWOIngModules", .sql = organised, .params = {{"IS_ID", kInt}}});

  // The module variants of the official programme variants, with their module: what an
  // institution can organise; and those of the variants its school is authorised for.
  const std::string moduleVariants =
      "SELECT DISTINCT M.VOM_ID, M.VOM_CODE, M.VOM_OMSCHRIJVING, MV.VMV_ID, MV.VMV_CODE, "
      "O.VOO_OMSCHRIJVING "
      "FROM VWOMODULEINOPLEIDING MIO "
      "JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = MIO.MIO_VWOMODULEVARIANT_FK "
      "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK "
      "JOIN VWOOPLEIDINGSVARIANT O ON O.VOO_ID = MIO.MIO_VWOOPLEIDINGSVARIANT_FK "
      "WHERE MIO.MIO_GEANNULEERD = '-' ";
  c.Add({.name = "DSPSelectVWOModuleVarInOplVar",
         .sql = moduleVariants + "ORDER BY M.VOM_CODE, MV.VMV_CODE, O.VOO_OMSCHRIJVING"});
  c.Add({.name = "DSPSelectVWOBevoegdeModulesVarInOplVar",
         .sql = moduleVariants +
                "AND EXISTS (SELECT 1 FROM VWOOPLEIDINGSBEVOEGDHEID B "
                " JOIN INSTELLING I ON I.IS_SCHOOL_FK = B.VOB_SCHOOL_FK "
                " WHERE I.IS_ID = :IS_ID AND B.VOB_VWOOPLEIDINGSVARIANT_FK = O.VOO_ID) "
                "ORDER BY M.VOM_CODE, MV.VMV_CODE, O.VOO_OMSCHRIJVING",
         .params = {{"IS_ID", kInt}}});

  // Choice lists of the prerequisites: every module, the organised ones, the school's groups.
  c.Add({.name = "DSPSelectVWOModule",
         .sql = "SELECT VOM_ID, VOM_CODE, VOM_OMSCHRIJVING FROM VWOMODULE ORDER BY VOM_CODE"});
  c.Add({.name = "DSPSelectVWOIngerichteModules",
         .sql = "SELECT M.VOM_ID, M.VOM_CODE, M.VOM_OMSCHRIJVING FROM VWOINGERICHTEMODULE V "
                "JOIN VWOMODULE M ON M.VOM_ID = V.VIM_VWOMODULE_FK "
                "WHERE V.VIM_INSTELLING_FK = :IS_ID ORDER BY M.VOM_CODE",
         .params = {{"IS_ID", kInt}}});
  c.Add({.name = "DSPSelectVWOModuleGroep",
         .sql = "SELECT P.P_CODE, G.VMG_CODE, G.VMG_OMSCHRIJVING, G.VMG_SCHOOL_FK, G.VMG_ID "
                "FROM VWOMODULEGROEP G JOIN PARAM P ON P.P_ID = G.VMG_TYPE_FKP "
                "WHERE G.VMG_SCHOOL_FK = :SC_ID ORDER BY P.P_CODE, G.VMG_CODE",
         .params = {{"SC_ID", kInt}},
         .overrides = {{"P_CODE", kText, 10, 0}}});

  // --- Module groups and prerequisites --------------------------------------------------------

  c.Add({.name = "DSPVWOModuleGroepen",
         .sql = "SELECT G.VMG_ID, G.VMG_SCHOOL_FK, G.VMG_CODE, G.VMG_OMSCHRIJVING, "
                "G.VMG_TYPE_FKP, G.VMG_VERANDERDDOOR, G.VMG_VERANDERDOP, P.P_CODE AS VMG_TYPE "
                "FROM VWOMODULEGROEP G LEFT JOIN PARAM P ON P.P_ID = G.VMG_TYPE_FKP "
                "WHERE G.VMG_SCHOOL_FK = :SC_ID ORDER BY G.VMG_CODE",
         .params = {{"SC_ID", kInt}},
         .updateTable = "VWOMODULEGROEP",
         .keyField = "VMG_ID",
         .overrides = {{"VMG_TYPE", kText, 10, 0}}});

  c.Add({.name = "DSPVWOModuleGroepenDetails",
         .sql = "SELECT D.VMD_ID, D.VMD_VWOMODULEGROEP_FK, D.VMD_VWOMODULE_FK, "
                "D.VMD_VERANDERDDOOR, D.VMD_VERANDERDOP, M.VOM_CODE, M.VOM_OMSCHRIJVING "
                "FROM VWOMODULEGROEPDETAIL D JOIN VWOMODULE M ON M.VOM_ID = D.VMD_VWOMODULE_FK "
                "WHERE D.VMD_VWOMODULEGROEP_FK = :VMG_ID ORDER BY M.VOM_CODE",
         .params = {{"VMG_ID", kInt}},
         .updateTable = "VWOMODULEGROEPDETAIL",
         .keyField = "VMD_ID"});

  // Prerequisites of a module (types 4 and 5) or of a group (6 and 7): the official ones and
  // those of the school.
  const std::string prerequisites =
      "SELECT VWV_ID, VWV_VOOR_FK, VWV_VEREIST_FK, VWV_RECORDTYPE, VWV_SCHOOL_FK, "
      "VWV_VERANDERDDOOR, VWV_VERANDERDOP FROM VWOVOORVEREISTE ";
  c.Add({.name = "DSPVWOVoorvereistenModule",
         .sql = prerequisites +
                "WHERE VWV_VOOR_FK = :VOM_ID AND VWV_RECORDTYPE IN ('4', '5') "
                "AND (VWV_SCHOOL_FK = 0 OR VWV_SCHOOL_FK = :SC_ID) ORDER BY VWV_RECORDTYPE, VWV_ID",
         .params = {{"VOM_ID", kInt}, {"SC_ID", kInt}},
         .updateTable = "VWOVOORVEREISTE",
         .keyField = "VWV_ID"});
  c.Add({.name = "DSPVWOModulegroepVoorvereisten",
         .sql = prerequisites +
                "WHERE VWV_VOOR_FK = :VMG_ID AND VWV_RECORDTYPE IN ('6', '7') "
                "AND (VWV_SCHOOL_FK = 0 OR VWV_SCHOOL_FK = :SC_ID) ORDER BY VWV_RECORDTYPE, VWV_ID",
         .params = {{"SC_ID", kInt}, {"VMG_ID", kInt}},
         .updateTable = "VWOVOORVEREISTE",
         .keyField = "VWV_ID"});

  // --- Details of an organised module variant -------------------------------------------------

  // Lines of one record type ("M" materials, "E" attainment targets, "C" competences).
  const std::string details =
      "SELECT IMD_ID, IMD_INGMODULEVARIANT_FK, IMD_RECORDTYPE, IMD_OMSCHRIJVING, IMD_AANTAL, "
      "IMD_FLAGS, IMD_KOSTPRIJS, IMD_MATERIAAL_FK, IMD_MATERIAALGROEP_FKP, IMD_VERANDERDDOOR, "
      "IMD_VERANDERDOP FROM VWOINGMODULEVARIANTDETAIL "
      "WHERE IMD_INGMODULEVARIANT_FK = :IMV_ID AND IMD_RECORDTYPE = :RecordType "
      "ORDER BY IMD_OMSCHRIJVING, IMD_ID";
  for (const char* name : {"DSPIngModuleVariantDetails", "DSPVWOIngModuleVariantDetails"}) {
    c.Add({.name = name,
           .sql = details,
           .params = {{"IMV_ID", kInt}, {"RecordType", kText}},
           .updateTable = "VWOINGMODULEVARIANTDETAIL",
           .keyField = "IMD_ID"});
  }

  // The institution's active materials (VWM_FLAGS bit 3), to choose from.
  c.Add({.name = "DSPSelectVWOMateriaal",
         .sql = "SELECT VWM_ID, VWM_CODE, VWM_OMSCHRIJVING, VWM_PRIJS FROM VWOMATERIAAL "
                "WHERE VWM_INSTELLING_FK = :IS_ID AND (VWM_FLAGS & 8) <> 0 ORDER BY VWM_CODE",
         .params = {{"IS_ID", kInt}}});
}

}  // namespace quil::server
