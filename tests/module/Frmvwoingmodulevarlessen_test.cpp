// The lessons of an organised module variant, opened as the user reaches them (Klassen ->
// Modulevarianten -> Lessen) on the demo data: the checks before a lesson is stored, the date
// question and job 436, the field reactions, a cancelled module variant, the set-lessons dialog,
// the room filter and the month view's write-back.
//
// Demo class 1 (De Linde, 15/09/2025 - 31/01/2026, location 1) has module variants 1 and 2 with
// a lesson a week; module variant 1's first lessons are known to Davinci. Class 4 and its module
// variants 7 and 8 start on 03/02/2026.
#include "modulevariants/Frmvwoingmodulevarlessen.h"
#include <algorithm>
#include <string>

#include "classes/frmVWOKlas.h"
#include "module/ScreenTest.h"
#include "modulevariants/frmVWOIngModuleVariant.h"
#include "planning/dlgVWOZetLessen.h"

namespace kavel::testing {
namespace {

using namespace quil;

class LessenTest : public ScreenTest {
 protected:
  //! Opens Klassen (De Linde) -> Modulevarianten -> Lessen on class `klas`, module variant `imv`.
  TVWOIngModuleVarLessenForm& OpenLessen(int klas, int imv) {
    auto& klassen = Open<TVWOKlasForm>("TVWOKlasForm");
    auto* browser = dynamic_cast<TQuilDBForm*>(klassen.MasterForm());
    EXPECT_EQ(MoveTo(*browser, "DSBrowseVWOinstelling", 2), TEventResult::Done);  // De Linde
    EXPECT_TRUE(klassen.CDSVWOKlas.LocateID(klas));
    EXPECT_EQ(MoveTo(klassen, "DSVWOKlas", klassen.CDSVWOKlas.RecNo()), TEventResult::Done);
    auto& varianten = OpenLink<TVWOIngModuleVariantForm>(klassen, "Modulevarianten");
    EXPECT_TRUE(varianten.CDSVWOIngModuleVarianten.LocateID(imv));
    EXPECT_EQ(
        MoveTo(varianten, "DSVWOIngModuleVarianten", varianten.CDSVWOIngModuleVarianten.RecNo()),
        TEventResult::Done);
    return OpenLink<TVWOIngModuleVarLessenForm>(varianten, "Lessen");
  }

  //! Edits the lesson `id` with the values and posts it.
  TEventResult EditAndPost(
      TVWOIngModuleVarLessenForm& screen, int id,
      std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    EXPECT_TRUE(screen.CDSLessen.LocateID(id));
    EXPECT_EQ(MoveTo(screen, "DSLessen", screen.CDSLessen.RecNo()), TEventResult::Done);
    EXPECT_EQ(Command(screen, "DSLessen", TDataSetCommand::Edit), TEventResult::Done);
    Fill(screen, values);
    return Command(screen, "DSLessen", TDataSetCommand::Post);
  }

  std::string Lesson(int id) {
    return Stored(
        "SELECT VWL_DATUM, VWL_VANUUR, VWL_TOTUUR, VWL_LESUREN, VWL_LOKAAL_FK, VWL_LESPLAATS_FK, "
        "VWL_FLAGS, VWL_TRIMESTER FROM VWOLES WHERE VWL_ID = " +
        std::to_string(id));
  }

  //! Closes every open screen (the browser first opened closes its details).
  void CloseAll() {
    while (!app.Forms().empty()) {
      ASSERT_TRUE(app.CloseForm(*app.Forms().front())) << Messages();
    }
  }

  int CurrentId(TVWOIngModuleVarLessenForm& screen) {
    return screen.CDSLessen.FieldByName("VWL_ID").AsInteger();
  }
};

TEST_F(LessenTest, OpensWithTheLessonsOfTheModuleVariantAndWhatTheyShow) {
  auto& screen = OpenLessen(1, 1);
  EXPECT_EQ(Messages(), "");
  EXPECT_EQ(screen.CDSLessen.RecordCount(),
            std::stoi(Stored("SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 1")));
  // The first lesson: Monday 15/09/2025 18:30 - 21:30 in the class's standard room A01.
  EXPECT_EQ(screen.CDSLessen.FieldByName("VWL_Weekdag").AsString(), "maandag");
  EXPECT_EQ(screen.CDSLessen.FieldByName("VWL_DATUM").DisplayText(), "15/09/2025");
  EXPECT_EQ(screen.CDSLessen.FieldByName("KL_LOKAALCODE").AsString(), "A01");
  EXPECT_EQ(screen.CDSLessen.FieldByName("KL_LOKAAL").AsString(), "Leslokaal");
  const std::string status = screen.CDSLessen.FieldByName("VWL_MODULEVARIANT").AsString();
  EXPECT_NE(status.find(" - 15/09/2025 - 31/01/2026"), std::string::npos) << status;
  // Captions of the free fields, the Davinci colour of what Davinci receives.
  EXPECT_EQ(screen.Veld[1]->Caption, "Thema");
  EXPECT_EQ(screen.EdtVrijVeld[1]->Caption, "Thema");
  EXPECT_EQ(screen.EdtDatum.Color, prefs.DavinciKleur());
  EXPECT_EQ(screen.CBAfstandsLesmoment.Color, prefs.DavinciKleur());
  EXPECT_EQ(screen.EdtTrimester.Color, clDefault);
  EXPECT_EQ(screen.CBGeenStandaardLes.Color, clDefault);
  // The staff of the class's period (from 15 weeks before 15/09/2025).
  EXPECT_EQ(screen.CDSLesgever.ParamByName("BeginDatum").AsDateTime(), EncodeDate(2025, 6, 2));
  // Printing hands the module variant over.
  screen.Print(0);
  ASSERT_EQ(app.Printed().size(), 1u);
  EXPECT_EQ(app.Printed()[0].params.Value("IMV_ID"), "1");
}

TEST_F(LessenTest, OutOfSchoolActivitiesHaveNoRoomOrPlaceAndOtherLessonsNeedBoth) {
  auto& screen = OpenLessen(1, 1);
  struct Case {
    const char* buitenschools;
    const char* lokaal;
    const char* lesplaats;
    const char* error;  // "" when stored
  };
  const Case cases[] = {
      {"1", "", "", ""},
      {"1", "2", "",
       "Bij een buitenschoolse activiteit mogen de lesplaats en het lokaal niet "
       "ingevuld zijn"},
      {"1", "", "1",
       "Bij een buitenschoolse activiteit mogen de lesplaats en het lokaal niet "
       "ingevuld zijn"},
      {"0", "2", "",
       "Lesplaats en lokaal zijn verplicht indien het geen buitenschoolse "
       "activiteit is."},
      {"0", "", "1",
       "Lesplaats en lokaal zijn verplicht indien het geen buitenschoolse "
       "activiteit is."},
      {"0", "2", "1", ""},
  };
  const int recNo = 3;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.buitenschools) + " " + c.lokaal + " " + c.lesplaats);
    ASSERT_EQ(MoveTo(screen, "DSLessen", recNo), TEventResult::Done);
    ASSERT_EQ(Command(screen, "DSLessen", TDataSetCommand::Edit), TEventResult::Done);
    // Empty first, so that ticking the box asks nothing.
    Fill(screen, {{"LCLokaal", ""},
                  {"LCLesplaats", ""},
                  {"CBBuitenschools", c.buitenschools},
                  {"LCLokaal", c.lokaal},
                  {"LCLesplaats", c.lesplaats}});
    const TEventResult posted = Command(screen, "DSLessen", TDataSetCommand::Post);
    if (*c.error == '\0') {
      EXPECT_EQ(posted, TEventResult::Done);
      EXPECT_EQ(Messages(), "");
    } else {
      EXPECT_EQ(posted, TEventResult::ClientError);
      EXPECT_EQ(Messages(), std::string("error: ") + c.error + "\n");
      EXPECT_EQ(screen.CDSLessen.State(), DataSetState::Edit);
      Command(screen, "DSLessen", TDataSetCommand::Cancel);
    }
  }
  const int id = CurrentId(screen);
  EXPECT_EQ(Lesson(id).substr(Lesson(id).find("| 2 |")), "| 2 | 1 | 0 | 1\n") << Lesson(id);
}

TEST_F(LessenTest, TickingOutOfSchoolAsksToEmptyRoomAndPlaceOnlyWhenThereAreAny) {
  auto& screen = OpenLessen(1, 1);
  ASSERT_EQ(Command(screen, "DSLessen", TDataSetCommand::Edit), TEventResult::Done);
  dialogs.AnswerNo();
  Fill(screen, {{"CBBuitenschools", "1"}});
  EXPECT_EQ(Messages(), "confirmation: Wilt u lesplaats en lokaal leegmaken? -> Nee\n");
  EXPECT_FALSE(screen.CDSLessen.FieldByName("VWL_LOKAAL_FK").IsNull());
  Fill(screen, {{"CBBuitenschools", "0"}});
  dialogs.AnswerYes();
  Fill(screen, {{"CBBuitenschools", "1"}});
  EXPECT_EQ(Messages(), "confirmation: Wilt u lesplaats en lokaal leegmaken? -> Ja\n");
  EXPECT_TRUE(screen.CDSLessen.FieldByName("VWL_LOKAAL_FK").IsNull());
  EXPECT_TRUE(screen.CDSLessen.FieldByName("VWL_LESPLAATS_FK").IsNull());
  // Now there is nothing to empty: nothing is asked.
  Fill(screen, {{"CBBuitenschools", "0"}, {"CBBuitenschools", "1"}});
  EXPECT_EQ(Messages(), "");
}

TEST_F(LessenTest, LessonTimesFollowTheHoursAndThePeriodFollowsTheDate) {
  struct Case {
    int klas, imv;
    const char *datum, *van, *tot;
    const char* lesuren;
    int trimester;
  };
  const Case cases[] = {
      // A module variant starting in September counts school trimesters.
      {1, 1, "12/01/2026", "18:00", "20:30", "3", 2},
      {1, 1, "15/09/2025", "19:00", "19:25", "0,5", 1},
      // One starting on 3 February counts periods of three months from then.
      {4, 7, "04/05/2026", "09:00", "11:30", "3", 2},
      {4, 7, "02/05/2026", "09:00", "11:30", "3", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.datum) + " " + c.van + "-" + c.tot);
    auto& screen = OpenLessen(c.klas, c.imv);
    ASSERT_EQ(Command(screen, "DSLessen", TDataSetCommand::Edit), TEventResult::Done);
    Fill(screen, {{"EdtDatum", c.datum}, {"EdtVanUur", c.van}, {"EdtTotUur", c.tot}});
    EXPECT_EQ(screen.CDSLessen.FieldByName("VWL_LESUREN").DisplayText(), c.lesuren);
    EXPECT_EQ(screen.CDSLessen.FieldByName("VWL_TRIMESTER").AsInteger(), c.trimester);
    Command(screen, "DSLessen", TDataSetCommand::Cancel);
    CloseAll();
  }
}

TEST_F(LessenTest, ADateOutsideThePeriodsAsksAndYesWidensThemThroughJob436) {
  // Class to 31/01/2026, module variant to 25/01/2026, its lessons to 20/01/2026.
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_TOT = '2026-01-25', IMV_LESTOT = '2026-01-20' "
      "WHERE IMV_ID = 1");
  auto& screen = OpenLessen(1, 1);
  const int recNo = 2;
  ASSERT_EQ(MoveTo(screen, "DSLessen", recNo), TEventResult::Done);
  const int id = CurrentId(screen);
  const std::string question =
      "warning: Lesdatum valt niet binnen de periode van de klas/ingerichte modulevariant.\r\n"
      "Datums klas/ingerichte modulevariant/loopbanen aanpassen?";
  struct Case {
    const char* datum;
    bool asks;
  };
  const Case cases[] = {{"20/01/2026", false}, {"21/01/2026", true}, {"25/01/2026", true},
                        {"26/01/2026", true},  {"31/01/2026", true}, {"01/02/2026", true},
                        {"15/09/2025", false}, {"14/09/2025", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.datum);
    const std::string before = Lesson(id);
    if (c.asks) dialogs.AnswerNo();
    EXPECT_EQ(EditAndPost(screen, id, {{"EdtDatum", c.datum}}),
              c.asks ? TEventResult::Aborted : TEventResult::Done);
    EXPECT_EQ(Messages(), c.asks ? question + " -> Nee\n" : "");
    if (c.asks) {
      // No: nothing stored, the lesson stays in edit.
      EXPECT_EQ(screen.CDSLessen.State(), DataSetState::Edit);
      EXPECT_EQ(Lesson(id), before);
      Command(screen, "DSLessen", TDataSetCommand::Cancel);
    }
  }
  EXPECT_EQ(JobLog(), "");

  // Yes: job 436 once with the date and the module variant, and the lesson is stored.
  dialogs.AnswerYes();
  EXPECT_EQ(EditAndPost(screen, id, {{"EdtDatum", "03/02/2026"}}), TEventResult::Done);
  EXPECT_EQ(Messages(), question + " -> Ja\n");
  EXPECT_EQ(JobLog(),
            "436 | 0 | Execute | [{\"type\":\"DateTime\",\"value\":\"2026-02-03 00:00:00\"},"
            "{\"type\":\"Integer\",\"value\":1}]\n");
  EXPECT_EQ(Lesson(id).substr(0, 10), "2026-02-03");
  EXPECT_EQ(Stored("SELECT IMV_TOT, IMV_LESTOT FROM VWOINGMODULEVARIANT WHERE IMV_ID = 1"),
            "2026-02-03 | 2026-02-03\n");
  EXPECT_EQ(Stored("SELECT VWK_TOT FROM VWOKLAS WHERE VWK_ID = 1"), "2026-02-03\n");
}

TEST_F(LessenTest, ACancelledModuleVariantKeepsItsLaterLessonsAndOffersNoBulkActions) {
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_AFGELASTOP = '2025-11-03' WHERE IMV_ID = 1");
  auto& screen = OpenLessen(1, 1);
  EXPECT_FALSE(screen.ASetLessen.Enabled);
  EXPECT_FALSE(screen.AAddFromKalender.Enabled);
  EXPECT_TRUE(screen.ACheckLesTijden.Enabled);
  EXPECT_EQ(Press(screen, "ASetLessen"), TEventResult::Refused);
  // Mondays from 15/09: the eighth lesson is 03/11/2025, the cancellation date itself.
  struct Case {
    int recNo;
    TEventResult edit;
  };
  for (const Case& c : {Case{1, TEventResult::Done}, Case{8, TEventResult::Done},
                        Case{9, TEventResult::Refused}, Case{12, TEventResult::Refused}}) {
    SCOPED_TRACE(c.recNo);
    ASSERT_EQ(MoveTo(screen, "DSLessen", c.recNo), TEventResult::Done);
    EXPECT_EQ(Command(screen, "DSLessen", TDataSetCommand::Edit), c.edit) << Messages();
    Command(screen, "DSLessen", TDataSetCommand::Cancel);
  }
  ASSERT_EQ(MoveTo(screen, "DSLessen", 9), TEventResult::Done);
  EXPECT_NE(Set(screen, "EdtDatum", "10/11/2025"), TEventResult::Done);
  EXPECT_EQ(screen.CDSLessen.State(), DataSetState::Browse);
}

TEST_F(LessenTest, TheDavinciCallsAreOfferedForALessonDavinciKnowsToAUserWhoMayChangeSomething) {
  auto& screen = OpenLessen(1, 1);
  ASSERT_FALSE(screen.CDSLessen.FieldByName("VWL_DAVINCIID").IsNull());
  EXPECT_TRUE(screen.ACommDavinci.Enabled);
  screen.SetRights(1);  // may open, nothing more
  app.Run([] {});
  EXPECT_FALSE(screen.ACommDavinci.Enabled);
  screen.SetRights(1 | 8);  // may delete
  ASSERT_EQ(MoveTo(screen, "DSLessen", 10), TEventResult::Done);
  EXPECT_TRUE(screen.CDSLessen.FieldByName("VWL_DAVINCIID").IsNull());
  EXPECT_FALSE(screen.ACommDavinci.Enabled);
  ASSERT_EQ(MoveTo(screen, "DSLessen", 1), TEventResult::Done);
  EXPECT_TRUE(screen.ACommDavinci.Enabled);
}

TEST_F(LessenTest, TheLessonJobsAndTheLessonTimeCheckTakeTheModuleVariant) {
  auto& screen = OpenLessen(1, 2);
  EXPECT_EQ(Press(screen, "ADoc3BInfoUitLesmomenten"), TEventResult::Done) << Messages();
  EXPECT_EQ(JobLog(), "325 | -1 | Execute | [{\"type\":\"Integer\",\"value\":2}]\n");
  // The demo's module variant 2 has one teacher and the same hours every week.
  const std::string week = Stored(
      "SELECT DISTINCT VWL_LESGEVER_FK, VWL_LESUREN FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 2");
  const int weeks =
      std::stoi(Stored("SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 2"));
  const std::string row = Stored(
      "SELECT VD3_LESGEVER_FK, VD3_UREN FROM VWODOC3BINFO WHERE VD3_VWOINGMODULEVARIANT_FK = 2");
  ASSERT_EQ(std::count(week.begin(), week.end(), '\n'), 1) << week;
  EXPECT_EQ(row.substr(0, row.find(" | ")), week.substr(0, week.find(" | ")));
  EXPECT_DOUBLE_EQ(std::stod(row.substr(row.find(" | ") + 3)),
                   std::stod(week.substr(week.find(" | ") + 3)) * weeks);
  // The distance moments are counted from the module variant screen: not offered here.
  EXPECT_FALSE(screen.ABerekenAfstandsLesmomenten.Visible);
  EXPECT_EQ(Press(screen, "ACheckLesTijden"), TEventResult::Done);
  const std::string report = Messages();
  EXPECT_NE(report.find(screen.CDSGetlesTijden.FieldByName("VOM_CODE").AsString()),
            std::string::npos)
      << report;
  // While a lesson is being edited, the actions wait for it.
  ASSERT_EQ(Command(screen, "DSLessen", TDataSetCommand::Edit), TEventResult::Done);
  EXPECT_EQ(Press(screen, "ADoc3BInfoUitLesmomenten"), TEventResult::Refused);
  EXPECT_EQ(Press(screen, "ASetLessen"), TEventResult::Refused);
  Command(screen, "DSLessen", TDataSetCommand::Cancel);
}

TEST_F(LessenTest, SetLessonsProposesTodayOrTheFirstLessonUntilTheLastOne) {
  struct Case {
    const char* eerste;
    const char* laatste;
    TDateTime van, tot;
  };
  const Case cases[] = {
      // All lessons past: from today, to the last lesson (before it).
      {"2024-02-05", "2024-03-04", Date(), EncodeDate(2024, 3, 4)},
      {"2099-01-05", "2099-02-02", EncodeDate(2099, 1, 5), EncodeDate(2099, 2, 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.eerste);
    server->db().ExecuteScript(std::string("UPDATE VWOLES SET VWL_DATUM = '") + c.eerste +
                               "' WHERE VWL_INGMODULEVARIANT_FK = 2; UPDATE VWOLES SET "
                               "VWL_DATUM = '" +
                               c.laatste +
                               "' WHERE VWL_ID = (SELECT MIN(VWL_ID) FROM VWOLES WHERE "
                               "VWL_INGMODULEVARIANT_FK = 2)");
    auto& screen = OpenLessen(1, 2);
    TDateTime van, tot;
    dialogs.AnswerModal("TVWOZetLessenForm", [&](TQuilForm& shown) {
      auto& dialog = dynamic_cast<TVWOZetLessenForm&>(shown);
      van = dialog.DEVan.Date();
      tot = dialog.DETot.Date();
      EXPECT_TRUE(screen.SettingLessons());
      EXPECT_EQ(app.Click(dialog, "BCancel"), TEventResult::Done);
    });
    EXPECT_EQ(Press(screen, "ASetLessen"), TEventResult::Done) << Messages();
    EXPECT_FALSE(screen.SettingLessons());
    EXPECT_EQ(van, c.van);
    EXPECT_EQ(tot, c.tot);
    CloseAll();
  }
}

TEST_F(LessenTest, SetLessonsPostsWithoutTheChecksAndRecomputesTheLessonDays) {
  // The lessons lie outside the lesson period now: a post on the card would ask.
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_LESTOT = '2025-10-01' WHERE IMV_ID = 2");
  auto& screen = OpenLessen(1, 2);
  const int lessons = screen.CDSLessen.RecordCount();
  dialogs.AnswerModal("TVWOZetLessenForm", [&](TQuilForm& dialog) {
    EXPECT_EQ(app.SetValue(dialog, "DEVan", "01/09/2025"), TEventResult::Done);
    EXPECT_EQ(app.SetValue(dialog, "DETot", "31/01/2026"), TEventResult::Done);
    EXPECT_EQ(app.SetValue(dialog, "CBUrenWijzigen", "1"), TEventResult::Done);
    EXPECT_EQ(app.SetValue(dialog, "TEVanUur", "13:00"), TEventResult::Done);
    EXPECT_EQ(app.SetValue(dialog, "TETotUur", "15:30"), TEventResult::Done);
    EXPECT_EQ(app.Click(dialog, "BOK"), TEventResult::Done) << dialogs.Transcript();
  });
  EXPECT_EQ(Press(screen, "ASetLessen"), TEventResult::Done) << Messages();
  EXPECT_EQ(Messages(), "modal TVWOZetLessenForm: Lessen Wijzigen -> OK\n");
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 2 AND "
                   "VWL_VANUUR = '13:00:00'"),
            std::to_string(lessons) + "\n");
  EXPECT_EQ(JobLog(),
            "352 | 0 | Execute | [{\"type\":\"Integer\",\"value\":0},"
            "{\"type\":\"Integer\",\"value\":2}]\n");
  // The demo's weekday of module variant 2, now in the afternoon (bits 7..13).
  const int lesdagen =
      std::stoi(Stored("SELECT IMV_LESDAGEN FROM VWOINGMODULEVARIANT WHERE IMV_ID = 2"));
  EXPECT_GE(lesdagen, 1 << 7);
  EXPECT_LT(lesdagen, 1 << 14);
  EXPECT_EQ(screen.CDSLessen.RecordCount(), lessons) << "reopened";
}

TEST_F(LessenTest, RoomsAndPlacesOfferedFollowThePreference) {
  struct Case {
    bool alle;
    int rooms, places;
  };
  // Class 1 is at location 1; locations 1 and 2 share adult-education location 1.
  for (const Case& c : {Case{false, 4, 1}, Case{true, 8, 2}}) {
    SCOPED_TRACE(c.alle);
    prefs.SetVWOToonAlleLesplaatsen(c.alle);
    auto& screen = OpenLessen(1, 1);
    EXPECT_EQ(screen.CDSLokaal.RecordCount(), c.rooms);
    EXPECT_EQ(screen.CDSSelectLesplaats.RecordCount(), c.places);
    // A room of the other location is offered only with the preference on.
    ASSERT_EQ(Command(screen, "DSLessen", TDataSetCommand::Edit), TEventResult::Done);
    EXPECT_EQ(Set(screen, "LCLokaal", "5"),
              c.alle ? TEventResult::Done : TEventResult::ClientError);
    Command(screen, "DSLessen", TDataSetCommand::Cancel);
    Messages();
    CloseAll();
  }
}

TEST_F(LessenTest, TheMonthViewShowsTheLessonsAndWritesItsChangesBackInOneApply) {
  auto& screen = OpenLessen(1, 1);
  const int lessons = screen.CDSLessen.RecordCount();
  screen.CDSLessen.Last();
  const int last = CurrentId(screen);  // no participations: it can go
  screen.CDSLessen.First();
  ASSERT_EQ(Set(screen, "PCLessen", "2"), TEventResult::Done) << Messages();
  EXPECT_EQ(screen.PLKalender.SchoolYear, 2025);
  EXPECT_EQ(screen.PLKalender.Month(), 10);
  ASSERT_EQ(static_cast<int>(screen.PLKalender.Items.size()), lessons);
  EXPECT_EQ(screen.PLKalender.Items[0].text, "18:30 - 21:30");
  EXPECT_TRUE(screen.CDSLessen.ControlsDisabled());
  EXPECT_EQ(Command(screen, "DSLessen", TDataSetCommand::Append), TEventResult::Refused);

  // A new lesson on a Wednesday, edited in the editor; the last lesson deleted; the first moved.
  dialogs.AnswerModal("TVWOLesMomentDialog", [&](TQuilForm& editor) {
    EXPECT_EQ(app.SetValue(editor, "TEVanUur", "09:00"), TEventResult::Done);
    EXPECT_EQ(app.SetValue(editor, "TETotUur", "11:30"), TEventResult::Done);
    EXPECT_EQ(app.Click(editor, "BOK"), TEventResult::Done) << dialogs.Transcript();
  });
  EXPECT_EQ(app.Run([&] { screen.PLKalender.CreateItem(EncodeDate(2025, 10, 8)); }),
            TEventResult::Done)
      << Messages();
  ASSERT_EQ(static_cast<int>(screen.PLKalender.Items.size()), lessons + 1);
  EXPECT_EQ(screen.PLKalender.Items.back().text, "09:00 - 11:30");
  // A cancelled editor keeps nothing.
  dialogs.AnswerModal("TVWOLesMomentDialog", mrCancel);
  EXPECT_EQ(app.Run([&] { screen.PLKalender.CreateItem(EncodeDate(2025, 10, 9)); }),
            TEventResult::Done);
  ASSERT_EQ(static_cast<int>(screen.PLKalender.Items.size()), lessons + 1);
  EXPECT_EQ(app.Run([&] { screen.PLKalender.DeleteItem(lessons - 1); }), TEventResult::Done);
  dialogs.AnswerModal("TVWOLesMomentDialog", [&](TQuilForm& editor) {
    EXPECT_EQ(app.SetValue(editor, "DEDatum", "17/09/2025"), TEventResult::Done);
    EXPECT_EQ(app.Click(editor, "BOK"), TEventResult::Done) << dialogs.Transcript();
  });
  EXPECT_EQ(app.Run([&] { screen.PLKalender.DblClickItem(0); }), TEventResult::Done);
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 1"),
            std::to_string(lessons) + "\n")
      << "nothing is written while the month view is shown";

  ASSERT_EQ(Set(screen, "PCLessen", "0"), TEventResult::Done) << Messages();
  EXPECT_EQ(Messages(),
            "modal TVWOLesMomentDialog: Lesmoment -> OK\n"
            "modal TVWOLesMomentDialog: Lesmoment -> Annuleren\n"
            "modal TVWOLesMomentDialog: Lesmoment -> OK\n");
  EXPECT_FALSE(screen.CDSLessen.ControlsDisabled());
  EXPECT_FALSE(screen.CDSLessen.GetBulkChange());
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOLES WHERE VWL_ID = " + std::to_string(last)), "0\n");
  EXPECT_EQ(Stored("SELECT VWL_DATUM, VWL_VANUUR, VWL_TOTUUR, VWL_LESUREN, VWL_LOKAAL_FK, "
                   "VWL_TRIMESTER FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 1 AND "
                   "VWL_DATUM IN ('2025-09-17', '2025-10-08') ORDER BY VWL_DATUM"),
            "2025-09-17 | 18:30:00 | 21:30:00 | 3.6 | 1 | 1\n"
            "2025-10-08 | 09:00:00 | 11:30:00 | 3 | 1 | 1\n");
  // The new lesson got the module variant's teacher.
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOLES L JOIN VWOINGMODULEVARIANT I ON I.IMV_ID = "
                   "L.VWL_INGMODULEVARIANT_FK WHERE I.IMV_ID = 1 AND L.VWL_DATUM = '2025-10-08' "
                   "AND L.VWL_LESGEVER_FK = I.IMV_LESGEVER_FK"),
            "1\n");
  EXPECT_EQ(screen.CDSLessen.RecordCount(), lessons);
}

TEST_F(LessenTest, AWriteBackTheListRefusesKeepsTheMonthViewAndStoresNothing) {
  auto& screen = OpenLessen(1, 1);
  const std::string before = Stored("SELECT * FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 1");
  ASSERT_EQ(Set(screen, "PCLessen", "2"), TEventResult::Done);
  // One moment moved, one moved out of the class's period: the question is answered No.
  dialogs.AnswerModal("TVWOLesMomentDialog", [&](TQuilForm& editor) {
    EXPECT_EQ(app.SetValue(editor, "DEDatum", "16/09/2025"), TEventResult::Done);
    EXPECT_EQ(app.Click(editor, "BOK"), TEventResult::Done);
  });
  app.Run([&] { screen.PLKalender.DblClickItem(0); });
  dialogs.AnswerModal("TVWOLesMomentDialog", [&](TQuilForm& editor) {
    EXPECT_EQ(app.SetValue(editor, "DEDatum", "01/03/2026"), TEventResult::Done);
    EXPECT_EQ(app.Click(editor, "BOK"), TEventResult::Done);
  });
  app.Run([&] { screen.PLKalender.DblClickItem(1); });
  dialogs.AnswerNo();
  EXPECT_EQ(Set(screen, "PCLessen", "0"), TEventResult::Aborted);
  EXPECT_EQ(screen.PCLessen.ActivePage(), &screen.TSKalender);
  EXPECT_EQ(Stored("SELECT * FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 1"), before);
  EXPECT_EQ(screen.LesMomenten().PendingCount(), 2);
  EXPECT_FALSE(screen.CDSLessen.GetBulkChange());
  EXPECT_EQ(screen.CDSLessen.ChangeCount(), 0);
}

}  // namespace
}  // namespace kavel::testing
