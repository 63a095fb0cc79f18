// The recipe dialog and its row editor as a screen uses them: rows added, copied, edited and
// deleted through the editor, the grid the user sees, the checks of a row in their order, the
// three-year rule, and the one job 313 call OK sends (none when deferred).
#include <gtest/gtest.h>

#include "PlanningFixture.h"
#include "host/forms/QuilForm.h"
#include "planning/dlgVWOEditRecept.h"
#include "planning/dlgVWOLesmomentUitRecept.h"

namespace kavel::testing {
namespace {

class ReceptTest : public PlanningTest {
 protected:
  void SetUp() override {
    PlanningTest::SetUp();
    OpenLists();
  }

  std::unique_ptr<TVWOLesUitReceptDialoog> Open(bool withLists = true) {
    auto dialog = std::make_unique<TVWOLesUitReceptDialoog>(owner);
    if (withLists) {
      dialog->LesGevers = &dsStaff;
      dialog->Lokalen = &dsRooms;
      dialog->Lesplaatsen = &dsPlaces;
    }
    dialog->DoelID = 44;
    dialog->DoelTekst = "12";
    app.Run([&] {
      dialog->UpdateActions();
      dialog->FormShow();
    });
    return dialog;
  }

  //! The editor, as the user fills it in: weekday, hours, pause, then the lists.
  void Fill(TQuilForm& editor, std::vector<std::pair<const char*, const char*>> values) {
    for (const auto& [control, value] : values) {
      EXPECT_EQ(app.SetValue(editor, control, value), TEventResult::Done)
          << control << " " << dialogs.Transcript();
    }
  }

  //! Runs an action as its button does. The dialog is not among the session's open forms here,
  //! so its buttons follow their actions' enabling rules only when the test updates them.
  TEventResult Press(TQuilForm& dialog, const char* action) {
    app.Run([&] { dialog.UpdateActions(); });
    return app.Execute(dialog, action);
  }

  //! Scripts the next row editor: fill it in and press OK.
  void AnswerEditor(std::vector<std::pair<const char*, const char*>> values) {
    dialogs.AnswerModal("TVWOEditReceptForm", [this, values](TQuilForm& editor) {
      Fill(editor, values);
      EXPECT_EQ(app.Click(editor, "BOK"), TEventResult::Done) << dialogs.Transcript();
    });
  }

  //! The grid as the user sees it, one line per row, cells separated by "|".
  static std::string Grid(const TStringGrid& grid) {
    std::string out;
    for (int row = 0; row < grid.RowCount(); ++row) {
      for (int col = 0; col < grid.ColCount(); ++col) {
        out += (col ? "|" : "") + grid.Cell(col, row);
      }
      out += "\n";
    }
    return out;
  }

  //! Forgets what was shown so far: Shown() lists what comes after.
  void Mark() { mark_ = dialogs.Entries().size(); }
  //! "kind: text" per dialog shown since Mark().
  std::string Shown() const {
    std::string out;
    for (size_t i = mark_; i < dialogs.Entries().size(); ++i) {
      out += dialogs.Entries()[i].kind + ": " + dialogs.Entries()[i].text + "\n";
    }
    return out;
  }

  TQuilDBForm owner{app, "TVWOIngModuleVariantForm"};
  size_t mark_ = 0;
};

const std::vector<std::pair<const char*, const char*>> kMonday = {
    {"CBDag", "Maandag"}, {"TEVan", "18:00"},    {"TETot", "20:30"},
    {"LCLokaal", "20"},   {"LCLesplaats", "30"}, {"LCLesgever", "5"}};

TEST_F(ReceptTest, RowsAreAddedCopiedEditedAndDeletedAsTheGridShows) {
  auto dialog = Open();
  dialog->StandaardLesgever = 6;
  dialog->StandaardLokaal = 20;
  dialog->StandaardLesplaats = 99;  // not in the list: no text
  EXPECT_EQ(Grid(dialog->SGRecept),
            "Nr.|Weekdag|Van|Tot|Pauze|Lestijden|Lesgever|Lokaal|Lesplaats|Afstandsonderwijs\n"
            "|||||||||\n");

  // The first row starts from the defaults; the user picks the day and hours and ticks distance.
  dialogs.AnswerModal("TVWOEditReceptForm", [this](TQuilForm& editor) {
    EXPECT_EQ(editor.ControlByName<TLookupCombo>("LCLesgever").ValueText(), "6");
    EXPECT_EQ(editor.ControlByName<TLookupCombo>("LCLokaal").ValueText(), "20");
    EXPECT_EQ(editor.ControlByName<TEdit>("ELestijden").Text(), "");
    Fill(editor, {{"CBDag", "Dinsdag"},
                  {"TEVan", "18:00"},
                  {"EPauze", "15"},
                  {"LCLesplaats", "30"},
                  {"CBAfstand", "1"}});
    // 18:00 proposes 20:00; less a pause of 15 minutes that is 2.1 lesson times.
    EXPECT_EQ(editor.ControlByName<TEdit>("ELestijden").Text(), "2,1");
    EXPECT_EQ(app.Click(editor, "BOK"), TEventResult::Done) << dialogs.Transcript();
  });
  EXPECT_EQ(app.Execute(*dialog, "ANieuw"), TEventResult::Done) << dialogs.Transcript();
  // The second row copies the first, but not its distance mark; its editor is cancelled and the
  // row goes again. The third is accepted with another day.
  dialogs.AnswerModal("TVWOEditReceptForm", mrCancel);
  app.Execute(*dialog, "ANieuw");
  AnswerEditor({{"CBDag", "Donderdag"}});
  app.Execute(*dialog, "ANieuw");
  EXPECT_EQ(Grid(dialog->SGRecept),
            "Nr.|Weekdag|Van|Tot|Pauze|Lestijden|Lesgever|Lokaal|Lesplaats|Afstandsonderwijs\n"
            "1|Dinsdag|18:00|20:00|15|2,10|Bart Peeters|A.101 Leslokaal|1 Hoofdgebouw|Ja\n"
            "2|Donderdag|18:00|20:00|15|2,10|Bart Peeters|A.101 Leslokaal|1 Hoofdgebouw|Nee\n");
  EXPECT_EQ(dialog->SGRecept.Row(), 2);

  // A double click edits the selected row; deleting the last row selects the new last one, and
  // an empty recipe keeps one empty body row.
  ASSERT_EQ(app.SetValue(*dialog, "SGRecept", "0,1"), TEventResult::Done);
  AnswerEditor({{"TEVan", "09:00"}});
  app.Run([&] { dialog->SGRecept.OnDblClick(); });
  EXPECT_EQ(dialog->SGRecept.Cell(2, 1) + "-" + dialog->SGRecept.Cell(3, 1), "09:00-11:00");
  ASSERT_EQ(app.SetValue(*dialog, "SGRecept", "0,2"), TEventResult::Done);
  AnswerEditor({{"TEVan", "10:00"}});
  EXPECT_EQ(Press(*dialog, "ABewerk"), TEventResult::Done);
  EXPECT_EQ(dialog->SGRecept.Cell(2, 2) + "-" + dialog->SGRecept.Cell(3, 2), "10:00-12:00");
  EXPECT_EQ(dialog->SGRecept.Cell(2, 1), "09:00");
  // Deleting a row in the middle selects the one that takes its place.
  AnswerEditor({{"CBDag", "Vrijdag"}});
  Press(*dialog, "ANieuw");
  ASSERT_EQ(app.SetValue(*dialog, "SGRecept", "0,2"), TEventResult::Done);
  Press(*dialog, "AVerwijder");
  EXPECT_EQ(dialog->SGRecept.Row(), 2);
  EXPECT_EQ(dialog->SGRecept.Cell(1, 2), "Vrijdag");
  ASSERT_EQ(app.SetValue(*dialog, "SGRecept", "0,2"), TEventResult::Done);
  Press(*dialog, "AVerwijder");
  EXPECT_EQ(dialog->SGRecept.Row(), 1);
  EXPECT_EQ(dialog->Recept().Count(), 1);
  Press(*dialog, "AVerwijder");
  EXPECT_EQ(Grid(dialog->SGRecept),
            "Nr.|Weekdag|Van|Tot|Pauze|Lestijden|Lesgever|Lokaal|Lesplaats|Afstandsonderwijs\n"
            "|||||||||\n");
  EXPECT_EQ(Press(*dialog, "AVerwijder"), TEventResult::Refused);
  EXPECT_EQ(Press(*dialog, "ABewerk"), TEventResult::Refused);
  EXPECT_EQ(dialogs.Unused(), 0);
}

TEST_F(ReceptTest, WithoutARoomListTheGridShowsSixColumns) {
  auto dialog = Open(false);
  AnswerEditor({{"CBDag", "Vrijdag"}, {"TEVan", "09:00"}});
  dialog->MiddelenVerplicht = false;
  app.Execute(*dialog, "ANieuw");
  EXPECT_EQ(Grid(dialog->SGRecept),
            "Nr.|Weekdag|Van|Tot|Pauze|Lestijden\n"
            "1|Vrijdag|09:00|11:00|0|2,40\n");
}

TEST_F(ReceptTest, TheRowEditorRefusesEachFaultInItsOrder) {
  struct Case {
    std::vector<std::pair<const char*, const char*>> values;
    const char* message;
    const char* focus;
  } cases[] = {
      {{{"TEVan", "20:00"}, {"TETot", "18:00"}, {"EPauze", "-5"}},
       "Gelieve een dag te selecteren",
       "CBDag"},
      {{{"CBDag", "Maandag"}, {"TEVan", "20:00"}, {"TETot", "18:00"}, {"ELestijden", "twee"}},
       "De duur bevat geen geldig aantal",
       "ELestijden"},
      {{{"CBDag", "Maandag"}, {"TEVan", "20:00"}, {"TETot", "18:00"}, {"ELestijden", "2"}},
       "De starttijd moet voor de eindtijd liggen",
       "TEVan"},
      {{{"CBDag", "Maandag"}, {"TEVan", "18:00"}, {"LCLokaal", "20"}, {"EPauze", "-5"}},
       "Lesplaats en lokaal zijn verplicht indien het geen buitenschoolse activiteit is.",
       "LCLesplaats"},
      {{{"CBDag", "Maandag"}, {"TEVan", "18:00"}, {"LCLesplaats", "30"}, {"EPauze", "-5"}},
       "Lesplaats en lokaal zijn verplicht indien het geen buitenschoolse activiteit is.",
       "LCLokaal"},
      {{{"CBDag", "Maandag"},
        {"TEVan", "18:00"},
        {"LCLokaal", "20"},
        {"LCLesplaats", "30"},
        {"EPauze", "-5"},
        {"ELestijden", "1"}},
       "De Pauze bevat geen geldig aantal",
       "EPauze"},
      // 18:00 to 19:30 is 90 minutes: two lesson times do not fit.
      {{{"CBDag", "Maandag"},
        {"TEVan", "18:00"},
        {"TETot", "19:30"},
        {"LCLokaal", "20"},
        {"LCLesplaats", "30"},
        {"ELestijden", "2"}},
       "Lestijd van de les in minuten (100)\r\nmag niet groter zijn dan minuten tussen eintijd en "
       "aanvangstijd (90).\r\nLestijden mag maximaal 1,8 zijn met deze aanvangstijd en eindtijd.",
       "ELestijden"},
      // Start equal to end passes the order check; lesson times of 0.002 then fit.
      {{{"CBDag", "Maandag"},
        {"TEVan", "18:00"},
        {"TETot", "18:00"},
        {"LCLokaal", "20"},
        {"LCLesplaats", "30"},
        {"ELestijden", "0,002"}},
       "",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TLesReceptItem row;
    const TLesReceptItem before = row;
    TVWOEditReceptForm editor(app);
    editor.SetLesGevers(&dsStaff);
    editor.SetLokalen(&dsRooms);
    editor.SetLesplaatsen(&dsPlaces);
    editor.SetRecept(row);
    app.Run([&] { editor.FormShow(); });
    Fill(editor, c.values);
    Mark();
    app.Click(editor, "BOK");
    if (*c.message == '\0') {
      EXPECT_EQ(Shown(), "");
      EXPECT_EQ(editor.ModalResult(), mrOk);
      EXPECT_EQ(row.Lestijden, Currency::FromRaw(20));
      continue;
    }
    EXPECT_EQ(Shown(), std::string("error: ") + c.message + "\n");
    EXPECT_EQ(editor.ModalResult(), mrNone);
    ASSERT_NE(editor.ActiveControl, nullptr);
    EXPECT_EQ(editor.ActiveControl->Name(), c.focus);
    EXPECT_FALSE(row.Dag.has_value());  // the row is untouched
    EXPECT_EQ(row.Van, before.Van);
  }
}

TEST_F(ReceptTest, AnAcceptedRowIsWrittenBackWithItsTexts) {
  TLesReceptItem row;
  row.Dag = TDag::dgWoensdag;
  row.Van = EncodeTime(9, 0);
  row.Tot = EncodeTime(12, 20);
  row.Lestijden = Currency(4);
  row.LokaalID = 20;
  row.Lokaal = "A.101 Leslokaal";
  TVWOEditReceptForm editor(app);
  editor.SetLesGevers(&dsStaff);
  editor.SetLokalen(&dsRooms);
  editor.SetLesplaatsen(&dsPlaces);
  editor.SetRecept(row);
  app.Run([&] { editor.FormShow(); });
  // What the row had is shown, not recomputed.
  EXPECT_EQ(editor.ELestijden.Text(), "4");
  EXPECT_EQ(editor.CBDag.Text(), "Woensdag");
  EXPECT_EQ(editor.TETot.ValueText(), "12:20");
  // No teacher and no place yet: their lists show no choice.
  EXPECT_EQ(editor.LCLesgever.ValueText() + "|" + editor.LCLesplaats.ValueText(), "|");
  EXPECT_EQ(editor.LCLokaal.ValueText(), "20");
  // An emptied pause counts as none.
  Fill(editor, {{"LCLesgever", "5"}, {"LCLesplaats", "30"}, {"EPauze", ""}});
  EXPECT_EQ(editor.ELestijden.Text(), "4");
  Fill(editor, {{"EPauze", "20"}});
  EXPECT_EQ(editor.ELestijden.Text(), "3,6");
  app.Click(editor, "BOK");
  ASSERT_EQ(editor.ModalResult(), mrOk) << dialogs.Transcript();
  EXPECT_EQ(row.Lestijden, Currency::FromRaw(36000));
  EXPECT_EQ(row.Pauze, 20);
  EXPECT_EQ(row.LesgeverID, 5);
  EXPECT_EQ(row.Lesgever, "An Janssens");
  EXPECT_EQ(row.Lokaal, "A.101 Leslokaal");
  EXPECT_EQ(row.LesplaatsID, 30);
  EXPECT_EQ(row.Lesplaats, "1 Hoofdgebouw");
}

// Without lists the row keeps the room and place it came with (the recipe's defaults); a row
// without them is refused only where they are required.
TEST_F(ReceptTest, WithoutListsTheEditorSaysWhereTheValuesComeFrom) {
  struct Case {
    bool required;
    int lokaal, lesplaats;
    TModalResult result;
  } cases[] = {
      {true, -1, -1, mrNone}, {false, -1, -1, mrOk}, {true, 20, 30, mrOk}, {true, 20, -1, mrNone}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.required) + " " + std::to_string(c.lokaal) + " " +
                 std::to_string(c.lesplaats));
    TLesReceptItem row;
    row.LokaalID = c.lokaal;
    row.Lokaal = c.lokaal == -1 ? "" : "A.101 Leslokaal";
    row.LesplaatsID = c.lesplaats;
    row.Pauze = 10;
    TVWOEditReceptForm editor(app);
    editor.SetRecept(row);
    editor.MiddelenVerplicht = c.required;
    app.Run([&] { editor.FormShow(); });
    for (const char* note : {"LLesgeverInfo", "LLokaalInfo", "LLesplaatsInfo"}) {
      EXPECT_TRUE(editor.ControlByName(note).Visible) << note;
    }
    EXPECT_FALSE(editor.LCLokaal.Visible);
    EXPECT_EQ(editor.LLokaalInfo.Caption,
              "Lokaal wordt overgenomen van het standaard lokaal van de klas");
    Fill(editor, {{"CBDag", "Maandag"}, {"TEVan", "18:00"}, {"EPauze", ""}});
    app.Click(editor, "BOK");
    EXPECT_EQ(editor.ModalResult(), c.result) << dialogs.Transcript();
    EXPECT_EQ(row.Pauze, c.result == mrOk ? 0 : 10);  // an emptied pause is none
    EXPECT_EQ(row.LokaalID, c.lokaal);
    EXPECT_EQ(row.Lokaal, c.lokaal == -1 ? "" : "A.101 Leslokaal");
    EXPECT_EQ(row.LesplaatsID, c.lesplaats);
  }
}

TEST_F(ReceptTest, OkSendsJob313OnceWithTheSixValuesUnlessDeferred) {
  for (bool deferred : {false, true}) {
    SCOPED_TRACE(deferred);
    server.jobCalls.clear();
    auto dialog = Open();
    dialog->Uitstellen = deferred;
    dialog->SetDatum(1, EncodeDate(2025, 9, 1));
    dialog->SetDatum(2, EncodeDate(2026, 1, 31));
    dialog->UpdateActions();
    EXPECT_FALSE(dialog->AOK.Enabled);  // no rows yet
    // As the dialog opens: both dates of the module variant follow, the general holidays and
    // the registration moment count, lessons without participations are removed.
    EXPECT_EQ(dialog->GetOpties(), 1 | 2 | 16 | 32);
    AnswerEditor(kMonday);
    app.Execute(*dialog, "ANieuw");
    dialog->UpdateActions();  // as the host does after every event of a shown dialog
    ASSERT_TRUE(dialog->AOK.Enabled);
    Fill(*dialog, {{"CBEinddatum", "0"},
                   {"CBTweewekelijks", "1"},
                   {"CBGeenVakanties", "1"},
                   {"CBVerwijderen", "0"}});
    EXPECT_EQ(dialog->GetOpties(), 2 | 4 | 8 | 16 | 32 | 64);
    EXPECT_EQ(app.Click(*dialog, "BOK"), TEventResult::Done) << dialogs.Transcript();
    EXPECT_EQ(dialog->ModalResult(), mrOk);
    EXPECT_EQ(dialog->GetDatum(1), EncodeDate(2025, 9, 1));
    if (deferred) {
      EXPECT_TRUE(server.jobCalls.empty());
      continue;
    }
    ASSERT_EQ(server.jobCalls.size(), 1u);
    const auto& call = server.jobCalls[0];
    EXPECT_EQ(call.phase + " " + std::to_string(call.jobType) + " " + std::to_string(call.jobId),
              "Execute 313 0");
    EXPECT_EQ(call.data.values,
              (std::vector<Variant>{
                  Variant(44), Variant("12"), Variant(126), Variant(EncodeDate(2025, 9, 1)),
                  Variant(EncodeDate(2026, 1, 31)), Variant(LesmomentAsString(dialog->Recept()))}));
    EXPECT_EQ(LesmomentAsString(dialog->Recept()),
              R"({"lesmomenten":[{"afstand":false,"dag":0,"lesgever":5,"lesplaats":30,)"
              R"("lestijden":"3.0000","lokaal":20,"pauze":0,"tot":"20:30","van":"18:00"}],)"
              R"("versie":1})");
  }
}

TEST_F(ReceptTest, ThePeriodMustBeOrderedAndAtMostThreeCalendarYearsApart) {
  struct Case {
    TDateTime van, tot;
    bool enabled;
    const char* shown;
  } cases[] = {
      {EncodeDate(2025, 9, 1), EncodeDate(2029, 8, 31), true,
       "error: Er is meer dan 3 jaar tussen de van en tot datum.\r\nVermoedelijk zal dit niet "
       "correct zijn.\n"},
      {EncodeDate(2025, 1, 1), EncodeDate(2028, 12, 31), true, ""},
      {EncodeDate(2025, 9, 1), EncodeDate(2025, 9, 1), false, ""},
      {TDateTime(), EncodeDate(2025, 9, 1), false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DateToStr(c.van) + " " + DateToStr(c.tot));
    server.jobCalls.clear();
    auto dialog = Open();
    AnswerEditor(kMonday);
    app.Execute(*dialog, "ANieuw");
    dialog->SetDatum(1, c.van);
    dialog->SetDatum(2, c.tot);
    dialog->UpdateActions();
    Mark();
    app.Click(*dialog, "BOK");
    dialog->UpdateActions();
    EXPECT_EQ(dialog->AOK.Enabled, c.enabled);
    EXPECT_EQ(Shown(), c.shown);
    const bool sent = c.enabled && *c.shown == '\0';
    EXPECT_EQ(dialog->ModalResult(), sent ? mrOk : mrNone);
    EXPECT_EQ(server.jobCalls.size(), sent ? 1u : 0u);
  }
}

}  // namespace
}  // namespace kavel::testing
