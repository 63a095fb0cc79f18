// The lesson moments of a class, opened as the user reaches them (Klassen -> Lessen) on the demo
// data: what the lessons show, a module variant chosen per lesson and kept once stored, the
// cancellation of one module variant, the module variants handed to the set-lessons and calendar
// dialogs, job 368 per lesson and the month view's module variants.
//
// Demo class 1 (De Linde, 15/09/2025 - 31/01/2026) has module variant 1 (Monday evenings, from
// 15/09) and 2 (Tuesday mornings, from 16/09). Class 4 and its module variants 7 and 8 run from
// 03/02/2026 to 27/06/2026.
#include "modulevariants/Frmvwoklaslesmomenten.h"

#include <string>
#include <vector>

#include "classes/frmVWOKlas.h"
#include "module/ScreenTest.h"
#include "planning/dlgVWOLesmomentKalender.h"
#include "planning/dlgVWOZetLessen.h"

namespace kavel::testing {
namespace {

using namespace quil;

class KlasLesmomentenTest : public ScreenTest {
 protected:
  //! Opens Klassen (De Linde) -> Lessen on class `klas`.
  TVWOKlasLesmomentenForm& OpenKlasLessen(int klas) {
    auto& klassen = Open<TVWOKlasForm>("TVWOKlasForm");
    auto* browser = dynamic_cast<TQuilDBForm*>(klassen.MasterForm());
    EXPECT_EQ(MoveTo(*browser, "DSBrowseVWOinstelling", 2), TEventResult::Done);  // De Linde
    EXPECT_TRUE(klassen.CDSVWOKlas.LocateID(klas));
    EXPECT_EQ(MoveTo(klassen, "DSVWOKlas", klassen.CDSVWOKlas.RecNo()), TEventResult::Done);
    return OpenLink<TVWOKlasLesmomentenForm>(klassen, "Lessen");
  }

  //! "VOM_CODE VOM_OMSCHRIJVING" of organised module variant `imv`.
  std::string Omschrijving(int imv) {
    std::string text = Stored(
        "SELECT M.VOM_CODE || ' ' || M.VOM_OMSCHRIJVING FROM VWOINGMODULEVARIANT I "
        "JOIN VWOMODULEVARIANT MV ON MV.VMV_ID = I.IMV_VWOMODULEVARIANT_FK "
        "JOIN VWOMODULE M ON M.VOM_ID = MV.VMV_MODULE_FK WHERE I.IMV_ID = " +
        std::to_string(imv));
    return text.substr(0, text.size() - 1);
  }

  //! Gives class 4 one module variant (7): module variant 8 moves to class 5.
  void OneModuleVariantInClass4() {
    server->db().ExecuteScript(
        "UPDATE VWOINGMODULEVARIANT SET IMV_VWOKLAS_FK = 5 WHERE IMV_ID = 8");
  }

  TEventResult Edit(TVWOKlasLesmomentenForm& screen, int recNo) {
    EXPECT_EQ(MoveTo(screen, "DSKlasLesmomenten", recNo), TEventResult::Done);
    return Command(screen, "DSKlasLesmomenten", TDataSetCommand::Edit);
  }

  int Current(TVWOKlasLesmomentenForm& screen, const char* field) {
    return screen.CDSKlasLesMomenten.FieldByName(field).AsInteger();
  }
};

TEST_F(KlasLesmomentenTest, OpensWithEveryLessonOfTheClassAndNamesTheClassAndModuleVariants) {
  auto& screen = OpenKlasLessen(1);
  EXPECT_EQ(Messages(), "");
  EXPECT_EQ(std::to_string(screen.CDSKlasLesMomenten.RecordCount()) + "\n",
            Stored("SELECT COUNT(*) FROM VWOLES L JOIN VWOINGMODULEVARIANT I ON "
                   "I.IMV_ID = L.VWL_INGMODULEVARIANT_FK WHERE I.IMV_VWOKLAS_FK = 1"));
  EXPECT_EQ(screen.CDSSelectIngModuleVar.RecordCount(), 2);
  EXPECT_EQ(screen.CDSCopyIngModuleVar.RecordCount(), 2);
  // The status line names the class.
  EXPECT_EQ(screen.CDSKlasLesMomenten.StatusFields, "VWL_KLAS");
  EXPECT_EQ(screen.CDSKlasLesMomenten.FieldByName("VWL_KLAS").AsString() + "\n",
            Stored("SELECT VWK_CODE || ' - ' || VWK_OMSCHRIJVING FROM VWOKLAS WHERE VWK_ID = 1"));
  // Monday 15/09 of module variant 1, then Tuesday 16/09 of module variant 2.
  struct Row {
    int recNo;
    const char* datum;
    int imv;
  };
  for (const Row& row : {Row{1, "15/09/2025", 1}, Row{2, "16/09/2025", 2}}) {
    SCOPED_TRACE(row.recNo);
    ASSERT_EQ(MoveTo(screen, "DSKlasLesmomenten", row.recNo), TEventResult::Done);
    EXPECT_EQ(screen.CDSKlasLesMomenten.FieldByName("VWL_DATUM").DisplayText(), row.datum);
    EXPECT_EQ(Current(screen, "VWL_INGMODULEVARIANT_FK"), row.imv);
    EXPECT_EQ(screen.CDSKlasLesMomenten.FieldByName("VWL_INGModuleVar").AsString(),
              Omschrijving(row.imv));
    EXPECT_EQ(screen.CDSKlasLesMomenten.FieldByName("VWL_LOKAAL").AsString(), "Leslokaal");
    EXPECT_TRUE(screen.CDSKlasLesMomenten.FieldByName("VWL_AFGELASTOP").IsNull());
  }
  EXPECT_EQ(screen.LCIngModuleVar.Color, prefs.DavinciKleur());
  screen.Print(0);
  ASSERT_EQ(app.Printed().size(), 1u);
  EXPECT_EQ(app.Printed()[0].params.Value("VWK_ID"), "1");
}

TEST_F(KlasLesmomentenTest, AnotherClassChosenInTheClassListBringsItsLessonsAndModuleVariants) {
  auto& screen = OpenKlasLessen(1);
  auto& klassen = dynamic_cast<TVWOKlasForm&>(*screen.MasterForm());
  ASSERT_TRUE(klassen.CDSVWOKlas.LocateID(4));
  ASSERT_EQ(MoveTo(klassen, "DSVWOKlas", klassen.CDSVWOKlas.RecNo()), TEventResult::Done);
  EXPECT_EQ(screen.CDSKlasLesMomenten.ParamByName("VWK_ID").AsInteger(), 4);
  EXPECT_EQ(std::to_string(screen.CDSKlasLesMomenten.RecordCount()) + "\n",
            Stored("SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK IN (7, 8)"));
  // The checks read the new class's module variants.
  std::vector<int> copied;
  for (screen.CDSCopyIngModuleVar.First(); !screen.CDSCopyIngModuleVar.Eof();
       screen.CDSCopyIngModuleVar.Next()) {
    copied.push_back(screen.CDSCopyIngModuleVar.FieldByName("IMV_ID").AsInteger());
  }
  EXPECT_EQ(copied, (std::vector<int>{7, 8}));
  EXPECT_EQ(screen.CDSKlasLesMomenten.FieldByName("VWL_KLAS").AsString() + "\n",
            Stored("SELECT VWK_CODE || ' - ' || VWK_OMSCHRIJVING FROM VWOKLAS WHERE VWK_ID = 4"));
  EXPECT_EQ(screen.CDSKlasLesMomenten.FieldByName("VWL_INGModuleVar").AsString(),
            Omschrijving(Current(screen, "VWL_INGMODULEVARIANT_FK")));
}

TEST_F(KlasLesmomentenTest, ALessonOfACancelledModuleVariantAfterTheDateIsKeptTheOthersNot) {
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_AFGELASTOP = '2025-11-03' WHERE IMV_ID = 1");
  auto& screen = OpenKlasLessen(1);
  // The cancellation limits the lessons only: the bulk actions stay.
  EXPECT_TRUE(screen.ASetLessen.Enabled);
  EXPECT_TRUE(screen.AAddFromKalendar.Enabled);
  struct Case {
    const char* datum;
    int imv;
    TEventResult edit;
  };
  const Case cases[] = {{"2025-11-03", 1, TEventResult::Done},
                        {"2025-11-10", 1, TEventResult::Refused},
                        {"2025-11-04", 2, TEventResult::Done},
                        {"2025-11-11", 2, TEventResult::Done}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.datum);
    const int id =
        std::stoi(Stored(std::string("SELECT VWL_ID FROM VWOLES WHERE VWL_DATUM = '") + c.datum +
                         "' AND VWL_INGMODULEVARIANT_FK = " + std::to_string(c.imv)));
    ASSERT_TRUE(screen.CDSKlasLesMomenten.LocateID(id));
    EXPECT_EQ(screen.CDSKlasLesMomenten.FieldByName("VWL_AFGELASTOP").IsNull(), c.imv != 1);
    EXPECT_EQ(Edit(screen, screen.CDSKlasLesMomenten.RecNo()), c.edit) << Messages();
    Command(screen, "DSKlasLesmomenten", TDataSetCommand::Cancel);
  }
  // In the month view the same lessons are refused.
  ASSERT_EQ(Set(screen, "PCLessen", "2"), TEventResult::Done) << Messages();
  const std::string refused =
      "error: Deze les valt na de afgelasting van de ingerichte modulevariant en kan niet "
      "gewijzigd worden.\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.datum);
    const std::vector<TPlanner::Item>& items = screen.PLKalender.Items;
    int index = -1;
    for (size_t i = 0; i < items.size(); ++i) {
      if (FormatDateTime("yyyy-mm-dd", items[i].date) == c.datum) index = static_cast<int>(i);
    }
    ASSERT_NE(index, -1);
    if (c.edit == TEventResult::Done) {
      dialogs.AnswerModal("TVWOLesMomentDialog", mrCancel);
      EXPECT_EQ(app.Run([&] { screen.PLKalender.DblClickItem(index); }), TEventResult::Done);
      EXPECT_EQ(Messages(), "modal TVWOLesMomentDialog: Lesmoment -> Annuleren\n");
    } else {
      EXPECT_EQ(app.Run([&] { screen.PLKalender.DeleteItem(index); }), TEventResult::ClientError);
      EXPECT_EQ(Messages(), refused);
    }
  }
}

TEST_F(KlasLesmomentenTest, AStoredLessonKeepsItsModuleVariantANewOneTakesItsPeriodFromTheChosen) {
  // Module variant 8 starts a month later than 7: 04/05/2026 is in 7's second period of three
  // months and in 8's first.
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_VAN = '2026-03-02', IMV_LESVAN = '2026-03-02' "
      "WHERE IMV_ID = 8");
  auto& screen = OpenKlasLessen(4);
  const std::string refusal =
      "error: Wijzigen van een ingerichte modulevariant van een les is niet toegelaten\n";
  ASSERT_EQ(Edit(screen, 1), TEventResult::Done);
  const int imv = Current(screen, "VWL_INGMODULEVARIANT_FK");
  EXPECT_EQ(Set(screen, "LCIngModuleVar", imv == 7 ? "8" : "7"), TEventResult::ClientError);
  EXPECT_EQ(Messages(), refusal);
  EXPECT_EQ(Current(screen, "VWL_INGMODULEVARIANT_FK"), imv);
  EXPECT_EQ(Set(screen, "LCIngModuleVar", std::to_string(imv)), TEventResult::Done);
  Command(screen, "DSKlasLesmomenten", TDataSetCommand::Cancel);

  struct Case {
    const char* imv;
    int trimester;
  };
  for (const Case& c : {Case{"7", 2}, Case{"8", 1}}) {
    SCOPED_TRACE(c.imv);
    ASSERT_EQ(Command(screen, "DSKlasLesmomenten", TDataSetCommand::Append), TEventResult::Done);
    // The class's room is preset; the class screen has no lesson place to give.
    EXPECT_EQ(screen.CDSKlasLesMomenten.FieldByName("VWL_LOKAAL_FK").AsString() + "\n",
              Stored("SELECT VWK_STANDAARDLOKAAL_FK FROM VWOKLAS WHERE VWK_ID = 4"));
    EXPECT_TRUE(screen.CDSKlasLesMomenten.FieldByName("VWL_LESPLAATS_FK").IsNull());
    EXPECT_TRUE(screen.CDSKlasLesMomenten.FieldByName("VWL_LESGEVER_FK").IsNull());
    Fill(screen, {{"EdtDatum", "04/05/2026"},
                  {"EdtVanUur", "09:00"},
                  {"EdtTotUur", "11:30"},
                  {"LCLesplaats", Stored("SELECT VWK_VESTIGINGSPLAATS_FK FROM VWOKLAS "
                                         "WHERE VWK_ID = 4")
                                      .substr(0, 1)}});
    // Without a module variant the lesson cannot be checked.
    EXPECT_EQ(Command(screen, "DSKlasLesmomenten", TDataSetCommand::Post),
              TEventResult::ClientError);
    EXPECT_EQ(Messages(), "error: Ingerichte modulevariant niet gevonden\n");
    EXPECT_EQ(Set(screen, "LCIngModuleVar", c.imv), TEventResult::Done);
    EXPECT_EQ(Current(screen, "VWL_TRIMESTER"), c.trimester);
    EXPECT_EQ(Command(screen, "DSKlasLesmomenten", TDataSetCommand::Post), TEventResult::Done)
        << Messages();
  }
  EXPECT_EQ(Stored("SELECT VWL_INGMODULEVARIANT_FK, VWL_TRIMESTER FROM VWOLES WHERE "
                   "VWL_DATUM = '2026-05-04' AND VWL_VANUUR = '09:00:00' ORDER BY VWL_ID"),
            "7 | 2\n8 | 1\n");
  // The card deletes a lesson (the month view does not: there the lessons wait for the view).
  dialogs.AnswerYes();
  EXPECT_EQ(Command(screen, "DSKlasLesmomenten", TDataSetCommand::Delete), TEventResult::Done);
  Messages();
  EXPECT_EQ(Stored("SELECT VWL_INGMODULEVARIANT_FK FROM VWOLES WHERE VWL_DATUM = '2026-05-04' AND "
                   "VWL_VANUUR = '09:00:00'"),
            "7\n");
}

TEST_F(KlasLesmomentenTest, TheSetLessonsDialogGetsEachModuleVariantOnceInTheOrderOfTheLessons) {
  struct Case {
    const char* script;  // "" keeps the demo's lessons
    int first, second;
  };
  const Case cases[] = {
      {"", 1, 2},
      // Module variant 1's first lesson moves after module variant 2's first.
      {"UPDATE VWOLES SET VWL_DATUM = '2025-09-17' WHERE VWL_INGMODULEVARIANT_FK = 1 AND "
       "VWL_DATUM = '2025-09-15'",
       2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    if (*c.script != '\0') server->db().ExecuteScript(c.script);
    auto& screen = OpenKlasLessen(1);
    ASSERT_EQ(MoveTo(screen, "DSKlasLesmomenten", 5), TEventResult::Done);
    std::vector<std::string> given;
    dialogs.AnswerModal("TVWOZetLessenForm", [&](TQuilForm& shown) {
      auto& dialog = dynamic_cast<TVWOZetLessenForm&>(shown);
      given = dialog.GetIMVIDS();
      EXPECT_EQ(dialog.GetDS(0), &screen.DSLesgever);
      EXPECT_EQ(dialog.GetDS(1), &screen.DSLokaal);
      EXPECT_EQ(dialog.GetDS(2), &screen.DSKlasLesmomenten);
      EXPECT_EQ(dialog.GetDS(3), &screen.DSSelectLesplaats);
      EXPECT_EQ(dialog.CLBModulevarianten.Items().size(), 2u);
      EXPECT_EQ(app.Click(dialog, "BCancel"), TEventResult::Done);
    });
    EXPECT_EQ(Press(screen, "ASetLessen"), TEventResult::Done) << Messages();
    EXPECT_EQ(given,
              (std::vector<std::string>{std::to_string(c.first) + "=" + Omschrijving(c.first),
                                        std::to_string(c.second) + "=" + Omschrijving(c.second)}));
    EXPECT_EQ(screen.CDSKlasLesMomenten.RecNo(), 5) << "back on the lesson it was on";
    EXPECT_FALSE(screen.CDSKlasLesMomenten.ControlsDisabled());
    while (!app.Forms().empty()) ASSERT_TRUE(app.CloseForm(*app.Forms().front())) << Messages();
  }
}

struct KalenderCase {
  const char* name;
  bool oneModuleVariant;
  bool lessons;
  int current;  // the module variant of the current lesson, or else of the list's current record
};

class KlasKalenderTest : public KlasLesmomentenTest,
                         public ::testing::WithParamInterface<KalenderCase> {};

TEST_P(KlasKalenderTest, TheCalendarPresetsTheModuleVariantAndAddsLessonsToAnEmptyClass) {
  const KalenderCase& c = GetParam();
  // Module variant 7: Thursday mornings from 03/02; 8: Monday evenings, now from 02/03.
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_LESVAN = '2026-03-02' WHERE IMV_ID = 8");
  if (c.oneModuleVariant) OneModuleVariantInClass4();
  if (!c.lessons) {
    server->db().ExecuteScript(
        "DELETE FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK IN (SELECT IMV_ID FROM "
        "VWOINGMODULEVARIANT WHERE IMV_VWOKLAS_FK = 4)");
  }
  auto& screen = OpenKlasLessen(4);
  EXPECT_TRUE(screen.AAddFromKalendar.Enabled);
  EXPECT_EQ(screen.ASetLessen.Enabled, c.lessons);
  EXPECT_EQ(screen.ABerekenAfstandsLesmomenten.Enabled, c.lessons);
  if (c.lessons) {
    ASSERT_TRUE(screen.CDSKlasLesMomenten.Locate("VWL_INGMODULEVARIANT_FK", Variant(c.current)));
    ASSERT_EQ(MoveTo(screen, "DSKlasLesmomenten", screen.CDSKlasLesMomenten.RecNo()),
              TEventResult::Done);
  } else {
    ASSERT_TRUE(screen.CDSSelectIngModuleVar.LocateID(c.current));
  }
  const std::string imv = std::to_string(c.current);
  const int lesgever =
      std::stoi(Stored("SELECT IMV_LESGEVER_FK FROM VWOINGMODULEVARIANT WHERE IMV_ID = " + imv));
  dialogs.AnswerModal("TVWOLesmomentUitKalenderForm", [&](TQuilForm& shown) {
    auto& dialog = dynamic_cast<TVWOLesmomentUitKalenderForm&>(shown);
    EXPECT_EQ(dialog.GetDS(3), &screen.DSSelectIngModuleVar);
    EXPECT_TRUE(dialog.LCModulevariant.Visible);
    EXPECT_EQ(dialog.GetID(2), c.current);
    EXPECT_EQ(dialog.GetID(0), lesgever);
    // The list's current module variant starts the calendar.
    EXPECT_EQ(dialog.ReferentieDatum(),
              c.lessons || c.current == 7 ? EncodeDate(2026, 2, 3) : EncodeDate(2026, 3, 2));
    if (c.lessons) {
      EXPECT_EQ(dialog.GetUur(0), c.current == 7 ? "09:00" : "18:30");
    } else {
      // The class's room and the module variant's lesson place.
      EXPECT_EQ(std::to_string(dialog.GetID(1)) + "\n",
                Stored("SELECT VWK_STANDAARDLOKAAL_FK FROM VWOKLAS WHERE VWK_ID = 4"));
      EXPECT_EQ(std::to_string(dialog.GetID(3)) + "\n",
                Stored("SELECT IMV_LESPLAATS_FK FROM VWOINGMODULEVARIANT WHERE IMV_ID = " + imv));
      EXPECT_EQ(app.SetValue(dialog, "TEVanUur", "18:00"), TEventResult::Done);
      EXPECT_EQ(app.SetValue(dialog, "TETotUur", "20:30"), TEventResult::Done);
      for (int day : {9, 16}) {
        EXPECT_EQ(app.Run([&] { dialog.PLKalender.DblClickDay(EncodeDate(2026, 3, day)); }),
                  TEventResult::Done)
            << dialogs.Transcript();
      }
      EXPECT_EQ(app.Run([&] { dialog.Toevoegen(); }), TEventResult::Done) << dialogs.Transcript();
    }
    EXPECT_EQ(app.Click(dialog, "BSluiten"), TEventResult::Done) << dialogs.Transcript();
  });
  EXPECT_EQ(Press(screen, "AAddFromKalendar"), TEventResult::Done) << Messages();
  if (!c.lessons) {
    EXPECT_EQ(Stored("SELECT VWL_INGMODULEVARIANT_FK, VWL_DATUM, VWL_VANUUR FROM VWOLES "
                     "WHERE VWL_INGMODULEVARIANT_FK IN (SELECT IMV_ID FROM VWOINGMODULEVARIANT "
                     "WHERE IMV_VWOKLAS_FK = 4) ORDER BY VWL_DATUM"),
              imv + " | 2026-03-09 | 18:00:00\n" + imv + " | 2026-03-16 | 18:00:00\n");
    EXPECT_EQ(screen.CDSKlasLesMomenten.RecordCount(), 2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Presets, KlasKalenderTest,
    ::testing::Values(KalenderCase{"EmptyClassOneModuleVariant", true, false, 7},
                      KalenderCase{"EmptyClassTheListsCurrent", false, false, 8},
                      KalenderCase{"TheCurrentLessons", false, true, 8}),
    [](const ::testing::TestParamInfo<KalenderCase>& info) { return info.param.name; });

TEST_F(KlasLesmomentenTest, DistanceMomentsAreCountedOncePerLesson) {
  OneModuleVariantInClass4();
  server->db().ExecuteScript(
      "DELETE FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 7 AND VWL_ID NOT IN (SELECT VWL_ID "
      "FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 7 ORDER BY VWL_DATUM LIMIT 10)");
  auto& screen = OpenKlasLessen(4);
  ASSERT_EQ(screen.CDSKlasLesMomenten.RecordCount(), 10);
  ASSERT_EQ(MoveTo(screen, "DSKlasLesmomenten", 4), TEventResult::Done);
  // Hidden from the menu, so run as the host runs a shortcut.
  EXPECT_FALSE(screen.ABerekenAfstandsLesmomenten.Visible);
  EXPECT_TRUE(screen.ABerekenAfstandsLesmomenten.Enabled);
  EXPECT_EQ(app.Run([&] { screen.ABerekenAfstandsLesmomenten.OnExecute(); }), TEventResult::Done);
  std::string expected;
  for (int n = 0; n < 10; ++n)
    expected += "368 | -1 | Execute | [{\"type\":\"Integer\",\"value\":7}]\n";
  EXPECT_EQ(JobLog(), expected);
  EXPECT_EQ(screen.CDSKlasLesMomenten.RecNo(), 4);
  EXPECT_FALSE(screen.CDSKlasLesMomenten.ControlsDisabled());
  // Not while a lesson is being edited.
  ASSERT_EQ(Command(screen, "DSKlasLesmomenten", TDataSetCommand::Edit), TEventResult::Done);
  EXPECT_FALSE(screen.ABerekenAfstandsLesmomenten.Enabled);
  Command(screen, "DSKlasLesmomenten", TDataSetCommand::Cancel);
}

TEST_F(KlasLesmomentenTest, TheMonthViewOffersTheModuleVariantsAndStoresTheChosenOne) {
  // Both module variants are of one module: their lesson periods tell them apart.
  server->db().ExecuteScript(
      "UPDATE VWOINGMODULEVARIANT SET IMV_LESVAN = '2025-09-16' WHERE IMV_ID = 2");
  auto& screen = OpenKlasLessen(1);
  const int lessons = screen.CDSKlasLesMomenten.RecordCount();
  screen.SetRights(1 | 4);  // may add, not change or delete
  ASSERT_EQ(Set(screen, "PCLessen", "2"), TEventResult::Done) << Messages();
  EXPECT_TRUE(screen.PLKalender.CanCreateItems);
  EXPECT_FALSE(screen.PLKalender.CanDeleteItems);
  EXPECT_EQ(app.Run([&] { screen.PLKalender.DblClickItem(0); }), TEventResult::ClientError);
  EXPECT_EQ(Messages(), "error: U mag deze lessen niet wijzigen.\n");
  const std::vector<std::string> lines = {"1=" + Omschrijving(1) + " (15/09/2025 - 31/01/2026)",
                                          "2=" + Omschrijving(2) + " (16/09/2025 - 31/01/2026)"};
  EXPECT_EQ(screen.LesMomentEditor().ModuleVarianten, lines);
  ASSERT_EQ(static_cast<int>(screen.PLKalender.Items.size()), lessons);
  // Each item names its module variant with the module variant's own period.
  EXPECT_EQ(screen.PLKalender.Items[1].lines.back(),
            Omschrijving(2) + " (15/09/2025 - 31/01/2026)");

  // A new lesson: the editor offers both, the current lesson's preset; module variant 2 chosen.
  dialogs.AnswerModal("TVWOLesMomentDialog", [&](TQuilForm& editor) {
    auto& dialog = dynamic_cast<TVWOLesMomentDialog&>(editor);
    EXPECT_TRUE(dialog.CBModuleVariant.Visible);
    EXPECT_EQ(dialog.CBModuleVariant.Items.size(), 2u);
    EXPECT_EQ(dialog.CBModuleVariant.ItemIndex(), 0);
    EXPECT_EQ(app.SetValue(editor, "CBModuleVariant", lines[1].substr(2)), TEventResult::Done);
    // The class gives no lesson place: the user chooses it.
    EXPECT_EQ(app.SetValue(editor, "LCLesplaats", "1"), TEventResult::Done);
    EXPECT_EQ(app.SetValue(editor, "TEVanUur", "09:00"), TEventResult::Done);
    EXPECT_EQ(app.SetValue(editor, "TETotUur", "11:30"), TEventResult::Done);
    EXPECT_EQ(app.Click(editor, "BOK"), TEventResult::Done) << dialogs.Transcript();
  });
  EXPECT_EQ(app.Run([&] { screen.PLKalender.CreateItem(EncodeDate(2025, 10, 8)); }),
            TEventResult::Done)
      << Messages();
  ASSERT_EQ(Set(screen, "PCLessen", "0"), TEventResult::Done) << Messages();
  EXPECT_EQ(Stored("SELECT VWL_INGMODULEVARIANT_FK, VWL_VANUUR FROM VWOLES WHERE "
                   "VWL_DATUM = '2025-10-08' AND VWL_VANUUR = '09:00:00'"),
            "2 | 09:00:00\n");
  EXPECT_EQ(screen.CDSKlasLesMomenten.RecordCount(), lessons + 1);
}

TEST_F(KlasLesmomentenTest, OnTheMonthViewTheLessonsReopenedRebuildItFromTheSecondOpeningOn) {
  auto& screen = OpenKlasLessen(1);
  ASSERT_EQ(Set(screen, "PCLessen", "2"), TEventResult::Done) << Messages();
  EXPECT_FALSE(screen.KalenderLatch());
  // Module variant 1's lessons lapse; the set-lessons dialog reopens the lessons.
  auto lapse = [&] {
    dialogs.AnswerModal("TVWOZetLessenForm", [&](TQuilForm& dialog) {
      for (const auto& [control, value] :
           {std::pair{"DEVan", "01/09/2025"}, std::pair{"DETot", "31/01/2026"},
            std::pair{"CLBModulevarianten", "0"}, std::pair{"CBVervaltWijzigen", "1"},
            std::pair{"CBVervalt", "1"}}) {
        EXPECT_EQ(app.SetValue(dialog, control, value), TEventResult::Done) << control;
      }
      EXPECT_EQ(app.Click(dialog, "BOK"), TEventResult::Done) << dialogs.Transcript();
    });
    EXPECT_EQ(Press(screen, "ASetLessen"), TEventResult::Done) << Messages();
    Messages();
  };
  const auto normal = screen.PLKalender.Items[0].color;
  lapse();
  // The first opening on the month view only marks it: the items are those of before.
  EXPECT_TRUE(screen.KalenderLatch());
  EXPECT_EQ(screen.PLKalender.Items[0].color, normal);
  lapse();
  EXPECT_NE(screen.PLKalender.Items[0].color, normal) << "grey: the lesson lapses";
  EXPECT_EQ(Stored("SELECT COUNT(*) FROM VWOLES WHERE VWL_INGMODULEVARIANT_FK = 1 AND "
                   "(VWL_FLAGS & 2) = 0"),
            "0\n");
}

}  // namespace
}  // namespace kavel::testing
