#include <gtest/gtest.h>

#include "PlanningFixture.h"
#include "planning/dlgVWOZetLessen.h"

namespace kavel::testing {
namespace {

class ZetLessenTest : public PlanningTest {
 protected:
  //! The dialog as a lesson list hands it over: one or more module variants, the lists, no
  //! teacher, room or place preset.
  std::unique_ptr<TVWOZetLessenForm> Open(std::vector<std::string> imvIds = {"1=Module 1"}) {
    OpenLists();
    auto dialog = std::make_unique<TVWOZetLessenForm>(app);
    dialog->SetIMVIDS(imvIds);
    dialog->SetDS(2, &dsLessen);
    dialog->SetDS(1, &dsRooms);
    dialog->SetDS(3, &dsPlaces);
    dialog->SetDS(0, &dsStaff);
    for (int kind = 0; kind < 3; ++kind) dialog->SetID(kind, -1);
    return dialog;
  }

  void Set(TVWOZetLessenForm& dialog, const char* control, const char* value) {
    ASSERT_EQ(app.SetValue(dialog, control, value), TEventResult::Done) << control;
  }

  //! Presses OK as the user does; returns the error shown ("" when none).
  std::string PressOK(TVWOZetLessenForm& dialog) {
    size_t before = dialogs.Entries().size();
    app.Click(dialog, "BOK");
    return dialogs.Entries().size() > before ? dialogs.Entries().back().text : "";
  }

  void Apply(TVWOZetLessenForm& dialog) {
    ASSERT_EQ(app.Run([&] { dialog.SetLessen(lessons, dialog.Van(), dialog.Tot()); }),
              TEventResult::Done);
  }
};

TEST_F(ZetLessenTest, EveryOtherWeekFromAWednesdayTakesTheStartWeekAndEverySecondWeek) {
  AddDailyLessons(1, EncodeDate(2026, 1, 5), 28);  // Monday 5 January .. Sunday 1 February
  lessons.SetAutoCommit(false);
  auto dialog = Open();
  Set(*dialog, "DEVan", "07/01/2026");
  Set(*dialog, "DETot", "04/02/2026");
  Set(*dialog, "CBEnkelLessenOp", "1");
  for (const char* day : {"CBMaandag", "CBDinsdag", "CBWoensdag", "CBDonderdag", "CBVrijdag",
                          "CBZaterdag", "CBZondag"}) {
    Set(*dialog, day, "1");
  }
  Set(*dialog, "CBTweewekelijks", "1");
  Set(*dialog, "CBLesgeverWijzigen", "1");
  Set(*dialog, "SCLesgever", "5");
  EXPECT_EQ(PressOK(*dialog), "");
  EXPECT_EQ(dialog->ModalResult(), mrOk);
  Apply(*dialog);
  std::string changed;
  for (lessons.First(); !lessons.Eof(); lessons.Next()) {
    if (lessons.FieldByName("VWL_LESGEVER_FK").AsInteger() == 5) {
      changed += FormatDateTime("dd ", lessons.FieldByName("VWL_DATUM").AsDateTime());
    }
  }
  EXPECT_EQ(changed, "07 08 09 10 11 19 20 21 22 23 24 25 ");
  EXPECT_EQ(lessons.ChangeCount(), 12);  // posted in the dataset; the caller applies
  EXPECT_FALSE(lessons.Filtered());
  EXPECT_FALSE(lessons.ControlsDisabled());
  EXPECT_FALSE(dialog->TimesChanged());
}

// A period starting on a Sunday of a little over a week: the start week is that Sunday alone,
// then one week skipped, then one taken (up to the end of the period).
TEST_F(ZetLessenTest, EveryOtherWeekFromASundayTakesTheSecondWeekAfterIt) {
  AddDailyLessons(1, EncodeDate(2026, 1, 5), 28);
  auto dialog = Open();
  Set(*dialog, "DEVan", "11/01/2026");
  Set(*dialog, "DETot", "21/01/2026");
  Set(*dialog, "CBEnkelLessenOp", "1");
  for (TCheckBox* day : dialog->CBDagen) Set(*dialog, day->Name().c_str(), "1");
  Set(*dialog, "CBTweewekelijks", "1");
  Set(*dialog, "CBLesgeverWijzigen", "1");
  Set(*dialog, "SCLesgever", "5");
  Apply(*dialog);
  std::string changed;
  for (lessons.First(); !lessons.Eof(); lessons.Next()) {
    if (lessons.FieldByName("VWL_LESGEVER_FK").AsInteger() == 5) {
      changed += FormatDateTime("dd ", lessons.FieldByName("VWL_DATUM").AsDateTime());
    }
  }
  EXPECT_EQ(changed, "11 19 20 21 ");
}

// A teacher the lessons already have changes nothing.
TEST_F(ZetLessenTest, TheSameTeacherChangesNoLesson) {
  AddDailyLessons(1, EncodeDate(2026, 1, 5), 3);  // teacher 6
  lessons.SetAutoCommit(false);
  auto dialog = Open();
  Set(*dialog, "DEVan", "05/01/2026");
  Set(*dialog, "DETot", "07/01/2026");
  Set(*dialog, "CBLesgeverWijzigen", "1");
  Set(*dialog, "SCLesgever", "6");
  Apply(*dialog);
  EXPECT_EQ(lessons.ChangeCount(), 0);
  EXPECT_EQ(Column("VWL_LESGEVER_FK"), "05/01:6 06/01:6 07/01:6");
}

TEST_F(ZetLessenTest, OkValidatesInOrderAndKeepsTheDialogOpen) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> values;
    const char* message;
    const char* focus;
  } cases[] = {
      {"delete and change",
       {{"CBVerwijderen", "1"}, {"CBVervaltWijzigen", "1"}},
       "Verwijderen én wijzigen kan niet.",
       "CBVerwijderen"},
      {"lesson times not a number",
       {{"CBUrenWijzigen", "1"}, {"TEVanUur", "18:00"}, {"ELestijden", "x"}},
       "Lesuren bevat geen geldig aantal.",
       "ELestijden"},
      {"start after end",
       {{"CBUrenWijzigen", "1"}, {"TEVanUur", "18:00"}, {"TETotUur", "17:00"}, {"ELestijden", "1"}},
       "De starttijd moet voor de eindtijd liggen.",
       "TETotUur"},
      {"18:00 to 18:45",
       {{"CBUrenWijzigen", "1"}, {"TEVanUur", "18:00"}, {"TETotUur", "18:45"}},
       "De geplande les (start- en eindtijd) moet minstens één lestijd bevatten.",
       "TETotUur"},
      {"start equal to end",
       {{"CBUrenWijzigen", "1"}, {"TEVanUur", "18:00"}, {"TETotUur", "18:00"}},
       "De geplande les (start- en eindtijd) moet minstens één lestijd bevatten.",
       "TETotUur"},
      {"negative pause",
       {{"CBUrenWijzigen", "1"}, {"TEVanUur", "18:00"}, {"EPauze", "-5"}},
       "Pauze bevat geen geldig aantal.",
       "EPauze"},
      {"more lesson times than fit",
       {{"CBUrenWijzigen", "1"},
        {"TEVanUur", "18:00"},
        {"TETotUur", "20:30"},
        {"ELestijden", "3,01"}},
       "Lestijd van de les in minuten (150,5)\r\nmag niet groter zijn dan minuten tussen eintijd "
       "en aanvangstijd (150).\r\nLestijden mag maximaal 3 zijn met deze aanvangstijd en eindtijd.",
       "ELestijden"},
      {"ordinary lessons need a place",
       {{"CBBuitenschoolsWijzigen", "1"}},
       "Lesplaats (en lokaal) dienen ingevuld te worden indien het geen buitenschoolse activiteit "
       "is.",
       "LCLesplaats"},
      {"ordinary lessons need a room",
       {{"CBBuitenschoolsWijzigen", "1"}, {"CBLesplaatsWijzigen", "1"}, {"LCLesplaats", "30"}},
       "Lokaal (en lesplaats) dienen ingevuld te worden indien het geen buitenschoolse activiteit "
       "is.",
       "LCLokaal"},
      {"ordinary lessons need a chosen room",
       {{"CBBuitenschoolsWijzigen", "1"},
        {"CBLesplaatsWijzigen", "1"},
        {"LCLesplaats", "30"},
        {"CBLokaalWijzigen", "1"}},
       "Lokaal (en lesplaats) dienen ingevuld te worden indien het geen buitenschoolse activiteit "
       "is.",
       "LCLokaal"},
      {"lesson times only, not a number",
       {{"CBEnkelLestijden", "1"}, {"EEnkelLestijden", "-1"}},
       "'Enkel lestijden' bevat geen geldig aantal.",
       "EEnkelLestijden"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto dialog = Open();
    Set(*dialog, "DEVan", "05/01/2026");
    Set(*dialog, "DETot", "30/01/2026");
    for (auto [control, value] : c.values) Set(*dialog, control, value);
    EXPECT_EQ(PressOK(*dialog), c.message);
    EXPECT_EQ(dialog->ModalResult(), mrNone);
    ASSERT_NE(dialog->ActiveControl, nullptr);
    EXPECT_EQ(dialog->ActiveControl->Name(), c.focus);
  }

  // Just inside each rule: the dialog closes with OK.
  const std::vector<std::pair<const char*, const char*>> passing[] = {
      {{"CBUrenWijzigen", "1"}, {"TEVanUur", "18:00"}, {"TETotUur", "18:50"}, {"ELestijden", "1"}},
      {{"CBBuitenschoolsWijzigen", "1"},
       {"CBLesplaatsWijzigen", "1"},
       {"LCLesplaats", "30"},
       {"CBLokaalWijzigen", "1"},
       {"LCLokaal", "20"}},
  };
  for (const auto& values : passing) {
    SCOPED_TRACE(values.front().first);
    auto dialog = Open();
    Set(*dialog, "DEVan", "05/01/2026");
    Set(*dialog, "DETot", "30/01/2026");
    for (auto [control, value] : values) Set(*dialog, control, value);
    EXPECT_EQ(PressOK(*dialog), "");
    EXPECT_EQ(dialog->ModalResult(), mrOk);
  }
}

TEST_F(ZetLessenTest, ValidationSideEffectsAndSilentRefusals) {
  AddDailyLessons(1, EncodeDate(2026, 1, 5), 2);
  auto dialog = Open();
  // The place box is ticked for the user when ordinary lessons lack a place.
  Set(*dialog, "CBBuitenschoolsWijzigen", "1");
  PressOK(*dialog);
  EXPECT_TRUE(dialog->CBLesplaatsWijzigen.Checked());
  EXPECT_TRUE(dialog->LCLesplaats.Enabled) << "the user can now choose the place";

  // A period of one day cannot be confirmed, and nothing is said.
  dialog = Open();
  Set(*dialog, "DEVan", "07/01/2026");
  Set(*dialog, "DETot", "07/01/2026");
  size_t shown = dialogs.Entries().size();
  EXPECT_EQ(PressOK(*dialog), "");
  EXPECT_EQ(dialogs.Entries().size(), shown);
  EXPECT_EQ(dialog->ModalResult(), mrNone);

  // Lesson times "0" with the times box passes, and leaves the lesson times alone.
  dialog = Open();
  Set(*dialog, "DEVan", "05/01/2026");
  Set(*dialog, "DETot", "06/01/2026");
  Set(*dialog, "CBUrenWijzigen", "1");
  Set(*dialog, "TEVanUur", "09:00");
  EXPECT_EQ(dialog->GetUur(1), "11:00");  // the start time proposes two hours
  EXPECT_EQ(dialog->ELestijden.Text(), "2,4");
  Set(*dialog, "ELestijden", "0");
  EXPECT_EQ(PressOK(*dialog), "");
  EXPECT_EQ(dialog->ModalResult(), mrOk);
  Apply(*dialog);
  EXPECT_EQ(Column("VWL_LESUREN"), "05/01:3 06/01:3");
  EXPECT_EQ(Column("VWL_VANUUR"), "05/01:09:00 06/01:09:00");
  EXPECT_TRUE(dialog->TimesChanged());
}

// The caller presets the times; only the user's choice of a start time proposes an end time.
TEST_F(ZetLessenTest, PresetTimesMoveNoOtherTime) {
  auto dialog = Open();
  EXPECT_EQ(dialog->ELestijden.Text(), "0");
  dialog->SetUur(1, "20:30");
  dialog->SetUur(0, "18:00");
  EXPECT_EQ(dialog->GetUur(0), "18:00");
  EXPECT_EQ(dialog->GetUur(1), "20:30");
  EXPECT_EQ(dialog->ELestijden.Text(), "3");
  dialog->SetUur(0, "not a time");
  EXPECT_EQ(dialog->GetUur(0), "18:00");
  Set(*dialog, "CBUrenWijzigen", "1");
  Set(*dialog, "TEVanUur", "19:00");
  EXPECT_EQ(dialog->GetUur(1), "21:00");
  EXPECT_EQ(dialog->ELestijden.Text(), "2,4");
  Set(*dialog, "EPauze", "25");
  EXPECT_EQ(dialog->ELestijden.Text(), "1,9");
  Set(*dialog, "TETotUur", "21:30");
  EXPECT_EQ(dialog->ELestijden.Text(), "2,5");
}

TEST_F(ZetLessenTest, EnablingRules) {
  auto dialog = Open();
  auto& d = *dialog;
  // Weekdays follow "Enkel de lessen op:", every-other-week follows the weekdays.
  EXPECT_FALSE(d.CBDagen[0]->Enabled);
  Set(d, "CBEnkelLessenOp", "1");
  Set(d, "CBDinsdag", "1");
  EXPECT_TRUE(d.CBTweewekelijks.Enabled);
  Set(d, "CBTweewekelijks", "1");
  Set(d, "CBEnkelLessenOp", "0");
  EXPECT_FALSE(d.CBDagen[1]->Checked());
  EXPECT_FALSE(d.CBTweewekelijks.Enabled);
  EXPECT_FALSE(d.CBTweewekelijks.Checked());
  // An out-of-school activity takes room and place away.
  Set(d, "CBLokaalWijzigen", "1");
  Set(d, "LCLokaal", "20");
  Set(d, "CBBuitenschoolsWijzigen", "1");
  Set(d, "CBBuitenschools", "1");
  EXPECT_TRUE(d.CBLokaalWijzigen.Checked() && !d.CBLokaalWijzigen.Enabled);
  EXPECT_TRUE(d.CBLesplaatsWijzigen.Checked() && !d.CBLesplaatsWijzigen.Enabled);
  EXPECT_EQ(d.GetID(1), -1);
  EXPECT_EQ(d.GetID(2), -1);
  EXPECT_FALSE(d.LCLokaal.Enabled);
  Set(d, "CBBuitenschools", "0");
  EXPECT_TRUE(d.CBLokaalWijzigen.Enabled && d.LCLokaal.Enabled);
  // The times and "Enkel lestijden" exclude each other.
  Set(d, "CBUrenWijzigen", "1");
  EXPECT_FALSE(d.CBEnkelLestijden.Enabled);
  EXPECT_TRUE(d.TEVanUur.Enabled);
  Set(d, "CBUrenWijzigen", "0");
  Set(d, "CBEnkelLestijden", "1");
  EXPECT_FALSE(d.CBUrenWijzigen.Enabled);
  EXPECT_TRUE(d.EEnkelLestijden.Enabled);
  EXPECT_EQ(d.GetID(7, 42), 42);  // an unknown kind answers its second argument
  EXPECT_EQ(d.GetID(7), -1);
  EXPECT_FALSE(d.TimesChanged());
}

TEST_F(ZetLessenTest, DeletionAsksWhenTheHostConfirmsDeletions) {
  AddDailyLessons(1, EncodeDate(2026, 1, 5), 5);
  lessons.SetAutoCommit(true);
  auto dialog = Open();
  Set(*dialog, "DEVan", "06/01/2026");
  Set(*dialog, "DETot", "08/01/2026");
  Set(*dialog, "CBVerwijderen", "1");
  PressOK(*dialog);
  dialogs.AnswerNo();
  Apply(*dialog);
  EXPECT_EQ(lessons.RecordCount(), 5);
  EXPECT_FALSE(lessons.Filtered());  // also cleared after a refusal
  EXPECT_FALSE(lessons.ControlsDisabled());

  dialogs.AnswerYes();
  int applies = server.applyCalls;
  Apply(*dialog);
  EXPECT_EQ(Column("VWL_ID"), "05/01:1 09/01:5");
  EXPECT_EQ(server.applyCalls, applies + 1);  // the deletions went as one
  EXPECT_EQ(dialogs.Texts("confirmation"),
            std::vector<std::string>(2, "Wilt u de geselecteerde lessen verwijderen ?"));

  prefs->SetConfirmDeletion(false);
  dialog->SetPeriode(EncodeDate(2026, 1, 1), EncodeDate(2026, 1, 31));
  Apply(*dialog);  // no question scripted: none may be asked
  EXPECT_EQ(lessons.RecordCount(), 0);
}

TEST_F(ZetLessenTest, RoomsAndPlacesNeedEachOther) {
  AddDailyLessons(1, EncodeDate(2026, 1, 5), 1, /*withPlace=*/false);
  auto dialog = Open();
  Set(*dialog, "DEVan", "05/01/2026");
  Set(*dialog, "DETot", "06/01/2026");
  Set(*dialog, "CBLokaalWijzigen", "1");
  Set(*dialog, "LCLokaal", "20");
  PressOK(*dialog);
  Apply(*dialog);
  EXPECT_EQ(Column("VWL_LOKAAL_FK"), "05/01:");  // no place: the room is not set

  Set(*dialog, "CBLesplaatsWijzigen", "1");
  Set(*dialog, "LCLesplaats", "30");
  Apply(*dialog);
  EXPECT_EQ(Column("VWL_LOKAAL_FK"), "05/01:20");
  EXPECT_EQ(Column("VWL_LESPLAATS_FK"), "05/01:30");

  // Making it an out-of-school activity clears both and sets the flag.
  Set(*dialog, "CBBuitenschoolsWijzigen", "1");
  Set(*dialog, "CBBuitenschools", "1");
  Set(*dialog, "CBVervaltWijzigen", "1");
  Set(*dialog, "CBVervalt", "1");
  Apply(*dialog);
  EXPECT_EQ(Column("VWL_LOKAAL_FK") + " " + Column("VWL_LESPLAATS_FK") + " " + Column("VWL_FLAGS"),
            "05/01: 05/01: 05/01:3");
}

TEST_F(ZetLessenTest, OnlyTheTickedModuleVariantsAreChanged) {
  AddDailyLessons(1, EncodeDate(2026, 1, 5), 2);
  AddDailyLessons(2, EncodeDate(2026, 1, 5), 2);
  auto dialog = Open({"1=WIS-A - Wiskunde", "2=NED-B - Nederlands"});
  EXPECT_TRUE(dialog->GBModulevarianten.Visible);
  EXPECT_EQ(dialog->CLBModulevarianten.Items(),
            (std::vector<std::string>{"WIS-A - Wiskunde", "NED-B - Nederlands"}));
  EXPECT_EQ(dialog->CLBModulevarianten.ValueText(), "0,1");
  Set(*dialog, "DEVan", "01/01/2026");
  Set(*dialog, "DETot", "31/01/2026");
  Set(*dialog, "CLBModulevarianten", "1");
  Set(*dialog, "CBEnkelLestijden", "1");
  Set(*dialog, "EEnkelLestijden", "2,5");
  PressOK(*dialog);
  Apply(*dialog);
  lessons.SetSortFields("VWL_INGMODULEVARIANT_FK;VWL_DATUM");
  EXPECT_EQ(Column("VWL_LESUREN"), "05/01:3 06/01:3 05/01:2,5 06/01:2,5");

  // None ticked: the filter is empty and every lesson is taken.
  Set(*dialog, "CLBModulevarianten", "");
  Set(*dialog, "EEnkelLestijden", "2");
  Apply(*dialog);
  EXPECT_EQ(Column("VWL_LESUREN"), "05/01:2 06/01:2 05/01:2 06/01:2");

  // Only the first ticked.
  Set(*dialog, "CLBModulevarianten", "0");
  Set(*dialog, "EEnkelLestijden", "1");
  Apply(*dialog);
  EXPECT_EQ(Column("VWL_LESUREN"), "05/01:1 06/01:1 05/01:2 06/01:2");
}

}  // namespace
}  // namespace kavel::testing
