// The screens around one class on the demo data: the single-class screen, the class memos and
// the contact persons. Class 5 (institution 1) runs 03/02/2026 - 27/06/2026 at location 2; the
// working date is 01/10/2025.
#include "classes/frmVWOFicheKlas.h"
#include "classes/frmVWOKlas.h"
#include "classes/frmVWOKlasCP.h"
#include "classes/frmVWOKlasMemo.h"
#include "module/ScreenTest.h"

namespace kavel::testing {
namespace {

using namespace quil;

class KlasSatellietenTest : public ScreenTest {
 protected:
  TVWOKlasForm& Klassen() {
    TQuilDBForm& browser = Open("TBrowseVWOStructInstellingForm");
    EXPECT_EQ(app.Run([&] {
      browser.FindDataSet("CDSBrowseVWOinstelling")->Locate("IS_ID", Variant(1));
    }),
              TEventResult::Done);
    return Open<TVWOKlasForm>("TVWOKlasForm");
  }
  bool Kies(TVWOKlasForm& screen, int vwkId) {
    bool found = false;
    app.Run([&] { found = screen.CDSVWOKlas.Locate("VWK_ID", Variant(vwkId)); });
    return found;
  }
};

TEST_F(KlasSatellietenTest, TheSingleClassScreenShowsItsClassWhateverThePeriod) {
  server->db().ExecuteScript(
      "UPDATE VWOKLAS SET VWK_FLAGS = VWK_FLAGS + 67108864 WHERE VWK_ID = 5;"
      "INSERT INTO VWOOPENKLAS (VOK_ID, VOK_INSTELLING_FK, VOK_CODE, VOK_GELDIGVAN, "
      "VOK_GELDIGTOT, VOK_VERANDERDDOOR, VOK_VERANDERDOP) VALUES (50, 1, 'LIN-VOORJAAR', "
      "'2026-02-01', '2026-06-30', 1, '2025-08-25 10:00:00');");
  auto& klassen = Klassen();
  ASSERT_EQ(Press(klassen, "APeriode6"), TEventResult::Done);
  ASSERT_TRUE(klassen.CDSVWOKlas.IsEmpty());

  auto& fiche = Open<TVWOFicheKlasForm>("TVWOFicheKlasForm");
  EXPECT_FALSE(fiche.PnlTop.Visible);
  EXPECT_FALSE(fiche.APeriode[0]->Visible);
  ASSERT_EQ(app.Run([&] {
    fiche.CDSVWOKlas.Close();
    fiche.CDSVWOKlas.ParamByName("VWK_ID").SetAsInteger(5);
    fiche.CDSVWOKlas.Open();
  }),
            TEventResult::Done);
  // Cancelled, outside the period of the class screen: shown all the same.
  ASSERT_EQ(fiche.CDSVWOKlas.RecordCount(), 1);
  EXPECT_EQ(fiche.CDSVWOKlas.FieldByName("VWK_ID").AsInteger(), 5);
  EXPECT_EQ(Press(fiche, "APeriode0"), TEventResult::Refused);
  // The open classes of the class's own period: the one of the school year and the spring one.
  EXPECT_EQ(fiche.CDSSelectOpenKlas.ParamByName("BEGINDATUM").AsDateTime(), EncodeDate(2026, 2, 3));
  EXPECT_EQ(fiche.CDSSelectOpenKlas.RecordCount(), 2);
  Fill(fiche, {{"LCOpenKlas", "50"}});
  EXPECT_EQ(Command(fiche, "DSVWOKlas", TDataSetCommand::Post), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored("SELECT VWK_VWOOPENKLAS_FK FROM VWOKLAS WHERE VWK_ID = 5"), "50\n");
}

TEST_F(KlasSatellietenTest, AContactIsTypedOrChosenFromTheStaff) {
  auto& klassen = Klassen();
  ASSERT_TRUE(Kies(klassen, 5));
  auto& cp = OpenLink<TVWOKlasCPForm>(klassen, "Contactpersonen");
  ASSERT_EQ(cp.CDSVWOKlasCP.RecordCount(), 1);
  ASSERT_TRUE(cp.CDSSelectPSperISviaDV.Active());
  ASSERT_FALSE(cp.CDSSelectPSperISviaDV.IsEmpty());

  ASSERT_EQ(Command(cp, "DSVWOKlasCP", TDataSetCommand::Insert), TEventResult::Done);
  // The kind "?" comes first.
  EXPECT_EQ(cp.CDSVWOKlasCP.FieldByName("VKC_TYPE").AsString(), "?");
  Fill(cp, {{"EdtPersoon", "Anna Stagiair"}});
  EXPECT_EQ(Command(cp, "DSVWOKlasCP", TDataSetCommand::Post), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored("SELECT VKC_PERSOON, VKC_PERSONEEL_FK FROM VWOKLASCP WHERE VKC_VWOKLAS_FK = 5 "
                   "AND VKC_PERSONEEL_FK IS NULL"),
            "Anna Stagiair | null\n");

  const Variant ps = cp.CDSSelectPSperISviaDV.FieldByName("PS_ID").Value();
  const std::string naam = cp.CDSSelectPSperISviaDV.FieldByName("PS_VOORNAAM").AsString() + " " +
                           cp.CDSSelectPSperISviaDV.FieldByName("PS_NAAM").AsString();
  ASSERT_TRUE(app.Run([&] { cp.CDSVWOKlasCP.Locate("VKC_PERSOON", Variant("Anna Stagiair")); }) ==
              TEventResult::Done);
  Fill(cp, {{"SCPersoneel", ps.AsString()}});
  EXPECT_EQ(cp.CDSVWOKlasCP.FieldByName("VKC_PERSOON").AsString(), naam);
  EXPECT_EQ(Command(cp, "DSVWOKlasCP", TDataSetCommand::Post), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOKLASCP WHERE VKC_VWOKLAS_FK = 5 AND VKC_PERSOON = '" +
                   naam + "' AND VKC_PERSONEEL_FK = " + ps.AsString()),
            "1\n");

  TPrintParams params;
  app.Run([&] { params = cp.GetPrintParams(cp.ReportDefs.at(0)); });
  EXPECT_EQ(params.Value("Vanklas"), klassen.CDSVWOKlas.FieldByName("VWK_CODE").AsString());
  EXPECT_EQ(params.Value("Totklas"), params.Value("Vanklas"));
  EXPECT_EQ(params.Value("IS_ID"), "1");
  EXPECT_EQ(params.Value("Schooljaar"), "2025");
}

TEST_F(KlasSatellietenTest, TheMemosOfTheClassFollowIt) {
  auto& klassen = Klassen();
  ASSERT_TRUE(Kies(klassen, 5));
  auto& memo = OpenLink<TVWOKlasMemoForm>(klassen, "Klasmemo");
  ASSERT_EQ(memo.CDSKlasMemo.RecordCount(), 1);
  EXPECT_EQ(memo.CDSKlasMemo.FieldByName("VKM_TYPE").AsString(), "ALG");
  ASSERT_EQ(Command(memo, "DSKlasMemo", TDataSetCommand::Insert), TEventResult::Done);
  Fill(memo, {{"LCType", memo.CDSVKM_TYPE_FKP.Lookup("P_CODE", Variant("KAL"), "P_ID").AsString()},
              {"EdtOmschrijving", "Kalender"}});
  EXPECT_EQ(Command(memo, "DSKlasMemo", TDataSetCommand::Post), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOKLASMEMO WHERE VKM_VWOKLAS_FK = 5"), "2\n");
  ASSERT_TRUE(Kies(klassen, 6));
  EXPECT_EQ(memo.CDSKlasMemo.RecordCount(), 1);
}

}  // namespace
}  // namespace kavel::testing
