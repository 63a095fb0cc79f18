// What a user reaches through the event boundary: the rights a screen grants, and only the
// fields, sources, actions and reports the screen shows and enables. Whatever an event names,
// what the screen does not offer is refused and the data stay as they were.
#include "forms/FormsFixture.h"

namespace quil::testing {
namespace {

//! The modules screen with what a crafted request aims at: the key and the master field bound to
//! editors, a description editor on a hidden panel, a check box, and a second source no control
//! shows.
class TReachTestForm : public TModulesTestForm {
 public:
  explicit TReachTestForm(TQuilApplication& app)
      : TModulesTestForm(app, "TReachTestForm"),
        CDSOther(AddDataSet("CDSOther", "DSPModules")),
        DSOther(AddDataSource("DSOther", &CDSOther)),
        EdtID(BindField(Add<TDBEdit>("EdtID"), DSModules, "VOM_ID", "Id")),
        EdtInstelling(BindField(Add<TDBEdit>("EdtInstelling"), DSModules, "VOM_IS_FK", "Inst")),
        PnlVerborgen(Add<TPanel>("PnlVerborgen")),
        EdtOmschrijving(BindField(Add<TDBEdit>("EdtOmschrijving", &PnlVerborgen), DSModules,
                                  "VOM_OMSCHRIJVING", "Omschrijving")),
        Grid(Add<TDBGrid>("GrdModules")) {
    CDSModules.ParamToFields = "VOM_IS_FK";
    CDSOther.AutoOpen = true;
    PnlVerborgen.Visible = false;
    Grid.DataSource = &DSModules;
    EdtCode.AllowedChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    AVerborgen = &AddAction("AVerborgen", "Verborgen", [this] { ++hiddenRuns; });
    Add<TButton>("BtnVerborgen", &PnlVerborgen).Action = AVerborgen;
    ReportDefs = {{"Zichtbaar", "zichtbaar.arf", true, true},
                  {"Verborgen", "verborgen.arf", false, false}};
  }

  TQuilClientDataSet& CDSOther;
  TDataSource& DSOther;
  TDBEdit& EdtID;
  TDBEdit& EdtInstelling;
  TPanel& PnlVerborgen;
  TDBEdit& EdtOmschrijving;
  TDBGrid& Grid;
  TAction* AVerborgen = nullptr;
  int hiddenRuns = 0;
};

class UserReachTest : public SessionTest {
 protected:
  UserReachTest() {
    form.CDSModules.Open();
    form.CDSOther.Open();
  }

  TEventResult Command(TDataSetCommand command) {
    return app.DataSetCommand(form, "DSModules", command);
  }

  TReachTestForm form{app};
};

TEST_F(UserReachTest, EachRightBitAllowsItsOwnKindOfChangeOnly) {
  struct Case {
    const char* name;
    int rights;
    bool change, insert, remove;
  };
  const Case cases[] = {
      {"open only", 1 << kRightOpen, false, false, false},
      {"change", 1 << kRightOpen | 1 << kRightChange, true, false, false},
      {"add", 1 << kRightOpen | 1 << kRightInsert, false, true, false},
      {"delete", 1 << kRightOpen | 1 << kRightDelete, false, false, true},
  };
  auto expected = [](bool allowed) { return allowed ? TEventResult::Done : TEventResult::Refused; };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.SetRights(c.rights);
    EXPECT_EQ(form.AllowEdit(form.CDSModules), c.change);
    EXPECT_EQ(form.EdtCode.AcceptsValue(), c.change) << "the browser's editor follows";

    EXPECT_EQ(app.SetValue(form, "EdtCode", "GEO"), expected(c.change));
    EXPECT_EQ(app.SetFieldValue(form, "DSModules", "VOM_CODE", "GEO"), expected(c.change));
    EXPECT_EQ(Command(TDataSetCommand::Edit), expected(c.change));
    EXPECT_EQ(Command(TDataSetCommand::Cancel), TEventResult::Done);

    EXPECT_EQ(Command(TDataSetCommand::Append), expected(c.insert));
    if (c.insert) {
      // A record the user adds takes its values, whatever the change right says.
      EXPECT_EQ(app.SetValue(form, "EdtCode", "GEO"), TEventResult::Done);
      EXPECT_EQ(Command(TDataSetCommand::Cancel), TEventResult::Done);
    }
    EXPECT_EQ(form.CDSModules.ChangeCount(), 0);
    EXPECT_EQ(Stored(), "1:WIS 2:NED 3:ENG");
    // A delete is stored at once: the last case removes the first module.
    EXPECT_EQ(Command(TDataSetCommand::First), TEventResult::Done);
    EXPECT_EQ(Command(TDataSetCommand::Delete), expected(c.remove));
    EXPECT_EQ(Stored(), c.remove ? "2:NED 3:ENG" : "1:WIS 2:NED 3:ENG");
  }
  EXPECT_EQ(dialogs.Transcript(), "");
}

TEST_F(UserReachTest, AFieldIsReachedOnlyThroughAControlTheScreenOffersForItNow) {
  struct Case {
    const char* field;
    const char* value;
    TEventResult result;
  };
  const Case cases[] = {
      {"VOM_ID", "999", TEventResult::Refused},          // the key, even with an editor
      {"VOM_IS_FK", "2", TEventResult::Refused},         // copied from the master
      {"VOM_OMSCHRIJVING", "x", TEventResult::Refused},  // its editor is hidden
      {"VOM_CODE", "geo", TEventResult::ClientError},    // the editor's own check applies
      {"VOM_CODE", "GEO", TEventResult::Done},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field + std::string("=") + c.value);
    EXPECT_EQ(app.SetFieldValue(form, "DSModules", c.field, c.value), c.result);
  }
  EXPECT_EQ(app.SetValue(form, "EdtID", "999"), TEventResult::Refused);
  EXPECT_EQ(app.SetValue(form, "EdtInstelling", "2"), TEventResult::Refused);
  EXPECT_FALSE(form.EdtID.AcceptsValue()) << "the browser shows the key read-only";

  // A grid offers no field until it edits in its cells; then only its writable columns.
  form.PnlVerborgen.Visible = true;
  form.EdtOmschrijving.Visible = false;
  EXPECT_EQ(app.SetFieldValue(form, "DSModules", "VOM_OMSCHRIJVING", "x"), TEventResult::Refused);
  form.Grid.ReadOnly = false;
  form.Grid.Columns = {{"VOM_ID", ""}, {"VOM_OMSCHRIJVING", "", 0, true, true}, {"VOM_CODE", ""}};
  EXPECT_EQ(app.SetFieldValue(form, "DSModules", "VOM_OMSCHRIJVING", "x"), TEventResult::Refused);
  EXPECT_EQ(app.SetFieldValue(form, "DSModules", "VOM_ID", "999"), TEventResult::Refused);
  form.Grid.Columns[1].ReadOnly = false;
  EXPECT_EQ(app.SetFieldValue(form, "DSModules", "VOM_OMSCHRIJVING", "Aardrijkskunde"),
            TEventResult::Done);

  EXPECT_EQ(Command(TDataSetCommand::Post), TEventResult::Done);
  EXPECT_EQ(Command(TDataSetCommand::ApplyUpdates), TEventResult::Done);
  const Row& stored = server.Provider("DSPModules").rows[0];
  EXPECT_EQ(stored[0].AsString() + "|" + stored[1].AsString() + "|" + stored[2].AsString() + "|" +
                stored[3].AsString(),
            "1|GEO|Aardrijkskunde|1");
}

TEST_F(UserReachTest, SourcesActionsAndReportsTheScreenDoesNotShowAreRefused) {
  // No control shows DSOther: it cannot be moved in, edited or emptied.
  EXPECT_EQ(app.MoveTo(form, "DSOther", 2), TEventResult::Refused);
  EXPECT_EQ(app.DataSetCommand(form, "DSOther", TDataSetCommand::Delete), TEventResult::Refused);
  EXPECT_EQ(app.DataSetCommand(form, "DSOther", TDataSetCommand::Next), TEventResult::Refused);
  EXPECT_EQ(form.CDSOther.RecNo(), 1);
  EXPECT_EQ(form.CDSOther.ChangeCount(), 0);

  // A source whose only controls are disabled is out of reach too.
  form.EdtCode.Enabled = form.EdtID.Enabled = form.EdtInstelling.Enabled = false;
  form.Grid.Enabled = false;
  EXPECT_EQ(app.MoveTo(form, "DSModules", 2), TEventResult::Refused);
  form.Grid.Enabled = true;
  EXPECT_EQ(app.MoveTo(form, "DSModules", 2), TEventResult::Done);
  EXPECT_EQ(app.MoveTo(form, "DSModules", 9), TEventResult::ClientError);
  EXPECT_EQ(form.CDSModules.RecNo(), 2);

  // An action bound only to a hidden button is not reached by naming it.
  EXPECT_EQ(app.Execute(form, "AVerborgen"), TEventResult::Refused);
  EXPECT_EQ(form.hiddenRuns, 0);
  form.PnlVerborgen.Visible = true;
  EXPECT_EQ(app.Execute(form, "AVerborgen"), TEventResult::Done);
  EXPECT_EQ(form.hiddenRuns, 1);

  EXPECT_EQ(app.PrintReport(form, 1), TEventResult::Refused);
  EXPECT_EQ(app.PrintReport(form, 0), TEventResult::Done);
  ASSERT_EQ(app.Printed().size(), 1u);
  EXPECT_EQ(app.Printed()[0].report.DisplayName, "Zichtbaar");
}

}  // namespace
}  // namespace quil::testing
