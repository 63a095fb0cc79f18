// The lesson calendar as a lesson list uses it: days marked and unmarked by double clicks, the
// add button's caption, the checks before a day is marked, the records written in calendar order,
// and the question when the dialog closes with lessons still pending.
#include <gtest/gtest.h>

#include "PlanningFixture.h"
#include "planning/dlgVWOLesmomentKalender.h"

namespace kavel::testing {
namespace {

class KalenderTest : public PlanningTest {
 protected:
  void SetUp() override {
    PlanningTest::SetUp();
    std::vector<FieldDef> fields = LessonFields();
    // The lesson lists fill the module variant from their master; here a lesson may go without.
    fields[1] = {"VWL_INGMODULEVARIANT_FK", FieldType::Integer};
    fields.push_back({"VWL_TRIMESTER", FieldType::Integer});
    fields.push_back({"PS_CODE", FieldType::String, 10});
    fields.push_back({"PS_VOORNAAM", FieldType::String, 50});
    fields.push_back({"PS_NAAM", FieldType::String, 50});
    server.AddProvider("DSPKalenderLessen", fields, "VWL_ID");
    calendarLessons.SetProvName("DSPKalenderLessen");
    calendarLessons.IDField = "VWL_ID";
    calendarLessons.SetAutoCommit(false);
    calendarLessons.Open();
    OpenLists();
    // In reverse order: each kind sets only its own list.
    dialog.SetDS(4, &dsPlaces);
    dialog.SetDS(2, &dsCalendar);
    dialog.SetDS(1, &dsRooms);
    dialog.SetDS(0, &dsStaff);
    dialog.SetReferentieDatum(EncodeDate(2025, 9, 1));
    app.Run([&] {
      dialog.UpdateActions();
      dialog.FormShow();
    });
  }

  void Set(const char* control, const char* value) {
    ASSERT_EQ(app.SetValue(dialog, control, value), TEventResult::Done)
        << control << ": " << dialogs.Transcript();
  }

  //! Double-clicks a day; returns what the user was shown ("" when nothing).
  std::string DblClick(TDateTime day) {
    size_t before = dialogs.Entries().size();
    app.Run([&] { dialog.PLKalender.DblClickDay(day); });
    dialog.UpdateActions();
    return dialogs.Entries().size() > before ? dialogs.Entries().back().text : "";
  }

  //! The days marked on the calendar with their captions.
  std::string Marked() {
    std::string out;
    for (const TPlanner::Item& item : dialog.PLKalender.Items) {
      out += FormatDateTime("dd/mm ", item.date) + item.text + "; ";
    }
    return out;
  }

  std::string Records() {
    std::string out;
    for (calendarLessons.First(); !calendarLessons.Eof(); calendarLessons.Next()) {
      for (const char* field :
           {"VWL_DATUM", "VWL_TRIMESTER", "VWL_VANUUR", "VWL_TOTUUR", "VWL_LESUREN",
            "VWL_LESGEVER_FK", "PS_CODE", "PS_VOORNAAM", "PS_NAAM", "VWL_LOKAAL_FK",
            "VWL_LESPLAATS_FK", "VWL_FLAGS", "VWL_INGMODULEVARIANT_FK"}) {
        TField& f = calendarLessons.FieldByName(field);
        out += (f.IsNull() ? std::string("-") : f.AsString()) + " ";
      }
      out += "\n";
    }
    return out;
  }

  void ReadyToMark() {
    Set("LCLokaal", "20");
    Set("LCLesplaats", "30");
    Set("TEVanUur", "18:00");
  }

  TQuilClientDataSet calendarLessons{&dm, "CDSKalenderLessen"};
  TDataSource dsCalendar{&calendarLessons};
  TVWOLesmomentUitKalenderForm dialog{app};
};

TEST_F(KalenderTest, DoubleClicksMarkAndUnmarkDaysAndTheButtonCountsThem) {
  EXPECT_EQ(dialog.PLKalender.Year() * 100 + dialog.PLKalender.Month(), 202509);
  ReadyToMark();
  EXPECT_EQ(dialog.GetUur(1), "20:00");
  EXPECT_EQ(dialog.ELestijden.Text(), "2,4");
  EXPECT_EQ(dialog.BToevoegen.Caption, "&Toevoegen");
  EXPECT_FALSE(dialog.AToevoegen.Enabled);

  EXPECT_EQ(DblClick(EncodeDate(2025, 9, 8)), "");
  EXPECT_EQ(DblClick(EncodeDate(2025, 9, 10)), "");
  EXPECT_EQ(Marked(), "08/09 18:00 - 20:00; 10/09 18:00 - 20:00; ");
  EXPECT_EQ(dialog.BToevoegen.Caption, "&Toevoegen (2)");
  EXPECT_TRUE(dialog.AToevoegen.Enabled);
  EXPECT_EQ(dialog.PLKalender.Items[0].lines,
            (std::vector<std::string>{"Lestijden: 2,4", "A.101 - Leslokaal", "1 - Hoofdgebouw"}));

  // A double click on a lesson removes it; the same day twice leaves nothing.
  EXPECT_EQ(app.Run([&] { dialog.PLKalender.DblClickItem(1); }), TEventResult::Done);
  dialog.UpdateActions();
  EXPECT_EQ(Marked(), "08/09 18:00 - 20:00; ");
  EXPECT_EQ(dialog.BToevoegen.Caption, "&Toevoegen (1)");
  DblClick(EncodeDate(2025, 9, 8));
  EXPECT_EQ(Marked(), "");
  EXPECT_EQ(dialog.BToevoegen.Caption, "&Toevoegen");
  EXPECT_FALSE(dialog.AToevoegen.Enabled);
}

// The lesson screens hand the dialog its lists and preset choices by kind, and read them back.
TEST_F(KalenderTest, EachKindHandsBackItsOwnListAndChoice) {
  // Lists: 0 teachers, 1 rooms, 2 the lessons, 3 module variants (not given here), 4 places.
  const TDataSource* given[] = {&dsStaff, &dsRooms, &dsCalendar, nullptr, &dsPlaces};
  for (int kind = -1; kind <= 5; ++kind) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(dialog.GetDS(kind), kind >= 0 && kind < 5 ? given[kind] : nullptr);
  }
  dialog.SetDS(7, &dsStaff);
  EXPECT_EQ(dialog.GetDS(7), nullptr);
  EXPECT_EQ(dialog.SCLesgever.ListSource, &dsStaff);
  EXPECT_EQ(dialog.LCLokaal.ListSource, &dsRooms);
  EXPECT_EQ(dialog.LCModulevariant.ListSource, nullptr);
  EXPECT_EQ(dialog.LCLesplaats.ListSource, &dsPlaces);
  EXPECT_FALSE(dialog.LCModulevariant.Visible);

  // Choices: 0 teacher, 1 room, 2 module variant, 3 place; each set touches only its own.
  for (auto [kind, id] : {std::pair{3, 30}, {2, 1}, {1, 20}, {0, 6}}) dialog.SetID(kind, id);
  EXPECT_EQ(dialog.SCLesgever.ValueText() + " " + dialog.LCLokaal.ValueText() + " " +
                dialog.LCModulevariant.ValueText() + " " + dialog.LCLesplaats.ValueText(),
            "6 20 1 30");
  EXPECT_EQ(std::to_string(dialog.GetID(0)) + " " + std::to_string(dialog.GetID(1)) + " " +
                std::to_string(dialog.GetID(2)) + " " + std::to_string(dialog.GetID(3)),
            "6 20 1 30");
  EXPECT_EQ(dialog.GetID(4, 42), 42);
  dialog.SetID(0, -1);
  dialog.SetID(9, 5);
  EXPECT_EQ(dialog.SCLesgever.ValueText() + " " + dialog.LCLokaal.ValueText() + " " +
                dialog.LCModulevariant.ValueText() + " " + dialog.LCLesplaats.ValueText(),
            " 20 1 30");
  EXPECT_EQ(dialog.GetID(0), -1);

  // Hours: 0 the start, any other kind the end; text that is no time is ignored.
  dialog.SetUur(0, "09:00");
  dialog.SetUur(1, "11:30");
  dialog.SetUur(1, "later");
  EXPECT_EQ(dialog.GetUur(0) + "-" + dialog.GetUur(1) + " " + dialog.ELestijden.Text(),
            "09:00-11:30 3");
}

TEST_F(KalenderTest, ADayIsMarkedOnlyWithWhatALessonNeeds) {
  // No room and place, or only one of them, and not out of school.
  Set("TEVanUur", "18:00");
  for (auto [lokaal, lesplaats] : {std::pair{"", ""}, {"", "30"}, {"20", ""}}) {
    Set("LCLokaal", lokaal);
    Set("LCLesplaats", lesplaats);
    EXPECT_EQ(DblClick(EncodeDate(2025, 9, 8)),
              "Lesplaats en lokaal zijn verplicht indien het geen buitenschoolse activiteit is.")
        << lokaal << "/" << lesplaats;
  }
  // Two lesson times do not fit in 18:00 - 19:30.
  ReadyToMark();
  Set("TETotUur", "19:30");
  Set("ELestijden", "2");
  EXPECT_EQ(DblClick(EncodeDate(2025, 9, 8)),
            "Lestijd van de les in minuten (100)\r\nmag niet groter zijn dan minuten tussen "
            "eintijd en aanvangstijd (90).\r\nLestijden mag maximaal 1,8 zijn met deze "
            "aanvangstijd en eindtijd.");
  EXPECT_EQ(Marked(), "");
  // An end before the start, and lesson times that are no amount, are refused as typed.
  EXPECT_EQ(app.SetValue(dialog, "TETotUur", "17:00"), TEventResult::ClientError);
  EXPECT_EQ(dialogs.Entries().back().text,
            "Het startuur (18:00) moet voor het einduur (17:00) "
            "liggen.");
  EXPECT_EQ(app.SetValue(dialog, "ELestijden", "2x"), TEventResult::ClientError);
  EXPECT_EQ(dialogs.Entries().back().text, "\"2x\" is geen geldige duur");
  EXPECT_EQ(app.SetValue(dialog, "ELestijden", ""), TEventResult::Done);  // emptied: none yet
  // An end equal to the start is no end before it.
  Set("TETotUur", "18:00");
  EXPECT_EQ(dialog.ELestijden.Text(), "0");
  Set("TETotUur", "19:30");

  // With a list of module variants, one must be chosen; choosing it moves the reference date.
  TQuilClientDataSet variants{&dm, "CDSModulevarianten"};
  server.AddProvider("DSPModulevarianten",
                     {{"IMV_ID", FieldType::Integer},
                      {"VOM_CODE", FieldType::String, 8},
                      {"VOM_OMSCHRIJVING", FieldType::String, 150},
                      {"IMV_LESVAN", FieldType::Date},
                      {"IMV_LESTOT", FieldType::Date}},
                     "IMV_ID",
                     {{Variant(1), Variant("WIS"), Variant("Wiskunde"),
                       Variant(EncodeDate(2026, 2, 2)), Variant(EncodeDate(2026, 6, 30))}});
  variants.SetProvName("DSPModulevarianten");
  variants.Open();
  TDataSource dsVariants{&variants};
  dialog.SetDS(3, &dsVariants);
  EXPECT_EQ(dialog.LCLesplaats.ListSource, &dsPlaces);
  app.Run([&] { dialog.FormShow(); });
  EXPECT_TRUE(dialog.LCModulevariant.Visible);
  Set("ELestijden", "1,8");
  EXPECT_EQ(
      DblClick(EncodeDate(2025, 9, 8)),
      "Gelieve een Ingerichte module variant te selecteren alvorens lesmomenten aan te maken");
  Set("LCModulevariant", "1");
  EXPECT_EQ(dialog.ReferentieDatum(), EncodeDate(2026, 2, 2));
  EXPECT_EQ(DblClick(EncodeDate(2026, 5, 4)), "");
  app.Run([&] { dialog.Toevoegen(); });
  calendarLessons.First();
  EXPECT_EQ(calendarLessons.FieldByName("VWL_INGMODULEVARIANT_FK").AsInteger(), 1);
  EXPECT_EQ(calendarLessons.FieldByName("VWL_TRIMESTER").AsInteger(), 2);  // from 2 February
}

TEST_F(KalenderTest, TheRecordsAreWrittenInCalendarOrder) {
  ReadyToMark();
  Set("SCLesgever", "5");
  DblClick(EncodeDate(2026, 1, 9));
  // Out of school: room and place are cleared and cannot be chosen.
  Set("CBBuitenschools", "1");
  EXPECT_EQ(dialog.GetID(1), -1);
  EXPECT_EQ(dialog.GetID(3), -1);
  EXPECT_FALSE(dialog.LCLokaal.Enabled);
  EXPECT_EQ(dialog.GetID(9, 42), 42);
  Set("TEVanUur", "09:00");
  DblClick(EncodeDate(2025, 9, 29));
  EXPECT_EQ(app.Click(dialog, "BToevoegen"), TEventResult::Done) << dialogs.Transcript();
  // Trimesters count from the reference date 1/9/2025: January is in the second period.
  EXPECT_EQ(Records(),
            "29/09/2025 1 09:00 11:00 2,4 5 AJ An Janssens - - 1 - \n"
            "09/01/2026 2 18:00 20:00 2,4 5 AJ An Janssens 20 30 - - \n");
  EXPECT_EQ(dialog.PendingCount(), 0);
  EXPECT_EQ(dialog.BToevoegen.Caption, "&Toevoegen");
}

TEST_F(KalenderTest, ClosingWithPendingLessonsAsksWhatToDoWithThem) {
  struct Case {
    TModalResult answer;
    TModalResult closedWith;
    int pending;
    int records;
  } cases[] = {{mrCancel, mrNone, 3, 0}, {mrNo, mrCancel, 3, 0}, {mrYes, mrCancel, 0, 3}};
  ReadyToMark();
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    while (dialog.PendingCount() < 3) DblClick(EncodeDate(2025, 9, 8 + dialog.PendingCount()));
    dialog.SetModalResult(mrNone);
    dialogs.Answer(c.answer);
    app.Click(dialog, "BSluiten");
    EXPECT_EQ(dialogs.Entries().back().text,
              "Er zijn nog 3 lesmomenten niet toegevoegd. \r\nWilt u deze nu toevoegen?");
    EXPECT_EQ(dialog.ModalResult(), c.closedWith);
    EXPECT_EQ(dialog.PendingCount(), c.pending);
    EXPECT_EQ(calendarLessons.RecordCount(), c.records);
  }
  // Nothing pending: it closes without a question.
  size_t shown = dialogs.Entries().size();
  dialog.SetModalResult(mrNone);
  app.Click(dialog, "BSluiten");
  EXPECT_EQ(dialog.ModalResult(), mrCancel);
  EXPECT_EQ(dialogs.Entries().size(), shown);
}

}  // namespace
}  // namespace kavel::testing
