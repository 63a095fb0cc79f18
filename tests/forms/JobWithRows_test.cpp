// A screen driving a job with rows through TJobWithRows, against a stand-in job on the in-memory
// server: the id taken once, an earlier run cleaned before the next and when the screen closes,
// the rows opened with the screen's parameter, the selection disabled while they are shown, the
// user's edits saved before the job runs, and a refusal that loses nothing.
#include "host/forms/JobWithRows.h"
#include "forms/FormsFixture.h"
#include "host/forms/FormManager.h"

namespace quil::testing {
namespace {

constexpr int kJob = 336;

std::vector<FieldDef> JobRowFields() {
  return {{"J_ID", FieldType::Integer, 0, 0, true},
          {"J_JOBID", FieldType::Integer},
          {"J_BOOLEAN1", FieldType::String, 1},
          {"J_TEXT1", FieldType::String, 50}};
}

//! Rows of the job, shown with a tick; the code and the option make the job's data.
class TJobRowsTestForm : public TQuilDBForm {
 public:
  explicit TJobRowsTestForm(TQuilApplication& app)
      : TQuilDBForm(app, "TJobRowsTestForm"),
        CDSRows(AddDataSet("CDSRows", "DSPJobRows")),
        DSRows(AddDataSource("DSRows", &CDSRows)),
        EdtCode(Add<TEdit>("EdtCode")),
        RgOption(Add<TRadioGroup>("RgOption")),
        GrdRows(Add<TDBGrid>("GrdRows")),
        job(*this, kJob) {
    CDSRows.IDField = "J_ID";
    // The rows as the user ticks them: a grid that edits the tick column.
    GrdRows.DataSource = &DSRows;
    GrdRows.ReadOnly = false;
    GrdRows.Columns = {{"J_ID", "", 0, true, true}, {"J_BOOLEAN1", ""}};
    RgOption.Enabled = false;  // the screen's own reason; the job pattern must not undo it
    job.AddRowsList(CDSRows, "J_JOBID", TRowEdits::Apply);
    job.AddSelectionControl(EdtCode);
    job.AddSelectionControl(RgOption);
    AddAction("AFetch", "&Ophalen", [this] { job.Fill(Data()); });
    AddAction(
        "AExecute", "Ver&werken", [this] { job.Execute(Data()); },
        [this] { FindAction("AExecute")->Enabled = job.Running(); });
    AddAction(
        "AClear", "&Leegmaken", [this] { job.Clear(); },
        [this] { FindAction("AClear")->Enabled = job.Running(); });
  }

  JobData Data() const { return CreateJobData({7, EdtCode.Text()}); }

  TQuilClientDataSet& CDSRows;
  TDataSource& DSRows;
  TEdit& EdtCode;
  TRadioGroup& RgOption;
  TDBGrid& GrdRows;
  TJobWithRows job;
};

class JobWithRowsTest : public SessionTest {
 protected:
  JobWithRowsTest() {
    server.AddProvider("DSPJobRows", JobRowFields(), "J_ID");
    server.nextJobId = 40;
    server.onJob = [this](const MemoryAppServer::JobCall& call) { return FakeJob(call); };
    TFormClass cls;
    cls.ClassName = "TJobRowsTestForm";
    cls.Definition.Caption = "Job met rijen";
    cls.Factory = [](TQuilApplication& a) { return std::make_unique<TJobRowsTestForm>(a); };
    FormManager().Clear();
    FormManager().RegisterModuleForm(cls, "test", "Test", "Job met rijen");
  }
  ~JobWithRowsTest() override { FormManager().Clear(); }

  // The stand-in job: Prepare lists two rows per code, Execute takes the ticked rows the server
  // holds, Clean removes the rows of the id.
  std::string FakeJob(const MemoryAppServer::JobCall& call) {
    std::vector<Row>& rows = server.Provider("DSPJobRows").rows;
    if (call.phase == "Prepare") {
      std::string code = call.data.values.at(1).AsString();
      for (int i = 1; i <= 2; ++i) {
        rows.push_back({Variant(++lastRowId), Variant(call.jobId), Variant("-"),
                        Variant(code + "-" + std::to_string(i))});
      }
      return "2 rijen";
    }
    if (call.phase == "Execute") {
      if (refuseExecute) RaiseClientError("Verwerken mislukt");
      for (const Row& row : rows) {
        if (row[1] == Variant(call.jobId) && row[2] == Variant("+")) {
          executed += row[3].AsString() + " ";
        }
      }
      return "";
    }
    std::erase_if(rows, [&](const Row& row) { return row[1] == Variant(call.jobId); });
    return "";
  }

  //! The job calls so far, one line each: phase, job, id and the data values.
  std::string Calls() const {
    std::string out;
    for (const auto& call : server.jobCalls) {
      out += call.phase + " " + std::to_string(call.jobType) + " " + std::to_string(call.jobId);
      for (const Variant& value : call.data.values) out += " " + value.AsString();
      out += "\n";
    }
    return out;
  }

  //! What the screen shows: the selection's enabled state and the rows (or "gesloten").
  static std::string Screen(TJobRowsTestForm& form) {
    std::string out = std::string("code ") + (form.EdtCode.Enabled ? "aan" : "uit") + ", optie " +
                      (form.RgOption.Enabled ? "aan" : "uit") + ":";
    if (!form.CDSRows.Active()) return out + " gesloten";
    for (int i = 0; i < form.CDSRows.RecordCount(); ++i) {
      Row row = form.CDSRows.RowAt(i);
      out += " " + row[3].AsString() + row[2].AsString();
    }
    return out;
  }

  TJobRowsTestForm& Open() {
    auto* form = dynamic_cast<TJobRowsTestForm*>(app.OpenForm("TJobRowsTestForm"));
    if (form == nullptr) throw std::runtime_error(dialogs.Transcript());
    return *form;
  }

  int lastRowId = 0;
  bool refuseExecute = false;
  std::string executed;
};

TEST_F(JobWithRowsTest, FetchingAgainCleansTheEarlierRunUnderTheSameIdAndClosingCleansToo) {
  TJobRowsTestForm& form = Open();
  EXPECT_EQ(form.job.JobID(), -1);
  EXPECT_EQ(app.SetValue(form, "EdtCode", "A"), TEventResult::Done);
  EXPECT_EQ(app.Execute(form, "AFetch"), TEventResult::Done);
  EXPECT_EQ(Screen(form), "code uit, optie uit: A-1- A-2-");
  EXPECT_EQ(app.SetValue(form, "EdtCode", "B"), TEventResult::Refused);

  form.EdtCode.SetText("B");  // the screen itself may still change it
  EXPECT_EQ(app.Execute(form, "AFetch"), TEventResult::Done);
  EXPECT_EQ(Screen(form), "code uit, optie uit: B-1- B-2-");
  EXPECT_EQ(server.Provider("DSPJobRows").rows.size(), 2u);
  EXPECT_EQ(server.nextJobId, 41);  // one id for the screen's lifetime

  EXPECT_TRUE(app.CloseForm(form));
  EXPECT_EQ(Calls(),
            "Prepare 336 40 7 A\n"
            "Clean 336 40\n"
            "Prepare 336 40 7 B\n"
            "Clean 336 40\n");
  EXPECT_TRUE(server.Provider("DSPJobRows").rows.empty());
  EXPECT_EQ(dialogs.Transcript(), "");
}

TEST_F(JobWithRowsTest, ExecuteSavesThePendingEditFirstThenClearsAndGivesTheSelectionBack) {
  TJobRowsTestForm& form = Open();
  form.EdtCode.SetText("A");
  ASSERT_EQ(app.Execute(form, "AFetch"), TEventResult::Done);
  ASSERT_EQ(app.MoveTo(form, "DSRows", 2), TEventResult::Done);
  // The tick is still an edit in progress when the user executes.
  ASSERT_EQ(app.SetFieldValue(form, "DSRows", "J_BOOLEAN1", "+"), TEventResult::Done);
  ASSERT_EQ(form.CDSRows.State(), DataSetState::Edit);
  EXPECT_EQ(app.Execute(form, "AExecute"), TEventResult::Done);
  EXPECT_EQ(executed, "A-2 ");
  EXPECT_EQ(Screen(form), "code aan, optie uit: gesloten");
  EXPECT_FALSE(form.job.Running());
  EXPECT_EQ(app.Execute(form, "AExecute"), TEventResult::Refused);

  EXPECT_TRUE(app.CloseForm(form));  // nothing left to clean
  EXPECT_EQ(Calls(),
            "Prepare 336 40 7 A\n"
            "Execute 336 40 7 A\n"
            "Clean 336 40\n");
}

TEST_F(JobWithRowsTest, ARefusedApplyOrJobLeavesTheRowsTheEditsAndTheRunUntilCleared) {
  TJobRowsTestForm& form = Open();
  form.EdtCode.SetText("A");
  ASSERT_EQ(app.Execute(form, "AFetch"), TEventResult::Done);
  ASSERT_EQ(app.SetFieldValue(form, "DSRows", "J_BOOLEAN1", "+"), TEventResult::Done);

  // The server refuses the tick: the job does not run.
  server.Provider("DSPJobRows").check = [](const DeltaRow&) { return "Rij geweigerd"; };
  EXPECT_EQ(app.Execute(form, "AExecute"), TEventResult::ClientError);
  EXPECT_EQ(Screen(form), "code uit, optie uit: A-1+ A-2-");
  EXPECT_EQ(form.CDSRows.ChangeCount(), 1);

  // Saved now, but the job refuses: the run stays to be executed again or cleared.
  server.Provider("DSPJobRows").check = nullptr;
  refuseExecute = true;
  EXPECT_EQ(app.Execute(form, "AExecute"), TEventResult::ClientError);
  EXPECT_EQ(Screen(form), "code uit, optie uit: A-1+ A-2-");
  EXPECT_EQ(form.CDSRows.ChangeCount(), 0);
  EXPECT_TRUE(form.job.Running());

  EXPECT_EQ(app.Execute(form, "AClear"), TEventResult::Done);
  EXPECT_EQ(Screen(form), "code aan, optie uit: gesloten");
  EXPECT_EQ(Calls(),
            "Prepare 336 40 7 A\n"
            "Execute 336 40 7 A\n"
            "Clean 336 40\n");
  EXPECT_EQ(dialogs.Transcript(),
            "error: Rij geweigerd\n"
            "error: Verwerken mislukt\n");
}

}  // namespace
}  // namespace quil::testing
