// The event boundary: what the user sees when a handler ends in each possible way, and that a
// session survives every one of them.
#include <memory>
#include <stdexcept>

#include "forms/FormsFixture.h"
#include "host/forms/AdminPrefs.h"

namespace quil::testing {
namespace {

TEST_F(SessionTest, ADisabledActionCannotRunByAnyRoute) {
  TModulesTestForm form(app);
  struct Route {
    const char* name;
    std::function<TEventResult()> act;
  };
  const Route routes[] = {
      {"execute", [&] { return app.Execute(form, "AGuarded"); }},
      {"button", [&] { return app.Click(form, "BtnGuarded"); }},
  };
  for (const Route& route : routes) {
    SCOPED_TRACE(route.name);
    form.guardedAllowed = false;
    form.BtnGuarded.Enabled = true;  // a stale renderer state must not matter
    EXPECT_EQ(route.act(), TEventResult::Refused);
    EXPECT_EQ(form.guardedRuns, 0);
    form.guardedAllowed = true;
    EXPECT_EQ(route.act(), TEventResult::Done);
    EXPECT_EQ(form.guardedRuns, 1);
    form.guardedRuns = 0;
  }
  form.guardedAllowed = false;
  form.UpdateActions();
  EXPECT_FALSE(form.BtnGuarded.Enabled) << "a bound button follows its action";
  EXPECT_EQ(dialogs.Transcript(), "");
}

TEST_F(SessionTest, EveryWayAHandlerEndsIsHandledAndTheSessionLivesOn) {
  struct Case {
    const char* name;
    std::function<void()> handler;
    TEventResult result;
    const char* shown;
  };
  bool reachedAfterNestedError = false;
  const Case cases[] = {
      {"client error with format", [] { RaiseClientError("Klas '%s' bestaat al", "K1"); },
       TEventResult::ClientError, "error: Klas 'K1' bestaat al\n"},
      {"abort is silent", [] { Abort(); }, TEventResult::Aborted, ""},
      {"other exception", [] { throw std::runtime_error("kapot"); }, TEventResult::InternalError,
       "error: Interne fout: kapot\n"},
      {"nested entry lets the error reach the outer event once",
       [&] {
         app.OpenForm("TNietBestaand");
         reachedAfterNestedError = true;
       },
       TEventResult::ClientError, "error: Het scherm 'TNietBestaand' is niet gekend\n"},
      {"a cursor left pushed is reset",
       [&] {
         app.PushCursor(crHourGlass);
         RaiseClientError("Mislukt");
       },
       TEventResult::ClientError, "error: Mislukt\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.Clear();
    EXPECT_EQ(app.Run(c.handler), c.result);
    EXPECT_EQ(dialogs.Transcript(), c.shown);
    EXPECT_EQ(app.CursorDepth(), 0);
  }
  EXPECT_FALSE(reachedAfterNestedError);
  EXPECT_EQ(app.InternalErrors(), std::vector<std::string>{"kapot"});
  int runs = 0;
  EXPECT_EQ(app.Run([&] { ++runs; }), TEventResult::Done);
  EXPECT_EQ(runs, 1);
}

TEST_F(SessionTest, AClientErrorInAHandlerLeavesTheDataAsItWas) {
  TModulesTestForm form(app);
  form.CDSModules.Open();
  const std::string before = Stored();

  // A refused post: the message is shown, nothing reaches the server, the record stays in
  // insert so the user can correct it.
  EXPECT_EQ(app.Run([&] {
    form.CDSModules.Append();
    form.CDSModules.FieldByName("VOM_CODE").SetAsString("WIS");
    form.CDSModules.Post();
  }),
            TEventResult::ClientError);
  EXPECT_EQ(dialogs.Transcript(), "error: Module 'WIS' bestaat al\n");
  EXPECT_EQ(Stored(), before);
  EXPECT_EQ(form.CDSModules.State(), DataSetState::Insert);
  form.CDSModules.Cancel();
  form.CDSModules.First();

  // A refused value typed in an editor: the field keeps its value.
  form.CDSModules.FieldByName("VOM_CODE").OnValidate = [](TField& field) {
    if (field.AsString() != UpperCaseAscii(field.AsString())) {
      RaiseClientError("De code moet in hoofdletters");
    }
  };
  dialogs.Clear();
  EXPECT_EQ(app.SetValue(form, "EdtCode", "wis2"), TEventResult::ClientError);
  EXPECT_EQ(dialogs.Transcript(), "error: De code moet in hoofdletters\n");
  EXPECT_EQ(form.CDSModules.FieldByName("VOM_CODE").AsString(), "WIS");
  form.CDSModules.Cancel();
  EXPECT_EQ(form.CDSModules.ChangeCount(), 0);
  EXPECT_EQ(Stored(), before);

  // The same editor with an accepted value posts through the dataset's own rules.
  EXPECT_EQ(app.SetValue(form, "EdtCode", "WIS2"), TEventResult::Done);
  EXPECT_EQ(app.DataSetCommand(form, "DSModules", TDataSetCommand::Post), TEventResult::Done);
  EXPECT_EQ(Stored(), "1:WIS2 2:NED 3:ENG");
}

TEST_F(SessionTest, EditsTheScreenDoesNotAllowAreRefused) {
  TModulesTestForm form(app);
  form.CDSModules.Open();
  form.mayDelete = false;
  EXPECT_EQ(app.DataSetCommand(form, "DSModules", TDataSetCommand::Delete), TEventResult::Refused);
  form.SetReadOnly(true);
  EXPECT_EQ(app.DataSetCommand(form, "DSModules", TDataSetCommand::Edit), TEventResult::Refused);
  EXPECT_EQ(app.SetValue(form, "EdtCode", "X"), TEventResult::Refused);
  EXPECT_EQ(app.SetFieldValue(form, "DSModules", "VOM_CODE", "X"), TEventResult::Refused);
  EXPECT_EQ(form.CDSModules.State(), DataSetState::Browse);
  EXPECT_EQ(Stored(), "1:WIS 2:NED 3:ENG");
}

TEST_F(SessionTest, TheUsersDeleteIsConfirmedWhenThePreferencesAskForIt) {
  auto prefs = std::make_shared<AdminPrefs>();
  app.SetAdminPrefs(prefs);
  TModulesTestForm form(app);
  form.CDSModules.Open();
  auto remove = [&] { return app.DataSetCommand(form, "DSModules", TDataSetCommand::Delete); };

  dialogs.AnswerNo();
  EXPECT_EQ(remove(), TEventResult::Done) << "No is an answer, not a refusal";
  EXPECT_EQ(dialogs.Transcript(), "confirmation: Wilt u dit record verwijderen? -> Nee\n");
  EXPECT_EQ(Stored(), "1:WIS 2:NED 3:ENG");

  dialogs.Clear();
  dialogs.AnswerYes();
  EXPECT_EQ(remove(), TEventResult::Done);
  EXPECT_EQ(dialogs.Transcript(), "confirmation: Wilt u dit record verwijderen? -> Ja\n");
  EXPECT_EQ(Stored(), "2:NED 3:ENG");

  // A delete the screen refuses asks nothing first.
  dialogs.Clear();
  form.mayDelete = false;
  EXPECT_EQ(remove(), TEventResult::Refused);
  form.mayDelete = true;

  // Without the preference the record goes at once (an unscripted question would fail here).
  prefs->SetConfirmDeletion(false);
  EXPECT_EQ(remove(), TEventResult::Done);
  EXPECT_EQ(Stored(), "3:ENG");
  prefs->SetConfirmDeletion(true);

  // An empty list has nothing to confirm and nothing to delete.
  dialogs.AnswerYes();
  EXPECT_EQ(remove(), TEventResult::Done);
  EXPECT_EQ(Stored(), "");
  EXPECT_EQ(remove(), TEventResult::Done);
  EXPECT_EQ(dialogs.Unused(), 0);
  EXPECT_EQ(dialogs.Transcript(), "confirmation: Wilt u dit record verwijderen? -> Ja\n");
}

}  // namespace
}  // namespace quil::testing
