// The screens that run one job per ticked class: the recipe screen (job 313), the processing
// screen (job 316) and lesson moments to class memos (job 328). The classes of the demo school
// of "LIN" in the working year, ticked and run in the list's order; the conditions under which
// each may run; a run that stops at a class the server refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScreenTest.h"
#include "host/base/SysUtils.h"
#include "host/forms/VWOKlasJobExecutorForm.h"
#include "planning/frmVWOKlasLesmomentUitRecept.h"
#include "planning/frmVWOLesmomentToMemoInGroep.h"
#include "planning/frmVWOVerwerkLesmomenten.h"

namespace kavel::testing {
namespace {

using namespace quil;

class KlasJobsTest : public ScreenTest {
 protected:
  //! Chooses institution 1 and loads its classes; the list must have them.
  void Load(TQuilDBForm& form, TKlasSelectie& selectie) {
    ASSERT_EQ(Set(form, "LCInstelling", "1"), TEventResult::Done) << Messages();
    ASSERT_EQ(Press(form, "APrepare"), TEventResult::Done) << Messages();
    ASSERT_TRUE(selectie.HasClasses());
  }

  //! The ids of the classes of the list of a school, in its order.
  std::vector<std::string> ListIds(int school = 1) {
    std::vector<std::string> ids;
    std::string rows = Stored(
        "SELECT K.VWK_ID FROM VWOKLAS K JOIN INSTELLING I ON I.IS_ID = K.VWK_INSTELLING_FK "
        "WHERE I.IS_SCHOOL_FK = " +
        std::to_string(school) +
        " AND K.VWK_VAN <= '2026-08-31' AND K.VWK_TOT >= '2025-09-01' "
        "ORDER BY K.VWK_CODE, K.VWK_ID");
    for (size_t at = 0; at < rows.size();) {
      size_t end = rows.find('\n', at);
      ids.push_back(rows.substr(at, end - at));
      at = end + 1;
    }
    return ids;
  }

  static std::string Int(const std::string& id) {
    return "{\"type\":\"Integer\",\"value\":" + id + "}";
  }
};

// --------------------------------------------------------------------- the processing screen

TEST_F(KlasJobsTest, ProcessingRunsJob316ForEachTickedClassInTheListsOrder) {
  auto& form = Open<TVWOVerwerkLesmomentenForm>("TVWOVerwerkLesmomentenForm");
  // Loading needs an institution; the period is the working year.
  EXPECT_EQ(form.EdtVan.ValueText() + " " + form.EdtTot.ValueText(), "01/09/2025 31/08/2026");
  EXPECT_EQ(Press(form, "APrepare"), TEventResult::Refused);
  EXPECT_EQ(form.Selectie.BMain.Action, &form.APrepare);
  Load(form, form.Selectie);
  EXPECT_EQ(form.Selectie.BMain.Action, &form.AExecute);
  const std::vector<std::string> ids = ListIds();
  ASSERT_EQ(form.Selectie.CLBKlassen.Items().size(), ids.size());
  EXPECT_EQ(form.Selectie.CLBKlassen.Items()[0],
            "LIN-BOEKH1-2 - Boekhouden basis (03/02/2026 - 27/06/2026)");

  Fill(form, {{"CBAantalLestijden", "1"},
              {"CBTotDatum", "1"},
              {"EdtTotDatum", "15/12/2025"},
              {"CBLesdagen", "1"},
              {"CLBKlassen", "0,2,4"}});
  ASSERT_EQ(Press(form, "AExecute"), TEventResult::Done) << Messages();
  EXPECT_EQ(Messages(), "message: De verwerking is uitgevoerd voor 3 klassen.\n");
  const std::string jobId = Stored("SELECT DISTINCT JL_JOBID FROM JOBLOG");
  ASSERT_NE(jobId, "-1\n");
  const std::string id = jobId.substr(0, jobId.size() - 1);
  std::string expected;
  for (int i : {0, 2, 4}) {
    expected += "316 | " + id + " | Execute | [" + Int(ids[i]) + "," + Int("0") + "," + Int("19") +
                ",{\"type\":\"DateTime\",\"value\":\"2025-12-15 00:00:00\"}]\n";
  }
  EXPECT_EQ(JobLog(), expected);
  EXPECT_FALSE(form.Selectie.PBVoortgang.Visible);

  // Selecting all and nothing; with nothing ticked the run is off.
  EXPECT_EQ(Press(form, "ASelectAll"), TEventResult::Done);
  EXPECT_EQ(form.Selectie.TickedCount(), static_cast<int>(ids.size()));
  EXPECT_EQ(Press(form, "ASelectNothing"), TEventResult::Done);
  EXPECT_EQ(Press(form, "AExecute"), TEventResult::Refused);

  // Another period closes the list; clearing forgets the institution, and loading waits for one.
  Fill(form, {{"EdtVan", "01/02/2026"}});
  EXPECT_FALSE(form.Selectie.ListOpen());
  EXPECT_EQ(form.Selectie.BMain.Action, &form.APrepare);
  EXPECT_EQ(Press(form, "AClear"), TEventResult::Done);
  EXPECT_EQ(form.Selectie.LCInstelling.ValueText(), "");
  EXPECT_EQ(Press(form, "APrepare"), TEventResult::Refused);
  EXPECT_EQ(Press(form, "AClear"), TEventResult::Refused);
}

TEST_F(KlasJobsTest, ProcessingRunsOnlyWithSomethingToComputeAndADateWhenOneIsAsked) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string_view, std::string_view>> clicks;
    bool datumBox, datumField, runs;
  };
  const Case cases[] = {
      {"nothing ticked", {}, false, false, false},
      {"lesson times", {{"CBAantalLestijden", "1"}}, true, false, true},
      {"registration moment", {{"CBRegistratiemoment", "1"}}, false, false, true},
      {"lesson days", {{"CBLesdagen", "1"}}, false, false, true},
      {"up to a date without one",
       {{"CBAantalLestijden", "1"}, {"CBTotDatum", "1"}},
       true,
       true,
       false},
      {"up to a date with one",
       {{"CBAantalLestijden", "1"}, {"CBTotDatum", "1"}, {"EdtTotDatum", "01/12/2025"}},
       true,
       true,
       true},
      // The date box stays ticked but is no longer offered: it asks nothing and computes nothing.
      {"only the date box left",
       {{"CBAantalLestijden", "1"}, {"CBTotDatum", "1"}, {"CBAantalLestijden", "0"}},
       false,
       false,
       false},
      {"the date box left beside the lesson days",
       {{"CBAantalLestijden", "1"},
        {"CBTotDatum", "1"},
        {"CBAantalLestijden", "0"},
        {"CBLesdagen", "1"}},
       false,
       false,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto& form = Open<TVWOVerwerkLesmomentenForm>("TVWOVerwerkLesmomentenForm");
    Load(form, form.Selectie);
    Fill(form, {{"CLBKlassen", "1"}});
    for (const auto& [control, value] : c.clicks) {
      ASSERT_EQ(Set(form, control, value), TEventResult::Done) << control;
    }
    EXPECT_EQ(form.CBTotDatum.Enabled, c.datumBox);
    EXPECT_EQ(form.EdtTotDatum.Enabled, c.datumField);
    EXPECT_EQ(form.AExecute.Enabled, c.runs);
    EXPECT_FALSE(form.CBAfstandsonderwijs.Visible);
    // The date box cannot be ticked while the lesson times are not counted.
    if (!c.datumBox) {
      EXPECT_EQ(Set(form, "CBTotDatum", "1"), TEventResult::Refused);
    }
    app.CloseForm(form);
  }
}

TEST_F(KlasJobsTest, EachProcessingBoxSendsItsOwnBit) {
  auto& form = Open<TVWOVerwerkLesmomentenForm>("TVWOVerwerkLesmomentenForm");
  struct Case {
    TCheckBox* box;
    int bit;
  };
  // The distance box is not shown; the screen can still tick it.
  const Case cases[] = {{&form.CBAantalLestijden, 2},
                        {&form.CBRegistratiemoment, 4},
                        {&form.CBAfstandsonderwijs, 8},
                        {&form.CBLesdagen, 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box->Name());
    c.box->SetChecked(true);
    app.Run([&] { form.UpdateActions(); });
    EXPECT_EQ(form.Opties(), c.bit);
    c.box->SetChecked(false);
  }
  // The date box counts once offered; the first day a date can be is a date.
  Fill(form, {{"CBAantalLestijden", "1"}, {"CBTotDatum", "1"}});
  EXPECT_EQ(form.Opties(), 3);
  Load(form, form.Selectie);
  Fill(form, {{"CLBKlassen", "0"}, {"EdtTotDatum", "01/01/0001"}});
  EXPECT_TRUE(form.AExecute.Enabled);
}

TEST_F(KlasJobsTest, LoadingNeedsAnInstitutionAndAPeriodThatIsNotEmpty) {
  struct Case {
    const char *van, *tot;
    bool loads;
  };
  const Case cases[] = {{"01/09/2025", "31/08/2026", true},
                        {"01/10/2025", "01/10/2025", true},
                        {"02/10/2025", "01/10/2025", false},
                        {"", "01/10/2025", false},
                        {"01/01/0001", "01/10/2025", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.van) + " - " + c.tot);
    auto& form = Open<TVWOKlasLesMomentenUitReceptForm>("TVWOKlasLesMomentenUitReceptForm");
    Fill(form, {{"LCInstelling", "1"}, {"EdtVan", c.van}, {"EdtTot", c.tot}});
    EXPECT_EQ(form.APrepare.Enabled, c.loads);
    // Without an institution nothing loads.
    Fill(form, {{"LCInstelling", ""}});
    EXPECT_EQ(form.Selectie.SchoolID(), -1);
    EXPECT_FALSE(form.APrepare.Enabled);
    app.CloseForm(form);
  }
}

TEST_F(KlasJobsTest, TheInstitutionsAreThoseOfTheMasterElseTheScreensOwn) {
  auto& form = Open<TVWOLesmomentenToMemoInGroepForm>("TVWOLesmomentenToMemoInGroepForm");
  EXPECT_EQ(form.Selectie.LCInstelling.ListSource, form.MasterDataSource());
  EXPECT_FALSE(form.Selectie.CDSBrowseVWOinstelling.Active());
  // A screen opened on its own lists the institutions itself.
  TVWOLesmomentenToMemoInGroepForm alone(app);
  app.Run([&] { alone.Selectie.SetMaster(nullptr); });
  EXPECT_EQ(alone.Selectie.LCInstelling.ListSource, &alone.Selectie.DSBrowseVWOinstelling);
  EXPECT_EQ(alone.Selectie.CDSBrowseVWOinstelling.RecordCount(), 2);
  EXPECT_EQ(Set(alone, "LCInstelling", "2"), TEventResult::Done);
  EXPECT_EQ(alone.Selectie.SchoolID(), 2);
}

TEST_F(KlasJobsTest, ARunStopsAtTheClassTheServerRefusesAndSaysHowFarItGot) {
  server->db().ExecuteScript(
      "INSERT INTO VWOKLAS (VWK_ID, VWK_CODE, VWK_OMSCHRIJVING, VWK_INSTELLING_FK, "
      "VWK_VESTIGINGSPLAATS_FK, VWK_VAN, VWK_TOT, VWK_VERANDERDDOOR, VWK_VERANDERDOP) VALUES "
      "(99, 'LIN-ZZZ', 'Weg', 1, 1, '2025-09-01', '2026-06-30', 1, '2025-08-25 10:00:00')");
  auto& form = Open<TVWOVerwerkLesmomentenForm>("TVWOVerwerkLesmomentenForm");
  Load(form, form.Selectie);
  const size_t last = form.Selectie.CLBKlassen.Items().size() - 1;
  Fill(form, {{"CBLesdagen", "1"}, {"CLBKlassen", "0,1," + std::to_string(last)}});
  server->db().ExecuteScript("DELETE FROM VWOKLAS WHERE VWK_ID = 99");
  EXPECT_EQ(Press(form, "AExecute"), TEventResult::ClientError);
  EXPECT_EQ(Messages(),
            "error: Klas LIN-ZZZ: Klas 99 niet gevonden\r\n2 van 3 klassen verwerkt.\n");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM JOBLOG"), "2\n");
  EXPECT_FALSE(form.Selectie.PBVoortgang.Visible);
  EXPECT_EQ(form.KlasID(), -1);
}

// ------------------------------------------------------------------------ the recipe screen

TEST_F(KlasJobsTest, TheRecipeScreenRunsOnlyWithARecipeAndCancellingTheDialogForgetsIt) {
  auto& form = Open<TVWOKlasLesMomentenUitReceptForm>("TVWOKlasLesMomentenUitReceptForm");
  EXPECT_EQ(Press(form, "ARecept"), TEventResult::Refused);
  Load(form, form.Selectie);
  Fill(form, {{"CLBKlassen", "0,1,2"}});
  EXPECT_FALSE(form.AExecute.Enabled);
  EXPECT_EQ(form.LRecept.Caption, "Geen recept gekozen");

  // One Monday evening from 01/10/2025 to 31/10/2025; the dialog starts with the screen's period.
  dialogs.AnswerModal("TVWOLesUitReceptDialoog", [this](TQuilForm& dialog) {
    EXPECT_EQ(dialog.ControlByName<TDateEdit>("EVan").ValueText(), "01/09/2025");
    EXPECT_EQ(dialog.ControlByName<TDateEdit>("ETot").ValueText(), "31/08/2026");
    dialogs.AnswerModal("TVWOEditReceptForm", [this](TQuilForm& editor) {
      Fill(editor, {{"CBDag", "Maandag"}, {"TEVan", "18:30"}, {"TETot", "21:30"}});
      EXPECT_EQ(app.Click(editor, "BOK"), TEventResult::Done) << dialogs.Transcript();
    });
    EXPECT_EQ(app.Execute(dialog, "ANieuw"), TEventResult::Done);
    Fill(dialog, {{"EVan", "01/10/2025"}, {"ETot", "31/10/2025"}, {"CBRegistratiemoment", "0"}});
    EXPECT_EQ(app.Click(dialog, "BOK"), TEventResult::Done) << dialogs.Transcript();
  });
  ASSERT_EQ(Press(form, "ARecept"), TEventResult::Done) << Messages();
  Messages();
  EXPECT_EQ(form.LRecept.Caption, "Recept met 1 lesmomenten, van 01/10/2025 tot 31/10/2025");
  EXPECT_EQ(form.Opties(), 1 | 2 | 16);
  const std::string recept = form.ReceptTekst();
  EXPECT_NE(recept.find("\"dag\":0"), std::string::npos) << recept;
  EXPECT_TRUE(form.AExecute.Enabled);

  ASSERT_EQ(Press(form, "AExecute"), TEventResult::Done) << Messages();
  EXPECT_EQ(Messages(), "message: De verwerking is uitgevoerd voor 3 klassen.\n");
  const std::vector<std::string> ids = ListIds();
  const std::string log = Stored("SELECT JL_JOBTYPE, JL_FASE, JL_DATA FROM JOBLOG ORDER BY JL_ID");
  std::string expected;
  for (int i : {0, 1, 2}) {
    std::string text;
    for (char c : recept) text += c == '"' ? std::string("\\\"") : std::string(1, c);
    expected += "313 | Execute | [" + Int(ids[i]) + ",{\"type\":\"String\",\"value\":\"\"}," +
                Int("19") +
                ",{\"type\":\"DateTime\",\"value\":\"2025-10-01 00:00:00\"},"
                "{\"type\":\"DateTime\",\"value\":\"2025-10-31 00:00:00\"},"
                "{\"type\":\"String\",\"value\":\"" +
                text + "\"}]\n";
  }
  EXPECT_EQ(log, expected);
  // The Mondays of October but the one in the autumn holiday, for each of the two module
  // variants of each class.
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOLES L JOIN VWOINGMODULEVARIANT I ON I.IMV_ID = "
                   "L.VWL_INGMODULEVARIANT_FK WHERE L.VWL_VANUUR = '18:30:00' AND "
                   "L.VWL_DATUM BETWEEN '2025-10-01' AND '2025-10-31' AND I.IMV_VWOKLAS_FK IN (" +
                   ids[0] + "," + ids[1] + "," + ids[2] +
                   ") AND L.VWL_VERANDERDOP >= '2025-10-01 00:00:00'"),
            "18\n");

  // Cancelling the dialog later removes the recipe chosen before.
  dialogs.AnswerModal("TVWOLesUitReceptDialoog", mrCancel);
  ASSERT_EQ(Press(form, "ARecept"), TEventResult::Done);
  EXPECT_EQ(form.ReceptTekst(), "");
  EXPECT_EQ(form.Opties(), 0);
  EXPECT_EQ(form.PeriodeVan().value, 0);
  EXPECT_EQ(form.LRecept.Caption, "Geen recept gekozen");
  EXPECT_FALSE(form.AExecute.Enabled);
}

// -------------------------------------------------------------------------- the memo screen

TEST_F(KlasJobsTest, MemosForThreeTickedClassesSendThreeJobsAndReportThree) {
  auto& form = Open<TVWOLesmomentenToMemoInGroepForm>("TVWOLesmomentenToMemoInGroepForm");
  EXPECT_EQ(Press(form, "APrepare"), TEventResult::Refused);
  EXPECT_EQ(Press(form, "AClear"), TEventResult::Refused);
  Load(form, form.Selectie);
  EXPECT_EQ(form.Selectie.BMain.Action, &form.AExecute);
  EXPECT_EQ(Press(form, "AExecute"), TEventResult::Refused);
  Fill(form, {{"CLBKlassen", "1,3,5"}});
  // The bar as each class starts: shown, out of three, one step further each time.
  std::string progress;
  app.OnProcessMessages = [&] {
    const TProgressBar& bar = form.Selectie.PBVoortgang;
    progress +=
        Format("%d %d/%d-%d;", static_cast<int>(bar.Visible), bar.Position, bar.Min, bar.Max);
  };
  ASSERT_EQ(Press(form, "AExecute"), TEventResult::Done) << Messages();
  app.OnProcessMessages = nullptr;
  EXPECT_EQ(progress, "1 1/0-3;1 2/0-3;1 3/0-3;");
  EXPECT_FALSE(form.Selectie.PBVoortgang.Visible);
  EXPECT_EQ(Messages(), "message: Klasmemo gegevens voor 3 klassen aangemaakt.\n");
  const std::vector<std::string> ids = ListIds();
  std::string expected;
  for (int i : {1, 3, 5}) expected += "328 | -1 | Execute | [" + Int(ids[i]) + "]\n";
  EXPECT_EQ(JobLog(), expected);

  // After a reset loading waits for an institution again.
  EXPECT_EQ(Press(form, "AClear"), TEventResult::Done);
  EXPECT_FALSE(form.Selectie.ListOpen());
  EXPECT_EQ(form.Selectie.BMain.Action, &form.APrepare);
  EXPECT_EQ(Press(form, "APrepare"), TEventResult::Refused);
  EXPECT_EQ(Set(form, "LCInstelling", "2"), TEventResult::Done);
  EXPECT_EQ(Press(form, "APrepare"), TEventResult::Done);
  EXPECT_NE(form.Selectie.CLBKlassen.Items()[0].find("HOR-"), std::string::npos);

  // One ticked class is enough.
  EXPECT_EQ(Press(form, "AExecute"), TEventResult::Refused);
  Fill(form, {{"CLBKlassen", "0"}});
  ASSERT_EQ(Press(form, "AExecute"), TEventResult::Done) << Messages();
  EXPECT_EQ(Messages(), "message: Klasmemo gegevens voor 1 klassen aangemaakt.\n");
  EXPECT_EQ(JobLog(), expected + "328 | -1 | Execute | [" + Int(ListIds(2)[0]) + "]\n");
}

}  // namespace
}  // namespace kavel::testing
