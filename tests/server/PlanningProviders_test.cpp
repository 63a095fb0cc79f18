#include <gtest/gtest.h>

#include "ServerTestUtil.h"

namespace quil::server::testing {
namespace {

// Two organised module variants of one class; lessons that take place, lessons that do not
// (bit 1) and distance moments (bit 3).
void LoadLessons(Database& db) {
  db.ExecuteScript(R"sql(
    INSERT INTO VWOKLAS (VWK_ID, VWK_OMSCHRIJVING, VWK_VESTIGINGSPLAATS_FK, VWK_VAN, VWK_TOT,
      VWK_VERANDERDDOOR, VWK_VERANDERDOP)
      VALUES (10, 'Klas A', 1, '2025-09-01', '2026-06-30', 1, '2025-08-25 10:00:00');
    INSERT INTO VWOMODULE (VOM_ID, VOM_CODE, VOM_OMSCHRIJVING) VALUES (1, 'WIS', 'Wiskunde');
    INSERT INTO VWOMODULEVARIANT (VMV_ID, VMV_MODULE_FK, VMV_CODE, VMV_LESTIJDENORGANISATIE,
      VMV_LESTIJDENINSCHRIJVINGSGELD) VALUES (1, 1, 'WIS-A', 40, 48), (2, 1, 'WIS-B', 20, 20);
    INSERT INTO VWOLESPLAATS (VLP_ID, VLP_INSTELLING_FK, VLP_NUMMER, VLP_CRABCODE,
      VLP_VESTIGINGSPLAATS_FK, VLP_VERANDERDDOOR, VLP_VERANDERDOP)
      VALUES (1, 1, 1, '123', 1, 1, '2025-08-25 10:00:00');
    INSERT INTO PARAM (P_ID, P_TYPE, P_CODE, P_OMSCHRIJVING) VALUES (90, 'VWFT', 'F', 'Fin');
    INSERT INTO VWOINGMODULEVARIANT (IMV_ID, IMV_VWOKLAS_FK, IMV_VWOMODULEVARIANT_FK,
      IMV_AFKORTING, IMV_VAN, IMV_TOT, IMV_LESVAN, IMV_LESTOT, IMV_REGISTRATIEMOMENT,
      IMV_LESPLAATS_FK, IMV_FINANCIERINGSBRON_FK, IMV_LESTIJDENAFSTANDSONDERWIJS,
      IMV_LESTIJDENDELIBERATIE, IMV_LESTIJDENWERKPLEKLEREN, IMV_VERANDERDDOOR, IMV_VERANDERDOP)
      VALUES
      (5, 10, 1, 'WA', '2025-09-01', '2026-01-31', '2025-09-01', '2026-01-31', '2025-09-15',
       1, 90, 4, 2, 1, 1, '2025-08-25 10:00:00'),
      (6, 10, 2, 'WB', '2026-02-01', '2026-06-30', '2026-02-01', '2026-06-30', '2026-02-15',
       1, 90, 10, 10, 5, 1, '2025-08-25 10:00:00');
    INSERT INTO VWOLES (VWL_ID, VWL_INGMODULEVARIANT_FK, VWL_DATUM, VWL_VANUUR, VWL_TOTUUR,
      VWL_LESUREN, VWL_FLAGS, VWL_VERANDERDDOOR, VWL_VERANDERDOP) VALUES
      (1, 5, '2025-09-01', '18:00:00', '20:30:00', 3, 0, 1, '2025-08-25 10:00:00'),
      (2, 5, '2025-09-08', '18:00:00', '20:30:00', 2.5, 1, 1, '2025-08-25 10:00:00'),
      (3, 5, '2025-09-15', '18:00:00', '20:30:00', 3, 2, 1, '2025-08-25 10:00:00'),
      (4, 5, '2025-09-22', '18:00:00', '20:30:00', 3, 8, 1, '2025-08-25 10:00:00'),
      (5, 6, '2026-02-02', '18:00:00', '20:30:00', 1.125, 4, 1, '2025-08-25 10:00:00');
  )sql");
}

TEST(PlanningProviderTest, PlannedHoursCountLessonsThatTakePlaceAndAreNotDistanceMoments) {
  auto server = FixtureServer();
  LoadLessons(server->db());
  Params params;
  params.Add("VWK_ID", FieldType::Integer).SetAsInteger(10);
  DataPacket klas = server->GetRecords("DSPVWOGetGeplandeKlasLesTijden", params);
  // WA: 3 + 2.5 (bit 0 only) = 5.5 planned; 40 - 4 - 2 - 1 = 33 required.
  // WB: 1.125 planned; 20 - 10 - 10 - 5 = -5 (more deducted than the module holds).
  EXPECT_EQ(Render(klas),
            "5|WA|WIS|Wiskunde|55000e-4|33|41\n"
            "6|WB|WIS|Wiskunde|11250e-4|-5|-5\n");
  EXPECT_EQ(klas.fields[klas.FieldIndex("IMV_TOTAALUREN")].type, FieldType::Currency);
  EXPECT_EQ(klas.fields[klas.FieldIndex("LESTIJDENCONTACTONDERWIJSORG")].type, FieldType::LargeInt);

  Params one;
  one.Add("IMV_ID", FieldType::Integer).SetAsInteger(6);
  DataPacket variant = server->GetRecords("DSPVWOGetGeplandeIngModuleVarLestijden", one);
  ASSERT_EQ(variant.rows.size(), 1u);
  EXPECT_EQ(variant.rows[0][1].AsString(), "WB");
}

}  // namespace
}  // namespace quil::server::testing
