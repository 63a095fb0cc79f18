// The host's own set-and-restore scopes (busy cursor, event depth, the modal dialog stack)
// restore on every path, also when what runs inside them throws.
#include "forms/FormsFixture.h"
#include "host/forms/QuilForm.h"

namespace quil::testing {
namespace {

TEST_F(SessionTest, ACursorGuardPopsItsCursorWhenItsBodyThrows) {
  app.PushCursor(crSQLWait);
  EXPECT_THROW(
      {
        CursorGuard busy(app, crHourGlass);
        EXPECT_EQ(app.Cursor(), crHourGlass);
        RaiseClientError("mislukt");
      },
      EClientError);
  EXPECT_EQ(app.Cursor(), crSQLWait);
  EXPECT_EQ(app.CursorDepth(), 1);
}

TEST_F(SessionTest, AnEventThatThrowsThroughTheBoundaryLeavesNoDepthBehind) {
  // A script failure passes the boundary on purpose; the next event is an outer one again,
  // so its client error is shown instead of escaping as from a nested event.
  EXPECT_THROW(app.Run([] { throw EScriptFailure("onverwachte vraag"); }), EScriptFailure);
  EXPECT_EQ(app.Run([] { RaiseClientError("gewone fout"); }), TEventResult::ClientError);
  EXPECT_EQ(dialogs.Transcript(), "error: gewone fout\n");
}

TEST_F(SessionTest, AModalDialogThatThrowsLeavesTheDialogStack) {
  TQuilForm dialog(app, "TTestDialoog");
  int updates = 0;
  dialog.AddAction(
      "AOK", "OK", [] {}, [&updates] { ++updates; });
  dialogs.AnswerModal("TTestDialoog", [](TQuilForm&) { RaiseClientError("fout in dialoog"); });
  bool nestedErrorEscaped = false;
  EXPECT_EQ(app.Run([&] {
    try {
      dialog.ShowModal();
    } catch (const EClientError&) {
    }
    // Back in the outer event: a nested event's error goes on to it, as before the dialog.
    try {
      app.Run([] { RaiseClientError("genest"); });
    } catch (const EClientError&) {
      nestedErrorEscaped = true;
    }
  }),
            TEventResult::Done);
  EXPECT_TRUE(nestedErrorEscaped);
  const int before = updates;
  EXPECT_EQ(app.Run([] {}), TEventResult::Done);
  EXPECT_EQ(updates, before) << "a closed dialog still hears the action updates";
}

}  // namespace
}  // namespace quil::testing
